// The windows that carry the menu bar: every document window, and the application window while no
// document window exists.
#include "Platform/MenuBarHost.h"
#include "Platform/Menus.h"
#include "Platform/PascalBytes.h"
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QMenuBar>

#include <algorithm>
#include <vector>

namespace {

bool gRunning = false;
WindowRef gAppWindow = nullptr;
std::vector<WindowRef> gDocuments;
bool gChanging = false;

void Equip(WindowRef window) {
    auto* bar = new QMenuBar;
    PlatformSetWindowMenuBar(window, bar);
    AttachMenuBar(bar);
}

void ShowApplicationWindow() {
    if (gAppWindow || !PlatformHasApplication()) return;
    Rect avail{};
    GetAvailableWindowPositioningBounds(GetMainDevice(), &avail);
    Rect bounds{static_cast<SInt16>(avail.top + 40), static_cast<SInt16>(avail.left + 40),
                static_cast<SInt16>(avail.top + 120), static_cast<SInt16>(avail.left + 460)};
    gChanging = true;
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowCloseBoxAttribute | kWindowCollapseBoxAttribute, &bounds,
                        &window) == noErr) {
        gAppWindow = window;
        Str255 title;
        BytesToPStr("Draftwerk", title);
        SetWTitle(window, title);
        Equip(window);
        // Wide enough for the whole bar: no menu may hide behind an overflow mark.
        if (QMenuBar* bar = PlatformWindowMenuBar(window)) {
            const int needed = bar->sizeHint().width();
            if (needed > bounds.right - bounds.left)
                SizeWindow(window, static_cast<SInt16>(std::min(needed, avail.right - avail.left - 80)),
                           static_cast<SInt16>(bounds.bottom - bounds.top), false);
        }
        ShowWindow(window);
        SelectWindow(window);
    }
    gChanging = false;
}

void HideApplicationWindow() {
    if (!gAppWindow) return;
    WindowRef window = gAppWindow;
    gAppWindow = nullptr;
    gChanging = true;
    DetachMenuBar(PlatformWindowMenuBar(window));
    DisposeWindow(window);
    gChanging = false;
}

void WindowChanged(WindowRef window, WindowChange change) {
    if (gChanging || window == gAppWindow || GetWindowClass(window) != kDocumentWindowClass) return;
    if (change == WindowChange::created) {
        gDocuments.push_back(window);
        Equip(window);
        HideApplicationWindow();
    } else if (change == WindowChange::disposing) {
        gDocuments.erase(std::remove(gDocuments.begin(), gDocuments.end(), window), gDocuments.end());
        DetachMenuBar(PlatformWindowMenuBar(window));
        if (gDocuments.empty()) ShowApplicationWindow();
    }
}

} // namespace

void StartMenuBarHost() {
    if (gRunning) return;
    gRunning = true;
    PlatformAddWindowObserver(WindowChanged);
    if (gDocuments.empty()) ShowApplicationWindow();
}

void StopMenuBarHost() {
    if (!gRunning) return;
    gRunning = false;
    PlatformRemoveWindowObserver(WindowChanged);
    HideApplicationWindow();
    gDocuments.clear();
}

OpaqueWindowPtr* ApplicationMenuWindow() {
    return gAppWindow;
}
