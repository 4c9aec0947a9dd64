// Tracing an area's outline around the longest polyline a drawing holds (32,767 vertices, the most
// a polyline's count and an outline's last index can say), in a window: one click on the polyline and
// Return (its points taken whole), and two clicks (its segments as a chain of line picks, each joined
// to the next by intersection). The time per vertex shows how far a longer boundary would go.
#include "BenchDrawings.h"
#include "Files/Preferences.h"
#include "Model/Polylines.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Tools/AreaOutlines.h"
#include "Tools/AreaPicks.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

const int kVertices = std::min(bench::Scaled(32767), 32767);

void PointAt(DocWindowRecord* doc, Float64 x, Float64 y) {
    DrawingRecord* d = doc->drawing;
    Float64 r = doc->settings->pickAperture * d->view.unitsPerPixel;
    d->toolInput.cursorX = x, d->toolInput.cursorY = y;
    d->toolInput.pickMinX = x - r, d->toolInput.pickMaxX = x + r;
    d->toolInput.pickMinY = y - r, d->toolInput.pickMaxY = y + r;
}

void Click(DocWindowRecord* doc, Float64 x, Float64 y) {
    PointAt(doc, x, y);
    CommandFieldOf(doc)->valueCount = 0;
    CreateAreaFromPicks(doc);
}

void Return(DocWindowRecord* doc) {
    CommandFieldOf(doc)->valueCount = -1;
    CreateAreaFromPicks(doc);
}

// A closed wavy ring about (500, 400): kVertices - 1 distinct vertices and the first again.
DocWindowRecord* RingDrawing(benchmark::State& state, Float64* firstX, Float64* firstY, Float64* halfX,
                             Float64* halfY) {
    bench::StartShell("bench_AreaTrace");
    DocWindowRecord* doc = nullptr;
    if (!NewDrawing(&doc) || doc->window == nullptr) {
        state.SkipWithError("no window could be made");
        return nullptr;
    }
    GeneralPrefs.currentToolGroup = 9;
    GeneralPrefs.currentSubTool = 0;
    doc->drawing->view.unitsPerPixel = 1;
    doc->drawing->view.originX = doc->drawing->view.originY = 0;
    const int distinct = kVertices - 1;
    for (int i = 0; i <= distinct; ++i) {
        Float64 a = 2 * M_PI * (i % distinct) / distinct, r = 350 + 5 * std::sin(40 * a);
        doc->drawing->toolInput.cursorX = 500 + r * std::cos(a);
        doc->drawing->toolInput.cursorY = 400 + r * std::sin(a);
        AppendTempPoint(doc);
    }
    PolylineRecord* ring = nullptr;
    if (!BuildPolylineFromPoints(doc, &ring, kPolylineSegments, true, 0, 0)) {
        state.SkipWithError("no polyline could be made");
        return nullptr;
    }
    bench::RunUntilPainted(doc);
    *firstX = 850, *firstY = 400;
    *halfX = 500 + 355 * std::cos(M_PI), *halfY = 400;
    ResetToolState(doc, 0);
    return doc;
}

void Finish(benchmark::State& state, DocWindowRecord* doc, bool traced) {
    if (!traced) state.SkipWithError("the trace failed");
    state.counters["vertices"] = kVertices;
    state.counters["us_per_vertex"] = benchmark::Counter(
        Float64(kVertices), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel("goal: 100,000 vertices <= 0.5 s");
    DisposeDocumentWindow(doc);
}

void TraceAroundOnePickedPolyline(benchmark::State& state) {
    Float64 x, y, hx, hy;
    DocWindowRecord* doc = RingDrawing(state, &x, &y, &hx, &hy);
    if (doc == nullptr) return;
    bool traced = true;
    for (auto _ : state) {
        Click(doc, x, y);
        Return(doc);
        traced &= LastOutlineContour(doc) == 0 && OutlinePointCount(doc) == 0;
        state.PauseTiming();
        ResetToolState(doc, 0);
        state.ResumeTiming();
    }
    Finish(state, doc, traced);
}
BENCHMARK(TraceAroundOnePickedPolyline)->Unit(benchmark::kMillisecond)->Iterations(5);

void TraceAroundAPolylineRun(benchmark::State& state) {
    Float64 x, y, hx, hy;
    DocWindowRecord* doc = RingDrawing(state, &x, &y, &hx, &hy);
    if (doc == nullptr) return;
    bool traced = true;
    for (auto _ : state) {
        Click(doc, x, y);
        Click(doc, hx, hy);
        Return(doc);
        traced &= LastOutlineContour(doc) == 0;
        state.PauseTiming();
        ResetToolState(doc, 0);
        state.ResumeTiming();
    }
    Finish(state, doc, traced);
}
BENCHMARK(TraceAroundAPolylineRun)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
