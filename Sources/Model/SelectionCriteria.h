// Selection by criteria: the rows of the active criteria table that an element must satisfy, and the
// selection of the elements of chosen kinds that lie wholly inside a rectangle and pass them.
#pragma once

#include "Model/DocumentRecords.h"

#include <string_view>

// Criterion kinds of a table row; the condition lists numbers and ranges ("3", "1-4, 7"), and an
// empty condition admits every value. A row of another kind, or of an attribute the element does
// not have, admits the element.
enum : SInt32 {
    kCriterionLayer = 1,
    kCriterionPen = 2,
    kCriterionLineType = 3,
    kCriterionKey = 4,
};

// The kind switches of SelectInRectWithCriteria, in the order of the pick filters.
enum : int {
    kSelectLines = 0,
    kSelectArcs,
    kSelectTexts,
    kSelectDimensions,
    kSelectPointPolylines,
    kSelectAreas,
    kSelectInstances,
    kSelectFramePolylines,
    kSelectKindCount,
};

// The table the pick filter names (filters from 9 on: the tables in list order); null when none is
// active, and then every element passes.
const NamedTableRecord* ActiveCriteriaTable(const DocWindowRecord* doc);
// The value satisfies the condition text.
Boolean ConditionAdmits(ConstStr255Param condition, Float64 value);

Boolean MatchLineCriteria(const DocWindowRecord* doc, const LineRecord* e);
Boolean MatchArcCriteria(const DocWindowRecord* doc, const ArcRecord* e);
Boolean MatchTextCriteria(const DocWindowRecord* doc, const TextRecord* e);
Boolean MatchDimensionCriteria(const DocWindowRecord* doc, const DimensionRecord* e);
Boolean MatchPolylineCriteria(const DocWindowRecord* doc, const PolylineRecord* e);
Boolean MatchInstanceCriteria(const DocWindowRecord* doc, const SymbolInstanceRecord* e);
Boolean MatchAreaCriteria(const DocWindowRecord* doc, const AreaRecord* e);

// Selects every shown, selectable element of an enabled kind that lies wholly inside the rectangle
// (corners in any order) and passes the criteria; true when anything was selected. Elements
// selected before stay selected.
Boolean SelectInRectWithCriteria(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                 const Boolean kinds[kSelectKindCount]);

// Selection by a kind name typed by the user: "STR#" 134 items 1 to 7 name polylines, lines, circles
// and arcs, texts, dimensions, areas and symbol instances, item 8 every kind; the first item the
// name contains counts, in any letter case. Elements selected before stay selected.
constexpr SInt16 kKindNameList = 134;
constexpr SInt16 kAllKindsItem = 8;
constexpr SInt16 kUnknownKindAlert = 158;
// Selects every element of the named kind on a visible layer that may be selected (the criteria
// table plays no part; an element off screen counts). A name that no item matches shows alert 158.
// With highlight the window shows the new selection at its next redraw. True when anything was
// selected.
Boolean SelectAllOfKind(DocWindowRecord* doc, std::string_view kindName, Boolean highlight);
