// Fuzz target: a DXF file imported into a new drawing, as opening it does. With DW_FUZZ_SEED_DIR
// set, a file of every entity kind the reader takes (and the ezdxf fixtures) are first written there
// as starting seeds.
#include "Exchange/DxfReader.h"
#include "Model/NewDocument.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const char kEveryKind[] =
    "999\nseed\n0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n62\n1\n10\n1\n20\n2\n11\n3\n21\n4\n"
    "0\nRAY\n10\n0\n20\n0\n11\n1\n21\n0\n0\nXLINE\n10\n0\n20\n0\n11\n0\n21\n1\n"
    "0\nCIRCLE\n10\n1\n20\n1\n40\n2\n230\n-1\n"
    "0\nARC\n10\n5\n20\n0\n40\n2\n50\n0\n51\n90\n"
    "0\nLWPOLYLINE\n90\n3\n70\n1\n10\n0\n20\n0\n42\n1\n10\n10\n20\n0\n10\n10\n20\n10\n"
    "0\nPOLYLINE\n66\n1\n70\n1\n0\nVERTEX\n10\n0\n20\n0\n42\n0.5\n0\nVERTEX\n10\n4\n20\n0\n"
    "0\nVERTEX\n10\n4\n20\n3\n0\nSEQEND\n8\n0\n"
    "0\nSOLID\n10\n0\n20\n0\n11\n4\n21\n0\n12\n0\n22\n3\n13\n4\n23\n3\n"
    "0\nSPLINE\n70\n1\n73\n3\n74\n0\n10\n0\n20\n0\n10\n1\n20\n2\n10\n3\n20\n2\n"
    "0\nELLIPSE\n10\n0\n20\n0\n11\n10\n21\n0\n40\n0.5\n41\n0\n42\n3.14\n"
    "0\nHATCH\n62\n3\n91\n2\n92\n1\n93\n2\n72\n1\n10\n0\n20\n0\n11\n9\n21\n0\n"
    "72\n2\n10\n5\n20\n0\n40\n4\n50\n0\n51\n180\n73\n1\n97\n0\n"
    "92\n0\n93\n1\n72\n2\n10\n5\n20\n1\n40\n1\n50\n0\n51\n360\n73\n1\n97\n0\n75\n0\n"
    "0\n3DFACE\n10\n0\n0\nLEADER\n8\nLINE\n0\nPOINT\n10\n1\n"
    "0\nENDSEC\n0\nEOF\n";

void WriteSeeds() {
    const char* folder = std::getenv("DW_FUZZ_SEED_DIR");
    if (folder == nullptr) return;
    std::ofstream(std::string(folder) + "/every-kind.dxf", std::ios::binary) << kEveryKind;
    std::error_code ignored;
    for (const char* name : {"entities-R12.dxf", "entities-R2000.dxf"})
        std::filesystem::copy_file(std::string(DW_RESOURCE_DIR) + "/../Tests/Fixtures/Dxf/" + name,
                                   std::string(folder) + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing, ignored);
}

std::string gPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    WriteSeeds();
    char folder[] = "/tmp/dxf-fuzz-XXXXXX";
    if (mkdtemp(folder) != nullptr) gPath = std::string(folder) + "/input.dxf";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (gPath.empty()) return 0;
    std::ofstream(gPath, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
    FSRef file;
    if (FSMakeRef(gPath.c_str(), &file) != noErr) return 0;
    DocWindowRecord* doc = nullptr;
    ImportDXF(&doc, &file);
    while (OpenDocumentList != nullptr)
        DisposeDocumentRecords(OpenDocumentList);
    ClearRecordedAlerts();
    return 0;
}
