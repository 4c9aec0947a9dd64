// The pure plane constructions of the geometry kernel: no element is read or made here.
// Solution orders and tie rules are fixed: the tools choose among solutions by them.
#include "Model/GeometryKernel.h"

#include "Other/MathPrimitives.h"
#include "Other/Alerts.h"
#include "Model/ElementRecords.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

template <class... T> bool AllFinite(T... v) {
    return (std::isfinite(v) && ...);
}

// Results leave only when they are numbers: on 0 the caller's variables stay as they were.
Boolean Put(double x, double y, double& ox, double& oy) {
    if (!AllFinite(x, y)) return 0;
    ox = x;
    oy = y;
    return 1;
}

Boolean Put(double ax, double ay, double bx, double by, double& xa, double& ya, double& xb, double& yb) {
    if (!AllFinite(ax, ay, bx, by)) return 0;
    xa = ax;
    ya = ay;
    xb = bx;
    yb = by;
    return 1;
}

// Imported files can hold anything: every construction refuses what it cannot measure.
bool ValidLine(const GeoLine& l) {
    return AllFinite(l.x1, l.y1, l.x2, l.y2) && (l.x1 != l.x2 || l.y1 != l.y2);
}

bool ValidCircle(const GeoCircle& c) {
    return AllFinite(c.cx, c.cy, c.r) && c.r > 0;
}

double Clamp1(double v) {
    return std::clamp(v, -1.0, 1.0);
}

// Unit normal (y2 - y1, x1 - x2) / length; false when the line has no length to measure.
bool UnitNormal(const GeoLine& l, double& nx, double& ny) {
    const double len = PointDistance(l.x1, l.y1, l.x2, l.y2);
    if (!(len > 0) || !std::isfinite(len)) return false;
    nx = (l.y2 - l.y1) / len;
    ny = (l.x1 - l.x2) / len;
    return true;
}

GeoLine Shifted(const GeoLine& l, double dx, double dy) {
    return {l.x1 + dx, l.y1 + dy, l.x2 + dx, l.y2 + dy};
}

bool CrossLines(const GeoLine& a, const GeoLine& b, double& x, double& y) {
    return ::IntersectLines(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2, x, y);
}

// The first touching point of a line with a circle, as the candidates' scores measure it.
bool FirstLineCircle(const GeoLine& l, double cx, double cy, double r, double& x, double& y) {
    double xb, yb;
    return IntersectLineCircle(l.x1, l.y1, l.x2, l.y2, cx, cy, r, x, y, xb, yb);
}

bool FirstCircleCircle(double x1, double y1, double r1, double x2, double y2, double r2, double& x,
                       double& y) {
    double xb, yb;
    return IntersectCircles(x1, y1, r1, x2, y2, r2, x, y, xb, yb);
}

// Keeps the best-scoring candidate: the first one found always counts, a later one only when strictly
// better. No sentinel score, so a far pick point can never let a missing candidate win.
struct BestCentre {
    bool found = false;
    double score = 0, x = 0, y = 0;
    void Offer(double s, double cx, double cy) {
        if (!std::isfinite(cx) || !std::isfinite(cy) || std::isnan(s)) return;
        if (!found || s < score) {
            found = true;
            score = s;
            x = cx;
            y = cy;
        }
    }
    Boolean Take(double& cx, double& cy) const {
        if (!found) return 0;
        cx = x;
        cy = y;
        return 1;
    }
};

// An element a circle of radius r is to touch, with the point where the user picked it.
struct Touched {
    const GeoLine* line;
    const GeoCircle* circle;
    double pickX, pickY;
};

bool TouchingPoint(const Touched& t, double ox, double oy, double r, double& x, double& y) {
    if (t.line) return FirstLineCircle(*t.line, ox, oy, r, x, y);
    return FirstCircleCircle(t.circle->cx, t.circle->cy, t.circle->r, ox, oy, r, x, y);
}

// A candidate centre scores by the squared distances of its two touching points from the picks; one
// whose touching point cannot be found is no candidate.
void OfferCentre(BestCentre& best, const Touched& a, const Touched& b, double ox, double oy, double r) {
    double ax, ay, bx, by;
    if (!TouchingPoint(a, ox, oy, r, ax, ay) || !TouchingPoint(b, ox, oy, r, bx, by)) return;
    best.Offer(DistanceSquared(a.pickX, a.pickY, ax, ay) + DistanceSquared(b.pickX, b.pickY, bx, by), ox, oy);
}

bool TouchesLine(const GeoLine& l, double cx, double cy, double r, double tolerance) {
    double nx, ny;
    if (!UnitNormal(l, nx, ny)) return false;
    const double dist = std::fabs((cx - l.x1) * nx + (cy - l.y1) * ny);
    return std::fabs(dist - r) <= tolerance;
}

} // namespace

Boolean IntersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                       double& x, double& y) {
    if (!AllFinite(x1, y1, x2, y2, x3, y3, x4, y4)) return 0;
    const double det = (y2 - y1) * (x4 - x3) - (x2 - x1) * (y4 - y3);
    const double num = (y3 - y1) * (x4 - x3) + (x1 - x3) * (y4 - y3);
    // Coordinates near the limit of a double overflow here; such lines have no crossing to give.
    if (!AllFinite(det, num)) return 0;
    if (!(std::fabs(det) >= 1e-10)) return 0;
    const double t = num / det;
    if (!(std::fabs(t) <= 1e10)) return 0;
    if (std::fabs(num) < 1e-9 && std::fabs(det) < 1e-9) return 0;
    const double rx = x1 + t * (x2 - x1), ry = y1 + t * (y2 - y1);
    return Put(rx, ry, x, y);
}

Boolean IntersectLineWithSegment(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                 double y4, double& x, double& y) {
    double sx, sy;
    if (!IntersectLines(x1, y1, x2, y2, x3, y3, x4, y4, sx, sy)) return 0;
    const double len2 = DistanceSquared(x3, y3, x4, y4);
    if (DistanceSquared(sx, sy, x3, y3) > len2 || DistanceSquared(sx, sy, x4, y4) > len2) return 0;
    x = sx;
    y = sy;
    return 1;
}

Boolean IntersectLineCircle(double x1, double y1, double x2, double y2, double cx, double cy, double r,
                            double& xa, double& ya, double& xb, double& yb) {
    if (!AllFinite(x1, y1, x2, y2, cx, cy, r) || !(r > 0)) return 0;
    const double dx = x1 - cx, dy = y1 - cy;
    const double ex = x2 - x1, ey = y2 - y1;
    const double ee = ex * ex + ey * ey;
    if (!(ee > 0) || !std::isfinite(ee)) return 0;
    const double p = (dx * ex + dy * ey) / ee;
    // A line that just misses still counts as touching: the radius grows by 1 % up to ten times.
    double rk = r;
    for (int attempt = 0; attempt <= 10; ++attempt, rk *= 1.01) {
        const double q = (dx * dx + dy * dy - rk * rk) / ee;
        double disc = p * p - q;
        if (std::fabs(disc) < 1e-10) disc = 0;
        if (!(disc >= 0)) continue;
        const double s = std::sqrt(disc);
        const double ax = x1 + (s - p) * ex, ay = y1 + (s - p) * ey;
        const double bx = x1 + (-p - s) * ex, by = y1 + (-p - s) * ey;
        return Put(ax, ay, bx, by, xa, ya, xb, yb);
    }
    return 0;
}

Boolean IntersectLineWithCircleArray(double x1, double y1, double x2, double y2, const double* circle,
                                     double& xa, double& ya, double& xb, double& yb) {
    if (!circle) return 0;
    return IntersectLineCircle(x1, y1, x2, y2, circle[1], circle[2], circle[3], xa, ya, xb, yb);
}

Boolean IntersectCircles(double x1, double y1, double r1, double x2, double y2, double r2, double& xa,
                         double& ya, double& xb, double& yb) {
    if (!AllFinite(x1, y1, r1, x2, y2, r2) || !(r1 > 0) || !(r2 > 0)) return 0;
    // The smaller circle is circle 1, so the answer does not depend on the order given.
    if (r1 > r2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
        std::swap(r1, r2);
    }
    const double dx = x2 - x1, dy = y2 - y1;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double dd = d * d;
    if (!(d > 0) || !std::isfinite(dd)) return 0;
    // Touching circles miss by rounding: retry with the radii grown by a millionth.
    const double k = 1.000001;
    const double radii[4][2] = {{r1, r2}, {r1 * k, r2}, {r1, r2 * k}, {r1 * k, r2 * k * k}};
    for (const auto& rr : radii) {
        const double ra = rr[0], rb = rr[1];
        if (!(std::fabs(ra - rb) < d && d < ra + rb)) continue;
        const double a = (ra * ra + dd - rb * rb) / 2;
        const double mx = x1 + (a / dd) * dx, my = y1 + (a / dd) * dy;
        const double aq = a / ra;
        const double h = std::sqrt(std::max(0.0, dd - aq * aq)) * ra / dd;
        const double ax = mx - h * dy, ay = my + h * dx;
        const double bx = mx + h * dy, by = my - h * dx;
        return Put(ax, ay, bx, by, xa, ya, xb, yb);
    }
    return 0;
}

Boolean PerpendicularFoot(double x1, double y1, double x2, double y2, double px, double py, double& x,
                          double& y) {
    return IntersectLines(x1, y1, x2, y2, px, py, px + (y2 - y1), py + (x1 - x2), x, y);
}

Boolean PerpendicularFromPoint(const GeoLine& l, double px, double py, double& sx, double& sy, double& ex,
                               double& ey) {
    if (!ValidLine(l) || !AllFinite(px, py)) return 0;
    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    const double t = ((px - l.x1) * dx + (py - l.y1) * dy) / (dx * dx + dy * dy);
    return Put(px, py, l.x1 + t * dx, l.y1 + t * dy, sx, sy, ex, ey);
}

Boolean ParallelLineThroughPoint(const GeoLine& l, double px, double py, double& sx, double& sy, double& ex,
                                 double& ey) {
    double nx, ny;
    if (!ValidLine(l) || !AllFinite(px, py) || !UnitNormal(l, nx, ny)) return 0;
    const double off = (px - l.x1) * nx + (py - l.y1) * ny;
    const GeoLine m = Shifted(l, off * nx, off * ny);
    return Put(m.x1, m.y1, m.x2, m.y2, sx, sy, ex, ey);
}

Boolean ParallelLineAtDistance(const GeoLine& l, double distance, double px, double py, double& sx,
                               double& sy, double& ex, double& ey) {
    double fx, fy;
    if (!ValidLine(l) || !std::isfinite(distance)) return 0;
    if (!PerpendicularFoot(l.x1, l.y1, l.x2, l.y2, px, py, fx, fy)) return 0;
    // A side point on the line itself names no side.
    const double len = PointDistance(fx, fy, px, py);
    if (!(len > 0)) return 0;
    const double ux = (px - fx) / len, uy = (py - fy) / len;
    const GeoLine m = Shifted(l, distance * ux, distance * uy);
    return Put(m.x1, m.y1, m.x2, m.y2, sx, sy, ex, ey);
}

Boolean PolarLine(double x, double y, double angle, double length, double& sx, double& sy, double& ex,
                  double& ey) {
    if (!AllFinite(x, y, angle, length)) return 0;
    double px, py;
    PolarPoint(x, y, length, angle, &px, &py);
    return Put(x, y, px, py, sx, sy, ex, ey);
}

Boolean TangentPointToCircle(double pickX, double pickY, double px, double py, const GeoCircle& c, double& sx,
                             double& sy, double& ex, double& ey) {
    if (!ValidCircle(c) || !AllFinite(pickX, pickY, px, py)) return 0;
    const double d = PointDistance(px, py, c.cx, c.cy);
    if (d <= 1.001 * c.r) {
        ShowErrorStr128(kPointInsideCircleMessage);
        return 0;
    }
    double ax, ay, bx, by;
    if (!IntersectCircles(0, 0, c.r, px - c.cx, py - c.cy, std::sqrt(d * d - c.r * c.r), ax, ay, bx, by))
        return 0;
    ax += c.cx;
    ay += c.cy;
    bx += c.cx;
    by += c.cy;
    const bool second = DistanceSquared(ax, ay, pickX, pickY) > DistanceSquared(bx, by, pickX, pickY);
    sx = px;
    sy = py;
    ex = second ? bx : ax;
    ey = second ? by : ay;
    return 1;
}

Boolean TangentLineToTwoCircles(const GeoCircle& c1, const GeoCircle& c2, double pick1X, double pick1Y,
                                double pick2X, double pick2Y, double& x1, double& y1, double& x2,
                                double& y2) {
    if (!ValidCircle(c1) || !ValidCircle(c2) || !AllFinite(pick1X, pick1Y, pick2X, pick2Y)) return 0;
    GeoCircle a = c1, b = c2;
    double pax = pick1X, pay = pick1Y, pbx = pick2X, pby = pick2Y;
    if (a.cx > b.cx || (a.cx == b.cx && a.cy > b.cy)) {
        std::swap(a, b);
        std::swap(pax, pbx);
        std::swap(pay, pby);
    }
    const double d = PointDistance(a.cx, a.cy, b.cx, b.cy);
    if (!std::isfinite(d)) return 0;
    if (a.r + b.r > d) {
        double t1, t2, t3, t4;
        if (!IntersectCircles(a.cx, a.cy, a.r, b.cx, b.cy, b.r, t1, t2, t3, t4)) {
            ShowErrorStr128(kCircleInsideCircleMessage);
            return 0;
        }
    }
    struct Candidate {
        bool exists;
        double ax, ay, bx, by;
    } cand[4] = {};
    if (d > a.r + b.r) {
        const double g = std::asin(Clamp1((a.r + b.r) / d));
        const double f = Atan2Positive(b.cy - a.cy, b.cx - a.cx);
        const double m = f - g, p = f + g;
        cand[0] = {true, a.cx - a.r * std::sin(m), a.cy + a.r * std::cos(m), b.cx + b.r * std::sin(m),
                   b.cy - b.r * std::cos(m)};
        cand[1] = {true, a.cx + a.r * std::sin(p), a.cy - a.r * std::cos(p), b.cx - b.r * std::sin(p),
                   b.cy + b.r * std::cos(p)};
    }
    // Circles that nearly touch inside let the ratio pass 1 by rounding.
    const double al = std::asin(Clamp1((b.r - a.r) / d));
    const double be = std::asin(Clamp1((b.cy - a.cy) / d));
    const double t1 = al + be, t2 = al - be;
    cand[2] = {true, a.cx - a.r * std::sin(t1), a.cy + a.r * std::cos(t1), b.cx - b.r * std::sin(t1),
               b.cy + b.r * std::cos(t1)};
    cand[3] = {true, a.cx - a.r * std::sin(t2), a.cy - a.r * std::cos(t2), b.cx - b.r * std::sin(t2),
               b.cy - b.r * std::cos(t2)};

    int best = -1;
    double bestScore = 0;
    for (int i = 0; i < 4; ++i) {
        const Candidate& c = cand[i];
        if (!c.exists || !AllFinite(c.ax, c.ay, c.bx, c.by)) continue;
        const double score = PointDistance(pax, pay, c.ax, c.ay) + PointDistance(pbx, pby, c.bx, c.by);
        if (best < 0 || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (best < 0) return 0;
    return Put(cand[best].ax, cand[best].ay, cand[best].bx, cand[best].by, x1, y1, x2, y2);
}

Boolean TangentLineAtAngleEnds(const GeoCircle& c, double angle, double length, double pickX, double pickY,
                               double& sx, double& sy, double& ex, double& ey) {
    if (!ValidCircle(c) || !AllFinite(angle, length, pickX, pickY)) return 0;
    // Stepping by 180 from a huge angle would never end; fmod gets it near first, exactly.
    if (std::fabs(angle) > 360.0 * 1024) angle = std::fmod(angle, 360.0);
    while (angle >= 180)
        angle -= 180;
    while (angle < 0)
        angle += 180;
    double ax, ay, bx, by;
    PolarPoint(c.cx, c.cy, c.r, angle + 90, &ax, &ay);
    PolarPoint(c.cx, c.cy, c.r, angle - 90, &bx, &by);
    const bool second = DistanceSquared(bx, by, pickX, pickY) < DistanceSquared(ax, ay, pickX, pickY);
    const double tx = second ? bx : ax, ty = second ? by : ay;
    double px, py;
    PolarPoint(tx, ty, length, angle, &px, &py);
    return Put(tx, ty, px, py, sx, sy, ex, ey);
}

Boolean CircleThroughThreePoints(double x1, double y1, double x2, double y2, double x3, double y3, double& cx,
                                 double& cy, double& r) {
    if (!AllFinite(x1, y1, x2, y2, x3, y3)) return 0;
    const double det = (x2 - x3) * (y2 - y1) - (y3 - y2) * (x1 - x2);
    if (!(std::fabs(det) >= 0.0001)) {
        ShowErrorStr128(kCollinearPointsMessage);
        return 0;
    }
    // The crossing of the perpendicular bisectors of P1P2 and P2P3, taken relative to P1.
    const double ux = x2 - x1, uy = y2 - y1;
    const double vx = x3 - x2, vy = y3 - y2;
    const double wx = x3 - x1, wy = y3 - y1;
    const double bu = (ux * ux + uy * uy) / 2;
    const double bv = ((ux + wx) * vx + (uy + wy) * vy) / 2;
    const double ox = (bu * vy - uy * bv) / det, oy = (ux * bv - bu * vx) / det;
    const double rr = std::sqrt(ox * ox + oy * oy);
    if (!AllFinite(ox, oy, rr) || !(rr > 0) || !Put(x1 + ox, y1 + oy, cx, cy)) return 0;
    r = rr;
    return 1;
}

Boolean CircleBetweenParallelLines(const GeoLine& l1, const GeoLine& l2, const GeoLine& l3, double& cx,
                                   double& cy, double& r, double pickX, double pickY) {
    if (!ValidLine(l1) || !ValidLine(l2) || !ValidLine(l3) || !AllFinite(pickX, pickY)) return 0;
    double f1x, f1y, f2x, f2y, nx, ny;
    if (!PerpendicularFoot(l1.x1, l1.y1, l1.x2, l1.y2, 0, 0, f1x, f1y)) return 0;
    if (!PerpendicularFoot(l2.x1, l2.y1, l2.x2, l2.y2, 0, 0, f2x, f2y)) return 0;
    if (!UnitNormal(l3, nx, ny)) return 0;
    const double rr = PointDistance(f1x, f1y, f2x, f2y) / 2;
    if (!(rr > 0) || !std::isfinite(rr)) return 0; // coincident lines hold no circle
    const double mx = (f1x + f2x) / 2, my = (f1y + f2y) / 2;
    const GeoLine mid{mx, my, mx + (l1.x2 - l1.x1), my + (l1.y2 - l1.y1)};
    double ax, ay, bx, by;
    const bool first = CrossLines(mid, Shifted(l3, -rr * nx, -rr * ny), ax, ay);
    const bool second = CrossLines(mid, Shifted(l3, rr * nx, rr * ny), bx, by);
    if (!first && !second) return 0;
    const bool takeFirst =
        first && (!second || DistanceSquared(ax, ay, pickX, pickY) < DistanceSquared(bx, by, pickX, pickY));
    cx = takeFirst ? ax : bx;
    cy = takeFirst ? ay : by;
    r = rr;
    return 1;
}

Boolean CircleTangentToThreeLines(const GeoLine& l1, const GeoLine& l2, const GeoLine& l3, double& cx,
                                  double& cy, double& r, double pickX, double pickY) {
    if (!ValidLine(l1) || !ValidLine(l2) || !ValidLine(l3) || !AllFinite(pickX, pickY)) return 0;
    double k1x, k1y, k2x, k2y, k3x, k3y;
    const bool f1 = CrossLines(l2, l3, k1x, k1y); // the corner off line 1
    const bool f2 = CrossLines(l1, l3, k2x, k2y);
    const bool f3 = CrossLines(l1, l2, k3x, k3y);
    if (f1 && f2 && f3) {
        const double a = PointDistance(k2x, k2y, k3x, k3y);
        const double b = PointDistance(k1x, k1y, k3x, k3y);
        const double c = PointDistance(k1x, k1y, k2x, k2y);
        const double s = (a + b + c) / 2;
        const double r2 = (s - a) * (s - b) * (s - c) / s;
        // Three lines through one point make no triangle and hold no circle.
        if (!(s > 0) || !(b > 0) || !(r2 > 0) || !std::isfinite(r2)) return 0;
        const double rr = std::sqrt(r2);
        double nx, ny;
        if (!UnitNormal(l2, nx, ny)) return 0;
        // The in-circle touches line 2 at s - a from the corner off line 1.
        const double tx = k1x + (s - a) * (k3x - k1x) / b, ty = k1y + (s - a) * (k3y - k1y) / b;
        // Of the two centres beside that point only one touches all three lines (short of a triangle
        // whose excircle has the same radius): the other is dropped, not offered.
        const double tolerance = 1e-6 * rr + 1e-9 * s;
        BestCentre best;
        for (const double sense : {1.0, -1.0}) {
            const double ox = tx + sense * rr * nx, oy = ty + sense * rr * ny;
            if (!TouchesLine(l1, ox, oy, rr, tolerance) || !TouchesLine(l2, ox, oy, rr, tolerance) ||
                !TouchesLine(l3, ox, oy, rr, tolerance))
                continue;
            best.Offer(DistanceSquared(ox, oy, pickX, pickY), ox, oy);
        }
        if (!best.Take(cx, cy)) return 0;
        r = rr;
        return 1;
    }
    const int parallelPairs = !f1 + !f2 + !f3;
    if (parallelPairs != 1) return 0;
    if (!f1) return CircleBetweenParallelLines(l2, l3, l1, cx, cy, r, pickX, pickY);
    if (!f2) return CircleBetweenParallelLines(l1, l3, l2, cx, cy, r, pickX, pickY);
    return CircleBetweenParallelLines(l1, l2, l3, cx, cy, r, pickX, pickY);
}

Boolean TangentCircleCentreToTwoLines(const GeoLine& l1, double pick1X, double pick1Y, const GeoLine& l2,
                                      double pick2X, double pick2Y, double r, double& cx, double& cy) {
    if (!ValidLine(l1) || !ValidLine(l2) || !AllFinite(pick1X, pick1Y, pick2X, pick2Y, r) || !(r > 0))
        return 0;
    double ix, iy, n1x, n1y, n2x, n2y;
    if (!CrossLines(l1, l2, ix, iy)) return 0;
    if (!UnitNormal(l1, n1x, n1y) || !UnitNormal(l2, n2x, n2y)) return 0;
    const Touched t1{&l1, nullptr, pick1X, pick1Y}, t2{&l2, nullptr, pick2X, pick2Y};
    BestCentre best;
    for (const double s1 : {-1.0, 1.0}) {
        for (const double s2 : {-1.0, 1.0}) {
            double ox, oy;
            if (CrossLines(Shifted(l1, s1 * r * n1x, s1 * r * n1y), Shifted(l2, s2 * r * n2x, s2 * r * n2y),
                           ox, oy))
                OfferCentre(best, t1, t2, ox, oy, r);
        }
    }
    return best.Take(cx, cy);
}

Boolean TangentCircleCentreToLineAndCircle(const GeoLine& line, double pickLX, double pickLY,
                                           const GeoCircle& circle, double pickCX, double pickCY, double r,
                                           double& cx, double& cy) {
    if (!ValidLine(line) || !ValidCircle(circle) || !AllFinite(pickLX, pickLY, pickCX, pickCY, r) || !(r > 0))
        return 0;
    double nx, ny;
    if (!UnitNormal(line, nx, ny)) return 0;
    // |r1 - r|: the new circle may also enclose the given one.
    const double offsets[2] = {circle.r + r, std::fabs(circle.r - r)};
    const Touched tl{&line, nullptr, pickLX, pickLY}, tc{nullptr, &circle, pickCX, pickCY};
    BestCentre best;
    for (const double sense : {-1.0, 1.0}) {
        const GeoLine moved = Shifted(line, sense * r * nx, sense * r * ny);
        for (const double radius : offsets) {
            double p[4];
            if (!IntersectLineCircle(moved.x1, moved.y1, moved.x2, moved.y2, circle.cx, circle.cy, radius,
                                     p[0], p[1], p[2], p[3]))
                continue;
            OfferCentre(best, tl, tc, p[0], p[1], r);
            OfferCentre(best, tl, tc, p[2], p[3], r);
        }
    }
    return best.Take(cx, cy);
}

Boolean TangentCircleCentreToTwoCircleElements(const GeoCircle& c1, double pick1X, double pick1Y,
                                               const GeoCircle& c2, double pick2X, double pick2Y, double r,
                                               double& cx, double& cy) {
    if (!ValidCircle(c1) || !ValidCircle(c2) || !AllFinite(pick1X, pick1Y, pick2X, pick2Y, r) || !(r > 0))
        return 0;
    const double off1[2] = {c1.r + r, std::fabs(c1.r - r)};
    const double off2[2] = {c2.r + r, std::fabs(c2.r - r)};
    const Touched t1{nullptr, &c1, pick1X, pick1Y}, t2{nullptr, &c2, pick2X, pick2Y};
    BestCentre best;
    for (const double r1 : off1) {
        for (const double r2 : off2) {
            double p[4];
            if (!IntersectCircles(c1.cx, c1.cy, r1, c2.cx, c2.cy, r2, p[0], p[1], p[2], p[3])) continue;
            OfferCentre(best, t1, t2, p[0], p[1], r);
            OfferCentre(best, t1, t2, p[2], p[3], r);
        }
    }
    return best.Take(cx, cy);
}

Boolean TangentCircleCentreToLine(const GeoLine& line, double pickX, double pickY, double px, double py,
                                  double r, double& cx, double& cy) {
    if (!ValidLine(line) || !AllFinite(pickX, pickY, px, py, r) || !(r > 0)) return 0;
    double fx, fy;
    if (!PerpendicularFoot(line.x1, line.y1, line.x2, line.y2, px, py, fx, fy)) return 0;
    const double d = PointDistance(px, py, fx, fy);
    if (d < 1e-5) {
        ShowErrorStr128(kPointOnLineMessage);
        return 0;
    }
    const GeoLine moved = Shifted(line, r * (px - fx) / d, r * (py - fy) / d);
    double ax, ay, bx, by;
    if (!IntersectLineCircle(moved.x1, moved.y1, moved.x2, moved.y2, px, py, r, ax, ay, bx, by)) {
        ShowErrorStr128(kNoTouchingCircleMessage);
        return 0;
    }
    const bool second = DistanceSquared(ax, ay, pickX, pickY) > DistanceSquared(bx, by, pickX, pickY);
    cx = second ? bx : ax;
    cy = second ? by : ay;
    return 1;
}

Boolean TangentCircleCentreToCircle(const GeoCircle& c, double pickX, double pickY, double px, double py,
                                    double r, double& cx, double& cy) {
    if (!ValidCircle(c) || !AllFinite(pickX, pickY, px, py, r) || !(r > 0)) return 0;
    double ax, ay, bx, by;
    if (c.r <= PointDistance(c.cx, c.cy, px, py)) {
        bool outer = false, inner = false;
        double ox = 0, oy = 0, ix = 0, iy = 0;
        if (IntersectCircles(c.cx, c.cy, c.r + r, px, py, r, ax, ay, bx, by)) {
            const bool second = DistanceSquared(ax, ay, pickX, pickY) > DistanceSquared(bx, by, pickX, pickY);
            outer = true;
            ox = second ? bx : ax;
            oy = second ? by : ay;
        }
        // The new circle can enclose the given one only when it is the larger.
        if (r > c.r && IntersectCircles(c.cx, c.cy, r - c.r, px, py, r, ax, ay, bx, by)) {
            const bool second = DistanceSquared(bx, by, pickX, pickY) > DistanceSquared(ax, ay, pickX, pickY);
            inner = true;
            ix = second ? bx : ax;
            iy = second ? by : ay;
        }
        if (!outer && !inner) {
            ShowErrorStr128(kNoTouchingCircleMessage);
            return 0;
        }
        bool takeOuter = outer && !inner;
        if (outer && inner) {
            // Each kind is judged by where it touches the given circle; one without a touching point
            // can never win over one that has it.
            double tox, toy, tix, tiy;
            const bool to = FirstCircleCircle(ox, oy, r, c.cx, c.cy, c.r, tox, toy);
            const bool ti = FirstCircleCircle(ix, iy, r, c.cx, c.cy, c.r, tix, tiy);
            if (to && ti)
                takeOuter = DistanceSquared(tix, tiy, pickX, pickY) > DistanceSquared(tox, toy, pickX, pickY);
            else
                takeOuter = to && !ti;
        }
        cx = takeOuter ? ox : ix;
        cy = takeOuter ? oy : iy;
        return 1;
    }
    if (!IntersectCircles(c.cx, c.cy, c.r - r, px, py, r, ax, ay, bx, by)) {
        ShowErrorStr128(kNoCircleInsideMessage);
        return 0;
    }
    const bool second = DistanceSquared(ax, ay, pickX, pickY) > DistanceSquared(bx, by, pickX, pickY);
    cx = second ? bx : ax;
    cy = second ? by : ay;
    return 1;
}

Boolean TangentCircleCentreToTwoCircles(const GeoCircle& c1, const GeoCircle& c2, double r, double& cx,
                                        double& cy, double pickX, double pickY) {
    if (!ValidCircle(c1) || !ValidCircle(c2) || !AllFinite(r, pickX, pickY)) return 0;
    double ax, ay, bx, by;
    if (!IntersectCircles(c1.cx, c1.cy, r - c1.r, c2.cx, c2.cy, r - c2.r, ax, ay, bx, by)) return 0;
    const bool first = DistanceSquared(ax, ay, pickX, pickY) > DistanceSquared(bx, by, pickX, pickY);
    cx = first ? ax : bx;
    cy = first ? ay : by;
    return 1;
}

// The element forms.

GeoLine GeoLineOf(const LineRecord& line) {
    return {line.x1, line.y1, line.x2, line.y2};
}

GeoCircle GeoCircleOf(const ArcRecord& arc) {
    return {arc.cx, arc.cy, arc.radius};
}

Boolean IntersectLineElements(const LineRecord* a, const LineRecord* b, double& x, double& y) {
    if (!a || !b) return 0;
    return CrossLines(GeoLineOf(*a), GeoLineOf(*b), x, y);
}

Boolean IntersectLineWithCircleElement(const LineRecord* line, const ArcRecord* arc, double& xa, double& ya,
                                       double& xb, double& yb) {
    if (!line || !arc) return 0;
    return IntersectLineCircle(line->x1, line->y1, line->x2, line->y2, arc->cx, arc->cy, arc->radius, xa, ya,
                               xb, yb);
}

Boolean IntersectCircleElements(const ArcRecord* a, const ArcRecord* b, double& xa, double& ya, double& xb,
                                double& yb) {
    if (!a || !b) return 0;
    return IntersectCircles(a->cx, a->cy, a->radius, b->cx, b->cy, b->radius, xa, ya, xb, yb);
}

Boolean PerpendicularFromPoint(const LineRecord* line, double px, double py, double& sx, double& sy,
                               double& ex, double& ey) {
    return line && PerpendicularFromPoint(GeoLineOf(*line), px, py, sx, sy, ex, ey);
}

Boolean ParallelLineThroughPoint(const LineRecord* line, double px, double py, double& sx, double& sy,
                                 double& ex, double& ey) {
    return line && ParallelLineThroughPoint(GeoLineOf(*line), px, py, sx, sy, ex, ey);
}

Boolean ParallelLineAtDistance(const LineRecord* line, double distance, double px, double py, double& sx,
                               double& sy, double& ex, double& ey) {
    return line && ParallelLineAtDistance(GeoLineOf(*line), distance, px, py, sx, sy, ex, ey);
}

Boolean TangentPointToCircle(double pickX, double pickY, double px, double py, const ArcRecord* arc,
                             double& sx, double& sy, double& ex, double& ey) {
    return arc && TangentPointToCircle(pickX, pickY, px, py, GeoCircleOf(*arc), sx, sy, ex, ey);
}

Boolean TangentLineToTwoCircles(const ArcRecord* a1, const ArcRecord* a2, double pick1X, double pick1Y,
                                double pick2X, double pick2Y, double& x1, double& y1, double& x2,
                                double& y2) {
    return a1 && a2 &&
           TangentLineToTwoCircles(GeoCircleOf(*a1), GeoCircleOf(*a2), pick1X, pick1Y, pick2X, pick2Y, x1, y1,
                                   x2, y2);
}

Boolean CircleTangentToThreeLines(const LineRecord* l1, const LineRecord* l2, const LineRecord* l3,
                                  double& cx, double& cy, double& r, double pickX, double pickY) {
    return l1 && l2 && l3 &&
           CircleTangentToThreeLines(GeoLineOf(*l1), GeoLineOf(*l2), GeoLineOf(*l3), cx, cy, r, pickX, pickY);
}

Boolean TangentCircleCentreToTwoLines(const LineRecord* l1, double pick1X, double pick1Y,
                                      const LineRecord* l2, double pick2X, double pick2Y, double r,
                                      double& cx, double& cy) {
    return l1 && l2 &&
           TangentCircleCentreToTwoLines(GeoLineOf(*l1), pick1X, pick1Y, GeoLineOf(*l2), pick2X, pick2Y, r,
                                         cx, cy);
}

Boolean TangentCircleCentreToLineAndCircle(const LineRecord* line, double pickLX, double pickLY,
                                           const ArcRecord* arc, double pickCX, double pickCY, double r,
                                           double& cx, double& cy) {
    return line && arc &&
           TangentCircleCentreToLineAndCircle(GeoLineOf(*line), pickLX, pickLY, GeoCircleOf(*arc), pickCX,
                                              pickCY, r, cx, cy);
}

Boolean TangentCircleCentreToTwoCircleElements(const ArcRecord* a1, double pick1X, double pick1Y,
                                               const ArcRecord* a2, double pick2X, double pick2Y, double r,
                                               double& cx, double& cy) {
    return a1 && a2 &&
           TangentCircleCentreToTwoCircleElements(GeoCircleOf(*a1), pick1X, pick1Y, GeoCircleOf(*a2), pick2X,
                                                  pick2Y, r, cx, cy);
}

Boolean TangentCircleCentreToLine(const LineRecord* line, double pickX, double pickY, double px, double py,
                                  double r, double& cx, double& cy) {
    return line && TangentCircleCentreToLine(GeoLineOf(*line), pickX, pickY, px, py, r, cx, cy);
}

Boolean TangentCircleCentreToCircle(const ArcRecord* arc, double pickX, double pickY, double px, double py,
                                    double r, double& cx, double& cy) {
    return arc && TangentCircleCentreToCircle(GeoCircleOf(*arc), pickX, pickY, px, py, r, cx, cy);
}

Boolean TangentCircleCentreToTwoCircles(const ArcRecord* a1, const ArcRecord* a2, double r, double& cx,
                                        double& cy, double pickX, double pickY) {
    return a1 && a2 &&
           TangentCircleCentreToTwoCircles(GeoCircleOf(*a1), GeoCircleOf(*a2), r, cx, cy, pickX, pickY);
}
