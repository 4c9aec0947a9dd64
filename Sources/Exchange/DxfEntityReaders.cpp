// The ENTITIES section of a DXF file: the section loop and the readers of the geometric entities
// (lines, rays, construction lines, circles, arcs, splines, ellipses, polylines with their vertices,
// light-weight polylines, traces, solids and hatches), and the kinds that are noted and dropped.
#include "Exchange/DxfPolylines.h"
#include "Exchange/DxfReaderContext.h"

#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Interface/ProgressWindow.h"
#include "Model/SharedUtilities.h"
#include "Platform/MemoryManager.h"
#include "Tools/AreaOutlines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr Float64 kHatchSpacing = 5.0, kHatchAngle = 45.0;
constexpr SInt16 kSingleHatch = -2;
constexpr SInt16 kGreyFill = 1;
constexpr Float64 kSolidGrey = 21; // the last of the greys: full
constexpr SInt16 kEntitiesLogText = 174;
constexpr UInt16 kPointMark = 2; // the dot of the line-end marks

// The object's pairs; false when it was cut off by the end of the file or holds a value that is no
// number: such an element is not made.
bool ReadWhole(DXFReaderContext& ctx, const DxfObjectOptions& options = {}) {
    return ReadDXFObject(ctx, options) && !ctx.nonFinite;
}

Float64 X(const DXFReaderContext& ctx, SInt16 code) {
    return DxfReal(ctx, code);
}

// The whole of [0, 360).
Float64 Reduced(Float64 degrees) {
    return NormalizeAngle(degrees);
}

void ReadLine(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    AppendLineAtCursor(ctx.doc, X(ctx, 10), X(ctx, 20), X(ctx, 11), X(ctx, 21), false);
}

// A ray runs on beyond its far point, whichever end the line keeps first.
void ReadRay(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    Float64 x = X(ctx, 10), y = X(ctx, 20);
    LineRecord* line = AppendLineAtCursor(ctx.doc, x, y, x + X(ctx, 11), y + X(ctx, 21), false);
    if (line == nullptr) return;
    bool originFirst = line->x1 == x && line->y1 == y;
    line->flags |= originFirst ? kLineOpenEnd : kLineOpenStart;
}

void ReadXLine(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    Float64 x = X(ctx, 10), y = X(ctx, 20);
    DocSettings* s = ctx.doc->settings;
    Boolean saved = s->markNewLines;
    s->markNewLines = true;
    AppendLineAtCursor(ctx.doc, x, y, x + X(ctx, 11), y + X(ctx, 21), false);
    s->markNewLines = saved;
}

bool UsableRadius(DXFReaderContext& ctx, Float64 r, const char* kind) {
    if (r > 0) return true;
    AppendLogCString(ctx.doc, (std::string("DXF-in: ") + kind + " without a radius ignored").c_str());
    return false;
}

void ReadCircle(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx) || !UsableRadius(ctx, X(ctx, 40), "CIRCLE")) return;
    Float64 x = X(ctx, 10);
    if (X(ctx, 230) < -0.5) x = -x;
    AppendArcAtCursor(ctx.doc, x, X(ctx, 20), X(ctx, 40), 0, 360, false);
}

void ReadArc(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx) || !UsableRadius(ctx, X(ctx, 40), "ARC")) return;
    Float64 a = X(ctx, 50), b = X(ctx, 51), x = X(ctx, 10);
    if (!(a == 0 && b == 360)) a = Reduced(a), b = Reduced(b);
    if (X(ctx, 230) < -0.5) {
        x = -x;
        Float64 start = Reduced(180 - b), end = Reduced(180 - a);
        a = start, b = end;
    }
    AppendArcAtCursor(ctx.doc, x, X(ctx, 20), X(ctx, 40), a, b, false);
}

// A B-spline's control points (x, y pairs), knots and weights (empty: all 1).
struct BSpline {
    int degree = 3;
    std::vector<Float64> points, knots, weights;
};

// The knots the drawing's own spline uses over n points: clamped and uniform.
bool ClampedUniform(const BSpline& b) {
    int n = int(b.points.size() / 2), p = b.degree;
    if (p != std::min(3, n - 1) || int(b.knots.size()) != n + p + 1) return false;
    Float64 lo = b.knots[size_t(p)], hi = b.knots[size_t(n)], spans = n - p;
    if (!(hi > lo)) return false;
    for (int i = 0; i < int(b.knots.size()); ++i) {
        Float64 want = lo + (hi - lo) * std::clamp(Float64(i - p), 0.0, spans) / spans;
        if (std::fabs(b.knots[size_t(i)] - want) > 1e-9 * (hi - lo)) return false;
    }
    for (Float64 w : b.weights)
        if (std::fabs(w - b.weights[0]) > 1e-12 * std::fabs(b.weights[0])) return false;
    return true;
}

// The point at parameter t (de Boor in homogeneous coordinates); k is the span: knots[k] <= t < knots[k + 1].
void BSplinePoint(const BSpline& b, int k, Float64 t, Float64* x, Float64* y) {
    int p = b.degree;
    Float64 d[16][3];
    for (int j = 0; j <= p; ++j) {
        size_t i = size_t(j + k - p);
        Float64 w = b.weights.empty() ? 1.0 : b.weights[i];
        d[j][0] = b.points[2 * i] * w, d[j][1] = b.points[2 * i + 1] * w, d[j][2] = w;
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            size_t i = size_t(j + k - p);
            Float64 denom = b.knots[i + size_t(p - r + 1)] - b.knots[i];
            Float64 a = denom > 0 ? (t - b.knots[i]) / denom : 0;
            for (int c = 0; c < 3; ++c)
                d[j][c] = (1 - a) * d[j - 1][c] + a * d[j][c];
        }
    Float64 w = d[p][2] != 0 ? d[p][2] : 1.0;
    *x = d[p][0] / w, *y = d[p][1] / w;
}

// Points along the curve, many to a knot span, every knot among them: the drawing's curve through
// them stays on the B-spline.
std::vector<Float64> BSplineSamples(const BSpline& b) {
    constexpr int kPerSpan = 24, kMostPoints = 4000;
    int n = int(b.points.size() / 2), p = b.degree;
    int spans = 0;
    for (int k = p; k < n; ++k)
        spans += b.knots[size_t(k + 1)] > b.knots[size_t(k)] ? 1 : 0;
    int per = std::clamp(kMostPoints / std::max(spans, 1), 2, kPerSpan);
    std::vector<Float64> xy;
    for (int k = p; k < n; ++k) {
        Float64 t0 = b.knots[size_t(k)], t1 = b.knots[size_t(k + 1)];
        if (!(t1 > t0)) continue;
        for (int s = xy.empty() ? 0 : 1; s <= per; ++s) {
            Float64 x = 0, y = 0;
            // The end of a span is taken from the span itself, so a knot of full multiplicity keeps its
            // corner.
            BSplinePoint(b, k, t0 + (t1 - t0) * s / per, &x, &y);
            xy.push_back(x), xy.push_back(y);
        }
    }
    return xy;
}

// A spline by its control points: the drawing's own spline when the knots are the ones it uses,
// else the drawing's curve through points of the true B-spline. By fit points: the curve through them.
void ReadSpline(DXFReaderContext& ctx) {
    DxfObjectOptions options;
    options.ratio40 = true; // knots
    if (!ReadWhole(ctx, options)) return;
    bool closed = (DxfInt(ctx, 70) & 1) != 0;
    SInt32 fit = std::min({DxfInt(ctx, 74), DxfCount(ctx, kDxf11), DxfCount(ctx, kDxf21)});
    SInt32 control = std::min({DxfInt(ctx, 73), DxfCount(ctx, kDxf10), DxfCount(ctx, kDxf20)});
    if (fit < 1) {
        BSpline b;
        b.degree = DxfSeen(ctx, 71) ? DxfInt(ctx, 71) : 3;
        for (SInt32 k = 0; k < control; ++k)
            b.points.push_back(DxfAt(ctx, kDxf10, k)), b.points.push_back(DxfAt(ctx, kDxf20, k));
        for (SInt32 k = 0; k < DxfCount(ctx, kDxf40); ++k)
            b.knots.push_back(DxfAt(ctx, kDxf40, k));
        if (DxfCount(ctx, kDxf41) == control)
            for (SInt32 k = 0; k < control; ++k)
                b.weights.push_back(DxfAt(ctx, kDxf41, k));
        bool weightsUsable = std::all_of(b.weights.begin(), b.weights.end(), [](Float64 w) { return w > 0; });
        if (!weightsUsable) b.weights.clear();
        bool knotsUsable = b.degree >= 1 && b.degree <= 15 && control > b.degree &&
                           SInt32(b.knots.size()) == control + b.degree + 1 &&
                           std::is_sorted(b.knots.begin(), b.knots.end()) &&
                           b.knots[size_t(control)] > b.knots[size_t(b.degree)];
        if (!knotsUsable) {
            // Knots missing or broken: the clamped uniform ones of the control points.
            AppendLogCString(ctx.doc, "DXF-in: SPLINE without usable knots read as a uniform spline");
            b.degree = std::min<int>(3, control - 1);
            b.knots.clear();
        }
        if (control >= 2 && (b.knots.empty() || ClampedUniform(b))) {
            if (closed) b.points.push_back(b.points[0]), b.points.push_back(b.points[1]);
            MakeDxfPolyline(ctx.doc, b.points, control == 2 ? kPolylineSegments : kPolylineSpline, 0, 0);
            return;
        }
        if (control < 1 || !knotsUsable) return;
        MakeDxfPolyline(ctx.doc, BSplineSamples(b), kPolylineCurve, 0, 0);
        return;
    }
    std::vector<Float64> xy;
    for (SInt32 k = 0; k < fit; ++k)
        xy.push_back(DxfAt(ctx, kDxf11, k)), xy.push_back(DxfAt(ctx, kDxf21, k));
    if (closed) xy.push_back(xy[0]), xy.push_back(xy[1]);
    MakeDxfPolyline(ctx.doc, xy, kPolylineCurve, 0, 0);
}

void ReadEllipse(DXFReaderContext& ctx) {
    DxfObjectOptions options;
    options.ratio40 = true;
    if (!ReadWhole(ctx, options)) return;
    Float64 start = X(ctx, 41) / kDegreesToRadians, end = X(ctx, 42) / kDegreesToRadians;
    Float64 mx = X(ctx, 11), my = X(ctx, 21);
    Float64 a = std::hypot(mx, my), b = X(ctx, 40) * a;
    if (!(a > 0) || !std::isfinite(b)) {
        AppendLogCString(ctx.doc, "DXF-in: ELLIPSE without an axis ignored");
        return;
    }
    Float64 phi = std::atan2(my, mx), c = std::cos(phi), s = std::sin(phi);
    Float64 cx = X(ctx, 10), cy = X(ctx, 20);
    const Float64 corners[4][2] = {{-a, -b}, {a, -b}, {a, b}, {-a, b}};
    std::vector<Float64> xy;
    for (const auto& p : corners)
        xy.push_back(cx + p[0] * c - p[1] * s), xy.push_back(cy + p[0] * s + p[1] * c);
    MakeDxfPolyline(ctx.doc, xy, kPolylineEllipse, start, end);
}

// The circle of a bulge from P to Q: counter-clockwise for a positive bulge, clockwise otherwise,
// turning by 4 atan |bulge|. False for a chord of no length.
bool BulgeCentre(Float64 px, Float64 py, Float64 qx, Float64 qy, Float64 bulge, Float64* cx, Float64* cy,
                 Float64* radius) {
    Float64 dx = qx - px, dy = qy - py, chord = std::hypot(dx, dy);
    if (!(chord > 0)) return false;
    Float64 theta = 4 * std::atan(std::fabs(bulge));
    Float64 r = chord / (2 * std::sin(theta / 2));
    if (!std::isfinite(r) || r <= 0) return false;
    // From the chord's midpoint to the centre: left of P->Q for a counter-clockwise arc of less than
    // half a turn, right of it for more.
    Float64 toCentre = r * std::cos(theta / 2);
    Float64 nx = -dy / chord, ny = dx / chord;
    if (bulge < 0) nx = -nx, ny = -ny;
    *cx = (px + qx) / 2 + nx * toCentre, *cy = (py + qy) / 2 + ny * toCentre, *radius = r;
    return true;
}

void AppendBulgeArc(DXFReaderContext& ctx, Float64 px, Float64 py, Float64 qx, Float64 qy, Float64 bulge) {
    Float64 cx = 0, cy = 0, r = 0;
    if (!BulgeCentre(px, py, qx, qy, bulge, &cx, &cy, &r)) return;
    Float64 start = DirectionDegrees(cx, cy, px, py), end = DirectionDegrees(cx, cy, qx, qy);
    if (bulge < 0) std::swap(start, end);
    SeekLastArc(ctx.doc);
    AppendArcAtCursor(ctx.doc, cx, cy, r, Reduced(start), Reduced(end), false);
}

struct Vertex {
    Float64 x, y, bulge;
    SInt32 flags = 0;
};

// R12's smooth polylines: a spline-fit one (flag 4) by its frame (vertices flagged 16) where the
// frame is a cubic, or a quadratic of three points, as the drawing's own spline does; else by its
// fitted vertices (8). A curve-fit one (flag 2) by its own vertices, without those added by the
// fitting (1), as the drawing's curve through them. False for other polylines.
bool MakeSmoothVertices(DXFReaderContext& ctx, const std::vector<Vertex>& v, SInt32 flags, SInt32 curveType) {
    std::vector<Float64> frame, fitted, own;
    for (const Vertex& p : v) {
        std::vector<Float64>& to = (p.flags & 16) ? frame : (p.flags & 8) ? fitted : own;
        if (!(p.flags & 16) && (p.flags & 1)) continue;
        to.push_back(p.x), to.push_back(p.y);
    }
    if ((flags & 4) && frame.size() >= 4) {
        size_t n = frame.size() / 2;
        if (curveType == 6 || (curveType == 5 && n <= 3) || fitted.size() < 4) {
            MakeDxfPolyline(ctx.doc, frame, n == 2 ? kPolylineSegments : kPolylineSpline, 0, 0);
        } else {
            MakeDxfPolyline(ctx.doc, fitted, kPolylineSegments, 0, 0);
        }
        return true;
    }
    if ((flags & 2) && !(flags & 4) && own.size() >= 6) {
        MakeDxfPolyline(ctx.doc, own, kPolylineCurve, 0, 0);
        return true;
    }
    return false;
}

void MakeVertexElements(DXFReaderContext& ctx, const std::vector<Vertex>& v, bool curve) {
    bool bulges = false;
    for (const Vertex& p : v)
        bulges = bulges || p.bulge != 0;
    if (bulges) {
        for (size_t i = 0; i + 1 < v.size(); ++i) {
            if (v[i].bulge == 0)
                AppendLineAtCursor(ctx.doc, v[i].x, v[i].y, v[i + 1].x, v[i + 1].y, false);
            else
                AppendBulgeArc(ctx, v[i].x, v[i].y, v[i + 1].x, v[i + 1].y, v[i].bulge);
        }
        return;
    }
    if (v.size() == 2) {
        AppendLineAtCursor(ctx.doc, v[0].x, v[0].y, v[1].x, v[1].y, false);
        return;
    }
    std::vector<Float64> xy;
    for (const Vertex& p : v)
        xy.push_back(p.x), xy.push_back(p.y);
    MakeDxfPolyline(ctx.doc, xy, curve ? kPolylineCurve : kPolylineSegments, 0, 0);
}

// POLYLINE, its VERTEX objects and SEQEND. Any other object ends the vertices (a file that lost its
// SEQEND) and is handed back to the section loop.
void ReadPolyline(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    SInt32 flags = DxfInt(ctx, 70), curveType = DxfInt(ctx, 75);
    bool closed = (flags & 1) != 0, curve = (flags & 4) != 0, failed = false;
    std::vector<Vertex> vertices;
    Str255 name;
    while (!ctx.atEOF && ReadDxfLine(ctx, name)) {
        if (UpperEquals(name, "VERTEX")) {
            bool whole = ReadWhole(ctx);
            curve = (DxfInt(ctx, 70) & 8) != 0;
            if (!whole || failed) continue;
            Vertex p{X(ctx, 10), X(ctx, 20), X(ctx, 42), DxfInt(ctx, 70)};
            if (!vertices.empty() && vertices.back().x == p.x && vertices.back().y == p.y &&
                vertices.back().flags == p.flags)
                continue;
            try {
                vertices.push_back(p);
            } catch (const std::bad_alloc&) {
                failed = true; // the vertices so far are used
            }
        } else if (UpperEquals(name, "SEQEND")) {
            SkipDxfObject(ctx);
            break;
        } else {
            std::memcpy(ctx.pendingName, name, size_t(name[0]) + 1);
            ctx.hasPending = true;
            break;
        }
    }
    if (closed && !vertices.empty() && !failed) {
        Vertex first = vertices.front();
        try {
            vertices.push_back(first);
        } catch (const std::bad_alloc&) {
        }
    }
    if (!vertices.empty() && !MakeSmoothVertices(ctx, vertices, flags, curveType))
        MakeVertexElements(ctx, vertices, curve);
}

// Lines and bulge arcs only: a light-weight polyline never becomes a polyline element.
void ReadLWPolyline(DXFReaderContext& ctx) {
    DxfObjectOptions options;
    options.vertexBulges = true;
    if (!ReadWhole(ctx, options)) return;
    SInt32 n = std::min({DxfInt(ctx, 90), DxfCount(ctx, kDxf10), DxfCount(ctx, kDxf20)});
    bool closed = (DxfInt(ctx, 70) & 1) != 0;
    SInt32 last = closed ? n - 1 : n - 2;
    for (SInt32 i = 0; i <= last; ++i) {
        SInt32 j = i + 1 == n ? 0 : i + 1;
        Float64 px = DxfAt(ctx, kDxf10, i), py = DxfAt(ctx, kDxf20, i);
        Float64 qx = DxfAt(ctx, kDxf10, j), qy = DxfAt(ctx, kDxf20, j);
        Float64 bulge = i < ctx.bulgeCount ? DxfAt(ctx, kDxf42, i) : 0;
        if (bulge == 0)
            AppendLineAtCursor(ctx.doc, px, py, qx, qy, false);
        else
            AppendBulgeArc(ctx, px, py, qx, qy, bulge);
    }
}

// Corners 1, 2, 4, 3 go round the quadrilateral; a triangle repeats its third corner as the fourth.
void ReadSolid(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    Float64 x4 = DxfSeen(ctx, 13) ? X(ctx, 13) : X(ctx, 12);
    Float64 y4 = DxfSeen(ctx, 23) ? X(ctx, 23) : X(ctx, 22);
    std::vector<Float64> xy = {X(ctx, 10), X(ctx, 20), X(ctx, 11), X(ctx, 21), x4,
                               y4,         X(ctx, 12), X(ctx, 22), X(ctx, 10), X(ctx, 20)};
    MakeDxfPolyline(ctx.doc, xy, kPolylineSegments, 0, 0);
}

// One boundary path of edges into the outline being built: lines and circular arcs; elliptic arcs
// add nothing; a spline edge gives up the path (the edges after it cannot be told apart).
bool BuildEdgePath(DXFReaderContext& ctx, bool* circle) {
    DocWindowRecord* doc = ctx.doc;
    DiscardOutline(doc);
    *circle = false;
    SInt32 edges = DxfCount(ctx, kDxf72);
    if (edges < 1) return false;
    SInt32 firstType = SInt32(DxfAt(ctx, kDxf72, 0));
    if (edges == 1 && firstType != 2 && firstType != 4) return false;
    SInt32 j = 0, m = 0, r = 0, a = 0, ccwIndex = 0;
    auto has = [&](DxfArray array, SInt32 i) { return i < DxfCount(ctx, array); };
    for (SInt32 k = 0; k < edges; ++k) {
        SInt32 type = SInt32(DxfAt(ctx, kDxf72, k));
        if (type == 1) {
            if (has(kDxf10, j) && has(kDxf20, j))
                AppendOutlinePoint(doc, DxfAt(ctx, kDxf10, j), DxfAt(ctx, kDxf20, j));
            if (has(kDxf11, m) && has(kDxf21, m))
                AppendOutlinePoint(doc, DxfAt(ctx, kDxf11, m), DxfAt(ctx, kDxf21, m));
            ++j, ++m;
        } else if (type == 2) {
            if (!has(kDxf10, j) || !has(kDxf20, j) || !has(kDxf40, r)) return false;
            Float64 cx = DxfAt(ctx, kDxf10, j), cy = DxfAt(ctx, kDxf20, j), radius = DxfAt(ctx, kDxf40, r);
            bool ccw = has(kDxf73, ccwIndex) && DxfAt(ctx, kDxf73, ccwIndex) != 0;
            Float64 s = has(kDxf50, a) ? DxfAt(ctx, kDxf50, a) : 0,
                    e = has(kDxf51, a) ? DxfAt(ctx, kDxf51, a) : 360;
            ++j, ++r, ++a, ++ccwIndex;
            if (edges == 1) {
                *circle = SetEllipseOutline(doc, cx, cy, radius, radius);
                return *circle;
            }
            if (!ccw) s = 360 - s, e = 360 - e;
            Float64 sr = s * kDegreesToRadians, er = e * kDegreesToRadians;
            AppendArcBetweenPoints(doc, cx, cy, radius, cx + radius * std::cos(sr),
                                   cy + radius * std::sin(sr), cx + radius * std::cos(er),
                                   cy + radius * std::sin(er), ccw);
        } else if (type == 3) {
            ++j, ++m, ++r, ++a, ++ccwIndex;
        } else {
            return false;
        }
    }
    SInt16 count = OutlinePointCount(doc);
    Handle outline = doc->drawing->toolInput.outlineBlock;
    if (count < 1 || outline == nullptr) return false;
    const Float64* p = OutlinePoints(outline);
    if (p[2 * (count - 1)] != p[0] || p[2 * (count - 1) + 1] != p[1]) AppendOutlinePoint(doc, p[0], p[1]);
    return OutlinePointCount(doc) > 3;
}

// A boundary path given as a polyline: its vertices (code 93 of them) with their bulges, closed
// whether or not the path says so.
bool BuildPolylinePath(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    DiscardOutline(doc);
    SInt32 n = std::min({DxfInt(ctx, 93), DxfCount(ctx, kDxf10), DxfCount(ctx, kDxf20)});
    if (n < 2) return false;
    bool atLastEnd = false;
    for (SInt32 i = 0; i < n; ++i) {
        Float64 px = DxfAt(ctx, kDxf10, i), py = DxfAt(ctx, kDxf20, i);
        SInt32 j = i + 1 == n ? 0 : i + 1;
        Float64 qx = DxfAt(ctx, kDxf10, j), qy = DxfAt(ctx, kDxf20, j);
        Float64 bulge = i < ctx.bulgeCount ? DxfAt(ctx, kDxf42, i) : 0;
        // An arc gives its own start and end; the next vertex is then on the outline already.
        if (!atLastEnd) AppendOutlinePoint(doc, px, py);
        Float64 cx = 0, cy = 0, r = 0;
        atLastEnd = bulge != 0 && BulgeCentre(px, py, qx, qy, bulge, &cx, &cy, &r) &&
                    AppendArcBetweenPoints(doc, cx, cy, r, px, py, qx, qy, bulge > 0);
    }
    SInt16 count = OutlinePointCount(doc);
    Handle outline = doc->drawing->toolInput.outlineBlock;
    if (count < 1 || outline == nullptr) return false;
    const Float64* p = OutlinePoints(outline);
    if (p[2 * (count - 1)] != p[0] || p[2 * (count - 1) + 1] != p[1]) AppendOutlinePoint(doc, p[0], p[1]);
    return OutlinePointCount(doc) > 3;
}

// Hatch boundaries made of edges or polylines. The outer boundary is the first external path (flag
// bit 0), else the first outermost one (bit 4), else the first; the other paths are holes, filled by
// parity, so an island in a hole is filled again. The style "outer" keeps the islands no deeper than
// the outermost paths, the style "ignore" the external paths alone. A solid fill stays solid; a
// pattern becomes single hatching at the angle of its first line.
void ReadHatch(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    DxfObjectOptions options;
    options.stopCode = 91;
    if (ReadDXFObject(ctx, options) || ctx.atEOF) {
        ++ctx.notRead["HATCH"];
        return;
    }
    bool bad = ctx.nonFinite, solid = (DxfInt(ctx, 70) & 1) != 0;
    DocSettings* s = doc->settings;
    RGBColor colour = s->currentColor;
    SInt16 pen = s->currentPen;
    EmptyOutlineContours(doc);
    options.stopCode = 92;
    options.vertexBulges = true;
    bool more = !ReadDXFObject(ctx, options) && !ctx.atEOF;
    std::vector<SInt32> pathFlags; // by contour
    while (more) {
        SInt32 flags = DxfInt(ctx, 92);
        bool ended = ReadDXFObject(ctx, options);
        more = !ended && !ctx.atEOF;
        bad = bad || ctx.nonFinite || (!ended && ctx.atEOF);
        bool circle = false;
        bool built = (flags & 2) != 0 ? BuildPolylinePath(ctx) : BuildEdgePath(ctx, &circle);
        if (!built) {
            DiscardOutline(doc);
            continue;
        }
        if (PushOutlineContour(doc)) pathFlags.push_back(flags);
    }
    // The style and pattern come after the paths, so the last read holds them.
    Float64 angle = DxfSeen(ctx, 53) ? NormalizeAngle(X(ctx, 53)) : kHatchAngle;
    ToolInputState& t = doc->drawing->toolInput;
    auto any = [&](SInt32 bits) {
        return std::any_of(pathFlags.begin(), pathFlags.end(), [&](SInt32 f) { return (f & bits) != 0; });
    };
    SInt32 style = DxfInt(ctx, 75), keep = 0;
    if (style == 2 && any(1))
        keep = 1;
    else if (style == 1 && any(16))
        keep = 1 | 16;
    if (keep != 0) {
        SInt16 kept = 0;
        for (size_t i = 0; i < pathFlags.size(); ++i) {
            if ((pathFlags[i] & keep) == 0) {
                DisposeHandle(t.outlineContours[i]);
                t.outlineContours[i] = nullptr;
                continue;
            }
            std::swap(t.outlineContours[kept], t.outlineContours[i]);
            pathFlags[size_t(kept++)] = pathFlags[i];
        }
        pathFlags.resize(size_t(kept));
        t.outlineContourCount = kept;
    }
    SInt16 external = -1, outermost = -1;
    for (size_t i = pathFlags.size(); i-- > 0;) {
        if ((pathFlags[i] & 1) != 0) external = SInt16(i);
        if ((pathFlags[i] & 16) != 0) outermost = SInt16(i);
    }
    SInt16 boundary = external >= 0 ? external : outermost >= 0 ? outermost : pathFlags.empty() ? -1 : 0;
    if (!bad && boundary >= 0) {
        std::swap(t.outlineContours[0], t.outlineContours[boundary]);
        s->currentColor = colour;
        s->currentPen = pen;
        SeekLastArea(doc);
        if (solid)
            CreateAreaElement(doc, kSolidGrey, 0, kGreyFill, false);
        else
            CreateAreaElement(doc, kHatchSpacing, angle, kSingleHatch, false);
    } else if (!bad) {
        ++ctx.notRead["HATCH"]; // no boundary the drawing can use
    }
    EmptyOutlineContours(doc);
}

// A point: a line of no length with a dot at its end, the drawing's nearest to a point marker.
void ReadPoint(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    LineRecord* line = AppendLineAtCursor(ctx.doc, X(ctx, 10), X(ctx, 20), X(ctx, 10), X(ctx, 20), false);
    if (line) line->flags = SetLineEndMarkKind(line->flags, kPointMark);
}

} // namespace

Boolean DxfColourForNumber(const DXFReaderContext& ctx, SInt32 number, RGBColor* colour, SInt16* pen) {
    if (number < 1 || number > 255) return false;
    *colour = ctx.palette[number];
    *pen = SInt16(number >= 9 ? number % 8 + 1 : number);
    return true;
}

Boolean ReadDXFGeometricEntity(DXFReaderContext& ctx, ConstStr255Param name) {
    if (UpperEquals(name, "LINE"))
        ReadLine(ctx);
    else if (UpperEquals(name, "RAY"))
        ReadRay(ctx);
    else if (UpperEquals(name, "XLINE"))
        ReadXLine(ctx);
    else if (UpperEquals(name, "CIRCLE"))
        ReadCircle(ctx);
    else if (UpperEquals(name, "ARC"))
        ReadArc(ctx);
    else if (UpperEquals(name, "SPLINE"))
        ReadSpline(ctx);
    else if (UpperEquals(name, "ELLIPSE"))
        ReadEllipse(ctx);
    else if (UpperEquals(name, "POLYLINE"))
        ReadPolyline(ctx);
    else if (UpperEquals(name, "LWPOLYLINE"))
        ReadLWPolyline(ctx);
    else if (UpperEquals(name, "SOLID") || UpperEquals(name, "TRACE"))
        ReadSolid(ctx);
    else if (UpperEquals(name, "HATCH"))
        ReadHatch(ctx);
    else if (UpperEquals(name, "POINT"))
        ReadPoint(ctx);
    else
        return false;
    return true;
}

Boolean ReadDXFEntities(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    SetProgressText4(reinterpret_cast<const UInt8*>("\010ENTITIES"));
    Str255 text;
    GetStr128(kEntitiesLogText, text);
    AppendLogLine(doc, text);
    SeekLastLine(doc);
    SeekLastArc(doc);
    Str255 name;
    for (;;) {
        if (ctx.hasPending) {
            std::memcpy(name, ctx.pendingName, size_t(ctx.pendingName[0]) + 1);
            ctx.hasPending = false;
        } else if (!ReadDxfLine(ctx, name)) {
            return true;
        }
        if (UpperEquals(name, "ENDSEC")) return true;
        if (UpperEquals(name, "EOF")) {
            ctx.sawEndMark = true;
            return true;
        }
        if (ReadDXFGeometricEntity(ctx, name)) {
        } else if (UpperEquals(name, "LEADER") || UpperEquals(name, "MLINE") || UpperEquals(name, "REGION") ||
                   UpperEquals(name, "SHAPE") || UpperEquals(name, "TOLERANCE")) {
            // The kind's name after a blank, upper-cased.
            Str255 line;
            line[0] = UInt8(name[0] < 255 ? name[0] + 1 : 255);
            line[1] = ' ';
            for (int i = 2; i <= line[0]; ++i)
                line[i] = UInt8(name[i - 1] >= 'a' && name[i - 1] <= 'z' ? name[i - 1] - 32 : name[i - 1]);
            AppendLogLine(doc, line);
            SkipNotReadEntity(ctx, name);
        } else if (UpperEquals(name, "TEXT") || UpperEquals(name, "MTEXT") || UpperEquals(name, "ATTRIB") ||
                   UpperEquals(name, "ATTDEF")) {
            ReadDXFText(ctx, name);
        } else if (UpperEquals(name, "INSERT")) {
            ReadDXFInsert(ctx);
        } else if (UpperEquals(name, "DIMENSION")) {
            ReadDXFDimension(ctx);
        } else if (UpperEquals(name, "SEQEND")) {
            SkipDxfObject(ctx); // the end of attributes after an INSERT
        } else {
            SkipNotReadEntity(ctx, name);
        }
        if (!UpdateImportProgress(ctx)) return false;
        if (ctx.atEOF) return true;
    }
}
