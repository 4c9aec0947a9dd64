// The twelve line tools of group 0, each a short chain of named steps. Every step either finishes
// the construction (one undo step, then back to step 0) or moves on; a failed pick or snap leaves the
// step where it is. The step table at the end is the pattern each tool group follows: one row per
// step, run by the group's entry and walked by the prompt test.
#include "Tools/LineTools.h"
#include "Model/Selection.h"

#include "Other/Alerts.h"
#include "Tools/CommandField.h"
#include "Tools/CutSplitJoin.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/DrawingUnits.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Tools/ParallelLines.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/StatusArea.h"
#include "Dialogs/ToolDialogServices.h"
#include "Tools/ToolState.h"
#include "Model/UndoJournal.h"
#include "View/WorldPrimitives.h"

#include <cmath>

namespace {

constexpr SInt16 kNotParallelMessage = 143;
constexpr Float64 kConstructionLineLength = 100.0;
constexpr SInt16 kWideAperture = 8;

// Display units to drawing millimetres.
Float64 Scaled(const DocWindowRecord* doc, Float64 value) {
    return value * doc->settings->drawingScale * UnitToMillimetres(doc);
}

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

void Finish(ToolStep& s) {
    ResetToolState(s.doc, 0);
}

// One line in one undo step, and the tool back to step 0.
void CreateLine(ToolStep& s, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    BeginUndoStep(s.doc);
    AddLine(s.doc, x1, y1, x2, y2);
    EndUndoStep(s.doc);
    Finish(s);
}

// A constructed line: created when it has length, else kSamePointsMessage; the tool ends either way.
void CreateIfDistinct(ToolStep& s, Boolean constructed, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    if (constructed && CheckPointsDistinct(x1, y1, x2, y2))
        CreateLine(s, x1, y1, x2, y2);
    else
        Finish(s);
}

void Highlight(DocWindowRecord* doc, SInt16 kind, void* element, Boolean* selected) {
    if (*selected) return;
    SetSelectedFlag(doc->drawing, selected, 1);
    gDocumentHooks.drawElement(doc, kind, element);
}

LineRecord* PickStepLine(ToolStep& s) {
    if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return nullptr;
    LineRecord* line = s.d->cursors.lineCursor;
    Highlight(s.doc, kLineElement, line, &line->selected);
    return line;
}

ArcRecord* PickStepArc(ToolStep& s) {
    if (!PickArc(s.doc, kPickFind, false, false, nullptr)) return nullptr;
    ArcRecord* arc = s.d->cursors.arcCursor;
    Highlight(s.doc, kArcElement, arc, &arc->selected);
    return arc;
}

bool SnapChecked(ToolStep& s) {
    return SnapCursor(s.doc) && CheckToolValues(s.doc, true);
}

bool ValuesTyped(const ToolStep& s) {
    return s.typed > 0;
}

void OfferAngleAndLength(ToolStep& s) {
    CommandFieldSetPair(s.doc, s.t->rememberedAngle, s.t->rememberedLength);
}

void TakeAngleAndLength(ToolStep& s) {
    GetTypedAngle(s.doc, 0, &s.t->rememberedAngle);
    GetNumericEntry(s.doc, 1, &s.t->rememberedLength);
}

// Tool 0: line through two points.

void TwoPointStart(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
}

void TwoPointEnd(ToolStep& s) {
    if (!SnapChecked(s)) return;
    ToolPoint p = RefPoint(s.doc, 4);
    if (!CheckPointsDistinct(p.x, p.y, s.d->toolInput.cursorX, s.d->toolInput.cursorY)) return;
    CreateLine(s, p.x, p.y, s.d->toolInput.cursorX, s.d->toolInput.cursorY);
}

// Tool 1: parallel line.

bool PlacesParallelAtOnce(const DocWindowRecord* doc) {
    return doc->settings->pickAperture >= kWideAperture && doc->settings->lineWidthOption == 0;
}

void ParallelPickLine(ToolStep& s) {
    LineRecord* line = PickStepLine(s);
    if (line == nullptr) return;
    s.t->firstLine = line;
    // The side point: the click itself, never snapped.
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
    CommandFieldSetNumber(s.doc, s.t->rememberedDistance);
}

void ParallelDistanceOrPoint(ToolStep& s) {
    const LineRecord* line = s.t->firstLine;
    if (s.typed == 1) {
        Float64 distance = 0;
        GetNumericEntry(s.doc, 0, &distance);
        s.t->rememberedDistance = std::fabs(distance);
        if (PlacesParallelAtOnce(s.doc)) {
            ToolPoint side = RefPoint(s.doc, 4);
            Float64 x1, y1, x2, y2;
            Boolean ok = ParallelLineAtDistance(line, Scaled(s.doc, s.t->rememberedDistance), side.x, side.y,
                                                x1, y1, x2, y2);
            CreateIfDistinct(s, ok, x1, y1, x2, y2);
            return;
        }
        SuspendSnapMode(s.doc);
        Next(s, 2);
        return;
    }
    if (!SnapChecked(s)) return;
    SetRefPointFromCursor(s.doc, 4);
    Float64 px = s.d->toolInput.cursorX, py = s.d->toolInput.cursorY;
    if (s.doc->settings->snapMode == kSnapFixedPoint || PlacesParallelAtOnce(s.doc)) {
        Float64 x1, y1, x2, y2;
        Boolean ok = ParallelLineThroughPoint(line, px, py, x1, y1, x2, y2);
        CreateIfDistinct(s, ok, x1, y1, x2, y2);
        return;
    }
    Float64 length = PointDistance(line->x1, line->y1, line->x2, line->y2);
    Float64 factor = Scaled(s.doc, 1.0);
    if (length > 0 && factor > 0)
        s.t->rememberedDistance =
            std::fabs((py - line->y1) * (line->x2 - line->x1) + (line->y2 - line->y1) * (line->x1 - px)) /
            length / factor;
    SuspendSnapMode(s.doc);
    Next(s, 2);
}

void ParallelSide(ToolStep& s) {
    if (!SnapChecked(s)) return;
    RestoreSnapMode(s.doc);
    Float64 x1, y1, x2, y2;
    Boolean ok = ParallelLineAtDistance(s.t->firstLine, Scaled(s.doc, s.t->rememberedDistance),
                                        s.d->toolInput.cursorX, s.d->toolInput.cursorY, x1, y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 2: equidistant lines between two parallels, or a parallel touching a circle.

void EquidistantFirst(ToolStep& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void EquidistantSecond(ToolStep& s) {
    if (LineRecord* second = PickStepLine(s)) {
        s.t->secondLine = second;
        if (!LinesParallel(s.t->firstLine, second)) {
            ShowErrorStr128(kNotParallelMessage);
            Finish(s);
            return;
        }
        Next(s, 2);
        CommandFieldSetInteger(s.doc, s.t->rememberedCount);
        return;
    }
    if (ArcRecord* arc = PickStepArc(s)) {
        AddTangentParallelLine(s.doc, s.t->firstLine, arc, s.d->toolInput.cursorX, s.d->toolInput.cursorY);
        Finish(s);
    }
}

void EquidistantCount(ToolStep& s) {
    if (!ValuesTyped(s)) return;
    GetTypedInteger(s.doc, 0, &s.t->rememberedCount);
    DivideBetweenLines(s.doc, s.t->firstLine, s.t->secondLine, s.t->rememberedCount);
    Finish(s);
}

// Tool 3: polar line.

void PolarStart(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
    OfferAngleAndLength(s);
}

void PolarAngleLength(ToolStep& s) {
    if (!ValuesTyped(s)) return;
    TakeAngleAndLength(s);
    // New lines that run on at both ends are construction lines of a fixed length.
    Float64 length = s.doc->settings->markNewLines ? kConstructionLineLength : s.t->rememberedLength;
    ToolPoint p = RefPoint(s.doc, 4);
    Float64 x1, y1, x2, y2;
    Boolean ok = PolarLine(p.x, p.y, s.t->rememberedAngle, Scaled(s.doc, length), x1, y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 4: line at an angle to a line, from a point on it.

void AngleToLinePick(ToolStep& s) {
    LineRecord* line = PickStepLine(s);
    if (line == nullptr) return;
    s.t->firstLine = line;
    DeselectAll(s.doc, false);
    Next(s, 1);
}

void AngleToLinePoint(ToolStep& s) {
    if (!SnapChecked(s)) return;
    const LineRecord* line = s.t->firstLine;
    Float64 fx, fy;
    if (PerpendicularFoot(line->x1, line->y1, line->x2, line->y2, s.d->toolInput.cursorX,
                          s.d->toolInput.cursorY, fx, fy)) {
        s.d->toolInput.cursorX = fx;
        s.d->toolInput.cursorY = fy;
    }
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 2);
    OfferAngleAndLength(s);
}

void AngleToLineValues(ToolStep& s) {
    if (!ValuesTyped(s)) return;
    TakeAngleAndLength(s);
    ToolPoint p = RefPoint(s.doc, 1);
    LineAtAngleToLine(s.doc, s.t->firstLine, p.x, p.y, s.t->rememberedAngle,
                      Scaled(s.doc, s.t->rememberedLength));
    Finish(s);
}

// Tool 5: perpendicular from a point onto a line.

void PerpendicularPick(ToolStep& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void PerpendicularPoint(ToolStep& s) {
    if (!SnapChecked(s)) return;
    SetRefPointFromCursor(s.doc, 4);
    Float64 x1, y1, x2, y2;
    Boolean ok = PerpendicularFromPoint(s.t->firstLine, s.d->toolInput.cursorX, s.d->toolInput.cursorY, x1,
                                        y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 6: tangent from a point to a circle.

void TangentFromPointPick(ToolStep& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void TangentFromPointPoint(ToolStep& s) {
    if (!SnapChecked(s)) return;
    SetRefPointFromCursor(s.doc, 4);
    ToolPoint pick = RefPoint(s.doc, 1), p = RefPoint(s.doc, 4);
    Float64 x1, y1, x2, y2;
    if (TangentPointToCircle(pick.x, pick.y, p.x, p.y, s.t->firstArc, x1, y1, x2, y2)) {
        if (x1 != x2 || y1 != y2) {
            BeginUndoStep(s.doc);
            AddLine(s.doc, x1, y1, x2, y2);
            EndUndoStep(s.doc);
        }
        // The next construction can start at the touching point.
        s.d->toolInput.cursorX = x2;
        s.d->toolInput.cursorY = y2;
        DrawCurrentPointMark(s.doc);
    }
    Finish(s);
}

// Tool 7: tangent to two circles.

void TangentTwoCirclesFirst(ToolStep& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void TangentTwoCirclesSecond(ToolStep& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr || !CheckToolValues(s.doc, true)) return;
    s.t->secondArc = arc;
    ToolPoint pick = RefPoint(s.doc, 1);
    Float64 x1, y1, x2, y2;
    Boolean ok = TangentLineToTwoCircles(s.t->firstArc, arc, pick.x, pick.y, s.d->toolInput.cursorX,
                                         s.d->toolInput.cursorY, x1, y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 8: tangent at an angle with a length.

void TangentAtAnglePick(ToolStep& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
    OfferAngleAndLength(s);
}

void TangentAtAngleValues(ToolStep& s) {
    if (!ValuesTyped(s)) return;
    TakeAngleAndLength(s);
    ToolPoint pick = RefPoint(s.doc, 1);
    TangentLineAtAngle(s.doc, s.t->firstArc, s.t->rememberedAngle, Scaled(s.doc, s.t->rememberedLength),
                       pick.x, pick.y);
    Finish(s);
}

// Tool 9: tangent to a circle, perpendicular to a line.

void TangentNormalLine(ToolStep& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void TangentNormalCircle(ToolStep& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    AddTangentLineToLine(s.doc, s.t->firstLine, arc, s.d->toolInput.cursorX, s.d->toolInput.cursorY, 90);
    Finish(s);
}

// Tool 10: tangent to a circle at a typed angle to a line.

void TangentAngleLine(ToolStep& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void TangentAngleCircle(ToolStep& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 2);
    CommandFieldSetNumber(s.doc, s.t->rememberedAngle);
}

void TangentAngleValue(ToolStep& s) {
    if (!ValuesTyped(s)) return;
    GetTypedAngle(s.doc, 0, &s.t->rememberedAngle);
    ToolPoint pick = RefPoint(s.doc, 1);
    AddTangentLineToLine(s.doc, s.t->firstLine, s.t->firstArc, pick.x, pick.y, s.t->rememberedAngle);
    Finish(s);
}

// Tool 11: end marks of a line.

void LineEndsPick(ToolStep& s) {
    // The dialog replaces the line; its scale takes no part in later checks.
    Float64 kept = s.t->pickedScales[0];
    if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return;
    s.t->pickedScales[0] = kept;
    LineEndsDialog(s.doc, s.d->cursors.lineCursor);
    Finish(s);
}

// The group's steps, in tool and step order: the handler runs these rows and no others.
const ToolStepRow kRows[] = {
    {0, 0, "start point", StepInput::point, TwoPointStart},
    {0, 1, "end point", StepInput::point, TwoPointEnd},
    {1, 0, "line to copy", StepInput::pick, ParallelPickLine},
    {1, 1, "distance or point", StepInput::values, ParallelDistanceOrPoint},
    {1, 2, "side", StepInput::point, ParallelSide},
    {2, 0, "first line", StepInput::pick, EquidistantFirst},
    {2, 1, "second line or circle", StepInput::pick, EquidistantSecond},
    {2, 2, "number of lines", StepInput::integer, EquidistantCount},
    {3, 0, "start point", StepInput::point, PolarStart},
    {3, 1, "angle and length", StepInput::values, PolarAngleLength},
    {4, 0, "line", StepInput::pick, AngleToLinePick},
    {4, 1, "point on the line", StepInput::point, AngleToLinePoint},
    {4, 2, "angle and length", StepInput::values, AngleToLineValues},
    {5, 0, "line", StepInput::pick, PerpendicularPick},
    {5, 1, "point", StepInput::point, PerpendicularPoint},
    {6, 0, "circle", StepInput::pick, TangentFromPointPick},
    {6, 1, "point", StepInput::point, TangentFromPointPoint},
    {7, 0, "first circle", StepInput::pick, TangentTwoCirclesFirst},
    {7, 1, "second circle", StepInput::pick, TangentTwoCirclesSecond},
    {8, 0, "circle", StepInput::pick, TangentAtAnglePick},
    {8, 1, "angle and length", StepInput::values, TangentAtAngleValues},
    {9, 0, "line", StepInput::pick, TangentNormalLine},
    {9, 1, "circle", StepInput::pick, TangentNormalCircle},
    {10, 0, "line", StepInput::pick, TangentAngleLine},
    {10, 1, "circle", StepInput::pick, TangentAngleCircle},
    {10, 2, "angle", StepInput::values, TangentAngleValue},
    {11, 0, "line", StepInput::pick, LineEndsPick},
};

} // namespace

constinit const ToolStepTable kLineToolSteps{kRows};

void ToolGroup0Click(DocWindowRecord* doc) {
    RunToolStep(doc, kLineToolSteps, CurrentTool());
}
