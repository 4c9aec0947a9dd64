// The circle and arc tools of groups 1 and 2. Every sub-tool ends in one construction circle
// (centre and radius); group 1 adds it as a circle, group 2 goes on to the two angle steps. Steps
// that take a radius or an angle take a typed value, the remembered one on Return in an empty
// field, or a clicked point where the step allows one.
#include "Tools/CircleTools.h"

#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/Selection.h"
#include "Model/DocumentHooks.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Model/DrawingUnits.h"
#include "Model/DocSettings.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/TangentCircles.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <cmath>

namespace {

constexpr SInt16 kCircleGroup = 1;
constexpr SInt16 kThreeLinesMessage = 6;
constexpr SInt16 kThreeArcsMessage = 57;
constexpr SInt16 kTwoElementsMessage = 68;
constexpr SInt16 kMixedElementsMessage = 70;
constexpr SInt16 kRadiusMessage = 168;

bool CircleGroup() {
    return CurrentToolGroup() == kCircleGroup;
}

Float64 DisplayFactor(const DocWindowRecord* doc) {
    return doc->settings->drawingScale * UnitToMillimetres(doc);
}

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

void Finish(ToolStep& s) {
    ResetToolState(s.doc, 0);
}

bool Usable(Float64 cx, Float64 cy, Float64 r) {
    return std::isfinite(cx) && std::isfinite(cy) && std::isfinite(r) && r > 0;
}

// One arc (or circle) in one undo step; nothing that is not a number reaches the drawing.
bool CreateArc(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r, Float64 start, Float64 end) {
    if (!Usable(cx, cy, r) || !std::isfinite(start) || !std::isfinite(end)) return false;
    BeginUndoStep(doc);
    AddArc(doc, cx, cy, r, start, end);
    EndUndoStep(doc);
    return true;
}

// The radius of a value step in millimetres: typed (converted from display units, remembered),
// the remembered one on Return in an empty field; false with message 168 for 0 or less, and
// false without a word when nothing was typed.
bool TakeRadius(ToolStep& s, Float64* mm) {
    if (s.typed == 0) return false;
    Float64 shown = s.t->rememberedRadius;
    if (s.typed > 0) GetNumericEntry(s.doc, 0, &shown);
    Float64 r = shown * DisplayFactor(s.doc);
    if (!(r > 0) || !std::isfinite(r)) {
        ShowErrorStr128(kRadiusMessage);
        return false;
    }
    s.t->rememberedRadius = shown;
    *mm = r;
    return true;
}

void OfferRadius(ToolStep& s) {
    CommandFieldSetNumber(s.doc, s.t->rememberedRadius);
}

// The construction circle is found: a circle now, or on to the angles of the arc.
void FinishCircle(ToolStep& s, Float64 cx, Float64 cy, Float64 r) {
    if (!Usable(cx, cy, r)) {
        Finish(s);
        return;
    }
    s.t->circleX = cx;
    s.t->circleY = cy;
    s.t->circleRadius = r;
    if (CircleGroup()) {
        CreateArc(s.doc, cx, cy, r, 0, 360);
        Finish(s);
        return;
    }
    s.d->toolInput.cursorX = cx;
    s.d->toolInput.cursorY = cy;
    DrawCurrentPointMark(s.doc);
    DeselectAll(s.doc, false);
    Next(s, 3);
    CommandFieldSetNumber(s.doc, s.t->rememberedStartAngle);
}

void Highlight(DocWindowRecord* doc, SInt16 kind, void* element, Boolean* selected) {
    if (*selected) return;
    SetSelectedFlag(doc->drawing, selected, 1);
    gDocumentHooks.drawElement(doc, kind, element);
}

// A line first, else an arc; the hit is highlighted. False when neither was hit.
bool PickElement(ToolStep& s, LineRecord** line, ArcRecord** arc) {
    *line = nullptr;
    *arc = nullptr;
    if (PickLine(s.doc, kPickFind, false, false, nullptr)) {
        *line = s.d->cursors.lineCursor;
        Highlight(s.doc, kLineElement, *line, &(*line)->selected);
        return true;
    }
    if (PickArc(s.doc, kPickFind, false, false, nullptr)) {
        *arc = s.d->cursors.arcCursor;
        Highlight(s.doc, kArcElement, *arc, &(*arc)->selected);
        return true;
    }
    return false;
}

// Sub-tool 0: centre and radius.

void CentreStart(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
    OfferRadius(s);
}

void CentreRadius(ToolStep& s) {
    ToolPoint c = RefPoint(s.doc, 4);
    Float64 r = 0;
    if (s.typed != 0) {
        if (!TakeRadius(s, &r)) return;
    } else {
        if (!SnapCursor(s.doc)) return;
        r = PointDistance(c.x, c.y, s.d->toolInput.cursorX, s.d->toolInput.cursorY);
        if (!(r > 0) || !std::isfinite(r)) {
            ShowErrorStr128(kRadiusMessage);
            return;
        }
        s.t->rememberedRadius = r / DisplayFactor(s.doc);
    }
    FinishCircle(s, c.x, c.y, r);
}

// Sub-tool 1: two points and a radius, the centre on the side of a free click.

void TwoPointsFirst(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void TwoPointsSecond(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 2);
    Next(s, 2);
    SuspendSnapMode(s.doc);
}

void TwoPointsSide(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    RestoreSnapMode(s.doc);
    Next(s, 3);
    OfferRadius(s);
}

void TwoPointsRadius(ToolStep& s) {
    Float64 r;
    if (!TakeRadius(s, &r)) return;
    ToolPoint p1 = RefPoint(s.doc, 1), p2 = RefPoint(s.doc, 2), side = RefPoint(s.doc, 4);
    CircleThroughTwoPointsWithRadius(s.doc, p1.x, p1.y, p2.x, p2.y, side.x, side.y, r, CircleGroup());
    Finish(s);
}

// Sub-tool 2: diameter.

void DiameterFirst(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void DiameterSecond(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    ToolPoint p = RefPoint(s.doc, 1);
    Float64 x = s.d->toolInput.cursorX, y = s.d->toolInput.cursorY;
    Float64 cx = (p.x + x) / 2, cy = (p.y + y) / 2, r = PointDistance(cx, cy, x, y);
    // Two equal points span no circle: said as for a radius of 0, and the second point is asked again.
    if (!(r > 0) || !std::isfinite(r)) {
        ShowErrorStr128(kRadiusMessage);
        return;
    }
    FinishCircle(s, cx, cy, r);
}

// Sub-tool 3: three points.

void ThreePointsFirst(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
}

void ThreePointsSecond(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 5);
    Next(s, 2);
}

void ThreePointsThird(ToolStep& s) {
    if (!SnapCursor(s.doc) || !CheckToolValues(s.doc, true)) return;
    ToolPoint a = RefPoint(s.doc, 4), b = RefPoint(s.doc, 5);
    Float64 cx, cy, r;
    if (!CircleThroughThreePoints(a.x, a.y, b.x, b.y, s.d->toolInput.cursorX, s.d->toolInput.cursorY, cx, cy,
                                  r))
        return;
    FinishCircle(s, cx, cy, r);
}

// Sub-tool 4: a radius, through a point, touching an element.

void PointTangentPick(ToolStep& s) {
    if (!PickElement(s, &s.t->firstLine, &s.t->firstArc)) return;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void PointTangentPoint(ToolStep& s) {
    if (!SnapCursor(s.doc) || !CheckToolValues(s.doc, true)) return;
    SetRefPointFromCursor(s.doc, 2);
    Next(s, 2);
    OfferRadius(s);
}

void FinishTangentPointCircle(ToolStep& s, Float64 radius) {
    ToolPoint pick = RefPoint(s.doc, 1), p = RefPoint(s.doc, 2);
    Float64 cx, cy;
    Boolean ok = s.t->firstLine != nullptr
                     ? TangentCircleCentreToLine(s.t->firstLine, pick.x, pick.y, p.x, p.y, radius, cx, cy)
                     : TangentCircleCentreToCircle(s.t->firstArc, pick.x, pick.y, p.x, p.y, radius, cx, cy);
    if (ok)
        FinishCircle(s, cx, cy, radius);
    else
        Finish(s);
}

void PointTangentRadius(ToolStep& s) {
    Float64 r;
    if (TakeRadius(s, &r)) FinishTangentPointCircle(s, r);
}

// Sub-tools 5 and 6: the picks of the touched elements, their kinds kept as the combination code.

void TangentFirstPick(ToolStep& s) {
    if (!PickElement(s, &s.t->firstLine, &s.t->firstArc)) return;
    s.t->combination = s.t->firstArc != nullptr ? 100 : 0;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

bool TangentSecondPick(ToolStep& s) {
    if (!PickElement(s, &s.t->secondLine, &s.t->secondArc)) return false;
    if (s.t->secondArc != nullptr) s.t->combination += 10;
    SetRefPointFromCursor(s.doc, 2);
    Next(s, 2);
    return true;
}

void TwoTangentSecond(ToolStep& s) {
    if (TangentSecondPick(s)) OfferRadius(s);
}

void FinishTangentTwoCircle(ToolStep& s, Float64 radius) {
    ToolStateRecord* t = s.t;
    ToolPoint p1 = RefPoint(s.doc, 1), p2 = RefPoint(s.doc, 2);
    Float64 cx = 0, cy = 0;
    Boolean ok = false;
    switch (t->combination) {
    case 0:
        ok = TangentCircleCentreToTwoLines(t->firstLine, p1.x, p1.y, t->secondLine, p2.x, p2.y, radius, cx,
                                           cy);
        break;
    case 10:
        ok = TangentCircleCentreToLineAndCircle(t->firstLine, p1.x, p1.y, t->secondArc, p2.x, p2.y, radius,
                                                cx, cy);
        break;
    case 100:
        // The line's click always comes first.
        ok = TangentCircleCentreToLineAndCircle(t->secondLine, p2.x, p2.y, t->firstArc, p1.x, p1.y, radius,
                                                cx, cy);
        break;
    case 110: {
        Float64 ax, ay, bx, by;
        Boolean a = TangentCircleCentreToTwoCircleElements(t->firstArc, p1.x, p1.y, t->secondArc, p2.x, p2.y,
                                                           radius, ax, ay);
        Boolean b = TangentCircleCentreToTwoCircles(t->firstArc, t->secondArc, radius, bx, by, p1.x, p1.y);
        if (a && b) {
            // The candidate touching the first arc nearer its click wins; a tie goes to the second.
            auto touchDistance = [&](Float64 x, Float64 y) {
                Float64 xa, ya, xb, yb;
                const ArcRecord* arc = t->firstArc;
                if (!IntersectCircles(x, y, radius, arc->cx, arc->cy, arc->radius, xa, ya, xb, yb)) {
                    // Touching circles may miss each other by rounding: the point on the line of centres.
                    Float64 d = PointDistance(arc->cx, arc->cy, x, y);
                    if (!(d > 0)) return 1e300;
                    Float64 k = arc->radius / d, sign = d < radius && radius > arc->radius ? -1.0 : 1.0;
                    xa = arc->cx + sign * k * (x - arc->cx);
                    ya = arc->cy + sign * k * (y - arc->cy);
                }
                return PointDistance(xa, ya, p1.x, p1.y);
            };
            ok = true;
            bool first = touchDistance(ax, ay) < touchDistance(bx, by);
            cx = first ? ax : bx;
            cy = first ? ay : by;
        } else if (a || b) {
            ok = true;
            cx = a ? ax : bx;
            cy = a ? ay : by;
        }
        break;
    }
    default:
        break;
    }
    if (ok) {
        FinishCircle(s, cx, cy, radius);
        return;
    }
    Finish(s);
    ShowErrorStr128(kTwoElementsMessage);
}

void TwoTangentRadius(ToolStep& s) {
    Float64 r;
    if (TakeRadius(s, &r)) FinishTangentTwoCircle(s, r);
}

void ThreeTangentSecond(ToolStep& s) {
    TangentSecondPick(s);
}

void FinishTangentThreeCircle(ToolStep& s) {
    ToolStateRecord* t = s.t;
    ToolPoint p1 = RefPoint(s.doc, 1), p2 = RefPoint(s.doc, 2), p3 = RefPoint(s.doc, 3);
    Float64 cx = 0, cy = 0, r = 0;
    Boolean ok = false;
    SInt16 message = kMixedElementsMessage;
    LineRecord *l1 = t->firstLine, *l2 = t->secondLine, *l3 = t->thirdLine;
    ArcRecord *a1 = t->firstArc, *a2 = t->secondArc, *a3 = t->thirdArc;
    switch (t->combination) {
    case 0:
        ok = CircleTangentToThreeLines(l1, l2, l3, cx, cy, r, p1.x, p1.y);
        message = kThreeLinesMessage;
        break;
    case 1:
        ok = CircleTangentLinesArc(l1, l2, a3, cx, cy, r, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
        break;
    case 10:
        ok = CircleTangentLinesArc(l1, l3, a2, cx, cy, r, p1.x, p1.y, p3.x, p3.y, p2.x, p2.y);
        break;
    case 100:
        ok = CircleTangentLinesArc(l2, l3, a1, cx, cy, r, p2.x, p2.y, p3.x, p3.y, p1.x, p1.y);
        break;
    case 11:
        ok = CircleTangentLineArcs(a2, a3, l1, p2.x, p2.y, p3.x, p3.y, p1.x, p1.y, cx, cy, r);
        break;
    case 101:
        ok = CircleTangentLineArcs(a1, a3, l2, p1.x, p1.y, p3.x, p3.y, p2.x, p2.y, cx, cy, r);
        break;
    case 110:
        ok = CircleTangentLineArcs(a1, a2, l3, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, cx, cy, r);
        break;
    case 111:
        ok = CircleTangentThreeArcs(a1, a2, a3, cx, cy, r, p1.x, p1.y);
        message = kThreeArcsMessage;
        break;
    default:
        break;
    }
    if (ok && Usable(cx, cy, r)) {
        FinishCircle(s, cx, cy, r);
        return;
    }
    Finish(s);
    ShowErrorStr128(message);
}

void ThreeTangentThird(ToolStep& s) {
    if (!PickElement(s, &s.t->thirdLine, &s.t->thirdArc)) return;
    if (s.t->thirdArc != nullptr) s.t->combination += 1;
    SetRefPointFromCursor(s.doc, 3);
    FinishTangentThreeCircle(s);
}

// The angle steps of an arc: typed, remembered on Return in an empty field, or the direction from
// the centre to a clicked point.
bool TakeAngle(ToolStep& s, Float64* remembered) {
    if (s.typed > 0) {
        GetTypedAngle(s.doc, 0, remembered);
        return std::isfinite(*remembered);
    }
    if (s.typed < 0) return std::isfinite(*remembered);
    if (!SnapCursor(s.doc)) return false;
    Float64 x = s.d->toolInput.cursorX, y = s.d->toolInput.cursorY;
    if (x == s.t->circleX && y == s.t->circleY) return false; // no direction from the centre itself
    *remembered = DirectionDegrees(s.t->circleX, s.t->circleY, x, y);
    return true;
}

void StartAngle(ToolStep& s) {
    if (!TakeAngle(s, &s.t->rememberedStartAngle)) return;
    Next(s, 4);
    CommandFieldSetNumber(s.doc, s.t->rememberedEndAngle);
}

void EndAngle(ToolStep& s) {
    if (!TakeAngle(s, &s.t->rememberedEndAngle)) return;
    CreateArc(s.doc, s.t->circleX, s.t->circleY, s.t->circleRadius, s.t->rememberedStartAngle,
              s.t->rememberedEndAngle);
    Finish(s);
}

constexpr SInt16 kCircleRow = 12, kArcRow = 24;

// Group 1, by prompt row: 12 + sub-tool.
const ToolStepRow kCircleRows[] = {
    {kCircleRow + 0, 0, "centre", StepInput::point, CentreStart},
    {kCircleRow + 0, 1, "radius or point on the circle", StepInput::values, CentreRadius},
    {kCircleRow + 1, 0, "first point", StepInput::point, TwoPointsFirst},
    {kCircleRow + 1, 1, "second point", StepInput::point, TwoPointsSecond},
    {kCircleRow + 1, 2, "side of the centre", StepInput::point, TwoPointsSide},
    {kCircleRow + 1, 3, "radius", StepInput::values, TwoPointsRadius},
    {kCircleRow + 2, 0, "one end of the diameter", StepInput::point, DiameterFirst},
    {kCircleRow + 2, 1, "other end of the diameter", StepInput::point, DiameterSecond},
    {kCircleRow + 3, 0, "first point", StepInput::point, ThreePointsFirst},
    {kCircleRow + 3, 1, "second point", StepInput::point, ThreePointsSecond},
    {kCircleRow + 3, 2, "third point", StepInput::point, ThreePointsThird},
    {kCircleRow + 4, 0, "element touched", StepInput::pick, PointTangentPick},
    {kCircleRow + 4, 1, "point on the circle", StepInput::point, PointTangentPoint},
    {kCircleRow + 4, 2, "radius", StepInput::values, PointTangentRadius},
    {kCircleRow + 5, 0, "first element touched", StepInput::pick, TangentFirstPick},
    {kCircleRow + 5, 1, "second element touched", StepInput::pick, TwoTangentSecond},
    {kCircleRow + 5, 2, "radius", StepInput::values, TwoTangentRadius},
    {kCircleRow + 6, 0, "first element touched", StepInput::pick, TangentFirstPick},
    {kCircleRow + 6, 1, "second element touched", StepInput::pick, ThreeTangentSecond},
    {kCircleRow + 6, 2, "third element touched", StepInput::pick, ThreeTangentThird},
};

// Group 2: the same constructions, then the angles (two points and a radius makes its arc at once).
const ToolStepRow kArcRows[] = {
    {kArcRow + 0, 0, "centre", StepInput::point, CentreStart},
    {kArcRow + 0, 1, "radius or point on the arc", StepInput::values, CentreRadius},
    {kArcRow + 0, 3, "start angle", StepInput::values, StartAngle},
    {kArcRow + 0, 4, "end angle", StepInput::values, EndAngle},
    {kArcRow + 1, 0, "start point", StepInput::point, TwoPointsFirst},
    {kArcRow + 1, 1, "end point", StepInput::point, TwoPointsSecond},
    {kArcRow + 1, 2, "side of the centre", StepInput::point, TwoPointsSide},
    {kArcRow + 1, 3, "radius", StepInput::values, TwoPointsRadius},
    {kArcRow + 2, 0, "one end of the diameter", StepInput::point, DiameterFirst},
    {kArcRow + 2, 1, "other end of the diameter", StepInput::point, DiameterSecond},
    {kArcRow + 2, 3, "start angle", StepInput::values, StartAngle},
    {kArcRow + 2, 4, "end angle", StepInput::values, EndAngle},
    {kArcRow + 3, 0, "first point", StepInput::point, ThreePointsFirst},
    {kArcRow + 3, 1, "second point", StepInput::point, ThreePointsSecond},
    {kArcRow + 3, 2, "third point", StepInput::point, ThreePointsThird},
    {kArcRow + 3, 3, "start angle", StepInput::values, StartAngle},
    {kArcRow + 3, 4, "end angle", StepInput::values, EndAngle},
    {kArcRow + 4, 0, "element touched", StepInput::pick, PointTangentPick},
    {kArcRow + 4, 1, "point on the arc", StepInput::point, PointTangentPoint},
    {kArcRow + 4, 2, "radius", StepInput::values, PointTangentRadius},
    {kArcRow + 4, 3, "start angle", StepInput::values, StartAngle},
    {kArcRow + 4, 4, "end angle", StepInput::values, EndAngle},
    {kArcRow + 5, 0, "first element touched", StepInput::pick, TangentFirstPick},
    {kArcRow + 5, 1, "second element touched", StepInput::pick, TwoTangentSecond},
    {kArcRow + 5, 2, "radius", StepInput::values, TwoTangentRadius},
    {kArcRow + 5, 3, "start angle", StepInput::values, StartAngle},
    {kArcRow + 5, 4, "end angle", StepInput::values, EndAngle},
    {kArcRow + 6, 0, "first element touched", StepInput::pick, TangentFirstPick},
    {kArcRow + 6, 1, "second element touched", StepInput::pick, ThreeTangentSecond},
    {kArcRow + 6, 2, "third element touched", StepInput::pick, ThreeTangentThird},
    {kArcRow + 6, 3, "start angle", StepInput::values, StartAngle},
    {kArcRow + 6, 4, "end angle", StepInput::values, EndAngle},
};

} // namespace

constinit const ToolStepTable kCircleToolSteps{kCircleRows};
constinit const ToolStepTable kArcToolSteps{kArcRows};

void ToolGroup1Click(DocWindowRecord* doc) {
    RunToolStep(doc, kCircleToolSteps, SInt16(kCircleRow + CurrentTool()));
}

void ToolGroup2Click(DocWindowRecord* doc) {
    RunToolStep(doc, kArcToolSteps, SInt16(kArcRow + CurrentTool()));
}

Boolean CircleThroughTwoPointsWithRadius(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                         Float64 x3, Float64 y3, Float64 radius, Boolean fullCircle) {
    Float64 xa, ya, xb, yb;
    if (!(radius > 0) || !IntersectCircles(x1, y1, radius, x2, y2, radius, xa, ya, xb, yb)) {
        ShowErrorStr128(kNoTouchingCircleMessage);
        return false;
    }
    bool second = DistanceSquared(xb, yb, x3, y3) < DistanceSquared(xa, ya, x3, y3);
    Float64 cx = second ? xb : xa, cy = second ? yb : ya;
    if (fullCircle) return CreateArc(doc, cx, cy, radius, 0, 360);
    return CreateArc(doc, cx, cy, radius, NormalizeAngle(DirectionDegrees(cx, cy, x1, y1)),
                     NormalizeAngle(DirectionDegrees(cx, cy, x2, y2)));
}
