// The typed big-endian stream: byte forms, budgets, real formats and the sticky error.
#include "Platform/FileManager.h"
#include "Model/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<UInt8> Bytes(SInt16 stream) {
    SInt64 size = 0;
    const UInt8* data = MemoryStreamData(stream, &size);
    return std::vector<UInt8>(data, data + size);
}

// A stream over the given bytes, closed at the end of the scope.
struct Input {
    SInt16 ref;
    explicit Input(const std::vector<UInt8>& bytes)
        : ref(OpenMemoryStreamOn(bytes.data(), SInt64(bytes.size()))) {}
    ~Input() { CloseMemoryStream(ref); }
};

} // namespace

TEST(Streams, ValuesAreWrittenBigEndianInTheirStoredForms) {
    StreamClearError();
    SInt16 out = OpenMemoryStream();
    StreamWriteLong(out, 0x01020304);
    StreamWriteShort(out, -2);
    StreamWriteBool16(out, true);
    StreamWriteBool16(out, false);
    StreamWriteBool8(out, true);
    StreamWriteChar16(out, 0xE4); // sign-extended: codes above 127 have an all-ones high byte
    StreamWriteRGB(out, RGBColor{0x1122, 0x3344, 0x5566});
    StreamWritePoint(out, Point{1, 2});
    StreamWriteRect(out, Rect{1, 2, 3, 4});
    Str255 ab = {2, 'A', 'B', 'x', 'y'};
    StreamWritePString(out, ab, 3); // the length, the characters and one filler byte
    StreamWriteReal(out, 1.0);
    EXPECT_EQ(StreamError, noErr);
    const std::vector<UInt8> expected = {
        1, 2, 3, 4, 0xFF, 0xFE, 0, 0, 0, 0xFF, 1,   0xFF, 0xE4, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0, 1, 0,
        2, 0, 1, 0, 2,    0,    3, 0, 4, 2,    'A', 'B',  'x',  0x3F, 0xF0, 0,    0,    0,    0,    0, 0};
    EXPECT_EQ(Bytes(out), expected);
    CloseMemoryStream(out);
}

TEST(Streams, ReadersHonourTheRemainingCounter) {
    Input in({0, 7, 0, 1, 0, 0xFF, 0x41});
    StreamClearError();
    SInt32 remaining = 3;
    EXPECT_EQ(StreamReadLong(in.ref, &remaining), 0);
    EXPECT_EQ(remaining, 3);
    EXPECT_EQ(StreamGetPos(in.ref), 0);
    EXPECT_EQ(StreamReadShort(in.ref, &remaining), 7);
    EXPECT_EQ(remaining, 1);
    EXPECT_EQ(StreamReadChar16(in.ref, &remaining), ' '); // a short counter gives a blank, not 0
    remaining = 4;
    EXPECT_TRUE(StreamReadBool16(in.ref, &remaining)); // any value but 255 is true
    EXPECT_FALSE(StreamReadBool16(in.ref, &remaining));
    EXPECT_EQ(StreamReadChar16(in.ref, &remaining), ' ');
    EXPECT_EQ(remaining, 0);
    EXPECT_EQ(StreamError, noErr);
}

TEST(Streams, AStringReadKeepsToItsCapacity) {
    // The stored length claims 200 characters in a field of capacity 3.
    Input in({200, 'A', 'B', 'C', 0x55});
    Str255 s;
    std::memset(s, 0xEE, sizeof s);
    SInt32 remaining = 100;
    StreamReadPString(in.ref, s, 3, &remaining);
    EXPECT_EQ(s[0], 3);
    EXPECT_EQ(std::memcmp(s + 1, "ABC", 3), 0);
    EXPECT_EQ(s[4], 0xEE); // nothing beyond capacity + 1 bytes is touched
    EXPECT_EQ(remaining, 96);
}

TEST(Streams, RealsOfEveryStoredFormat) {
    struct Case {
        SInt16 format;
        std::vector<UInt8> bytes;
        Float64 value;
    } cases[] = {
        {kRealDouble, {0xC0, 0x04, 0, 0, 0, 0, 0, 0}, -2.5},
        {kRealExtended80, {0x3F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}, 1.0},
        {kRealExtended80, {0xC0, 0x00, 0xA0, 0, 0, 0, 0, 0, 0, 0}, -2.5},
        {kRealExtended80, {0x3F, 0xFD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCD}, 0.4},
        {kRealExtended80, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0},
        {kRealExtended96, {0x3F, 0xFF, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0}, 1.0},
        {kRealExtended96, {0x3F, 0xFF, 0x12, 0x34, 0x80, 0, 0, 0, 0, 0, 0, 0}, 1.0}, // padding ignored
        {kRealExtended96, {0x40, 0x0C, 0xAB, 0xCD, 0x9C, 0x40, 0, 0, 0, 0, 0, 0}, 10000.0},
    };
    for (const Case& c : cases) {
        Input in(c.bytes);
        StreamClearError();
        SInt32 remaining = 100;
        EXPECT_EQ(StreamReadReal(in.ref, c.format, &remaining), c.value) << c.format;
        EXPECT_EQ(remaining, 100 - SInt32(c.bytes.size()));
        EXPECT_EQ(StreamError, noErr);
    }
}

TEST(Streams, AnUnknownRealFormatIsRefusedNotReadAsZero) {
    Input in({0x3F, 0xF0, 0, 0, 0, 0, 0, 0});
    StreamClearError();
    SInt32 remaining = 8;
    EXPECT_EQ(StreamReadReal(in.ref, 3, &remaining), 0.0);
    EXPECT_EQ(StreamError, paramErr);
    EXPECT_EQ(remaining, 8);
    EXPECT_EQ(StreamGetPos(in.ref), 0);
}

TEST(Streams, TheFirstErrorOfASequenceIsKept) {
    FSIORefNum full = 0;
    ASSERT_EQ(FSOpenForkPath("/dev/full", fsRdWrPerm, &full), noErr);
    StreamClearError();
    StreamWriteLong(full, 1); // the disk is full
    EXPECT_EQ(StreamError, dskFulErr);
    SInt16 out = OpenMemoryStream();
    StreamWriteReal(out, 2.0); // later successes do not hide it
    SInt32 remaining = 0;
    StreamReadShort(out, &remaining);
    EXPECT_EQ(StreamError, dskFulErr);
    CloseMemoryStream(out);
    StreamClose(full);

    // Errors reported only when data is flushed or the fork closed count too.
    StreamClearError();
    StreamFlush(full); // closed by now
    EXPECT_EQ(StreamError, rfNumErr);

    // A read past the end is an error of its own and still consumes its budget.
    Input in({0x12});
    StreamClearError();
    remaining = 10;
    EXPECT_EQ(StreamReadShort(in.ref, &remaining), 0x1200);
    EXPECT_EQ(StreamError, eofErr);
    EXPECT_EQ(remaining, 8);
}

// A fork read through a small window gives what the whole bytes give: reads and spans across the
// window's edge, spans larger than it, seeks back, the end of the fork, and no writing.
TEST(Streams, AForkReadThroughAWindowReadsAsTheWholeBytes) {
    FSRef folder;
    ASSERT_EQ(GetPrivateTempFolder(&folder), noErr);
    std::string path = std::string(folder.path) + "/window.bin";
    std::vector<UInt8> bytes(1000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = UInt8(i * 7 + i / 256);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);

    StreamClearError();
    FSIORefNum fork = 0;
    ASSERT_EQ(FSOpenForkPath(path.c_str(), fsRdPerm, &fork), noErr);
    SInt16 in = OpenForkReadStream(fork, 16);
    ASSERT_NE(in, 0);
    EXPECT_EQ(StreamFileSize(in), 1000);
    UInt8 piece[100];
    ASSERT_EQ(StreamReadBytes(in, piece, 10), noErr);
    EXPECT_EQ(std::memcmp(piece, bytes.data(), 10), 0);
    EXPECT_EQ(StreamReadLong(in, nullptr),
              SInt32(bytes[10] << 24 | bytes[11] << 16 | bytes[12] << 8 | bytes[13]));
    const UInt8* span = StreamTakeSpan(in, 12); // across the window's edge
    ASSERT_NE(span, nullptr);
    EXPECT_EQ(std::memcmp(span, bytes.data() + 14, 12), 0);
    span = StreamTakeSpan(in, 100); // larger than the window
    ASSERT_NE(span, nullptr);
    EXPECT_EQ(std::memcmp(span, bytes.data() + 26, 100), 0);
    ASSERT_EQ(StreamReadBytes(in, piece, 100), noErr); // in several windows
    EXPECT_EQ(std::memcmp(piece, bytes.data() + 126, 100), 0);
    StreamSetPos(in, 3); // back before the window
    EXPECT_EQ(StreamReadShort(in, nullptr), SInt16(bytes[3] << 8 | bytes[4]));
    EXPECT_EQ(StreamBytesLeft(in), 995);
    EXPECT_EQ(StreamError, noErr);

    // At the end: no span, a short read zero-filled with an error, no writing.
    StreamSetPos(in, 990);
    EXPECT_EQ(StreamTakeSpan(in, 11), nullptr);
    EXPECT_EQ(StreamGetPos(in), 990);
    std::memset(piece, 0xFF, sizeof piece);
    EXPECT_EQ(StreamReadBytes(in, piece, 20), eofErr);
    EXPECT_EQ(std::memcmp(piece, bytes.data() + 990, 10), 0);
    EXPECT_EQ(piece[10] | piece[19], 0);
    EXPECT_EQ(StreamWriteBytes(in, piece, 4), wrPermErr);
    CloseMemoryStream(in); // closes the fork too
    EXPECT_NE(FSCloseFork(fork), noErr);
    std::remove(path.c_str());
}
