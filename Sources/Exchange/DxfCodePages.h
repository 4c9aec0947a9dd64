// DXF colours and code pages: the colour index palette (bundle text 900), the code-page tables of
// bundle text 10000, the other code pages a file may name, and the decoding and encoding of DXF
// strings between the file's bytes and UTF-8.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/QuickDrawTypes.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

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
    // R2007 and later files are UTF-8 whatever they name; an ANSI_ code page is read through the
    // system's converter (its name here, empty when a table is used).
    Boolean utf8 = false;
    std::string system;
};

// The import's code-page index for a preference value: 0..13 as they are, 14 (ANSI_1252) reads as
// ISO 8859-1, anything larger as the default.
UInt16 ImportCodePageIndex(UInt32 preference);
// Sets the index from the preference and fills the tables from bundle text 10000; the tables stay
// absent when the file cannot be read.
Boolean LoadCodePageTables(DXFCodePages& pages, UInt32 preference);
void DisposeCodePageTables(DXFCodePages& pages);
// $DWGCODEPAGE: a table's name (exact match) selects the table; ANSI_874, ANSI_932, ANSI_936,
// ANSI_949, ANSI_950 and ANSI_1250 to ANSI_1258 (any case) select that Windows code page. Others keep
// what was selected. True when known.
Boolean SelectDXFCodePage(DXFCodePages& pages, ConstStringPtr value);

// The bytes of a file's string as UTF-8, by the file's encoding. Bytes without a character become
// "?"; nothing else is lost.
std::string DXFBytesToUtf8(const DXFCodePages& pages, std::string_view bytes);
// A name (layer, block, line type, style): the file's bytes, "\U+XXXX" and "\M+nXXXX" escapes
// and control characters as blanks, into UTF-8 of at most 255 bytes, never cut inside a character.
std::string DecodeDXFName(const DXFCodePages& pages, std::string_view bytes);
// A TEXT's value: the leading "\f...\H...;" format run, the escapes and the "%%" control codes
// ("%%d", "%%p" and "%%c" as their signs, "%%nnn" as byte nnn of the code page).
std::string DecodeDXFText(const DXFCodePages& pages, std::string_view bytes);
// An MTEXT's value after the file's encoding: its formatting codes interpreted, paragraphs ("\P")
// as line feeds, stacked fractions as a/b, the escapes and control codes as in a TEXT.
std::string DecodeDXFMText(const DXFCodePages& pages, std::string_view bytes);

// UTF-8 into the Mac Roman of the document log: a character Mac Roman lacks as "\U+XXXX", so that
// what the log names stays readable.
std::string DXFUtf8ToLogBytes(std::string_view utf8);

// The export's code page for a preference value: 0..14, anything larger gives the default.
UInt32 ExportCodePage(UInt32 preference);
// What an export writes texts in: the characters of one code page as its bytes, every other one as
// "\U+XXXX". Page -1 writes ASCII alone, for files that name no code page.
struct DXFTextEncoder {
    SInt32 page = -1;               // -1 ASCII; 0..13 a table; 14 ANSI_1252
    std::array<UInt32, 128> high{}; // the character of each byte from 128 on; 0 where none
};
// False when a table page was asked for and bundle text 10000 could not be read (the encoder then
// writes ASCII).
Boolean LoadDXFTextEncoder(DXFTextEncoder& encoder, SInt32 page);
// UTF-8 to the encoder's bytes: "%" as "%%%", control characters as "?", characters of the page as
// its bytes, others as "\U+XXXX" (two for characters beyond the first 65536); at most 255 bytes,
// never cut inside a character or an escape.
std::string EncodeDXFText(std::string_view utf8, const DXFTextEncoder& encoder);
