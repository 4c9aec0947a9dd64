// Small services many parts share: the document log, the user's cancel request, unit names and the
// safe unit divisor, pen-width matching, string lists 128 and 5000, and the date and time strings.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

constexpr Size kDocumentLogLimit = 32000;
constexpr SInt16 kMessageList = 128;
constexpr SInt16 kUnitNameList = 900;

// Appends the line (cut to 255 characters) and a carriage return to the document's log, made empty on
// first use; dropped without a message when the log would reach 32000 bytes or memory is short.
void AppendLogLine(DocWindowRecord* doc, ConstStr255Param line);
void AppendLogCString(DocWindowRecord* doc, const char* line);

// Takes one pending key-down or auto-key event without waiting; true for Command-period.
Boolean UserCancelled();

// The unit's name: the custom name for code 11, else item code + 5 of list 900.
void UnitName(const DocWindowRecord* doc, StringPtr dest);
// What lengths are divided by to show them in the drawing unit: the unit's millimetre factor, or 1
// (millimetres) for the units whose factor is 0 or not a usable number, so no division stores an
// infinity or NaN. Multiply by UnitToMillimetres; divide by UnitDivisor.
Float64 UnitDivisor(const DocWindowRecord* doc);
Float64 UnitDivisorForFactor(Float64 factor);

Boolean MatchesAppString(ConstStr255Param s, SInt16 index);
void GetStr128(SInt16 index, StringPtr dest);

// The application's two font names, kept by the general preferences, which set them when they are
// read or changed; until then the names of the string resources 128 and 129. The numbers are 0 when
// no font has the name.
void SetAppFontNames(ConstStr255Param mainFont, ConstStr255Param smallFont);
SInt16 AppFontNumber();
SInt16 AppSmallFontNumber();

// Makes the pen whose width is nearest to width100 (hundredths of a millimetre) the current pen;
// the first of equally near pens wins.
void NearestPenWidth(DocWindowRecord* doc, SInt16 width100);

// Removes the resource of that type and id from an open resource file, or every resource of the
// type, and writes the file back.
void DeleteResource(SInt16 resourceFile, ResType type, SInt16 id);
void DeleteAllResources(SInt16 resourceFile, ResType type);

// The current date as day.month.year and time as hour.minute, without leading zeros (Str20 each).
void DateTimeStrings(StringPtr date, StringPtr time);
