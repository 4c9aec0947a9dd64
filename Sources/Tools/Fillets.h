// Fillets and chamfers between two elements: a new arc or line between them, after which none, one
// (the first) or both elements are trimmed to it, as the trim count says. The caller has opened the
// undo step; lengths are drawing millimetres, angles degrees, and each element comes with the point
// it was chosen at (for a line, the foot of the cursor on it).
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;
struct ArcRecord;

// Messages of "STR#" 128 when nothing can be made; the elements are then unchanged.
constexpr SInt16 kNoArcFilletMessage = 7;
constexpr SInt16 kNoLineArcFilletMessage = 8;
constexpr SInt16 kChamferParallelMessage = 12;
constexpr SInt16 kChamferMissesArcMessage = 149;

struct FilletPick {
    double x, y;
};

// The run of the circle about (cx, cy) between the touching points T1 and T2 that is at most half
// the circle: start and end angles, counter-clockwise.
void ShorterRunBetween(double cx, double cy, double t1x, double t1y, double t2x, double t2y, double& start,
                       double& end);

void TrimFilletLines(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2, FilletPick p1, FilletPick p2,
                     double r, SInt16 count);
void TrimFilletArcs(DocWindowRecord* doc, ArcRecord* a1, ArcRecord* a2, double r, FilletPick p1,
                    FilletPick p2, SInt16 count);
void TrimFilletLineArc(DocWindowRecord* doc, LineRecord* line, ArcRecord* arc, double r, FilletPick pl,
                       FilletPick pa, SInt16 count);
void ChamferLines(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2, FilletPick p1, FilletPick p2,
                  double d, double angle, SInt16 count);
void ChamferLineArc(DocWindowRecord* doc, LineRecord* line, ArcRecord* arc, FilletPick p1, FilletPick p2,
                    double d, double angle, SInt16 count);

// The arc of the last fillet between two arcs turned into its complement (start and end exchanged), in
// one undo step; false when there is no such arc left in the drawing.
Boolean SwapFilletArcAngles(DocWindowRecord* doc);
// A fillet between two arcs was made in the document: the Repairs item that turns it round is on.
Boolean FilletCircleRecorded(const DocWindowRecord* doc);
