// A window redraw of one dashed circle of radius 10 km at 0.001 mm a pixel, crossing a 1920 x 1080
// view diagonally: 6e13 pixels round, of which a few thousand show. Only the visible pieces are laid
// out, so the redraw costs what a small visible part costs.
#include "BenchDrawings.h"
#include "View/ContentPasses.h"
#include "View/DrawCallRecorder.h"
#include "Platform/Windows.h"
#include "View/ViewTransform.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

DocWindowRecord* gDoc = nullptr;

DocWindowRecord* Drawing() {
    if (gDoc) return gDoc;
    bench::StartPlatform("bench_LargeArcRedraw");
    NewDocument(&gDoc, nullptr, 0);
    const Float64 r = 1e7, c = r / std::sqrt(2.0);
    ArcRecord* arc = AddArc(gDoc, -c, -c, r, 0, 360); // through the origin, at 45 degrees
    arc->lineType = 2;
    Rect bounds{40, 0, 40 + 1080, 1920};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window) != noErr) return nullptr;
    gDoc->window = window;
    gDoc->drawing->layout.statusHeight = 0;
    ComputeDrawingAreaMetrics(gDoc);
    DrawingRecord* d = gDoc->drawing;
    d->view.unitsPerPixel = 0.001;
    d->view.originX = -0.96;
    d->view.originY = -0.54;
    ComputeDrawingAreaMetrics(gDoc);
    return gDoc;
}

void BM_DashedCircleOf10kmAtAMicrometreAPixel(benchmark::State& state) {
    DocWindowRecord* doc = Drawing();
    if (!doc) {
        state.SkipWithError("no window could be made");
        return;
    }
    static long drawCalls;
    drawCalls = 0;
    SetDrawCallListener([](const DrawCall&, void*) { ++drawCalls; }, nullptr);
    UpdateViewExtent(doc, false);
    SetDrawCallListener(nullptr, nullptr);
    for (auto _ : state)
        UpdateViewExtent(doc, false);
    state.counters["drawCalls"] = Float64(drawCalls);
    state.SetLabel("goal <= 16 ms");
}

} // namespace

BENCHMARK(BM_DashedCircleOf10kmAtAMicrometreAPixel)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
