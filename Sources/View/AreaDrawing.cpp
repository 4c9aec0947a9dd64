// Area elements: hatch lines through the hatcher, pattern fills in the even-odd outline, the outline
// stroke and the highlight, and the line tiles of the drawn patterns.
#include "View/OutputDevice.h"
#include "View/AreaDrawing.h"
#include "Platform/AppResources.h"
#include "View/ContentPasses.h"
#include "View/ElementDrawing.h"
#include "View/Hatching.h"
#include "Other/MathPrimitives.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Contour chords deviate at most this much from an ellipse, in device units.
constexpr Float64 kDeviceChordTolerance = 0.25;
// The plotter's chords, in millimetres.
constexpr Float64 kPlotChordTolerance = 0.01;
// Pattern cells: one bit a pixel on screen; on paper this many millimetres a bit, and the drawn
// patterns' tiles this many millimetres (pixels on screen) wide.
constexpr Float64 kPaperPatternBit = 0.5;
constexpr Float64 kScreenTile = 16;
constexpr Float64 kPaperTile = 5;
// A drawn pattern needing more tiles than this (an absurdly large page) is left out.
constexpr long kMaxTiles = 250000;
constexpr SInt16 kPatternList[3] = {131, 132, 0};

const Float64 kEnd = std::numeric_limits<Float64>::quiet_NaN();

Float64 Component(UInt16 c) {
    return (c >> 8) / 255.0;
}

bool OnScreen(const DocWindowRecord* doc) {
    return doc->drawing->output.outputContext == nullptr;
}

// World millimetres that the chords of contours may deviate by in the current output.
Float64 WorldChordTolerance(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    if (PlotTarget(doc) != nullptr) return kPlotChordTolerance;
    Float64 perMillimetre = WorldToDeviceLength(doc, 1.0);
    if (!(perMillimetre > 0) || !std::isfinite(perMillimetre)) return kPlotChordTolerance;
    return kDeviceChordTolerance / perMillimetre;
}

// Device units per millimetre of paper in output, one on screen (a pixel stands for itself).
Float64 PaperScale(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    if (OnScreen(doc)) return 1;
    Float64 scale = d->output.outputPenScale > 0 ? d->output.outputPenScale : d->output.outputScaleX;
    return scale > 0 ? scale : 1;
}

void DrawHatchLine(void* context, Float64 x1, Float64 y1, Float64 x2, Float64 y2, void*) {
    DrawWorldLine(static_cast<DocWindowRecord*>(context), x1, y1, x2, y2);
}

void StrokeContours(DocWindowRecord* doc, const AreaRecord* area) {
    std::vector<std::vector<Float64>> xs, ys;
    AreaContourRings(area, WorldChordTolerance(doc), &xs, &ys);
    for (size_t r = 0; r < xs.size(); ++r) {
        const std::vector<Float64>& x = xs[r];
        const std::vector<Float64>& y = ys[r];
        size_t n = x.size();
        bool closed = x.front() == x.back() && y.front() == y.back();
        for (size_t i = 0; i + 1 < n; ++i)
            DrawWorldLine(doc, x[i], y[i], x[i + 1], y[i + 1]);
        if (!closed) DrawWorldLine(doc, x[n - 1], y[n - 1], x[0], y[0]);
    }
}

void AddPathToContext(CGContextRef ctx, DocWindowRecord* doc, const AreaRecord* area) {
    std::vector<std::vector<Float64>> xs, ys;
    AreaContourRings(area, WorldChordTolerance(doc), &xs, &ys);
    CGContextBeginPath(ctx);
    for (size_t r = 0; r < xs.size(); ++r) {
        for (size_t i = 0; i < xs[r].size(); ++i) {
            Float64 x, y;
            WorldToView(doc, xs[r][i], ys[r][i], nullptr, nullptr, &x, &y);
            if (i == 0)
                CGContextMoveToPoint(ctx, x, y);
            else
                CGContextAddLineToPoint(ctx, x, y);
        }
        CGContextClosePath(ctx);
    }
}

// The tiles of a drawn pattern over the part of the device the area covers, inside its outline.
void FillDrawnPattern(CGContextRef ctx, DocWindowRecord* doc, const AreaRecord* area, SInt16 pattern,
                      const RGBColor& colour, Float64 width) {
    const std::vector<Float64>& tile = DrawnPatternTile(pattern);
    if (tile.empty()) return;
    CGMutablePathRef path = nullptr;
    if (!BuildElementPath(&path, area, doc)) return;
    CGRect box = CGPathGetBoundingBox(path);
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    Float64 minX = std::max(CGRectGetMinX(box), 0.0), minY = std::max(CGRectGetMinY(box), 0.0);
    Float64 maxX = std::min(CGRectGetMaxX(box), w), maxY = std::min(CGRectGetMaxY(box), h);
    Float64 size = OnScreen(doc) ? kScreenTile : kPaperTile * PaperScale(doc);
    if (!(maxX > minX && maxY > minY && size > 0)) {
        CGPathRelease(path);
        return;
    }
    Float64 i0 = std::floor(minX / size), i1 = std::ceil(maxX / size);
    Float64 j0 = std::floor(minY / size), j1 = std::ceil(maxY / size);
    if ((i1 - i0) * (j1 - j0) > Float64(kMaxTiles)) {
        CGPathRelease(path);
        return;
    }
    CGContextSaveGState(ctx);
    CGContextBeginPath(ctx);
    CGContextAddPath(ctx, path);
    CGContextEOClip(ctx);
    CGPathRelease(path);
    CGContextSetRGBStrokeColor(ctx, Component(colour.red), Component(colour.green), Component(colour.blue),
                               1);
    CGContextSetLineWidth(ctx, width);
    CGContextSetLineCap(ctx, kCGLineCapRound);
    CGContextSetLineJoin(ctx, kCGLineJoinRound);
    CGContextSetLineDash(ctx, 0, nullptr, 0);
    CGContextBeginPath(ctx);
    for (Float64 i = i0; i < i1; ++i) {
        for (Float64 j = j0; j < j1; ++j) {
            bool open = false;
            for (size_t k = 0; k + 1 < tile.size(); k += 2) {
                if (std::isnan(tile[k])) {
                    open = false;
                    --k;
                    continue;
                }
                Float64 x = (i + tile[k]) * size, y = (j + tile[k + 1]) * size;
                if (open)
                    CGContextAddLineToPoint(ctx, x, y);
                else
                    CGContextMoveToPoint(ctx, x, y);
                open = true;
            }
        }
    }
    CGContextStrokePath(ctx);
    CGContextRestoreGState(ctx);
}

void FillPattern(CGContextRef ctx, DocWindowRecord* doc, const AreaRecord* area) {
    if (!ctx) return;
    const DrawingRecord* d = doc->drawing;
    const RGBColor colour = d->output.penColor;
    Float64 value = area->hatchSpacing;
    SInt16 index = std::isfinite(value) ? SInt16(std::lround(std::clamp(value, 1.0, 999.0))) : 1;
    if (area->fillKind == kFillDrawnPatterns) {
        SInt16 pattern = SInt16(std::min<long>(kFirstDrawnPattern + index - 1, kLastDrawnPattern));
        FillDrawnPattern(ctx, doc, area, pattern, colour,
                         std::max(d->output.penWidth, OnScreen(doc) ? 1.0 : 0.1));
        return;
    }
    if (area->fillKind != kFillPatterns && area->fillKind != kFillGreys) return;
    Pattern pattern{};
    SInt16 list = kPatternList[area->fillKind];
    // An index beyond the family takes its last pattern.
    while (index > 1 && !GetIndPattern(&pattern, list, index))
        --index;
    if (!GetIndPattern(&pattern, list, index)) return;
    CGContextSaveGState(ctx);
    CGContextSetFillPattern8x8(ctx, &pattern, Component(colour.red), Component(colour.green),
                               Component(colour.blue), 1,
                               OnScreen(doc) ? 1 : kPaperPatternBit * PaperScale(doc));
    AddPathToContext(ctx, doc, area);
    CGContextEOFillPath(ctx);
    CGContextRestoreGState(ctx);
}

// Level of detail: in the zoomed-out window pass a hatch whose lines lie closer than they are wide
// covers its area; one fill draws the same for far less.
bool DenseHatchOnScreen(const DocWindowRecord* doc, CGContextRef ctx, const AreaRecord* area) {
    if (!ctx || !DrawingWithLevelOfDetail(doc, ctx)) return false;
    return WorldToDeviceLength(doc, AreaHatchSpacing(area)) <= doc->drawing->output.penWidth;
}

void FillSolid(CGContextRef ctx, DocWindowRecord* doc, const AreaRecord* area) {
    const RGBColor& colour = doc->drawing->output.penColor;
    CGContextSaveGState(ctx);
    CGContextSetRGBFillColor(ctx, Component(colour.red), Component(colour.green), Component(colour.blue), 1);
    AddPathToContext(ctx, doc, area);
    CGContextEOFillPath(ctx);
    CGContextRestoreGState(ctx);
}

// Highlights the area on screen for the time of its highlight stroke.
class AreaHighlight {
  public:
    AreaHighlight(DocWindowRecord* doc, const AreaRecord* area) : doc_(doc), saved_(doc->highlightMode) {
        if (area->selected)
            doc->highlightMode = kHighlightSelected;
        else if (area->marked)
            doc->highlightMode = kHighlightMarked;
    }
    ~AreaHighlight() { doc_->highlightMode = saved_; }

  private:
    DocWindowRecord* doc_;
    SInt16 saved_;
};

bool AreaShown(const DocWindowRecord* doc, const AreaRecord* area) {
    return IsLayerVisible(doc->layerVisible, area->layer) && doc->settings->areaDisplayMode != 2;
}

// The outline line tiles of the drawn patterns, in a unit cell.
std::vector<std::vector<Float64>> MakeDrawnTiles() {
    const Float64 E = kEnd;
    std::vector<std::vector<Float64>> t(kLastDrawnPattern - kFirstDrawnPattern + 1);
    auto arc = [](std::vector<Float64>& out, Float64 cx, Float64 cy, Float64 r, Float64 a0, Float64 a1) {
        for (int i = 0; i <= 8; ++i) {
            Float64 a = (a0 + (a1 - a0) * i / 8) * kDegreesToRadians;
            out.push_back(cx + r * std::cos(a));
            out.push_back(cy + r * std::sin(a));
        }
        out.push_back(std::numeric_limits<Float64>::quiet_NaN());
    };
    // 101 bricks, 102 diagonal grid, 103 square grid, 104 zigzag, 105 staggered dashes
    t[0] = {0, 0, 1, 0, E, 0, 0.5, 1, 0.5, E, 0, 0, 0, 0.5, E, 0.5, 0.5, 0.5, 1, E};
    t[1] = {0, 0, 1, 1, E, 0, 1, 1, 0, E};
    t[2] = {0, 0, 1, 0, E, 0, 0, 0, 1, E};
    t[3] = {0, 0.25, 0.5, 0.75, 1, 0.25, E};
    t[4] = {0.1, 0.25, 0.6, 0.25, E, 0.6, 0.75, 1, 0.75, E, 0, 0.75, 0.1, 0.75, E};
    // 106 plus signs, 107 crosses, 108 dots, 109 basket weave, 110 gravel
    t[5] = {0.3, 0.5, 0.7, 0.5, E, 0.5, 0.3, 0.5, 0.7, E};
    t[6] = {0.35, 0.35, 0.65, 0.65, E, 0.35, 0.65, 0.65, 0.35, E};
    t[7] = {0.47, 0.47, 0.53, 0.47, 0.53, 0.53, 0.47, 0.53, 0.47, 0.47, E};
    t[8] = {0, 0.125, 0.5, 0.125, E,   0,     0.375, 0.5, 0.375, E, 0.625, 0,     0.625, 0.5,
            E, 0.875, 0,   0.875, 0.5, E,     0.125, 0.5, 0.125, 1, E,     0.375, 0.5,   0.375,
            1, E,     0.5, 0.625, 1,   0.625, E,     0.5, 0.875, 1, 0.875, E};
    t[9] = {0.2, 0.2, 0.5, 0.2, 0.35, 0.45, 0.2, 0.2, E, 0.6, 0.6, 0.85, 0.65, 0.7, 0.85, 0.6, 0.6, E};
    // 111 waves, 112 scales, 113 diagonals with dots, 114 earth, 115 zigzag columns
    t[10] = {0,     0.5,  0.125, 0.64, 0.25,  0.7,  0.375, 0.64, 0.5, 0.5,
             0.625, 0.36, 0.75,  0.3,  0.875, 0.36, 1,     0.5,  E};
    arc(t[11], 0.5, 0, 0.5, 0, 180);
    arc(t[11], 0, 0.5, 0.5, 0, 90);
    arc(t[11], 1, 0.5, 0.5, 90, 180);
    t[12] = {0, 0, 1, 1, E, 0.72, 0.25, 0.78, 0.25, E};
    t[13] = {0, 0.2, 1, 0.2, E, 0.2, 0.45, 0.4, 0.65, E, 0.6, 0.45, 0.8, 0.65, E};
    t[14] = {0.25, 0, 0.75, 0.5, 0.25, 1, E};
    return t;
}

} // namespace

const std::vector<Float64>& DrawnPatternTile(SInt16 pattern) {
    static const std::vector<std::vector<Float64>> tiles = MakeDrawnTiles();
    static const std::vector<Float64> none;
    if (pattern < kFirstDrawnPattern || pattern > kLastDrawnPattern) return none;
    return tiles[size_t(pattern - kFirstDrawnPattern)];
}

Boolean BuildElementPath(CGMutablePathRef* pathOut, const AreaRecord* area, DocWindowRecord* doc) {
    *pathOut = nullptr;
    std::vector<std::vector<Float64>> xs, ys;
    AreaContourRings(area, WorldChordTolerance(doc), &xs, &ys);
    if (xs.empty()) return false;
    CGMutablePathRef path = CGPathCreateMutable();
    if (!path) return false;
    for (size_t r = 0; r < xs.size(); ++r) {
        for (size_t i = 0; i < xs[r].size(); ++i) {
            Float64 x, y;
            WorldToView(doc, xs[r][i], ys[r][i], nullptr, nullptr, &x, &y);
            if (i == 0)
                CGPathMoveToPoint(path, nullptr, x, y);
            else
                CGPathAddLineToPoint(path, nullptr, x, y);
        }
        CGPathCloseSubpath(path);
    }
    *pathOut = path;
    return true;
}

void FillElementOutline(CGContextRef ctx, AreaRecord* area, DocWindowRecord* doc) {
    area->drawn = 1;
    if (area->fillKind < 0) area->hatchSpacing = AreaHatchSpacing(area);
    if (!AreaShown(doc, area)) return;
    DrawingRecord* d = doc->drawing;
    if (PlotTarget(doc) != nullptr) {
        HatchAreaHPGL(doc, area);
        return;
    }
    // The fill keeps the element's colour; a selection shows in the outline drawn after it.
    SInt16 savedHighlight = doc->highlightMode;
    doc->highlightMode = kHighlightNone;
    SetLineMode(doc, 1);
    SetElementPen(doc, area->layer, area->pen, &area->penBlock);
    DrawingContextScope scope(doc);
    CGContextRef target = ctx ? ctx : scope.get();
    if (area->fillKind < 0 && DenseHatchOnScreen(doc, target, area)) {
        FillSolid(target, doc, area);
    } else if (area->fillKind < 0) {
        // Only the lines that meet what the output shows are made; they stop at the outline and holes
        // by themselves, so they need no clip and join the window's stroke batch.
        HatchWindow window{};
        VisibleWorldRect(doc, &window.minX, &window.minY, &window.maxX, &window.maxY);
        bool bounded = std::isfinite(window.minX) && std::isfinite(window.maxX) &&
                       std::isfinite(window.minY) && std::isfinite(window.maxY);
        HatchArea(area, WorldChordTolerance(doc), bounded ? &window : nullptr, doc, nullptr, DrawHatchLine);
    } else {
        FillPattern(target, doc, area);
    }
    doc->highlightMode = savedHighlight;
    ResetDrawingState(doc);
}

void StrokeElementOutline(AreaRecord* area, DocWindowRecord* doc, Boolean draw) {
    if (!draw) {
        doc->drawing->view.redrawPending = 1;
        return;
    }
    SetLineMode(doc, 1);
    SetElementPen(doc, area->layer, area->pen, &area->penBlock);
    StrokeContours(doc, area);
    ResetDrawingState(doc);
}

void DrawAreaElement(DocWindowRecord* doc, AreaRecord* area) {
    FillElementOutline(nullptr, area, doc);
    if (!AreaShown(doc, area)) return;
    bool highlighted = OnScreen(doc) && PlotTarget(doc) == nullptr &&
                       (area->selected || area->marked || doc->highlightMode != kHighlightNone);
    if (area->outlineStroked && !highlighted) StrokeElementOutline(area, doc, true);
    if (highlighted) {
        AreaHighlight highlight(doc, area);
        StrokeElementOutline(area, doc, true);
    }
}

void InstallAreaDrawingHook() {
    gViewHooks.drawArea = DrawAreaElement;
}
