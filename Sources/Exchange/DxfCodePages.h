// DXF colours and code pages: the colour index palette (bundle text 900), the code-page tables of
// bundle text 10000 for reading and for writing, the decoding of DXF texts into Mac Roman, and the
// DOS decoding of the short strings of a DXF file.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/QuickDrawTypes.h"

#include <array>
#include <memory>

constexpr SInt16 kDXFPaletteBundleText = 900;
constexpr SInt16 kDXFCodePageBundleText = 10000;

// Code pages by index: 0 dos437, 1 dos850, 2 dos852, 3 dos855, 4 dos857, 5 dos860, 6 dos861,
// 7 dos863, 8 dos864, 9 dos865, 10 dos869, 11 ISO 8859-1, 12 ISO 8859-2, 13 Mac Roman. The
// preference may also hold 14, ANSI_1252, which the tables serve with ISO 8859-1.
constexpr int kDXFCodePageCount = 14;
constexpr UInt16 kDXFMacRomanCodePage = 13;
constexpr UInt32 kDXFAnsi1252Preference = 14;
constexpr UInt32 kDXFDefaultCodePage = 6;

// Entries 1..255 from the palette file, each component v*257 from the file's 0..1 reals; white is
// stored as black. Entry 0 is left as the caller set it. False when the file is missing or short
// (entries that the file gave are kept).
Boolean LoadACIPalette(RGBColor palette[256]);

// One character of a code page: count 1 (first byte) or 2 (high byte, low byte); count 0 where the
// file leaves the byte undefined.
struct DXFCodePageEntry {
    UInt16 count;
    UInt8 first;
    UInt8 second;
};
using DXFCodePageTable = std::array<DXFCodePageEntry, 256>;

struct DXFCodePages {
    std::unique_ptr<std::array<DXFCodePageTable, kDXFCodePageCount>> tables; // null: not loaded
    UInt16 index = kDXFDefaultCodePage;
};

// The import's code-page index for a preference value: 0..13 as they are, 14 (ANSI_1252) reads as
// ISO 8859-1, anything larger as the default.
UInt16 ImportCodePageIndex(UInt32 preference);
// Sets the index from the preference and fills the tables from bundle text 10000; the tables stay
// absent when the file cannot be read.
Boolean LoadCodePageTables(DXFCodePages& pages, UInt32 preference);
void DisposeCodePageTables(DXFCodePages& pages);
// $DWGCODEPAGE: a known name (exact match) selects its table; others keep the index. True when known.
Boolean SelectDXFCodePage(DXFCodePages& pages, ConstStringPtr value);
// A DXF text (Str255) in place into Mac Roman: the leading "\f...\H...;" format run, "\U+XXXX"
// escapes, "%%" control codes and the code page's upper half. Without tables, bytes 128 and above
// are kept as they are.
void DecodeDXFText(const DXFCodePages& pages, StringPtr text);

// The export's code page for a preference value: 0..14, anything larger gives the default.
UInt32 ExportCodePage(UInt32 preference);
// For each code page, entry c - 128 is the byte written for Mac Roman character c; 0 where the
// code page has no such character.
using DXFExportTables = std::array<std::array<UInt8, 128>, kDXFCodePageCount>;
// Clears the tables, then fills them from bundle text 10000; false when the file is missing.
Boolean LoadExportCodePages(DXFExportTables& tables);

// The short strings of a DXF file (names of layers, blocks, styles: group codes 2 to 9) are read as
// code page 437 into UTF-8; control characters become blanks. The result is cut at 255 bytes, never
// inside a character.
void DosToUtf8(StringPtr text);
