// The text dialogs end to end, answered by queued keys and clicks: the long text of a framed box
// (lines, the size rules, its Edit menu and the clipboard) and the text attributes (the limits,
// the picker, the leader buttons of one text, the menu's settings for new texts).
#include "ShellTestSupport.h"

#include "Dialogs/TextDialogParts.h"
#include "Dialogs/TextDialogs.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Platform/Clipboard.h"
#include "Platform/Events.h"
#include "Platform/Fonts.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Platform/Windows.h"
#include "Shell/MenuBar.h"
#include "Tools/TextElements.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Where the dialogs' resources place their content (global), as neither has a remembered place here.
constexpr Point kEntryOrigin{100, 160};
constexpr Point kAttributesOrigin{80, 160};

Handle HandleOf(const std::string& bytes) {
    Handle h = NewHandle(Size(bytes.size()));
    if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    return h;
}

std::string BytesOf(Handle h) {
    return h == nullptr ? std::string() : std::string(*h, size_t(GetHandleSize(h)));
}

void PutClipboard(const std::string& utf8) {
    PutScrapData(Size(utf8.size()), kScrapFlavorUTF8, utf8.data());
}

class TextEntryDialog : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;
    Handle text = nullptr;
    SInt16 font = kFontGeneva;
    SInt16 tenths = 50;

    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        DialogPositionTable[kTextEntryPositionSlot] = Point{0, 0};
        ClearCurrentScrap();
    }
    void TearDown() override {
        if (text != nullptr) DisposeHandle(text);
        ShellTest::TearDown();
    }
    Boolean Run() { return RunTextEntryDialog(&text, doc, &font, &tenths); }
    // The size field has the keys first; Tab gives them to the text.
    void TabToText() { QueueKey(kKeyCodeTab, kTabCharCode); }
    void Enter() { QueueKey(kKeyCodeKeypadEnter, kEnterCharCode); }
};

} // namespace

TEST_F(TextEntryDialog, ReturnStartsALineAndEnterConfirmsWithCarriageReturns) {
    text = HandleOf("one\rtwo");
    TabToText();
    // The caret starts at the top: the new line goes in front of the stored ones.
    QueueTypedText("zero\r");
    Enter();
    ASSERT_TRUE(Run());
    EXPECT_EQ(BytesOf(text), "zero\rone\rtwo");
    EXPECT_EQ(tenths, 50);
    EXPECT_EQ(font, kFontGeneva);
}

TEST_F(TextEntryDialog, EscapeAndCommandPeriodCancelAndChangeNothing) {
    for (UInt16 modifiers : {UInt16(0), UInt16(cmdKey)}) {
        SCOPED_TRACE(modifiers);
        text = HandleOf("kept");
        Handle before = text;
        QueueTypedText("12");
        TabToText();
        QueueTypedText("lost");
        if (modifiers)
            QueueKey(kKeyCodePeriod, '.', cmdKey);
        else
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        EXPECT_FALSE(Run());
        EXPECT_EQ(text, before);
        EXPECT_EQ(BytesOf(text), "kept");
        EXPECT_EQ(tenths, 50);
        DisposeHandle(text);
        text = nullptr;
    }
}

TEST_F(TextEntryDialog, SizeRules) {
    struct Case {
        SInt16 stored;
        const char* typed; // null: left as shown
        SInt16 want;
    } cases[] = {
        {0, nullptr, 35}, // a stored size of 0 shows 3.5
        {9, nullptr, 35}, //
        {50, "12/2", 60}, // a formula
        {50, "0.5", 10},  // below one point
        {50, "abc", 10},  // unparsable reads 0, then the minimum
        {50, "2.04", 20}, // rounded to tenths
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        tenths = c.stored;
        if (c.typed != nullptr) QueueTypedText(c.typed);
        Enter();
        ASSERT_TRUE(Run());
        EXPECT_EQ(tenths, c.want);
    }
}

TEST_F(TextEntryDialog, ALongTextIsReadBackWhole) {
    std::string lines;
    for (int i = 0; i < 1500; ++i)
        lines += "line " + std::to_string(i) + "\r"; // well beyond 10240 bytes
    ASSERT_GT(lines.size(), size_t(kItemTextPtrLimit));
    text = HandleOf(lines);
    Enter();
    ASSERT_TRUE(Run());
    EXPECT_EQ(BytesOf(text), lines);
}

TEST_F(TextEntryDialog, EditMenuWorksInTheTextAndTheClipboardOutlivesTheDialog) {
    // Cut the last three characters, paste them twice at the end.
    TabToText();
    QueueTypedText("hello");
    for (int i = 0; i < 3; ++i)
        QueueKey(kKeyCodeLeftArrow, kLeftArrowCharCode, shiftKey);
    QueueCommandKey(kKeyCodeX, 'x');
    QueueCommandKey(kKeyCodeV, 'v');
    QueueCommandKey(kKeyCodeV, 'v');
    Enter();
    ASSERT_TRUE(Run());
    EXPECT_EQ(BytesOf(text), "hellollo");
    EXPECT_EQ(GetScrapTextUTF8(100), "llo");

    // What another program put there is pasted as UTF-8 and stays after OK and after Cancel.
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        PutClipboard("Größe ⌀ 12");
        DisposeHandle(text);
        text = nullptr;
        TabToText();
        QueueCommandKey(kKeyCodeV, 'v');
        if (ok)
            Enter();
        else
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        EXPECT_EQ(Run(), ok);
        if (ok) {
            EXPECT_EQ(BytesOf(text), "Größe ⌀ 12");
        }
        EXPECT_EQ(GetScrapTextUTF8(100), "Größe ⌀ 12");
    }
}

TEST_F(TextEntryDialog, PasteIsDimmedWithoutTextOnTheClipboard) {
    TabToText();
    QueueTypedText("a");
    QueueCommandKey(kKeyCodeV, 'v');
    Enter();
    ASSERT_TRUE(Run());
    EXPECT_EQ(BytesOf(text), "a");
    MenuRef edit = GetMenuHandle(kEditMenu);
    ASSERT_NE(edit, nullptr);
    // The dialog's last word on the menu, before the document's own takes over again.
    EXPECT_FALSE(IsMenuItemEnabled(edit, 6));
    EXPECT_TRUE(IsMenuItemEnabled(edit, 4));
}

TEST_F(TextEntryDialog, TheFontIsGivenBackOnOKOnly) {
    // A font not installed shows as the first item; the second is surely another font.
    constexpr SInt16 kMissingFont = 9999;
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        font = kMissingFont;
        QueuePopUpMenuChoice(2);
        QueueGlobalClick(kEntryOrigin, 100, 22); // the font pop-up
        if (ok)
            Enter();
        else
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        EXPECT_EQ(Run(), ok);
        if (ok) {
            EXPECT_NE(font, kMissingFont);
            Str255 name;
            GetFontName(font, name);
            EXPECT_GT(name[0], 0);
        } else {
            EXPECT_EQ(font, kMissingFont);
        }
    }
}

TEST_F(TextEntryDialog, ALongTextDialogOnABoxReplacesTextFontAndSize) {
    TextRecord box{};
    box.font = kFontGeneva;
    box.textHeight = 2.5;
    box.boxText = HandleOf("old");
    TabToText();
    QueueKey(kKeyCodeForwardDelete, kDeleteCharCode);
    QueueKey(kKeyCodeForwardDelete, kDeleteCharCode);
    QueueKey(kKeyCodeForwardDelete, kDeleteCharCode);
    QueueTypedText("new");
    QueueKey(kKeyCodeTab, kTabCharCode);
    QueueTypedText("7");
    Enter();
    ASSERT_TRUE(RunLongTextDialog(doc, &box));
    EXPECT_EQ(BytesOf(box.boxText), "new");
    EXPECT_DOUBLE_EQ(box.textHeight, 7.0);
    DisposeHandle(box.boxText);
}

namespace {

class TextAttributesDialog : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;
    DocSettings* s = nullptr;

    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        s = doc->settings;
        s->dialogUnit = 1; // millimetres
        s->drawingScale = 1.0;
        s->decimals = 2;
        s->textHeight = 3.5;
        TextAngleSetting(s) = 0;
        TextSlantSetting(s) = 0;
        s->textJustification = 0;
        s->textFlags = 0;
        s->lineBreakChar = '|';
        DialogPositionTable[kTextAttributesPositionSlot] = Point{0, 0};
    }
    // Tab walks the edit fields in item order from the size: angle, slant, line spacing.
    void TabTimes(int n) {
        for (int i = 0; i < n; ++i)
            QueueKey(kKeyCodeTab, kTabCharCode);
    }
};

} // namespace

TEST_F(TextAttributesDialog, SlantIsHeldWithin45AndSizeAtLeastATenth) {
    struct Case {
        const char* size;
        const char* slant;
        Float64 wantSize, wantSlant;
    } cases[] = {
        {"5", "60", 5.0, 45.0},
        {"5", "-60", 5.0, -45.0},
        {"0", "12.5", 0.1, 12.5},
        {"2*3", "x", 6.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slant);
        QueueTypedText(c.size);
        TabTimes(2);
        QueueTypedText(c.slant);
        QueueKey(kKeyCodeReturn, kReturnCharCode);
        ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
        RunLoop();
        EXPECT_DOUBLE_EQ(s->textHeight, c.wantSize);
        EXPECT_DOUBLE_EQ(TextSlantSetting(s), c.wantSlant);
    }
}

TEST_F(TextAttributesDialog, CancelKeepsTheSettings) {
    QueueTypedText("9");
    TabTimes(1);
    QueueTypedText("30");
    QueueGlobalClick(kAttributesOrigin, 490, 125); // the picker
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
    RunLoop();
    EXPECT_DOUBLE_EQ(s->textHeight, 3.5);
    EXPECT_DOUBLE_EQ(TextAngleSetting(s), 0.0);
    EXPECT_EQ(s->textJustification, 0);
}

TEST_F(TextAttributesDialog, PickerQuartersChooseTheJustification) {
    // The picker is 200 by 100 pixels at (300, 32) in the dialog.
    struct Case {
        SInt16 h, v, want;
    } cases[] = {
        {490, 125, 8}, // right quarter, bottom quarter
        {305, 35, 0},  // left, top
        {400, 82, 4},  // the middle
        {349, 56, 0},  // just inside the left and top quarters
        {350, 57, 4},  // on the quarter lines
        {450, 40, 2},  // on the three-quarter line: the right column
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        s->textJustification = 5;
        QueueGlobalClick(kAttributesOrigin, c.h, c.v);
        QueueKey(kKeyCodeReturn, kReturnCharCode);
        ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
        RunLoop();
        EXPECT_EQ(s->textJustification, c.want);
    }
}

TEST_F(TextAttributesDialog, PopupsCheckBoxAndLineBreakSetTheFlags) {
    s->textFlags = 0x0001; // a leader of kind 1, kept by the short form
    QueuePopUpMenuChoice(3);
    QueueGlobalClick(kAttributesOrigin, 200, 156); // frame shape: rectangle
    QueueGlobalClick(kAttributesOrigin, 30, 185);  // no background mask
    QueuePopUpMenuChoice(2);
    QueueGlobalClick(kAttributesOrigin, 200, 278); // leader end: arrowhead
    QueueGlobalClick(kAttributesOrigin, 435, 252); // the line-break field
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    QueueTypedText("#");
    QueueGlobalClick(kAttributesOrigin, 380, 223); // where "Line only" sits, hidden here
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
    RunLoop();
    EXPECT_EQ(s->textFlags, UInt16(0x0001 | 0x4000 | 0x0400 | 0x0010));
    EXPECT_EQ(s->lineBreakChar, '#');

    // Two characters are no line-break character: the old one stays.
    QueueGlobalClick(kAttributesOrigin, 435, 252);
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    QueueTypedText("ab");
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
    RunLoop();
    EXPECT_EQ(s->lineBreakChar, '#');
}

TEST_F(TextAttributesDialog, OneTextOffersItsLeaderOnlyWhenItHasOne) {
    TextRecord text{};
    for (UInt16 kind : {UInt16(0), UInt16(1)}) {
        SCOPED_TRACE(kind);
        s->textFlags = kind;
        s->lineBreakChar = '|';
        QueueGlobalClick(kAttributesOrigin, 380, 223); // "Line only"
        QueueGlobalClick(kAttributesOrigin, 435, 252); // the line-break field
        QueueTypedText("#");
        QueueKey(kKeyCodeReturn, kReturnCharCode);
        ASSERT_TRUE(RunTextAttributesDialog(doc, &text));
        if (kind == 0) {
            EXPECT_EQ(s->textFlags & 7, 0);
            EXPECT_EQ(s->lineBreakChar, '|');
        } else {
            EXPECT_EQ(s->textFlags & 7, 2);
        }
    }
}

TEST_F(TextAttributesDialog, LengthsShowInTheDialogUnitAtTheDrawingScale) {
    s->dialogUnit = 0; // inches
    s->drawingScale = 2.0;
    s->textHeight = 25.4;
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
    RunLoop();
    EXPECT_NEAR(s->textHeight, 25.4, 1e-9); // shown as 2.0000, read back the other way
    QueueTypedText("1");
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 4));
    RunLoop();
    EXPECT_NEAR(s->textHeight, 12.7, 1e-9);
}

namespace {
std::string gShotPath;
// Called once the dialog waits for input: the picture is taken, then the dialog is cancelled.
void ShootDialogThenCancel() {
    gShotPath = TestOutputPath("text_attributes_dialog.png");
    SaveWindowWithWidgetsPNG(GetDialogWindow(DialogStackTop()), gShotPath.c_str());
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    PlatformSetIdleLimit(2000, [] { throw GuiLoopStarved(); });
}
} // namespace

TEST_F(TextAttributesDialog, ScreenshotOfOneTextsAttributes) {
    s->textFlags = 0x2001; // a leader and a rounded frame
    s->textJustification = 4;
    TextRecord text{};
    PlatformSetIdleLimit(20, ShootDialogThenCancel);
    EXPECT_FALSE(RunTextAttributesDialog(doc, &text));
    ASSERT_FALSE(gShotPath.empty());
    FILE* f = std::fopen(gShotPath.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
}
