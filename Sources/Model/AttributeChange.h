// Changing the attributes of existing elements: one attribute at a time (pen, line type, key, layer,
// colour, width, pattern) or all of them at once from an attribute-change record filled from another
// element. Each change journals the element's new state and its old copy, so undo and redo restore it
// exactly; an element whose kind does not take an attribute is left alone and journals nothing.
#pragma once

#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"

enum class ElementAttribute : SInt16 { pen = 0, lineType, key, layer, color, width, pattern };

// The value of one attribute to apply.
struct AttributeValue {
    ElementAttribute attribute;
    SInt16 number; // pen, line type, key or layer
    RGBColor color;
    SInt16 width100;
    SInt32 pattern;
};

// All attributes of one element. Flags say what its kind carries, so a symbol instance passes on its
// key and layer only, and a text or dimension no line type.
struct AttrChangeRecord {
    Boolean valid;
    Boolean hasPen, hasLineType, hasPenBlock;
    SInt16 key, layer, pen, lineType;
    RGBColor color;
    SInt16 width100;
    SInt32 pattern;
};

// True when elements of the kind carry the attribute.
Boolean KindTakesAttribute(ElementKind kind, ElementAttribute attribute);

// Sets the attribute of the element (of the kind given) with undo, inside the caller's undo step;
// false when the kind does not take it or the value is already there.
Boolean SetElementAttribute(DocWindowRecord* doc, ElementKind kind, void* element,
                            const AttributeValue& value);
// True when setting the attribute would change the element.
Boolean ElementAttributeDiffers(ElementKind kind, const void* element, const AttributeValue& value);

void FillAttrChangeFromLine(AttrChangeRecord* r, const LineRecord* e);
void FillAttrChangeFromArc(AttrChangeRecord* r, const ArcRecord* e);
void FillAttrChangeFromText(AttrChangeRecord* r, const TextRecord* e);
void FillAttrChangeFromDimension(AttrChangeRecord* r, const DimensionRecord* e);
void FillAttrChangeFromPolyline(AttrChangeRecord* r, const PolylineRecord* e);
void FillAttrChangeFromSymbolInstance(AttrChangeRecord* r, const SymbolInstanceRecord* e);
void FillAttrChangeFromArea(AttrChangeRecord* r, const AreaRecord* e);
void FillAttrChange(AttrChangeRecord* r, ElementKind kind, const void* element);

// Apply the record to one element with undo; single gives the change an undo step of its own (none
// when nothing changes), otherwise the caller's step holds it. False when nothing changed.
Boolean ApplyAttrChangeToLine(DocWindowRecord* doc, const AttrChangeRecord* r, LineRecord* e, Boolean single);
Boolean ApplyAttrChangeToArc(DocWindowRecord* doc, const AttrChangeRecord* r, ArcRecord* e, Boolean single);
Boolean ApplyAttrChangeToText(DocWindowRecord* doc, const AttrChangeRecord* r, TextRecord* e, Boolean single);
Boolean ApplyAttrChangeToDimension(DocWindowRecord* doc, const AttrChangeRecord* r, DimensionRecord* e,
                                   Boolean single);
Boolean ApplyAttrChangeToPolyline(DocWindowRecord* doc, const AttrChangeRecord* r, PolylineRecord* e,
                                  Boolean single);
Boolean ApplyAttrChangeToSymbolInstance(DocWindowRecord* doc, const AttrChangeRecord* r,
                                        SymbolInstanceRecord* e, Boolean single);
Boolean ApplyAttrChangeToArea(DocWindowRecord* doc, const AttrChangeRecord* r, AreaRecord* e, Boolean single);
Boolean ApplyAttrChange(DocWindowRecord* doc, const AttrChangeRecord* r, ElementKind kind, void* element,
                        Boolean single);

// True when the element is still in the document's list of its kind (an undo may have freed it).
Boolean ElementInDocument(const DocWindowRecord* doc, ElementKind kind, const void* element);
