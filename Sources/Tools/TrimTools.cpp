// The five tools of group 5. Cut and split choose an edge (a line, a circle or arc, or with free
// snapping a point) and then work on every element clicked, or on every line and arc of a dragged
// rectangle, until the tool is reset; fillet, chamfer and join choose two elements and finish.
#include "Tools/TrimTools.h"

#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Model/Selection.h"
#include "Model/SelectionCriteria.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Model/DrawingUnits.h"
#include "Tools/CommandField.h"
#include "Tools/CutSplitJoin.h"
#include "Tools/Fillets.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum : SInt16 { kEdgePoint = 0, kEdgeLine = 1, kEdgeArc = 2 };
// The work records that keep an edge picked inside a symbol instance: the placed copy stays the
// edge while later picks reuse the finder's own work record.
constexpr int kPlacedEdgeSlot = 5;

// Alerts recorded instead of shown while a rectangle's elements are cut one after another.
class QuietAlerts {
  public:
    QuietAlerts() : was_(AppleEventInProgress) { AppleEventInProgress = true; }
    ~QuietAlerts() { AppleEventInProgress = was_; }
    QuietAlerts(const QuietAlerts&) = delete;
    QuietAlerts& operator=(const QuietAlerts&) = delete;

  private:
    Boolean was_;
};

Float64 Scaled(const DocWindowRecord* doc, Float64 value) {
    return value * doc->settings->drawingScale * UnitToMillimetres(doc);
}

ToolPoint Cursor(const ToolStep& s) {
    return {s.d->toolInput.cursorX, s.d->toolInput.cursorY};
}

FilletPick Pick(ToolPoint p) {
    return {p.x, p.y};
}

bool Finite(Float64 v) {
    return std::isfinite(v);
}

LineRecord* PickedLine(ToolStep& s, SInt16 action, Boolean definitions) {
    return PickLine(s.doc, action, definitions, true, nullptr) ? s.d->cursors.lineCursor : nullptr;
}

ArcRecord* PickedArc(ToolStep& s, SInt16 action, Boolean definitions) {
    return PickArc(s.doc, action, definitions, true, nullptr) ? s.d->cursors.arcCursor : nullptr;
}

// A line or arc placed from a symbol definition is copied where no later pick overwrites it.
LineRecord* KeepEdge(DrawingRecord* d, LineRecord* line) {
    if (line != d->toolInput.workLines[0] || d->toolInput.workLines[kPlacedEdgeSlot] == nullptr) return line;
    *d->toolInput.workLines[kPlacedEdgeSlot] = *line;
    return d->toolInput.workLines[kPlacedEdgeSlot];
}

ArcRecord* KeepEdge(DrawingRecord* d, ArcRecord* arc) {
    if (arc != d->toolInput.workArcs[0] || d->toolInput.workArcs[kPlacedEdgeSlot] == nullptr) return arc;
    *d->toolInput.workArcs[kPlacedEdgeSlot] = *arc;
    return d->toolInput.workArcs[kPlacedEdgeSlot];
}

// Step 0 of cut and split: the edge. With free snapping it is the snapped point, otherwise a line or
// an arc, also one drawn by a symbol instance. False when nothing was chosen.
bool ChooseEdge(ToolStep& s) {
    s.t->firstLine = nullptr;
    s.t->firstArc = nullptr;
    if (s.doc->settings->snapMode != 0) {
        if (LineRecord* line = PickedLine(s, kPickSelect, true)) {
            s.t->firstLine = KeepEdge(s.d, line);
            s.t->edgeKind = kEdgeLine;
        } else if (ArcRecord* arc = PickedArc(s, kPickSelect, true)) {
            s.t->firstArc = KeepEdge(s.d, arc);
            s.t->edgeKind = kEdgeArc;
        } else {
            return false;
        }
    } else {
        if (!SnapCursor(s.doc)) return false;
        s.t->edgeKind = kEdgePoint;
    }
    return true;
}

// The edge stays highlighted while further elements are cut against it.
void HighlightEdge(ToolStep& s) {
    if (s.t->firstLine != nullptr) SetSelectedFlag(s.d, &s.t->firstLine->selected, 1);
    if (s.t->firstArc != nullptr) SetSelectedFlag(s.d, &s.t->firstArc->selected, 1);
    RequestRedraw(s.doc);
}

void Unselect(ToolStep& s, Boolean* selected) {
    SetSelectedFlag(s.d, selected, 0);
}

// The selected lines and arcs of a dragged rectangle, the edge left out; false when the rectangle
// selected nothing. Taken before any change, so that the pieces a split makes are not visited.
bool RectangleElements(ToolStep& s, std::vector<LineRecord*>& lines, std::vector<ArcRecord*>& arcs) {
    if (!TrackDragRectangle(s.doc, false)) return false;
    const DrawingViewState& v = s.d->view;
    const Boolean all[kSelectKindCount] = {1, 1, 1, 1, 1, 1, 1, 1};
    if (!SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                  v.dragRectY + v.dragRectHeight, all))
        return false;
    for (LineRecord* e = s.doc->lineHead->next; e != nullptr; e = e->next)
        if (e->selected && e != s.t->firstLine) lines.push_back(e);
    for (ArcRecord* e = s.doc->arcHead->next; e != nullptr; e = e->next)
        if (e->selected && e != s.t->firstArc) arcs.push_back(e);
    return true;
}

// Tool 0: cut to an edge.

void CutLineToEdge(ToolStep& s, LineRecord* line, Boolean alert) {
    ToolPoint c = Cursor(s);
    switch (s.t->edgeKind) {
    case kEdgeArc:
        CutLineAtCircle(s.doc, line, s.t->firstArc, c.x, c.y, alert);
        break;
    case kEdgeLine:
        CutLineAtIntersection(s.doc, line, s.t->firstLine, c.x, c.y, alert);
        break;
    default: {
        ToolPoint p = RefPoint(s.doc, 1);
        Float64 fx, fy;
        if (!PerpendicularFoot(line->x1, line->y1, line->x2, line->y2, p.x, p.y, fx, fy)) return;
        s.t->refPoints[1] = {fx, fy};
        CutLineBetweenPoints(s.doc, line, c.x, c.y, fx, fy);
        break;
    }
    }
}

void CutArcToEdge(ToolStep& s, ArcRecord* arc, bool inRectangle) {
    ToolPoint c = Cursor(s), p = RefPoint(s.doc, 1);
    const bool intersectionSnap = s.doc->settings->snapMode == 1;
    switch (s.t->edgeKind) {
    case kEdgeArc:
        CutArcAtArc(s.doc, arc, s.t->firstArc, c.x, c.y, inRectangle ? intersectionSnap : true);
        break;
    case kEdgeLine:
        CutArcAtLine(s.doc, arc, s.t->firstLine, c.x, c.y, p.x, p.y, inRectangle && !intersectionSnap,
                     !inRectangle);
        break;
    default:
        CutArcBetweenPoints(s.doc, arc, c.x, c.y, p.x, p.y);
        break;
    }
}

void CutEdge(ToolStep& s) {
    if (!ChooseEdge(s)) return;
    SetRefPointFromCursor(s.doc, 1);
    ResetToolState(s.doc, 1);
}

void CutElement(ToolStep& s) {
    if (LineRecord* line = PickedLine(s, kPickSelect, false)) {
        if (!CheckToolValues(s.doc, true)) return;
        Unselect(s, &line->selected);
        BeginUndoStep(s.doc);
        CutLineToEdge(s, line, true);
        EndUndoStep(s.doc);
        RequestRedraw(s.doc);
        return;
    }
    if (ArcRecord* arc = PickedArc(s, kPickSelect, false)) {
        if (!CheckToolValues(s.doc, true)) return;
        Unselect(s, &arc->selected);
        BeginUndoStep(s.doc);
        CutArcToEdge(s, arc, false);
        EndUndoStep(s.doc);
        RequestRedraw(s.doc);
        return;
    }
    std::vector<LineRecord*> lines;
    std::vector<ArcRecord*> arcs;
    if (RectangleElements(s, lines, arcs)) {
        QuietAlerts quiet;
        BeginUndoStep(s.doc);
        for (LineRecord* e : lines) {
            Unselect(s, &e->selected);
            CutLineToEdge(s, e, false);
        }
        for (ArcRecord* e : arcs) {
            Unselect(s, &e->selected);
            CutArcToEdge(s, e, true);
        }
        EndUndoStep(s.doc);
    }
    HighlightEdge(s);
}

// Tool 1: fillet.

// A line is chosen at the foot of the cursor on it, an arc at the cursor.
bool ChooseCornerElement(ToolStep& s, LineRecord*& line, ArcRecord*& arc, int refPoint) {
    ToolPoint c = Cursor(s);
    if (LineRecord* l = PickedLine(s, kPickSelect, false)) {
        line = l;
        arc = nullptr;
        Float64 fx = c.x, fy = c.y;
        PerpendicularFoot(l->x1, l->y1, l->x2, l->y2, c.x, c.y, fx, fy);
        s.t->refPoints[refPoint - 1] = {fx, fy};
        return true;
    }
    if (ArcRecord* a = PickedArc(s, kPickSelect, false)) {
        arc = a;
        line = nullptr;
        s.t->refPoints[refPoint - 1] = c;
        return true;
    }
    return false;
}

void FilletFirst(ToolStep& s) {
    if (ChooseCornerElement(s, s.t->firstLine, s.t->firstArc, 1)) ResetToolState(s.doc, 1);
}

void FilletSecond(ToolStep& s) {
    if (!ChooseCornerElement(s, s.t->secondLine, s.t->secondArc, 2)) return;
    ResetToolState(s.doc, 2);
    CommandFieldSetNumberInt(s.doc, s.t->filletRadius, s.t->filletTrimCount);
}

SInt16 TypedTrimCount(ToolStep& s, SInt16 i, SInt16 remembered) {
    SInt16 count = remembered;
    GetTypedInteger(s.doc, i, &count);
    return std::clamp<SInt16>(count, 0, 2);
}

// Radius or length 0: the two elements meet in a sharp corner, each keeping its picked side.
void SharpCorner(ToolStep& s, LineRecord* l1, ArcRecord* a1, ToolPoint p1, LineRecord* l2, ArcRecord* a2,
                 ToolPoint p2) {
    if (l1 != nullptr && l2 != nullptr) {
        CutLineAtIntersection(s.doc, l1, l2, p1.x, p1.y, true);
        CutLineAtIntersection(s.doc, l2, l1, p2.x, p2.y, true);
        return;
    }
    LineRecord* line = l1 != nullptr ? l1 : l2;
    ArcRecord* arc = a1 != nullptr ? a1 : a2;
    if (line == nullptr || arc == nullptr) return;
    ToolPoint pl = l1 != nullptr ? p1 : p2, pa = l1 != nullptr ? p2 : p1;
    CutLineAtCircle(s.doc, line, arc, pl.x, pl.y, true);
    CutArcAtLine(s.doc, arc, line, pa.x, pa.y, pl.x, pl.y, false, true);
}

void Done(ToolStep& s) {
    ResetToolState(s.doc, 0);
    RequestRedraw(s.doc);
}

void FilletValues(ToolStep& s) {
    if (s.typed <= 0 || !CheckToolValues(s.doc, true)) return;
    Float64 radius = s.t->filletRadius;
    GetNumericEntry(s.doc, 0, &radius);
    if (!Finite(radius)) return;
    s.t->filletRadius = radius;
    s.t->filletTrimCount = TypedTrimCount(s, 1, s.t->filletTrimCount);
    ToolStateRecord* t = s.t;
    ToolPoint p1 = RefPoint(s.doc, 1), p2 = RefPoint(s.doc, 2);
    const SInt16 count = t->filletTrimCount;
    BeginUndoStep(s.doc);
    if (radius > 0) {
        const Float64 r = Scaled(s.doc, radius);
        if (t->firstLine && t->secondLine)
            TrimFilletLines(s.doc, t->firstLine, t->secondLine, Pick(p1), Pick(p2), r, count);
        else if (t->firstArc && t->secondArc)
            TrimFilletArcs(s.doc, t->firstArc, t->secondArc, r, Pick(p1), Pick(p2), count);
        else if (t->firstLine && t->secondArc)
            TrimFilletLineArc(s.doc, t->firstLine, t->secondArc, r, Pick(p1), Pick(p2), count);
        else if (t->firstArc && t->secondLine)
            TrimFilletLineArc(s.doc, t->secondLine, t->firstArc, r, Pick(p2), Pick(p1), count);
    } else {
        SharpCorner(s, t->firstLine, t->firstArc, p1, t->secondLine, t->secondArc, p2);
    }
    EndUndoStep(s.doc);
    Done(s);
}

// Tool 2: chamfer.

void ChamferFirst(ToolStep& s) {
    LineRecord* line = PickedLine(s, kPickSelect, false);
    if (line == nullptr) return;
    s.t->firstLine = line;
    s.t->firstArc = nullptr;
    SetRefPointFromCursor(s.doc, 1);
    ResetToolState(s.doc, 1);
}

void ChamferSecond(ToolStep& s) {
    if (LineRecord* line = PickedLine(s, kPickSelect, false)) {
        s.t->secondLine = line;
        s.t->secondArc = nullptr;
    } else if (ArcRecord* arc = PickedArc(s, kPickSelect, false)) {
        s.t->secondArc = arc;
        s.t->secondLine = nullptr;
    } else {
        return;
    }
    SetRefPointFromCursor(s.doc, 2);
    ResetToolState(s.doc, 2);
    CommandFieldSetPairInt(s.doc, s.t->chamferLength, s.t->chamferAngle, s.t->chamferTrimCount);
}

void ChamferValues(ToolStep& s) {
    if (s.typed <= 0 || !CheckToolValues(s.doc, true)) return;
    Float64 length = s.t->chamferLength, angle = s.t->chamferAngle;
    GetNumericEntry(s.doc, 0, &length);
    GetTypedAngle(s.doc, 1, &angle);
    if (!Finite(length) || !Finite(angle)) return;
    s.t->chamferLength = length;
    s.t->chamferAngle = angle;
    s.t->chamferTrimCount = TypedTrimCount(s, 2, s.t->chamferTrimCount);
    ToolStateRecord* t = s.t;
    ToolPoint p1 = RefPoint(s.doc, 1), p2 = RefPoint(s.doc, 2);
    BeginUndoStep(s.doc);
    if (length > 0) {
        const Float64 d = Scaled(s.doc, length);
        if (t->secondLine)
            ChamferLines(s.doc, t->firstLine, t->secondLine, Pick(p1), Pick(p2), d, angle,
                         t->chamferTrimCount);
        else if (t->secondArc)
            ChamferLineArc(s.doc, t->firstLine, t->secondArc, Pick(p1), Pick(p2), d, angle,
                           t->chamferTrimCount);
    } else {
        SharpCorner(s, t->firstLine, nullptr, p1, t->secondLine, t->secondArc, p2);
    }
    EndUndoStep(s.doc);
    Done(s);
}

// Tool 3: split.

void SplitEdge(ToolStep& s) {
    if (!ChooseEdge(s)) return;
    SetRefPointFromCursor(s.doc, 4);
    ResetToolState(s.doc, 1);
}

void SplitLineAtEdge(ToolStep& s, LineRecord* line) {
    ToolPoint c = Cursor(s);
    if (s.t->firstLine != nullptr) {
        SplitLineAtLine(s.doc, line, s.t->firstLine);
    } else if (s.t->firstArc != nullptr) {
        SplitLineAtArc(s.doc, line, s.t->firstArc, c.x, c.y);
    } else {
        ToolPoint p = RefPoint(s.doc, 4);
        Float64 fx, fy;
        if (!PerpendicularFoot(line->x1, line->y1, line->x2, line->y2, p.x, p.y, fx, fy)) return;
        s.t->refPoints[4] = {fx, fy};
        SplitLineAtFoot(s.doc, line, fx, fy);
    }
}

void SplitArcAtEdge(ToolStep& s, ArcRecord* arc) {
    ToolPoint c = Cursor(s);
    if (s.t->firstLine != nullptr) {
        SplitArcAtLine(s.doc, arc, s.t->firstLine, c.x, c.y);
    } else if (s.t->firstArc != nullptr) {
        SplitArcAtArc(s.doc, arc, s.t->firstArc, c.x, c.y);
    } else {
        ToolPoint p = RefPoint(s.doc, 4);
        Float64 qx, qy;
        if (!ProjectPointOntoArc(p.x, p.y, arc, qx, qy)) return;
        s.t->refPoints[4] = {qx, qy};
        SplitArcAtPoint(s.doc, arc, qx, qy);
    }
}

void SplitElement(ToolStep& s) {
    if (LineRecord* line = PickedLine(s, kPickFlashOnOff, false)) {
        if (!CheckToolValues(s.doc, true)) return;
        BeginUndoStep(s.doc);
        SplitLineAtEdge(s, line);
        EndUndoStep(s.doc);
        ResetToolState(s.doc, 1);
        return;
    }
    if (ArcRecord* arc = PickedArc(s, kPickFlashOnOff, false)) {
        if (!CheckToolValues(s.doc, true)) return;
        BeginUndoStep(s.doc);
        SplitArcAtEdge(s, arc);
        EndUndoStep(s.doc);
        ResetToolState(s.doc, 1);
        return;
    }
    std::vector<LineRecord*> lines;
    std::vector<ArcRecord*> arcs;
    if (RectangleElements(s, lines, arcs)) {
        QuietAlerts quiet;
        BeginUndoStep(s.doc);
        for (LineRecord* e : lines) {
            Unselect(s, &e->selected);
            SplitLineAtEdge(s, e);
        }
        for (ArcRecord* e : arcs) {
            Unselect(s, &e->selected);
            SplitArcAtEdge(s, e);
        }
        EndUndoStep(s.doc);
        ResetToolState(s.doc, 1);
    }
    HighlightEdge(s);
}

// Tool 4: join.

void JoinFirst(ToolStep& s) {
    if (LineRecord* line = PickedLine(s, kPickSelect, false)) {
        s.t->firstLine = line;
        s.t->firstArc = nullptr;
    } else if (ArcRecord* arc = PickedArc(s, kPickSelect, false)) {
        s.t->firstArc = arc;
        s.t->firstLine = nullptr;
    } else {
        return;
    }
    ResetToolState(s.doc, 1);
}

// One arc joined with itself closes into the full circle, keeping all it has: layer, pen, line
// type, key and place in the drawing order.
void CloseArc(DocWindowRecord* doc, ArcRecord* arc) {
    const ArcRecord before = *arc;
    arc->startAngle = 0;
    arc->endAngle = 360;
    RecordUndoArc(doc, arc, true);
    RecordUndoArc(doc, &before, false);
}

void JoinSecond(ToolStep& s) {
    if (s.t->firstArc != nullptr) {
        ArcRecord* arc = PickedArc(s, kPickFlashOffOn, false);
        if (arc == nullptr || !CheckToolValues(s.doc, true)) return;
        BeginUndoStep(s.doc);
        if (arc == s.t->firstArc) {
            SetSelectedFlag(s.d, &arc->selected, 0);
            CloseArc(s.doc, arc);
        } else {
            JoinArcs(s.doc, s.t->firstArc, arc);
        }
        EndUndoStep(s.doc);
        Done(s);
        return;
    }
    if (s.t->firstLine == nullptr) return;
    LineRecord* line = PickedLine(s, kPickSelect, false);
    if (line == nullptr || !CheckToolValues(s.doc, true)) return;
    s.t->secondLine = line;
    BeginUndoStep(s.doc);
    Boolean parallel = JoinLinesIfCollinear(s.doc, s.t->firstLine, line);
    EndUndoStep(s.doc);
    if (!parallel) {
        ResetToolState(s.doc, 2);
        CommandFieldSetSTR128Alt(s.doc);
        return;
    }
    DeselectAll(s.doc, false);
    Done(s);
}

void JoinAnswer(ToolStep& s) {
    Str255 answer;
    CommandFieldGetText(s.doc, answer);
    if (answer[0] == 0) return;
    if (MatchesSTR128Answer(answer)) {
        BeginUndoStep(s.doc);
        JoinCollinearLines(s.doc, s.t->firstLine, s.t->secondLine);
        EndUndoStep(s.doc);
    }
    Done(s);
}

const ToolStepRow kRows[] = {
    {0, 0, "cutting edge", StepInput::pick, CutEdge},
    {0, 1, "element to cut, or a rectangle", StepInput::pick, CutElement},
    {1, 0, "first element", StepInput::pick, FilletFirst},
    {1, 1, "second element", StepInput::pick, FilletSecond},
    {1, 2, "radius and trim count", StepInput::values, FilletValues},
    {2, 0, "first line", StepInput::pick, ChamferFirst},
    {2, 1, "second line or arc", StepInput::pick, ChamferSecond},
    {2, 2, "length, angle and trim count", StepInput::values, ChamferValues},
    {3, 0, "splitting edge", StepInput::pick, SplitEdge},
    {3, 1, "element to split, or a rectangle", StepInput::pick, SplitElement},
    {4, 0, "first line or arc", StepInput::pick, JoinFirst},
    {4, 1, "second line or arc", StepInput::pick, JoinSecond},
    {4, 2, "join at the intersection?", StepInput::text, JoinAnswer},
};

} // namespace

constinit const ToolStepTable kTrimToolSteps{kRows};

void ToolGroup5Click(DocWindowRecord* doc) {
    RunToolStep(doc, kTrimToolSteps, CurrentTool());
}
