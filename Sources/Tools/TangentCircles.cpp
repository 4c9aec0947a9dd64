// The tangent-circle solvers for mixtures of lines and arcs. Each works in a frame of its own (the
// corner of two lines with their bisector as x axis, or the line as x axis), finds every candidate
// circle there, and lets the pick points choose.
#include "Tools/TangentCircles.h"

#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Tools/ParallelLines.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr Float64 kLeadingTermLimit = 1e-10;
constexpr Float64 kNoScore = 1e60;
constexpr Float64 kFarScore = 1e10;
constexpr int kIterations = 51;

struct Pt {
    Float64 x, y;
};

bool Finite(std::initializer_list<Float64> values) {
    for (Float64 v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

bool UsableLine(const LineRecord* l) {
    return l != nullptr && Finite({l->x1, l->y1, l->x2, l->y2}) && (l->x1 != l->x2 || l->y1 != l->y2);
}

bool UsableArc(const ArcRecord* a) {
    return a != nullptr && Finite({a->cx, a->cy, a->radius}) && a->radius > 0;
}

Float64 Dist(Pt a, Pt b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The point where a circle (c, rho) touches the circle (a, R): of the two points of (a, R) on the
// line of centres, the one at distance rho from c. Reading it off the line of centres stays exact
// where a crossing of two touching circles would be lost to rounding.
Pt TouchingPoint(Pt c, Float64 rho, Pt a, Float64 R) {
    Float64 d = Dist(a, c);
    Pt u = d > 0 ? Pt{(c.x - a.x) / d, (c.y - a.y) / d} : Pt{1, 0};
    Pt p{a.x + R * u.x, a.y + R * u.y}, q{a.x - R * u.x, a.y - R * u.y};
    return std::fabs(Dist(p, c) - rho) <= std::fabs(Dist(q, c) - rho) ? p : q;
}

Pt Foot(const LineRecord* l, Pt p) {
    Float64 x, y;
    if (!PerpendicularFoot(l->x1, l->y1, l->x2, l->y2, p.x, p.y, x, y)) return p;
    return {x, y};
}

// A line turned end for end: lines of opposite direction count as parallel for the corner.
LineRecord Reversed(const LineRecord* l) {
    LineRecord r = *l;
    r.x1 = l->x2;
    r.y1 = l->y2;
    r.x2 = l->x1;
    r.y2 = l->y1;
    return r;
}

// The roots of a x^2 + b x + c = 0; a vanishing leading term leaves the linear equation.
int SolveQuadratic(Float64 a, Float64 b, Float64 c, Float64 roots[2]) {
    if (std::fabs(a) <= kLeadingTermLimit) {
        if (std::fabs(b) <= kLeadingTermLimit) return 0;
        roots[0] = -c / b;
        return 1;
    }
    if (SolveMonicQuadratic(b / (2 * a), c / a, &roots[0], &roots[1]) == 0) return 0;
    return 2;
}

bool ParallelCircle(const LineRecord* l1, const LineRecord* l2, const ArcRecord* arc, Pt f1, Float64& cx,
                    Float64& cy, Float64& r) {
    Float64 px, py;
    Float64 distance = IntersectPerpendicularWithLine(l1, l2, &px, &py);
    if (!(distance > 0)) return false;
    Float64 rho = distance / 2;
    // The mid-line: line 1 moved half-way towards line 2.
    Float64 ox = (px - l1->x1) / 2, oy = (py - l1->y1) / 2;
    Float64 mx1 = l1->x1 + ox, my1 = l1->y1 + oy, mx2 = l1->x2 + ox, my2 = l1->y2 + oy;
    Float64 best = 1e300;
    bool found = false;
    for (Float64 radius : {std::fabs(arc->radius - rho), arc->radius + rho}) {
        if (!(radius > 0)) continue;
        Float64 xa, ya, xb, yb;
        if (!IntersectLineCircle(mx1, my1, mx2, my2, arc->cx, arc->cy, radius, xa, ya, xb, yb)) continue;
        for (Pt c : {Pt{xa, ya}, Pt{xb, yb}}) {
            Float64 d = Dist(c, f1);
            if (d < best) {
                best = d;
                cx = c.x;
                cy = c.y;
                found = true;
            }
        }
    }
    if (found) r = rho;
    return found;
}

} // namespace

Boolean CircleTangentLinesArc(const LineRecord* line1, const LineRecord* line2, const ArcRecord* arc,
                              Float64& cx, Float64& cy, Float64& r, Float64 pick1X, Float64 pick1Y,
                              Float64 pick2X, Float64 pick2Y, Float64 pick3X, Float64 pick3Y) {
    if (!UsableLine(line1) || !UsableLine(line2) || !UsableArc(arc) ||
        !Finite({pick1X, pick1Y, pick2X, pick2Y, pick3X, pick3Y}))
        return false;
    Pt f1 = Foot(line1, {pick1X, pick1Y}), f2 = Foot(line2, {pick2X, pick2Y});
    LineRecord turned = Reversed(line2);
    Pt v{};
    bool parallel = LinesParallel(line1, line2) || LinesParallel(line1, &turned) ||
                    !IntersectLineElements(line1, line2, v.x, v.y) || !Finite({v.x, v.y});
    if (parallel) return ParallelCircle(line1, line2, arc, f1, cx, cy, r);

    // A pick on the corner itself names no side of it.
    if (Dist(v, f1) <= 1e-12 * (1 + std::fabs(v.x) + std::fabs(v.y)) ||
        Dist(v, f2) <= 1e-12 * (1 + std::fabs(v.x) + std::fabs(v.y)))
        return false;
    Float64 a1 = DirectionDegrees(v.x, v.y, f1.x, f1.y), a2 = DirectionDegrees(v.x, v.y, f2.x, f2.y);
    Float64 lo = std::min(a1, a2), hi = std::max(a1, a2), d = hi - lo;
    if (d >= 180) {
        lo += 360;
        d = lo - hi;
    }
    Float64 theta = (lo + hi) / 2 * kDegreesToRadians, alpha = d / 2 * kDegreesToRadians;
    Float64 s = std::sin(alpha);
    if (!(s > 0) || !(1 - s * s > 0)) return false;
    Float64 ct = std::cos(theta), st = std::sin(theta);
    auto toFrame = [&](Pt p) {
        Float64 dx = p.x - v.x, dy = p.y - v.y;
        return Pt{dx * ct + dy * st, -dx * st + dy * ct};
    };
    auto fromFrame = [&](Pt p) { return Pt{v.x + p.x * ct - p.y * st, v.y + p.x * st + p.y * ct}; };
    Pt a = toFrame({arc->cx, arc->cy});
    Float64 R = arc->radius, k = 1 - s * s;
    Float64 q = (a.x * a.x + a.y * a.y - R * R) / k;

    // Outside-touching roots first, then inside-touching ones; a radius of 0 marks a missing root.
    struct Candidate {
        Pt centre;
        Float64 rho;
    };
    std::array<Candidate, 4> c{};
    Float64 r1, r2;
    if (SolveMonicQuadratic(-(a.x + R * s) / k, q, &r1, &r2) == 0) return false;
    c[0] = {{r1, 0}, r1 * s};
    c[1] = {{r2, 0}, r2 * s};
    if (SolveMonicQuadratic(-(a.x - R * s) / k, q, &r1, &r2) != 0) {
        c[2] = {{r1, 0}, r1 * s};
        c[3] = {{r2, 0}, r2 * s};
    }
    Pt arcCentre{arc->cx, arc->cy}, pick3{pick3X, pick3Y};
    auto arcTouchDistance = [&](const Candidate& k) {
        Pt centre = fromFrame(k.centre);
        return Dist(TouchingPoint(centre, k.rho, arcCentre, R), pick3);
    };
    // Of each pair the root touching the arc nearer its pick.
    const Candidate* kept[2] = {nullptr, nullptr};
    for (int pair = 0; pair < 2; ++pair) {
        const Candidate& x = c[2 * pair];
        const Candidate& y = c[2 * pair + 1];
        bool xOk = x.rho > 0 && std::isfinite(x.rho), yOk = y.rho > 0 && std::isfinite(y.rho);
        if (xOk && yOk)
            kept[pair] = arcTouchDistance(y) < arcTouchDistance(x) ? &y : &x;
        else if (xOk)
            kept[pair] = &x;
        else if (yOk)
            kept[pair] = &y;
    }
    // Of the two kept, the one touching line 1 nearer its pick; a tie goes to the inside one.
    const Candidate* win = kept[1];
    if (kept[0] != nullptr) {
        if (win == nullptr ||
            Dist(Foot(line1, fromFrame(kept[0]->centre)), f1) < Dist(Foot(line1, fromFrame(win->centre)), f1))
            win = kept[0];
    }
    if (win == nullptr) return false;
    Pt centre = fromFrame(win->centre);
    if (!Finite({centre.x, centre.y, win->rho})) return false;
    cx = centre.x;
    cy = centre.y;
    r = win->rho;
    return true;
}

Boolean CircleTangentLineArcs(const ArcRecord* arcA, const ArcRecord* arcB, const LineRecord* line,
                              Float64 pickAX, Float64 pickAY, Float64 pickBX, Float64 pickBY, Float64 pickLX,
                              Float64 pickLY, Float64& cx, Float64& cy, Float64& r) {
    if (!UsableArc(arcA) || !UsableArc(arcB) || !UsableLine(line) ||
        !Finite({pickAX, pickAY, pickBX, pickBY, pickLX, pickLY}))
        return false;
    // The frame: the line as x axis, arc A's centre above it, so the circle sought lies above too.
    Pt o{line->x1, line->y1};
    Float64 len = std::hypot(line->x2 - line->x1, line->y2 - line->y1);
    Float64 ct = (line->x2 - line->x1) / len, st = (line->y2 - line->y1) / len;
    auto toFrame = [&](Pt p) {
        Float64 dx = p.x - o.x, dy = p.y - o.y;
        return Pt{dx * ct + dy * st, -dx * st + dy * ct};
    };
    if (toFrame({arcA->cx, arcA->cy}).y < 0) {
        ct = -ct;
        st = -st;
    }
    auto fromFrame = [&](Pt p) { return Pt{o.x + p.x * ct - p.y * st, o.y + p.x * st + p.y * ct}; };
    Pt A = toFrame({arcA->cx, arcA->cy}), B = toFrame({arcB->cx, arcB->cy});
    Float64 Ra = arcA->radius, Rb = arcB->radius;
    Float64 Ka = A.x * A.x + A.y * A.y - Ra * Ra, Kb = B.x * B.x + B.y * B.y - Rb * Rb;

    // A circle centred (x, rho) touches a circle (a, b, R) when x^2 - 2ax + K = 2 rho (b +- R): the
    // sign picks touching from outside (+) or inside (-). Equating rho for both arcs gives x.
    std::vector<std::pair<Pt, Float64>> candidates;
    for (int sa : {1, -1})
        for (int sb : {1, -1}) {
            Float64 ka = A.y + sa * Ra, kb = B.y + sb * Rb;
            Float64 roots[2];
            int n = SolveQuadratic(kb - ka, -2 * A.x * kb + 2 * B.x * ka, kb * Ka - ka * Kb, roots);
            for (int i = 0; i < n; ++i) {
                Float64 x = roots[i];
                Float64 rho;
                if (std::fabs(ka) >= std::fabs(kb) && ka != 0)
                    rho = (x * x - 2 * A.x * x + Ka) / (2 * ka);
                else if (kb != 0)
                    rho = (x * x - 2 * B.x * x + Kb) / (2 * kb);
                else
                    continue;
                if (!(rho > 0) || !Finite({x, rho})) continue;
                candidates.push_back({fromFrame({x, rho}), rho});
            }
        }
    Pt pickA{pickAX, pickAY}, pickB{pickBX, pickBY}, pickL{pickLX, pickLY};
    auto arcScore = [](Pt centre, Float64 rho, const ArcRecord* arc, Pt pick) {
        Float64 d = Dist(TouchingPoint(centre, rho, {arc->cx, arc->cy}, arc->radius), pick);
        return d > arc->radius ? kFarScore : d;
    };
    Float64 best = kNoScore;
    bool found = false;
    for (const auto& [centre, rho] : candidates) {
        Float64 score = arcScore(centre, rho, arcA, pickA) + arcScore(centre, rho, arcB, pickB) +
                        Dist(Foot(line, centre), pickL);
        if (score < best) {
            best = score;
            cx = centre.x;
            cy = centre.y;
            r = rho;
            found = true;
        }
    }
    return found;
}

namespace {

struct Circ {
    Pt c;
    Float64 R;
};

// The search shared by the two iterations; enclosing turns the radius relations round.
bool TangentIteration(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3, bool enclosing,
                      Float64& x, Float64& y, Float64& r) {
    if (!UsableArc(a1) || !UsableArc(a2) || !UsableArc(a3)) return false;
    const Circ c[3] = {
        {{a1->cx, a1->cy}, a1->radius}, {{a2->cx, a2->cy}, a2->radius}, {{a3->cx, a3->cy}, a3->radius}};
    const int pairs[3][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}};
    int chosen = 0;
    Float64 widest = -1e300;
    for (int p = 0; p < 3; ++p) {
        const Circ& i = c[pairs[p][0]];
        const Circ& j = c[pairs[p][1]];
        Float64 measure = Dist(i.c, j.c) + (enclosing ? i.R + j.R : -i.R - j.R);
        if (measure > widest) {
            widest = measure;
            chosen = p;
        }
    }
    const Circ& A = c[pairs[chosen][0]];
    const Circ& B = c[pairs[chosen][1]];
    const Circ& C = c[pairs[chosen][2]];
    const Float64 tolerance = enclosing ? 1e-7 : 1e-4;
    Float64 radius = 0.5 * widest + 0.04, step = 0;
    for (int i = 0; i < kIterations; ++i) {
        if (!(radius > 0) || !std::isfinite(radius)) return false;
        Float64 ra = enclosing ? radius - A.R : A.R + radius, rb = enclosing ? radius - B.R : B.R + radius;
        Float64 xa, ya, xb, yb;
        if (!(ra > 0) || !(rb > 0) || !IntersectCircles(A.c.x, A.c.y, ra, B.c.x, B.c.y, rb, xa, ya, xb, yb))
            return false;
        Pt p{xa, ya}, q{xb, yb};
        Pt centre = Dist(p, C.c) <= Dist(q, C.c) ? p : q;
        Float64 dmin = Dist(centre, C.c);
        // The first step is the first miss; its size alone counts, the comparison gives the way.
        if (i == 0) step = std::fabs(enclosing ? dmin + C.R - radius : dmin - radius - C.R);
        Float64 d = enclosing ? dmin + C.R : dmin - C.R;
        x = centre.x;
        y = centre.y;
        r = radius;
        if (std::fabs((radius - d) / radius) < tolerance) return true;
        radius += d > radius ? step : -step;
        step /= 2;
    }
    return false;
}

} // namespace

Boolean OuterTangentCircleIteration(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3, Float64& x,
                                    Float64& y, Float64& r) {
    return TangentIteration(a1, a2, a3, false, x, y, r);
}

Boolean EnclosingTangentCircleIteration(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3,
                                        Float64& x, Float64& y, Float64& r) {
    return TangentIteration(a1, a2, a3, true, x, y, r);
}

Boolean CircleTangentThreeArcs(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3, Float64& cx,
                               Float64& cy, Float64& r, Float64 refX, Float64 refY) {
    if (!Finite({refX, refY})) return false;
    Float64 ox = 0, oy = 0, orad = 0, ex = 0, ey = 0, erad = 0;
    bool outer = OuterTangentCircleIteration(a1, a2, a3, ox, oy, orad);
    bool enclosing = EnclosingTangentCircleIteration(a1, a2, a3, ex, ey, erad);
    if (!outer && !enclosing) return false;
    Pt ref{refX, refY};
    bool takeOuter = outer && (!enclosing ||
                               std::fabs(Dist(ref, {ox, oy}) - orad) < std::fabs(Dist(ref, {ex, ey}) - erad));
    cx = takeOuter ? ox : ex;
    cy = takeOuter ? oy : ey;
    r = takeOuter ? orad : erad;
    return true;
}
