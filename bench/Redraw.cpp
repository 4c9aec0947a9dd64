// A full window redraw of a drawing of 1,000,000 lines, 100,000 arcs and 10,000 texts spread over an
// A0 sheet, into a 1920 x 1080 port: zoomed to the drawing's extents, and zoomed in so that one
// hundredth of the drawing shows. The visible-box test is what makes the second one cheap.
#include "BenchDrawings.h"
#include "View/ContentPasses.h"
#include "View/DrawCallRecorder.h"
#include "Files/Preferences.h"
#include "Platform/Windows.h"
#include "View/ZoomExtents.h"

#include <benchmark/benchmark.h>

namespace {

const int kLines = bench::Scaled(1000000), kArcs = bench::Scaled(100000), kTexts = bench::Scaled(10000);
DocWindowRecord* gDoc = nullptr;

DocWindowRecord* Drawing() {
    if (gDoc) return gDoc;
    bench::StartPlatform("bench_Redraw");
    GeneralPrefs.roundLineCaps = 1;
    NewDocument(&gDoc, nullptr, 0);
    bench::FillDrawing(gDoc, kLines, kArcs, kTexts);
    Rect bounds{40, 0, 40 + 1080, 1920};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window) != noErr) return nullptr;
    gDoc->window = window;
    gDoc->drawing->layout.statusHeight = 0;
    ComputeDrawingAreaMetrics(gDoc);
    return gDoc;
}

void Redraw(benchmark::State& state, bool zoomedIn, const char* goal) {
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
    state.SetLabel(goal);
}

void BM_FullRedrawAtExtents(benchmark::State& state) {
    Redraw(state, false, "goal <= 250 ms");
}

void BM_FullRedrawOnePercentVisible(benchmark::State& state) {
    Redraw(state, true, "goal <= 16 ms");
}

} // namespace

BENCHMARK(BM_FullRedrawAtExtents)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FullRedrawOnePercentVisible)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
