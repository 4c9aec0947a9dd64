// Tool group 11: the drag tool offers a click to the held element's handles first and otherwise
// holds (and at once drags) what it picks anew; the shape tools build polylines from typed or
// clicked sizes; the marker tool takes the section line's points, its text and the side; the lock
// tool toggles one element's lock or sets it on every visible layer; the image tool moves an image.
#include "Tools/EditTools.h"

#include "Model/AttributeChange.h"
#include "Model/DocSettings.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Other/MathPrimitives.h"
#include "Model/Polylines.h"
#include "Model/Repairs.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Model/DrawingUnits.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Tools/CommandField.h"
#include "Tools/HandleDragging.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/TextElements.h"
#include "Tools/TextTools.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ElementMoves.h"
#include "View/WorldPrimitives.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kEditRow = 11 * 12;
enum : SInt16 {
    kDragTool = 0,
    kFrontTool = 1,
    kEllipseTool = 2,
    kRectangleTool = 3,
    kPolygonTool = 4,
    kMarkerTool = 5,
    kLockTool = 6,
    kImageTool = 7,
};

// Messages of list 128.
constexpr SInt16 kSideCountMessage = 145;
constexpr SInt16 kCornersInLineMessage = 167;
constexpr SInt16 kRadiusMessage = 168;
constexpr SInt16 kFewestSides = 3, kMostSides = 100;

// The end marker, in drawing millimetres: a line along the perpendicular, an arrowhead at its
// far end, and the text beyond the end of the section line.
constexpr Float64 kMarkerReach = 15.0;
constexpr Float64 kArrowLength = 5.0;
constexpr Float64 kArrowHalfWidth = 1.5;
constexpr Float64 kMarkerTextHeight = 7.0;
constexpr Float64 kMarkerCharWidth = 4.2;
constexpr Float64 kMarkerTextGap = 10.0;
constexpr SInt16 kCentredJustification = 4;
constexpr SInt16 kSolidLineType = 1;
// A plain text: placement code 0 and no second code, the other flag bits as the settings say.
constexpr UInt16 kTextPlacementBits = 0xF00F;

Float64 DisplayFactor(const DocWindowRecord* doc) {
    Float64 f = doc->settings->drawingScale * UnitToMillimetres(doc);
    return f > 0 && std::isfinite(f) ? f : 1.0;
}

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

void Finish(ToolStep& s) {
    ResetToolState(s.doc, 0);
}

ToolPoint Cursor(const ToolStep& s) {
    return {s.d->toolInput.cursorX, s.d->toolInput.cursorY};
}

bool AllFinite(const Float64* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// The points pass through the cursor point, as the point list takes them; the cursor is put back.
bool AppendPoints(DocWindowRecord* doc, const Float64* xy, int count) {
    ToolInputState& in = doc->drawing->toolInput;
    const Float64 x = in.cursorX, y = in.cursorY;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        in.cursorX = xy[2 * i];
        in.cursorY = xy[2 * i + 1];
        ok = AppendTempPoint(doc);
    }
    in.cursorX = x, in.cursorY = y;
    return ok;
}

// One polyline of the kind from the points, in one undo step; the point list is left empty.
void BuildShape(DocWindowRecord* doc, const Float64* xy, int count, SInt16 kind, Float64 a1, Float64 a2) {
    EmptyTempPoints(doc);
    if (AllFinite(xy, 2 * count) && AppendPoints(doc, xy, count)) {
        BeginUndoStep(doc);
        PolylineRecord* made = nullptr;
        BuildPolylineFromPoints(doc, &made, kind, true, a1, a2);
        EndUndoStep(doc);
    }
    EmptyTempPoints(doc);
}

// An angle: typed (wrapped into 0..360 when asked, else as typed), or the direction from the
// centre (reference point 4) to a clicked point. False when none came.
bool TakeAngle(ToolStep& s, Float64* angle, bool wrap) {
    if (s.typed < 0) return false;
    if (s.typed == 1) {
        Float64 a = *angle;
        if (wrap)
            GetTypedAngle(s.doc, 0, &a);
        else
            GetNumericEntry(s.doc, 0, &a);
        if (!std::isfinite(a)) return false;
        *angle = a;
        return true;
    }
    if (!SnapCursor(s.doc)) return false;
    ToolPoint c = RefPoint(s.doc, 4), p = Cursor(s);
    if (p.x == c.x && p.y == c.y) return false; // no direction from the centre itself
    *angle = DirectionDegrees(c.x, c.y, p.x, p.y);
    return true;
}

// Tool 0: drag.

// The held element, forgotten when it is no longer in its list (undone, deleted, or replaced).
template <typename T> T* Held(DocWindowRecord* doc, ElementKind kind, T*& slot) {
    if (slot != nullptr && !ElementInDocument(doc, kind, slot)) slot = nullptr;
    return slot;
}

// A drag that replaced its element leaves the replacement selected at the tail: that one is held.
template <typename T> void HoldReplacement(DocWindowRecord* doc, ElementKind kind, T*& slot, T* head) {
    if (Held(doc, kind, slot) != nullptr) return;
    for (T* e = head->next; e != nullptr; e = e->next)
        if (e->selected) slot = e;
}

template <typename T>
bool Drag(DocWindowRecord* doc, ElementKind kind, T*& slot, T* head, Boolean (*drag)(DocWindowRecord*, T*)) {
    if (!drag(doc, slot)) return false;
    HoldReplacement(doc, kind, slot, head);
    return true;
}

// The click goes to the held element's drag function first, in this order of kinds.
bool OfferToHeld(DocWindowRecord* doc, ToolStateRecord* t) {
    auto offer = [doc](ElementKind kind, auto*& slot, auto* head, auto drag) {
        return Held(doc, kind, slot) != nullptr && Drag(doc, kind, slot, head, drag);
    };
    return offer(kLineElement, t->firstLine, doc->lineHead, DragLineHandles) ||
           offer(kArcElement, t->firstArc, doc->arcHead, DragArcHandles) ||
           offer(kTextElement, t->heldText, doc->textHead, DragTextHandles) ||
           offer(kPolylineElement, t->heldPolyline, doc->polylineHead, DragPolylineHandles) ||
           offer(kSymbolInstanceElement, t->heldInstance, doc->instanceHead, DragSymbolInstanceHandles) ||
           offer(kDimensionElement, t->heldDimension, doc->dimensionHead, DragDimensionHandles) ||
           offer(kAreaElement, t->heldArea, doc->areaHead, DragAreaOutline);
}

// The element picked (and selected) becomes the held one; with the button still down it is dragged
// at once.
void PickAndHold(DocWindowRecord* doc, ToolStateRecord* t) {
    ListWalkCursors& c = doc->drawing->cursors;
    auto hold = [doc](ElementKind kind, auto*& slot, auto* picked, auto* head, auto drag) {
        slot = picked;
        if (slot != nullptr && StillDown()) Drag(doc, kind, slot, head, drag);
    };
    if (PickPolyline(doc, kPickSelect, kWantAllPolylines, false))
        hold(kPolylineElement, t->heldPolyline, c.polylineCursor, doc->polylineHead, DragPolylineHandles);
    else if (PickLine(doc, kPickSelect, false, false, nullptr))
        hold(kLineElement, t->firstLine, c.lineCursor, doc->lineHead, DragLineHandles);
    else if (PickArc(doc, kPickSelect, false, false, nullptr))
        hold(kArcElement, t->firstArc, c.arcCursor, doc->arcHead, DragArcHandles);
    else if (PickText(doc, kPickSelect, false))
        hold(kTextElement, t->heldText, c.textCursor, doc->textHead, DragTextHandles);
    else if (PickDimension(doc, kPickSelect, false))
        hold(kDimensionElement, t->heldDimension, c.dimensionCursor, doc->dimensionHead,
             DragDimensionHandles);
    else if (PickSymbolInstance(doc, kPickSelect, false, true, nullptr))
        hold(kSymbolInstanceElement, t->heldInstance, c.instanceCursor, doc->instanceHead,
             DragSymbolInstanceHandles);
    else if (PickArea(doc, kPickSelect, false))
        hold(kAreaElement, t->heldArea, c.areaCursor, doc->areaHead, DragAreaOutline);
}

void DragStep(ToolStep& s) {
    if (s.typed != 0) return;
    if (OfferToHeld(s.doc, s.t)) {
        RedrawWindow(s.doc);
        return;
    }
    ReleaseHeldElements(s.t);
    DeselectAll(s.doc, false);
    PickAndHold(s.doc, s.t);
    RedrawWindow(s.doc);
}

// Tool 1: to the front, that is drawn last.

void FrontStep(ToolStep& s) {
    if (s.typed != 0) return;
    DocWindowRecord* doc = s.doc;
    const ListWalkCursors& c = s.d->cursors;
    if (PickLine(doc, kPickFlashOnOff, false, false, nullptr))
        MoveLineToListEnd(doc, c.lineCursor);
    else if (PickArc(doc, kPickFlashOnOff, false, false, nullptr))
        MoveArcToListEnd(doc, c.arcCursor);
    else if (PickText(doc, kPickFlashOnOff, false))
        MoveTextToListEnd(doc, c.textCursor);
    else if (PickDimension(doc, kPickFlashOnOff, false))
        MoveDimensionToListEnd(doc, c.dimensionCursor);
    else if (PickSymbolInstance(doc, kPickFlashOnOff, false, true, nullptr))
        MoveSymbolInstanceToListEnd(doc, c.instanceCursor);
    else if (PickPolyline(doc, kPickFlashOnOff, kWantAllPolylines, false))
        MovePolylineToListEnd(doc, c.polylineCursor);
    else if (PickArea(doc, kPickFlashOnOff, false))
        MoveAreaToListEnd(doc, c.areaCursor);
    else
        return;
    // The order of the lists is what a saved drawing keeps.
    MarkDocumentChanged(doc);
    RequestRedraw(doc);
}

// Tool 2: ellipse. Its half-axes in millimetres wait in reference point 5.

// Step 0 of the shape tools: the snapped point is reference point 4.
bool FirstPoint(ToolStep& s) {
    if (!SnapCursor(s.doc)) return false;
    SetRefPointFromCursor(s.doc, 4);
    Next(s, 1);
    return true;
}

void EllipseCentre(ToolStep& s) {
    if (FirstPoint(s)) CommandFieldSetNumber(s.doc, s.t->ellipseHalfWidth);
}

// A half-axis: one typed value (display units), or the distance along the axis from the centre to a
// clicked point; nothing for 0 or less.
bool TakeHalfAxis(ToolStep& s, bool alongX, Float64* remembered, Float64* mm) {
    if (s.typed < 0) return false;
    Float64 shown = *remembered, value;
    if (s.typed == 1) {
        GetNumericEntry(s.doc, 0, &shown);
        value = shown * DisplayFactor(s.doc);
    } else {
        if (!SnapCursor(s.doc)) return false;
        ToolPoint c = RefPoint(s.doc, 4), p = Cursor(s);
        value = std::fabs(alongX ? c.x - p.x : c.y - p.y);
        shown = value / DisplayFactor(s.doc);
    }
    if (!(value > 0) || !std::isfinite(value)) return false;
    *remembered = shown;
    *mm = value;
    return true;
}

void EllipseHalfWidth(ToolStep& s) {
    if (!TakeHalfAxis(s, true, &s.t->ellipseHalfWidth, &s.t->refPoints[4].x)) return;
    Next(s, 2);
    CommandFieldSetNumber(s.doc, s.t->ellipseHalfHeight);
}

void EllipseHalfHeight(ToolStep& s) {
    if (!TakeHalfAxis(s, false, &s.t->ellipseHalfHeight, &s.t->refPoints[4].y)) return;
    Next(s, 3);
    CommandFieldSetNumber(s.doc, s.t->ellipseStartAngle);
}

void EllipseStartAngle(ToolStep& s) {
    if (!TakeAngle(s, &s.t->ellipseStartAngle, true)) return;
    Next(s, 4);
    CommandFieldSetNumber(s.doc, s.t->ellipseEndAngle);
}

void EllipseEndAngle(ToolStep& s) {
    if (!TakeAngle(s, &s.t->ellipseEndAngle, true)) return;
    const ToolPoint c = RefPoint(s.doc, 4), axes = RefPoint(s.doc, 5);
    const Float64 a = axes.x, b = axes.y;
    const Float64 corners[8] = {c.x - a, c.y - b, c.x + a, c.y - b, c.x + a, c.y + b, c.x - a, c.y + b};
    BuildShape(s.doc, corners, 4, kPolylineEllipse, s.t->ellipseStartAngle, s.t->ellipseEndAngle);
    Finish(s);
}

// Tool 3: rectangle.

void RectangleFirst(ToolStep& s) {
    if (FirstPoint(s)) CommandFieldSetPair(s.doc, s.t->boxWidth, s.t->boxHeight);
}

// The opposite corner: width and height typed (display units), or clicked.
void RectangleSecond(ToolStep& s) {
    const ToolPoint p = RefPoint(s.doc, 4);
    Float64 w = s.t->boxWidth, h = s.t->boxHeight;
    ToolPoint q;
    if (s.typed >= 2) {
        GetNumericEntry(s.doc, 0, &w);
        GetNumericEntry(s.doc, 1, &h);
        q = {p.x + w * DisplayFactor(s.doc), p.y + h * DisplayFactor(s.doc)};
    } else if (s.typed == 0) {
        if (!SnapCursor(s.doc)) return;
        q = Cursor(s);
    } else {
        return;
    }
    if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
    if (q.x == p.x || q.y == p.y) {
        ShowErrorStr128(kCornersInLineMessage);
        return;
    }
    if (s.typed >= 2) s.t->boxWidth = w, s.t->boxHeight = h;
    s.t->refPoints[4] = q;
    Next(s, 2);
    CommandFieldSetNumber(s.doc, s.d->toolInput.cornerRadius);
}

// The corner radius (display units, typed): rounded corners above 0, else a closed rectangle.
void RectangleRadius(ToolStep& s) {
    if (s.typed < 1) return;
    Float64 r = s.d->toolInput.cornerRadius;
    GetNumericEntry(s.doc, 0, &r);
    if (!std::isfinite(r)) return;
    s.d->toolInput.cornerRadius = r;
    const ToolPoint a = RefPoint(s.doc, 4), b = RefPoint(s.doc, 5);
    const Float64 x1 = std::fmin(a.x, b.x), x2 = std::fmax(a.x, b.x);
    const Float64 y1 = std::fmin(a.y, b.y), y2 = std::fmax(a.y, b.y);
    const Float64 corners[10] = {x1, y1, x2, y1, x2, y2, x1, y2, x1, y1};
    if (r > 0)
        BuildShape(s.doc, corners, 4, kPolylineRoundedRect, 0, 0);
    else
        BuildShape(s.doc, corners, 5, kPolylineSegments, 0, 0);
    Finish(s);
}

// Tool 4: regular polygon. Its radius in millimetres waits in reference point 5.

void PolygonCentre(ToolStep& s) {
    if (FirstPoint(s)) CommandFieldSetNumber(s.doc, s.t->polygonRadius);
}

void PolygonRadius(ToolStep& s) {
    if (s.typed < 0) return;
    Float64 shown = s.t->polygonRadius, r;
    if (s.typed == 1) {
        GetNumericEntry(s.doc, 0, &shown);
        r = shown * DisplayFactor(s.doc);
    } else {
        if (!SnapCursor(s.doc)) return;
        ToolPoint c = RefPoint(s.doc, 4), p = Cursor(s);
        r = PointDistance(c.x, c.y, p.x, p.y);
        shown = r / DisplayFactor(s.doc);
    }
    if (!(r > 0) || !std::isfinite(r)) {
        ShowErrorStr128(kRadiusMessage);
        return;
    }
    s.t->polygonRadius = shown;
    s.t->refPoints[4].x = r;
    Next(s, 2);
    CommandFieldSetInteger(s.doc, s.t->polygonSides);
}

void PolygonSides(ToolStep& s) {
    if (s.typed < 1) return;
    SInt16 n = 0;
    GetTypedInteger(s.doc, 0, &n);
    if (n < kFewestSides || n > kMostSides) {
        Finish(s);
        ShowErrorStr128(kSideCountMessage);
        return;
    }
    s.t->polygonSides = n;
    Next(s, 3);
    CommandFieldSetNumber(s.doc, s.t->polygonAngle);
}

void PolygonAngle(ToolStep& s) {
    if (!TakeAngle(s, &s.t->polygonAngle, false)) return;
    const ToolPoint c = RefPoint(s.doc, 4);
    const Float64 r = RefPoint(s.doc, 5).x;
    const Float64 check[3] = {c.x + r, c.y + r, s.t->polygonAngle};
    if (AllFinite(check, 3)) {
        BeginUndoStep(s.doc);
        CreateRegularPolygon(s.doc, c.x, c.y, r, s.t->polygonSides, s.t->polygonAngle);
        EndUndoStep(s.doc);
    }
    Finish(s);
}

// Tool 5: section end markers. The scratch byte says the point list was begun by this run, so
// points another tool left behind are not taken for the section line.

void MarkerPoint(ToolStep& s) {
    DocWindowRecord* doc = s.doc;
    if (s.typed < 0) {
        if (!s.t->scratchByte || TempPointCount(doc) < 2) {
            SysBeep(1);
            return;
        }
        Next(s, 1);
        CommandFieldSetTypingFont(doc, doc->settings->textFont);
        if (s.t->markerText[0] != 0) CommandFieldPutUTF8(doc, s.t->markerText);
        return;
    }
    if (!SnapCursor(doc)) return;
    if (!s.t->scratchByte) {
        EmptyTempPoints(doc);
        s.t->scratchByte = 1;
    }
    const ToolPoint p = Cursor(s);
    Float64 x, y;
    // A second click on the same point makes no segment.
    SInt16 n = TempPointCount(doc);
    if (n > 0 && GetTempPoint(doc, SInt16(n - 1), &x, &y) && x == p.x && y == p.y) return;
    if (AppendTempPoint(doc)) DrawPointMark(doc, p.x, p.y);
}

void MarkerText(ToolStep& s) {
    if (s.typed != -1) return;
    Str255 text;
    TypedTextAsElementString(s.doc, text);
    if (text[0] == 0) return;
    std::memcpy(s.t->markerText, text, size_t(text[0]) + 1);
    Next(s, 2);
}

void MarkerSide(ToolStep& s) {
    if (s.typed < 0 || !SnapCursor(s.doc)) return;
    PlaceEndMarkers(s.doc, s.d->toolInput.cursorX, s.d->toolInput.cursorY);
    EmptyTempPoints(s.doc);
    Finish(s);
}

// Tool 6: lock. The lock bit is bit 15 of the pen flag word; a symbol instance has none.

template <typename T> void ToggleLock(DocWindowRecord* doc, ElementKind kind, T* e) {
    BeginUndoStep(doc);
    RecordUndoElement(doc, e, false);
    e->penBlock.penFlags = SInt16(UInt16(e->penBlock.penFlags) ^ kPenFlagDimmed);
    RecordUndoElement(doc, e, true);
    EndUndoStep(doc);
    gDocumentHooks.drawElement(doc, kind, e);
}

// Locked elements can be picked for this one pick only: every other tool goes on skipping them.
void ToggleLockOfPicked(DocWindowRecord* doc) {
    ToolInputState& in = doc->drawing->toolInput;
    const ListWalkCursors& c = doc->drawing->cursors;
    const Boolean was = in.selectHidden;
    in.selectHidden = 1;
    bool found = true;
    ElementKind kind = kLineElement;
    if (PickLine(doc, kPickFind, false, false, nullptr))
        kind = kLineElement;
    else if (PickArc(doc, kPickFind, false, false, nullptr))
        kind = kArcElement;
    else if (PickText(doc, kPickFind, false))
        kind = kTextElement;
    else if (PickDimension(doc, kPickFind, false))
        kind = kDimensionElement;
    else if (PickPolyline(doc, kPickFind, kWantAllPolylines, false))
        kind = kPolylineElement;
    else if (PickArea(doc, kPickFind, false))
        kind = kAreaElement;
    else
        found = false;
    in.selectHidden = was;
    if (!found) return;
    switch (kind) {
    case kLineElement:
        ToggleLock(doc, kind, c.lineCursor);
        break;
    case kArcElement:
        ToggleLock(doc, kind, c.arcCursor);
        break;
    case kTextElement:
        ToggleLock(doc, kind, c.textCursor);
        break;
    case kDimensionElement:
        ToggleLock(doc, kind, c.dimensionCursor);
        break;
    case kPolylineElement:
        ToggleLock(doc, kind, c.polylineCursor);
        break;
    default:
        ToggleLock(doc, kind, c.areaCursor);
        break;
    }
    RedrawWindow(doc);
}

void LockStep(ToolStep& s) {
    const std::string text = CommandFieldUTF8Text(s.doc);
    if (s.typed == 0) {
        if (!text.empty()) return;
        ToggleLockOfPicked(s.doc);
        Finish(s);
        return;
    }
    if (s.typed != -1) return;
    if (text == "a" || text == "A")
        SetLockOnVisibleLayers(s.doc, false);
    else if (text == "e" || text == "E")
        SetLockOnVisibleLayers(s.doc, true);
    else
        return;
    Finish(s);
}

// Tool 7: image.

void ImageStep(ToolStep& s) {
    if (s.typed != 0) return;
    DragImage(s.doc);
    Finish(s);
}

const ToolStepRow kEditRows[] = {
    {kEditRow + kDragTool, 0, "element or one of its handles", StepInput::pick, DragStep},
    {kEditRow + kFrontTool, 0, "element to bring to the front", StepInput::pick, FrontStep},
    {kEditRow + kEllipseTool, 0, "centre", StepInput::point, EllipseCentre},
    {kEditRow + kEllipseTool, 1, "half-width", StepInput::values, EllipseHalfWidth},
    {kEditRow + kEllipseTool, 2, "half-height", StepInput::values, EllipseHalfHeight},
    {kEditRow + kEllipseTool, 3, "start angle", StepInput::values, EllipseStartAngle},
    {kEditRow + kEllipseTool, 4, "end angle", StepInput::values, EllipseEndAngle},
    {kEditRow + kRectangleTool, 0, "first corner", StepInput::point, RectangleFirst},
    {kEditRow + kRectangleTool, 1, "width,height or the opposite corner", StepInput::values, RectangleSecond},
    {kEditRow + kRectangleTool, 2, "corner radius", StepInput::values, RectangleRadius},
    {kEditRow + kPolygonTool, 0, "centre", StepInput::point, PolygonCentre},
    {kEditRow + kPolygonTool, 1, "radius", StepInput::values, PolygonRadius},
    {kEditRow + kPolygonTool, 2, "number of sides", StepInput::integer, PolygonSides},
    {kEditRow + kPolygonTool, 3, "angle", StepInput::values, PolygonAngle},
    {kEditRow + kMarkerTool, 0, "points of the section line, then Return", StepInput::point, MarkerPoint},
    {kEditRow + kMarkerTool, 1, "marker text", StepInput::text, MarkerText},
    {kEditRow + kMarkerTool, 2, "side", StepInput::point, MarkerSide},
    {kEditRow + kLockTool, 0, "element to lock or unlock, or A or E", StepInput::text, LockStep},
    {kEditRow + kImageTool, 0, "image to move", StepInput::pick, ImageStep},
};

} // namespace

constinit const ToolStepTable kEditToolSteps{kEditRows};

void ToolGroup11Click(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return;
    t->editMode = CurrentTool() == kDragTool;
    RunToolStep(doc, kEditToolSteps, SInt16(kEditRow + CurrentTool()));
}

Boolean PlaceEndMarkers(DocWindowRecord* doc, Float64 x, Float64 y) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return false;
    Float64 x0, y0, x1, y1;
    if (!GetTempPoint(doc, 0, &x0, &y0) || !GetTempPoint(doc, 1, &x1, &y1)) return false;
    const Float64 length = PointDistance(x0, y0, x1, y1);
    if (!(length > 0) || !std::isfinite(length) || !std::isfinite(x) || !std::isfinite(y)) return false;
    const Float64 ux = (x1 - x0) / length, uy = (y1 - y0) / length;
    // The perpendicular away from (x, y); measured across the line, it is the same at both ends.
    Float64 nx = -uy, ny = ux;
    if (DistanceSquared(x0 + kMarkerReach * nx, y0 + kMarkerReach * ny, x, y) <
        DistanceSquared(x0 - kMarkerReach * nx, y0 - kMarkerReach * ny, x, y))
        nx = -nx, ny = -ny;

    Str255 text;
    std::memcpy(text, t->markerText, size_t(t->markerText[0]) + 1);
    int characters = 0;
    for (int i = 1; i <= text[0]; ++i)
        characters += (text[i] & 0xC0) != 0x80;
    const Float64 textDistance = characters * kMarkerCharWidth + kMarkerTextGap;

    Ptr snapshot = nullptr;
    SaveSettingsSnapshot(doc, &snapshot);
    if (snapshot == nullptr) return false;
    DocSettings* s = doc->settings;
    s->currentLineType = kSolidLineType;
    s->markNewLines = 0;
    s->startMarkKind = s->endMarkKind = 0;
    s->textHeight = kMarkerTextHeight;
    s->textJustification = kCentredJustification;
    TextAngleSetting(s) = 0;
    TextSlantSetting(s) = 0;
    const UInt16 textFlags = UInt16((s->textFlags & ~kTextPlacementBits) | 1u);

    EmptyTempPoints(doc);
    BeginUndoStep(doc);
    for (int end = 0; end < 2; ++end) {
        const Float64 ex = end == 0 ? x0 : x1, ey = end == 0 ? y0 : y1;
        // Outward along the section line: the second end's marker is the first one's mirror image.
        const Float64 ox = end == 0 ? -ux : ux, oy = end == 0 ? -uy : uy;
        const Float64 stem = kMarkerReach - kArrowLength;
        const Float64 bx = ex + stem * nx, by = ey + stem * ny;
        AddLine(doc, ex, ey, bx, by);
        const Float64 arrow[8] = {bx + kArrowHalfWidth * ox, by + kArrowHalfWidth * oy,
                                  ex + kMarkerReach * nx,    ey + kMarkerReach * ny,
                                  bx - kArrowHalfWidth * ox, by - kArrowHalfWidth * oy,
                                  bx + kArrowHalfWidth * ox, by + kArrowHalfWidth * oy};
        if (AppendPoints(doc, arrow, 4)) {
            PolylineRecord* made = nullptr;
            BuildPolylineFromPoints(doc, &made, kPolylineSegments, true, 0, 0);
        }
        EmptyTempPoints(doc);
        if (text[0] != 0) {
            const Float64 tx = ex + textDistance * ox, ty = ey + textDistance * oy;
            AddTextElement(doc, tx, ty, text, tx, ty, textFlags, true);
        }
    }
    EndUndoStep(doc);
    RestoreSettingsSnapshot(doc, &snapshot);
    return true;
}
