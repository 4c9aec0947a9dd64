// Window helpers of the toolkit for the floating palettes.
#include "Interface/FloatingWindows.h"

#include "Platform/QuickDraw.h"

#include <algorithm>
#include <vector>

namespace {

constexpr SInt16 kSideTitleBarBelow = 20;
constexpr SInt16 kSmallSystemFont = 1; // the application font stands in for the small system font
constexpr SInt16 kSmallButtonSize = 9;

std::vector<WindowRef> gHiddenFloating; // hidden by a suspend, shown again by the resume

bool StillFloating(WindowRef window) {
    for (WindowRef w = GetWindowList(); w != nullptr; w = GetNextWindow(w))
        if (w == window) return GetWindowClass(w) == kFloatingWindowClass;
    return false;
}

} // namespace

WindowRef CreateFloatingWindow(ConstStr255Param title, const Rect* bounds, Boolean documentClass,
                               Boolean resizable, Boolean zoomBox, Boolean closeBox) {
    WindowRef window = nullptr;
    WindowAttributes attributes;
    WindowClass windowClass;
    if (documentClass) {
        windowClass = kDocumentWindowClass;
        attributes = kWindowStandardDocumentAttributes;
    } else {
        windowClass = kFloatingWindowClass;
        attributes = kWindowCollapseBoxAttribute;
        if (closeBox) attributes |= kWindowCloseBoxAttribute;
        if (zoomBox) attributes |= kWindowFullZoomAttribute;
        if (resizable) attributes |= kWindowResizableAttribute;
        if (bounds->bottom - bounds->top < kSideTitleBarBelow) attributes |= kWindowSideTitlebarAttribute;
    }
    CreateNewWindow(windowClass, attributes | kWindowAsyncDragAttribute, bounds, &window);
    if (window != nullptr && title != nullptr) SetWTitle(window, title);
    return window;
}

void ShowWindowAnimated(WindowRef window) {
    if (window != nullptr) ShowWindow(window);
}

void DisposeWindowAnimated(WindowRef* window) {
    if (window == nullptr || *window == nullptr) return;
    std::erase(gHiddenFloating, *window);
    DisposeWindow(*window);
    *window = nullptr;
}

void ShowHideWindow(WindowRef window, Boolean show) {
    if (window != nullptr) ShowHide(window, show);
}

void SizeWindowIfChanged(WindowRef window, SInt16 width, SInt16 height, Boolean update) {
    if (window == nullptr || width <= 0 || height <= 0) return;
    Rect port;
    WindowPortRect(window, &port);
    if (port.right - port.left != width || port.bottom - port.top != height)
        SizeWindow(window, width, height, update);
}

void WindowPortRect(WindowRef window, Rect* bounds) {
    if (bounds == nullptr) return;
    *bounds = Rect{0, 0, 0, 0};
    if (window != nullptr) GetWindowPortBounds(window, bounds);
}

void InvalWindowBounds(WindowRef window) {
    if (window == nullptr) return;
    Rect port;
    WindowPortRect(window, &port);
    InvalWindowRect(window, &port);
}

void GetScreenBounds(Rect* bounds) {
    if (bounds != nullptr) GetDeviceBounds(GetMainDevice(), bounds);
}

OSStatus AddWindowBoundsHandler(WindowRef window, WindowEventHandler handler, void* userData,
                                EventHandlerRef* outRef) {
    return InstallWindowEventHandler(window, WindowEventKind::boundsChanged, handler, userData, outRef);
}

ControlRef NewSmallPushButton(WindowRef window, const Rect* bounds, ConstStr255Param title) {
    ControlRef button = nullptr;
    if (CreatePushButtonControl(window, bounds, title, &button) != noErr || button == nullptr) return nullptr;
    ControlFontStyleRec style{1 | 2, kSmallSystemFont, kSmallButtonSize, 0};
    SetControlFontStyle(button, &style);
    return button;
}

SInt16 PaletteTitleInset() {
    return 0;
}

void HideFloatingWindows() {
    for (WindowRef w = GetFrontWindowOfClass(kFloatingWindowClass, true); w != nullptr;
         w = GetNextWindowOfClass(w, kFloatingWindowClass, true))
        if (std::find(gHiddenFloating.begin(), gHiddenFloating.end(), w) == gHiddenFloating.end())
            gHiddenFloating.push_back(w);
    for (WindowRef w : gHiddenFloating)
        HideWindow(w);
}

void ShowFloatingWindows() {
    std::vector<WindowRef> hidden;
    hidden.swap(gHiddenFloating);
    for (WindowRef w : hidden)
        if (StillFloating(w)) ShowWindow(w);
}
