// The small option dialogs end to end: the end marks of a line from its tool (one undo step, none when
// nothing changed), the line widths, the arc tolerance, the two switches, and the preferences from
// the application menu's Preferences command.
#include "DialogItemInput.h"

#include "Dialogs/OptionDialogs.h"
#include "Dialogs/ToolDialogServices.h"
#include "Files/Preferences.h"
#include "Model/ElementRecords.h"
#include "Platform/PreferencesStore.h"
#include "Shell/MenuBar.h"

#include <cmath>

namespace {

constexpr SInt16 kLineEndsSlot = 33;

bool DefaultsStored() {
    static const unsigned char kKey[] = "\x08standard";
    return PrefDataLength(kKey, kApplicationId) > 0;
}
constexpr SInt16 kLineEndTool = 11;

class LineEnds : public ToolGuiTest {
  protected:
    LineRecord* line = nullptr;
    void SetUp() override {
        ToolGuiTest::SetUp();
        Draw(10, 10, 60, 10);
        line = Last();
    }
    // The line-end tool chosen by its key and the line clicked; the dialog answered by what follows.
    void QueuePickLine() {
        FunctionKeyTable[FunctionKeySlotIndex(0, 13)] =
            FunctionKeySlot{kFirstToolMenu, SInt16(kLineEndTool + 1)};
        QueueKey(kKeyCodeF13, kFunctionKeyCharCode);
        QueueClick(doc->window, WindowPoint(30, 10));
    }
};

} // namespace

TEST_F(LineEnds, UnchangedChoicesRecordNoUndoStep) {
    line->flags = UInt16(SetLineEndMarkKind(SetLineStartMarkKind(kLineOpenEnd, 2), 6));
    const UInt16 flags = line->flags;
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    doc->drawing->changed = false;
    QueuePickLine();
    QueueReturn();
    RunLoop();
    EXPECT_EQ(line->flags, flags);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
    EXPECT_FALSE(doc->drawing->changed);
}

TEST_F(LineEnds, ChoicesMakeOneUndoStepAndKeepTheOtherBits) {
    line->flags = kElementNotSelectable;
    QueuePopupChoice(kLineEndsDialog, 3, kLineEndsSlot, 2); // arrow at the first point
    QueueClickSeparator();
    QueuePopupChoice(kLineEndsDialog, 4, kLineEndsSlot, 4); // dot at the second
    QueueClickSeparator();
    QueueItemClick(kLineEndsDialog, 8, kLineEndsSlot, 8); // runs on at both ends
    QueueReturn();
    // An unselectable line is not picked by the tool: the dialog is opened on it as the tool would.
    LineEndsDialog(doc, line);
    RunLoop();
    EXPECT_EQ(LineStartMarkKind(line->flags), 1);
    EXPECT_EQ(LineEndMarkKind(line->flags), 3);
    EXPECT_EQ(line->flags & (kLineOpenStart | kLineOpenEnd), kLineOpenStart | kLineOpenEnd);
    EXPECT_TRUE(line->flags & kElementNotSelectable);
    EXPECT_TRUE(doc->drawing->changed);
    Undo();
    ASSERT_NE(doc->lineHead->next, nullptr);
    EXPECT_EQ(doc->lineHead->next->flags, kElementNotSelectable);
    EXPECT_EQ(doc->lineHead->next->next, nullptr);
}

TEST(LineEndFlags, PopupsAndRadios) {
    struct Case {
        SInt16 start, end, radio;
        UInt16 want;
    } cases[] = {{1, 1, 5, 0}, {2, 1, 6, 0x0009}, {1, 3, 7, 0x0082}, {8, 8, 8, 0x01FB}, {0, 0, 5, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(LineEndFlags(c.start, c.end, c.radio), c.want) << c.start << " " << c.end << " " << c.radio;
}

TEST_F(ToolGuiTest, ArcToleranceOpensClampedAndReadsBackInTheDialogUnit) {
    struct Case {
        double stored, opened;
    } cases[] = {{0, 0.001}, {5000, 1000}, {std::nan(""), 0.001}, {0.5, 0.5}};
    for (const Case& c : cases) {
        doc->settings->chordTolerance = c.stored;
        ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 6));
        QueueEscape();
        RunLoop();
        EXPECT_DOUBLE_EQ(doc->settings->chordTolerance, c.opened) << c.stored;
    }
    // OK without a change keeps a value the inch field shows rounded.
    doc->settings->chordTolerance = 0.05;
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 6));
    QueueReturn();
    RunLoop();
    EXPECT_EQ(doc->settings->chordTolerance, 0.05);
    doc->settings->dialogUnit = 1; // millimetres
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 6));
    QueueTypedText("0.25");
    QueueReturn();
    RunLoop();
    EXPECT_DOUBLE_EQ(doc->settings->chordTolerance, 0.25);
    EXPECT_FALSE(doc->drawing->changed);
}

TEST_F(ToolGuiTest, LineWidthsCopyTheFirstAndStoreInMillimetres) {
    doc->settings->dialogUnit = 1;
    Float64* widths = PresetLineWidths(doc->settings);
    for (int i = 0; i < kPresetWidthCount; ++i)
        widths[i] = 0.1 * (i + 1);
    // Copy with an empty first field changes nothing; then 0.7 copied into all six.
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 3));
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    QueueItemClick(kLineWidthsDialog, 21, 11);
    QueueTypedText("0.7");
    QueueItemClick(kLineWidthsDialog, 21, 11);
    QueueItemClick(kLineWidthsDialog, 23, 11, 8);
    QueueReturn();
    RunLoop();
    for (int i = 0; i < kPresetWidthCount; ++i)
        EXPECT_DOUBLE_EQ(widths[i], 0.7) << i;
    EXPECT_EQ(doc->settings->lineWidthOption, 1);
    EXPECT_TRUE(doc->drawing->changed);
    // In inches, 0.1 is 2.54 mm; a width below 0 is refused and Cancel keeps all.
    doc->settings->dialogUnit = 2;
    AlertAnswers answers({});
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 3));
    QueueTypedText("-1");
    QueueReturn();
    QueueEscape();
    RunLoop();
    EXPECT_DOUBLE_EQ(widths[0], 0.7);
    EXPECT_EQ(answers.asked.size(), 1u);
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 3));
    QueueTypedText("0.1");
    QueueReturn();
    RunLoop();
    EXPECT_DOUBLE_EQ(widths[0], 2.54);
}

TEST_F(ToolGuiTest, SwitchesDialogStoresTheFirstInvertedAndMarksNothing) {
    doc->settings->dialog186Option = 0;
    doc->settings->dialog186Option2 = 0;
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 8));
    QueueItemClick(kSwitchesDialog, 3, 13, 8);
    QueueClickSeparator();
    QueueItemClick(kSwitchesDialog, 4, 13, 8);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(doc->settings->dialog186Option, 1);
    EXPECT_EQ(doc->settings->dialog186Option2, 1);
    EXPECT_FALSE(doc->drawing->changed);
}

TEST_F(ShellTest, PreferencesFromTheApplicationMenuKeepDefaultsButtonsDimmedWithoutADrawing) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(SaveDocumentDefaults(doc));
    DisposeDocumentWindow(doc);
    RunLoop();
    const UInt32 wheel = GeneralPrefs.wheelZoom;
    ASSERT_TRUE(ChooseDialogFromMenu(kAppleMenu, 3));
    // The dialog comes by the event the menu sends: its first click only brings it to the front.
    QueueItemClick(kPreferencesDialog, 10, 25);
    QueueClickSeparator();
    QueueItemClick(kPreferencesDialog, 13, 25); // dimmed: the defaults stay
    QueueClickSeparator();
    QueueItemClick(kPreferencesDialog, 20, 25, 8);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(+GeneralPrefs.wheelZoom, wheel ? 0u : 1u);
    EXPECT_TRUE(DefaultsStored());
    // Read again as at the next start.
    GeneralPrefs.wheelZoom = wheel;
    LoadPreferences();
    EXPECT_EQ(+GeneralPrefs.wheelZoom, wheel ? 0u : 1u);
    // With a drawing open, item 13 deletes them; Cancel keeps the switches.
    doc = NewFromMenu();
    ASSERT_TRUE(ChooseDialogFromMenu(kAppleMenu, 3));
    QueueItemClick(kPreferencesDialog, 10, 25); // the text above the buttons: takes the first click
    QueueClickSeparator();
    QueueItemClick(kPreferencesDialog, 13, 25);
    QueueClickSeparator();
    QueueItemClick(kPreferencesDialog, 20, 25, 8);
    QueueEscape();
    RunLoop();
    EXPECT_EQ(+GeneralPrefs.wheelZoom, wheel ? 0u : 1u);
    EXPECT_FALSE(DefaultsStored());
}
