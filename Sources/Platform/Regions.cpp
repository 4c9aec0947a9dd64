// Region handles over Qt regions: set operations and tests, in the coordinates the caller uses.
#include "Platform/PlatformWindowInternal.h"

#include <QRegion>

struct OpaqueRgn {
    QRegion region;
};

namespace {
QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
} // namespace

QRegion& PlatformRegion(RgnHandle region) {
    return region->region;
}

RgnHandle NewRgn() {
    return new OpaqueRgn;
}

void DisposeRgn(RgnHandle region) {
    delete region;
}

void CopyRgn(RgnHandle source, RgnHandle destination) {
    if (source && destination) destination->region = source->region;
}

void SetEmptyRgn(RgnHandle region) {
    if (region) region->region = QRegion();
}

void SetRectRgn(RgnHandle region, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    if (!region) return;
    if (right <= left || bottom <= top)
        region->region = QRegion();
    else
        region->region = QRegion(left, top, right - left, bottom - top);
}

void RectRgn(RgnHandle region, const Rect* r) {
    if (r) SetRectRgn(region, r->left, r->top, r->right, r->bottom);
}

void OffsetRgn(RgnHandle region, SInt16 dh, SInt16 dv) {
    if (region) region->region.translate(dh, dv);
}

void InsetRgn(RgnHandle region, SInt16 dh, SInt16 dv) {
    if (!region) return;
    // Insetting by (dh, dv) keeps the points whose whole neighbourhood lies inside (or, for negative
    // values, adds the neighbourhood of every point).
    QRegion result;
    if (dh >= 0 && dv >= 0) {
        QRegion r = region->region;
        result = r;
        for (int x : {-dh, int(dh)})
            for (int y : {-dv, int(dv)})
                result &= r.translated(x, y);
    } else {
        result = region->region;
        for (int x : {int(dh), -dh})
            for (int y : {int(dv), -dv})
                result |= region->region.translated(x, y);
    }
    region->region = result;
}

void SectRgn(RgnHandle a, RgnHandle b, RgnHandle result) {
    if (a && b && result) result->region = a->region.intersected(b->region);
}

void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle result) {
    if (a && b && result) result->region = a->region.united(b->region);
}

void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle result) {
    if (a && b && result) result->region = a->region.subtracted(b->region);
}

void XorRgn(RgnHandle a, RgnHandle b, RgnHandle result) {
    if (a && b && result) result->region = a->region.xored(b->region);
}

Boolean EmptyRgn(RgnHandle region) {
    return !region || region->region.isEmpty();
}

Boolean EqualRgn(RgnHandle a, RgnHandle b) {
    return a && b && a->region == b->region;
}

Boolean PtInRgn(Point p, RgnHandle region) {
    return region && region->region.contains(QPoint(p.h, p.v));
}

Boolean RectInRgn(const Rect* r, RgnHandle region) {
    return r && region && region->region.intersects(ToQRect(*r));
}

Rect* GetRegionBounds(RgnHandle region, Rect* bounds) {
    if (!bounds) return bounds;
    *bounds = Rect{0, 0, 0, 0};
    if (!region || region->region.isEmpty()) return bounds;
    QRect b = region->region.boundingRect();
    *bounds =
        Rect{SInt16(b.top()), SInt16(b.left()), SInt16(b.top() + b.height()), SInt16(b.left() + b.width())};
    return bounds;
}
