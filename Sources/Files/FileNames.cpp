// Extensions, ".cadx" names, backup names and temporary save names.
#include "Files/FileNames.h"

#include "Platform/MacRoman.h"

#include <cstring>

namespace {

size_t CharacterCount(const std::string& utf8) {
    size_t n = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

} // namespace

std::string CutUtf8(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t n = maxBytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return text.substr(0, n);
}

std::string GetFileNameExtension(const std::string& name) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return std::string();
    return name.substr(dot + 1);
}

std::string GetUpperExtension(const std::string& name) {
    std::string e = GetFileNameExtension(name);
    for (char& c : e)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return e;
}

void GetFileNameExtension(ConstStr255Param name, Str255 extension) {
    std::memset(extension, 0, 256);
    std::string e = GetFileNameExtension(std::string(reinterpret_cast<const char*>(name + 1), name[0]));
    extension[0] = UInt8(e.size());
    std::memcpy(extension + 1, e.data(), e.size());
}

std::string CadxFileName(const std::string& name) {
    size_t dot = name.rfind('.');
    std::string stem = name;
    if (dot != std::string::npos && CharacterCount(name.substr(dot + 1)) <= 5) stem = name.substr(0, dot);
    return CutUtf8(stem, kMaxLeafBytes - 5) + ".cadx";
}

std::string BackupFileName(const std::string& name) {
    if (CharacterCount(name) <= 26) return name + ".BAK";
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return CutUtf8(name, kMaxLeafBytes - 4) + ".bak";
    return CutUtf8(name.substr(0, dot + 1), kMaxLeafBytes - 3) + "bak";
}

std::string TempSaveFileName(UInt32 ticks) {
    std::string name = "temp save file (" + std::to_string(ticks) + ")";
    return name.substr(0, 63);
}

void LeafNameOf(const FSRef* file, Str255 name) {
    const std::string path = file->path;
    const size_t slash = path.rfind('/');
    UTF8ToPStr(slash == std::string::npos ? path : path.substr(slash + 1), name, 255);
}
