// Stored element records: byte-exact round trips at the current version, the gates of older
// versions, old texts converted to UTF-8, and damaged counts refused before anything is allocated.
#include "Model/DocumentRecords.h"
#include "Model/ElementEncoding.h"
#include "Model/ElementLists.h"
#include "Platform/Fonts.h"
#include "Platform/MemoryManager.h"
#include "Model/Streams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<UInt8> Bytes(SInt16 stream) {
    SInt64 size = 0;
    const UInt8* data = MemoryStreamData(stream, &size);
    return std::vector<UInt8>(data, data + size);
}

// Writes with a given writer into a fresh stream and returns the bytes.
template <typename Write> std::vector<UInt8> Encode(Write write) {
    StreamClearError();
    SInt16 out = OpenMemoryStream();
    write(out);
    EXPECT_EQ(StreamError, noErr);
    std::vector<UInt8> bytes = Bytes(out);
    CloseMemoryStream(out);
    return bytes;
}

// Reads from the bytes with a given reader; the stream position after it is returned too.
template <typename Read> SInt64 Decode(const std::vector<UInt8>& bytes, Read read) {
    StreamClearError();
    SInt16 in = OpenMemoryStreamOn(bytes.data(), SInt64(bytes.size()));
    read(in);
    SInt64 position = StreamGetPos(in);
    CloseMemoryStream(in);
    return position;
}

void SetPenBlock(ElementPenAttributes* pen, SInt16 base) {
    pen->penFlags = SInt16(0x8000 | base);
    pen->color = RGBColor{UInt16(base * 3), UInt16(base * 5), UInt16(base * 7)};
    pen->penWidth100 = SInt16(base + 10);
    pen->pattern = base + 100;
}

// A document with only settings, for the pen tables of old records.
struct SettingsOnlyDocument {
    DocSettings settings{};
    DocWindowRecord doc{};
    SettingsOnlyDocument() {
        doc.settings = &settings;
        for (int i = 0; i < 8; ++i) {
            settings.penWidths[i] = 0.25 + 0.05 * i; // pen 3 has 0.35 mm
            settings.penColors[i] = RGBColor{UInt16(1000 * (i + 1)), 0, 0};
        }
        settings.penWidths[2] = 0.35;
        settings.currentColor = RGBColor{9, 9, 9};
        settings.currentPenWidth100 = 70;
    }
};

// Extended reals as older machines stored them (the test's own encoder).
std::vector<UInt8> Extended(Float64 value, bool padded) {
    std::vector<UInt8> b(10, 0);
    if (value != 0.0) {
        int exponent = 0;
        Float64 fraction = std::frexp(std::fabs(value), &exponent); // [0.5, 1)
        UInt64 significand = UInt64(std::ldexp(fraction, 64));
        UInt16 word = UInt16((value < 0 ? 0x8000 : 0) | (exponent - 1 + 16383));
        b[0] = UInt8(word >> 8), b[1] = UInt8(word);
        for (int i = 0; i < 8; ++i)
            b[2 + i] = UInt8(significand >> (56 - 8 * i));
    }
    if (padded) b.insert(b.begin() + 2, {0xAB, 0xCD});
    return b;
}

struct OldStream {
    std::vector<UInt8> bytes;
    SInt16 format = kRealDouble;
    void Short(SInt16 v) { bytes.insert(bytes.end(), {UInt8(UInt16(v) >> 8), UInt8(v)}); }
    void Long(SInt32 v) {
        Short(SInt16(v >> 16));
        Short(SInt16(v));
    }
    void Real(Float64 v) {
        if (format == kRealDouble) {
            UInt64 bits;
            std::memcpy(&bits, &v, 8);
            for (int i = 0; i < 8; ++i)
                bytes.push_back(UInt8(bits >> (56 - 8 * i)));
        } else {
            std::vector<UInt8> e = Extended(v, format == kRealExtended96);
            bytes.insert(bytes.end(), e.begin(), e.end());
        }
    }
    void Raw(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
};

LineRecord SampleLine() {
    LineRecord line{};
    line.group = 12;
    line.flags = 0x8000 | (3 << 3) | 1;
    line.layer = 1023;
    line.pen = 3;
    line.lineType = 4;
    line.x1 = -1.5, line.y1 = 2.25, line.x2 = 1e6, line.y2 = -0.1;
    line.scaleFactor = 0.001;
    SetPenBlock(&line.penBlock, 1);
    return line;
}

// One kind's round trip: its sample is written, read back and checked, and the record read back
// writes the same bytes again.
struct RoundTrip {
    const char* kind;
    size_t size;
    std::function<void(SInt16)> write, read, writeBack;
    std::function<void()> check;
};

// A round trip of sample into back through the kind's writer and reader.
template <typename T, typename Write, typename Read>
RoundTrip Kind(const char* kind, size_t size, T& sample, T& back, Write write, Read read,
               std::function<void()> check = nullptr) {
    return RoundTrip{kind,
                     size,
                     [&sample, write](SInt16 s) { write(s, &sample); },
                     [&back, read](SInt16 s) { read(s, &back); },
                     [&back, write](SInt16 s) { write(s, &back); },
                     std::move(check)};
}

void CheckRoundTrip(const RoundTrip& r) {
    SCOPED_TRACE(r.kind);
    std::vector<UInt8> bytes = Encode(r.write);
    EXPECT_EQ(bytes.size(), r.size);
    Decode(bytes, r.read);
    if (r.check) r.check();
    EXPECT_EQ(Encode(r.writeBack), bytes);
}

} // namespace

TEST(ElementEncoding, EveryKindRoundTripsByteForByteAtTheCurrentVersion) {
    SettingsOnlyDocument d;
    const SInt16 v = kCurrentFileVersion;

    LineRecord line = SampleLine(), lineBack;
    line.selected = line.marked = line.drawn = 1;
    line.next = &line;

    ArcRecord arc{}, arcBack;
    arc.group = 3, arc.layer = 5, arc.pen = 2, arc.lineType = 6;
    arc.cx = 1, arc.cy = 2, arc.radius = 3, arc.startAngle = 45, arc.endAngle = 360, arc.scaleFactor = 2;
    SetPenBlock(&arc.penBlock, 2);

    TextRecord text{}, textBack;
    text.group = 1, text.layer = 2, text.pen = 3, text.justification = 4, text.textFlags = 0x1005;
    text.x = 10, text.y = 20, text.angle = 30, text.textHeight = 3.5, text.font = 4;
    for (int i = 0; i < 8; ++i)
        text.corners[i] = i * 1.5;
    text.leaderEndSize = 2;
    SetPenBlock(&text.penBlock, 3);
    std::memcpy(text.text,
                "\x06\xC3\xA4"
                "bc\xE2\x82",
                7);

    DimensionRecord dim{}, dimBack;
    dim.group = 7, dim.layer = 8, dim.pen = 1, dim.kind = 5, dim.decimals = 2, dim.flags = 0xC102;
    dim.x1 = 1, dim.y2 = 2, dim.auxValue = 3, dim.textX = 4, dim.frame[5] = 5;
    dim.dimLength = 6, dim.textHeight = 7, dim.scaleFactor = 8;
    std::memcpy(dim.upperTolerance, "\x04+0.1", 5);
    std::memcpy(dim.lowerTolerance, "\x04-0.2", 5);
    std::memcpy(dim.text,
                "\x05"
                "12.50",
                6);
    SetPenBlock(&dim.penBlock, 4);

    SymbolInstanceRecord inst{}, instBack;
    inst.group = -3, inst.layer = 4, inst.pen = 5, inst.x = 1, inst.y = 2, inst.angle = 90;
    inst.xScale = 2, inst.frame[7] = 9, inst.scaleFactor = 1, inst.definitionNumber = -2, inst.yScale = 3;

    SymbolDefRecord def{}, defBack;
    def.maxX = 5, def.maxY = 6, def.number = -1, def.scale = 1;
    std::memcpy(def.name, "\x05Screw", 6);

    const RoundTrip kinds[] = {
        Kind(
            "line", kStoredLineSize, line, lineBack, WriteLineRecord,
            [&](SInt16 s, LineRecord* e) { ReadLineRecord(&d.doc, s, e, kRealDouble, v); },
            [&] {
                EXPECT_EQ(lineBack.next, nullptr);
                EXPECT_EQ(lineBack.selected + lineBack.marked + lineBack.drawn, 0);
                EXPECT_EQ(lineBack.flags, line.flags);
                EXPECT_EQ(lineBack.x2, 1e6);
                EXPECT_EQ(lineBack.penBlock.pattern, 101);
            }),
        Kind("arc", kStoredArcSize, arc, arcBack, WriteCircleRecord,
             [&](SInt16 s, ArcRecord* e) { ReadCircleRecord(&d.doc, s, e, kRealDouble, v); }),
        Kind(
            "text", kStoredTextSize + 7, text, textBack, WriteTextRecord,
            [&](SInt16 s, TextRecord* e) { ReadTextRecord(&d.doc, s, e, kRealDouble, v); },
            [&] { EXPECT_EQ(std::memcmp(textBack.text, text.text, 7), 0); }),
        Kind("dimension", kStoredDimensionSize + 6, dim, dimBack, WriteDimensionRecord,
             [&](SInt16 s, DimensionRecord* e) { ReadDimensionRecord(&d.doc, s, e, kRealDouble, v); }),
        Kind(
            "symbol instance", kStoredInstanceSize, inst, instBack, WriteSymbolInstanceRecord,
            [&](SInt16 s, SymbolInstanceRecord* e) { ReadSymbolInstanceRecord(s, e, kRealDouble, v); },
            [&] { EXPECT_EQ(instBack.definitionNumber, -2); }),
        Kind("symbol definition", kStoredSymbolDefSize, def, defBack, WriteSymbolDefRecord,
             [&](SInt16 s, SymbolDefRecord* e) { ReadSymbolDefRecord(s, e, kRealDouble, v, true); }),
    };
    for (const RoundTrip& kind : kinds)
        CheckRoundTrip(kind);
}

TEST(ElementEncoding, PolylinesAndPicturesRoundTripWithTheirPoints) {
    PolylineRecord poly{};
    poly.group = 1, poly.layer = 2, poly.pen = 3, poly.lineType = 4, poly.kind = kPolylinePicture;
    poly.optionColor = RGBColor{1, 2, 3}, poly.params[0] = 5, poly.pointCount = 2, poly.flags = 0x8000;
    poly.pictureWord = -1, poly.optionWords[3] = 7, poly.scaleFactor = 1;
    SetPenBlock(&poly.penBlock, 5);
    const Float64 points[4] = {1, 2, 3, 4};
    PtrToHand(points, &poly.points, sizeof points);
    PtrToHand("PICTBYTES", &poly.picture, 9);
    std::vector<UInt8> bytes = Encode([&](SInt16 s) { WritePolylineRecord(s, &poly); });
    EXPECT_EQ(bytes.size(), size_t(kStoredPolylineSize) + 32 + 4 + 9);

    PolylineRecord back;
    Decode(bytes, [&](SInt16 s) { EXPECT_TRUE(ReadPolylineRecord(nullptr, s, &back, kRealDouble, 0x701)); });
    ASSERT_NE(back.points, nullptr);
    EXPECT_EQ(std::memcmp(*back.points, points, sizeof points), 0);
    ASSERT_NE(back.picture, nullptr);
    EXPECT_EQ(GetHandleSize(back.picture), 9);
    EXPECT_EQ(Encode([&](SInt16 s) { WritePolylineRecord(s, &back); }), bytes);
    DisposeHandle(poly.points), DisposeHandle(poly.picture), DisposeHandle(back.points),
        DisposeHandle(back.picture);
}

TEST(ElementEncoding, AreasOfAnySizeReadBackWholeAndKeepTheStreamInStep) {
    AreaRecord area{};
    area.group = 2, area.layer = 3, area.pen = 4, area.hatchAngle = 45, area.hatchSpacing = 2.5;
    area.fillKind = -1, area.maxX = 100, area.scaleFactor = 1;
    SetPenBlock(&area.penBlock, 6);
    // An outer outline of 20,000 points is far beyond 102,400 bytes; two holes, one an ellipse.
    area.outline = NewOutlineHandle(19999);
    for (int i = 0; i < 40000; ++i)
        OutlinePoints(area.outline)[i] = i;
    area.lastHoleIndex = 1;
    area.holes = NewHandleClear(2 * sizeof(Handle));
    reinterpret_cast<Handle*>(*area.holes)[0] = NewOutlineHandle(3);
    reinterpret_cast<Handle*>(*area.holes)[1] = NewOutlineHandle(-1);
    OutlinePoints(reinterpret_cast<Handle*>(*area.holes)[1])[3] = 7.5;

    LineRecord line = SampleLine();
    std::vector<UInt8> bytes = Encode([&](SInt16 s) {
        WriteAreaRecord(s, &area);
        WriteLineRecord(s, &line);
    });
    EXPECT_EQ(bytes.size(),
              size_t(kStoredAreaSize + 2 + 20000 * 16 + 2 + 4 * 16 + 2 + 2 * 16 + kStoredLineSize));

    AreaRecord back;
    LineRecord lineBack;
    Decode(bytes, [&](SInt16 s) {
        EXPECT_TRUE(ReadAreaRecord(nullptr, s, &back, kRealDouble, 0x701));
        ReadLineRecord(nullptr, s, &lineBack, kRealDouble, 0x701);
    });
    EXPECT_EQ(StreamError, noErr);
    EXPECT_EQ(OutlineLastIndex(back.outline), 19999);
    EXPECT_EQ(OutlinePoints(back.outline)[39999], 39999.0);
    EXPECT_EQ(back.lastHoleIndex, 1);
    Handle ellipse = reinterpret_cast<Handle*>(*back.holes)[1];
    EXPECT_EQ(OutlineLastIndex(ellipse), -1); // the sign of a count is kept: two entries
    EXPECT_EQ(OutlinePoints(ellipse)[3], 7.5);
    EXPECT_EQ(lineBack.x2, line.x2); // the record after the area is read in step
    EXPECT_EQ(Encode([&](SInt16 s) {
                  WriteAreaRecord(s, &back);
                  WriteLineRecord(s, &lineBack);
              }),
              bytes);
    DisposeAreaData(&area);
    DisposeAreaData(&back);
}

TEST(ElementEncoding, AFramedTextBoxKeepsItsBytesAndSkipsItsTrailingBlock) {
    TextRecord box{};
    box.textFlags = kFramedTextBoxFlags;
    PtrToHand("line one\rline two", &box.boxText, 17);
    std::vector<UInt8> bytes = Encode([&](SInt16 s) { WriteTextRecord(s, &box); });
    EXPECT_EQ(bytes.size(), size_t(kStoredTextSize + 4 + 17 + 8));
    // A reader skips the block named by the second trailing word.
    bytes[bytes.size() - 1] = 3;
    bytes.insert(bytes.end(), {1, 2, 3});
    bytes.insert(bytes.end(), {0x12, 0x34});
    TextRecord back;
    SInt16 after = 0;
    Decode(bytes, [&](SInt16 s) {
        EXPECT_TRUE(ReadTextRecord(nullptr, s, &back, kRealDouble, 0x701));
        SInt32 remaining = 2;
        after = StreamReadShort(s, &remaining);
    });
    EXPECT_EQ(after, 0x1234);
    ASSERT_NE(back.boxText, nullptr);
    EXPECT_EQ(GetHandleSize(back.boxText), 17);
    EXPECT_EQ(std::memcmp(*back.boxText, "line one\rline two", 17), 0);
    EXPECT_TRUE(IsFramedTextBox(&back));
    DisposeHandle(box.boxText), DisposeHandle(back.boxText);
}

TEST(ElementEncoding, OldRecordsTakeTheirPenFromTheDrawingsPenTables) {
    SettingsOnlyDocument d;
    LineRecord line = SampleLine(); // pen 3
    struct Case {
        SInt16 version;
        SInt16 pen;
        SInt16 flags, width;
        UInt16 red;
    } cases[] = {
        {500, 3, SInt16(0x8001), 35, 3000}, // only the pen's flag word is stored; 0.35 mm gives 35
        {0x110, 3, 0, 35, 3000},            // no pen block at all
        {500, 9, SInt16(0x8001), 70, 9},    // a pen beyond the tables takes the current width and colour
        {500, 0, SInt16(0x8001), 70, 9},
        {500, -200, SInt16(0x8001), 70, 9},
    };
    for (const Case& c : cases) {
        line.pen = c.pen;
        OldStream old;
        old.Short(line.group), old.Short(SInt16(line.flags)), old.Short(line.layer), old.Short(line.pen);
        old.Short(line.lineType);
        for (Float64 r : {line.x1, line.y1, line.x2, line.y2, line.scaleFactor})
            old.Real(r);
        if (c.version >= 0x120) old.Short(SInt16(0x8001));
        LineRecord back;
        SInt64 end =
            Decode(old.bytes, [&](SInt16 s) { ReadLineRecord(&d.doc, s, &back, kRealDouble, c.version); });
        EXPECT_EQ(end, SInt64(old.bytes.size())) << c.version;
        EXPECT_EQ(back.flags, line.flags);
        EXPECT_EQ(back.penBlock.penFlags, c.flags);
        EXPECT_EQ(back.penBlock.penWidth100, c.width) << c.pen;
        EXPECT_EQ(back.penBlock.color.red, c.red) << c.pen;
        EXPECT_EQ(back.penBlock.pattern, 0);
    }
}

TEST(ElementEncoding, OldVersionGatesOfInstancesDimensionsAndPolylines) {
    // A symbol instance of version 527 with 12-byte reals: its y scale is its scale.
    OldStream inst;
    inst.format = kRealExtended96;
    inst.Short(1), inst.Short(2), inst.Short(3);
    for (int i = 0; i < 13; ++i)
        inst.Real(i == 3 ? 2.5 : i);
    inst.Short(-4);
    SymbolInstanceRecord instBack;
    SInt64 end =
        Decode(inst.bytes, [&](SInt16 s) { ReadSymbolInstanceRecord(s, &instBack, kRealExtended96, 527); });
    EXPECT_EQ(end, SInt64(inst.bytes.size()));
    EXPECT_EQ(instBack.xScale, 2.5);
    EXPECT_EQ(instBack.yScale, 2.5);
    EXPECT_EQ(instBack.definitionNumber, -4);
    EXPECT_EQ(instBack.frame[0], 4.0);

    // A radius dimension of kind -4 from before 0x215 becomes kind 4 with its points exchanged.
    OldStream dim;
    dim.Short(1), dim.Short(2), dim.Short(3);
    for (int i = 0; i < 15; ++i)
        dim.Real(i + 1);
    dim.Short(2), dim.Short(-4), dim.Short(0);
    dim.Raw(std::string(20, '\0'));
    for (int i = 0; i < 3; ++i)
        dim.Real(0);
    dim.Short(0), dim.Short(0), dim.Short(0), dim.Short(0), dim.Short(0), dim.Long(0); // pen block
    dim.Raw("\x03"
            "12\xA1"); // Mac Roman degree sign
    DimensionRecord dimBack;
    end = Decode(dim.bytes, [&](SInt16 s) { ReadDimensionRecord(nullptr, s, &dimBack, kRealDouble, 0x214); });
    EXPECT_EQ(end, SInt64(dim.bytes.size()));
    EXPECT_EQ(dimBack.kind, 4);
    EXPECT_EQ(dimBack.x1, 3.0);
    EXPECT_EQ(dimBack.y2, 2.0);
    EXPECT_EQ(dimBack.auxX, 0.0);
    EXPECT_EQ(dimBack.auxY, 360.0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(dimBack.text) + 1, dimBack.text[0]), "12\xC2\xB0");

    // A picture polyline from before 0x160: its word after the flags becomes -1, the next four 0.
    OldStream poly;
    poly.format = kRealExtended80;
    poly.Short(1), poly.Short(2), poly.Short(3), poly.Short(4), poly.Short(0), poly.Short(kPolylinePicture);
    poly.Short(0), poly.Short(0), poly.Short(0);
    poly.Real(0), poly.Real(0), poly.Real(0);
    poly.Short(1);
    for (SInt16 w : {0x7001, 5, 6, 7, 8, 9})
        poly.Short(w);
    poly.Real(1);
    poly.Short(0); // only the pen's flag word at this version
    poly.Real(-3.25), poly.Real(4);
    poly.Long(0); // no picture bytes
    PolylineRecord polyBack;
    end = Decode(poly.bytes,
                 [&](SInt16 s) { ReadPolylineRecord(nullptr, s, &polyBack, kRealExtended80, 0x15F); });
    EXPECT_EQ(end, SInt64(poly.bytes.size()));
    EXPECT_EQ(polyBack.flags, 0x7001);
    EXPECT_EQ(polyBack.pictureWord, -1);
    EXPECT_EQ(polyBack.optionWords[0] + polyBack.optionWords[3], 0);
    EXPECT_EQ(reinterpret_cast<Float64*>(*polyBack.points)[0], -3.25);
    EXPECT_EQ(polyBack.picture, nullptr);
    DisposeHandle(polyBack.points);
}

TEST(ElementEncoding, OldTextsBecomeUtf8WithinTheirFields) {
    auto oldText = [](SInt16 font, const std::string& chars) {
        OldStream s;
        for (int i = 0; i < 5; ++i)
            s.Short(0);
        s.Short(0); // type word
        for (int i = 0; i < 9; ++i)
            s.Real(0);
        s.Short(font);
        for (int i = 0; i < 10; ++i)
            s.Real(0);
        s.Short(0), s.Short(0), s.Short(0), s.Short(0), s.Short(0), s.Long(0); // pen block
        s.bytes.push_back(UInt8(chars.size()));
        s.Raw(chars);
        return s.bytes;
    };
    auto read = [](const std::vector<UInt8>& bytes, TextRecord* text) {
        return Decode(bytes, [&](SInt16 s) { ReadTextRecord(nullptr, s, text, kRealDouble, 0x6FF); });
    };

    TextRecord text;
    std::vector<UInt8> roman = oldText(3, "Ma\x8A\xDB"); // Mac Roman a-umlaut and the euro sign
    EXPECT_EQ(read(roman, &text), SInt64(roman.size()));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text.text) + 1, text.text[0]), "Ma\xC3\xA4\xE2\x82\xAC");
    EXPECT_EQ(text.font, 3);

    std::vector<UInt8> japanese = oldText(16701, "\x93\xfa\x96\x7b"); // Shift-JIS "Nihon"
    read(japanese, &text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text.text) + 1, text.text[0]), "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_NE(text.font, 16701); // the font that shows Japanese texts

    // 255 characters of three UTF-8 bytes each are cut at a character boundary within 255 bytes.
    std::vector<UInt8> longText = oldText(3, std::string(255, '\xAA')); // the trade mark sign
    EXPECT_EQ(read(longText, &text), SInt64(longText.size()));
    EXPECT_EQ(text.text[0], 255);
    EXPECT_EQ(std::memcmp(text.text + 253, "\xE2\x84\xA2", 3), 0);

    // A framed box keeps every character: three bytes each.
    OldStream box;
    for (int i = 0; i < 5; ++i)
        box.Short(0);
    box.Short(kFramedTextBoxFlags);
    for (int i = 0; i < 9; ++i)
        box.Real(0);
    box.Short(0); // font
    for (int i = 0; i < 10; ++i)
        box.Real(0);
    box.Short(0), box.Short(0), box.Short(0), box.Short(0), box.Short(0), box.Long(0);
    box.Long(100);
    box.Raw(std::string(100, '\xAA'));
    box.Long(0), box.Long(0);
    TextRecord boxBack;
    EXPECT_EQ(read(box.bytes, &boxBack), SInt64(box.bytes.size()));
    ASSERT_NE(boxBack.boxText, nullptr);
    EXPECT_EQ(GetHandleSize(boxBack.boxText), 300);
    DisposeHandle(boxBack.boxText);
}

TEST(ElementEncoding, DamagedCountsAreRefusedBeforeAnythingIsAllocated) {
    // A text box claiming two gigabytes in a stream of a few hundred bytes.
    TextRecord box{};
    box.textFlags = kFramedTextBoxFlags;
    std::vector<UInt8> bytes = Encode([&](SInt16 s) { WriteTextRecord(s, &box); });
    bytes[kStoredTextSize] = 0x7F;
    TextRecord text;
    Decode(bytes, [&](SInt16 s) { EXPECT_FALSE(ReadTextRecord(nullptr, s, &text, kRealDouble, 0x701)); });
    EXPECT_EQ(StreamError, eofErr);
    EXPECT_EQ(text.boxText, nullptr);

    // A polyline with a negative point count, and one whose points are missing.
    PolylineRecord poly{};
    poly.pointCount = 3;
    bytes = Encode([&](SInt16 s) { WritePolylineRecord(s, &poly); });
    PolylineRecord back;
    std::vector<UInt8> cut(bytes.begin(), bytes.end() - 16);
    Decode(cut, [&](SInt16 s) { EXPECT_FALSE(ReadPolylineRecord(nullptr, s, &back, kRealDouble, 0x701)); });
    EXPECT_EQ(back.points, nullptr);
    bytes[42] = 0xFF;
    Decode(bytes, [&](SInt16 s) { EXPECT_FALSE(ReadPolylineRecord(nullptr, s, &back, kRealDouble, 0x701)); });
    EXPECT_EQ(back.points, nullptr);

    // A picture larger than the rest of the stream.
    poly.kind = kPolylinePicture;
    poly.pointCount = 0;
    bytes = Encode([&](SInt16 s) { WritePolylineRecord(s, &poly); });
    bytes[kStoredPolylineSize] = 0x10;
    Decode(bytes, [&](SInt16 s) { EXPECT_FALSE(ReadPolylineRecord(nullptr, s, &back, kRealDouble, 0x701)); });
    EXPECT_EQ(back.picture, nullptr);

    // An area whose last hole index asks for 32,000 outlines that are not there.
    AreaRecord area{};
    area.outline = NewOutlineHandle(0);
    bytes = Encode([&](SInt16 s) { WriteAreaRecord(s, &area); });
    bytes[56] = 0x7D, bytes[57] = 0x00;
    AreaRecord areaBack;
    Decode(bytes, [&](SInt16 s) { EXPECT_FALSE(ReadAreaRecord(nullptr, s, &areaBack, kRealDouble, 0x701)); });
    EXPECT_EQ(areaBack.outline, nullptr);
    EXPECT_EQ(areaBack.holes, nullptr);
    EXPECT_EQ(areaBack.lastHoleIndex, -1);
    DisposeHandle(area.outline);

    // A record of an unknown real format is refused, not read as zeros.
    LineRecord line = SampleLine();
    bytes = Encode([&](SInt16 s) { WriteLineRecord(s, &line); });
    LineRecord lineBack;
    Decode(bytes, [&](SInt16 s) { ReadLineRecord(nullptr, s, &lineBack, 5, 0x701); });
    EXPECT_EQ(StreamError, paramErr);
}

TEST(ElementEncoding, VariablesAreStoredUpToFiftyAndReadWithinTheTable) {
    VariableTable table{};
    DrawingRecord drawing{};
    DocWindowRecord doc{};
    doc.drawing = &drawing;
    drawing.variables = &table;
    drawing.variableCount = kVariableCapacity;
    for (int i = 0; i < kVariableCapacity; ++i)
        table.entries[i][0] = UInt8(i + 1);
    std::vector<UInt8> bytes = Encode([&](SInt16 s) { WriteVariables(&doc, s); });
    EXPECT_EQ(bytes.size(), size_t(2 + 50 * 256));

    // A stored count above 50 reads only 50 slots, so the table is never written past its end.
    bytes[0] = 0x7F;
    bytes.resize(2 + 60 * 256, 0x33);
    VariableTable readTable{};
    drawing.variables = &readTable;
    drawing.variableCount = 1;
    Decode(bytes, [&](SInt16 s) { ReadVariables(&doc, s); });
    EXPECT_EQ(drawing.variableCount, 50);
    EXPECT_EQ(readTable.entries[49][0], 50);
    EXPECT_EQ(readTable.entries[50][0], 0);
}

// Records are decoded from memory once their whole fixed part is known to be there; a record cut
// short is read field by field as before: what is there the same, the rest zero, and an error.
TEST(ElementEncoding, ARecordCutShortReadsWhatIsThereFieldByField) {
    SettingsOnlyDocument d;
    LineRecord line = SampleLine();
    std::vector<UInt8> lineBytes = Encode([&](SInt16 s) { WriteLineRecord(s, &line); });

    OldStream inst; // 12-byte reals of version 527; the last field is the definition number
    inst.format = kRealExtended96;
    inst.Short(1), inst.Short(2), inst.Short(3);
    for (int i = 0; i < 13; ++i)
        inst.Real(i + 0.5);
    inst.Short(-4);

    struct Case {
        const char* kind;
        std::vector<UInt8> bytes;
        size_t cut; // the bytes of the last field
        std::function<std::vector<UInt8>(SInt16)> read;
        std::function<void(std::vector<UInt8>&)> clearLast;
    };
    auto asBytes = [](const auto& record) {
        const auto* p = reinterpret_cast<const UInt8*>(&record);
        return std::vector<UInt8>(p, p + sizeof record);
    };
    const Case cases[] = {
        {"line", lineBytes, 4,
         [&](SInt16 s) {
             LineRecord e;
             ReadLineRecord(&d.doc, s, &e, kRealDouble, kCurrentFileVersion);
             return asBytes(e);
         },
         [](std::vector<UInt8>& b) { reinterpret_cast<LineRecord*>(b.data())->penBlock.pattern = 0; }},
        {"old symbol instance", inst.bytes, 2,
         [&](SInt16 s) {
             SymbolInstanceRecord e;
             ReadSymbolInstanceRecord(s, &e, kRealExtended96, 527);
             return asBytes(e);
         },
         [](std::vector<UInt8>& b) {
             reinterpret_cast<SymbolInstanceRecord*>(b.data())->definitionNumber = 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::vector<UInt8> whole, cut;
        EXPECT_EQ(Decode(c.bytes, [&](SInt16 s) { whole = c.read(s); }), SInt64(c.bytes.size()));
        EXPECT_EQ(StreamError, noErr);
        std::vector<UInt8> shorter(c.bytes.begin(), c.bytes.end() - SInt64(c.cut));
        Decode(shorter, [&](SInt16 s) { cut = c.read(s); });
        EXPECT_EQ(StreamError, eofErr);
        c.clearLast(whole);
        EXPECT_EQ(whole, cut);
    }
}
