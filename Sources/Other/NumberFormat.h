// Numbers as the user sees and types them: fixed-point reals, padded integers, byte sizes, feet and
// inches, lenient real parsing, substring helpers, and the rewriting of feet-inch literals in formulas.
#pragma once

#include "Platform/MacTypes.h"

// All destinations are Str255 buffers; results are cut at 255 characters.
void FormatReal(double value, UInt16 digits, StringPtr dest);
void FormatRealComma(double value, UInt16 digits, StringPtr dest);
void NumToPaddedStr(SInt32 number, SInt16 width, StringPtr dest);

// Leading blanks skipped, then an optional sign and digits; no number gives 0.
SInt16 PStrToShort(ConstStringPtr s);
SInt32 PStrToLong(ConstStringPtr s);
// "D"/"d" read as the exponent letter and "," as the decimal point; empty or no number gives 0.
double ParseReal(ConstStringPtr s);

void LowerCasePStr(StringPtr s);
Boolean CharGreaterNoCase(unsigned char a, unsigned char b);
Boolean CharGreaterEqualNoCase(unsigned char a, unsigned char b);

// count characters from the 1-based index, clipped to the string; empty when nothing is in range.
void PStrMid(ConstStringPtr s, SInt16 index, SInt16 count, StringPtr dest);
Boolean PStrMidIsBlank(ConstStringPtr s, SInt16 index, SInt16 count, StringPtr dest);
// The digits of that range read left to right, other characters skipped; wraps without a check.
UInt32 PStrDigitsToNum(ConstStringPtr s, SInt16 index, SInt16 count);

// The user's decimal separator, "." when the desktop's is not a single plain character.
unsigned char DecimalSeparatorChar();
void FormatByteSize(SInt32 size, StringPtr dest);

// Item index of the general string list; empty when the item does not exist.
void GetAppString(SInt16 index, StringPtr dest);

// A length in millimetres as feet, inches and a fraction of 1/2^k inch, k = *inchFractionBits (the
// document setting: 0 is replaced by 6 and stored). inchesOnly non-zero keeps feet from being split off.
void FormatFeetInches(UInt16 inchesOnly, UInt16* inchFractionBits, double millimetres, StringPtr dest);

// Feet-inch literals in formula text (3'4", 3'-4 1/2", 5', 7/8") become arithmetic in inches:
// (3*12+4). Reads length bytes of text; writes at most 255 bytes to dest and their count to
// destLength. Returns 0 or an error 40 to 48 with its 1-based position in text (65535 when none).
// sourcePositions, when given (256 entries), receives for each written byte (1-based) the position
// in text it stands for, so that later errors can be shown in the user's own text.
enum : SInt16 {
    kFeetInchNoNumberBeforeInchMark = 40,
    kFeetInchNoNumberBeforeFootMark = 41,
    kFeetInchNoNumerator = 42,
    kFeetInchNoDenominator = 43,
    kFeetInchZeroDenominator = 44,
    kFeetInchFractionNotWhole = 45,
    kFeetInchNoOperatorBefore = 46,
    kFeetInchNumberAfterFeetNeedsMark = 47,
    kFeetInchTextTooLong = 48,
};
SInt16 RewriteFeetInchLiterals(const unsigned char* text, UInt16 length, unsigned char* dest,
                               UInt16* destLength, UInt16* errorPosition, UInt16* sourcePositions = nullptr);
