// Tool group 10: tools 0 to 3 collect clicked or typed points and make a polyline, spline, curve or
// kind-3 list of them; tools 4 to 6 and 8 move, delete, insert and type in one vertex; tool 7
// explodes polylines; tool 9 replaces the elements around a region by one closed polyline.
#include "Tools/PointListTools.h"

#include "Dialogs/PolylineVertexDialog.h"
#include "Model/AttributeChange.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Other/MathPrimitives.h"
#include "Model/PolylineGeometry.h"
#include "Model/Polylines.h"
#include "Model/Selection.h"
#include "Model/SelectionCriteria.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"
#include "Tools/AreaOutlines.h"
#include "Tools/AreaPicks.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr SInt16 kPointListRow = 10 * 12;
constexpr SInt16 kBoundaryTool = 9;
// Messages of list 128: no closed outline; a chain of several picks still holds a whole polyline.
constexpr SInt16 kNoOutlineMessage = 55, kPolylineInChainMessage = 156;

SInt16 Tool() {
    return std::clamp<SInt16>(CurrentTool(), 0, kBoundaryTool);
}

// Return on an empty field, or one typed value ("1" closes the list).
bool IsFinishingInput(const ToolStep& s) {
    return s.typed == -1 || s.typed == 1;
}

// Tools 0 to 3.

// A polyline needs two different points; the duplicates the builder drops do not count.
bool HasTwoDistinctPoints(const DocWindowRecord* doc) {
    Float64 x0, y0, x, y;
    if (!GetTempPoint(doc, 0, &x0, &y0)) return false;
    for (SInt16 i = 1; GetTempPoint(doc, i, &x, &y); ++i)
        if (x != x0 || y != y0) return true;
    return false;
}

void FinishPointList(ToolStep& s, bool close) {
    // Too few points make nothing; the points stay for more clicks, the field is emptied.
    if (!HasTwoDistinctPoints(s.doc) || (close && !ClosePointList(s.doc))) {
        SysBeep(1);
        ShowToolPrompt(s.doc);
        return;
    }
    PolylineRecord* made = nullptr;
    BeginUndoStep(s.doc);
    BuildPolylineFromPoints(s.doc, &made, Tool(), true, 0, 0);
    EndUndoStep(s.doc);
    ResetToolState(s.doc, 0);
}

void PointStep(ToolStep& s) {
    // The flag is cleared by every reset to step 0: points of an abandoned run are not taken up again.
    if (!s.t->toolFlag) {
        EmptyTempPoints(s.doc);
        s.t->toolFlag = 1;
    }
    if (IsFinishingInput(s)) {
        FinishPointList(s, s.typed == 1);
        return;
    }
    if (SnapCursor(s.doc)) AppendTempPoint(s.doc);
}

// Tools 4 to 6 and 8.

PolylineRecord* PickedPolyline(ToolStep& s) {
    auto* p = static_cast<PolylineRecord*>(s.t->pickedOther);
    return p != nullptr && ElementInDocument(s.doc, kPolylineElement, p) ? p : nullptr;
}

// A point polyline with one of its vertices under the cursor.
bool PickVertex(ToolStep& s) {
    s.t->lastHitVertex = -1;
    if (!PickPolyline(s.doc, kPickFind, kWantPointPolylines, false)) return false;
    PolylineRecord* p = s.d->cursors.polylineCursor;
    if (p == nullptr || s.t->lastHitVertex < 0 || s.t->lastHitVertex >= p->pointCount) return false;
    s.t->pickedOther = p;
    s.t->pickedVertex = s.t->lastHitVertex;
    return true;
}

void MoveVertexPickStep(ToolStep& s) {
    if (s.typed != 0 || !PickVertex(s)) return;
    SetSelectedFlag(s.d, &PickedPolyline(s)->selected, 1);
    RequestRedraw(s.doc);
    ResetToolState(s.doc, 1);
}

// The polyline picked in an earlier step, once the point for it is snapped; null without a point,
// and when the polyline is gone (the tool then starts again).
PolylineRecord* PickedPolylineAndPoint(ToolStep& s) {
    if (IsFinishingInput(s)) return nullptr;
    PolylineRecord* p = PickedPolyline(s);
    if (p == nullptr) {
        ResetToolState(s.doc, 0);
        return nullptr;
    }
    return SnapCursor(s.doc) ? p : nullptr;
}

// The other end of a closed polyline (its last point on its first, a triangle at least) when i is
// one of its ends; -1 otherwise.
SInt16 OtherClosingEnd(const PolylineRecord* p, SInt16 i) {
    const Float64* xy = PolylinePoints(p);
    const SInt16 last = SInt16(p->pointCount - 1);
    if (xy == nullptr || last < 3 || xy[0] != xy[2 * last] || xy[1] != xy[2 * last + 1]) return -1;
    return i == 0 ? last : i == last ? 0 : -1;
}

// The vertex moved in one undo step; a closed polyline keeps its ends together, so it stays closed.
void MoveVertex(DocWindowRecord* doc, PolylineRecord* p, SInt16 i, Float64 x, Float64 y) {
    const Float64* xy = PolylinePoints(p);
    // A vertex put back where it was is no change to take back.
    if (xy == nullptr || i < 0 || i >= p->pointCount || (xy[2 * i] == x && xy[2 * i + 1] == y)) return;
    const SInt16 other = OtherClosingEnd(p, i);
    BeginUndoStep(doc);
    MovePolylineVertex(doc, p, i, x, y);
    if (other >= 0) MovePolylineVertex(doc, p, other, x, y);
    EndUndoStep(doc);
}

void MoveVertexStep(ToolStep& s) {
    PolylineRecord* p = PickedPolylineAndPoint(s);
    if (p == nullptr) return;
    MoveVertex(s.doc, p, s.t->pickedVertex, s.d->toolInput.cursorX, s.d->toolInput.cursorY);
    ResetToolState(s.doc, 0);
}

void DeleteVertexStep(ToolStep& s) {
    if (s.typed != 0 || !PickVertex(s)) return;
    PolylineRecord* p = PickedPolyline(s);
    const SInt16 i = s.t->pickedVertex;
    if (OtherClosingEnd(p, i) < 0) {
        if (!DeletePolylineVertex(s.doc, p, i)) SysBeep(1);
    } else {
        // The corner the two ends share goes: the next vertex closes the polyline instead.
        const SInt16 last = SInt16(p->pointCount - 1);
        BeginUndoStep(s.doc);
        DeletePolylineVertex(s.doc, p, last);
        DeletePolylineVertex(s.doc, p, 0);
        const Float64* xy = PolylinePoints(p);
        InsertPolylineVertex(s.doc, p, SInt16(last - 1), xy[0], xy[1]);
        EndUndoStep(s.doc);
    }
    ResetToolState(s.doc, 0);
}

void InsertVertexPickStep(ToolStep& s) {
    if (s.typed != 0 || !PickVertex(s)) return;
    DeselectAll(s.doc, false);
    ResetToolState(s.doc, 1);
}

// The segment of the polyline nearest the cursor among those crossing the pick rectangle; its end
// index is where a vertex goes in.
bool SegmentUnderCursor(const DocWindowRecord* doc, const PolylineRecord* p, SInt16* end) {
    const ToolInputState& in = doc->drawing->toolInput;
    const PickRect r{in.pickMinX, in.pickMaxX, in.pickMinY, in.pickMaxY, in.cursorX, in.cursorY};
    const Float64* xy = PolylinePoints(p);
    if (xy == nullptr) return false;
    const Size room = GetHandleSize(p->points) / Size(2 * sizeof(Float64));
    const SInt16 count = SInt16(std::min<Size>(room, Size(std::max<SInt16>(p->pointCount, 0))));
    Float64 best = INFINITY;
    for (SInt16 i = 0; i + 1 < count; ++i) {
        LineRecord seg{};
        seg.x1 = xy[2 * i], seg.y1 = xy[2 * i + 1], seg.x2 = xy[2 * i + 2], seg.y2 = xy[2 * i + 3];
        NormalizeLineDirection(&seg);
        if (!LineHitTest(&seg, r)) continue;
        // Distance of the cursor from the segment, the foot kept on it.
        const Float64 dx = seg.x2 - seg.x1, dy = seg.y2 - seg.y1, len2 = dx * dx + dy * dy;
        Float64 u = len2 > 0 ? ((in.cursorX - seg.x1) * dx + (in.cursorY - seg.y1) * dy) / len2 : 0;
        u = std::clamp(u, 0.0, 1.0);
        const Float64 d = DistanceSquared(in.cursorX, in.cursorY, seg.x1 + u * dx, seg.y1 + u * dy);
        if (d < best) {
            best = d;
            *end = SInt16(i + 1);
        }
    }
    return best < INFINITY;
}

void InsertVertexSegmentStep(ToolStep& s) {
    if (s.typed != 0) return;
    PolylineRecord* p = PickedPolyline(s);
    if (p != nullptr && SegmentUnderCursor(s.doc, p, &s.t->segmentEnd)) {
        ResetToolState(s.doc, 2);
        return;
    }
    ResetToolState(s.doc, 0);
}

void InsertVertexStep(ToolStep& s) {
    PolylineRecord* p = PickedPolylineAndPoint(s);
    if (p == nullptr) return;
    InsertPolylineVertex(s.doc, p, s.t->segmentEnd, s.d->toolInput.cursorX, s.d->toolInput.cursorY);
    ResetToolState(s.doc, 0);
}

void EditVertexStep(ToolStep& s) {
    if (s.typed != 0 || !PickVertex(s)) return;
    DeselectAll(s.doc, false);
    PolylineRecord* p = PickedPolyline(s);
    Float64 x, y;
    if (PolylineVertexDialog(s.doc, p, s.t->pickedVertex, &x, &y))
        MoveVertex(s.doc, p, s.t->pickedVertex, x, y);
    ResetToolState(s.doc, 0);
}

// Tool 7.

void ExplodePickStep(ToolStep& s) {
    if (s.typed != 0) return;
    if (PickPolyline(s.doc, kPickFind, kWantAllPolylines, false)) {
        SetSelectedFlag(s.d, &s.d->cursors.polylineCursor->selected, 1);
        RequestRedraw(s.doc);
        ResetToolState(s.doc, 2);
        return;
    }
    if (!TrackDragRectangle(s.doc, false)) return;
    Boolean kinds[kSelectKindCount] = {};
    kinds[kSelectLines] = kinds[kSelectPointPolylines] = kinds[kSelectFramePolylines] = 1;
    const DrawingViewState& v = s.d->view;
    if (SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                 v.dragRectY + v.dragRectHeight, kinds))
        ResetToolState(s.doc, 2);
}

void ExplodeSelectionStep(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    ExplodeSelectedPolylines(s.doc);
    ResetToolState(s.doc, 0);
}

// Tool 9.

Handle& BoundaryPolylines(ToolStep& s) {
    return s.t->boundaryPolylines;
}

SInt16 PickCount(const ToolStateRecord* t) {
    if (t->pickList == nullptr) return 0;
    return SInt16(std::min<Size>(t->pickCount, GetHandleSize(t->pickList) / Size(sizeof(AreaPickRecord))));
}

AreaPickRecord* Picks(const ToolStateRecord* t) {
    return t->pickList != nullptr ? reinterpret_cast<AreaPickRecord*>(*t->pickList) : nullptr;
}

// Whole polylines picked and the runs of polylines turned into segment lines both name their
// polyline here, once each: the picks of a run no longer do.
void NoteBoundaryPolyline(ToolStep& s, PolylineRecord* p) {
    Handle& h = BoundaryPolylines(s);
    const Size n = h != nullptr ? GetHandleSize(h) / Size(sizeof p) : 0;
    for (Size i = 0; i < n; ++i)
        if (reinterpret_cast<PolylineRecord**>(*h)[i] == p) return;
    if (h == nullptr) {
        h = NewHandle(sizeof p);
        if (h == nullptr) return;
    } else {
        SetHandleSize(h, Size(n + 1) * Size(sizeof p));
        if (MemError() != noErr) return;
    }
    reinterpret_cast<PolylineRecord**>(*h)[n] = p;
}

void BoundaryClick(ToolStep& s) {
    // A new chain: polylines of one given up are not part of it.
    if (PickCount(s.t) == 0) {
        DisposeHandle(BoundaryPolylines(s));
        BoundaryPolylines(s) = nullptr;
    }
    // The polyline the picks will find under the click, found the same way beforehand: when the
    // click adds to the picks, whole or as a run, that polyline is part of the boundary.
    PolylineRecord* hit =
        PickPolyline(s.doc, kPickFind, kWantAllPolylines, false) ? s.d->cursors.polylineCursor : nullptr;
    const SInt16 before = PickCount(s.t);
    const void* lastBefore = before > 0 ? Picks(s.t)[before - 1].element : nullptr;
    CreateAreaFromPicks(s.doc);
    const SInt16 after = PickCount(s.t);
    const void* lastAfter = after > 0 ? Picks(s.t)[after - 1].element : nullptr;
    // A chain abandoned for want of memory has no picks left.
    if (hit != nullptr && after > 0 && (after != before || lastAfter != lastBefore))
        NoteBoundaryPolyline(s, hit);
}

// The traced contour as polyline points; a circle's contour (centre and radii) as its chords.
bool ContourPoints(DocWindowRecord* doc, std::vector<Float64>* xy) {
    const SInt16 last = LastOutlineContour(doc);
    if (last < 0) return false;
    Handle h = doc->drawing->toolInput.outlineContours[last];
    if (h == nullptr) return false;
    const SInt16 lastIndex = OutlineLastIndex(h);
    const Float64* p = OutlinePoints(h);
    if (lastIndex < 0) {
        Float64 step;
        const Float64 cx = p[0], cy = p[1], rx = p[2], ry = p[3];
        if (!ArcStepAngle(std::max(rx, ry), OutlineChordTolerance(doc), &step)) return false;
        const int n = std::max(3, int(std::ceil(kTwoPi / step)));
        for (int k = 0; k < n; ++k)
            xy->insert(xy->end(), {cx + rx * std::cos(k * kTwoPi / n), cy + ry * std::sin(k * kTwoPi / n)});
    } else {
        xy->assign(p, p + 2 * (size_t(lastIndex) + 1));
    }
    return xy->size() >= 4;
}

// The picked lines, arcs and polylines go, each once; segment lines of a run belong to their pick,
// not to the drawing, and stay for the pick list to free.
void RemoveBoundaryElements(ToolStep& s) {
    std::vector<void*> gone;
    auto once = [&](void* e) {
        if (std::find(gone.begin(), gone.end(), e) != gone.end()) return false;
        gone.push_back(e);
        return true;
    };
    const AreaPickRecord* picks = Picks(s.t);
    for (SInt16 i = 0; i < PickCount(s.t); ++i) {
        const AreaPickRecord& pick = picks[i];
        if (pick.part == kSegmentLinePart || !once(pick.element)) continue;
        if (pick.kind == 0) RemoveLine(s.doc, static_cast<LineRecord*>(pick.element));
        if (pick.kind == 1) RemoveArc(s.doc, static_cast<ArcRecord*>(pick.element));
        if (pick.kind == 5) RemovePolyline(s.doc, static_cast<PolylineRecord*>(pick.element));
    }
    Handle h = BoundaryPolylines(s);
    const Size n = h != nullptr ? GetHandleSize(h) / Size(sizeof(PolylineRecord*)) : 0;
    for (Size i = 0; i < n; ++i) {
        PolylineRecord* p = reinterpret_cast<PolylineRecord**>(*h)[i];
        if (once(p)) RemovePolyline(s.doc, p);
    }
    RequestRedraw(s.doc);
}

void BuildBoundaryPolyline(ToolStep& s, const std::vector<Float64>& xy) {
    ToolInputState& in = s.d->toolInput;
    const Float64 savedX = in.cursorX, savedY = in.cursorY;
    EmptyTempPoints(s.doc);
    const size_t n = xy.size() / 2;
    const bool open = xy[0] != xy[2 * n - 2] || xy[1] != xy[2 * n - 1];
    for (size_t i = 0; i <= n; ++i) {
        if (i == n && !open) break;
        in.cursorX = xy[2 * (i % n)], in.cursorY = xy[2 * (i % n) + 1];
        AppendTempPoint(s.doc);
    }
    in.cursorX = savedX, in.cursorY = savedY;
    PolylineRecord* made = nullptr;
    BuildPolylineFromPoints(s.doc, &made, kPolylineSegments, true, 0, 0);
}

void BoundaryReturn(ToolStep& s) {
    if (s.typed != -1 || PickCount(s.t) == 0) return;
    // The first element clicked again closes the chain; it is not a second pick.
    const SInt16 n = PickCount(s.t);
    const AreaPickRecord* picks = Picks(s.t);
    if (n >= 2 && picks[0].element == picks[n - 1].element) RemoveLastPick(s.doc);
    const SInt16 count = PickCount(s.t);
    picks = Picks(s.t);
    for (SInt16 i = 0; count > 1 && i < count; ++i)
        if (picks[i].kind == 5) {
            ResetToolState(s.doc, 0);
            ShowErrorStr128(kPolylineInChainMessage);
            return;
        }
    if (!TraceAreaOutline(s.doc)) return; // it reported and reset the tool
    std::vector<Float64> xy;
    const bool traced = ContourPoints(s.doc, &xy);
    if (traced) {
        BeginUndoStep(s.doc);
        RemoveBoundaryElements(s);
        BuildBoundaryPolyline(s, xy);
        EndUndoStep(s.doc);
    }
    EmptyOutlineContours(s.doc);
    ResetToolState(s.doc, 0);
    if (!traced) ShowErrorStr128(kNoOutlineMessage);
}

void BoundaryStep(ToolStep& s) {
    if (s.typed == 0)
        BoundaryClick(s);
    else
        BoundaryReturn(s);
}

constexpr const char* kPointsPrompt = "points; Return ends, 1 closes";

const ToolStepRow kPointListRows[] = {
    {kPointListRow + 0, 0, kPointsPrompt, StepInput::point, PointStep},
    {kPointListRow + 1, 0, kPointsPrompt, StepInput::point, PointStep},
    {kPointListRow + 2, 0, kPointsPrompt, StepInput::point, PointStep},
    {kPointListRow + 3, 0, kPointsPrompt, StepInput::point, PointStep},
    {kPointListRow + 4, 0, "vertex to move", StepInput::pick, MoveVertexPickStep},
    {kPointListRow + 4, 1, "new place of the vertex", StepInput::point, MoveVertexStep},
    {kPointListRow + 5, 0, "vertex to delete", StepInput::pick, DeleteVertexStep},
    {kPointListRow + 6, 0, "a vertex of the polyline", StepInput::pick, InsertVertexPickStep},
    {kPointListRow + 6, 1, "segment to insert into", StepInput::pick, InsertVertexSegmentStep},
    {kPointListRow + 6, 2, "the new vertex", StepInput::point, InsertVertexStep},
    {kPointListRow + 7, 0, "polyline to explode, or a rectangle", StepInput::pick, ExplodePickStep},
    {kPointListRow + 7, 2, "more elements, or Return to explode", StepInput::text, ExplodeSelectionStep},
    {kPointListRow + 8, 0, "vertex to edit", StepInput::pick, EditVertexStep},
    {kPointListRow + kBoundaryTool, 0, "boundary elements, then Return", StepInput::text, BoundaryStep},
};

} // namespace

constinit const ToolStepTable kPointListToolSteps{kPointListRows};

void ToolGroup10Click(DocWindowRecord* doc) {
    RunToolStep(doc, kPointListToolSteps, SInt16(kPointListRow + Tool()));
}

Boolean ClosePointList(DocWindowRecord* doc) {
    ToolInputState& in = doc->drawing->toolInput;
    Float64 x, y;
    if (!GetTempPoint(doc, 0, &x, &y)) return false;
    in.cursorX = x, in.cursorY = y;
    return AppendTempPoint(doc);
}

UInt16 ToggleFlagBit15(UInt16 flags) {
    return UInt16(flags ^ 0x8000);
}
