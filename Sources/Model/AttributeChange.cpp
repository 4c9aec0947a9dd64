// Changing one attribute, or all of them, of existing elements, with undo.
#include "Model/AttributeChange.h"

#include "Model/UndoJournal.h"

namespace {

template <class T> struct KindOf;
template <> struct KindOf<LineRecord> {
    static constexpr ElementKind kind = kLineElement;
    static void Record(DocWindowRecord* doc, const LineRecord* e, Boolean added) {
        RecordUndoLine(doc, e, added);
    }
};
template <> struct KindOf<ArcRecord> {
    static constexpr ElementKind kind = kArcElement;
    static void Record(DocWindowRecord* doc, const ArcRecord* e, Boolean added) {
        RecordUndoArc(doc, e, added);
    }
};
template <> struct KindOf<TextRecord> {
    static constexpr ElementKind kind = kTextElement;
    static void Record(DocWindowRecord* doc, const TextRecord* e, Boolean added) {
        RecordUndoText(doc, e, added);
    }
};
template <> struct KindOf<DimensionRecord> {
    static constexpr ElementKind kind = kDimensionElement;
    static void Record(DocWindowRecord* doc, const DimensionRecord* e, Boolean added) {
        RecordUndoDimension(doc, e, added);
    }
};
template <> struct KindOf<PolylineRecord> {
    static constexpr ElementKind kind = kPolylineElement;
    static void Record(DocWindowRecord* doc, const PolylineRecord* e, Boolean added) {
        RecordUndoPolyline(doc, e, added);
    }
};
template <> struct KindOf<SymbolInstanceRecord> {
    static constexpr ElementKind kind = kSymbolInstanceElement;
    static void Record(DocWindowRecord* doc, const SymbolInstanceRecord* e, Boolean added) {
        RecordUndoSymbolInstance(doc, e, added);
    }
};
template <> struct KindOf<AreaRecord> {
    static constexpr ElementKind kind = kAreaElement;
    static void Record(DocWindowRecord* doc, const AreaRecord* e, Boolean added) {
        RecordUndoArea(doc, e, added);
    }
};

template <class T> constexpr bool kHasLineType = requires(T e) {
    e.lineType;
};
template <class T> constexpr bool kHasPenBlock = requires(T e) {
    e.penBlock;
};

bool SameColor(const RGBColor& a, const RGBColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The change made on a copy first: only a real change is journalled. The new state goes into the
// journal before the old copy (undo replays backwards, so the copy comes back before the new state
// is taken away), and the element is drawn again at the next redraw.
template <class T, class Change> Boolean Change1(DocWindowRecord* doc, T* e, Change change) {
    T after = *e;
    if (!change(after)) return false;
    const T before = *e;
    *e = after;
    e->next = before.next;
    KindOf<T>::Record(doc, e, true);
    T copy = before;
    KindOf<T>::Record(doc, &copy, false);
    RequestRedraw(doc);
    return true;
}

template <class T> Boolean SetAttribute(DocWindowRecord* doc, T* e, const AttributeValue& v) {
    if (!KindTakesAttribute(KindOf<T>::kind, v.attribute)) return false;
    return Change1(doc, e, [&v](T& a) {
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
    });
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

template <class T> Boolean Apply(DocWindowRecord* doc, const AttrChangeRecord* r, T* e, Boolean single) {
    if (doc == nullptr || r == nullptr || e == nullptr || !r->valid) return false;
    if (single) BeginUndoStep(doc);
    Boolean changed = Change1(doc, e, [r](T& a) {
        const T was = a;
        a.group = r->key;
        a.layer = r->layer;
        if (r->hasPen && KindTakesAttribute(KindOf<T>::kind, ElementAttribute::pen)) a.pen = r->pen;
        if constexpr (kHasLineType<T>)
            if (r->hasLineType && KindTakesAttribute(KindOf<T>::kind, ElementAttribute::lineType))
                a.lineType = r->lineType;
        if constexpr (kHasPenBlock<T>)
            if (r->hasPenBlock) {
                a.penBlock.color = r->color;
                a.penBlock.penWidth100 = r->width100;
                a.penBlock.pattern = r->pattern;
            }
        bool same = was.group == a.group && was.layer == a.layer && was.pen == a.pen;
        if constexpr (kHasLineType<T>) same = same && was.lineType == a.lineType;
        if constexpr (kHasPenBlock<T>)
            same = same && SameColor(was.penBlock.color, a.penBlock.color) &&
                   was.penBlock.penWidth100 == a.penBlock.penWidth100 &&
                   was.penBlock.pattern == a.penBlock.pattern;
        return !same;
    });
    if (single) EndUndoStep(doc);
    return changed;
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

Boolean SetElementAttribute(DocWindowRecord* doc, ElementKind kind, void* element,
                            const AttributeValue& value) {
    if (doc == nullptr || element == nullptr) return false;
    switch (kind) {
    case kLineElement:
        return SetAttribute(doc, static_cast<LineRecord*>(element), value);
    case kArcElement:
        return SetAttribute(doc, static_cast<ArcRecord*>(element), value);
    case kTextElement:
        return SetAttribute(doc, static_cast<TextRecord*>(element), value);
    case kDimensionElement:
        return SetAttribute(doc, static_cast<DimensionRecord*>(element), value);
    case kPolylineElement:
        return SetAttribute(doc, static_cast<PolylineRecord*>(element), value);
    case kSymbolInstanceElement:
        return SetAttribute(doc, static_cast<SymbolInstanceRecord*>(element), value);
    case kAreaElement:
        return SetAttribute(doc, static_cast<AreaRecord*>(element), value);
    }
    return false;
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
