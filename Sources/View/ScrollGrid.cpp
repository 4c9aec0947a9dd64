// Scrolling, the mouse in drawing coordinates and the grid.
#include "View/ScrollGrid.h"
#include "View/ContentPasses.h"
#include "Model/DrawingUnits.h"
#include "Other/MathPrimitives.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"

#include <cmath>

namespace {

constexpr Float64 kGridLineWidth = 0.25;

// The most lines one family of the grid can need over an area: more than two pixels apart.
long MaxGridLines(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    return (long(d->view.areaWidth) + long(d->view.areaHeight)) + 8;
}

void GridLine(DocWindowRecord* doc, CGContextRef ctx, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
              const RGBColor& colour) {
    Float64 ax, ay, bx, by;
    WorldToView(doc, x1, y1, nullptr, nullptr, &ax, &ay);
    WorldToView(doc, x2, y2, nullptr, nullptr, &bx, &by);
    StrokeLineCG(ctx, ax, ay, bx, by, colour, kGridLineWidth, 1);
}

// Lines at first, first + step, ... while below `limit`; the count is worked out on doubles first, so
// a far origin or a step lost in the origin's precision never makes the loop run long.
template <typename Draw>
void StepLines(Float64 first, Float64 step, Float64 limit, long maxLines, Draw draw) {
    if (!(step > 0) || !std::isfinite(first) || !std::isfinite(limit)) return;
    Float64 count = std::ceil((limit - first) / step);
    if (!(count > 0)) return;
    if (count > Float64(maxLines)) count = Float64(maxLines);
    for (long i = 0; i < long(count); ++i) {
        Float64 v = first + i * step;
        if (v >= limit) break;
        draw(v);
    }
}

} // namespace

void ScrollViewBy(DocWindowRecord* doc, SInt16 fromH, SInt16 fromV, SInt16 toH, SInt16 toV) {
    DrawingRecord* d = doc->drawing;
    d->view.originX -= (toH - fromH) * d->view.unitsPerPixel;
    d->view.originY += (toV - fromV) * d->view.unitsPerPixel;
    ShowViewMoved(doc, toH - fromH, toV - fromV, true);
}

WorldPickPoint PixelToWorld(const DocWindowRecord* doc, SInt16 mouseX, SInt16 mouseY) {
    const DrawingRecord* d = doc->drawing;
    Float64 s = d->view.unitsPerPixel;
    Float64 a = doc->settings->pickAperture;
    WorldPickPoint p;
    p.x = mouseX * s + d->view.originX;
    p.y = mouseY * s + d->view.originY;
    p.minX = (mouseX - a) * s + d->view.originX;
    p.maxX = (mouseX + a) * s + d->view.originX;
    p.minY = (mouseY - a) * s + d->view.originY;
    p.maxY = (mouseY + a) * s + d->view.originY;
    return p;
}

void GridSpacing(const DocWindowRecord* doc, Float64* sx, Float64* sy) {
    const DocSettings* s = doc->settings;
    Float64 factor = (s->drawingScale > 0 ? s->drawingScale : 1.0) * UnitToMillimetres(doc);
    *sx = s->gridX * factor;
    *sy = s->gridY * factor;
}

void DrawGrid(DocWindowRecord* doc, Boolean alternativeColour) {
    DrawingRecord* d = doc->drawing;
    const DocSettings* s = doc->settings;
    Float64 sx, sy;
    GridSpacing(doc, &sx, &sy);
    if (!(sx / d->view.unitsPerPixel > 2.0) || !(sy / d->view.unitsPerPixel > 2.0)) return;
    const RGBColor& colour = alternativeColour ? s->gridColor2 : s->gridColor;
    Float64 right = d->view.areaWidth * d->view.unitsPerPixel + d->view.originX;
    Float64 top = d->view.areaHeight * d->view.unitsPerPixel + d->view.originY;
    CGContextRef ctx = d->output.windowContext;
    bool temporary = false;
    if (!ctx && doc->window) temporary = BeginWindowCG(&ctx, doc->window) == noErr;
    if (s->gridAngleX == 0 && s->gridAngleY == 90) {
        long maxLines = MaxGridLines(doc);
        StepLines(TruncateTowardZero(d->view.originX / sx) * sx, sx, right, maxLines,
                  [&](Float64 x) { GridLine(doc, ctx, x, d->view.originY, x, top, colour); });
        StepLines(TruncateTowardZero(d->view.originY / sy) * sy, sy, top, maxLines,
                  [&](Float64 y) { GridLine(doc, ctx, d->view.originX, y, right, y, colour); });
    } else {
        DrawSkewedGridLines(doc, ctx, s->gridAngleX, d->view.originX, d->view.originY, right, top, sx,
                            colour);
        DrawSkewedGridLines(doc, ctx, s->gridAngleY, d->view.originX, d->view.originY, right, top, sy,
                            colour);
    }
    if (temporary) EndWindowCG(&ctx, doc->window);
}

void DrawSkewedGridLines(DocWindowRecord* doc, CGContextRef ctx, Float64 angle, Float64 left, Float64 bottom,
                         Float64 right, Float64 top, Float64 spacing, const RGBColor& colour) {
    if (!std::isfinite(angle) || !(spacing > 0)) return;
    angle = std::fmod(angle, 180.0);
    if (angle < 0) angle += 180.0;
    Float64 t = angle * kDegreesToRadians;
    long maxLines = MaxGridLines(doc);
    if (angle > 45 && angle < 135) {
        bool upright = std::fabs(angle - 90) < 0.1;
        Float64 cot = upright ? 0 : 1 / std::tan(t);
        Float64 dx = (top - bottom) * cot;
        Float64 step = std::fabs(spacing / std::sin(t));
        Float64 lo = angle <= 90 ? left - dx : left, hi = angle <= 90 ? right : right - dx;
        // The line through (k step, 0) meets the bottom edge at k step + bottom cot.
        Float64 shift = bottom * cot;
        Float64 first = std::ceil((lo - shift) / step) * step + shift;
        StepLines(first, step, hi, maxLines,
                  [&](Float64 x) { GridLine(doc, ctx, x, bottom, x + dx, top, colour); });
    } else {
        Float64 tn = std::tan(t);
        Float64 dy = (right - left) * tn;
        Float64 step = std::fabs(spacing / std::cos(t));
        Float64 lo = angle <= 45 ? bottom - dy : bottom, hi = angle <= 45 ? top : top - dy;
        Float64 shift = left * tn;
        Float64 first = std::ceil((lo - shift) / step) * step + shift;
        StepLines(first, step, hi, maxLines,
                  [&](Float64 y) { GridLine(doc, ctx, left, y, right, y + dy, colour); });
    }
}
