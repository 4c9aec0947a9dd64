#include "Model/DimensionEditing.h"

#include "Model/Dimensions.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Other/MathPrimitives.h"
#include "Other/Alerts.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct XY {
    Float64 x, y;
};

std::vector<XY> PointsOf(const Float64* points, SInt16 count) {
    std::vector<XY> out;
    if (points == nullptr) return out;
    for (SInt16 i = 0; i < count; ++i)
        if (std::isfinite(points[2 * i]) && std::isfinite(points[2 * i + 1]))
            out.push_back({points[2 * i], points[2 * i + 1]});
    return out;
}

bool Unit(Float64* dx, Float64* dy) {
    Float64 n = std::hypot(*dx, *dy);
    if (!(n > 0) || !std::isfinite(n)) return false;
    *dx /= n, *dy /= n;
    return true;
}

Float64 Fold(Float64 a) {
    a = NormalizeAngle(a);
    if (a > 90 && a <= 270) a = NormalizeAngle(a - 180);
    return a;
}

// The text point the aligned creator gives for a dimension line through the position.
void AlignedTextPoint(const DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 ux,
                      Float64 uy, Float64 posX, Float64 posY, Float64* tx, Float64* ty) {
    Float64 a = Fold(DirectionDegrees(0, 0, ux, uy)) * kDegreesToRadians;
    Float64 c = std::cos(a), s = std::sin(a);
    Float64 along = ((x1 + x2) / 2 - posX) * c + ((y1 + y2) / 2 - posY) * s;
    Float64 lo = doc->settings->dimLineOffset;
    *tx = posX + along * c - s * lo;
    *ty = posY + along * s + c * lo;
}

// One linear dimension between the points along the unit direction: horizontal and vertical
// directions make those kinds.
DimensionRecord* Linear(DocWindowRecord* doc, XY a, XY b, Float64 ux, Float64 uy, Float64 posX,
                        Float64 posY) {
    if (std::fabs(uy) < 1e-10)
        return CreateHorizontalDimension(doc, a.x, a.y, b.x, b.y, posX, posY, nullptr, nullptr, nullptr);
    if (std::fabs(ux) < 1e-10)
        return CreateVerticalDimension(doc, a.x, a.y, b.x, b.y, posX, posY, nullptr, nullptr, nullptr);
    return CreateAlignedDimension(doc, a.x, a.y, b.x, b.y, ux, uy, posX, posY, nullptr, nullptr, nullptr);
}

// What rebuilds the same text: the typed text, or the parts round the measured number.
void SplitValueText(DocWindowRecord* doc, const DimensionRecord* m, Str255 override, Str255 prefix,
                    Str255 suffix) {
    override[0] = prefix[0] = suffix[0] = 0;
    if (m->flags & kDimTextOverride) {
        AssignStr255(override, m->text);
        return;
    }
    Str255 number;
    FormatDimensionNumber(doc, MeasureDimension(doc, m), m->kind, m->flags, m->decimals, number);
    SInt16 at = 0;
    if (number[0] > 0)
        for (SInt16 i = 1; i + number[0] - 1 <= m->text[0]; ++i)
            if (std::equal(number + 1, number + 1 + number[0], m->text + i)) at = i;
    if (at == 0) {
        AssignStr255(override, m->text);
        return;
    }
    CopySubStr(prefix, m->text, 1, at - 1);
    CopySubStr(suffix, m->text, at + number[0], m->text[0] - (at + number[0]) + 1);
}

} // namespace

Boolean FindDimensionByKey(DocWindowRecord* doc, SInt16 key) {
    if (doc == nullptr || doc->dimensionHead == nullptr) return false;
    for (DimensionRecord* d = doc->dimensionHead->next; d != nullptr; d = d->next)
        if (d->group == key) {
            doc->drawing->cursors.dimensionCursor = d;
            return true;
        }
    return false;
}

SInt16 CreateChainDimensions(DocWindowRecord* doc, char letter, const Float64* points, SInt16 count,
                             Float64 posX, Float64 posY, Float64 dx, Float64 dy) {
    Float64 ux = 1, uy = 0;
    if (letter == 'V') ux = 0, uy = 1;
    if (letter == 'P') {
        ux = dx, uy = dy;
        if (!Unit(&ux, &uy)) ux = 1, uy = 0;
    }
    std::vector<XY> p = PointsOf(points, count);
    auto along = [&](const XY& q) { return q.x * ux + q.y * uy; };
    std::stable_sort(p.begin(), p.end(), [&](const XY& a, const XY& b) { return along(a) < along(b); });
    SInt16 made = 0;
    for (size_t i = 1; i < p.size(); ++i) {
        if (!(along(p[i]) - along(p[i - 1]) > 0)) continue;
        if (Linear(doc, p[i - 1], p[i], ux, uy, posX, posY) != nullptr) ++made;
    }
    if (made == 0) ShowErrorStr128(kZeroDimensionMessage);
    return made;
}

SInt16 CreateBaselineDimensions(DocWindowRecord* doc, const LineRecord* base, const Float64* points,
                                SInt16 count, Float64 posX, Float64 posY) {
    if (base == nullptr) return 0;
    Float64 ux = base->x2 - base->x1, uy = base->y2 - base->y1;
    if (!Unit(&ux, &uy)) ux = 1, uy = 0;
    const XY start{base->x1, base->y1};
    auto along = [&](const XY& q) { return std::fabs((q.x - start.x) * ux + (q.y - start.y) * uy); };
    std::vector<XY> p = PointsOf(points, count);
    std::stable_sort(p.begin(), p.end(), [&](const XY& a, const XY& b) { return along(a) < along(b); });
    // Stacked away from the base line, on the side of the position.
    Float64 nx = -uy, ny = ux;
    if ((posX - start.x) * nx + (posY - start.y) * ny < 0) nx = -nx, ny = -ny;
    Float64 spacing = doc->settings->dimStackSpacing;
    if (!(spacing > 0) || !std::isfinite(spacing)) spacing = 2 * DimTextHeight(doc->settings);
    SInt16 made = 0;
    for (const XY& q : p) {
        if (!(along(q) > 0)) continue;
        if (Linear(doc, start, q, ux, uy, posX + made * spacing * nx, posY + made * spacing * ny) != nullptr)
            ++made;
    }
    if (made == 0) ShowErrorStr128(kZeroDimensionMessage);
    return made;
}

SInt16 CreatePointLineDimensions(DocWindowRecord* doc, const LineRecord* line, const Float64* points,
                                 SInt16 count) {
    SInt16 made = 0;
    for (const XY& q : PointsOf(points, count))
        if (CreatePointLineDimension(doc, line, q.x, q.y, nullptr, nullptr, nullptr) != nullptr) ++made;
    return made;
}

DimensionRecord* ChangeDimensionText(DocWindowRecord* doc, DimensionRecord* dimension, ConstStr255Param text,
                                     ConstStr255Param upperTolerance) {
    if (doc == nullptr || dimension == nullptr) return nullptr;
    DimensionRecord model = *dimension;
    Str255 none = {0};
    AssignStr255(model.upperTolerance, upperTolerance != nullptr ? upperTolerance : none);
    model.flags &= UInt16(~kDimTextOverride);
    Float64 tx, ty;
    DimensionTextPoint(doc->settings, dimension, &tx, &ty);
    // The text left as it was keeps what it was made with (a circle's sign after the prefix).
    Str255 override, prefix, suffix;
    if (text != nullptr && EqualPStr(text, dimension->text)) {
        SplitValueText(doc, dimension, override, prefix, suffix);
    } else {
        AssignStr255(override, text != nullptr ? text : none);
        AssignStr255(prefix, doc->settings->dimPrefix);
        AssignStr255(suffix, doc->settings->dimSuffix);
    }
    DimensionRecord* made = BuildDimension(doc, &model, tx, ty, override, prefix, suffix);
    if (made != nullptr) {
        InvalidateDimensionElement(dimension, doc);
        RemoveDimension(doc, dimension);
        RedrawDimension(made, doc);
    }
    return made;
}

DimensionRecord* MoveDimensionLine(DocWindowRecord* doc, DimensionRecord* dimension, Float64 x, Float64 y) {
    if (doc == nullptr || dimension == nullptr || !std::isfinite(x) || !std::isfinite(y)) return nullptr;
    DimensionRecord m = *dimension;
    Float64 lo = doc->settings->dimLineOffset, tx = x, ty = y;
    switch (m.kind) {
    case kDimHorizontal:
        tx = (m.x1 + m.x2) / 2, ty = y + lo;
        break;
    case kDimVertical:
        tx = x - lo, ty = (m.y1 + m.y2) / 2;
        break;
    case kDimAligned:
        AlignedTextPoint(doc, m.x1, m.y1, m.x2, m.y2, m.auxX, m.auxY, x, y, &tx, &ty);
        break;
    case kDimDiameter:
    case kDimRadius: {
        // The measured points turn round the centre toward the new position.
        Float64 dist = PointDistance(m.auxX, m.auxY, x, y);
        if (!(dist > 0)) {
            ShowErrorStr128(kPositionAtCentreMessage);
            return nullptr;
        }
        Float64 ux = (x - m.auxX) / dist, uy = (y - m.auxY) / dist, r = m.auxValue;
        if (m.kind == kDimDiameter) {
            m.x1 = m.auxX - r * ux, m.y1 = m.auxY - r * uy, m.x2 = m.auxX + r * ux, m.y2 = m.auxY + r * uy;
        } else {
            m.x1 = m.auxX + r * ux, m.y1 = m.auxY + r * uy;
            Float64 a = NormalizeAngle(std::atan2(uy, ux) * kRadiansToDegrees);
            if (a > 90 && a < 270) a -= 180;
            tx = x - std::sin(a * kDegreesToRadians) * lo, ty = y + std::cos(a * kDegreesToRadians) * lo;
        }
        break;
    }
    default:
        break;
    }
    Str255 override, prefix, suffix;
    SplitValueText(doc, dimension, override, prefix, suffix);
    DimensionRecord* made = BuildDimension(doc, &m, tx, ty, override, prefix, suffix);
    if (made != nullptr) {
        InvalidateDimensionElement(dimension, doc);
        RemoveDimension(doc, dimension);
        RedrawDimension(made, doc);
    }
    return made;
}
