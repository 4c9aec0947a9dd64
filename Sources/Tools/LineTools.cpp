// The twelve line tools of group 0, each a short chain of named steps. Every step either finishes
// the construction (one undo step, then back to step 0) or moves on; a failed pick or snap leaves the
// step where it is.
#include "LineTools.h"

#include "Alerts.h"
#include "CommandField.h"
#include "CutSplitJoin.h"
#include "DocumentHooks.h"
#include "DocumentRecords.h"
#include "DrawingUnits.h"
#include "ElementLists.h"
#include "GeometryKernel.h"
#include "MathPrimitives.h"
#include "ParallelLines.h"
#include "Picking.h"
#include "Snapping.h"
#include "StatusArea.h"
#include "ToolDialogServices.h"
#include "ToolState.h"
#include "UndoJournal.h"
#include "WorldPrimitives.h"

#include <cmath>

const ToolStepSpec kLineToolSteps[] = {
    {0, 0, "start point", StepInput::point},
    {0, 1, "end point", StepInput::point},
    {1, 0, "line to copy", StepInput::pick},
    {1, 1, "distance or point", StepInput::values},
    {1, 2, "side", StepInput::point},
    {2, 0, "first line", StepInput::pick},
    {2, 1, "second line or circle", StepInput::pick},
    {2, 2, "number of lines", StepInput::integer},
    {3, 0, "start point", StepInput::point},
    {3, 1, "angle and length", StepInput::values},
    {4, 0, "line", StepInput::pick},
    {4, 1, "point on the line", StepInput::point},
    {4, 2, "angle and length", StepInput::values},
    {5, 0, "line", StepInput::pick},
    {5, 1, "point", StepInput::point},
    {6, 0, "circle", StepInput::pick},
    {6, 1, "point", StepInput::point},
    {7, 0, "first circle", StepInput::pick},
    {7, 1, "second circle", StepInput::pick},
    {8, 0, "circle", StepInput::pick},
    {8, 1, "angle and length", StepInput::values},
    {9, 0, "line", StepInput::pick},
    {9, 1, "circle", StepInput::pick},
    {10, 0, "line", StepInput::pick},
    {10, 1, "circle", StepInput::pick},
    {10, 2, "angle", StepInput::values},
    {11, 0, "line", StepInput::pick},
};
const int kLineToolStepCount = int(sizeof kLineToolSteps / sizeof kLineToolSteps[0]);

namespace {

constexpr SInt16 kSamePointsMessage = 4;
constexpr SInt16 kNotParallelMessage = 143;
constexpr Float64 kConstructionLineLength = 100.0;
constexpr SInt16 kWideAperture = 8;

struct Step {
    DocWindowRecord* doc;
    DrawingRecord* d;
    ToolStateRecord* t;
    SInt16 typed; // values typed for this step: 0 a click, -1 an empty Return, else their number
};

// Display units to drawing millimetres.
Float64 Scaled(const DocWindowRecord* doc, Float64 value) {
    return value * doc->settings->drawingScale * UnitToMillimetres(doc);
}

void Next(Step& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

void Finish(Step& s) {
    ResetToolState(s.doc, 0);
}

// One line in one undo step, and the tool back to step 0.
void CreateLine(Step& s, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    BeginUndoStep(s.doc);
    AddLine(s.doc, x1, y1, x2, y2);
    EndUndoStep(s.doc);
    Finish(s);
}

// A constructed line: created when it has length, else message 4; the tool ends either way.
void CreateIfDistinct(Step& s, Boolean constructed, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    if (constructed && CheckPointsDistinct(x1, y1, x2, y2))
        CreateLine(s, x1, y1, x2, y2);
    else
        Finish(s);
}

void Highlight(DocWindowRecord* doc, SInt16 kind, void* element, Boolean* selected) {
    if (*selected) return;
    *selected = 1;
    if (gDocumentHooks.drawElement != nullptr) gDocumentHooks.drawElement(doc, kind, element);
}

LineRecord* PickStepLine(Step& s) {
    if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return nullptr;
    LineRecord* line = s.d->lineCursor;
    Highlight(s.doc, kLineElement, line, &line->selected);
    return line;
}

ArcRecord* PickStepArc(Step& s) {
    if (!PickArc(s.doc, kPickFind, false, false, nullptr)) return nullptr;
    ArcRecord* arc = s.d->arcCursor;
    Highlight(s.doc, kArcElement, arc, &arc->selected);
    return arc;
}

bool SnapChecked(Step& s) {
    return SnapCursor(s.doc) && CheckToolValues(s.doc, true);
}

bool ValuesTyped(const Step& s) {
    return s.typed > 0;
}

void OfferAngleAndLength(Step& s) {
    CommandFieldSetPair(s.doc, s.t->rememberedAngle, s.t->rememberedLength);
}

void TakeAngleAndLength(Step& s) {
    GetTypedAngle(s.doc, 0, &s.t->rememberedAngle);
    GetNumericEntry(s.doc, 1, &s.t->rememberedLength);
}

// Tool 0: line through two points.

void TwoPointStart(Step& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
}

void TwoPointEnd(Step& s) {
    if (!SnapChecked(s)) return;
    ToolPoint p = RefPoint(s.doc, 4);
    if (!CheckPointsDistinct(p.x, p.y, s.d->cursorX, s.d->cursorY)) return;
    CreateLine(s, p.x, p.y, s.d->cursorX, s.d->cursorY);
}

// Tool 1: parallel line.

bool PlacesParallelAtOnce(const DocWindowRecord* doc) {
    return doc->settings->pickAperture >= kWideAperture && doc->settings->lineWidthOption == 0;
}

void ParallelPickLine(Step& s) {
    LineRecord* line = PickStepLine(s);
    if (line == nullptr) return;
    s.t->firstLine = line;
    // The side point: the click itself, never snapped.
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
    CommandFieldSetNumber(s.doc, s.t->rememberedDistance);
}

void ParallelDistanceOrPoint(Step& s) {
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
    Float64 px = s.d->cursorX, py = s.d->cursorY;
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

void ParallelSide(Step& s) {
    if (!SnapChecked(s)) return;
    RestoreSnapMode(s.doc);
    Float64 x1, y1, x2, y2;
    Boolean ok = ParallelLineAtDistance(s.t->firstLine, Scaled(s.doc, s.t->rememberedDistance), s.d->cursorX,
                                        s.d->cursorY, x1, y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 2: equidistant lines between two parallels, or a parallel touching a circle.

void EquidistantFirst(Step& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void EquidistantSecond(Step& s) {
    if (LineRecord* second = PickStepLine(s)) {
        s.t->secondLine = second;
        if (!LinesParallel(s.t->firstLine, second)) {
            ShowErrorStr128(143);
            Finish(s);
            return;
        }
        Next(s, 2);
        CommandFieldSetInteger(s.doc, s.t->rememberedCount);
        return;
    }
    if (ArcRecord* arc = PickStepArc(s)) {
        AddTangentParallelLine(s.doc, s.t->firstLine, arc, s.d->cursorX, s.d->cursorY);
        Finish(s);
    }
}

void EquidistantCount(Step& s) {
    if (!ValuesTyped(s)) return;
    GetTypedInteger(s.doc, 0, &s.t->rememberedCount);
    DivideBetweenLines(s.doc, s.t->firstLine, s.t->secondLine, s.t->rememberedCount);
    Finish(s);
}

// Tool 3: polar line.

void PolarStart(Step& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
    OfferAngleAndLength(s);
}

void PolarAngleLength(Step& s) {
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

void AngleToLinePick(Step& s) {
    LineRecord* line = PickStepLine(s);
    if (line == nullptr) return;
    s.t->firstLine = line;
    DeselectAll(s.doc, false);
    Next(s, 1);
}

void AngleToLinePoint(Step& s) {
    if (!SnapChecked(s)) return;
    const LineRecord* line = s.t->firstLine;
    Float64 fx, fy;
    if (PerpendicularFoot(line->x1, line->y1, line->x2, line->y2, s.d->cursorX, s.d->cursorY, fx, fy)) {
        s.d->cursorX = fx;
        s.d->cursorY = fy;
    }
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 2);
    OfferAngleAndLength(s);
}

void AngleToLineValues(Step& s) {
    if (!ValuesTyped(s)) return;
    TakeAngleAndLength(s);
    ToolPoint p = RefPoint(s.doc, 1);
    LineAtAngleToLine(s.doc, s.t->firstLine, p.x, p.y, s.t->rememberedAngle,
                      Scaled(s.doc, s.t->rememberedLength));
    Finish(s);
}

// Tool 5: perpendicular from a point onto a line.

void PerpendicularPick(Step& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void PerpendicularPoint(Step& s) {
    if (!SnapChecked(s)) return;
    SetRefPointFromCursor(s.doc, 4);
    Float64 x1, y1, x2, y2;
    Boolean ok = PerpendicularFromPoint(s.t->firstLine, s.d->cursorX, s.d->cursorY, x1, y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 6: tangent from a point to a circle.

void TangentFromPointPick(Step& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void TangentFromPointPoint(Step& s) {
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
        s.d->cursorX = x2;
        s.d->cursorY = y2;
        DrawCurrentPointMark(s.doc);
    }
    Finish(s);
}

// Tool 7: tangent to two circles.

void TangentTwoCirclesFirst(Step& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void TangentTwoCirclesSecond(Step& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr || !CheckToolValues(s.doc, true)) return;
    s.t->secondArc = arc;
    ToolPoint pick = RefPoint(s.doc, 1);
    Float64 x1, y1, x2, y2;
    Boolean ok = TangentLineToTwoCircles(s.t->firstArc, arc, pick.x, pick.y, s.d->cursorX, s.d->cursorY, x1,
                                         y1, x2, y2);
    CreateIfDistinct(s, ok, x1, y1, x2, y2);
}

// Tool 8: tangent at an angle with a length.

void TangentAtAnglePick(Step& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
    OfferAngleAndLength(s);
}

void TangentAtAngleValues(Step& s) {
    if (!ValuesTyped(s)) return;
    TakeAngleAndLength(s);
    ToolPoint pick = RefPoint(s.doc, 1);
    TangentLineAtAngle(s.doc, s.t->firstArc, s.t->rememberedAngle, Scaled(s.doc, s.t->rememberedLength),
                       pick.x, pick.y);
    Finish(s);
}

// Tool 9: tangent to a circle, perpendicular to a line.

void TangentNormalLine(Step& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void TangentNormalCircle(Step& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    AddTangentLineToLine(s.doc, s.t->firstLine, arc, s.d->cursorX, s.d->cursorY, 90);
    Finish(s);
}

// Tool 10: tangent to a circle at a typed angle to a line.

void TangentAngleLine(Step& s) {
    if ((s.t->firstLine = PickStepLine(s)) != nullptr) Next(s, 1);
}

void TangentAngleCircle(Step& s) {
    ArcRecord* arc = PickStepArc(s);
    if (arc == nullptr) return;
    s.t->firstArc = arc;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 2);
    CommandFieldSetNumber(s.doc, s.t->rememberedAngle);
}

void TangentAngleValue(Step& s) {
    if (!ValuesTyped(s)) return;
    GetTypedAngle(s.doc, 0, &s.t->rememberedAngle);
    ToolPoint pick = RefPoint(s.doc, 1);
    AddTangentLineToLine(s.doc, s.t->firstLine, s.t->firstArc, pick.x, pick.y, s.t->rememberedAngle);
    Finish(s);
}

// Tool 11: end marks of a line.

void LineEndsPick(Step& s) {
    // The dialog replaces the line; its scale takes no part in later checks.
    Float64 kept = s.t->pickedScales[0];
    if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return;
    s.t->pickedScales[0] = kept;
    LineEndsDialog(s.doc, s.d->lineCursor);
    Finish(s);
}

using StepFunction = void (*)(Step&);
constexpr int kMaxSteps = 3;

const StepFunction kSteps[12][kMaxSteps] = {
    {TwoPointStart, TwoPointEnd, nullptr},
    {ParallelPickLine, ParallelDistanceOrPoint, ParallelSide},
    {EquidistantFirst, EquidistantSecond, EquidistantCount},
    {PolarStart, PolarAngleLength, nullptr},
    {AngleToLinePick, AngleToLinePoint, AngleToLineValues},
    {PerpendicularPick, PerpendicularPoint, nullptr},
    {TangentFromPointPick, TangentFromPointPoint, nullptr},
    {TangentTwoCirclesFirst, TangentTwoCirclesSecond, nullptr},
    {TangentAtAnglePick, TangentAtAngleValues, nullptr},
    {TangentNormalLine, TangentNormalCircle, nullptr},
    {TangentAngleLine, TangentAngleCircle, TangentAngleValue},
    {LineEndsPick, nullptr, nullptr},
};

} // namespace

void ToolGroup0Click(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    SInt16 tool = CurrentTool(), step = doc->drawing->pendingStep;
    if (tool < 0 || tool > 11 || step < 0 || step >= kMaxSteps || kSteps[tool][step] == nullptr) return;
    Step s{doc, doc->drawing, ToolStateOf(doc), TypedValueCount(doc)};
    if (s.t == nullptr) return;
    kSteps[tool][step](s);
}
