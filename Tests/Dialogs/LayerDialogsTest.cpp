// The layer table, the visibility grid and the deletion of a layer's elements, end to end on the
// dialogs: paging, names, colours, go-to and find, the printed list, the grid's clicks and arrows,
// and deleting a layer as one undo step.
#include "DialogTestSupport.h"

#include "Dialogs/LayerGridDialogs.h"
#include "Model/LayersFrames.h"
#include "Dialogs/LayerTableDialog.h"
#include "Files/Printing.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/Selection.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Interface/ModalDialogs.h"
#include "Other/ZEZUdivari.h"
#include "Platform/ColorPicker.h"
#include "Platform/DialogManager.h"
#include "Platform/Menus.h"
#include "Platform/PrintSession.h"
#include "Platform/Windows.h"
#include "Shell/MenuBar.h"
#include "Shell/StartupShutdown.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr Point kTableOrigin{60, 140}, kGridOrigin{80, 160}, kDeleteOrigin{140, 220}, kGoToOrigin{140, 220};

void SetName(DocWindowRecord* doc, SInt16 layer, const char* name) {
    CStrToPStr(doc->layerNames->names[layer], 256, name);
}

class LayerDialogs : public DrawingDialogTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        OpenDrawing({kLayerTablePositionSlot, kLayerGridPositionSlot, kDeleteLayerPositionSlot});
        for (SInt16 n = 0; n < kLayerCount; ++n)
            SetLayerVisible(doc->layerVisible, n, true);
    }
    bool Visible(SInt16 n) { return IsLayerVisible(doc->layerVisible, n); }
    // Row r of the table: its check box, its name field, its swatch (the icon or the colour).
    static SInt16 RowTop(SInt16 r) { return SInt16(39 + 21 * r); }
    void ClickCheck(SInt16 r) { ClickDialog(kTableOrigin, 105, SInt16(RowTop(r) + 8)); }
    void ClickSwatchIcon(SInt16 r) { ClickDialog(kTableOrigin, 312, SInt16(RowTop(r) + 8)); }
    void ClickSwatchColour(SInt16 r) { ClickDialog(kTableOrigin, 350, SInt16(RowTop(r) + 8)); }
    void ClickScroll(SInt16 v) { ClickDialog(kTableOrigin, 388, v); }
    void ClickButton(SInt16 v) { ClickDialog(kTableOrigin, 460, v); }
    void RunTable() {
        LayerTableDialog(doc);
        RunLoop();
    }
    // The grid: a cell's centre and the arrows of a row and a column.
    static void ClickCell(SInt16 cell, UInt16 modifiers = 0) {
        ClickDialog(kGridOrigin, SInt16(16 + 16 + 33 * (cell % 10) + 16),
                    SInt16(12 + 16 + 17 * (cell / 10) + 8), modifiers);
    }
    static void ClickRowArrow(SInt16 row) {
        ClickDialog(kGridOrigin, 16 + 3, SInt16(12 + 17 * row + 16 + 7));
    }
    static void ClickColumnArrow(SInt16 column) {
        ClickDialog(kGridOrigin, SInt16(16 + 25 + 33 * column + 7), 12 + 3);
    }
};

} // namespace

TEST(LayerTablePaging, NineRowsAPageWithinTheLastPage) {
    struct Case {
        SInt16 start;
        ControlPartCode part;
        SInt16 want;
    } cases[] = {
        {1013, kControlPageDownPart, 1014},   {1010, kControlPageDownPart, 1014},
        {5, kControlPageUpPart, 0},           {20, kControlPageUpPart, 11},
        {20, kControlPageDownPart, 29},       {0, kControlUpButtonPart, 0},
        {1014, kControlDownButtonPart, 1014}, {1013, kControlDownButtonPart, 1014},
        {0, kControlPageUpPart, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LayerTableStartAfter(c.start, c.part, 0), c.want) << c.start << " part " << c.part;
    EXPECT_EQ(LayerTableStartAfter(3, kControlIndicatorPart, 700), 700);
}

// The arrows and the page part move the table; the names typed on a page are stored before it moves.
TEST_F(LayerDialogs, TablePagesStoreTheTypedNames) {
    // Fields of a new page are not selected: typing adds to their text.
    for (SInt16 n = 0; n < 20; ++n)
        doc->layerNames->names[n][0] = 0;
    doc->drawing->layerTablePageStart = 0;
    QueueTypedText("Walls");
    ClickScroll(242); // the down arrow
    QueueTypedText("Doors");
    ClickScroll(200); // below the thumb: a page down
    QueueTypedText("Roof");
    ClickScroll(41); // the up arrow
    PressReturn();
    RunTable();
    EXPECT_EQ(Name(doc->layerNames->names[0]), "Walls");
    EXPECT_EQ(Name(doc->layerNames->names[1]), "Doors");
    EXPECT_EQ(Name(doc->layerNames->names[10]), "Roof");
    EXPECT_EQ(Name(doc->layerNames->names[2]), "Layer 1"); // named on OK
    // The table reopens where it was left.
    EXPECT_EQ(doc->drawing->layerTablePageStart, 9);
}

// OK names every unnamed layer from one counter that skips names in use, with message 42 once.
TEST_F(LayerDialogs, TableOkNamesUnnamedLayersOnce) {
    for (SInt16 n = 0; n < kLayerCount; ++n)
        SetName(doc, n, ("L" + std::to_string(n)).c_str());
    SetName(doc, 0, "Layer 1");
    doc->layerNames->names[3][0] = 0;
    doc->layerNames->names[7][0] = 0;
    doc->drawing->layerTablePageStart = 500;
    PressReturn();
    RunTable();
    EXPECT_EQ(Name(doc->layerNames->names[3]), "Layer 2");
    EXPECT_EQ(Name(doc->layerNames->names[7]), "Layer 3");
    int shown = 0;
    for (const AlertRecord& a : RecordedAlerts())
        if (a.params[0].find("generated names") != std::string::npos) ++shown;
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(doc->drawing->changed);
}

// Cancel brings back colours, visibility and names; the current layer is visible in any case.
TEST_F(LayerDialogs, TableCancelRestoresAndShowsTheCurrentLayer) {
    doc->drawing->layerTablePageStart = 0;
    doc->settings->currentLayer = 2;
    SetLayerVisible(doc->layerVisible, 2, false);
    SetName(doc, 0, "kept");
    const RGBColor before = doc->layerColors->colors[1];
    const RGBColor picked{0x1234, 0x5678, 0x9ABC};
    QueueTypedText("lost");
    ClickCheck(4);
    QueueColorPickerAnswer(true, picked);
    ClickSwatchColour(1);
    PressEscape();
    RunTable();
    EXPECT_EQ(Name(doc->layerNames->names[0]), "kept");
    EXPECT_TRUE(Visible(4));
    EXPECT_EQ(doc->layerColors->colors[1].red, before.red);
    EXPECT_TRUE(Visible(2));

    // The same edits kept by OK.
    QueueTypedText("new");
    ClickCheck(4);
    QueueColorPickerAnswer(true, picked);
    ClickSwatchColour(1);
    PressReturn();
    RunTable();
    EXPECT_EQ(Name(doc->layerNames->names[0]), "new");
    EXPECT_FALSE(Visible(4));
    EXPECT_EQ(doc->layerColors->colors[1].blue, picked.blue);
}

// The swatch's pop-up: the marked item is the layer's colour; another item sets it, the marked one
// changes nothing.
TEST_F(LayerDialogs, SwatchPopupSetsBasicAndPaletteColours) {
    EXPECT_EQ(LayerColourMenuItem(RGBColor{0, 0, 0}), 1);
    EXPECT_EQ(LayerColourMenuItem(RGBColor{0xDD6B, 0x08C2, 0x06A2}), 3);
    EXPECT_EQ(LayerColourMenuItem(RGBColor{1, 2, 3}), 1);
    doc->drawing->layerTablePageStart = 0;
    doc->layerColors->colors[0] = RGBColor{0, 0, 0};
    QueuePopUpMenuChoice(3);
    ClickSwatchIcon(0);
    QueuePopUpMenuChoice(9 + 5);
    ClickSwatchIcon(1);
    PressReturn();
    RunTable();
    EXPECT_EQ(doc->layerColors->colors[0].red, 0xDD6B);
    EXPECT_EQ(doc->layerColors->colors[1].red, ElementPalette[5].red);
    EXPECT_EQ(doc->layerColors->colors[1].blue, ElementPalette[5].blue);
}

// Go to shows the layer's page and selects its name; negative numbers, texts and numbers above 1023
// are refused with a beep and the dialog stays.
TEST_F(LayerDialogs, GoToRefusesWhatIsNoLayer) {
    struct Case {
        const char* typed;
        SInt16 start, layer;
    } cases[] = {{"2", 0, 2}, {"1023", 1014, 1023}, {"600", 596, 600}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        doc->drawing->layerTablePageStart = 300;
        UInt32 beeps = BeepCount();
        ClickButton(56); // Go To
        for (const char* refused : {"-5", "abc", "5000", ""}) {
            // The refused text stays selected: Delete empties the field.
            QueueKey(kKeyCodeDelete, kBackspaceCharCode);
            QueueTypedText(std::string(refused) + "\r");
        }
        QueueTypedText(std::string(c.typed) + "\r");
        QueueTypedText("Picked");
        PressReturn();
        RunTable();
        EXPECT_EQ(BeepCount() - beeps, 4u);
        EXPECT_EQ(doc->drawing->layerTablePageStart, c.start);
        EXPECT_EQ(Name(doc->layerNames->names[c.layer]), "Picked");
    }
}

// Find compares whole names, case and all; of two equal names the higher layer wins.
TEST_F(LayerDialogs, FindTakesTheLastLayerOfThatName) {
    SetName(doc, 5, "twin");
    SetName(doc, 600, "twin");
    doc->drawing->layerTablePageStart = 0;
    UInt32 beeps = BeepCount();
    ClickButton(86);          // Find
    QueueTypedText("Twin\r"); // no layer has it in capitals: the dialog stays
    QueueTypedText("twin\r");
    QueueTypedText("found");
    PressReturn();
    RunTable();
    EXPECT_EQ(BeepCount() - beeps, 1u);
    EXPECT_EQ(doc->drawing->layerTablePageStart, 596);
    EXPECT_EQ(Name(doc->layerNames->names[600]), "found");
    EXPECT_EQ(Name(doc->layerNames->names[5]), "twin");
}

namespace {

bool HavePdfTools() {
    return std::system("command -v pdftotext >/dev/null 2>&1") == 0;
}

std::string PdfText(const std::string& path) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(("pdftotext -layout '" + path + "' -").c_str(), "r"),
                                            pclose);
    char buffer[4096];
    size_t n;
    while (p && (n = fread(buffer, 1, sizeof buffer, p.get())) > 0)
        text.append(buffer, n);
    return text;
}

} // namespace

// The used layers in ascending order with their names, the head on every page, a long list over
// several pages; elements inside symbol definitions do not count.
TEST_F(LayerDialogs, PrintedListOfUsedLayers) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdftotext is needed";
    const std::string path = std::string(DW_TEST_OUTPUT_DIR) + "/used_layers.pdf";
    std::remove(path.c_str());
    SetPrintDialogResponder([&](PrintJobSetup* job, PrintPageSetup*) {
        job->outputFile = path;
        return OSStatus(noErr);
    });
    // A symbol holding a line on layer 999.
    LineRecord* inside = AddLine(doc, 0, 0, 1, 1);
    inside->layer = 999;
    SetSelectedFlag(doc->drawing, &inside->selected, true);
    CreateSymbolFromSelection(doc, 0, 0, reinterpret_cast<const UInt8*>("\x03Sym"), false);
    for (SInt16 layer = 200; layer >= 100; layer -= 2) {
        LineRecord* line = AddLine(doc, layer, 0, layer + 1, 1);
        line->layer = layer;
        SetName(doc, layer, ("Floor " + std::to_string(layer)).c_str());
    }
    LayerUsageOverview(doc);
    SetPrintDialogResponder(nullptr);
    std::string text = PdfText(path);
    ASSERT_FALSE(text.empty());
    size_t at = 0;
    for (SInt16 layer = 100; layer <= 200; layer += 2) {
        size_t next = text.find("Floor " + std::to_string(layer), at);
        ASSERT_NE(next, std::string::npos) << layer;
        at = next;
    }
    EXPECT_EQ(text.find("999"), std::string::npos);
    EXPECT_NE(text.find("Page 2"), std::string::npos);
    size_t heads = 0;
    for (size_t p = text.find("Name"); p != std::string::npos; p = text.find("Name", p + 1))
        ++heads;
    EXPECT_GE(heads, 2u);
}

// A cancelled print dialog prints nothing.
TEST_F(LayerDialogs, CancelledPrintWritesNothing) {
    const std::string path = std::string(DW_TEST_OUTPUT_DIR) + "/used_layers_cancelled.pdf";
    std::remove(path.c_str());
    SetPrintDialogResponder([&](PrintJobSetup* job, PrintPageSetup*) {
        job->outputFile = path;
        return OSStatus(kPMCancel);
    });
    AddLine(doc, 0, 0, 1, 1);
    LayerUsageOverview(doc);
    SetPrintDialogResponder(nullptr);
    FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(f, nullptr);
    if (f) std::fclose(f);
}

// --- The visibility grid --------------------------------------------------------------------------

TEST(LayerGridGeometry, CellsAndArrowTriangles) {
    struct Case {
        SInt16 h, v;
        SInt16 cell, arrow;
    } cases[] = {
        {16, 16, 0, -1},      {48, 32, 0, -1},           {49, 16, 1, -1},     {345, 16 + 17 * 9 + 16, 99, -1},
        {346, 16, -1, -1},    {15, 16, -1, -1},          {1, 16 + 7, -1, 0},  {14, 16 + 7, -1, 0},
        {14, 16 + 1, -1, -1}, {361, 16 + 17 + 7, -1, 1}, {25 + 7, 2, -1, 10}, {25 + 33 * 9 + 7, 200, -1, 19},
        {25 + 1, 13, -1, -1},
    };
    for (const Case& c : cases) {
        Point p{c.v, c.h};
        EXPECT_EQ(LayerGridCellAt(p), c.cell) << c.h << "," << c.v;
        if (c.cell < 0) {
            EXPECT_EQ(LayerGridArrowAt(p), c.arrow) << c.h << "," << c.v;
        }
    }
}

// The page field is clamped to 0..924 as it is typed; OK keeps it, Cancel puts it back.
TEST_F(LayerDialogs, GridPageFieldClamps) {
    struct Case {
        const char* typed;
        SInt16 want;
    } cases[] = {{"950", 924}, {"-5", 0}, {"300", 300}, {"abc", 0}};
    for (const Case& c : cases) {
        LayerGridPageStart(doc->settings) = 100;
        QueueTypedText(c.typed);
        PressReturn();
        LayerVisibilityDialog(doc);
        EXPECT_EQ(LayerGridPageStart(doc->settings), c.want) << c.typed;
    }
    LayerGridPageStart(doc->settings) = 100;
    QueueTypedText("500");
    PressEscape();
    LayerVisibilityDialog(doc);
    EXPECT_EQ(LayerGridPageStart(doc->settings), 100);
}

// A click toggles a layer; Command-click makes it current and visible; Cancel hides it again but
// keeps it current, OK keeps it visible.
TEST_F(LayerDialogs, GridClicksAndCommandClick) {
    LayerGridPageStart(doc->settings) = 100;
    doc->settings->currentLayer = 0;
    SetLayerVisible(doc->layerVisible, 105, false);
    ClickCell(3);
    ClickCell(5, cmdKey);
    PressEscape();
    LayerVisibilityDialog(doc);
    EXPECT_TRUE(Visible(103));
    EXPECT_FALSE(Visible(105));
    EXPECT_EQ(doc->settings->currentLayer, 105);

    doc->settings->currentLayer = 0;
    ClickCell(3);
    ClickCell(5, cmdKey);
    PressReturn();
    LayerVisibilityDialog(doc);
    EXPECT_FALSE(Visible(103));
    EXPECT_TRUE(Visible(105));
    EXPECT_EQ(doc->settings->currentLayer, 105);
}

// A row arrow sets the whole row to the opposite of its first layer, whatever the others are; so
// does a column arrow with its top layer.
TEST_F(LayerDialogs, GridArrowsSwitchRowsAndColumns) {
    LayerGridPageStart(doc->settings) = 0;
    SetLayerVisible(doc->layerVisible, 23, false);
    SetLayerVisible(doc->layerVisible, 4, false);
    ClickRowArrow(2);
    ClickColumnArrow(4);
    PressReturn();
    LayerVisibilityDialog(doc);
    for (SInt16 n = 20; n < 30; ++n)
        EXPECT_FALSE(Visible(n) && n != 24) << n;
    for (SInt16 r = 0; r < 10; ++r)
        EXPECT_TRUE(Visible(SInt16(r * 10 + 4))) << r;
}

// A cell's help tag is the layer's name; none for an empty name or a layer beyond 999.
TEST_F(LayerDialogs, GridHelpTags) {
    SetName(doc, 905, "Piping");
    SetName(doc, 1000, "Beyond");
    doc->layerNames->names[906][0] = 0;
    LayerGridPageStart(doc->settings) = 905;
    DialogRef dialog = OpenModalDialog(kLayerGridDialog, Point{0, 0});
    ASSERT_NE(dialog, nullptr);
    SetWindowRefConPtr(GetDialogWindow(dialog), doc);
    Str255 name;
    Rect hot{};
    auto cellPoint = [](SInt16 cell) {
        return Point{SInt16(12 + 16 + 17 * (cell / 10) + 8), SInt16(16 + 16 + 33 * (cell % 10) + 16)};
    };
    EXPECT_TRUE(LayerGridHelpTag(dialog, cellPoint(0), name, &hot));
    EXPECT_EQ(Name(name), "Piping");
    EXPECT_EQ(hot.left, 16 + 16);
    EXPECT_FALSE(LayerGridHelpTag(dialog, cellPoint(1), name, &hot));  // no name
    EXPECT_FALSE(LayerGridHelpTag(dialog, cellPoint(95), name, &hot)); // layer 1000
    EXPECT_FALSE(LayerGridHelpTag(dialog, Point{5, 5}, name, &hot));
    CloseModalDialog(dialog, nullptr);
}

// --- Deleting a layer's elements --------------------------------------------------------------------

namespace {

long CountOnLayer(DocWindowRecord* doc, SInt16 layer) {
    long n = 0;
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        n += e->layer == layer;
    return n;
}

} // namespace

// One undo step takes the layer's elements away and brings them back; other layers and symbol
// definitions are left alone.
TEST_F(LayerDialogs, DeleteLayerElementsIsOneUndoStep) {
    for (int i = 0; i < 6; ++i) {
        BeginUndoStep(doc);
        LineRecord* line = AddLine(doc, i, 0, i + 1, 1);
        line->layer = SInt16(i % 2 == 0 ? 5 : 6);
        EndUndoStep(doc);
    }
    LineRecord* inside = AddLine(doc, 0, 0, 1, 1);
    inside->layer = 5;
    SetSelectedFlag(doc->drawing, &inside->selected, true);
    SymbolDefRecord* def = CreateSymbolFromSelection(doc, 0, 0,
                                                     reinterpret_cast<const UInt8*>("\x03"
                                                                                    "Box"),
                                                     false);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(DeleteLayerElements(doc, 5), 3);
    EXPECT_EQ(CountOnLayer(doc, 5), 0);
    EXPECT_EQ(CountOnLayer(doc, 6), 3);
    ASSERT_NE(def->lineHead->next, nullptr);
    EXPECT_EQ(def->lineHead->next->layer, 5);
    UndoLastStep(doc);
    EXPECT_EQ(CountOnLayer(doc, 5), 3);
    EXPECT_EQ(CountOnLayer(doc, 6), 3);
}

// Dialog 203 deletes only for a number from 0 to 1023: an empty text, letters and numbers outside
// delete nothing.
TEST_F(LayerDialogs, DeleteDialogReadsOnlyLayerNumbers) {
    for (int i = 0; i < 3; ++i) {
        LineRecord* line = AddLine(doc, i, 0, i + 1, 1);
        line->layer = 0;
    }
    doc->settings->currentLayer = 7;
    for (const char* typed : {"", "abc", "-1", "1024", "0x"}) {
        SCOPED_TRACE(typed);
        QueueKey(kKeyCodeDelete, kBackspaceCharCode);
        QueueTypedText(std::string(typed) + "\r");
        DeleteLayerDialog(doc);
        EXPECT_EQ(CountOnLayer(doc, 0), 3);
    }
    QueueTypedText("0");
    PressEscape();
    DeleteLayerDialog(doc);
    EXPECT_EQ(CountOnLayer(doc, 0), 3);
    QueueTypedText(" 0 \r");
    DeleteLayerDialog(doc);
    EXPECT_EQ(CountOnLayer(doc, 0), 0);
}

// The Layers menu opens the four dialogs.
TEST_F(LayerDialogs, LayersMenuOpensTheDialogs) {
    AddLine(doc, 0, 0, 1, 1)->layer = 9;
    EXPECT_TRUE(ChooseMenuItem(kLayersMenu, 10));
    QueueTypedText("9\r");
    RunLoop();
    EXPECT_EQ(CountOnLayer(doc, 9), 0);
    for (SInt16 item : {1, 3, 4}) {
        EXPECT_TRUE(ChooseMenuItem(kLayersMenu, item)) << item;
        PressEscape();
        RunLoop();
    }
    EXPECT_EQ(DialogStackDepth(), 0);
}
