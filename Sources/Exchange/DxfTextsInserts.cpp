// DXF texts (TEXT, MTEXT, ATTRIB, ATTDEF) into text elements, INSERT into symbol instances with the
// inserts nested in blocks, and DIMENSION into the program's own dimensions or an insert of the
// dimension's block.
#include "Exchange/DxfReaderContext.h"

#include "Files/Preferences.h"
#include "Model/Dimensions.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/Symbols.h"
#include "Model/SharedUtilities.h"
#include "Platform/MacRoman.h"
#include "Tools/TextElements.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr SInt32 kInsertDepthLimit = 49;
// Symbol instances one INSERT may place with all its nested inserts: a block that inserts itself
// twice would otherwise double them at every level.
constexpr SInt32 kInsertBudget = 20000;
constexpr size_t kAffixLength = 10;

Float64 X(const DXFReaderContext& ctx, SInt16 code) {
    return DxfReal(ctx, code);
}

// A DXF text decoded from the file's code page into UTF-8.
std::string DecodeText(DXFReaderContext& ctx, const std::string& raw) {
    return DecodeDXFText(ctx.pages, raw);
}

void TrimTrailingBlanks(std::string& s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
}

// The paragraphs of an MTEXT, its formatting codes interpreted.
std::vector<std::string> MTextParagraphs(DXFReaderContext& ctx, const std::string& raw) {
    std::vector<std::string> out;
    std::string text = DecodeDXFMText(ctx.pages, raw);
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string para = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        TrimTrailingBlanks(para);
        out.push_back(para);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

// The lines packed into texts of at most 255 bytes, lines joined by the line-break character; a line
// longer than that is cut between characters.
std::vector<std::string> PackLines(const std::vector<std::string>& lines, char lineBreak) {
    std::vector<std::string> texts;
    std::string current;
    bool has = false;
    auto flush = [&] {
        if (has) texts.push_back(current);
        current.clear();
        has = false;
    };
    for (std::string line : lines) {
        while (line.size() > 255) {
            size_t cut = 255;
            while (cut > 0 && (UInt8(line[cut]) & 0xC0) == 0x80)
                --cut;
            flush();
            texts.push_back(line.substr(0, cut));
            line.erase(0, cut);
        }
        if (has && current.size() + 1 + line.size() > 255) flush();
        if (has) current += lineBreak;
        current += line;
        has = true;
    }
    flush();
    return texts;
}

bool Same(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    return x1 == x2 && y1 == y2;
}

struct SavedTextSettings {
    Float64 height, angle, slant;
    SInt16 justification;
};

TextRecord* MakeText(DXFReaderContext& ctx, const std::string& text, Float64 x, Float64 y) {
    Str255 p;
    CopyUtf8(text, p, 255);
    return AddTextElement(ctx.doc, x, y, p, x, y, 0, false);
}

// Alignment 0..8 (rows top, middle, bottom) and anchor of a TEXT, ATTRIB or ATTDEF.
SInt16 TextAlignment(const DXFReaderContext& ctx, Float64* x, Float64* y) {
    SInt32 h = DxfInt(ctx, 72), v = DxfInt(ctx, 73);
    *x = X(ctx, 10), *y = X(ctx, 20);
    // The alignment point (code 11) places the text whenever an alignment is given.
    if (!((h > 0 || v >= 1) && DxfSeen(ctx, 11) && DxfSeen(ctx, 21))) return 6;
    SInt16 a = h == 0 ? 6 : h == 1 ? 7 : h == 2 ? 8 : (h >= 3 && h <= 5) ? 7 : 6;
    if (h >= 0 && h <= 2) {
        if (v == 2)
            a = SInt16(a - 3);
        else if (v == 3)
            a = SInt16(a - 6);
        else if (v != 0 && v != 1)
            a = 6;
    }
    if (h == 3 || h == 5)
        *x = (X(ctx, 10) + X(ctx, 11)) / 2, *y = (X(ctx, 20) + X(ctx, 21)) / 2;
    else
        *x = X(ctx, 11), *y = X(ctx, 21);
    return a;
}

} // namespace

TextRecord* ReadDXFText(DXFReaderContext& ctx, ConstStr255Param kind) {
    bool mtext = UpperEquals(kind, "MTEXT");
    ctx.keepChunks = mtext;
    bool whole = ReadDXFObject(ctx);
    ctx.keepChunks = false;
    if (!whole || ctx.nonFinite) return nullptr;
    DocWindowRecord* doc = ctx.doc;
    DocSettings* s = doc->settings;

    std::string raw;
    if (UpperEquals(kind, "TEXT") || mtext) {
        raw = PStrBytes(ctx.strings[0]);
    } else {
        SInt32 flags = DxfInt(ctx, 70);
        if (flags & 1) return nullptr; // an invisible attribute
        raw = (flags & 8) || !(flags & 2) ? PStrBytes(ctx.strings[0]) : PStrBytes(ctx.strings[2]);
    }

    Float64 x = 0, y = 0, angle = X(ctx, 50), spanX = 0, spanY = 0;
    SInt16 alignment = 6;
    std::vector<std::string> texts;
    if (mtext) {
        // The code-3 chunks come before the last piece in code 1; code 41 is the box's width, the
        // angle is in radians unless the direction (code 11) gives it.
        raw = ctx.chunks + raw;
        angle = DxfSeen(ctx, 11) ? DirectionDegrees(0, 0, X(ctx, 11), X(ctx, 21)) : angle / kDegreesToRadians;
        SInt32 attach = DxfInt(ctx, 71);
        alignment = attach >= 1 && attach <= 9 ? SInt16(attach - 1) : 0;
        x = X(ctx, 10), y = X(ctx, 20);
        char lineBreak = s->lineBreakChar != 0 ? char(s->lineBreakChar) : ' ';
        texts = PackLines(MTextParagraphs(ctx, raw), lineBreak);
    } else {
        std::string text = DecodeText(ctx, raw);
        TrimTrailingBlanks(text);
        if (!text.empty()) texts.push_back(text);
        alignment = TextAlignment(ctx, &x, &y);
        SInt32 h = DxfInt(ctx, 72);
        if ((h == 3 || h == 5) && DxfSeen(ctx, 11) && DxfSeen(ctx, 21) &&
            !Same(X(ctx, 10), X(ctx, 20), X(ctx, 11), X(ctx, 21))) {
            // Aligned or fit: the text runs from the first point to the second along their line.
            spanX = X(ctx, 11) - X(ctx, 10), spanY = X(ctx, 21) - X(ctx, 20);
            x = X(ctx, 10), y = X(ctx, 20), alignment = 6;
            angle = DirectionDegrees(0, 0, spanX, spanY);
        }
    }
    while (!texts.empty() && texts.back().empty())
        texts.pop_back();
    if (texts.empty()) return nullptr;

    SavedTextSettings saved{s->textHeight, TextAngleSetting(s), TextSlantSetting(s), s->textJustification};
    if (X(ctx, 40) > 0) s->textHeight = X(ctx, 40);
    TextAngleSetting(s) = NormalizeAngle(angle);
    TextSlantSetting(s) = mtext ? 0.0 : X(ctx, 51);
    s->textJustification = alignment;
    TextRecord* first = nullptr;
    // The pieces of a long text stand one below the other.
    Float64 a = TextAngleSetting(s) * kDegreesToRadians;
    Float64 downX = std::sin(a), downY = -std::cos(a);
    Float64 step = s->textHeight + TextLineSpacingSetting(s);
    for (const std::string& t : texts) {
        TextRecord* made = MakeText(ctx, t, x, y);
        if (!made) break;
        if (!first) first = made;
        Float64 width = std::hypot(made->corners[2] - made->corners[0], made->corners[3] - made->corners[1]);
        if ((spanX != 0 || spanY != 0) && width > 0) {
            // Filling the span: the drawing's texts have no width factor of their own, so a fit text
            // takes the height that gives its width, as an aligned one does.
            made->textHeight *= std::hypot(spanX, spanY) / width;
            LayoutTextElement(made, doc, made->text);
        }
        size_t lines =
            1 + (s->lineBreakChar != 0 ? size_t(std::count(t.begin(), t.end(), char(s->lineBreakChar))) : 0);
        x += downX * step * Float64(lines), y += downY * step * Float64(lines);
    }
    s->textHeight = saved.height;
    TextAngleSetting(s) = saved.angle;
    TextSlantSetting(s) = saved.slant;
    s->textJustification = saved.justification;
    return first;
}

void ReadDXFInsert(DXFReaderContext& ctx) {
    bool whole = ReadDXFObject(ctx);
    if (!whole || ctx.nonFinite) return;
    Float64 sx = X(ctx, 41) == 0 ? 1.0 : X(ctx, 41);
    Float64 sy = X(ctx, 42) == 0 ? sx : X(ctx, 42);
    ctx.insertBudget = kInsertBudget;
    InsertDXFBlock(ctx, PStrBytes(ctx.strings[1]), X(ctx, 10), X(ctx, 20), X(ctx, 50), sx, sy, 0);
}

void InsertDXFBlock(DXFReaderContext& ctx, const std::string& name, Float64 x, Float64 y, Float64 angle,
                    Float64 xScale, Float64 yScale, SInt32 depth) {
    if (depth > kInsertDepthLimit || ctx.insertBudget < 0) return;
    auto found = ctx.blockIndex.find(name);
    if (found == ctx.blockIndex.end()) return;
    const DxfBlock& block = ctx.blocks[found->second];
    SymbolDefRecord* def = block.definition;
    if (def && (def->lineHead->next || def->arcHead->next || def->textHead->next ||
                def->dimensionHead->next || def->polylineHead->next || def->areaHead->next)) {
        if (ctx.insertBudget == 0) {
            LogDxf(ctx, "DXF-in: INSERT of " + name + " stopped after " + std::to_string(kInsertBudget) +
                            " symbols");
            ctx.insertBudget = -1;
            return;
        }
        if (CreateSymbolInstance(ctx.doc, x, y, angle, xScale, yScale, def)) --ctx.insertBudget;
    }
    Float64 a = angle * kDegreesToRadians, c = std::cos(a), s = std::sin(a);
    for (const DxfNestedInsert& n : block.inserts) {
        if (ctx.insertBudget < 0) break;
        Float64 ox = n.x * xScale, oy = n.y * yScale;
        InsertDXFBlock(ctx, n.name, x + ox * c - oy * s, y + ox * s + oy * c, n.angle + angle,
                       n.xScale * xScale, n.yScale * yScale, depth + 1);
    }
}

namespace {

LineRecord LineOf(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    LineRecord l{};
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    return l;
}

ArcRecord CircleOf(Float64 cx, Float64 cy, Float64 r, Float64 start, Float64 end) {
    ArcRecord a{};
    a.cx = cx, a.cy = cy, a.radius = r, a.startAngle = start, a.endAngle = end;
    return a;
}

} // namespace

DimensionRecord* ReadDXFDimension(DXFReaderContext& ctx) {
    bool whole = ReadDXFObject(ctx);
    if (!whole || ctx.nonFinite) return nullptr;
    if (GeneralPrefs.importDimensions == 0) {
        ctx.insertBudget = kInsertBudget;
        InsertDXFBlock(ctx, PStrBytes(ctx.strings[1]), 0, 0, 0, 1, 1, 0);
        return nullptr;
    }
    DocWindowRecord* doc = ctx.doc;
    DocSettings* s = doc->settings;
    SInt32 type = DxfInt(ctx, 70) & 31;
    Float64 x10 = X(ctx, 10), y10 = X(ctx, 20), x11 = X(ctx, 11), y11 = X(ctx, 21);
    Float64 x13 = X(ctx, 13), y13 = X(ctx, 23), x14 = X(ctx, 14), y14 = X(ctx, 24);
    Float64 x15 = X(ctx, 15), y15 = X(ctx, 25), angle = NormalizeAngle(X(ctx, 50));

    Str11 savedPrefix, savedSuffix;
    std::memcpy(savedPrefix, s->dimPrefix, sizeof savedPrefix);
    std::memcpy(savedSuffix, s->dimSuffix, sizeof savedSuffix);
    s->dimPrefix[0] = s->dimSuffix[0] = 0;
    std::string text = DecodeText(ctx, PStrBytes(ctx.strings[0]));
    size_t measured = text.find("<>");
    Str255 given = {0};
    if (measured != std::string::npos) {
        // "<>" stands for the measured value: what is around it becomes prefix and suffix.
        Str255 p;
        CopyUtf8(text.substr(0, measured), p, kAffixLength);
        std::memcpy(s->dimPrefix, p, size_t(p[0]) + 1);
        CopyUtf8(text.substr(measured + 2), p, kAffixLength);
        std::memcpy(s->dimSuffix, p, size_t(p[0]) + 1);
    } else {
        CopyUtf8(text, given, 255);
    }

    DimensionRecord* made = nullptr;
    auto horizontal = [&] {
        return CreateHorizontalDimension(doc, x13, y13, x14, y14, x11, y10, given, nullptr, nullptr);
    };
    auto vertical = [&] {
        return CreateVerticalDimension(doc, x13, y13, x14, y14, x10, y11, given, nullptr, nullptr);
    };
    auto betweenLines = [&](const LineRecord& a, const LineRecord& b) -> DimensionRecord* {
        double ix = 0, iy = 0;
        if (!IntersectLines(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2, ix, iy)) return nullptr;
        return CreateLineAngleDimension(doc, &a, &b, nullptr, x11, y11, given, nullptr, nullptr);
    };
    switch (type) {
    case 0:
        if (angle == 0 || angle == 180) {
            if (x13 != x14)
                made = horizontal();
            else if (y13 != y14)
                made = vertical();
        } else if (angle == 90 || angle == 270) {
            if (y13 != y14)
                made = vertical();
            else if (x13 != x14)
                made = horizontal();
        } else if (!Same(x13, y13, x14, y14)) {
            Float64 a = angle * kDegreesToRadians;
            made = CreateAlignedDimension(doc, x13, y13, x14, y14, std::cos(a), std::sin(a), x11, y11, given,
                                          nullptr, nullptr);
        }
        break;
    case 1:
        OrderSegmentEnds(&x13, &y13, &x14, &y14);
        if (!Same(x13, y13, x14, y14))
            made = CreateAlignedDimension(doc, x13, y13, x14, y14, x14 - x13, y14 - y13, x11, y11, given,
                                          nullptr, nullptr);
        break;
    case 2:
        if (Same(x14, y14, x15, y15))
            made = betweenLines(LineOf(x14, y14, x10, y10), LineOf(x13, y13, x14, y14));
        else
            made = betweenLines(LineOf(x13, y13, x14, y14), LineOf(x10, y10, x15, y15));
        break;
    case 3: {
        Float64 cx = (x10 + x15) / 2, cy = (y10 + y15) / 2, r = PointDistance(cx, cy, x10, y10);
        ArcRecord circle = CircleOf(cx, cy, r, 0, 360);
        if (r > 0) made = CreateDiameterDimension(doc, &circle, x11, y11, given, nullptr, nullptr);
        break;
    }
    case 4: {
        Float64 r = PointDistance(x10, y10, x15, y15), dir = DirectionDegrees(x10, y10, x15, y15);
        ArcRecord circle = CircleOf(x10, y10, r, NormalizeAngle(dir - 5), NormalizeAngle(dir + 5));
        if (r > 0)
            made = CreateRadiusDimension(doc, &circle, (x10 + x15) / 2, (y10 + y15) / 2, given, nullptr,
                                         nullptr);
        break;
    }
    case 5:
        made = betweenLines(LineOf(x15, y15, x14, y14), LineOf(x15, y15, x13, y13));
        break;
    case 6: {
        LineRecord line = x13 == x14 ? LineOf(x10, y10, x10, y14) : LineOf(x10, y10, x14, y10);
        if (!Same(line.x1, line.y1, line.x2, line.y2))
            made = CreatePointLineDimension(doc, &line, x13, y13, given, nullptr, nullptr);
        break;
    }
    default:
        break;
    }
    std::memcpy(s->dimPrefix, savedPrefix, sizeof savedPrefix);
    std::memcpy(s->dimSuffix, savedSuffix, sizeof savedSuffix);
    return made;
}
