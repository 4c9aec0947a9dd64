// Opening DXF files through File > Open and the Open panel, with a drawing already open: a good file
// becomes a drawing in a window of its own; a garbage, binary or cut-short file gives its message
// and leaves the open drawing as it was.
#include "DxfReaderTestSupport.h"

#include "Files/OpenSaveDispatch.h"
#include "Model/ElementLists.h"
#include "Platform/DialogManager.h"
#include "Platform/FileChoosers.h"
#include "Shell/MenuBar.h"
#include "ShellTestSupport.h"

#include <fstream>

namespace {

constexpr SInt16 kOpenItem = 2;

class DxfOpenPanelTest : public ShellTest {
  protected:
    std::string folder;
    DocWindowRecord* drawing = nullptr;
    void SetUp() override {
        ShellTest::SetUp();
        folder = MakeTestFolder("DxfOpenPanel");
        drawing = NewFromMenu();
        ASSERT_NE(drawing, nullptr);
        AddUndoableLine(drawing, 3);
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        ShellTest::TearDown();
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // File > Open, the panel answered with the file and the open format.
    void OpenFromPanel(const std::string& path, SInt16 format) {
        SetFilePanelResponders(
            [path, format](OpenPanelRequest& request, std::string* chosen) {
                request.format = format;
                *chosen = path;
                return true;
            },
            nullptr);
        ASSERT_TRUE(ChooseMenuItem(kFileMenu, kOpenItem));
        RunLoop();
    }
    std::vector<std::string> Alerts() const {
        std::vector<std::string> texts;
        for (const AlertRecord& a : RecordedAlerts())
            texts.push_back(a.params[0]);
        return texts;
    }
    void ExpectDrawingUntouched() {
        EXPECT_EQ(ListOf(drawing->lineHead).size(), 1u);
        EXPECT_EQ(ListOf(drawing->arcHead).size(), 0u);
        EXPECT_EQ(ListOf(drawing->polylineHead).size(), 0u);
    }
};

} // namespace

TEST_F(DxfOpenPanelTest, ADxfFileChosenInTheOpenPanelBecomesADrawingInItsWindow) {
    std::string path = Write("Plan.dxf", DxfEntities({{0, "LINE"},
                                                      {62, "1"},
                                                      {10, "0"},
                                                      {20, "0"},
                                                      {11, "40"},
                                                      {21, "30"},
                                                      {0, "CIRCLE"},
                                                      {10, "5"},
                                                      {20, "5"},
                                                      {40, "2"}}));
    ClearRecordedAlerts();
    OpenFromPanel(path, kOpenAutomatic);
    EXPECT_EQ(CountOpenDocuments(), 2);
    DocWindowRecord* opened = OpenDocumentList->next;
    ASSERT_NE(opened, nullptr);
    EXPECT_NE(opened->window, nullptr);
    EXPECT_EQ(ListOf(opened->lineHead).size(), 1u);
    EXPECT_EQ(ListOf(opened->arcHead).size(), 1u);
    EXPECT_TRUE(opened->drawing->changed);
    EXPECT_TRUE(Alerts().empty());
    ExpectDrawingUntouched();
}

TEST_F(DxfOpenPanelTest, FilesThatAreNoReadableDxfGiveAMessageAndTouchNoOpenDrawing) {
    const struct {
        const char* name;
        std::string text;
        const char* message;
        int documents;
    } cases[] = {
        {"garbage.dxf", "no drawing here\n\x01\x02\x03\n", "is damaged and cannot be read", 1},
        {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0SECTION", 29), "binary DXF file", 1},
        {"cut.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n20\n1\n11\n2\n21\n2\n0\nLINE\n10\n4",
         "ends before its end mark", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClearRecordedAlerts();
        OpenFromPanel(Write(c.name, c.text), kOpenDXF);
        auto alerts = Alerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_NE(alerts[0].find(c.message), std::string::npos) << alerts[0];
        EXPECT_NE(alerts[0].find(c.name), std::string::npos) << alerts[0];
        EXPECT_EQ(CountOpenDocuments(), c.documents);
        ExpectDrawingUntouched();
    }
    // What a cut-short file held up to its cut is kept, without the entity it cut.
    DocWindowRecord* cut = OpenDocumentList->next;
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(ListOf(cut->lineHead).size(), 1u);
}
