// The menu bar and its enabling, the Scripts menu from the scripts folders, the scale text of the
// status bar and its help tags.
#include "ShellTestSupport.h"

#include "Shell/MenuBar.h"
#include "Tools/ToolDispatch.h"
#include "Shell/MenuCommands.h"
#include "Platform/Menus.h"
#include "Model/NewDocument.h"
#include "Files/Preferences.h"
#include "Tools/ToolDispatch.h"
#include "Tools/ToolState.h"
#include "Tools/StatusArea.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string ItemText(SInt16 menu, SInt16 item) {
    Str255 text;
    GetMenuItemText(GetMenuHandle(menu), item, text);
    return ToStd(text);
}

bool Enabled(SInt16 menu, SInt16 item) {
    return IsMenuItemEnabled(GetMenuHandle(menu), MenuItemIndex(item));
}

} // namespace

TEST_F(ShellTest, TheBarHoldsTheMenusAndDimsWhatNeedsADocument) {
    for (SInt16 id : {128, 198, 197, 132, 133, 134, 196, 195, 139, 135, 136, 129, 1400, 180, 191})
        EXPECT_NE(GetMenuHandle(id), nullptr) << id;
    Str255 title;
    GetMenuTitle(GetMenuHandle(197), title);
    EXPECT_EQ(ToStd(title), "Edit");

    AdjustMenus(nullptr);
    EXPECT_TRUE(Enabled(198, 1));
    EXPECT_FALSE(Enabled(198, 5));
    EXPECT_TRUE(Enabled(198, 24));
    EXPECT_TRUE(Enabled(128, 5));
    EXPECT_FALSE(IsMenuItemEnabled(GetMenuHandle(133), 0));

    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AdjustMenus(doc);
    EXPECT_TRUE(Enabled(198, 5));
    EXPECT_TRUE(Enabled(197, 27));
    // Items whose action comes later stay dimmed.
    EXPECT_FALSE(Enabled(198, 19));
    EXPECT_TRUE(Enabled(195, 13)); // the coordinate bar is shown and hidden from here
    EXPECT_FALSE(MenuItemAvailable(139, 1));
    EXPECT_TRUE(MenuItemAvailable(187, 9));   // measuring
    EXPECT_FALSE(MenuItemAvailable(187, 10)); // the object info palette's tool

    // Undo and Redo name their counts.
    EXPECT_EQ(ItemText(197, 1), "Undo");
    EXPECT_FALSE(Enabled(197, 1));
    AddUndoableLine(doc);
    AddUndoableLine(doc, 20);
    AdjustMenus(doc);
    EXPECT_EQ(ItemText(197, 1), "Undo (2)");
    EXPECT_TRUE(Enabled(197, 1));
    EXPECT_FALSE(Enabled(197, 2));
}

TEST_F(ShellTest, TheWindowMenuMarksTheFrontAndTheChangedDocuments) {
    DocWindowRecord* first = NewFromMenu();
    DocWindowRecord* second = NewFromMenu();
    ASSERT_NE(second, nullptr);
    AddUndoableLine(first);
    AdjustMenus(second);
    SInt16 mark = 0;
    GetItemMark(GetMenuHandle(195), 25, &mark);
    EXPECT_EQ(mark, diamondMark);
    GetItemMark(GetMenuHandle(195), 26, &mark);
    EXPECT_EQ(mark, checkMark);

    // Window item 25 brings the first document to the front.
    ASSERT_TRUE(ChooseMenuItem(195, 25));
    RunLoop();
    EXPECT_EQ(FrontDocument(), first);
}

TEST_F(ShellTest, TheScriptsMenuListsVisibleScriptFilesOfBothFolders) {
    const char* data = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(data, nullptr);
    fs::path folder = fs::path(data) / "draftwerk" / "Scripts";
    fs::create_directories(folder);
    std::ofstream(folder / "Notes.txt") << "text";
    std::ofstream(folder / "run-me") << "#!/bin/sh\n";
    fs::permissions(folder / "run-me", fs::perms::owner_exec, fs::perm_options::add);
    std::ofstream(folder / "data.bin") << "x";
    std::ofstream(folder / ".hidden.txt") << "x";
    fs::create_directory(folder / "Folder.txt");
    fs::create_symlink(folder / "Notes.txt", folder / "Alias.txt");

    ScanScriptsFolder();
    ASSERT_EQ(ScriptsList.size(), 2u);
    EXPECT_EQ(ScriptsList[0].name, "Notes.txt");
    EXPECT_EQ(ScriptsList[1].name, "run-me");

    MenuRef scripts = GetMenuHandle(199);
    ASSERT_NE(scripts, nullptr);
    SInt16 before = CountMenuItems(scripts);
    BuildScriptsMenu();
    EXPECT_EQ(CountMenuItems(scripts), before + 3);
    EXPECT_EQ(ItemText(199, 1), "Open Scripts Folder");
    EXPECT_EQ(ItemText(199, SInt16(before + 3)), "run-me");
    fs::remove_all(fs::path(data) / "draftwerk");
}

TEST(ScaleText, RatiosOfScalesWithoutAMatchingPreset) {
    struct Case {
        Float64 scale;
        const char* text;
    };
    const Case cases[] = {{0.02, "1:50"},   {0.4, "1:2.5"},     {2.5, "2.5:1"},      {1.0, "1:1"},
                          {1.0 / 3, "1:3"}, {0.3, "1:3.3"},     {1e-6, "1:1000000"}, {0.0, "?"},
                          {-2.0, "?"},      {std::nan(""), "?"}};
    for (const Case& c : cases) {
        Str255 text;
        ScaleText(nullptr, c.scale, text);
        EXPECT_EQ(ToStd(text), c.text) << c.scale;
    }
}

TEST_F(ShellTest, AScaleEqualToAPresetShowsThePresetsText) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    Str255 text;
    ScaleText(doc, 0.02, text);
    EXPECT_EQ(ToStd(text), "1:50");
    // The preset's own text wins over the computed one.
    SetMenuItemText(GetMenuHandle(136), 8, PStr("Detail 1:50"));
    ScaleText(doc, 0.02, text);
    EXPECT_EQ(ToStd(text), "Detail 1:50");
}

TEST_F(ShellTest, HelpTagsNameTheStatusBarZones) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    Rect port;
    GetPortBounds(GetWindowPort(doc->window), &port);
    const SInt16 H = SInt16(port.bottom - port.top);
    Str255 text;
    Rect zone;
    StatusHelpTagText(doc, Pt(1, SInt16(H - 5)), text, &zone);
    EXPECT_EQ(ToStd(text), "Pen: click to choose a pen.");
    EXPECT_EQ(zone.left, 1);
    StatusHelpTagText(doc, Pt(332, SInt16(H - 14)), text, &zone);
    EXPECT_EQ(ToStd(text), "Snap to fixed points while the mouse moves.");
    for (SInt16 h : {271, 272}) {
        StatusHelpTagText(doc, Pt(h, SInt16(H - 5)), text, &zone);
        EXPECT_EQ(text[0], 0) << h;
    }
    StatusHelpTagText(doc, Pt(30, SInt16(H - 15)), text, &zone);
    EXPECT_EQ(text[0], 0);
}

// A tool group that takes no clicks yet is dimmed, in the tool menu and its own menu; one left chosen
// by older preferences gives way to the line tools at Escape, so the user is never stuck in it.
TEST_F(ShellTest, ToolGroupsWithoutToolsAreDimmedAndEscapeLeavesThem) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AdjustMenus(doc);
    EXPECT_TRUE(MenuItemAvailable(kToolMenu, 1));
    EXPECT_TRUE(MenuItemAvailable(180, 1));
    SInt16 unbuilt = -1;
    for (SInt16 group = 1; group < 12; ++group) {
        const bool built = ToolGroupBuilt(group);
        if (!built) unbuilt = group;
        EXPECT_EQ(MenuItemAvailable(kToolMenu, SInt16(group + 1)), built) << group;
        EXPECT_EQ(MenuItemAvailable(SInt16(180 + group), 1), built) << group;
    }
    EXPECT_TRUE(ToolGroupBuilt(3)); // the text tools
    // With every group built, a group past the table (damaged preferences) stands for an unbuilt one.
    if (unbuilt < 0) unbuilt = kToolGroupCount;

    GeneralPrefs.currentToolGroup = UInt32(unbuilt);
    QueueKey(0x35, 0x1B); // Escape
    RunLoop();
    EXPECT_EQ(CurrentToolGroup(), 0);
}
