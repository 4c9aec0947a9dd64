// QuickDraw's raster work: transfer modes over patterns, lines swept by the pen, rectangles, ovals,
// round rectangles, arcs and regions, pens and colours, and rectangle arithmetic. Every shape becomes a
// set of whole pixels first, so each pixel is touched once and XOR drawing is exactly undone by itself.
#include "Platform/QuickDrawInternal.h"

#include <QImage>
#include <QPolygon>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <map>

struct OpaquePixPat {
    RGBColor colour{0, 0, 0};
};

namespace {

struct ModeOp {
    int op; // 0 copy, 1 or, 2 xor, 3 bic
    bool invert;
    bool grayish;
};

ModeOp Decode(SInt16 mode) {
    if (mode >= patCopy && mode <= notPatBic) mode = SInt16(mode - patCopy);
    if (mode >= srcCopy && mode <= notSrcBic) return {mode & 3, (mode & 4) != 0, false};
    switch (mode) {
    case transparent:
        return {1, false, false};
    case grayishTextOr:
        return {1, false, true};
    case hilite:
        return {2, false, false};
    default:
        return {0, false, false};
    }
}

inline void Apply(UInt32& px, bool bit, const ModeOp& m, UInt32 fg, UInt32 bg) {
    if (m.invert) bit = !bit;
    switch (m.op) {
    case 0:
        px = bit ? fg : bg;
        break;
    case 1:
        if (bit) px = fg;
        break;
    case 2:
        if (bit) px ^= 0x00FFFFFF;
        break;
    default:
        if (bit) px = bg;
        break;
    }
}

UInt32 Blend(UInt32 a, UInt32 b) {
    UInt32 r = (((a >> 16) & 0xFF) + ((b >> 16) & 0xFF)) / 2;
    UInt32 g = (((a >> 8) & 0xFF) + ((b >> 8) & 0xFF)) / 2;
    UInt32 bl = ((a & 0xFF) + (b & 0xFF)) / 2;
    return 0xFF000000u | (r << 16) | (g << 8) | bl;
}

Rect BoundsOf(const QRegion& r) {
    QRect b = r.boundingRect();
    return Rect{SInt16(b.top()), SInt16(b.left()), SInt16(b.top() + b.height()),
                SInt16(b.left() + b.width())};
}

// A region from rows of intervals, each row's intervals sorted and merged.
QRegion RegionFromRows(std::map<int, std::vector<std::pair<int, int>>>& rows) {
    QList<QRect> rects;
    for (auto& [y, spans] : rows) {
        std::sort(spans.begin(), spans.end());
        int x0 = spans.front().first, x1 = spans.front().second;
        for (size_t i = 1; i < spans.size(); ++i) {
            if (spans[i].first <= x1) {
                x1 = std::max(x1, spans[i].second);
            } else {
                rects.append(QRect(x0, y, x1 - x0, 1));
                x0 = spans[i].first;
                x1 = spans[i].second;
            }
        }
        rects.append(QRect(x0, y, x1 - x0, 1));
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}

// A rectangle with elliptical corners of the given full width and height (an oval when they equal the
// rectangle's size): one interval per row, symmetric about the centre.
QRegion RoundRectRegion(const Rect& r, int ovalWidth, int ovalHeight) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return QRegion();
    double rx = std::min(ovalWidth, w) / 2.0, ry = std::min(ovalHeight, h) / 2.0;
    std::map<int, std::vector<std::pair<int, int>>> rows;
    for (int y = r.top; y < r.bottom; ++y) {
        double d = std::min(y + 0.5 - r.top, r.bottom - (y + 0.5));
        double inset = 0;
        if (ry > 0 && d < ry) {
            double t = (ry - d) / ry;
            inset = rx - rx * std::sqrt(std::max(0.0, 1 - t * t));
        }
        int x0 = int(std::lround(r.left + inset)), x1 = int(std::lround(r.right - inset));
        if (x1 > x0) rows[y].push_back({x0, x1});
    }
    if (rows.empty()) return QRegion();
    return RegionFromRows(rows);
}

QRegion OvalRegion(const Rect& r) {
    return RoundRectRegion(r, r.right - r.left, r.bottom - r.top);
}

Rect Inset(const Rect& r, int dh, int dv) {
    return Rect{SInt16(r.top + dv), SInt16(r.left + dh), SInt16(r.bottom - dv), SInt16(r.right - dh)};
}

// The wedge from startAngle over arcAngle degrees (0 at 12 o'clock, clockwise), the angles measured
// against the rectangle so that 45 degrees points at its corner.
QRegion WedgeRegion(const Rect& r, int startAngle, int arcAngle) {
    if (arcAngle >= 360 || arcAngle <= -360) return RegionOfRect(r);
    double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    double ax = (r.right - r.left) * 2.0, ay = (r.bottom - r.top) * 2.0;
    QPolygon poly;
    poly << QPoint(int(std::lround(cx)), int(std::lround(cy)));
    int steps = std::max(1, std::abs(arcAngle) / 5);
    for (int i = 0; i <= steps; ++i) {
        double a = (startAngle + arcAngle * double(i) / steps) * M_PI / 180.0;
        poly << QPoint(int(std::lround(cx + std::sin(a) * ax)), int(std::lround(cy - std::cos(a) * ay)));
    }
    return QRegion(poly, Qt::WindingFill);
}

struct PenPaint {
    Pattern pattern;
    SInt16 mode;
    RGBColor fg;
};

PenPaint PenOf(GrafPtr port) {
    if (port->penIsPixPat)
        return {Pattern{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}, port->penMode, port->penPixColour};
    return {port->penPat, port->penMode, port->fgColour};
}

// Pen-drawn shapes (frames, paints, lines) are skipped while the pen is hidden.
void PenShape(const QRegion& shape) {
    GrafPtr port = CurrentPort();
    if (!port || port->penHidden > 0) return;
    PenPaint p = PenOf(port);
    PaintShape(port, shape, p.pattern, p.mode, p.fg, port->bgColour);
}

void EraseShape(const QRegion& shape) {
    GrafPtr port = CurrentPort();
    if (port) PaintShape(port, shape, port->bkPat, patCopy, port->fgColour, port->bgColour);
}

void InvertShape(const QRegion& shape) {
    GrafPtr port = CurrentPort();
    Pattern black;
    GetQDGlobalsBlack(&black);
    if (port) PaintShape(port, shape, black, patXor, port->fgColour, port->bgColour);
}

void FillShape(const QRegion& shape, const Pattern* pattern) {
    GrafPtr port = CurrentPort();
    if (port && pattern) PaintShape(port, shape, *pattern, patCopy, port->fgColour, port->bgColour);
}

QRegion FrameRegion(const QRegion& outer, const QRegion& inner) {
    return outer.subtracted(inner);
}

QRegion PenFrameOfRoundRect(const Rect& r, int ow, int oh) {
    GrafPtr port = CurrentPort();
    int ph = port ? port->penSize.h : 1, pv = port ? port->penSize.v : 1;
    Rect in = Inset(r, ph, pv);
    QRegion outer = RoundRectRegion(r, ow, oh);
    if (in.right <= in.left || in.bottom <= in.top) return outer;
    return FrameRegion(outer, RoundRectRegion(in, std::max(0, ow - 2 * ph), std::max(0, oh - 2 * pv)));
}

void SetColourFromClassic(RGBColor* c, SInt32 classic) {
    switch (classic) {
    case whiteColor:
        *c = {0xFFFF, 0xFFFF, 0xFFFF};
        break;
    case redColor:
        *c = {0xFFFF, 0, 0};
        break;
    case greenColor:
        *c = {0, 0xFFFF, 0};
        break;
    case blueColor:
        *c = {0, 0, 0xFFFF};
        break;
    case cyanColor:
        *c = {0, 0xFFFF, 0xFFFF};
        break;
    case magentaColor:
        *c = {0xFFFF, 0, 0xFFFF};
        break;
    case yellowColor:
        *c = {0xFFFF, 0xFFFF, 0};
        break;
    default:
        *c = {0, 0, 0};
        break;
    }
}

} // namespace

// Raster core.

QRegion RegionOfRect(const Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return QRegion();
    return QRegion(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

QRegion PortDrawableRegion(GrafPtr port) {
    return PlatformRegion(port->clipRgn)
        .intersected(PlatformRegion(port->visRgn))
        .intersected(RegionOfRect(port->portRect));
}

UInt32 PortPixel(GrafPtr port, const RGBColor& c) {
    UInt32 r = c.red >> 8, g = c.green >> 8, b = c.blue >> 8;
    if (port->depth <= 8) {
        UInt32 grey = (r * 299 + g * 587 + b * 114 + 500) / 1000;
        r = g = b = grey;
    }
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void PaintShape(GrafPtr port, const QRegion& shape, const Pattern& pattern, SInt16 mode, const RGBColor& fg,
                const RGBColor& bg) {
    QRegion area = shape.intersected(PortDrawableRegion(port));
    if (area.isEmpty()) return;
    ModeOp m = Decode(mode);
    UInt32 fgp = PortPixel(port, fg), bgp = PortPixel(port, bg);
    if (m.grayish) fgp = Blend(fgp, bgp);
    QImage& image = *port->image;
    int ox = port->portRect.left, oy = port->portRect.top;
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<UInt32*>(image.scanLine(y - oy));
            UInt8 bits = pattern.pat[y & 7];
            for (int x = r.left(); x <= r.right(); ++x)
                Apply(row[x - ox], (bits >> (7 - (x & 7))) & 1, m, fgp, bgp);
        }
    }
    Rect changed = BoundsOf(area);
    PlatformPortChanged(port, &changed);
}

void PaintMask(GrafPtr port, const QImage& mask, const QPoint& origin, SInt16 mode, const RGBColor& fg,
               const RGBColor& bg) {
    QRegion area = QRegion(QRect(origin, mask.size())).intersected(PortDrawableRegion(port));
    if (area.isEmpty()) return;
    ModeOp m = Decode(mode);
    UInt32 fgp = PortPixel(port, fg), bgp = PortPixel(port, bg);
    if (m.grayish) fgp = Blend(fgp, bgp);
    QImage& image = *port->image;
    int ox = port->portRect.left, oy = port->portRect.top;
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* row = reinterpret_cast<UInt32*>(image.scanLine(y - oy));
            auto* mrow = reinterpret_cast<const UInt32*>(mask.constScanLine(y - origin.y()));
            for (int x = r.left(); x <= r.right(); ++x) {
                bool bit = qAlpha(mrow[x - origin.x()]) >= 128;
                // Text draws only its glyphs; copy mode's background is drawn apart by the caller.
                if (bit || m.op != 0) Apply(row[x - ox], bit, m, fgp, bgp);
            }
        }
    }
    Rect changed = BoundsOf(area);
    PlatformPortChanged(port, &changed);
}

// Rectangle and point arithmetic.

void SetRect(Rect* r, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    if (r) *r = Rect{top, left, bottom, right};
}

void OffsetRect(Rect* r, SInt16 dh, SInt16 dv) {
    if (!r) return;
    r->left = SInt16(r->left + dh);
    r->right = SInt16(r->right + dh);
    r->top = SInt16(r->top + dv);
    r->bottom = SInt16(r->bottom + dv);
}

void InsetRect(Rect* r, SInt16 dh, SInt16 dv) {
    if (!r) return;
    *r = Inset(*r, dh, dv);
    if (r->right <= r->left || r->bottom <= r->top) *r = Rect{0, 0, 0, 0};
}

Boolean SectRect(const Rect* a, const Rect* b, Rect* result) {
    Rect r{std::max(a->top, b->top), std::max(a->left, b->left), std::min(a->bottom, b->bottom),
           std::min(a->right, b->right)};
    bool any = r.right > r.left && r.bottom > r.top;
    if (result) *result = any ? r : Rect{0, 0, 0, 0};
    return any;
}

void UnionRect(const Rect* a, const Rect* b, Rect* result) {
    if (!result) return;
    if (EmptyRect(a)) {
        *result = *b;
        return;
    }
    if (EmptyRect(b)) {
        *result = *a;
        return;
    }
    *result = Rect{std::min(a->top, b->top), std::min(a->left, b->left), std::max(a->bottom, b->bottom),
                   std::max(a->right, b->right)};
}

Boolean PtInRect(Point p, const Rect* r) {
    return r && p.h >= r->left && p.h < r->right && p.v >= r->top && p.v < r->bottom;
}

Boolean EqualRect(const Rect* a, const Rect* b) {
    return a->top == b->top && a->left == b->left && a->bottom == b->bottom && a->right == b->right;
}

Boolean EmptyRect(const Rect* r) {
    return !r || r->right <= r->left || r->bottom <= r->top;
}

void Pt2Rect(Point a, Point b, Rect* result) {
    if (result)
        *result = Rect{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
}

void SetPt(Point* p, SInt16 h, SInt16 v) {
    if (p) *p = Point{v, h};
}

Boolean EqualPt(Point a, Point b) {
    return a.h == b.h && a.v == b.v;
}

void AddPt(Point src, Point* dst) {
    if (!dst) return;
    dst->h = SInt16(dst->h + src.h);
    dst->v = SInt16(dst->v + src.v);
}

void SubPt(Point src, Point* dst) {
    if (!dst) return;
    dst->h = SInt16(dst->h - src.h);
    dst->v = SInt16(dst->v - src.v);
}

// Pen and colours.

void PenSize(SInt16 width, SInt16 height) {
    if (GrafPtr p = CurrentPort()) p->penSize = Point{height, width};
}

void PenMode(SInt16 mode) {
    if (GrafPtr p = CurrentPort()) p->penMode = mode;
}

void PenPat(const Pattern* pattern) {
    GrafPtr p = CurrentPort();
    if (!p || !pattern) return;
    p->penPat = *pattern;
    p->penIsPixPat = false;
}

void PenNormal() {
    GrafPtr p = CurrentPort();
    if (!p) return;
    p->penSize = Point{1, 1};
    p->penMode = patCopy;
    GetQDGlobalsBlack(&p->penPat);
    p->penIsPixPat = false;
}

void HidePen() {
    if (GrafPtr p = CurrentPort()) ++p->penHidden;
}

void ShowPen() {
    if (GrafPtr p = CurrentPort()) --p->penHidden;
}

void GetPen(Point* location) {
    GrafPtr p = CurrentPort();
    if (location) *location = p ? p->penLoc : Point{0, 0};
}

void GetPenState(PenState* state) {
    GrafPtr p = CurrentPort();
    if (!state || !p) return;
    *state = PenState{p->penLoc, p->penSize, p->penMode, p->penPat};
}

void SetPenState(const PenState* state) {
    GrafPtr p = CurrentPort();
    if (!state || !p) return;
    p->penLoc = state->pnLoc;
    p->penSize = state->pnSize;
    p->penMode = state->pnMode;
    p->penPat = state->pnPat;
    p->penIsPixPat = false;
}

void BackPat(const Pattern* pattern) {
    GrafPtr p = CurrentPort();
    if (p && pattern) p->bkPat = *pattern;
}

static Pattern* Fill(Pattern* p, UInt8 even, UInt8 odd) {
    if (p)
        for (int i = 0; i < 8; ++i)
            p->pat[i] = (i & 1) ? odd : even;
    return p;
}

Pattern* GetQDGlobalsBlack(Pattern* pattern) {
    return Fill(pattern, 0xFF, 0xFF);
}
Pattern* GetQDGlobalsWhite(Pattern* pattern) {
    return Fill(pattern, 0x00, 0x00);
}
Pattern* GetQDGlobalsGray(Pattern* pattern) {
    return Fill(pattern, 0xAA, 0x55);
}
Pattern* GetQDGlobalsLightGray(Pattern* pattern) {
    return Fill(pattern, 0x88, 0x22);
}
Pattern* GetQDGlobalsDarkGray(Pattern* pattern) {
    return Fill(pattern, 0x77, 0xDD);
}

void RGBForeColor(const RGBColor* colour) {
    GrafPtr p = CurrentPort();
    if (p && colour) p->fgColour = *colour;
}

void RGBBackColor(const RGBColor* colour) {
    GrafPtr p = CurrentPort();
    if (p && colour) p->bgColour = *colour;
}

void GetForeColor(RGBColor* colour) {
    GrafPtr p = CurrentPort();
    if (colour) *colour = p ? p->fgColour : RGBColor{0, 0, 0};
}

void GetBackColor(RGBColor* colour) {
    GrafPtr p = CurrentPort();
    if (colour) *colour = p ? p->bgColour : RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
}

void ForeColor(SInt32 colour) {
    if (GrafPtr p = CurrentPort()) SetColourFromClassic(&p->fgColour, colour);
}

void BackColor(SInt32 colour) {
    if (GrafPtr p = CurrentPort()) SetColourFromClassic(&p->bgColour, colour);
}

PixPatHandle NewPixPat() {
    return new OpaquePixPat;
}

void DisposePixPat(PixPatHandle pixPat) {
    delete pixPat;
}

void MakeRGBPat(PixPatHandle pixPat, const RGBColor* colour) {
    if (pixPat && colour) pixPat->colour = *colour;
}

void PenPixPat(PixPatHandle pixPat) {
    GrafPtr p = CurrentPort();
    if (!p || !pixPat) return;
    p->penIsPixPat = true;
    p->penPixColour = pixPat->colour;
}

void FillCRect(const Rect* r, PixPatHandle pixPat) {
    GrafPtr p = CurrentPort();
    Pattern black;
    if (p && r && pixPat)
        PaintShape(p, RegionOfRect(*r), *GetQDGlobalsBlack(&black), patCopy, pixPat->colour, p->bgColour);
}

void FillCOval(const Rect* r, PixPatHandle pixPat) {
    GrafPtr p = CurrentPort();
    Pattern black;
    if (p && r && pixPat)
        PaintShape(p, OvalRegion(*r), *GetQDGlobalsBlack(&black), patCopy, pixPat->colour, p->bgColour);
}

// Lines.

void MoveTo(SInt16 h, SInt16 v) {
    if (GrafPtr p = CurrentPort()) p->penLoc = Point{v, h};
}

void Move(SInt16 dh, SInt16 dv) {
    if (GrafPtr p = CurrentPort()) p->penLoc = Point{SInt16(p->penLoc.v + dv), SInt16(p->penLoc.h + dh)};
}

void LineTo(SInt16 h, SInt16 v) {
    GrafPtr p = CurrentPort();
    if (!p) return;
    Point from = p->penLoc;
    p->penLoc = Point{v, h};
    int pw = p->penSize.h, ph = p->penSize.v;
    if (pw <= 0 || ph <= 0 || p->penHidden > 0) return;
    // The pen rectangle swept along the line's pixels, both ends included.
    std::map<int, std::vector<std::pair<int, int>>> rows;
    int x0 = from.h, y0 = from.v, x1 = h, y1 = v;
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        for (int row = y0; row < y0 + ph; ++row)
            rows[row].push_back({x0, x0 + pw});
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    PenShape(RegionFromRows(rows));
}

void Line(SInt16 dh, SInt16 dv) {
    GrafPtr p = CurrentPort();
    if (p) LineTo(SInt16(p->penLoc.h + dh), SInt16(p->penLoc.v + dv));
}

// Shapes.

void FrameRect(const Rect* r) {
    if (r) PenShape(PenFrameOfRoundRect(*r, 0, 0));
}

void PaintRect(const Rect* r) {
    if (r) PenShape(RegionOfRect(*r));
}

void EraseRect(const Rect* r) {
    if (r) EraseShape(RegionOfRect(*r));
}

void InvertRect(const Rect* r) {
    if (r) InvertShape(RegionOfRect(*r));
}

void FillRect(const Rect* r, const Pattern* pattern) {
    if (r) FillShape(RegionOfRect(*r), pattern);
}

void FrameOval(const Rect* r) {
    if (r) PenShape(PenFrameOfRoundRect(*r, r->right - r->left, r->bottom - r->top));
}

void PaintOval(const Rect* r) {
    if (r) PenShape(OvalRegion(*r));
}

void EraseOval(const Rect* r) {
    if (r) EraseShape(OvalRegion(*r));
}

void InvertOval(const Rect* r) {
    if (r) InvertShape(OvalRegion(*r));
}

void FillOval(const Rect* r, const Pattern* pattern) {
    if (r) FillShape(OvalRegion(*r), pattern);
}

void FrameRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight) {
    if (r) PenShape(PenFrameOfRoundRect(*r, ovalWidth, ovalHeight));
}

void PaintRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight) {
    if (r) PenShape(RoundRectRegion(*r, ovalWidth, ovalHeight));
}

void EraseRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight) {
    if (r) EraseShape(RoundRectRegion(*r, ovalWidth, ovalHeight));
}

void InvertRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight) {
    if (r) InvertShape(RoundRectRegion(*r, ovalWidth, ovalHeight));
}

void FrameArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle) {
    if (r)
        PenShape(PenFrameOfRoundRect(*r, r->right - r->left, r->bottom - r->top) &
                 WedgeRegion(*r, startAngle, arcAngle));
}

void PaintArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle) {
    if (r) PenShape(OvalRegion(*r) & WedgeRegion(*r, startAngle, arcAngle));
}

void EraseArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle) {
    if (r) EraseShape(OvalRegion(*r) & WedgeRegion(*r, startAngle, arcAngle));
}

void InvertArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle) {
    if (r) InvertShape(OvalRegion(*r) & WedgeRegion(*r, startAngle, arcAngle));
}

// Regions drawn.

void FrameRgn(RgnHandle region) {
    GrafPtr p = CurrentPort();
    if (!region || !p) return;
    RgnHandle inner = NewRgn();
    CopyRgn(region, inner);
    InsetRgn(inner, p->penSize.h, p->penSize.v);
    PenShape(PlatformRegion(region).subtracted(PlatformRegion(inner)));
    DisposeRgn(inner);
}

void PaintRgn(RgnHandle region) {
    if (region) PenShape(PlatformRegion(region));
}

void EraseRgn(RgnHandle region) {
    if (region) EraseShape(PlatformRegion(region));
}

void InvertRgn(RgnHandle region) {
    if (region) InvertShape(PlatformRegion(region));
}

void FillRgn(RgnHandle region, const Pattern* pattern) {
    if (region) FillShape(PlatformRegion(region), pattern);
}

// Clipping.

void ClipRect(const Rect* r) {
    GrafPtr p = CurrentPort();
    if (p && r) RectRgn(p->clipRgn, r);
}

void SetClip(RgnHandle region) {
    GrafPtr p = CurrentPort();
    if (p && region) CopyRgn(region, p->clipRgn);
}

void GetClip(RgnHandle region) {
    GrafPtr p = CurrentPort();
    if (p && region) CopyRgn(p->clipRgn, region);
}

RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle region) {
    if (port && region) CopyRgn(port->visRgn, region);
    return region;
}
