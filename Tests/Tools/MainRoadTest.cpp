// A whole session end to end: lines drawn with the line tools by clicks, typed coordinates, a
// formula and a snap, one step undone and redone, the drawing saved through the Save panel, the
// program quit and started again with the file handed to it, and the same drawing back.
#include "ToolGuiFixture.h"

#include "Platform/FileChoosers.h"
#include "TestSupport.h"

#include <filesystem>
#include <tuple>
#include <vector>

namespace {

using MainRoad = ToolGuiTest;

using LineKey = std::tuple<double, double, double, double, int, int, int, int>;

std::vector<LineKey> LinesOf(const DocWindowRecord* doc) {
    std::vector<LineKey> lines;
    for (const LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
        lines.emplace_back(e->x1, e->y1, e->x2, e->y2, e->pen, e->layer, e->flags, e->group);
    return lines;
}

TEST_F(MainRoad, DrawSaveQuitStartAgainAndGetTheSameDrawing) {
    Draw(0, 0, 100, 100);
    Draw(0, 60, 100, 40);

    ChooseTool(0); // two points: clicked, typed absolute and relative, a formula
    ClickAt(10, 10);
    ClickAt(60, 40);
    Type("10,20");
    Type("@30,0");
    Type("2*5+1,sqrt(100)");
    Type("@0,2^3");
    ExpectLast(11, 10, 11, 18);

    Key(kKeyCodeF6, kFunctionKeyCharCode); // the first end snapped to an intersection
    ClickAt(80, 80);
    ClickAt(90, 42); // the two first lines meet at (50, 50)
    Type("@-30,-30");
    ExpectLast(20, 20, 50, 50);

    ChooseTool(1); // a parallel at a typed distance on the clicked side
    ClickAt(39, 19.5);
    Type("5");
    ExpectLast(10, 15, 40, 15);
    ChooseTool(3); // polar, from a typed start point
    Type("0,80");
    Type("30,20");
    const int drawn = Lines();
    ASSERT_EQ(drawn, 8);

    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1)); // undo the polar line, then bring it back
    RunLoop();
    EXPECT_EQ(Lines(), drawn - 1);
    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 2));
    RunLoop();
    ASSERT_EQ(Lines(), drawn);
    const std::vector<LineKey> before = LinesOf(doc);
    const SInt16 snapMode = doc->settings->snapMode;

    const std::string path = MakeTestFolder("main_road") + "/Road.cadx";
    SetFilePanelResponders(nullptr, [&](SavePanelRequest&, std::string* chosen) {
        *chosen = path;
        return true;
    });
    ASSERT_TRUE(ChooseMenuItem(kFileMenu, 10)); // Save As…
    RunLoop();
    SetFilePanelResponders(nullptr, nullptr);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(doc->drawing->changed);

    ClearRecordedAlerts();
    ASSERT_TRUE(ChooseMenuItem(kAppleMenu, 5)); // Quit: nothing to ask, the drawing is saved
    RunLoop();
    EXPECT_TRUE(QuitFlag);
    EXPECT_EQ(OpenDocumentList, nullptr);
    EXPECT_TRUE(RecordedAlerts().empty());
    EndEventLoop();
    StopMenuBarHost();
    ReleaseApplication();

    // Started again with the file named on the command line.
    InitApplication();
    StartMenuBarHost();
    ASSERT_EQ(AESendToSelf(kCoreEventClass, kAEOpenDocuments, {path}), noErr);
    BeginEventLoop();
    RunLoop();
    doc = FrontDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(LinesOf(doc), before);
    EXPECT_EQ(doc->settings->snapMode, snapMode);
    EXPECT_FALSE(doc->drawing->changed);
}

} // namespace
