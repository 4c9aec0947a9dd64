// Keys from the window system become virtual key codes, character codes and modifier bits.
#include "GuiHarness.h"
#include "Platform/Windows.h"

namespace {
struct KeyCase {
    const char* sequence;
    UInt8 keyCode;
    UInt8 charCode;
    UInt16 modifiers;
};

const KeyCase kCases[] = {
    {"A", kKeyCodeA, 'a', 0},
    {"Shift+A", kKeyCodeA, 'A', shiftKey},
    {"Ctrl+Q", kKeyCodeQ, 'q', cmdKey},
    {"Ctrl+.", kKeyCodePeriod, '.', cmdKey},
    {"Meta+C", kKeyCodeC, 3, controlKey},
    {"Alt+Left", kKeyCodeLeftArrow, kLeftArrowCharCode, optionKey},
    {"Ctrl+Up", kKeyCodeUpArrow, kUpArrowCharCode, cmdKey},
    {"Right", kKeyCodeRightArrow, kRightArrowCharCode, 0},
    {"Down", kKeyCodeDownArrow, kDownArrowCharCode, 0},
    {"Return", kKeyCodeReturn, kReturnCharCode, 0},
    {"Num+Enter", kKeyCodeKeypadEnter, kEnterCharCode, 0},
    {"Esc", kKeyCodeEscape, kEscapeCharCode, 0},
    {"Backspace", kKeyCodeDelete, kBackspaceCharCode, 0},
    {"Del", kKeyCodeForwardDelete, kDeleteCharCode, 0},
    {"Tab", kKeyCodeTab, kTabCharCode, 0},
    {"Space", kKeyCodeSpace, ' ', 0},
    {"PgUp", kKeyCodePageUp, kPageUpCharCode, 0},
    {"PgDown", kKeyCodePageDown, kPageDownCharCode, 0},
    {"Home", kKeyCodeHome, kHomeCharCode, 0},
    {"End", kKeyCodeEnd, kEndCharCode, 0},
    {"F1", kKeyCodeF1, kFunctionKeyCharCode, 0},
    {"Shift+F5", kKeyCodeF5, kFunctionKeyCharCode, shiftKey},
    {"Ctrl+Alt+Meta+Shift+F12", kKeyCodeF12, kFunctionKeyCharCode,
     cmdKey | optionKey | controlKey | shiftKey},
    {"F15", kKeyCodeF15, kFunctionKeyCharCode, 0},
    {"Num+.", kKeyCodeKeypadDecimal, '.', 0},
    {"Num+7", kKeyCodeKeypad7, '7', 0},
    {"7", kKeyCode7, '7', 0},
    {"=", kKeyCodeEqual, '=', 0},
    {"\xC3\xA9", 0x0A, 0x8E, 0},
};
} // namespace

TEST_F(GuiTest, QtKeysTranslateToVirtualCodesCharactersAndModifiers) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 300, 300});
    DrainEvents();
    EventRecord e;
    for (const auto& c : kCases) {
        ASSERT_TRUE(InjectQtKeyForTesting(w, c.sequence, false)) << c.sequence;
        ASSERT_TRUE(GetNextEvent(keyDownMask | autoKeyMask, &e)) << c.sequence;
        EXPECT_EQ(e.what, keyDown) << c.sequence;
        EXPECT_EQ(EventKeyCode(e), c.keyCode) << c.sequence;
        EXPECT_EQ(EventCharCode(e), c.charCode) << c.sequence;
        EXPECT_EQ(e.modifiers & (cmdKey | shiftKey | optionKey | controlKey), c.modifiers) << c.sequence;
        EXPECT_FALSE(GetNextEvent(everyEvent & ~updateMask, &e)) << c.sequence << " left " << e.what;
    }
}

TEST_F(GuiTest, RepeatedKeysAreAutoKeysAndHeldKeysShowInTheKeyMap) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 300, 300});
    EventRecord e;
    ASSERT_TRUE(InjectQtKeyForTesting(w, "X", true));
    ASSERT_TRUE(GetNextEvent(keyDownMask | autoKeyMask, &e));
    EXPECT_EQ(e.what, autoKey);

    SimulateModifiers(shiftKey | cmdKey);
    SimulateKey(true, kKeyCodeA, 'A', shiftKey | cmdKey, false);
    Button();
    Button();
    KeyMap keys;
    GetKeys(keys);
    EXPECT_TRUE(IsKeyInMap(keys, kKeyCodeShift));
    EXPECT_TRUE(IsKeyInMap(keys, kKeyCodeCommand));
    EXPECT_TRUE(IsKeyInMap(keys, kKeyCodeA));
    EXPECT_FALSE(IsKeyInMap(keys, kKeyCodeB));
    EXPECT_EQ(GetCurrentKeyModifiers(), shiftKey | cmdKey);
}
