// Polyline geometry by kind: smooth kinds as short segments, rounded rectangles and ellipses as their
// sides and arcs.
#include "Model/PolylineGeometry.h"

#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"

#include <algorithm>
#include <cmath>

namespace {

// Segments per span between two points of a smooth kind.
constexpr int kStepsPerSpan = 16;
// More chords than this would only come from a damaged record.
constexpr int kMaxEllipseChords = 4096;

PolylinePiece Segment(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    PolylinePiece p{};
    p.x1 = x1, p.y1 = y1, p.x2 = x2, p.y2 = y2;
    return p;
}

PolylinePiece Arc(Float64 cx, Float64 cy, Float64 r, Float64 start, Float64 end) {
    PolylinePiece p{};
    p.isArc = true;
    p.cx = cx, p.cy = cy, p.radius = r, p.startAngle = start, p.endAngle = end;
    return p;
}

Float64 Reduce(Float64 degrees) {
    Float64 a = std::fmod(degrees, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// Clamped uniform B-spline of degree min(3, n - 1) over the control points.
void BSplinePoints(const Float64* p, int n, std::vector<Float64>* xy) {
    int degree = std::min(3, n - 1);
    int spans = n - degree;
    std::vector<Float64> knots(size_t(n + degree + 1));
    for (int i = 0; i < int(knots.size()); ++i)
        knots[size_t(i)] = std::clamp(Float64(i - degree), 0.0, Float64(spans));
    std::vector<Float64> dx(size_t(degree + 1)), dy(size_t(degree + 1));
    for (int span = 0; span < spans; ++span) {
        int k = span + degree; // knots[k] <= t < knots[k + 1]
        for (int s = (span == 0 ? 0 : 1); s <= kStepsPerSpan; ++s) {
            Float64 t = span + Float64(s) / kStepsPerSpan;
            for (int j = 0; j <= degree; ++j)
                dx[size_t(j)] = p[2 * (j + k - degree)], dy[size_t(j)] = p[2 * (j + k - degree) + 1];
            for (int r = 1; r <= degree; ++r)
                for (int j = degree; j >= r; --j) {
                    int i = j + k - degree;
                    Float64 denom = knots[size_t(i + degree - r + 1)] - knots[size_t(i)];
                    Float64 a = denom > 0 ? (t - knots[size_t(i)]) / denom : 0;
                    dx[size_t(j)] = (1 - a) * dx[size_t(j - 1)] + a * dx[size_t(j)];
                    dy[size_t(j)] = (1 - a) * dy[size_t(j - 1)] + a * dy[size_t(j)];
                }
            xy->push_back(dx[size_t(degree)]);
            xy->push_back(dy[size_t(degree)]);
        }
    }
}

// Second derivatives of the natural cubic spline through v over the parameters t (tridiagonal).
std::vector<Float64> NaturalSplineMoments(const std::vector<Float64>& t, const std::vector<Float64>& v) {
    size_t n = t.size();
    std::vector<Float64> m(n, 0.0), c(n, 0.0), d(n, 0.0);
    for (size_t i = 1; i + 1 < n; ++i) {
        Float64 h0 = t[i] - t[i - 1], h1 = t[i + 1] - t[i];
        Float64 a = h0, b = 2 * (h0 + h1), cc = h1;
        Float64 r = 6 * ((v[i + 1] - v[i]) / h1 - (v[i] - v[i - 1]) / h0);
        Float64 denom = b - a * c[i - 1];
        c[i] = cc / denom;
        d[i] = (r - a * d[i - 1]) / denom;
    }
    for (size_t i = n - 1; i-- > 1;)
        m[i] = d[i] - c[i] * m[i + 1];
    return m;
}

// The distinct points in order and their cumulative chord length.
void ChordParameters(const Float64* p, int n, std::vector<Float64>* t, std::vector<Float64>* x,
                     std::vector<Float64>* y) {
    for (int i = 0; i < n; ++i) {
        Float64 px = p[2 * i], py = p[2 * i + 1];
        if (!x->empty()) {
            Float64 step = std::hypot(px - x->back(), py - y->back());
            if (!(step > 0)) continue; // repeats carry no span
            t->push_back(t->back() + step);
        } else {
            t->push_back(0.0);
        }
        x->push_back(px), y->push_back(py);
    }
}

// The interpolating cubic through the points, over cumulative chord length.
void ChordSplinePoints(const Float64* p, int n, std::vector<Float64>* xy) {
    std::vector<Float64> t, x, y;
    ChordParameters(p, n, &t, &x, &y);
    if (x.size() < 3) {
        for (size_t i = 0; i < x.size(); ++i)
            xy->push_back(x[i]), xy->push_back(y[i]);
        return;
    }
    std::vector<Float64> mx = NaturalSplineMoments(t, x), my = NaturalSplineMoments(t, y);
    xy->push_back(x[0]), xy->push_back(y[0]);
    for (size_t i = 0; i + 1 < x.size(); ++i) {
        Float64 h = t[i + 1] - t[i];
        for (int s = 1; s <= kStepsPerSpan; ++s) {
            Float64 u = h * s / kStepsPerSpan, w = h - u;
            auto at = [&](const std::vector<Float64>& v, const std::vector<Float64>& m) {
                return m[i] * w * w * w / (6 * h) + m[i + 1] * u * u * u / (6 * h) +
                       (v[i] / h - m[i] * h / 6) * w + (v[i + 1] / h - m[i + 1] * h / 6) * u;
            };
            xy->push_back(at(x, mx));
            xy->push_back(at(y, my));
        }
    }
}

void EllipsePieces(const DocWindowRecord* doc, const PolylineRecord* polyline, const Float64* c,
                   std::vector<PolylinePiece>* pieces) {
    Float64 mx = (c[0] + c[2] + c[4] + c[6]) / 4, my = (c[1] + c[3] + c[5] + c[7]) / 4;
    Float64 rotation = std::atan2(c[3] - c[1], c[2] - c[0]);
    Float64 a = std::hypot(c[2] - c[0], c[3] - c[1]) / 2, b = std::hypot(c[4] - c[2], c[5] - c[3]) / 2;
    Float64 start = polyline->params[0], end = polyline->params[1];
    Float64 sweep = end - start;
    if (sweep == 0 || sweep >= 360.0)
        sweep = 360.0;
    else {
        sweep = std::fmod(sweep, 360.0);
        if (sweep < 0) sweep += 360.0;
    }
    if (std::fabs(a - b) <= 1e-9 * std::max(a, b)) {
        Float64 turn = rotation * kRadiansToDegrees;
        if (sweep >= 360.0)
            pieces->push_back(Arc(mx, my, a, 0, 360));
        else
            pieces->push_back(Arc(mx, my, a, Reduce(start + turn), Reduce(start + turn + sweep)));
        return;
    }
    Float64 tol = std::clamp(doc->settings->chordTolerance, 0.001, 10.0);
    Float64 r = std::max(a, b);
    Float64 step = r > tol ? 2 * std::acos(1 - tol / r) : kTwoPi / 8;
    Float64 a0 = start * kDegreesToRadians, a1 = a0 + sweep * kDegreesToRadians;
    int n = std::clamp(int(std::ceil((a1 - a0) / std::max(step, 1e-6))), 4, kMaxEllipseChords);
    Float64 cr = std::cos(rotation), sr = std::sin(rotation);
    Float64 px = 0, py = 0;
    for (int i = 0; i <= n; ++i) {
        Float64 t = a0 + (a1 - a0) * i / n;
        Float64 ex = a * std::cos(t), ey = b * std::sin(t);
        Float64 x = mx + ex * cr - ey * sr, y = my + ex * sr + ey * cr;
        if (i > 0) pieces->push_back(Segment(px, py, x, y));
        px = x, py = y;
    }
}

void AddConnected(const std::vector<Float64>& xy, std::vector<PolylinePiece>* pieces) {
    for (size_t i = 2; i + 1 < xy.size(); i += 2)
        if (xy[i - 2] != xy[i] || xy[i - 1] != xy[i + 1])
            pieces->push_back(Segment(xy[i - 2], xy[i - 1], xy[i], xy[i + 1]));
}

} // namespace

const Float64* PolylinePoints(const PolylineRecord* polyline) {
    if (polyline->points == nullptr || *polyline->points == nullptr || polyline->pointCount <= 0)
        return nullptr;
    if (GetHandleSize(polyline->points) < Size(polyline->pointCount) * 16) return nullptr;
    return reinterpret_cast<const Float64*>(*polyline->points);
}

void SmoothPolylinePoints(const PolylineRecord* polyline, std::vector<Float64>* xy) {
    xy->clear();
    const Float64* p = PolylinePoints(polyline);
    if (p == nullptr) return;
    int n = polyline->pointCount;
    if (n < 3) {
        xy->assign(p, p + 2 * n);
        return;
    }
    if (polyline->kind == kPolylineSpline)
        BSplinePoints(p, n, xy);
    else
        ChordSplinePoints(p, n, xy);
}

void CurveBezierPieces(const PolylineRecord* polyline, std::vector<Float64>* controls,
                       std::vector<Float64>* parameters, Boolean* cubic) {
    controls->clear(), parameters->clear();
    *cubic = false;
    const Float64* p = PolylinePoints(polyline);
    if (p == nullptr) return;
    std::vector<Float64> t, x, y;
    ChordParameters(p, polyline->pointCount, &t, &x, &y);
    *parameters = t;
    if (x.size() < 3) {
        for (size_t i = 0; i < x.size(); ++i)
            controls->push_back(x[i]), controls->push_back(y[i]);
        return;
    }
    *cubic = true;
    std::vector<Float64> mx = NaturalSplineMoments(t, x), my = NaturalSplineMoments(t, y);
    controls->push_back(x[0]), controls->push_back(y[0]);
    for (size_t i = 0; i + 1 < x.size(); ++i) {
        Float64 h = t[i + 1] - t[i];
        // The slopes at both ends of the piece, a third of the way along them.
        auto start = [&](const std::vector<Float64>& v, const std::vector<Float64>& m) {
            return v[i] + h / 3 * ((v[i + 1] - v[i]) / h - h * (2 * m[i] + m[i + 1]) / 6);
        };
        auto end = [&](const std::vector<Float64>& v, const std::vector<Float64>& m) {
            return v[i + 1] - h / 3 * ((v[i + 1] - v[i]) / h + h * (m[i] + 2 * m[i + 1]) / 6);
        };
        controls->push_back(start(x, mx)), controls->push_back(start(y, my));
        controls->push_back(end(x, mx)), controls->push_back(end(y, my));
        controls->push_back(x[i + 1]), controls->push_back(y[i + 1]);
    }
}

void RoundedRectParts(const Float64 corners[8], Float64 radius, Float64 sides[16], Float64 centres[8],
                      Float64* rotation, Float64* usedRadius) {
    Float64 c[8];
    std::copy(corners, corners + 8, c);
    Float64 ux = c[2] - c[0], uy = c[3] - c[1], vx = c[6] - c[0], vy = c[7] - c[1];
    if (ux * vy - uy * vx < 0) { // clockwise corners: walk them the other way round
        std::swap(c[2], c[6]);
        std::swap(c[3], c[7]);
    }
    Float64 w = std::hypot(c[2] - c[0], c[3] - c[1]), h = std::hypot(c[6] - c[0], c[7] - c[1]);
    Float64 r = std::clamp(radius, 0.0, std::min(w, h) / 2);
    *rotation = Reduce(std::atan2(c[3] - c[1], c[2] - c[0]) * kRadiansToDegrees);
    *usedRadius = r;
    for (int k = 0; k < 4; ++k) {
        int next = (k + 1) % 4, prev = (k + 3) % 4;
        Float64 dx = c[2 * next] - c[2 * k], dy = c[2 * next + 1] - c[2 * k + 1];
        Float64 len = std::hypot(dx, dy);
        Float64 ex = len > 0 ? dx / len : 0, ey = len > 0 ? dy / len : 0;
        sides[4 * k] = c[2 * k] + r * ex, sides[4 * k + 1] = c[2 * k + 1] + r * ey;
        sides[4 * k + 2] = c[2 * next] - r * ex, sides[4 * k + 3] = c[2 * next + 1] - r * ey;
        Float64 bx = c[2 * prev] - c[2 * k], by = c[2 * prev + 1] - c[2 * k + 1];
        Float64 blen = std::hypot(bx, by);
        Float64 fx = blen > 0 ? bx / blen : 0, fy = blen > 0 ? by / blen : 0;
        centres[2 * k] = c[2 * k] + r * (ex + fx), centres[2 * k + 1] = c[2 * k + 1] + r * (ey + fy);
    }
}

Boolean PolylinePieces(const DocWindowRecord* doc, const PolylineRecord* polyline,
                       std::vector<PolylinePiece>* pieces) {
    pieces->clear();
    const Float64* p = PolylinePoints(polyline);
    if (p == nullptr) return false;
    int n = polyline->pointCount;
    switch (polyline->kind) {
    case kPolylineSegments:
        AddConnected(std::vector<Float64>(p, p + 2 * n), pieces);
        break;
    case kPolylineSpline:
    case kPolylineCurve: {
        std::vector<Float64> xy;
        SmoothPolylinePoints(polyline, &xy);
        AddConnected(xy, pieces);
        break;
    }
    case kPolylineEllipse:
        if (n < 4) return false;
        EllipsePieces(doc, polyline, p, pieces);
        break;
    case kPolylineRoundedRect: {
        if (n < 4) return false;
        Float64 sides[16], centres[8], rotation = 0, r = 0;
        RoundedRectParts(p, polyline->params[0], sides, centres, &rotation, &r);
        for (int k = 0; k < 4; ++k) {
            if (r > 0)
                pieces->push_back(Arc(centres[2 * k], centres[2 * k + 1], r, Reduce(rotation + 180 + 90 * k),
                                      Reduce(rotation + 270 + 90 * k)));
            if (sides[4 * k] != sides[4 * k + 2] || sides[4 * k + 1] != sides[4 * k + 3])
                pieces->push_back(
                    Segment(sides[4 * k], sides[4 * k + 1], sides[4 * k + 2], sides[4 * k + 3]));
        }
        break;
    }
    default:
        return false;
    }
    return !pieces->empty();
}

Boolean PolylineBox(const PolylineRecord* polyline, Float64 box[4]) {
    const Float64* p = PolylinePoints(polyline);
    if (p == nullptr) return false;
    box[0] = box[2] = p[0];
    box[1] = box[3] = p[1];
    for (int i = 1; i < polyline->pointCount; ++i) {
        box[0] = std::min(box[0], p[2 * i]), box[2] = std::max(box[2], p[2 * i]);
        box[1] = std::min(box[1], p[2 * i + 1]), box[3] = std::max(box[3], p[2 * i + 1]);
    }
    if (polyline->kind == kPolylineSpline || polyline->kind == kPolylineCurve) {
        Float64 mx = (box[2] - box[0]) / 4, my = (box[3] - box[1]) / 4, m = std::max(mx, my);
        box[0] -= m, box[1] -= m, box[2] += m, box[3] += m;
    }
    return true;
}

void ComputePolylineCurve(const PolylineRecord* polyline, SInt16 from, SInt16 to, std::vector<Float64>* xy) {
    xy->clear();
    const Float64* p = PolylinePoints(polyline);
    int n = polyline->pointCount;
    if (p == nullptr || from < 0 || to < from || to >= n) return;
    if (n < 3) {
        xy->assign(p + 2 * from, p + 2 * to + 2);
        return;
    }
    // The curve skips repeated vertices: a vertex's place on it counts the distinct ones before it.
    std::vector<size_t> place(size_t(n), 0);
    size_t distinct = 1;
    for (int i = 1; i < n; ++i) {
        if (std::hypot(p[2 * i] - p[2 * i - 2], p[2 * i + 1] - p[2 * i - 1]) > 0) ++distinct;
        place[size_t(i)] = distinct - 1;
    }
    std::vector<Float64> all;
    ChordSplinePoints(p, n, &all);
    const size_t stride = distinct >= 3 ? kStepsPerSpan : 1;
    size_t first = place[size_t(from)] * stride, last = place[size_t(to)] * stride;
    if (2 * last + 1 >= all.size()) return;
    xy->assign(all.begin() + std::ptrdiff_t(2 * first), all.begin() + std::ptrdiff_t(2 * last + 2));
}
