// Length-prefixed strings to and from C strings and byte strings.
#include "Platform/PascalBytes.h"

#include <cstring>

void CStrToPStr(StringPtr dest, UInt32 destSize, const char* src) {
    if (destSize == 0) return;
    size_t n = std::strlen(src);
    size_t room = destSize - 1 < 255 ? destSize - 1 : 255;
    if (n > room) n = room;
    std::memmove(dest + 1, src, n);
    dest[0] = UInt8(n);
}

void BytesToPStr(const std::string& bytes, Str255 out) {
    size_t n = bytes.size() < 255 ? bytes.size() : 255;
    std::memmove(out + 1, bytes.data(), n);
    out[0] = UInt8(n);
}

std::string PStrBytes(ConstStr255Param s) {
    return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string();
}
