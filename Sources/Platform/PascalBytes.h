// Length-prefixed strings to and from byte strings, unchanged in encoding.
#pragma once

#include "MacTypes.h"

#include <algorithm>
#include <cstring>
#include <string>

// Null gives the empty string.
inline std::string PStrBytes(ConstStr255Param s) {
    return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string();
}

// Cut at 255 bytes.
inline void BytesToPStr(const std::string& bytes, Str255 out) {
    size_t n = std::min<size_t>(bytes.size(), 255);
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(out + 1, bytes.data(), n);
}
