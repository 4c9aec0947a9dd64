// The undo journal on large drawings: 100,000 steps of one line each, and one step of 100,000
// lines recorded, undone and redone; and Edit > Undo of that step in a window of a drawing of
// 1,000,000 lines, until the loop has painted the result.
#include "BenchDrawings.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Shell/MenuBar.h"
#include "Shell/MenuCommands.h"
#include "View/ContentPasses.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

const int kLines = bench::Scaled(100000);

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// A drawing grows by 100,000 one-line steps; the journal keeps the last 999 of them, which are
// then undone one by one on a drawing of nearly 100,000 lines.
void SingleLineSteps(benchmark::State& state) {
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        NewDocument(&doc, nullptr, 0);
        SeekLastLine(doc);
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kLines; ++i) {
            BeginUndoStep(doc);
            AppendLineAtCursor(doc, i, 0, i, 10, true);
            EndUndoStep(doc);
        }
        double record = Seconds(start);
        start = std::chrono::steady_clock::now();
        int undone = 0;
        while (doc->drawing->undo.undoStepCount > 0) {
            UndoLastStep(doc);
            ++undone;
        }
        double undo = Seconds(start);
        state.counters["record_s"] = record;
        state.counters["record_us_per_step"] = record * 1e6 / kLines;
        state.counters["undo_s"] = undo;
        state.counters["undo_ms_per_step"] = undo * 1e3 / undone;
        state.counters["undone_steps"] = undone;
        DisposeDocumentRecords(doc);
    }
}

// 100,000 one-line steps, each recorded and undone at once, on a drawing of 10,000 lines.
void RecordAndUndoEachStep(benchmark::State& state) {
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        NewDocument(&doc, nullptr, 0);
        SeekLastLine(doc);
        for (int i = 0; i < 10000; ++i)
            AppendLineAtCursor(doc, -i, 0, -i, 10, false);
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kLines; ++i) {
            BeginUndoStep(doc);
            AppendLineAtCursor(doc, i, 0, i, 10, true);
            EndUndoStep(doc);
            UndoLastStep(doc);
        }
        double total = Seconds(start);
        state.counters["total_s"] = total;
        state.counters["us_per_step"] = total * 1e6 / kLines;
        DisposeDocumentRecords(doc);
    }
}

void OneStepOfManyLines(benchmark::State& state) {
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        NewDocument(&doc, nullptr, 0);
        SeekLastLine(doc);
        auto start = std::chrono::steady_clock::now();
        BeginUndoStep(doc);
        for (int i = 0; i < kLines; ++i)
            AppendLineAtCursor(doc, i, 0, i, 10, true);
        EndUndoStep(doc);
        state.counters["record_s"] = Seconds(start);
        start = std::chrono::steady_clock::now();
        UndoLastStep(doc);
        state.counters["undo_s"] = Seconds(start);
        start = std::chrono::steady_clock::now();
        RedoStep(doc);
        state.counters["redo_s"] = Seconds(start);
        DisposeDocumentRecords(doc);
    }
}

// Edit > Undo as the menu runs it, then the loop's passes until the window is painted again.
void UndoOfManyLinesUntilPainted(benchmark::State& state) {
    bench::StartShell("bench_UndoJournal");
    DocWindowRecord* doc = nullptr;
    if (!NewDrawing(&doc) || doc->window == nullptr) {
        state.SkipWithError("no window could be made");
        return;
    }
    bench::FillDrawing(doc, bench::Scaled(1000000), 0, 0);
    bench::RunUntilPainted(doc);
    double undo = 0, paint = 0;
    UInt32 paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SeekLastLine(doc);
        BeginUndoStep(doc);
        bench::Random r;
        for (int i = 0; i < kLines; ++i) {
            Float64 x = r.In(0, bench::kSheetWidth), y = r.In(0, bench::kSheetHeight);
            AppendLineAtCursor(doc, x, y, x + 5, y + 5, true);
        }
        EndUndoStep(doc);
        bench::RunUntilPainted(doc);
        state.ResumeTiming();
        gWindowRedrawCount = 0;
        auto start = std::chrono::steady_clock::now();
        MenuCommandGlobals.code = kEditMenu;
        MenuCommandGlobals.param = 1;
        DoMenuCommand(doc);
        undo = Seconds(start);
        start = std::chrono::steady_clock::now();
        bench::RunUntilPainted(doc);
        paint = Seconds(start);
        paints = gWindowRedrawCount;
    }
    state.counters["undoCommand_s"] = undo;
    state.counters["loopUntilPainted_s"] = paint;
    state.counters["paints"] = paints;
    state.SetLabel("goal: report");
    DisposeDocumentWindow(doc);
}

} // namespace

BENCHMARK(UndoOfManyLinesUntilPainted)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(SingleLineSteps)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordAndUndoEachStep)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(OneStepOfManyLines)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
