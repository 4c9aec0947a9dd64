// The status bar's boxes clicked through the event loop, their pop-ups answered by queued choices.
#include "ShellTestSupport.h"

#include "Dialogs/StatusBarClicks.h"
#include "Model/ElementLists.h"
#include "Platform/DialogManager.h"
#include "Platform/Menus.h"
#include "Platform/Windows.h"
#include "Tools/ToolState.h"

#include <cstring>

namespace {

class StatusBarClicks : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
    }

    SInt16 BarV() const {
        Rect port;
        GetWindowPortBounds(doc->window, &port);
        return SInt16(port.bottom - port.top - 7);
    }

    void ClickBox(SInt16 h, SInt16 choice = -1, UInt16 modifiers = 0) {
        if (choice >= 0) QueuePopUpMenuChoice(choice);
        QueueClick(doc->window, Pt(h, BarV()), modifiers);
        RunLoop();
    }

    LineRecord* LineOnLayer(SInt16 layer) {
        LineRecord* line = AddLine(doc, 0, 0, 10, 10);
        line->layer = layer;
        return line;
    }

    DocWindowRecord* doc = nullptr;
};

} // namespace

TEST_F(StatusBarClicks, EachBoxSetsWhatItsPopUpChose) {
    DocSettings* s = doc->settings;
    s->penMode = 1;
    s->penWidths[2] = 0.354;
    ClickBox(10, 3);
    EXPECT_EQ(s->currentPen, 3);
    EXPECT_EQ(s->currentPenWidth100, 35);

    ClickBox(60, 4);
    EXPECT_EQ(s->currentLineType, 4);

    ClickBox(250, 3); // Open Arrow: items count from the mark 0
    EXPECT_EQ(s->startMarkKind, 2);
    ClickBox(265, 5);
    EXPECT_EQ(s->endMarkKind, 4);

    const Float64 preset = doc->drawing->layout.presetScales[4];
    ClickBox(170, 5);
    EXPECT_EQ(s->drawingScale, preset);

    ClickBox(220, 2);
    EXPECT_EQ(doc->drawing->toolInput.pickFilter, 1);
    EXPECT_EQ(doc->drawing->toolInput.pickMode, 1);

    const Boolean flag = s->markNewLines;
    ClickBox(240);
    EXPECT_NE(s->markNewLines, flag);
}

TEST_F(StatusBarClicks, OtherScaleAndTheWidthBoxStartTheirTypedCommands) {
    QueuePopUpMenuChoice(35);
    QueueClick(doc->window, Pt(170, BarV()));
    RunLoop();
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 158);

    EndPendingCommand(doc);
    doc->settings->penMode = 0;
    doc->settings->currentPenWidth100 = 50;
    ClickBox(30);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 150);
}

TEST_F(StatusBarClicks, LayerPopUpListsUsedLayersAndShowsOrHidesTheChosenOne) {
    LineOnLayer(12);
    LineOnLayer(3);
    LineOnLayer(7);
    LineOnLayer(3);
    SetLayerVisible(doc->layerVisible, 7, false);
    doc->settings->currentLayer = 12;

    MenuRef menu = NewMenu(kLayerPopUpMenu, reinterpret_cast<const UInt8*>("\x00"));
    SInt16 layers[kLayerCount];
    ASSERT_EQ(BuildLayerPopUp(doc, menu, layers), 3);
    EXPECT_EQ(layers[0], 3);
    EXPECT_EQ(layers[1], 7);
    EXPECT_EQ(layers[2], 12);
    SInt16 mark = 0;
    GetItemMark(menu, 3, &mark);
    EXPECT_EQ(mark, checkMark);
    GetItemMark(menu, 2, &mark);
    EXPECT_NE(mark, noMark); // hidden
    GetItemMark(menu, 1, &mark);
    EXPECT_EQ(mark, noMark);
    Str255 text;
    GetMenuItemText(menu, 1, text);
    EXPECT_EQ(text[1], '3');
    DisposeMenu(menu);

    // Without option a hidden layer chosen is shown and made current.
    ClickBox(80, 2);
    EXPECT_EQ(doc->settings->currentLayer, 7);
    EXPECT_TRUE(IsLayerVisible(doc->layerVisible, 7));

    // With option the chosen layer is hidden, and the lowest layer still shown becomes current.
    SetLayerVisible(doc->layerVisible, 3, false);
    ClickBox(80, 3, optionKey);
    EXPECT_FALSE(IsLayerVisible(doc->layerVisible, 12));
    EXPECT_EQ(doc->settings->currentLayer, 7);
}

TEST_F(StatusBarClicks, LayerPopUpWithNoElementsSaysSoAndChangesNothing) {
    doc->settings->currentLayer = 5;
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    ClickBox(80);
    ASSERT_FALSE(RecordedAlerts().empty());
    EXPECT_NE(RecordedAlerts().back().params[0].find("No layer is in use"), std::string::npos);
    EXPECT_EQ(doc->settings->currentLayer, 5);
}

TEST_F(StatusBarClicks, LayerKeyAndScaleBoxesRestWhileAnOutputContextIsActive) {
    const Float64 scale = doc->settings->drawingScale;
    int dummy = 0;
    doc->drawing->output.outputContext = reinterpret_cast<CGContextRef>(&dummy);
    ClickBox(95);  // the key box would start the current-layer command
    ClickBox(120); // the key command
    ClickBox(80);  // the layer pop-up would say no layer is in use
    doc->drawing->output.outputContext = nullptr;
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
    EXPECT_TRUE(RecordedAlerts().empty());
    EXPECT_EQ(doc->settings->drawingScale, scale);

    ClickBox(95);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 151);
}

TEST_F(StatusBarClicks, Pixel273BelongsToTheStatusBarNotTheSnapButtons) {
    doc->settings->snapMode = 0;
    ClickBox(273);
    EXPECT_EQ(doc->settings->snapMode, 0);
    ClickBox(290);
    EXPECT_EQ(doc->settings->snapMode, 1);
}

TEST_F(StatusBarClicks, SelectionTablesAreListedButTheirCommandsStayDisabled) {
    NamedTableRecord* table = NewNamedTableRecord();
    ASSERT_NE(table, nullptr);
    table->name[0] = 5;
    std::memcpy(table->name + 1, "Bolts", 5);
    doc->drawing->criteriaTables = table;
    MenuRef menu = GetMenuHandle(kPickModeMenu);
    ASSERT_NE(menu, nullptr);
    const SInt16 own = CountMenuItems(menu);
    // Own items, a separator, the table, a separator and the three commands.
    for (SInt16 item = SInt16(own + 4); item <= own + 6; ++item) {
        ClickBox(220, item);
        EXPECT_EQ(doc->drawing->toolInput.pickFilter, 0) << item;
    }
    EXPECT_EQ(CountMenuItems(menu), own);
    ClickBox(220, SInt16(own + 2)); // the table
    EXPECT_EQ(doc->drawing->toolInput.pickFilter, own + 1);
}

TEST_F(StatusBarClicks, PresetsBoxAppliesTheFirstNineBitsOfTheChosenPreset) {
    AttributePreset* first = NewAttributePreset();
    AttributePreset* second = NewAttributePreset();
    ASSERT_TRUE(first != nullptr && second != nullptr);
    std::memcpy(first->name, "\x04Left", 5);
    std::memcpy(second->name, "\x05Right", 6);
    first->next = second;
    doc->drawing->attributePresets = first;
    // Bits 0 pen, 3 layer, 6 snap mode and 11 pattern; the status bar applies bits 0..8 only.
    second->mask = (0x80000000u >> 0) | (0x80000000u >> 3) | (0x80000000u >> 6) | (0x80000000u >> 11);
    second->pen = 4;
    second->layer = 9;
    second->snapMode = 2;
    second->pattern = 7;
    second->lineKind = 5; // bit 1 is clear: stays
    SetLayerVisible(doc->layerVisible, 9, false);
    const SInt16 lineType = doc->settings->currentLineType;
    ClickBox(208, 2);
    const DocSettings* s = doc->settings;
    EXPECT_EQ(s->currentPen, 4);
    EXPECT_EQ(s->currentLayer, 9);
    EXPECT_EQ(s->snapMode, 2);
    EXPECT_EQ(s->currentLineType, lineType);
    EXPECT_NE(s->currentPattern, 7);
    EXPECT_FALSE(IsLayerVisible(doc->layerVisible, 9)); // not made visible from the status bar
}
