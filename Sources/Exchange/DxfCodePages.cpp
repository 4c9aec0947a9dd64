// The DXF colour palette and code-page tables, read from the bundle texts, and the decoding of DXF
// strings with them.
#include "Exchange/DxfCodePages.h"

#include "Other/BundleFiles.h"
#include "Other/NumberFormat.h"
#include "Platform/MacRoman.h"
#include "Platform/PointerBlocks.h"

#include <cctype>
#include <cmath>
#include <cstring>
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

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

void DeleteChars(StringPtr s, int at, int count) { // at is 1-based
    int len = s[0];
    if (at < 1 || at > len) return;
    if (at + count - 1 > len) count = len - at + 1;
    std::memmove(s + at, s + at + count, static_cast<size_t>(len - (at + count - 1)));
    s[0] = static_cast<unsigned char>(len - count);
}

void InsertChar(StringPtr s, int at, unsigned char c) {
    int len = s[0];
    if (len >= 255) return;
    std::memmove(s + at + 1, s + at, static_cast<size_t>(len - at + 1));
    s[at] = c;
    s[0] = static_cast<unsigned char>(len + 1);
}

// The full-width forms some programs write for ASCII; others to Mac Roman, 0 when it has none.
unsigned char UnicodeEscapeChar(UInt32 cp) {
    if (cp >= 0xFF10 && cp <= 0xFF20) return static_cast<unsigned char>('0' + (cp - 0xFF10));
    if (cp >= 0xFF21 && cp <= 0xFF3A) return static_cast<unsigned char>('A' + (cp - 0xFF21));
    if (cp >= 0xFF41 && cp <= 0xFF5A) return static_cast<unsigned char>('a' + (cp - 0xFF41));
    if (cp == 0) return 0;
    UInt8 b = UnicodeToMacRoman(cp);
    if (b == '?' && cp != '?') return 0;
    return b;
}

unsigned char ReencodeHighChar(const DXFCodePages& pages, unsigned char c) {
    if (!pages.tables || c < 128) return c;
    UInt16 index = pages.index < kDXFCodePageCount ? pages.index : kDXFDefaultCodePage;
    const DXFCodePageEntry& e = (*pages.tables)[index][c];
    if (e.count == 0) return c;
    const DXFCodePageTable& mac = (*pages.tables)[kDXFMacRomanCodePage];
    for (int m = 128; m <= 255; ++m) {
        const DXFCodePageEntry& t = mac[m];
        if (t.count == e.count && t.first == e.first && (e.count != 2 || t.second == e.second))
            return static_cast<unsigned char>(m);
    }
    return c;
}

const UInt16 kCodePage437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
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
    for (const auto& n : kNames) {
        if (std::strlen(n.name) == len && std::memcmp(n.name, value + 1, len) == 0) {
            pages.index = n.index;
            return true;
        }
    }
    return false;
}

void DecodeDXFText(const DXFCodePages& pages, StringPtr s) {
    int len = s[0];
    if (len > 2 && s[1] == '\\' && s[2] == 'f') {
        for (int h = 3; h < len; ++h) {
            if (s[h] == '\\' && s[h + 1] == 'H') {
                for (int k = h + 2; k <= len; ++k) {
                    if (s[k] == ';') {
                        DeleteChars(s, 1, k);
                        break;
                    }
                }
                break;
            }
        }
    }
    int i = 1;
    while (i <= s[0]) {
        int left = s[0] - i + 1;
        if (left >= 7 && s[i] == '\\' && s[i + 1] == 'U' && s[i + 2] == '+') {
            UInt32 cp = 0;
            for (int k = 3; k < 7; ++k)
                cp = (cp << 4) | static_cast<UInt32>(HexValue(s[i + k]));
            DeleteChars(s, i, 7);
            unsigned char c = UnicodeEscapeChar(cp);
            if (c == 0) continue; // nothing to show: look at the same position again
            InsertChar(s, i, c);
            ++i; // already Mac Roman
            continue;
        }
        if (left >= 3 && s[i] == '%' && s[i + 1] == '%') {
            unsigned char code = s[i + 2];
            if (std::strchr("oOuUdDcCpP", code) && code) {
                DeleteChars(s, i, 3);
                continue;
            }
            if (code == '%') {
                DeleteChars(s, i, 2);
                ++i;
                continue;
            }
            if (left >= 5 && std::isdigit(s[i + 2]) && std::isdigit(s[i + 3]) && std::isdigit(s[i + 4])) {
                int n = (s[i + 2] - '0') * 100 + (s[i + 3] - '0') * 10 + (s[i + 4] - '0');
                DeleteChars(s, i, 5);
                if (n < 1 || n > 255) continue; // no character to stand for: the code goes
                InsertChar(s, i, static_cast<unsigned char>(n));
            } else {
                i += 2; // not a control code: kept as written
                continue;
            }
        }
        s[i] = ReencodeHighChar(pages, s[i]);
        ++i;
    }
}

UInt32 ExportCodePage(UInt32 preference) {
    return preference <= kDXFAnsi1252Preference ? preference : kDXFDefaultCodePage;
}

Boolean LoadExportCodePages(DXFExportTables& tables) {
    for (auto& t : tables)
        t.fill(0);
    std::vector<UInt32> values;
    if (!ReadCodePageRows(values)) return false;
    for (int row = 0; row < 128; ++row) {
        for (int t = 0; t < kDXFCodePageCount; ++t) {
            UInt32 v = values[static_cast<size_t>(row * 15 + 1 + t)];
            if (v >= 128 && v <= 255) tables[t][v - 128] = static_cast<UInt8>(128 + row);
        }
    }
    return true;
}

void DosToUtf8(StringPtr text) {
    Str255 out;
    int n = 0;
    for (int i = 1; i <= text[0]; ++i) {
        unsigned char b = text[i];
        unsigned char utf8[3];
        int count;
        if (b < 32) {
            utf8[0] = ' ';
            count = 1;
        } else if (b < 128) {
            utf8[0] = b;
            count = 1;
        } else {
            UInt16 cp = kCodePage437High[b - 128];
            if (cp < 0x800) {
                utf8[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
                utf8[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
                count = 2;
            } else {
                utf8[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
                utf8[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
                utf8[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
                count = 3;
            }
        }
        if (n + count > 255) break;
        std::memcpy(out + 1 + n, utf8, static_cast<size_t>(count));
        n += count;
    }
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(text, out, static_cast<size_t>(n) + 1);
}
