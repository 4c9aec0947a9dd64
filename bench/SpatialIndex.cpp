// The spatial index over 1,000,000 lines on an A0 sheet: rebuilding it after a change it was not
// told of in detail (the first query after a delete, an undo or a read), and the candidates of a
// view zoomed on a tenth of the sheet's width, and a pick where the lines are thickest.
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Model/SpatialIndex.h"
#include "Tools/Picking.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kLines = 1000000;

DocWindowRecord* TheDrawing() {
    static DocWindowRecord* doc = [] {
        DocWindowRecord* d = nullptr;
        NewDocument(&d, nullptr, 0);
        d->settings->undoOn = 0;
        d->drawing->view.unitsPerPixel = 0.1;
        std::mt19937 random(7);
        std::uniform_real_distribution<double> x(0, 1189), y(0, 841), s(-20, 20);
        SeekLastLine(d);
        for (int i = 0; i < kLines; ++i) {
            double px = x(random), py = y(random);
            AppendLineAtCursor(d, px, py, px + s(random), py + s(random), false)->drawn = 1;
        }
        return d;
    }();
    return doc;
}

void RebuildAfterChange(benchmark::State& state) {
    DocWindowRecord* doc = TheDrawing();
    std::vector<void*> out;
    for (auto _ : state) {
        SpatialIndexStale(doc);
        benchmark::DoNotOptimize(SpatialCandidates(doc, kLineElement, 500, 400, 501, 401, &out));
    }
}

void ZoomedViewCandidates(benchmark::State& state) {
    DocWindowRecord* doc = TheDrawing();
    std::vector<void*> out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SpatialCandidates(doc, kLineElement, 500, 400, 619, 484, &out));
        state.counters["candidates"] = double(out.size());
    }
}

// A line deleted (the list walk to its predecessor included), then a pick: the index takes the line
// out in place.
void DeleteThenPick(benchmark::State& state) {
    DocWindowRecord* doc = TheDrawing();
    std::vector<void*> out;
    SpatialCandidates(doc, kLineElement, 500, 400, 501, 401, &out);
    LineRecord* line = doc->lineHead->next;
    for (int i = 0; i < 400000; ++i)
        line = line->next;
    for (auto _ : state) {
        LineRecord* next = line->next;
        RemoveLine(doc, line);
        line = next;
        benchmark::DoNotOptimize(SpatialCandidates(doc, kLineElement, 500, 400, 501, 401, &out));
    }
}

// Some 700 lines share the cells around the cursor; the first of them in list order is the hit.
void PickInTheCrowd(benchmark::State& state) {
    DocWindowRecord* doc = TheDrawing();
    ToolInputState& in = doc->drawing->toolInput;
    double r = doc->settings->pickAperture * doc->drawing->view.unitsPerPixel;
    in.cursorX = 600, in.cursorY = 400;
    in.pickMinX = 600 - r, in.pickMaxX = 600 + r, in.pickMinY = 400 - r, in.pickMaxY = 400 + r;
    for (auto _ : state)
        benchmark::DoNotOptimize(PickLine(doc, kPickFind, false, false, nullptr));
}

} // namespace

BENCHMARK(RebuildAfterChange)->Unit(benchmark::kMillisecond);
BENCHMARK(ZoomedViewCandidates)->Unit(benchmark::kMillisecond);
BENCHMARK(DeleteThenPick)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(PickInTheCrowd)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
