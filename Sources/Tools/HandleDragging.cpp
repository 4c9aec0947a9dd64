// Handle dragging: where the press lies on the element chooses the handle (an end or vertex within 3
// pixels, a corner or an edge's middle within 6, else the element itself), a tracker follows the
// mouse, and the element is replaced (lines, arcs, instances) or changed in place (texts, areas,
// polylines) in one undo step. A drag that ends where it began, or whose result is the element as
// it was, records nothing; an element with coordinates that are not finite and sane is not dragged.
#include "Tools/HandleDragging.h"

#include "Model/DimensionEditing.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Model/Polylines.h"
#include "Model/Selection.h"
#include "Model/SpatialIndex.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Platform/MemoryManager.h"
#include "Tools/DragTracking.h"
#include "Tools/Picking.h"
#include "Tools/TextEditing.h"
#include "Tools/TextElements.h"
#include "Tools/ToolState.h"
#include "View/ElementMoves.h"
#include "Tools/ToolDispatch.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr Float64 kPointHandlePixels = 3.0;
constexpr Float64 kZonePixels = 6.0;
constexpr Float64 kEdgeMiddlePixels = 3.0;
constexpr int kEllipseChords = 72;
// Beyond a million kilometres a coordinate is taken for damage, not for a drawing.
constexpr Float64 kLargestCoordinate = 1e12;

bool Usable(Float64 v) {
    return std::isfinite(v) && std::fabs(v) <= kLargestCoordinate;
}

bool AllUsable(const Float64* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!Usable(v[i])) return false;
    return true;
}

bool SameValues(const Float64* a, const Float64* b, int n) {
    for (int i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The mouse where the press is, in window pixels and drawing units; the tool's cursor point and
// pick box are set there, so the finders test what the handles test.
struct Mouse {
    Point pixel;
    Float64 x, y;
};

Mouse ReadMouse(DocWindowRecord* doc) {
    Mouse m{};
    m.pixel = MouseInDrawing(doc, &m.x, &m.y);
    MouseToWorld(doc, m.pixel.h, SInt16(doc->drawing->view.viewHeight - m.pixel.v));
    return m;
}

bool CanDrag(DocWindowRecord* doc) {
    return doc != nullptr && doc->window != nullptr && doc->drawing != nullptr && doc->settings != nullptr;
}

// Window pixels (not rounded) of a drawing point.
Float64 PixelH(const DocWindowRecord* doc, Float64 x) {
    const DrawingRecord* d = doc->drawing;
    return (x - d->view.originX) / d->view.unitsPerPixel;
}
Float64 PixelV(const DocWindowRecord* doc, Float64 y) {
    const DrawingRecord* d = doc->drawing;
    return d->view.viewHeight - (y - d->view.originY) / d->view.unitsPerPixel;
}

bool IsMouseNearPoint(const DocWindowRecord* doc, const Mouse& m, Float64 x, Float64 y) {
    Float64 reach = 2 * kPointHandlePixels * doc->drawing->view.unitsPerPixel * 0.5;
    return std::fabs(m.x - x) <= reach && std::fabs(m.y - y) <= reach;
}

bool NearInPixels(const DocWindowRecord* doc, const Mouse& m, Float64 x, Float64 y, Float64 pixels) {
    return std::fabs(m.pixel.h - PixelH(doc, x)) <= pixels && std::fabs(m.pixel.v - PixelV(doc, y)) <= pixels;
}

// Where the press lies on an axis-parallel frame (x1, y1, x2, y2 with x1 < x2, y1 < y2).
enum class Zone { outside, corner, leftEdge, rightEdge, topEdge, bottomEdge, body };
struct FrameHit {
    Zone zone = Zone::outside;
    bool left = false, top = false; // which corner
};

FrameHit HitFrame(const DocWindowRecord* doc, const Mouse& m, const Float64 box[4], bool edges) {
    FrameHit hit;
    const Float64 l = std::round(PixelH(doc, box[0])), r = std::round(PixelH(doc, box[2]));
    const Float64 t = std::round(PixelV(doc, box[3])), b = std::round(PixelV(doc, box[1]));
    const Float64 h = m.pixel.h, v = m.pixel.v;
    if (h < l || h > r || v < t || v > b) return hit;
    const bool nearLeft = h <= l + kZonePixels, nearRight = h >= r - kZonePixels;
    const bool nearTop = v <= t + kZonePixels, nearBottom = v >= b - kZonePixels;
    if ((nearLeft || nearRight) && (nearTop || nearBottom)) {
        hit.zone = Zone::corner;
        hit.left = nearLeft;
        hit.top = nearTop;
        return hit;
    }
    hit.zone = Zone::body;
    if (!edges) return hit;
    if ((nearLeft || nearRight) && std::fabs(v - (t + b) / 2) <= kEdgeMiddlePixels)
        hit.zone = nearLeft ? Zone::leftEdge : Zone::rightEdge;
    else if ((nearTop || nearBottom) && std::fabs(h - (l + r) / 2) <= kEdgeMiddlePixels)
        hit.zone = nearTop ? Zone::topEdge : Zone::bottomEdge;
    return hit;
}

// A corner of the frame follows the mouse, the opposite one stays; the new frame, ordered.
bool DragFrameCorner(DocWindowRecord* doc, const FrameHit& hit, Float64 box[4], Boolean proportional,
                     Float64 ratio) {
    Float64 cx = hit.left ? box[0] : box[2], cy = hit.top ? box[3] : box[1];
    const Float64 fx = hit.left ? box[2] : box[0], fy = hit.top ? box[1] : box[3];
    const SInt16 cursor = hit.left == hit.top ? kFallingCornersCursor : kRisingCornersCursor;
    if (!TrackDragOffset(doc, cursor, fx, fy, &cx, &cy, proportional, ratio)) return false;
    box[0] = std::min(fx, cx), box[2] = std::max(fx, cx);
    box[1] = std::min(fy, cy), box[3] = std::max(fy, cy);
    return true;
}

// Corner, edge-middle or body drag of a frame; resized tells which.
bool DragFrame(DocWindowRecord* doc, const FrameHit& hit, Float64 box[4], Boolean proportional, Float64 ratio,
               bool* resized) {
    *resized = hit.zone != Zone::body;
    bool moved = false;
    switch (hit.zone) {
    case Zone::corner:
        return DragFrameCorner(doc, hit, box, proportional, ratio);
    case Zone::leftEdge:
    case Zone::rightEdge:
        moved = TrackBoxWidth(doc, box, hit.zone == Zone::rightEdge);
        break;
    case Zone::topEdge:
    case Zone::bottomEdge:
        moved = TrackBoxHeight(doc, box, hit.zone == Zone::topEdge);
        break;
    case Zone::body:
        return TrackBoxMove(doc, box, false);
    case Zone::outside:
        return false;
    }
    if (box[0] > box[2]) std::swap(box[0], box[2]);
    if (box[1] > box[3]) std::swap(box[1], box[3]);
    return moved;
}

void BoundsOf(const Float64* xy, int points, Float64 box[4]) {
    box[0] = box[2] = xy[0];
    box[1] = box[3] = xy[1];
    for (int i = 1; i < points; ++i) {
        box[0] = std::min(box[0], xy[2 * i]), box[2] = std::max(box[2], xy[2 * i]);
        box[1] = std::min(box[1], xy[2 * i + 1]), box[3] = std::max(box[3], xy[2 * i + 1]);
    }
}

bool HasArea(const Float64 box[4]) {
    return box[2] > box[0] && box[3] > box[1];
}

// A replacement at the tail of its list: journalled as new, selected, drawn. The line, arc and
// instance lists are linked the same way.
template <typename T> void AppendReplacement(DocWindowRecord* doc, T* head, T* copy, SInt16 kind) {
    copy->next = nullptr;
    copy->selected = 0;
    copy->marked = 0;
    T* last = head;
    while (last->next != nullptr)
        last = last->next;
    last->next = copy;
    SpatialIndexAppended(doc, kind, copy);
    RecordUndoElement(doc, copy, true);
    SetSelectedFlag(doc->drawing, &copy->selected, true);
    gDocumentHooks.drawElement(doc, kind, copy);
}

// The copy in place of the element, in one undo step: the copy at the tail, selected and held in
// the tool's slot, the old element removed with its undo record.
template <typename T, typename Remove>
void ReplaceElement(DocWindowRecord* doc, T* head, T* old, T* copy, SInt16 kind, T** slot, Remove remove) {
    RequestRedraw(doc);
    BeginUndoStep(doc);
    AppendReplacement(doc, head, copy, kind);
    if (slot != nullptr) *slot = copy;
    remove(doc, old);
    EndUndoStep(doc);
}

// The line with new ends in place of the old one. Its flag word and end marks are the old line's,
// given before it is journalled; when its ends are put in order the end marks and the run-on bits
// go with their points.
void ReplaceLine(DocWindowRecord* doc, LineRecord* line, const Float64 ends[4]) {
    const Float64 old[4] = {line->x1, line->y1, line->x2, line->y2};
    if (!AllUsable(ends, 4) || SameValues(ends, old, 4)) return;
    if (ends[0] == ends[2] && ends[1] == ends[3]) return; // no line of no length is made
    LineRecord* copy = CloneLineRecord(line);
    if (copy == nullptr) return;
    copy->x1 = ends[0], copy->y1 = ends[1], copy->x2 = ends[2], copy->y2 = ends[3];
    if (OrderSegmentEnds(&copy->x1, &copy->y1, &copy->x2, &copy->y2)) {
        UInt16 f = line->flags;
        f = SetLineEndMarkKind(SetLineStartMarkKind(f, LineEndMarkKind(line->flags)),
                               LineStartMarkKind(line->flags));
        f = UInt16(f & ~(kLineOpenStart | kLineOpenEnd));
        if (line->flags & kLineOpenStart) f |= kLineOpenEnd;
        if (line->flags & kLineOpenEnd) f |= kLineOpenStart;
        copy->flags = f;
    }
    ToolStateRecord* t = ToolStateOf(doc);
    ReplaceElement(doc, doc->lineHead, line, copy, kLineElement, t ? &t->firstLine : nullptr, RemoveLine);
}

void DrawOutlineMoved(DocWindowRecord* doc, Handle outline, Float64 dx, Float64 dy) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    const SInt16 last = OutlineLastIndex(outline);
    const Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    const Float64* p = OutlinePoints(outline);
    if (last < 0) {
        if (room < 2) return;
        const Float64 cx = p[0] + dx, cy = p[1] + dy, rx = p[2], ry = p[3];
        for (int i = 0; i < kEllipseChords; ++i) {
            Float64 a = kTwoPi * i / kEllipseChords, b = kTwoPi * (i + 1) / kEllipseChords;
            DrawWorldLine(doc, cx + rx * std::cos(a), cy + ry * std::sin(a), cx + rx * std::cos(b),
                          cy + ry * std::sin(b));
        }
        return;
    }
    const Size n = std::min(room, Size(last) + 1);
    for (Size i = 0; i + 1 < n; ++i)
        DrawWorldLine(doc, p[2 * i] + dx, p[2 * i + 1] + dy, p[2 * i + 2] + dx, p[2 * i + 3] + dy);
    if (n > 2) DrawWorldLine(doc, p[2 * n - 2] + dx, p[2 * n - 1] + dy, p[0] + dx, p[1] + dy);
}

void DrawAreaMoved(DocWindowRecord* doc, Float64 dx, Float64 dy, const void* user) {
    const AreaRecord* area = static_cast<const AreaRecord*>(user);
    DrawOutlineMoved(doc, area->outline, dx, dy);
    if (area->holes == nullptr || area->lastHoleIndex < 0) return;
    Size holes = std::min(Size(area->lastHoleIndex) + 1, GetHandleSize(area->holes) / Size(sizeof(Handle)));
    for (Size i = 0; i < holes; ++i)
        DrawOutlineMoved(doc, reinterpret_cast<Handle*>(*area->holes)[i], dx, dy);
}

bool OutlineUsable(Handle outline) {
    if (outline == nullptr) return true;
    if (GetHandleSize(outline) < Size(kOutlineHeaderSize)) return false;
    const SInt16 last = OutlineLastIndex(outline);
    const Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    const Size n = std::min(room, last < 0 ? Size(2) : Size(last) + 1);
    return AllUsable(OutlinePoints(outline), int(2 * n));
}

bool AreaUsable(const AreaRecord* area) {
    const Float64 box[4] = {area->minX, area->minY, area->maxX, area->maxY};
    if (!AllUsable(box, 4) || !OutlineUsable(area->outline)) return false;
    if (area->holes == nullptr || area->lastHoleIndex < 0) return true;
    Size holes = std::min(Size(area->lastHoleIndex) + 1, GetHandleSize(area->holes) / Size(sizeof(Handle)));
    for (Size i = 0; i < holes; ++i)
        if (!OutlineUsable(reinterpret_cast<Handle*>(*area->holes)[i])) return false;
    return true;
}

// The polyline's points, when it holds at least `needed` of them and all are usable.
Float64* PolylineXY(PolylineRecord* polyline, int needed) {
    if (polyline->points == nullptr || polyline->pointCount < needed) return nullptr;
    if (GetHandleSize(polyline->points) < Size(polyline->pointCount) * Size(2 * sizeof(Float64)))
        return nullptr;
    Float64* p = reinterpret_cast<Float64*>(*polyline->points);
    return AllUsable(p, 2 * polyline->pointCount) ? p : nullptr;
}

// The change to the polyline's points, between its state before and after, as one undo step.
template <typename Change>
void ChangePolyline(DocWindowRecord* doc, PolylineRecord* polyline, Change change) {
    BeginUndoStep(doc);
    RecordUndoPolyline(doc, polyline, false);
    change();
    RecordUndoPolyline(doc, polyline, true);
    EndUndoStep(doc);
    RequestRedraw(doc);
}

// A quadrilateral with no area is no ellipse or rectangle.
bool QuadHasArea(const Float64 q[8]) {
    Float64 a = 0;
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        a += q[2 * i] * q[2 * j + 1] - q[2 * j] * q[2 * i + 1];
    }
    return std::isfinite(a) && a != 0;
}

Boolean DragBoxPolyline(DocWindowRecord* doc, PolylineRecord* polyline, const Mouse& m) {
    Float64* p = PolylineXY(polyline, 4);
    if (p == nullptr) return false;
    Float64 q[8];
    std::memcpy(q, p, sizeof q);
    bool moved = false, tracked = false;
    for (SInt16 k = 0; k < 4 && !tracked; ++k)
        if (NearInPixels(doc, m, q[2 * k], q[2 * k + 1], kZonePixels)) {
            Float64 turned = 0;
            moved = TrackQuadRotation(doc, q, k, &turned);
            tracked = true;
        }
    for (SInt16 side = 0; side < 4 && !tracked; ++side) {
        int a = side, b = (side + 1) % 4;
        if (NearInPixels(doc, m, (q[2 * a] + q[2 * b]) / 2, (q[2 * a + 1] + q[2 * b + 1]) / 2, kZonePixels)) {
            moved = TrackRotatedShape(doc, q, side);
            tracked = true;
        }
    }
    if (!tracked) moved = TrackQuadMove(doc, q, polyline->kind == kPolylineEllipse);
    if (!moved || !AllUsable(q, 8) || SameValues(q, p, 8) || !QuadHasArea(q)) return false;
    ChangePolyline(doc, polyline,
                   [&] { std::memcpy(reinterpret_cast<Float64*>(*polyline->points), q, sizeof q); });
    return true;
}

Boolean DragPicturePolyline(DocWindowRecord* doc, PolylineRecord* polyline, const Mouse& m) {
    Float64* p = PolylineXY(polyline, 2);
    if (p == nullptr) return false;
    Float64 box[4];
    BoundsOf(p, 2, box);
    FrameHit hit = HitFrame(doc, m, box, true);
    if (hit.zone == Zone::outside) return false;
    Rect frame;
    GetPICTFrame(polyline->picture, &frame);
    const Float64 w = frame.right - frame.left, h = frame.bottom - frame.top;
    const Float64 ratio =
        w > 0 && h > 0 ? w / h : (box[3] > box[1] ? (box[2] - box[0]) / (box[3] - box[1]) : 1.0);
    bool resized = false;
    if (!DragFrame(doc, hit, box, true, ratio, &resized) || !AllUsable(box, 4) || !HasArea(box)) return false;
    // Each stored corner keeps its side of the frame.
    const bool firstLeft = p[0] <= p[2], firstLow = p[1] <= p[3];
    const Float64 q[4] = {firstLeft ? box[0] : box[2], firstLow ? box[1] : box[3],
                          firstLeft ? box[2] : box[0], firstLow ? box[3] : box[1]};
    if (SameValues(q, p, 4)) return false;
    ChangePolyline(doc, polyline,
                   [&] { std::memcpy(reinterpret_cast<Float64*>(*polyline->points), q, sizeof q); });
    return true;
}

void DragVertex(DocWindowRecord* doc, PolylineRecord* polyline) {
    Float64* p = PolylineXY(polyline, 1);
    ToolStateRecord* t = ToolStateOf(doc);
    if (p == nullptr || t == nullptr) return;
    const SInt16 n = polyline->pointCount, i = t->lastHitVertex;
    if (i < 0 || i >= n) return;
    Float64 x = p[2 * i], y = p[2 * i + 1];
    bool moved;
    if (i == 0)
        moved = TrackPointDrag(doc, &x, &y, p[n > 1 ? 2 : 0], p[n > 1 ? 3 : 1]);
    else if (i == n - 1)
        moved = TrackPointDrag(doc, &x, &y, p[2 * i - 2], p[2 * i - 1]);
    else
        moved = TrackVertexDrag(doc, &x, &y, p[2 * i - 2], p[2 * i - 1], p[2 * i + 2], p[2 * i + 3]);
    if (!moved || !Usable(x) || !Usable(y) || (x == p[2 * i] && y == p[2 * i + 1])) return;
    // The state before is journalled before the vertex moves.
    ChangePolyline(doc, polyline, [&] {
        Float64* q = reinterpret_cast<Float64*>(*polyline->points);
        q[2 * i] = x, q[2 * i + 1] = y;
    });
}

} // namespace

Boolean DragLineHandles(DocWindowRecord* doc, LineRecord* line) {
    if (!CanDrag(doc) || line == nullptr) return false;
    const Float64 old[4] = {line->x1, line->y1, line->x2, line->y2};
    if (!AllUsable(old, 4)) return false;
    const Mouse m = ReadMouse(doc);
    Float64 ends[4] = {old[0], old[1], old[2], old[3]};
    if (IsMouseNearPoint(doc, m, old[0], old[1])) {
        if (!TrackPointDrag(doc, &ends[0], &ends[1], old[2], old[3])) return true;
    } else if (IsMouseNearPoint(doc, m, old[2], old[3])) {
        if (!TrackPointDrag(doc, &ends[2], &ends[3], old[0], old[1])) return true;
    } else {
        if (!PickLine(doc, kPickFind, false, false, nullptr) || doc->drawing->cursors.lineCursor != line)
            return false;
        if (!TrackLineMove(doc, m.x, m.y, ends)) return true;
    }
    ReplaceLine(doc, line, ends);
    return true;
}

Boolean DragArcHandles(DocWindowRecord* doc, ArcRecord* arc) {
    if (!CanDrag(doc) || arc == nullptr) return false;
    const Float64 c[3] = {arc->cx, arc->cy, arc->radius};
    if (!AllUsable(c, 3) || !(arc->radius > 0)) return false;
    const Mouse m = ReadMouse(doc);
    Float64 box[4] = {arc->cx - arc->radius, arc->cy - arc->radius, arc->cx + arc->radius,
                      arc->cy + arc->radius};
    FrameHit hit = HitFrame(doc, m, box, false);
    bool moved = false;
    if (hit.zone == Zone::outside)
        return false;
    else if (hit.zone == Zone::corner)
        moved = DragFrameCorner(doc, hit, box, false, 1.0);
    else
        moved = TrackBoxMove(doc, box, true);
    if (!moved || !AllUsable(box, 4)) return false;
    const Float64 n[3] = {(box[0] + box[2]) / 2, (box[1] + box[3]) / 2, std::fabs(box[3] - box[1]) / 2};
    if (!(n[2] > 0) || SameValues(n, c, 3)) return false;
    ArcRecord* copy = CloneArcRecord(arc);
    if (copy == nullptr) return false;
    copy->cx = n[0], copy->cy = n[1], copy->radius = n[2];
    ToolStateRecord* t = ToolStateOf(doc);
    ReplaceElement(doc, doc->arcHead, arc, copy, kArcElement, t ? &t->firstArc : nullptr, RemoveArc);
    return true;
}

Boolean DragTextHandles(DocWindowRecord* doc, TextRecord* text) {
    if (!CanDrag(doc) || text == nullptr) return false;
    const Float64 anchor[4] = {text->x, text->y, text->x2, text->y2};
    if (!AllUsable(text->corners, 8) || !AllUsable(anchor, 4)) return false;
    const Mouse m = ReadMouse(doc);
    if (!PickText(doc, kPickFind, false) || doc->drawing->cursors.textCursor != text) return false;
    ToolStateRecord* t = ToolStateOf(doc);
    const bool atReference = t != nullptr && t->textSecondPoint;
    Float64 box[4];
    BoundsOf(text->corners, 4, box);

    bool tracked = false, changed = false, resized = false;
    if (IsFramedTextBox(text)) {
        FrameHit hit = HitFrame(doc, m, box, true);
        if (hit.zone != Zone::outside && hit.zone != Zone::body) {
            tracked = true;
            changed = DragFrame(doc, hit, box, false, 1.0, &resized) && HasArea(box) && AllUsable(box, 4);
        }
    }
    if (!tracked && atReference) {
        // The reference point alone: the text is laid out again for it, as when the point is typed.
        Float64 x = text->x2, y = text->y2;
        if (!TrackPointDrag(doc, &x, &y, text->corners[0], text->corners[1])) return false;
        if (!Usable(x) || !Usable(y) || (x == text->x2 && y == text->y2)) return false;
        ClearRubberPoints(doc);
        return MoveTextPoint(doc, text, x, y, false) != nullptr;
    }
    Float64 dx = 0, dy = 0;
    if (!tracked) {
        Float64 rx = text->x, ry = text->y;
        TextAnchorPoint(text, &rx, &ry);
        const Float64 r0x = rx, r0y = ry;
        changed = TrackFramedMove(doc, &rx, &ry, box, false);
        dx = rx - r0x, dy = ry - r0y;
        changed = changed && (dx != 0 || dy != 0) && Usable(dx) && Usable(dy);
    }
    if (!changed) return false;
    Float64 corners[8] = {box[0], box[1], box[2], box[1], box[2], box[3], box[0], box[3]};
    if (resized && SameValues(corners, text->corners, 8)) return false;
    RequestRedraw(doc);
    ClearRubberPoints(doc);
    BeginUndoStep(doc);
    RecordUndoText(doc, text, false);
    if (resized) {
        std::memcpy(text->corners, corners, sizeof corners);
        // A box's anchor is its lower-left corner.
        text->x = box[0], text->y = box[1];
    } else {
        text->x += dx, text->y += dy;
        for (int k = 0; k < 4; ++k)
            text->corners[2 * k] += dx, text->corners[2 * k + 1] += dy;
    }
    RecordUndoText(doc, text, true);
    EndUndoStep(doc);
    gDocumentHooks.drawElement(doc, kTextElement, text);
    return true;
}

Boolean DragDimensionHandles(DocWindowRecord* doc, DimensionRecord* dimension) {
    if (!CanDrag(doc) || dimension == nullptr) return false;
    const Float64 corners[8] = {dimension->textX,    dimension->textY,    dimension->frame[0],
                                dimension->frame[1], dimension->frame[2], dimension->frame[3],
                                dimension->frame[4], dimension->frame[5]};
    if (!AllUsable(corners, 8)) return false;
    ReadMouse(doc);
    if (!PickDimension(doc, kPickFind, false) || doc->drawing->cursors.dimensionCursor != dimension)
        return false;
    Float64 box[4];
    BoundsOf(corners, 4, box);
    Float64 x = box[0], y = box[1];
    if (!TrackFramedMove(doc, &x, &y, box, true)) return false;
    if ((x == box[0] && y == box[1]) || !Usable(x) || !Usable(y)) return false;
    // The moved box's centre.
    const Float64 px = x + (box[2] - box[0]) / 2, py = y + (box[3] - box[1]) / 2;
    BeginUndoStep(doc);
    DimensionRecord* made = MoveDimensionLine(doc, dimension, px, py);
    EndUndoStep(doc);
    return made != nullptr;
}

Boolean DragAreaOutline(DocWindowRecord* doc, AreaRecord* area) {
    if (!CanDrag(doc) || area == nullptr || !AreaUsable(area)) return false;
    ReadMouse(doc);
    if (!PickArea(doc, kPickFind, false) || doc->drawing->cursors.areaCursor != area) return false;
    Float64 dx = 0, dy = 0;
    if (!TrackFreeOffset(doc, kMoveCursor, DrawAreaMoved, area, &dx, &dy)) return true;
    if (!Usable(dx) || !Usable(dy) || (dx == 0 && dy == 0)) return true;
    RequestRedraw(doc);
    BeginUndoStep(doc);
    RecordUndoArea(doc, area, false);
    MoveAreaElement(area, doc, dx, dy);
    RecordUndoArea(doc, area, true);
    EndUndoStep(doc);
    return true;
}

Boolean DragSymbolInstanceHandles(DocWindowRecord* doc, SymbolInstanceRecord* instance) {
    if (!CanDrag(doc) || instance == nullptr) return false;
    const Float64 place[3] = {instance->x, instance->y, instance->angle};
    if (!AllUsable(place, 3) || !AllUsable(instance->frame, 8)) return false;
    const Mouse m = ReadMouse(doc);
    Float64 x = instance->x, y = instance->y, angle = instance->angle;
    bool moved = false, tracked = false;
    for (SInt16 k = 0; k < 4 && !tracked; ++k)
        if (IsMouseNearPoint(doc, m, x + instance->frame[2 * k], y + instance->frame[2 * k + 1])) {
            Float64 corners[8], turned = 0;
            std::memcpy(corners, instance->frame, sizeof corners);
            tracked = true;
            // Placement scales and then turns, so the box turns by exactly the turn of the angle,
            // mirrored or not.
            moved = TrackRotationAboutPivot(doc, x, y, corners, k, angle, &turned);
            if (moved) angle = NormalizeAngle(angle + turned);
        }
    if (!tracked) {
        if (!PickSymbolInstance(doc, kPickFind, false, true, nullptr) ||
            doc->drawing->cursors.instanceCursor != instance)
            return false;
        Float64 box[4];
        InstanceBox(instance, box);
        moved = TrackFramedMove(doc, &x, &y, box, false);
    }
    const Float64 now[3] = {x, y, angle};
    if (!moved || !AllUsable(now, 3) || SameValues(now, place, 3)) return false;
    SymbolInstanceRecord* copy = CloneSymbolInstanceRecord(instance);
    if (copy == nullptr) return false;
    copy->x = x, copy->y = y, copy->angle = angle;
    ComputeInstanceFrame(doc, copy);
    SymbolInstanceRecord* held = nullptr;
    ReplaceElement(doc, doc->instanceHead, instance, copy, kSymbolInstanceElement, &held, RemoveInstance);
    if (ToolStateRecord* t = ToolStateOf(doc)) t->pickedOther = held;
    return true;
}

Boolean DragPolylineHandles(DocWindowRecord* doc, PolylineRecord* polyline) {
    if (!CanDrag(doc) || polyline == nullptr) return false;
    const Mouse m = ReadMouse(doc);
    if (!PickPolyline(doc, kPickFind, kWantAllPolylines, false) ||
        doc->drawing->cursors.polylineCursor != polyline)
        return false;
    switch (polyline->kind) {
    case kPolylineEllipse:
    case kPolylineRoundedRect:
        return DragBoxPolyline(doc, polyline, m);
    case kPolylinePicture:
        return DragPicturePolyline(doc, polyline, m);
    case kPolylineSegments:
    case kPolylineSpline:
    case kPolylineCurve:
    case kPolylineUnexplodable:
        // A vertex drag is not reported as handled.
        DragVertex(doc, polyline);
        return false;
    default:
        return false;
    }
}
