// Texts on large drawings: every text of a drawing of 100,000 re-created with new attributes in
// one undo step (then undone), and the placeholders among 100,000 texts kept fitting (1,000 of
// them, laid out again once their value changed, then checked with nothing changed).
#include "BenchDrawings.h"
#include "Model/DocumentRecords.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Platform/FileManager.h"
#include "Tools/TextEditing.h"
#include "Tools/TextElements.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>

namespace {

const int kTexts = bench::Scaled(100000);
const int kPlaceholders = bench::Scaled(1000);

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void ReCreateEveryText(benchmark::State& state) {
    bench::StartPlatform("bench_TextRecreate");
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        NewDocument(&doc, nullptr, 0);
        bench::FillDrawing(doc, 0, 0, kTexts);
        AttributeChangeBlock& b = doc->attributeChange;
        b.layer = b.pen = b.lineType = b.group = b.justification = b.font = b.flags = 65535;
        b.slant = b.lineSpacing = b.frameDistance = -1.0;
        b.textHeight = 3.5;
        b.angle = 15;
        auto start = std::chrono::steady_clock::now();
        long made = ApplyTextAttributesToTexts(doc, false);
        double recreate = Seconds(start);
        start = std::chrono::steady_clock::now();
        UndoLastStep(doc);
        double undo = Seconds(start);
        state.counters["texts"] = double(made);
        state.counters["recreate_s"] = recreate;
        state.counters["undo_s"] = undo;
        state.SetLabel("goal: recreate_s <= 1");
        DisposeDocumentRecords(doc);
    }
}

void RefreshPlaceholders(benchmark::State& state) {
    bench::StartPlatform("bench_TextRecreate");
    for (auto _ : state) {
        DocWindowRecord* doc = nullptr;
        NewDocument(&doc, nullptr, 0);
        bench::FillDrawing(doc, 0, 0, kTexts);
        StringPtr field = TitleBlockField(doc->drawing->titleBlock, 1);
        std::memcpy(field, "\x04Main", 5);
        int n = 0, every = kTexts / kPlaceholders;
        for (TextRecord* t = doc->textHead->next; t != nullptr; t = t->next)
            if (n++ % every == 0) {
                std::memcpy(t->text, "\x03^01", 4);
                RelayoutTextKeepingAnchor(doc, t, t->text);
            }
        std::memcpy(field, "\x0dMain building", 14);
        auto start = std::chrono::steady_clock::now();
        RefreshAllFieldTexts(doc);
        double changed = Seconds(start);
        start = std::chrono::steady_clock::now();
        RefreshAllFieldTexts(doc);
        double unchanged = Seconds(start);
        state.counters["placeholders"] = kPlaceholders;
        state.counters["changed_s"] = changed;
        state.counters["unchanged_s"] = unchanged;
        state.SetLabel("goal: changed_s <= 0.1");
        DisposeDocumentRecords(doc);
    }
}

} // namespace

BENCHMARK(ReCreateEveryText)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RefreshPlaceholders)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::RunBenchmarks(argc, argv);
}
