// Mac Roman conversion by table: the lower half is ASCII, the upper half maps one to one onto
// Unicode (0xDB is the euro sign, 0xF0 the private-use Apple sign U+F8FF).
#include "Platform/MacRoman.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace {

constexpr char16_t kUpperHalf[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8, // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF, // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7, // F8
};

using ReverseEntry = std::pair<char16_t, UInt8>;

const std::array<ReverseEntry, 128>& ReverseTable() {
    static const std::array<ReverseEntry, 128> table = [] {
        std::array<ReverseEntry, 128> t{};
        for (int i = 0; i < 128; ++i)
            t[size_t(i)] = {kUpperHalf[i], UInt8(128 + i)};
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

void AppendUTF8(std::string& out, UInt32 cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; a broken one yields 0xFFFD and is skipped whole.
UInt32 NextCodePoint(std::string_view text, size_t& i) {
    auto byte = [&](size_t k) { return UInt8(text[k]); };
    UInt8 lead = byte(i++);
    if (lead < 0x80) return lead;
    int extra;
    UInt32 cp, minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return 0xFFFD;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (byte(i++) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
    return cp;
}

} // namespace

UniChar MacRomanToUnicode(UInt8 byte) {
    return byte < 128 ? UniChar(byte) : UniChar(kUpperHalf[byte - 128]);
}

UInt8 UnicodeToMacRoman(UInt32 codePoint) {
    if (codePoint < 128) return UInt8(codePoint);
    if (codePoint > 0xFFFF) return '?';
    const auto& table = ReverseTable();
    auto it = std::lower_bound(table.begin(), table.end(), ReverseEntry{char16_t(codePoint), 0});
    return (it != table.end() && it->first == codePoint) ? it->second : UInt8('?');
}

std::u16string MacRomanToUTF16(std::string_view macRoman) {
    std::u16string out;
    out.reserve(macRoman.size());
    for (char c : macRoman)
        out += char16_t(MacRomanToUnicode(UInt8(c)));
    return out;
}

std::string MacRomanToUTF8(std::string_view macRoman) {
    std::string out;
    out.reserve(macRoman.size());
    for (char c : macRoman)
        AppendUTF8(out, MacRomanToUnicode(UInt8(c)));
    return out;
}

std::string UTF16ToMacRoman(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        out += char(UnicodeToMacRoman((u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u));
    }
    return out;
}

std::string UTF8ToMacRoman(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        out += char(UnicodeToMacRoman(NextCodePoint(text, i)));
    return out;
}

std::string PStrToUTF8(ConstStringPtr s) {
    return MacRomanToUTF8(std::string_view(reinterpret_cast<const char*>(s + 1), s[0]));
}

void UTF8ToPStr(std::string_view text, StringPtr dest, UInt8 capacity) {
    std::string bytes = UTF8ToMacRoman(text);
    size_t n = std::min(bytes.size(), size_t(capacity));
    std::memcpy(dest + 1, bytes.data(), n);
    dest[0] = UInt8(n);
}
