// The stored form of every element kind: one writer and one reader per kind that turn a record
// into big-endian fields and back, shared by drawing files, the undo journal and symbol libraries.
// Readers apply the gates of older file versions and convert numbers stored by older machines.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;
struct ArcRecord;
struct TextRecord;
struct DimensionRecord;
struct PolylineRecord;
struct SymbolInstanceRecord;
struct AreaRecord;
struct SymbolDefRecord;

constexpr SInt16 kCurrentFileVersion = 0x701;
// Versions at which the stored pen block changed: its flag word is stored from the first, the whole
// block from the second.
constexpr SInt16 kPenFlagsVersion = 0x120;
constexpr SInt16 kPenBlockVersion = 0x211;

// Fixed bytes per stored record with 8-byte reals (variable data follows texts, dimensions,
// polylines and areas).
constexpr SInt32 kStoredLineSize = 64;
constexpr SInt32 kStoredArcSize = 70;
constexpr SInt32 kStoredTextSize = 180;
constexpr SInt32 kStoredDimensionSize = 190;
constexpr SInt32 kStoredInstanceSize = 120;
constexpr SInt32 kStoredPolylineSize = 78;
constexpr SInt32 kStoredAreaSize = 80;
constexpr SInt32 kStoredSymbolDefSize = 62;

// Writers write at the fork's position and return StreamError.
OSErr WriteLineRecord(SInt16 fork, const LineRecord* line);
OSErr WriteCircleRecord(SInt16 fork, const ArcRecord* arc);
OSErr WriteTextRecord(SInt16 fork, const TextRecord* text);
OSErr WriteDimensionRecord(SInt16 fork, const DimensionRecord* dimension);
OSErr WriteSymbolInstanceRecord(SInt16 fork, const SymbolInstanceRecord* instance);
OSErr WritePolylineRecord(SInt16 fork, const PolylineRecord* polyline);
OSErr WriteAreaRecord(SInt16 fork, const AreaRecord* area);
OSErr WriteSymbolDefRecord(SInt16 fork, const SymbolDefRecord* definition);

// Readers clear the record and fill it from the fork's position. The document gives the pen
// tables for records older than the pen block (it may be null; pens then take the defaults).
// They return false when the stored record is damaged (a count or size that cannot be right) or
// its data cannot be allocated; StreamError then tells which, and the record owns no handles.
Boolean ReadLineRecord(DocWindowRecord* doc, SInt16 fork, LineRecord* line, SInt16 realFormat,
                       SInt16 version);
Boolean ReadCircleRecord(DocWindowRecord* doc, SInt16 fork, ArcRecord* arc, SInt16 realFormat,
                         SInt16 version);
Boolean ReadTextRecord(DocWindowRecord* doc, SInt16 fork, TextRecord* text, SInt16 realFormat,
                       SInt16 version);
Boolean ReadDimensionRecord(DocWindowRecord* doc, SInt16 fork, DimensionRecord* dimension, SInt16 realFormat,
                            SInt16 version);
Boolean ReadSymbolInstanceRecord(SInt16 fork, SymbolInstanceRecord* instance, SInt16 realFormat,
                                 SInt16 version);
Boolean ReadPolylineRecord(DocWindowRecord* doc, SInt16 fork, PolylineRecord* polyline, SInt16 realFormat,
                           SInt16 version);
Boolean ReadAreaRecord(DocWindowRecord* doc, SInt16 fork, AreaRecord* area, SInt16 realFormat,
                       SInt16 version);
Boolean ReadSymbolDefRecord(SInt16 fork, SymbolDefRecord* definition, SInt16 realFormat, SInt16 version,
                            Boolean scaleStored);

// The formula variables in a drawing's data fork: a count (at most 50) and 256-byte slots.
OSErr WriteVariables(DocWindowRecord* doc, SInt16 fork);
void ReadVariables(DocWindowRecord* doc, SInt16 fork);

// A handle for point or picture data; false (after message 48) when the memory cannot be had.
Boolean NewHandleWithTempFallback(Handle* h, Size size);
void WriteShortField(SInt16 fork, SInt16 value);
SInt16 ReadShortField(SInt16 fork);
// The length byte and exactly that many characters.
void WriteCountedPString(SInt16 fork, ConstStringPtr s);

// Old texts (Mac Roman, or Mac Japanese when asked) as UTF-8 into a buffer of capacity bytes, cut
// only at a character boundary; returns the bytes written, or -1 when the bytes do not decode.
SInt32 ConvertOldTextToUtf8(const UInt8* bytes, SInt32 count, Boolean japanese, UInt8* out, SInt32 capacity);
// The fonts whose old texts are Mac Japanese.
Boolean IsJapaneseFontNumber(SInt16 font);
