// A new drawing unit rescales the element sizes: 1,000,000 elements (880,000 lines, 100,000 arcs,
// 10,000 texts and 10,000 dimensions), every unit factor multiplied and every dimension text rebuilt,
// with undo on as a user has it. Goal: under 1 s.
#include "BenchDrawings.h"
#include "Dialogs/DrawingFormatDialog.h"
#include "Model/Dimensions.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

void AddDimensions(DocWindowRecord* doc, int count) {
    bench::Random r;
    for (int i = 0; i < count; ++i) {
        const Float64 x = r.In(0, bench::kSheetWidth - 50), y = r.In(0, bench::kSheetHeight - 20);
        CreateHorizontalDimension(doc, x, y, x + r.In(5, 50), y, x, y + 10, nullptr, nullptr, nullptr);
    }
}

void RescaleElementSizesOfAMillion(benchmark::State& state) {
    bench::StartPlatform("bench_RescaleSizes");
    DocWindowRecord* doc = nullptr;
    NewDocument(&doc, nullptr, 0);
    const int lines = bench::Scaled(880000), arcs = bench::Scaled(100000), texts = bench::Scaled(10000),
              dimensions = bench::Scaled(10000);
    bench::FillDrawing(doc, lines, arcs, texts);
    AddDimensions(doc, dimensions);
    Float64 factor = 10;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        RescaleElementSizes(doc, factor);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        factor = factor == 10 ? 0.1 : 10;
    }
    state.counters["elements"] = lines + arcs + texts + dimensions;
    state.counters["dimensions"] = dimensions;
    state.counters["undo_on"] = IsUndoRecording(doc) ? 1 : 0;
    state.counters["rescale_s"] = seconds;
    state.SetLabel("goal: under 1 s");
    DisposeDocumentRecords(doc);
}

} // namespace

BENCHMARK(RescaleElementSizesOfAMillion)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
