// Changing one attribute, or all of them, of existing elements, with undo.
#include "Model/AttributeChange.h"

#include "Model/UndoJournal.h"

namespace {

template <class T> struct KindOf;
template <> struct KindOf<LineRecord> { static constexpr ElementKind kind = kLineElement; };
template <> struct KindOf<ArcRecord> { static constexpr ElementKind kind = kArcElement; };
template <> struct KindOf<TextRecord> { static constexpr ElementKind kind = kTextElement; };
template <> struct KindOf<DimensionRecord> { static constexpr ElementKind kind = kDimensionElement; };
template <> struct KindOf<PolylineRecord> { static constexpr ElementKind kind = kPolylineElement; };
template <> struct KindOf<SymbolInstanceRecord> {
    static constexpr ElementKind kind = kSymbolInstanceElement;
};
template <> struct KindOf<AreaRecord> { static constexpr ElementKind kind = kAreaElement; };

template <class T> constexpr bool kHasLineType = requires(T e) {
    e.lineType;
};
template <class T> constexpr bool kHasPenBlock = requires(T e) {
    e.penBlock;
};

bool SameColor(const RGBColor& a, const RGBColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The change made on a copy first: only a real change is journalled, and a step of its own (when
// asked for) is opened only then, so a click that changes nothing leaves no empty undo step. The new
// state goes into the journal before the old copy (undo replays backwards, so the copy comes back
// before the new state is taken away), and the element is drawn again at the next redraw.
enum class Mode { tryOnly, apply, applyInOwnStep };

template <class T, class Change> Boolean Change1(DocWindowRecord* doc, T* e, Change change, Mode mode) {
    T after = *e;
    if (!change(after)) return false;
    if (mode == Mode::tryOnly) return true;
    if (mode == Mode::applyInOwnStep) BeginUndoStep(doc);
    const T before = *e;
    *e = after;
    e->next = before.next;
    RecordUndoElement(doc, e, true);
    T copy = before;
    RecordUndoElement(doc, &copy, false);
    if (mode == Mode::applyInOwnStep) EndUndoStep(doc);
    RequestRedraw(doc);
    return true;
}

// Stores the value into the copy; false when it is already there or the kind has no such field.
template <class T> bool Put(T& a, const AttributeValue& v) {
    auto put = [](auto& field, auto value) {
        if (field == value) return false;
        field = value;
        return true;
    };
    switch (v.attribute) {
    case ElementAttribute::pen:
        return put(a.pen, v.number);
    case ElementAttribute::lineType:
        if constexpr (kHasLineType<T>) return put(a.lineType, v.number);
        return false;
    case ElementAttribute::key:
        return put(a.group, v.number);
    case ElementAttribute::layer:
        return put(a.layer, v.number);
    case ElementAttribute::color:
        if constexpr (kHasPenBlock<T>) {
            if (SameColor(a.penBlock.color, v.color)) return false;
            a.penBlock.color = v.color;
            return true;
        }
        return false;
    case ElementAttribute::width:
        if constexpr (kHasPenBlock<T>) return put(a.penBlock.penWidth100, v.width100);
        return false;
    case ElementAttribute::pattern:
        if constexpr (kHasPenBlock<T>) return put(a.penBlock.pattern, v.pattern);
        return false;
    }
    return false;
}

template <class T> Boolean SetAttribute(DocWindowRecord* doc, T* e, const AttributeValue& v, Mode mode) {
    if (!KindTakesAttribute(KindOf<T>::kind, v.attribute)) return false;
    return Change1(
        doc, e, [&v](T& a) { return Put(a, v); }, mode);
}

template <class T> void Fill(AttrChangeRecord* r, const T* e) {
    *r = AttrChangeRecord{};
    r->valid = true;
    r->key = e->group;
    r->layer = e->layer;
    r->hasPen = KindOf<T>::kind != kSymbolInstanceElement;
    r->pen = e->pen;
    if constexpr (kHasLineType<T>) {
        r->hasLineType = true;
        r->lineType = e->lineType;
    }
    if constexpr (kHasPenBlock<T>) {
        r->hasPenBlock = true;
        r->color = e->penBlock.color;
        r->width100 = e->penBlock.penWidth100;
        r->pattern = e->penBlock.pattern;
    }
}

// Every attribute of the record that the kind takes; true when any differed.
template <class T> bool PutAll(T& a, const AttrChangeRecord* r) {
    const ElementKind kind = KindOf<T>::kind;
    bool changed = false;
    changed |= Put(a, AttributeValue{ElementAttribute::key, r->key, {}, 0, 0});
    changed |= Put(a, AttributeValue{ElementAttribute::layer, r->layer, {}, 0, 0});
    if (r->hasPen && KindTakesAttribute(kind, ElementAttribute::pen))
        changed |= Put(a, AttributeValue{ElementAttribute::pen, r->pen, {}, 0, 0});
    if (r->hasLineType && KindTakesAttribute(kind, ElementAttribute::lineType))
        changed |= Put(a, AttributeValue{ElementAttribute::lineType, r->lineType, {}, 0, 0});
    if (r->hasPenBlock && KindTakesAttribute(kind, ElementAttribute::color)) {
        changed |= Put(a, AttributeValue{ElementAttribute::color, 0, r->color, 0, 0});
        changed |= Put(a, AttributeValue{ElementAttribute::width, 0, {}, r->width100, 0});
        changed |= Put(a, AttributeValue{ElementAttribute::pattern, 0, {}, 0, r->pattern});
    }
    return changed;
}

template <class T> Boolean Apply(DocWindowRecord* doc, const AttrChangeRecord* r, T* e, Boolean single) {
    if (doc == nullptr || r == nullptr || e == nullptr || !r->valid) return false;
    return Change1(
        doc, e, [r](T& a) { return PutAll(a, r); }, single ? Mode::applyInOwnStep : Mode::apply);
}

template <class T> Boolean InList(const T* head, const void* element) {
    if (head == nullptr || element == nullptr) return false;
    for (const T* e = head->next; e != nullptr; e = e->next)
        if (e == element) return true;
    return false;
}

} // namespace

Boolean KindTakesAttribute(ElementKind kind, ElementAttribute attribute) {
    switch (attribute) {
    case ElementAttribute::key:
    case ElementAttribute::layer:
        return true;
    case ElementAttribute::lineType:
        return kind == kLineElement || kind == kArcElement || kind == kPolylineElement;
    default:
        return kind != kSymbolInstanceElement;
    }
}

namespace {

Boolean SetOrTry(DocWindowRecord* doc, ElementKind kind, void* element, const AttributeValue& value,
                 Mode mode) {
    if (element == nullptr) return false;
    switch (kind) {
    case kLineElement:
        return SetAttribute(doc, static_cast<LineRecord*>(element), value, mode);
    case kArcElement:
        return SetAttribute(doc, static_cast<ArcRecord*>(element), value, mode);
    case kTextElement:
        return SetAttribute(doc, static_cast<TextRecord*>(element), value, mode);
    case kDimensionElement:
        return SetAttribute(doc, static_cast<DimensionRecord*>(element), value, mode);
    case kPolylineElement:
        return SetAttribute(doc, static_cast<PolylineRecord*>(element), value, mode);
    case kSymbolInstanceElement:
        return SetAttribute(doc, static_cast<SymbolInstanceRecord*>(element), value, mode);
    case kAreaElement:
        return SetAttribute(doc, static_cast<AreaRecord*>(element), value, mode);
    }
    return false;
}

} // namespace

Boolean SetElementAttribute(DocWindowRecord* doc, ElementKind kind, void* element,
                            const AttributeValue& value) {
    if (doc == nullptr) return false;
    return SetOrTry(doc, kind, element, value, Mode::apply);
}

Boolean ElementAttributeDiffers(ElementKind kind, const void* element, const AttributeValue& value) {
    return SetOrTry(nullptr, kind, const_cast<void*>(element), value, Mode::tryOnly);
}

void FillAttrChangeFromLine(AttrChangeRecord* r, const LineRecord* e) {
    Fill(r, e);
}
void FillAttrChangeFromArc(AttrChangeRecord* r, const ArcRecord* e) {
    Fill(r, e);
}
void FillAttrChangeFromText(AttrChangeRecord* r, const TextRecord* e) {
    Fill(r, e);
}
void FillAttrChangeFromDimension(AttrChangeRecord* r, const DimensionRecord* e) {
    Fill(r, e);
}
void FillAttrChangeFromPolyline(AttrChangeRecord* r, const PolylineRecord* e) {
    Fill(r, e);
}
void FillAttrChangeFromSymbolInstance(AttrChangeRecord* r, const SymbolInstanceRecord* e) {
    Fill(r, e);
}
void FillAttrChangeFromArea(AttrChangeRecord* r, const AreaRecord* e) {
    Fill(r, e);
}

void FillAttrChange(AttrChangeRecord* r, ElementKind kind, const void* element) {
    if (r == nullptr) return;
    *r = AttrChangeRecord{};
    if (element == nullptr) return;
    switch (kind) {
    case kLineElement:
        return Fill(r, static_cast<const LineRecord*>(element));
    case kArcElement:
        return Fill(r, static_cast<const ArcRecord*>(element));
    case kTextElement:
        return Fill(r, static_cast<const TextRecord*>(element));
    case kDimensionElement:
        return Fill(r, static_cast<const DimensionRecord*>(element));
    case kPolylineElement:
        return Fill(r, static_cast<const PolylineRecord*>(element));
    case kSymbolInstanceElement:
        return Fill(r, static_cast<const SymbolInstanceRecord*>(element));
    case kAreaElement:
        return Fill(r, static_cast<const AreaRecord*>(element));
    }
}

Boolean ApplyAttrChangeToLine(DocWindowRecord* doc, const AttrChangeRecord* r, LineRecord* e,
                              Boolean single) {
    return Apply(doc, r, e, single);
}
Boolean ApplyAttrChangeToArc(DocWindowRecord* doc, const AttrChangeRecord* r, ArcRecord* e, Boolean single) {
    return Apply(doc, r, e, single);
}
Boolean ApplyAttrChangeToText(DocWindowRecord* doc, const AttrChangeRecord* r, TextRecord* e,
                              Boolean single) {
    return Apply(doc, r, e, single);
}
Boolean ApplyAttrChangeToDimension(DocWindowRecord* doc, const AttrChangeRecord* r, DimensionRecord* e,
                                   Boolean single) {
    return Apply(doc, r, e, single);
}
Boolean ApplyAttrChangeToPolyline(DocWindowRecord* doc, const AttrChangeRecord* r, PolylineRecord* e,
                                  Boolean single) {
    return Apply(doc, r, e, single);
}
Boolean ApplyAttrChangeToSymbolInstance(DocWindowRecord* doc, const AttrChangeRecord* r,
                                        SymbolInstanceRecord* e, Boolean single) {
    return Apply(doc, r, e, single);
}
Boolean ApplyAttrChangeToArea(DocWindowRecord* doc, const AttrChangeRecord* r, AreaRecord* e,
                              Boolean single) {
    return Apply(doc, r, e, single);
}

Boolean ApplyAttrChange(DocWindowRecord* doc, const AttrChangeRecord* r, ElementKind kind, void* element,
                        Boolean single) {
    switch (kind) {
    case kLineElement:
        return Apply(doc, r, static_cast<LineRecord*>(element), single);
    case kArcElement:
        return Apply(doc, r, static_cast<ArcRecord*>(element), single);
    case kTextElement:
        return Apply(doc, r, static_cast<TextRecord*>(element), single);
    case kDimensionElement:
        return Apply(doc, r, static_cast<DimensionRecord*>(element), single);
    case kPolylineElement:
        return Apply(doc, r, static_cast<PolylineRecord*>(element), single);
    case kSymbolInstanceElement:
        return Apply(doc, r, static_cast<SymbolInstanceRecord*>(element), single);
    case kAreaElement:
        return Apply(doc, r, static_cast<AreaRecord*>(element), single);
    }
    return false;
}

Boolean ElementInDocument(const DocWindowRecord* doc, ElementKind kind, const void* element) {
    if (doc == nullptr) return false;
    switch (kind) {
    case kLineElement:
        return InList(doc->lineHead, element);
    case kArcElement:
        return InList(doc->arcHead, element);
    case kTextElement:
        return InList(doc->textHead, element);
    case kDimensionElement:
        return InList(doc->dimensionHead, element);
    case kPolylineElement:
        return InList(doc->polylineHead, element);
    case kSymbolInstanceElement:
        return InList(doc->instanceHead, element);
    case kAreaElement:
        return InList(doc->areaHead, element);
    }
    return false;
}
