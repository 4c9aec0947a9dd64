// World-to-view mapping, device bounds and the segment clip.
#include "View/ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Output areas of unknown size are treated as this large; dashing and chords stay bounded.
constexpr Float64 kUnboundedDevice = 1.0e5;

SInt16 ClampToShort(Float64 v) {
    if (!(v > -32767.0)) return -32767; // NaN too
    if (v > 32767.0) return 32767;
    return SInt16(v);
}

} // namespace

void WorldToView(const DocWindowRecord* doc, Float64 x, Float64 y, Float64* qdX, Float64* qdY, Float64* cgX,
                 Float64* cgY) {
    const DrawingRecord* d = doc->drawing;
    Float64 qx, qy, cx, cy;
    if (d->output.outputContext == nullptr) {
        qx = (x - d->view.originX) / d->view.unitsPerPixel;
        Float64 up = (y - d->view.originY) / d->view.unitsPerPixel;
        qy = d->view.viewHeight - up;
        cx = qx;
        cy = (d->layout.statusHeight + kScrollBarWidth) + up;
    } else {
        qx = cx = x * d->output.outputScaleX - d->output.outputOffsetX;
        qy = d->output.outputFlipY - y * d->output.outputScaleY;
        cy = y * d->output.outputScaleY - d->output.outputOffsetY;
    }
    if (qdX && qdY) {
        *qdX = qx;
        *qdY = qy;
    }
    if (cgX) *cgX = cx;
    if (cgY) *cgY = cy;
}

void WorldToViewInt(const DocWindowRecord* doc, Float64 x, Float64 y, SInt16* qdH, SInt16* qdV, Float64* cgX,
                    Float64* cgY) {
    const DrawingRecord* d = doc->drawing;
    Float64 qx, qy;
    WorldToView(doc, x, y, &qx, &qy, cgX, cgY);
    if (!qdH || !qdV) return;
    *qdH = ClampToShort(std::round(qx));
    if (d->output.outputContext == nullptr)
        *qdV = ClampToShort(d->view.viewHeight - std::round((y - d->view.originY) / d->view.unitsPerPixel));
    else
        *qdV = ClampToShort(std::round(qy));
}

Float64 WorldToDeviceLength(const DocWindowRecord* doc, Float64 length) {
    const DrawingRecord* d = doc->drawing;
    return d->output.outputContext == nullptr ? length / d->view.unitsPerPixel
                                              : length * d->output.outputScaleX;
}

void DeviceBounds(const DocWindowRecord* doc, Float64* width, Float64* height) {
    const DrawingRecord* d = doc->drawing;
    if (d->output.outputContext == nullptr) {
        *width = d->view.viewWidth;
        *height = d->view.viewHeight + d->layout.statusHeight + kScrollBarWidth;
        return;
    }
    Float64 w = d->output.outputColumnRight - d->output.outputOffsetX;
    Float64 h = d->output.outputFlipY - d->output.outputOffsetY;
    *width = w > 0 ? w : kUnboundedDevice;
    *height = h > 0 ? h : kUnboundedDevice;
}

void VisibleWorldRect(const DocWindowRecord* doc, Float64* minX, Float64* minY, Float64* maxX,
                      Float64* maxY) {
    const DrawingRecord* d = doc->drawing;
    if (d->output.outputContext == nullptr) {
        *minX = d->view.visibleMinX;
        *minY = d->view.visibleMinY;
        *maxX = d->view.visibleMaxX;
        *maxY = d->view.visibleMaxY;
        return;
    }
    constexpr Float64 kInf = std::numeric_limits<Float64>::infinity();
    *minX = *minY = -kInf;
    *maxX = *maxY = kInf;
    if (d->output.outputScaleX > 0 && d->output.outputColumnRight > d->output.outputOffsetX) {
        *minX = d->output.outputOffsetX / d->output.outputScaleX;
        *maxX = d->output.outputColumnRight / d->output.outputScaleX;
    }
    if (d->output.outputScaleY > 0 && d->output.outputFlipY > d->output.outputOffsetY) {
        *minY = d->output.outputOffsetY / d->output.outputScaleY;
        *maxY = d->output.outputFlipY / d->output.outputScaleY;
    }
}

Boolean WorldBoxVisible(const DocWindowRecord* doc, Float64 minX, Float64 minY, Float64 maxX, Float64 maxY) {
    Float64 vx1, vy1, vx2, vy2;
    VisibleWorldRect(doc, &vx1, &vy1, &vx2, &vy2);
    return maxX >= vx1 && minX <= vx2 && maxY >= vy1 && minY <= vy2;
}

namespace {

int Outcode(Float64 x, Float64 y, Float64 w, Float64 h) {
    int code = 0;
    if (x <= 0) code |= 1;
    if (x >= w) code |= 2;
    if (y <= 0) code |= 4;
    if (y >= h) code |= 8;
    return code;
}

struct Candidates {
    Float64 x[10], y[10];
    int n = 0;
    void Add(Float64 px, Float64 py) {
        x[n] = px;
        y[n] = py;
        ++n;
    }
};

// The crossings of the segment's line with the sides an end lies beyond, in the order x = 0, x = W,
// y = 0, y = H.
void AddCrossings(Candidates& c, Float64 ex, Float64 ey, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                  Float64 w, Float64 h) {
    auto crossX = [&](Float64 v) { c.Add(v, y2 + (v - x2) * (y2 - y1) / (x2 - x1)); };
    auto crossY = [&](Float64 v) { c.Add(x2 + (v - y2) * (x2 - x1) / (y2 - y1), v); };
    if (ex <= 0) crossX(0);
    if (ex >= w) crossX(w);
    if (ey <= 0) crossY(0);
    if (ey >= h) crossY(h);
}

} // namespace

Boolean ClipSegmentToPort(Float64* x1, Float64* y1, Float64* x2, Float64* y2, Float64 w, Float64 h) {
    Float64 ax = *x1, ay = *y1, bx = *x2, by = *y2;
    if (!(std::isfinite(ax) && std::isfinite(ay) && std::isfinite(bx) && std::isfinite(by))) return false;
    // Four comparisons before any division: far-off geometry costs nothing more.
    if ((ay < 0 && by < 0) || (ay > h && by > h) || (ax < 0 && bx < 0) || (ax > w && bx > w)) return false;
    int codeA = Outcode(ax, ay, w, h), codeB = Outcode(bx, by, w, h);
    if (codeA == 0 && codeB == 0) return true;
    if (codeA & codeB) return false;
    Candidates c;
    if (codeA == 0) c.Add(ax, ay);
    AddCrossings(c, ax, ay, ax, ay, bx, by, w, h);
    if (codeB == 0) c.Add(bx, by);
    AddCrossings(c, bx, by, ax, ay, bx, by, w, h);
    int kept = 0;
    Float64 sx = 0, sy = 0, ex = 0, ey = 0;
    for (int i = 0; i < c.n; ++i) {
        if (!(c.x[i] >= 0 && c.x[i] <= w && c.y[i] >= 0 && c.y[i] <= h)) continue;
        if (kept == 0) {
            sx = c.x[i];
            sy = c.y[i];
        } else {
            ex = c.x[i];
            ey = c.y[i];
        }
        ++kept;
    }
    // A segment through a corner only gives the corner, maybe several times: nothing to draw.
    if (kept < 2 || (std::fabs(sx - ex) < 1e-7 && std::fabs(sy - ey) < 1e-7)) return false;
    *x1 = sx;
    *y1 = sy;
    *x2 = ex;
    *y2 = ey;
    return true;
}
