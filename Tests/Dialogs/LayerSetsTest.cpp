// The layer-set dialog end to end (ranges, the map, the pop-up, sorted sets, Cancel) and the
// palette's three actions.
#include "DialogTestSupport.h"

#include "Dialogs/LayerSetsDialog.h"
#include "Dialogs/PaletteContents.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Interface/ModalDialogs.h"
#include "Platform/Menus.h"

#include <cstring>
#include <vector>

namespace {

constexpr Point kOrigin{60, 160};

class LayerSets : public DrawingDialogTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        OpenDrawing({kLayerSetsPositionSlot});
        AllVisible();
    }
    void TearDown() override {
        gLayerSetPaletteSelection = LayerSetPaletteSelection;
        ShellTest::TearDown();
    }
    void AllVisible() { std::memset(doc->layerVisible->bits, 0xFF, sizeof doc->layerVisible->bits); }
    bool Visible(SInt16 n) { return IsLayerVisible(doc->layerVisible, n); }
    std::vector<std::string> SetNames() {
        std::vector<std::string> names;
        for (LayerSetRecord* s = doc->drawing->layerSets; s; s = s->next)
            names.push_back(Name(s->name));
        return names;
    }
    void Run() {
        LayerSetsDialog(doc);
        RunLoop();
    }
    static void TypeInto(SInt16 h, SInt16 v, const std::string& text) {
        ClickDialog(kOrigin, h, v);
        QueueTypedText(text);
    }
    static void Erase(int characters) {
        for (int i = 0; i < characters; ++i)
            QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    }
    static void ClickNewSet() { ClickDialog(kOrigin, 227, 206); }
    static void ClickDeleteSet() { ClickDialog(kOrigin, 372, 206); }
    static void ClickPopup(SInt16 choice) {
        QueuePopUpMenuChoice(choice);
        ClickDialog(kOrigin, 300, 144);
    }
};

} // namespace

// Layers first, first + step, ... up to last are hidden; first above last changes nothing; a step of
// 0 counts as 1 and a last layer beyond 1023 as 1023.
TEST_F(LayerSets, RangesWithAStep) {
    struct Case {
        const char *first, *last, *step;
        std::vector<SInt16> hidden;
    } cases[] = {
        {"10", "20", "5", {10, 15, 20}}, {"20", "10", "1", {}},
        {"0", "3", "0", {0, 1, 2, 3}},   {"1020", "5000", "1", {1020, 1021, 1022, 1023}},
        {"-4", "1", "1", {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        AllVisible();
        doc->settings->currentLayer = 500;
        TypeInto(190, 74, c.first);
        TypeInto(270, 74, c.last);
        TypeInto(350, 74, c.step);
        ClickDialog(kOrigin, 372, 108); // Hide Range
        PressReturn();
        Run();
        std::vector<SInt16> hidden;
        for (SInt16 n = 0; n < kLayerCount; ++n)
            if (!Visible(n)) hidden.push_back(n);
        EXPECT_EQ(hidden, c.hidden);
    }
}

// Sets are kept in name order blind to case; a name equal to the first set's goes behind it. Each
// new set is chosen in the pop-up, and the chosen set is applied on closing.
TEST_F(LayerSets, NewSetsInNameOrder) {
    SetLayerVisible(doc->layerVisible, 40, false);
    QueueTypedText("beta");
    ClickNewSet();
    Erase(4);
    QueueTypedText("Alpha");
    ClickNewSet();
    Erase(5);
    ClickDialog(kOrigin, 227, 22); // all visible
    QueueTypedText("alpha");
    ClickNewSet();
    // A name a set has exactly makes no set.
    Erase(5);
    QueueTypedText("beta");
    ClickNewSet();
    PressReturn();
    Run();
    EXPECT_EQ(SetNames(), (std::vector<std::string>{"Alpha", "alpha", "beta"}));
    EXPECT_EQ(doc->settings->layerSetCount, 3);
    EXPECT_EQ(doc->drawing->layerSetChoice, 4);
    // "alpha" was made with every layer visible, and it is applied.
    EXPECT_TRUE(Visible(40));
    EXPECT_TRUE(doc->drawing->changed);
}

TEST(LayerMap, PointsMapOnlyToLayers) {
    const Rect map{16, 16, 144, 144};
    struct Case {
        SInt16 h, v, layer;
    } cases[] = {{16, 16, 0},  {19, 19, 0},  {20, 16, 1},   {143, 143, 1023}, {16, 20, 32},
                 {15, 16, -1}, {16, 15, -1}, {144, 16, -1}, {16, 144, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(LayerMapCellAt(map, Point{c.v, c.h}), c.layer) << c.h << "," << c.v;
}

// Dragging from a visible layer hides every layer the mouse passes and never shows one.
TEST_F(LayerSets, PaintingOnTheMapHides) {
    doc->settings->currentLayer = 500; // shown again on closing
    SetLayerVisible(doc->layerVisible, 3, false);
    std::vector<Point> path;
    for (SInt16 n = 0; n <= 5; ++n)
        path.push_back(Point{17, SInt16(16 + 4 * n + 1)});
    path.push_back(Point{17 + 4, SInt16(16 + 4 * 5 + 1)}); // layer 37
    path.push_back(Point{200, 300});                       // off the map
    DragDialog(kOrigin, path);
    PressReturn();
    Run();
    for (SInt16 n : {0, 1, 2, 3, 4, 5, 37})
        EXPECT_FALSE(Visible(n)) << n;
    EXPECT_TRUE(Visible(6));
    EXPECT_TRUE(Visible(36));
}

// Cancel brings back the deleted set and the visibility; the set chosen when Cancel is hit is
// applied and then undone. The current layer is visible after closing.
TEST_F(LayerSets, CancelRestoresSetsAndVisibility) {
    SetLayerVisible(doc->layerVisible, 9, false);
    NewLayerSetFromVisibility(doc, reinterpret_cast<const UInt8*>("\x01"
                                                                  "A"));
    std::memset(doc->layerVisible->bits, 0, sizeof doc->layerVisible->bits);
    NewLayerSetFromVisibility(doc, reinterpret_cast<const UInt8*>("\x01"
                                                                  "B"));
    AllVisible();
    SetLayerVisible(doc->layerVisible, 77, false);
    const LayerVisibilitySet before = *doc->layerVisible;
    doc->settings->currentLayer = 12;
    ClickPopup(4); // B: nothing visible
    ClickDeleteSet();
    ClickPopup(3); // A
    PressEscape();
    Run();
    EXPECT_EQ(SetNames(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(std::memcmp(doc->layerVisible->bits, before.bits, sizeof before.bits), 0);
    EXPECT_EQ(doc->settings->layerSetCount, 2);

    // OK with B chosen: only the current layer shows.
    ClickPopup(4);
    PressReturn();
    Run();
    for (SInt16 n = 0; n < kLayerCount; ++n)
        EXPECT_EQ(Visible(n), n == 12) << n;
}

// A set chosen in the palette is the dialog's first choice; storing overwrites the chosen set.
TEST_F(LayerSets, PaletteChoiceAndStore) {
    NewLayerSetFromVisibility(doc, reinterpret_cast<const UInt8*>("\x01"
                                                                  "A"));
    NewLayerSetFromVisibility(doc, reinterpret_cast<const UInt8*>("\x01"
                                                                  "B"));
    gLayerSetPaletteSelection = [] { return SInt16(1); };
    ClickDialog(kOrigin, 372, 22);  // all hidden
    ClickDialog(kOrigin, 227, 236); // store into B
    PressReturn();
    Run();
    LayerSetRecord* b = LayerSetAt(doc, 2);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->layers[0], 0);
    EXPECT_EQ(LayerSetAt(doc, 1)->layers[0], 0xFF);
}

// The palette's row makes exactly the set's layers visible, plus the current layer; its two buttons
// show every layer or the current one alone.
TEST_F(LayerSets, PaletteActions) {
    std::memset(doc->layerVisible->bits, 0, sizeof doc->layerVisible->bits);
    SetLayerVisible(doc->layerVisible, 100, true);
    NewLayerSetFromVisibility(doc, reinterpret_cast<const UInt8*>("\x03One"));
    doc->settings->currentLayer = 5;
    AllVisible();
    ChooseLayerSet(doc, LayerSetAt(doc, 1));
    for (SInt16 n = 0; n < kLayerCount; ++n)
        EXPECT_EQ(Visible(n), n == 100 || n == 5) << n;
    ShowAllLayers(doc);
    EXPECT_TRUE(Visible(1023) && Visible(0));
    ShowOnlyCurrentLayer(doc);
    for (SInt16 n = 0; n < kLayerCount; ++n)
        EXPECT_EQ(Visible(n), n == 5) << n;
}
