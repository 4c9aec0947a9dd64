// Dimensions: the value text, the text placement, the creation routine, the per-kind creators and
// the rebuild with new settings.
#include "Model/Dimensions.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Model/DrawingUnits.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"
#include "Platform/TextMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr Float64 kPointsPerMillimetre = 2.8346;
constexpr Float64 kMillimetresPerPointWidth = 0.35277777;
constexpr Float64 kMillimetresPerPointAscent = 0.352777;
constexpr Float64 kToleranceSize = 0.6;
constexpr Float64 kFallbackTextHeight = 3.5;

const UInt8 kDegreeSign[] = {0xC2, 0xB0};
const UInt8 kPlusMinusSign[] = {0xC2, 0xB1};
const UInt8 kMergedToleranceMark[] = {0xF1};
constexpr int kStoredToleranceLength = 9; // characters a drawing file keeps of a tolerance

void AppendBytes(StringPtr dest, const UInt8* bytes, size_t count) {
    size_t room = 255 - dest[0];
    count = std::min(count, room);
    std::memcpy(dest + 1 + dest[0], bytes, count);
    dest[0] = UInt8(dest[0] + count);
}

void AppendP(StringPtr dest, ConstStr255Param src) {
    if (src) AppendBytes(dest, src + 1, src[0]);
}

void CopyP(StringPtr dest, ConstStr255Param src) {
    dest[0] = 0;
    AppendP(dest, src);
}

bool Empty(ConstStr255Param s) {
    return s == nullptr || s[0] == 0;
}

Float64 Finite(Float64 v) {
    return std::isfinite(v) ? v : 0.0;
}

// Trailing zeros after the point, then a bare point.
void CutZeros(StringPtr text) {
    bool point = false;
    for (int i = 1; i <= text[0]; ++i)
        point = point || text[i] == '.';
    if (!point) return;
    while (text[0] > 0 && text[text[0]] == '0')
        --text[0];
    if (text[0] > 0 && text[text[0]] == '.') --text[0];
}

// Width (mm) of the text at the point size, as laid out for dimensions.
Float64 TextWidthAt(SInt16 font, Float64 points, ConstStr255Param text) {
    if (points <= 0 || Empty(text)) return 0;
    return MeasureTextUTF8(font, 0, points, reinterpret_cast<const char*>(text + 1), text[0]);
}

// The angle of a text along a line of the given direction (degrees), folded to read upright.
Float64 FoldAngle(Float64 a) {
    a = NormalizeAngle(a);
    if (a > 90 && a <= 270) a = NormalizeAngle(a - 180);
    return a;
}

void OrderByX(DimensionRecord* d) {
    // Points one above the other go upward, so that a text along them reads upward too.
    if (d->x1 > d->x2 || (d->x1 == d->x2 && d->y1 > d->y2)) {
        std::swap(d->x1, d->x2);
        std::swap(d->y1, d->y2);
    }
}

// The offset of a kind-5 text from the arc when it is turned over: a chord of half width h at
// distance d moves out by d - sqrt(d^2 - h^2); a text wider than the arc moves out by d.
Float64 TurnedTextShift(Float64 d, Float64 h) {
    return d - std::sqrt(std::max(0.0, d * d - h * h));
}

Float64 FrameHeight(const DimensionRecord* d) {
    return std::hypot(d->frame[4] - d->textX, d->frame[5] - d->textY);
}

Float64 FrameWidth(const DimensionRecord* d) {
    return std::hypot(d->frame[0] - d->textX, d->frame[1] - d->textY);
}

void SetFrame(DimensionRecord* d, Float64 angle, Float64 width, Float64 height) {
    if (!std::isfinite(angle)) angle = 0;
    Float64 s = std::sin(angle * kDegreesToRadians), c = std::cos(angle * kDegreesToRadians);
    const Float64 v[3][2] = {{width, 0}, {width, height}, {0, height}};
    for (int i = 0; i < 3; ++i) {
        Float64 x = v[i][0], y = v[i][1];
        RotateVectorInPlace(&x, &y, s, c);
        d->frame[2 * i] = d->textX + x;
        d->frame[2 * i + 1] = d->textY + y;
    }
}

// Kind 5: the text point's angle from the vertex, whether the text is turned over, and the text angle.
struct AngularText {
    Float64 t; // radians, [0, 2 pi)
    bool turned;
    Float64 angle; // degrees
};
AngularText AngularTextFor(Float64 vx, Float64 vy, Float64 tx, Float64 ty) {
    AngularText a;
    a.t = Atan2Positive(ty - vy, tx - vx);
    a.turned = a.t >= M_PI;
    a.angle = NormalizeAngle((a.t + (a.turned ? M_PI_2 : -M_PI_2)) * kRadiansToDegrees);
    return a;
}

// The end of the text from the text point, outward along the radius: the line offset, and when turned
// over the height and the chord shift too.
Float64 AngularOffset(const DocSettings* s, bool turned, Float64 d, Float64 h, Float64 height) {
    Float64 offset = s->dimLineOffset;
    if (turned) offset += height + TurnedTextShift(d, h);
    return offset;
}

DimensionRecord* AppendDimension(DocWindowRecord* doc) {
    DimensionRecord* last = nullptr;
    LastDimension(doc, &last);
    if (last == nullptr) last = doc->dimensionHead;
    DimensionRecord* d = NewDimensionElement(doc, &last->next);
    return d;
}

void ShowMessage(SInt16 message) {
    ShowErrorStr128(message);
}

bool SamePoint(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    return x1 == x2 && y1 == y2;
}

DimensionRecord* FinishCreation(DocWindowRecord* doc, SInt16 kind, Float64 x1, Float64 y1, Float64 x2,
                                Float64 y2, Float64 tx, Float64 ty, Float64 auxValue, Float64 auxX,
                                Float64 auxY, Float64 value, ConstStr255Param text, ConstStr255Param upper,
                                ConstStr255Param lower) {
    return CreateDimension(doc, x1, y1, x2, y2, tx, ty, kind, auxValue, auxX, auxY, value, text, upper, lower,
                           1, doc->settings->dimFlags);
}

} // namespace

SInt16 DimFrameShape(UInt16 flags) {
    for (SInt16 bit = 2; bit <= 5; ++bit)
        if (flags & (1u << bit)) return bit;
    return 0;
}

// The style values without a named field live in slots of the settings the dimension dialog fills.
Float64 DimTextHeight(const DocSettings* s) {
    Float64 h = s->textSizes[6];
    if (h > 0 && std::isfinite(h)) return h;
    return s->textHeight > 0 && std::isfinite(s->textHeight) ? s->textHeight : kFallbackTextHeight;
}
void SetDimTextHeight(DocSettings* s, Float64 height) {
    s->textSizes[6] = height;
}
UInt16& DimFeetInchFormat(DocSettings* s) {
    return reinterpret_cast<UInt16&>(s->words1868[0]);
}
UInt16& DimFractionSetting(DocSettings* s) {
    return reinterpret_cast<UInt16&>(s->words1868[1]);
}
UInt16& DimCutZeros(DocSettings* s) {
    return reinterpret_cast<UInt16&>(s->words1868[2]);
}
UInt16& DimOptionBits(DocSettings* s) {
    return reinterpret_cast<UInt16&>(s->words1868[3]);
}
Float64 DimUnitFactor(const DocSettings* s) {
    Float64 f = s->reals978[4];
    return f != 0 && std::isfinite(f) ? f : 1.0;
}
void SetDimUnitFactor(DocSettings* s, Float64 factor) {
    s->reals978[4] = factor;
}

Float64 DimensionLengthFactor(const DocWindowRecord* doc) {
    Float64 f = doc->settings->drawingScale * UnitDivisor(doc);
    return f > 0 && std::isfinite(f) ? f : 1.0;
}

void FormatDimensionNumber(DocWindowRecord* doc, Float64 value, SInt16 kind, UInt16 flags, SInt16 decimals,
                           StringPtr dest) {
    DocSettings* s = doc->settings;
    dest[0] = 0;
    value = Finite(value);
    bool unitSuffix = kind != kDimAngle && (flags & kDimUnitSuffix);
    if (unitSuffix) value *= UnitDivisor(doc) * DimUnitFactor(s);
    if (kind != kDimAngle && DimFeetInchFormat(s) == 1) {
        // Feet and inches are written from millimetres.
        UInt16 fraction = DimFractionSetting(s);
        FormatFeetInches(s->InchesOnly, &fraction, unitSuffix ? value : value * UnitDivisor(doc), dest);
        return;
    }
    if (decimals < 0) decimals = s->dimDecimals;
    FormatReal(value, UInt16(std::clamp<SInt16>(decimals, 0, 10)), dest);
    if (DimCutZeros(s)) CutZeros(dest);
    if (kind == kDimAngle) {
        AppendBytes(dest, kDegreeSign, 2);
        return;
    }
    if (!unitSuffix) return;
    Str255 suffix = {0};
    UInt16 options = DimOptionBits(s);
    if (options & kDimOptionCustomUnitText)
        CopyP(suffix, s->dimUnitText);
    else if (options & kDimOptionUnitName)
        UnitName(doc, suffix);
    if (suffix[0] == 0) return;
    if (options & kDimOptionBlankBeforeUnit) AppendBytes(dest, reinterpret_cast<const UInt8*>(" "), 1);
    AppendP(dest, suffix);
}

Float64 MeasureDimension(const DocWindowRecord* doc, const DimensionRecord* d) {
    Float64 length = 0;
    switch (d->kind) {
    case kDimHorizontal:
        length = std::fabs(d->x2 - d->x1);
        break;
    case kDimVertical:
        length = std::fabs(d->y2 - d->y1);
        break;
    case kDimAligned: {
        Float64 n = std::hypot(d->auxX, d->auxY);
        length = n > 0 ? std::fabs(((d->x2 - d->x1) * d->auxX + (d->y2 - d->y1) * d->auxY) / n)
                       : PointDistance(d->x1, d->y1, d->x2, d->y2);
        break;
    }
    case kDimDiameter:
        length = 2 * d->auxValue;
        break;
    case kDimRadius:
        length = d->auxValue;
        break;
    case kDimAngle:
        return Finite(NormalizeAngle(DirectionDegrees(d->auxX, d->auxY, d->x2, d->y2) -
                                     DirectionDegrees(d->auxX, d->auxY, d->x1, d->y1)));
    case kDimPointLine: {
        Float64 lx = d->auxX - d->x2, ly = d->auxY - d->y2, n = std::hypot(lx, ly);
        length = n > 0 ? std::fabs((d->x1 - d->x2) * ly - (d->y1 - d->y2) * lx) / n
                       : PointDistance(d->x1, d->y1, d->x2, d->y2);
        break;
    }
    default:
        length = PointDistance(d->x1, d->y1, d->x2, d->y2);
        break;
    }
    // A made dimension keeps the scale it was measured in.
    Float64 divisor =
        d->scaleFactor > 0 && std::isfinite(d->scaleFactor) ? d->scaleFactor : DimensionLengthFactor(doc);
    return Finite(length / divisor);
}

void FormatDimensionText(DocWindowRecord* doc, const DimensionRecord* d, StringPtr text) {
    Str255 number;
    FormatDimensionNumber(doc, MeasureDimension(doc, d), d->kind, d->flags, d->decimals, number);
    CopyP(text, doc->settings->dimPrefix);
    AppendP(text, number);
    AppendP(text, doc->settings->dimSuffix);
}

void ShownDimensionTolerance(ConstStr255Param tolerance, StringPtr shown) {
    shown[0] = 0;
    if (Empty(tolerance)) return;
    if (tolerance[1] == kMergedToleranceMark[0]) {
        AppendBytes(shown, kPlusMinusSign, 2);
        AppendBytes(shown, tolerance + 2, tolerance[0] - 1);
    } else {
        CopyP(shown, tolerance);
    }
}

void MergeTolerances(StringPtr upper, StringPtr lower) {
    if (upper[0] == 0 || lower[0] == 0 || upper[1] != '+' || lower[1] != '-') return;
    if (upper[0] != lower[0] || std::memcmp(upper + 2, lower + 2, upper[0] - 1) != 0) return;
    // One tolerance with the plus-minus sign, in UTF-8 like every dimension text; where the two-byte
    // sign would push the text past what a drawing file keeps, the one-byte mark stands in for it.
    Str255 merged = {0};
    if (upper[0] + 1 > kStoredToleranceLength)
        AppendBytes(merged, kMergedToleranceMark, 1);
    else
        AppendBytes(merged, kPlusMinusSign, 2);
    AppendBytes(merged, upper + 2, upper[0] - 1);
    CopyP(upper, merged);
    lower[0] = 0;
}

Float64 DimensionTextAngle(const DimensionRecord* d) {
    switch (d->kind) {
    case kDimHorizontal:
        return 0;
    case kDimVertical:
        return 90;
    case kDimAligned:
        return FoldAngle(DirectionDegrees(0, 0, d->auxX, d->auxY));
    case kDimDiameter: {
        Float64 a = std::atan2(d->y2 - d->y1, d->x2 - d->x1) * kRadiansToDegrees;
        return d->x1 <= d->x2 ? a : FoldAngle(a);
    }
    case kDimRadius: {
        Float64 a = NormalizeAngle(std::atan2(d->y1 - d->y2, d->x1 - d->x2) * kRadiansToDegrees);
        return a > 90 && a < 270 ? a - 180 : a;
    }
    case kDimPointLine:
        return FoldAngle(DirectionDegrees(d->x2, d->y2, d->auxX, d->auxY));
    default: {
        // Kind 5 keeps its angle in the frame: the height side is the text's up direction.
        Float64 ux = d->frame[4] - d->textX, uy = d->frame[5] - d->textY;
        if (ux != 0 || uy != 0) return NormalizeAngle(std::atan2(uy, ux) * kRadiansToDegrees - 90);
        Float64 wx = d->frame[0] - d->textX, wy = d->frame[1] - d->textY;
        if (wx != 0 || wy != 0) return NormalizeAngle(std::atan2(wy, wx) * kRadiansToDegrees);
        return AngularTextFor(d->auxX, d->auxY, d->textX, d->textY).angle;
    }
    }
}

void PlaceDimensionText(DocWindowRecord* doc, DimensionRecord* d, Float64 tx, Float64 ty) {
    const DocSettings* s = doc->settings;
    // Metrics at whole point sizes, as the text is laid out.
    Float64 points = std::round(d->textHeight * kPointsPerMillimetre);
    Float64 ascent = 0;
    if (points > 0) MeasureFontExtents(s->dimFont, 0, points, &ascent, nullptr);
    Float64 w1 = TextWidthAt(s->dimFont, points, d->text);
    Float64 tolPoints = std::round(d->textHeight * kToleranceSize * kPointsPerMillimetre);
    Str255 upper, lower;
    ShownDimensionTolerance(d->upperTolerance, upper);
    ShownDimensionTolerance(d->lowerTolerance, lower);
    Float64 w2 =
        std::max(TextWidthAt(s->dimFont, tolPoints, upper), TextWidthAt(s->dimFont, tolPoints, lower));
    Float64 width = Finite((w1 + w2) * kMillimetresPerPointWidth);
    Float64 height = Finite(ascent * kMillimetresPerPointAscent);
    Float64 h = width / 2;
    Float64 angle = 0;
    switch (d->kind) {
    case kDimHorizontal:
        OrderByX(d);
        d->textX = tx - h, d->textY = ty;
        break;
    case kDimVertical:
        if (d->y1 > d->y2) {
            std::swap(d->x1, d->x2);
            std::swap(d->y1, d->y2);
        }
        angle = 90;
        d->textX = tx, d->textY = ty - h;
        break;
    case kDimAligned:
    case kDimDiameter:
    case kDimRadius:
        if (d->kind != kDimRadius) OrderByX(d);
        angle = DimensionTextAngle(d);
        d->textX = tx - h * std::cos(angle * kDegreesToRadians);
        d->textY = ty - h * std::sin(angle * kDegreesToRadians);
        break;
    case kDimAngle: {
        Float64 dist = PointDistance(d->auxX, d->auxY, tx, ty);
        AngularText a = AngularTextFor(d->auxX, d->auxY, tx, ty);
        angle = a.angle;
        Float64 out = AngularOffset(s, a.turned, dist, h, height);
        Float64 mx = tx + out * std::cos(a.t), my = ty + out * std::sin(a.t);
        d->textX = mx - h * std::cos(angle * kDegreesToRadians);
        d->textY = my - h * std::sin(angle * kDegreesToRadians);
        break;
    }
    case kDimPointLine: {
        angle = DimensionTextAngle(d);
        Float64 fx = d->x2, fy = d->y2;
        Float64 lx = d->auxX - d->x2, ly = d->auxY - d->y2;
        // The foot of the perpendicular from the measured point.
        if (!(lx == 0 && ly == 0))
            IntersectLines(d->x2, d->y2, d->auxX, d->auxY, d->x1, d->y1, d->x1 - ly, d->y1 + lx, fx, fy);
        Float64 half = DimTextHeight(s) / 2;
        d->textX = fx + half * std::sin(angle * kDegreesToRadians);
        d->textY = fy - half * std::cos(angle * kDegreesToRadians);
        break;
    }
    default:
        d->textX = tx - h, d->textY = ty;
        break;
    }
    d->textX = Finite(d->textX), d->textY = Finite(d->textY);
    SetFrame(d, angle, width, height);
}

void DimensionTextPoint(const DocSettings* s, const DimensionRecord* d, Float64* x, Float64* y) {
    Float64 angle = DimensionTextAngle(d) * kDegreesToRadians;
    Float64 h = FrameWidth(d) / 2;
    Float64 mx = d->textX + h * std::cos(angle), my = d->textY + h * std::sin(angle);
    *x = mx, *y = my;
    if (d->kind != kDimAngle) return;
    // Back from the baseline's middle toward the vertex by the offset the placement added.
    Float64 rx = mx - d->auxX, ry = my - d->auxY, r = std::hypot(rx, ry);
    if (!(r > 0)) return;
    Float64 nx = -std::sin(angle), ny = std::cos(angle);
    bool turned = nx * rx + ny * ry < 0;
    Float64 height = FrameHeight(d), dist = r;
    for (int i = 0; i < 8; ++i)
        dist = std::max(0.0, r - AngularOffset(s, turned, dist, h, height));
    *x = d->auxX + rx / r * dist, *y = d->auxY + ry / r * dist;
}

DimensionRecord* CreateDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                 Float64 tx, Float64 ty, SInt16 kind, Float64 auxValue, Float64 auxX,
                                 Float64 auxY, Float64 value, ConstStr255Param overrideText,
                                 ConstStr255Param upperTolerance, ConstStr255Param lowerTolerance,
                                 Boolean drawFlag, UInt16 flags) {
    DocSettings* s = doc->settings;
    Str255 upper = {0}, lower = {0};
    CopyP(upper, upperTolerance);
    CopyP(lower, lowerTolerance);
    MarkDocumentChanged(doc);

    DimensionRecord probe{};
    probe.kind = kind;
    probe.x1 = x1, probe.y1 = y1, probe.x2 = x2, probe.y2 = y2;
    probe.auxX = auxX, probe.auxY = auxY, probe.auxValue = auxValue;
    probe.flags = flags;
    probe.decimals = s->dimDecimals;
    if (Empty(overrideText) && value == 0) value = MeasureDimension(doc, &probe);

    Str255 number;
    FormatDimensionNumber(doc, value, kind, flags, s->dimDecimals, number);
    MergeTolerances(upper, lower);

    DimensionRecord* d = AppendDimension(doc);
    if (d == nullptr) return nullptr;
    UInt16 penFlags = UInt16(d->penBlock.penFlags) & ~0x7800u;
    if (DimFeetInchFormat(s) == 1) penFlags |= kDimPenFeetInches;
    penFlags |= UInt16((DimFractionSetting(s) & 7u) << 12);
    d->penBlock.penFlags = SInt16(penFlags);
    CopyP(d->upperTolerance, upper);
    CopyP(d->lowerTolerance, lower);

    if (!Empty(overrideText)) {
        CopyP(d->text, overrideText);
        flags |= kDimTextOverride;
    } else {
        CopyP(d->text, s->dimPrefix);
        AppendP(d->text, number);
        AppendP(d->text, s->dimSuffix);
        flags &= UInt16(~kDimTextOverride);
    }
    d->textHeight = DimTextHeight(s);
    d->flags = flags;
    d->decimals = s->dimDecimals;
    d->group = s->currentGroup;
    d->layer = s->currentLayer;
    d->pen = s->currentPen;
    d->x1 = x1, d->y1 = y1, d->x2 = x2, d->y2 = y2;
    d->auxX = auxX, d->auxY = auxY, d->auxValue = auxValue;
    d->kind = kind;
    d->selected = 0;
    PlaceDimensionText(doc, d, tx, ty);

    RecordUndoDimension(doc, d, 1);
    SpatialIndexStale(doc);
    if (drawFlag) RedrawDimension(d, doc);
    doc->drawing->cursors.dimensionCursor = d;
    return d;
}

DimensionRecord* BuildDimension(DocWindowRecord* doc, const DimensionRecord* model, Float64 tx, Float64 ty,
                                ConstStr255Param overrideText, ConstStr255Param prefix,
                                ConstStr255Param suffix) {
    DocSettings* s = doc->settings;
    DimensionRecord* d = AppendDimension(doc);
    if (d == nullptr) return nullptr;
    DimensionRecord* next = d->next;
    *d = *model;
    d->next = next;
    d->selected = d->marked = d->drawn = d->scratchMark = 0;
    UInt16 penFlags = UInt16(d->penBlock.penFlags) & ~0x7800u;
    if (DimFeetInchFormat(s) == 1) penFlags |= kDimPenFeetInches;
    penFlags |= UInt16((DimFractionSetting(s) & 7u) << 12);
    d->penBlock.penFlags = SInt16(penFlags);
    MergeTolerances(d->upperTolerance, d->lowerTolerance);
    if (!Empty(overrideText)) {
        CopyP(d->text, overrideText);
        d->flags |= kDimTextOverride;
    } else {
        Str255 number;
        FormatDimensionNumber(doc, MeasureDimension(doc, d), d->kind, d->flags, d->decimals, number);
        CopyP(d->text, prefix);
        AppendP(d->text, number);
        AppendP(d->text, suffix);
        d->flags &= UInt16(~kDimTextOverride);
    }
    if (!(d->textHeight > 0)) d->textHeight = DimTextHeight(s);
    PlaceDimensionText(doc, d, tx, ty);
    MarkDocumentChanged(doc);
    RecordUndoDimension(doc, d, 1);
    SpatialIndexStale(doc);
    doc->drawing->cursors.dimensionCursor = d;
    return d;
}

void RebuildAllDimensions(DocWindowRecord* doc) {
    // In place, so the drawing order stays.
    for (DimensionRecord* d = doc->dimensionHead->next; d; d = d->next) {
        Float64 tx, ty;
        DimensionTextPoint(doc->settings, d, &tx, &ty);
        if (!(d->flags & kDimTextOverride)) FormatDimensionText(doc, d, d->text);
        PlaceDimensionText(doc, d, tx, ty);
    }
    MarkDocumentChanged(doc);
    SpatialIndexStale(doc);
    RequestRedraw(doc);
}

void RedrawDimension(DimensionRecord* dimension, DocWindowRecord* doc) {
    gDocumentHooks.drawElement(doc, kDimensionElement, dimension);
}

void InvalidateDimensionElement(DimensionRecord*, DocWindowRecord* doc) {
    RequestRedraw(doc);
}

void UnionAngleRanges(Float64 start1, Float64 end1, Float64 start2, Float64 end2, Float64* start,
                      Float64* end) {
    auto length = [](Float64 a, Float64 b) { return NormalizeAngle(b - a); };
    auto inside = [&](Float64 a, Float64 s, Float64 e) { return length(s, a) <= length(s, e); };
    Float64 l1 = length(start1, end1), l2 = length(start2, end2);
    if (inside(start2, start1, end1) && inside(end2, start1, end1) &&
        length(start1, start2) <= length(start1, end2) && l2 <= l1) {
        *start = start1, *end = end1;
        return;
    }
    if (inside(start1, start2, end2) && inside(end1, start2, end2) &&
        length(start2, start1) <= length(start2, end1) && l1 <= l2) {
        *start = start2, *end = end2;
        return;
    }
    if (inside(start2, start1, end1)) { // overlap: the first runs into the second
        *start = start1, *end = end2;
        return;
    }
    if (inside(start1, start2, end2)) {
        *start = start2, *end = end1;
        return;
    }
    // Disjoint: the shorter of the two joins.
    if (length(start1, end2) <= length(start2, end1))
        *start = start1, *end = end2;
    else
        *start = start2, *end = end1;
}

DimensionRecord* CreateHorizontalDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2,
                                           Float64 y2, Float64 posX, Float64 posY, ConstStr255Param text,
                                           ConstStr255Param upper, ConstStr255Param lower) {
    Float64 value = std::fabs(x2 - x1) / DimensionLengthFactor(doc);
    if (!(value > 0) || !std::isfinite(value)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    return FinishCreation(doc, kDimHorizontal, x1, y1, x2, y2, (x1 + x2) / 2,
                          posY + doc->settings->dimLineOffset, 0, 0, 0, value, text, upper, lower);
}

DimensionRecord* CreateVerticalDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                         Float64 posX, Float64 posY, ConstStr255Param text,
                                         ConstStr255Param upper, ConstStr255Param lower) {
    Float64 value = std::fabs(y2 - y1) / DimensionLengthFactor(doc);
    if (!(value > 0) || !std::isfinite(value)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    return FinishCreation(doc, kDimVertical, x1, y1, x2, y2, posX - doc->settings->dimLineOffset,
                          (y1 + y2) / 2, 0, 0, 0, value, text, upper, lower);
}

DimensionRecord* CreateAlignedDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                        Float64 dx, Float64 dy, Float64 posX, Float64 posY,
                                        ConstStr255Param text, ConstStr255Param upper,
                                        ConstStr255Param lower) {
    Float64 n = std::hypot(dx, dy);
    if (!(n > 0) || !std::isfinite(n)) dx = x2 - x1, dy = y2 - y1, n = std::hypot(dx, dy);
    Float64 ux = n > 0 ? dx / n : 1, uy = n > 0 ? dy / n : 0;
    Float64 length = std::fabs((x2 - x1) * ux + (y2 - y1) * uy);
    Float64 value = length / DimensionLengthFactor(doc);
    if (!(value > 0) || !std::isfinite(value)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    // The text's middle above the dimension line through the position, over the middle of the points.
    Float64 a = FoldAngle(DirectionDegrees(0, 0, ux, uy)) * kDegreesToRadians;
    Float64 cx = std::cos(a), sy = std::sin(a);
    Float64 mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
    Float64 along = (mx - posX) * cx + (my - posY) * sy;
    Float64 lo = doc->settings->dimLineOffset;
    Float64 tx = posX + along * cx - sy * lo, ty = posY + along * sy + cx * lo;
    return FinishCreation(doc, kDimAligned, x1, y1, x2, y2, tx, ty, 0, ux, uy, value, text, upper, lower);
}

DimensionRecord* CreateDiameterDimension(DocWindowRecord* doc, const ArcRecord* circle, Float64 posX,
                                         Float64 posY, ConstStr255Param text, ConstStr255Param upper,
                                         ConstStr255Param lower) {
    if (circle == nullptr) return nullptr;
    Float64 r = std::fabs(circle->radius);
    if (!(r > 0) || !std::isfinite(r)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    if (SamePoint(posX, posY, circle->cx, circle->cy)) {
        ShowMessage(kPositionAtCentreMessage);
        return nullptr;
    }
    Float64 dist = PointDistance(circle->cx, circle->cy, posX, posY);
    Float64 ux = (posX - circle->cx) / dist, uy = (posY - circle->cy) / dist;
    return FinishCreation(doc, kDimDiameter, circle->cx - r * ux, circle->cy - r * uy, circle->cx + r * ux,
                          circle->cy + r * uy, posX, posY, r, circle->cx, circle->cy,
                          2 * r / DimensionLengthFactor(doc), text, upper, lower);
}

DimensionRecord* CreateRadiusDimension(DocWindowRecord* doc, const ArcRecord* circle, Float64 posX,
                                       Float64 posY, ConstStr255Param text, ConstStr255Param upper,
                                       ConstStr255Param lower) {
    if (circle == nullptr) return nullptr;
    Float64 r = std::fabs(circle->radius);
    if (!(r > 0) || !std::isfinite(r)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    if (SamePoint(posX, posY, circle->cx, circle->cy)) {
        ShowMessage(kPositionAtCentreMessage);
        return nullptr;
    }
    Float64 dist = PointDistance(circle->cx, circle->cy, posX, posY);
    Float64 ux = (posX - circle->cx) / dist, uy = (posY - circle->cy) / dist;
    // The text rides the line offset above the radius line, its middle level with the position.
    Float64 a = NormalizeAngle(std::atan2(uy, ux) * kRadiansToDegrees);
    if (a > 90 && a < 270) a -= 180;
    Float64 lo = doc->settings->dimLineOffset;
    Float64 tx = posX - std::sin(a * kDegreesToRadians) * lo,
            ty = posY + std::cos(a * kDegreesToRadians) * lo;
    return FinishCreation(doc, kDimRadius, circle->cx + r * ux, circle->cy + r * uy, circle->cx, circle->cy,
                          tx, ty, r, circle->cx, circle->cy, r / DimensionLengthFactor(doc), text, upper,
                          lower);
}

DimensionRecord* CreateLineAngleDimension(DocWindowRecord* doc, const LineRecord* first,
                                          const LineRecord* second, const Float64* feet, Float64 posX,
                                          Float64 posY, ConstStr255Param text, ConstStr255Param upper,
                                          ConstStr255Param lower) {
    if (first == nullptr || second == nullptr) return nullptr;
    double vx, vy;
    if (!IntersectLineElements(first, second, vx, vy) || !std::isfinite(vx) || !std::isfinite(vy))
        return nullptr;
    Float64 a1 = DirectionDegrees(first->x1, first->y1, first->x2, first->y2);
    Float64 a2 = DirectionDegrees(second->x1, second->y1, second->x2, second->y2);
    Float64 reach = std::max(
        {PointDistance(vx, vy, first->x1, first->y1), PointDistance(vx, vy, first->x2, first->y2),
         PointDistance(vx, vy, second->x1, second->y1), PointDistance(vx, vy, second->x2, second->y2)});
    // A position on the vertex says nothing of the sector: take the first one, half way out.
    if (SamePoint(posX, posY, vx, vy)) {
        Float64 mid = (a1 + NormalizeAngle(a2 - a1) / 2) * kDegreesToRadians;
        Float64 r = reach > 0 ? reach / 2 : 10.0;
        posX = vx + r * std::cos(mid), posY = vy + r * std::sin(mid);
    }
    // The four rays split the plane into sectors; the position picks one, counter-clockwise.
    Float64 t = DirectionDegrees(vx, vy, posX, posY);
    const Float64 rays[4] = {NormalizeAngle(a1), NormalizeAngle(a1 + 180), NormalizeAngle(a2),
                             NormalizeAngle(a2 + 180)};
    int startRay = 0, endRay = 0;
    Float64 best = 1e9, bestEnd = 1e9;
    for (int i = 0; i < 4; ++i) {
        Float64 back = NormalizeAngle(t - rays[i]), ahead = NormalizeAngle(rays[i] - t);
        if (back < best) best = back, startRay = i;
        if (ahead > 0 && ahead < bestEnd) bestEnd = ahead, endRay = i;
    }
    Float64 start = rays[startRay], end = rays[endRay];
    Float64 value = NormalizeAngle(end - start);
    if (!(value > 0)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    // Each measured point lies on its ray, as far out as its foot point (or the position).
    Float64 dpos = PointDistance(vx, vy, posX, posY);
    auto rayPoint = [&](Float64 angle, int footIndex, Float64* x, Float64* y) {
        Float64 r = feet ? PointDistance(vx, vy, feet[2 * footIndex], feet[2 * footIndex + 1]) : 0;
        if (!(r > 0) || !std::isfinite(r)) r = dpos;
        *x = vx + r * std::cos(angle * kDegreesToRadians), *y = vy + r * std::sin(angle * kDegreesToRadians);
    };
    Float64 x1, y1, x2, y2;
    rayPoint(start, startRay < 2 ? 0 : 1, &x1, &y1);
    rayPoint(end, endRay < 2 ? 0 : 1, &x2, &y2);
    return FinishCreation(doc, kDimAngle, x1, y1, x2, y2, posX, posY, 0, vx, vy, value, text, upper, lower);
}

DimensionRecord* CreatePointLineDimension(DocWindowRecord* doc, const LineRecord* line, Float64 x, Float64 y,
                                          ConstStr255Param text, ConstStr255Param upper,
                                          ConstStr255Param lower) {
    if (line == nullptr) return nullptr;
    Float64 lx = line->x2 - line->x1, ly = line->y2 - line->y1, n = std::hypot(lx, ly);
    Float64 dist = n > 0 ? std::fabs((x - line->x1) * ly - (y - line->y1) * lx) / n : 0;
    Float64 value = dist / DimensionLengthFactor(doc);
    if (!(value > 0) || !std::isfinite(value)) {
        ShowMessage(kZeroDimensionMessage);
        return nullptr;
    }
    return FinishCreation(doc, kDimPointLine, x, y, line->x1, line->y1, x, y, 0, line->x2, line->y2, value,
                          text, upper, lower);
}
