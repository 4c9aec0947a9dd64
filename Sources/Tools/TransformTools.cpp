// The seven transform tools of group 6. Each defines its transformation first, then takes the
// selection, the number of copies and, when the selection carries keys, whether whole key groups
// move. Nothing changes before the last step; the change is one undo step.
#include "Tools/TransformTools.h"

#include "Model/DocumentRecords.h"
#include "Other/MathPrimitives.h"
#include "Model/Selection.h"
#include "Model/SelectionCriteria.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Model/DrawingUnits.h"
#include "Model/SharedUtilities.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <cmath>

namespace {

constexpr SInt16 kConfirmWordItem = 189;
constexpr Float64 kRadiansPerDegree = 3.14159265358979323846 / 180.0;

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

bool SnapToRef(ToolStep& s, int n) {
    if (!SnapCursor(s.doc)) return false;
    SetRefPointFromCursor(s.doc, n);
    return true;
}

TransformState* State(ToolStep& s) {
    return TransformStateOf(s.doc);
}

// Display units typed for an offset into drawing units.
Float64 TypedLengthFactor(DocWindowRecord* doc) {
    Float64 f = doc->settings->drawingScale * UnitToMillimetres(doc);
    return f > 0 ? f : 1.0;
}

// The factor offered: the last one typed, 1 before any.
Float64 OfferedFactor(const ToolStateRecord* t) {
    return t->transformFactor > 0 ? t->transformFactor : 1.0;
}

// The step of each tool that selects, counts, asks G or E and confirms.
struct Tail {
    SInt16 kind, select, count, mode, confirm, back;
};

Tail TailOf(SInt16 tool) {
    switch (tool) {
    case 0:
        return {kTransformMove, 2, 3, 4, -1, 0};
    case 1:
        return {kTransformMove, 1, 2, 3, -1, 0};
    case 2:
        return {kTransformRotate, 2, 3, 4, 5, 0};
    case 3:
        return {kTransformAlongCircle, 3, 4, 5, -1, 0};
    case 4:
        return {kTransformMirror, 1, 2, 3, 4, 1};
    case 6:
        return {kTransformScale, 1, 2, 3, -1, 0};
    default:
        return {kTransformNone, -1, -1, -1, -1, 0};
    }
}

void Apply(ToolStep& s, SInt16 copies, Boolean elementsOnly) {
    const Tail tail = TailOf(CurrentTool());
    BeginUndoStep(s.doc);
    TransformSelection(s.doc, tail.kind, copies, elementsOnly);
    EndUndoStep(s.doc);
    Next(s, tail.back);
}

void ShowCount(ToolStep& s) {
    CommandFieldSetInteger(s.doc, s.t->transformCounts[CurrentTool()]);
}

// Selection step: the first element or rectangle moves on to the count.
void SelectStep(ToolStep& s) {
    if (s.typed != 0 || !PickOrRubberBand(s.doc, true)) return;
    const Tail tail = TailOf(CurrentTool());
    Next(s, tail.count);
    if (CurrentTool() == 6) {
        CommandFieldSetNumber(s.doc, OfferedFactor(s.t));
        return;
    }
    ShowCount(s);
}

// The copies are known: without keys the change is made, otherwise G or E is asked.
void AfterCount(ToolStep& s, SInt16 copies) {
    const SInt16 tool = CurrentTool();
    s.t->transformCopies = copies;
    CollectElementKeys(s.doc);
    if (State(s)->keyCount == 0) {
        Apply(s, copies, true);
        return;
    }
    Next(s, TailOf(tool).mode);
    if (s.t->transformLetters[tool] != 0) CommandFieldSetChar(s.doc, UInt8(s.t->transformLetters[tool]));
}

void CountStep(ToolStep& s) {
    if (s.typed == 0) {
        PickOrRubberBand(s.doc, false);
        return;
    }
    SInt16 copies = s.t->transformCounts[CurrentTool()];
    if (s.typed > 0) GetTypedInteger(s.doc, 0, &copies);
    if (copies < 0) return;
    s.t->transformCounts[CurrentTool()] = copies;
    // A mirror makes at most one copy: the elements mirrored in place or one mirrored copy.
    if (CurrentTool() == 4 && copies != 0) copies = 1;
    AfterCount(s, copies);
}

void ModeStep(ToolStep& s) {
    if (s.typed == 0) return;
    Str255 text;
    CommandFieldGetText(s.doc, text);
    if (text[0] == 0) return;
    const SInt16 tool = CurrentTool();
    char letter = 'E';
    GetTypedModeLetter(s.doc, &letter);
    s.t->transformLetters[tool] = letter;
    const Tail tail = TailOf(tool);
    TransformState* st = State(s);
    SInt16 firstKey = 0;
    for (SInt16 k = 1; k <= kHighestKey && firstKey == 0; ++k)
        if (st->keys[size_t(k)]) firstKey = k;
    // Turning or mirroring a dimension with its key group asks first.
    if (letter == 'G' && tail.confirm >= 0 && DimensionCarriesKey(s.doc, firstKey)) {
        SInt16 copies = s.t->transformCopies;
        Next(s, tail.confirm);
        s.t->transformCopies = copies;
        return;
    }
    Apply(s, s.t->transformCopies, letter == 'E');
}

bool SameWordIgnoringCase(ConstStr255Param a, ConstStr255Param b) {
    if (a[0] != b[0]) return false;
    for (int i = 1; i <= a[0]; ++i) {
        auto lower = [](UInt8 c) { return c >= 'A' && c <= 'Z' ? UInt8(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void ConfirmStep(ToolStep& s) {
    if (s.typed == 0) return;
    Str255 text, word;
    CommandFieldGetText(s.doc, text);
    GetStr128(kConfirmWordItem, word);
    if (!SameWordIgnoringCase(text, word)) {
        Next(s, TailOf(CurrentTool()).back);
        return;
    }
    Apply(s, s.t->transformCopies, false);
}

// Tool 0.
void MoveFrom(ToolStep& s) {
    if (SnapToRef(s, 4)) Next(s, 1);
}

void MoveTo(ToolStep& s) {
    if (SnapToRef(s, 5)) Next(s, 2);
}

// Tool 1.
void TypedOffset(ToolStep& s) {
    if (s.typed < 2) return;
    Float64 dx = 0, dy = 0;
    GetNumericEntry(s.doc, 0, &dx);
    GetNumericEntry(s.doc, 1, &dy);
    s.t->rememberedPair[0] = dx, s.t->rememberedPair[1] = dy;
    const Float64 f = TypedLengthFactor(s.doc);
    s.t->refPoints[3] = ToolPoint{0, 0};
    s.t->refPoints[4] = ToolPoint{dx * f, dy * f};
    Next(s, 1);
}

// Tool 2.
void RotationCentre(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    TransformState* st = State(s);
    st->refX = s.d->toolInput.cursorX, st->refY = s.d->toolInput.cursorY;
    Next(s, 1);
    CommandFieldSetNumber(s.doc, s.t->rememberedAngle);
}

void RotationAngle(ToolStep& s) {
    if (s.typed > 0) {
        GetTypedAngle(s.doc, 0, &s.t->rememberedAngle);
    } else if (s.typed == 0) {
        if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return;
        const LineRecord* line = s.d->cursors.lineCursor;
        s.t->rememberedAngle = DirectionDegrees(line->x1, line->y1, line->x2, line->y2);
        DeselectAll(s.doc, false);
    } else {
        return;
    }
    Next(s, 2);
}

// Tool 3.
void CircleCentre(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    TransformState* st = State(s);
    st->refX = s.d->toolInput.cursorX, st->refY = s.d->toolInput.cursorY;
    Next(s, 1);
}

void CarriedPoint(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    TransformState* st = State(s);
    st->secondX = s.d->toolInput.cursorX, st->secondY = s.d->toolInput.cursorY;
    Next(s, 2);
    CommandFieldSetNumber(s.doc, s.t->rememberedAngle);
}

void StepAngle(ToolStep& s) {
    if (s.typed <= 0) return;
    GetTypedAngle(s.doc, 0, &s.t->rememberedAngle);
    Next(s, 3);
}

// Tool 4.
void MirrorLine(ToolStep& s) {
    if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return;
    const LineRecord* line = s.d->cursors.lineCursor;
    TransformState* st = State(s);
    st->lineX1 = line->x1, st->lineY1 = line->y1, st->lineX2 = line->x2, st->lineY2 = line->y2;
    st->lineAngle = DirectionDegrees(line->x1, line->y1, line->x2, line->y2);
    DeselectAll(s.doc, false);
    Next(s, 1);
}

// Tool 5.
void StretchRectangle(ToolStep& s) {
    if (s.typed != 0 || !TrackDragRectangle(s.doc, false)) return;
    const DrawingViewState& v = s.d->view;
    TransformState* st = State(s);
    st->rectMinX = v.dragRectX, st->rectMinY = v.dragRectY;
    st->rectMaxX = v.dragRectX + v.dragRectWidth, st->rectMaxY = v.dragRectY + v.dragRectHeight;
    Boolean kinds[kSelectKindCount];
    for (Boolean& k : kinds)
        k = true;
    SelectInRectWithCriteria(s.doc, st->rectMinX, st->rectMinY, st->rectMaxX, st->rectMaxY, kinds);
    Next(s, 1);
    s.t->rectFeedback = true;
    s.t->rectX = v.dragRectX, s.t->rectY = v.dragRectY;
    s.t->rectWidth = v.dragRectWidth, s.t->rectHeight = v.dragRectHeight;
    RequestRedraw(s.doc);
}

void StretchMore(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    Next(s, 2);
    CommandFieldSetPair(s.doc, s.t->rememberedPair[0], s.t->rememberedPair[1]);
}

void StretchOffset(ToolStep& s) {
    if (s.typed < 2) return;
    Float64 dx = 0, dy = 0;
    GetNumericEntry(s.doc, 0, &dx);
    GetNumericEntry(s.doc, 1, &dy);
    s.t->rememberedPair[0] = dx, s.t->rememberedPair[1] = dy;
    const Float64 f = TypedLengthFactor(s.doc);
    TransformState* st = State(s);
    st->offsetX = dx * f, st->offsetY = dy * f;
    BeginUndoStep(s.doc);
    TransformAllByKind5(s.doc);
    EndUndoStep(s.doc);
    Next(s, 0);
    RedrawWindow(s.doc);
}

// Tool 6.
void ScaleCentre(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    TransformState* st = State(s);
    st->refX = s.d->toolInput.cursorX, st->refY = s.d->toolInput.cursorY;
    Next(s, 1);
    CommandFieldSetNumber(s.doc, OfferedFactor(s.t));
}

void ScaleFactor(ToolStep& s) {
    if (s.typed == 0) {
        PickOrRubberBand(s.doc, false);
        return;
    }
    Float64 f = OfferedFactor(s.t);
    if (s.typed > 0) GetNumericEntry(s.doc, 0, &f);
    // Nothing sensible scales by 0 or turns inside out: such a factor is taken as 1.
    if (!(f > 0)) f = 1.0;
    s.t->transformFactor = f;
    State(s)->secondFactor = f;
    AfterCount(s, 0);
}

const ToolStepRow kRows[] = {
    {0, 0, "point to move from", StepInput::point, MoveFrom},
    {0, 1, "point to move to", StepInput::point, MoveTo},
    {0, 2, "elements", StepInput::pick, SelectStep},
    {0, 3, "copies", StepInput::integer, CountStep},
    {0, 4, "G or E", StepInput::text, ModeStep},
    {1, 0, "offset", StepInput::values, TypedOffset},
    {1, 1, "elements", StepInput::pick, SelectStep},
    {1, 2, "copies", StepInput::integer, CountStep},
    {1, 3, "G or E", StepInput::text, ModeStep},
    {2, 0, "centre", StepInput::point, RotationCentre},
    {2, 1, "angle or line", StepInput::values, RotationAngle},
    {2, 2, "elements", StepInput::pick, SelectStep},
    {2, 3, "copies", StepInput::integer, CountStep},
    {2, 4, "G or E", StepInput::text, ModeStep},
    {2, 5, "confirmation", StepInput::text, ConfirmStep},
    {3, 0, "centre", StepInput::point, CircleCentre},
    {3, 1, "point carried round", StepInput::point, CarriedPoint},
    {3, 2, "angle", StepInput::values, StepAngle},
    {3, 3, "elements", StepInput::pick, SelectStep},
    {3, 4, "copies", StepInput::integer, CountStep},
    {3, 5, "G or E", StepInput::text, ModeStep},
    {4, 0, "mirror line", StepInput::pick, MirrorLine},
    {4, 1, "elements", StepInput::pick, SelectStep},
    {4, 2, "copy or not", StepInput::integer, CountStep},
    {4, 3, "G or E", StepInput::text, ModeStep},
    {4, 4, "confirmation", StepInput::text, ConfirmStep},
    {5, 0, "rectangle", StepInput::pick, StretchRectangle},
    {5, 1, "more elements", StepInput::values, StretchMore},
    {5, 2, "offset", StepInput::values, StretchOffset},
    {6, 0, "centre", StepInput::point, ScaleCentre},
    {6, 1, "elements", StepInput::pick, SelectStep},
    {6, 2, "factor", StepInput::values, ScaleFactor},
    {6, 3, "G or E", StepInput::text, ModeStep},
};

template <typename R> bool SelectHit(DrawingRecord* d, R* hit, Boolean extend) {
    if (hit == nullptr) return false;
    if (!hit->selected) {
        SetSelectedFlag(d, &hit->selected, 1);
        return true;
    }
    if (!extend) {
        hit->selected = 0;
        return false;
    }
    return true;
}

} // namespace

constinit const ToolStepTable kTransformToolSteps{kRows};

void ToolGroup6Click(DocWindowRecord* doc) {
    RunToolStep(doc, kTransformToolSteps, CurrentTool());
}

void TransformSelection(DocWindowRecord* doc, SInt16 kind, SInt16 copies, Boolean elementsOnly) {
    TransformState* st = TransformStateOf(doc);
    ToolStateRecord* t = ToolStateOf(doc);
    if (st == nullptr || t == nullptr) return;
    doc->drawing->changed = true;
    st->kind = kind;
    if (kind == kTransformRotate) {
        st->angle = t->rememberedAngle;
        st->cosine = std::cos(t->rememberedAngle * kRadiansPerDegree);
        st->sine = std::sin(t->rememberedAngle * kRadiansPerDegree);
    }
    if (kind == kTransformAlongCircle) st->angle = t->rememberedAngle;
    if (kind == kTransformMove) {
        ToolPoint from = RefPoint(doc, 4), to = RefPoint(doc, 5);
        st->offsetX = st->incrementX = to.x - from.x;
        st->offsetY = st->incrementY = to.y - from.y;
    }
    // The key groups join what the user selected, in one walk over the drawing.
    if (!elementsOnly) SelectElementsOfKeySet(doc);
    TransformAllElements(doc, copies);
    DeselectAll(doc, false);
    RedrawWindow(doc);
}

void TransformAllByKind5(DocWindowRecord* doc) {
    TransformState* st = TransformStateOf(doc);
    if (st == nullptr) return;
    st->kind = kTransformStretch;
    TransformAllElements(doc, 0);
}

Boolean PickOrRubberBand(DocWindowRecord* doc, Boolean extend) {
    if (doc == nullptr || doc->drawing == nullptr) return false;
    DrawingRecord* d = doc->drawing;
    ListWalkCursors& c = d->cursors;
    Boolean hit = false;
    if (PickLine(doc, kPickFind, false, false, nullptr)) {
        hit = SelectHit(d, c.lineCursor, extend);
    } else if (PickArc(doc, kPickFind, false, false, nullptr)) {
        hit = SelectHit(d, c.arcCursor, extend);
    } else if (PickText(doc, kPickFind, false)) {
        hit = SelectHit(d, c.textCursor, extend);
    } else if (PickDimension(doc, kPickFind, false)) {
        hit = SelectHit(d, c.dimensionCursor, extend);
    } else if (PickSymbolInstance(doc, kPickFind, false, true, nullptr)) {
        hit = SelectHit(d, c.instanceCursor, extend);
    } else if (PickPolyline(doc, kPickFind, kWantAllPolylines, false)) {
        hit = SelectHit(d, c.polylineCursor, extend);
    } else if (PickArea(doc, kPickFind, false)) {
        hit = SelectHit(d, c.areaCursor, extend);
    } else {
        if (!TrackDragRectangle(doc, false)) return false;
        const DrawingViewState& v = d->view;
        Boolean kinds[kSelectKindCount];
        for (Boolean& k : kinds)
            k = true;
        hit = SelectInRectWithCriteria(doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                       v.dragRectY + v.dragRectHeight, kinds);
    }
    RequestRedraw(doc);
    return hit;
}
