// Saving and opening a drawing of 1,000,000 lines and 100,000 arcs in the native format, through
// the safe save (temporary file, sync, exchange) and the full reader.
#include "Platform/DialogManager.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"

#include <benchmark/benchmark.h>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int kLines = 1000000;
constexpr int kArcs = 100000;

DocWindowRecord* gDrawing = nullptr;
FSRef gFile;

DocWindowRecord* LargeDrawing() {
    if (gDrawing != nullptr) return gDrawing;
    NewDocument(&gDrawing, nullptr, 0);
    SeekLastLine(gDrawing);
    for (int i = 0; i < kLines; ++i)
        AppendLineAtCursor(gDrawing, i * 0.01, i % 1000, i * 0.01 + 5, i % 997, false);
    SeekLastArc(gDrawing);
    for (int i = 0; i < kArcs; ++i)
        AppendArcAtCursor(gDrawing, i * 0.1, i % 500, 1 + i % 7, 0, 360, false);
    FSRef folder;
    GetPrivateTempFolder(&folder);
    FSMakeRef((std::string(folder.path) + "/large.cadx").c_str(), &gFile);
    gDrawing->drawing->file = gFile;
    gDrawing->settings->keepBackup = false;
    return gDrawing;
}

void BM_SaveLargeDrawing(benchmark::State& state) {
    DocWindowRecord* doc = LargeDrawing();
    for (auto _ : state)
        if (!SaveDocument(doc, false, false, false, false, false)) state.SkipWithError("save failed");
    struct stat st;
    if (stat(gFile.path, &st) == 0) state.counters["file MB"] = double(st.st_size) / 1e6;
}
BENCHMARK(BM_SaveLargeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenLargeDrawing(benchmark::State& state) {
    DocWindowRecord* doc = LargeDrawing();
    if (!FSRefExists(&gFile)) SaveDocument(doc, false, false, false, false, false);
    for (auto _ : state) {
        DocWindowRecord* opened = nullptr;
        if (!OpenDocument(&opened, &gFile, false, -1, 0, 0)) {
            state.SkipWithError("open failed");
            break;
        }
        state.PauseTiming();
        DisposeDocumentRecords(opened);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLargeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (gDrawing != nullptr) DisposeDocumentRecords(gDrawing);
    DisposePrivateTempFolder();
    return 0;
}
