// The DXF colour palette and code-page tables, read from the bundle texts, and the decoding of DXF
// strings with them.
#include "Exchange/DxfCodePages.h"

#include "Other/BundleFiles.h"
#include "Other/NumberFormat.h"
#include "Platform/MacRoman.h"
#include "Platform/PointerBlocks.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace {

// The whole bundle text, or empty when it cannot be read.
std::vector<unsigned char> BundleBytes(SInt16 number) {
    Ptr text = nullptr;
    Size length = 0;
    std::vector<unsigned char> bytes;
    if (!ReadBundleText(number, &text, &length) || !text) return bytes;
    bytes.assign(reinterpret_cast<unsigned char*>(text), reinterpret_cast<unsigned char*>(text) + length);
    DisposePtr(text);
    return bytes;
}

// The 128 rows of 15 numbers of the code-page file, row by row; false when the file is short.
Boolean ReadCodePageRows(std::vector<UInt32>& values) {
    std::vector<unsigned char> bytes = BundleBytes(kDXFCodePageBundleText);
    if (bytes.empty()) return false;
    values.clear();
    values.reserve(128 * 15);
    size_t i = 0;
    while (i < bytes.size() && values.size() < 128 * 15) {
        auto digit = [](unsigned char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        if (digit(bytes[i]) < 0) {
            ++i;
            continue;
        }
        UInt32 v = 0;
        while (i < bytes.size() && digit(bytes[i]) >= 0) {
            v = ((v << 4) | static_cast<UInt32>(digit(bytes[i]))) & 0xFFFFFF;
            ++i;
        }
        values.push_back(v);
    }
    return values.size() == 128 * 15;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void AppendUtf8(std::string& out, UInt32 cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

constexpr UInt32 kBadSequence = 0xFFFFFFFF;

// The character at i, which moves past it; a broken sequence gives kBadSequence and one byte.
UInt32 NextUtf8(std::string_view s, size_t& i) {
    auto b = UInt8(s[i]);
    ++i;
    if (b < 0x80) return b;
    int more = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (more < 0 || i + size_t(more) > s.size()) return kBadSequence;
    --i;
    UInt32 cp = more == 1 ? (b & 0x1F) : more == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= more; ++k) {
        auto c = UInt8(s[i + size_t(k)]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return kBadSequence;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += size_t(more) + 1;
    return cp;
}

// The character a table entry stands for; 0 for none (the file's private marks of undefined bytes).
UInt32 TableCharacter(const DXFCodePageEntry& e) {
    if (e.count == 1) return MacRomanToUnicode(e.first);
    if (e.count != 2) return 0;
    UInt32 cp = (UInt32(e.first) << 8) | e.second;
    return cp >= 0xF000 && cp <= 0xF0FF ? 0 : cp;
}

// Bytes of a Windows code page through the system's converter, one open converter kept.
std::string SystemBytesToUtf8(const std::string& name, std::string_view bytes) {
    static std::string openName;
    static iconv_t converter = reinterpret_cast<iconv_t>(-1);
    if (openName != name) {
        if (converter != reinterpret_cast<iconv_t>(-1)) iconv_close(converter);
        converter = iconv_open("UTF-8", name.c_str());
        openName = name;
    }
    std::string out;
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        for (char c : bytes)
            out += UInt8(c) < 0x80 ? c : '?';
        return out;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::string in(bytes);
    char* from = in.data();
    size_t left = in.size();
    char buffer[1024];
    while (left > 0) {
        char* to = buffer;
        size_t room = sizeof buffer;
        size_t r = iconv(converter, &from, &left, &to, &room);
        out.append(buffer, size_t(to - buffer));
        if (r == size_t(-1) && errno != E2BIG) {
            // A byte without a character, or a sequence cut off at the end.
            out += '?';
            ++from, --left;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

// The code pages of the "\M+n" escapes by n.
const char* const kMultibytePages[] = {nullptr, "CP932", "BIG5", "CP949", "JOHAB", "GBK"};

bool IsHex4(std::string_view s, size_t at) {
    if (at + 4 > s.size()) return false;
    for (size_t k = 0; k < 4; ++k)
        if (HexValue(s[at + k]) < 0) return false;
    return true;
}

UInt32 Hex4(std::string_view s, size_t at) {
    UInt32 v = 0;
    for (size_t k = 0; k < 4; ++k)
        v = (v << 4) | UInt32(HexValue(s[at + k]));
    return v;
}

// "\U+XXXX" (a pair of them for a character beyond the first 65536) or "\M+nXXXX" at i: appends
// the character and moves i past the escape; false when no escape stands there.
bool TakeEscape(std::string_view s, size_t& i, std::string& out) {
    if (i + 2 >= s.size() || s[i] != '\\' || s[i + 2] != '+') return false;
    if (s[i + 1] == 'U' && IsHex4(s, i + 3)) {
        UInt32 cp = Hex4(s, i + 3);
        i += 7;
        if (cp >= 0xD800 && cp <= 0xDBFF && s.substr(i, 3) == "\\U+" && IsHex4(s, i + 3)) {
            UInt32 low = Hex4(s, i + 3);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 7;
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        // The full-width forms some programs write for ASCII.
        if (cp >= 0xFF10 && cp <= 0xFF20)
            out += char('0' + (cp - 0xFF10));
        else if (cp >= 0xFF21 && cp <= 0xFF3A)
            out += char('A' + (cp - 0xFF21));
        else if (cp >= 0xFF41 && cp <= 0xFF5A)
            out += char('a' + (cp - 0xFF41));
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            out += '?';
        else if (cp != 0)
            AppendUtf8(out, cp);
        return true;
    }
    if (s[i + 1] == 'M' && i + 3 < s.size() && s[i + 3] >= '1' && s[i + 3] <= '5' && IsHex4(s, i + 4)) {
        UInt32 v = Hex4(s, i + 4);
        const char twoBytes[2] = {char(v >> 8), char(v & 0xFF)};
        out += SystemBytesToUtf8(kMultibytePages[s[i + 3] - '0'], std::string_view(twoBytes, 2));
        i += 8;
        return true;
    }
    return false;
}

// "%%" control codes at i; false when none stands there (the "%%" is then kept as written).
bool TakeControlCode(const DXFCodePages& pages, std::string_view s, size_t& i, std::string& out) {
    if (i + 2 >= s.size() || s[i] != '%' || s[i + 1] != '%') return false;
    char code = s[i + 2];
    switch (code) {
    case 'o':
    case 'O':
    case 'u':
    case 'U': // over- and underline switches
        i += 3;
        return true;
    case 'd':
    case 'D':
        out += "\xC2\xB0"; // degree sign
        i += 3;
        return true;
    case 'p':
    case 'P':
        out += "\xC2\xB1"; // plus-minus
        i += 3;
        return true;
    case 'c':
    case 'C':
        out += "\xC3\x98"; // diameter
        i += 3;
        return true;
    case '%':
        out += '%';
        i += 3;
        return true;
    default:
        break;
    }
    if (i + 4 < s.size() && std::isdigit(UInt8(s[i + 2])) && std::isdigit(UInt8(s[i + 3])) &&
        std::isdigit(UInt8(s[i + 4]))) {
        int n = (s[i + 2] - '0') * 100 + (s[i + 3] - '0') * 10 + (s[i + 4] - '0');
        i += 5;
        if (n >= 1 && n <= 255) { // a byte of the file's code page
            const char byte = char(n);
            out += DXFBytesToUtf8(pages, std::string_view(&byte, 1));
        }
        return true;
    }
    return false;
}

// The value of an MTEXT formatting code up to its ";" (or the end), i past it.
std::string_view CodeValue(std::string_view s, size_t& i) {
    size_t end = s.find(';', i);
    std::string_view v = s.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
    i = end == std::string_view::npos ? s.size() : end + 1;
    return v;
}

// 1252's bytes 128 to 159; the rest of its upper half is Latin-1.
const UInt16 kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

Boolean LoadACIPalette(RGBColor palette[256]) {
    std::vector<unsigned char> bytes = BundleBytes(kDXFPaletteBundleText);
    if (bytes.empty()) return false;
    size_t i = 0;
    auto nextNumber = [&](double* value) -> bool {
        while (i < bytes.size() && !((bytes[i] >= '0' && bytes[i] <= '9') || bytes[i] == '.'))
            ++i;
        if (i >= bytes.size()) return false;
        Str255 run;
        run[0] = 0;
        while (i < bytes.size() && ((bytes[i] >= '0' && bytes[i] <= '9') || bytes[i] == '.')) {
            if (run[0] < 255) run[++run[0]] = bytes[i];
            ++i;
        }
        *value = ParseReal(run);
        return true;
    };
    for (int n = 1; n <= 255; ++n) {
        double number, rgb[3];
        if (!nextNumber(&number) || !nextNumber(&rgb[0]) || !nextNumber(&rgb[1]) || !nextNumber(&rgb[2]))
            return false;
        UInt16 c[3];
        for (int k = 0; k < 3; ++k) {
            double v = std::round(rgb[k] * 255.0);
            if (!(v >= 0.0)) v = 0.0;
            if (v > 255.0) v = 255.0;
            c[k] = static_cast<UInt16>(static_cast<UInt16>(v) * 257);
        }
        if (c[0] == 65535 && c[1] == 65535 && c[2] == 65535) c[0] = c[1] = c[2] = 0;
        palette[n] = RGBColor{c[0], c[1], c[2]};
    }
    return true;
}

UInt16 ImportCodePageIndex(UInt32 preference) {
    UInt32 low = preference & 0xFFFF;
    if (low < static_cast<UInt32>(kDXFCodePageCount)) return static_cast<UInt16>(low);
    if (low == kDXFAnsi1252Preference) return 11;
    return kDXFDefaultCodePage;
}

Boolean LoadCodePageTables(DXFCodePages& pages, UInt32 preference) {
    pages.index = ImportCodePageIndex(preference);
    pages.tables.reset();
    std::vector<UInt32> values;
    if (!ReadCodePageRows(values)) return false;
    auto tables = std::make_unique<std::array<DXFCodePageTable, kDXFCodePageCount>>();
    for (auto& t : *tables)
        t.fill(DXFCodePageEntry{0, 0, 0});
    for (int row = 0; row < 128; ++row) {
        for (int t = 0; t < kDXFCodePageCount; ++t) {
            UInt32 v = values[static_cast<size_t>(row * 15 + 1 + t)];
            DXFCodePageEntry& e = (*tables)[t][128 + row];
            if (v == 0) continue;
            if (v <= 255) {
                e = DXFCodePageEntry{1, static_cast<UInt8>(v), 0};
            } else {
                e = DXFCodePageEntry{2, static_cast<UInt8>((v >> 8) & 0xFF), static_cast<UInt8>(v & 0xFF)};
            }
        }
    }
    pages.tables = std::move(tables);
    return true;
}

void DisposeCodePageTables(DXFCodePages& pages) {
    pages.tables.reset();
}

Boolean SelectDXFCodePage(DXFCodePages& pages, ConstStringPtr value) {
    static const struct {
        const char* name;
        UInt16 index;
    } kNames[] = {
        {"dos437", 0},     {"dos850", 1}, {"dos852", 2},     {"dos855", 3}, {"dos857", 4},     {"dos860", 5},
        {"dos861", 6},     {"dos863", 7}, {"dos864", 8},     {"dos865", 9}, {"dos869", 10},    {"iso-1", 11},
        {"iso8859-1", 11}, {"iso-2", 12}, {"iso8859-2", 12}, {"mac", 13},   {"mac-roman", 13},
    };
    size_t len = value ? value[0] : 0;
    std::string name(reinterpret_cast<const char*>(value ? value + 1 : value), len);
    for (const auto& n : kNames) {
        if (name == n.name) {
            pages.index = n.index;
            pages.system.clear();
            return true;
        }
    }
    static const char* const kWindowsPages[] = {"874",  "932",  "936",  "949",  "950",  "1250", "1251",
                                                "1252", "1253", "1254", "1255", "1256", "1257", "1258"};
    std::string upper = name;
    for (char& c : upper)
        c = char(std::toupper(UInt8(c)));
    for (const char* number : kWindowsPages) {
        if (upper == std::string("ANSI_") + number) {
            pages.system = std::string(number) == "936"   ? "GBK"
                           : std::string(number) == "950" ? "BIG5"
                                                          : std::string("CP") + number;
            return true;
        }
    }
    return false;
}

std::string DXFBytesToUtf8(const DXFCodePages& pages, std::string_view bytes) {
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && UInt8(c) < 0x80;
    if (ascii) return std::string(bytes);
    std::string out;
    if (pages.utf8) {
        for (size_t i = 0; i < bytes.size();) {
            UInt32 cp = NextUtf8(bytes, i);
            if (cp == kBadSequence)
                out += '?';
            else
                AppendUtf8(out, cp);
        }
        return out;
    }
    if (!pages.system.empty()) return SystemBytesToUtf8(pages.system, bytes);
    UInt16 index = pages.index < kDXFCodePageCount ? pages.index : kDXFDefaultCodePage;
    for (char c : bytes) {
        auto b = UInt8(c);
        UInt32 cp = b < 0x80 ? b : pages.tables ? TableCharacter((*pages.tables)[index][b]) : 0;
        if (cp == 0)
            out += '?';
        else
            AppendUtf8(out, cp);
    }
    return out;
}

std::string DecodeDXFName(const DXFCodePages& pages, std::string_view bytes) {
    bool plain = true;
    for (char c : bytes)
        plain = plain && UInt8(c) >= 32 && UInt8(c) < 0x80 && c != '\\';
    std::string out;
    if (plain) {
        out = std::string(bytes);
    } else {
        std::string text = DXFBytesToUtf8(pages, bytes);
        for (size_t i = 0; i < text.size();) {
            if (TakeEscape(text, i, out)) continue;
            char c = text[i++];
            out += UInt8(c) < 32 ? ' ' : c;
        }
    }
    if (out.size() > 255) {
        size_t cut = 255;
        while (cut > 0 && (UInt8(out[cut]) & 0xC0) == 0x80)
            --cut;
        out.resize(cut);
    }
    return out;
}

std::string DecodeDXFText(const DXFCodePages& pages, std::string_view bytes) {
    std::string text = DXFBytesToUtf8(pages, bytes);
    // A leading font and height run of a single-line text.
    if (text.size() > 2 && text[0] == '\\' && text[1] == 'f') {
        size_t h = text.find("\\H", 2);
        size_t semicolon = h == std::string::npos ? h : text.find(';', h + 2);
        if (semicolon != std::string::npos) text.erase(0, semicolon + 1);
    }
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (TakeEscape(text, i, out) || TakeControlCode(pages, text, i, out)) continue;
        if (text.compare(i, 2, "%%") == 0) {
            out += "%%";
            i += 2;
            continue;
        }
        out += text[i++];
    }
    return out;
}

std::string DecodeDXFMText(const DXFCodePages& pages, std::string_view bytes) {
    std::string text = DXFBytesToUtf8(pages, bytes), out;
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c == '%') {
            if (TakeControlCode(pages, text, i, out)) continue;
            out += c, ++i;
            continue;
        }
        if (c != '\\' || i + 1 >= text.size()) {
            out += c, ++i;
            continue;
        }
        if (TakeEscape(text, i, out)) continue;
        char code = text[i + 1];
        i += 2;
        switch (code) {
        case 'P':
        case 'N':
        case 'X':
            out += '\n';
            break;
        case '~':
            out += ' ';
            break;
        case '\\':
        case '{':
        case '}':
            out += code;
            break;
        case 'L':
        case 'l':
        case 'O':
        case 'o':
        case 'K':
        case 'k':
            break; // line switches
        case 'S': {
            // A stacked fraction, tolerance or ratio: shown as a/b.
            std::string_view v = CodeValue(text, i);
            size_t split = v.find_first_of("^/#");
            std::string stacked(v);
            if (split != std::string_view::npos) {
                std::string top(v.substr(0, split)), bottom(v.substr(split + 1));
                while (!bottom.empty() && bottom.front() == ' ')
                    bottom.erase(0, 1);
                stacked = top + "/" + bottom;
            }
            out += stacked;
            break;
        }
        case 'A':
        case 'f':
        case 'F':
        case 'H':
        case 'W':
        case 'C':
        case 'c':
        case 'Q':
        case 'T':
        case 'p':
            CodeValue(text, i); // formatting that the element does not keep
            break;
        default:
            out += code;
            break;
        }
    }
    return out;
}

std::string DXFUtf8ToLogBytes(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        UInt32 cp = NextUtf8(utf8, i);
        UInt8 byte = cp == kBadSequence ? UInt8('?') : UnicodeToMacRoman(cp);
        if (byte == '?' && cp != '?' && cp != kBadSequence) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\U+%04X", unsigned(cp));
            out += escape;
        } else {
            out += char(byte);
        }
    }
    return out;
}

UInt32 ExportCodePage(UInt32 preference) {
    return preference <= kDXFAnsi1252Preference ? preference : kDXFDefaultCodePage;
}

Boolean LoadDXFTextEncoder(DXFTextEncoder& encoder, SInt32 page) {
    encoder.page = -1;
    encoder.high.fill(0);
    if (page == SInt32(kDXFAnsi1252Preference)) {
        for (int b = 0; b < 128; ++b)
            encoder.high[size_t(b)] = b < 32 ? kWindows1252High[b] : UInt32(128 + b);
        encoder.page = page;
        return true;
    }
    if (page < 0 || page >= kDXFCodePageCount) return page < 0;
    DXFCodePages pages;
    if (!LoadCodePageTables(pages, 0) || !pages.tables) return false;
    for (int b = 0; b < 128; ++b)
        encoder.high[size_t(b)] = TableCharacter((*pages.tables)[size_t(page)][size_t(128 + b)]);
    encoder.page = page;
    return true;
}

std::string EncodeDXFText(std::string_view utf8, const DXFTextEncoder& encoder) {
    std::string out, piece;
    for (size_t i = 0; i < utf8.size();) {
        UInt32 cp = NextUtf8(utf8, i);
        piece.clear();
        if (cp == '%') {
            piece = "%%%";
        } else if (cp == kBadSequence || cp < 32 || cp == 127) {
            piece = "?";
        } else if (cp < 128) {
            piece = char(cp);
        } else {
            for (size_t b = 0; b < 128 && piece.empty() && encoder.page >= 0; ++b)
                if (encoder.high[b] == cp) piece = char(128 + b);
            if (piece.empty()) {
                char escape[24];
                if (cp < 0x10000) {
                    std::snprintf(escape, sizeof escape, "\\U+%04X", unsigned(cp));
                } else {
                    UInt32 v = cp - 0x10000;
                    std::snprintf(escape, sizeof escape, "\\U+%04X\\U+%04X", unsigned(0xD800 + (v >> 10)),
                                  unsigned(0xDC00 + (v & 0x3FF)));
                }
                piece = escape;
            }
        }
        if (out.size() + piece.size() > 255) break;
        out += piece;
    }
    return out;
}
