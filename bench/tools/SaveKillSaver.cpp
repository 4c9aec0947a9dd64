// Helper of bench/save_kill_loop.sh: makes a large drawing, saves it over and over until it is
// killed, and checks what a kill left: a data fork and a sidecar of the same save, and nothing else.
//   save_kill_saver make  <drawing> <lines> [backup]   a new drawing of that many lines
//   save_kill_saver loop  <drawing>                     open it, then save new versions forever
//   save_kill_saver check <drawing>                     judge the folder; exit 0 when sound
//   save_kill_saver export      <file> <lines> dxf|pdf  export a drawing of that many lines once
//   save_kill_saver export-loop <file> <lines> dxf|pdf  ... over and over until killed
//   save_kill_saver export-check <file> dxf|pdf         clear up as the next write would, then judge
//                                                       the file (a PDF is judged by qpdf in the script)
// Every version carries its number twice: in the data fork (the first line's x1) and in the
// sidecar (the first header text), so a data fork beside another save's sidecar shows.
#include "Platform/AppleDouble.h"
#include "Platform/AppResources.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Files/FileNames.h"
#include "Exchange/DxfWriter.h"
#include "Files/NativeDocument.h"
#include "Files/PdfOutput.h"
#include "Model/NewDocument.h"
#include "Files/SaveRecovery.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Leaf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
std::string Folder(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

void SetGeneration(DocWindowRecord* doc, long generation) {
    doc->lineHead->next->x1 = double(generation);
    std::string text = "generation " + std::to_string(generation);
    CStrToPStr(doc->drawing->headerFooter.texts[0], 256, text.c_str());
}

int Make(const char* path, long lines, bool backup) {
    DocWindowRecord* doc = nullptr;
    if (!NewDocument(&doc, nullptr, 0)) return 2;
    SeekLastLine(doc);
    for (long i = 0; i < lines; ++i)
        AppendLineAtCursor(doc, i * 0.01, double(i % 1000), i * 0.01 + 5, double(i % 997), false);
    SetGeneration(doc, 0);
    doc->settings->keepBackup = backup;
    FSMakeRef(path, &doc->drawing->file);
    return SaveDocument(doc, true, false, false, false, false) ? 0 : 1;
}

int Loop(const char* path) {
    FSRef file;
    FSMakeRef(path, &file);
    DocWindowRecord* doc = nullptr;
    if (!OpenDocument(&doc, &file, false, -1, 0, 0)) return 2;
    long generation = long(doc->lineHead->next->x1);
    // SAVE_KILL_GAP_MS widens the gap between the exchange of the data forks and of the sidecars,
    // so that kills land in it often enough to show what happens there.
    // SAVE_KILL_NO_ATOMIC_EXCHANGE=1 exchanges as on a file system without the atomic call.
    FSFaultInjection faults;
    if (const char* gap = std::getenv("SAVE_KILL_GAP_MS"))
        faults.pauseAfterDataExchangeMs = SInt32(std::atoi(gap));
    if (const char* links = std::getenv("SAVE_KILL_NO_ATOMIC_EXCHANGE"))
        faults.refuseAtomicExchange = *links == '1';
    FSSetFaultInjection(faults);
    for (;;) {
        SetGeneration(doc, ++generation);
        MarkDocumentChanged(doc);
        if (!SaveDocument(doc, false, false, false, false, false)) return 1;
    }
}

int Check(const char* path) {
    FSRef file;
    FSMakeRef(path, &file);
    // Before anything is repaired: does the sidecar's save record describe the data fork beside it?
    SaveRecord record;
    UInt64 size = 0, sum = 0;
    bool raw = ReadSaveRecord(&file, &record) && record.complete &&
               DataForkChecksum(&file, &size, &sum) == noErr && size == record.dataSize &&
               sum == record.dataChecksum;
    DocWindowRecord* doc = nullptr;
    if (!OpenDocument(&doc, &file, false, -1, 0, 0)) {
        std::printf("raw=%s open=failed\n", raw ? "ok" : "mixed");
        return 1;
    }
    long dataGeneration = long(doc->lineHead->next->x1);
    std::string header(reinterpret_cast<const char*>(doc->drawing->headerFooter.texts[0] + 1),
                       doc->drawing->headerFooter.texts[0][0]);
    bool pair = header == "generation " + std::to_string(dataGeneration);
    // Left beside the drawing after that open: anything but the drawing, its backup and their sidecars.
    FSRef folder;
    FSMakeRef(Folder(path).c_str(), &folder);
    std::vector<std::string> names;
    FSListFolder(&folder, &names);
    std::string leaf = Leaf(path), backup = BackupFileName(leaf);
    std::string leftovers;
    int count = 0;
    for (const std::string& name : names)
        if (name != leaf && name != "._" + leaf && name != backup && name != "._" + backup) {
            leftovers += " [" + name + "]";
            ++count;
        }
    // The backup, when there is one, must be a pair as well.
    FSRef backupRef;
    FSMakeRef((Folder(path) + "/" + backup).c_str(), &backupRef);
    const char* backupState = "none";
    if (FSRefExists(&backupRef))
        backupState = ReadSaveRecord(&backupRef, &record) && record.complete &&
                              DataForkChecksum(&backupRef, &size, &sum) == noErr && size == record.dataSize &&
                              sum == record.dataChecksum
                          ? "ok"
                          : "BAD";
    std::printf("raw=%s pair=%s generation=%ld backup=%s leftovers=%d%s\n", raw ? "ok" : "mixed",
                pair ? "ok" : "BAD", dataGeneration, backupState, count, leftovers.c_str());
    return pair && count == 0 && std::strcmp(backupState, "BAD") != 0 ? 0 : 1;
}

DocWindowRecord* LinesDrawing(long lines) {
    DocWindowRecord* doc = nullptr;
    if (!NewDocument(&doc, nullptr, 0)) return nullptr;
    SeekLastLine(doc);
    for (long i = 0; i < lines; ++i)
        AppendLineAtCursor(doc, i * 0.01, double(i % 1000), i * 0.01 + 5, double(i % 997), false);
    return doc;
}

OSErr ExportOnce(DocWindowRecord* doc, const FSRef* file, bool pdf) {
    if (!pdf) return ExportDXF(doc, file, false);
    Float64 right = 0;
    for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        right = std::max(right, l->x2);
    return DrawingToPDF(doc, false, 0, 0, right, 1000, file);
}

int Export(const char* path, long lines, bool pdf, bool loop) {
    DocWindowRecord* doc = LinesDrawing(lines);
    if (doc == nullptr) return 2;
    FSRef file;
    FSMakeRef(path, &file);
    FSFaultInjection faults;
    if (const char* links = std::getenv("SAVE_KILL_NO_ATOMIC_EXCHANGE"))
        faults.refuseAtomicExchange = *links == '1';
    FSSetFaultInjection(faults);
    do
        if (ExportOnce(doc, &file, pdf) != noErr) return 1;
    while (loop);
    return 0;
}

int ExportCheck(const char* path, bool pdf) {
    FSRef folder;
    FSMakeRef(Folder(path).c_str(), &folder);
    RecoverInterruptedSaves(&folder);
    std::vector<std::string> names;
    FSListFolder(&folder, &names);
    std::string leaf = Leaf(path), leftovers;
    int count = 0;
    for (const std::string& name : names)
        if (name != leaf) {
            leftovers += " [" + name + "]";
            ++count;
        }
    bool whole = true;
    if (!pdf) {
        FILE* f = std::fopen(path, "rb");
        std::string tail(5, '\0');
        whole = f != nullptr && std::fseek(f, -5, SEEK_END) == 0 && std::fread(tail.data(), 1, 5, f) == 5 &&
                tail == "EOF\r\n";
        if (f) std::fclose(f);
    }
    std::printf("whole=%s leftovers=%d%s\n", whole ? "ok" : "BAD", count, leftovers.c_str());
    return whole && count == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s make|loop|check <drawing> [lines] [backup]\n", argv[0]);
        return 2;
    }
    LoadAppResources();
    std::string mode = argv[1];
    int result = 2;
    if (mode == "make" && argc >= 4)
        result = Make(argv[2], std::atol(argv[3]), argc >= 5 && std::strcmp(argv[4], "backup") == 0);
    else if (mode == "loop")
        result = Loop(argv[2]);
    else if (mode == "check")
        result = Check(argv[2]);
    else if ((mode == "export" || mode == "export-loop") && argc >= 5)
        result = Export(argv[2], std::atol(argv[3]), std::strcmp(argv[4], "pdf") == 0, mode == "export-loop");
    else if (mode == "export-check" && argc >= 4)
        result = ExportCheck(argv[2], std::strcmp(argv[3], "pdf") == 0);
    DisposePrivateTempFolder();
    return result;
}
