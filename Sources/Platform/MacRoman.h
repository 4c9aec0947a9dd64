// Mac Roman, the system encoding of the program's strings, to and from Unicode (UTF-16 and UTF-8).
// Every byte has a character; characters Mac Roman lacks become "?".
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <string_view>

UniChar MacRomanToUnicode(UInt8 byte);
UInt8 UnicodeToMacRoman(UInt32 codePoint);

std::u16string MacRomanToUTF16(std::string_view macRoman);
std::string MacRomanToUTF8(std::string_view macRoman);
// A surrogate pair or a character outside Mac Roman gives one "?"; so does each broken UTF-8 sequence.
std::string UTF16ToMacRoman(std::u16string_view text);
std::string UTF8ToMacRoman(std::string_view text);

// Length-prefixed strings: the converted text is cut at capacity characters.
std::string PStrToUTF8(ConstStringPtr s);
void UTF8ToPStr(std::string_view text, StringPtr dest, UInt8 capacity);
