// Input to the first changed pixels on the goal drawing (1,000,000 lines and 100,000 arcs in a window
// at its extents): a wheel notch that zooms and one that scrolls, each fed to the event loop as the
// user's wheel is and timed until the handler has changed the window; the loop's full redraw after a
// zoom notch is counted apart.
#include "BenchDrawings.h"
#include "Files/Preferences.h"
#include "Platform/SimulatedInput.h"
#include "Platform/Windows.h"
#include "Shell/DocumentServices.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

DocWindowRecord* GoalDrawing() {
    static DocWindowRecord* doc = nullptr;
    if (doc != nullptr) return doc;
    bench::StartShell("bench_ViewResponse");
    if (!NewDrawing(&doc) || doc->window == nullptr) return doc = nullptr;
    bench::FillDrawing(doc, bench::Scaled(1000000), bench::Scaled(100000), 0);
    Float64 x1, y1, x2, y2;
    ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0);
    ZoomToWorldRect(doc, x1, y1, x2, y2);
    RequestRedraw(doc);
    bench::RunUntilPainted(doc);
    return doc;
}

Point AreaCentre(DocWindowRecord* doc) {
    Rect b;
    GetWindowContentBounds(doc->window, &b);
    return Point{SInt16(b.top + doc->drawing->view.viewHeight / 2),
                 SInt16(b.left + doc->drawing->view.viewWidth / 2)};
}

// Notches in and out (or down and up) by turns, so the view stays about the extents.
void WheelNotch(benchmark::State& state, bool zoom) {
    DocWindowRecord* doc = GoalDrawing();
    if (doc == nullptr) {
        state.SkipWithError("no window could be made");
        return;
    }
    GeneralPrefs.wheelZoom = zoom ? 1 : 0;
    const DrawingViewState& view = doc->drawing->view;
    double redraw = 0;
    int notches = 0;
    SInt32 delta = zoom ? 1 : 8;
    for (auto _ : state) {
        const Float64 scale = view.unitsPerPixel, originX = view.originX, originY = view.originY;
        SimulateWheel(doc->window, AreaCentre(doc), kEventMouseWheelAxisY, delta, 0);
        auto start = std::chrono::steady_clock::now();
        EventLoopPass();
        state.SetIterationTime(Seconds(start));
        if (scale == view.unitsPerPixel && originX == view.originX && originY == view.originY) {
            state.SkipWithError("the notch left the view where it was");
            break;
        }
        start = std::chrono::steady_clock::now();
        bench::RunUntilPainted(doc);
        redraw += Seconds(start);
        ++notches;
        delta = -delta;
    }
    state.counters["redrawAfter_ms"] = notches ? 1000 * redraw / notches : 0;
    state.counters["viewWidth"] = view.viewWidth;
    state.counters["viewHeight"] = view.viewHeight;
    state.SetLabel("goal <= 50 ms to the first changed pixels");
}

void BM_WheelZoomNotch(benchmark::State& state) {
    WheelNotch(state, true);
}
BENCHMARK(BM_WheelZoomNotch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_WheelScrollStep(benchmark::State& state) {
    WheelNotch(state, false);
}
BENCHMARK(BM_WheelScrollStep)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
