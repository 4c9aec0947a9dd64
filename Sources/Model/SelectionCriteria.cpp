// Selection by criteria. The rectangle selection walks each enabled list once; an element counts as
// inside only when every point that bounds it does.
#include "Model/SelectionCriteria.h"

#include "Model/Selection.h"
#include "Other/Alerts.h"
#include "Platform/MemoryManager.h"
#include "Other/ToolListText.h"
#include "Other/MathPrimitives.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Attributes {
    SInt16 layer, pen, key;
    bool hasLineType;
    SInt16 lineType;
};

bool Admits(const DocWindowRecord* doc, const Attributes& a) {
    const NamedTableRecord* t = ActiveCriteriaTable(doc);
    if (t == nullptr) return true;
    const int rows = std::clamp<int>(t->rowCount, 0, kNamedTableMaxRows);
    for (int i = 0; i < rows; ++i) {
        const NamedTableRow& row = t->rows[i];
        Float64 value;
        switch (row.criterion) {
        case kCriterionLayer:
            value = a.layer;
            break;
        case kCriterionPen:
            value = a.pen;
            break;
        case kCriterionLineType:
            if (!a.hasLineType) continue;
            value = a.lineType;
            break;
        case kCriterionKey:
            value = a.key;
            break;
        default:
            continue;
        }
        if (!ConditionAdmits(row.condition, value)) return false;
    }
    return true;
}

// Reads a number at text[i] (an optional sign, digits, a decimal point); false when there is none.
bool ReadNumber(const unsigned char* text, int length, int& i, Float64& out) {
    int start = i;
    char buffer[64];
    int n = 0;
    if (i < length && (text[i] == '-' || text[i] == '+')) buffer[n++] = char(text[i++]);
    while (i < length && n < 62 && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.'))
        buffer[n++] = char(text[i++]);
    buffer[n] = 0;
    char* end = nullptr;
    out = std::strtod(buffer, &end);
    if (end == buffer || !std::isfinite(out)) {
        i = start;
        return false;
    }
    return true;
}

struct Box {
    Float64 minX, minY, maxX, maxY;
    bool Holds(Float64 x, Float64 y) const { return x >= minX && x <= maxX && y >= minY && y <= maxY; }
    bool HoldsAll(const Float64* xy, int points) const {
        for (int i = 0; i < points; ++i)
            if (!Holds(xy[2 * i], xy[2 * i + 1])) return false;
        return true;
    }
};

bool Shown(const DocWindowRecord* doc, Boolean drawn, SInt16 layer, UInt16 flags) {
    if (!drawn || !IsLayerVisible(doc->layerVisible, layer)) return false;
    return (flags & kElementNotSelectable) == 0 || doc->drawing->toolInput.selectHidden;
}

template <typename Record, typename Inside, typename Match>
bool SelectList(DocWindowRecord* doc, Record* head, Inside inside, Match match,
                UInt16 (*flagsOf)(const Record*)) {
    bool any = false;
    for (Record* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next) {
        if (e->selected || !Shown(doc, e->drawn, e->layer, flagsOf(e)) || !inside(e) || !match(doc, e))
            continue;
        SetSelectedFlag(doc->drawing, &e->selected, 1);
        any = true;
    }
    return any;
}

template <typename Record> UInt16 NoFlags(const Record*) {
    return 0;
}
// A locked element (bit 15 of its pen flag word) is left out as an unselectable one is.
template <typename Record> UInt16 LockFlag(const Record* e) {
    return UInt16(e->penBlock.penFlags) & kPenFlagDimmed;
}
template <typename Record> UInt16 OwnFlags(const Record* e) {
    return e->flags | LockFlag(e);
}

bool FrameKind(const PolylineRecord* p) {
    return p->kind == kPolylinePicture || p->kind == kPolylineEllipse || p->kind == kPolylineRoundedRect;
}

bool PolylineInside(const Box& box, const PolylineRecord* p) {
    if (p->points == nullptr) return false;
    const Size room = GetHandleSize(p->points) / Size(2 * sizeof(Float64));
    int count = int(std::min<Size>(room, Size(std::max<SInt16>(p->pointCount, 0))));
    if (FrameKind(p)) count = std::min(count, p->kind == kPolylinePicture ? 2 : 4);
    return count > 0 && box.HoldsAll(reinterpret_cast<const Float64*>(*p->points), count);
}

} // namespace

const NamedTableRecord* ActiveCriteriaTable(const DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return nullptr;
    int n = doc->drawing->toolInput.pickFilter - 9;
    if (n < 0) return nullptr;
    const NamedTableRecord* t = doc->drawing->criteriaTables;
    while (t != nullptr && n-- > 0)
        t = t->next;
    return t;
}

Boolean ConditionAdmits(ConstStr255Param condition, Float64 value) {
    const unsigned char* text = condition + 1;
    const int length = condition[0];
    bool any = false;
    int i = 0;
    while (i < length) {
        if (text[i] == ' ' || text[i] == ',' || text[i] == ';') {
            ++i;
            continue;
        }
        Float64 low, high;
        if (!ReadNumber(text, length, i, low)) {
            ++i; // a character that belongs to no number is passed over
            continue;
        }
        high = low;
        while (i < length && text[i] == ' ')
            ++i;
        if (i < length && text[i] == '-') {
            ++i;
            while (i < length && text[i] == ' ')
                ++i;
            if (!ReadNumber(text, length, i, high)) high = low;
        }
        any = true;
        if (value >= std::min(low, high) && value <= std::max(low, high)) return true;
    }
    return !any;
}

Boolean MatchLineCriteria(const DocWindowRecord* doc, const LineRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, true, e->lineType});
}
Boolean MatchArcCriteria(const DocWindowRecord* doc, const ArcRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, true, e->lineType});
}
Boolean MatchTextCriteria(const DocWindowRecord* doc, const TextRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, false, 0});
}
Boolean MatchDimensionCriteria(const DocWindowRecord* doc, const DimensionRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, false, 0});
}
Boolean MatchPolylineCriteria(const DocWindowRecord* doc, const PolylineRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, true, e->lineType});
}
Boolean MatchInstanceCriteria(const DocWindowRecord* doc, const SymbolInstanceRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, false, 0});
}
Boolean MatchAreaCriteria(const DocWindowRecord* doc, const AreaRecord* e) {
    return Admits(doc, {e->layer, e->pen, e->group, false, 0});
}

Boolean SelectInRectWithCriteria(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                 const Boolean kinds[kSelectKindCount]) {
    if (doc == nullptr || doc->drawing == nullptr || kinds == nullptr) return false;
    const Box box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    // A rectangle with a corner that is not a number holds nothing.
    if (!(box.minX <= box.maxX) || !(box.minY <= box.maxY)) return false;
    bool any = false;
    if (kinds[kSelectLines])
        any |= SelectList(
            doc, doc->lineHead,
            [&](const LineRecord* e) { return box.Holds(e->x1, e->y1) && box.Holds(e->x2, e->y2); },
            MatchLineCriteria, OwnFlags<LineRecord>);
    if (kinds[kSelectArcs])
        any |= SelectList(
            doc, doc->arcHead,
            [&](const ArcRecord* e) {
                Float64 b[4];
                ArcExtentBox(e->cx, e->cy, e->radius, e->startAngle, e->endAngle, b);
                return box.Holds(b[0], b[1]) && box.Holds(b[2], b[3]);
            },
            MatchArcCriteria, LockFlag<ArcRecord>);
    if (kinds[kSelectTexts])
        any |= SelectList(
            doc, doc->textHead,
            [&](const TextRecord* e) { return box.Holds(e->x, e->y) && box.HoldsAll(e->corners, 4); },
            MatchTextCriteria, LockFlag<TextRecord>);
    if (kinds[kSelectDimensions])
        any |= SelectList(
            doc, doc->dimensionHead,
            [&](const DimensionRecord* e) {
                return box.Holds(e->x1, e->y1) && box.Holds(e->x2, e->y2) && box.Holds(e->textX, e->textY) &&
                       box.HoldsAll(e->frame, 3);
            },
            MatchDimensionCriteria, OwnFlags<DimensionRecord>);
    if (kinds[kSelectPointPolylines] || kinds[kSelectFramePolylines])
        any |= SelectList(
            doc, doc->polylineHead,
            [&](const PolylineRecord* e) {
                const bool wanted =
                    FrameKind(e) ? kinds[kSelectFramePolylines] : kinds[kSelectPointPolylines];
                return wanted && PolylineInside(box, e);
            },
            MatchPolylineCriteria, OwnFlags<PolylineRecord>);
    if (kinds[kSelectAreas])
        any |= SelectList(
            doc, doc->areaHead,
            [&](const AreaRecord* e) { return box.Holds(e->minX, e->minY) && box.Holds(e->maxX, e->maxY); },
            MatchAreaCriteria, LockFlag<AreaRecord>);
    if (kinds[kSelectInstances])
        any |= SelectList(
            doc, doc->instanceHead,
            [&](const SymbolInstanceRecord* e) {
                for (int i = 0; i < 4; ++i)
                    if (!box.Holds(e->x + e->frame[2 * i], e->y + e->frame[2 * i + 1])) return false;
                return true;
            },
            MatchInstanceCriteria, NoFlags<SymbolInstanceRecord>);
    if (any) RequestRedraw(doc);
    return any;
}

namespace {

template <typename Record>
bool SelectEveryVisible(DocWindowRecord* doc, Record* head, UInt16 (*flagsOf)(const Record*)) {
    bool any = false;
    const bool hiddenToo = doc->drawing->toolInput.selectHidden;
    for (Record* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next) {
        if (e->selected || !IsLayerVisible(doc->layerVisible, e->layer)) continue;
        if ((flagsOf(e) & kElementNotSelectable) != 0 && !hiddenToo) continue;
        SetSelectedFlag(doc->drawing, &e->selected, 1);
        any = true;
    }
    return any;
}

} // namespace

Boolean SelectAllOfKind(DocWindowRecord* doc, std::string_view kindName, Boolean highlight) {
    if (doc == nullptr || doc->drawing == nullptr) return false;
    Float64 found = 0;
    if (!FindListItemInText(kindName, kKindNameList, &found) || found > kAllKindsItem) {
        ShowAlert(kUnknownKindAlert);
        return false;
    }
    const int item = int(found);
    auto wanted = [item](int kindItem) { return item == kAllKindsItem || item == kindItem; };
    bool any = false;
    if (wanted(1)) any |= SelectEveryVisible(doc, doc->polylineHead, OwnFlags<PolylineRecord>);
    if (wanted(2)) any |= SelectEveryVisible(doc, doc->lineHead, OwnFlags<LineRecord>);
    if (wanted(3)) any |= SelectEveryVisible(doc, doc->arcHead, NoFlags<ArcRecord>);
    if (wanted(4)) any |= SelectEveryVisible(doc, doc->textHead, NoFlags<TextRecord>);
    if (wanted(5)) any |= SelectEveryVisible(doc, doc->dimensionHead, OwnFlags<DimensionRecord>);
    if (wanted(6)) any |= SelectEveryVisible(doc, doc->areaHead, NoFlags<AreaRecord>);
    if (wanted(7)) any |= SelectEveryVisible(doc, doc->instanceHead, NoFlags<SymbolInstanceRecord>);
    if (any && highlight) RequestRedraw(doc);
    return any;
}
