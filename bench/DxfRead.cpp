// Importing an R12 DXF file of 1,000,000 lines (about 130 MB) into a new drawing, beside the bare
// reading of its lines by the buffered line reader. The file is written once in a private folder;
// the peak resident memory of the process is reported with the import.
#include "Exchange/DxfReader.h"
#include "Model/NewDocument.h"
#include "Other/TextLineReader.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Scaled(int count) {
    const char* scale = std::getenv("DRAFTWERK_BENCH_SCALE");
    double f = scale ? std::atof(scale) : 1.0;
    if (!(f > 0) || f > 1) f = 1.0;
    int n = int(count * f);
    return n > 0 ? n : 1;
}

const int kLines = Scaled(1000000);
std::string gPath;

// The file and its folder go when the program ends.
struct RemoveFileAtExit {
    ~RemoveFileAtExit() {
        if (gPath.empty()) return;
        std::remove(gPath.c_str());
        std::remove(gPath.substr(0, gPath.rfind('/')).c_str());
    }
} gRemoveFileAtExit;

// Lines as another program writes R12: group codes right-aligned in three columns, a layer, and
// coordinates with up to six decimals.
const std::string& DxfFile() {
    if (!gPath.empty()) return gPath;
    char folder[] = "/tmp/dw-dxf-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return gPath;
    std::string path = std::string(folder) + "/lines.dxf";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return gPath;
    std::fputs(
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n",
        f);
    for (int i = 0; i < kLines; ++i) {
        double x = (i % 1189) + 0.123456, y = (i % 841) + 0.654321;
        std::fprintf(
            f, "  0\nLINE\n  8\nLAYER_%d\n 10\n%.6f\n 20\n%.6f\n 30\n0.0\n 11\n%.6f\n 21\n%.6f\n 31\n0.0\n",
            i % 8, x, y, x + 12.5, y + 7.25);
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", f);
    std::fclose(f);
    gPath = path;
    return gPath;
}

long PeakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void BM_DxfBareLines(benchmark::State& state) {
    const std::string& path = DxfFile();
    for (auto _ : state) {
        FSIORefNum fork = 0;
        if (FSOpenForkPath(path.c_str(), fsRdPerm, &fork) != noErr || !OpenBufferedFork(100, fork)) {
            state.SkipWithError("cannot open the DXF file");
            break;
        }
        Str255 line;
        SInt32 used = 0;
        size_t lines = 0;
        while (ReadTextLine(fork, line, &used))
            ++lines;
        benchmark::DoNotOptimize(lines);
        CloseBufferedFork();
        FSCloseFork(fork);
    }
}
BENCHMARK(BM_DxfBareLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DxfImport(benchmark::State& state) {
    const std::string& path = DxfFile();
    FSRef file;
    if (path.empty() || FSMakeRef(path.c_str(), &file) != noErr) {
        state.SkipWithError("cannot write the DXF file");
        return;
    }
    size_t lines = 0;
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        ImportDXF(&doc, &file);
        state.PauseTiming();
        lines = 0;
        for (LineRecord* l = doc ? doc->lineHead->next : nullptr; l != nullptr; l = l->next)
            ++lines;
        while (OpenDocumentList != nullptr)
            DisposeDocumentRecords(OpenDocumentList);
        ClearRecordedAlerts();
        state.ResumeTiming();
    }
    state.counters["lines"] = double(lines);
    state.counters["peak_MB"] = double(PeakResidentMegabytes());
}
BENCHMARK(BM_DxfImport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
