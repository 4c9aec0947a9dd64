// The polygon hatcher over closed rings, an area's contours as rings, and its plot output.
#include "View/Hatching.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"
#include "View/OutputDevice.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr Float64 kUnusableCoordinate = 1e300;
// Chords of an ellipse contour: at least this many, at most the second.
constexpr int kMinEllipseChords = 16;
constexpr int kMaxEllipseChords = 4096;
// Chord deviation of the plot and DXF hatches (millimetres).
constexpr Float64 kExportChordTolerance = 0.01;

struct Edge {
    long from, to;    // vertex indices
    long first, last; // the lines it may cross (a superset, tested exactly)
};

bool Usable(Float64 x, Float64 y) {
    return std::isfinite(x) && std::isfinite(y) && std::fabs(x) < kUnusableCoordinate &&
           std::fabs(y) < kUnusableCoordinate;
}

void PlotSegmentProc(void* context, Float64 x1, Float64 y1, Float64 x2, Float64 y2, void*) {
    auto* doc = static_cast<DocWindowRecord*>(context);
    if (PlotReceiver* plot = PlotTarget(doc)) plot->PlotSegment(doc, x1, y1, x2, y2);
}

} // namespace

void ProjectionExtremes(Float64* min, Float64* max, SInt16* minIndex, SInt16* maxIndex, SInt16 count,
                        Float64 sinA, Float64 cosA, const Float64* xs, const Float64* ys) {
    *min = *max = 0;
    *minIndex = *maxIndex = 0;
    for (SInt16 i = 0; i < count; ++i) {
        Float64 p = ys[i] * cosA - xs[i] * sinA;
        if (i == 0 || p < *min) *min = p, *minIndex = i;
        if (i == 0 || p > *max) *max = p, *maxIndex = i;
    }
}

void SortCrossings(long count, Float64* keys, Float64* others) {
    if (count < 2) return;
    if (count <= 32) {
        // Few crossings: insertion moves only what is out of place and keeps equal keys in order.
        for (long i = 1; i < count; ++i) {
            Float64 k = keys[i], o = others ? others[i] : 0;
            long j = i;
            for (; j > 0 && keys[j - 1] > k; --j) {
                keys[j] = keys[j - 1];
                if (others) others[j] = others[j - 1];
            }
            keys[j] = k;
            if (others) others[j] = o;
        }
        return;
    }
    if (!others) {
        std::sort(keys, keys + count);
        return;
    }
    std::vector<std::pair<Float64, Float64>> pairs(static_cast<size_t>(count));
    for (long i = 0; i < count; ++i)
        pairs[size_t(i)] = {keys[i], others[i]};
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (long i = 0; i < count; ++i)
        keys[i] = pairs[size_t(i)].first, others[i] = pairs[size_t(i)].second;
}

Boolean HatchRings(const HatchRing* rings, int ringCount, Float64 angle, Float64 spacing,
                   const HatchWindow* window, void* context, void* userData, HatchLineProc lineProc) {
    if (!(spacing > 0) || !std::isfinite(spacing) || !std::isfinite(angle) || ringCount <= 0 || !lineProc)
        return false;
    Float64 a = angle * kDegreesToRadians, s = std::sin(a), c = std::cos(a);

    // Every vertex's position across the hatch direction, taken once, so that the two edges meeting at
    // a vertex judge it alike.
    long total = 0;
    for (int r = 0; r < ringCount; ++r)
        total += std::max(0, rings[r].count);
    if (total < 3) return false;
    std::vector<Float64> q(static_cast<size_t>(total)), vx(q), vy(q);
    Float64 qMin = 0, qMax = 0;
    long n = 0;
    for (int r = 0; r < ringCount; ++r) {
        for (int i = 0; i < rings[r].count; ++i, ++n) {
            vx[size_t(n)] = rings[r].xs[i];
            vy[size_t(n)] = rings[r].ys[i];
            if (!Usable(vx[size_t(n)], vy[size_t(n)])) return false;
            Float64 p = vy[size_t(n)] * c - vx[size_t(n)] * s;
            q[size_t(n)] = p;
            if (n == 0 || p < qMin) qMin = p;
            if (n == 0 || p > qMax) qMax = p;
        }
    }

    // Lines at k * spacing above the lowest vertex for k = 1 .. last, stopping half a spacing short of
    // the highest; the first line is always tried.
    Float64 extent = (qMax - qMin) - 0.5 * spacing;
    Float64 lastLine = std::max(1.0, std::ceil(extent / spacing) - 1), firstLine = 1;
    if (window) {
        Float64 wMin = 0, wMax = 0;
        const Float64 cx[4] = {window->minX, window->maxX, window->maxX, window->minX};
        const Float64 cy[4] = {window->minY, window->minY, window->maxY, window->maxY};
        for (int i = 0; i < 4; ++i) {
            Float64 p = cy[i] * c - cx[i] * s;
            if (i == 0 || p < wMin) wMin = p;
            if (i == 0 || p > wMax) wMax = p;
        }
        if (!(std::isfinite(wMin) && std::isfinite(wMax))) return false;
        firstLine = std::max(firstLine, std::floor((wMin - qMin) / spacing));
        lastLine = std::min(lastLine, std::ceil((wMax - qMin) / spacing));
        if (lastLine < firstLine) return true;
    }
    if (!(lastLine - firstLine + 1 <= Float64(kMaxHatchLines))) return false;
    // Line numbers stay exact integers (an area far larger than any sheet would run past them).
    if (!(lastLine < 1e15)) return false;
    long first = long(firstLine), last = long(lastLine);

    // Edges by the first line they may cross; zero-length and parallel edges cross nothing.
    std::vector<Edge> edges;
    edges.reserve(size_t(total));
    n = 0;
    for (int r = 0; r < ringCount; ++r) {
        long start = n, count = rings[r].count;
        for (long i = 0; i < count; ++i) {
            long from = start + i, to = start + (i + 1) % count;
            Float64 lo = std::min(q[size_t(from)], q[size_t(to)]),
                    hi = std::max(q[size_t(from)], q[size_t(to)]);
            if (!(hi > lo)) continue;
            long kFirst = long(std::max(Float64(first), std::floor((lo - qMin) / spacing)));
            long kLast = long(std::min(Float64(last), std::ceil((hi - qMin) / spacing)));
            if (kLast >= kFirst) edges.push_back({from, to, kFirst, kLast});
        }
        n += count;
    }
    std::sort(edges.begin(), edges.end(), [](const Edge& x, const Edge& y) { return x.first < y.first; });

    std::vector<const Edge*> active;
    std::vector<Float64> along;
    size_t next = 0;
    for (long k = first; k <= last; ++k) {
        Float64 level = qMin + Float64(k) * spacing;
        while (next < edges.size() && edges[next].first <= k)
            active.push_back(&edges[next++]);
        along.clear();
        for (size_t i = 0; i < active.size();) {
            const Edge* e = active[i];
            if (e->last < k) {
                active[i] = active.back();
                active.pop_back();
                continue;
            }
            ++i;
            Float64 q0 = q[size_t(e->from)], q1 = q[size_t(e->to)];
            if ((q0 < level) == (q1 < level)) continue;
            Float64 u = (level - q0) / (q1 - q0);
            Float64 x = vx[size_t(e->from)] + (vx[size_t(e->to)] - vx[size_t(e->from)]) * u;
            Float64 y = vy[size_t(e->from)] + (vy[size_t(e->to)] - vy[size_t(e->from)]) * u;
            along.push_back(x * c + y * s);
        }
        if (along.size() < 2) continue;
        SortCrossings(long(along.size()), along.data(), nullptr);
        // Points of the line from their distance along it: the rotation back from (along, level).
        for (size_t i = 0; i + 1 < along.size(); i += 2) {
            Float64 d0 = along[i], d1 = along[i + 1];
            if (d1 <= d0) continue;
            lineProc(context, d0 * c - level * s, d0 * s + level * c, d1 * c - level * s, d1 * s + level * c,
                     userData);
        }
    }
    return true;
}

void HatchPolygon(void* context, Float64 angle, Float64 spacing, SInt16 count, const Float64* xs,
                  const Float64* ys, void* userData, HatchLineProc lineProc) {
    if (count < 3 || !xs || !ys) return;
    HatchRing ring{xs, ys, count};
    HatchRings(&ring, 1, angle, spacing, nullptr, context, userData, lineProc);
}

void OutlineRingPoints(Handle outline, Float64 tolerance, std::vector<Float64>* xs,
                       std::vector<Float64>* ys) {
    xs->clear();
    ys->clear();
    if (!outline || !*outline) return;
    Size size = GetHandleSize(outline);
    if (size < Size(kOutlineHeaderSize)) return;
    long room = long((size - kOutlineHeaderSize) / 16);
    SInt16 lastIndex = OutlineLastIndex(outline);
    const Float64* p = OutlinePoints(outline);
    if (lastIndex < 0) {
        if (room < 2) return;
        Float64 cx = p[0], cy = p[1], rx = std::fabs(p[2]), ry = std::fabs(p[3]);
        if (!Usable(cx, cy) || !Usable(rx, ry) || !(rx > 0) || !(ry > 0)) return;
        Float64 r = std::max(rx, ry), t = std::max(tolerance, r * 1e-9);
        Float64 step = t < r ? 2 * std::acos(1 - t / r) : kTwoPi / kMinEllipseChords;
        int chords = std::clamp(int(std::ceil(kTwoPi / step)), kMinEllipseChords, kMaxEllipseChords);
        for (int i = 0; i < chords; ++i) {
            Float64 a = kTwoPi * i / chords;
            xs->push_back(cx + rx * std::cos(a));
            ys->push_back(cy + ry * std::sin(a));
        }
        return;
    }
    long count = std::min(long(lastIndex) + 1, room);
    for (long i = 0; i < count; ++i) {
        Float64 x = p[2 * i], y = p[2 * i + 1];
        if (!Usable(x, y)) continue;
        if (!xs->empty() && xs->back() == x && ys->back() == y) continue;
        xs->push_back(x);
        ys->push_back(y);
    }
}

Float64 AreaHatchSpacing(const AreaRecord* area) {
    Float64 spacing = area->hatchSpacing;
    if (!(spacing >= kMinHatchSpacing)) return kMinHatchSpacing; // also NaN
    return std::min(spacing, kMaxHatchSpacing);
}

void AreaContourRings(const AreaRecord* area, Float64 tolerance, std::vector<std::vector<Float64>>* xs,
                      std::vector<std::vector<Float64>>* ys) {
    auto add = [&](Handle h) {
        std::vector<Float64> x, y;
        OutlineRingPoints(h, tolerance, &x, &y);
        if (x.size() < 2) return;
        xs->push_back(std::move(x));
        ys->push_back(std::move(y));
    };
    add(area->outline);
    if (area->holes && area->lastHoleIndex >= 0) {
        Size slots = GetHandleSize(area->holes) / Size(sizeof(Handle));
        Size holes = std::min(Size(area->lastHoleIndex) + 1, slots);
        for (Size i = 0; i < holes; ++i)
            add(reinterpret_cast<Handle*>(*area->holes)[i]);
    }
}

void HatchArea(const AreaRecord* area, Float64 tolerance, const HatchWindow* window, void* context,
               void* userData, HatchLineProc lineProc) {
    if (area->fillKind >= 0) return;
    std::vector<std::vector<Float64>> xs, ys;
    AreaContourRings(area, tolerance, &xs, &ys);
    if (xs.empty()) return;
    std::vector<HatchRing> rings;
    for (size_t i = 0; i < xs.size(); ++i)
        rings.push_back({xs[i].data(), ys[i].data(), int(xs[i].size())});
    Float64 spacing = AreaHatchSpacing(area);
    HatchRings(rings.data(), int(rings.size()), area->hatchAngle, spacing, window, context, userData,
               lineProc);
    if (area->fillKind == -1)
        HatchRings(rings.data(), int(rings.size()), area->hatchAngle + 90, spacing, window, context, userData,
                   lineProc);
}

void HatchOutlinePoints(void* context, const AreaRecord* area, Handle pointList, void* userData,
                        HatchLineProc lineProc) {
    if (area->fillKind >= 0) return;
    std::vector<Float64> xs, ys;
    OutlineRingPoints(pointList, kExportChordTolerance, &xs, &ys);
    if (xs.size() < 3) return;
    HatchRing ring{xs.data(), ys.data(), int(xs.size())};
    Float64 spacing = AreaHatchSpacing(area);
    HatchRings(&ring, 1, area->hatchAngle, spacing, nullptr, context, userData, lineProc);
    if (area->fillKind == -1)
        HatchRings(&ring, 1, area->hatchAngle + 90, spacing, nullptr, context, userData, lineProc);
}

void HatchPolygonHPGL(DocWindowRecord* doc, Float64 angle, Float64 spacing, SInt16 count, const Float64* xs,
                      const Float64* ys) {
    HatchPolygon(doc, angle, spacing, count, xs, ys, nullptr, PlotSegmentProc);
}

void HatchOutlinePointsHPGL(DocWindowRecord* doc, const AreaRecord* area, Handle pointList) {
    HatchOutlinePoints(doc, area, pointList, nullptr, PlotSegmentProc);
}

void HatchAreaHPGL(DocWindowRecord* doc, const AreaRecord* area) {
    HatchArea(area, kExportChordTolerance, nullptr, doc, nullptr, PlotSegmentProc);
}
