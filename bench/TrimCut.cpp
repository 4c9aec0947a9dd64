// The cut tool on a large selection: 100,000 lines cut back to one edge by a dragged rectangle, as
// the user does it in a window (click the edge, drag the rectangle), then Edit > Undo of that step.
// The tool's own work and the painting afterwards are timed apart.
#include "BenchDrawings.h"
#include "Model/ElementLists.h"
#include "Files/Preferences.h"
#include "Platform/FileManager.h"
#include "Platform/Windows.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Shell/MenuBar.h"
#include "Shell/MenuCommands.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>

namespace {

const int kLines = bench::Scaled(100000);

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

Point GlobalPoint(DocWindowRecord* doc, double x, double y) {
    const DrawingRecord* d = doc->drawing;
    Rect b;
    GetWindowContentBounds(doc->window, &b);
    SInt16 h = SInt16(std::lround((x - d->view.originX) / d->view.unitsPerPixel));
    SInt16 up = SInt16(std::lround((y - d->view.originY) / d->view.unitsPerPixel));
    return Point{SInt16(b.top + d->view.viewHeight - up), SInt16(b.left + h)};
}

// Loop passes until the undo step count changes: the tool has handled the queued input.
bool RunUntilStepCount(DocWindowRecord* doc, SInt16 count) {
    for (int i = 0; i < 50; ++i) {
        EventLoopPass();
        if (doc->drawing->undo.undoStepCount == count) return true;
    }
    return false;
}

void CutManyLinesThroughARectangle(benchmark::State& state) {
    bench::StartShell("bench_TrimCut");
    DocWindowRecord* doc = nullptr;
    if (!NewDrawing(&doc) || doc->window == nullptr) {
        state.SkipWithError("no window could be made");
        return;
    }
    // 100 mm in 400 pixels: the lines from y 10 to 90 between x 10 and 90, the edge at x = 50 from
    // y 0 to 100, so that the rectangle holds every line but the edge.
    DrawingRecord* d = doc->drawing;
    d->view.unitsPerPixel = 0.25;
    d->view.originX = d->view.originY = 0;
    SeekLastLine(doc);
    for (int i = 0; i < kLines; ++i) {
        double y = 10 + 80.0 * i / kLines;
        AppendLineAtCursor(doc, 10, y, 90, y, false)->drawn = 1;
    }
    AppendLineAtCursor(doc, 50, 0, 50, 100, false)->drawn = 1;
    doc->settings->snapMode = 1;
    GeneralPrefs.currentToolGroup = 5;
    GeneralPrefs.currentSubTool = 0;
    ResetToolState(doc, 0);
    RequestRedraw(doc);
    bench::RunUntilPainted(doc);

    double cut = 0, cutPaint = 0, undo = 0, undoPaint = 0;
    int cutLines = 0, restored = 0;
    for (auto _ : state) {
        // The edge, clicked where no other line runs.
        SimulateMouseMove(GlobalPoint(doc, 50, 96));
        SimulateMouseButton(true, 0);
        SimulateMouseButton(false, 0);
        bench::RunUntilPainted(doc);
        const SInt16 steps = d->undo.undoStepCount;

        auto start = std::chrono::steady_clock::now();
        SimulateMouseMove(GlobalPoint(doc, 5, 5));
        SimulateMouseButton(true, 0);
        SimulateMouseMove(GlobalPoint(doc, 50, 50));
        SimulateMouseMove(GlobalPoint(doc, 95, 92));
        SimulateMouseButton(false, 0);
        if (!RunUntilStepCount(doc, SInt16(steps + 1))) {
            state.SkipWithError("the rectangle cut nothing");
            break;
        }
        cut = Seconds(start);
        start = std::chrono::steady_clock::now();
        bench::RunUntilPainted(doc);
        cutPaint = Seconds(start);
        cutLines = 0;
        for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            cutLines += l->x1 == 10 && l->x2 == 50;

        start = std::chrono::steady_clock::now();
        MenuCommandGlobals.code = kEditMenu;
        MenuCommandGlobals.param = 1;
        DoMenuCommand(doc);
        undo = Seconds(start);
        start = std::chrono::steady_clock::now();
        bench::RunUntilPainted(doc);
        undoPaint = Seconds(start);
        restored = 0;
        for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            restored += l->x1 == 10 && l->x2 == 90;
    }
    state.counters["lines"] = kLines;
    state.counters["cut_s"] = cut;
    state.counters["cutPaint_s"] = cutPaint;
    state.counters["linesCut"] = cutLines;
    state.counters["undo_s"] = undo;
    state.counters["undoPaint_s"] = undoPaint;
    state.counters["linesRestored"] = restored;
    state.SetLabel("goal: cut and undo each at most 1 s");
    DisposeDocumentWindow(doc);
}

} // namespace

BENCHMARK(CutManyLinesThroughARectangle)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
