// Writers and readers of the stored element records, with the gates of older file versions.
#include "Model/ElementEncoding.h"

#include "Other/Alerts.h"
#include "Model/DocumentRecords.h"
#include "Platform/Fonts.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Model/Streams.h"

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
    SInt32 Long() { return StreamReadLong(fork, &remaining, format); }
    Float64 Real() { return StreamReadReal(fork, format, &remaining); }
    RGBColor Color() { return StreamReadRGB(fork, &remaining, format); }
    void Reals(Float64* values, int count) {
        for (int i = 0; i < count; ++i)
            values[i] = Real();
    }
};

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

// A reader of any version, field by field from the stream.
struct FieldsIn {
    Reader in;
    const DocWindowRecord* doc;
    SInt16 version;
    bool Stored(SInt16 since) const { return version >= since; }
    template <class T> void W16(T& v) { v = T(in.Short()); }
    void L32(SInt32& v) { v = in.Long(); }
    void Real(Float64& v) { v = in.Real(); }
    template <size_t N> void Reals(Float64 (&v)[N]) { in.Reals(v, int(N)); }
    void Color(RGBColor& v) { v = in.Color(); }
    void Str(StringPtr s, UInt8 capacity) {
        StreamReadPString(in.fork, s, capacity, &in.remaining, in.format);
    }
    void PenFromTables(SInt16 pen, ElementPenAttributes& out) { PenDefaults(doc, pen, &out); }
};

// Big-endian decoding of fields already in memory.
UInt16 Get16(const UInt8* p) {
    return UInt16((UInt16(p[0]) << 8) | p[1]);
}
UInt32 Get32(const UInt8* p) {
    return (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | UInt32(p[3]);
}
Float64 GetReal(const UInt8* p, SInt16 format) {
    if (format == kRealDouble) {
        UInt64 bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = (bits << 8) | p[i];
        Float64 value;
        std::memcpy(&value, &bits, 8);
        return value;
    }
    UInt8 b[10];
    std::memcpy(b, p, 2);
    std::memcpy(b + 2, p + (format == kRealExtended96 ? 4 : 2), 8); // the 96-bit form pads 2 bytes
    return ExtendedToDouble(b);
}

// Counts the stored bytes of a fixed part for a version and real format, so that a reader can
// check them once and decode from memory.
struct FieldsSize {
    SInt32 realSize;
    SInt16 version;
    SInt32 bytes = 0;
    bool Stored(SInt16 since) const { return version >= since; }
    template <class T> void W16(T&) { bytes += 2; }
    void L32(SInt32&) { bytes += 4; }
    void Real(Float64&) { bytes += realSize; }
    template <size_t N> void Reals(Float64 (&)[N]) { bytes += SInt32(N) * realSize; }
    void Color(RGBColor&) { bytes += 6; }
    void Str(StringPtr, UInt8 capacity) { bytes += SInt32(capacity) + 1; }
    void PenFromTables(SInt16, ElementPenAttributes&) {}
};

// A reader over bytes whose whole size was checked before: no call and no check per field.
struct FieldsFromSpan {
    const UInt8* p;
    const DocWindowRecord* doc;
    SInt16 format;
    SInt32 realSize;
    SInt16 version;
    bool Stored(SInt16 since) const { return version >= since; }
    template <class T> void W16(T& v) {
        v = T(SInt16(Get16(p)));
        p += 2;
    }
    void L32(SInt32& v) {
        v = SInt32(Get32(p));
        p += 4;
    }
    void Real(Float64& v) {
        v = GetReal(p, format);
        p += realSize;
    }
    template <size_t N> void Reals(Float64 (&v)[N]) {
        for (Float64& r : v)
            Real(r);
    }
    void Color(RGBColor& v) {
        v = RGBColor{Get16(p), Get16(p + 2), Get16(p + 4)};
        p += 6;
    }
    void Str(StringPtr s, UInt8 capacity) {
        std::memcpy(s, p, size_t(capacity) + 1);
        if (s[0] > capacity) s[0] = capacity;
        p += SInt32(capacity) + 1;
    }
    void PenFromTables(SInt16 pen, ElementPenAttributes& out) { PenDefaults(doc, pen, &out); }
};

// The writer's side: fields encoded into a buffer that goes to the stream in one write.
struct FieldsToBuffer {
    UInt8* p;
    static bool Stored(SInt16) { return true; }
    template <class T> void W16(T& v) {
        UInt16 w = UInt16(SInt16(v));
        p[0] = UInt8(w >> 8);
        p[1] = UInt8(w);
        p += 2;
    }
    void L32(SInt32& v) {
        UInt32 w = UInt32(v);
        for (int i = 0; i < 4; ++i)
            p[i] = UInt8(w >> (24 - 8 * i));
        p += 4;
    }
    void Real(Float64& v) {
        UInt64 bits;
        std::memcpy(&bits, &v, 8);
        for (int i = 0; i < 8; ++i)
            p[i] = UInt8(bits >> (56 - 8 * i));
        p += 8;
    }
    template <size_t N> void Reals(Float64 (&v)[N]) {
        for (Float64& r : v)
            Real(r);
    }
    void Color(RGBColor& v) {
        SInt16 c[3] = {SInt16(v.red), SInt16(v.green), SInt16(v.blue)};
        for (SInt16& w : c)
            W16(w);
    }
    void Str(StringPtr s, UInt8 capacity) {
        std::memcpy(p, s, size_t(capacity) + 1);
        if (p[0] > capacity) p[0] = capacity;
        p += SInt32(capacity) + 1;
    }
    void PenFromTables(SInt16, ElementPenAttributes&) {}
};

// The fixed part of each kind in stored order, named once for the writer and the reader. Fields
// that older versions did not store are gated here; variable tails follow in the kind's functions.
template <class IO> void VisitPen(IO& io, SInt16 pen, ElementPenAttributes& b) {
    if (io.Stored(kPenFlagsVersion)) io.W16(b.penFlags);
    if (!io.Stored(kPenBlockVersion)) {
        io.PenFromTables(pen, b);
        return;
    }
    io.Color(b.color);
    io.W16(b.penWidth100);
    io.L32(b.pattern);
}

template <class IO> void VisitLine(IO& io, LineRecord& r) {
    io.W16(r.group);
    io.W16(r.flags);
    io.W16(r.layer);
    io.W16(r.pen);
    io.W16(r.lineType);
    io.Real(r.x1);
    io.Real(r.y1);
    io.Real(r.x2);
    io.Real(r.y2);
    io.Real(r.scaleFactor);
    VisitPen(io, r.pen, r.penBlock);
}

template <class IO> void VisitArc(IO& io, ArcRecord& r) {
    io.W16(r.group);
    io.W16(r.layer);
    io.W16(r.pen);
    io.W16(r.lineType);
    io.Real(r.cx);
    io.Real(r.cy);
    io.Real(r.radius);
    io.Real(r.startAngle);
    io.Real(r.endAngle);
    io.Real(r.scaleFactor);
    VisitPen(io, r.pen, r.penBlock);
}

template <class IO> void VisitText(IO& io, TextRecord& r) {
    io.W16(r.group);
    io.W16(r.layer);
    io.W16(r.pen);
    io.W16(r.reserved);
    io.W16(r.justification);
    io.W16(r.textFlags);
    io.Real(r.x);
    io.Real(r.y);
    io.Real(r.x2);
    io.Real(r.y2);
    io.Real(r.angle);
    io.Real(r.slant);
    io.Real(r.scaleFactor);
    io.Real(r.textHeight);
    io.Real(r.lineSpacing);
    io.W16(r.font);
    io.Real(r.frameDistance);
    io.Reals(r.corners);
    io.Real(r.leaderEndSize);
    VisitPen(io, r.pen, r.penBlock);
}

template <class IO> void VisitDimension(IO& io, DimensionRecord& r) {
    io.W16(r.group);
    io.W16(r.layer);
    io.W16(r.pen);
    io.Real(r.x1);
    io.Real(r.y1);
    io.Real(r.x2);
    io.Real(r.y2);
    io.Real(r.auxX);
    io.Real(r.auxY);
    io.Real(r.auxValue);
    io.Real(r.textX);
    io.Real(r.textY);
    io.Reals(r.frame);
    io.W16(r.decimals);
    io.W16(r.kind);
    io.W16(r.flags);
    io.Str(r.upperTolerance, 9);
    io.Str(r.lowerTolerance, 9);
    io.Real(r.dimLength);
    io.Real(r.textHeight);
    io.Real(r.scaleFactor);
    VisitPen(io, r.pen, r.penBlock);
}

template <class IO> void VisitInstance(IO& io, SymbolInstanceRecord& r) {
    io.W16(r.group);
    io.W16(r.layer);
    io.W16(r.pen);
    io.Real(r.x);
    io.Real(r.y);
    io.Real(r.angle);
    io.Real(r.xScale);
    io.Reals(r.frame);
    io.Real(r.scaleFactor);
    if (io.Stored(kInstanceWordVersion)) io.W16(r.definitionNumber);
    if (io.Stored(kInstanceYScaleVersion))
        io.Real(r.yScale);
    else
        r.yScale = r.xScale;
}

template <class IO> void VisitPolyline(IO& io, PolylineRecord& r) {
    io.W16(r.group);
    io.W16(r.layer);
    io.W16(r.pen);
    io.W16(r.lineType);
    io.W16(r.reserved);
    io.W16(r.kind);
    io.Color(r.optionColor);
    io.Reals(r.params);
    io.W16(r.pointCount);
    io.W16(r.flags);
    io.W16(r.pictureWord);
    for (SInt16& w : r.optionWords)
        io.W16(w);
    io.Real(r.scaleFactor);
    VisitPen(io, r.pen, r.penBlock);
    if (!io.Stored(kPolylineWordsVersion)) {
        // The words were stored but meant nothing yet.
        r.pictureWord = r.kind == kPolylinePicture ? -1 : 0;
        for (SInt16& w : r.optionWords)
            w = 0;
    }
}

// The stored last hole index is kept apart: a writer clamps it to the holes there are, a reader
// sets it only once every hole has been read.
template <class IO> void VisitArea(IO& io, AreaRecord& r, SInt16& lastHole) {
    io.W16(r.group);
    io.W16(r.layer);
    io.W16(r.pen);
    io.Real(r.hatchAngle);
    io.Real(r.hatchSpacing);
    io.W16(r.fillKind);
    io.Real(r.minX);
    io.Real(r.minY);
    io.Real(r.maxX);
    io.Real(r.maxY);
    io.W16(lastHole);
    io.Real(r.scaleFactor);
    VisitPen(io, r.pen, r.penBlock);
}

// Symbol libraries of some versions do not store the scale.
template <class IO> void VisitSymbolDef(IO& io, SymbolDefRecord& r, bool scaleStored) {
    io.Real(r.minX);
    io.Real(r.minY);
    io.Real(r.maxX);
    io.Real(r.maxY);
    io.Str(r.name, 19);
    io.W16(r.number);
    if (scaleStored)
        io.Real(r.scale);
    else
        r.scale = 1.0;
}

// Writers take a const record; the field list is shared with the readers, so it takes it mutable.
template <class T> T& Fields(const T* record) {
    return const_cast<T&>(*record);
}

// Clears the record and returns a reader of its fixed part.
template <class T>
FieldsIn ClearedForReading(T* record, const DocWindowRecord* doc, SInt16 fork, SInt16 format,
                           SInt16 version) {
    std::memset(static_cast<void*>(record), 0, sizeof *record);
    return FieldsIn{Reader{fork, format, kElementReadAllowance}, doc, version};
}

// Reads a fixed part: from memory after one check of its whole size where the stream is in memory
// and holds it; else field by field, which leaves what a short stream lacks at zero.
template <class T, class Visit>
FieldsIn ReadFixed(T* record, const DocWindowRecord* doc, SInt16 fork, SInt16 format, SInt16 version,
                   Visit visit) {
    FieldsIn in = ClearedForReading(record, doc, fork, format, version);
    SInt32 realSize = StoredRealSize(format);
    if (realSize != 0) {
        FieldsSize size{realSize, version};
        visit(size, *record);
        if (const UInt8* bytes = StreamTakeSpan(fork, size.bytes)) {
            FieldsFromSpan span{bytes, doc, format, realSize, version};
            visit(span, *record);
            in.in.remaining -= size.bytes;
            return in;
        }
    }
    visit(in, *record);
    return in;
}

// Writes a fixed part of at most kMaxFixed bytes in one stream write.
constexpr SInt32 kMaxFixed = 256;
template <class T, class Visit> void WriteFixed(SInt16 fork, const T* record, Visit visit) {
    UInt8 buffer[kMaxFixed];
    FieldsToBuffer out{buffer};
    visit(out, Fields(record));
    StreamWriteBytes(fork, buffer, SInt32(out.p - buffer));
}

bool CheckedCount(SInt64 count, SInt64 bytesEach, SInt64 bytesLeft, SInt64 limit) {
    if (count < 0 || count > limit) return false;
    return count * bytesEach <= bytesLeft;
}

// Reads count reals whose bytes the caller checked against the stream: from memory where it can.
void ReadReals(SInt16 fork, SInt16 format, Float64* values, SInt64 count) {
    SInt32 realSize = StoredRealSize(format);
    if (const UInt8* bytes = StreamTakeSpan(fork, SInt32(count * realSize))) {
        for (SInt64 i = 0; i < count; ++i)
            values[i] = GetReal(bytes + i * realSize, format);
        return;
    }
    Reader in{fork, format, SInt32(count * realSize)};
    for (SInt64 i = 0; i < count; ++i)
        values[i] = in.Real();
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
    ReadReals(fork, format, reinterpret_cast<Float64*>(**out), count * 2);
    return true;
}

// Points go out encoded in pieces of a buffer, not one write per real.
void WritePoints(SInt16 fork, Handle points, SInt64 count, Size offset) {
    Size available = points != nullptr ? (GetHandleSize(points) - offset) / 16 : 0;
    constexpr SInt64 kPiece = 128;
    UInt8 buffer[kPiece * 16];
    for (SInt64 first = 0; first < count; first += kPiece) {
        FieldsToBuffer out{buffer};
        for (SInt64 i = first; i < count && i < first + kPiece; ++i) {
            Float64 xy[2] = {0.0, 0.0};
            if (i < available) std::memcpy(xy, *points + offset + i * 16, 16);
            out.Reals(xy);
        }
        StreamWriteBytes(fork, buffer, SInt32(out.p - buffer));
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
    ReadReals(fork, format, OutlinePoints(*out), points * 2);
    return true;
}

void WriteOutline(SInt16 fork, Handle outline) {
    SInt16 count = outline != nullptr ? OutlineLastIndex(outline) : 0;
    StreamWriteShort(fork, count);
    WritePoints(fork, outline, std::abs(SInt32(count)) + 1, kOutlineHeaderSize);
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
    WriteFixed(fork, line, [](auto& io, LineRecord& r) { VisitLine(io, r); });
    return StreamError;
}

Boolean ReadLineRecord(DocWindowRecord* doc, SInt16 fork, LineRecord* line, SInt16 realFormat,
                       SInt16 version) {
    ReadFixed(line, doc, fork, realFormat, version, [](auto& io, LineRecord& r) { VisitLine(io, r); });
    return true;
}

OSErr WriteCircleRecord(SInt16 fork, const ArcRecord* arc) {
    WriteFixed(fork, arc, [](auto& io, ArcRecord& r) { VisitArc(io, r); });
    return StreamError;
}

Boolean ReadCircleRecord(DocWindowRecord* doc, SInt16 fork, ArcRecord* arc, SInt16 realFormat,
                         SInt16 version) {
    ReadFixed(arc, doc, fork, realFormat, version, [](auto& io, ArcRecord& r) { VisitArc(io, r); });
    return true;
}

OSErr WriteTextRecord(SInt16 fork, const TextRecord* text) {
    WriteFixed(fork, text, [](auto& io, TextRecord& r) { VisitText(io, r); });
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
    FieldsIn fields =
        ReadFixed(text, doc, fork, realFormat, version, [](auto& io, TextRecord& r) { VisitText(io, r); });
    Reader& in = fields.in;

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
        DisposeTextData(text);
        StreamNoteError(eofErr);
        return false;
    }
    if (skip > 0) StreamSetPos(fork, StreamGetPos(fork) + skip);
    return true;
}

OSErr WriteDimensionRecord(SInt16 fork, const DimensionRecord* d) {
    WriteFixed(fork, d, [](auto& io, DimensionRecord& r) { VisitDimension(io, r); });
    WriteCountedPString(fork, d->text);
    return StreamError;
}

Boolean ReadDimensionRecord(DocWindowRecord* doc, SInt16 fork, DimensionRecord* d, SInt16 realFormat,
                            SInt16 version) {
    ReadFixed(d, doc, fork, realFormat, version, [](auto& io, DimensionRecord& r) { VisitDimension(io, r); });
    ReadRecordString(fork, version, false, d->text, nullptr);

    // Older radius dimensions: a full circle, and kind -4 is kind 4 with its points exchanged.
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
    WriteFixed(fork, s, [](auto& io, SymbolInstanceRecord& r) { VisitInstance(io, r); });
    return StreamError;
}

Boolean ReadSymbolInstanceRecord(SInt16 fork, SymbolInstanceRecord* s, SInt16 realFormat, SInt16 version) {
    ReadFixed(s, nullptr, fork, realFormat, version,
              [](auto& io, SymbolInstanceRecord& r) { VisitInstance(io, r); });
    return true;
}

OSErr WritePolylineRecord(SInt16 fork, const PolylineRecord* p) {
    WriteFixed(fork, p, [](auto& io, PolylineRecord& r) { VisitPolyline(io, r); });
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
    ReadFixed(p, doc, fork, realFormat, version, [](auto& io, PolylineRecord& r) { VisitPolyline(io, r); });
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
        DisposePolylineData(p);
        return false;
    }
    return true;
}

OSErr WriteAreaRecord(SInt16 fork, const AreaRecord* a) {
    SInt16 lastHole = a->lastHoleIndex;
    Size slots = a->holes != nullptr ? GetHandleSize(a->holes) / Size(sizeof(Handle)) : 0;
    if (lastHole >= slots) lastHole = SInt16(slots - 1);
    if (lastHole < 0) lastHole = -1;
    WriteFixed(fork, a, [&lastHole](auto& io, AreaRecord& r) { VisitArea(io, r, lastHole); });
    WriteOutline(fork, a->outline);
    for (SInt16 i = 0; i <= lastHole; ++i)
        WriteOutline(fork, reinterpret_cast<Handle*>(*a->holes)[i]);
    return StreamError;
}

Boolean ReadAreaRecord(DocWindowRecord* doc, SInt16 fork, AreaRecord* a, SInt16 realFormat, SInt16 version) {
    SInt16 lastHole = -1;
    ReadFixed(a, doc, fork, realFormat, version, [&lastHole](auto& io, AreaRecord& r) {
        lastHole = -1;
        VisitArea(io, r, lastHole);
    });
    a->lastHoleIndex = -1;

    if (!ReadOutline(fork, realFormat, &a->outline)) {
        DisposeAreaData(a);
        return false;
    }
    if (lastHole < 0) return true;
    // Each hole outline takes at least its count and one point.
    SInt64 holes = SInt64(lastHole) + 1;
    SInt32 realSize = StoredRealSize(realFormat);
    if (!CheckedCount(holes, 2 + 2 * realSize, StreamBytesLeft(fork), 32768)) {
        StreamNoteError(eofErr);
        DisposeAreaData(a);
        return false;
    }
    a->holes = NewHandleClear(Size(holes) * Size(sizeof(Handle)));
    if (a->holes == nullptr) {
        ReportOutOfMemory();
        StreamNoteError(memFullErr);
        DisposeAreaData(a);
        return false;
    }
    for (SInt64 i = 0; i < holes; ++i) {
        Handle outline = nullptr;
        if (!ReadOutline(fork, realFormat, &outline)) {
            DisposeAreaData(a);
            return false;
        }
        reinterpret_cast<Handle*>(*a->holes)[i] = outline;
    }
    a->lastHoleIndex = lastHole;
    return true;
}

OSErr WriteSymbolDefRecord(SInt16 fork, const SymbolDefRecord* def) {
    WriteFixed(fork, def, [](auto& io, SymbolDefRecord& r) { VisitSymbolDef(io, r, true); });
    return StreamError;
}

Boolean ReadSymbolDefRecord(SInt16 fork, SymbolDefRecord* def, SInt16 realFormat, SInt16 version,
                            Boolean scaleStored) {
    ReadFixed(def, nullptr, fork, realFormat, version,
              [scaleStored](auto& io, SymbolDefRecord& r) { VisitSymbolDef(io, r, scaleStored); });
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
