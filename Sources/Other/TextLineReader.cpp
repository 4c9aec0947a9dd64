// The buffered text-line reader. Bytes come only from what a read really delivered: the buffer is
// valid up to its fill mark, and a failed read ends reading instead of replaying old bytes.
#include "Other/TextLineReader.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr unsigned char kCR = 13;
constexpr unsigned char kLF = 10;
// Spare bytes behind the buffer, as the reader has always allocated them.
constexpr SInt32 kSpareBytes = 2000;

struct ReaderState {
    std::unique_ptr<unsigned char[]> buffer;
    SInt32 bufferSize = 0;
    SInt32 index = 0; // next byte in the buffer
    SInt32 fill = 0;  // bytes the last read delivered
    SInt64 consumed = 0;
    SInt64 forkSize = 0;
    SInt16 lineEndWidth = 0; // 0 until the first line end has been seen
    SInt32 lineCount = 0;
    OSErr error = noErr;
    bool continuing = false; // the last line was cut at 255 characters
};

ReaderState gReader;

bool Refill(FSIORefNum fork) {
    ReaderState& r = gReader;
    if (r.error != noErr || !r.buffer || r.consumed >= r.forkSize) return false;
    SInt64 left = r.forkSize - r.consumed;
    ByteCount want = ByteCount(left < r.bufferSize ? left : r.bufferSize);
    ByteCount actual = 0;
    OSErr err = FSReadFork(fork, fsAtMark, 0, want, r.buffer.get(), &actual);
    r.index = 0;
    r.fill = 0;
    if ((err != noErr && err != eofErr) || actual == 0) {
        // Includes a file that shrank since it was opened.
        r.error = err != noErr ? err : OSErr(ioErr);
        return false;
    }
    r.fill = SInt32(actual);
    return true;
}

bool Peek(FSIORefNum fork, unsigned char* c) {
    if (gReader.index >= gReader.fill && !Refill(fork)) return false;
    *c = gReader.buffer[size_t(gReader.index)];
    return true;
}

bool Take(FSIORefNum fork, unsigned char* c) {
    if (!Peek(fork, c)) return false;
    ++gReader.index;
    ++gReader.consumed;
    return true;
}

void AddBytes(SInt32* counter, SInt64 n) {
    if (counter) *counter = SInt32(UInt32(*counter) + UInt32(n));
}

// The common case: the line and its whole line end lie in the buffer and the line is shorter than
// 255 characters, once the width of a line end is known. False (nothing taken) otherwise.
bool ReadWholeLineInBuffer(StringPtr dest, SInt32* bytesUsed, bool drop) {
    ReaderState& r = gReader;
    if (r.continuing || r.lineEndWidth == 0) return false;
    const unsigned char* start = r.buffer.get() + r.index;
    const unsigned char* end = r.buffer.get() + r.fill;
    const unsigned char* p = start;
    if (drop)
        while (p < end && *p == ' ')
            ++p;
    // A line end placed at the limit stops the scan, so the loop tests each byte only; lines are short
    // and most bytes are above the line ends.
    unsigned char* limit = const_cast<unsigned char*>(end - p > 255 ? p + 255 : end);
    const unsigned char saved = *limit; // at the end, one of the spare bytes
    *limit = kLF;
    const unsigned char* q = p;
    for (;; ++q) {
        while (*q > kCR)
            ++q;
        if (*q == kLF || *q == kCR) break;
    }
    *limit = saved;
    if (q >= limit) return false;
    const unsigned char* next = q + 1;
    if (r.lineEndWidth == 2) {
        if (next >= end) return false; // the partner may lie in the next buffer
        if (*next == (*q == kCR ? kLF : kCR)) ++next;
    }
    size_t length = size_t(q - p);
    std::memcpy(dest + 1, p, length);
    dest[0] = UInt8(length);
    SInt32 used = SInt32(next - start);
    r.index += used;
    r.consumed += used;
    AddBytes(bytesUsed, used);
    ++r.lineCount;
    return true;
}

// Kept out of line, so that the common case above pays nothing for it.
[[gnu::noinline]] Boolean ReadLine(FSIORefNum fork, StringPtr dest, SInt32* bytesUsed,
                                   bool dropLeadingBlanks) {
    ReaderState& r = gReader;
    // The rest of a cut line keeps its blanks: they are characters of the line.
    bool drop = dropLeadingBlanks && !r.continuing;
    r.continuing = false;
    int length = 0;
    unsigned char terminator = 0;
    SInt64 taken = 0;

    while (!terminator && length < 255) {
        if (r.index >= r.fill && !Refill(fork)) {
            dest[0] = UInt8(length);
            AddBytes(bytesUsed, taken);
            ++r.lineCount;
            return false;
        }
        const unsigned char* start = r.buffer.get() + r.index;
        const unsigned char* p = start;
        const unsigned char* end = r.buffer.get() + r.fill;
        if (drop && length == 0)
            while (p < end && *p == ' ')
                ++p;
        // The line end is searched with memchr over at most the room left in the line.
        size_t room = size_t(255 - length);
        size_t span = size_t(end - p) < room ? size_t(end - p) : room;
        const void* lf = std::memchr(p, kLF, span);
        if (lf) span = size_t(static_cast<const unsigned char*>(lf) - p);
        const void* cr = std::memchr(p, kCR, span);
        if (cr) span = size_t(static_cast<const unsigned char*>(cr) - p);
        std::memcpy(dest + 1 + length, p, span);
        length += int(span);
        p += span;
        if (cr || lf) terminator = *p++;
        SInt32 used = SInt32(p - start);
        r.index += used;
        r.consumed += used;
        taken += used;
    }
    dest[0] = UInt8(length);

    unsigned char c = 0;
    if (!terminator) {
        // 255 characters: a line end right here belongs to this line; anything else starts the next.
        if (!Peek(fork, &c)) {
            AddBytes(bytesUsed, taken);
            ++r.lineCount;
            return false;
        }
        if (c == kCR || c == kLF) {
            Take(fork, &c);
            ++taken;
            terminator = c;
        } else {
            r.continuing = true;
        }
    }
    if (terminator && r.lineEndWidth != 1) {
        // The second byte of a pair is skipped only when it really is the partner of the first.
        unsigned char partner = terminator == kCR ? kLF : kCR;
        bool pair = Peek(fork, &c) && c == partner;
        if (r.lineEndWidth == 0) r.lineEndWidth = pair ? 2 : 1;
        if (pair) {
            Take(fork, &c);
            ++taken;
        }
    }
    AddBytes(bytesUsed, taken);
    ++r.lineCount;
    return true;
}

} // namespace

Boolean OpenBufferedFork(SInt32 kilobytes, FSIORefNum fork) {
    CloseBufferedFork();
    ReaderState& r = gReader;
    if (kilobytes < 1 || kilobytes > (0x7FFFFFFF - kSpareBytes) / 1024) {
        r.error = paramErr;
        return false;
    }
    SInt32 size = kilobytes * 1024;
    r.buffer.reset(new (std::nothrow) unsigned char[size_t(size) + kSpareBytes]);
    if (!r.buffer) {
        r.error = memFullErr;
        return false;
    }
    r.bufferSize = size;
    OSErr err = FSGetForkSize(fork, &r.forkSize);
    if (err == noErr) err = FSSetForkPosition(fork, fsFromStart, 0);
    if (err != noErr) {
        CloseBufferedFork();
        r.error = err;
        return false;
    }
    return true;
}

void CloseBufferedFork() {
    gReader = ReaderState();
}

Boolean BufferedAtEOF() {
    return gReader.error != noErr || gReader.consumed >= gReader.forkSize;
}

SInt32 BufferedLineNumber() {
    return gReader.lineCount;
}

WholeLine ReadWholeTextLine(StringPtr dest, SInt32* bytesUsed, Boolean dropLeadingBlanks) {
    if (!ReadWholeLineInBuffer(dest, bytesUsed, dropLeadingBlanks)) return WholeLine::none;
    return gReader.consumed < gReader.forkSize ? WholeLine::more : WholeLine::last;
}

Boolean BufferedLineContinues() {
    return gReader.continuing;
}

OSErr BufferedReadResult() {
    return gReader.error;
}

Boolean ReadBufferedChar(FSIORefNum fork, unsigned char* ch) {
    unsigned char c;
    if (!Take(fork, &c)) return true;
    *ch = c;
    return BufferedAtEOF();
}

Boolean ReadBufferedToken(FSIORefNum fork, StringPtr dest) {
    int length = 0;
    unsigned char c;
    while (length < 255 && Take(fork, &c) && c != ';')
        dest[++length] = c;
    dest[0] = UInt8(length);
    return BufferedAtEOF();
}

Boolean IsLineEndChar(unsigned char c) {
    return c == kCR || c == kLF;
}

Boolean ReadTextLine(FSIORefNum fork, StringPtr dest, SInt32* bytesUsed) {
    return ReadWholeLineInBuffer(dest, bytesUsed, true) || ReadLine(fork, dest, bytesUsed, true);
}

Boolean ReadTextLineRaw(FSIORefNum fork, StringPtr dest, SInt32* bytesUsed) {
    return ReadWholeLineInBuffer(dest, bytesUsed, false) || ReadLine(fork, dest, bytesUsed, false);
}
