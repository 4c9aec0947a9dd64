// The GUI test harness over the platform's simulated input.
#include "GuiHarness.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
void Starved() {
    throw GuiLoopStarved();
}

struct TypedKey {
    char ch;
    UInt8 keyCode;
    bool shift;
};

// The US layout: unshifted and shifted characters of each key.
const char kKeys[][3] = {
    {'a', 'A', kKeyCodeA},           {'b', 'B', kKeyCodeB},
    {'c', 'C', kKeyCodeC},           {'d', 'D', kKeyCodeD},
    {'e', 'E', kKeyCodeE},           {'f', 'F', kKeyCodeF},
    {'g', 'G', kKeyCodeG},           {'h', 'H', kKeyCodeH},
    {'i', 'I', kKeyCodeI},           {'j', 'J', kKeyCodeJ},
    {'k', 'K', kKeyCodeK},           {'l', 'L', kKeyCodeL},
    {'m', 'M', kKeyCodeM},           {'n', 'N', kKeyCodeN},
    {'o', 'O', kKeyCodeO},           {'p', 'P', kKeyCodeP},
    {'q', 'Q', kKeyCodeQ},           {'r', 'R', kKeyCodeR},
    {'s', 'S', kKeyCodeS},           {'t', 'T', kKeyCodeT},
    {'u', 'U', kKeyCodeU},           {'v', 'V', kKeyCodeV},
    {'w', 'W', kKeyCodeW},           {'x', 'X', kKeyCodeX},
    {'y', 'Y', kKeyCodeY},           {'z', 'Z', kKeyCodeZ},
    {'1', '!', kKeyCode1},           {'2', '@', kKeyCode2},
    {'3', '#', kKeyCode3},           {'4', '$', kKeyCode4},
    {'5', '%', kKeyCode5},           {'6', '^', kKeyCode6},
    {'7', '&', kKeyCode7},           {'8', '*', kKeyCode8},
    {'9', '(', kKeyCode9},           {'0', ')', kKeyCode0},
    {'-', '_', kKeyCodeMinus},       {'=', '+', kKeyCodeEqual},
    {'[', '{', kKeyCodeLeftBracket}, {']', '}', kKeyCodeRightBracket},
    {';', ':', kKeyCodeSemicolon},   {'\'', '"', kKeyCodeQuote},
    {'\\', '|', kKeyCodeBackslash},  {',', '<', kKeyCodeComma},
    {'.', '>', kKeyCodePeriod},      {'/', '?', kKeyCodeSlash},
    {'`', '~', kKeyCodeGrave},       {' ', ' ', kKeyCodeSpace},
};

TypedKey KeyFor(char c) {
    if (c == '\r') return {c, kKeyCodeReturn, false};
    if (c == '\t') return {c, kKeyCodeTab, false};
    for (const auto& k : kKeys) {
        if (k[0] == c) return {c, UInt8(k[2]), false};
        if (k[1] == c) return {c, UInt8(k[2]), true};
    }
    return {c, 0x0A, false};
}
} // namespace

void GuiTestSetUp() {
    EnsureTestApplication();
    PlatformSetVirtualTime(true);
    ResetInputState();
    PlatformSetIdleLimit(2000, Starved);
}

void GuiTestTearDown() {
    while (WindowRef w = GetWindowList())
        DisposeWindow(w);
    ResetInputState();
    PlatformSetIdleLimit(0, nullptr);
    SetPort(nullptr);
}

Point WindowPointToGlobal(WindowRef window, Point local) {
    Rect b;
    GetWindowContentBounds(window, &b);
    return Point{SInt16(b.top + local.v), SInt16(b.left + local.h)};
}

WindowRef MakeTestWindow(WindowClass windowClass, Rect bounds, WindowAttributes attributes) {
    WindowRef w = nullptr;
    EXPECT_EQ(CreateNewWindow(windowClass, attributes, &bounds, &w), noErr);
    ShowWindow(w);
    SelectWindow(w);
    return w;
}

void QueueMouseDown(WindowRef window, Point local, UInt16 modifiers) {
    SimulateMouseMove(WindowPointToGlobal(window, local));
    SimulateMouseButton(true, modifiers);
}

void QueueMouseUp(WindowRef window, Point local, UInt16 modifiers) {
    SimulateMouseMove(WindowPointToGlobal(window, local));
    SimulateMouseButton(false, modifiers);
}

void QueueClick(WindowRef window, Point local, UInt16 modifiers) {
    QueueMouseDown(window, local, modifiers);
    SimulateMouseButton(false, modifiers);
}

void QueueDrag(WindowRef window, const std::vector<Point>& path, UInt16 modifiers) {
    if (path.empty()) return;
    QueueMouseDown(window, path.front(), modifiers);
    for (size_t i = 1; i < path.size(); ++i)
        SimulateMouseMove(WindowPointToGlobal(window, path[i]));
    SimulateMouseButton(false, modifiers);
}

void QueueGlobalClick(Point origin, SInt16 h, SInt16 v) {
    Point global{SInt16(origin.v + v), SInt16(origin.h + h)};
    SimulateMouseMove(global);
    SimulateMouseButton(true, 0);
    SimulateMouseButton(false, 0);
    // A button follows the mouse until it is read up: the next click waits one step.
    SimulateMouseMove(global);
}

void QueueKey(UInt8 keyCode, UInt8 charCode, UInt16 modifiers) {
    SimulateKey(true, keyCode, charCode, modifiers, false);
    SimulateKey(false, keyCode, charCode, modifiers, false);
}

void QueueTypedText(const std::string& text) {
    for (char c : text) {
        TypedKey k = KeyFor(c);
        QueueKey(k.keyCode, UInt8(c), k.shift ? shiftKey : 0);
    }
}

void QueueWheel(WindowRef window, Point local, SInt32 delta, UInt16 axis, UInt16 modifiers) {
    SimulateWheel(window, WindowPointToGlobal(window, local), axis, delta, modifiers);
}

void QueueCloseBox(WindowRef window) {
    SimulateCloseRequest(window);
}

void DrainEvents() {
    EventRecord e;
    while (GetNextEvent(everyEvent, &e)) {
        if (e.what == updateEvt) {
            BeginUpdate(reinterpret_cast<WindowRef>(e.message));
            EndUpdate(reinterpret_cast<WindowRef>(e.message));
        }
    }
}

int RunUntilIdle(const std::function<void()>& pass, int maxPasses) {
    for (int i = 1; i <= maxPasses; ++i) {
        pass();
        if (PlatformInputIdle()) return i;
    }
    ADD_FAILURE() << "input still pending after " << maxPasses << " passes";
    return maxPasses;
}

std::string SaveWindowPNG(WindowRef window, const std::string& name) {
    std::string path = TestOutputPath(name);
    EXPECT_TRUE(SavePortAsPNG(GetWindowPort(window), path.c_str())) << path;
    return path;
}

UInt32 BeepCount() {
    return PlatformBeepCount();
}
