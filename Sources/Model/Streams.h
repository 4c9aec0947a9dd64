// Typed big-endian input and output on open forks: every number the drawing file, the element
// records and the undo journal store goes through these, so files are big-endian on every machine.
// Readers take a remaining-length counter so that a short section leaves trailing fields at zero.
#pragma once

#include "Platform/MacTypes.h"

// The first error of a sequence of stream operations (sticky): a caller clears it before a sequence
// and tests it after. Later failures and successes never overwrite it.
extern OSErr StreamError;
inline void StreamClearError() {
    StreamError = noErr;
}
void StreamNoteError(OSErr err);

// Stored real formats of a whole stream.
enum : SInt16 {
    kRealExtended80 = 0,
    kRealExtended96 = 1,
    kRealDouble = 2,
};
// Bytes of one stored real of the format; 0 for an unknown code.
SInt32 StoredRealSize(SInt16 format);

// In-memory streams take the same calls as forks, under negative reference numbers: the undo
// journal assembles and replays entries through them, and records can be compared by their bytes.
SInt16 OpenMemoryStream();
SInt16 OpenMemoryStreamOn(const void* data, SInt64 size);
const UInt8* MemoryStreamData(SInt16 stream, SInt64* size);
// A read-only stream over an open fork (which it closes when closed) that holds a window of
// windowBytes of it at a time: a large file is read in big pieces without a copy of it all.
SInt16 OpenForkReadStream(SInt16 fork, SInt32 windowBytes);
// The next count bytes of a memory stream, consumed, to decode in place; null (nothing consumed)
// when the stream is a fork or holds fewer bytes, so that the caller reads field by field instead.
const UInt8* StreamTakeSpan(SInt16 stream, SInt32 count);
void ResetMemoryStream(SInt16 stream); // empties it and rewinds
void CloseMemoryStream(SInt16 stream);
inline bool IsMemoryStream(SInt16 stream) {
    return stream < 0;
}

SInt64 StreamFileSize(SInt16 fork);
SInt64 StreamGetPos(SInt16 fork);
void StreamSetPos(SInt16 fork, SInt64 offset);
// Bytes between the position and the end of the fork (0 when it cannot be told).
SInt64 StreamBytesLeft(SInt16 fork);
OSErr StreamWriteBytes(SInt16 fork, const void* buffer, SInt32 count);
OSErr StreamReadBytes(SInt16 fork, void* buffer, SInt32 count);
// Errors the system reports only when data reaches the disk count as stream errors too.
OSErr StreamFlush(SInt16 fork);
OSErr StreamClose(SInt16 fork);

void StreamWriteLong(SInt16 fork, SInt32 value);
void StreamWriteShort(SInt16 fork, SInt16 value);
void StreamWriteBool16(SInt16 fork, Boolean value); // 0 for true, 255 for false
void StreamWriteBool8(SInt16 fork, Boolean value);
void StreamWriteByte(SInt16 fork, UInt8 value);
void StreamWriteChar16(SInt16 fork, UInt8 ch); // sign-extended to 16 bits
void StreamWriteRGB(SInt16 fork, const RGBColor& color);
void StreamWritePoint(SInt16 fork, Point pt);
void StreamWriteRect(SInt16 fork, const Rect& r);
// Writes capacity + 1 bytes from the string's length byte on (the length no more than capacity);
// the buffer must hold capacity + 1 bytes.
void StreamWritePString(SInt16 fork, ConstStringPtr s, UInt8 capacity);
void StreamWriteReal(SInt16 fork, Float64 value); // always as a big-endian double

// Readers: when *remaining is smaller than the value, nothing is read or consumed and the default
// comes back; otherwise the value is read and *remaining drops by its size.
SInt32 StreamReadLong(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
SInt16 StreamReadShort(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
Boolean StreamReadBool16(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
Boolean StreamReadBool8(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
UInt8 StreamReadByte(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
UInt8 StreamReadChar16(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
RGBColor StreamReadRGB(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
Point StreamReadPoint(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
Rect StreamReadRect(SInt16 fork, SInt32* remaining, SInt16 format = kRealDouble);
// Reads capacity + 1 bytes into dest (which must hold them) and clamps the length byte to capacity.
void StreamReadPString(SInt16 fork, StringPtr dest, UInt8 capacity, SInt32* remaining,
                       SInt16 format = kRealDouble);
// An unknown format code is refused: StreamError becomes paramErr and nothing is consumed.
Float64 StreamReadReal(SInt16 fork, SInt16 format, SInt32* remaining);

// A 10-byte big-endian extended real (sign and exponent word, 64-bit significand) as a double.
Float64 ExtendedToDouble(const UInt8 bytes[10]);
