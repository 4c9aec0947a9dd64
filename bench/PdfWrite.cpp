// A PDF of an A0 area holding 1,000,000 short lines of all line types, one of 100,000 texts kept
// as PDF text, and the lines' drawing printed through a frame tiled over 100 sheets into a PDF file:
// time, file size and peak memory.
#include "BenchDrawings.h"
#include "Files/PdfOutput.h"
#include "Files/PrintRecords.h"
#include "Files/Printing.h"
#include "Model/LayersFrames.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Platform/PascalBytes.h"

#include <benchmark/benchmark.h>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DocWindowRecord* gLines = nullptr;
DocWindowRecord* gTexts = nullptr;

std::string TempPath(const char* name) {
    FSRef folder;
    GetPrivateTempFolder(&folder);
    return std::string(folder.path) + "/" + name + ".pdf";
}

void WritePdf(benchmark::State& state, DocWindowRecord* doc, const char* name, int count) {
    FSRef file;
    std::string path = TempPath(name);
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

// The whole A0 sheet of lines enlarged 2.34 times onto 10 x 10 sheets of A4 landscape (printable
// 806 x 559 points) with header, footer and corner marks.
void BM_FrameTiledOver100SheetsIntoPdf(benchmark::State& state) {
    const int lines = bench::Scaled(1000000);
    if (gLines == nullptr) {
        NewDocument(&gLines, nullptr, 0);
        bench::FillDrawing(gLines, lines, 0, 0);
    }
    DocWindowRecord* doc = gLines;
    Str255 name;
    CStrToPStr(name, 256, "Sheet");
    CStrToPStr(doc->drawing->headerFooter.texts[0], 256, "&p");
    CStrToPStr(doc->drawing->headerFooter.texts[5], 256, "Page &# of &+");
    PrintCornerMarks(doc->settings) = 1;
    if (!NewFrameFromRect(doc, 0, 0, 0, bench::kSheetWidth, bench::kSheetHeight, name)) {
        state.SkipWithError("no frame");
        return;
    }
    FrameRecord* frame = doc->drawing->frames;
    while (frame->next != nullptr)
        frame = frame->next;
    PageFormatData landscape = DefaultPageFormat();
    landscape.orientation = 2;
    std::swap(landscape.paperWidth, landscape.paperHeight);
    landscape.paperRect = Rect{-18, -18, 577, 824};
    landscape.pageRect = Rect{0, 0, 559, 806};
    frame->pageFormat = NewPageFormatHandle(landscape);
    frame->scaleX = frame->scaleY = 6.64; // points per millimetre
    UpdateFramePaper(frame);
    const SInt32 pages = CountTiledPages(frame);
    PrintJobSetup job{};
    job.copies = 1;
    job.firstPage = 1;
    job.lastPage = 0x7FFFFFFF;
    job.outputFile = TempPath("tiled");
    bench::ResetPeakResident();
    double before = bench::PeakResidentMB();
    if (pages != 100) state.SkipWithError("the frame does not give 100 sheets");
    for (auto _ : state)
        if (PrintPages(doc, frame, job) != noErr) state.SkipWithError("printing failed");
    struct stat st {};
    if (stat(job.outputFile.c_str(), &st) == 0) state.counters["file MB"] = double(st.st_size) / 1e6;
    state.counters["sheets"] = pages;
    state.counters["elements"] = lines;
    state.counters["peakRSS_MB"] = bench::PeakResidentMB();
    state.counters["startRSS_MB"] = before;
    state.SetLabel("goal <= 5 s");
    unlink(job.outputFile.c_str());
}
BENCHMARK(BM_FrameTiledOver100SheetsIntoPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

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
