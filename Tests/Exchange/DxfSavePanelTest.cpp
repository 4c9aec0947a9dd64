// Saving as DXF from the Save panel, with the export options of dialog 193 answered by clicks.
#include "DxfTestDrawing.h"

#include "Files/FileCommands.h"
#include "Files/OpenSaveDispatch.h"
#include "Interface/ModalDialogs.h"
#include "Platform/FileChoosers.h"
#include "Platform/SimulatedInput.h"

#include <gtest/gtest.h>

namespace {

// Dialog 193 opens where its resource puts it (top 120, left 200) when it has no remembered place.
void ClickDialogItem(SInt16 top, SInt16 left, SInt16 bottom, SInt16 right) {
    Point global{SInt16(120 + (top + bottom) / 2), SInt16(200 + (left + right) / 2)};
    SimulateMouseMove(global);
    SimulateMouseButton(true, 0);
    SimulateMouseButton(false, 0);
}
void ClickFuller() {
    ClickDialogItem(12, 210, 30, 400);
}
void ClickMacRoman() {
    ClickDialogItem(172, 210, 190, 400);
}
void ClickThreeD() {
    ClickDialogItem(258, 16, 276, 400);
}
void ClickOK() {
    ClickDialogItem(326, 320, 346, 400);
}
void ClickCancel() {
    ClickDialogItem(326, 228, 346, 308);
}

class DxfSavePanelTest : public DxfDrawingTest {
  protected:
    void SetUp() override {
        DxfDrawingTest::SetUp();
        RegisterDXFExport();
        DialogPositionTable[45] = Point{0, 0};
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        RegisterExporter(kSaveDXF, nullptr);
        RegisterExportOptions(kSaveDXF, nullptr);
        DxfDrawingTest::TearDown();
    }
    // Runs Save As with the panel answered: DXF chosen, its options opened with the clicks queued.
    void SaveAsDXF(const std::string& path, const std::function<void()>& clicks) {
        SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string* chosen) {
            request.format = kSaveDXF;
            EXPECT_TRUE(request.optionsEnabled(kSaveDXF));
            clicks();
            request.options(kSaveDXF);
            *chosen = path;
            return true;
        });
        Boolean result = true;
        SaveDocumentAs(doc, true, false, false, false, &result, false);
        EXPECT_FALSE(result); // an export is not the document's own save
    }
};

TEST_F(DxfSavePanelTest, OptionsChosenInTheDialogShapeTheWrittenFile) {
    BuildEveryKind();
    std::string path = folder + "/Panel.DXF";
    SaveAsDXF(path, [] { ClickFuller(), ClickMacRoman(), ClickThreeD(), ClickOK(); });
    EXPECT_EQ(doc->settings->dxfFlavour, 1);
    EXPECT_EQ(+GeneralPrefs.codePage, 13u);
    EXPECT_EQ(+GeneralPrefs.dxfExportOption, 1u);
    EXPECT_EQ(doc->settings->saveFormat, kSaveDXF);
    EXPECT_STRNE(doc->drawing->file.path, path.c_str());

    std::ifstream in(path, std::ios::binary);
    WrittenPairs p =
        ParseDxfPairs(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.back(), DxfPair("0", "EOF"));
    size_t cp = p.Find("9", "$DWGCODEPAGE");
    ASSERT_NE(cp, WrittenPairs::npos);
    EXPECT_EQ(p[cp + 1], DxfPair("3", "mac"));
    EXPECT_GT(p.Count("30", "0.0"), 0); // the 3-D option writes Z
    EXPECT_EQ(p.From(p.Find("2", "ENTITIES")).Count("0", "TEXT"), 2);
}

TEST_F(DxfSavePanelTest, CancelledOptionsChangeNothing) {
    BuildEveryKind();
    doc->settings->dxfFlavour = 3; // a flavour the dialog has no button for stays
    GeneralPrefs.codePage = 2;
    std::string path = folder + "/Cancelled.DXF";
    SaveAsDXF(path, [] { ClickFuller(), ClickMacRoman(), ClickThreeD(), ClickCancel(); });
    EXPECT_EQ(doc->settings->dxfFlavour, 3);
    EXPECT_EQ(+GeneralPrefs.codePage, 2u);
    EXPECT_EQ(+GeneralPrefs.dxfExportOption, 0u);
    std::ifstream in(path, std::ios::binary);
    WrittenPairs p =
        ParseDxfPairs(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    EXPECT_GT(p.Count("100", "AcDbEntity"), 0);
}

} // namespace
