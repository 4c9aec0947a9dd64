// Attribute presets: the one sorted insertion and its comparison, the preset dialog's name rules,
// ranges and editing, and applying a preset from the window and from the status bar.
#include "DialogTestSupport.h"

#include "Dialogs/AttributePresets.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/NamedLists.h"
#include "Interface/ModalDialogs.h"
#include "Other/ZEZUdivari.h"
#include "Platform/ColorPicker.h"
#include "Platform/DialogManager.h"
#include "Platform/Menus.h"

#include <vector>

namespace {

constexpr Point kOrigin{50, 160};

AttributePreset* MakePreset(const char* name) {
    AttributePreset* p = NewAttributePreset();
    CStrToPStr(p->name, 256, name);
    p->pen = 1;
    p->lineKind = 1;
    p->scale = 1;
    return p;
}

class Presets : public DrawingDialogTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        OpenDrawing({kPresetPositionSlot});
        // Colour, pattern and width are the drawing's own, not the pens'.
        doc->settings->penMode = 0;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (AttributePreset* p = doc->drawing->attributePresets; p; p = p->next)
            names.push_back(Name(p->name));
        return names;
    }
    AttributePreset* Add(const char* name) {
        AttributePreset* p = MakePreset(name);
        InsertPresetSorted(doc, p, false);
        return p;
    }
    int Shown(const char* text) {
        int n = 0;
        for (const AlertRecord& a : RecordedAlerts())
            n += a.params[0].find(text) != std::string::npos;
        return n;
    }
    static void Tabs(int n) {
        for (int i = 0; i < n; ++i)
            PressTab();
    }
};

} // namespace

TEST(NameOrder, RelStringBlindToCaseAndAccents) {
    struct Case {
        const char *a, *b;
        SInt16 blind, exact;
    } cases[] = {
        {"\x05"
         "alpha",
         "\x05"
         "ALPHA",
         0, 1},
        {"\x05"
         "\x80lpha",
         "\x05"
         "alpha",
         0, 1}, // A with diaeresis, after every ASCII letter
        {"\x03"
         "abc",
         "\x04"
         "abcd",
         -1, -1},
        {"\x04"
         "beta",
         "\x05"
         "Alpha",
         1, 1},
        {"\x01"
         "\x8E",
         "\x01"
         "e",
         0, 1}, // e acute
    };
    for (const Case& c : cases) {
        auto a = reinterpret_cast<const UInt8*>(c.a), b = reinterpret_cast<const UInt8*>(c.b);
        EXPECT_EQ(RelString(a, b, false, false), c.blind) << c.a + 1;
        EXPECT_EQ(RelString(a, b, true, true), c.exact) << c.a + 1;
    }
}

// Presets go before the first name not ordered below theirs, so an equal name goes first; layer
// sets put a name equal to the first set's behind it.
TEST_F(Presets, SortedInsertionPutsEqualNamesFirst) {
    std::vector<SInt16> positions;
    for (const char* name : {"beta", "Alpha", "alpha", "\x80lpha", "gamma"})
        positions.push_back(InsertPresetSorted(doc, MakePreset(name), false));
    EXPECT_EQ(Names(), (std::vector<std::string>{"\x80lpha", "alpha", "Alpha", "beta", "gamma"}));
    EXPECT_EQ(positions, (std::vector<SInt16>{1, 1, 1, 1, 5}));
    EXPECT_TRUE(PresetNameTaken(doc,
                                reinterpret_cast<const UInt8*>("\x04"
                                                               "BETA"),
                                nullptr));
    EXPECT_FALSE(PresetNameTaken(doc,
                                 reinterpret_cast<const UInt8*>("\x04"
                                                                "BETA"),
                                 PresetAt(doc, 3)));
}

// A new preset from the current settings: pen, line type and the two end marks are checked, every
// value comes from the settings.
TEST_F(Presets, NewFromCurrentSettings) {
    DocSettings* s = doc->settings;
    s->currentPen = 3, s->currentLayer = 17, s->currentGroup = 4, s->snapMode = 2, s->currentPattern = 5;
    s->startMarkKind = 2, s->markNewLines = 1;
    QueueTypedText("Walls\r");
    EXPECT_TRUE(PresetDialog(doc, true, false, nullptr));
    ASSERT_EQ(Names(), std::vector<std::string>{"Walls"});
    const AttributePreset* p = doc->drawing->attributePresets;
    EXPECT_EQ(p->mask, 0xC1800000u);
    EXPECT_EQ(p->pen, 3);
    EXPECT_EQ(p->layer, 17);
    EXPECT_EQ(p->group, 4);
    EXPECT_EQ(p->snapMode, 2);
    EXPECT_EQ(p->pattern, 5);
    EXPECT_EQ(p->startMark, 2);
    EXPECT_EQ(p->lineFlag, 1);
    EXPECT_EQ(p->colorIndex, 0);
}

// A name another preset has in any case is refused with message 27; OK needs 1 to 31 characters.
TEST_F(Presets, NameRules) {
    Add("Walls");
    QueueTypedText("WALLS\r");                   // refused, the dialog stays
    QueueTypedText(std::string(32, 'x') + "\r"); // OK is off at 32
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    PressReturn(); // 31 characters
    EXPECT_TRUE(PresetDialog(doc, true, false, nullptr));
    EXPECT_EQ(Shown("is already used"), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Walls", std::string(31, 'x')}));
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    PressReturn(); // an empty name: OK is off
    PressEscape();
    EXPECT_FALSE(PresetDialog(doc, true, false, nullptr));
    EXPECT_EQ(Names().size(), 2u);
}

// A layer outside 0..1023 or a pattern outside 0..31 is refused with a message; the preset keeps
// what was typed once it is right.
TEST_F(Presets, LayerAndPatternRanges) {
    QueueTypedText("Range");
    Tabs(2); // group, then layer
    QueueTypedText("1024\r");
    QueueTypedText("12");
    Tabs(3); // scale, width, pattern
    QueueTypedText("32\r");
    QueueTypedText("31\r");
    EXPECT_TRUE(PresetDialog(doc, true, false, nullptr));
    EXPECT_EQ(Shown("layer must be"), 1);
    EXPECT_EQ(Shown("pattern must be"), 1);
    ASSERT_EQ(Names().size(), 1u);
    EXPECT_EQ(doc->drawing->attributePresets->layer, 12);
    EXPECT_EQ(doc->drawing->attributePresets->pattern, 31);
}

// Editing moves the preset to its new place; Cancel leaves the list and the document's colour as
// they were. The swatch's picker sets the preset's colour.
TEST_F(Presets, EditAndCancel) {
    Add("apple");
    Add("melon");
    Add("zebra");
    AttributePreset* apple = PresetAt(doc, 0);
    apple->color = RGBColor{1, 2, 3};
    const RGBColor current{7, 8, 9};
    doc->settings->currentColor = current;
    QueueTypedText("nut");
    ClickDialog(kOrigin, 30, 57); // pen box on
    PressEscape();
    EXPECT_FALSE(PresetDialog(doc, false, false, apple));
    EXPECT_EQ(Names(), (std::vector<std::string>{"apple", "melon", "zebra"}));
    EXPECT_EQ(doc->settings->currentColor.red, 7);

    QueueTypedText("nut");
    ClickDialog(kOrigin, 30, 57);
    QueueColorPickerAnswer(true, RGBColor{0x100, 0x200, 0x300});
    ClickDialog(kOrigin, 195, 273); // the swatch
    PressReturn();
    EXPECT_TRUE(PresetDialog(doc, false, false, apple));
    EXPECT_EQ(Names(), (std::vector<std::string>{"melon", "nut", "zebra"}));
    const AttributePreset* nut = PresetAt(doc, 1);
    EXPECT_TRUE(TestLongBit(nut->mask, kPresetPenBit));
    EXPECT_EQ(nut->color.green, 0x200);
    EXPECT_EQ(doc->settings->currentColor.red, 7);
}

// A duplicate needs a name of its own; the original stays.
TEST_F(Presets, DuplicateNeedsItsOwnName) {
    AttributePreset* p = Add("Walls");
    p->layer = 9;
    PressReturn(); // the copy's name is taken
    QueueTypedText("Walls 2\r");
    DuplicatePreset(doc, p);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Walls", "Walls 2"}));
    EXPECT_EQ(PresetAt(doc, 1)->layer, 9);
}

// The window applies bits 0..11 and shows a hidden layer; the status bar applies 0..8 and leaves
// the layer hidden. Values outside their range, as a file may hold, are not applied.
TEST_F(Presets, ApplyingFromTheWindowAndTheStatusBar) {
    AttributePreset* p = Add("All");
    p->mask = 0xFFF00000u;
    p->pen = 4, p->lineKind = 2, p->group = 7, p->layer = 300, p->scale = 20, p->lineFlag = 1;
    p->snapMode = 3, p->startMark = 1, p->endMark = 2, p->colorIndex = 5, p->width100 = 35, p->pattern = 9;
    p->color = RGBColor{10, 20, 30};
    DocSettings* s = doc->settings;
    SetLayerVisible(doc->layerVisible, 300, false);
    s->currentPattern = 0;
    ApplyPresetFromStatusBar(doc, p);
    EXPECT_EQ(s->currentLayer, 300);
    EXPECT_FALSE(IsLayerVisible(doc->layerVisible, 300));
    EXPECT_EQ(s->currentPen, 4);
    EXPECT_EQ(s->snapMode, 3);
    EXPECT_EQ(s->endMarkKind, 2);
    EXPECT_EQ(s->currentPattern, 0); // bit 11 is the window's
    ApplyPresetFromWindow(doc, p);
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 300));
    EXPECT_EQ(s->currentPattern, 9);
    EXPECT_EQ(s->currentPenWidth100, 35);
    EXPECT_EQ(s->currentColor.blue, 30);
    EXPECT_EQ(s->drawingScale, 20);
    EXPECT_TRUE(s->markNewLines);

    AttributePreset* bad = Add("Bad");
    bad->mask = 0xFFF00000u;
    bad->pen = 9, bad->layer = 2000, bad->snapMode = 7, bad->pattern = 40, bad->scale = 20;
    ApplyPresetFromWindow(doc, bad);
    EXPECT_EQ(s->currentPen, 4);
    EXPECT_EQ(s->currentLayer, 300);
    EXPECT_EQ(s->snapMode, 3);
    EXPECT_EQ(s->currentPattern, 9);
}
