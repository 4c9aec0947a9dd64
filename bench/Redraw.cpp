// A full window redraw of a drawing of 1,000,000 lines, 100,000 arcs and 10,000 texts spread over an
// A0 sheet, into a 1920 x 1080 port: zoomed to the drawing's extents, and zoomed in so that one
// hundredth of the drawing shows. The visible-box test is what makes the second one cheap.
#include "View/ContentPasses.h"
#include "View/DrawCallRecorder.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Platform/PlatformApp.h"
#include "Files/Preferences.h"
#include "View/TextDrawing.h"
#include "Platform/Windows.h"
#include "View/ZoomExtents.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kLines = 1000000, kArcs = 100000, kTexts = 10000;
constexpr Float64 kSheetWidth = 1189, kSheetHeight = 841;
DocWindowRecord* gDoc = nullptr;

struct Random {
    UInt32 seed = 12345;
    Float64 Next() { // 0..1
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) & 0xFFFF) / 65535.0;
    }
    Float64 In(Float64 lo, Float64 hi) { return lo + (hi - lo) * Next(); }
};

DocWindowRecord* Drawing() {
    if (gDoc) return gDoc;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "bench_Redraw";
    static char* argv[] = {name, nullptr};
    PlatformInitialize(argc, argv);
    GeneralPrefs.roundLineCaps = 1;
    NewDocument(&gDoc, nullptr, 0);
    Random r;
    SeekLastLine(gDoc);
    for (int i = 0; i < kLines; ++i) {
        Float64 x = r.In(0, kSheetWidth), y = r.In(0, kSheetHeight);
        LineRecord* line = AppendLineAtCursor(gDoc, x, y, x + r.In(-10, 10), y + r.In(-10, 10), false);
        line->lineType = SInt16(1 + i % 6);
    }
    SeekLastArc(gDoc);
    for (int i = 0; i < kArcs; ++i) {
        Float64 start = r.In(0, 360);
        AppendArcAtCursor(gDoc, r.In(0, kSheetWidth), r.In(0, kSheetHeight), r.In(0.5, 10), start,
                          i % 3 ? start + r.In(10, 300) : start + 360, false);
    }
    TextRecord** slot = &gDoc->textHead->next;
    const char* words[] = {"Bolt M8", "Section A-A", "Detail 3", "Weld all round", "Scale 1:5"};
    for (int i = 0; i < kTexts; ++i) {
        TextRecord* t = NewTextElement(gDoc, slot);
        slot = &t->next;
        const char* w = words[i % 5];
        t->text[0] = UInt8(std::strlen(w));
        std::memcpy(t->text + 1, w, t->text[0]);
        t->layer = gDoc->settings->currentLayer;
        t->pen = 1;
        t->font = 3;
        t->textHeight = r.In(2.5, 5);
        t->x = t->x2 = r.In(0, kSheetWidth);
        t->y = t->y2 = r.In(0, kSheetHeight);
        Float64 width = TextStringWidth(t->font, 0, t->textHeight, t->text + 1, t->text[0]);
        const Float64 c[8] = {
            t->x, t->y, t->x + width, t->y, t->x + width, t->y + t->textHeight, t->x, t->y + t->textHeight};
        std::memcpy(t->corners, c, sizeof c);
    }
    Rect bounds{40, 0, 40 + 1080, 1920};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window) != noErr) return nullptr;
    gDoc->window = window;
    gDoc->drawing->layout.statusHeight = 0;
    ComputeDrawingAreaMetrics(gDoc);
    return gDoc;
}

void Redraw(benchmark::State& state, bool zoomedIn) {
    DocWindowRecord* doc = Drawing();
    if (!doc) {
        state.SkipWithError("no window could be made");
        return;
    }
    Float64 x1, y1, x2, y2;
    ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0);
    if (zoomedIn) {
        // A tenth of the width and of the height: one hundredth of the drawing.
        Float64 cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, w = (x2 - x1) / 20, h = (y2 - y1) / 20;
        ZoomToWorldRect(doc, cx - w, cy - h, cx + w, cy + h);
    }
    // One pass counted first: how many strokes, fills and texts a redraw hands to the context.
    static long drawCalls;
    drawCalls = 0;
    SetDrawCallListener([](const DrawCall&, void*) { ++drawCalls; }, nullptr);
    UpdateViewExtent(doc, false);
    SetDrawCallListener(nullptr, nullptr);
    for (auto _ : state)
        UpdateViewExtent(doc, false);
    state.counters["elements"] = kLines + kArcs + kTexts;
    state.counters["drawCalls"] = Float64(drawCalls);
}

void BM_FullRedrawAtExtents(benchmark::State& state) {
    Redraw(state, false);
}

void BM_FullRedrawOnePercentVisible(benchmark::State& state) {
    Redraw(state, true);
}

} // namespace

BENCHMARK(BM_FullRedrawAtExtents)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FullRedrawOnePercentVisible)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
