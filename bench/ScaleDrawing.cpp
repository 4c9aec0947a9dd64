// Scaling the whole drawing to a measured line, undo on as a user has it: 1,000,000 lines and
// 100,000 arcs (a tenth of them on a hidden layer) scaled in one undo step, then that step undone,
// each timed from its first change to its end. Goal: at most 1 s per 100,000 elements.
#include "BenchDrawings.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Tools/PendingValues.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void ScaleWholeDrawingAndUndo(benchmark::State& state) {
    bench::StartPlatform("bench_ScaleDrawing");
    DocWindowRecord* doc = nullptr;
    NewDocument(&doc, nullptr, 0);
    const int lines = bench::Scaled(1000000), arcs = bench::Scaled(100000);
    bench::FillDrawing(doc, lines, arcs, 0);
    int i = 0;
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        if (++i % 10 == 0) l->layer = 7;
    SetLayerVisible(doc->layerVisible, 7, false);
    double scale = 0, undo = 0;
    Float64 factor = 2;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        ScaleWholeDrawing(doc, factor);
        scale = Seconds(start);
        start = std::chrono::steady_clock::now();
        UndoLastStep(doc);
        undo = Seconds(start);
        factor = factor == 2 ? 0.5 : 2;
    }
    const double per100k = 100000.0 / (lines + arcs);
    state.counters["elements"] = lines + arcs;
    state.counters["undo_on"] = IsUndoRecording(doc) ? 1 : 0;
    state.counters["scale_s"] = scale;
    state.counters["undo_s"] = undo;
    state.counters["scale_s_per_100k"] = scale * per100k;
    state.counters["undo_s_per_100k"] = undo * per100k;
    state.SetLabel("goal: scale and undo each at most 1 s per 100,000 elements");
    DisposeDocumentRecords(doc);
}

} // namespace

BENCHMARK(ScaleWholeDrawingAndUndo)->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
