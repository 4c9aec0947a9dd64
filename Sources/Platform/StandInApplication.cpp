// The stand-in application window and its loop: a File menu with Quit (also Command-Q); Quit posts the
// quit event as the system would, and the loop ends on it.
#include "StandInApplication.h"
#include "Menus.h"
#include "MenuBarHost.h"
#include "PlatformWindowInternal.h"

#include <QMenuBar>
#include <cstring>
#include <string>

namespace {
constexpr UInt32 kCoreEventClass = FOUR_CHAR("aevt");
constexpr UInt32 kQuitEventID = FOUR_CHAR("quit");
constexpr MenuID kFileMenu = 129;

// A length-prefixed copy of a short text.
std::basic_string<unsigned char> PascalText(const char* text)
{
    std::basic_string<unsigned char> s(1, static_cast<unsigned char>(std::strlen(text)));
    s.append(reinterpret_cast<const unsigned char*>(text));
    return s;
}

void PostQuit() {
    EventRecord e{};
    e.what = kHighLevelEvent;
    e.message = kCoreEventClass;
    e.where = Point{SInt16(kQuitEventID >> 16), SInt16(kQuitEventID & 0xFFFF)};
    PostEventRecord(e);
}

void Draw(WindowRef window) {
    SetPortWindowPort(window);
    Rect r;
    GetWindowPortBounds(window, &r);
    EraseRect(&r);
    TextFont(0);
    TextSize(12);
    MoveTo(20, 30);
    DrawString(PascalText("Draftwerk").data());
}

void Choose(SInt32 choice) {
    if ((choice >> 16) == kFileMenu && (choice & 0xFFFF) == 1) PostQuit();
    HiliteMenu(0);
}
} // namespace

int RunStandInApplication() {
    Rect avail;
    GetAvailableWindowPositioningBounds(GetMainDevice(), &avail);
    Rect bounds{SInt16(avail.top + 60), SInt16(avail.left + 60), SInt16(avail.top + 260),
                SInt16(avail.left + 460)};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowCollapseBoxAttribute, &bounds, &window) != noErr)
        return 1;
    SetWTitle(window, PascalText("Draftwerk").data());
    MenuRef file = NewMenu(kFileMenu, PascalText("File").data());
    AppendMenu(file, PascalText("Quit/Q").data());
    InsertMenu(file, 0);
    auto* bar = new QMenuBar;
    PlatformSetWindowMenuBar(window, bar);
    AttachMenuBar(bar);
    DrawMenuBar();
    ShowWindow(window);
    SelectWindow(window);
    for (;;) {
        EventRecord e;
        if (!WaitNextEvent(everyEvent, &e, 15, nullptr)) continue;
        WindowRef hit = nullptr;
        if (e.what == updateEvt) {
            auto* w = reinterpret_cast<WindowRef>(e.message);
            BeginUpdate(w);
            Draw(w);
            EndUpdate(w);
        } else if (e.what == mouseDown && FindWindow(e.where, &hit) == inMenuBar) {
            Choose(MenuSelect(e.where));
        } else if (e.what == keyDown && (e.modifiers & cmdKey)) {
            Choose(MenuKey(EventCharCode(e)));
        } else if (e.what == kHighLevelEvent && e.message == kCoreEventClass &&
                   HighLevelEventID(e) == kQuitEventID) {
            break;
        }
    }
    DetachMenuBar(bar);
    DeleteMenu(kFileMenu);
    DisposeMenu(file);
    DisposeWindow(window);
    return 0;
}
