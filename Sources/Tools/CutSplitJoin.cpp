// Cutting, splitting and joining lines and arcs, and the tangent lines that end in a cut.
#include "Tools/CutSplitJoin.h"
#include "Model/Selection.h"

#include "Other/Alerts.h"
#include "Model/DocSettings.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"

#include <cmath>
#include <utility>

namespace {

template <class... T> bool AllFinite(T... v) {
    return (std::isfinite(v) && ...);
}

enum class LineCut { SecondToB, FirstToB, FirstToBSecondToA, SecondToBFirstToA };

// The order of the four points along the line, read as a decimal number, names the change.
bool LineCutForOrder(int code, LineCut& cut) {
    switch (code) {
    case 1342:
    case 2431:
    case 3142:
    case 2413: // B inside: the part on A's side is kept
    case 1234:
    case 4321:
    case 1324:
    case 4231:
    case 3124:
    case 4213: // B beyond the second end: extended
        cut = LineCut::SecondToB;
        return true;
    case 1432:
    case 2341:
    case 3241:
    case 1423:
    case 2134:
    case 4312:
    case 2314:
    case 4132:
    case 3214:
    case 4123:
        cut = LineCut::FirstToB;
        return true;
    case 1243:
    case 3421: // A and B beyond the second end, B nearer: the line becomes B to A
        cut = LineCut::FirstToBSecondToA;
        return true;
    case 2143:
    case 3412:
        cut = LineCut::SecondToBFirstToA;
        return true;
    default:
        return false;
    }
}

} // namespace

Boolean CutLineEnds(LineEnds& line, double ax, double ay, double bx, double by) {
    if (!AllFinite(line.x1, line.y1, line.x2, line.y2, ax, ay, bx, by)) return 0;
    const double dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    double fax, fay, fbx, fby;
    if (!PerpendicularFoot(line.x1, line.y1, line.x2, line.y2, ax, ay, fax, fay)) return 0;
    if (!PerpendicularFoot(line.x1, line.y1, line.x2, line.y2, bx, by, fbx, fby)) return 0;

    // A cut point within 0.1 % of an end is pushed just inside by lengthening the line a little there.
    double fx = line.x1, fy = line.y1, sx = line.x2, sy = line.y2;
    const double ex = 0.001 * dx, ey = 0.001 * dy;
    if (std::fabs(ex) >= std::fabs(fx - fbx) && std::fabs(ey) >= std::fabs(fy - fby)) {
        fx -= ex;
        fy -= ey;
    } else if (std::fabs(ex) >= std::fabs(sx - fbx) && std::fabs(ey) >= std::fabs(sy - fby)) {
        sx += ex;
        sy += ey;
    }

    const double pi = kTwoPi / 2;
    const double theta = Atan2Positive(sy - fy, sx - fx);
    const bool byX = theta <= pi / 4 || (3 * pi / 4 <= theta && theta <= 5 * pi / 4) || theta >= 7 * pi / 4;
    const double keys[4] = {byX ? fx : fy, byX ? sx : sy, byX ? fax : fay, byX ? fbx : fby};
    int order[4] = {1, 2, 3, 4};
    // Exchange sort, stable: equal keys keep the order 1, 2, 3, 4.
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < 3 - pass; ++i) {
            if (keys[order[i] - 1] > keys[order[i + 1] - 1]) std::swap(order[i], order[i + 1]);
        }
    }
    LineCut cut;
    if (!LineCutForOrder(order[0] * 1000 + order[1] * 100 + order[2] * 10 + order[3], cut)) return 0;

    // The end that moves to B is an end from now on; an end moved to A keeps running on if it did.
    auto firstTo = [&](double x, double y) { line.x1 = x, line.y1 = y; };
    auto secondTo = [&](double x, double y) { line.x2 = x, line.y2 = y; };
    switch (cut) {
    case LineCut::SecondToB:
        secondTo(fbx, fby);
        line.flags &= ~kLineOpenEnd;
        break;
    case LineCut::FirstToB:
        firstTo(fbx, fby);
        line.flags &= ~kLineOpenStart;
        break;
    case LineCut::FirstToBSecondToA:
        firstTo(fbx, fby);
        secondTo(fax, fay);
        line.flags &= ~kLineOpenStart;
        break;
    case LineCut::SecondToBFirstToA:
        secondTo(fbx, fby);
        firstTo(fax, fay);
        line.flags &= ~kLineOpenEnd;
        break;
    }
    // A cut that leaves a point gives the line its former length again.
    if (std::fabs(line.x1 - line.x2) < 1e-5 && std::fabs(line.y1 - line.y2) < 1e-5) {
        if (line.flags & kLineOpenStart) {
            line.x1 -= dx;
            line.y1 -= dy;
        } else {
            line.x2 += dx;
            line.y2 += dy;
        }
    }
    return 1;
}

double AngleAbout(double cx, double cy, double x, double y) {
    return WrapAngle(Atan2Positive(y - cy, x - cx) / kDegreesToRadians);
}

double AngularDistance(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

Boolean CutArcAngles(double& start, double& end, double a, double b) {
    if (!AllFinite(start, end, a, b)) return 0;
    double s = start, e = end;
    // An arc through 0 degrees is unrolled so that its run grows from s.
    if (e <= s) {
        if (a < e) a += 360;
        e += 360;
        if (b <= s) b += 360;
    }
    const bool inside = s <= b && b <= e;
    if ((inside && b > a) || (!inside && AngularDistance(e, a) <= AngularDistance(s, a)))
        e = b;
    else
        s = b;
    s = WrapAngle(s);
    e = WrapAngle(e);
    if (std::fabs(s - e) < 0.0001) return 0;
    start = s;
    end = e;
    return 1;
}

// Element operations.

namespace {

constexpr double kNoExtent = 0.0001; // degrees: an arc shorter than this is no arc
constexpr int kSplitProbeLimit = 64; // the probe circle grows by half each time: 1.5^64 is plenty

bool ValidLine(const LineRecord* l) {
    return l && AllFinite(l->x1, l->y1, l->x2, l->y2) && (l->x1 != l->x2 || l->y1 != l->y2);
}

bool ValidArc(const ArcRecord* a) {
    return a && AllFinite(a->cx, a->cy, a->radius, a->startAngle, a->endAngle) && a->radius > 0;
}

double AngleOf(const ArcRecord& arc, double x, double y) {
    return AngleAbout(arc.cx, arc.cy, x, y);
}

bool IsFullCircle(const ArcRecord& arc) {
    return arc.startAngle == 0 && arc.endAngle == 360;
}

// Whether angle p lies on the run from s counter-clockwise to e; an arc whose end is not above its
// start passes through 0 degrees.
bool OnRunStrictly(double s, double e, double p) {
    return e > s ? (s < p && p < e) : (p > s || p < e);
}

bool OnRun(double s, double e, double p) {
    return e > s ? (s <= p && p <= e) : (p >= s || p <= e);
}

// The nearer of two points to (x, y); the first on a tie unless secondOnTie.
bool TakeSecond(double ax, double ay, double bx, double by, double x, double y, bool secondOnTie) {
    const double da = DistanceSquared(ax, ay, x, y), db = DistanceSquared(bx, by, x, y);
    return secondOnTie ? db <= da : db < da;
}

// A copy of the line, all its fields kept, appended at the tail of the line list and journalled as
// new; the line cursor is left on it.
LineRecord* AppendLineCopy(DocWindowRecord* doc, const LineRecord& model) {
    LineRecord* copy = CloneLineRecord(&model);
    if (!copy) return nullptr;
    copy->next = nullptr;
    copy->selected = 0;
    copy->marked = 0;
    SeekLastLine(doc);
    doc->drawing->cursors.lineCursor->next = copy;
    doc->drawing->cursors.lineCursor = copy;
    SpatialIndexAppended(doc, kLineElement, copy);
    MarkDocumentChanged(doc);
    RecordUndoLine(doc, copy, true);
    return copy;
}

// A piece of the arc from start to end with all the arc's own attributes, appended and journalled.
ArcRecord* AppendArcPiece(DocWindowRecord* doc, const ArcRecord& arc, double start, double end) {
    ArcRecord* piece = CloneArcRecord(&arc);
    if (!piece) return nullptr;
    piece->next = nullptr;
    piece->selected = 0;
    piece->marked = 0;
    piece->startAngle = WrapAngle(start);
    piece->endAngle = WrapAngle(end);
    SeekLastArc(doc);
    doc->drawing->cursors.arcCursor->next = piece;
    doc->drawing->cursors.arcCursor = piece;
    SpatialIndexAppended(doc, kArcElement, piece);
    MarkDocumentChanged(doc);
    RecordUndoArc(doc, piece, true);
    return piece;
}

// Replaces the arc by pieces between consecutive angles of the list (at least two pieces).
void ReplaceArcByPieces(DocWindowRecord* doc, ArcRecord* arc, const double* angles, int count) {
    const ArcRecord original = *arc;
    for (int i = 0; i + 1 < count; ++i)
        AppendArcPiece(doc, original, angles[i], angles[i + 1]);
    RemoveArc(doc, arc);
    RequestRedraw(doc);
}

void ChangeArc(DocWindowRecord* doc, ArcRecord* arc, const ArcRecord& before, double start, double end) {
    arc->startAngle = start;
    arc->endAngle = end;
    RecordUndoArc(doc, arc, true);
    ArcRecord copy = before;
    RecordUndoArc(doc, &copy, false);
    RequestRedraw(doc);
}

// The arc becomes the run between the two angles that holds a.
void KeepBetween(DocWindowRecord* doc, ArcRecord* arc, double a1, double a2, double a) {
    if (a1 > a2) std::swap(a1, a2);
    if (AngularDistance(a1, a2) < kNoExtent) {
        ShowErrorStr128(kNoArcLeftMessage);
        return;
    }
    const ArcRecord before = *arc;
    if (a1 <= a && a <= a2)
        ChangeArc(doc, arc, before, a1, a2);
    else
        ChangeArc(doc, arc, before, a2, a1);
}

} // namespace

void CutLineBetweenPoints(DocWindowRecord* doc, LineRecord* line, double ax, double ay, double bx,
                          double by) {
    if (!doc || !line) return;
    const LineRecord before = *line;
    LineEnds ends{line->x1, line->y1, line->x2, line->y2, line->flags};
    if (!CutLineEnds(ends, ax, ay, bx, by)) return;
    line->x1 = ends.x1;
    line->y1 = ends.y1;
    line->x2 = ends.x2;
    line->y2 = ends.y2;
    line->flags = ends.flags;
    NormalizeLineDirection(line);
    RecordUndoLine(doc, line, true);
    LineRecord copy = before;
    RecordUndoLine(doc, &copy, false);
    RequestRedraw(doc);
}

void CutLineAtIntersection(DocWindowRecord* doc, LineRecord* line, const LineRecord* cutter, double ax,
                           double ay, Boolean alert) {
    if (!doc || !line) return;
    double sx, sy;
    if (!IntersectLineElements(line, cutter, sx, sy)) {
        SetSelectedFlag(doc->drawing, &line->selected, 1);
        if (alert) ShowErrorStr128(kLineMissesCutterMessage);
        return;
    }
    CutLineBetweenPoints(doc, line, ax, ay, sx, sy);
}

void CutLineAtCircle(DocWindowRecord* doc, LineRecord* line, const ArcRecord* arc, double ax, double ay,
                     Boolean alert) {
    if (!doc || !line) return;
    double x1, y1, x2, y2;
    if (!IntersectLineWithCircleElement(line, arc, x1, y1, x2, y2)) {
        if (alert) ShowErrorStr128(kLineMissesCircleMessage);
        return;
    }
    if (TakeSecond(x1, y1, x2, y2, ax, ay, false))
        CutLineBetweenPoints(doc, line, ax, ay, x2, y2);
    else
        CutLineBetweenPoints(doc, line, ax, ay, x1, y1);
}

void CutArcBetweenPoints(DocWindowRecord* doc, ArcRecord* arc, double ax, double ay, double bx, double by) {
    if (!doc || !ValidArc(arc) || !AllFinite(ax, ay, bx, by)) return;
    const ArcRecord before = *arc;
    double s = arc->startAngle, e = arc->endAngle;
    if (!CutArcAngles(s, e, AngleOf(*arc, ax, ay), AngleOf(*arc, bx, by))) {
        ShowErrorStr128(kNoArcLeftMessage);
        return;
    }
    ChangeArc(doc, arc, before, s, e);
}

void CutArcAtLine(DocWindowRecord* doc, ArcRecord* arc, const LineRecord* line, double ax, double ay,
                  double rx, double ry, Boolean keepBetween, Boolean alert) {
    if (!doc || !ValidArc(arc) || !AllFinite(ax, ay, rx, ry)) return;
    double x1, y1, x2, y2;
    if (!IntersectLineWithCircleElement(line, arc, x1, y1, x2, y2)) {
        if (alert) ShowErrorStr128(kLineMissesCircleMessage);
        return;
    }
    if (keepBetween) {
        KeepBetween(doc, arc, AngleOf(*arc, x1, y1), AngleOf(*arc, x2, y2), AngleOf(*arc, ax, ay));
        return;
    }
    if (TakeSecond(x1, y1, x2, y2, rx, ry, false))
        CutArcBetweenPoints(doc, arc, ax, ay, x2, y2);
    else
        CutArcBetweenPoints(doc, arc, ax, ay, x1, y1);
}

void CutArcAtArc(DocWindowRecord* doc, ArcRecord* arc, const ArcRecord* cutter, double ax, double ay,
                 Boolean nearestEnd) {
    if (!doc || !ValidArc(arc) || !AllFinite(ax, ay)) return;
    double x1, y1, x2, y2;
    if (!IntersectCircleElements(arc, cutter, x1, y1, x2, y2)) return;
    double a1 = AngleOf(*arc, x1, y1), a2 = AngleOf(*arc, x2, y2);
    if (a1 > a2) std::swap(a1, a2);
    const double a = AngleOf(*arc, ax, ay);
    if (!nearestEnd) {
        KeepBetween(doc, arc, a1, a2, a);
        return;
    }
    const ArcRecord before = *arc;
    double s = arc->startAngle, e = arc->endAngle;
    const double c = AngularDistance(a1, a) > AngularDistance(a2, a) ? a2 : a1;
    if (AngularDistance(e, a) > AngularDistance(s, a)) {
        // A is nearer the start: the start moves to c when A lies between c and the end.
        const bool between = e > c ? (c <= a && a <= e) : (a >= c || a <= e);
        (between ? s : e) = c;
    } else {
        const bool between = c > s ? (s <= a && a <= c) : (a >= s || a <= c);
        (between ? e : s) = c;
    }
    if (AngularDistance(s, e) < kNoExtent && !(s == 0 && e == 360)) {
        ShowErrorStr128(kNoArcLeftMessage);
        return;
    }
    ChangeArc(doc, arc, before, s, e);
}

void SplitLineAtPoint(DocWindowRecord* doc, LineRecord* line, double px, double py) {
    if (!doc || !ValidLine(line) || !AllFinite(px, py)) return;
    const double d1 = PointDistance(line->x1, line->y1, px, py);
    const double d2 = PointDistance(line->x2, line->y2, px, py);
    // At an end there is nothing to split; beyond an end that does not run on, no line to split.
    if (d1 < 1e-10 || d2 < 1e-10) return;
    const double dx = line->x2 - line->x1, dy = line->y2 - line->y1;
    const double t = ((px - line->x1) * dx + (py - line->y1) * dy) / (dx * dx + dy * dy);
    if ((t <= 0 && !(line->flags & kLineOpenStart)) || (t >= 1 && !(line->flags & kLineOpenEnd))) return;
    double h = (d1 > d2 && d2 != 0) ? d2 : d1;
    h *= 0.5;
    if (!(h >= 1e-10)) return;
    // Points on the line either side of P, far enough apart to differ in the numbers.
    double q1x = 0, q1y = 0, q2x = 0, q2y = 0;
    bool found = false;
    for (int probe = 0; probe < kSplitProbeLimit && !found; ++probe, h *= 1.5) {
        found = IntersectLineCircle(line->x1, line->y1, line->x2, line->y2, px, py, h, q1x, q1y, q2x, q2y) &&
                (q1x != q2x || q1y != q2y);
    }
    if (!found) return;
    LineRecord* copy = AppendLineCopy(doc, *line);
    if (!copy) return;
    CutLineBetweenPoints(doc, line, q1x, q1y, px, py);
    CutLineBetweenPoints(doc, copy, q2x, q2y, px, py);
    doc->drawing->cursors.lineCursor = line;
    RequestRedraw(doc);
}

void SplitLineAtLine(DocWindowRecord* doc, LineRecord* line, const LineRecord* edge) {
    double x, y;
    if (IntersectLineElements(line, edge, x, y)) SplitLineAtPoint(doc, line, x, y);
}

void SplitLineAtArc(DocWindowRecord* doc, LineRecord* line, const ArcRecord* edge, double cursorX,
                    double cursorY) {
    double x1, y1, x2, y2;
    if (!IntersectLineWithCircleElement(line, edge, x1, y1, x2, y2)) return;
    if (TakeSecond(x1, y1, x2, y2, cursorX, cursorY, true))
        SplitLineAtPoint(doc, line, x2, y2);
    else
        SplitLineAtPoint(doc, line, x1, y1);
}

void SplitLineAtFoot(DocWindowRecord* doc, LineRecord* line, double px, double py) {
    if (!doc || !ValidLine(line) || !AllFinite(px, py)) return;
    if (!(line->flags & (kLineOpenStart | kLineOpenEnd))) {
        const double len2 = DistanceSquared(line->x1, line->y1, line->x2, line->y2);
        if (!(DistanceSquared(line->x1, line->y1, px, py) < len2 &&
              DistanceSquared(line->x2, line->y2, px, py) < len2)) {
            ShowErrorStr128(kSplitOutsideLineMessage);
            return;
        }
    }
    SplitLineAtPoint(doc, line, px, py);
}

void SplitArcAtPoint(DocWindowRecord* doc, ArcRecord* arc, double px, double py) {
    if (!doc || !ValidArc(arc) || !AllFinite(px, py)) return;
    const double s = arc->startAngle, e = arc->endAngle, p = AngleOf(*arc, px, py);
    if (!OnRunStrictly(s, e, p)) {
        ShowErrorStr128(kPointNotOnArcMessage);
        return;
    }
    const double angles[3] = {s, p, e};
    ReplaceArcByPieces(doc, arc, angles, 3);
}

void SplitArcAtTwoPoints(DocWindowRecord* doc, ArcRecord* arc, double x1, double y1, double x2, double y2) {
    if (!doc || !ValidArc(arc) || !AllFinite(x1, y1, x2, y2)) return;
    const double s = arc->startAngle, e = arc->endAngle;
    const double p1 = AngleOf(*arc, x1, y1), p2 = AngleOf(*arc, x2, y2);
    const bool on1 = OnRun(s, e, p1), on2 = OnRun(s, e, p2);
    if (!on1 && !on2) {
        ShowErrorStr128(kPointNotOnArcMessage);
        return;
    }
    if (!on1 || !on2) {
        if (on1)
            SplitArcAtPoint(doc, arc, x1, y1);
        else
            SplitArcAtPoint(doc, arc, x2, y2);
        return;
    }
    if (IsFullCircle(*arc)) {
        if (AngularDistance(p1, p2) < kNoExtent) return; // one point does not cut a circle in two
        const double angles[3] = {p1, p2, p1};
        ReplaceArcByPieces(doc, arc, angles, 3);
        return;
    }
    // A partial arc stays partial: start to the first point, between the points, on to the end,
    // leaving out pieces of no extent.
    auto along = [&](double p) { return p - s + (p < s ? 360 : 0); };
    double q1 = p1, q2 = p2;
    if (along(q1) > along(q2)) std::swap(q1, q2);
    const double candidates[4] = {s, q1, q2, e};
    double angles[4];
    int count = 0;
    for (const double angle : candidates) {
        if (count > 0 && AngularDistance(angles[count - 1], angle) < kNoExtent) continue;
        angles[count++] = angle;
    }
    if (count < 3) return; // both points at the ends: nothing to split
    ReplaceArcByPieces(doc, arc, angles, count);
}

void SplitArcAtLine(DocWindowRecord* doc, ArcRecord* arc, const LineRecord* edge, double cursorX,
                    double cursorY) {
    if (!doc || !ValidArc(arc)) return;
    double x1, y1, x2, y2;
    if (!IntersectLineWithCircleElement(edge, arc, x1, y1, x2, y2)) {
        ShowErrorStr128(kLineMissesCircleMessage);
        return;
    }
    if (doc->settings->snapMode == 2)
        SplitArcAtTwoPoints(doc, arc, x1, y1, x2, y2);
    else if (TakeSecond(x1, y1, x2, y2, cursorX, cursorY, false))
        SplitArcAtPoint(doc, arc, x2, y2);
    else
        SplitArcAtPoint(doc, arc, x1, y1);
}

void SplitArcAtArc(DocWindowRecord* doc, ArcRecord* arc, const ArcRecord* edge, double cursorX,
                   double cursorY) {
    if (!doc || !ValidArc(arc) || !AllFinite(cursorX, cursorY)) return;
    double x1, y1, x2, y2;
    if (!IntersectCircleElements(arc, edge, x1, y1, x2, y2)) return;
    const double p1 = AngleOf(*arc, x1, y1), p2 = AngleOf(*arc, x2, y2);
    if (AngularDistance(p1, p2) < kNoExtent) return; // touching circles: one point does not split
    const double s = arc->startAngle, e = arc->endAngle;
    if (IsFullCircle(*arc)) {
        const double angles[3] = {p1, p2, p1};
        ReplaceArcByPieces(doc, arc, angles, 3);
        return;
    }
    const double c = TakeSecond(x1, y1, x2, y2, cursorX, cursorY, false) ? p2 : p1;
    if (s == e || !OnRunStrictly(s, e, c)) return;
    const double angles[3] = {s, c, e};
    ReplaceArcByPieces(doc, arc, angles, 3);
}

Boolean ProjectPointOntoArc(double px, double py, const ArcRecord* arc, double& qx, double& qy) {
    if (!ValidArc(arc) || !AllFinite(px, py)) return 0;
    double x1, y1, x2, y2;
    if (!IntersectLineCircle(arc->cx, arc->cy, px, py, arc->cx, arc->cy, arc->radius, x1, y1, x2, y2))
        return 0;
    const bool second = TakeSecond(x1, y1, x2, y2, px, py, false);
    const double x = second ? x2 : x1, y = second ? y2 : y1;
    if (!IsFullCircle(*arc) && !OnRun(arc->startAngle, arc->endAngle, AngleOf(*arc, x, y))) {
        ShowErrorStr128(kPointNotOnArcMessage);
        return 0;
    }
    qx = x;
    qy = y;
    return 1;
}

Boolean JoinLinesIfCollinear(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2) {
    if (!doc || !ValidLine(l1) || !ValidLine(l2)) return 1;
    if (l1 == l2) return 1; // one line picked twice: nothing to join
    double x, y;
    if (IntersectLineElements(l1, l2, x, y)) return 0;
    // Where the perpendicular to line 1 at its first point meets line 2.
    if (IntersectLines(l1->x1, l1->y1, l1->x1 + (l1->y2 - l1->y1), l1->y1 + (l1->x1 - l1->x2), l2->x1, l2->y1,
                       l2->x2, l2->y2, x, y) &&
        DistanceSquared(l1->x1, l1->y1, x, y) < 0.1)
        JoinCollinearLines(doc, l1, l2);
    else
        ShowErrorStr128(kParallelNotJoinableMessage);
    return 1;
}

void JoinCollinearLines(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2) {
    if (!doc || !ValidLine(l1) || !ValidLine(l2) || l1 == l2) return;
    // An end of either line with the end-mark kind it carries.
    struct End {
        double x, y;
        UInt16 mark;
    };
    const End ends[4] = {{l1->x1, l1->y1, LineStartMarkKind(l1->flags)},
                         {l1->x2, l1->y2, LineEndMarkKind(l1->flags)},
                         {l2->x1, l2->y1, LineStartMarkKind(l2->flags)},
                         {l2->x2, l2->y2, LineEndMarkKind(l2->flags)}};
    // With ordered ends these spans cover every way two collinear lines can lie; the longest wins,
    // the earlier on a tie.
    const int spans[5][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}};
    int best = 0;
    double bestLength = -1;
    for (int i = 0; i < 5; ++i) {
        const End &a = ends[spans[i][0]], &b = ends[spans[i][1]];
        const double length = DistanceSquared(a.x, a.y, b.x, b.y);
        if (length > bestLength) {
            best = i;
            bestLength = length;
        }
    }
    const End &first = ends[spans[best][0]], &second = ends[spans[best][1]];
    // The joined line is line 1 with its attributes, running on where either line ran on.
    LineRecord joined = *l1;
    joined.x1 = first.x;
    joined.y1 = first.y;
    joined.x2 = second.x;
    joined.y2 = second.y;
    UInt16 flags = l1->flags & ~(kLineOpenStart | kLineOpenEnd);
    flags |= (l1->flags | l2->flags) & (kLineOpenStart | kLineOpenEnd);
    joined.flags = SetLineEndMarkKind(SetLineStartMarkKind(flags, first.mark), second.mark);
    NormalizeLineDirection(&joined);
    RemoveLine(doc, l1);
    RemoveLine(doc, l2);
    AppendLineCopy(doc, joined);
    RequestRedraw(doc);
}

void JoinArcs(DocWindowRecord* doc, ArcRecord* a1, ArcRecord* a2) {
    if (!doc || !ValidArc(a1) || !ValidArc(a2) || a1 == a2) return;
    if (!(std::fabs(a1->cx - a2->cx) < 1e-8 && std::fabs(a1->cy - a2->cy) < 1e-8 &&
          std::fabs(a1->radius - a2->radius) < 1e-8)) {
        ShowErrorStr128(kArcsNotOnOneCircleMessage);
        return;
    }
    RecordUndoArc(doc, a2, false);
    a2->startAngle = a1->startAngle == 360 ? 0 : a1->startAngle;
    if (a2->endAngle == 0) a2->endAngle = 360;
    a2->selected = 0;
    a2->marked = 0;
    RemoveArc(doc, a1);
    doc->drawing->cursors.arcCursor = a2;
    RecordUndoArc(doc, a2, true);
    RequestRedraw(doc);
}

void AddTangentParallelLine(DocWindowRecord* doc, const LineRecord* line, const ArcRecord* arc, double px,
                            double py) {
    if (!doc || !ValidLine(line) || !ValidArc(arc) || !AllFinite(px, py)) return;
    // The diameter perpendicular to the line ends in the two touching points.
    double x1, y1, x2, y2;
    if (!IntersectLineCircle(arc->cx, arc->cy, arc->cx + (line->y2 - line->y1),
                             arc->cy + (line->x1 - line->x2), arc->cx, arc->cy, arc->radius, x1, y1, x2, y2))
        return;
    const bool second = TakeSecond(x1, y1, x2, y2, px, py, false);
    double sx, sy, ex, ey;
    if (!ParallelLineThroughPoint(line, second ? x2 : x1, second ? y2 : y1, sx, sy, ex, ey)) return;
    BeginUndoStep(doc);
    AddLine(doc, sx, sy, ex, ey);
    EndUndoStep(doc);
}

void AddTangentLineToLine(DocWindowRecord* doc, const LineRecord* line, const ArcRecord* arc, double px,
                          double py, double offset) {
    if (!doc || !ValidLine(line) || !ValidArc(arc) || !AllFinite(px, py, offset)) return;
    const double angle = DirectionDegrees(line->x1, line->y1, line->x2, line->y2) + offset;
    double tx, ty, ex, ey;
    if (!TangentLineAtAngleEnds(GeoCircleOf(*arc), angle, 1.0, px, py, tx, ty, ex, ey)) return;
    // The short tangent and its cut to the line are one step for undo.
    BeginUndoStep(doc);
    if (TangentLineAtAngle(doc, arc, angle, 1.0, px, py)) {
        LineRecord* tangent = doc->drawing->cursors.lineCursor;
        double sx, sy;
        const bool meets = IntersectLineElements(tangent, line, sx, sy);
        CutLineAtIntersection(doc, tangent, line, tx, ty, 1);
        // When the line lies behind the touching point the cut lengthens the tangent there; its far
        // end then still sticks out past the touching point, and goes back to it.
        if (meets && DistanceSquared(tangent->x1, tangent->y1, tx, ty) > 1e-18 &&
            DistanceSquared(tangent->x2, tangent->y2, tx, ty) > 1e-18)
            CutLineBetweenPoints(doc, tangent, sx, sy, tx, ty);
    }
    EndUndoStep(doc);
}
