// Deleting a large selection: in a window of a drawing of 1,000,000 lines, the 100,000 lines a
// rectangle holds are selected and deleted in one undo step, and Edit > Undo brings them back, each
// timed until the loop has painted the result. Goal: each at most 1 s.
#include "BenchDrawings.h"
#include "Model/ElementDeletion.h"
#include "Model/NewDocument.h"
#include "Model/SelectionCriteria.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Shell/MenuBar.h"
#include "Shell/MenuCommands.h"
#include "View/ContentPasses.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

long CountLines(const DocWindowRecord* doc) {
    long n = 0;
    for (const LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
        ++n;
    return n;
}

void DeleteRectangleSelectionAndUndo(benchmark::State& state) {
    bench::StartShell("bench_Delete");
    DocWindowRecord* doc = nullptr;
    if (!NewDrawing(&doc) || doc->window == nullptr) {
        state.SkipWithError("no window could be made");
        return;
    }
    bench::FillDrawing(doc, bench::Scaled(1000000), 0, 0);
    RedrawWindow(doc);
    bench::RunUntilPainted(doc);
    // A strip over the whole height holding about a tenth of the lines.
    const Float64 x1 = -20, y1 = -20, x2 = bench::kSheetWidth * 0.095 + 9, y2 = bench::kSheetHeight + 20;
    const Boolean kinds[kSelectKindCount] = {1, 1, 1, 1, 1, 1, 1, 1};
    double select = 0, erase = 0, erasePaint = 0, undo = 0, undoPaint = 0;
    long deleted = 0, before = CountLines(doc), restored = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        SelectInRectWithCriteria(doc, x1, y1, x2, y2, kinds);
        select = Seconds(start);
        start = std::chrono::steady_clock::now();
        BeginUndoStep(doc);
        deleted = DeleteSelectedElements(doc);
        EndUndoStep(doc);
        RedrawWindow(doc);
        erase = Seconds(start);
        start = std::chrono::steady_clock::now();
        bench::RunUntilPainted(doc);
        erasePaint = Seconds(start);

        start = std::chrono::steady_clock::now();
        MenuCommandGlobals.code = kEditMenu;
        MenuCommandGlobals.param = 1;
        DoMenuCommand(doc);
        undo = Seconds(start);
        start = std::chrono::steady_clock::now();
        bench::RunUntilPainted(doc);
        undoPaint = Seconds(start);
        state.PauseTiming();
        restored = CountLines(doc);
        state.ResumeTiming();
    }
    state.counters["lines"] = before;
    state.counters["deleted"] = deleted;
    state.counters["restored"] = restored;
    state.counters["select_s"] = select;
    state.counters["delete_s"] = erase;
    state.counters["deletePaint_s"] = erasePaint;
    state.counters["undo_s"] = undo;
    state.counters["undoPaint_s"] = undoPaint;
    state.SetLabel("goal: delete and undo, each until painted, at most 1 s");
    DisposeDocumentWindow(doc);
}

} // namespace

BENCHMARK(DeleteRectangleSelectionAndUndo)->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
