// Writing a drawing of 1,000,000 lines (of all line types, on a few layers) as DXF in the older and
// the fuller flavour: time, file size and peak memory.
#include "BenchDrawings.h"
#include "Exchange/DxfWriter.h"
#include "Files/Preferences.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Platform/FileManager.h"

#include <benchmark/benchmark.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int kLines = bench::Scaled(1000000);

DocWindowRecord* gDrawing = nullptr;

DocWindowRecord* LargeDrawing() {
    if (gDrawing != nullptr) return gDrawing;
    NewDocument(&gDrawing, nullptr, 0);
    bench::Random r;
    SeekLastLine(gDrawing);
    for (int i = 0; i < kLines; ++i) {
        Float64 x = r.In(0, bench::kSheetWidth), y = r.In(0, bench::kSheetHeight);
        LineRecord* line = AppendLineAtCursor(gDrawing, x, y, x + r.In(-10, 10), y + r.In(-10, 10), false);
        line->lineType = SInt16(1 + i % 6);
        line->layer = SInt16(i % 8);
    }
    return gDrawing;
}

void WriteFlavour(benchmark::State& state, UInt16 flavour) {
    DocWindowRecord* doc = LargeDrawing();
    doc->settings->dxfFlavour = flavour;
    FSRef folder, file;
    GetPrivateTempFolder(&folder);
    std::string path = std::string(folder.path) + "/large_" + std::to_string(flavour) + ".dxf";
    FSMakeRef(path.c_str(), &file);
    bench::ResetPeakResident();
    double before = bench::PeakResidentMB();
    for (auto _ : state)
        if (ExportDXF(doc, &file, false) != noErr) state.SkipWithError("export failed");
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) state.counters["file MB"] = double(st.st_size) / 1e6;
    state.counters["lines"] = kLines;
    state.counters["peakRSS_MB"] = bench::PeakResidentMB();
    state.counters["startRSS_MB"] = before;
    unlink(path.c_str());
}

void BM_WriteDXFLinesOlder(benchmark::State& state) {
    WriteFlavour(state, 0);
}
BENCHMARK(BM_WriteDXFLinesOlder)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WriteDXFLinesFuller(benchmark::State& state) {
    WriteFlavour(state, 1);
}
BENCHMARK(BM_WriteDXFLinesFuller)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::StartShell(argv[0]);
    benchmark::RunSpecifiedBenchmarks();
    if (gDrawing != nullptr) DisposeDocumentRecords(gDrawing);
    DisposePrivateTempFolder();
    return 0;
}
