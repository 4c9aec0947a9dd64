// The outline being built and its contours, arcs as chords, rounded boxes, and area elements made
// from the contours.
#include "Tools/AreaOutlines.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr Float64 kMinTolerance = 0.001, kMaxTolerance = 10;
constexpr Float64 kMinStep = kDegreesToRadians; // one degree
constexpr Float64 kMaxStep = M_PI;
// An arc point closer than this (radians) to the end angle is left for the end point itself.
constexpr Float64 kEndSlack = 1e-9;
constexpr long kMaxOutlinePoints = 32767;

Handle& Outline(DocWindowRecord* doc) {
    return doc->drawing->toolInput.outlineBlock;
}

void SetLastIndex(Handle h, SInt16 index) {
    std::memcpy(*h, &index, sizeof index);
}

// Room for at least `points` points in the outline handle, grown by half again each time.
bool Reserve(Handle h, long points) {
    Size need = Size(kOutlineHeaderSize + points * 16);
    Size have = GetHandleSize(h);
    if (have >= need) return true;
    Size grown = std::max(need, Size(kOutlineHeaderSize) + (have - Size(kOutlineHeaderSize)) * 3 / 2);
    SetHandleSize(h, grown);
    if (MemError() == noErr && GetHandleSize(h) >= grown) return true;
    SetHandleSize(h, need);
    return MemError() == noErr && GetHandleSize(h) >= need;
}

bool FirstOutlinePoint(DocWindowRecord* doc, Float64* x, Float64* y) {
    Handle h = Outline(doc);
    if (!h || OutlineLastIndex(h) < 0) return false;
    *x = OutlinePoints(h)[0];
    *y = OutlinePoints(h)[1];
    return true;
}

// Angle of the end on the same turn as the start: after it counter-clockwise (at most a whole turn,
// the start itself giving the whole turn), before it clockwise.
Float64 EndOnSameTurn(Float64 a0, Float64 a1, bool counterClockwise) {
    if (counterClockwise) {
        Float64 end = a1 + kTwoPi;
        if (end > a0 + kTwoPi) end -= kTwoPi;
        return end;
    }
    Float64 end = a1 - kTwoPi;
    if (end < a0 - kTwoPi) end += kTwoPi;
    return end;
}

// The chord points strictly between the start angle and the end angle.
bool AppendChordPoints(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r, Float64 a0, Float64 end,
                       Float64 step, bool counterClockwise) {
    Float64 dir = counterClockwise ? 1 : -1;
    for (int k = 1;; ++k) {
        Float64 a = a0 + dir * k * step;
        if (counterClockwise ? a >= end - kEndSlack : a <= end + kEndSlack) break;
        if (!AppendOutlinePoint(doc, cx + r * std::cos(a), cy + r * std::sin(a))) return false;
    }
    return true;
}

bool Finite(Float64 v) {
    return std::isfinite(v);
}

} // namespace

SInt16 OutlinePointCount(const DocWindowRecord* doc) {
    Handle h = doc->drawing->toolInput.outlineBlock;
    if (!h) return 0;
    SInt16 last = OutlineLastIndex(h);
    return SInt16(last < 0 ? 2 : last + 1);
}

Boolean AppendOutlinePoint(DocWindowRecord* doc, Float64 x, Float64 y) {
    Handle& h = Outline(doc);
    if (!h) {
        h = NewOutlineHandle(0);
        if (!h) return false;
        OutlinePoints(h)[0] = x;
        OutlinePoints(h)[1] = y;
        return true;
    }
    SInt16 last = OutlineLastIndex(h);
    if (last < 0) return false;
    Float64* p = OutlinePoints(h);
    // A repeat is skipped also when the outline is full: a closed ring of the most points fits.
    if (p[2 * last] == x && p[2 * last + 1] == y) return true;
    if (last + 1 >= kMaxOutlinePoints) return false;
    if (!Reserve(h, last + 2)) return false;
    p = OutlinePoints(h);
    p[2 * (last + 1)] = x;
    p[2 * (last + 1) + 1] = y;
    SetLastIndex(h, SInt16(last + 1));
    return true;
}

Boolean SetEllipseOutline(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry) {
    Handle h = NewOutlineHandle(-1);
    if (!h) return false;
    Float64 values[4] = {cx, cy, rx, ry};
    std::memcpy(OutlinePoints(h), values, sizeof values);
    DiscardOutline(doc);
    Outline(doc) = h;
    return true;
}

void DiscardOutline(DocWindowRecord* doc) {
    DisposeHandle(Outline(doc));
    Outline(doc) = nullptr;
}

Float64 OutlineChordTolerance(DocWindowRecord* doc) {
    Float64& t = doc->settings->chordTolerance;
    if (!(t >= kMinTolerance)) t = kMinTolerance; // also NaN
    if (t > kMaxTolerance) t = kMaxTolerance;
    return t;
}

Boolean ArcStepAngle(Float64 radius, Float64 tolerance, Float64* step) {
    if (!(radius > 0) || !Finite(radius)) return false;
    Float64 cosine = std::clamp((radius - tolerance) / radius, -1.0, 1.0);
    if (!Finite(cosine)) cosine = 1;
    *step = std::clamp(2 * std::acos(cosine), kMinStep, kMaxStep);
    return true;
}

Boolean AppendArcBetweenPoints(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startX,
                               Float64 startY, Float64 endX, Float64 endY, Boolean counterClockwise) {
    Float64 tolerance = OutlineChordTolerance(doc), step;
    if (!ArcStepAngle(radius, tolerance, &step)) return false;
    // A NaN angle would never reach the end.
    if (!Finite(cx) || !Finite(cy) || !Finite(startX) || !Finite(startY) || !Finite(endX) || !Finite(endY))
        return false;
    Float64 a0 = Atan2Positive(startY - cy, startX - cx), a1 = Atan2Positive(endY - cy, endX - cx);
    Float64 end = EndOnSameTurn(a0, a1, counterClockwise);
    return AppendOutlinePoint(doc, startX, startY) &&
           AppendChordPoints(doc, cx, cy, radius, a0, end, step, counterClockwise) &&
           AppendOutlinePoint(doc, endX, endY);
}

Boolean AppendArcPoints(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startDeg,
                        Float64 endDeg, Boolean counterClockwise) {
    Float64 tolerance = OutlineChordTolerance(doc), step;
    if (!ArcStepAngle(radius, tolerance, &step) || !Finite(startDeg) || !Finite(endDeg)) return false;
    Float64 a0 = NormalizeAngle(startDeg) * kDegreesToRadians,
            a1 = NormalizeAngle(endDeg) * kDegreesToRadians;
    return AppendChordPoints(doc, cx, cy, radius, a0, EndOnSameTurn(a0, a1, counterClockwise), step,
                             counterClockwise);
}

Boolean RoundedRectParts(const Float64 c[8], Float64 radius, RoundedRectShape* out) {
    Float64 dx[4], dy[4], length[4];
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        Float64 ex = c[2 * j] - c[2 * i], ey = c[2 * j + 1] - c[2 * i + 1];
        length[i] = std::hypot(ex, ey);
        if (!(length[i] > 0) || !Finite(length[i])) return false;
        dx[i] = ex / length[i];
        dy[i] = ey / length[i];
    }
    Float64 turn = dx[0] * dy[1] - dy[0] * dx[1];
    if (std::fabs(turn) < 1e-12) return false;
    Float64 shortest = *std::min_element(length, length + 4);
    Float64 r = Finite(radius) ? std::clamp(radius, 0.0, shortest / 2) : 0.0;
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4, p = (i + 3) % 4;
        out->sides[i][0] = c[2 * i] + r * dx[i];
        out->sides[i][1] = c[2 * i + 1] + r * dy[i];
        out->sides[i][2] = c[2 * j] - r * dx[i];
        out->sides[i][3] = c[2 * j + 1] - r * dy[i];
        out->centres[i][0] = c[2 * i] - r * dx[p] + r * dx[i];
        out->centres[i][1] = c[2 * i + 1] - r * dy[p] + r * dy[i];
    }
    out->rotation = DirectionDegrees(c[0], c[1], c[2], c[3]);
    out->radius = r;
    out->counterClockwise = turn > 0;
    return true;
}

Boolean AppendRoundedBoxOutline(DocWindowRecord* doc, const Float64 corners[8], Float64 cornerRadius) {
    RoundedRectShape shape;
    if (!RoundedRectParts(corners, cornerRadius, &shape)) return false;
    if (shape.radius > 0) {
        for (int i = 0; i < 4; ++i) {
            int p = (i + 3) % 4;
            if (!AppendArcBetweenPoints(doc, shape.centres[i][0], shape.centres[i][1], shape.radius,
                                        shape.sides[p][2], shape.sides[p][3], shape.sides[i][0],
                                        shape.sides[i][1], shape.counterClockwise))
                return false;
        }
    } else {
        for (int i = 0; i < 4; ++i)
            if (!AppendOutlinePoint(doc, corners[2 * i], corners[2 * i + 1])) return false;
    }
    Float64 x, y;
    return FirstOutlinePoint(doc, &x, &y) && AppendOutlinePoint(doc, x, y);
}

Boolean PushOutlineContour(DocWindowRecord* doc) {
    ToolInputState& t = doc->drawing->toolInput;
    if (!t.outlineBlock || t.outlineContourCount >= kMaxOutlineContours) return false;
    SInt16 last = OutlineLastIndex(t.outlineBlock);
    SetHandleSize(t.outlineBlock, Size(kOutlineHeaderSize + (std::abs(SInt32(last)) + 1) * 16));
    t.outlineContours[t.outlineContourCount++] = t.outlineBlock;
    t.outlineBlock = nullptr;
    return true;
}

SInt16 LastOutlineContour(const DocWindowRecord* doc) {
    return SInt16(doc->drawing->toolInput.outlineContourCount - 1);
}

void EmptyOutlineContours(DocWindowRecord* doc) {
    ToolInputState& t = doc->drawing->toolInput;
    DiscardOutline(doc);
    for (int i = 0; i < kMaxOutlineContours; ++i) {
        DisposeHandle(t.outlineContours[i]);
        t.outlineContours[i] = nullptr;
    }
    t.outlineContourCount = 0;
}

void ComputeAreaBounds(AreaRecord* area) {
    area->minX = area->minY = area->maxX = area->maxY = 0;
    Handle h = area->outline;
    if (!h || GetHandleSize(h) < Size(kOutlineHeaderSize + 16)) return;
    long room = long((GetHandleSize(h) - kOutlineHeaderSize) / 16);
    SInt16 last = OutlineLastIndex(h);
    const Float64* p = OutlinePoints(h);
    if (last < 0) {
        if (room < 2) return;
        Float64 rx = std::fabs(p[2]), ry = std::fabs(p[3]);
        area->minX = p[0] - rx, area->maxX = p[0] + rx;
        area->minY = p[1] - ry, area->maxY = p[1] + ry;
        return;
    }
    bool any = false;
    for (long i = 0; i < std::min(long(last) + 1, room); ++i) {
        Float64 x = p[2 * i], y = p[2 * i + 1];
        if (!Finite(x) || !Finite(y) || std::fabs(x) >= 1e300 || std::fabs(y) >= 1e300) continue;
        if (!any) {
            area->minX = area->maxX = x, area->minY = area->maxY = y;
            any = true;
            continue;
        }
        area->minX = std::min(area->minX, x), area->maxX = std::max(area->maxX, x);
        area->minY = std::min(area->minY, y), area->maxY = std::max(area->maxY, y);
    }
}

AreaRecord* CreateAreaElement(DocWindowRecord* doc, Float64 spacing, Float64 angle, SInt16 fillKind,
                              Boolean draw) {
    ToolInputState& t = doc->drawing->toolInput;
    if (t.outlineContourCount <= 0) return nullptr;
    AreaRecord* area = nullptr;
    if (!NewAreaElement(doc, &area)) return nullptr;
    Handle holes = nullptr;
    int holeCount = t.outlineContourCount - 1;
    if (holeCount > 0) {
        holes = NewHandleClear(Size(holeCount) * Size(sizeof(Handle)));
        if (!holes) {
            DisposeAreaRecord(&area);
            return nullptr;
        }
        std::memcpy(*holes, &t.outlineContours[1], Size(holeCount) * sizeof(Handle));
    }
    const DocSettings* s = doc->settings;
    area->group = s->currentGroup;
    area->layer = s->currentLayer;
    area->pen = s->currentPen;
    area->hatchAngle = angle;
    area->hatchSpacing = spacing;
    area->fillKind = fillKind;
    area->outline = t.outlineContours[0];
    area->holes = holes;
    area->lastHoleIndex = SInt16(holeCount - 1);
    for (int i = 0; i < kMaxOutlineContours; ++i)
        t.outlineContours[i] = nullptr;
    t.outlineContourCount = 0;
    ComputeAreaBounds(area);

    SeekLastArea(doc);
    AreaRecord*& cursor = doc->drawing->cursors.areaCursor;
    area->next = nullptr;
    cursor->next = area;
    cursor = area;
    SpatialIndexAppended(doc, kAreaElement, area);
    if (draw) {
        gDocumentHooks.drawElement(doc, kAreaElement, area);
        RecordUndoArea(doc, area, true);
    }
    return area;
}

AreaRecord* CreateCircularArea(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r) {
    EmptyOutlineContours(doc);
    if (!SetEllipseOutline(doc, cx, cy, r, r) || !PushOutlineContour(doc)) return nullptr;
    return CreateAreaElement(doc, 11.0, 0, 1, true);
}

Boolean PointOnArcSweep(Float64 cx, Float64 cy, Float64 startX, Float64 startY, Float64 endX, Float64 endY,
                        Float64 probeX, Float64 probeY) {
    Float64 a = Atan2Positive(startY - cy, startX - cx), b = Atan2Positive(endY - cy, endX - cx);
    Float64 p = Atan2Positive(probeY - cy, probeX - cx);
    if (b > a) return a <= p && p <= b;
    return p <= b || p > a;
}

void ChooseArcIntersection(Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 refX, Float64 refY,
                           const ArcRecord* arc, Float64* x, Float64* y) {
    bool full = arc->startAngle == 0 && arc->endAngle == 360;
    if (!full) {
        Float64 sweep = NormalizeAngle(arc->endAngle - arc->startAngle);
        if (sweep == 0) sweep = 360;
        auto onArc = [&](Float64 px, Float64 py) {
            Float64 direction = Atan2Positive(py - arc->cy, px - arc->cx) * kRadiansToDegrees;
            return NormalizeAngle(direction - (arc->startAngle - 1)) <= sweep + 2;
        };
        bool first = onArc(x1, y1), second = onArc(x2, y2);
        if (first != second) {
            *x = first ? x1 : x2;
            *y = first ? y1 : y2;
            return;
        }
    }
    NearerPoint(x1, y1, x2, y2, refX, refY, x, y);
}
