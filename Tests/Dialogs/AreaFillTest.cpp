// The area fill dialogs: the fill of an area edited as one undo step (hatch spacing shown times the
// drawing's scale), the three pattern families with stored values out of their range, and the three
// choosers.
#include "DialogTestSupport.h"
#include "../Tools/ToolGuiFixture.h"

#include "Dialogs/AreaFillDialogs.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Model/Selection.h"
#include "Interface/ModalDialogs.h"
#include "Tools/AreaOutlines.h"
#include "Tools/AreaTools.h"

namespace {

constexpr Point kFillOrigin{80, 160}, kChooserOrigin{120, 200};

class AreaFill : public ToolGuiTest {
  protected:
    AreaRecord* area = nullptr;
    void SetUp() override {
        ToolGuiTest::SetUp();
        DialogPositionTable[kAreaFillPositionSlot] = Point{0, 0};
        for (SInt16 slot : {37, 38, 39})
            DialogPositionTable[slot] = Point{0, 0};
        BeginUndoStep(doc);
        area = CreateCircularArea(doc, 100, 100, 30);
        EndUndoStep(doc);
        ASSERT_NE(area, nullptr);
        doc->settings->drawingScale = 50;
    }
    void Fill(SInt16 kind, Float64 value) {
        area->fillKind = kind;
        area->hatchSpacing = value;
    }
    Boolean Run() {
        Boolean ok = AreaFillDialog(doc, area);
        RunLoop();
        return ok;
    }
    static void Radio(SInt16 item) {
        ClickDialog(kFillOrigin, 40, SInt16(21 + (item == 3 ? 0 : 84 + 30 * (item - 4))));
    }
    static void Popup(SInt16 kind, SInt16 choice) {
        QueuePopUpMenuChoice(choice);
        ClickDialog(kFillOrigin, 240, SInt16(104 + 30 * kind));
    }
};

} // namespace

// A crossed hatch of spacing 2 at scale 50 shows 100; OK unchanged writes 2 back, a typed 50 gives 1,
// as one undo step.
TEST_F(AreaFill, HatchSpacingTimesTheScaleAsOneUndoStep) {
    Fill(kCrossHatchFill, 2);
    area->hatchAngle = 30;
    PressReturn();
    EXPECT_TRUE(Run());
    EXPECT_EQ(area->fillKind, kCrossHatchFill);
    EXPECT_NEAR(area->hatchSpacing, 2, 1e-9);
    EXPECT_NEAR(area->hatchAngle, 30, 1e-9);
    QueueTypedText("50\r");
    EXPECT_TRUE(Run());
    EXPECT_NEAR(area->hatchSpacing, 1, 1e-9);
    Undo();
    area = doc->areaHead->next;
    ASSERT_NE(area, nullptr);
    EXPECT_NEAR(area->hatchSpacing, 2, 1e-9);
    EXPECT_EQ(area->fillKind, kCrossHatchFill);
}

// A grey of value 3 opens on radio 5 at "10"; switching to the hatch without crossing gives a single
// hatch. A spacing of 0 is refused in place.
TEST_F(AreaFill, FamilyToHatchAndBack) {
    Fill(1, 3);
    PressReturn();
    EXPECT_TRUE(Run());
    EXPECT_EQ(area->fillKind, 1);
    EXPECT_EQ(area->hatchSpacing, 3);
    UInt32 beeps = BeepCount();
    Radio(3);
    QueueTypedText("0\r");   // refused: the dialog stays
    QueueTypedText("150\r"); // 150 / 50
    EXPECT_TRUE(Run());
    EXPECT_EQ(BeepCount() - beeps, 1u);
    EXPECT_EQ(area->fillKind, kSingleHatchFill);
    EXPECT_NEAR(area->hatchSpacing, 3, 1e-9);
    Radio(6);
    Popup(2, 4);
    PressReturn();
    EXPECT_TRUE(Run());
    EXPECT_EQ(area->fillKind, 2);
    EXPECT_EQ(area->hatchSpacing, 4);
}

// Cancel changes nothing but deselects the area.
TEST_F(AreaFill, CancelChangesNothing) {
    Fill(0, 7);
    SetSelectedFlag(doc->drawing, &area->selected, true);
    Radio(5);
    Popup(1, 2);
    PressEscape();
    EXPECT_FALSE(Run());
    EXPECT_EQ(area->fillKind, 0);
    EXPECT_EQ(area->hatchSpacing, 7);
    EXPECT_FALSE(area->selected);
}

// A stored value outside its family opens at the family's default; choosing the checked item changes
// nothing.
TEST_F(AreaFill, ValuesOutsideTheirFamily) {
    struct Case {
        SInt16 kind;
        Float64 value, want;
    } cases[] = {{0, 99, 1}, {0, 24, 24}, {1, 40, 11}, {1, -3, 11}, {2, 0, 1}, {2, 16, 1}, {2, 15, 15}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FillIndexOf(c.kind, c.value), c.want);
        Fill(c.kind, c.value);
        PressReturn();
        EXPECT_TRUE(Run());
        EXPECT_EQ(area->hatchSpacing, c.want);
    }
    Fill(0, 2);
    Popup(0, 2);
    PressReturn();
    EXPECT_TRUE(Run());
    EXPECT_EQ(area->hatchSpacing, 2);
}

// The fill tool opens the dialog on the clicked area.
TEST_F(AreaFill, FillToolEditsTheClickedArea) {
    Fill(kCrossHatchFill, 2);
    ChooseGroupTool(9, kAreaFillTool);
    QueueClick(doc->window, WindowPoint(100, 100));
    Radio(4);
    Popup(0, 6);
    PressReturn();
    RunLoop();
    EXPECT_EQ(area->fillKind, 0);
    EXPECT_EQ(area->hatchSpacing, 6);
}

// The choosers give their family's kind and the chosen index after OK, and write nothing after Cancel.
TEST_F(AreaFill, ChoosersOfTheThreeFamilies) {
    using Chooser = Boolean (*)(SInt16*, void*, Float64*);
    const Chooser choosers[3] = {ChooseFillPattern0Dialog, ChooseFillPattern1Dialog,
                                 ChooseFillPattern2Dialog};
    for (SInt16 kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        SInt16 fillKind = -7;
        Float64 value = 99; // outside every family
        PressReturn();
        EXPECT_TRUE(choosers[kind](&fillKind, nullptr, &value));
        EXPECT_EQ(fillKind, kind);
        EXPECT_EQ(value, FillFamilyDefault(kind));
        QueuePopUpMenuChoice(3);
        ClickDialog(kChooserOrigin, 180, 30);
        PressReturn();
        EXPECT_TRUE(choosers[kind](&fillKind, nullptr, &value));
        EXPECT_EQ(value, 3);
        fillKind = -7;
        QueuePopUpMenuChoice(5);
        ClickDialog(kChooserOrigin, 180, 30);
        PressEscape();
        EXPECT_FALSE(choosers[kind](&fillKind, nullptr, &value));
        EXPECT_EQ(fillKind, -7);
        EXPECT_EQ(value, 3);
    }
}
