// The element finders and their hit tests.
#include "Tools/Picking.h"
#include "Model/Selection.h"

#include "Other/CursorsAndMouse.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/DrawingUnits.h"
#include "Model/ElementRecords.h"
#include "Platform/Events.h"
#include "Other/MathPrimitives.h"
#include "Model/SpatialIndex.h"
#include "Model/Symbols.h"
#include "Platform/MemoryManager.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr Float64 kInfinity = std::numeric_limits<Float64>::infinity();
constexpr Float64 kAreaPickScale = 512.0;
constexpr Float64 kBoxPickGrowPixels = 6.0;
constexpr UInt32 kFlashTicks = 6;

DrawingRecord* D(DocWindowRecord* doc) {
    return doc->drawing;
}

PickRect PickRectOf(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    return PickRect{d->toolInput.pickMinX, d->toolInput.pickMaxX, d->toolInput.pickMinY,
                    d->toolInput.pickMaxY, d->toolInput.cursorX,  d->toolInput.cursorY};
}

// Whether the pick filter lets the finder of this filter kind look at all.
bool FilterAdmits(const DocWindowRecord* doc, SInt16 kind) {
    SInt16 filter = doc->drawing->toolInput.pickFilter;
    return filter == kFilterNone || filter >= kFilterCriteria || filter == kind;
}

bool LayerShown(const DocWindowRecord* doc, SInt16 layer) {
    return IsLayerVisible(doc->layerVisible, layer);
}

// A locked element (bit 15 of its pen flag word) is skipped as an unselectable one is.
UInt16 LockBit(const ElementPenAttributes& pen) {
    return UInt16(pen.penFlags) & kPenFlagDimmed;
}

bool Pickable(const DocWindowRecord* doc, Boolean drawn, SInt16 layer, UInt16 flags) {
    if (!drawn || !LayerShown(doc, layer)) return false;
    return (flags & kElementNotSelectable) == 0 || doc->drawing->toolInput.selectHidden;
}

void StorePickedScale(DocWindowRecord* doc, Float64 scale) {
    ToolStateRecord* t = doc->drawing->tool;
    SInt16 step = doc->drawing->toolInput.pendingStep;
    if (t != nullptr && step >= 0 && step < kToolStepCount) t->pickedScales[step] = scale;
}

void Redraw(DocWindowRecord* doc, SInt16 kind, void* element) {
    gDocumentHooks.drawElement(doc, kind, element);
}

// Applies the action to the hit; false when selecting an element that is already selected.
bool ApplyAction(DocWindowRecord* doc, SInt16 action, Boolean* selected, SInt16 kind, void* element) {
    switch (action) {
    case kPickSelect:
        if (*selected) return false;
        SetSelectedFlag(doc->drawing, selected, 1);
        break;
    case kPickToggle:
        SetSelectedFlag(doc->drawing, selected, !*selected);
        break;
    case kPickFlashOffOn:
        if (*selected) {
            SetSelectedFlag(doc->drawing, selected, 0);
            Redraw(doc, kind, element);
            Delay(kFlashTicks, nullptr);
        }
        SetSelectedFlag(doc->drawing, selected, 1);
        break;
    case kPickFlashOnOff:
        SetSelectedFlag(doc->drawing, selected, 1);
        Redraw(doc, kind, element);
        Delay(kFlashTicks, nullptr);
        SetSelectedFlag(doc->drawing, selected, 0);
        break;
    default:
        return true;
    }
    Redraw(doc, kind, element);
    return true;
}

void ListAndWait(DocWindowRecord* doc, void (*list)(DocWindowRecord*)) {
    if (list != nullptr) list(doc);
    WaitButtonState(false);
}

// A point turned by -angle (degrees) about an origin.
void TurnBack(Float64 ox, Float64 oy, Float64 angle, Float64 x, Float64 y, Float64* u, Float64* v) {
    Float64 a = -angle * kDegreesToRadians;
    Float64 dx = x - ox, dy = y - oy;
    *u = dx * std::cos(a) - dy * std::sin(a);
    *v = dx * std::sin(a) + dy * std::cos(a);
}

// The cursor inside the quadrilateral c0..c3, taken in the axes of its first edge.
bool InsideTurnedBox(const Float64 corners[8], Float64 x, Float64 y, Float64 grow) {
    Float64 angle = DirectionDegrees(corners[0], corners[1], corners[2], corners[3]);
    Float64 u, v, u2, v2;
    TurnBack(corners[0], corners[1], angle, x, y, &u, &v);
    TurnBack(corners[0], corners[1], angle, corners[4], corners[5], &u2, &v2);
    return u >= std::min(0.0, u2) - grow && u <= std::max(0.0, u2) + grow && v >= std::min(0.0, v2) - grow &&
           v <= std::max(0.0, v2) + grow;
}

bool InsideBox(Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 x, Float64 y) {
    return x >= std::min(x1, x2) && x <= std::max(x1, x2) && y >= std::min(y1, y2) && y <= std::max(y1, y2);
}

bool InsidePickRect(const PickRect& r, Float64 x, Float64 y) {
    return x > r.minX && x < r.maxX && y > r.minY && y < r.maxY;
}

// Even-odd: the point is inside when an odd number of contours hold it.
bool InsidePolygon(const Float64* xy, int count, Float64 x, Float64 y) {
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        Float64 xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

struct AreaFrame {
    Float64 ox, oy, sx, sy;
    Float64 X(Float64 x) const { return (x - ox) * sx; }
    Float64 Y(Float64 y) const { return (y - oy) * sy; }
};

bool InsideContour(Handle outline, const AreaFrame& f, Float64 x, Float64 y) {
    if (outline == nullptr) return false;
    SInt16 last = OutlineLastIndex(outline);
    const Float64* p = OutlinePoints(outline);
    Size room = (GetHandleSize(outline) - kOutlineHeaderSize) / Size(2 * sizeof(Float64));
    if (last < 0) {
        // An ellipse: its centre and its radii.
        if (room < 2) return false;
        Float64 rx = std::fabs(p[2] * f.sx), ry = std::fabs(p[3] * f.sy);
        if (rx <= 0 || ry <= 0) return false;
        Float64 dx = (x - f.X(p[0])) / rx, dy = (y - f.Y(p[1])) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
    int count = std::min<int>(last + 1, int(room));
    if (count < 3) return false;
    std::vector<Float64> xy(size_t(2 * count));
    for (int i = 0; i < count; ++i) {
        xy[size_t(2 * i)] = f.X(p[2 * i]);
        xy[size_t(2 * i + 1)] = f.Y(p[2 * i + 1]);
    }
    return InsidePolygon(xy.data(), count, x, y);
}

} // namespace

Boolean LineHitTest(const LineRecord* line, const PickRect& r) {
    Float64 x1 = line->x1, y1 = line->y1, x2 = line->x2, y2 = line->y2;
    Float64 minX = std::min(x1, x2), maxX = std::max(x1, x2), minY = std::min(y1, y2),
            maxY = std::max(y1, y2);
    // An end that runs on opens the box on its side.
    auto openTowards = [&](Float64 fromX, Float64 fromY, Float64 toX, Float64 toY) {
        if (toX < fromX) minX = -kInfinity;
        if (toX > fromX) maxX = kInfinity;
        if (toY < fromY) minY = -kInfinity;
        if (toY > fromY) maxY = kInfinity;
    };
    if (line->flags & kLineOpenStart) openTowards(x2, y2, x1, y1);
    if (line->flags & kLineOpenEnd) openTowards(x1, y1, x2, y2);
    if (maxX < r.minX || minX > r.maxX || maxY < r.minY || minY > r.maxY) return false;
    Float64 dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 && dy == 0) return InsideBox(r.minX, r.minY, r.maxX, r.maxY, x1, y1);
    // Edges count: a line at exactly 45 degrees through the cursor crosses the rectangle's corners.
    if (std::fabs(dy) < std::fabs(dx)) {
        Float64 left = y1 + (r.minX - x1) * dy / dx, right = y1 + (r.maxX - x1) * dy / dx;
        return (left >= r.minY && left <= r.maxY) || (right >= r.minY && right <= r.maxY);
    }
    Float64 bottom = x1 + (r.minY - y1) * dx / dy, top = x1 + (r.maxY - y1) * dx / dy;
    return (bottom >= r.minX && bottom <= r.maxX) || (top >= r.minX && top <= r.maxX);
}

Boolean ArcHitTest(const ArcRecord* arc, const PickRect& r) {
    Float64 cx = arc->cx, cy = arc->cy, radius = arc->radius;
    if (cx + radius < r.minX || cx - radius > r.maxX || cy + radius < r.minY || cy - radius > r.maxY)
        return false;
    Float64 corners[4] = {DistanceSquared(cx, cy, r.minX, r.minY), DistanceSquared(cx, cy, r.maxX, r.minY),
                          DistanceSquared(cx, cy, r.maxX, r.maxY), DistanceSquared(cx, cy, r.minX, r.maxY)};
    Float64 r2 = radius * radius;
    if (r2 < *std::min_element(corners, corners + 4) || r2 > *std::max_element(corners, corners + 4))
        return false;
    if (arc->startAngle == 0 && arc->endAngle == 360) return true;
    Float64 angle = Atan2Positive(r.y - cy, r.x - cx) / kDegreesToRadians;
    if (arc->endAngle < arc->startAngle) return angle >= arc->startAngle || angle <= arc->endAngle;
    return angle >= arc->startAngle && angle <= arc->endAngle;
}

Boolean AreaHitTest(const AreaRecord* area, Float64 x, Float64 y) {
    if (!InsideBox(area->minX, area->minY, area->maxX, area->maxY, x, y)) return false;
    // The outline is tested in a 512-unit frame over the box; a box of no width or height keeps
    // that side unscaled.
    Float64 w = area->maxX - area->minX, h = area->maxY - area->minY;
    AreaFrame f{area->minX, area->minY, w > 0 ? kAreaPickScale / w : 1.0, h > 0 ? kAreaPickScale / h : 1.0};
    Float64 px = f.X(x), py = f.Y(y);
    bool inside = InsideContour(area->outline, f, px, py);
    if (area->holes != nullptr && area->lastHoleIndex >= 0) {
        Size count = GetHandleSize(area->holes) / Size(sizeof(Handle));
        auto* holes = reinterpret_cast<Handle*>(*area->holes);
        for (Size i = 0; i <= area->lastHoleIndex && i < count; ++i)
            if (InsideContour(holes[i], f, px, py)) inside = !inside;
    }
    return inside;
}

void SymbolPointToDrawing(DocWindowRecord* doc, const SymbolInstanceRecord* s, Float64 x, Float64 y,
                          Float64* outX, Float64* outY) {
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    SymbolTransformPoint(t, &x, &y);
    *outX = x, *outY = y;
}

namespace {

// A definition line placed by the instance, ends ordered as every line is.
void PlaceLine(DocWindowRecord* doc, const SymbolInstanceRecord* s, const LineRecord* in, LineRecord* out) {
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    PlaceSymbolLine(t, in, out);
    NormalizeLineDirection(out);
}

void PlaceArc(DocWindowRecord* doc, const SymbolInstanceRecord* s, const ArcRecord* in, ArcRecord* out) {
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    PlaceSymbolArc(t, in, out);
}

Float64 PickApertureUnits(const DocWindowRecord* doc) {
    return doc->settings->pickAperture * doc->drawing->view.unitsPerPixel;
}

// The instance's box (the definition's extents placed by it, grown by the aperture) holds the cursor.
bool InsideInstanceBox(DocWindowRecord* doc, const SymbolInstanceRecord* s) {
    const SymbolDefRecord* def = s->definition;
    if (def == nullptr) return false;
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    Float64 fx = std::fabs(t.scaleX), fy = std::fabs(t.scaleY);
    Float64 u = doc->drawing->toolInput.cursorX - s->x, v = doc->drawing->toolInput.cursorY - s->y;
    if (t.angle != 0) TurnBack(0, 0, t.angle, u + 0, v + 0, &u, &v);
    if (t.scaleX < 0) u = -u;
    if (t.scaleY < 0) v = -v;
    Float64 grow = PickApertureUnits(doc);
    return u >= def->minX * fx - grow && u <= def->maxX * fx + grow && v >= def->minY * fy - grow &&
           v <= def->maxY * fy + grow;
}

bool QuadHit(const Float64 corners[8], const PickRect& r) {
    return InsideTurnedBox(corners, r.x, r.y, 0);
}

// One of the definition's elements, placed by the instance, is under the cursor.
bool InstanceElementsHit(DocWindowRecord* doc, const SymbolInstanceRecord* s) {
    const SymbolDefRecord* def = s->definition;
    PickRect r = PickRectOf(doc);
    for (LineRecord* l = def->lineHead ? def->lineHead->next : nullptr; l != nullptr; l = l->next) {
        LineRecord placed;
        PlaceLine(doc, s, l, &placed);
        if (LineHitTest(&placed, r)) return true;
    }
    for (ArcRecord* a = def->arcHead ? def->arcHead->next : nullptr; a != nullptr; a = a->next) {
        ArcRecord placed;
        PlaceArc(doc, s, a, &placed);
        if (ArcHitTest(&placed, r)) return true;
    }
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    for (TextRecord* e = def->textHead ? def->textHead->next : nullptr; e != nullptr; e = e->next) {
        TextRecord placed;
        PlaceSymbolText(t, e, &placed);
        if (QuadHit(placed.corners, r)) return true;
    }
    for (DimensionRecord* m = def->dimensionHead ? def->dimensionHead->next : nullptr; m != nullptr;
         m = m->next) {
        DimensionRecord placed;
        PlaceSymbolDimension(t, m, &placed);
        const Float64 q[8] = {placed.textX,    placed.textY,    placed.frame[0], placed.frame[1],
                              placed.frame[2], placed.frame[3], placed.frame[4], placed.frame[5]};
        if (QuadHit(q, r)) return true;
    }
    for (PolylineRecord* p = def->polylineHead ? def->polylineHead->next : nullptr; p != nullptr;
         p = p->next) {
        if (p->points == nullptr) continue;
        Size room = GetHandleSize(p->points) / Size(2 * sizeof(Float64));
        const Float64* xy = reinterpret_cast<const Float64*>(*p->points);
        for (Size i = 0; i + 1 < room && i + 1 < Size(p->pointCount); ++i) {
            LineRecord seg{};
            seg.x1 = xy[2 * i], seg.y1 = xy[2 * i + 1], seg.x2 = xy[2 * i + 2], seg.y2 = xy[2 * i + 3];
            SymbolTransformPoint(t, &seg.x1, &seg.y1);
            SymbolTransformPoint(t, &seg.x2, &seg.y2);
            NormalizeLineDirection(&seg);
            if (LineHitTest(&seg, r)) return true;
        }
    }
    return false;
}

bool InstanceHit(DocWindowRecord* doc, const SymbolInstanceRecord* s) {
    return InsideInstanceBox(doc, s) && InstanceElementsHit(doc, s);
}

// The lines (arcs) of every instance's definition, placed by the instance: the hit is left in the
// first work record, or copied into the buffer.
template <typename Record, typename Buffer, typename Place, typename Test>
bool SearchDefinitions(DocWindowRecord* doc, Record* (*head)(SymbolDefRecord*), Record** work, Buffer* buffer,
                       Place place, Test test, SymbolInstanceRecord** hitInstance = nullptr) {
    if (doc->drawing->toolInput.pickFilter != kFilterNone || *work == nullptr) return false;
    PickRect r = PickRectOf(doc);
    bool found = false;
    for (SymbolInstanceRecord* s = doc->instanceHead ? doc->instanceHead->next : nullptr; s != nullptr;
         s = s->next) {
        if (s->definition == nullptr || !Pickable(doc, s->drawn, s->layer, 0)) continue;
        if (!InsideInstanceBox(doc, s)) continue;
        for (Record* e = head(s->definition); e != nullptr; e = e->next) {
            Record placed;
            place(doc, s, e, &placed);
            if (!test(&placed, r)) continue;
            found = true;
            if (buffer == nullptr) {
                Record* keep = *work;
                *keep = placed;
                StorePickedScale(doc, s->scaleFactor);
                if (hitInstance != nullptr) *hitInstance = s;
                return true;
            }
            if (buffer->count < kPickBufferCapacity) buffer->records[buffer->count++] = placed;
        }
    }
    return found;
}

LineRecord* DefinitionLines(SymbolDefRecord* def) {
    return def->lineHead ? def->lineHead->next : nullptr;
}
ArcRecord* DefinitionArcs(SymbolDefRecord* def) {
    return def->arcHead ? def->arcHead->next : nullptr;
}

} // namespace

Boolean PickLine(DocWindowRecord* doc, SInt16 action, Boolean searchDefinitions, Boolean listHit,
                 LinePickBuffer* buffer) {
    DrawingRecord* d = D(doc);
    if (buffer == nullptr) ShowWatchCursor();
    d->cursors.lineCursor = doc->lineHead ? doc->lineHead->next : nullptr;
    if (buffer != nullptr) buffer->count = 0;
    if (!FilterAdmits(doc, kFilterLines)) return false;
    PickRect r = PickRectOf(doc);
    bool found = false;
    IndexWalk<LineRecord> walk(doc, kLineElement, d->cursors.lineCursor, r.minX, r.minY, r.maxX, r.maxY);
    for (LineRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (!Pickable(doc, e->drawn, e->layer, e->flags | LockBit(e->penBlock)) || !LineHitTest(e, r))
            continue;
        found = true;
        if (buffer != nullptr) {
            if (buffer->count < kPickBufferCapacity) buffer->records[buffer->count++] = *e;
            continue;
        }
        d->cursors.lineCursor = e;
        if (!ApplyAction(doc, action, &e->selected, kLineElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit) ListAndWait(doc, gDocumentHooks.listLineInfo);
        return true;
    }
    if (buffer == nullptr) d->cursors.lineCursor = nullptr;
    if (!found && searchDefinitions) {
        if (d->toolInput.workLines[0] == nullptr) d->toolInput.workLines[0] = NewLineRecord();
        if (SearchDefinitions(doc, DefinitionLines, &d->toolInput.workLines[0], buffer, PlaceLine,
                              LineHitTest)) {
            if (buffer == nullptr) d->cursors.lineCursor = d->toolInput.workLines[0];
            return true;
        }
    }
    return found;
}

Boolean PickSymbolInstanceLine(DocWindowRecord* doc, SymbolInstanceRecord** instance, LineRecord* line) {
    DrawingRecord* d = D(doc);
    if (d->toolInput.workLines[0] == nullptr) d->toolInput.workLines[0] = NewLineRecord();
    SymbolInstanceRecord* hit = nullptr;
    if (!SearchDefinitions(doc, DefinitionLines, &d->toolInput.workLines[0],
                           static_cast<LinePickBuffer*>(nullptr), PlaceLine, LineHitTest, &hit) ||
        hit == nullptr)
        return false;
    *line = *d->toolInput.workLines[0];
    line->next = nullptr;
    line->selected = 0;
    *instance = hit;
    if (!hit->selected) SetSelectedFlag(d, &hit->selected, 1);
    d->cursors.instanceCursor = hit;
    RequestRedraw(doc);
    return true;
}

Boolean PickArc(DocWindowRecord* doc, SInt16 action, Boolean searchDefinitions, Boolean listHit,
                ArcPickBuffer* buffer) {
    DrawingRecord* d = D(doc);
    if (buffer == nullptr) ShowWatchCursor();
    d->cursors.arcCursor = doc->arcHead ? doc->arcHead->next : nullptr;
    if (buffer != nullptr) buffer->count = 0;
    if (!FilterAdmits(doc, kFilterArcs)) return false;
    PickRect r = PickRectOf(doc);
    bool found = false;
    IndexWalk<ArcRecord> walk(doc, kArcElement, d->cursors.arcCursor, r.minX, r.minY, r.maxX, r.maxY);
    for (ArcRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (!Pickable(doc, e->drawn, e->layer, LockBit(e->penBlock)) || !ArcHitTest(e, r)) continue;
        found = true;
        if (buffer != nullptr) {
            if (buffer->count < kPickBufferCapacity) buffer->records[buffer->count++] = *e;
            continue;
        }
        d->cursors.arcCursor = e;
        if (!ApplyAction(doc, action, &e->selected, kArcElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit) ListAndWait(doc, gDocumentHooks.listArcInfo);
        return true;
    }
    if (buffer == nullptr) d->cursors.arcCursor = nullptr;
    if (!found && searchDefinitions) {
        if (d->toolInput.workArcs[0] == nullptr) d->toolInput.workArcs[0] = NewArcRecord();
        if (SearchDefinitions(doc, DefinitionArcs, &d->toolInput.workArcs[0], buffer, PlaceArc, ArcHitTest)) {
            if (buffer == nullptr) d->cursors.arcCursor = d->toolInput.workArcs[0];
            return true;
        }
    }
    return found;
}

Boolean PickText(DocWindowRecord* doc, SInt16 action, Boolean listHit) {
    DrawingRecord* d = D(doc);
    ShowWatchCursor();
    d->cursors.textCursor = doc->textHead ? doc->textHead->next : nullptr;
    if (!FilterAdmits(doc, kFilterTexts)) return false;
    PickRect r = PickRectOf(doc);
    IndexWalk<TextRecord> walk(doc, kTextElement, d->cursors.textCursor, r.minX, r.minY, r.maxX, r.maxY);
    for (TextRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (!Pickable(doc, e->drawn, e->layer, LockBit(e->penBlock))) continue;
        const Float64* c = e->corners;
        bool inBox =
            e->angle != 0 ? InsideTurnedBox(c, r.x, r.y, 0) : InsideBox(c[0], c[1], c[4], c[5], r.x, r.y);
        bool atSecond = !inBox && (e->textFlags & 0x0006) != 0 && InsidePickRect(r, e->x2, e->y2);
        if (!inBox && !atSecond) continue;
        d->cursors.textCursor = e;
        if (d->tool != nullptr) d->tool->textSecondPoint = atSecond;
        if (!ApplyAction(doc, action, &e->selected, kTextElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit) ListAndWait(doc, nullptr);
        return true;
    }
    d->cursors.textCursor = nullptr;
    return false;
}

Boolean PickDimension(DocWindowRecord* doc, SInt16 action, Boolean listHit) {
    DrawingRecord* d = D(doc);
    ShowWatchCursor();
    d->cursors.dimensionCursor = doc->dimensionHead ? doc->dimensionHead->next : nullptr;
    if (!FilterAdmits(doc, kFilterDimensions)) return false;
    PickRect r = PickRectOf(doc);
    IndexWalk<DimensionRecord> walk(doc, kDimensionElement, d->cursors.dimensionCursor, r.x, r.y, r.x, r.y);
    for (DimensionRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (!Pickable(doc, e->drawn, e->layer, LockBit(e->penBlock))) continue;
        const Float64 box[8] = {e->textX,    e->textY,    e->frame[0], e->frame[1],
                                e->frame[2], e->frame[3], e->frame[4], e->frame[5]};
        if (!InsideTurnedBox(box, r.x, r.y, 0)) continue;
        d->cursors.dimensionCursor = e;
        if (!ApplyAction(doc, action, &e->selected, kDimensionElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit) ListAndWait(doc, nullptr);
        return true;
    }
    d->cursors.dimensionCursor = nullptr;
    return false;
}

Boolean PickSymbolInstance(DocWindowRecord* doc, SInt16 action, Boolean listHit, Boolean quiet,
                           SymbolInstanceRecord* startAfter) {
    DrawingRecord* d = D(doc);
    ShowWatchCursor();
    d->cursors.instanceCursor =
        startAfter != nullptr ? startAfter->next : (doc->instanceHead ? doc->instanceHead->next : nullptr);
    if (!FilterAdmits(doc, kFilterInstances)) return false;
    for (SymbolInstanceRecord* e = d->cursors.instanceCursor; e != nullptr; e = e->next) {
        if (!Pickable(doc, e->drawn, e->layer, 0) || !InstanceHit(doc, e)) continue;
        d->cursors.instanceCursor = e;
        if (!ApplyAction(doc, action, &e->selected, kSymbolInstanceElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit && !quiet) ListAndWait(doc, nullptr);
        return true;
    }
    d->cursors.instanceCursor = nullptr;
    return false;
}

Boolean PickPolyline(DocWindowRecord* doc, SInt16 action, SInt16 wantedKinds, Boolean listHit) {
    DrawingRecord* d = D(doc);
    ShowWatchCursor();
    d->cursors.polylineCursor = doc->polylineHead ? doc->polylineHead->next : nullptr;
    SInt16 filter = d->toolInput.pickFilter;
    PickRect r = PickRectOf(doc);
    Float64 grow = kBoxPickGrowPixels * d->view.unitsPerPixel;
    Float64 reach = 1.5 * std::fabs(grow); // grown in the box's own turned axes
    IndexWalk<PolylineRecord> walk(doc, kPolylineElement, d->cursors.polylineCursor, r.minX - reach,
                                   r.minY - reach, r.maxX + reach, r.maxY + reach);
    for (PolylineRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (!Pickable(doc, e->drawn, e->layer, e->flags | LockBit(e->penBlock)) || e->points == nullptr)
            continue;
        Size room = GetHandleSize(e->points) / Size(2 * sizeof(Float64));
        SInt16 count = SInt16(std::min<Size>(room, Size(std::max<SInt16>(e->pointCount, 0))));
        const Float64* xy = reinterpret_cast<const Float64*>(*e->points);
        bool hit = false;
        bool criteria = filter >= kFilterCriteria;
        if (e->kind == kPolylinePicture) {
            bool admitted = filter == kFilterNone || filter == kFilterFramePolylines || criteria;
            bool wanted = wantedKinds == kWantAllPolylines || ((wantedKinds & 4) && e->pointCount >= 1) ||
                          ((wantedKinds & 2) && UInt16(e->pointCount) > 65534);
            hit = admitted && wanted && count >= 2 && InsideBox(xy[0], xy[1], xy[2], xy[3], r.x, r.y);
        } else if (e->kind == kPolylineEllipse || e->kind == kPolylineRoundedRect) {
            bool admitted = filter == kFilterNone || filter == kFilterFramePolylines || criteria;
            hit = admitted && (wantedKinds & kWantBoxes) != 0 && count >= 4;
            if (hit) {
                const Float64 box[8] = {xy[0], xy[1], xy[2], xy[3], xy[4], xy[5], xy[6], xy[7]};
                hit = InsideTurnedBox(box, r.x, r.y, grow);
            }
        } else {
            bool admitted = filter == kFilterNone || filter == kFilterPointPolylines || criteria;
            if (admitted && (wantedKinds & kWantPointPolylines) != 0) {
                for (SInt16 i = 0; i < count; ++i)
                    if (InsidePickRect(r, xy[2 * i], xy[2 * i + 1])) {
                        hit = true;
                        if (d->tool != nullptr) d->tool->lastHitVertex = i;
                    }
            }
        }
        if (!hit) continue;
        d->cursors.polylineCursor = e;
        if (!ApplyAction(doc, action, &e->selected, kPolylineElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit) ListAndWait(doc, nullptr);
        return true;
    }
    d->cursors.polylineCursor = nullptr;
    return false;
}

Boolean PickArea(DocWindowRecord* doc, SInt16 action, Boolean listHit) {
    DrawingRecord* d = D(doc);
    ShowWatchCursor();
    d->cursors.areaCursor = doc->areaHead ? doc->areaHead->next : nullptr;
    if (!FilterAdmits(doc, kFilterAreas) || doc->settings->areaDisplayMode == 2) return false;
    Float64 x = d->toolInput.cursorX, y = d->toolInput.cursorY;
    IndexWalk<AreaRecord> walk(doc, kAreaElement, d->cursors.areaCursor, x, y, x, y);
    for (AreaRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (!Pickable(doc, e->drawn, e->layer, LockBit(e->penBlock)) ||
            !AreaHitTest(e, d->toolInput.cursorX, d->toolInput.cursorY))
            continue;
        d->cursors.areaCursor = e;
        if (!ApplyAction(doc, action, &e->selected, kAreaElement, e)) return false;
        StorePickedScale(doc, e->scaleFactor);
        if (listHit) ListAndWait(doc, nullptr);
        return true;
    }
    d->cursors.areaCursor = nullptr;
    return false;
}

Boolean PickPolylineSegments(DocWindowRecord* doc, LinePickBuffer* buffer) {
    DrawingRecord* d = D(doc);
    SInt16 filter = d->toolInput.pickFilter;
    if (filter >= 1 && filter <= 8 && filter != kFilterPointPolylines) return false;
    if (buffer != nullptr) buffer->count = 0;
    PickRect r = PickRectOf(doc);
    bool found = false;
    IndexWalk<PolylineRecord> walk(doc, kPolylineElement,
                                   doc->polylineHead ? doc->polylineHead->next : nullptr, r.minX, r.minY,
                                   r.maxX, r.maxY);
    for (PolylineRecord* e = walk.First(); e != nullptr; e = walk.Next(e)) {
        if (e->kind != kPolylineSegments || e->points == nullptr || e->pointCount < 2) continue;
        if (!Pickable(doc, e->drawn, e->layer, e->flags | LockBit(e->penBlock))) continue;
        Size room = GetHandleSize(e->points) / Size(2 * sizeof(Float64));
        Size count = std::min<Size>(room, Size(e->pointCount));
        const Float64* xy = reinterpret_cast<const Float64*>(*e->points);
        for (Size i = 0; i + 1 < count; ++i) {
            LineRecord seg{};
            seg.x1 = xy[2 * i], seg.y1 = xy[2 * i + 1], seg.x2 = xy[2 * i + 2], seg.y2 = xy[2 * i + 3];
            seg.layer = e->layer;
            seg.scaleFactor = e->scaleFactor;
            NormalizeLineDirection(&seg);
            if (!LineHitTest(&seg, r)) continue;
            found = true;
            StorePickedScale(doc, e->scaleFactor);
            if (buffer == nullptr) return true;
            if (buffer->count < kPickBufferCapacity) buffer->records[buffer->count++] = seg;
        }
    }
    return found;
}

Boolean PickAnyElement(DocWindowRecord* doc) {
    return PickLine(doc, kPickToggle, false, true, nullptr) ||
           PickArc(doc, kPickToggle, false, true, nullptr) || PickText(doc, kPickToggle, true) ||
           PickDimension(doc, kPickToggle, true) ||
           PickSymbolInstance(doc, kPickToggle, true, false, nullptr) ||
           PickPolyline(doc, kPickToggle, kWantAllPolylines, true) || PickArea(doc, kPickToggle, true);
}
