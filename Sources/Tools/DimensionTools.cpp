// The dimension tools of group 4. A creation runs in one undo step on the dimension layer with the
// dimension pen; the layer, pen and scale the user had are put back after it, whatever the
// constructor did. With the ask-for-text option a creation waits for one more step in which the text
// and the tolerance are typed ("text,tolerance").
#include "Tools/DimensionTools.h"
#include "Dialogs/DimensionRestyle.h"

#include "Model/DimensionEditing.h"
#include "Model/Dimensions.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Tools/StatusArea.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr SInt16 kLastTextLead = 141, kLastTextTail = 142;
constexpr SInt16 kParallelLinesMessage = 12;
constexpr SInt32 kMostCollectedPoints = 32767;
const UInt8 kDiameterSign[] = {0xC3, 0x98};
const UInt8 kRadiusSign[] = {'R'};

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

void Finish(ToolStep& s) {
    ResetToolState(s.doc, 0);
}

ToolPoint Cursor(const ToolStep& s) {
    return {s.d->toolInput.cursorX, s.d->toolInput.cursorY};
}

// The settings a creation must leave as they were.
struct KeptAttributes {
    SInt16 layer, pen, width100;
    Float64 drawingScale;
    Str11 prefix;
};

KeptAttributes Keep(const DocSettings* st) {
    KeptAttributes k{st->currentLayer, st->currentPen, st->currentPenWidth100, st->drawingScale, {}};
    std::memcpy(k.prefix, st->dimPrefix, sizeof(Str11));
    return k;
}

void PutBack(DocSettings* st, const KeptAttributes& k) {
    st->currentLayer = k.layer;
    st->currentPen = k.pen;
    st->currentPenWidth100 = k.width100;
    st->drawingScale = k.drawingScale;
    std::memcpy(st->dimPrefix, k.prefix, sizeof(Str11));
}

// The sign after the prefix for one dimension. A full prefix gives up its last characters (whole
// UTF-8 characters) so the sign always shows.
void AppendSign(DocSettings* st, const UInt8* sign, size_t n) {
    StringPtr p = st->dimPrefix;
    const size_t room = sizeof(Str11) - 1;
    while (p[0] > 0 && p[0] + n > room) {
        p[0] = UInt8(p[0] - 1);
        while (p[0] > 0 && (p[p[0] + 1] & 0xC0) == 0x80)
            p[0] = UInt8(p[0] - 1);
    }
    std::memcpy(p + 1 + p[0], sign, n);
    p[0] = UInt8(p[0] + n);
}

// The typed text and tolerance of a text step; empty for a creation without one.
struct Texts {
    Str255 text, tolerance;
};

Texts NoTexts() {
    Texts t;
    t.text[0] = t.tolerance[0] = 0;
    return t;
}

Texts TypedTexts(ToolStep& s) {
    Texts t = NoTexts();
    SplitCommandFieldPair(s.doc, t.text, t.tolerance);
    return t;
}

// One creation: the dimension attributes, the constructor, the user's attributes again, the snap
// mode, the prompt.
// What a creation would measure: a refused one opens no undo step, so Undo still takes the change
// before it and Redo keeps what it had.
bool Spans(ToolPoint a, ToolPoint b, Float64 ux, Float64 uy) {
    Float64 v = std::fabs((b.x - a.x) * ux + (b.y - a.y) * uy);
    return v > 0 && std::isfinite(v);
}

ToolPoint Direction(Float64 dx, Float64 dy, ToolPoint a, ToolPoint b) {
    Float64 n = std::hypot(dx, dy);
    if (!(n > 0) || !std::isfinite(n)) dx = b.x - a.x, dy = b.y - a.y, n = std::hypot(dx, dy);
    if (!(n > 0) || !std::isfinite(n)) return {1, 0};
    return {dx / n, dy / n};
}

// Two of the points apart along the direction.
bool PointsSpan(const Float64* p, SInt16 n, ToolPoint u) {
    bool any = false;
    Float64 lo = 0, hi = 0;
    for (SInt16 i = 0; i < n; ++i) {
        Float64 v = p[2 * i] * u.x + p[2 * i + 1] * u.y;
        if (!std::isfinite(v)) continue;
        lo = any ? std::min(lo, v) : v, hi = any ? std::max(hi, v) : v, any = true;
    }
    return any && hi > lo;
}

// A point away from the line's start along it (across false) or away from the line (across true).
bool PointsOffLine(const LineRecord* line, const Float64* p, SInt16 n, bool across) {
    if (line == nullptr) return false;
    ToolPoint a{line->x1, line->y1}, b{line->x2, line->y2};
    if (across && !(std::hypot(b.x - a.x, b.y - a.y) > 0)) return false;
    ToolPoint u = Direction(b.x - a.x, b.y - a.y, a, b);
    if (across) u = {-u.y, u.x};
    for (SInt16 i = 0; i < n; ++i)
        if (Spans(a, {p[2 * i], p[2 * i + 1]}, u.x, u.y)) return true;
    return false;
}

template <typename Make>
void Create(ToolStep& s, bool measures, const UInt8* sign, size_t signLength, Make make) {
    if (!measures) {
        ShowErrorStr128(kZeroDimensionMessage);
        Finish(s);
        return;
    }
    DocSettings* st = s.doc->settings;
    const KeptAttributes kept = Keep(st);
    BeginUndoStep(s.doc);
    UseDimensionAttributes(s.doc);
    if (sign != nullptr) AppendSign(st, sign, signLength);
    make();
    RestoreAttributesAfterDimension(st);
    PutBack(st, kept);
    EndUndoStep(s.doc);
    RestoreSnapMode(s.doc);
    FinishDimensionStep(s.doc);
}

// Where a creation may wait for its text: the text step, or the dimension at once.
template <typename Make> void ThenText(ToolStep& s, SInt16 textStep, Make make) {
    if (s.doc->settings->askDimensionText) {
        Next(s, textStep);
        return;
    }
    make(NoTexts());
}

bool AddCollectedPoint(ToolStep& s, ToolPoint p) {
    ToolStateRecord* t = s.t;
    if (t->collectedPointCount >= kMostCollectedPoints) return false;
    if (t->collectedPointCount >= t->collectedPointCapacity) {
        SInt32 capacity = t->collectedPointCapacity < 16 ? 16 : t->collectedPointCapacity * 2;
        if (capacity > kMostCollectedPoints) capacity = kMostCollectedPoints;
        auto* grown = static_cast<Float64*>(std::realloc(t->collectedPoints, sizeof(Float64) * 2 * capacity));
        if (grown == nullptr) return false;
        t->collectedPoints = grown;
        t->collectedPointCapacity = capacity;
    }
    t->collectedPoints[2 * t->collectedPointCount] = p.x;
    t->collectedPoints[2 * t->collectedPointCount + 1] = p.y;
    ++t->collectedPointCount;
    return true;
}

// A step that collects points: a click or typed point adds one, an empty Return with enough points
// goes on to the next step with snapping suspended.
void Collect(ToolStep& s, SInt16 enough, SInt16 nextStep) {
    if (s.typed == -1) {
        if (s.t->collectedPointCount < enough) return;
        Next(s, nextStep);
        SuspendSnapMode(s.doc);
        return;
    }
    if (!SnapCursor(s.doc)) return;
    AddCollectedPoint(s, Cursor(s));
}

LineRecord* PickedLine(ToolStep& s) {
    if (!PickLine(s.doc, kPickFind, false, false, nullptr)) return nullptr;
    return s.d->cursors.lineCursor;
}

DimensionRecord* PickedDimension(ToolStep& s) {
    if (!PickDimension(s.doc, kPickFind, false)) return nullptr;
    return s.d->cursors.dimensionCursor;
}

DimensionRecord* KeptDimension(ToolStep& s) {
    return static_cast<DimensionRecord*>(s.t->pickedOther);
}

// Tools 0 and 1 (and 2's first two steps).

void FirstPoint(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 1);
    Next(s, 1);
}

void SecondPoint(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 2);
    if (!CheckToolValues(s.doc, false)) return;
    Next(s, 2);
    SuspendSnapMode(s.doc);
}

void CreateStraight(ToolStep& s, const Texts& t) {
    ToolPoint a = RefPoint(s.doc, 1), b = RefPoint(s.doc, 2), pos = RefPoint(s.doc, 4);
    const bool horizontal = CurrentTool() == 0;
    Create(s, horizontal ? Spans(a, b, 1, 0) : Spans(a, b, 0, 1), nullptr, 0, [&] {
        if (horizontal)
            CreateHorizontalDimension(s.doc, a.x, a.y, b.x, b.y, pos.x, pos.y, t.text, t.tolerance, nullptr);
        else
            CreateVerticalDimension(s.doc, a.x, a.y, b.x, b.y, pos.x, pos.y, t.text, t.tolerance, nullptr);
    });
}

void StraightPosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    ThenText(s, 3, [&](const Texts& t) { CreateStraight(s, t); });
}

void StraightText(ToolStep& s) {
    if (s.typed != -1) return;
    CreateStraight(s, TypedTexts(s));
}

// Tool 2: aligned.

void AlignedSecondPoint(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 2);
    if (!CheckToolValues(s.doc, false)) return;
    ToolStateRecord* t = s.t;
    if (t->refPoints[1].x < t->refPoints[0].x) std::swap(t->refPoints[0], t->refPoints[1]);
    Next(s, 2);
    SuspendSnapMode(s.doc);
}

void AlignedPosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 3);
}

void CreateAligned(ToolStep& s, const Texts& t) {
    ToolPoint a = RefPoint(s.doc, 1), b = RefPoint(s.doc, 2), pos = RefPoint(s.doc, 4);
    Float64 dx = s.t->dimDirectionX, dy = s.t->dimDirectionY;
    ToolPoint u = Direction(dx, dy, a, b);
    Create(s, Spans(a, b, u.x, u.y), nullptr, 0, [&] {
        CreateAlignedDimension(s.doc, a.x, a.y, b.x, b.y, dx, dy, pos.x, pos.y, t.text, t.tolerance, nullptr);
    });
}

void AlignedDirection(ToolStep& s) {
    if (s.typed != 0) {
        ToolPoint a = RefPoint(s.doc, 1), b = RefPoint(s.doc, 2);
        s.t->dimDirectionX = b.x - a.x, s.t->dimDirectionY = b.y - a.y;
    } else {
        LineRecord* line = PickedLine(s);
        if (line == nullptr) return;
        s.t->dimDirectionX = line->x2 - line->x1, s.t->dimDirectionY = line->y2 - line->y1;
    }
    ThenText(s, 4, [&](const Texts& t) { CreateAligned(s, t); });
}

void AlignedText(ToolStep& s) {
    if (s.typed != -1) return;
    CreateAligned(s, TypedTexts(s));
}

// Tool 3: chains.

void ChainPoint(ToolStep& s) {
    Collect(s, 2, 1);
}

void ShowChainLetter(ToolStep& s) {
    char letter = s.t->chainLetter;
    if (letter != 'H' && letter != 'V' && letter != 'P') letter = 'H';
    CommandFieldSetChar(s.doc, UInt8(letter));
}

void ChainPosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 1);
    RestoreSnapMode(s.doc);
    Next(s, 2);
    ShowChainLetter(s);
}

void CreateChain(ToolStep& s, char letter) {
    ToolPoint pos = RefPoint(s.doc, 1);
    ToolStateRecord* t = s.t;
    ToolPoint u = Direction(t->dimDirectionX, t->dimDirectionY, {0, 0}, {1, 0});
    if (letter == 'H') u = {1, 0};
    if (letter == 'V') u = {0, 1};
    Create(s, PointsSpan(t->collectedPoints, t->collectedPointCount, u), nullptr, 0, [&] {
        CreateChainDimensions(s.doc, letter, t->collectedPoints, t->collectedPointCount, pos.x, pos.y,
                              t->dimDirectionX, t->dimDirectionY);
    });
}

void ChainLetter(ToolStep& s) {
    if (s.typed != -1) return;
    Str255 text;
    CommandFieldGetText(s.doc, text);
    char letter = text[0] >= 1 ? char(std::toupper(text[1])) : 0;
    if (text[0] != 1 || (letter != 'H' && letter != 'V' && letter != 'P')) {
        ShowChainLetter(s);
        return;
    }
    s.t->chainLetter = letter;
    if (letter == 'P') {
        Next(s, 3);
        return;
    }
    CreateChain(s, letter);
}

void ChainDirection(ToolStep& s) {
    ToolStateRecord* t = s.t;
    if (s.typed != 0) {
        // The first two points, ordered by x as for an aligned dimension.
        const Float64* p = t->collectedPoints;
        Float64 dx = p[2] - p[0], dy = p[3] - p[1];
        if (dx < 0) dx = -dx, dy = -dy;
        t->dimDirectionX = dx, t->dimDirectionY = dy;
    } else {
        LineRecord* line = PickedLine(s);
        if (line == nullptr) return;
        t->dimDirectionX = line->x2 - line->x1, t->dimDirectionY = line->y2 - line->y1;
    }
    CreateChain(s, 'P');
}

// Tool 4: baselines.

void BaseLine(ToolStep& s) {
    LineRecord* line = PickedLine(s);
    if (line == nullptr) return;
    s.t->firstLine = line;
    s.t->collectedPointCount = 0;
    Next(s, 1);
}

void BaselinePoint(ToolStep& s) {
    Collect(s, 2, 2);
}

void BaselinePosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    RestoreSnapMode(s.doc);
    ToolPoint pos = Cursor(s);
    ToolStateRecord* t = s.t;
    Create(s, PointsOffLine(t->firstLine, t->collectedPoints, t->collectedPointCount, false), nullptr, 0,
           [&] {
               CreateBaselineDimensions(s.doc, t->firstLine, t->collectedPoints, t->collectedPointCount,
                                        pos.x, pos.y);
           });
}

// Tool 5: points to a line.

void PointLinePoint(ToolStep& s) {
    Collect(s, 1, 2);
}

void PointLinePosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 1);
    RestoreSnapMode(s.doc);
    ToolStateRecord* t = s.t;
    Create(s, PointsOffLine(t->firstLine, t->collectedPoints, t->collectedPointCount, true), nullptr, 0, [&] {
        CreatePointLineDimensions(s.doc, t->firstLine, t->collectedPoints, t->collectedPointCount);
    });
}

// Tool 6: diameter, of a picked circle or between two points.

void DiameterStart(ToolStep& s) {
    if (s.typed == 0 && s.doc->settings->snapMode == 0 && PickArc(s.doc, kPickFind, false, false, nullptr)) {
        ArcRecord* circle = s.d->cursors.arcCursor;
        s.t->firstArc = circle;
        Next(s, 2);
        SuspendSnapMode(s.doc);
        return;
    }
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    s.t->firstArc = nullptr;
    Next(s, 1);
}

void DiameterSecondPoint(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 5);
    Next(s, 2);
    SuspendSnapMode(s.doc);
}

void CreateDiameter(ToolStep& s, const Texts& t) {
    const ArcRecord* circle = s.t->firstArc;
    ToolPoint a = RefPoint(s.doc, 4), b = RefPoint(s.doc, 5), pos = RefPoint(s.doc, 1);
    Float64 ddx = b.x - a.x, ddy = b.y - a.y;
    bool measures = circle != nullptr         ? circle->radius != 0
                    : std::fabs(ddy) < 1e-10  ? Spans(a, b, 1, 0)
                    : std::fabs(ddx) >= 1e-10 ? true
                                              : Spans(a, b, 0, 1);
    Create(s, measures, kDiameterSign, sizeof kDiameterSign, [&] {
        if (circle != nullptr) {
            CreateDiameterDimension(s.doc, circle, pos.x, pos.y, t.text, t.tolerance, nullptr);
            return;
        }
        Float64 dx = b.x - a.x, dy = b.y - a.y;
        if (std::fabs(dy) < 1e-10)
            CreateHorizontalDimension(s.doc, a.x, a.y, b.x, b.y, pos.x, pos.y, t.text, t.tolerance, nullptr);
        else if (std::fabs(dx) >= 1e-10)
            CreateAlignedDimension(s.doc, a.x, a.y, b.x, b.y, dx, dy, pos.x, pos.y, t.text, t.tolerance,
                                   nullptr);
        else
            CreateVerticalDimension(s.doc, a.x, a.y, b.x, b.y, pos.x, pos.y, t.text, t.tolerance, nullptr);
    });
}

// A circle dimension cannot sit on the centre.
bool OnCentre(ToolStep& s, const ArcRecord* circle, ToolPoint p) {
    if (circle == nullptr || p.x != circle->cx || p.y != circle->cy) return false;
    ShowErrorStr128(kPositionAtCentreMessage);
    Finish(s);
    return true;
}

void DiameterPosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 1);
    if (OnCentre(s, s.t->firstArc, Cursor(s))) return;
    ThenText(s, 3, [&](const Texts& t) { CreateDiameter(s, t); });
}

void DiameterText(ToolStep& s) {
    if (s.typed != -1) return;
    CreateDiameter(s, TypedTexts(s));
}

// Tool 7: radius.

void RadiusCircle(ToolStep& s) {
    if (!PickArc(s.doc, kPickFind, false, false, nullptr)) return;
    s.t->firstArc = s.d->cursors.arcCursor;
    Next(s, 1);
    SuspendSnapMode(s.doc);
}

void CreateRadius(ToolStep& s, const Texts& t) {
    const ArcRecord* circle = s.t->firstArc;
    ToolPoint pos = RefPoint(s.doc, 4);
    Create(s, circle != nullptr && circle->radius != 0, kRadiusSign, sizeof kRadiusSign,
           [&] { CreateRadiusDimension(s.doc, circle, pos.x, pos.y, t.text, t.tolerance, nullptr); });
}

void RadiusPosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    if (OnCentre(s, s.t->firstArc, Cursor(s))) return;
    ThenText(s, 2, [&](const Texts& t) { CreateRadius(s, t); });
}

void RadiusText(ToolStep& s) {
    if (s.typed != -1) return;
    CreateRadius(s, TypedTexts(s));
}

// Tool 8: the angle between two lines.

// The line under the click and the foot of the perpendicular from the click onto it.
LineRecord* LineWithFoot(ToolStep& s, Float64* foot) {
    LineRecord* line = PickedLine(s);
    if (line == nullptr) return nullptr;
    double fx, fy;
    ToolPoint c = Cursor(s);
    if (!PerpendicularFoot(line->x1, line->y1, line->x2, line->y2, c.x, c.y, fx, fy)) fx = c.x, fy = c.y;
    foot[0] = fx, foot[1] = fy;
    return line;
}

void AngleFirstLine(ToolStep& s) {
    LineRecord* line = LineWithFoot(s, s.t->angleFeet);
    if (line == nullptr) return;
    Next(s, 1);
    s.t->firstLine = line;
}

void AngleSecondLine(ToolStep& s) {
    LineRecord* first = s.t->firstLine;
    LineRecord* line = LineWithFoot(s, s.t->angleFeet + 2);
    if (line == nullptr) return;
    // Parallel lines make no angle: another second line is asked for.
    Float64 cross =
        (first->x2 - first->x1) * (line->y2 - line->y1) - (first->y2 - first->y1) * (line->x2 - line->x1);
    if (!(std::fabs(cross) > 0)) {
        ShowErrorStr128(kParallelLinesMessage);
        return;
    }
    if (!CheckToolValues(s.doc, false)) return;
    Next(s, 2);
    s.t->firstLine = first;
    s.t->secondLine = line;
    SuspendSnapMode(s.doc);
}

void AnglePosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 3);
}

// The sector and the side of the arc where point 4 lies; the text, and with it the arc, through
// point 5.
void CreateAngle(ToolStep& s, const Texts& t) {
    ToolStateRecord* st = s.t;
    ToolPoint arc = RefPoint(s.doc, 4), text = RefPoint(s.doc, 5);
    Create(s, true, nullptr, 0, [&] {
        DimensionRecord* d = CreateLineAngleDimension(s.doc, st->firstLine, st->secondLine, st->angleFeet,
                                                      arc.x, arc.y, t.text, t.tolerance, nullptr);
        if (d != nullptr && (text.x != arc.x || text.y != arc.y)) MoveDimensionLine(s.doc, d, text.x, text.y);
    });
}

void AngleTextPosition(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 5);
    ThenText(s, 4, [&](const Texts& t) { CreateAngle(s, t); });
}

void AngleText(ToolStep& s) {
    if (s.typed != -1) return;
    CreateAngle(s, TypedTexts(s));
}

// Tool 9: a new text.

void PickDimensionForText(ToolStep& s) {
    DimensionRecord* dimension = PickedDimension(s);
    if (dimension == nullptr) return;
    Next(s, 1);
    s.t->pickedOther = dimension;
    Str255 shown, tolerance;
    AssignStr255(shown, dimension->text);
    AppendChar(shown, sizeof(Str255), ',');
    ShownDimensionTolerance(dimension->upperTolerance, tolerance);
    AppendPStr(shown, sizeof(Str255), tolerance);
    CommandFieldPutUTF8(s.doc, shown);
}

void NewDimensionText(ToolStep& s) {
    DimensionRecord* dimension = KeptDimension(s);
    if (dimension == nullptr || s.typed != -1) return;
    Texts t = TypedTexts(s);
    Str255 tolerance;
    ShownDimensionTolerance(dimension->upperTolerance, tolerance);
    if (!EqualPStr(t.text, dimension->text) || !EqualPStr(t.tolerance, tolerance)) {
        BeginUndoStep(s.doc);
        ChangeDimensionText(s.doc, dimension, t.text, t.tolerance);
        EndUndoStep(s.doc);
    }
    FinishDimensionStep(s.doc);
}

// Tool 10: the dimension line moved.

void PickDimensionToMove(ToolStep& s) {
    DimensionRecord* dimension = PickedDimension(s);
    if (dimension == nullptr) return;
    Next(s, 1);
    s.t->pickedOther = dimension;
    SuspendSnapMode(s.doc);
}

void NewDimensionLine(ToolStep& s) {
    DimensionRecord* dimension = KeptDimension(s);
    if (dimension == nullptr || !SnapCursor(s.doc)) return;
    ToolPoint p = Cursor(s);
    BeginUndoStep(s.doc);
    MoveDimensionLine(s.doc, dimension, p.x, p.y);
    EndUndoStep(s.doc);
    RestoreSnapMode(s.doc);
    Finish(s);
}

// Tool 11: the dimension re-styled through the dimension settings.

void PickDimensionToRestyle(ToolStep& s) {
    DimensionRecord* dimension = PickedDimension(s);
    if (dimension == nullptr) return;
    EditDimensionSettings(s.doc, dimension);
    ResetToolState(s.doc, 0);
    InvalidateDocWindow(s.doc);
}

const ToolStepRow kRows[] = {
    {0, 0, "first point", StepInput::point, FirstPoint},
    {0, 1, "second point", StepInput::point, SecondPoint},
    {0, 2, "dimension line position", StepInput::point, StraightPosition},
    {0, 3, "dimension text", StepInput::text, StraightText},
    {1, 0, "first point", StepInput::point, FirstPoint},
    {1, 1, "second point", StepInput::point, SecondPoint},
    {1, 2, "dimension line position", StepInput::point, StraightPosition},
    {1, 3, "dimension text", StepInput::text, StraightText},
    {2, 0, "first point", StepInput::point, FirstPoint},
    {2, 1, "second point", StepInput::point, AlignedSecondPoint},
    {2, 2, "dimension line position", StepInput::point, AlignedPosition},
    {2, 3, "direction line, or Return", StepInput::values, AlignedDirection},
    {2, 4, "dimension text", StepInput::text, AlignedText},
    {3, 0, "next point, or Return", StepInput::point, ChainPoint},
    {3, 1, "dimension line position", StepInput::point, ChainPosition},
    {3, 2, "direction letter", StepInput::text, ChainLetter},
    {3, 3, "direction line, or Return", StepInput::values, ChainDirection},
    {4, 0, "base line", StepInput::pick, BaseLine},
    {4, 1, "next point, or Return", StepInput::point, BaselinePoint},
    {4, 2, "first dimension line position", StepInput::point, BaselinePosition},
    {5, 0, "line", StepInput::pick, BaseLine},
    {5, 1, "next point, or Return", StepInput::point, PointLinePoint},
    {5, 2, "dimension position", StepInput::point, PointLinePosition},
    {6, 0, "circle or first point", StepInput::point, DiameterStart},
    {6, 1, "second point", StepInput::point, DiameterSecondPoint},
    {6, 2, "dimension position", StepInput::point, DiameterPosition},
    {6, 3, "dimension text", StepInput::text, DiameterText},
    {7, 0, "circle", StepInput::pick, RadiusCircle},
    {7, 1, "dimension position", StepInput::point, RadiusPosition},
    {7, 2, "dimension text", StepInput::text, RadiusText},
    {8, 0, "first line", StepInput::pick, AngleFirstLine},
    {8, 1, "second line", StepInput::pick, AngleSecondLine},
    {8, 2, "arc position", StepInput::point, AnglePosition},
    {8, 3, "text position", StepInput::point, AngleTextPosition},
    {8, 4, "dimension text", StepInput::text, AngleText},
    {9, 0, "dimension", StepInput::pick, PickDimensionForText},
    {9, 1, "new text", StepInput::text, NewDimensionText},
    {10, 0, "dimension", StepInput::pick, PickDimensionToMove},
    {10, 1, "new dimension line position", StepInput::point, NewDimensionLine},
    {11, 0, "dimension", StepInput::pick, PickDimensionToRestyle},
};

} // namespace

constinit const ToolStepTable kDimensionToolSteps{kRows};

void ToolGroup4Click(DocWindowRecord* doc) {
    RunToolStep(doc, kDimensionToolSteps, CurrentTool());
}

void FinishDimensionStep(DocWindowRecord* doc) {
    ResetToolState(doc, 0);
    DimensionRecord* last = nullptr;
    LastDimension(doc, &last);
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (last == nullptr || last == doc->dimensionHead || last->text[0] == 0 || f == nullptr) return;
    Str255 prompt, part;
    GetAppString(kLastTextLead, prompt);
    AppendPStr(prompt, sizeof(Str255), last->text);
    GetAppString(kLastTextTail, part);
    AppendPStr(prompt, sizeof(Str255), part);
    AppendPStr(prompt, sizeof(Str255), f->prompt); // as far as it fits
    AssignStr255(f->prompt, prompt);
    UpdateStatusArea(doc, true);
}
