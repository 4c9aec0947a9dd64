// Parallel-line constructions of the line tools.
#include "Tools/ParallelLines.h"

#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/UndoJournal.h"

namespace {

Float64 LineDirection(const LineRecord* line) {
    Float64 d = DirectionDegrees(line->x1, line->y1, line->x2, line->y2);
    if (d < 0.001) d = 0;
    return NormalizeAngle(d);
}

bool WithinTenthPercent(Float64 a, Float64 b) {
    return 0.999 * a <= b && b <= 1.001 * a;
}

} // namespace

Boolean LinesParallel(const LineRecord* a, const LineRecord* b) {
    if (a == nullptr || b == nullptr) return false;
    Float64 da = LineDirection(a), db = LineDirection(b);
    if (WithinTenthPercent(da, db)) return true;
    // Directions just above 0 and just below 360 are the same direction.
    if (da < db)
        da += 360;
    else
        db += 360;
    return WithinTenthPercent(da, db);
}

Float64 IntersectPerpendicularWithLine(const LineRecord* a, const LineRecord* b, Float64* x, Float64* y) {
    Float64 px, py;
    if (!IntersectLines(a->x1, a->y1, a->x1 + (a->y2 - a->y1), a->y1 + (a->x1 - a->x2), b->x1, b->y1, b->x2,
                        b->y2, px, py))
        return -1;
    *x = px;
    *y = py;
    return PointDistance(a->x1, a->y1, px, py);
}

void DivideBetweenLines(DocWindowRecord* doc, const LineRecord* a, const LineRecord* b, SInt16 n) {
    BeginUndoStep(doc);
    Float64 px, py;
    if (n > 0 && IntersectPerpendicularWithLine(a, b, &px, &py) >= 0) {
        // Copies of a's ends: the list grows while we add, so take them first.
        const Float64 x1 = a->x1, y1 = a->y1, x2 = a->x2, y2 = a->y2;
        const Float64 dx = (px - x1) / (n + 1), dy = (py - y1) / (n + 1);
        for (SInt16 k = 1; k <= n; ++k)
            AddLine(doc, x1 + k * dx, y1 + k * dy, x2 + k * dx, y2 + k * dy);
    }
    EndUndoStep(doc);
}
