// The length-prefixed string library: copy, append, compare, search, cut and splice of strings
// whose byte 0 holds the length. Positions are 1-based; 0 means not found.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/PascalBytes.h"

#include <string>

// Checked operations: a broken size precondition stops the program with an assertion report.
void CopyPStr(StringPtr dest, UInt32 destSize, ConstStringPtr src);
void CopyChar(StringPtr dest, UInt32 destSize, unsigned char ch);
void AppendPStr(StringPtr dest, UInt32 destSize, ConstStringPtr src);
void AppendChar(StringPtr dest, UInt32 destSize, unsigned char ch);

void AssignStr255(StringPtr dest, ConstStringPtr src);
void CharToPStr(StringPtr dest, unsigned char ch);
Boolean EqualPStr(ConstStringPtr a, ConstStringPtr b);
SInt16 ComparePStr(ConstStringPtr a, ConstStringPtr b);
// The system's ordering of Mac Roman names: -1, 0 or 1. Without case sensitivity a letter equals its
// capital; without diacritic sensitivity an accented letter equals its base letter.
SInt16 RelString(ConstStringPtr a, ConstStringPtr b, Boolean caseSensitive, Boolean diacSensitive);
SInt16 PosChar(unsigned char ch, ConstStringPtr s);
SInt16 PosCharAlt(unsigned char ch, ConstStringPtr s);
SInt16 PosCharAltEntry(unsigned char ch, ConstStringPtr s);
SInt16 FindPStr(ConstStringPtr pattern, ConstStringPtr s);
SInt16 PosPStr(ConstStringPtr pattern, ConstStringPtr s);
void DeletePStr(StringPtr s, SInt32 index, SInt32 count);
void InsertPStr(ConstStringPtr src, StringPtr s, SInt32 index);
void InsertChar(unsigned char ch, StringPtr s, SInt32 index);
void PrivCopyStr(StringPtr dest, ConstStringPtr src, UInt8 maxLength, SInt32 index, SInt32 count);
void CopySubStr(StringPtr dest, ConstStringPtr src, SInt32 index, SInt32 count);
void CopySubStr19(StringPtr dest, ConstStringPtr src, SInt32 index, SInt32 count);

// Assignment into fixed capacities: the length becomes min(L(src), N); bytes behind are untouched.
void AssignStrN(StringPtr dest, ConstStringPtr src, UInt8 capacity);
inline void AssignStr3(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 3);
}
inline void AssignStr5(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 5);
}
inline void AssignStr6(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 6);
}
inline void AssignStr7(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 7);
}
inline void AssignStr8(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 8);
}
inline void AssignStr9(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 9);
}
inline void AssignStr10(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 10);
}
inline void AssignStr19(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 19);
}
inline void AssignStr20(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 20);
}
inline void AssignStr30(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 30);
}
inline void AssignStr31(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 31);
}
inline void AssignStr44(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 44);
}
inline void AssignStr63(StringPtr d, ConstStringPtr s) {
    AssignStrN(d, s, 63);
}

// Strings filled from outside data (files, the clipboard, preferences) go through this first, so a
// length byte can never claim more characters than the field holds.
void ClampPStrLength(StringPtr s, UInt8 capacity);

// Conveniences for our own code at the edges, the bytes unchanged in encoding; CStrToPStr,
// BytesToPStr and PStrBytes come with the platform layer's PascalBytes.h.
void AppendCStr(StringPtr dest, UInt32 destSize, const char* src);
