// The DXF import frame: the new document, the file loop over the sections, the reader of one
// object's group-code/value pairs, progress and cancel, and what the user is told at the end.
#include "Exchange/DxfReader.h"

#include "Files/FileNames.h"

#include "Exchange/DxfReaderContext.h"
#include "Exchange/DxfWriter.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/Preferences.h"
#include "Model/NewDocument.h"
#include "Model/SpatialIndex.h"
#include "Other/Alerts.h"
#include "Other/NumberFormat.h"
#include "Interface/ProgressWindow.h"
#include "Model/SharedUtilities.h"
#include "Other/TextLineReader.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MacRoman.h"
#include "Platform/NumberText.h"
#include "Platform/Windows.h"
#include "Shell/DocumentWindow.h"
#include "Tools/TextElements.h"
#include "View/ZoomExtents.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr SInt32 kReadBufferKilobytes = 100;
constexpr SInt16 kReadingDxfText = 107; // "Reading DXF file ("
constexpr SInt16 kNoMemoryMessage = 9;
constexpr Float64 kLargestValue = 1e20;

} // namespace

// A group code: blanks around it, an optional sign and digits; -32768 for anything else.
SInt32 ParseGroupCode(ConstStr255Param s) {
    int i = 1, n = s[0];
    // Most codes are one to three plain digits.
    if (n >= 1 && n <= 3) {
        unsigned value = 0;
        int k = 1;
        for (; k <= n; ++k) {
            unsigned digit = unsigned(s[k]) - '0';
            if (digit > 9) break;
            value = value * 10 + digit;
        }
        if (k > n) return SInt32(value);
    }
    while (i <= n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i <= n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i > n || s[i] < '0' || s[i] > '9') return -32768;
    SInt32 value = 0;
    while (i <= n && s[i] >= '0' && s[i] <= '9') {
        if (value < 100000) value = value * 10 + (s[i] - '0');
        ++i;
    }
    while (i <= n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    if (i <= n) return -32768;
    return negative ? -value : value;
}

bool UpperEquals(ConstStr255Param s, const char* word) {
    size_t n = std::strlen(word);
    if (s[0] != n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char c = s[i + 1];
        if (c >= 'a' && c <= 'z') c = UInt8(c - 32);
        if (c != UInt8(word[i])) return false;
    }
    return true;
}

namespace {

// Printable ASCII without escapes reads the same in every code page; only other names need decoding.
bool PlainAscii(ConstStr255Param s) {
    for (int i = 1; i <= s[0]; ++i)
        if (s[i] < 32 || s[i] > 126 || s[i] == '\\') return false;
    return true;
}

bool DroppedCode(SInt32 code) {
    return (code >= 270 && code <= 290) || (code >= 421 && code <= 449) || code == 330 || code == 331 ||
           (code >= 340 && code <= 349) || (code >= 360 && code <= 369) || (code >= 370 && code <= 372) ||
           code == 390 || (code >= 1000 && code <= 1100);
}

// Lengths follow the coordinate scale; ratios, scales, bulges and parameters do not.
bool ScaledCode(SInt32 code, const DxfObjectOptions& options) {
    if (code >= 10 && code <= 39) return true;
    if (code == 40) return !options.ratio40;
    return code == 44 || code == 45 || code == 49;
}

SInt32 ArrayOfReal(SInt32 code) {
    switch (code) {
    case 10:
        return kDxf10;
    case 11:
        return kDxf11;
    case 20:
        return kDxf20;
    case 21:
        return kDxf21;
    case 40:
        return kDxf40;
    case 41:
        return kDxf41;
    case 50:
        return kDxf50;
    case 51:
        return kDxf51;
    default:
        return -1;
    }
}

void Append(DXFReaderContext& ctx, SInt32 array, Float64 value) {
    SInt32& n = ctx.counts[array];
    if (n < kDxfArrayCapacity) ctx.arrays[array][size_t(n++)] = value;
}

void MarkSeen(DXFReaderContext& ctx, SInt32 code) {
    if (code < 0 || code > kDxfMaxSeenCode || ctx.seen[size_t(code)]) return;
    ctx.seen[size_t(code)] = 1;
    ctx.seenList[size_t(ctx.seenCount++)] = SInt16(code);
}

void ClearObject(DXFReaderContext& ctx) {
    // Only the slots of the codes the last object gave hold values.
    for (SInt32 i = 0; i < ctx.seenCount; ++i) {
        SInt16 code = ctx.seenList[size_t(i)];
        ctx.seen[size_t(code)] = 0;
        if (code >= 1 && code <= 9)
            ctx.strings[code - 1][0] = 0;
        else if (code >= 10 && code <= 58)
            ctx.reals[code - 10] = 0;
        else if (code == 230)
            ctx.reals[220] = 0;
        else if (code >= 62 && code <= 220)
            ctx.ints[code - 62] = 0;
    }
    ctx.seenCount = 0;
    std::memset(ctx.counts, 0, sizeof ctx.counts);
    if (ctx.bulgeCount > 0)
        std::memset(ctx.arrays[kDxf42].get(), 0, size_t(ctx.bulgeCount) * sizeof(Float64));
    ctx.bulgeCount = 0;
    ctx.nonFinite = false;
    ctx.lineTypeGiven = false;
    ctx.chunks.clear();
    ctx.doc->settings->currentColor = RGBColor{0, 0, 0};
}

// Plain numbers, by far the most common, are converted in place; anything else (blanks after the
// number, "D" exponents, decimal commas, numbers out of range) goes through ParseReal.
Float64 ParseDxfReal(ConstStr255Param value) {
    const char* first = reinterpret_cast<const char*>(value + 1);
    const char* last = first + value[0];
    while (first < last && *first == ' ')
        ++first;
    bool negative = first < last && *first == '-';
    if (first < last && (*first == '-' || *first == '+')) ++first;
    // Up to 15 digits with a point and no exponent: the digits and the power of ten are exact doubles,
    // so one division rounds as the full conversion does, at a fraction of its cost.
    {
        static constexpr Float64 kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        // Digits past the sixteenth may overflow: the count then refuses the result.
        std::uint64_t digits = 0;
        const char* p = first;
        while (p < last && unsigned(*p - '0') <= 9)
            digits = digits * 10 + std::uint64_t(*p++ - '0');
        int count = int(p - first), decimals = 0;
        if (p < last && *p == '.') {
            const char* fraction = ++p;
            while (p < last && unsigned(*p - '0') <= 9)
                digits = digits * 10 + std::uint64_t(*p++ - '0');
            decimals = int(p - fraction);
            count += decimals;
        }
        if (p == last && count > 0 && count <= 15) {
            Float64 v = Float64(digits) / kPowers[decimals];
            return negative ? -v : v;
        }
    }
    Float64 v = 0;
    auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != last || first == last) return ParseReal(value);
    return negative ? -v : v;
}

void StoreReal(DXFReaderContext& ctx, SInt32 code, ConstStr255Param value, const DxfObjectOptions& options) {
    Float64 v = ParseDxfReal(value);
    if (!std::isfinite(v)) {
        // "nan", "inf" or a number beyond the doubles: never stored, and the element is dropped.
        LogDxf(ctx, "Line: " + std::to_string(BufferedLineNumber()) + " value is not a number: " +
                        PStrBytes(value) + " (groupcode " + std::to_string(code) + ")");
        if (!ctx.nonFinite) ++ctx.nonFiniteObjects;
        ctx.nonFinite = true;
        v = 0;
    } else if (v > kLargestValue || v < -kLargestValue) {
        ++ctx.hugeValues;
        v = 0;
    }
    if (ScaledCode(code, options)) v *= ctx.coordScale;
    Float64& slot = code == 230 ? ctx.reals[220] : ctx.reals[code - 10];
    if (code == 42 && options.vertexBulges && DxfSeen(ctx, 10)) {
        // The bulge of the vertex it follows; vertices without one keep 0.
        SInt32 vertex = ctx.counts[kDxf10] - 1;
        if (vertex >= 0 && vertex < kDxfArrayCapacity) {
            ctx.arrays[kDxf42][size_t(vertex)] = v;
            if (vertex + 1 > ctx.bulgeCount) ctx.bulgeCount = vertex + 1;
        }
    } else if (!DxfSeen(ctx, SInt16(code))) {
        slot = v;
    }
    SInt32 array = ArrayOfReal(code);
    if (array >= 0) Append(ctx, array, v);
    MarkSeen(ctx, code);
}

void StoreInt(DXFReaderContext& ctx, SInt32 code, ConstStr255Param value) {
    SInt32 v = PStrToLong(value);
    ctx.ints[code - 62] = v;
    if (code == 62) {
        RGBColor colour;
        SInt16 pen = 0;
        if (DxfColourForNumber(ctx, v, &colour, &pen)) {
            ctx.doc->settings->currentColor = colour;
            ctx.doc->settings->currentPen = pen;
        }
    } else if (code == 72 || code == 73) {
        Append(ctx, code == 72 ? kDxf72 : kDxf73, Float64(v));
    }
    MarkSeen(ctx, code);
}

// Code 420, 0xRRGGBB: the element takes that colour, and the pen of the nearest colour number.
void StoreTrueColour(DXFReaderContext& ctx, ConstStr255Param value) {
    SInt32 v = PStrToLong(value);
    if (v < 0 || v > 0xFFFFFF) return;
    auto component = [](SInt32 byte) { return UInt16(byte * 257); };
    RGBColor colour{component((v >> 16) & 0xFF), component((v >> 8) & 0xFF), component(v & 0xFF)};
    RGBColor palette;
    SInt16 pen = 0;
    if (DxfColourForNumber(ctx, RGBToACI(ctx.palette, colour), &palette, &pen))
        ctx.doc->settings->currentPen = pen;
    ctx.doc->settings->currentColor = colour;
}

} // namespace

Boolean AllocateDxfContext(DXFReaderContext& ctx) {
    for (auto& a : ctx.arrays) {
        a.reset(new (std::nothrow) Float64[size_t(kDxfArrayCapacity)]());
        if (!a) return false;
    }
    ctx.seen.reset(new (std::nothrow) UInt8[size_t(kDxfMaxSeenCode) + 1]());
    ctx.seenList.reset(new (std::nothrow) SInt16[size_t(kDxfMaxSeenCode) + 1]());
    return ctx.seen && ctx.seenList;
}

namespace {

// A line across the buffer's end, an overlong line or the end of the file.
[[gnu::noinline]] Boolean ReadDxfLineSlowly(DXFReaderContext& ctx, Str255 line, Boolean keepBlanks) {
    SInt32 used = 0;
    Boolean more = keepBlanks ? ReadTextLineRaw(ctx.fork, line, &used) : ReadTextLine(ctx.fork, line, &used);
    ctx.bytesRead += UInt32(used);
    // The rest of an overlong line is no line of its own.
    while (more && BufferedLineContinues()) {
        Str255 rest;
        used = 0;
        more = ReadTextLine(ctx.fork, rest, &used);
        ctx.bytesRead += UInt32(used);
    }
    if (!more || BufferedAtEOF()) ctx.atEOF = true;
    return more || line[0] > 0;
}

} // namespace

Boolean ReadDxfLine(DXFReaderContext& ctx, Str255 line, Boolean keepBlanks) {
    line[0] = 0;
    if (ctx.atEOF) return false;
    SInt32 used = 0;
    WholeLine whole = ReadWholeTextLine(line, &used, !keepBlanks);
    if (whole == WholeLine::none) return ReadDxfLineSlowly(ctx, line, keepBlanks);
    ctx.bytesRead += UInt32(used);
    if (whole == WholeLine::last) ctx.atEOF = true;
    return true;
}

Boolean ReadDXFObject(DXFReaderContext& ctx, const DxfObjectOptions& options) {
    ClearObject(ctx);
    Str255 codeLine, value;
    if (!ReadDxfLine(ctx, codeLine)) return false;
    for (;;) {
        SInt32 code = ParseGroupCode(codeLine);
        // A text keeps its leading blanks.
        Boolean gotValue = ReadDxfLine(ctx, value, code == 1);
        if (!gotValue) return false;
        if (code >= 1 && code <= 9) {
            // Names (codes 2 to 9) are decoded here; code 1 by the reader of the text.
            std::memcpy(ctx.strings[code - 1], value, size_t(value[0]) + 1);
            if (code >= 2 && !PlainAscii(ctx.strings[code - 1]))
                CopyUtf8(DecodeDXFName(ctx.pages, PStrBytes(value)), ctx.strings[code - 1], 255);
            MarkSeen(ctx, code);
            if (code == 6)
                ApplyDXFLineType(ctx, ctx.strings[5]);
            else if (code == 8)
                ApplyDXFLayer(ctx, ctx.strings[7]);
            else if (code == 3 && ctx.keepChunks)
                ctx.chunks.append(reinterpret_cast<const char*>(value + 1), value[0]);
        } else if ((code >= 10 && code <= 58) || code == 230) {
            StoreReal(ctx, code, value, options);
        } else if (code >= 62 && code <= 220) {
            StoreInt(ctx, code, value);
        } else if (code == 420) {
            StoreTrueColour(ctx, value);
        } else if (code == 999) {
            AppendLogLine(ctx.doc, value);
        } else if (!DroppedCode(code)) {
            LogDxf(ctx, "Line: " + std::to_string(BufferedLineNumber() - 1) +
                            " unknown groupcode: " + PStrBytes(codeLine));
        }
        if (options.stopCode != 0 && code == options.stopCode) return false;
        if (!ReadDxfLine(ctx, codeLine)) return false;
        if (codeLine[0] == 0 && !ReadDxfLine(ctx, codeLine)) return false;
        if (ParseGroupCode(codeLine) == 0) return true;
    }
}

void SkipDxfObject(DXFReaderContext& ctx) {
    Str255 codeLine, value;
    while (ReadDxfLine(ctx, codeLine)) {
        SInt32 code = ParseGroupCode(codeLine);
        if (code == 0) return;
        if (!ReadDxfLine(ctx, value)) return;
        if (code == 999) AppendLogLine(ctx.doc, value);
    }
}

void SkipNotReadEntity(DXFReaderContext& ctx, ConstStr255Param name) {
    SkipDxfObject(ctx);
    std::string kind = PStrBytes(name);
    for (char& c : kind)
        c = char(std::toupper(UInt8(c)));
    if (++ctx.notRead[kind] == 1) LogDxf(ctx, "DXF-in: " + kind + " ignored");
}

void LogDxf(DXFReaderContext& ctx, const std::string& utf8) {
    AppendLogCString(ctx.doc, DXFUtf8ToLogBytes(utf8).c_str());
}

Boolean UpdateImportProgress(DXFReaderContext& ctx) {
    if (ctx.fileSize <= 0) return true;
    SInt64 percent = ctx.bytesRead * 100 / ctx.fileSize;
    if (percent == ctx.lastPercent) return true;
    ctx.lastPercent = SInt32(percent);
    SetProgressPercent(SInt16(percent > 100 ? 100 : percent));
    Str255 line;
    NumToString(BufferedLineNumber(), line);
    SetProgressText8(line);
    return !UserCancelled();
}

Float64 DxfImportScale() {
    Float64 scale = GeneralPrefs.importScale;
    return std::isfinite(scale) && scale > 0 ? scale : 1.0;
}

namespace {

// Pairs up to the section's "0 ENDSEC"; the HEADER gives its $ACADVER on the way. False at the end
// of the file.
void SkipSection(DXFReaderContext& ctx, bool header) {
    Str255 codeLine, value;
    bool versionNext = false;
    while (ReadDxfLine(ctx, codeLine)) {
        SInt32 code = ParseGroupCode(codeLine);
        if (!ReadDxfLine(ctx, value)) return;
        if (code == 0 && UpperEquals(value, "ENDSEC")) return;
        if (code == 0 && UpperEquals(value, "EOF")) {
            ctx.sawEndMark = true;
            return;
        }
        if (code == 999) AppendLogLine(ctx.doc, value);
        if (header && code == 9) {
            versionNext = UpperEquals(value, "$ACADVER");
        } else if (versionNext && code == 1) {
            versionNext = false;
            if (value[0] > 2) {
                Str255 digits;
                PStrMid(value, 3, SInt16(value[0] - 2), digits);
                ctx.acadVersion = PStrToLong(digits);
            }
        }
    }
}

enum class FileEnd { endMark, endOfFile, binary, cancelled };

// Between sections the file is read by lines, so stray lines before the first section do not
// matter; inside them by pairs.
FileEnd ReadDXFFile(DXFReaderContext& ctx) {
    Str255 line, codeLine, value;
    while (ReadDxfLine(ctx, line)) {
        if (UpperEquals(line, "AUTOCAD BINARY DXF")) return FileEnd::binary;
        if (UpperEquals(line, "EOF")) {
            ctx.sawEndMark = true;
        } else if (UpperEquals(line, "999")) {
            if (ReadDxfLine(ctx, value)) AppendLogLine(ctx.doc, value);
        } else if (UpperEquals(line, "SECTION")) {
            if (!ReadDxfLine(ctx, codeLine) || !ReadDxfLine(ctx, value)) break;
            ctx.sawSection = true;
            bool named = ParseGroupCode(codeLine) == 2;
            if (named && UpperEquals(value, "ENTITIES")) {
                // Up to the first "0": the entity names follow.
                SkipDxfObject(ctx);
                if (!ReadDXFEntities(ctx)) return FileEnd::cancelled;
            } else if (named && UpperEquals(value, "HEADER")) {
                ReadDXFHeader(ctx);
            } else if (named && UpperEquals(value, "TABLES")) {
                ReadDXFTables(ctx);
            } else if (named && UpperEquals(value, "BLOCKS")) {
                SkipDxfObject(ctx);
                if (!ReadDXFBlocks(ctx)) return FileEnd::cancelled;
            } else {
                SkipSection(ctx, false);
            }
            if (!ctx.sawEndMark && !UpdateImportProgress(ctx)) return FileEnd::cancelled;
        }
        if (ctx.sawEndMark) return FileEnd::endMark;
    }
    return ctx.sawEndMark ? FileEnd::endMark : FileEnd::endOfFile;
}

void NameFromFile(const FSRef* file, Str255 name) {
    LeafNameOf(file, name);
}

void OpenImportProgress(DXFReaderContext& ctx) {
    Str255 text, size;
    GetAppString(kReadingDxfText, text);
    FormatByteSize(SInt32(ctx.fileSize > 0x7FFFFFFF ? 0x7FFFFFFF : ctx.fileSize), size);
    AppendPStr(text, 256, size);
    AppendPStr(text, 256, reinterpret_cast<const UInt8*>("\002)\xC9")); // ")…" in Mac Roman
    OpenProgress(text);
}

// What was not read, kind by kind with its count, one log line each; empty when nothing was lost.
std::string NotReadSummary(DXFReaderContext& ctx) {
    std::string summary;
    auto add = [&](const std::string& what, SInt32 count) {
        if (count <= 0) return;
        LogDxf(ctx, "DXF-in: not imported: " + what + " " + std::to_string(count));
        summary += (summary.empty() ? "" : ", ") + what + " " + std::to_string(count);
    };
    for (const auto& [kind, count] : ctx.notRead)
        add(kind, count);
    add("elements with values that are no numbers", ctx.nonFiniteObjects);
    add("coordinates beyond 1e20 (read as 0)", ctx.hugeValues);
    return summary;
}

// The switches the read changes, given back afterwards.
struct SavedSwitches {
    Boolean undoOn, markNewLines, replaying;
    UInt16 penMode;
};

} // namespace

Boolean LooksLikeDXF(const UInt8* bytes, SInt32 count) {
    for (SInt32 i = 0; i + 7 < count; ++i)
        if (std::memcmp(bytes + i, "SECTION", 7) == 0) return true;
    return false;
}

Boolean ImportDXF(DocWindowRecord** slot, const FSRef* file) {
    *slot = nullptr;
    Str255 name;
    NameFromFile(file, name);
    std::unique_ptr<DXFReaderContext> ctx(new (std::nothrow) DXFReaderContext());
    if (!ctx || !AllocateDxfContext(*ctx)) {
        ShowErrorAlert(kNoMemoryMessage, name);
        return false;
    }
    LoadACIPalette(ctx->palette);
    // The file first: a file that cannot be opened leaves no empty drawing behind.
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(file, fsRdPerm, &fork);
    if (err == noErr) err = FSGetForkSize(fork, &ctx->fileSize);
    if (err == noErr && !OpenBufferedFork(kReadBufferKilobytes, fork)) err = BufferedReadResult();
    if (err != noErr) {
        if (fork != 0) FSCloseFork(fork);
        ShowOSErrorAlert(err != noErr ? err : OSErr(ioErr));
        return false;
    }
    const Str255 untitled = {0};
    if (!NewDocument(slot, untitled, 0)) {
        CloseBufferedFork();
        FSCloseFork(fork);
        ShowErrorAlert(kNoMemoryMessage, name);
        return false;
    }
    DocWindowRecord* doc = *slot;
    ctx->doc = doc;
    ctx->fork = fork;
    LoadDocumentDefaults(doc);
    DocSettings* s = doc->settings;
    // The three words every importer clears: those before the settings' background colour.
    s->words204[0] = s->words204[1] = s->words204[2] = 0;
    LoadCodePageTables(ctx->pages, GeneralPrefs.codePage);
    DrawingRecord* d = doc->drawing;
    // The drawing is named after the file, at most 63 characters.
    d->documentName[0] = UInt8(name[0] > 63 ? 63 : name[0]);
    std::memcpy(d->documentName + 1, name + 1, d->documentName[0]);
    if (doc->window != nullptr) SetDocWindowTitle(doc, d->documentName);

    SavedSwitches saved{s->undoOn, s->markNewLines, d->undo.undoReplaying, s->penMode};
    d->undo.undoReplaying = true;
    s->undoOn = false;
    s->markNewLines = false;
    s->penMode = 0;
    s->currentPen = 1;
    s->currentLineType = 1;
    s->currentLayer = 0;
    s->currentGroup = 0;
    TextAngleSetting(s) = 0;
    s->drawingScale = DxfImportScale();

    OpenImportProgress(*ctx);
    FileEnd end;
    {
        ScopedRecordBlocks bulk;
        end = ReadDXFFile(*ctx);
    }
    RemoveUnusedDimBlocks(doc);
    CloseBufferedFork();
    FSCloseFork(fork);
    CloseProgress();

    s->markNewLines = saved.markNewLines;
    s->penMode = saved.penMode;
    s->undoOn = saved.undoOn;
    d->undo.undoReplaying = saved.replaying;

    // Nothing of the file was DXF: no drawing is left half made.
    if (end == FileEnd::binary || (end != FileEnd::cancelled && !ctx->sawSection)) {
        CloseDocumentWindow(doc, false, false, false);
        *slot = nullptr;
        ShowErrorAlert(end == FileEnd::binary ? kDxfMsgBinary : kDxfMsgNotReadable, name);
        return false;
    }
    SpatialIndexStale(doc);
    MarkDocumentChanged(doc);
    Float64 box[4];
    ComputeDrawingExtents(doc, 0, false, &box[0], &box[1], &box[2], &box[3], 0);
    if (doc->window != nullptr) {
        ShowWindow(doc->window);
        RelayoutDocumentWindow(doc);
    }
    RequestRedraw(doc);
    AddRecentFile(file);

    const Str255 empty = {0};
    if (end == FileEnd::endOfFile) {
        AppendLogCString(doc, "DXF-in: the file ends before its end mark");
        ShowErrorAlert(kDxfMsgTruncated, name);
    }
    std::string lost = NotReadSummary(*ctx);
    if (!lost.empty()) {
        std::string mac = UTF8ToMacRoman(lost).substr(0, 255);
        Str255 text;
        text[0] = UInt8(mac.size());
        std::memcpy(text + 1, mac.data(), mac.size());
        ShowErrorAlert(kDxfMsgIgnoredParts, text);
    }
    if (ctx->acadVersion >= 1015) ShowErrorAlert(kDxfMsgNewerVersion, empty);
    return true;
}

void RegisterDXFImporter() {
    RegisterImporter(kOpenDXF, FormatImporter{LooksLikeDXF, ImportDXF});
}
