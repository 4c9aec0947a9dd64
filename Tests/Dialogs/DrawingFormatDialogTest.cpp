// The drawing format end to end from Settings > Drawing Format: a new paper format replaces the frame
// and resets the scale, a new scale scales the frame, a new unit rescales the element sizes or the
// drawing, and a scale or unit factor that is not a positive number is refused.
#include "DialogItemInput.h"

#include "Dialogs/DrawingFormatDialog.h"
#include "Interface/DialogItems.h"
#include "Model/DimensionEditing.h"
#include "Model/Dimensions.h"
#include "Model/LayersFrames.h"
#include "Model/DrawingUnits.h"
#include "Platform/MacRoman.h"
#include "Shell/MenuBar.h"
#include "MessageCapture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr SInt16 kSlot = 9;

class DrawingFormat : public ToolGuiTest {
  protected:
    void Open() { ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 1)); }
    void Popup(SInt16 item, SInt16 choice) { QueuePopupChoice(kDrawingFormatDialog, item, kSlot, choice); }
    // The scale field (the third edit field) replaced by the text.
    void TypeScale(const std::string& text) {
        QueueTabs(2);
        QueueTypedText(text);
    }
    LineRecord* FrameLine(double length) {
        BeginUndoStep(doc);
        LineRecord* l = AddLine(doc, 0, 0, length, 0);
        EndUndoStep(doc);
        l->layer = kHighestLayer;
        return l;
    }
    double FrameWidth() {
        double w = 0;
        for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            if (l->layer == kHighestLayer) w = std::max({w, l->x1, l->x2});
        return w;
    }
};

} // namespace

TEST_F(DrawingFormat, ChosenFormatShowsItsOwnPageSizeAndATypedSideStaysAfterCancel) {
    Open();
    Popup(3, 3);  // A3
    QueueTabs(5); // round the five fields back to the width
    QueueTypedText("400");
    QueueEscape();
    RunLoop();
    // The height stored beside the typed width is A3's, not that of the format shown first.
    Float64 w = 0, h = 0;
    ASSERT_TRUE(FormatPageSize(doc->settings, 3, &w, &h));
    // New drawings show lengths in inches.
    EXPECT_NEAR(w, 400 * DisplayUnitFactor(doc), 1e-9);
    EXPECT_DOUBLE_EQ(h, 297);
    EXPECT_EQ(doc->settings->paperFormat, 7);
    EXPECT_FALSE(doc->drawing->changed);
}

TEST_F(DrawingFormat, NewFormatReplacesTheFrameAndScalesTheTemplateToScaleOne) {
    doc->settings->drawingScale = 0.5;
    FrameLine(100);
    Draw(0, 0, 10, 10);
    AlertAnswers answers({2});
    Open();
    Popup(3, 3);
    QueueReturn();
    RunLoop();
    ASSERT_EQ(answers.asked, std::vector<SInt16>{kFormatChangeAlert});
    EXPECT_EQ(doc->settings->paperFormat, 3);
    EXPECT_DOUBLE_EQ(doc->settings->drawingScale, 1.0);
    // The A3 template, 420 wide, scaled by 1 / 0.5; the old frame gone; the drawing kept.
    EXPECT_DOUBLE_EQ(FrameWidth(), 840);
    EXPECT_EQ(PStrToUTF8(TitleBlockField(doc->drawing->titleBlock, 6)), "A3");
    int drawn = 0;
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        drawn += l->layer != kHighestLayer;
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(DrawingFormat, FormatAlertAnsweredNoAndFormatWithoutTemplate) {
    struct Case {
        SInt16 answer, format;
        double width; // of layer 1023 afterwards
        UInt16 storedFormat;
        double scale;
    } cases[] = {{1, 3, 100, 7, 0.5}, {2, 8, 0, 8, 1.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        FreshDocument();
        doc->settings->drawingScale = 0.5;
        FrameLine(100);
        AlertAnswers answers({c.answer});
        Open();
        Popup(3, c.format);
        QueueReturn();
        RunLoop();
        EXPECT_EQ(doc->settings->paperFormat, c.storedFormat);
        EXPECT_DOUBLE_EQ(doc->settings->drawingScale, c.scale);
        EXPECT_DOUBLE_EQ(FrameWidth(), c.width);
    }
}

TEST_F(DrawingFormat, NewScaleScalesOnlyTheFrame) {
    FrameLine(100);
    Draw(0, 0, 10, 0);
    Open();
    TypeScale("2");
    QueueReturn();
    RunLoop();
    EXPECT_DOUBLE_EQ(doc->settings->drawingScale, 2);
    EXPECT_DOUBLE_EQ(FrameWidth(), 200);
    EXPECT_DOUBLE_EQ(Last()->x2, 10);
    // OK without a change keeps a small scale exactly and leaves the frame.
    doc->settings->drawingScale = 1.0 / 2000;
    Open();
    QueueReturn();
    RunLoop();
    EXPECT_EQ(doc->settings->drawingScale, 1.0 / 2000);
    EXPECT_DOUBLE_EQ(FrameWidth(), 200);
}

TEST_F(DrawingFormat, ScaleOrUnitFactorThatIsNotAPositiveNumberIsRefused) {
    struct Case {
        int tabs; // from the width to the field
        const char* typed;
        SInt16 message;
    } cases[] = {{2, "0", 240}, {2, "-2", 240}, {2, "1/0", 0}, {4, "0", 241}, {4, "-1", 241}};
    FrameLine(100);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in field " + std::to_string(c.tabs));
        MessageCapture messages;
        AlertAnswers answers({});
        Open();
        QueueTabs(c.tabs);
        QueueTypedText(c.typed);
        QueueReturn(); // refused: the dialog stays
        QueueEscape();
        RunLoop();
        EXPECT_GE(messages.Count(), 1u);
        if (c.message != 0) {
            EXPECT_EQ(messages.Last(), c.message);
        }
        EXPECT_DOUBLE_EQ(doc->settings->drawingScale, 1.0);
        EXPECT_DOUBLE_EQ(doc->settings->customUnitFactor, 100.0);
        EXPECT_DOUBLE_EQ(FrameWidth(), 100);
    }
}

TEST_F(DrawingFormat, UnitChangeOfAnEmptyDrawingAsksNothing) {
    AlertAnswers answers({});
    Open();
    Popup(14, 4); // centimetres
    QueueReturn();
    RunLoop();
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_EQ(doc->settings->unitCode, -1);
}

TEST_F(DrawingFormat, UnitChangeConvertsSizesOrScalesTheDrawing) {
    struct Case {
        SInt16 answer;
        SInt16 unit;
        double scaleFactor, x2;
    } cases[] = {{2, -1, 10, 10}, {3, -1, 1, 100}, {1, 0, 1, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        FreshDocument();
        Draw(0, 0, 10, 0);
        Last()->scaleFactor = 1;
        AlertAnswers answers({c.answer});
        Open();
        Popup(14, 4); // centimetres from millimetres
        QueueReturn();
        RunLoop();
        ASSERT_EQ(answers.asked, std::vector<SInt16>{kUnitChangeAlert});
        EXPECT_EQ(doc->settings->unitCode, c.unit);
        EXPECT_DOUBLE_EQ(Last()->scaleFactor, c.scaleFactor);
        EXPECT_DOUBLE_EQ(Last()->x2, c.x2);
    }
}

TEST_F(DrawingFormat, OldCustomUnitConvertsWithItsOldFactor) {
    doc->settings->unitCode = kCustomUnitCode;
    doc->settings->customUnitFactor = 2;
    Draw(0, 0, 10, 0);
    Last()->scaleFactor = 2;
    AlertAnswers answers({2});
    Open();
    QueueTabs(4);
    QueueTypedText("8"); // the custom factor changes in the same OK
    Popup(14, 5);        // millimetres
    QueueReturn();
    RunLoop();
    EXPECT_EQ(doc->settings->unitCode, 0);
    EXPECT_DOUBLE_EQ(doc->settings->customUnitFactor, 8);
    EXPECT_DOUBLE_EQ(Last()->scaleFactor, 1); // 2 x (1 mm / 2 mm), not / 8 mm
}

TEST(RescaleElementSizes, MultipliesEveryUnitFactorAndRebuildsDimensionTexts) {
    GuiTestSetUp();
    DocWindowRecord* doc = nullptr;
    ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
    LineRecord* line = AddLine(doc, 0, 0, 50, 0);
    line->scaleFactor = 1;
    ArcRecord* arc = AddArc(doc, 0, 0, 5, 0, 360);
    arc->scaleFactor = 1;
    DimensionRecord* dim = CreateHorizontalDimension(doc, 0, 0, 50, 0, 25, 10, nullptr, nullptr, nullptr);
    ASSERT_NE(dim, nullptr);
    dim->scaleFactor = 1;
    const std::string before = PStrToUTF8(doc->dimensionHead->next->text);
    for (double bad : {0.0, -1.0, std::numeric_limits<double>::infinity(), std::nan("")}) {
        RescaleElementSizes(doc, bad);
        EXPECT_DOUBLE_EQ(line->scaleFactor, 1) << bad;
    }
    RescaleElementSizes(doc, 10);
    EXPECT_DOUBLE_EQ(line->scaleFactor, 10);
    EXPECT_DOUBLE_EQ(arc->scaleFactor, 10);
    ASSERT_NE(doc->dimensionHead->next, nullptr);
    EXPECT_EQ(doc->dimensionHead->next->next, nullptr);
    EXPECT_DOUBLE_EQ(doc->dimensionHead->next->scaleFactor, 10);
    EXPECT_NE(PStrToUTF8(doc->dimensionHead->next->text), before);
    DisposeDocumentWindow(doc);
    GuiTestTearDown();
}
