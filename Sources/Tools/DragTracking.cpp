// Tracking loops over the polling calls, so queued drags drive them as a user's hand would.
#include "Tools/DragTracking.h"

#include "Model/DocumentRecords.h"
#include "Other/CursorsAndMouse.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "View/ViewStrokes.h"

#include <algorithm>
#include <cmath>

namespace {

// Window pixels of a world point, with the mapping clicks are picked with.
Point ToPixel(const DrawingRecord* d, Float64 x, Float64 y) {
    Float64 s = d->view.unitsPerPixel;
    auto clamp = [](Float64 v) { return SInt16(std::clamp(std::lround(v), -32000L, 32000L)); };
    return Point{clamp(d->view.viewHeight - (y - d->view.originY) / s), clamp((x - d->view.originX) / s)};
}

void XorBox(DocWindowRecord* doc, Point a, Point b) {
    Rect r;
    SetRect(&r, std::min(a.h, b.h), std::min(a.v, b.v), SInt16(std::max(a.h, b.h) + 1),
            SInt16(std::max(a.v, b.v) + 1));
    XorOnWindowPort port(doc);
    FrameRect(&r);
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

} // namespace

Boolean TrackDragOffset(DocWindowRecord* doc, SInt16 cursorId, Float64 fixedX, Float64 fixedY, Float64* x,
                        Float64* y, Boolean proportional, Float64 ratio) {
    if (doc == nullptr || doc->window == nullptr) return false;
    DrawingRecord* d = doc->drawing;
    SetCursorById(cursorId);
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    const Float64 s = d->view.unitsPerPixel, startX = *x, startY = *y;
    Point start, now;
    GetMouse(&start);
    now = start;
    Point fixed = ToPixel(d, fixedX, fixedY), shownCorner{};
    bool drawn = false;
    Float64 cx = startX, cy = startY;
    while (StillDown()) {
        Point mouse;
        GetMouse(&mouse);
        if (drawn && mouse.h == now.h && mouse.v == now.v) continue;
        now = mouse;
        CornerFor(startX + (now.h - start.h) * s, startY - (now.v - start.v) * s, fixedX, fixedY,
                  proportional, ratio, &cx, &cy);
        if (drawn) XorBox(doc, fixed, shownCorner);
        shownCorner = ToPixel(d, cx, cy);
        XorBox(doc, fixed, shownCorner);
        drawn = true;
    }
    if (drawn) XorBox(doc, fixed, shownCorner);
    SetPort(saved);
    // The release may come where no move was read.
    Point last;
    GetMouse(&last);
    if (last.h != now.h || last.v != now.v) {
        now = last;
        CornerFor(startX + (now.h - start.h) * s, startY - (now.v - start.v) * s, fixedX, fixedY,
                  proportional, ratio, &cx, &cy);
    }
    bool moved = now.h != start.h || now.v != start.v;
    if (moved) *x = cx, *y = cy;
    return moved;
}
