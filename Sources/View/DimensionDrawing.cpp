// Dimension drawing over the world primitives, so the window, print, PDF and plotter output share it.
#include "View/OutputDevice.h"
#include "View/DimensionDrawing.h"
#include "Model/Dimensions.h"
#include "Other/MathPrimitives.h"
#include "View/ContentPasses.h"
#include "View/DimensionGeometry.h"
#include "View/ElementDrawing.h"
#include "View/TextDrawing.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr Float64 kToleranceSize = 0.6;
constexpr Float64 kSmallTextPixels = 6;
constexpr Float64 kBoxLimit = 16000;

bool OnScreen(const DocWindowRecord* doc) {
    return doc->drawing->output.outputContext == nullptr && PlotTarget(doc) == nullptr;
}

// Highlights a selected dimension on screen while it is drawn.
class DimensionHighlight {
  public:
    DimensionHighlight(DocWindowRecord* doc, const DimensionRecord* d)
        : doc_(doc), saved_(doc->highlightMode) {
        if (saved_ != kHighlightNone || doc->drawing->output.outputContext) return;
        if (d->selected)
            doc->highlightMode = kHighlightSelected;
        else if (d->marked)
            doc->highlightMode = kHighlightMarked;
    }
    ~DimensionHighlight() { doc_->highlightMode = saved_; }

  private:
    DocWindowRecord* doc_;
    SInt16 saved_;
};

// The text frame moved as the text is drawn, as x, y of four corners.
void FrameCorners(const DimensionRecord* d, const DocSettings* s, Float64 c[8]) {
    Float64 dx, dy;
    DimTextOffset(d, s, &dx, &dy);
    c[0] = d->textX + dx, c[1] = d->textY + dy;
    for (int i = 0; i < 3; ++i)
        c[2 * i + 2] = d->frame[2 * i] + dx, c[2 * i + 3] = d->frame[2 * i + 1] + dy;
}

void DrawTerminator(DocWindowRecord* doc, SInt16 kind, const Float64 t[6]) {
    switch (kind) {
    case 0:
        if (doc->settings->flag248 != 0) {
            DrawFilledTriangle(doc, t[0], t[1], t[2], t[3], t[4], t[5]);
        } else {
            DrawWorldLine(doc, t[0], t[1], t[2], t[3]);
            DrawWorldLine(doc, t[2], t[3], t[4], t[5]);
            DrawWorldLine(doc, t[4], t[5], t[0], t[1]);
        }
        break;
    case 1:
        DrawLineEndMark(doc, 1, t[0], t[1], 0, doc->settings->dimTerminatorSize, false);
        break;
    case 2:
        DrawWorldLine(doc, t[2], t[3], t[4], t[5]);
        break;
    default:
        break;
    }
}

// The frame shape round the text (2 half-round ends, 3 rectangle, 4 bulging ends, 5 six sides) and
// the underline, a quarter of the text height away from the text.
void DrawTextFrameShape(DocWindowRecord* doc, const Float64 c[8], Float64 angle, Float64 height,
                        UInt16 flags) {
    Float64 ux = std::cos(angle * kDegreesToRadians), uy = std::sin(angle * kDegreesToRadians);
    Float64 nx = -uy, ny = ux;
    Float64 m = height * 0.25;
    if (flags & kDimUnderline) DrawWorldLine(doc, c[0] - m * nx, c[1] - m * ny, c[2] - m * nx, c[3] - m * ny);
    SInt16 shape = DimFrameShape(flags);
    if (shape == 0) return;
    // The frame grown by the margin on every side.
    Float64 g[8];
    const Float64 su[4] = {-1, 1, 1, -1}, sn[4] = {-1, -1, 1, 1};
    for (int i = 0; i < 4; ++i) {
        g[2 * i] = c[2 * i] + m * (su[i] * ux + sn[i] * nx);
        g[2 * i + 1] = c[2 * i + 1] + m * (su[i] * uy + sn[i] * ny);
    }
    Float64 hh = std::hypot(g[6] - g[0], g[7] - g[1]) / 2;
    Float64 lx = (g[0] + g[6]) / 2, ly = (g[1] + g[7]) / 2; // middle of the left end
    Float64 rx = (g[2] + g[4]) / 2, ry = (g[3] + g[5]) / 2; // and of the right end
    switch (shape) {
    case 2:
        DrawWorldLine(doc, g[0], g[1], g[2], g[3]);
        DrawWorldLine(doc, g[6], g[7], g[4], g[5]);
        if (hh > 0) {
            DrawWorldArc(doc, lx, ly, hh, NormalizeAngle(angle + 90), NormalizeAngle(angle + 270));
            DrawWorldArc(doc, rx, ry, hh, NormalizeAngle(angle + 270), NormalizeAngle(angle + 90));
        }
        break;
    case 3:
        DrawWorldQuad(doc, g);
        break;
    case 4: {
        Float64 r = hh * 1.414;
        // Straight sides between the arcs' ends at 45 degrees off the text direction.
        DrawWorldLine(doc, lx - hh * ux + hh * nx, ly - hh * uy + hh * ny, rx + hh * ux + hh * nx,
                      ry + hh * uy + hh * ny);
        DrawWorldLine(doc, lx - hh * ux - hh * nx, ly - hh * uy - hh * ny, rx + hh * ux - hh * nx,
                      ry + hh * uy - hh * ny);
        if (r > 0) {
            DrawWorldArc(doc, lx, ly, r, NormalizeAngle(angle + 135), NormalizeAngle(angle + 225));
            DrawWorldArc(doc, rx, ry, r, NormalizeAngle(angle + 315), NormalizeAngle(angle + 45));
        }
        break;
    }
    case 5: {
        const Float64 p[12] = {lx - hh * ux, ly - hh * uy, g[0], g[1], g[2], g[3],
                               rx + hh * ux, ry + hh * uy, g[4], g[5], g[6], g[7]};
        for (int i = 0; i < 6; ++i) {
            int j = (i + 1) % 6;
            DrawWorldLine(doc, p[2 * i], p[2 * i + 1], p[2 * j], p[2 * j + 1]);
        }
        break;
    }
    default:
        break;
    }
}

// The white box under the text, in view coordinates.
void DrawTextBackgroundBox(DimensionRecord* d, DocWindowRecord* doc) {
    Float64 c[8], v[8];
    FrameCorners(d, doc->settings, c);
    bool screen = OnScreen(doc);
    for (int i = 0; i < 4; ++i) {
        WorldToView(doc, c[2 * i], c[2 * i + 1], nullptr, nullptr, &v[2 * i], &v[2 * i + 1]);
        if (!std::isfinite(v[2 * i]) || !std::isfinite(v[2 * i + 1])) return;
        // The window keeps to a range its coordinates can carry.
        if (screen)
            for (int k = 0; k < 2; ++k)
                v[2 * i + k] = std::clamp(v[2 * i + k], -kBoxLimit, kBoxLimit);
    }
    DrawingContextScope scope(doc);
    CGContextRef ctx = scope.get();
    FillQuadCG(ctx, v, RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
    const DrawingRecord* dr = doc->drawing;
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        StrokeLineCG(ctx, v[2 * i], v[2 * i + 1], v[2 * j], v[2 * j + 1], dr->output.penColor,
                     dr->output.penWidth, 1);
    }
}

void DrawDimensionHook(DocWindowRecord* doc, DimensionRecord* dimension) {
    DrawDimension(dimension, doc);
}

} // namespace

void DimExtensionLine(DimensionRecord* dimension, DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2,
                      Float64 y2) {
    Float64 e[4];
    DimExtensionEnds(dimension, doc->settings, x1, y1, x2, y2, e);
    DrawWorldLine(doc, e[0], e[1], e[2], e[3]);
}

void DrawDimFrame(DimensionRecord* d, DocWindowRecord* doc, SInt16 mode) {
    SInt16 savedHighlight = doc->highlightMode;
    if (mode == 1) SetHighlightMode(doc, 0, 0);
    Float64 c[8];
    FrameCorners(d, doc->settings, c);
    SetLineMode(doc, 1);
    SetElementPen(doc, d->layer, d->pen, &d->penBlock);
    DrawWorldQuad(doc, c);
    doc->highlightMode = savedHighlight;
    SetElementPen(doc, d->layer, d->pen, &d->penBlock);
}

void DrawDimFrameClipped(DimensionRecord* dimension, DocWindowRecord* doc, SInt16 mode) {
    BeginDrawingArea(doc, true);
    DrawDimFrame(dimension, doc, mode);
    BeginDrawingArea(doc, false);
}

void DrawDimensionText(DimensionRecord* d, DocWindowRecord* doc, Float64 x, Float64 y, Float64 dx, Float64 dy,
                       Float64 angle, ConstStr255Param text, ConstStr255Param upper, ConstStr255Param lower,
                       Float64 height, UInt16 flags) {
    const DocSettings* s = doc->settings;
    if (s->dimDisplayMode == 2) return;
    if (OnScreen(doc)) {
        if (s->dimDisplayMode == 1 || height / doc->drawing->view.unitsPerPixel < kSmallTextPixels) {
            DrawDimFrame(d, doc, d->selected ? 1 : 2);
            return;
        }
        if (s->dimDisplayMode != 0) return;
        if (d->selected) DrawDimFrame(d, doc, 1);
    }
    Float64 px = x + dx, py = y + dy;
    DrawTextString(doc, px, py, text, s->dimFont, 0, height, angle, 1.0);
    Float64 ux = std::cos(angle * kDegreesToRadians), uy = std::sin(angle * kDegreesToRadians);
    if ((flags & kDimUnderline) || DimFrameShape(flags)) {
        Float64 c[8];
        FrameCorners(d, s, c);
        DrawTextFrameShape(doc, c, angle, height, flags);
    }
    Str255 up, low;
    ShownDimensionTolerance(upper, up);
    ShownDimensionTolerance(lower, low);
    if (up[0] == 0) return;
    // The tolerances start where the value text ends.
    Float64 w = text[0] ? TextStringWidth(s->dimFont, 0, height, text + 1, text[0]) : 0;
    if (!(w > 0)) w = text[0] * kToleranceSize * height;
    Float64 f = up[0] >= 2 && up[1] == 0xC2 && up[2] == 0xB1 ? 0.3 : 0.7;
    Float64 th = kToleranceSize * height;
    Float64 tx = px + w * ux - f * height * uy, ty = py + w * uy + f * height * ux;
    DrawTextString(doc, tx, ty, up, s->dimFont, 0, th, angle, 1.0);
    if (low[0] == 0) return;
    DrawTextString(doc, tx + 0.7 * height * uy, ty - 0.7 * height * ux, low, s->dimFont, 0, th, angle, 1.0);
}

void DrawDimension(DimensionRecord* d, DocWindowRecord* doc) {
    d->drawn = 1;
    const DocSettings* s = doc->settings;
    if (s->dimDisplayMode == 2 || (doc->layerVisible && !IsLayerVisible(doc->layerVisible, d->layer))) return;
    DimensionHighlight highlight(doc, d);
    SetLineMode(doc, 1);
    SetElementPen(doc, d->layer, d->pen, &d->penBlock);
    // Outlines only: on screen the dimension is its text outline.
    if (OnScreen(doc) && s->dimDisplayMode == 1) {
        DrawDimFrame(d, doc, d->selected ? 1 : 2);
        ResetDrawingState(doc);
        return;
    }
    if (PlotTarget(doc) == nullptr && (d->flags & kDimTextBackground)) DrawTextBackgroundBox(d, doc);
    DimGeometry g;
    if (DimensionGeometry(d, s, &g)) {
        if (g.isArc) {
            if (g.arcRadius > 0) DrawWorldArc(doc, g.arcX, g.arcY, g.arcRadius, g.arcStart, g.arcEnd);
        } else {
            DrawWorldLine(doc, g.line[0], g.line[1], g.line[2], g.line[3]);
        }
        if (g.hasLeader) DrawWorldLine(doc, g.leader[0], g.leader[1], g.leader[2], g.leader[3]);
        for (int i = 0; i < 2; ++i)
            if (g.hasExtension[i])
                DrawWorldLine(doc, g.extension[i][0], g.extension[i][1], g.extension[i][2],
                              g.extension[i][3]);
        for (int i = 0; i < 2; ++i)
            DrawTerminator(doc, g.terminatorKind[i], g.terminator[i]);
        DrawDimensionText(d, doc, g.textX, g.textY, 0, 0, g.textAngle, d->text, d->upperTolerance,
                          d->lowerTolerance, d->textHeight, d->flags);
    }
    ResetDrawingState(doc);
}

void DimensionElementBox(const DimensionRecord* d, const DocSettings* s, Float64 box[4]) {
    Float64 c[8];
    FrameCorners(d, s, c);
    box[0] = box[2] = d->x1;
    box[1] = box[3] = d->y1;
    auto add = [&](Float64 x, Float64 y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
        box[2] = std::max(box[2], x), box[3] = std::max(box[3], y);
    };
    add(d->x2, d->y2);
    for (int i = 0; i < 4; ++i)
        add(c[2 * i], c[2 * i + 1]);
    DimGeometry g;
    if (!DimensionGeometry(d, s, &g)) return;
    add(g.line[0], g.line[1]);
    add(g.line[2], g.line[3]);
    if (g.isArc) {
        Float64 r = g.arcRadius;
        add(g.arcX - r, g.arcY - r);
        add(g.arcX + r, g.arcY + r);
    }
    for (int i = 0; i < 2; ++i) {
        if (g.hasExtension[i]) {
            add(g.extension[i][0], g.extension[i][1]);
            add(g.extension[i][2], g.extension[i][3]);
        }
        for (int k = 0; k < 3; ++k)
            add(g.terminator[i][2 * k], g.terminator[i][2 * k + 1]);
    }
    // Tolerances and frame shapes reach a little beyond the frame.
    Float64 m = d->textHeight;
    box[0] -= m, box[1] -= m, box[2] += m, box[3] += m;
}

void InstallDimensionDrawing() {
    gViewHooks.drawDimension = DrawDimensionHook;
}
