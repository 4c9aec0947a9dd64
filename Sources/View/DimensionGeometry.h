// The geometry of a dimension, computed from its record and the drawing's settings without a window:
// the dimension line (an arc for angles), the extension lines, the terminators and where the text goes.
// The drawing and the exporters both work from it.
#pragma once

#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"

struct DimGeometry {
    Float64 line[4];                                 // dimension line; for an angle the end points of its arc
    Boolean isArc;                                   // the dimension line is the arc below (kind 5)
    Float64 arcX, arcY, arcRadius, arcStart, arcEnd; // degrees, counter-clockwise
    Boolean hasExtension[2];
    Float64 extension[2][4]; // from the end near the measured point to the end past the dimension line
    Boolean hasLeader;       // radius dimensions: the line on to the centre
    Float64 leader[4];
    SInt16 terminatorKind[2]; // 0 arrow, 1 dot, 2 tick, -1 none
    Float64 terminator[2][6]; // tip, then the two back points
    Float64 textX, textY;     // text position as drawn (the record's, moved for kinds 3 and 6)
    Float64 textAngle;        // degrees
};

// The three points of a terminator whose tip lies at (x, y) on a dimension line running in the
// direction angle (degrees): 0 an arrow opening backwards by the settings' arrow angle, 2 a tick at
// 45 degrees; any other kind leaves all three at (x, y).
void DimensionTerminator(const DocSettings* s, SInt16 kind, Float64 x, Float64 y, Float64 angle, Float64 size,
                         Float64 tip[2], Float64 p1[2], Float64 p2[2]);
// The extension line from (x1, y1) near the measured point to (x2, y2) past the dimension line; with
// fixed-length extension lines only extensionGap of it, measured from (x2, y2), when it is that long.
void DimExtensionEnds(const DimensionRecord* d, const DocSettings* s, Float64 x1, Float64 y1, Float64 x2,
                      Float64 y2, Float64 out[4]);
// The offset the text and its outline take across the measured segment (kinds 3 and 6, the line
// offset long); none when the measured points coincide.
void DimTextOffset(const DimensionRecord* d, const DocSettings* s, Float64* dx, Float64* dy);

// Per kind; false for a record of another kind.
Boolean DimHorizontalGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g);
Boolean DimVerticalGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g);
Boolean DimAlignedGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g);
Boolean DimCentreGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g); // kinds 3, 4
Boolean DimAngularGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g);
Boolean DimNormalGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g); // kind 6
// The routine of the record's kind; false for kinds outside 0..6.
Boolean DimensionGeometry(const DimensionRecord* d, const DocSettings* s, DimGeometry* g);
