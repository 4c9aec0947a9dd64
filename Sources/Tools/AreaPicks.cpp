// The boundary picks of the area tools and the tracing of one closed contour through them: a text's or
// a dimension's box, a single polyline or circle, the segment a line cuts off a circle, or a chain of
// lines and arcs joined at their intersections.
#include "Tools/AreaPicks.h"

#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/PolylineGeometry.h"
#include "Other/Alerts.h"
#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Tools/StatusArea.h"
#include "Tools/AreaOutlines.h"
#include "Tools/Picking.h"
#include "Tools/ToolState.h"
#include "View/ViewStrokes.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr SInt16 kTracingMessage = 18;
constexpr SInt16 kNoOutlineMessage = 55;
constexpr SInt16 kPolylineInChainMessage = 156;
constexpr UInt16 kLinePick = 0, kArcPick = 1, kTextPick = 2, kDimensionPick = 3, kPolylinePick = 5;
constexpr SInt16 kMaxPicks = 32767;
constexpr Float64 kPointsPerMillimetre = 2.8346, kMillimetresPerPoint = 0.352777;
constexpr int kEllipseSteps = 360;

struct Pt2 {
    Float64 x, y;
};

AreaPickRecord* Picks(ToolStateRecord* t) {
    return t->pickList != nullptr ? reinterpret_cast<AreaPickRecord*>(*t->pickList) : nullptr;
}

// The picks the list really holds: the count, never more than the block has room for.
SInt16 PickTotal(ToolStateRecord* t) {
    if (t->pickList == nullptr) return 0;
    Size room = GetHandleSize(t->pickList) / Size(sizeof(AreaPickRecord));
    return SInt16(std::clamp<Size>(room, 0, std::max<SInt16>(t->pickCount, 0)));
}

bool Owned(const AreaPickRecord& p) {
    return p.part == kSegmentLinePart && (p.kind == kLinePick || p.kind == kArcPick);
}

void FreeOwned(AreaPickRecord& p) {
    if (!Owned(p)) return;
    if (p.kind == kLinePick) {
        auto* line = static_cast<LineRecord*>(p.element);
        DisposeLineRecord(&line);
    } else {
        auto* arc = static_cast<ArcRecord*>(p.element);
        DisposeArcRecord(&arc);
    }
    p.element = nullptr;
}

// Drops the last pick, freeing what it owns.
void DropLastPick(ToolStateRecord* t) {
    SInt16 n = PickTotal(t);
    if (n <= 0) return;
    FreeOwned(Picks(t)[n - 1]);
    if (n == 1) {
        DisposeHandle(t->pickList);
        t->pickList = nullptr;
    } else {
        SetHandleSize(t->pickList, Size(n - 1) * Size(sizeof(AreaPickRecord)));
    }
    t->pickCount = SInt16(n - 1);
}

bool SameLine(const LineRecord* a, const LineRecord* b) {
    return a->x1 == b->x1 && a->y1 == b->y1 && a->x2 == b->x2 && a->y2 == b->y2;
}

bool SameArc(const ArcRecord* a, const ArcRecord* b) {
    return a->cx == b->cx && a->cy == b->cy && a->radius == b->radius && a->startAngle == b->startAngle &&
           a->endAngle == b->endAngle;
}

// Two picks name one element: the same record, or copies of one element of a symbol.
bool SameElement(const AreaPickRecord& a, const AreaPickRecord& b) {
    if (a.kind != b.kind) return false;
    if (a.element == b.element) return true;
    if (!Owned(a) && !Owned(b)) return false;
    if (a.kind == kLinePick)
        return SameLine(static_cast<const LineRecord*>(a.element), static_cast<const LineRecord*>(b.element));
    return SameArc(static_cast<const ArcRecord*>(a.element), static_cast<const ArcRecord*>(b.element));
}

bool Finite(Float64 x, Float64 y) {
    return std::isfinite(x) && std::isfinite(y);
}

// The last pick could not be stored, or a run of picks is incomplete: the chain would be wrong.
void AbandonChain(DocWindowRecord* doc) {
    ResetToolState(doc, 0);
    ShowErrorStr128(kNoOutlineMessage);
}

bool AppendRunSegment(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    LineRecord* line = NewLineRecord();
    if (line == nullptr) return false;
    line->x1 = x1, line->y1 = y1, line->x2 = x2, line->y2 = y2;
    if (!AppendPickRecord(doc, kLinePick, line, (x1 + x2) / 2, (y1 + y2) / 2, kSegmentLinePart)) {
        DisposeLineRecord(&line);
        return false;
    }
    return true;
}

// The segments of the run as line picks; false when one could not be stored.
bool AddRunPicks(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 fromIndex, SInt16 toIndex) {
    std::vector<Float64> xy;
    if (polyline->kind == kPolylineCurve) {
        ComputePolylineCurve(polyline, std::min(fromIndex, toIndex), std::max(fromIndex, toIndex), &xy);
    } else if (const Float64* p = PolylinePoints(polyline)) {
        xy.assign(p, p + 2 * polyline->pointCount);
    }
    const long points = long(xy.size() / 2);
    const bool forward = fromIndex < toIndex;
    for (long k = 0; k + 1 < points; ++k) {
        long i = forward ? k : points - 1 - k, j = forward ? i + 1 : i - 1;
        Float64 x1 = xy[size_t(2 * i)], y1 = xy[size_t(2 * i + 1)], x2 = xy[size_t(2 * j)],
                y2 = xy[size_t(2 * j + 1)];
        if (x1 == x2 && y1 == y2) continue; // a repeated vertex makes no segment
        if (!AppendRunSegment(doc, x1, y1, x2, y2)) return false;
    }
    return true;
}

// Outline cases.

bool TextOutline(DocWindowRecord* doc, const TextRecord* text) {
    const Float64* c = text->corners;
    Float64 wanted = std::round(text->textHeight * kPointsPerMillimetre * 10);
    Float64 descent = 0;
    if (std::isfinite(wanted) && wanted >= 1) {
        // The font is set in tenths of a point; a size past what the port takes is scaled back.
        SInt16 size = SInt16(std::min(wanted, 32767.0));
        if (doc->window != nullptr) SetPortWindowPort(doc->window);
        TextFont(text->font);
        TextSize(size);
        FontInfo info{};
        GetFontInfo(&info);
        TextFont(0);
        TextSize(12);
        descent = info.descent * kMillimetresPerPoint / 10 * (wanted / size);
    }
    auto outward = [&](int from, int away, Pt2* out) {
        Float64 dx = c[2 * from] - c[2 * away], dy = c[2 * from + 1] - c[2 * away + 1];
        Float64 length = std::hypot(dx, dy);
        Float64 f = length > 0 && std::isfinite(length) ? descent / length : 0;
        *out = {c[2 * from] + f * dx, c[2 * from + 1] + f * dy};
    };
    Pt2 p0, p1;
    outward(0, 3, &p0);
    outward(1, 2, &p1);
    return AppendOutlinePoint(doc, p0.x, p0.y) && AppendOutlinePoint(doc, p1.x, p1.y) &&
           AppendOutlinePoint(doc, c[4], c[5]) && AppendOutlinePoint(doc, c[6], c[7]) &&
           AppendOutlinePoint(doc, p0.x, p0.y);
}

bool DimensionOutline(DocWindowRecord* doc, const DimensionRecord* dim) {
    const Float64* f = dim->frame;
    return AppendOutlinePoint(doc, dim->textX, dim->textY) && AppendOutlinePoint(doc, f[0], f[1]) &&
           AppendOutlinePoint(doc, f[2], f[3]) && AppendOutlinePoint(doc, f[4], f[5]) &&
           AppendOutlinePoint(doc, dim->textX, dim->textY);
}

bool PolylineOutline(DocWindowRecord* doc, const PolylineRecord* polyline) {
    const Float64* p = PolylinePoints(polyline);
    const int n = p != nullptr ? polyline->pointCount : 0;
    switch (polyline->kind) {
    case kPolylineSegments:
    case kPolylineSpline:
    case kPolylineCurve:
    case kPolylinePicture:
        if (n < 1) return false;
        for (int i = 0; i < n; ++i)
            if (!AppendOutlinePoint(doc, p[2 * i], p[2 * i + 1])) return false;
        return AppendOutlinePoint(doc, p[0], p[1]);
    case kPolylineEllipse: {
        if (n < 4) return false;
        Float64 mx = (p[0] + p[2] + p[4] + p[6]) / 4, my = (p[1] + p[3] + p[5] + p[7]) / 4;
        Float64 a = std::hypot(p[2] - p[0], p[3] - p[1]) / 2, b = std::hypot(p[4] - p[2], p[5] - p[3]) / 2;
        Float64 theta = std::atan2(p[3] - p[1], p[2] - p[0]);
        Float64 ct = std::cos(theta), st = std::sin(theta);
        for (int k = 0; k <= kEllipseSteps; ++k) {
            Float64 u = k * kDegreesToRadians, cu = std::cos(u), su = std::sin(u);
            if (!AppendOutlinePoint(doc, mx + a * cu * ct - b * su * st, my + a * cu * st + b * su * ct))
                return false;
        }
        return true;
    }
    case kPolylineRoundedRect:
        return n >= 4 && AppendRoundedBoxOutline(doc, p, polyline->params[0]);
    default:
        return false;
    }
}

bool CircleOutline(DocWindowRecord* doc, const ArcRecord* arc) {
    if (!Finite(arc->cx, arc->cy) || !(arc->radius > 0) || !std::isfinite(arc->radius)) return false;
    return SetEllipseOutline(doc, arc->cx, arc->cy, arc->radius, arc->radius);
}

// The circular segment the line cuts off the arc's circle on the side the arc was clicked.
bool LineArcOutline(DocWindowRecord* doc, const AreaPickRecord& linePick, const AreaPickRecord& arcPick) {
    const auto* line = static_cast<const LineRecord*>(linePick.element);
    const auto* arc = static_cast<const ArcRecord*>(arcPick.element);
    double ax, ay, bx, by;
    if (!IntersectLineCircle(line->x1, line->y1, line->x2, line->y2, arc->cx, arc->cy, arc->radius, ax, ay,
                             bx, by) ||
        !Finite(ax, ay) || !Finite(bx, by) || !Finite(arc->cx, arc->cy))
        return false;
    Boolean ccw = PointOnArcSweep(arc->cx, arc->cy, ax, ay, bx, by, arcPick.x, arcPick.y);
    return AppendArcBetweenPoints(doc, arc->cx, arc->cy, arc->radius, ax, ay, bx, by, ccw) &&
           AppendOutlinePoint(doc, ax, ay);
}

// Where the chain leaves pick a for pick b (its successor): the end of a and the start of b, which
// are one point except between parallel lines.
bool Junction(const AreaPickRecord& a, const AreaPickRecord& b, Pt2* endOfA, Pt2* startOfB) {
    const bool aLine = a.kind == kLinePick, bLine = b.kind == kLinePick;
    double x = 0, y = 0;
    if (aLine && bLine) {
        const auto* la = static_cast<const LineRecord*>(a.element);
        const auto* lb = static_cast<const LineRecord*>(b.element);
        if (IntersectLines(la->x1, la->y1, la->x2, la->y2, lb->x1, lb->y1, lb->x2, lb->y2, x, y)) {
            *endOfA = *startOfB = {x, y};
            return true;
        }
        // Parallel: the two lines are joined between their nearest ends.
        const Pt2 ea[2] = {{la->x1, la->y1}, {la->x2, la->y2}}, eb[2] = {{lb->x1, lb->y1}, {lb->x2, lb->y2}};
        Float64 best = -1;
        for (const Pt2& p : ea)
            for (const Pt2& q : eb) {
                Float64 dd = DistanceSquared(p.x, p.y, q.x, q.y);
                if (best < 0 || dd < best) best = dd, *endOfA = p, *startOfB = q;
            }
        return best >= 0;
    }
    double xa, ya, xb, yb;
    if (aLine != bLine) {
        const AreaPickRecord& lp = aLine ? a : b;
        const auto* line = static_cast<const LineRecord*>(lp.element);
        const auto* arc = static_cast<const ArcRecord*>((aLine ? b : a).element);
        if (!IntersectLineCircle(line->x1, line->y1, line->x2, line->y2, arc->cx, arc->cy, arc->radius, xa,
                                 ya, xb, yb))
            return false;
        ChooseArcIntersection(xa, ya, xb, yb, lp.x, lp.y, arc, &x, &y);
    } else {
        const auto* ca = static_cast<const ArcRecord*>(a.element);
        const auto* cb = static_cast<const ArcRecord*>(b.element);
        if (!IntersectCircles(ca->cx, ca->cy, ca->radius, cb->cx, cb->cy, cb->radius, xa, ya, xb, yb))
            return false;
        NearerPoint(xa, ya, xb, yb, a.x, a.y, &x, &y);
    }
    *endOfA = *startOfB = {x, y};
    return true;
}

// A line with a direction, or an arc with a circle: a zero-length line or a damaged record joins nothing.
bool Usable(const AreaPickRecord& p) {
    if (p.element == nullptr) return false;
    if (p.kind == kLinePick) {
        const auto* l = static_cast<const LineRecord*>(p.element);
        return Finite(l->x1, l->y1) && Finite(l->x2, l->y2) && (l->x1 != l->x2 || l->y1 != l->y2);
    }
    if (p.kind == kArcPick) {
        const auto* a = static_cast<const ArcRecord*>(p.element);
        return Finite(a->cx, a->cy) && a->radius > 0 && std::isfinite(a->radius);
    }
    return false;
}

bool ChainOutline(DocWindowRecord* doc, const AreaPickRecord* picks, SInt16 n) {
    for (SInt16 i = 0; i < n; ++i)
        if (!Usable(picks[i])) return false;
    std::vector<Pt2> starts(static_cast<size_t>(n)), ends(static_cast<size_t>(n));
    for (SInt16 i = 0; i < n; ++i) {
        SInt16 next = SInt16((i + 1) % n);
        if (!Junction(picks[i], picks[next], &ends[size_t(i)], &starts[size_t(next)])) return false;
    }
    for (SInt16 i = 0; i < n; ++i) {
        const Pt2 s = starts[size_t(i)], e = ends[size_t(i)];
        if (picks[i].kind == kLinePick) {
            if (!AppendOutlinePoint(doc, s.x, s.y) || !AppendOutlinePoint(doc, e.x, e.y)) return false;
            continue;
        }
        const auto* arc = static_cast<const ArcRecord*>(picks[i].element);
        if (!Finite(s.x, s.y) || !Finite(e.x, e.y) || !Finite(arc->cx, arc->cy)) return false;
        Boolean ccw = PointOnArcSweep(arc->cx, arc->cy, s.x, s.y, e.x, e.y, picks[i].x, picks[i].y);
        if (!AppendArcBetweenPoints(doc, arc->cx, arc->cy, arc->radius, s.x, s.y, e.x, e.y, ccw))
            return false;
    }
    return AppendOutlinePoint(doc, starts[0].x, starts[0].y);
}

// A point contour encloses something: finite points, not all on one line. An ellipse contour has a
// finite centre and positive radii.
bool OutlineEncloses(DocWindowRecord* doc) {
    Handle h = doc->drawing->toolInput.outlineBlock;
    if (h == nullptr) return false;
    SInt16 last = OutlineLastIndex(h);
    const Float64* p = OutlinePoints(h);
    if (last < 0)
        return Finite(p[0], p[1]) && p[2] > 0 && p[3] > 0 && std::isfinite(p[2]) && std::isfinite(p[3]);
    if (last < 3) return false;
    Float64 twiceArea = 0, extent = 0;
    for (SInt16 i = 0; i <= last; ++i) {
        if (!Finite(p[2 * i], p[2 * i + 1])) return false;
        extent = std::max({extent, std::fabs(p[2 * i] - p[0]), std::fabs(p[2 * i + 1] - p[1])});
        SInt16 j = SInt16(i == last ? 0 : i + 1);
        twiceArea += (p[2 * i] - p[0]) * (p[2 * j + 1] - p[1]) - (p[2 * j] - p[0]) * (p[2 * i + 1] - p[1]);
    }
    return std::isfinite(twiceArea) && std::fabs(twiceArea) > 1e-12 * extent * extent;
}

void MarkOutlinePoints(DocWindowRecord* doc) {
    Handle h = doc->drawing->toolInput.outlineBlock;
    SInt16 last = OutlineLastIndex(h);
    // One drawing bracket for all the marks: a long outline would open the window once a point.
    BeginDrawingArea(doc, true);
    if (last < 0) DrawPointMark(doc, OutlinePoints(h)[0], OutlinePoints(h)[1]);
    for (SInt16 i = 0; i < last; ++i)
        DrawPointMark(doc, OutlinePoints(h)[2 * i], OutlinePoints(h)[2 * i + 1]);
    BeginDrawingArea(doc, false);
}

bool BuildOutline(DocWindowRecord* doc, const AreaPickRecord* picks, SInt16 n) {
    if (n <= 0 || picks[0].element == nullptr) return false;
    const AreaPickRecord& first = picks[0];
    switch (first.kind) {
    case kTextPick:
        return TextOutline(doc, static_cast<const TextRecord*>(first.element));
    case kDimensionPick:
        return DimensionOutline(doc, static_cast<const DimensionRecord*>(first.element));
    case kPolylinePick:
        return n == 1 && PolylineOutline(doc, static_cast<const PolylineRecord*>(first.element));
    default:
        break;
    }
    if (n == 1 && first.kind == kArcPick)
        return CircleOutline(doc, static_cast<const ArcRecord*>(first.element));
    if (n == 2 && first.kind != picks[1].kind && Usable(first) && Usable(picks[1]))
        return first.kind == kLinePick ? LineArcOutline(doc, first, picks[1])
                                       : LineArcOutline(doc, picks[1], first);
    return ChainOutline(doc, picks, n);
}

// A pick of a line or arc; one inside a symbol is a copy the pick owns, since the finder reuses its
// record. Ignored when it names the element of the last pick.
bool AddElementPick(DocWindowRecord* doc, ToolStateRecord* t, UInt16 kind, void* element) {
    DrawingRecord* d = doc->drawing;
    SInt16 part = 0;
    if (kind == kLinePick && element == d->toolInput.workLines[0]) {
        element = CloneLineRecord(static_cast<LineRecord*>(element));
        part = kSegmentLinePart;
    } else if (kind == kArcPick && element == d->toolInput.workArcs[0]) {
        element = CloneArcRecord(static_cast<ArcRecord*>(element));
        part = kSegmentLinePart;
    }
    if (element == nullptr) return false;
    AreaPickRecord candidate{kind, d->toolInput.cursorX, d->toolInput.cursorY, part, element};
    SInt16 n = PickTotal(t);
    if (n > 0 && SameElement(Picks(t)[n - 1], candidate)) {
        FreeOwned(candidate);
        return true;
    }
    if (!AppendPickRecord(doc, kind, element, candidate.x, candidate.y, part)) {
        FreeOwned(candidate);
        return false;
    }
    return true;
}

void PickClick(DocWindowRecord* doc, ToolStateRecord* t) {
    DrawingRecord* d = doc->drawing;
    t->lastHitVertex = -1;
    if (PickPolyline(doc, kPickFlashOnOff, kWantAllPolylines, true)) {
        auto* polyline = d->cursors.polylineCursor;
        if (!AppendPickRecord(doc, kPolylinePick, polyline, 0, 0, std::max<SInt16>(t->lastHitVertex, 0))) {
            AbandonChain(doc);
            return;
        }
        SInt16 n = PickTotal(t);
        AreaPickRecord* p = Picks(t);
        if (n >= 2 && p[n - 2].kind == kPolylinePick && p[n - 2].element == p[n - 1].element) {
            SInt16 from = p[n - 2].part, to = p[n - 1].part;
            DropLastPick(t);
            DropLastPick(t);
            if (!AddRunPicks(doc, polyline, from, to)) AbandonChain(doc);
        }
        return;
    }
    UInt16 kind = kLinePick;
    void* element = nullptr;
    if (PickLine(doc, kPickFlashOffOn, true, true, nullptr)) {
        element = d->cursors.lineCursor;
    } else if (PickArc(doc, kPickFlashOffOn, true, true, nullptr)) {
        kind = kArcPick;
        element = d->cursors.arcCursor;
    }
    if (element != nullptr) {
        if (!AddElementPick(doc, t, kind, element)) AbandonChain(doc);
        return;
    }
    if (d->toolInput.pendingStep != 1 || PickTotal(t) != 0) return;
    if (PickText(doc, kPickSelect, true)) {
        kind = kTextPick;
        element = d->cursors.textCursor;
    } else if (PickDimension(doc, kPickSelect, true)) {
        kind = kDimensionPick;
        element = d->cursors.dimensionCursor;
    }
    if (element == nullptr) return;
    if (!AppendPickRecord(doc, kind, element, d->toolInput.cursorX, d->toolInput.cursorY, 0)) {
        AbandonChain(doc);
        return;
    }
    if (TraceAreaOutline(doc)) ResetToolState(doc, 1);
}

void PickReturn(DocWindowRecord* doc, ToolStateRecord* t) {
    SInt16 n = PickTotal(t);
    if (n == 0) {
        if (doc->drawing->toolInput.pendingStep == 1) ResetToolState(doc, 2);
        return;
    }
    // Clicking the first element again closed the chain.
    if (n >= 2 && SameElement(Picks(t)[0], Picks(t)[n - 1])) {
        DropLastPick(t);
        --n;
    }
    bool polylineInChain = false;
    for (SInt16 i = 0; i < n; ++i)
        polylineInChain |= Picks(t)[i].kind == kPolylinePick;
    if (n > 1 && polylineInChain) {
        ResetToolState(doc, 0);
        ShowErrorStr128(kPolylineInChainMessage);
    } else if (TraceAreaOutline(doc)) {
        ResetToolState(doc, 1);
    }
    DisposePickList(doc);
}

} // namespace

void CreateAreaFromPicks(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return;
    if (TypedValueCount(doc) == -1)
        PickReturn(doc, t);
    else
        PickClick(doc, t);
}

Boolean TraceAreaOutline(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return false;
    ShowStatusMessage(doc, kTracingMessage, true);
    DiscardOutline(doc);
    bool ok = BuildOutline(doc, Picks(t), PickTotal(t)) && OutlineEncloses(doc);
    if (ok) {
        MarkOutlinePoints(doc);
        ok = PushOutlineContour(doc);
    }
    if (!ok) {
        DiscardOutline(doc);
        ResetToolState(doc, 0);
        ShowErrorStr128(kNoOutlineMessage);
    }
    return ok;
}

Boolean AppendPickRecord(DocWindowRecord* doc, UInt16 kind, void* element, Float64 x, Float64 y,
                         SInt16 part) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return false;
    SInt16 n = PickTotal(t);
    if (n >= kMaxPicks) return false;
    // The block holds exactly the picks: others read its size.
    Size need = Size(n + 1) * Size(sizeof(AreaPickRecord));
    if (t->pickList == nullptr) {
        t->pickList = NewHandle(need);
        if (t->pickList == nullptr) return false;
    } else {
        SetHandleSize(t->pickList, need);
        if (MemError() != noErr || GetHandleSize(t->pickList) < need) {
            SetHandleSize(t->pickList, Size(n) * Size(sizeof(AreaPickRecord)));
            return false;
        }
    }
    Picks(t)[n] = AreaPickRecord{kind, x, y, part, element};
    t->pickCount = SInt16(n + 1);
    return true;
}

void AddPolylineRunPicks(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 fromIndex, SInt16 toIndex) {
    if (polyline != nullptr) AddRunPicks(doc, polyline, fromIndex, toIndex);
}

void RemoveLastPick(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return;
    SInt16 n = PickTotal(t);
    if (n <= 0) {
        SysBeep(1);
        return;
    }
    AreaPickRecord& last = Picks(t)[n - 1];
    const bool drawn = !Owned(last);
    if (last.kind == kArcPick) {
        if (drawn) {
            static_cast<ArcRecord*>(last.element)->selected = 0;
            gDocumentHooks.drawElement(doc, kArcElement, last.element);
        }
    } else if (last.kind == kLinePick && last.part == 0) {
        static_cast<LineRecord*>(last.element)->selected = 0;
        gDocumentHooks.drawElement(doc, kLineElement, last.element);
    } else {
        SysBeep(1);
        return;
    }
    DropLastPick(t);
}
