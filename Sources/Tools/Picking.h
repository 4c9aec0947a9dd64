// Finding the element under the cursor: one finder per element list, each walking its list in order,
// skipping what may not be picked, testing against the cursor point or the pick rectangle, and
// leaving the first hit in the kind's list-walk cursor. A finder can also select, toggle or flash the
// hit, or collect every hit into a buffer.
#pragma once

#include "Model/ElementRecords.h"

struct DocWindowRecord;

constexpr int kPickBufferCapacity = 20;

// What a finder does with its hit.
enum : SInt16 {
    kPickFind = 0,
    kPickSelect = 1, // fails when already selected
    kPickToggle = 2,
    kPickFlashOffOn = 3,
    kPickFlashOnOff = 4,
};

// Pick filters of the DrawingRecord.
enum : SInt16 {
    kFilterNone = 0,
    kFilterLines = 1,
    kFilterArcs = 2,
    kFilterTexts = 3,
    kFilterDimensions = 4,
    kFilterPointPolylines = 5,
    kFilterAreas = 6,
    kFilterInstances = 7,
    kFilterFramePolylines = 8,
    kFilterCriteria = 9, // and above
};

// Wanted polyline kinds of PickPolyline.
enum : SInt16 {
    kWantPointPolylines = 1,
    kWantFrames = 2 | 4,
    kWantBoxes = 8 | 16,
    kWantAllPolylines = 31,
};

// Copies of the hit records, up to 20; a finder given a buffer walks its whole list.
struct LinePickBuffer {
    SInt16 count;
    LineRecord records[kPickBufferCapacity];
};
struct ArcPickBuffer {
    SInt16 count;
    ArcRecord records[kPickBufferCapacity];
};

Boolean PickLine(DocWindowRecord* doc, SInt16 action, Boolean searchDefinitions, Boolean listHit,
                 LinePickBuffer* buffer);
Boolean PickArc(DocWindowRecord* doc, SInt16 action, Boolean searchDefinitions, Boolean listHit,
                ArcPickBuffer* buffer);
Boolean PickText(DocWindowRecord* doc, SInt16 action, Boolean listHit);
Boolean PickDimension(DocWindowRecord* doc, SInt16 action, Boolean listHit);
// A start instance continues the walk after it.
Boolean PickSymbolInstance(DocWindowRecord* doc, SInt16 action, Boolean listHit, Boolean quiet,
                           SymbolInstanceRecord* startAfter);
Boolean PickPolyline(DocWindowRecord* doc, SInt16 action, SInt16 wantedKinds, Boolean listHit);
Boolean PickArea(DocWindowRecord* doc, SInt16 action, Boolean listHit);
// Segments of drawn point polylines in the pick rectangle, copied as lines into the buffer when given.
Boolean PickPolylineSegments(DocWindowRecord* doc, LinePickBuffer* buffer);
// A line of a symbol instance's definition under the cursor: the line as the instance places it is
// copied into line and the instance selected. False when no instance line is hit.
Boolean PickSymbolInstanceLine(DocWindowRecord* doc, SymbolInstanceRecord** instance, LineRecord* line);
// Toggles the first element hit, trying lines, arcs, texts, dimensions, symbol instances,
// polylines and areas in that order.
Boolean PickAnyElement(DocWindowRecord* doc);

// The hit tests on their own, against a pick rectangle (and the cursor point inside it).
struct PickRect {
    Float64 minX, maxX, minY, maxY;
    Float64 x, y; // the cursor
};
Boolean LineHitTest(const LineRecord* line, const PickRect& r);
Boolean ArcHitTest(const ArcRecord* arc, const PickRect& r);
Boolean AreaHitTest(const AreaRecord* area, Float64 x, Float64 y);

// A point of a symbol definition placed by the instance, in drawing coordinates.
void SymbolPointToDrawing(DocWindowRecord* doc, const SymbolInstanceRecord* instance, Float64 x, Float64 y,
                          Float64* outX, Float64* outY);
