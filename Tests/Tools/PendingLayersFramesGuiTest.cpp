// The layer, frame, output-area and origin commands end to end: posted from their menu items (the
// origin by its code), driven by clicks, dragged rectangles and typed values, left by Escape at each
// step; layer changes and the origin move are one undo step that undo and redo take back and give
// again exactly, frames and output areas with the elements.
#include "../Model/DrawingSnapshot.h"
#include "Model/ElementRecords.h"
#include "Model/LayersFrames.h"
#include "Model/UndoJournal.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Shell/MenuCommands.h"
#include "ToolGuiFixture.h"
#include "Tools/PendingCommands.h"
#include "Tools/PendingLayersFrames.h"
#include "View/FramesOverlay.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using Rect4 = std::array<Float64, 4>;

class PendingLayersFramesGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        SnapMode(0);
        // A message shown on a press is answered by its default button.
        SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
        ClearRecordedAlerts();
    }
    // A line on the layer, drawn as a user would.
    LineRecord* LineOn(SInt16 layer, double x1, double y1, double x2, double y2) {
        doc->settings->currentLayer = layer;
        Draw(x1, y1, x2, y2);
        doc->settings->currentLayer = 0;
        return Last();
    }
    std::vector<SInt16> LineLayers() const {
        std::vector<SInt16> layers;
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            layers.push_back(l->layer);
        return layers;
    }
    SInt16 Pending() const { return doc->drawing->toolInput.pendingCommand; }
    std::string LastMessage() const {
        return RecordedAlerts().empty() ? "" : RecordedAlerts().back().params[0];
    }
    static std::string Message(SInt16 n) {
        Str255 s;
        GetIndString(s, 128, n);
        return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
    }
    int Frames() const {
        int n = 0;
        for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next)
            ++n;
        return n;
    }
    static Rect4 R(const Float64 r[4]) { return {r[0], r[1], r[2], r[3]}; }
    void Post(SInt16 menu, SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(menu, item));
        RunLoop();
    }
    void Escape() { Key(kKeyCodeEscape, 0x1B); }
    // A press inside the window, moved by (dx, dy) drawing units, released.
    void DragBy(double x, double y, double dx, double dy) {
        QueueDrag(doc->window,
                  {WindowPoint(x, y), WindowPoint(x + dx / 2, y + dy / 2), WindowPoint(x + dx, y + dy)});
        RunLoop();
    }
};

// Frames and output areas from two clicked corners, in either order; two corners on one line give
// the area's message and end the command with nothing made.
TEST_F(PendingLayersFramesGui, TwoCornersMakeAFrameOrAnOutputArea) {
    struct Row {
        const char* what;
        SInt16 menu, item;
        double x1, y1, x2, y2;
        SInt16 message; // 0: made
        std::function<Rect4()> made;
    };
    const Row rows[] = {
        {"a new page", 145, 1, 120, 80, 20, 20, 0,
         [this] { return doc->drawing->frames ? R(doc->drawing->frames->rect) : Rect4{}; }},
        {"the HPGL area", 131, 1, 20, 80, 120, 20, 0, [this] { return R(doc->settings->hpglArea); }},
        {"the PDF area", 131, 7, 20, 20, 120, 80, 0, [this] { return R(doc->settings->pdfArea); }},
        {"a flat page", 145, 1, 20, 20, 120, 20, 67, [this] { return Rect4{}; }},
        {"a flat HPGL area", 131, 1, 20, 20, 120, 20, 167, [this] { return R(doc->settings->hpglArea); }},
        {"a flat PDF area", 131, 7, 40, 20, 40, 80, 67, [this] { return R(doc->settings->pdfArea); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FreshDocument();
        SnapMode(0);
        ClearRecordedAlerts();
        const UInt32 drawnBefore = gFramesOverlayRectCount;
        Post(r.menu, r.item);
        EXPECT_EQ(Pending(), r.menu == 145 ? 156 : r.item == 1 ? 161 : 162);
        ClickAt(r.x1, r.y1);
        EXPECT_EQ(Step(), 1);
        ClickAt(r.x2, r.y2);
        EXPECT_EQ(Pending(), 0);
        if (r.message != 0) {
            EXPECT_EQ(LastMessage(), Message(r.message));
            EXPECT_EQ(r.made(), Rect4{});
            EXPECT_EQ(Frames(), 0);
            continue;
        }
        EXPECT_TRUE(RecordedAlerts().empty());
        EXPECT_EQ(r.made(), (Rect4{20, 20, 120, 80}));
        EXPECT_GT(gFramesOverlayRectCount, drawnBefore) << "the overlay was shown";
        EXPECT_TRUE(doc->drawing->changed);
        if (r.menu == 145) {
            ASSERT_EQ(Frames(), 1);
            EXPECT_EQ(doc->drawing->frames->name[0], 0);
        }
    }
}

// Corners typed in the command field serve as clicked ones.
TEST_F(PendingLayersFramesGui, TypedCornersMakeAFrame) {
    Post(145, 1);
    Type("120,80");
    EXPECT_EQ(Step(), 1);
    Type("20,20");
    EXPECT_EQ(Pending(), 0);
    ASSERT_EQ(Frames(), 1);
    EXPECT_EQ(R(doc->drawing->frames->rect), (Rect4{20, 20, 120, 80}));
}

// 157: the source and target layer typed or taken from a clicked element; a click beside every
// element leaves the step as it is; a typed layer out of range ends the command with message 62.
TEST_F(PendingLayersFramesGui, ElementsOfOneLayerMoveToAnother) {
    LineOn(3, 20, 20, 60, 20);
    LineOn(3, 20, 40, 60, 40);
    LineOn(7, 20, 60, 60, 60);
    LineOn(5, 20, 100, 60, 100);
    SetLayerVisible(doc->layerVisible, 3, false); // hidden elements move as well
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);

    Post(132, 6);
    ASSERT_EQ(Pending(), 157);
    ClickAt(300, 300); // nothing there
    EXPECT_EQ(Step(), 0);
    Type("3");
    EXPECT_EQ(Step(), 1);
    ClickAt(300, 300);
    EXPECT_EQ(Step(), 1);
    ClickAt(40, 60); // the line on layer 7
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(LineLayers(), (std::vector<SInt16>{7, 7, 7, 5}));
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);

    // Picked source, typed target; then a target out of range.
    Post(132, 6);
    ClickAt(40, 100);
    Type("0");
    EXPECT_EQ(LineLayers(), (std::vector<SInt16>{7, 7, 7, 0}));
    Post(132, 6);
    Type("7");
    Type("1024");
    EXPECT_EQ(LastMessage(), Message(62));
    EXPECT_EQ(Pending(), 0);
    EXPECT_EQ(LineLayers(), (std::vector<SInt16>{7, 7, 7, 0}));
}

// 168 and 185: three typed numbers, the range in either order; fewer values wait; a layer or a
// shifted layer outside 0..1023 gives message 62 before anything moves and the step waits again.
TEST_F(PendingLayersFramesGui, LayerRangesShiftAndCopy) {
    struct Row {
        const char* what;
        SInt16 item;
        std::string typed;
        std::vector<SInt16> layers;
        SInt16 message; // 0: done; -1: the step waits without one
    };
    const Row rows[] = {
        {"shift 3..5 up by 10", 7, "5,3,10", {13, 15, 9, 1023}, 0},
        {"shift down", 7, "3,5,-2", {1, 3, 9, 1023}, 0},
        {"two values wait", 7, "3,5", {3, 5, 9, 1023}, -1},
        {"four values wait", 8, "3,5,1,1", {3, 5, 9, 1023}, -1},
        {"a shift past 1023", 7, "3,1023,1", {3, 5, 9, 1023}, 62},
        {"a shift below 0", 7, "3,5,-4", {3, 5, 9, 1023}, 62},
        {"a layer out of range", 7, "3,1024,0", {3, 5, 9, 1023}, 62},
        {"copy 3..5 by 2", 8, "3,5,2", {3, 5, 9, 1023, 5, 7}, 0},
        {"copy down", 8, "9,9,-9", {3, 5, 9, 1023, 0}, 0},
        {"a copy past 1023", 8, "1020,1023,1", {3, 5, 9, 1023}, 62},
        {"a layer below 0", 8, "-1,3,2", {3, 5, 9, 1023}, 62},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FreshDocument();
        ClearRecordedAlerts();
        LineOn(3, 20, 20, 60, 20);
        LineOn(5, 20, 40, 60, 40);
        LineOn(9, 20, 60, 60, 60);
        LineOn(1023, 20, 80, 60, 80);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        Post(132, r.item);
        ASSERT_EQ(Pending(), r.item == 7 ? 168 : 185);
        Type(r.typed);
        EXPECT_EQ(LineLayers(), r.layers);
        if (r.message != 0) {
            EXPECT_EQ(LastMessage(), r.message > 0 ? Message(r.message) : "");
            EXPECT_EQ(Pending(), r.item == 7 ? 168 : 185) << "the step waits for new values";
            Escape();
            continue;
        }
        EXPECT_TRUE(RecordedAlerts().empty());
        EXPECT_EQ(Pending(), 0);
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
}

// 175: every element, on hidden layers too, every frame, saved view and output area move by minus
// the clicked point, the view with them; one undo step takes it all back and redo gives it again.
TEST_F(PendingLayersFramesGui, MovingTheOriginMovesEverythingInOneUndoStep) {
    LineOn(0, 120, 70, 160, 70);
    LineOn(4, 110, 90, 150, 95);
    SetLayerVisible(doc->layerVisible, 4, false);
    DrawCircle(140, 120, 10);
    static const unsigned char kName[] = "\x05Sheet";
    ASSERT_TRUE(NewFrameFromRect(doc, 0, 100, 50, 200, 150, kName));
    SavedViewRecord* view = NewSavedView();
    view->rect[0] = 100, view->rect[1] = 60, view->rect[2] = 140, view->rect[3] = 90;
    doc->drawing->savedViews = view;
    const Rect4 pdf{100, 50, 300, 200};
    std::copy(pdf.begin(), pdf.end(), doc->settings->pdfArea);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const double originX = doc->drawing->view.originX, originY = doc->drawing->view.originY;

    StartPendingCommand(doc, 175);
    ClickAt(100, 50);
    EXPECT_EQ(Pending(), 0);
    LineRecord* first = doc->lineHead->next;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LineLayers(), (std::vector<SInt16>{0, 4}));
    EXPECT_DOUBLE_EQ(first->x1, 20);
    EXPECT_DOUBLE_EQ(first->y1, 20);
    EXPECT_DOUBLE_EQ(first->next->x1, 10) << "on a hidden layer too";
    EXPECT_DOUBLE_EQ(doc->arcHead->next->cx, 40);
    EXPECT_EQ(R(doc->drawing->frames->rect), (Rect4{0, 0, 100, 100}));
    EXPECT_EQ(R(view->rect), (Rect4{0, 10, 40, 40}));
    EXPECT_EQ(R(doc->settings->pdfArea), (Rect4{0, 0, 200, 150}));
    EXPECT_EQ(R(doc->settings->hpglArea), Rect4{}) << "an area not set stays unset";
    EXPECT_DOUBLE_EQ(doc->drawing->view.originX, originX - 100);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originY, originY - 50);
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);

    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    EXPECT_EQ(R(doc->drawing->frames->rect), (Rect4{100, 50, 200, 150}));
    EXPECT_EQ(R(view->rect), (Rect4{100, 60, 140, 90}));
    EXPECT_EQ(R(doc->settings->pdfArea), pdf);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    EXPECT_EQ(R(doc->drawing->frames->rect), (Rect4{0, 0, 100, 100}));
    EXPECT_EQ(R(doc->settings->pdfArea), (Rect4{0, 0, 200, 150}));
}

// 180, 181, 182: each press moves the rectangle by the mouse's way and the command stays pending;
// an area not set is not moved. 174: the page of the paper format lands with its lower-left corner
// at the release point as the PDF area.
TEST_F(PendingLayersFramesGui, RectanglesMoveWithTheMouseUntilEscape) {
    static const unsigned char kName[] = "\x01P";
    ASSERT_TRUE(NewFrameFromRect(doc, 0, 0, 0, 10, 10, kName));
    ASSERT_TRUE(NewFrameFromRect(doc, 0, 100, 50, 200, 150, kName));
    const Rect4 hpgl{20, 20, 60, 40};
    std::copy(hpgl.begin(), hpgl.end(), doc->settings->hpglArea);

    doc->drawing->toolInput.frameNumber = 2;
    StartPendingCommand(doc, 180);
    DragBy(150, 100, 30, -20);
    EXPECT_EQ(R(doc->drawing->frames->next->rect), (Rect4{130, 30, 230, 130}));
    EXPECT_EQ(R(doc->drawing->frames->rect), (Rect4{0, 0, 10, 10}));
    DragBy(150, 100, -10, 0);
    EXPECT_EQ(R(doc->drawing->frames->next->rect), (Rect4{120, 30, 220, 130}));
    EXPECT_EQ(Pending(), 180);
    Escape();
    EXPECT_EQ(Pending(), 0);

    Post(131, 2);
    ASSERT_EQ(Pending(), 181);
    DragBy(40, 30, 10, 10);
    EXPECT_EQ(R(doc->settings->hpglArea), (Rect4{30, 30, 70, 50}));
    Escape();
    StartPendingCommand(doc, 182);
    DragBy(40, 30, 10, 10);
    EXPECT_EQ(R(doc->settings->pdfArea), Rect4{}) << "no PDF area to move";
    Escape();

    doc->settings->paperFormat = 1;
    Post(131, 8);
    ASSERT_EQ(Pending(), 174);
    DragBy(40, 30, 10, 20);
    EXPECT_EQ(R(doc->settings->pdfArea), (Rect4{50, 50, 260, 347}));
    EXPECT_EQ(Pending(), 174);
    Escape();
    EXPECT_EQ(Pending(), 0);
}

// Escape at every step of every command ends it with nothing changed.
TEST_F(PendingLayersFramesGui, EscapeEndsEveryStep) {
    LineOn(3, 20, 20, 60, 20);
    struct Row {
        SInt16 code;
        std::function<void()> toStep;
    };
    const Row rows[] = {
        {156, [] {}}, {156, [this] { ClickAt(20, 80); }},
        {157, [] {}}, {157, [this] { Type("3"); }},
        {161, [] {}}, {161, [this] { ClickAt(20, 80); }},
        {162, [] {}}, {162, [this] { ClickAt(20, 80); }},
        {168, [] {}}, {168, [this] { Type("3,5"); }},
        {173, [] {}}, {174, [] {}},
        {175, [] {}}, {178, [] {}},
        {180, [] {}}, {181, [] {}},
        {182, [] {}}, {184, [] {}},
        {185, [] {}}, {185, [this] { Type("1"); }},
    };
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        StartPendingCommand(doc, r.code);
        r.toStep();
        ASSERT_EQ(Pending(), r.code);
        Escape();
        EXPECT_EQ(Pending(), 0);
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        EXPECT_EQ(doc->drawing->frames, nullptr);
        EXPECT_EQ(R(doc->settings->pdfArea), Rect4{});
        EXPECT_EQ(R(doc->settings->hpglArea), Rect4{});
    }
}

// The items that post these commands are enabled.
TEST_F(PendingLayersFramesGui, MenuItemsOfTheCommands) {
    for (auto [menu, item] : std::vector<std::pair<SInt16, SInt16>>{{131, 1},
                                                                    {131, 2},
                                                                    {131, 5},
                                                                    {131, 7},
                                                                    {131, 9},
                                                                    {132, 6},
                                                                    {132, 7},
                                                                    {132, 8},
                                                                    {145, 1},
                                                                    {145, 2},
                                                                    {198, 22}})
        EXPECT_TRUE(MenuItemAvailable(menu, item)) << menu << "/" << item;
}

} // namespace
