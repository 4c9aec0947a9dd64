// Dimension geometry by kind: dimension lines, extension lines, terminators and the text's place.
#include "View/DimensionGeometry.h"
#include "Model/Dimensions.h"
#include "Other/MathPrimitives.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec {
    Float64 x, y;
};

Vec Unit(Float64 angleDegrees) {
    Float64 a = angleDegrees * kDegreesToRadians;
    return {std::cos(a), std::sin(a)};
}

Float64 Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}

void Clear(DimGeometry* g) {
    *g = DimGeometry{};
    g->terminatorKind[0] = g->terminatorKind[1] = -1;
}

void SetLine(Float64 out[4], Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    out[0] = x1, out[1] = y1, out[2] = x2, out[3] = y2;
}

Float64 TextWidth(const DimensionRecord* d) {
    return std::hypot(d->frame[0] - d->textX, d->frame[1] - d->textY);
}

void Terminator(const DocSettings* s, DimGeometry* g, int end, SInt16 kind, Float64 x, Float64 y,
                Float64 angle) {
    g->terminatorKind[end] = kind;
    Float64* t = g->terminator[end];
    DimensionTerminator(s, kind, x, y, angle, s->dimTerminatorSize, t, t + 2, t + 4);
}

// Ends of a straight dimension: arrows inside pointing out when there is room, else outside pointing in.
void LineTerminators(const DimensionRecord* d, const DocSettings* s, DimGeometry* g, Vec e1, Vec e2,
                     Float64 angle, bool first, bool second) {
    Float64 distance = std::hypot(e2.x - e1.x, e2.y - e1.y);
    bool inside = distance > 3 * s->dimTerminatorSize;
    Float64 a1 = inside ? angle + 180 : angle, a2 = inside ? angle : angle + 180;
    if (first) Terminator(s, g, 0, DimFirstTerminator(d->flags), e1.x, e1.y, NormalizeAngle(a1));
    if (second) Terminator(s, g, 1, DimSecondTerminator(d->flags), e2.x, e2.y, NormalizeAngle(a2));
}

// The span of a line along u from the origin covering the points' projections.
void Span(Vec origin, Vec u, const Vec* points, int count, Float64 out[4]) {
    Float64 lo = 0, hi = 0;
    for (int i = 0; i < count; ++i) {
        Float64 t = Dot({points[i].x - origin.x, points[i].y - origin.y}, u);
        lo = std::min(lo, t), hi = std::max(hi, t);
    }
    SetLine(out, origin.x + lo * u.x, origin.y + lo * u.y, origin.x + hi * u.x, origin.y + hi * u.y);
}

// Kinds 0, 1 and 2: the dimension line the line offset below the text's baseline, through the feet of
// both measured points, long enough to underline the text.
void LinearGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Float64 angle = DimensionTextAngle(d);
    Vec u = Unit(angle), n = {-u.y, u.x};
    Vec base = {d->textX, d->textY};
    Vec p[2] = {{d->x1, d->y1}, {d->x2, d->y2}};
    Vec foot[2];
    for (int i = 0; i < 2; ++i) {
        Float64 across = Dot({base.x - p[i].x, base.y - p[i].y}, n) - s->dimLineOffset;
        foot[i] = {p[i].x + across * n.x, p[i].y + across * n.y};
        if (d->flags & kDimNoExtensionLines) continue;
        // From the measured point toward the line, on past it by the overshoot.
        Float64 sense = across < 0 ? -1 : 1;
        Float64 near[2] = {p[i].x + sense * s->dimExtensionOffset * n.x,
                           p[i].y + sense * s->dimExtensionOffset * n.y};
        Float64 far[2] = {foot[i].x + sense * s->dimExtensionOvershoot * n.x,
                          foot[i].y + sense * s->dimExtensionOvershoot * n.y};
        g->hasExtension[i] = 1;
        DimExtensionEnds(d, s, near[0], near[1], far[0], far[1], g->extension[i]);
    }
    Float64 w = TextWidth(d);
    Vec points[4] = {
        foot[0], foot[1], {base.x - s->dimLineOffset * n.x, base.y - s->dimLineOffset * n.y}, {}};
    points[3] = {points[2].x + w * u.x, points[2].y + w * u.y};
    Span(foot[0], u, points, 4, g->line);
    // The terminators sit on the feet; the direction runs from the first foot to the second.
    Float64 along = Dot({foot[1].x - foot[0].x, foot[1].y - foot[0].y}, u);
    Float64 direction = along < 0 ? angle + 180 : angle;
    if (!(d->flags & kDimNoExtensionLines)) LineTerminators(d, s, g, foot[0], foot[1], direction, true, true);
    g->textX = d->textX, g->textY = d->textY, g->textAngle = angle;
}

} // namespace

void DimensionTerminator(const DocSettings* s, SInt16 kind, Float64 x, Float64 y, Float64 angle, Float64 size,
                         Float64 tip[2], Float64 p1[2], Float64 p2[2]) {
    tip[0] = p1[0] = p2[0] = x;
    tip[1] = p1[1] = p2[1] = y;
    Float64 a = angle * kDegreesToRadians, c = std::cos(a), sn = std::sin(a);
    if (kind == 2) {
        Float64 t = (angle + 45) * kDegreesToRadians;
        p1[0] = x + 0.5 * size * std::cos(t), p1[1] = y + 0.5 * size * std::sin(t);
        p2[0] = x - 0.5 * size * std::cos(t), p2[1] = y - 0.5 * size * std::sin(t);
    } else if (kind == 0) {
        Float64 t = std::tan(s->dimArrowAngle * kDegreesToRadians);
        if (!std::isfinite(t)) t = 0;
        Float64 vx = -size, vy = -size * t;
        p1[0] = x + vx * c - vy * sn, p1[1] = y + vx * sn + vy * c;
        vy = size * t;
        p2[0] = x + vx * c - vy * sn, p2[1] = y + vx * sn + vy * c;
    }
}

void DimExtensionEnds(const DimensionRecord* d, const DocSettings* s, Float64 x1, Float64 y1, Float64 x2,
                      Float64 y2, Float64 out[4]) {
    SetLine(out, x1, y1, x2, y2);
    Float64 length = std::hypot(x1 - x2, y1 - y2);
    if (!(d->flags & kDimFixedExtension) || !(length >= s->extensionGap) || !(length > 0)) return;
    Float64 f = s->extensionGap / length;
    out[0] = x2 + (x1 - x2) * f, out[1] = y2 + (y1 - y2) * f;
}

void DimTextOffset(const DimensionRecord* d, const DocSettings* s, Float64* dx, Float64* dy) {
    *dx = *dy = 0;
    if (d->kind != kDimDiameter && d->kind != kDimPointLine) return;
    Float64 vx = d->y1 - d->y2, vy = d->x2 - d->x1, n = std::hypot(vx, vy);
    if (!(n > 0) || !std::isfinite(n)) return; // coinciding points give no direction
    *dx = vx / n * s->dimLineOffset, *dy = vy / n * s->dimLineOffset;
}

Boolean DimHorizontalGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Clear(g);
    if (d->kind != kDimHorizontal) return 0;
    LinearGeometry(d, s, g);
    return 1;
}

Boolean DimVerticalGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Clear(g);
    if (d->kind != kDimVertical) return 0;
    LinearGeometry(d, s, g);
    return 1;
}

Boolean DimAlignedGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Clear(g);
    if (d->kind != kDimAligned) return 0;
    LinearGeometry(d, s, g);
    return 1;
}

Boolean DimCentreGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Clear(g);
    if (d->kind != kDimDiameter && d->kind != kDimRadius) return 0;
    Float64 angle = DimensionTextAngle(d);
    Vec u = Unit(angle);
    Float64 w = TextWidth(d);
    Vec textStart = {d->textX, d->textY}, textEnd = {d->textX + w * u.x, d->textY + w * u.y};
    g->textX = d->textX, g->textY = d->textY, g->textAngle = angle;
    if (d->kind == kDimDiameter) {
        Float64 dx, dy;
        DimTextOffset(d, s, &dx, &dy);
        g->textX += dx, g->textY += dy;
        // Along the diameter, on under the text when it stands outside the circle.
        Vec p1 = {d->x1, d->y1}, p2 = {d->x2, d->y2};
        Float64 a = DirectionDegrees(p1.x, p1.y, p2.x, p2.y);
        Vec along = Unit(a);
        Vec points[4] = {p1, p2, textStart, textEnd};
        Span(p1, along, points, 4, g->line);
        LineTerminators(d, s, g, p1, p2, a, true, true);
        return 1;
    }
    // Radius: from the arc point to the nearer end of the text, with the terminator at the arc point.
    Vec arc = {d->x1, d->y1}, centre = {d->x2, d->y2};
    Float64 out = DirectionDegrees(centre.x, centre.y, arc.x, arc.y);
    Vec radial = Unit(out);
    Float64 t1 = Dot({textStart.x - arc.x, textStart.y - arc.y}, radial);
    Float64 t2 = Dot({textEnd.x - arc.x, textEnd.y - arc.y}, radial);
    Float64 t = std::fabs(t1) < std::fabs(t2) ? t1 : t2;
    SetLine(g->line, arc.x, arc.y, arc.x + t * radial.x, arc.y + t * radial.y);
    if (d->flags & kDimRadiusToCentre) {
        g->hasLeader = 1;
        SetLine(g->leader, arc.x, arc.y, centre.x, centre.y);
    }
    // The arrow's back lies along the drawn line: outward toward a text outside the circle, inward
    // toward one inside; on a line shorter than the arrow it turns round.
    Float64 drawn = std::fabs(t);
    Float64 tipAngle = t > 0 ? NormalizeAngle(out + 180) : out;
    if (s->dimTerminatorSize > drawn) tipAngle = NormalizeAngle(tipAngle + 180);
    Terminator(s, g, 0, DimFirstTerminator(d->flags), arc.x, arc.y, tipAngle);
    return 1;
}

Boolean DimAngularGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Clear(g);
    if (d->kind != kDimAngle) return 0;
    Float64 tx, ty;
    DimensionTextPoint(s, d, &tx, &ty);
    Float64 vx = d->auxX, vy = d->auxY;
    Float64 radius = std::hypot(tx - vx, ty - vy);
    Float64 start = DirectionDegrees(vx, vy, d->x1, d->y1), end = DirectionDegrees(vx, vy, d->x2, d->y2);
    // The arc runs on under a text that stands outside the sector.
    if (radius > 0) {
        Float64 t = DirectionDegrees(vx, vy, tx, ty);
        Float64 half = std::min(TextWidth(d) / 2 / radius, 1.0) * kRadiansToDegrees;
        UnionAngleRanges(start, end, NormalizeAngle(t - half), NormalizeAngle(t + half), &start, &end);
    }
    g->isArc = 1;
    g->arcX = vx, g->arcY = vy, g->arcRadius = radius, g->arcStart = start, g->arcEnd = end;
    Float64 a0 = DirectionDegrees(vx, vy, d->x1, d->y1), a1 = DirectionDegrees(vx, vy, d->x2, d->y2);
    Vec e1 = {vx + radius * Unit(a0).x, vy + radius * Unit(a0).y};
    Vec e2 = {vx + radius * Unit(a1).x, vy + radius * Unit(a1).y};
    SetLine(g->line, e1.x, e1.y, e2.x, e2.y);
    if (!(d->flags & kDimNoExtensionLines)) {
        Vec p[2] = {{d->x1, d->y1}, {d->x2, d->y2}};
        Float64 angles[2] = {a0, a1};
        for (int i = 0; i < 2; ++i) {
            Float64 rho = std::hypot(p[i].x - vx, p[i].y - vy);
            if (std::fabs(rho - radius) <= s->dimExtensionOffset) continue;
            Float64 sense = rho < radius ? 1 : -1;
            Vec r = Unit(angles[i]);
            Float64 nearR = rho + sense * s->dimExtensionOffset,
                    farR = radius + sense * s->dimExtensionOvershoot;
            g->hasExtension[i] = 1;
            DimExtensionEnds(d, s, vx + nearR * r.x, vy + nearR * r.y, vx + farR * r.x, vy + farR * r.y,
                             g->extension[i]);
        }
        Float64 sweep = NormalizeAngle(a1 - a0) * kDegreesToRadians * radius;
        bool inside = sweep > 3 * s->dimTerminatorSize;
        Terminator(s, g, 0, DimFirstTerminator(d->flags), e1.x, e1.y,
                   NormalizeAngle(a0 + (inside ? -90 : 90)));
        Terminator(s, g, 1, DimSecondTerminator(d->flags), e2.x, e2.y,
                   NormalizeAngle(a1 + (inside ? 90 : -90)));
    }
    g->textX = d->textX, g->textY = d->textY, g->textAngle = DimensionTextAngle(d);
    return 1;
}

Boolean DimNormalGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    Clear(g);
    if (d->kind != kDimPointLine) return 0;
    Vec p = {d->x1, d->y1}, a = {d->x2, d->y2}, b = {d->auxX, d->auxY};
    Vec l = {b.x - a.x, b.y - a.y};
    Float64 len = std::hypot(l.x, l.y);
    Vec foot = p;
    Float64 t = 0;
    if (len > 0) {
        l = {l.x / len, l.y / len};
        t = Dot({p.x - a.x, p.y - a.y}, l);
        foot = {a.x + t * l.x, a.y + t * l.y};
    }
    SetLine(g->line, p.x, p.y, foot.x, foot.y);
    // The base line runs on to the foot when the foot lies beyond its ends.
    if (len > 0 && !(d->flags & kDimNoExtensionLines) && (t < 0 || t > len)) {
        Vec from = t < 0 ? a : b;
        Float64 sense = t < 0 ? -1 : 1;
        g->hasExtension[0] = 1;
        DimExtensionEnds(d, s, from.x + sense * s->dimExtensionOffset * l.x,
                         from.y + sense * s->dimExtensionOffset * l.y,
                         foot.x + sense * s->dimExtensionOvershoot * l.x,
                         foot.y + sense * s->dimExtensionOvershoot * l.y, g->extension[0]);
    }
    Float64 distance = std::hypot(foot.x - p.x, foot.y - p.y);
    Float64 toLine = distance > 0 ? DirectionDegrees(p.x, p.y, foot.x, foot.y)
                                  : NormalizeAngle(DirectionDegrees(a.x, a.y, b.x, b.y) - 90);
    Float64 angle = distance > 3 * s->dimTerminatorSize ? toLine : NormalizeAngle(toLine + 180);
    if (!(d->flags & kDimNoExtensionLines))
        Terminator(s, g, 1, DimSecondTerminator(d->flags), foot.x, foot.y, angle);
    Float64 dx, dy;
    DimTextOffset(d, s, &dx, &dy);
    g->textX = d->textX + dx, g->textY = d->textY + dy, g->textAngle = DimensionTextAngle(d);
    return 1;
}

Boolean DimensionGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g) {
    switch (d->kind) {
    case kDimHorizontal:
        return DimHorizontalGeometry(d, s, g);
    case kDimVertical:
        return DimVerticalGeometry(d, s, g);
    case kDimAligned:
        return DimAlignedGeometry(d, s, g);
    case kDimDiameter:
    case kDimRadius:
        return DimCentreGeometry(d, s, g);
    case kDimAngle:
        return DimAngularGeometry(d, s, g);
    case kDimPointLine:
        return DimNormalGeometry(d, s, g);
    default:
        Clear(g);
        return 0;
    }
}
