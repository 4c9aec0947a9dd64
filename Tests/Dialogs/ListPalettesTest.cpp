// The presets window and the layer-set palette end to end: their rows follow the drawing, a row
// applies its preset or set, a double click edits a preset, and the buttons act.
#include "DialogTestSupport.h"

#include "Dialogs/AttributePresets.h"
#include "Dialogs/LayerSetsDialog.h"
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Platform/Controls.h"
#include "Platform/ListControls.h"
#include "Platform/PascalBytes.h"

#include <cstring>

namespace {

class ListPalettes : public DrawingDialogTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        OpenDrawing({kPresetPositionSlot});
        doc->settings->penMode = 0;
        SetPaletteShown(PaletteId::presets, true);
        SetPaletteShown(PaletteId::layerSets, true);
    }
    void TearDown() override {
        SetPaletteShown(PaletteId::presets, false);
        SetPaletteShown(PaletteId::layerSets, false);
        DrawingDialogTest::TearDown();
    }
    static SInt16 Rows(PaletteId id) {
        Rect data{};
        GetListDataBounds(PaletteOf(id).list, &data);
        return SInt16(data.bottom - data.top);
    }
    // A click on row r of the palette's list, or on one of its buttons.
    static void ClickRow(PaletteId id, SInt16 r) {
        ListHandle list = PaletteOf(id).list;
        Rect view{};
        Point cell{};
        GetListViewBounds(list, &view);
        GetListCellSize(list, &cell);
        QueueClick(PaletteWindowRef(id),
                   Pt(SInt16(view.left + 8), SInt16(view.top + cell.v * r + cell.v / 2)));
    }
    static void ClickButton(PaletteId id, int b) {
        Rect r{};
        GetControlBounds(PaletteOf(id).buttons[b], &r);
        QueueClick(PaletteWindowRef(id), Pt(SInt16((r.left + r.right) / 2), SInt16((r.top + r.bottom) / 2)));
    }
    AttributePreset* AddPreset(const char* name, SInt16 layer) {
        AttributePreset* p = NewAttributePreset();
        CStrToPStr(p->name, 256, name);
        p->mask = 0;
        SetLongBit(&p->mask, kPresetLayerBit);
        p->layer = UInt16(layer);
        InsertPresetSorted(doc, p, true);
        return p;
    }
};

} // namespace

// A click on a row makes the preset's layer current and visible; the delete button asks first.
TEST_F(ListPalettes, PresetRowsApplyAndDelete) {
    AddPreset("walls", 40);
    AddPreset("doors", 41);
    ASSERT_EQ(Rows(PaletteId::presets), 2);
    SetLayerVisible(doc->layerVisible, 41, false);
    ClickRow(PaletteId::presets, 0); // doors
    RunLoop();
    EXPECT_EQ(doc->settings->currentLayer, 41);
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 41));
    SetAlertResponder([](const AlertRecord&) { return SInt16(2); }); // Yes
    ClickButton(PaletteId::presets, 1);
    RunLoop();
    EXPECT_EQ(Rows(PaletteId::presets), 1);
    EXPECT_EQ(Name(doc->drawing->attributePresets->name), "walls");
}

// The new button opens the dialog from the current settings; the new preset gets its row.
TEST_F(ListPalettes, NewPresetFromTheWindow) {
    ClickButton(PaletteId::presets, 0);
    QueueTypedText("Roof\r");
    RunLoop();
    ASSERT_EQ(Rows(PaletteId::presets), 1);
    EXPECT_EQ(Name(doc->drawing->attributePresets->name), "Roof");
}

// A row makes exactly its set's layers visible and the current one; the row already chosen changes
// nothing; the two buttons show all layers or the current one alone.
TEST_F(ListPalettes, LayerSetRowsAndButtons) {
    std::memset(doc->layerVisible->bits, 0, sizeof doc->layerVisible->bits);
    SetLayerVisible(doc->layerVisible, 300, true);
    NewLayerSetFromVisibility(doc, reinterpret_cast<const UInt8*>("\x04"
                                                                  "Roof"));
    gLayerSetListChanged(doc);
    ASSERT_EQ(Rows(PaletteId::layerSets), 1);
    doc->settings->currentLayer = 2;
    std::memset(doc->layerVisible->bits, 0xFF, sizeof doc->layerVisible->bits);
    ClickRow(PaletteId::layerSets, 0);
    RunLoop();
    for (SInt16 n : {0, 2, 300, 301})
        EXPECT_EQ(IsLayerVisible(doc->layerVisible, n), n == 2 || n == 300) << n;
    SetLayerVisible(doc->layerVisible, 301, true);
    ClickRow(PaletteId::layerSets, 0);
    RunLoop();
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 301));
    EXPECT_EQ(LayerSetPaletteSelection(), 0);
    ClickButton(PaletteId::layerSets, 1);
    RunLoop();
    EXPECT_FALSE(IsLayerVisible(doc->layerVisible, 300));
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 2));
    ClickButton(PaletteId::layerSets, 0);
    RunLoop();
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 1023));
}
