// Window redraws whose cost lies in the strokes rather than in the walk: 1,000,000 long lines spread
// over an A0 sheet (about 520 pixels each at the extents of a 1920 x 1080 port), and thousands of wide
// lines lying on one another at high zoom (copies of a block at one spot).
#include "BenchDrawings.h"
#include "Files/Preferences.h"
#include "Platform/Windows.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

DocWindowRecord* NewWindowDrawing() {
    bench::StartPlatform("bench_LongLinesRedraw");
    GeneralPrefs.roundLineCaps = 1;
    DocWindowRecord* doc = nullptr;
    NewDocument(&doc, nullptr, 0);
    Rect bounds{40, 0, 40 + 1080, 1920};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window) != noErr) return nullptr;
    doc->window = window;
    doc->drawing->layout.statusHeight = 0;
    ComputeDrawingAreaMetrics(doc);
    return doc;
}

void BM_LongLinesRedrawAtExtents(benchmark::State& state) {
    static DocWindowRecord* doc = nullptr;
    const int lines = bench::Scaled(1000000);
    if (doc == nullptr) {
        doc = NewWindowDrawing();
        if (doc == nullptr) {
            state.SkipWithError("no window could be made");
            return;
        }
        bench::Random r;
        SeekLastLine(doc);
        for (int i = 0; i < lines; ++i) {
            Float64 x = r.In(0, bench::kSheetWidth), y = r.In(0, bench::kSheetHeight);
            Float64 angle = r.In(0, 6.2832), length = r.In(0, 2 * 320);
            Float64 x2 = std::clamp(x + length * std::cos(angle), 0.0, bench::kSheetWidth);
            Float64 y2 = std::clamp(y + length * std::sin(angle), 0.0, bench::kSheetHeight);
            AppendLineAtCursor(doc, x, y, x2, y2, false);
        }
    }
    Float64 x1, y1, x2, y2;
    ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0);
    ZoomToWorldRect(doc, x1, y1, x2, y2);
    UpdateViewExtent(doc, false);
    for (auto _ : state)
        UpdateViewExtent(doc, false);
    state.counters["lines"] = lines;
    state.SetLabel("goal <= 1.2 s");
}
BENCHMARK(BM_LongLinesRedrawAtExtents)->Unit(benchmark::kMillisecond)->Iterations(3);

// n copies of one wide line across a 600-pixel view at 0.02 mm a pixel (about 18 times full size).
void BM_CoincidentWideLines(benchmark::State& state) {
    DocWindowRecord* doc = NewWindowDrawing();
    if (doc == nullptr) {
        state.SkipWithError("no window could be made");
        return;
    }
    SeekLastLine(doc);
    for (int i = 0; i < state.range(0); ++i)
        AppendLineAtCursor(doc, 10, 10, 22, 17, false)->penBlock.penWidth100 = 50;
    ZoomToWorldRect(doc, 8, 8, 24, 19);
    UpdateViewExtent(doc, false);
    for (auto _ : state)
        UpdateViewExtent(doc, false);
    state.counters["lines"] = Float64(state.range(0));
    state.counters["unitsPerPixel"] = doc->drawing->view.unitsPerPixel;
    state.SetLabel("goal <= 50 ms");
}
BENCHMARK(BM_CoincidentWideLines)->Arg(4096)->Arg(65536)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
