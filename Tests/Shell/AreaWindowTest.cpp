// A hatched area with a hole in a document window of the running shell: drawn by the window update,
// taken back by Undo and brought back by Redo with its hole.
#include "ShellTestSupport.h"
#include "Model/UndoJournal.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/KeyDispatch.h"
#include "Tools/AreaOutlines.h"

namespace {

void Square(DocWindowRecord* doc, Float64 x0, Float64 y0, Float64 x1, Float64 y1) {
    AppendOutlinePoint(doc, x0, y0);
    AppendOutlinePoint(doc, x1, y0);
    AppendOutlinePoint(doc, x1, y1);
    AppendOutlinePoint(doc, x0, y1);
    AppendOutlinePoint(doc, x0, y0);
    PushOutlineContour(doc);
}

// Pixels of the drawing area that are not the background, in the outer ring of the area and in its hole.
void CountInk(DocWindowRecord* doc, int* ring, int* hole) {
    const DrawingRecord* d = doc->drawing;
    *ring = *hole = 0;
    for (SInt16 v = 0; v < d->view.viewHeight; ++v)
        for (SInt16 h = 0; h < d->view.viewWidth; ++h) {
            RGBColor c = GetPortPixel(GetWindowPort(doc->window), h, v);
            if (c.red >= 0xE000 && c.green >= 0xE000 && c.blue >= 0xE000) continue;
            Float64 fx = (h + 0.5) / d->view.viewWidth, fy = 1 - (v + 0.5) / d->view.viewHeight;
            if (fx > 0.42 && fx < 0.58 && fy > 0.42 && fy < 0.58)
                ++*hole;
            else if (fx > 0.26 && fx < 0.74 && fy > 0.26 && fy < 0.74)
                ++*ring;
        }
}

} // namespace

TEST_F(ShellTest, AHatchedAreaWithAHoleIsDrawnUndoneAndRedone) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    RunLoop();
    const DrawingRecord* d = doc->drawing;
    Float64 x0 = d->view.originX, y0 = d->view.originY;
    Float64 w = d->view.viewWidth * d->view.unitsPerPixel, h = d->view.viewHeight * d->view.unitsPerPixel;
    auto X = [&](Float64 f) { return x0 + f * w; };
    auto Y = [&](Float64 f) { return y0 + f * h; };
    Square(doc, X(0.25), Y(0.25), X(0.75), Y(0.75));
    Square(doc, X(0.4), Y(0.4), X(0.6), Y(0.6));
    BeginUndoStep(doc);
    AreaRecord* area = CreateAreaElement(doc, 10 * d->view.unitsPerPixel, 45, -1, true);
    EndUndoStep(doc);
    ASSERT_NE(area, nullptr);
    RunLoop();
    int ring, hole;
    CountInk(doc, &ring, &hole);
    EXPECT_GT(ring, 100);
    EXPECT_EQ(hole, 0);

    QueueCommandKey(kKeyCodeZ, 'z');
    RunLoop();
    RunPasses(1); // the deferred redraw
    EXPECT_EQ(doc->areaHead->next, nullptr);
    CountInk(doc, &ring, &hole);
    EXPECT_EQ(ring, 0);

    QueueCommandKey(kKeyCodeZ, 'z', shiftKey);
    RunLoop();
    RunPasses(1);
    ASSERT_NE(doc->areaHead->next, nullptr);
    EXPECT_EQ(doc->areaHead->next->lastHoleIndex, 0);
    CountInk(doc, &ring, &hole);
    EXPECT_GT(ring, 100);
    EXPECT_EQ(hole, 0);
}
