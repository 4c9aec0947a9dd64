// Big-endian typed stream operations over forks of the file layer and over in-memory streams.
#include "Model/Streams.h"

#include "Platform/FileManager.h"

#include <cmath>
#include <cstring>
#include <vector>

OSErr StreamError = noErr;

void StreamNoteError(OSErr err) {
    if (err != noErr && StreamError == noErr) StreamError = err;
}

SInt32 StoredRealSize(SInt16 format) {
    switch (format) {
    case kRealExtended80:
        return 10;
    case kRealExtended96:
        return 12;
    case kRealDouble:
        return 8;
    default:
        return 0;
    }
}

namespace {

struct MemoryStream {
    bool open = false;
    std::vector<UInt8> bytes;
    SInt64 position = 0;
    // A fork read through a window: bytes hold the fork from windowStart on, position is in the
    // fork. 0 for a stream that holds all its bytes.
    SInt16 fork = 0;
    SInt64 windowStart = 0, forkSize = 0;
    size_t windowBytes = 0;
};

std::vector<MemoryStream>& MemoryStreams() {
    static std::vector<MemoryStream> streams;
    return streams;
}

// Memory stream n lives under the reference number -(n + 1).
MemoryStream* FindMemoryStream(SInt16 ref) {
    if (ref >= 0) return nullptr;
    size_t index = size_t(-(SInt32(ref) + 1));
    auto& all = MemoryStreams();
    if (index >= all.size() || !all[index].open) return nullptr;
    return &all[index];
}

// Moves a fork's window so that it holds [position, position + need) where the fork has them.
OSErr Refill(MemoryStream* m, SInt64 need) {
    SInt64 end = m->windowStart + SInt64(m->bytes.size());
    if (m->position >= m->windowStart && m->position + need <= end) return noErr;
    SInt64 want = need > SInt64(m->windowBytes) ? need : SInt64(m->windowBytes);
    if (want > m->forkSize - m->position) want = m->forkSize - m->position;
    if (want < 0) want = 0;
    m->windowStart = m->position;
    m->bytes.clear();
    try {
        m->bytes.resize(size_t(want));
    } catch (...) {
        return memFullErr;
    }
    ByteCount got = 0;
    OSErr err = want > 0
                    ? FSReadFork(m->fork, fsFromStart, m->position, ByteCount(want), m->bytes.data(), &got)
                    : OSErr(noErr);
    m->bytes.resize(size_t(got));
    return err == eofErr && SInt64(got) == want ? OSErr(noErr) : err;
}

OSErr MemoryRead(MemoryStream* m, void* buffer, SInt64 count, SInt64* done) {
    if (m->fork != 0) {
        *done = 0;
        OSErr err = noErr;
        while (*done < count && err == noErr) {
            SInt64 piece = count - *done;
            if (piece > SInt64(m->windowBytes)) piece = SInt64(m->windowBytes);
            err = Refill(m, piece);
            SInt64 available = m->windowStart + SInt64(m->bytes.size()) - m->position;
            SInt64 n = piece < available ? piece : available;
            if (n <= 0) return err != noErr ? err : eofErr;
            std::memcpy(static_cast<UInt8*>(buffer) + *done, m->bytes.data() + (m->position - m->windowStart),
                        size_t(n));
            m->position += n;
            *done += n;
        }
        return *done < count && err == noErr ? OSErr(eofErr) : err;
    }
    SInt64 available = SInt64(m->bytes.size()) - m->position;
    if (available < 0) available = 0;
    SInt64 n = count < available ? count : available;
    if (n > 0) std::memcpy(buffer, m->bytes.data() + m->position, size_t(n));
    m->position += n;
    *done = n;
    return n < count ? eofErr : noErr;
}

OSErr MemoryWrite(MemoryStream* m, const void* buffer, SInt64 count) {
    if (m->fork != 0) return wrPermErr;
    SInt64 end = m->position + count;
    if (end > SInt64(m->bytes.size())) {
        try {
            m->bytes.resize(size_t(end));
        } catch (...) {
            return memFullErr;
        }
    }
    if (count > 0) std::memcpy(m->bytes.data() + m->position, buffer, size_t(count));
    m->position = end;
    return noErr;
}

OSErr RawRead(SInt16 fork, void* buffer, SInt32 count) {
    if (count <= 0) return noErr;
    if (MemoryStream* m = FindMemoryStream(fork)) {
        SInt64 done = 0;
        OSErr err = MemoryRead(m, buffer, count, &done);
        if (done < count) std::memset(static_cast<UInt8*>(buffer) + done, 0, size_t(count - done));
        return err;
    }
    if (fork < 0) return rfNumErr;
    ByteCount done = 0;
    OSErr err = FSReadFork(fork, fsAtMark, 0, ByteCount(count), buffer, &done);
    if (done < ByteCount(count)) std::memset(static_cast<UInt8*>(buffer) + done, 0, count - done);
    return err;
}

OSErr RawWrite(SInt16 fork, const void* buffer, SInt32 count) {
    if (count <= 0) return noErr;
    if (MemoryStream* m = FindMemoryStream(fork)) return MemoryWrite(m, buffer, count);
    if (fork < 0) return rfNumErr;
    return FSWriteFork(fork, fsAtMark, 0, ByteCount(count), buffer, nullptr);
}

void WriteNoted(SInt16 fork, const void* buffer, SInt32 count) {
    StreamNoteError(RawWrite(fork, buffer, count));
}

// Typed reads share one rule: check the counter, read, note the result, consume the size.
bool ReadCounted(SInt16 fork, void* buffer, SInt32 size, SInt32* remaining) {
    if (remaining != nullptr && *remaining < size) return false;
    StreamNoteError(RawRead(fork, buffer, size));
    if (remaining != nullptr) *remaining -= size;
    return true;
}

UInt16 Get16(const UInt8* p) {
    return UInt16((UInt16(p[0]) << 8) | p[1]);
}
UInt32 Get32(const UInt8* p) {
    return (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | UInt32(p[3]);
}
void Put16(UInt8* p, UInt16 v) {
    p[0] = UInt8(v >> 8);
    p[1] = UInt8(v);
}
void Put32(UInt8* p, UInt32 v) {
    p[0] = UInt8(v >> 24);
    p[1] = UInt8(v >> 16);
    p[2] = UInt8(v >> 8);
    p[3] = UInt8(v);
}

} // namespace

SInt16 OpenMemoryStream() {
    auto& all = MemoryStreams();
    size_t index = 0;
    while (index < all.size() && all[index].open)
        ++index;
    if (index == all.size()) {
        if (all.size() >= 32767) return 0;
        all.emplace_back();
    }
    all[index].open = true;
    all[index].bytes.clear();
    all[index].position = 0;
    all[index].fork = 0;
    return SInt16(-SInt32(index) - 1);
}

SInt16 OpenMemoryStreamOn(const void* data, SInt64 size) {
    SInt16 ref = OpenMemoryStream();
    MemoryStream* m = FindMemoryStream(ref);
    if (m == nullptr) return 0;
    if (size > 0) {
        const UInt8* p = static_cast<const UInt8*>(data);
        m->bytes.assign(p, p + size);
    }
    return ref;
}

SInt16 OpenForkReadStream(SInt16 fork, SInt32 windowBytes) {
    SInt64 size = 0;
    if (FSGetForkSize(fork, &size) != noErr || windowBytes <= 0) return 0;
    SInt16 ref = OpenMemoryStream();
    MemoryStream* m = FindMemoryStream(ref);
    if (m == nullptr) return 0;
    m->fork = fork;
    m->forkSize = size;
    m->windowStart = 0;
    m->windowBytes = size_t(windowBytes);
    return ref;
}

const UInt8* StreamTakeSpan(SInt16 stream, SInt32 count) {
    MemoryStream* m = FindMemoryStream(stream);
    if (m != nullptr && m->fork != 0) {
        if (count < 0 || m->forkSize - m->position < count) return nullptr;
        OSErr err = Refill(m, count);
        if (err != noErr || m->windowStart + SInt64(m->bytes.size()) - m->position < count) {
            StreamNoteError(err != noErr ? err : eofErr);
            return nullptr;
        }
        const UInt8* p = m->bytes.data() + (m->position - m->windowStart);
        m->position += count;
        return p;
    }
    if (m == nullptr || count < 0 || m->position < 0 || SInt64(m->bytes.size()) - m->position < count)
        return nullptr;
    const UInt8* p = m->bytes.data() + m->position;
    m->position += count;
    return p;
}

const UInt8* MemoryStreamData(SInt16 stream, SInt64* size) {
    MemoryStream* m = FindMemoryStream(stream);
    if (size != nullptr) *size = m ? SInt64(m->bytes.size()) : 0;
    return m ? m->bytes.data() : nullptr;
}

void ResetMemoryStream(SInt16 stream) {
    if (MemoryStream* m = FindMemoryStream(stream)) {
        m->bytes.clear();
        m->position = 0;
    }
}

void CloseMemoryStream(SInt16 stream) {
    if (MemoryStream* m = FindMemoryStream(stream)) {
        if (m->fork != 0) FSCloseFork(m->fork);
        m->fork = 0;
        m->open = false;
        std::vector<UInt8>().swap(m->bytes);
        m->position = 0;
    }
}

SInt64 StreamFileSize(SInt16 fork) {
    if (MemoryStream* m = FindMemoryStream(fork)) return m->fork != 0 ? m->forkSize : SInt64(m->bytes.size());
    SInt64 size = 0;
    StreamNoteError(FSGetForkSize(fork, &size));
    return size;
}

SInt64 StreamGetPos(SInt16 fork) {
    if (MemoryStream* m = FindMemoryStream(fork)) return m->position;
    SInt64 position = 0;
    StreamNoteError(FSGetForkPosition(fork, &position));
    return position;
}

void StreamSetPos(SInt16 fork, SInt64 offset) {
    if (MemoryStream* m = FindMemoryStream(fork)) {
        if (offset < 0) {
            StreamNoteError(posErr);
            return;
        }
        SInt64 size = m->fork != 0 ? m->forkSize : SInt64(m->bytes.size());
        if (offset > size) {
            m->position = size;
            StreamNoteError(eofErr);
            return;
        }
        m->position = offset;
        return;
    }
    StreamNoteError(FSSetForkPosition(fork, fsFromStart, offset));
}

SInt64 StreamBytesLeft(SInt16 fork) {
    if (MemoryStream* m = FindMemoryStream(fork)) {
        SInt64 left = (m->fork != 0 ? m->forkSize : SInt64(m->bytes.size())) - m->position;
        return left > 0 ? left : 0;
    }
    SInt64 size = 0, position = 0;
    if (FSGetForkSize(fork, &size) != noErr || FSGetForkPosition(fork, &position) != noErr) return 0;
    return size > position ? size - position : 0;
}

OSErr StreamWriteBytes(SInt16 fork, const void* buffer, SInt32 count) {
    OSErr err = RawWrite(fork, buffer, count);
    StreamNoteError(err);
    return err;
}

OSErr StreamReadBytes(SInt16 fork, void* buffer, SInt32 count) {
    OSErr err = RawRead(fork, buffer, count);
    StreamNoteError(err);
    return err;
}

OSErr StreamFlush(SInt16 fork) {
    if (FindMemoryStream(fork)) return noErr;
    OSErr err = FSFlushFork(fork);
    StreamNoteError(err);
    return err;
}

OSErr StreamClose(SInt16 fork) {
    if (FindMemoryStream(fork)) {
        CloseMemoryStream(fork);
        return noErr;
    }
    OSErr err = FSCloseFork(fork);
    StreamNoteError(err);
    return err;
}

void StreamWriteLong(SInt16 fork, SInt32 value) {
    UInt8 b[4];
    Put32(b, UInt32(value));
    WriteNoted(fork, b, 4);
}

void StreamWriteShort(SInt16 fork, SInt16 value) {
    UInt8 b[2];
    Put16(b, UInt16(value));
    WriteNoted(fork, b, 2);
}

void StreamWriteBool16(SInt16 fork, Boolean value) {
    StreamWriteShort(fork, value ? 0 : 255);
}

void StreamWriteBool8(SInt16 fork, Boolean value) {
    StreamWriteByte(fork, value ? 1 : 0);
}

void StreamWriteByte(SInt16 fork, UInt8 value) {
    WriteNoted(fork, &value, 1);
}

void StreamWriteChar16(SInt16 fork, UInt8 ch) {
    StreamWriteShort(fork, SInt16(SInt8(ch)));
}

void StreamWriteRGB(SInt16 fork, const RGBColor& color) {
    UInt8 b[6];
    Put16(b, color.red);
    Put16(b + 2, color.green);
    Put16(b + 4, color.blue);
    WriteNoted(fork, b, 6);
}

void StreamWritePoint(SInt16 fork, Point pt) {
    UInt8 b[4];
    Put16(b, UInt16(pt.v));
    Put16(b + 2, UInt16(pt.h));
    WriteNoted(fork, b, 4);
}

void StreamWriteRect(SInt16 fork, const Rect& r) {
    UInt8 b[8];
    Put16(b, UInt16(r.top));
    Put16(b + 2, UInt16(r.left));
    Put16(b + 4, UInt16(r.bottom));
    Put16(b + 6, UInt16(r.right));
    WriteNoted(fork, b, 8);
}

void StreamWritePString(SInt16 fork, ConstStringPtr s, UInt8 capacity) {
    UInt8 b[256];
    std::memcpy(b, s, size_t(capacity) + 1);
    if (b[0] > capacity) b[0] = capacity;
    WriteNoted(fork, b, SInt32(capacity) + 1);
}

void StreamWriteReal(SInt16 fork, Float64 value) {
    UInt64 bits;
    std::memcpy(&bits, &value, 8);
    UInt8 b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = UInt8(bits >> (56 - 8 * i));
    WriteNoted(fork, b, 8);
}

SInt32 StreamReadLong(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[4] = {};
    if (!ReadCounted(fork, b, 4, remaining)) return 0;
    return SInt32(Get32(b));
}

SInt16 StreamReadShort(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[2] = {};
    if (!ReadCounted(fork, b, 2, remaining)) return 0;
    return SInt16(Get16(b));
}

Boolean StreamReadBool16(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[2] = {};
    if (!ReadCounted(fork, b, 2, remaining)) return false;
    return Get16(b) != 255;
}

Boolean StreamReadBool8(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b = 0;
    if (!ReadCounted(fork, &b, 1, remaining)) return false;
    return b != 0;
}

UInt8 StreamReadByte(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b = 0;
    if (!ReadCounted(fork, &b, 1, remaining)) return 0;
    return b;
}

UInt8 StreamReadChar16(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[2] = {};
    if (!ReadCounted(fork, b, 2, remaining)) return ' ';
    return b[1];
}

RGBColor StreamReadRGB(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[6] = {};
    if (!ReadCounted(fork, b, 6, remaining)) return RGBColor{0, 0, 0};
    return RGBColor{Get16(b), Get16(b + 2), Get16(b + 4)};
}

Point StreamReadPoint(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[4] = {};
    if (!ReadCounted(fork, b, 4, remaining)) return Point{0, 0};
    return Point{SInt16(Get16(b)), SInt16(Get16(b + 2))};
}

Rect StreamReadRect(SInt16 fork, SInt32* remaining, SInt16) {
    UInt8 b[8] = {};
    if (!ReadCounted(fork, b, 8, remaining)) return Rect{0, 0, 0, 0};
    return Rect{SInt16(Get16(b)), SInt16(Get16(b + 2)), SInt16(Get16(b + 4)), SInt16(Get16(b + 6))};
}

void StreamReadPString(SInt16 fork, StringPtr dest, UInt8 capacity, SInt32* remaining, SInt16) {
    dest[0] = 0;
    if (!ReadCounted(fork, dest, SInt32(capacity) + 1, remaining)) {
        dest[0] = 0;
        return;
    }
    if (dest[0] > capacity) dest[0] = capacity;
}

Float64 StreamReadReal(SInt16 fork, SInt16 format, SInt32* remaining) {
    SInt32 size = StoredRealSize(format);
    if (size == 0) {
        StreamNoteError(paramErr);
        return 0.0;
    }
    UInt8 b[12] = {};
    if (!ReadCounted(fork, b, size, remaining)) return 0.0;
    if (format == kRealDouble) {
        UInt64 bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = (bits << 8) | b[i];
        Float64 value;
        std::memcpy(&value, &bits, 8);
        return value;
    }
    if (format == kRealExtended96) std::memmove(b + 2, b + 4, 8); // drop the two padding bytes
    return ExtendedToDouble(b);
}

Float64 ExtendedToDouble(const UInt8 bytes[10]) {
    UInt16 signExponent = Get16(bytes);
    UInt64 significand = 0;
    for (int i = 0; i < 8; ++i)
        significand = (significand << 8) | bytes[2 + i];
    bool negative = (signExponent & 0x8000) != 0;
    int exponent = signExponent & 0x7FFF;
    Float64 value;
    if (exponent == 0x7FFF) {
        // Infinity has an empty fraction (the integer bit aside); anything else is not a number.
        value = (significand << 1) == 0 ? HUGE_VAL : std::nan("");
    } else if (significand == 0) {
        value = 0.0;
    } else {
        // value = significand * 2^(exponent - 16383 - 63); ldexp rounds to the nearest double.
        value = std::ldexp(Float64(significand >> 11), exponent - 16383 - 52);
        UInt64 rest = significand & 0x7FF;
        if (rest != 0) value += std::ldexp(Float64(rest), exponent - 16383 - 63);
    }
    return negative ? -value : value;
}
