// Cutting, splitting and joining lines and arcs, and the tangent lines that end in a cut.
#include "CutSplitJoin.h"

#include "ElementRecords.h"
#include "GeometryKernel.h"
#include "MathPrimitives.h"

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
    switch (cut) {
    case LineCut::SecondToB:
        line.x2 = fbx;
        line.y2 = fby;
        line.flags &= ~kLineOpenEnd;
        break;
    case LineCut::FirstToB:
        line.x1 = fbx;
        line.y1 = fby;
        line.flags &= ~kLineOpenStart;
        break;
    case LineCut::FirstToBSecondToA:
        line.x1 = fbx;
        line.y1 = fby;
        line.x2 = fax;
        line.y2 = fay;
        line.flags &= ~kLineOpenStart;
        break;
    case LineCut::SecondToBFirstToA:
        line.x2 = fbx;
        line.y2 = fby;
        line.x1 = fax;
        line.y1 = fay;
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
