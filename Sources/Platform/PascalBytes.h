// Length-prefixed strings to and from C strings and byte strings, the bytes unchanged in encoding.
// The string library builds on these; the platform layer uses them on its own.
#pragma once

#include "Platform/MacTypes.h"

#include <string>

// Cut to the destination (and to 255 characters).
void CStrToPStr(StringPtr dest, UInt32 destSize, const char* src);
// Cut at 255 bytes.
void BytesToPStr(const std::string& bytes, Str255 out);
// Null gives the empty string.
std::string PStrBytes(ConstStr255Param s);
