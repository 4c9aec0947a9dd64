// Deleting a layer's elements: 100,000 lines on one layer of a drawing of 1,000,000 deleted as one
// undo step, and that step undone; and the scan of the used layers behind the printed layer list.
// Goals: delete and undo each under 0.5 s, the scan under 10 ms.
#include "BenchDrawings.h"
#include "Dialogs/LayerGridDialogs.h"
#include "Model/LayersFrames.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Model/UsedNumbers.h"
#include "Platform/FileManager.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

constexpr SInt16 kDeletedLayer = 7;

DocWindowRecord* Drawing(int lines) {
    DocWindowRecord* doc = nullptr;
    NewDocument(&doc, nullptr, 0);
    bench::FillDrawing(doc, lines, 0, 0);
    int i = 0;
    // Every tenth line on the layer to delete, the others over a hundred layers.
    for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next, ++i)
        e->layer = SInt16(i % 10 == 0 ? kDeletedLayer : 100 + i % 100);
    return doc;
}

void DeleteLayer(benchmark::State& state) {
    bench::StartPlatform("bench_LayerDelete");
    const int lines = bench::Scaled(1000000);
    DocWindowRecord* doc = Drawing(lines);
    double deleteSeconds = 0, undoSeconds = 0;
    long deleted = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        deleted = DeleteLayerElements(doc, kDeletedLayer);
        deleteSeconds = Seconds(start);
        start = std::chrono::steady_clock::now();
        UndoLastStep(doc);
        undoSeconds = Seconds(start);
    }
    long restored = 0;
    for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
        restored += e->layer == kDeletedLayer;
    state.counters["lines"] = lines;
    state.counters["deleted"] = deleted;
    state.counters["restored"] = restored;
    state.counters["delete_s"] = deleteSeconds;
    state.counters["undo_s"] = undoSeconds;
    state.counters["undo_on"] = IsUndoRecording(doc) ? 1 : 0;
    state.SetLabel("goal: delete and undo each under 0.5 s");
    DisposeDocumentRecords(doc);
}

void ScanUsedLayers(benchmark::State& state) {
    bench::StartPlatform("bench_LayerDelete");
    DocWindowRecord* doc = Drawing(bench::Scaled(1000000));
    SInt32 count = 0;
    for (auto _ : state) {
        LayerVisibilitySet used{};
        CollectUsedLayers(doc, &count, &used);
        benchmark::DoNotOptimize(used);
    }
    state.counters["layers_used"] = count;
    state.SetLabel("goal: under 10 ms");
    DisposeDocumentRecords(doc);
}

} // namespace

BENCHMARK(DeleteLayer)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ScanUsedLayers)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
