// Picking and snapping in a drawing of 1,000,000 lines spread over an A0 sheet: a pick that walks
// the whole list (the hit is the last line), a pick that finds nothing, a snap to an element point,
// and the two clicks of an intersection snap.
#include "BenchDrawings.h"
#include "Tools/CommandField.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

const int kLines = bench::Scaled(1000000);

struct Drawing {
    DocWindowRecord* doc = nullptr;

    Drawing() {
        NewDocument(&doc, nullptr, 0);
        doc->settings->undoOn = 0;
        doc->drawing->view.unitsPerPixel = 0.1;
        std::mt19937 random(7);
        std::uniform_real_distribution<double> x(0, 1189), y(0, 841), d(-20, 20);
        SeekLastLine(doc);
        // Short lines everywhere but around (2000, 2000), where the last two lines cross.
        for (int i = 0; i < kLines - 2; ++i) {
            double px = x(random), py = y(random);
            LineRecord* line = AppendLineAtCursor(doc, px, py, px + d(random), py + d(random), false);
            line->drawn = 1;
        }
        AppendLineAtCursor(doc, 1990, 1990, 2010, 2010, false)->drawn = 1;
        AppendLineAtCursor(doc, 1990, 2010, 2010, 1990, false)->drawn = 1;
        // Open, so the snap's deselection runs as it does in a window.
        OpenDocumentList = doc;
    }
    ~Drawing() {
        OpenDocumentList = nullptr;
        DisposeDocumentRecords(doc);
    }

    void PointAt(double x, double y) {
        DrawingRecord* d = doc->drawing;
        double r = doc->settings->pickAperture * d->view.unitsPerPixel;
        d->toolInput.cursorX = x, d->toolInput.cursorY = y;
        d->toolInput.pickMinX = x - r, d->toolInput.pickMaxX = x + r, d->toolInput.pickMinY = y - r,
        d->toolInput.pickMaxY = y + r;
        CommandFieldOf(doc)->valueCount = 0;
    }
};

Drawing& TheDrawing() {
    static Drawing drawing;
    return drawing;
}

void PickLastLine(benchmark::State& state) {
    Drawing& d = TheDrawing();
    for (auto _ : state) {
        d.PointAt(1995, 1995);
        benchmark::DoNotOptimize(PickLine(d.doc, kPickFind, false, false, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("goal <= 1 ms");
}

void PickNothing(benchmark::State& state) {
    Drawing& d = TheDrawing();
    for (auto _ : state) {
        d.PointAt(-500, -500);
        benchmark::DoNotOptimize(PickLine(d.doc, kPickFind, true, false, nullptr));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetLabel("goal <= 1 ms");
}

void SnapElementPoint(benchmark::State& state) {
    Drawing& d = TheDrawing();
    d.doc->settings->snapMode = kSnapElementPoint;
    for (auto _ : state) {
        d.PointAt(2004, 1996);
        benchmark::DoNotOptimize(SnapCursor(d.doc));
    }
    state.SetLabel("goal <= 1 ms");
}

// Both clicks of an intersection snap: two walks of the list and a clearing of the selection.
void SnapIntersection(benchmark::State& state) {
    Drawing& d = TheDrawing();
    d.doc->settings->snapMode = kSnapIntersection;
    d.PointAt(1993, 1993);
    SnapCursor(d.doc);
    d.PointAt(1993, 2007);
    if (!SnapCursor(d.doc)) state.SkipWithError("the two clicks found no intersection");
    for (auto _ : state) {
        d.PointAt(1993, 1993);
        SnapCursor(d.doc);
        d.PointAt(1993, 2007);
        benchmark::DoNotOptimize(SnapCursor(d.doc));
    }
    state.SetLabel("goal <= 1 ms");
}

} // namespace

BENCHMARK(PickLastLine)->Unit(benchmark::kMillisecond);
BENCHMARK(PickNothing)->Unit(benchmark::kMillisecond);
BENCHMARK(SnapElementPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(SnapIntersection)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
