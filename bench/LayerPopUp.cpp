// The status bar's layer pop-up on a drawing of 1,000,000 elements spread over the 1024 layers: the
// scan of the layers in use and the menu of 1024 items built from it, down to the Qt menu it shows.
// Goal: under 50 ms.
#include "BenchDrawings.h"
#include "Dialogs/StatusBarClicks.h"
#include "Model/DocumentRecords.h"
#include "Model/UsedNumbers.h"
#include "Platform/Menus.h"

#include <benchmark/benchmark.h>

namespace {

DocWindowRecord* Drawing() {
    static DocWindowRecord* doc = nullptr;
    if (doc != nullptr) return doc;
    bench::StartPlatform("bench_LayerPopUp");
    NewDocument(&doc, nullptr, 0);
    const int elements = bench::Scaled(1000000);
    // Nine lines to every arc, as drawings mostly are.
    bench::FillDrawing(doc, elements - elements / 10, elements / 10, 0);
    int i = 0;
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        l->layer = SInt16(i++ % kLayerCount);
    for (ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
        a->layer = SInt16(i++ % kLayerCount);
    return doc;
}

void LayerScan(benchmark::State& state) {
    DocWindowRecord* doc = Drawing();
    SInt32 count = 0;
    for (auto _ : state) {
        LayerVisibilitySet used{};
        CollectUsedLayers(doc, &count, &used);
        benchmark::DoNotOptimize(used);
    }
    state.counters["layers"] = count;
}

void LayerPopUpMenu(benchmark::State& state) {
    DocWindowRecord* doc = Drawing();
    MenuRef menu = NewMenu(kLayerPopUpMenu, reinterpret_cast<const UInt8*>("\x00"));
    SInt16 layers[kLayerCount];
    SInt16 items = 0;
    for (auto _ : state) {
        items = BuildLayerPopUp(doc, menu, layers);
        // The Qt menu the pop-up shows, built from the items.
        benchmark::DoNotOptimize(MenuItemShownText(menu, 1));
    }
    DisposeMenu(menu);
    state.counters["items"] = items;
    state.SetLabel("goal: under 50 ms");
}

} // namespace

BENCHMARK(LayerScan)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(LayerPopUpMenu)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
