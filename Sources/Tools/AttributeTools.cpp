// Tool group 7: the attribute tools 0 to 6 (a value typed or taken from an element, then applied to
// picked elements, a key group or a selection), tool 7 (all attributes from one element to others)
// and tool 8 (distances and intersections written to the information window).
#include "Tools/AttributeTools.h"

#include "Dialogs/ToolDialogServices.h"
#include "Model/AttributeChange.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/SelectionCriteria.h"
#include "Model/UndoJournal.h"
#include "Model/DrawingUnits.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/NumberText.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr SInt16 kAttributeRow = 7 * 12;
constexpr SInt16 kKindMasks[7] = {63, 19, 127, 127, 127, 127, 127};
constexpr SInt16 kPromptLabels[7] = {143, 144, 137, 146, 0, 215, 216};
constexpr SInt16 kValueSeparator = 142;
constexpr SInt16 kDistanceLabel = 122, kDistanceHeading = 123, kParallelLines = 121, kLineMissesCircle = 124;

// The kind codes of PickUpElementAttributes as element kinds.
ElementKind PickedElementKind(SInt16 code) {
    constexpr ElementKind kinds[7] = {
        kLineElement,           kArcElement,      kTextElement, kDimensionElement,
        kSymbolInstanceElement, kPolylineElement, kAreaElement};
    return code >= 0 && code < 7 ? kinds[code] : kLineElement;
}

void* CursorElement(const DrawingRecord* d, ElementKind kind) {
    switch (kind) {
    case kLineElement:
        return d->cursors.lineCursor;
    case kArcElement:
        return d->cursors.arcCursor;
    case kTextElement:
        return d->cursors.textCursor;
    case kDimensionElement:
        return d->cursors.dimensionCursor;
    case kPolylineElement:
        return d->cursors.polylineCursor;
    case kSymbolInstanceElement:
        return d->cursors.instanceCursor;
    case kAreaElement:
        return d->cursors.areaCursor;
    }
    return nullptr;
}

SInt16 ElementKey(ElementKind kind, const void* e) {
    switch (kind) {
    case kLineElement:
        return static_cast<const LineRecord*>(e)->group;
    case kArcElement:
        return static_cast<const ArcRecord*>(e)->group;
    case kTextElement:
        return static_cast<const TextRecord*>(e)->group;
    case kDimensionElement:
        return static_cast<const DimensionRecord*>(e)->group;
    case kPolylineElement:
        return static_cast<const PolylineRecord*>(e)->group;
    case kSymbolInstanceElement:
        return static_cast<const SymbolInstanceRecord*>(e)->group;
    case kAreaElement:
        return static_cast<const AreaRecord*>(e)->group;
    }
    return 0;
}

SInt16 Tool() {
    return std::clamp<SInt16>(CurrentTool(), 0, 8);
}

AttributeValue CurrentValue(const ToolStateRecord* t) {
    AttributeValue v{};
    SInt16 tool = std::min<SInt16>(Tool(), 6);
    v.attribute = ElementAttribute(tool);
    const SInt16 numbers[4] = {t->attrPen, t->attrLineType, t->attrKey, t->attrLayer};
    if (tool < 4) v.number = numbers[tool];
    v.color = t->attrColor;
    v.width100 = t->attrWidth100;
    v.pattern = t->attrPattern;
    return v;
}

Float64 DisplayFactor(const DocWindowRecord* doc) {
    Float64 f = doc->settings->drawingScale * UnitToMillimetres(doc);
    return f > 0 && std::isfinite(f) ? f : 1.0;
}

// The value to apply in front of the step's prompt: "Pen 3 – Click the element...".
void ShowAttributePrompt(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    ToolStateRecord* t = ToolStateOf(doc);
    if (f == nullptr || t == nullptr) return;
    SInt16 tool = Tool();
    if (tool > 6) return;
    Str255 text, value;
    text[0] = 0;
    value[0] = 0;
    if (kPromptLabels[tool] != 0) GetAppString(kPromptLabels[tool], text);
    switch (tool) {
    case 0:
    case 1:
    case 2:
    case 3:
        NumToString(CurrentValue(t).number, value);
        break;
    case 4: {
        Str255 n;
        const UInt16 c[3] = {t->attrColor.red, t->attrColor.green, t->attrColor.blue};
        for (int i = 0; i < 3; ++i) {
            if (i > 0) AppendChar(value, sizeof(Str255), ',');
            NumToString(c[i] / 257, n);
            AppendPStr(value, sizeof(Str255), n);
        }
        break;
    }
    case 5:
        FormatReal(t->attrWidth100 / 100.0, 2, value);
        break;
    case 6:
        NumToString(t->attrPattern + 1, value);
        break;
    }
    AppendPStr(text, sizeof(Str255), value);
    if (text[0] != 0) {
        Str255 separator;
        GetAppString(kValueSeparator, separator);
        AppendPStr(text, sizeof(Str255), separator);
    }
    CommandFieldPrefixPrompt(doc, text);
}

template <class T, class Each> void Walk(T* head, Each each) {
    if (head == nullptr) return;
    for (T* e = head->next; e != nullptr; e = e->next)
        each(e);
}

// Every element of every kind, in the order lines, arcs, texts, dimensions, symbol instances,
// polylines, areas.
template <class Each> void WalkAll(DocWindowRecord* doc, Each each) {
    Walk(doc->lineHead, [&](LineRecord* e) { each(kLineElement, e, e->group, e->selected); });
    Walk(doc->arcHead, [&](ArcRecord* e) { each(kArcElement, e, e->group, e->selected); });
    Walk(doc->textHead, [&](TextRecord* e) { each(kTextElement, e, e->group, e->selected); });
    Walk(doc->dimensionHead, [&](DimensionRecord* e) { each(kDimensionElement, e, e->group, e->selected); });
    Walk(doc->instanceHead,
         [&](SymbolInstanceRecord* e) { each(kSymbolInstanceElement, e, e->group, e->selected); });
    Walk(doc->polylineHead, [&](PolylineRecord* e) { each(kPolylineElement, e, e->group, e->selected); });
    Walk(doc->areaHead, [&](AreaRecord* e) { each(kAreaElement, e, e->group, e->selected); });
}

// A dragged rectangle selects what lies inside it; true when anything was selected.
bool SelectByRectangle(ToolStep& s) {
    if (!TrackDragRectangle(s.doc, false)) return false;
    const DrawingViewState& v = s.d->view;
    const Boolean all[kSelectKindCount] = {1, 1, 1, 1, 1, 1, 1, 1};
    return SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                    v.dragRectY + v.dragRectHeight, all);
}

// Tools 0 to 6.

void AttributeValueStep(ToolStep& s) {
    const SInt16 tool = Tool();
    ToolStateRecord* t = s.t;
    if (s.typed == 0) {
        if (!PickUpElementAttributes(s.doc, kKindMasks[tool])) return;
        const PickedAttributes& p = t->picked;
        // A symbol instance has no pen, colour, width or pattern of its own to offer.
        if (!KindTakesAttribute(PickedElementKind(p.kind), ElementAttribute(tool))) return;
        switch (tool) {
        case 0:
            t->attrPen = p.pen;
            break;
        case 1:
            t->attrLineType = p.lineType;
            break;
        case 2:
            t->attrKey = p.key;
            break;
        case 3:
            t->attrLayer = p.layer;
            break;
        case 4:
            t->attrColor = p.color;
            break;
        case 5:
            t->attrWidth100 = p.width100;
            break;
        default:
            t->attrPattern = p.pattern;
            break;
        }
        ResetToolState(s.doc, 1);
        ShowAttributePrompt(s.doc);
        return;
    }
    Float64 v = 0;
    GetNumericEntry(s.doc, 0, &v);
    bool ok = s.typed > 0;
    switch (tool) {
    case 0:
        ok = ok && ValidatePenNumber(v, &t->attrPen);
        break;
    case 1:
        ok = ok && ValidateLineType(v, &t->attrLineType);
        break;
    case 2:
        ok = ok && ValidateKeyNumber(v, &t->attrKey);
        break;
    case 3:
        ok = ok && ValidateLayerIndex(v, &t->attrLayer);
        break;
    case 4: {
        ok = ok && s.typed == 3;
        if (!ok) break;
        UInt16 c[3];
        for (SInt16 i = 0; i < 3; ++i) {
            Float64 x = 0;
            GetNumericEntry(s.doc, i, &x);
            x = std::isfinite(x) ? std::clamp(std::round(x), 0.0, 255.0) : 0.0;
            c[i] = UInt16(UInt16(x) * 257);
        }
        t->attrColor = RGBColor{c[0], c[1], c[2]};
        break;
    }
    case 5: {
        Float64 mm = 0;
        ok = ok && ValidatePercent(v, &mm);
        if (ok) t->attrWidth100 = SInt16(std::lround(mm * 100));
        break;
    }
    default:
        ok = false; // the pattern is only taken from an element
        break;
    }
    if (!ok) {
        ResetToolState(s.doc, 0);
        return;
    }
    ResetToolState(s.doc, 1);
    ShowAttributePrompt(s.doc);
}

void ApplyAttributeStep(ToolStep& s) {
    if (s.typed != 0) return;
    if (PickUpElementAttributes(s.doc, kKindMasks[Tool()])) {
        const ElementKind kind = PickedElementKind(s.t->picked.kind);
        void* e = CursorElement(s.d, kind);
        if (s.t->picked.key == 0) {
            ChangeElementAttribute(s.doc, 0, kind, e, 1, 0);
            ShowAttributePrompt(s.doc);
            return;
        }
        s.t->attrElement = e;
        s.t->attrElementKind = kind;
        ResetToolState(s.doc, 2);
        CommandFieldSetChar(s.doc, UInt8(s.t->attrModeLetter == 'G' ? 'G' : 'E'));
        return;
    }
    if (SelectByRectangle(s)) {
        ResetToolState(s.doc, 3);
        ShowAttributePrompt(s.doc);
    }
}

void AttributeModeStep(ToolStep& s) {
    if (s.typed == 0) return;
    char letter = s.t->attrModeLetter == 'G' ? 'G' : 'E';
    GetTypedModeLetter(s.doc, &letter);
    s.t->attrModeLetter = letter;
    const ElementKind kind = ElementKind(s.t->attrElementKind);
    void* e = s.t->attrElement;
    if (!ElementInDocument(s.doc, kind, e)) {
        ResetToolState(s.doc, 1);
        ShowAttributePrompt(s.doc);
        return;
    }
    if (letter == 'G')
        ChangeElementAttribute(s.doc, ElementKey(kind, e), kind, e, 1, 1);
    else
        ChangeElementAttribute(s.doc, 0, kind, e, 1, 0);
    RedrawWindow(s.doc);
    ShowAttributePrompt(s.doc);
}

void AttributeSelectionStep(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    ChangeElementAttribute(s.doc, 0, kLineElement, nullptr, 1, 2);
    RedrawWindow(s.doc);
    ShowAttributePrompt(s.doc);
}

// Tool 7.

// Line, arc, text, dimension, polyline, area, symbol instance: the first hit.
bool PickTransferElement(ToolStep& s, ElementKind* kind, void** element) {
    DocWindowRecord* doc = s.doc;
    const DrawingRecord* d = s.d;
    if (PickLine(doc, kPickFind, false, false, nullptr))
        *kind = kLineElement;
    else if (PickArc(doc, kPickFind, false, false, nullptr))
        *kind = kArcElement;
    else if (PickText(doc, kPickFind, false))
        *kind = kTextElement;
    else if (PickDimension(doc, kPickFind, false))
        *kind = kDimensionElement;
    else if (PickPolyline(doc, kPickFind, kWantAllPolylines, false))
        *kind = kPolylineElement;
    else if (PickArea(doc, kPickFind, false))
        *kind = kAreaElement;
    else if (PickSymbolInstance(doc, kPickFind, false, true, nullptr))
        *kind = kSymbolInstanceElement;
    else
        return false;
    *element = CursorElement(d, *kind);
    return *element != nullptr;
}

void TransferSourceStep(ToolStep& s) {
    if (s.typed != 0) return;
    ElementKind kind;
    void* e;
    if (!PickTransferElement(s, &kind, &e)) return;
    FillAttrChange(&s.t->attrChange, kind, e);
    ResetToolState(s.doc, 1);
}

void TransferTargetStep(ToolStep& s) {
    if (s.typed != 0) return;
    ElementKind kind;
    void* e;
    if (PickTransferElement(s, &kind, &e)) {
        ApplyAttrChange(s.doc, &s.t->attrChange, kind, e, true);
        return;
    }
    if (SelectByRectangle(s)) ResetToolState(s.doc, 2);
}

void TransferSelectionStep(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    std::vector<std::pair<ElementKind, void*>> targets;
    WalkAll(s.doc, [&](ElementKind kind, void* e, SInt16, Boolean selected) {
        if (selected) targets.emplace_back(kind, e);
    });
    if (!targets.empty() && s.t->attrChange.valid) {
        BeginUndoStep(s.doc);
        for (auto [kind, e] : targets)
            ApplyAttrChange(s.doc, &s.t->attrChange, kind, e, false);
        EndUndoStep(s.doc);
    }
    DeselectAll(s.doc, false);
    RedrawWindow(s.doc);
    ResetToolState(s.doc, 1);
}

// Tool 8.

void PStr(const char* c, Str255 out) {
    size_t n = std::min<size_t>(std::strlen(c), 255);
    out[0] = UInt8(n);
    std::memcpy(out + 1, c, n);
}

void InfoSeparator() {
    Str255 row;
    PStr("-", row);
    AppendInfoRow(row);
}

void InfoText(SInt16 item) {
    Str255 text;
    GetAppString(item, text);
    AppendInfoRow(text);
}

void InfoValue(DocWindowRecord* doc, const char* label, Float64 value) {
    Str255 text;
    PStr(label, text);
    WriteInfoReal(text, value / DisplayFactor(doc), SInt16(doc->settings->decimals));
}

void InfoLabelled(DocWindowRecord* doc, SInt16 item, Float64 value) {
    Str255 text;
    GetAppString(item, text);
    WriteInfoReal(text, value / DisplayFactor(doc), SInt16(doc->settings->decimals));
}

void InfoPoint(DocWindowRecord* doc, const char* x, const char* y, Float64 px, Float64 py) {
    InfoValue(doc, x, px);
    InfoValue(doc, y, py);
}

void ReportMeasuredPair(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (!CheckToolValues(doc, false)) return;
    LineRecord* lines[2] = {t->firstLine, t->secondLine};
    ArcRecord* arcs[2] = {t->firstArc, t->secondArc};
    int lineCount = (lines[0] != nullptr) + (lines[1] != nullptr);
    if (lineCount == 1) {
        LineRecord* line = lines[0] != nullptr ? lines[0] : lines[1];
        ArcRecord* arc = arcs[0] != nullptr ? arcs[0] : arcs[1];
        double xa, ya, xb, yb;
        if (arc == nullptr || !IntersectLineWithCircleElement(line, arc, xa, ya, xb, yb)) {
            InfoText(kLineMissesCircle);
            return;
        }
        InfoPoint(doc, "xs1", "ys1", xa, ya);
        InfoPoint(doc, "xs2", "ys2", xb, yb);
    } else if (lineCount == 2) {
        double x, y;
        if (!IntersectLineElements(lines[0], lines[1], x, y)) {
            InfoText(kParallelLines);
            return;
        }
        InfoPoint(doc, "xs", "ys", x, y);
        const ToolPoint p1 = RefPoint(doc, 1), p2 = RefPoint(doc, 2);
        InfoValue(doc, "d1", PointDistance(p1.x, p1.y, x, y));
        InfoValue(doc, "d2", PointDistance(p2.x, p2.y, x, y));
    } else if (arcs[0] != nullptr && arcs[1] != nullptr) {
        double xa, ya, xb, yb;
        if (!IntersectCircleElements(arcs[0], arcs[1], xa, ya, xb, yb)) return;
        InfoPoint(doc, "xs1", "ys1", xa, ya);
        InfoPoint(doc, "xs2", "ys2", xb, yb);
    }
}

// A line, else a circle or arc, under the click.
bool PickMeasuredElement(ToolStep& s, LineRecord** line, ArcRecord** arc) {
    *line = nullptr;
    *arc = nullptr;
    if (PickLine(s.doc, kPickFind, false, false, nullptr))
        *line = s.d->cursors.lineCursor;
    else if (PickArc(s.doc, kPickFind, false, false, nullptr))
        *arc = s.d->cursors.arcCursor;
    return *line != nullptr || *arc != nullptr;
}

void MeasureFirstStep(ToolStep& s) {
    ShowInfoWindow(s.doc);
    const UInt16 snap = s.doc->settings->snapMode;
    if (snap != 3 && s.typed == 0) {
        LineRecord* line;
        ArcRecord* arc;
        if (PickMeasuredElement(s, &line, &arc)) {
            SetRefPointFromCursor(s.doc, 1);
            ResetToolState(s.doc, 1);
            s.t->firstLine = line;
            s.t->firstArc = arc;
            InfoSeparator();
            return;
        }
        if (PickText(s.doc, kPickFind, false) || PickDimension(s.doc, kPickFind, false) ||
            PickSymbolInstance(s.doc, kPickFind, false, true, nullptr) ||
            PickPolyline(s.doc, kPickFind, kWantAllPolylines, false) || PickArea(s.doc, kPickFind, false)) {
            ResetToolState(s.doc, 0);
            return;
        }
        if (snap == 0) {
            ResetToolState(s.doc, 0);
            return;
        }
    }
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    ResetToolState(s.doc, 1);
    s.t->firstLine = nullptr;
    s.t->firstArc = nullptr;
    InfoSeparator();
}

void MeasureSecondStep(ToolStep& s) {
    if (s.t->firstLine != nullptr || s.t->firstArc != nullptr) {
        if (s.typed != 0) return;
        LineRecord* line;
        ArcRecord* arc;
        if (!PickMeasuredElement(s, &line, &arc)) return;
        SetRefPointFromCursor(s.doc, 2);
        s.t->secondLine = line;
        s.t->secondArc = arc;
        ReportMeasuredPair(s.doc);
        ResetToolState(s.doc, 0);
        return;
    }
    if (!SnapCursor(s.doc)) return;
    const ToolPoint a = RefPoint(s.doc, 4);
    const Float64 bx = s.d->toolInput.cursorX, by = s.d->toolInput.cursorY;
    InfoText(kDistanceHeading);
    InfoPoint(s.doc, "xs1", "ys1", a.x, a.y);
    InfoPoint(s.doc, "xs2", "ys2", bx, by);
    InfoLabelled(s.doc, kDistanceLabel, PointDistance(a.x, a.y, bx, by));
    InfoValue(s.doc, "dx", std::fabs(bx - a.x));
    InfoValue(s.doc, "dy", std::fabs(by - a.y));
    ResetToolState(s.doc, 0);
}

const ToolStepRow kAttributeRows[] = {
    {kAttributeRow + 0, 0, "pen, or an element to take it from", StepInput::integer, AttributeValueStep},
    {kAttributeRow + 0, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 0, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 0, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 1, 0, "line type, or an element to take it from", StepInput::integer,
     AttributeValueStep},
    {kAttributeRow + 1, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 1, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 1, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 2, 0, "key, or an element to take it from", StepInput::integer, AttributeValueStep},
    {kAttributeRow + 2, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 2, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 2, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 3, 0, "layer, or an element to take it from", StepInput::integer, AttributeValueStep},
    {kAttributeRow + 3, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 3, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 3, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 4, 0, "colour r,g,b, or an element to take it from", StepInput::integer,
     AttributeValueStep},
    {kAttributeRow + 4, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 4, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 4, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 5, 0, "width, or an element to take it from", StepInput::values, AttributeValueStep},
    {kAttributeRow + 5, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 5, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 5, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 6, 0, "element to take the pattern from", StepInput::pick, AttributeValueStep},
    {kAttributeRow + 6, 1, "element to change, or a rectangle", StepInput::pick, ApplyAttributeStep},
    {kAttributeRow + 6, 2, "E for the element or G for its key group", StepInput::text, AttributeModeStep},
    {kAttributeRow + 6, 3, "more elements, or Return to change the selection", StepInput::text,
     AttributeSelectionStep},
    {kAttributeRow + 7, 0, "element to take the attributes from", StepInput::pick, TransferSourceStep},
    {kAttributeRow + 7, 1, "element to change, or a rectangle", StepInput::pick, TransferTargetStep},
    {kAttributeRow + 7, 2, "more elements, or Return to change the selection", StepInput::text,
     TransferSelectionStep},
    {kAttributeRow + 8, 0, "first point or element", StepInput::point, MeasureFirstStep},
    {kAttributeRow + 8, 1, "second point or element", StepInput::point, MeasureSecondStep},
};

} // namespace

constinit const ToolStepTable kAttributeToolSteps{kAttributeRows};

void ToolGroup7Click(DocWindowRecord* doc) {
    RunToolStep(doc, kAttributeToolSteps, SInt16(kAttributeRow + CurrentTool()));
}

void ChangeElementAttribute(DocWindowRecord* doc, SInt16 key, SInt16 kind, void* element, SInt16 nextStep,
                            SInt16 scope) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return;
    const AttributeValue value = CurrentValue(t);
    // The elements to change first, so that a change of nothing leaves no undo step.
    std::vector<std::pair<ElementKind, void*>> targets;
    if (scope == 0) {
        if (ElementInDocument(doc, ElementKind(kind), element) &&
            ElementAttributeDiffers(ElementKind(kind), element, value))
            targets.emplace_back(ElementKind(kind), element);
    } else {
        WalkAll(doc, [&](ElementKind k, void* e, SInt16 group, Boolean selected) {
            if ((scope == 1 ? group == key : selected != 0) && ElementAttributeDiffers(k, e, value))
                targets.emplace_back(k, e);
        });
    }
    if (!targets.empty()) {
        BeginUndoStep(doc);
        for (auto [k, e] : targets)
            SetElementAttribute(doc, k, e, value);
        EndUndoStep(doc);
    }
    DeselectAll(doc, false);
    ResetToolState(doc, nextStep);
}

Boolean OfferAttributeValue(DocWindowRecord* doc, SInt16 tool, SInt32 number, const RGBColor* colour) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr || CurrentToolGroup() != 7 || CurrentTool() != tool ||
        doc->drawing->toolInput.pendingCommand != 0 || doc->drawing->toolInput.pendingStep != 0)
        return false;
    switch (tool) {
    case 0:
        t->attrPen = SInt16(number);
        break;
    case 1:
        t->attrLineType = SInt16(number);
        break;
    case 4:
        if (colour != nullptr) t->attrColor = *colour;
        break;
    case 6:
        t->attrPattern = number;
        break;
    default:
        return false;
    }
    ResetToolState(doc, 1);
    ShowAttributePrompt(doc);
    return true;
}
