// A full window redraw of 10,000 instances of a 50-element symbol (40 lines, 10 arcs) spread over an
// A0 sheet, turned and scaled, into a 1920 x 1080 port: at the drawing's extents, and zoomed in so that
// one hundredth of it shows (the instances' box test alone keeps the walk cheap).
#include "BenchDrawings.h"
#include "Files/Preferences.h"
#include "Model/Symbols.h"
#include "Platform/Windows.h"
#include "View/ContentPasses.h"
#include "View/DrawCallRecorder.h"
#include "View/ElementDrawing.h"
#include "View/ZoomExtents.h"

#include <benchmark/benchmark.h>

namespace {

const int kInstances = bench::Scaled(10000);
constexpr int kSymbolLines = 40, kSymbolArcs = 10;
DocWindowRecord* gDoc = nullptr;

DocWindowRecord* Drawing() {
    if (gDoc) return gDoc;
    bench::StartPlatform("bench_SymbolRedraw");
    GeneralPrefs.roundLineCaps = 1;
    NewDocument(&gDoc, nullptr, 0);
    InstallViewDrawingHooks();
    bench::Random r;
    SeekLastLine(gDoc);
    for (int i = 0; i < kSymbolLines; ++i) {
        LineRecord* l = AppendLineAtCursor(gDoc, r.In(-5, 5), r.In(-5, 5), r.In(-5, 5), r.In(-5, 5), false);
        l->selected = 1;
    }
    SeekLastArc(gDoc);
    for (int i = 0; i < kSymbolArcs; ++i) {
        Float64 start = r.In(0, 360);
        ArcRecord* a = AppendArcAtCursor(gDoc, r.In(-4, 4), r.In(-4, 4), r.In(0.5, 2), start,
                                         i % 3 ? start + r.In(10, 300) : start + 360, false);
        a->selected = 1;
    }
    static const unsigned char kName[] = "\x05Block";
    SymbolDefRecord* def = CreateSymbolFromSelection(gDoc, 0, 0, kName, false);
    for (int i = 0; i < kInstances; ++i) {
        Float64 scale = r.In(0.5, 1.5);
        CreateSymbolInstance(gDoc, r.In(10, bench::kSheetWidth - 10), r.In(10, bench::kSheetHeight - 10),
                             r.In(0, 360), i % 4 ? scale : -scale, scale, def);
    }
    Rect bounds{40, 0, 40 + 1080, 1920};
    WindowRef window = nullptr;
    if (CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window) != noErr) return nullptr;
    gDoc->window = window;
    gDoc->drawing->layout.statusHeight = 0;
    ComputeDrawingAreaMetrics(gDoc);
    return gDoc;
}

void Redraw(benchmark::State& state, bool zoomedIn, const char* goal) {
    DocWindowRecord* doc = Drawing();
    if (!doc) {
        state.SkipWithError("no window could be made");
        return;
    }
    ZoomToWorldRect(doc, 0, 0, bench::kSheetWidth, bench::kSheetHeight);
    if (zoomedIn) {
        Float64 cx = bench::kSheetWidth / 2, cy = bench::kSheetHeight / 2;
        Float64 w = bench::kSheetWidth / 20, h = bench::kSheetHeight / 20;
        ZoomToWorldRect(doc, cx - w, cy - h, cx + w, cy + h);
    }
    static long drawCalls;
    drawCalls = 0;
    SetDrawCallListener([](const DrawCall&, void*) { ++drawCalls; }, nullptr);
    UpdateViewExtent(doc, false);
    SetDrawCallListener(nullptr, nullptr);
    for (auto _ : state)
        UpdateViewExtent(doc, false);
    Float64 elements = Float64(kInstances) * (kSymbolLines + kSymbolArcs);
    state.counters["elements"] = elements;
    state.counters["drawCalls"] = Float64(drawCalls);
    // Seconds per million elements of the instances drawn, beside the goal of 0.5.
    state.counters["sPerMillion"] = benchmark::Counter(
        elements / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(goal);
}

void BM_SymbolRedrawAtExtents(benchmark::State& state) {
    Redraw(state, false, "goal < 0.5 s per million elements (< 250 ms)");
}

void BM_SymbolRedrawOnePercentVisible(benchmark::State& state) {
    // No goal of its own: the wide-pen stroking that bounds every zoomed-in redraw dominates; the walk
    // over the instances' boxes costs well under a millisecond.
    Redraw(state, true, "no goal: the instance walk's share");
}

} // namespace

BENCHMARK(BM_SymbolRedrawAtExtents)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SymbolRedrawOnePercentVisible)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
