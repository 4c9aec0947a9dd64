// Document windows: creation, geometry and layout, the title with its changed mark, the window's
// handlers (resize, activation, wheel), closing with the save question and freeing the document.
#include "Shell/DocumentWindow.h"

#include "Other/Alerts.h"
#include "View/ContentPasses.h"
#include "Platform/Controls.h"
#include "Model/DocumentRecords.h"
#include "Shell/EventLoop.h"
#include "Files/FileCommands.h"
#include "Files/Preferences.h"
#include "Other/MathPrimitives.h"
#include "Shell/MouseDispatch.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolDispatch.h"
#include "View/ViewTransform.h"
#include "View/ZoomExtents.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kTitleBarHeight = 22;
constexpr SInt16 kVerticalBarTop = 75;
constexpr SInt16 kVerticalBarTopAfterLayout = 74;
constexpr unsigned char kChangedMark = 19;

enum HandlerSlot { kBoundsHandler = 0, kActivationHandler = 1, kWheelHandler = 2 };

Rect PortRect(WindowRef window) {
    Rect r;
    GetPortBounds(GetWindowPort(window), &r);
    return r;
}

void ScrollBarsActive(DocWindowRecord* doc, Boolean active) {
    for (ControlRef bar : {doc->drawing->layout.verticalScrollBar, doc->drawing->layout.horizontalScrollBar})
        if (bar != nullptr) HiliteControl(bar, active ? 0 : kControlInactivePart);
}

OSStatus BoundsChanged(const WindowEvent* event, void* userData) {
    auto* doc = static_cast<DocWindowRecord*>(userData);
    SInt16 oldW = SInt16(event->previousBounds.right - event->previousBounds.left);
    SInt16 oldH = SInt16(event->previousBounds.bottom - event->previousBounds.top);
    // The size the window has now, which may differ from the one reported: the window manager has the
    // last word, and laying out for an older size would ask it for that size again.
    const Rect port = PortRect(doc->window);
    SInt16 newW = SInt16(port.right - port.left);
    SInt16 newH = SInt16(port.bottom - port.top);
    if (oldW == newW && oldH == newH) return noErr;
    // The program laid the window out for this size when it resized it: the origin stays.
    const DrawingRecord* d = doc->drawing;
    if (newW == d->layout.contentWidth + kScrollBarWidth && newH == d->layout.contentHeight + kScrollBarWidth)
        return noErr;
    LayoutDocumentWindow(doc, newW, newH, oldH);
    SetViewScale(doc->drawing, AtLeastEpsilon(doc->drawing->view.unitsPerPixel));
    DrawStatusBarChrome(doc);
    UpdateStatusArea(doc, true);
    DrawControls(doc->window);
    UpdateViewExtent(doc, true);
    return noErr;
}

OSStatus ActivationChanged(const WindowEvent* event, void* userData) {
    ScrollBarsActive(static_cast<DocWindowRecord*>(userData), event->kind == WindowEventKind::activated);
    return eventNotHandledErr;
}

// The wheel zooms or scrolls; Command swaps the two. Zooming follows the desktop's habit: the wheel
// turned away from the user zooms in, about the mouse.
OSStatus WheelMoved(const WindowEvent* event, void* userData) {
    auto* doc = static_cast<DocWindowRecord*>(userData);
    DrawingRecord* d = doc->drawing;
    Boolean commandDown = (event->modifiers & cmdKey) != 0;
    Boolean zoom = GeneralPrefs.wheelZoom ? !commandDown : commandDown;
    if (zoom) {
        Rect content;
        GetWindowContentBounds(doc->window, &content);
        Point local{SInt16(event->where.v - content.top), SInt16(event->where.h - content.left)};
        if (event->wheelDelta > 0)
            ZoomInStep(doc, 3, true, local);
        else
            ZoomOutStep(doc, 4, true, local);
        return noErr;
    }
    const SInt32 pixels = 2 * event->wheelDelta;
    if (event->wheelAxis == kEventMouseWheelAxisY)
        d->view.originY += pixels * d->view.unitsPerPixel;
    else
        d->view.originX -= pixels * d->view.unitsPerPixel;
    ShowViewMoved(doc, event->wheelAxis == kEventMouseWheelAxisY ? 0 : pixels,
                  event->wheelAxis == kEventMouseWheelAxisY ? pixels : 0, true);
    return noErr;
}

// The status bar's help tags, shown as tooltips.
Boolean StatusHelpTag(WindowRef, Point local, Str255 text, Rect* zone, void* userData) {
    StatusHelpTagText(static_cast<DocWindowRecord*>(userData), local, text, zone);
    return text[0] != 0;
}

void InvalidateStrip(WindowRef window, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    InvalWindowRect(window, &r);
}

// A new window never opens exactly over another: it steps down and to the right past every window at
// its place, keeping its bottom right corner, so it stays inside the screen.
void CascadePastOpenWindows(Rect* bounds) {
    constexpr SInt16 kCascadeStep = 22;
    constexpr int kMaxSteps = 8;
    for (int step = 0; step < kMaxSteps; ++step) {
        bool taken = false;
        for (DocWindowRecord* other = OpenDocumentList; other != nullptr && !taken; other = other->next) {
            if (other->window == nullptr) continue;
            Rect r;
            GetWindowContentBounds(other->window, &r);
            taken = r.top == bounds->top && r.left == bounds->left;
        }
        if (!taken) return;
        bounds->top = SInt16(bounds->top + kCascadeStep);
        bounds->left = SInt16(bounds->left + kCascadeStep);
    }
}

ControlRef NewScrollBar(WindowRef window, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    Rect r;
    SetRect(&r, left, top, right, bottom);
    ControlRef bar = nullptr;
    CreateScrollBarControl(window, &r, 0, 0, kScrollMaximum, 0, true, nullptr, &bar);
    return bar;
}

} // namespace

Boolean NewDocumentWindow(DocWindowRecord* doc, ConstStr255Param title, SInt16) {
    Rect bounds;
    GetAvailableWindowPositioningBounds(GetMainDevice(), &bounds);
    bounds.top = SInt16(bounds.top + kTitleBarHeight);
    CascadePastOpenWindows(&bounds);
    WindowRef window = nullptr;
    const WindowAttributes attributes = kWindowCloseBoxAttribute | kWindowFullZoomAttribute |
                                        kWindowCollapseBoxAttribute | kWindowResizableAttribute;
    if (CreateNewWindow(kDocumentWindowClass, attributes, &bounds, &window) != noErr || window == nullptr)
        return false;
    SetWTitle(window, title);
    ChangeWindowAttributes(window, kWindowAsyncDragAttribute, 0);
    SetWindowRefConPtr(window, doc);
    doc->window = window;
    SetPortWindowPort(window);

    Rect global;
    GetWindowContentBounds(window, &global);
    SetWindowStandardState(window, &global);
    SetWindowUserState(window, &global);
    SetWindowResizeLimits(window, Point{kMinWindowHeight, kMinWindowWidth},
                          Point{kMaxWindowSize, kMaxWindowSize});

    TextFont(0);
    TextSize(12);
    TextFace(normal);
    TextMode(srcOr);

    const Rect port = PortRect(window);
    const SInt16 W = SInt16(port.right - port.left), H = SInt16(port.bottom - port.top);
    DrawingRecord* d = doc->drawing;
    d->layout.verticalScrollBar =
        NewScrollBar(window, SInt16(W - 15), kVerticalBarTop, SInt16(W + 1), SInt16(H - 14));
    d->layout.horizontalScrollBar =
        NewScrollBar(window, kStatusBarWidth, SInt16(H - 15), SInt16(W - 14), SInt16(H + 1));
    d->layout.statusDrawingOn = 1;
    d->lastTimedSaveTicks = TickCount();

    ComputeWindowChromeMetrics(doc);
    ShowWindow(window);
    SelectWindow(window);
    SetPortWindowPort(window);

    InstallWindowEventHandler(window, WindowEventKind::mouseWheel, WheelMoved, doc,
                              &d->layout.windowHandlers[kWheelHandler]);
    ChangeWindowAttributes(window, kWindowLiveResizeAttribute, 0);
    InstallWindowEventHandler(window, WindowEventKind::boundsChanged, BoundsChanged, doc,
                              &d->layout.windowHandlers[kBoundsHandler]);
    InstallWindowEventHandler(window, WindowEventKind::activated, ActivationChanged, doc,
                              &d->layout.windowHandlers[kActivationHandler]);
    InstallWindowEventHandler(window, WindowEventKind::deactivated, ActivationChanged, doc, nullptr);
    SetWindowHelpTagProvider(window, StatusHelpTag, doc);
    return true;
}

void ComputeWindowChromeMetrics(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    DrawingRecord* d = doc->drawing;
    const Rect port = PortRect(doc->window);
    const SInt16 W = SInt16(port.right - port.left), H = SInt16(port.bottom - port.top);

    const SInt16 lineHeight = DocLineHeight(doc);
    d->layout.statusHeight = lineHeight;
    ComputeDrawingAreaMetrics(doc);
    d->layout.contentWidth = SInt16(W - kScrollBarWidth);
    d->layout.contentHeight = SInt16(H - kScrollBarWidth);
    d->layout.messageLineTop = SInt16(d->layout.contentHeight - 1 - lineHeight);
    d->layout.rightEdge = SInt16(d->layout.contentWidth - 1);
    d->layout.messageLineBottom = SInt16(d->layout.messageLineTop + lineHeight);
    d->layout.aspectRatio = d->view.viewWidth > 0 ? Float64(d->view.viewHeight) / d->view.viewWidth : 1.0;
}

namespace {

// The document font's metrics; a size below 1 becomes 12 in the settings first. The port keeps its font.
FontInfo DocFontInfo(DocWindowRecord* doc) {
    DocSettings* s = doc->settings;
    if (s->textSize < 1) s->textSize = 12;
    FontInfo info{};
    if (doc->window == nullptr) return info;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    CGrafPtr windowPort = GetWindowPort(doc->window);
    const SInt16 font = GetPortTextFont(windowPort), size = GetPortTextSize(windowPort);
    const SInt16 face = GetPortTextFace(windowPort);
    TextFont(s->documentFont);
    TextSize(SInt16(s->textSize));
    TextFace(normal);
    GetFontInfo(&info);
    TextFont(font);
    TextSize(size);
    TextFace(face);
    SetPort(saved);
    return info;
}

} // namespace

SInt16 DocLineHeight(DocWindowRecord* doc) {
    FontInfo info = DocFontInfo(doc);
    return SInt16(info.ascent + info.descent + 1);
}

SInt16 DocAscent(DocWindowRecord* doc) {
    return SInt16(DocFontInfo(doc).ascent + 1);
}

void SetZoomStateToMouseScreen(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    constexpr SInt16 kTitleBarRoom = 18;
    Rect zoomed{30, 30, 200, 200};
    Point mouse;
    GetGlobalMouse(&mouse);
    for (GDHandle device = GetDeviceList(); device != nullptr; device = GetNextDevice(device)) {
        Rect screen, usable;
        GetDeviceBounds(device, &screen);
        if (!PtInRect(mouse, &screen)) continue;
        // What windows may cover of that screen, less a small margin and room for the title bar.
        GetAvailableWindowPositioningBounds(device, &usable);
        InsetRect(&usable, 3, 3);
        OffsetRect(&usable, -1, -1);
        usable.top = SInt16(usable.top + kTitleBarRoom);
        zoomed = usable;
    }
    SetWindowStandardState(doc->window, &zoomed);
}

void LayoutDocumentWindow(DocWindowRecord* doc, SInt16 width, SInt16 height, SInt16 previousHeight) {
    if (doc == nullptr || doc->window == nullptr) return;
    WindowRef window = doc->window;
    DrawingRecord* d = doc->drawing;
    const Rect old = PortRect(window);
    const SInt16 oldW = SInt16(old.right - old.left), oldH = SInt16(old.bottom - old.top);
    if (previousHeight != 0) d->view.originY -= (height - previousHeight) * d->view.unitsPerPixel;

    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(window);
    BackColor(whiteColor);
    if (width > oldW) InvalidateStrip(window, SInt16(old.right - 15), old.top, old.right, old.bottom);
    if (height > oldH) InvalidateStrip(window, old.left, SInt16(old.bottom - 15), old.right, old.bottom);
    if (width != oldW || height != oldH) SizeWindow(window, width, height, true);
    if (width < oldW) InvalidateStrip(window, SInt16(width - 15), 0, width, height);
    if (height < oldH) InvalidateStrip(window, 0, SInt16(height - 15), width, height);

    if (ControlRef v = d->layout.verticalScrollBar) {
        HideControl(v);
        MoveControl(v, SInt16(width - 15), kVerticalBarTopAfterLayout);
        SizeControl(v, 16, SInt16(height - 88));
        ShowControl(v);
    }
    if (ControlRef h = d->layout.horizontalScrollBar) {
        HideControl(h);
        MoveControl(h, kStatusBarWidth, SInt16(height - 15));
        SizeControl(h, SInt16(width - 346), 16);
        ShowControl(h);
    }
    InvalidateStrip(window, 0, 0, width, height);
    SetPort(saved);
    ComputeWindowChromeMetrics(doc);
    DrawCommandField(doc);
    RefreshWindowTitle(doc);
}

void RelayoutDocumentWindow(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    const Rect port = PortRect(doc->window);
    LayoutDocumentWindow(doc, SInt16(port.right - port.left), SInt16(port.bottom - port.top), 0);
}

void GrowDocumentWindow(DocWindowRecord* doc, Point where) {
    Rect limits;
    SetRect(&limits, kMinWindowWidth, kMinWindowHeight, kMaxWindowSize, kMaxWindowSize);
    SInt32 result = GrowWindow(doc->window, where, &limits);
    if (result == 0) return;
    LayoutDocumentWindow(doc, SInt16(result & 0xFFFF), SInt16((result >> 16) & 0xFFFF), 0);
}

void SetTitleWithDirtyMark(WindowRef window, ConstStr255Param shortName, const char* unicodeName,
                           UInt32 unicodeFlag, Boolean modified) {
    if (window == nullptr) return;
    if (unicodeFlag != 0) {
        SetWindowTitleUTF8(window, unicodeName != nullptr ? unicodeName : "");
        SetWindowModified(window, modified);
        return;
    }
    Str255 title = {0};
    if (modified) {
        title[0] = 2;
        title[1] = kChangedMark;
        title[2] = ' ';
    }
    AppendPStr(title, sizeof title, shortName);
    Str255 current;
    GetWTitle(window, current);
    if (!EqualPStr(current, title)) SetWTitle(window, title);
}

void RefreshWindowTitle(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    const DrawingRecord* d = doc->drawing;
    SetTitleWithDirtyMark(doc->window, d->documentName, d->unicodeName, d->unicodeNameFlag, d->changed);
}

void SetDocWindowTitle(DocWindowRecord* doc, ConstStr255Param text) {
    if (doc != nullptr && doc->window != nullptr) SetWTitle(doc->window, text);
}

void MarkDocumentDirty(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing->changed) return;
    const DrawingRecord* d = doc->drawing;
    SetTitleWithDirtyMark(doc->window, d->documentName, d->unicodeName, d->unicodeNameFlag, true);
    doc->drawing->changed = 1;
}

void MarkDocumentClean(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DrawingRecord* d = doc->drawing;
    if (d->changed) d->changed = d->changed2 = 0;
    SetTitleWithDirtyMark(doc->window, d->documentName, d->unicodeName, d->unicodeNameFlag, false);
}

void SetScrollMaxAndValue(ControlRef control, SInt16 value, SInt16 maximum) {
    if (control == nullptr) return;
    if (GetControlMaximum(control) != maximum) SetControlMaximum(control, maximum);
    SetControlValue(control, value);
}

void SetScrollMaxAndReversedValue(ControlRef control, SInt16 value, SInt16 maximum) {
    SetScrollMaxAndValue(control, SInt16(kScrollMaximum - value), maximum);
}

void UpdateScrollBars(DocWindowRecord* doc, SInt32 thumbX, SInt32 thumbY) {
    if (doc == nullptr || doc->window == nullptr) return;
    SetScrollMaxAndValue(doc->drawing->layout.horizontalScrollBar, SInt16(thumbX), kScrollMaximum);
    SetScrollMaxAndValue(doc->drawing->layout.verticalScrollBar, SInt16(thumbY), kScrollMaximum);
}

Boolean SaveDocumentForClose(DocWindowRecord* doc) {
    if (doc->drawing->hasFile) return SaveDocument(doc, false, false, false, false, false);
    Boolean saved = false;
    SaveDocumentAs(doc, 1, 0, 0, 0, &saved, 0);
    return saved;
}

SInt16 CloseDocumentWindow(DocWindowRecord* doc, Boolean quitting, Boolean ask, Boolean saveWithoutAsking) {
    if (doc == nullptr) return 0;
    DrawingRecord* d = doc->drawing;
    if (d->symbolBeingEdited) {
        ShowErrorAlert(13, d->documentName);
        return 0;
    }
    if (!d->changed) {
        DisposeDocumentWindow(doc);
        return 1;
    }
    Boolean save = saveWithoutAsking;
    if (ask) {
        SInt16 answer = AskSaveChanges(d->documentName, !quitting);
        if (answer == 2) {
            DisposeDocumentWindow(doc);
            return 1;
        }
        if (answer != 1) return 0;
        save = true;
    }
    if (!save) {
        DisposeDocumentWindow(doc);
        return 1;
    }
    if (!SaveDocumentForClose(doc)) return 0;
    DisposeDocumentWindow(doc);
    return 1;
}

void DisposeDocWindowRef(WindowRef* slot) {
    if (slot == nullptr || *slot == nullptr) return;
    KillControls(*slot);
    DisposeWindow(*slot);
    *slot = nullptr;
}

void DisposeDocumentWindow(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DrawingRecord* d = doc->drawing;
    for (auto*& handler : d->layout.windowHandlers)
        if (handler != nullptr) {
            RemoveEventHandler(handler);
            handler = nullptr;
        }
    d->layout.verticalScrollBar = d->layout.horizontalScrollBar = nullptr;
    DisposeDocWindowRef(&doc->window);
    DisposeDocumentRecords(doc);

    DocWindowRecord* front = FrontDocument();
    if (front == nullptr) {
        front = OpenDocumentList;
        while (front != nullptr && front->next != nullptr)
            front = front->next;
    }
    if (front != nullptr) ActivateDocument(front);
    RebuildWindowMenu();
    RefreshPalettes(front);
}

DocWindowRecord* DocumentOfWindow(WindowRef window) {
    if (window == nullptr) return nullptr;
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next)
        if (doc->window == window) return doc;
    return nullptr;
}

void UpdateDocumentWindow(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    // A deferred redraw still due is done by this paint, over the whole window.
    const bool redrawDue = doc->drawing->view.redrawPending;
    if (redrawDue) {
        Rect bounds;
        GetWindowPortBounds(doc->window, &bounds);
        InvalWindowRect(doc->window, &bounds);
    }
    BeginUpdate(doc->window);
    DrawStatusBarChrome(doc);
    UpdateStatusArea(doc, true);
    DrawControls(doc->window);
    UpdateViewExtent(doc, true);
    EndUpdate(doc->window);
    if (redrawDue) doc->drawing->view.redrawPending = 0;
    SetPort(saved);
}

namespace {
FontInfo SystemFontInfo() {
    GrafPtr port;
    GetPort(&port);
    FontInfo info{};
    if (port == nullptr) return info;
    SInt16 font = GetPortTextFont(port), size = GetPortTextSize(port), face = GetPortTextFace(port);
    TextFont(0);
    TextSize(12);
    TextFace(normal);
    GetFontInfo(&info);
    TextFont(font);
    TextSize(size);
    TextFace(face);
    return info;
}
} // namespace

SInt16 SystemLineHeight() {
    FontInfo info = SystemFontInfo();
    return SInt16(info.ascent + info.descent + info.leading);
}

SInt16 SystemAscent() {
    return SystemFontInfo().ascent;
}

SInt16 SystemDigitWidth() {
    GrafPtr port;
    GetPort(&port);
    if (port == nullptr) return 0;
    SInt16 font = GetPortTextFont(port), size = GetPortTextSize(port), face = GetPortTextFace(port);
    TextFont(0);
    TextSize(12);
    TextFace(normal);
    SInt16 width = CharWidth('8');
    TextFont(font);
    TextSize(size);
    TextFace(face);
    return width;
}
