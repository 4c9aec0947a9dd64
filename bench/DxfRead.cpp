// Importing an R12 DXF file of 1,000,000 lines (about 130 MB) into a new drawing, beside the bare
// reading of its lines by the buffered line reader, and an R2007 file of 100,000 mixed entities as
// other programs write them (hatches bounded by polylines with bulges, splines by control points and
// knots, MTEXT with formatting codes, texts with characters beyond ASCII). The files are written once
// in a private folder; the peak resident memory of the process is reported with the imports.
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
const int kMixed = Scaled(100000);
std::string gPath, gMixedPath;

// The files and their folders go when the program ends.
struct RemoveFileAtExit {
    ~RemoveFileAtExit() {
        for (const std::string* path : {&gPath, &gMixedPath}) {
            if (path->empty()) continue;
            std::remove(path->c_str());
            std::remove(path->substr(0, path->rfind('/')).c_str());
        }
    }
} gRemoveFileAtExit;

// A quarter each of hatches, splines, MTEXT and texts.
const std::string& MixedFile() {
    if (!gMixedPath.empty()) return gMixedPath;
    char folder[] = "/tmp/dw-dxf-mixed-XXXXXX";
    if (mkdtemp(folder) == nullptr) return gMixedPath;
    std::string path = std::string(folder) + "/mixed.dxf";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return gMixedPath;
    std::fputs("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1021\n  0\nENDSEC\n"
               "  0\nSECTION\n  2\nENTITIES\n",
               f);
    for (int i = 0; i < kMixed; ++i) {
        double x = (i % 997) * 50.0, y = (i / 997) * 50.0;
        switch (i % 4) {
        case 0:
            std::fprintf(f,
                         "  0\nHATCH\n  8\n0\n 10\n0\n 20\n0\n  2\nANSI31\n 70\n0\n 91\n1\n 92\n3\n 72\n1\n"
                         " 73\n1\n 93\n4\n 10\n%.3f\n 20\n%.3f\n 42\n0\n 10\n%.3f\n 20\n%.3f\n 42\n0.5\n"
                         " 10\n%.3f\n 20\n%.3f\n 42\n0\n 10\n%.3f\n 20\n%.3f\n 42\n0\n 97\n0\n 75\n0\n"
                         " 76\n1\n 52\n0\n 41\n1\n 77\n0\n 78\n1\n 53\n45\n 43\n0\n 44\n0\n 45\n-2.2\n"
                         " 46\n2.2\n 79\n0\n 98\n0\n",
                         x, y, x + 30, y, x + 30, y + 20, x, y + 20);
            break;
        case 1:
            std::fprintf(f, "  0\nSPLINE\n  8\n0\n 70\n8\n 71\n3\n 72\n10\n 73\n6\n 74\n0\n");
            for (double k : {0, 0, 0, 0, 1, 4, 5, 5, 5, 5})
                std::fprintf(f, " 40\n%g\n", k);
            for (int c = 0; c < 6; ++c)
                std::fprintf(f, " 10\n%.3f\n 20\n%.3f\n", x + 8 * c, y + (c % 2 ? 12 : 0));
            break;
        case 2:
            std::fprintf(f,
                         "  0\nMTEXT\n  8\n0\n 10\n%.3f\n 20\n%.3f\n 40\n2.5\n 71\n1\n"
                         "  1\n\\pxi0;{\\fArial|b1;Gr\xC3\xBC\xC3\x9F"
                         "e} \\S1/2;\\Pzweite Zeile %%d\n",
                         x, y);
            break;
        default:
            std::fprintf(f,
                         "  0\nTEXT\n  8\n0\n 10\n%.3f\n 20\n%.3f\n 40\n2.5\n"
                         "  1\n\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xD0\x9F\xD1\x80\xD0\xB8 "
                         "\xE4\xB8\xAD\xE6\x96\x87 15\xC2\xB0\n",
                         x, y);
            break;
        }
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", f);
    std::fclose(f);
    gMixedPath = path;
    return gMixedPath;
}

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

void BM_DxfImportMixed(benchmark::State& state) {
    const std::string& path = MixedFile();
    FSRef file;
    if (path.empty() || FSMakeRef(path.c_str(), &file) != noErr) {
        state.SkipWithError("cannot write the DXF file");
        return;
    }
    size_t made = 0;
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        ImportDXF(&doc, &file);
        state.PauseTiming();
        made = 0;
        for (AreaRecord* a = doc ? doc->areaHead->next : nullptr; a != nullptr; a = a->next)
            ++made;
        for (PolylineRecord* p = doc ? doc->polylineHead->next : nullptr; p != nullptr; p = p->next)
            ++made;
        for (TextRecord* t = doc ? doc->textHead->next : nullptr; t != nullptr; t = t->next)
            ++made;
        while (OpenDocumentList != nullptr)
            DisposeDocumentRecords(OpenDocumentList);
        ClearRecordedAlerts();
        state.ResumeTiming();
    }
    state.counters["elements"] = double(made);
    state.counters["peak_MB"] = double(PeakResidentMegabytes());
}
BENCHMARK(BM_DxfImportMixed)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
