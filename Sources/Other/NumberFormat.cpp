// Number and length formatting and parsing, locale-independent (numbers always in the C form), and
// the feet-inch literal rewriting that runs before formulas are parsed.
#include "Other/NumberFormat.h"

#include "Platform/AppResources.h"
#include "Other/MathPrimitives.h"
#include "Platform/NumberText.h"
#include "Other/ZEZUdivari.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string>
#include <vector>

namespace {

// Fractions of an inch finer than 1/256 mean nothing on a drawing; the setting comes from files.
constexpr UInt16 kMaxInchFractionBits = 8;
constexpr UInt16 kDefaultInchFractionBits = 6;
constexpr UInt16 kNoPosition = 65535;

std::string FixedText(double value, int digits) {
    // 309 integer digits, the point, the fraction and a sign fit.
    if (digits > 400) digits = 400;
    char buf[760];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, digits);
    if (r.ec != std::errc()) return std::string();
    return std::string(buf, r.ptr);
}

SInt32 StringToLong(ConstStringPtr s) {
    int i = 1;
    while (i <= s[0] && s[i] == ' ')
        ++i;
    Str255 rest;
    CopySubStr(rest, s, i, s[0] - i + 1);
    SInt32 value = 0;
    StringToNum(rest, &value);
    return value;
}

unsigned char LowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsNumberChar(unsigned char c) {
    return IsDigit(c) || c == '.' || c == ',';
}

} // namespace

void FormatReal(double value, UInt16 digits, StringPtr dest) {
    BytesToPStr(FixedText(value, digits), dest);
}

void FormatRealComma(double value, UInt16 digits, StringPtr dest) {
    FormatReal(value, digits, dest);
    for (int i = 1; i <= dest[0]; ++i) {
        if (dest[i] == '.') {
            dest[i] = ',';
            break;
        }
    }
}

void NumToPaddedStr(SInt32 number, SInt16 width, StringPtr dest) {
    std::string digits = std::to_string(number);
    // Padding stops at the string's capacity, so the digits themselves are never cut.
    size_t target = width > 255 ? 255 : width > 0 ? size_t(width) : 0;
    if (digits.size() < target) digits.insert(0, target - digits.size(), ' ');
    BytesToPStr(digits, dest);
}

SInt16 PStrToShort(ConstStringPtr s) {
    return SInt16(UInt16(UInt32(StringToLong(s)) & 0xFFFFu));
}

SInt32 PStrToLong(ConstStringPtr s) {
    return StringToLong(s);
}

double ParseReal(ConstStringPtr s) {
    int n = s[0];
    if (n == 0) return 0.0;
    std::string text(reinterpret_cast<const char*>(s + 1), size_t(n));
    for (char& c : text) {
        if (c == 'D' || c == 'd')
            c = 'e';
        else if (c == ',')
            c = '.';
    }
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double value = 0.0;
    auto r = std::from_chars(first, last, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond the range of doubles: infinity for a large exponent, zero for a small one.
        std::string_view read(first, size_t(r.ptr - first));
        size_t e = read.find_first_of("eE");
        bool tiny = e != std::string_view::npos && e + 1 < read.size() && read[e + 1] == '-';
        value = tiny ? 0.0 : HUGE_VAL;
    } else if (r.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

void LowerCasePStr(StringPtr s) {
    for (int i = 1; i <= s[0]; ++i)
        s[i] = LowerAscii(s[i]);
}

Boolean CharGreaterNoCase(unsigned char a, unsigned char b) {
    return SInt8(LowerAscii(a)) > SInt8(LowerAscii(b));
}

Boolean CharGreaterEqualNoCase(unsigned char a, unsigned char b) {
    return SInt8(LowerAscii(a)) >= SInt8(LowerAscii(b));
}

void PStrMid(ConstStringPtr s, SInt16 index, SInt16 count, StringPtr dest) {
    int length = s[0];
    if (count > 0 && index >= 1 && index <= length) {
        int n = count < length - index + 1 ? count : length - index + 1;
        CopySubStr(dest, s, index, n);
    } else {
        dest[0] = 0;
    }
}

Boolean PStrMidIsBlank(ConstStringPtr s, SInt16 index, SInt16 count, StringPtr dest) {
    PStrMid(s, index, count, dest);
    for (int i = 1; i <= dest[0]; ++i)
        if (dest[i] != ' ') return false;
    return true;
}

UInt32 PStrDigitsToNum(ConstStringPtr s, SInt16 index, SInt16 count) {
    int length = s[0];
    if (count < 1 || index < 1 || index > length) return 0;
    int last = count < length - index + 1 ? index + count - 1 : length;
    UInt32 value = 0;
    for (int i = index; i <= last; ++i)
        if (IsDigit(s[i])) value = value * 10u + UInt32(s[i] - '0');
    return value;
}

unsigned char DecimalSeparatorChar() {
    // The desktop's number format, read without touching the process locale (which stays "C" so
    // that files are written with points).
    static const unsigned char separator = [] {
        unsigned char sep = '.';
        locale_t loc = newlocale(LC_NUMERIC_MASK, "", locale_t(0));
        if (loc) {
            const char* radix = nl_langinfo_l(RADIXCHAR, loc);
            if (radix && radix[0] > ' ' && radix[0] < 0x7F && radix[1] == 0) sep = UInt8(radix[0]);
            freelocale(loc);
        }
        return sep;
    }();
    return separator;
}

void FormatByteSize(SInt32 size, StringPtr dest) {
    if (size <= 1023) {
        BytesToPStr(std::to_string(size) + "B", dest);
        return;
    }
    bool mega = size >= 1048576;
    long tenths = std::lround(double(size) / (mega ? 104857.6 : 102.4));
    std::string text = std::to_string(tenths);
    text.insert(text.size() - 1, 1, char(DecimalSeparatorChar()));
    BytesToPStr(text + (mega ? "MB" : "KB"), dest);
}

void GetAppString(SInt16 index, StringPtr dest) {
    GetIndString(dest, 5000, index);
}

void FormatFeetInches(UInt16 inchesOnly, UInt16* inchFractionBits, double millimetres, StringPtr dest) {
    std::memset(dest, 0, 256);
    // All counts stay doubles: a NaN or a huge length from a file never meets an integer conversion.
    double a = std::fabs(millimetres);
    double feet = 0;
    if (!inchesOnly) {
        double f = a / 304.8;
        if (f >= 1) {
            feet = TruncateTowardZero(f);
            a -= feet * 304.8;
        }
    }
    double inches = 0;
    bool inchShown = false;
    double i = a / 25.4;
    if (i >= 1) {
        inches = TruncateTowardZero(i);
        a -= inches * 25.4;
        inchShown = true;
    }

    if (*inchFractionBits == 0) *inchFractionBits = kDefaultInchFractionBits;
    UInt16 k = *inchFractionBits > kMaxInchFractionBits ? kMaxInchFractionBits : *inchFractionBits;
    double den = double(1u << k);
    double num = std::round(a / 25.4 * den);
    while (num > 0 && std::fmod(num, 2.0) == 0) {
        num /= 2;
        den /= 2;
    }
    bool fraction;
    if (num == den) {
        inches += 1;
        num = 0;
        // Twelve inches make a foot only where feet are shown at all.
        if (inches == 12 && !inchesOnly) {
            inches = 0;
            feet += 1;
            inchShown = false;
        } else {
            inchShown = true;
        }
        fraction = false;
    } else {
        fraction = true;
    }

    std::string text;
    if (feet > 0) text = FixedText(feet, 0) + "'";
    if (!(inches < 1 && (fraction || feet > 0))) {
        if (feet > 0) text += "-";
        text += FixedText(inches, 0);
    }
    if (num > 0) {
        if (inchShown) text += " ";
        text += FixedText(num, 0) + "/" + FixedText(den, 0);
    }
    // A length that rounds to nothing reads as zero inches rather than a lone inch mark.
    if (text.empty()) text = "0";
    if ((inchShown || fraction) && text.back() != '\'') text += "\"";
    if (millimetres < 0) text.insert(0, 1, '-');
    BytesToPStr(text, dest);
}

SInt16 RewriteFeetInchLiterals(const unsigned char* text, UInt16 length, unsigned char* dest,
                               UInt16* destLength, UInt16* errorPosition, UInt16* sourcePositions) {
    *destLength = 0;
    *errorPosition = kNoPosition;
    // t(i) is the 1-based character i; 0 outside the text.
    auto t = [&](int i) -> unsigned char { return (i >= 1 && i <= int(length)) ? text[i - 1] : 0; };
    auto numberStart = [&](int end) {
        int k = end;
        while (k >= 1 && IsNumberChar(t(k)))
            --k;
        return k + 1;
    };
    auto piece = [&](int from, int to) {
        return std::string(reinterpret_cast<const char*>(text) + from - 1, size_t(to - from + 1));
    };
    auto whole = [&](int from, int to) {
        for (int k = from; k <= to; ++k)
            if (!IsDigit(t(k))) return false;
        return true;
    };
    auto fail = [&](SInt16 code, int position) {
        *errorPosition = UInt16(position);
        return code;
    };

    struct Literal {
        int start, end;
        std::string replacement;
    };
    std::vector<Literal> literals; // found from the end, so in falling order

    int i = int(length);
    while (i >= 1) {
        unsigned char c = t(i);
        if (c != '"' && c != '\'') {
            --i;
            continue;
        }
        Literal lit{0, i, std::string()};
        std::string feetText, inchText, numText, denText;
        int footMark = 0;
        if (c == '"') {
            if (t(i - 1) == '/') return fail(kFeetInchNoDenominator, i);
            int k = numberStart(i - 1);
            if (k > i - 1) return fail(kFeetInchNoNumberBeforeInchMark, i);
            lit.start = k;
            if (t(k - 1) == '/') {
                if (!whole(k, i - 1)) return fail(kFeetInchFractionNotWhole, k);
                denText = piece(k, i - 1);
                if (std::strspn(denText.c_str(), "0") == denText.size())
                    return fail(kFeetInchZeroDenominator, k);
                int numEnd = k - 2;
                int numStart = numberStart(numEnd);
                if (numStart > numEnd) return fail(kFeetInchNoNumerator, k - 1);
                if (!whole(numStart, numEnd)) return fail(kFeetInchFractionNotWhole, numStart);
                numText = piece(numStart, numEnd);
                lit.start = numStart;
                // A whole number of inches may stand before the fraction, one or more blanks apart.
                int b = numStart - 1;
                while (t(b) == ' ')
                    --b;
                if (b < numStart - 1 && IsNumberChar(t(b))) {
                    int wholeStart = numberStart(b);
                    inchText = piece(wholeStart, b);
                    lit.start = wholeStart;
                }
            } else {
                inchText = piece(k, i - 1);
            }
            // Feet before the inches: 3'4", 3'-4" or 3' 4".
            int p = lit.start - 1;
            if (t(p) == '\'') {
                footMark = p;
            } else if (t(p) == '-' && t(p - 1) == '\'') {
                footMark = p - 1;
            } else if (t(p) == ' ') {
                while (t(p) == ' ')
                    --p;
                if (t(p) == '\'') footMark = p;
            }
        } else {
            if (IsNumberChar(t(i + 1))) return fail(kFeetInchNumberAfterFeetNeedsMark, i + 1);
            footMark = i;
        }
        if (footMark) {
            int feetStart = numberStart(footMark - 1);
            if (feetStart > footMark - 1) return fail(kFeetInchNoNumberBeforeFootMark, footMark);
            feetText = piece(feetStart, footMark - 1);
            lit.start = feetStart;
        }
        if (t(lit.start - 1) == '\'' || t(lit.start - 1) == '"')
            return fail(kFeetInchNoOperatorBefore, lit.start);

        std::string r = "(";
        if (!feetText.empty()) r += feetText + "*12";
        if (!inchText.empty()) r += (r.size() > 1 ? "+" : "") + inchText;
        if (!numText.empty()) r += (r.size() > 1 ? "+" : "") + numText + "/" + denText;
        lit.replacement = r + ")";
        literals.push_back(lit);
        i = lit.start - 1;
    }

    // Assemble forwards; every byte of a replacement stands for the literal's first character.
    UInt16 n = 0;
    auto put = [&](unsigned char ch, int source) {
        if (n >= 255) return false;
        dest[n] = ch;
        if (sourcePositions) sourcePositions[n + 1] = UInt16(source);
        ++n;
        return true;
    };
    int pos = 1;
    for (auto lit = literals.rbegin(); lit != literals.rend(); ++lit) {
        for (; pos < lit->start; ++pos)
            if (!put(t(pos), pos)) return fail(kFeetInchTextTooLong, pos);
        for (char ch : lit->replacement)
            if (!put(UInt8(ch), lit->start)) return fail(kFeetInchTextTooLong, lit->start);
        pos = lit->end + 1;
    }
    for (; pos <= int(length); ++pos)
        if (!put(t(pos), pos)) return fail(kFeetInchTextTooLong, pos);
    *destLength = n;
    return 0;
}
