// Writers and readers of the stored element records, with the gates of older file versions.
#include "ElementEncoding.h"

#include "Alerts.h"
#include "DocumentRecords.h"
#include "Fonts.h"
#include "MacRoman.h"
#include "MemoryManager.h"
#include "Streams.h"

#include <cmath>
#include <cstring>
#include <iconv.h>
#include <string>
#include <utility>

namespace {

// Versions at which the stored form changed.
constexpr SInt16 kInstanceWordVersion = 0x120;
constexpr SInt16 kInstanceYScaleVersion = 0x210;
constexpr SInt16 kDimensionArcVersion = 0x215;
constexpr SInt16 kPolylineWordsVersion = 0x160;
constexpr SInt16 kUtf8Version = 0x700;

// Budgets of the fixed fields of one record. Variable data (points, outlines) is read against a
// budget sized from its checked count, so that every area the writer writes is read back whole.
constexpr SInt32 kElementReadAllowance = 1024;

// Sane upper bounds for stored byte counts, besides the bytes the fork still holds.
constexpr SInt64 kMaxTextBoxBytes = 16 * 1024 * 1024;
constexpr SInt64 kMaxPictureBytes = 256 * 1024 * 1024;

// Message 48 when point or picture memory cannot be had.
void ReportOutOfMemory() {
    Str255 empty = {0};
    ShowErrorAlert(48, empty);
}

// Old Japanese texts take the font that shows them.
SInt16 OsakaFontNumber() {
    return 16384;
}

struct Reader {
    SInt16 fork;
    SInt16 format;
    SInt32 remaining;

    SInt16 Short() { return StreamReadShort(fork, &remaining, format); }
    UInt16 Word() { return UInt16(StreamReadShort(fork, &remaining, format)); }
    SInt32 Long() { return StreamReadLong(fork, &remaining, format); }
    Float64 Real() { return StreamReadReal(fork, format, &remaining); }
    RGBColor Color() { return StreamReadRGB(fork, &remaining, format); }
    void Reals(Float64* values, int count) {
        for (int i = 0; i < count; ++i)
            values[i] = Real();
    }
};

void WriteReals(SInt16 fork, const Float64* values, int count) {
    for (int i = 0; i < count; ++i)
        StreamWriteReal(fork, values[i]);
}

void WritePenBlock(SInt16 fork, const ElementPenAttributes& pen) {
    StreamWriteShort(fork, pen.penFlags);
    StreamWriteRGB(fork, pen.color);
    StreamWriteShort(fork, pen.penWidth100);
    StreamWriteLong(fork, pen.pattern);
}

// A pen's width and colour from the drawing's pen tables; a pen outside 1..8 (or no drawing) takes
// the drawing's current width and colour, so a stored pen number never indexes past the tables.
void PenDefaults(const DocWindowRecord* doc, SInt16 pen, ElementPenAttributes* out) {
    out->pattern = 0;
    if (doc == nullptr || doc->settings == nullptr) {
        out->color = RGBColor{0, 0, 0};
        out->penWidth100 = 25;
        return;
    }
    const DocSettings* s = doc->settings;
    if (pen >= 1 && pen <= 8) {
        out->color = s->penColors[pen - 1];
        out->penWidth100 = SInt16(std::lround(s->penWidths[pen - 1] * 100.0));
    } else {
        out->color = s->currentColor;
        out->penWidth100 = s->currentPenWidth100;
    }
}

void ReadPenBlock(Reader& in, const DocWindowRecord* doc, SInt16 pen, SInt16 version,
                  ElementPenAttributes* out) {
    if (version >= kPenBlockVersion) {
        out->penFlags = in.Short();
        out->color = in.Color();
        out->penWidth100 = in.Short();
        out->pattern = in.Long();
        return;
    }
    out->penFlags = version >= kPenFlagsVersion ? in.Short() : 0;
    PenDefaults(doc, pen, out);
}

bool CheckedCount(SInt64 count, SInt64 bytesEach, SInt64 bytesLeft, SInt64 limit) {
    if (count < 0 || count > limit) return false;
    return count * bytesEach <= bytesLeft;
}

// Reads the points of one outline or polyline into a handle of 16-byte points.
bool ReadPoints(SInt16 fork, SInt16 format, SInt64 count, Handle* out) {
    SInt32 realSize = StoredRealSize(format);
    if (realSize == 0) {
        StreamNoteError(paramErr);
        return false;
    }
    if (!CheckedCount(count, 2 * realSize, StreamBytesLeft(fork), 65536)) {
        StreamNoteError(eofErr);
        return false;
    }
    if (!NewHandleWithTempFallback(out, Size(count * 16))) {
        StreamNoteError(memFullErr);
        return false;
    }
    Reader in{fork, format, SInt32(count * 2 * realSize)};
    auto* points = reinterpret_cast<Float64*>(**out);
    for (SInt64 i = 0; i < count * 2; ++i)
        points[i] = in.Real();
    return true;
}

void WritePoints(SInt16 fork, Handle points, SInt64 count, Size offset) {
    Size available = points != nullptr ? (GetHandleSize(points) - offset) / 16 : 0;
    for (SInt64 i = 0; i < count; ++i) {
        Float64 xy[2] = {0.0, 0.0};
        if (i < available) std::memcpy(xy, *points + offset + i * 16, 16);
        WriteReals(fork, xy, 2);
    }
}

// Area outline in a handle: the signed count, then |count| + 1 points.
bool ReadOutline(SInt16 fork, SInt16 format, Handle* out) {
    *out = nullptr;
    SInt32 budget = 2;
    SInt16 count = StreamReadShort(fork, &budget);
    SInt64 points = std::abs(SInt32(count)) + 1;
    SInt32 realSize = StoredRealSize(format);
    if (realSize == 0 || !CheckedCount(points, 2 * realSize, StreamBytesLeft(fork), 65536)) {
        StreamNoteError(realSize == 0 ? paramErr : eofErr);
        return false;
    }
    if (!NewHandleWithTempFallback(out, kOutlineHeaderSize + Size(points * 16))) {
        StreamNoteError(memFullErr);
        return false;
    }
    std::memset(**out, 0, kOutlineHeaderSize);
    std::memcpy(**out, &count, sizeof count);
    Reader in{fork, format, SInt32(points * 2 * realSize)};
    Float64* xy = OutlinePoints(*out);
    for (SInt64 i = 0; i < points * 2; ++i)
        xy[i] = in.Real();
    return true;
}

void WriteOutline(SInt16 fork, Handle outline) {
    SInt16 count = outline != nullptr ? OutlineLastIndex(outline) : 0;
    StreamWriteShort(fork, count);
    WritePoints(fork, outline, std::abs(SInt32(count)) + 1, kOutlineHeaderSize);
}

void FreeAreaData(AreaRecord* area) {
    if (area->holes != nullptr) {
        Size slots = GetHandleSize(area->holes) / Size(sizeof(Handle));
        auto* holes = reinterpret_cast<Handle*>(*area->holes);
        for (Size i = 0; i < slots; ++i)
            DisposeHandle(holes[i]);
        DisposeHandle(area->holes);
    }
    DisposeHandle(area->outline);
    area->outline = nullptr;
    area->holes = nullptr;
    area->lastHoleIndex = -1;
}

// The record's string: the length byte and exactly that many characters; older versions are
// converted to UTF-8 and cut at a character boundary within the 255-byte field.
void ReadRecordString(SInt16 fork, SInt16 version, Boolean japanese, StringPtr dest,
                      Boolean* decodedJapanese) {
    UInt8 raw[256] = {};
    StreamReadBytes(fork, raw, 1);
    StreamReadBytes(fork, raw + 1, raw[0]);
    if (decodedJapanese != nullptr) *decodedJapanese = false;
    if (version >= kUtf8Version) {
        std::memcpy(dest, raw, size_t(raw[0]) + 1);
        return;
    }
    SInt32 n = -1;
    if (japanese) {
        n = ConvertOldTextToUtf8(raw + 1, raw[0], true, dest + 1, 255);
        if (n >= 0 && decodedJapanese != nullptr) *decodedJapanese = true;
    }
    if (n < 0) n = ConvertOldTextToUtf8(raw + 1, raw[0], false, dest + 1, 255);
    if (n < 0) {
        std::memcpy(dest, "\x07invalid", 8);
        return;
    }
    dest[0] = UInt8(n);
}

SInt32 CutAtCharacter(const std::string& utf8, UInt8* out, SInt32 capacity) {
    SInt32 n = SInt32(utf8.size());
    if (n > capacity) {
        n = capacity;
        // Step back over continuation bytes so that no character is cut in two.
        while (n > 0 && (UInt8(utf8[size_t(n)]) & 0xC0) == 0x80)
            --n;
    }
    std::memcpy(out, utf8.data(), size_t(n));
    return n;
}

bool DecodeJapanese(const UInt8* bytes, SInt32 count, std::string* utf8) {
    iconv_t cd = iconv_open("UTF-8", "SHIFT_JIS");
    if (cd == iconv_t(-1)) cd = iconv_open("UTF-8", "CP932");
    if (cd == iconv_t(-1)) return false;
    std::string out(size_t(count) * 4 + 4, '\0');
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    size_t inLeft = size_t(count);
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == size_t(-1) || inLeft != 0) return false;
    out.resize(out.size() - outLeft);
    *utf8 = std::move(out);
    return true;
}

} // namespace

Boolean IsJapaneseFontNumber(SInt16 font) {
    return UInt16(font) == 50177 || font == 16384 || font == 16701;
}

SInt32 ConvertOldTextToUtf8(const UInt8* bytes, SInt32 count, Boolean japanese, UInt8* out, SInt32 capacity) {
    std::string utf8;
    if (japanese) {
        if (!DecodeJapanese(bytes, count, &utf8)) return -1;
    } else {
        utf8 = MacRomanToUTF8(std::string_view(reinterpret_cast<const char*>(bytes), size_t(count)));
    }
    return CutAtCharacter(utf8, out, capacity);
}

Boolean NewHandleWithTempFallback(Handle* h, Size size) {
    *h = NewHandle(size);
    if (*h != nullptr) return true;
    ReportOutOfMemory();
    return false;
}

void WriteShortField(SInt16 fork, SInt16 value) {
    StreamWriteShort(fork, value);
}

SInt16 ReadShortField(SInt16 fork) {
    return StreamReadShort(fork, nullptr);
}

void WriteCountedPString(SInt16 fork, ConstStringPtr s) {
    StreamWriteBytes(fork, s, SInt32(s[0]) + 1);
}

OSErr WriteLineRecord(SInt16 fork, const LineRecord* line) {
    StreamWriteShort(fork, line->group);
    StreamWriteShort(fork, SInt16(line->flags));
    StreamWriteShort(fork, line->layer);
    StreamWriteShort(fork, line->pen);
    StreamWriteShort(fork, line->lineType);
    const Float64 reals[5] = {line->x1, line->y1, line->x2, line->y2, line->scaleFactor};
    WriteReals(fork, reals, 5);
    WritePenBlock(fork, line->penBlock);
    return StreamError;
}

Boolean ReadLineRecord(DocWindowRecord* doc, SInt16 fork, LineRecord* line, SInt16 realFormat,
                       SInt16 version) {
    std::memset(static_cast<void*>(line), 0, sizeof *line);
    Reader in{fork, realFormat, kElementReadAllowance};
    line->group = in.Short();
    line->flags = in.Word();
    line->layer = in.Short();
    line->pen = in.Short();
    line->lineType = in.Short();
    line->x1 = in.Real();
    line->y1 = in.Real();
    line->x2 = in.Real();
    line->y2 = in.Real();
    line->scaleFactor = in.Real();
    ReadPenBlock(in, doc, line->pen, version, &line->penBlock);
    return true;
}

OSErr WriteCircleRecord(SInt16 fork, const ArcRecord* arc) {
    StreamWriteShort(fork, arc->group);
    StreamWriteShort(fork, arc->layer);
    StreamWriteShort(fork, arc->pen);
    StreamWriteShort(fork, arc->lineType);
    const Float64 reals[6] = {arc->cx,         arc->cy,       arc->radius,
                              arc->startAngle, arc->endAngle, arc->scaleFactor};
    WriteReals(fork, reals, 6);
    WritePenBlock(fork, arc->penBlock);
    return StreamError;
}

Boolean ReadCircleRecord(DocWindowRecord* doc, SInt16 fork, ArcRecord* arc, SInt16 realFormat,
                         SInt16 version) {
    std::memset(static_cast<void*>(arc), 0, sizeof *arc);
    Reader in{fork, realFormat, kElementReadAllowance};
    arc->group = in.Short();
    arc->layer = in.Short();
    arc->pen = in.Short();
    arc->lineType = in.Short();
    arc->cx = in.Real();
    arc->cy = in.Real();
    arc->radius = in.Real();
    arc->startAngle = in.Real();
    arc->endAngle = in.Real();
    arc->scaleFactor = in.Real();
    ReadPenBlock(in, doc, arc->pen, version, &arc->penBlock);
    return true;
}

OSErr WriteTextRecord(SInt16 fork, const TextRecord* text) {
    StreamWriteShort(fork, text->group);
    StreamWriteShort(fork, text->layer);
    StreamWriteShort(fork, text->pen);
    StreamWriteShort(fork, text->reserved);
    StreamWriteShort(fork, text->justification);
    StreamWriteShort(fork, SInt16(text->textFlags));
    const Float64 head[9] = {text->x,     text->y,           text->x2,         text->y2,         text->angle,
                             text->slant, text->scaleFactor, text->textHeight, text->lineSpacing};
    WriteReals(fork, head, 9);
    StreamWriteShort(fork, text->font);
    StreamWriteReal(fork, text->frameDistance);
    WriteReals(fork, text->corners, 8);
    StreamWriteReal(fork, text->leaderEndSize);
    WritePenBlock(fork, text->penBlock);
    if (!IsFramedTextBox(text)) {
        WriteCountedPString(fork, text->text);
        return StreamError;
    }
    Size count = text->boxText != nullptr ? GetHandleSize(text->boxText) : 0;
    StreamWriteLong(fork, SInt32(count));
    if (count > 0) StreamWriteBytes(fork, *text->boxText, SInt32(count));
    StreamWriteLong(fork, 0);
    StreamWriteLong(fork, 0);
    return StreamError;
}

Boolean ReadTextRecord(DocWindowRecord* doc, SInt16 fork, TextRecord* text, SInt16 realFormat,
                       SInt16 version) {
    std::memset(static_cast<void*>(text), 0, sizeof *text);
    Reader in{fork, realFormat, kElementReadAllowance};
    text->group = in.Short();
    text->layer = in.Short();
    text->pen = in.Short();
    text->reserved = in.Short();
    text->justification = in.Short();
    text->textFlags = in.Word();
    text->x = in.Real();
    text->y = in.Real();
    text->x2 = in.Real();
    text->y2 = in.Real();
    text->angle = in.Real();
    text->slant = in.Real();
    text->scaleFactor = in.Real();
    text->textHeight = in.Real();
    text->lineSpacing = in.Real();
    text->font = in.Short();
    text->frameDistance = in.Real();
    in.Reals(text->corners, 8);
    text->leaderEndSize = in.Real();
    ReadPenBlock(in, doc, text->pen, version, &text->penBlock);

    if (!IsFramedTextBox(text)) {
        Boolean japanese = false;
        ReadRecordString(fork, version, IsJapaneseFontNumber(text->font), text->text, &japanese);
        if (japanese) text->font = OsakaFontNumber();
        return true;
    }

    SInt64 count = in.Long();
    if (!CheckedCount(count, 1, StreamBytesLeft(fork), kMaxTextBoxBytes)) {
        StreamNoteError(eofErr);
        return false;
    }
    std::string bytes(size_t(count), '\0');
    if (count > 0) StreamReadBytes(fork, bytes.data(), SInt32(count));
    if (version < kUtf8Version && count > 0) {
        // Every Mac Roman character becomes at most three bytes of UTF-8.
        std::string utf8(size_t(count) * 3, '\0');
        SInt32 n = ConvertOldTextToUtf8(reinterpret_cast<const UInt8*>(bytes.data()), SInt32(count), false,
                                        reinterpret_cast<UInt8*>(utf8.data()), SInt32(utf8.size()));
        utf8.resize(size_t(n < 0 ? 0 : n));
        bytes = std::move(utf8);
    }
    if (PtrToHand(bytes.data(), &text->boxText, Size(bytes.size())) != noErr) {
        text->boxText = nullptr;
        ReportOutOfMemory();
        StreamNoteError(memFullErr);
        return false;
    }
    in.Long(); // reserved
    SInt64 skip = in.Long();
    if (!CheckedCount(skip, 1, StreamBytesLeft(fork), kMaxTextBoxBytes)) {
        DisposeHandle(text->boxText);
        text->boxText = nullptr;
        StreamNoteError(eofErr);
        return false;
    }
    if (skip > 0) StreamSetPos(fork, StreamGetPos(fork) + skip);
    return true;
}

OSErr WriteDimensionRecord(SInt16 fork, const DimensionRecord* d) {
    StreamWriteShort(fork, d->group);
    StreamWriteShort(fork, d->layer);
    StreamWriteShort(fork, d->pen);
    const Float64 head[9] = {d->x1, d->y1, d->x2, d->y2, d->auxX, d->auxY, d->auxValue, d->textX, d->textY};
    WriteReals(fork, head, 9);
    WriteReals(fork, d->frame, 6);
    StreamWriteShort(fork, d->decimals);
    StreamWriteShort(fork, d->kind);
    StreamWriteShort(fork, SInt16(d->flags));
    StreamWritePString(fork, d->upperTolerance, 9);
    StreamWritePString(fork, d->lowerTolerance, 9);
    const Float64 tail[3] = {d->dimLength, d->textHeight, d->scaleFactor};
    WriteReals(fork, tail, 3);
    WritePenBlock(fork, d->penBlock);
    WriteCountedPString(fork, d->text);
    return StreamError;
}

Boolean ReadDimensionRecord(DocWindowRecord* doc, SInt16 fork, DimensionRecord* d, SInt16 realFormat,
                            SInt16 version) {
    std::memset(static_cast<void*>(d), 0, sizeof *d);
    Reader in{fork, realFormat, kElementReadAllowance};
    d->group = in.Short();
    d->layer = in.Short();
    d->pen = in.Short();
    d->x1 = in.Real();
    d->y1 = in.Real();
    d->x2 = in.Real();
    d->y2 = in.Real();
    d->auxX = in.Real();
    d->auxY = in.Real();
    d->auxValue = in.Real();
    d->textX = in.Real();
    d->textY = in.Real();
    in.Reals(d->frame, 6);
    d->decimals = in.Short();
    d->kind = in.Short();
    d->flags = in.Word();
    StreamReadPString(fork, d->upperTolerance, 9, &in.remaining, realFormat);
    StreamReadPString(fork, d->lowerTolerance, 9, &in.remaining, realFormat);
    d->dimLength = in.Real();
    d->textHeight = in.Real();
    d->scaleFactor = in.Real();
    ReadPenBlock(in, doc, d->pen, version, &d->penBlock);
    ReadRecordString(fork, version, false, d->text, nullptr);

    if (version < kDimensionArcVersion && (d->kind == 4 || d->kind == -4)) {
        d->auxX = 0.0;
        d->auxY = 360.0;
        if (d->kind == -4) {
            d->kind = 4;
            std::swap(d->x1, d->x2);
            std::swap(d->y1, d->y2);
        }
    }
    return true;
}

OSErr WriteSymbolInstanceRecord(SInt16 fork, const SymbolInstanceRecord* s) {
    StreamWriteShort(fork, s->group);
    StreamWriteShort(fork, s->layer);
    StreamWriteShort(fork, s->pen);
    const Float64 head[4] = {s->x, s->y, s->angle, s->xScale};
    WriteReals(fork, head, 4);
    WriteReals(fork, s->frame, 8);
    StreamWriteReal(fork, s->scaleFactor);
    StreamWriteShort(fork, s->definitionNumber);
    StreamWriteReal(fork, s->yScale);
    return StreamError;
}

Boolean ReadSymbolInstanceRecord(SInt16 fork, SymbolInstanceRecord* s, SInt16 realFormat, SInt16 version) {
    std::memset(static_cast<void*>(s), 0, sizeof *s);
    Reader in{fork, realFormat, kElementReadAllowance};
    s->group = in.Short();
    s->layer = in.Short();
    s->pen = in.Short();
    s->x = in.Real();
    s->y = in.Real();
    s->angle = in.Real();
    s->xScale = in.Real();
    in.Reals(s->frame, 8);
    s->scaleFactor = in.Real();
    s->definitionNumber = version >= kInstanceWordVersion ? in.Short() : 0;
    s->yScale = version >= kInstanceYScaleVersion ? in.Real() : s->xScale;
    return true;
}

OSErr WritePolylineRecord(SInt16 fork, const PolylineRecord* p) {
    StreamWriteShort(fork, p->group);
    StreamWriteShort(fork, p->layer);
    StreamWriteShort(fork, p->pen);
    StreamWriteShort(fork, p->lineType);
    StreamWriteShort(fork, p->reserved);
    StreamWriteShort(fork, p->kind);
    StreamWriteRGB(fork, p->optionColor);
    WriteReals(fork, p->params, 3);
    StreamWriteShort(fork, p->pointCount);
    StreamWriteShort(fork, SInt16(p->flags));
    StreamWriteShort(fork, p->pictureWord);
    for (SInt16 w : p->optionWords)
        StreamWriteShort(fork, w);
    StreamWriteReal(fork, p->scaleFactor);
    WritePenBlock(fork, p->penBlock);
    WritePoints(fork, p->points, p->pointCount < 0 ? 0 : p->pointCount, 0);
    if (p->kind == kPolylinePicture) {
        Size count = p->picture != nullptr ? GetHandleSize(p->picture) : 0;
        StreamWriteLong(fork, SInt32(count));
        if (count > 0) StreamWriteBytes(fork, *p->picture, SInt32(count));
    }
    return StreamError;
}

Boolean ReadPolylineRecord(DocWindowRecord* doc, SInt16 fork, PolylineRecord* p, SInt16 realFormat,
                           SInt16 version) {
    std::memset(static_cast<void*>(p), 0, sizeof *p);
    Reader in{fork, realFormat, kElementReadAllowance};
    p->group = in.Short();
    p->layer = in.Short();
    p->pen = in.Short();
    p->lineType = in.Short();
    p->reserved = in.Short();
    p->kind = in.Short();
    p->optionColor = in.Color();
    in.Reals(p->params, 3);
    p->pointCount = in.Short();
    p->flags = in.Word();
    p->pictureWord = in.Short();
    for (SInt16& w : p->optionWords)
        w = in.Short();
    p->scaleFactor = in.Real();
    ReadPenBlock(in, doc, p->pen, version, &p->penBlock);
    if (version < kPolylineWordsVersion) {
        p->pictureWord = p->kind == kPolylinePicture ? -1 : 0;
        for (SInt16& w : p->optionWords)
            w = 0;
    }
    if (p->pointCount < 0 || !ReadPoints(fork, realFormat, p->pointCount, &p->points)) {
        if (p->pointCount < 0) StreamNoteError(eofErr);
        p->points = nullptr;
        return false;
    }
    if (p->kind == kPolylinePicture) {
        SInt32 budget = 4;
        SInt64 count = StreamReadLong(fork, &budget);
        if (!CheckedCount(count, 1, StreamBytesLeft(fork), kMaxPictureBytes)) {
            StreamNoteError(eofErr);
        } else if (count > 0 && !NewHandleWithTempFallback(&p->picture, Size(count))) {
            StreamNoteError(memFullErr);
        } else {
            if (count > 0) StreamReadBytes(fork, *p->picture, SInt32(count));
            return true;
        }
        DisposeHandle(p->points);
        p->points = nullptr;
        p->picture = nullptr;
        return false;
    }
    return true;
}

OSErr WriteAreaRecord(SInt16 fork, const AreaRecord* a) {
    StreamWriteShort(fork, a->group);
    StreamWriteShort(fork, a->layer);
    StreamWriteShort(fork, a->pen);
    StreamWriteReal(fork, a->hatchAngle);
    StreamWriteReal(fork, a->hatchSpacing);
    StreamWriteShort(fork, a->fillKind);
    const Float64 bounds[4] = {a->minX, a->minY, a->maxX, a->maxY};
    WriteReals(fork, bounds, 4);
    SInt16 lastHole = a->lastHoleIndex;
    Size slots = a->holes != nullptr ? GetHandleSize(a->holes) / Size(sizeof(Handle)) : 0;
    if (lastHole >= slots) lastHole = SInt16(slots - 1);
    StreamWriteShort(fork, lastHole < 0 ? SInt16(-1) : lastHole);
    StreamWriteReal(fork, a->scaleFactor);
    WritePenBlock(fork, a->penBlock);
    WriteOutline(fork, a->outline);
    for (SInt16 i = 0; i <= lastHole; ++i)
        WriteOutline(fork, reinterpret_cast<Handle*>(*a->holes)[i]);
    return StreamError;
}

Boolean ReadAreaRecord(DocWindowRecord* doc, SInt16 fork, AreaRecord* a, SInt16 realFormat, SInt16 version) {
    std::memset(static_cast<void*>(a), 0, sizeof *a);
    Reader in{fork, realFormat, kElementReadAllowance};
    a->group = in.Short();
    a->layer = in.Short();
    a->pen = in.Short();
    a->hatchAngle = in.Real();
    a->hatchSpacing = in.Real();
    a->fillKind = in.Short();
    a->minX = in.Real();
    a->minY = in.Real();
    a->maxX = in.Real();
    a->maxY = in.Real();
    SInt16 lastHole = in.Short();
    a->scaleFactor = in.Real();
    ReadPenBlock(in, doc, a->pen, version, &a->penBlock);
    a->lastHoleIndex = -1;

    if (!ReadOutline(fork, realFormat, &a->outline)) {
        FreeAreaData(a);
        return false;
    }
    if (lastHole < 0) return true;
    // Each hole outline takes at least its count and one point.
    SInt64 holes = SInt64(lastHole) + 1;
    SInt32 realSize = StoredRealSize(realFormat);
    if (!CheckedCount(holes, 2 + 2 * realSize, StreamBytesLeft(fork), 32768)) {
        StreamNoteError(eofErr);
        FreeAreaData(a);
        return false;
    }
    a->holes = NewHandleClear(Size(holes) * Size(sizeof(Handle)));
    if (a->holes == nullptr) {
        ReportOutOfMemory();
        StreamNoteError(memFullErr);
        FreeAreaData(a);
        return false;
    }
    for (SInt64 i = 0; i < holes; ++i) {
        Handle outline = nullptr;
        if (!ReadOutline(fork, realFormat, &outline)) {
            FreeAreaData(a);
            return false;
        }
        reinterpret_cast<Handle*>(*a->holes)[i] = outline;
    }
    a->lastHoleIndex = lastHole;
    return true;
}

OSErr WriteSymbolDefRecord(SInt16 fork, const SymbolDefRecord* def) {
    const Float64 box[4] = {def->minX, def->minY, def->maxX, def->maxY};
    WriteReals(fork, box, 4);
    StreamWritePString(fork, def->name, 19);
    StreamWriteShort(fork, def->number);
    StreamWriteReal(fork, def->scale);
    return StreamError;
}

Boolean ReadSymbolDefRecord(SInt16 fork, SymbolDefRecord* def, SInt16 realFormat, SInt16 version,
                            Boolean scaleStored) {
    (void)version;
    std::memset(static_cast<void*>(def), 0, sizeof *def);
    Reader in{fork, realFormat, kElementReadAllowance};
    def->minX = in.Real();
    def->minY = in.Real();
    def->maxX = in.Real();
    def->maxY = in.Real();
    StreamReadPString(fork, def->name, 19, &in.remaining, realFormat);
    def->number = in.Short();
    def->scale = scaleStored ? in.Real() : 1.0;
    return true;
}

OSErr WriteVariables(DocWindowRecord* doc, SInt16 fork) {
    DrawingRecord* d = doc->drawing;
    SInt16 count = d->variableCount;
    if (count < 0) count = 0;
    if (count > kStoredVariableLimit) count = kStoredVariableLimit;
    StreamWriteShort(fork, count);
    for (SInt16 i = 0; i < count; ++i)
        StreamWriteBytes(fork, d->variables->entries[i], 256);
    return StreamError;
}

void ReadVariables(DocWindowRecord* doc, SInt16 fork) {
    DrawingRecord* d = doc->drawing;
    OSErr before = StreamError;
    StreamClearError();
    SInt32 budget = 2;
    SInt16 count = StreamReadShort(fork, &budget);
    bool countRead = budget == 0 && StreamError == noErr;
    if (before != noErr) StreamError = before;
    if (!countRead || count <= 0) return;
    if (count > kStoredVariableLimit) count = kStoredVariableLimit;
    for (SInt16 i = 0; i < count; ++i) {
        StreamReadBytes(fork, d->variables->entries[i], 256);
    }
    d->variableCount = count;
}
