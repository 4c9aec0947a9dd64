// Keyboard shortcuts end to end from Settings > Keyboard Shortcuts: a row is found by typing its name,
// a function key pressed with modifiers goes to it (taken from another row after alert 131), Delete
// takes it away, OK writes the table that the key dispatch reads and that survives a restart.
#include "DialogItemInput.h"

#include "Dialogs/ShortcutsDialog.h"
#include "Files/Preferences.h"
#include "Shell/KeyDispatch.h"
#include "Shell/MenuBar.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr SInt16 kCommands = 3000;
constexpr SInt16 kRedraw = 5, kWholeDrawing = 6, kSnapIntersections = 2;
constexpr UInt8 kF5 = 0x60, kF9 = 0x65;

class Shortcuts : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        ClearFunctionKeyTable();
    }
    void TearDown() override {
        InitFunctionKeyTable();
        ToolGuiTest::TearDown();
    }
    void Open() { ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 13)); }
    // Type-select: the first row whose name starts with the text.
    void Select(const std::string& name) { QueueTypedText(name); }
    void Press(UInt8 keyCode, UInt16 modifiers) { QueueKey(keyCode, kFunctionKeyCharCode, modifiers); }
    static FunctionKeySlot At(UInt16 modifiers, SInt16 key) {
        return FunctionKeyTable[FunctionKeySlotIndex(modifiers, key)];
    }
    static int SlotsOf(SInt16 menu, SInt16 item) {
        return int(std::count_if(FunctionKeyTable, FunctionKeyTable + kFunctionKeySlots,
                                 [&](const FunctionKeySlot& s) { return s.menu == menu && s.item == item; }));
    }
};

} // namespace

TEST_F(Shortcuts, KeyAssignedRunsItsCommandAfterOKAndSurvivesARestart) {
    Open();
    Select("Snap to int");
    Press(kF9, shiftKey | optionKey);
    QueueReturn();
    RunLoop();
    const FunctionKeySlot slot = At(shiftKey | optionKey, 9);
    EXPECT_EQ(slot.menu, kCommands);
    EXPECT_EQ(slot.item, kSnapIntersections);
    Key(kF9, kFunctionKeyCharCode, shiftKey | optionKey);
    EXPECT_EQ(doc->settings->snapMode, 1);
    // As read at the next start.
    ClearFunctionKeyTable();
    LoadPreferences();
    EXPECT_EQ(At(shiftKey | optionKey, 9).item, kSnapIntersections);
}

TEST_F(Shortcuts, KeyOfAnotherRowIsMovedOnlyWhenTheAlertSaysSo) {
    for (SInt16 answer : {SInt16(2), SInt16(1)}) {
        SCOPED_TRACE(answer);
        ClearFunctionKeyTable();
        FunctionKeyTable[FunctionKeySlotIndex(cmdKey, 5)] = FunctionKeySlot{kCommands, kRedraw};
        AlertAnswers answers({answer});
        PlatformAdvanceVirtualTime(120);
        Open();
        Select("Show the whole");
        Press(kF5, cmdKey);
        QueueReturn();
        RunLoop();
        ASSERT_EQ(answers.asked, std::vector<SInt16>{131});
        EXPECT_EQ(answers.params[0], "Redraw");
        EXPECT_EQ(At(cmdKey, 5).item, answer == 1 ? kWholeDrawing : kRedraw);
        EXPECT_EQ(SlotsOf(kCommands, kRedraw), answer == 1 ? 0 : 1);
    }
}

TEST_F(Shortcuts, DeleteAndCancel) {
    FunctionKeyTable[FunctionKeySlotIndex(0, 3)] = FunctionKeySlot{kCommands, kRedraw};
    // Cancel keeps the table, whatever was assigned in the list.
    Open();
    Select("Show the whole");
    Press(kF5, 0);
    QueueEscape();
    RunLoop();
    EXPECT_EQ(At(0, 3).item, kRedraw);
    EXPECT_EQ(At(0, 5).menu, 0);
    // Delete on a row without a key changes nothing.
    PlatformAdvanceVirtualTime(120); // a new type-select
    Open();
    Select("Show the whole");
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(At(0, 3).item, kRedraw);
    EXPECT_EQ(SlotsOf(kCommands, kWholeDrawing), 0);
    // On Redraw it takes its key away.
    PlatformAdvanceVirtualTime(120);
    Open();
    Select("Redraw");
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(SlotsOf(kCommands, kRedraw), 0);
}

TEST_F(Shortcuts, CommandInTwoSlotsKeepsTheLowerAndOtherEntriesStay) {
    FunctionKeyTable[FunctionKeySlotIndex(shiftKey, 7)] = FunctionKeySlot{kCommands, kRedraw};
    FunctionKeyTable[FunctionKeySlotIndex(cmdKey, 7)] = FunctionKeySlot{kCommands, kRedraw};
    // A menu item's key, which the dialog does not list.
    FunctionKeyTable[FunctionKeySlotIndex(0, 12)] = FunctionKeySlot{4001, 8};
    Open();
    QueueReturn();
    RunLoop();
    EXPECT_EQ(SlotsOf(kCommands, kRedraw), 1);
    EXPECT_EQ(At(cmdKey, 7).item, kRedraw);
    EXPECT_EQ(At(0, 12).menu, 4001);
}

// Tools of several groups share names: each row is found by its group, and the key goes to that
// group's tool.
TEST_F(Shortcuts, RowsSayTheirGroup) {
    struct Case {
        const char* typed;
        SInt16 menu, item;
    } const cases[] = {{"Circles: Diameter", 181, 3}, {"Arcs: Diameter", 182, 3}, {"Arcs: Centre", 182, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ClearFunctionKeyTable();
        PlatformAdvanceVirtualTime(120); // a new type-select
        Open();
        Select(c.typed);
        Press(kF5, 0);
        QueueReturn();
        RunLoop();
        EXPECT_EQ(At(0, 5).menu, c.menu);
        EXPECT_EQ(At(0, 5).item, c.item);
    }
}
