// Wide solid segments as spans: the coverage of a pixel is how far its centre lies inside the stroke's
// edge, plus half a pixel, which is the area a straight edge covers of a pixel it crosses.
#include "Platform/WideSegments.h"

#include <algorithm>
#include <cmath>

namespace {

// src over dst with coverage a (0..255), both opaque or premultiplied, two channels at a time.
inline std::uint32_t Blend(std::uint32_t src, std::uint32_t dst, std::uint32_t a) {
    const std::uint32_t b = 255 - a;
    std::uint32_t rb = (src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * b;
    rb = (rb + ((rb >> 8) & 0xFF00FFu) + 0x800080u) >> 8;
    std::uint32_t ag = ((src >> 8) & 0xFF00FFu) * a + ((dst >> 8) & 0xFF00FFu) * b;
    ag = ag + ((ag >> 8) & 0xFF00FFu) + 0x800080u;
    return (rb & 0xFF00FFu) | (ag & 0xFF00FF00u);
}

// The x range where a + k x lies in [low, high], intersected into [*from, *to].
void Narrow(double a, double k, double low, double high, double* from, double* to) {
    if (low > high) {
        *from = 1, *to = 0;
        return;
    }
    if (k == 0) {
        if (a < low || a > high) *from = 1, *to = 0;
        return;
    }
    double x1 = (low - a) / k, x2 = (high - a) / k;
    if (x1 > x2) std::swap(x1, x2);
    *from = std::max(*from, x1);
    *to = std::min(*to, x2);
}

} // namespace

void DrawWideSegment(const WideSegmentTarget& target, const WideSegmentPen& pen, double x1, double y1,
                     double x2, double y2) {
    const double hw = pen.halfWidth;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2) || !(hw > 0) ||
        !std::isfinite(hw))
        return;
    const double dx = x2 - x1, dy = y2 - y1, length = std::hypot(dx, dy);
    double ux = 1, uy = 0;
    if (length > 0) {
        ux = dx / length, uy = dy / length;
    } else if (!pen.roundCaps) {
        return;
    }
    const double nx = -uy, ny = ux;
    // Pixels with any coverage have their centres within half a pixel of the stroke: across the
    // segment, and beyond its ends by the cap.
    const double across = hw + 0.5, beyond = (pen.roundCaps ? hw : 0) + 0.5;
    double low = 1e300, high = -1e300;
    for (double side : {-across, across})
        for (double along : {-beyond, length + beyond}) {
            const double y = y1 + uy * along + ny * side;
            low = std::min(low, y), high = std::max(high, y);
        }
    const int firstRow = std::max(target.clipTop, int(std::max(-1.0, std::ceil(low - 0.5))));
    const int lastRow = std::min(target.clipBottom - 1, int(std::min(2e9, std::floor(high - 0.5))));
    const std::uint32_t colour = pen.colour;
    for (int row = firstRow; row <= lastRow; ++row) {
        const double cy = row + 0.5, qy = cy - y1;
        // Along (t) and across (s) of a point on this row: t = tRow + ux x', s = sRow + nx x', with
        // x' its distance from x1.
        const double tRow = qy * uy, sRow = qy * ny;
        double from = -1e300, to = 1e300;
        Narrow(tRow, ux, -beyond, length + beyond, &from, &to);
        Narrow(sRow, nx, -across, across, &from, &to);
        if (!(from <= to)) continue;
        // Wholly covered: inside the straight part by half a pixel each way.
        double fullFrom = -1e300, fullTo = 1e300;
        Narrow(tRow, ux, pen.roundCaps ? 0 : 0.5, pen.roundCaps ? length : length - 0.5, &fullFrom, &fullTo);
        Narrow(sRow, nx, -(hw - 0.5), hw - 0.5, &fullFrom, &fullTo);
        const int first = std::max(target.clipLeft, int(std::max(-1.0, std::ceil(x1 + from - 0.5))));
        const int last = std::min(target.clipRight - 1, int(std::min(2e9, std::floor(x1 + to - 0.5))));
        std::uint32_t* line = target.bits + std::ptrdiff_t(row) * target.pixelsPerRow;
        for (int i = first; i <= last; ++i) {
            const double qx = i + 0.5 - x1;
            if (qx >= fullFrom && qx <= fullTo) {
                line[i] = colour;
                continue;
            }
            const double t = tRow + ux * qx, s = sRow + nx * qx;
            double coverage;
            if (pen.roundCaps) {
                double d = std::fabs(s);
                if (t < 0)
                    d = std::hypot(qx, qy);
                else if (t > length)
                    d = std::hypot(qx - dx, qy - dy);
                coverage = across - d;
            } else {
                coverage = std::clamp(across - std::fabs(s), 0.0, 1.0) *
                           std::clamp(std::min(t, length - t) + 0.5, 0.0, 1.0);
            }
            if (!(coverage > 0)) continue;
            const std::uint32_t a = coverage >= 1 ? 255 : std::uint32_t(coverage * 255 + 0.5);
            if (a == 255)
                line[i] = colour;
            else if (a > 0)
                line[i] = Blend(colour, line[i], a);
        }
    }
}

void DrawWideArc(const WideSegmentTarget& target, const WideSegmentPen& pen, double cx, double cy,
                 double radius, double start, double sweep) {
    const double hw = pen.halfWidth;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(radius) || !std::isfinite(start) ||
        !std::isfinite(sweep) || !(radius > 0) || !(hw > 0) || !std::isfinite(hw))
        return;
    constexpr double kTurn = 6.283185307179586;
    if (sweep < 0) start += sweep, sweep = -sweep;
    const bool circle = sweep >= kTurn;
    const double across = hw + 0.5, outer = radius + across, inner = radius - across;
    const double u0x = std::cos(start), u0y = std::sin(start);
    const double u1x = std::cos(start + sweep), u1y = std::sin(start + sweep);
    const double p0x = radius * u0x, p0y = radius * u0y, p1x = radius * u1x, p1y = radius * u1y;
    // The arc's box about the centre: its ends and the quadrant points it passes, grown by the reach.
    double minX = std::min(p0x, p1x), maxX = std::max(p0x, p1x);
    double minY = std::min(p0y, p1y), maxY = std::max(p0y, p1y);
    for (int q = 0; q < 4; ++q) {
        double a = q * kTurn / 4 - start;
        a -= std::floor(a / kTurn) * kTurn;
        if (circle || a <= sweep) {
            const double x = q == 0   ? radius
                             : q == 2 ? -radius
                                      : 0,
                         y = q == 1   ? radius
                             : q == 3 ? -radius
                                      : 0;
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
            maxY = std::max(maxY, y);
        }
    }
    const double capReach = pen.roundCaps ? across : 0.5;
    minX -= across + capReach, maxX += across + capReach, minY -= across + capReach,
        maxY += across + capReach;
    // Whether a point (relative to the centre) lies in the sweep's wedge.
    auto inWedge = [&](double x, double y) {
        if (circle) return true;
        const double fromStart = u0x * y - u0y * x, toEnd = x * u1y - y * u1x;
        return sweep <= kTurn / 2 ? fromStart >= 0 && toEnd >= 0 : fromStart >= 0 || toEnd >= 0;
    };
    const double nearEnd = (across + 1.5) * (across + 1.5);
    const int firstRow = std::max(target.clipTop, int(std::max(-1.0, std::ceil(cy + minY - 0.5))));
    const int lastRow = std::min(target.clipBottom - 1, int(std::min(2e9, std::floor(cy + maxY - 0.5))));
    const std::uint32_t colour = pen.colour;
    for (int row = firstRow; row <= lastRow; ++row) {
        const double y = row + 0.5 - cy;
        const double outerSq = outer * outer - y * y;
        if (outerSq < 0) continue;
        const double xo = std::sqrt(outerSq);
        const double xi = inner > 0 && std::fabs(y) < inner ? std::sqrt(inner * inner - y * y) : 0;
        std::uint32_t* line = target.bits + std::ptrdiff_t(row) * target.pixelsPerRow;
        for (int side = 0; side < 2; ++side) {
            double from = side == 0 ? -xo : xi, to = side == 0 ? -xi : xo;
            from = std::max(from, minX), to = std::min(to, maxX);
            const int first = std::max(target.clipLeft, int(std::max(-1.0, std::ceil(cx + from - 0.5))));
            const int last = std::min(target.clipRight - 1, int(std::min(2e9, std::floor(cx + to - 0.5))));
            for (int i = first; i <= last; ++i) {
                const double x = i + 0.5 - cx;
                // With no hole the two spans meet at the centre: each pixel once.
                if (side == 1 && xi == 0 && x < 0) continue;
                if (side == 0 && xi == 0 && x >= 0) continue;
                const double d = std::sqrt(x * x + y * y);
                double coverage = across - std::fabs(d - radius);
                const double e0 = (x - p0x) * (x - p0x) + (y - p0y) * (y - p0y);
                const double e1 = (x - p1x) * (x - p1x) + (y - p1y) * (y - p1y);
                if (circle || (e0 > nearEnd && e1 > nearEnd)) {
                    if (!inWedge(x, y)) continue;
                } else if (pen.roundCaps) {
                    if (!inWedge(x, y)) coverage = 0;
                    coverage = std::max({coverage, across - std::sqrt(e0), across - std::sqrt(e1)});
                } else {
                    // Cut square at the end it is near: half a pixel of edge across the end's radius.
                    const double cut = e0 < e1 ? u0x * y - u0y * x : x * u1y - y * u1x;
                    coverage = std::min(coverage, 1.0) * std::clamp(cut + 0.5, 0.0, 1.0);
                }
                if (!(coverage > 0)) continue;
                const std::uint32_t a = coverage >= 1 ? 255 : std::uint32_t(coverage * 255 + 0.5);
                if (a == 255)
                    line[i] = colour;
                else if (a > 0)
                    line[i] = Blend(colour, line[i], a);
            }
        }
    }
}
