// World primitives handed to the pass's output device, the raster device, and the rubber-band point list.
#include "View/WorldPrimitives.h"
#include "Other/MathPrimitives.h"
#include "View/ContentPasses.h"
#include "View/DrawCallRecorder.h"
#include "View/ElementDrawing.h"
#include "View/LargeArcs.h"
#include "Platform/MemoryManager.h"
#include "View/RasterOutput.h"
#include "Platform/PointerBlocks.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The most chords an ellipse is drawn with.
constexpr int kMaxChords = 100000;

bool OnScreen(const DocWindowRecord* doc) {
    return doc->drawing->output.outputContext == nullptr;
}

bool XorFeedback(const DocWindowRecord* doc) {
    return OnScreen(doc) && doc->drawing->output.paintMode == kPaintXor;
}

Float64 PortHeight(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    return d->view.viewHeight + d->layout.statusHeight + kScrollBarWidth;
}

// A line between CoreGraphics points drawn in XOR on the port, clipped to the drawing area first.
void XorLineCG(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    const DrawingRecord* d = doc->drawing;
    Float64 h = PortHeight(doc);
    // QuickDraw points, shifted by one so the area's edge pixels stay inside the clip rectangle.
    Float64 ax = x1 + 1, ay = h - y1 + 1, bx = x2 + 1, by = h - y2 + 1;
    if (!ClipSegmentToPort(&ax, &ay, &bx, &by, d->view.viewWidth + 2.0, d->view.viewHeight + 2.0)) return;
    DrawXorLine(doc, SInt16(std::lround(ax - 1)), SInt16(std::lround(ay - 1)), SInt16(std::lround(bx - 1)),
                SInt16(std::lround(by - 1)));
}

// Angle step of chords of radius r within the tolerance.
Float64 ChordStep(Float64 r, Float64 tolerance) {
    if (r <= tolerance) return kTwoPi / 8;
    Float64 step = 2 * std::acos(1 - tolerance / r);
    return std::clamp(step, 1e-12, kTwoPi / 8);
}

// Arc angles in radians with the end after the start; a run of 360 degrees or more is the circle.
void ArcRadians(Float64 startAngle, Float64 endAngle, Float64* a0, Float64* a1) {
    Float64 sweep = endAngle - startAngle;
    if (sweep >= 360.0)
        sweep = 360.0;
    else {
        sweep = std::fmod(sweep, 360.0);
        if (sweep < 0) sweep += 360.0;
    }
    *a0 = startAngle * kDegreesToRadians;
    *a1 = *a0 + sweep * kDegreesToRadians;
}

// The ellipse inscribed in a quadrilateral: centre, half axes, rotation and the arc's angles (radians).
struct EllipseAxes {
    Float64 mx, my, a, b, cr, sr, a0, a1;
};

EllipseAxes EllipseOfQuad(const Float64 c[8], Float64 startAngle, Float64 endAngle) {
    EllipseAxes e;
    e.mx = (c[0] + c[2] + c[4] + c[6]) / 4, e.my = (c[1] + c[3] + c[5] + c[7]) / 4;
    Float64 rotation = std::atan2(c[3] - c[1], c[2] - c[0]);
    if (rotation < 0) rotation += kTwoPi;
    e.a = std::hypot(c[2] - c[0], c[3] - c[1]) / 2;
    e.b = std::hypot(c[4] - c[2], c[5] - c[3]) / 2;
    ArcRadians(startAngle, endAngle, &e.a0, &e.a1);
    e.cr = std::cos(rotation), e.sr = std::sin(rotation);
    return e;
}

RasterOutput gRaster;

} // namespace

OutputDevice& Output(DocWindowRecord* doc) {
    OutputDevice* device = doc->drawing->output.device;
    return device ? *device : gRaster;
}

PlotReceiver* PlotTarget(const DocWindowRecord* doc) {
    OutputDevice* device = doc->drawing->output.device;
    return device ? device->Plotter() : nullptr;
}

void BeginPlotPass(DocWindowRecord* doc, PlotReceiver* writer) {
    doc->drawing->output.device = writer;
}

void EndPlotPass(DocWindowRecord* doc) {
    doc->drawing->output.device = nullptr;
}

void PlotReceiver::Line(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    PlotLine(doc, x1, y1, x2, y2, 1);
}

void PlotReceiver::Disc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius) {
    PlotCircle(doc, x, y, radius, 0, 360, 1);
}

void PlotReceiver::Arc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
                       Float64 endAngle) {
    PlotCircle(doc, x, y, radius, startAngle, endAngle, 1);
}

void PlotReceiver::EllipseInQuad(DocWindowRecord* doc, const Float64 c[8], Float64 startAngle,
                                 Float64 endAngle) {
    EllipseAxes e = EllipseOfQuad(c, startAngle, endAngle);
    Float64 tol = std::max(doc->settings->chordTolerance, 1e-6);
    int n = std::clamp(int(std::ceil((e.a1 - e.a0) / ChordStep(std::max(e.a, e.b), tol))), 1, kMaxChords);
    Float64 px = 0, py = 0;
    for (int i = 0; i <= n; ++i) {
        Float64 t = e.a0 + (e.a1 - e.a0) * i / n;
        Float64 ex = e.a * std::cos(t), ey = e.b * std::sin(t);
        Float64 x = e.mx + ex * e.cr - ey * e.sr, y = e.my + ex * e.sr + ey * e.cr;
        if (i > 0) PlotLine(doc, px, py, x, y, doc->drawing->output.lineMode);
        px = x, py = y;
    }
}

void PlotReceiver::FilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1,
                                  Float64 x2, Float64 y2) {
    Line(doc, tipX, tipY, x1, y1);
    Line(doc, x1, y1, x2, y2);
    Line(doc, x2, y2, tipX, tipY);
}

void PlotReceiver::Text(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16, SInt16,
                        Float64 height, Float64 angle, Float64) {
    PlotText(doc, x, y, text, height, angle);
}

void DrawWorldLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    Output(doc).Line(doc, x1, y1, x2, y2);
}

void DrawWorldRect(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    DrawWorldLine(doc, x1, y1, x2, y1);
    DrawWorldLine(doc, x2, y1, x2, y2);
    DrawWorldLine(doc, x2, y2, x1, y2);
    DrawWorldLine(doc, x1, y2, x1, y1);
}

void DrawWorldQuad(DocWindowRecord* doc, const Float64 c[8]) {
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        DrawWorldLine(doc, c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1]);
    }
}

void DrawWorldCircle(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius) {
    Output(doc).Disc(doc, x, y, radius);
}

void DrawWorldArc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
                  Float64 endAngle) {
    Output(doc).Arc(doc, x, y, radius, startAngle, endAngle);
}

void DrawEllipseInQuad(DocWindowRecord* doc, const Float64 c[8], Float64 startAngle, Float64 endAngle) {
    Output(doc).EllipseInQuad(doc, c, startAngle, endAngle);
}

void DrawFilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1, Float64 x2,
                        Float64 y2) {
    Output(doc).FilledTriangle(doc, tipX, tipY, x1, y1, x2, y2);
}

void RasterOutput::Line(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    DrawingRecord* d = doc->drawing;
    Float64 ax, ay, bx, by;
    WorldToView(doc, x1, y1, nullptr, nullptr, &ax, &ay);
    WorldToView(doc, x2, y2, nullptr, nullptr, &bx, &by);
    if (XorFeedback(doc)) {
        XorLineCG(doc, ax, ay, bx, by);
        return;
    }
    CGContextRef detail =
        std::fabs(bx - ax) < 1 && std::fabs(by - ay) < 1 ? LevelOfDetailContext(doc) : nullptr;
    if (detail != nullptr) {
        // Smaller than a pixel: a dot shows it as well, and one dot a pixel is enough.
        Float64 w, h, x = (ax + bx) / 2, y = (ay + by) / 2;
        DeviceBounds(doc, &w, &h);
        Float64 m = d->output.penWidth + 2;
        if (x >= -m && y >= -m && x <= w + m && y <= h + m)
            BatchDotCG(detail, x, y, d->output.penColor, d->output.penWidth);
        return;
    }
    if (d->output.lineMode != 1) {
        DrawingContextScope scope(doc);
        DrawStyledLine(scope.get(), doc, ax, ay, bx, by);
        return;
    }
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    if (!OnScreen(doc)) {
        // The page clips for itself; only what lies wholly off it is left out.
        Float64 m = d->output.penWidth + 2;
        Float64 cx1 = ax + m, cy1 = ay + m, cx2 = bx + m, cy2 = by + m;
        if (!ClipSegmentToPort(&cx1, &cy1, &cx2, &cy2, w + 2 * m, h + 2 * m)) return;
        StrokeLineCG(d->output.outputContext, cx1 - m, cy1 - m, cx2 - m, cy2 - m, d->output.penColor,
                     d->output.penWidth, 1);
        return;
    }
    if (!ClipSegmentToPort(&ax, &ay, &bx, &by, w, h)) return;
    DrawingContextScope scope(doc);
    StrokeLineCG(scope.get(), ax, ay, bx, by, d->output.penColor, d->output.penWidth, d->output.lineMode);
}

void RasterOutput::Disc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius) {
    DrawingRecord* d = doc->drawing;
    Float64 cx, cy;
    WorldToViewInt(doc, x, y, nullptr, nullptr, &cx, &cy);
    Float64 r = WorldToDeviceLength(doc, radius);
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    if (!(r > 0) || cx + r < 0 || cx - r > w || cy + r < 0 || cy - r > h) return;
    if (XorFeedback(doc)) {
        // A fill cannot be taken back by drawing it again; its outline can.
        DrawArcChords(doc, x, y, radius, radius, 0, 360);
        return;
    }
    DrawingContextScope scope(doc);
    FillDiscCG(scope.get(), cx, cy, r, d->output.penColor, d->output.penWidth);
}

void RasterOutput::Arc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
                       Float64 endAngle) {
    DrawingRecord* d = doc->drawing;
    Float64 cx, cy;
    WorldToViewInt(doc, x, y, nullptr, nullptr, &cx, &cy);
    Float64 r = WorldToDeviceLength(doc, radius);
    if (!(r > 0) || !std::isfinite(r) || !std::isfinite(cx) || !std::isfinite(cy)) return;
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    Float64 m = d->output.penWidth + 2;
    if (cx + r < -m || cx - r > w + m || cy + r < -m || cy - r > h + m) return;
    Float64 a0, a1;
    ArcRadians(startAngle, endAngle, &a0, &a1);
    // A circle the device lies wholly inside shows nothing.
    Float64 far = 0;
    for (Float64 px : {-m, w + m})
        for (Float64 py : {-m, h + m})
            far = std::max(far, std::hypot(px - cx, py - cy));
    if (far < r - m) return;
    if (XorFeedback(doc)) {
        DrawArcChords(doc, x, y, radius, radius, startAngle, (a1 - a0) / kDegreesToRadians);
        return;
    }
    DrawingContextScope scope(doc);
    if (r < 0.5 && DrawingWithLevelOfDetail(doc, scope.get())) {
        BatchDotCG(scope.get(), cx, cy, d->output.penColor, d->output.penWidth);
        return;
    }
    if (r > 4 * std::max(w, h))
        DrawLargeArcSegments(doc, x, y, radius, radius, startAngle, endAngle);
    else
        StrokeArcCG(scope.get(), cx, cy, r, startAngle, startAngle + (a1 - a0) / kDegreesToRadians,
                    d->output.penColor, d->output.penWidth, d->output.lineMode);
}

void RasterOutput::EllipseInQuad(DocWindowRecord* doc, const Float64 c[8], Float64 startAngle,
                                 Float64 endAngle) {
    DrawingRecord* d = doc->drawing;
    EllipseAxes e = EllipseOfQuad(c, startAngle, endAngle);
    Float64 a = e.a, b = e.b, a0 = e.a0, a1 = e.a1, cr = e.cr, sr = e.sr;
    std::vector<Float64> xy;
    Float64 cx, cy;
    WorldToView(doc, e.mx, e.my, nullptr, nullptr, &cx, &cy);
    Float64 da = OnScreen(doc) ? a / d->view.unitsPerPixel : a * d->output.outputScaleX;
    Float64 db = OnScreen(doc) ? b / d->view.unitsPerPixel : b * d->output.outputScaleY;
    Float64 tol = WorldToDeviceLength(doc, std::max(doc->settings->chordTolerance, 1e-6));
    tol = std::clamp(tol, 0.1, 2.0);
    int n = std::clamp(int(std::ceil((a1 - a0) / ChordStep(std::max(da, db), tol))), 1, kMaxChords);
    for (int i = 0; i <= n; ++i) {
        Float64 t = a0 + (a1 - a0) * i / n;
        Float64 ex = da * std::cos(t), ey = db * std::sin(t);
        xy.push_back(cx + ex * cr - ey * sr);
        xy.push_back(cy + ex * sr + ey * cr);
    }
    if (XorFeedback(doc)) {
        for (size_t i = 0; i + 3 < xy.size(); i += 2)
            XorLineCG(doc, xy[i], xy[i + 1], xy[i + 2], xy[i + 3]);
        return;
    }
    DrawingContextScope scope(doc);
    DrawStyledPolyline(scope.get(), doc, xy.data(), int(xy.size() / 2), 0);
}

void RasterOutput::FilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1,
                                  Float64 x2, Float64 y2) {
    DrawingRecord* d = doc->drawing;
    if (XorFeedback(doc)) {
        DrawWorldLine(doc, tipX, tipY, x1, y1);
        DrawWorldLine(doc, x1, y1, x2, y2);
        DrawWorldLine(doc, x2, y2, tipX, tipY);
        return;
    }
    Float64 p[6];
    WorldToViewInt(doc, tipX, tipY, nullptr, nullptr, &p[0], &p[1]);
    WorldToViewInt(doc, x1, y1, nullptr, nullptr, &p[2], &p[3]);
    WorldToViewInt(doc, x2, y2, nullptr, nullptr, &p[4], &p[5]);
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    Float64 m = d->output.penWidth + 2;
    if (std::max({p[0], p[2], p[4]}) < -m || std::min({p[0], p[2], p[4]}) > w + m ||
        std::max({p[1], p[3], p[5]}) < -m || std::min({p[1], p[3], p[5]}) > h + m)
        return;
    DrawingContextScope scope(doc);
    FillTriangleCG(scope.get(), p[0], p[1], p[2], p[3], p[4], p[5], d->output.penColor, d->output.penWidth);
}

void DrawStarMark(DocWindowRecord* doc, Float64 x, Float64 y, Float64 r) {
    DrawWorldLine(doc, x - r, y, x + r, y);
    DrawWorldLine(doc, x - r / 2, y - 0.866 * r, x + r / 2, y + 0.866 * r);
    DrawWorldLine(doc, x - r / 2, y + 0.866 * r, x + r / 2, y - 0.866 * r);
}

void DrawTriangleMark(DocWindowRecord* doc, Float64 x, Float64 y, Float64 r) {
    Float64 bx1 = x - r / 2, bx2 = x + r / 2, by = y - 0.289 * r;
    DrawWorldLine(doc, bx1, by, bx2, by);
    DrawWorldLine(doc, bx1, by, x, y + 0.577 * r);
    DrawWorldLine(doc, bx2, by, x, y + 0.577 * r);
}

void DrawArrowHead(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 angle, Float64 length,
                   Boolean withShaft) {
    Float64 half = length * std::tan(doc->settings->dimArrowAngle * kDegreesToRadians);
    // The base corners are the offsets (-L, +h) and (-L, -h) turned by the angle; the four axis
    // directions take exact offsets so that axis-parallel arrows have no rounding.
    Float64 ux, uy;
    if (angle == 0)
        ux = 1, uy = 0;
    else if (angle == 90)
        ux = 0, uy = 1;
    else if (angle == 180)
        ux = -1, uy = 0;
    else if (angle == 270)
        ux = 0, uy = -1;
    else
        ux = std::cos(angle * kDegreesToRadians), uy = std::sin(angle * kDegreesToRadians);
    Float64 c1x = tipX - length * ux - half * uy, c1y = tipY - length * uy + half * ux;
    Float64 c2x = tipX - length * ux + half * uy, c2y = tipY - length * uy - half * ux;
    if (doc->settings->flag248 != 0) {
        DrawFilledTriangle(doc, tipX, tipY, c1x, c1y, c2x, c2y);
    } else {
        DrawWorldLine(doc, tipX, tipY, c1x, c1y);
        DrawWorldLine(doc, c1x, c1y, c2x, c2y);
        DrawWorldLine(doc, c2x, c2y, tipX, tipY);
    }
    if (withShaft) DrawWorldLine(doc, tipX, tipY, tipX - 1.5 * length * ux, tipY - 1.5 * length * uy);
}

void DrawTickMark(DocWindowRecord* doc, Float64 x, Float64 y, Float64 s, Float64 angle) {
    Float64 t = (angle + 45) * kDegreesToRadians;
    Float64 dx = s * std::cos(t), dy = s * std::sin(t);
    DrawWorldLine(doc, x + dx, y + dy, x - dx, y - dy);
}

void DrawLineEndMark(DocWindowRecord* doc, SInt16 kind, Float64 x, Float64 y, Float64 angle, Float64 size,
                     Boolean withShaft) {
    switch (kind) {
    case 0:
        DrawArrowHead(doc, x, y, angle, size, withShaft);
        break;
    case 1:
        DrawWorldCircle(doc, x, y, size / 10);
        break;
    case 2:
        DrawTickMark(doc, x, y, size / 2, angle);
        break;
    default:
        break;
    }
}

namespace {

constexpr Size kRubberHeader = 4;

UInt16 RubberCapacity(Handle h) {
    UInt16 capacity;
    std::memcpy(&capacity, *h, sizeof capacity);
    return capacity;
}

// The points follow a 4-byte header, so they are not aligned for direct loads: copy them.
void PutRubberPoint(Handle h, SInt16 index, Float64 x, Float64 y) {
    const Float64 xy[2] = {x, y};
    std::memcpy(*h + kRubberHeader + 16 * Size(index), xy, sizeof xy);
}

void ReadRubberPoint(Handle h, SInt16 index, Float64* x, Float64* y) {
    Float64 xy[2];
    std::memcpy(xy, *h + kRubberHeader + 16 * Size(index), sizeof xy);
    *x = xy[0];
    *y = xy[1];
}

} // namespace

void MarkRubberPoint(DocWindowRecord* doc, Float64 x, Float64 y) {
    DrawingRecord* d = doc->drawing;
    if (PlotTarget(doc) != nullptr || d->output.outputContext) return;
    Float64 cx, cy;
    WorldToViewInt(doc, x, y, nullptr, nullptr, &cx, &cy);
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    if (cx < -3 || cx > w + 3 || cy < -3 || cy > h + 3) return;
    const RGBColor red{0xFFFF, 0, 0};
    if (DrawCallListening()) {
        for (int i = 0; i < 2; ++i) {
            DrawCall call{};
            call.kind = DrawCallKind::line;
            call.colour = red;
            call.alpha = 0.5;
            call.width = 1;
            call.style = 1;
            Float64 s = i == 0 ? 2 : -2;
            call.v[0] = cx - 2, call.v[1] = cy - s, call.v[2] = cx + 2, call.v[3] = cy + s;
            ReportDrawCall(call);
        }
    }
    DrawingContextScope scope(doc);
    CGContextRef ctx = scope.get();
    if (!ctx) return;
    CGContextSetRGBStrokeColor(ctx, 1, 0, 0, 0.5);
    CGContextSetLineWidth(ctx, 1);
    CGContextSetLineDash(ctx, 0, nullptr, 0);
    CGContextBeginPath(ctx);
    CGContextMoveToPoint(ctx, cx - 2, cy - 2);
    CGContextAddLineToPoint(ctx, cx + 2, cy + 2);
    CGContextMoveToPoint(ctx, cx - 2, cy + 2);
    CGContextAddLineToPoint(ctx, cx + 2, cy - 2);
    CGContextStrokePath(ctx);
}

void AddRubberPointAndMark(DocWindowRecord* doc, Float64 x, Float64 y, Boolean append) {
    DrawingRecord* d = doc->drawing;
    if (append && d->output.rubberPoints != nullptr && d->output.rubberCount < kMaxRubberPoints) {
        SInt16 count = SInt16(d->output.rubberCount + 1);
        if (count > RubberCapacity(d->output.rubberPoints)) {
            SetHandleSize(d->output.rubberPoints, 16 * Size(count) + 20);
            if (MemError() == noErr) {
                UInt16 capacity = UInt16(count);
                std::memcpy(*d->output.rubberPoints, &capacity, sizeof capacity);
            }
        }
        if (count <= RubberCapacity(d->output.rubberPoints)) {
            PutRubberPoint(d->output.rubberPoints, SInt16(count - 1), x, y);
            d->output.rubberCount = count;
        }
    }
    MarkRubberPoint(doc, x, y);
}

Boolean GetRubberPoint(const DocWindowRecord* doc, SInt16 index, Float64* x, Float64* y) {
    const DrawingRecord* d = doc->drawing;
    if (index < 0 || index >= d->output.rubberCount || d->output.rubberPoints == nullptr) return false;
    ReadRubberPoint(d->output.rubberPoints, index, x, y);
    return true;
}

Boolean HasRubberPoint(const DocWindowRecord* doc, Float64 x, Float64 y) {
    Float64 px, py;
    for (SInt16 i = 0; GetRubberPoint(doc, i, &px, &py); ++i)
        if (px == x && py == y) return true;
    return false;
}

void DrawPointMark(DocWindowRecord* doc, Float64 x, Float64 y) {
    BeginDrawingArea(doc, true);
    AddRubberPointAndMark(doc, x, y, true);
    BeginDrawingArea(doc, false);
}

void DrawCurrentPointMark(DocWindowRecord* doc) {
    DrawPointMark(doc, doc->drawing->toolInput.cursorX, doc->drawing->toolInput.cursorY);
}

// The marks, and any feedback drawn with them, go with the loop's next deferred redraw.
void ClearRubberPoints(DocWindowRecord* doc) {
    doc->drawing->output.rubberCount = 0;
    RequestRedraw(doc);
}

void InvalidateDocWindow(DocWindowRecord* doc) {
    if (!doc->window) return;
    Rect bounds;
    GetWindowPortBounds(doc->window, &bounds);
    InvalWindowRect(doc->window, &bounds);
}

void DrawPixelLineStyled(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                         SInt16 lineMode) {
    SetLineMode(doc, lineMode);
    DrawingContextScope scope(doc);
    DrawStyledLine(scope.get(), doc, x1, y1, x2, y2);
}

void SaveSettingsSnapshot(DocWindowRecord* doc, Ptr* cell) {
    *cell = NewPtr(sizeof(DocSettings));
    if (*cell) std::memcpy(*cell, doc->settings, sizeof(DocSettings));
}

void RestoreSettingsSnapshot(DocWindowRecord* doc, Ptr* cell) {
    if (*cell == nullptr) return;
    std::memcpy(doc->settings, *cell, sizeof(DocSettings));
    DisposePtr(*cell);
    *cell = nullptr;
}
