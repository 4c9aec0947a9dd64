// The value commands end to end: posted from their menu items or by code, driven by clicks and typed
// values, ended by Escape at each step; the drawing scaled to a line is one undo step, undone and
// redone exactly; dialog 207 answered by queued keys. Also the texts the answers rely on.
#include "../Model/DrawingSnapshot.h"
#include "Files/NativeDocument.h"
#include "MessageCapture.h"
#include "Platform/FileChoosers.h"
#include "Platform/FileManager.h"
#include "TestSupport.h"
#include "Model/SelectionCriteria.h"
#include "Model/Transform.h"
#include "Model/DrawingUnits.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Platform/Clipboard.h"
#include "Shell/MenuCommands.h"
#include "ToolGuiFixture.h"
#include "Tools/PendingCommands.h"
#include "Tools/PendingValues.h"
#include "Tools/ToolState.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr SInt16 kZoomCommand = 160, kPenWidthCommand = 150, kDrawingScaleCommand = 158;
constexpr SInt16 kCustomColourCommand = 163;

class PendingValuesGui : public ToolGuiTest {
  protected:
    void Escape() { Key(kKeyCodeEscape, kEscapeCharCode); }
    SInt16 Pending() const { return doc->drawing->toolInput.pendingCommand; }
    void Post(SInt16 code) {
        StartPendingCommand(doc, code);
        RunLoop();
    }
    void QueueClickAt(double x, double y) { QueueClick(doc->window, WindowPoint(x, y)); }
    // A click whose step shows an alert, closed by Return.
    void ClickAnswered(double x, double y) {
        QueueClickAt(x, y);
        QueueKey(kKeyCodeReturn, kReturnCharCode);
        RunLoop();
    }
    // A line on a layer that is then hidden, and an arc: what 145 must scale as well.
    void DrawScene() {
        Draw(0, 0, 100, 0);
        DrawCircle(50, 50, 20);
        doc->settings->currentLayer = 7;
        Draw(10, 10, 30, 10);
        doc->settings->currentLayer = 0;
        SetLayerVisible(doc->layerVisible, 7, false);
        RedrawWindow(doc);
        RunLoop();
    }
    // One raster image of 100 pixels square at 72 dots per inch.
    void AddImage() {
        ImageRecord& image = doc->images[0];
        image = ImageRecord{};
        image.resolution = 72;
        image.width = image.height = 100;
        doc->imageCount = 1;
    }
};

TEST_F(PendingValuesGui, ScaleDrawingFromALineScalesEveryLayerInOneUndoStep) {
    DrawScene();
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    ASSERT_TRUE(MenuItemAvailable(kOutputAreasMenu, 11));
    ASSERT_TRUE(ChooseMenuItem(kOutputAreasMenu, 11));
    RunLoop();
    ASSERT_EQ(Pending(), 145);
    MessageCapture messages;
    ClickAt(200, 150); // nothing there: the step waits
    EXPECT_EQ(Step(), 0);
    ClickAt(60, 0);
    ASSERT_EQ(Step(), 1);
    for (const char* refused : {"0", "-5"}) {
        Type(refused);
        EXPECT_EQ(messages.Last(), 191) << refused;
        EXPECT_EQ(Step(), 1);
    }
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Type("50");
    EXPECT_EQ(Pending(), 0);
    const LineRecord* first = doc->lineHead->next;
    EXPECT_NEAR(std::hypot(first->x2 - first->x1, first->y2 - first->y1), 50, 1e-9);
    const ArcRecord* arc = doc->arcHead->next;
    EXPECT_NEAR(arc->cx, 25, 1e-9);
    EXPECT_NEAR(arc->radius, 10, 1e-9);
    const LineRecord* hidden = first->next;
    ASSERT_NE(hidden, nullptr);
    EXPECT_NEAR(hidden->x1, 5, 1e-9);
    EXPECT_NEAR(hidden->x2, 15, 1e-9);
    EXPECT_FALSE(first->selected || hidden->selected || arc->selected);
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
}

TEST_F(PendingValuesGui, ScaleDrawingRefusesLinesOfNoLengthAndLeavesTheSameLengthAlone) {
    Draw(0, 0, 100, 0);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    ChooseMenuItem(kOutputAreasMenu, 11);
    RunLoop();
    ClickAt(50, 0);
    Type("100");
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);

    // A line whose ends meet gives no scale.
    BeginUndoStep(doc);
    AddLine(doc, 150, 150, 150, 150);
    EndUndoStep(doc);
    MessageCapture messages;
    ChooseMenuItem(kOutputAreasMenu, 11);
    RunLoop();
    ClickAnswered(150, 150);
    EXPECT_EQ(messages.Last(), 182);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Pending(), 145);
}

TEST_F(PendingValuesGui, EscapeEndsEveryValueCommandAtEachStepWithNothingChanged) {
    Draw(0, 0, 100, 0);
    AddImage();
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const DocSettings settings = *doc->settings;
    const Float64 scale = doc->drawing->view.unitsPerPixel;
    struct Case {
        SInt16 code;
        std::vector<std::string> steps; // "click x y" or a typed text, each before one Escape
    };
    const Case cases[] = {
        {145, {}},
        {145, {"click 50 0"}},
        {150, {}},
        {158, {}},
        {160, {}},
        {163, {}},
        {163, {"1,2"}},
        {186, {}},
        {186, {"click 10 10"}},
        {149, {}},
        {149, {"click 10 10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " after " + std::to_string(c.steps.size()) + " steps");
        Post(c.code);
        for (const std::string& step : c.steps) {
            if (step.rfind("click ", 0) == 0) {
                double x = 0, y = 0;
                std::sscanf(step.c_str(), "click %lf %lf", &x, &y);
                ClickAt(x, y);
            } else {
                Type(step);
            }
        }
        EXPECT_EQ(Pending(), c.code);
        EXPECT_EQ(Step(), SInt16(c.steps.size() == 1 && c.steps[0].rfind("click", 0) == 0 ? 1 : 0));
        Escape();
        EXPECT_EQ(Pending(), 0);
    }
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    EXPECT_EQ(doc->settings->drawingScale, settings.drawingScale);
    EXPECT_EQ(doc->settings->currentPenWidth100, settings.currentPenWidth100);
    EXPECT_EQ(doc->settings->currentColorIndex, settings.currentColorIndex);
    EXPECT_EQ(doc->drawing->view.unitsPerPixel, scale);
    EXPECT_EQ(doc->images[0].resolution, 72);
}

TEST_F(PendingValuesGui, ZoomPenWidthAndColourTakeCheckedTypedValues) {
    MessageCapture messages;
    // Zoom: 200 % is 0.5 units a pixel before the conversion of points to millimetres.
    Post(kZoomCommand);
    for (const char* refused : {"0", "-10"}) {
        Type(refused);
        EXPECT_EQ(messages.Last(), 193) << refused;
        EXPECT_EQ(Pending(), kZoomCommand);
        EXPECT_EQ(doc->drawing->view.unitsPerPixel, 0.5);
    }
    Type("200");
    EXPECT_EQ(Pending(), 0);
    EXPECT_NEAR(doc->drawing->view.unitsPerPixel, 0.5 * 25.4 / 72.0, 1e-15);
    EXPECT_TRUE(std::isfinite(doc->drawing->view.unitsPerPixel));

    // Pen width: from 0.01 up to below 99.99 mm; the nearest pen becomes current.
    // Width and colour of their own, not those of the pens.
    DocSettings* s = doc->settings;
    s->penMode = 0;
    for (int p = 0; p < 8; ++p)
        s->penWidths[p] = 0.1 * (p + 1);
    const SInt16 width = s->currentPenWidth100;
    for (const char* refused : {"0.005", "99.99", "-1"}) {
        messages.Clear();
        Post(kPenWidthCommand);
        Type(refused);
        EXPECT_EQ(messages.Last(), 192) << refused;
        EXPECT_EQ(Pending(), 0);
        EXPECT_EQ(s->currentPenWidth100, width);
    }
    Post(kPenWidthCommand);
    ClickAt(10, 10); // a click does nothing
    EXPECT_EQ(Pending(), kPenWidthCommand);
    Type("0.349");
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(s->currentPenWidth100, 35);
    EXPECT_EQ(s->currentPen, 3);

    // Custom colour: three whole numbers clamped to 0..255, stored times 257.
    Post(kCustomColourCommand);
    Type("300,-5");
    EXPECT_EQ(Pending(), kCustomColourCommand);
    Type("300,-5,128");
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(s->currentColor.red, 65535);
    EXPECT_EQ(s->currentColor.green, 0);
    EXPECT_EQ(s->currentColor.blue, 128 * 257);
    EXPECT_EQ(s->currentColorIndex, kCustomColourIndex);
}

TEST_F(PendingValuesGui, DrawingScaleTypedOrPickedAndNeverBelowTheSmallest) {
    DocSettings* s = doc->settings;
    s->drawingScale = 1;
    Draw(0, 0, 100, 0);
    doc->lineHead->next->scaleFactor = 2 * UnitToMillimetres(doc);
    BeginUndoStep(doc);
    AddLine(doc, 0, 50, 100, 50);
    EndUndoStep(doc);
    doc->lineHead->next->next->scaleFactor = 0;
    MessageCapture messages;

    Post(kDrawingScaleCommand);
    for (const char* refused : {"0.00000001", "0", "-2"}) {
        messages.Clear();
        Type(refused);
        EXPECT_EQ(messages.Last(), 148) << refused;
        EXPECT_EQ(Pending(), kDrawingScaleCommand);
        EXPECT_EQ(s->drawingScale, 1);
    }
    messages.Clear();
    ClickAnswered(50, 50); // drawn at scale 0: refused
    EXPECT_EQ(messages.Last(), 148);
    ClickAt(50, 120); // nothing there: the step waits
    EXPECT_EQ(Pending(), kDrawingScaleCommand);
    EXPECT_EQ(s->drawingScale, 1);
    ClickAt(50, 0);
    EXPECT_EQ(Pending(), 0);
    EXPECT_NEAR(s->drawingScale, 2, 1e-12);
    EXPECT_EQ(TypedDrawingScale(doc), 0);

    Post(kDrawingScaleCommand);
    Type("0.5");
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(s->drawingScale, 0.5);
    EXPECT_EQ(TypedDrawingScale(doc), 0.5);
}

TEST_F(PendingValuesGui, ImageResolutionFromAMeasuredLengthThroughDialog207) {
    MessageCapture messages;
    // Without images the command ends at once.
    ASSERT_TRUE(MenuItemAvailable(kEditMenu, 23));
    ChooseMenuItem(kEditMenu, 23);
    RunLoop();
    ClickAnswered(10, 10);
    EXPECT_EQ(messages.Last(), 194);
    EXPECT_EQ(Pending(), 0);

    AddImage();
    struct Case {
        const char* item5; // typed into the dialog, null to cancel it at once
        const char* item6; // after Tab, null for none
        bool refused;      // the alert shown, closed, and then the dialog cancelled
        double resolution;
    };
    const Case cases[] = {
        {"25", nullptr, false, 144}, // 50 measured is 25 long: twice the dots per inch
        {"25", "2", false, 72},      // and divided by 2
        {"0", nullptr, true, 72},    {"50", "0", true, 72},
        {"-5", nullptr, true, 72},   {nullptr, nullptr, false, 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item5 ? c.item5 : "Escape") +
                     (c.item6 ? std::string(" / ") + c.item6 : ""));
        doc->images[0].resolution = 72;
        ChooseMenuItem(kEditMenu, 23);
        RunLoop();
        ClickAt(10, 10);
        ASSERT_EQ(Step(), 1);
        messages.Clear();
        ClickAnswered(10, 10); // the same point measures nothing
        EXPECT_EQ(messages.Last(), 182);
        EXPECT_EQ(Step(), 1);
        messages.Clear();
        QueueClickAt(10, 60);
        if (c.item5 != nullptr) {
            QueueTypedText(c.item5);
            if (c.item6 != nullptr) {
                QueueKey(kKeyCodeTab, kTabCharCode);
                QueueTypedText(c.item6);
            }
            QueueKey(kKeyCodeReturn, kReturnCharCode);
        }
        if (c.refused) QueueKey(kKeyCodeReturn, kReturnCharCode); // closes the alert
        if (c.refused || c.item5 == nullptr) QueueKey(kKeyCodeEscape, kEscapeCharCode);
        RunLoop();
        EXPECT_EQ(Pending(), 0);
        EXPECT_NEAR(doc->images[0].resolution, c.resolution, 1e-9);
        EXPECT_EQ(messages.Last(), c.refused ? 195 : 0);
    }
}

// A drawing placed from the Open panel lands with its origin at the clicked point, in one undo
// step; a cancelled panel places nothing.
TEST_F(PendingValuesGui, PlaceFileReadsADrawingInAtTheClickedPointAsOneUndoStep) {
    const std::string path = MakeTestFolder("PlaceFile") + "/Part.cadx";
    DocWindowRecord* part = nullptr;
    ASSERT_TRUE(NewDocument(&part, nullptr, 0));
    BeginUndoStep(part);
    AddLine(part, 0, 0, 10, 0);
    AddArc(part, 0, 0, 5, 0, 360);
    EndUndoStep(part);
    ASSERT_EQ(FSMakeRef(path.c_str(), &part->drawing->file), noErr);
    ASSERT_TRUE(SaveDocument(part, true, false, false, false, false));
    DisposeDocumentWindow(part);
    FreshDocument();

    Draw(0, 100, 20, 100);
    SnapMode(0);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    bool answer = false;
    SetFilePanelResponders(
        [&](OpenPanelRequest&, std::string* chosen) {
            *chosen = path;
            return answer;
        },
        nullptr);
    Post(170);
    ClickAt(50, 40); // cancelled
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    answer = true;
    ASSERT_TRUE(ChooseMenuItem(kFileMenu, 4));
    RunLoop();
    ClickAt(50, 40);
    SetFilePanelResponders(nullptr, nullptr);
    EXPECT_EQ(Pending(), 0);
    ASSERT_EQ(Lines(), 2);
    const LineRecord* placed = doc->lineHead->next;
    EXPECT_NEAR(placed->x1, 50, 1e-9);
    EXPECT_NEAR(placed->y1, 40, 1e-9);
    EXPECT_NEAR(placed->x2, 60, 1e-9);
    ASSERT_NE(doc->arcHead->next, nullptr);
    EXPECT_NEAR(doc->arcHead->next->cx, 50, 1e-9);
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
}

// The picture's place and size are asked for and checked.
TEST_F(PendingValuesGui, PastePictureAsksForAPointAndAPositiveSize) {
    ClearCurrentScrap();
    MessageCapture messages;
    Post(149);
    ClickAt(20, 20);
    ASSERT_EQ(Step(), 1);
    Str255 text;
    CommandFieldGetText(doc, text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text + 1), text[0]), "100.00,100.00");
    Type("0,50");
    EXPECT_EQ(messages.Last(), 195);
    EXPECT_EQ(Step(), 1);
    Type("40,30");
    EXPECT_EQ(Pending(), 0);
}

// The proposed answer confirms, and the all-kinds name selects.
TEST(PendingValueTexts, ProposedAnswerIsAYesWordAndAllKindsIsAKindName) {
    ResetAppResources();
    Str255 proposed, yes1, yes2;
    GetIndString(proposed, 128, 188);
    GetIndString(yes1, 138, 1);
    GetIndString(yes2, 138, 2);
    ASSERT_GT(proposed[0], 0);
    EXPECT_TRUE(EqualPStr(proposed, yes1) || EqualPStr(proposed, yes2));
    EXPECT_TRUE(IsYesAnswer(proposed));
}

TEST_F(PendingValuesGui, AllKindsNameOfTheOriginCommandIsAcceptedBySelectAllOfKind) {
    Draw(0, 0, 100, 0);
    DrawCircle(50, 50, 20);
    Str255 all;
    GetIndString(all, 5000, 129);
    ASSERT_GT(all[0], 0);
    MessageCapture messages;
    EXPECT_TRUE(
        SelectAllOfKind(doc, std::string_view(reinterpret_cast<const char*>(all + 1), all[0]), false));
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_TRUE(doc->lineHead->next->selected && doc->arcHead->next->selected);
}

} // namespace
