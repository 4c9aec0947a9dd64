// Fillets and chamfers of the trim tool. Each construction finds its new element first and changes
// nothing when there is none; the trims afterwards go through the cut operations, which report their
// own failures and leave the new element in place.
#include "Tools/Fillets.h"

#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Tools/CutSplitJoin.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kDegrees = 57.29577951308232;
constexpr double kRadians = 0.017453292519943295;
// The second point of a turned chamfer direction.
constexpr double kDirectionReach = 100.0;

bool Finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

double AngleOfPoint(double cx, double cy, double x, double y) {
    return Atan2Positive(y - cy, x - cx) * kDegrees;
}

// Where the circle (mx, my, r) touches the circle of the arc: the point of the arc's circle on the
// line of the centres whose distance from M is nearest r. False for concentric circles.
bool TouchingPoint(const ArcRecord* arc, double mx, double my, double r, double& tx, double& ty) {
    const double dx = mx - arc->cx, dy = my - arc->cy, len = VectorLength(dx, dy);
    if (!(len > 0) || !std::isfinite(len)) return false;
    const double ux = dx / len * arc->radius, uy = dy / len * arc->radius;
    const double ax = arc->cx + ux, ay = arc->cy + uy, bx = arc->cx - ux, by = arc->cy - uy;
    const bool second =
        std::fabs(PointDistance(bx, by, mx, my) - r) < std::fabs(PointDistance(ax, ay, mx, my) - r);
    tx = second ? bx : ax;
    ty = second ? by : ay;
    return Finite(tx, ty);
}

bool FootOn(const LineRecord* line, double px, double py, double& fx, double& fy) {
    return PerpendicularFoot(line->x1, line->y1, line->x2, line->y2, px, py, fx, fy) && Finite(fx, fy);
}

// A chamfer line never runs on: it is drawn with the run-on default of new lines switched off.
LineRecord* AddBoundedLine(DocWindowRecord* doc, double x1, double y1, double x2, double y2) {
    const Boolean runOn = doc->settings->markNewLines;
    doc->settings->markNewLines = 0;
    LineRecord* line = AddLine(doc, x1, y1, x2, y2);
    doc->settings->markNewLines = runOn;
    return line;
}

bool SameCircle(const ArcRecord* a, double cx, double cy, double r) {
    const double tol = 1e-9 * std::max({1.0, std::fabs(cx), std::fabs(cy), r});
    return std::fabs(a->cx - cx) <= tol && std::fabs(a->cy - cy) <= tol && std::fabs(a->radius - r) <= tol;
}

} // namespace

void ShorterRunBetween(double cx, double cy, double t1x, double t1y, double t2x, double t2y, double& start,
                       double& end) {
    double a1 = AngleOfPoint(cx, cy, t1x, t1y), a2 = AngleOfPoint(cx, cy, t2x, t2y);
    if (a1 > a2) std::swap(a1, a2);
    if (a2 - a1 < 180) {
        start = a1;
        end = a2;
    } else {
        start = a2;
        end = a1;
    }
}

void TrimFilletLines(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2, FilletPick p1, FilletPick p2,
                     double r, SInt16 count) {
    if (doc == nullptr || l1 == nullptr || l2 == nullptr) return;
    double mx, my, t1x, t1y, t2x, t2y;
    if (!TangentCircleCentreToTwoLines(l1, p1.x, p1.y, l2, p2.x, p2.y, r, mx, my) || !Finite(mx, my)) return;
    if (!FootOn(l1, mx, my, t1x, t1y) || !FootOn(l2, mx, my, t2x, t2y)) return;
    double start, end;
    ShorterRunBetween(mx, my, t1x, t1y, t2x, t2y, start, end);
    ArcRecord* fillet = AddArc(doc, mx, my, r, start, end);
    if (fillet == nullptr) return;
    if (count > 0) CutLineAtCircle(doc, l1, fillet, p1.x, p1.y, true);
    if (count >= 2) CutLineAtCircle(doc, l2, fillet, p2.x, p2.y, true);
}

void TrimFilletArcs(DocWindowRecord* doc, ArcRecord* a1, ArcRecord* a2, double r, FilletPick p1,
                    FilletPick p2, SInt16 count) {
    if (doc == nullptr || a1 == nullptr || a2 == nullptr) return;
    struct Candidate {
        bool found;
        double x, y, tx, ty;
    } c[2]{};
    c[0].found =
        a1 != a2 && TangentCircleCentreToTwoCircleElements(a1, p1.x, p1.y, a2, p2.x, p2.y, r, c[0].x, c[0].y);
    c[1].found = a1 != a2 && TangentCircleCentreToTwoCircles(a1, a2, r, c[1].x, c[1].y, p1.x, p1.y);
    for (Candidate& k : c)
        k.found = k.found && Finite(k.x, k.y) && TouchingPoint(a1, k.x, k.y, r, k.tx, k.ty);
    if (!c[0].found && !c[1].found) {
        ShowErrorStr128(kNoArcFilletMessage);
        return;
    }
    const Candidate* w = &c[c[0].found ? 0 : 1];
    if (c[0].found && c[1].found &&
        DistanceSquared(c[0].tx, c[0].ty, p1.x, p1.y) >= DistanceSquared(c[1].tx, c[1].ty, p1.x, p1.y))
        w = &c[1];
    double t2x, t2y;
    if (!TouchingPoint(a2, w->x, w->y, r, t2x, t2y)) {
        ShowErrorStr128(kNoArcFilletMessage);
        return;
    }
    // Whichever arc was chosen first, the fillet is the run between the touching points that joins
    // the two, never its complement.
    double start, end;
    ShorterRunBetween(w->x, w->y, w->tx, w->ty, t2x, t2y, start, end);
    BeginUndoStep(doc);
    ArcRecord* fillet = AddArc(doc, w->x, w->y, r, start, end);
    if (ToolStateRecord* t = ToolStateOf(doc); t != nullptr && fillet != nullptr) {
        t->filletCirclePresent = true;
        t->filletCircleX = w->x;
        t->filletCircleY = w->y;
        t->filletCircleRadius = r;
    }
    EndUndoStep(doc);
    if (fillet == nullptr) return;
    if (count > 0) CutArcAtArc(doc, a1, fillet, p1.x, p1.y, true);
    if (count >= 2) CutArcAtArc(doc, a2, fillet, p2.x, p2.y, true);
}

void TrimFilletLineArc(DocWindowRecord* doc, LineRecord* line, ArcRecord* arc, double r, FilletPick pl,
                       FilletPick pa, SInt16 count) {
    if (doc == nullptr || line == nullptr || arc == nullptr) return;
    double mx, my, t1x, t1y, t2x, t2y;
    if (!TangentCircleCentreToLineAndCircle(line, pl.x, pl.y, arc, pa.x, pa.y, r, mx, my) ||
        !Finite(mx, my) || !FootOn(line, mx, my, t1x, t1y) || !TouchingPoint(arc, mx, my, r, t2x, t2y)) {
        ShowErrorStr128(kNoLineArcFilletMessage);
        return;
    }
    double start, end;
    ShorterRunBetween(mx, my, t1x, t1y, t2x, t2y, start, end);
    ArcRecord* fillet = AddArc(doc, mx, my, r, start, end);
    if (fillet == nullptr) return;
    if (count > 0) CutLineAtCircle(doc, line, fillet, pl.x, pl.y, true);
    if (count >= 2) CutArcAtArc(doc, arc, fillet, pa.x, pa.y, true);
}

void ChamferLines(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2, FilletPick p1, FilletPick p2,
                  double d, double angle, SInt16 count) {
    if (doc == nullptr || l1 == nullptr || l2 == nullptr || !std::isfinite(d) || !std::isfinite(angle))
        return;
    double sx, sy;
    if (!IntersectLines(l1->x1, l1->y1, l1->x2, l1->y2, l2->x1, l2->y1, l2->x2, l2->y2, sx, sy)) {
        ShowErrorStr128(kChamferParallelMessage);
        return;
    }
    double f1x, f1y, f2x, f2y;
    if (!FootOn(l1, p1.x, p1.y, f1x, f1y) || !FootOn(l2, p2.x, p2.y, f2x, f2y)) return;
    const double len = PointDistance(f1x, f1y, sx, sy);
    // Chosen on the corner itself: no side of line 1 to measure from.
    if (!(len > 0) || !std::isfinite(len)) return;
    const double ux = (f1x - sx) / len, uy = (f1y - sy) / len;
    const double mx = sx + d * ux, my = sy + d * uy;
    const double s = std::sin(angle * kRadians), c = std::cos(angle * kRadians);
    double qx[2], qy[2];
    bool hit[2];
    for (int i = 0; i < 2; ++i) {
        double vx = -ux, vy = -uy;
        RotateVectorInPlace(&vx, &vy, i == 0 ? s : -s, c);
        hit[i] = IntersectLines(mx, my, mx + kDirectionReach * vx, my + kDirectionReach * vy, l2->x1, l2->y1,
                                l2->x2, l2->y2, qx[i], qy[i]) &&
                 Finite(qx[i], qy[i]);
    }
    // Both turned directions run parallel to line 2: no chamfer reaches it.
    if (!hit[0] && !hit[1]) {
        ShowErrorStr128(kChamferParallelMessage);
        return;
    }
    int k = hit[0] ? 0 : 1;
    if (hit[0] && hit[1] && !(PointDistance(qx[1], qy[1], f2x, f2y) > PointDistance(qx[0], qy[0], f2x, f2y)))
        k = 1;
    LineRecord* chamfer = AddBoundedLine(doc, qx[k], qy[k], mx, my);
    if (chamfer == nullptr) return;
    if (count > 0) CutLineAtIntersection(doc, l1, chamfer, p1.x, p1.y, true);
    if (count == 2) CutLineAtIntersection(doc, l2, chamfer, p2.x, p2.y, true);
}

void ChamferLineArc(DocWindowRecord* doc, LineRecord* line, ArcRecord* arc, FilletPick p1, FilletPick p2,
                    double d, double angle, SInt16 count) {
    if (doc == nullptr || line == nullptr || arc == nullptr || !std::isfinite(d) || !std::isfinite(angle))
        return;
    const double dx = line->x2 - line->x1, dy = line->y2 - line->y1, len = VectorLength(dx, dy);
    if (!(len > 0) || !std::isfinite(len)) return;
    const double h = std::sin(angle * kRadians) * d, nx = -dy / len, ny = dx / len;
    double best = 1e300, qx = 0, qy = 0;
    for (const double side : {1.0, -1.0}) {
        const double ox = side * h * nx, oy = side * h * ny;
        double p[4];
        if (!IntersectLineCircle(line->x1 + ox, line->y1 + oy, line->x2 + ox, line->y2 + oy, arc->cx, arc->cy,
                                 arc->radius, p[0], p[1], p[2], p[3]))
            continue;
        for (int i = 0; i < 4; i += 2) {
            const double dist = DistanceSquared(p[i], p[i + 1], p2.x, p2.y);
            if (dist < best && Finite(p[i], p[i + 1])) {
                best = dist;
                qx = p[i];
                qy = p[i + 1];
            }
        }
    }
    if (!(best < 1e300)) {
        ShowErrorStr128(kChamferMissesArcMessage);
        return;
    }
    double m[4];
    if (!IntersectLineCircle(line->x1, line->y1, line->x2, line->y2, qx, qy, std::fabs(d), m[0], m[1], m[2],
                             m[3])) {
        ShowErrorStr128(kChamferMissesArcMessage);
        return;
    }
    const bool second = DistanceSquared(m[0], m[1], p1.x, p1.y) > DistanceSquared(m[2], m[3], p1.x, p1.y);
    LineRecord* chamfer = AddBoundedLine(doc, qx, qy, second ? m[2] : m[0], second ? m[3] : m[1]);
    if (chamfer == nullptr) return;
    if (count > 0) CutLineAtIntersection(doc, line, chamfer, p1.x, p1.y, true);
    if (count >= 2) CutArcAtLine(doc, arc, chamfer, p2.x, p2.y, p2.x, p2.y, false, true);
}

Boolean SwapFilletArcAngles(DocWindowRecord* doc) {
    ToolStateRecord* t = doc != nullptr ? ToolStateOf(doc) : nullptr;
    if (t == nullptr || !t->filletCirclePresent || doc->arcHead == nullptr) return false;
    // The newest arc of that circle: the fillet itself, unless it was removed since.
    ArcRecord* found = nullptr;
    for (ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
        if (SameCircle(a, t->filletCircleX, t->filletCircleY, t->filletCircleRadius)) found = a;
    if (found == nullptr) return false;
    const ArcRecord before = *found;
    BeginUndoStep(doc);
    std::swap(found->startAngle, found->endAngle);
    RecordUndoArc(doc, found, true);
    RecordUndoArc(doc, &before, false);
    EndUndoStep(doc);
    RequestRedraw(doc);
    return true;
}

Boolean FilletCircleRecorded(const DocWindowRecord* doc) {
    return doc != nullptr && doc->drawing != nullptr && doc->drawing->tool != nullptr &&
           doc->drawing->tool->filletCirclePresent;
}
