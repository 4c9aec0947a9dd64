// Reading a 100 MB text file line by line: the program's buffered line reader against a plain
// std::getline loop. The file is made once in the private temporary folder.
#include "Platform/FileManager.h"
#include "Other/TextLineReader.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace {

constexpr size_t kFileSize = 100u * 1024u * 1024u;
std::string gPath;

const std::string& TextFile() {
    if (!gPath.empty()) return gPath;
    FSRef file;
    if (FSCreateTempFile("lines", &file) != noErr) return gPath;
    std::ofstream out(file.path, std::ios::binary);
    std::string line;
    unsigned seed = 1;
    for (size_t written = 0; written < kFileSize;) {
        // Lines of 10 to 120 characters, some with leading blanks, as in exchange files.
        seed = seed * 1103515245u + 12345u;
        size_t length = 10 + (seed >> 16) % 111;
        line.assign((seed >> 8) % 4 == 0 ? 3 : 0, ' ');
        while (line.size() < length)
            line += char('0' + (line.size() * 7 + written) % 43);
        line += '\n';
        out << line;
        written += line.size();
    }
    gPath = file.path;
    return gPath;
}

SInt64 FileBytes() {
    FSRef ref;
    FSFileInfo info{};
    if (FSMakeRef(TextFile().c_str(), &ref) != noErr || FSGetFileInfo(&ref, &info) != noErr) return 0;
    return info.dataSize;
}

void BM_BufferedLineReader(benchmark::State& state) {
    const std::string& path = TextFile();
    SInt64 bytes = FileBytes();
    for (auto _ : state) {
        FSIORefNum fork = 0;
        if (FSOpenForkPath(path.c_str(), fsRdPerm, &fork) != noErr || !OpenBufferedFork(100, fork)) {
            state.SkipWithError("cannot open the text file");
            break;
        }
        Str255 line;
        SInt32 used = 0;
        size_t characters = 0;
        while (ReadTextLine(fork, line, &used))
            characters += line[0];
        benchmark::DoNotOptimize(characters);
        CloseBufferedFork();
        FSCloseFork(fork);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_StdGetline(benchmark::State& state) {
    const std::string& path = TextFile();
    SInt64 bytes = FileBytes();
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string line;
        size_t characters = 0;
        while (std::getline(in, line))
            characters += line.size();
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

} // namespace

BENCHMARK(BM_BufferedLineReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdGetline)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DisposePrivateTempFolder();
    return 0;
}
