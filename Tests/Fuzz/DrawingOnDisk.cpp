// Fuzz target: a drawing opened from disk with its `._name` sidecar, both made from the input, first
// as a new document, then inserted into an open one. This reaches what the reader of the data alone
// does not: the 'vers' resource, page format and print settings, header and footer texts, selection
// tables and the scan for missing fonts. Input: the data fork's length (4 bytes, little-endian), the
// data fork, then the sidecar.
#include "Platform/DialogManager.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"
#include "Platform/PlatformApp.h"
#include "Platform/SimulatedInput.h"
#include "Other/ZEZUdivari.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string gFolder;
DocWindowRecord* gTarget = nullptr;

void Write(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// A modal dialog (the missing-fonts question) waits for the user: when the loop has idled a while with
// nothing to play, Return gives it its default answer. Alerts answer through the responder.
void PressReturn() {
    SimulateKey(true, kKeyCodeReturn, kReturnCharCode, 0, false);
    SimulateKey(false, kKeyCodeReturn, kReturnCharCode, 0, false);
}

void OpenOnce(DocWindowRecord** slot, const FSRef* file, Boolean insert) {
    OpenDocument(slot, file, insert, -1, 1.5, -2.0);
    ClearRecordedAlerts();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// With DW_FUZZ_SEED_DIR set, a saved drawing with a line and a text, data and sidecar, is a seed; a
// second one has its text in a font this machine lacks, so every run asks the missing-fonts question.
void WriteSeed(const char* seedName, SInt16 font) {
    const char* folder = std::getenv("DW_FUZZ_SEED_DIR");
    DocWindowRecord* doc = nullptr;
    if (folder == nullptr || !NewDocument(&doc, nullptr, 0)) return;
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 0, 0, 10, 5, false);
    TextRecord* text = nullptr;
    NewTextElement(doc, &text);
    CStrToPStr(text->text, 256, "Text");
    if (font != 0) text->font = font;
    doc->textHead->next = text;
    const std::string path = gFolder + "/Seed.cadx";
    if (FSMakeRef(path.c_str(), &doc->drawing->file) == noErr &&
        SaveDocument(doc, true, false, false, false, false)) {
        const std::string dataFork = ReadAll(path), sidecar = ReadAll(gFolder + "/._Seed.cadx");
        const uint32_t n = uint32_t(dataFork.size());
        const char length[4] = {char(n), char(n >> 8), char(n >> 16), char(n >> 24)};
        std::ofstream(std::string(folder) + "/" + seedName, std::ios::binary)
            << std::string(length, 4) << dataFork << sidecar;
    }
    DisposeDocumentRecords(doc);
    ClearRecordedAlerts();
}

} // namespace

// A save draws the drawing's preview, texts too; the font library keeps what their fonts looked up for
// the whole run: its cache, not a leak of the reader or the writer.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    PlatformInitialize(*argc, *argv);
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    PlatformSetVirtualTime(true);
    PlatformSetIdleLimit(50, PressReturn);
    char pattern[] = "/tmp/dw-fuzz-disk-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    gFolder = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(gFolder, ignored);
    });
    WriteSeed("saved-drawing.bin", 0);
    WriteSeed("missing-font.bin", 31999);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    size_t dataSize = size_t(data[0]) | size_t(data[1]) << 8 | size_t(data[2]) << 16 | size_t(data[3]) << 24;
    if (dataSize > size - 4) dataSize = size - 4;
    const std::string path = gFolder + "/Drawing.cadx";
    Write(path, data + 4, dataSize);
    Write(gFolder + "/._Drawing.cadx", data + 4 + dataSize, size - 4 - dataSize);
    FSRef file;
    if (FSMakeRef(path.c_str(), &file) != noErr) return 0;

    DocWindowRecord* opened = nullptr;
    OpenOnce(&opened, &file, false);
    if (opened != nullptr) DisposeDocumentRecords(opened);

    if (gTarget == nullptr && !NewDocument(&gTarget, nullptr, 0)) return 0;
    SeekLastLine(gTarget);
    AppendLineAtCursor(gTarget, 0, 0, 1, 1, false);
    OpenOnce(&gTarget, &file, true);
    // Inserted elements pile up from input to input; a fresh target now and then keeps it small.
    static int inserts = 0;
    if (++inserts % 64 == 0) {
        DisposeDocumentRecords(gTarget);
        gTarget = nullptr;
    }
    return 0;
}
