// Small numeric leaf functions with the conventions the geometry, drawing and formula code rely on:
// truncation, angle ranges, moduli, distances, rotations and a quadratic solver. Angles in degrees.
#pragma once

#include "Platform/MacTypes.h"

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kRadiansToDegrees = 57.29577951308232;
constexpr double kTwoPi = 6.283185307179586;

// The integer part of x as a double, 0 for |x| <= 0.5 and for NaN.
double TruncateTowardZero(double x);
double AbsoluteValue(double x);

void SwapShorts(SInt16* a, SInt16* b);
void SwapLongs(SInt32* a, SInt32* b);
void SwapDoubles(double* a, double* b);

// atan2(y, x) in radians, in [0, 2 pi).
double Atan2Positive(double y, double x);
// 1 above 0.1, -1 below -0.1, else 0.
SInt16 SignWithDeadZone(double x);

double DistanceSquared(double x1, double y1, double x2, double y2);
double PointDistance(double x1, double y1, double x2, double y2);
// A when B lies strictly farther from the reference R, else B.
void NearerPoint(double ax, double ay, double bx, double by, double rx, double ry, double* x, double* y);

// Counter-clockwise rotation by the angle whose sine and cosine are given.
void RotateVectorInPlace(double* x, double* y, double s, double c);
void RotateVector(double x, double y, double s, double c, double* outX, double* outY);

// Direction from point 1 to point 2 in degrees, [0, 360).
double DirectionDegrees(double x1, double y1, double x2, double y2);
double VectorLength(double dx, double dy);

// [0, 360): 360 becomes 0.
double NormalizeAngle(double degrees);
// [0, 360]: 360 stays 360, and so does every other positive multiple of 360.
double WrapAngle(double degrees);
// [0, n); a modulus n <= 0 has no range and gives 0.
SInt16 ModuloShort(SInt16 v, SInt16 n);
double ModuloReal(double v, double m);

double AtLeastEpsilon(double x);
void PolarPoint(double cx, double cy, double r, double degrees, double* x, double* y);
// Roots of x^2 + 2 p x + q = 0: 0 without real roots, else 1 with r1 = -p + d, r2 = -p - d.
SInt16 SolveMonicQuadratic(double p, double q, double* r1, double* r2);
// 1 when b lies strictly between 0.9999 a and 1.0001 a.
SInt16 NearlyEqualRelative(double a, double b);
// The box of an arc (left, bottom, right, top): its ends and the quadrant points its run passes.
void ArcExtentBox(double cx, double cy, double r, double startAngle, double endAngle, double box[4]);
