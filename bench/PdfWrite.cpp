// A PDF of an A0 area holding 1,000,000 short lines of all line types, and one of 100,000 texts kept
// as PDF text: time, file size and peak memory.
#include "BenchDrawings.h"
#include "Files/PdfOutput.h"
#include "Platform/FileManager.h"

#include <benchmark/benchmark.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DocWindowRecord* gLines = nullptr;
DocWindowRecord* gTexts = nullptr;

void WritePdf(benchmark::State& state, DocWindowRecord* doc, const char* name, int count) {
    FSRef folder, file;
    GetPrivateTempFolder(&folder);
    std::string path = std::string(folder.path) + "/" + name + ".pdf";
    FSMakeRef(path.c_str(), &file);
    bench::ResetPeakResident();
    double before = bench::PeakResidentMB();
    for (auto _ : state)
        if (DrawingToPDF(doc, false, 0, 0, bench::kSheetWidth, bench::kSheetHeight, &file) != noErr)
            state.SkipWithError("PDF failed");
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) state.counters["file MB"] = double(st.st_size) / 1e6;
    state.counters["elements"] = count;
    state.counters["peakRSS_MB"] = bench::PeakResidentMB();
    state.counters["startRSS_MB"] = before;
    unlink(path.c_str());
}

void BM_PdfOfAMillionLines(benchmark::State& state) {
    const int lines = bench::Scaled(1000000);
    if (gLines == nullptr) {
        NewDocument(&gLines, nullptr, 0);
        bench::FillDrawing(gLines, lines, 0, 0);
    }
    WritePdf(state, gLines, "lines", lines);
    state.SetLabel("goal <= 2 s");
}
BENCHMARK(BM_PdfOfAMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PdfOf100000Texts(benchmark::State& state) {
    const int texts = bench::Scaled(100000);
    if (gTexts == nullptr) {
        NewDocument(&gTexts, nullptr, 0);
        bench::FillDrawing(gTexts, 0, 0, texts);
    }
    WritePdf(state, gTexts, "texts", texts);
    state.SetLabel("goal <= 3 s, 300 MB");
}
BENCHMARK(BM_PdfOf100000Texts)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::StartShell(argv[0]);
    benchmark::RunSpecifiedBenchmarks();
    if (gLines != nullptr) DisposeDocumentRecords(gLines);
    if (gTexts != nullptr) DisposeDocumentRecords(gTexts);
    DisposePrivateTempFolder();
    return 0;
}
