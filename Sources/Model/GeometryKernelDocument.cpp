// The kernel's constructions that change a drawing: tangent and angled lines added as elements, and
// the switch to the dimension attributes while a dimension is made.
#include "Model/GeometryKernel.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Other/MathPrimitives.h"
#include "Model/SharedUtilities.h"
#include "Model/UndoJournal.h"

#include <cmath>

namespace {

// The attributes UseDimensionAttributes put aside, for the restore.
SInt16 gSavedLayer = 0;
SInt16 gSavedPen = 1;
SInt16 gSavedPenWidth100 = 0;

Boolean AddLineInStep(DocWindowRecord* doc, double sx, double sy, double ex, double ey) {
    // A line of no length is no line.
    if (sx == ex && sy == ey) return 0;
    BeginUndoStep(doc);
    const LineRecord* line = AddLine(doc, sx, sy, ex, ey);
    EndUndoStep(doc);
    return line != nullptr;
}

} // namespace

Boolean TangentLineAtAngle(DocWindowRecord* doc, const ArcRecord* arc, double angle, double length,
                           double pickX, double pickY) {
    double sx, sy, ex, ey;
    if (!doc || !arc ||
        !TangentLineAtAngleEnds(GeoCircleOf(*arc), angle, length, pickX, pickY, sx, sy, ex, ey))
        return 0;
    return AddLineInStep(doc, sx, sy, ex, ey);
}

Boolean LineAtAngleToLine(DocWindowRecord* doc, const LineRecord* line, double x, double y, double angle,
                          double length) {
    if (!doc || !line || (line->x1 == line->x2 && line->y1 == line->y2)) return 0;
    double sx, sy, ex, ey;
    const double direction = DirectionDegrees(line->x1, line->y1, line->x2, line->y2) + angle;
    if (!PolarLine(x, y, direction, length, sx, sy, ex, ey)) return 0;
    return AddLineInStep(doc, sx, sy, ex, ey);
}

void UseDimensionAttributes(DocWindowRecord* doc) {
    DocSettings& s = *doc->settings;
    gSavedLayer = s.currentLayer;
    gSavedPen = s.currentPen;
    gSavedPenWidth100 = s.currentPenWidth100;
    if (s.useDimPen) s.currentPen = s.dimPen;
    if (s.useDimLayer) s.currentLayer = s.dimLayer;
    // A unit without a millimetre factor divides as millimetres: never an infinite width.
    const double width = doc->drawing->dimensionLineWidth;
    if (width > 0) {
        const double w = std::round(width / UnitDivisor(doc));
        if (std::isfinite(w) && w >= 0 && w <= 32767) s.currentPenWidth100 = SInt16(w);
    }
}

void RestoreAttributesAfterDimension(DocSettings* settings) {
    settings->currentLayer = gSavedLayer;
    settings->currentPen = gSavedPen;
    settings->currentPenWidth100 = gSavedPenWidth100;
}
