// The event queue and the input state behind the polling calls, the tick clock (real or virtual), and
// the simulated user of the tests, whose steps go through the same recording functions as Qt input.
#include "Platform/MenuBarHost.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/SimulatedInput.h"
#include "Platform/PlatformApp.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <deque>
#include <thread>

namespace {

struct QueueEntry {
    bool isWindowEvent = false;
    EventRecord record{};
    WindowEvent windowEvent{};
    WindowRef frameWindow = nullptr; // a frame click: the window and the part FindWindow reports
    WindowPartCode framePart = inDesk;
};

struct FrameClick {
    WindowRef window;
    Point where;
    WindowPartCode part;
};

struct Step {
    enum Kind { move, button, key, modifiers, wheel, close, resize } kind;
    Point where{0, 0};
    bool down = false;
    UInt8 keyCode = 0;
    UInt8 charCode = 0;
    UInt16 mods = 0;
    bool repeat = false;
    WindowRef window = nullptr;
    UInt16 axis = 0;
    SInt32 delta = 0;
    SInt16 width = 0;
    SInt16 height = 0;
};

struct InputState {
    bool buttonDown = false;
    Point mouse{0, 0};
    UInt16 mods = 0;
    KeyMap keys{};
};

std::deque<QueueEntry> gPriority; // activation changes come first, as on the original system
std::deque<QueueEntry> gQueue;
std::deque<Step> gScript;
std::vector<FrameClick> gFrameClicks;
InputState gState;

const auto gStart = std::chrono::steady_clock::now();
bool gVirtualTime = false;
UInt32 gVirtualTicks = 0;
UInt32 gIdleLimit = 0;
UInt32 gIdleCount = 0;
IdleLimitHandler gIdleHandler = nullptr;

bool gAppWasActive = false;
bool gAppActive = true;
bool gReportedActive = true;
UInt32 gActiveChangedAt = 0;

UInt32 RealTicks() {
    auto elapsed = std::chrono::steady_clock::now() - gStart;
    return UInt32(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * 60 / 1000000);
}

EventMask MaskOf(EventKind what) {
    if (what == kHighLevelEvent) return highLevelEventMask;
    if (what < 16) return EventMask(1u << what);
    return 0;
}

UInt16 CurrentModifiers() {
    return UInt16(gState.mods | (gState.buttonDown ? 0 : btnState));
}

void FillNullEvent(EventRecord* event) {
    event->what = nullEvent;
    event->message = 0;
    event->when = TickCount();
    event->where = gState.mouse;
    event->modifiers = CurrentModifiers();
}

void Enqueue(const QueueEntry& entry) {
    gQueue.push_back(entry);
}

void PlayStep(const Step& s) {
    switch (s.kind) {
    case Step::move:
        PlatformRecordMouseMove(s.where);
        break;
    case Step::button: {
        WindowRef window = nullptr;
        WindowPartCode part = FindWindow(gState.mouse, &window);
        PlatformRecordMouseButton(part == inContent ? window : nullptr, s.down, gState.mouse, s.mods, false);
        break;
    }
    case Step::key:
        PlatformRecordKey(s.down, s.keyCode, s.charCode, s.mods, s.repeat);
        break;
    case Step::modifiers:
        PlatformRecordModifiers(s.mods);
        break;
    case Step::wheel:
        if (PlatformWindowExists(s.window)) {
            WindowEvent e{};
            e.kind = WindowEventKind::mouseWheel;
            e.window = s.window;
            e.wheelAxis = s.axis;
            e.wheelDelta = s.delta;
            e.where = s.where;
            e.modifiers = s.mods;
            PlatformRecordMouseMove(s.where);
            PlatformQueueWindowEvent(e);
        }
        break;
    case Step::close:
        if (PlatformWindowExists(s.window)) PlatformWindowCloseRequested(s.window);
        break;
    case Step::resize:
        if (PlatformWindowExists(s.window)) {
            Rect b;
            GetWindowContentBounds(s.window, &b);
            b.right = SInt16(b.left + s.width);
            b.bottom = SInt16(b.top + s.height);
            PlatformWindowBoundsChangedByUser(s.window, b);
            if (s.window->host) HostSetContentGeometry(s.window->host, s.window->bounds);
        }
        break;
    }
}

void CheckApplicationActivation() {
    if (!gAppWasActive || gAppActive == gReportedActive) return;
    // Switching between our own windows passes through a short inactive state; only a lasting change
    // is a suspend or resume.
    if (!gAppActive && TickCount() - gActiveChangedAt < 15) return;
    gReportedActive = gAppActive;
    QueueEntry e;
    e.record.what = osEvt;
    e.record.message = (suspendResumeMessage << 24) | (gAppActive ? (unsigned long)resumeFlag : 0ul);
    e.record.when = TickCount();
    e.record.where = gState.mouse;
    e.record.modifiers = CurrentModifiers();
    Enqueue(e);
    if (!gAppActive) gState.buttonDown = false;
}

// Lets Qt deliver what is pending and, when asked, plays one simulated step. True when a step played.
bool Pump(bool playStep) {
    PlatformProcessQtEvents();
    CheckApplicationActivation();
    if (playStep && !gScript.empty()) {
        Step s = gScript.front();
        gScript.pop_front();
        PlayStep(s);
        return true;
    }
    return false;
}

bool KeyEventTakenByHandler(EventRecord* record) {
    if (record->what != keyDown && record->what != autoKey) return false;
    WindowRef focus = PlatformKeyFocusWindow();
    if (!focus) return false;
    WindowEvent e{};
    e.kind = WindowEventKind::textInput;
    e.window = focus;
    e.modifiers = record->modifiers;
    e.where = record->where;
    e.keyEvent = record;
    return PlatformCallWindowHandlers(e) == noErr;
}

// Finds the first event the mask admits. With remove, window events in front of it are handed to their
// handlers, and the event is taken from the queue.
bool TakeFrom(std::deque<QueueEntry>& queue, EventMask mask, EventRecord* event, bool remove) {
    for (auto it = queue.begin(); it != queue.end();) {
        if (it->isWindowEvent) {
            if (!remove) {
                ++it;
                continue;
            }
            WindowEvent e = it->windowEvent;
            it = queue.erase(it);
            if (PlatformWindowExists(e.window)) PlatformCallWindowHandlers(e);
            // A handler may have queued or taken events: start again.
            it = queue.begin();
            continue;
        }
        if (!(MaskOf(it->record.what) & mask)) {
            ++it;
            continue;
        }
        EventRecord record = it->record;
        if (!remove) {
            *event = record;
            return true;
        }
        bool frame = it->frameWindow != nullptr;
        queue.erase(it);
        if (record.what == mouseDown && !frame) {
            // A real click ends whatever frame clicks were waiting to be asked about.
            gFrameClicks.clear();
        }
        if (KeyEventTakenByHandler(&record)) {
            it = queue.begin();
            continue;
        }
        *event = record;
        return true;
    }
    return false;
}

bool Take(EventMask mask, EventRecord* event, bool remove) {
    if (TakeFrom(gPriority, mask, event, remove)) return true;
    if (TakeFrom(gQueue, mask, event, remove)) return true;
    if ((mask & updateMask) && PlatformNextUpdateEvent(event)) return true;
    return false;
}

bool MouseOutside(RgnHandle mouseRgn) {
    return mouseRgn && !EmptyRgn(mouseRgn) && !PtInRgn(gState.mouse, mouseRgn);
}

bool HasWindowEvents() {
    for (auto* queue : {&gPriority, &gQueue})
        for (const auto& e : *queue)
            if (e.isWindowEvent) return true;
    return false;
}

void WaitReal(UInt32 ticks, EventMask mask) {
    UInt32 ms = ticks * 1000 / 60;
    if (!PlatformHasApplication()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    bool expired = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&expired] { expired = true; });
    timer.start(int(ms));
    EventRecord probe;
    while (!expired) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        CheckApplicationActivation();
        if (Take(mask, &probe, false) || HasWindowEvents()) break;
    }
}

} // namespace

UInt32 TickCount() {
    return gVirtualTime ? gVirtualTicks : RealTicks();
}

void Delay(UInt32 ticks, UInt32* finalTicks) {
    if (gVirtualTime) {
        gVirtualTicks += ticks;
    } else {
        UInt32 end = RealTicks() + ticks;
        while (RealTicks() < end) {
            // Keep the screen current (a flashed button must show) without running program code.
            PlatformProcessQtEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    if (finalTicks) *finalTicks = TickCount();
}

Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleepTicks, RgnHandle mouseRgn) {
    UInt32 start = TickCount();
    for (;;) {
        bool played = Pump(true);
        if (Take(mask, event, true)) {
            gIdleCount = 0;
            return true;
        }
        if (MouseOutside(mouseRgn)) {
            FillNullEvent(event);
            event->what = osEvt;
            event->message = mouseMovedMessage << 24;
            return true;
        }
        if (played) {
            gIdleCount = 0;
            break;
        }
        if (gVirtualTime) {
            gVirtualTicks += sleepTicks > 0 ? sleepTicks : 1;
            if (gIdleLimit && gQueue.empty() && gScript.empty() && ++gIdleCount >= gIdleLimit &&
                gIdleHandler) {
                gIdleCount = 0;
                gIdleHandler();
            }
            break;
        }
        UInt32 elapsed = TickCount() - start;
        if (elapsed >= sleepTicks) break;
        WaitReal(sleepTicks - elapsed, mask);
    }
    FillNullEvent(event);
    return false;
}

Boolean GetNextEvent(EventMask mask, EventRecord* event) {
    Pump(true);
    if (Take(mask, event, true)) return true;
    FillNullEvent(event);
    return false;
}

Boolean EventAvail(EventMask mask, EventRecord* event) {
    Pump(true);
    if (Take(mask, event, false)) return true;
    FillNullEvent(event);
    return false;
}

void FlushEvents(EventMask whichMask, EventMask stopMask) {
    for (auto* queue : {&gPriority, &gQueue}) {
        for (auto it = queue->begin(); it != queue->end();) {
            if (it->isWindowEvent) {
                ++it;
                continue;
            }
            EventMask m = MaskOf(it->record.what);
            if (m & stopMask) break;
            if (m & whichMask)
                it = queue->erase(it);
            else
                ++it;
        }
    }
}

Boolean Button() {
    Pump(true);
    return gState.buttonDown;
}

static bool MouseUpQueued() {
    for (const auto& e : gQueue)
        if (!e.isWindowEvent && e.record.what == mouseUp) return true;
    return false;
}

Boolean StillDown() {
    Pump(true);
    return gState.buttonDown && !MouseUpQueued();
}

Boolean WaitMouseUp() {
    if (StillDown()) return true;
    for (auto it = gQueue.begin(); it != gQueue.end(); ++it) {
        if (!it->isWindowEvent && it->record.what == mouseUp) {
            gQueue.erase(it);
            break;
        }
    }
    return false;
}

void GetGlobalMouse(Point* mouse) {
    PlatformProcessQtEvents();
    *mouse = gState.mouse;
}

void GetMouse(Point* mouse) {
    GetGlobalMouse(mouse);
    GlobalToLocal(mouse);
}

void GetKeys(KeyMap keys) {
    PlatformProcessQtEvents();
    std::memcpy(keys, gState.keys, sizeof(KeyMap));
}

UInt16 GetCurrentKeyModifiers() {
    return gState.mods;
}

OSErr PostEventRecord(const EventRecord& event) {
    QueueEntry e;
    e.record = event;
    if (e.record.when == 0) e.record.when = TickCount();
    Enqueue(e);
    return noErr;
}

OSErr PostEvent(EventKind what, unsigned long message) {
    EventRecord e{};
    e.what = what;
    e.message = message;
    e.when = TickCount();
    e.where = gState.mouse;
    e.modifiers = CurrentModifiers();
    return PostEventRecord(e);
}

// Recording of input (the one path for Qt input and simulated steps).

void PlatformRecordMouseMove(Point globalPoint) {
    gState.mouse = globalPoint;
}

void PlatformRecordMouseButton(WindowRef window, bool down, Point globalPoint, UInt16 modifiers,
                               bool secondary) {
    gState.mouse = globalPoint;
    gState.mods = modifiers;
    if (down == gState.buttonDown) return;
    gState.buttonDown = down;
    if (down && window) {
        // The click itself activates the window; a frame click queued for its activation is void.
        for (auto it = gQueue.begin(); it != gQueue.end();) {
            if (it->frameWindow == window && it->framePart == inDrag)
                it = gQueue.erase(it);
            else
                ++it;
        }
    }
    QueueEntry e;
    e.record.what = down ? mouseDown : mouseUp;
    e.record.when = TickCount();
    e.record.where = globalPoint;
    e.record.modifiers = UInt16(modifiers | (secondary ? controlKey : 0) | (down ? 0 : btnState));
    Enqueue(e);
}

void PlatformRecordKey(bool down, UInt8 keyCode, UInt8 charCode, UInt16 modifiers, bool repeat) {
    gState.mods = modifiers;
    if (keyCode < 128) {
        if (down)
            gState.keys[keyCode >> 3] |= UInt8(1u << (keyCode & 7));
        else
            gState.keys[keyCode >> 3] &= UInt8(~(1u << (keyCode & 7)));
    }
    // Key-up events are outside the system event mask, as on the original system.
    if (!down) return;
    QueueEntry e;
    e.record.what = repeat ? autoKey : keyDown;
    e.record.message = (UInt32(keyCode) << 8) | charCode;
    e.record.when = TickCount();
    e.record.where = gState.mouse;
    e.record.modifiers = CurrentModifiers();
    Enqueue(e);
}

void PlatformRecordModifiers(UInt16 modifiers) {
    gState.mods = modifiers;
    struct {
        UInt16 bit;
        UInt8 code;
    } const keys[] = {{cmdKey, kKeyCodeCommand},
                      {shiftKey, kKeyCodeShift},
                      {optionKey, kKeyCodeOption},
                      {controlKey, kKeyCodeControl},
                      {alphaLock, kKeyCodeCapsLock}};
    for (auto k : keys) {
        if (modifiers & k.bit)
            gState.keys[k.code >> 3] |= UInt8(1u << (k.code & 7));
        else
            gState.keys[k.code >> 3] &= UInt8(~(1u << (k.code & 7)));
    }
}

void PlatformRecordApplicationActive(bool active) {
    if (active) gAppWasActive = true;
    if (active != gAppActive) gActiveChangedAt = TickCount();
    gAppActive = active;
    if (!active) gState.buttonDown = false;
}

void PlatformQueueWindowEvent(const WindowEvent& event) {
    QueueEntry e;
    e.isWindowEvent = true;
    e.windowEvent = event;
    if (event.kind == WindowEventKind::activated || event.kind == WindowEventKind::deactivated) {
        gPriority.push_back(e);
        return;
    }
    // Size changes still waiting merge into one: the handler lays the window out once, for the size
    // it has now, and never for a size the window manager has since replaced.
    if (event.kind == WindowEventKind::boundsChanged) {
        for (auto& queued : gQueue)
            if (queued.isWindowEvent && queued.windowEvent.kind == WindowEventKind::boundsChanged &&
                queued.windowEvent.window == event.window) {
                queued.windowEvent.currentBounds = event.currentBounds;
                return;
            }
    }
    Enqueue(e);
}

void PlatformQueueFrameClick(WindowRef window, WindowPartCode part) {
    Rect b;
    GetWindowContentBounds(window, &b);
    if (part == inDrag) {
        // A click in the content that activated the window is already queued and does the same.
        for (const auto& e : gQueue)
            if (!e.isWindowEvent && !e.frameWindow && e.record.what == mouseDown &&
                PtInRect(e.record.where, &b))
                return;
    }
    // A point in the title bar above the content, distinct per part so several can wait.
    Point where{SInt16(b.top - 8), SInt16(b.left + 8 + 4 * part)};
    gFrameClicks.push_back({window, where, part});
    QueueEntry e;
    e.record.what = mouseDown;
    e.record.when = TickCount();
    e.record.where = where;
    e.record.modifiers = gState.mods;
    e.frameWindow = window;
    e.framePart = part;
    Enqueue(e);
}

WindowPartCode PlatformFrameClickPart(Point globalPoint, WindowRef* window) {
    for (const auto& f : gFrameClicks) {
        if (EqualPt(f.where, globalPoint) && PlatformWindowExists(f.window)) {
            if (window) *window = f.window;
            return f.part;
        }
    }
    return inDesk;
}

void PlatformForgetFrameClick(WindowRef window) {
    std::erase_if(gFrameClicks, [window](const FrameClick& f) { return f.window == window; });
    for (auto* queue : {&gPriority, &gQueue})
        std::erase_if(*queue, [window](const QueueEntry& e) {
            return (e.isWindowEvent && e.windowEvent.window == window) || e.frameWindow == window;
        });
}

void QueueMenuBarMouseDown() {
    // The choice was made in the menu bar of the window in front; the click stands there.
    WindowRef w = FrontNonFloatingWindow();
    if (!w) w = FrontWindow();
    if (w) PlatformQueueFrameClick(w, inMenuBar);
}

void PlatformActivationEventRecord(WindowRef window, bool active) {
    QueueEntry e;
    e.record.what = activateEvt;
    e.record.message = reinterpret_cast<unsigned long>(window);
    e.record.when = TickCount();
    e.record.where = gState.mouse;
    e.record.modifiers = UInt16(CurrentModifiers() | (active ? activeFlag : 0));
    gPriority.push_back(e);
}

// Simulated input.

void SimulateMouseMove(Point globalPoint) {
    Step s{Step::move};
    s.where = globalPoint;
    gScript.push_back(s);
}

void SimulateMouseButton(Boolean down, UInt16 modifiers) {
    Step s{Step::button};
    s.down = down;
    s.mods = modifiers;
    gScript.push_back(s);
}

void SimulateKey(Boolean down, UInt8 keyCode, UInt8 charCode, UInt16 modifiers, Boolean repeat) {
    Step s{Step::key};
    s.down = down;
    s.keyCode = keyCode;
    s.charCode = charCode;
    s.mods = modifiers;
    s.repeat = repeat;
    gScript.push_back(s);
}

void SimulateModifiers(UInt16 modifiers) {
    Step s{Step::modifiers};
    s.mods = modifiers;
    gScript.push_back(s);
}

void SimulateWheel(WindowRef window, Point globalPoint, UInt16 axis, SInt32 delta, UInt16 modifiers) {
    Step s{Step::wheel};
    s.window = window;
    s.where = globalPoint;
    s.axis = axis;
    s.delta = delta;
    s.mods = modifiers;
    gScript.push_back(s);
}

void SimulateCloseRequest(WindowRef window) {
    Step s{Step::close};
    s.window = window;
    gScript.push_back(s);
}

void SimulateUserResize(WindowRef window, SInt16 width, SInt16 height) {
    Step s{Step::resize};
    s.window = window;
    s.width = width;
    s.height = height;
    gScript.push_back(s);
}

UInt32 SimulatedStepsPending() {
    return UInt32(gScript.size());
}

void ResetInputState() {
    gScript.clear();
    gQueue.clear();
    gPriority.clear();
    gFrameClicks.clear();
    Point mouse = gState.mouse;
    gState = InputState{};
    gState.mouse = mouse;
    gIdleCount = 0;
}

Boolean PlatformInputIdle() {
    return gScript.empty() && gQueue.empty() && gPriority.empty() && !PlatformAnyUpdatePending();
}

void PlatformSetVirtualTime(Boolean on) {
    if (on && !gVirtualTime) gVirtualTicks = RealTicks();
    gVirtualTime = on;
}

Boolean PlatformVirtualTime() {
    return gVirtualTime;
}

void PlatformAdvanceVirtualTime(UInt32 ticks) {
    gVirtualTicks += ticks;
}

void PlatformSetIdleLimit(UInt32 nullEvents, IdleLimitHandler handler) {
    gIdleLimit = nullEvents;
    gIdleHandler = handler;
    gIdleCount = 0;
}
