// Moving the origin of a drawing of 1,000,000 lines and 100,000 arcs (every element, the frames and
// the output areas, one undo step) and that step undone; and 1,000,000 lines moved to another layer
// and undone. Goal: each at most 1 s per 100,000 elements.
#include "BenchDrawings.h"
#include "Model/LayersFrames.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Tools/PendingCommands.h"
#include "Tools/ToolState.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

DocWindowRecord* Drawing(int lines, int arcs) {
    DocWindowRecord* doc = nullptr;
    NewDocument(&doc, nullptr, 0);
    bench::FillDrawing(doc, lines, arcs, 0);
    static const unsigned char kName[] = "\x05Sheet";
    NewFrameFromRect(doc, 0, 0, 0, bench::kSheetWidth, bench::kSheetHeight, kName);
    doc->settings->pdfArea[2] = bench::kSheetWidth, doc->settings->pdfArea[3] = bench::kSheetHeight;
    return doc;
}

// The origin command as a click at (100, 50) gives it.
void MoveOrigin(benchmark::State& state) {
    bench::StartPlatform("bench_LayersOrigin");
    const int lines = bench::Scaled(1000000), arcs = bench::Scaled(100000);
    DocWindowRecord* doc = Drawing(lines, arcs);
    double moveSeconds = 0, undoSeconds = 0;
    for (auto _ : state) {
        const Float64 x1 = doc->lineHead->next->x1;
        StartPendingCommand(doc, 175);
        doc->drawing->toolInput.cursorX = 100, doc->drawing->toolInput.cursorY = 50;
        auto start = std::chrono::steady_clock::now();
        RunPendingCommand(doc);
        moveSeconds = Seconds(start);
        state.counters["first_line_moved_by"] = x1 - doc->lineHead->next->x1;
        start = std::chrono::steady_clock::now();
        UndoLastStep(doc);
        undoSeconds = Seconds(start);
    }
    const double per100k = 100000.0 / (lines + arcs);
    state.counters["elements"] = lines + arcs;
    state.counters["move_s"] = moveSeconds;
    state.counters["undo_s"] = undoSeconds;
    state.counters["move_s_per_100k"] = moveSeconds * per100k;
    state.counters["undo_s_per_100k"] = undoSeconds * per100k;
    state.counters["frame_back_at_0"] = doc->drawing->frames->rect[0] == 0 ? 1 : 0;
    state.counters["undo_on"] = IsUndoRecording(doc) ? 1 : 0;
    state.SetLabel("goal: at most 1 s per 100,000 elements");
    DisposeDocumentRecords(doc);
}

void MoveLayer(benchmark::State& state) {
    bench::StartPlatform("bench_LayersOrigin");
    const int lines = bench::Scaled(1000000);
    DocWindowRecord* doc = Drawing(lines, 0);
    double moveSeconds = 0, undoSeconds = 0;
    SInt32 moved = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        const SInt16 from = doc->lineHead->next->layer; // the current layer of a new drawing
        moved = MoveLayerElements(doc, from, SInt16(from == 5 ? 6 : 5));
        moveSeconds = Seconds(start);
        start = std::chrono::steady_clock::now();
        UndoLastStep(doc);
        undoSeconds = Seconds(start);
    }
    const double per100k = 100000.0 / lines;
    state.counters["moved"] = moved;
    state.counters["move_s"] = moveSeconds;
    state.counters["undo_s"] = undoSeconds;
    state.counters["move_s_per_100k"] = moveSeconds * per100k;
    state.counters["undo_s_per_100k"] = undoSeconds * per100k;
    state.counters["undo_on"] = IsUndoRecording(doc) ? 1 : 0;
    state.SetLabel("goal: at most 1 s per 100,000 elements");
    DisposeDocumentRecords(doc);
}

} // namespace

BENCHMARK(MoveOrigin)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(MoveLayer)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
