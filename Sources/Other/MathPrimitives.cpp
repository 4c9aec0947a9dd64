// Numeric leaf functions. Angle and modulo reductions use fmod, so values read from files (1e300,
// infinities, NaN) return at once instead of looping.
#include "Other/MathPrimitives.h"

#include <algorithm>
#include <cmath>

double TruncateTowardZero(double x) {
    // Rounding x - 0.5 (x + 0.5 below zero) half away from zero is the integer part of x; trunc gives
    // it without the 32-bit conversion, and + 0.0 keeps a negative zero out.
    if (x > 0.5 || x < -0.5) return std::trunc(x) + 0.0;
    return 0.0;
}

double AbsoluteValue(double x) {
    return x < 0 ? -x : x;
}

void SwapShorts(SInt16* a, SInt16* b) {
    SInt16 t = *a;
    *a = *b;
    *b = t;
}

void SwapLongs(SInt32* a, SInt32* b) {
    SInt32 t = *a;
    *a = *b;
    *b = t;
}

void SwapDoubles(double* a, double* b) {
    double t = *a;
    *a = *b;
    *b = t;
}

double Atan2Positive(double y, double x) {
    double a = std::atan2(y, x);
    if (a < 0) a += kTwoPi;
    return a;
}

SInt16 SignWithDeadZone(double x) {
    if (x > 0.1) return 1;
    if (x < -0.1) return -1;
    return 0;
}

double DistanceSquared(double x1, double y1, double x2, double y2) {
    double dx = x1 - x2, dy = y1 - y2;
    return dx * dx + dy * dy;
}

double PointDistance(double x1, double y1, double x2, double y2) {
    return std::sqrt(DistanceSquared(x1, y1, x2, y2));
}

void NearerPoint(double ax, double ay, double bx, double by, double rx, double ry, double* x, double* y) {
    if (DistanceSquared(bx, by, rx, ry) > DistanceSquared(ax, ay, rx, ry)) {
        *x = ax;
        *y = ay;
    } else {
        *x = bx;
        *y = by;
    }
}

void RotateVectorInPlace(double* x, double* y, double s, double c) {
    double nx = *x * c - *y * s;
    double ny = *x * s + *y * c;
    *x = nx;
    *y = ny;
}

void RotateVector(double x, double y, double s, double c, double* outX, double* outY) {
    *outX = x * c - y * s;
    *outY = x * s + y * c;
}

double DirectionDegrees(double x1, double y1, double x2, double y2) {
    return Atan2Positive(y2 - y1, x2 - x1) / kDegreesToRadians;
}

double VectorLength(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
}

double NormalizeAngle(double degrees) {
    double r = std::fmod(degrees, 360.0);
    if (r < 0) r += 360.0;
    // A tiny negative remainder plus 360 can round up to 360 itself.
    if (r >= 360.0) r = 0.0;
    return r + 0.0;
}

double WrapAngle(double degrees) {
    if (degrees < 0) {
        double r = std::fmod(degrees, 360.0);
        if (r < 0) r += 360.0;
        return r + 0.0;
    }
    if (degrees > 360.0) {
        // Repeated subtraction stops at 360 for a multiple of 360, never at 0.
        double r = std::fmod(degrees, 360.0);
        return r == 0.0 ? 360.0 : r;
    }
    return degrees;
}

SInt16 ModuloShort(SInt16 v, SInt16 n) {
    if (n <= 0) return 0;
    int r = v % n;
    if (r < 0) r += n;
    return SInt16(r);
}

double ModuloReal(double v, double m) {
    if (!(m > 0)) return 0.0;
    double r = std::fmod(v, m);
    if (r < 0) r += m;
    if (r >= m) r = 0.0;
    return r + 0.0;
}

double AtLeastEpsilon(double x) {
    return x >= 1e-15 ? x : 1e-15;
}

void PolarPoint(double cx, double cy, double r, double degrees, double* x, double* y) {
    double a = degrees * kDegreesToRadians;
    *x = cx + r * std::cos(a);
    *y = cy + r * std::sin(a);
}

SInt16 SolveMonicQuadratic(double p, double q, double* r1, double* r2) {
    double disc = p * p - q;
    if (disc < 0) return 0;
    double d = std::sqrt(disc);
    *r1 = -p + d;
    *r2 = -p - d;
    return 1;
}

SInt16 NearlyEqualRelative(double a, double b) {
    return (b > 0.9999 * a && b < 1.0001 * a) ? 1 : 0;
}

void ArcExtentBox(Float64 cx, Float64 cy, Float64 r, Float64 startAngle, Float64 endAngle, Float64 box[4]) {
    Float64 sweep = endAngle - startAngle;
    bool full = sweep >= 360.0;
    if (!full) {
        sweep = std::fmod(sweep, 360.0);
        if (sweep < 0) sweep += 360.0;
    }
    Float64 x, y;
    PolarPoint(cx, cy, r, startAngle, &x, &y);
    box[0] = box[2] = x, box[1] = box[3] = y;
    auto add = [&](Float64 px, Float64 py) {
        box[0] = std::min(box[0], px), box[2] = std::max(box[2], px);
        box[1] = std::min(box[1], py), box[3] = std::max(box[3], py);
    };
    PolarPoint(cx, cy, r, startAngle + sweep, &x, &y);
    add(x, y);
    Float64 start = NormalizeAngle(startAngle);
    for (int q = 0; q < 4; ++q) {
        Float64 a = 90.0 * q;
        Float64 from = a - start;
        if (from < 0) from += 360.0;
        if (full || from <= sweep) {
            PolarPoint(cx, cy, r, a, &x, &y);
            add(x, y);
        }
    }
}
