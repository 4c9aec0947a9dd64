// The buffered text-line reader over an open data fork: lines as length-prefixed strings whatever
// the file's line ends (CR, LF, CR LF, LF CR), characters and ";"-separated tokens.
// One reader exists at a time; its buffer and counts are module-wide.
#pragma once

#include "Platform/FileManager.h"
#include "Platform/MacTypes.h"

// Allocates a buffer of kilobytes x 1024 bytes and rewinds the fork. False when the buffer cannot
// be had or the fork cannot be read at all (BufferedReadResult tells which).
Boolean OpenBufferedFork(SInt32 kilobytes, FSIORefNum fork);
void CloseBufferedFork();

// True once every byte of the fork has been taken, or once a read has failed.
Boolean BufferedAtEOF();
SInt32 BufferedLineNumber();
// noErr, or the error of the read that ended reading early.
OSErr BufferedReadResult();

// At the end returns true and leaves ch alone; else delivers the next byte and returns true when it
// was the last one.
Boolean ReadBufferedChar(FSIORefNum fork, unsigned char* ch);
// Bytes up to a ";" (not stored), 255 bytes or the end; returns the end-of-file flag.
Boolean ReadBufferedToken(FSIORefNum fork, StringPtr dest);
Boolean IsLineEndChar(unsigned char c);

// The next line into dest, leading blanks dropped (kept by the Raw form), at most 255 characters: a
// longer line goes on in the next call. bytesUsed grows by the bytes taken. True while more text
// follows; false when the end of the file (or a read failure) came during this line.
Boolean ReadTextLine(FSIORefNum fork, StringPtr dest, SInt32* bytesUsed);
Boolean ReadTextLineRaw(FSIORefNum fork, StringPtr dest, SInt32* bytesUsed);
// True when the last line was cut at 255 characters and its rest comes with the next call.
Boolean BufferedLineContinues();
// The common case of ReadTextLine (dropLeadingBlanks) or ReadTextLineRaw in one call: a line that
// lies whole in the buffer, and whether the file goes on after it. none: nothing was taken, read the
// line with those.
enum class WholeLine : UInt8 { none, more, last };
WholeLine ReadWholeTextLine(StringPtr dest, SInt32* bytesUsed, Boolean dropLeadingBlanks);
