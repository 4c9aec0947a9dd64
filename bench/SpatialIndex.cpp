// The spatial index over 1,000,000 lines on an A0 sheet: rebuilding it after a change it was not
// told of in detail (the first query after a delete, an undo or a read), and the candidates of a
// view zoomed on a tenth of the sheet's width.
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Model/SpatialIndex.h"

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
        std::mt19937 random(7);
        std::uniform_real_distribution<double> x(0, 1189), y(0, 841), s(-20, 20);
        SeekLastLine(d);
        for (int i = 0; i < kLines; ++i) {
            double px = x(random), py = y(random);
            AppendLineAtCursor(d, px, py, px + s(random), py + s(random), false);
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

} // namespace

BENCHMARK(RebuildAfterChange)->Unit(benchmark::kMillisecond);
BENCHMARK(ZoomedViewCandidates)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
