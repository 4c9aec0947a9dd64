// Tracking loops over the polling calls, so queued drags drive them as a user's hand would. One loop
// follows the mouse for all of them; each tracker says what its shape is for an offset and how it
// is shown.
#include "Tools/DragTracking.h"

#include "Model/DocumentRecords.h"
#include "Other/MathPrimitives.h"
#include "Other/CursorsAndMouse.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Tools/Snapping.h"
#include "View/ViewStrokes.h"
#include "View/WorldPrimitives.h"

#include <cmath>

namespace {

constexpr int kCircleChords = 72;

bool SamePoint(Point a, Point b) {
    return a.h == b.h && a.v == b.v;
}

// Follows the mouse from where it is until the button is up. update(dx, dy) makes the shape for the
// mouse's offset in drawing units (y up); draw() shows it in XOR, so drawing it again takes it away.
// A cursor id below 0 leaves the cursor as it is. True when the mouse ended elsewhere.
template <typename Update, typename Draw>
bool FollowMouse(DocWindowRecord* doc, SInt16 cursor, Update update, Draw draw) {
    if (doc == nullptr || doc->window == nullptr || doc->drawing == nullptr) return false;
    DrawingRecord* d = doc->drawing;
    if (cursor >= 0) SetCursorById(cursor);
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    const Float64 s = d->view.unitsPerPixel;
    const SInt16 mode = d->output.paintMode;
    Point start, now;
    GetMouse(&start);
    now = start;
    auto follow = [&](Point p) { update((p.h - start.h) * s, -(p.v - start.v) * s); };
    follow(start);
    SetPaintMode(doc, kPaintXor);
    draw();
    while (WaitForMouseMove(doc)) {
        Point m;
        GetMouse(&m);
        if (SamePoint(m, now)) continue;
        draw();
        now = m;
        follow(now);
        draw();
    }
    draw();
    SetPaintMode(doc, mode);
    // The release may come where no move was read.
    Point last;
    GetMouse(&last);
    if (!SamePoint(last, now)) {
        now = last;
        follow(now);
    }
    SetPort(saved);
    return !SamePoint(now, start);
}

void Snap(DocWindowRecord* doc, Float64* x, Float64* y) {
    SnapToGrid(doc, x, y);
}

bool ShiftDown() {
    return (GetCurrentKeyModifiers() & shiftKey) != 0;
}

void Turn(Float64* x, Float64* y, Float64 cx, Float64 cy, Float64 radians) {
    Float64 c = std::cos(radians), s = std::sin(radians);
    Float64 u = *x - cx, v = *y - cy;
    *x = cx + c * u - s * v;
    *y = cy + s * u + c * v;
}

void TurnQuad(Float64 q[8], Float64 cx, Float64 cy, Float64 radians) {
    for (int i = 0; i < 4; ++i)
        Turn(&q[2 * i], &q[2 * i + 1], cx, cy, radians);
}

void CopyQuad(Float64 to[8], const Float64 from[8]) {
    for (int i = 0; i < 8; ++i)
        to[i] = from[i];
}

void DrawCircleChords(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r) {
    if (!(r > 0)) return;
    for (int i = 0; i < kCircleChords; ++i) {
        Float64 a = kTwoPi * i / kCircleChords, b = kTwoPi * (i + 1) / kCircleChords;
        DrawWorldLine(doc, cx + r * std::cos(a), cy + r * std::sin(a), cx + r * std::cos(b),
                      cy + r * std::sin(b));
    }
}

// The corner for the mouse m: free, or on the rectangle of the fixed corner with the given
// width / height, the nearer of the two candidates (the first on a tie).
void CornerFor(Float64 mx, Float64 my, Float64 fx, Float64 fy, Boolean proportional, Float64 q, Float64* x,
               Float64* y) {
    if (!proportional || !(q > 0) || !std::isfinite(q)) {
        *x = mx, *y = my;
        return;
    }
    Float64 sx = mx < fx ? -1.0 : 1.0, sy = my < fy ? -1.0 : 1.0;
    Float64 ax = mx, ay = fy + sy * std::fabs(mx - fx) / q;
    Float64 bx = fx + sx * std::fabs(my - fy) * q, by = my;
    Float64 da = (ax - mx) * (ax - mx) + (ay - my) * (ay - my);
    Float64 db = (bx - mx) * (bx - mx) + (by - my) * (by - my);
    if (da <= db)
        *x = ax, *y = ay;
    else
        *x = bx, *y = by;
}

// Corner k of the quadrilateral turned about (cx, cy) so that it points where the mouse took it.
bool RotateQuad(DocWindowRecord* doc, SInt16 cursor, Float64 cx, Float64 cy, Float64 q[8], SInt16 k,
                Float64* turned, Float64 pivotLineX, Float64 pivotLineY, bool pivotLine) {
    if (k < 0 || k > 3) return false;
    const Float64 kx = q[2 * k], ky = q[2 * k + 1];
    const Float64 from = std::atan2(ky - cy, kx - cx) * kRadiansToDegrees;
    Float64 shown[8], turn = 0;
    CopyQuad(shown, q);
    bool moved = FollowMouse(
        doc, cursor,
        [&](Float64 dx, Float64 dy) {
            Float64 phi = std::atan2(ky + dy - cy, kx + dx - cx) * kRadiansToDegrees;
            if (ShiftDown()) phi = RotationStep(phi);
            turn = phi - from;
            CopyQuad(shown, q);
            TurnQuad(shown, cx, cy, turn * kDegreesToRadians);
        },
        [&] {
            FrameQuad(doc, shown);
            if (pivotLine) DrawWorldLine(doc, pivotLineX, pivotLineY, shown[2 * k], shown[2 * k + 1]);
        });
    if (!moved || !std::isfinite(turn)) return false;
    CopyQuad(q, shown);
    *turned = turn;
    return true;
}

// One value of the rectangle (x1, y1, x2, y2) follows the mouse: an x (index 0 or 2) or a y (1 or 3),
// snapped as the point on that side's middle.
bool TrackBoxSide(DocWindowRecord* doc, Float64 box[4], int side, SInt16 cursor) {
    const bool isX = side % 2 == 0;
    const Float64 start = box[side], across = isX ? (box[1] + box[3]) / 2 : (box[0] + box[2]) / 2;
    Float64 shown[4] = {box[0], box[1], box[2], box[3]};
    bool moved = FollowMouse(
        doc, cursor,
        [&](Float64 dx, Float64 dy) {
            Float64 x = isX ? start + dx : across, y = isX ? across : start + dy;
            Snap(doc, &x, &y);
            shown[side] = isX ? x : y;
        },
        [&] { DrawWorldRect(doc, shown[0], shown[1], shown[2], shown[3]); });
    if (moved) box[side] = shown[side];
    return moved;
}

} // namespace

Point MouseInDrawing(DocWindowRecord* doc, Float64* x, Float64* y) {
    const DrawingRecord* d = doc->drawing;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    Point mouse;
    GetMouse(&mouse);
    SetPort(saved);
    *x = mouse.h * d->view.unitsPerPixel + d->view.originX;
    *y = (d->view.viewHeight - mouse.v) * d->view.unitsPerPixel + d->view.originY;
    return mouse;
}

Float64 RotationStep(Float64 degrees) {
    return std::floor((degrees + 7.5) / 15.0) * 15.0;
}

void FrameQuad(DocWindowRecord* doc, const Float64 c[8]) {
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        DrawWorldLine(doc, c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1]);
    }
}

Boolean TrackDragOffset(DocWindowRecord* doc, SInt16 cursorId, Float64 fixedX, Float64 fixedY, Float64* x,
                        Float64* y, Boolean proportional, Float64 ratio) {
    const Float64 startX = *x, startY = *y;
    Float64 cx = startX, cy = startY;
    bool moved = FollowMouse(
        doc, cursorId,
        [&](Float64 dx, Float64 dy) {
            Float64 mx = startX + dx, my = startY + dy;
            Snap(doc, &mx, &my);
            CornerFor(mx, my, fixedX, fixedY, proportional, ratio, &cx, &cy);
        },
        [&] { DrawWorldRect(doc, fixedX, fixedY, cx, cy); });
    if (moved) *x = cx, *y = cy;
    return moved;
}

Boolean TrackPointDrag(DocWindowRecord* doc, Float64* x, Float64* y, Float64 anchorX, Float64 anchorY) {
    const Float64 startX = *x, startY = *y;
    Float64 px = startX, py = startY;
    bool moved = FollowMouse(
        doc, kArrowCursorId,
        [&](Float64 dx, Float64 dy) {
            px = startX + dx, py = startY + dy;
            Snap(doc, &px, &py);
        },
        [&] { DrawWorldLine(doc, anchorX, anchorY, px, py); });
    if (moved) *x = px, *y = py;
    return moved;
}

Boolean TrackVertexDrag(DocWindowRecord* doc, Float64* x, Float64* y, Float64 anchor1X, Float64 anchor1Y,
                        Float64 anchor2X, Float64 anchor2Y) {
    const Float64 startX = *x, startY = *y;
    Float64 px = startX, py = startY;
    bool moved = FollowMouse(
        doc, kArrowCursorId,
        [&](Float64 dx, Float64 dy) {
            px = startX + dx, py = startY + dy;
            Snap(doc, &px, &py);
        },
        [&] {
            DrawWorldLine(doc, anchor1X, anchor1Y, px, py);
            DrawWorldLine(doc, px, py, anchor2X, anchor2Y);
        });
    if (moved) *x = px, *y = py;
    return moved;
}

Boolean TrackLineMove(DocWindowRecord* doc, Float64 grabX, Float64 grabY, Float64 line[4]) {
    const Float64 d1 = (grabX - line[0]) * (grabX - line[0]) + (grabY - line[1]) * (grabY - line[1]);
    const Float64 d2 = (grabX - line[2]) * (grabX - line[2]) + (grabY - line[3]) * (grabY - line[3]);
    const int near = d2 < d1 ? 2 : 0;
    Float64 shown[4] = {line[0], line[1], line[2], line[3]};
    bool moved = FollowMouse(
        doc, kMoveCursor,
        [&](Float64 dx, Float64 dy) {
            Float64 nx = line[near] + dx, ny = line[near + 1] + dy;
            Snap(doc, &nx, &ny);
            Float64 mx = nx - line[near], my = ny - line[near + 1];
            shown[0] = line[0] + mx, shown[1] = line[1] + my, shown[2] = line[2] + mx,
            shown[3] = line[3] + my;
        },
        [&] { DrawWorldLine(doc, shown[0], shown[1], shown[2], shown[3]); });
    if (moved)
        for (int i = 0; i < 4; ++i)
            line[i] = shown[i];
    return moved;
}

Boolean TrackQuadMove(DocWindowRecord* doc, Float64 corners[8], Boolean snapCentre) {
    Float64 rx = corners[0], ry = corners[1];
    if (snapCentre) {
        rx = (corners[0] + corners[2] + corners[4] + corners[6]) / 4;
        ry = (corners[1] + corners[3] + corners[5] + corners[7]) / 4;
    }
    Float64 shown[8];
    CopyQuad(shown, corners);
    bool moved = FollowMouse(
        doc, kMoveCursor,
        [&](Float64 dx, Float64 dy) {
            Float64 nx = rx + dx, ny = ry + dy;
            Snap(doc, &nx, &ny);
            for (int i = 0; i < 4; ++i)
                shown[2 * i] = corners[2 * i] + (nx - rx), shown[2 * i + 1] = corners[2 * i + 1] + (ny - ry);
        },
        [&] { FrameQuad(doc, shown); });
    if (moved) CopyQuad(corners, shown);
    return moved;
}

Boolean TrackBoxMove(DocWindowRecord* doc, Float64 box[4], Boolean circle) {
    const Float64 rx = circle ? (box[0] + box[2]) / 2 : box[0], ry = circle ? (box[1] + box[3]) / 2 : box[1];
    Float64 shown[4] = {box[0], box[1], box[2], box[3]};
    bool moved = FollowMouse(
        doc, kMoveCursor,
        [&](Float64 dx, Float64 dy) {
            Float64 nx = rx + dx, ny = ry + dy;
            Snap(doc, &nx, &ny);
            Float64 mx = nx - rx, my = ny - ry;
            shown[0] = box[0] + mx, shown[1] = box[1] + my, shown[2] = box[2] + mx, shown[3] = box[3] + my;
        },
        [&] {
            DrawWorldRect(doc, shown[0], shown[1], shown[2], shown[3]);
            if (circle)
                DrawCircleChords(doc, (shown[0] + shown[2]) / 2, (shown[1] + shown[3]) / 2,
                                 std::fabs(shown[2] - shown[0]) / 2);
        });
    if (moved)
        for (int i = 0; i < 4; ++i)
            box[i] = shown[i];
    return moved;
}

Boolean TrackFramedMove(DocWindowRecord* doc, Float64* refX, Float64* refY, const Float64 box[4],
                        Boolean snapBoxCorner) {
    const Float64 sx = snapBoxCorner ? box[0] : *refX, sy = snapBoxCorner ? box[1] : *refY;
    Float64 mx = 0, my = 0;
    bool moved = FollowMouse(
        doc, kMoveCursor,
        [&](Float64 dx, Float64 dy) {
            Float64 nx = sx + dx, ny = sy + dy;
            Snap(doc, &nx, &ny);
            mx = nx - sx, my = ny - sy;
        },
        [&] { DrawWorldRect(doc, box[0] + mx, box[1] + my, box[2] + mx, box[3] + my); });
    if (moved) *refX += mx, *refY += my;
    return moved;
}

Boolean TrackBoxWidth(DocWindowRecord* doc, Float64 box[4], Boolean secondSide) {
    return TrackBoxSide(doc, box, secondSide ? 2 : 0, kWidthCursor);
}

Boolean TrackBoxHeight(DocWindowRecord* doc, Float64 box[4], Boolean secondSide) {
    return TrackBoxSide(doc, box, secondSide ? 3 : 1, kHeightCursor);
}

Boolean TrackQuadRotation(DocWindowRecord* doc, Float64 corners[8], SInt16 k, Float64* turned) {
    const Float64 cx = (corners[0] + corners[2] + corners[4] + corners[6]) / 4;
    const Float64 cy = (corners[1] + corners[3] + corners[5] + corners[7]) / 4;
    return RotateQuad(doc, kRotateCursor, cx, cy, corners, k, turned, 0, 0, false);
}

Boolean TrackRotationAboutPivot(DocWindowRecord* doc, Float64 pivotX, Float64 pivotY, Float64 corners[8],
                                SInt16 k, Float64 baseAngle, Float64* turned) {
    (void)baseAngle; // shown in the coordinate bar once there is one
    Float64 q[8];
    for (int i = 0; i < 4; ++i)
        q[2 * i] = corners[2 * i] + pivotX, q[2 * i + 1] = corners[2 * i + 1] + pivotY;
    if (!RotateQuad(doc, kRotateCursor, pivotX, pivotY, q, k, turned, pivotX, pivotY, true)) return false;
    for (int i = 0; i < 4; ++i)
        corners[2 * i] = q[2 * i] - pivotX, corners[2 * i + 1] = q[2 * i + 1] - pivotY;
    return true;
}

Boolean TrackFreeOffset(DocWindowRecord* doc, SInt16 cursorId, OffsetFeedback feedback, const void* user,
                        Float64* dx, Float64* dy) {
    Float64 mx = 0, my = 0;
    bool moved = FollowMouse(
        doc, cursorId, [&](Float64 ox, Float64 oy) { mx = ox, my = oy; },
        [&] { feedback(doc, mx, my, user); });
    if (moved) *dx = mx, *dy = my;
    return moved;
}

Boolean TrackRotatedShape(DocWindowRecord* doc, Float64 corners[8], SInt16 side) {
    if (side < 0 || side > 3) return false;
    const Float64 ox = corners[0], oy = corners[1];
    const Float64 theta = std::atan2(corners[3] - oy, corners[2] - ox);
    const int a = side, b = (side + 1) % 4;
    // The side's middle is where the mouse took hold of it.
    const Float64 gx = (corners[2 * a] + corners[2 * b]) / 2,
                  gy = (corners[2 * a + 1] + corners[2 * b + 1]) / 2;
    Float64 shown[8];
    CopyQuad(shown, corners);
    bool moved = FollowMouse(
        doc, -1,
        [&](Float64 dx, Float64 dy) {
            Float64 mx = gx + dx, my = gy + dy;
            Snap(doc, &mx, &my);
            CopyQuad(shown, corners);
            // In the shape's own axes about corner 0: sides 0 and 2 take the mouse's y, 1 and 3 its x.
            TurnQuad(shown, ox, oy, -theta);
            Turn(&mx, &my, ox, oy, -theta);
            const int axis = side % 2 == 0 ? 1 : 0;
            shown[2 * a + axis] = axis ? my : mx;
            shown[2 * b + axis] = axis ? my : mx;
            TurnQuad(shown, ox, oy, theta);
        },
        [&] { FrameQuad(doc, shown); });
    if (moved) CopyQuad(corners, shown);
    return moved;
}
