// Transforming large selections, undo on as a user has it: 1,000,000 selected lines moved in place;
// 10 rotated copies of 100,000 lines; and the G answer over a selection that spans 1,000 keys of a
// 1,000,000-line drawing (the key groups join the selection in one pass, then all move). Each step
// is timed from its first change to its undo step closed. Goal: each at most 1 s.
#include "BenchDrawings.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Model/Selection.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Tools/ToolState.h"
#include "Tools/TransformTools.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

DocWindowRecord* LinesDrawing(int count, int keys) {
    DocWindowRecord* doc = nullptr;
    NewDocument(&doc, nullptr, 0);
    SeekLastLine(doc);
    bench::Random r;
    for (int i = 0; i < count; ++i) {
        Float64 x = r.In(0, bench::kSheetWidth), y = r.In(0, bench::kSheetHeight);
        LineRecord* line = AppendLineAtCursor(doc, x, y, x + r.In(-10, 10), y + r.In(-10, 10), false);
        if (keys > 0) line->group = SInt16(1 + i % keys);
    }
    return doc;
}

void SelectEvery(DocWindowRecord* doc, int step) {
    int i = 0;
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next, ++i)
        if (i % step == 0) SetSelectedFlag(doc->drawing, &l->selected, 1);
}

void MoveAllSelected(benchmark::State& state) {
    const int n = bench::Scaled(1000000);
    DocWindowRecord* doc = LinesDrawing(n, 0);
    double seconds = 0;
    for (auto _ : state) {
        SelectEvery(doc, 1);
        TransformState* s = TransformStateOf(doc);
        s->kind = kTransformMove;
        s->offsetX = 5, s->offsetY = -3;
        auto start = std::chrono::steady_clock::now();
        BeginUndoStep(doc);
        TransformAllElements(doc, 0);
        EndUndoStep(doc);
        seconds = Seconds(start);
        DeselectAll(doc, false);
    }
    state.counters["move_s"] = seconds;
    state.counters["lines"] = n;
    state.counters["undo_on"] = IsUndoRecording(doc) ? 1 : 0;
    state.SetLabel("goal: at most 1 s");
    DisposeDocumentRecords(doc);
}

void TenRotatedCopies(benchmark::State& state) {
    const int n = bench::Scaled(100000);
    double seconds = 0;
    for (auto _ : state) {
        DocWindowRecord* doc = LinesDrawing(n, 0);
        SelectEvery(doc, 1);
        TransformState* s = TransformStateOf(doc);
        s->kind = kTransformRotate;
        s->refX = 600, s->refY = 400;
        s->angle = 36, s->cosine = std::cos(36 * 3.14159265358979323846 / 180),
        s->sine = std::sin(36 * 3.14159265358979323846 / 180);
        auto start = std::chrono::steady_clock::now();
        BeginUndoStep(doc);
        TransformAllElements(doc, 10);
        EndUndoStep(doc);
        seconds = Seconds(start);
        DisposeDocumentRecords(doc);
    }
    state.counters["copies_s"] = seconds;
    state.counters["lines_made"] = 10.0 * n;
    state.SetLabel("goal: at most 1 s");
}

void KeyGroupsOfAThousandKeys(benchmark::State& state) {
    const int n = bench::Scaled(1000000);
    DocWindowRecord* doc = LinesDrawing(n, 1000);
    double seconds = 0;
    for (auto _ : state) {
        // One selected line of each key (the first thousand lines); the G answer takes every line along.
        int i = 0;
        for (LineRecord* l = doc->lineHead->next; l != nullptr && i < 1000; l = l->next, ++i)
            SetSelectedFlag(doc->drawing, &l->selected, 1);
        ToolStateRecord* t = ToolStateOf(doc);
        t->refPoints[3] = ToolPoint{0, 0};
        t->refPoints[4] = ToolPoint{2, 2};
        auto start = std::chrono::steady_clock::now();
        CollectElementKeys(doc);
        BeginUndoStep(doc);
        TransformSelection(doc, kTransformMove, 0, false);
        EndUndoStep(doc);
        seconds = Seconds(start);
    }
    state.counters["keys"] = TransformStateOf(doc)->keyCount;
    state.counters["gmode_s"] = seconds;
    state.SetLabel("goal: at most 1 s");
    DisposeDocumentRecords(doc);
}

} // namespace

BENCHMARK(MoveAllSelected)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(TenRotatedCopies)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(KeyGroupsOfAThousandKeys)->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
