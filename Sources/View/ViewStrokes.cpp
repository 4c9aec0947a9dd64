// Strokes and fills in the drawing context, styled-line dashing, the context brackets and XOR lines.
#include "View/OutputDevice.h"
#include "View/ViewStrokes.h"
#include "Other/MathPrimitives.h"
#include "View/DrawCallRecorder.h"
#include "Files/Preferences.h"
#include "Platform/QuickDraw.h"
#include "View/ViewTransform.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

DrawCallListener gListener = nullptr;
void* gListenerUser = nullptr;

// More dashes than this along one stretch (a hair-thin pen over a long line) are drawn solid.
constexpr Float64 kMaxDashes = 200000;

Float64 Component(UInt16 c) {
    return (c >> 8) / 255.0;
}

void SetStrokeStyle(CGContextRef ctx, const RGBColor& rgb, Float64 width, SInt16 dashStyle) {
    CGContextSetRGBStrokeColor(ctx, Component(rgb.red), Component(rgb.green), Component(rgb.blue), 1.0);
    CGContextSetLineWidth(ctx, width);
    CGContextSetLineJoin(ctx, kCGLineJoinRound);
    CGContextSetLineCap(ctx, GeneralPrefs.roundLineCaps == 1 ? kCGLineCapRound : kCGLineCapButt);
    Float64 lengths[6];
    int n = DashLengthsForStyle(dashStyle, width, lengths);
    CGContextSetLineDash(ctx, 0, n ? lengths : nullptr, size_t(n));
}

// Arcs handed to a batch as chords deviate at most this much from the circle (device units); they are
// drawn aliased, where a pixel is the finest step anyway.
constexpr Float64 kArcChordTolerance = 0.5;
constexpr int kMaxArcChords = 100000;
constexpr Float64 kLargestChordedArc = 16;
// Millimetres a pixel shows at 100 % zoom (72 pixels an inch).
constexpr Float64 kFullSizeUnitsPerPixel = 25.4 / 72.0;
// At half size and below a drawing's lines carry far less detail than antialiasing costs.
constexpr Float64 kAliasedUnitsPerPixel = 2 * kFullSizeUnitsPerPixel;

// Slots of the table of segments a batch holds (a power of two).
constexpr size_t kSeenSegments = 8192;

// The pending strokes of the window pass. One per context being drawn: a band drawn apart would own
// its own.
struct StrokeBatch {
    CGContextRef target = nullptr;
    RGBColor colour{};
    Float64 width = 0;
    CGLineCap cap = kCGLineCapButt;
    bool aliased = false;
    // Millimetres a device pixel of the batched pass shows.
    Float64 unitsPerPixel = 0;
    std::vector<float> segments; // x1, y1, x2, y2
    std::vector<float> dots;     // x, y
    // Pixels the batch's dots have set, so a second dot at one is skipped; cleared pixel by pixel.
    int pixelsWide = 0, pixelsHigh = 0;
    std::vector<std::uint64_t> dotPixels;
    std::vector<std::uint32_t> setPixels;
    // Segments the batch holds already, by a hash of their ends: lines lying on one another (copies of
    // one block at one spot) are drawn once, so a redraw costs the pixels it covers, not the overlap.
    // An entry counts only in the generation it was written in; each flush starts a new one.
    struct Seen {
        float ends[4];
        std::uint32_t generation;
    };
    std::vector<Seen> seen = std::vector<Seen>(kSeenSegments);
    std::uint32_t generation = 1;
};

StrokeBatch gBatch;

CGLineCap CurrentCap() {
    return GeneralPrefs.roundLineCaps == 1 ? kCGLineCapRound : kCGLineCapButt;
}

void BeforePaint(CGContextRef, void*) {
    FlushStrokeBatch();
}

// Readies the batch for a stroke of this pen, drawing what another pen left.
void UseBatchPen(CGContextRef ctx, const RGBColor& rgb, Float64 width) {
    CGLineCap cap = CurrentCap();
    bool empty = gBatch.segments.empty() && gBatch.dots.empty();
    if (!empty && (gBatch.colour.red != rgb.red || gBatch.colour.green != rgb.green ||
                   gBatch.colour.blue != rgb.blue || gBatch.width != width || gBatch.cap != cap)) {
        FlushStrokeBatch();
        empty = true;
    }
    if (empty) {
        gBatch.colour = rgb;
        gBatch.width = width;
        gBatch.cap = cap;
        CGContextSetBeforePaintHook(ctx, BeforePaint, nullptr);
    }
}

// A dot in the batch unless one has set its pixel already.
void AddDot(Float64 x, Float64 y) {
    Float64 px = std::floor(x), py = std::floor(y);
    if (px >= 0 && py >= 0 && px < gBatch.pixelsWide && py < gBatch.pixelsHigh) {
        auto index = std::uint32_t(py * gBatch.pixelsWide + px);
        std::uint64_t bit = std::uint64_t(1) << (index % 64);
        if (gBatch.dotPixels[index / 64] & bit) return;
        gBatch.dotPixels[index / 64] |= bit;
        gBatch.setPixels.push_back(index);
    }
    gBatch.dots.insert(gBatch.dots.end(), {float(x), float(y)});
}

void BatchSegment(CGContextRef ctx, const RGBColor& rgb, Float64 width, Float64 x1, Float64 y1, Float64 x2,
                  Float64 y2) {
    UseBatchPen(ctx, rgb, width);
    float ends[4] = {float(x1), float(y1), float(x2), float(y2)};
    // One direction for both, so a line drawn back over itself is the same segment.
    if (ends[2] < ends[0] || (ends[2] == ends[0] && ends[3] < ends[1])) {
        std::swap(ends[0], ends[2]);
        std::swap(ends[1], ends[3]);
    }
    std::uint32_t bits[4];
    std::memcpy(bits, ends, sizeof bits);
    std::uint64_t hash = 0x9E3779B97F4A7C15ull;
    for (std::uint32_t b : bits)
        hash = (hash ^ b) * 0xBF58476D1CE4E5B9ull;
    StrokeBatch::Seen& slot = gBatch.seen[(hash >> 40) & (kSeenSegments - 1)];
    if (slot.generation == gBatch.generation && std::memcmp(slot.ends, ends, sizeof ends) == 0) return;
    std::memcpy(slot.ends, ends, sizeof ends);
    slot.generation = gBatch.generation;
    gBatch.segments.insert(gBatch.segments.end(), {float(x1), float(y1), float(x2), float(y2)});
}

// A solid arc as chords in the batch, as many as its size on the device needs.
void BatchArcChords(CGContextRef ctx, Float64 cx, Float64 cy, Float64 r, Float64 startAngle, Float64 endAngle,
                    const RGBColor& rgb, Float64 width) {
    Float64 a0 = startAngle * kDegreesToRadians, sweep = (endAngle - startAngle) * kDegreesToRadians;
    if (sweep >= kTwoPi)
        sweep = kTwoPi;
    else if (sweep < 0)
        sweep = std::fmod(std::fmod(sweep, kTwoPi) + kTwoPi, kTwoPi);
    Float64 step = r > kArcChordTolerance ? 2 * std::acos(1 - kArcChordTolerance / r) : kTwoPi / 8;
    step = std::clamp(step, 1e-9, kTwoPi / 8);
    int n = std::clamp(int(std::ceil(sweep / step)), 1, kMaxArcChords);
    // The chord ends turn by one step each: a rotation instead of a sine and cosine a point.
    Float64 ux = r * std::cos(a0), uy = r * std::sin(a0);
    Float64 c = std::cos(sweep / n), s = std::sin(sweep / n);
    Float64 px = cx + ux, py = cy + uy;
    for (int i = 1; i <= n; ++i) {
        Float64 vx = ux * c - uy * s, vy = ux * s + uy * c;
        ux = vx, uy = vy;
        Float64 x = cx + ux, y = cy + uy;
        BatchSegment(ctx, rgb, width, px, py, x, y);
        px = x, py = y;
    }
}

DrawCall MakeCall(DrawCallKind kind, const RGBColor& rgb, Float64 width, SInt16 style) {
    DrawCall call{};
    call.kind = kind;
    call.colour = rgb;
    call.alpha = 1.0;
    call.width = width;
    call.style = style;
    return call;
}

} // namespace

void SetDrawCallListener(DrawCallListener listener, void* user) {
    gListener = listener;
    gListenerUser = user;
}

Boolean DrawCallListening() {
    return gListener != nullptr;
}

void ReportDrawCall(const DrawCall& call) {
    if (gListener) gListener(call, gListenerUser);
}

void BeginStrokeBatching(DocWindowRecord* doc, CGContextRef ctx) {
    FlushStrokeBatch();
    Float64 deviceWidth, deviceHeight;
    DeviceBounds(doc, &deviceWidth, &deviceHeight);
    gBatch.target = ctx;
    // On screen the view's scale; in a bitmap output pass (the stored preview) the output transform's.
    Float64 pixelsPerUnit = WorldToDeviceLength(doc, 1);
    gBatch.unitsPerPixel = pixelsPerUnit > 0 ? 1 / pixelsPerUnit : 0;
    // A stored picture keeps its antialiasing: it is drawn once, and shown small.
    gBatch.aliased =
        doc->drawing->output.outputContext == nullptr && gBatch.unitsPerPixel > kAliasedUnitsPerPixel;
    gBatch.pixelsWide = std::max(0, int(std::ceil(deviceWidth)));
    gBatch.pixelsHigh = std::max(0, int(std::ceil(deviceHeight)));
    gBatch.dotPixels.assign((size_t(gBatch.pixelsWide) * size_t(gBatch.pixelsHigh) + 63) / 64, 0);
    gBatch.setPixels.clear();
}

void EndStrokeBatching() {
    FlushStrokeBatch();
    gBatch.target = nullptr;
}

Boolean StrokeBatching(CGContextRef ctx) {
    return ctx != nullptr && ctx == gBatch.target;
}

void FlushStrokeBatch() {
    if (!gBatch.target) return;
    CGContextSetBeforePaintHook(gBatch.target, nullptr, nullptr);
    if (gBatch.segments.empty() && gBatch.dots.empty()) return;
    const RGBColor& c = gBatch.colour;
    CGSegmentPen pen{Component(c.red), Component(c.green), Component(c.blue), 1.0,
                     gBatch.width,     gBatch.cap,         gBatch.aliased};
    CGContextStrokeSegmentBatch(gBatch.target, &pen, gBatch.segments.data(), gBatch.segments.size() / 4,
                                gBatch.dots.data(), gBatch.dots.size() / 2);
    gBatch.segments.clear();
    gBatch.dots.clear();
    if (++gBatch.generation == 0) {
        for (StrokeBatch::Seen& slot : gBatch.seen)
            slot.generation = 0;
        gBatch.generation = 1;
    }
    for (std::uint32_t i : gBatch.setPixels)
        gBatch.dotPixels[i / 64] = 0;
    gBatch.setPixels.clear();
}

Boolean DrawingWithLevelOfDetail(const DocWindowRecord* doc, CGContextRef ctx) {
    const DrawingOutputState& o = doc->drawing->output;
    CGContextRef current = o.outputContext ? o.outputContext : o.windowContext;
    return ctx != nullptr && ctx == current && StrokeBatching(ctx) && PlotTarget(doc) == nullptr &&
           gBatch.unitsPerPixel > kFullSizeUnitsPerPixel;
}

CGContextRef LevelOfDetailContext(const DocWindowRecord* doc) {
    const DrawingOutputState& o = doc->drawing->output;
    CGContextRef current = o.outputContext ? o.outputContext : o.windowContext;
    if (o.outputContext == nullptr && o.paintMode == kPaintXor) return nullptr;
    return DrawingWithLevelOfDetail(doc, current) ? current : nullptr;
}

void BatchDotCG(CGContextRef ctx, Float64 x, Float64 y, const RGBColor& rgb, Float64 width) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::line, rgb, width, 1);
        call.v[0] = x, call.v[1] = y, call.v[2] = x, call.v[3] = y;
        ReportDrawCall(call);
    }
    if (!StrokeBatching(ctx)) return;
    UseBatchPen(ctx, rgb, width);
    AddDot(x, y);
}

int DashLengthsForStyle(SInt16 style, Float64 w, Float64 lengths[6]) {
    switch (style) {
    case 2:
        lengths[0] = 26 * w;
        lengths[1] = 8 * w;
        return 2;
    case 3:
    case 4: {
        int n = style == 3 ? 4 : 6;
        for (int i = 0; i < n; ++i)
            lengths[i] = i == 0 ? 21 * w : (i % 2 ? 6 * w : 3 * w);
        return n;
    }
    case 5:
    case 6:
        lengths[0] = 7 * w;
        lengths[1] = 6 * w;
        return 2;
    default:
        return 0;
    }
}

void StrokeLineCG(CGContextRef ctx, Float64 x1, Float64 y1, Float64 x2, Float64 y2, const RGBColor& rgb,
                  Float64 width, SInt16 dashStyle) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::line, rgb, width, dashStyle);
        call.v[0] = x1, call.v[1] = y1, call.v[2] = x2, call.v[3] = y2;
        ReportDrawCall(call);
    }
    if (!ctx) return;
    if (dashStyle == 1 && StrokeBatching(ctx)) {
        BatchSegment(ctx, rgb, width, x1, y1, x2, y2);
        return;
    }
    SetStrokeStyle(ctx, rgb, width, dashStyle);
    CGContextBeginPath(ctx);
    CGContextMoveToPoint(ctx, Float32(x1), Float32(y1));
    CGContextAddLineToPoint(ctx, Float32(x2), Float32(y2));
    CGContextStrokePath(ctx);
}

void StrokeArcCG(CGContextRef ctx, Float64 cx, Float64 cy, Float64 r, Float64 startAngle, Float64 endAngle,
                 const RGBColor& rgb, Float64 width, SInt16 dashStyle) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::arc, rgb, width, dashStyle);
        call.v[0] = cx, call.v[1] = cy, call.v[2] = r, call.v[3] = startAngle, call.v[4] = endAngle;
        ReportDrawCall(call);
    }
    if (!ctx) return;
    // Small arcs at half size and below go as chords of a one-pixel pen into the batch; others keep the
    // curve, which a wide pen strokes faster than chords and which draws the same pixels as before.
    if (dashStyle == 1 && width <= 1 && r < kLargestChordedArc && gBatch.aliased && StrokeBatching(ctx)) {
        BatchArcChords(ctx, cx, cy, r, startAngle, endAngle, rgb, width);
        return;
    }
    SetStrokeStyle(ctx, rgb, width, dashStyle);
    CGContextBeginPath(ctx);
    CGContextAddArc(ctx, Float32(cx), Float32(cy), Float32(r), startAngle * kDegreesToRadians,
                    endAngle * kDegreesToRadians, 0);
    CGContextStrokePath(ctx);
}

void FillTriangleCG(CGContextRef ctx, Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 x3, Float64 y3,
                    const RGBColor& rgb, Float64 width) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::triangle, rgb, width, 1);
        Float64 v[6] = {x1, y1, x2, y2, x3, y3};
        for (int i = 0; i < 6; ++i)
            call.v[i] = v[i];
        ReportDrawCall(call);
    }
    if (!ctx) return;
    SetStrokeStyle(ctx, rgb, width, 1);
    CGContextSetRGBFillColor(ctx, Component(rgb.red), Component(rgb.green), Component(rgb.blue), 1.0);
    CGContextBeginPath(ctx);
    CGContextMoveToPoint(ctx, Float32(x1), Float32(y1));
    CGContextAddLineToPoint(ctx, Float32(x2), Float32(y2));
    CGContextAddLineToPoint(ctx, Float32(x3), Float32(y3));
    CGContextClosePath(ctx);
    CGContextDrawPath(ctx, kCGPathFillStroke);
}

void FillDiscCG(CGContextRef ctx, Float64 cx, Float64 cy, Float64 r, const RGBColor& rgb, Float64 width) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::disc, rgb, width, 1);
        call.v[0] = cx, call.v[1] = cy, call.v[2] = r;
        ReportDrawCall(call);
    }
    if (!ctx) return;
    CGContextSetRGBFillColor(ctx, Component(rgb.red), Component(rgb.green), Component(rgb.blue), 1.0);
    CGContextBeginPath(ctx);
    CGContextAddArc(ctx, Float32(cx), Float32(cy), Float32(r), 0, kTwoPi, 0);
    CGContextFillPath(ctx);
}

void FillQuadCG(CGContextRef ctx, const Float64 corners[8], const RGBColor& rgb) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::quadFill, rgb, 0, 1);
        for (int i = 0; i < 8; ++i)
            call.v[i] = corners[i];
        ReportDrawCall(call);
    }
    if (!ctx) return;
    CGContextSetRGBFillColor(ctx, Component(rgb.red), Component(rgb.green), Component(rgb.blue), 1.0);
    CGContextBeginPath(ctx);
    CGContextMoveToPoint(ctx, corners[0], corners[1]);
    for (int i = 1; i < 4; ++i)
        CGContextAddLineToPoint(ctx, corners[2 * i], corners[2 * i + 1]);
    CGContextClosePath(ctx);
    CGContextFillPath(ctx);
    CGContextSetRGBStrokeColor(ctx, 0, 0, 0, 1);
}

void SetHighlightColorCG(CGContextRef ctx, const DocWindowRecord* doc) {
    if (!ctx) return;
    const RGBColor& c = doc->settings->selectionColor;
    CGContextSetRGBStrokeColor(ctx, Component(c.red), Component(c.green), Component(c.blue), 1.0);
    CGContextSetRGBFillColor(ctx, Component(c.red), Component(c.green), Component(c.blue), 1.0);
}

void SetBlackColorCG(CGContextRef ctx) {
    if (!ctx) return;
    CGContextSetRGBStrokeColor(ctx, 0, 0, 0, 1);
    CGContextSetRGBFillColor(ctx, 0, 0, 0, 1);
}

Float64 DashSegmentWalk(Float64 x1, Float64 y1, Float64 x2, Float64 y2, const Float64* lengths, int count,
                        Float64 phase, DashEmit emit, void* user) {
    Float64 dx = x2 - x1, dy = y2 - y1;
    Float64 length = std::sqrt(dx * dx + dy * dy);
    Float64 total = 0;
    for (int i = 0; i < count; ++i)
        total += lengths[i];
    if (!(length > 0) || !std::isfinite(length)) return phase;
    if (count <= 0 || !(total > 0) || length / total > kMaxDashes) {
        emit(x1, y1, x2, y2, user);
        return phase;
    }
    Float64 pos = std::fmod(phase, total);
    if (pos < 0) pos += total;
    int index = 0;
    while (pos >= lengths[index] && index < count - 1) {
        pos -= lengths[index];
        ++index;
    }
    Float64 ux = dx / length, uy = dy / length;
    Float64 t = 0;
    while (t < length) {
        Float64 step = std::min(lengths[index] - pos, length - t);
        if (step > 0 && index % 2 == 0)
            emit(x1 + ux * t, y1 + uy * t, x1 + ux * (t + step), y1 + uy * (t + step), user);
        t += step;
        pos += step;
        if (pos >= lengths[index] - 1e-12) {
            pos = 0;
            index = (index + 1) % count;
        }
    }
    return std::fmod(phase + length, total);
}

namespace {

struct DashPath {
    CGContextRef ctx;
    int dashes = 0;
    const RGBColor* colour = nullptr;
    Float64 width = 0;
};

void BatchDash(Float64 x1, Float64 y1, Float64 x2, Float64 y2, void* user) {
    auto* path = static_cast<DashPath*>(user);
    BatchSegment(path->ctx, *path->colour, path->width, x1, y1, x2, y2);
    ++path->dashes;
}

void AddDash(Float64 x1, Float64 y1, Float64 x2, Float64 y2, void* user) {
    auto* path = static_cast<DashPath*>(user);
    CGContextMoveToPoint(path->ctx, Float32(x1), Float32(y1));
    CGContextAddLineToPoint(path->ctx, Float32(x2), Float32(y2));
    ++path->dashes;
}

// Strokes the stretches of a styled line as one path, dashed by our own stepping.
void StrokeDashed(CGContextRef ctx, DocWindowRecord* doc, const Float64* xy, int pointCount, Float64 phase) {
    DrawingRecord* d = doc->drawing;
    Float64 lengths[6];
    int n = DashLengthsForStyle(d->output.lineMode, d->output.penWidth, lengths);
    if (StrokeBatching(ctx)) {
        DashPath batch{ctx, 0, &d->output.penColor, d->output.penWidth};
        for (int i = 0; i + 1 < pointCount; ++i)
            phase = DashSegmentWalk(xy[2 * i], xy[2 * i + 1], xy[2 * i + 2], xy[2 * i + 3], lengths, n, phase,
                                    BatchDash, &batch);
        return;
    }
    SetStrokeStyle(ctx, d->output.penColor, d->output.penWidth, 1);
    CGContextBeginPath(ctx);
    DashPath path{ctx};
    for (int i = 0; i + 1 < pointCount; ++i)
        phase = DashSegmentWalk(xy[2 * i], xy[2 * i + 1], xy[2 * i + 2], xy[2 * i + 3], lengths, n, phase,
                                AddDash, &path);
    CGContextStrokePath(ctx);
}

} // namespace

void DrawStyledLine(CGContextRef ctx, DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    DrawingRecord* d = doc->drawing;
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    // A margin of the pen's width keeps the caps of lines along the edges.
    Float64 m = d->output.penWidth + 2;
    Float64 ax = x1 + m, ay = y1 + m, bx = x2 + m, by = y2 + m;
    if (!ClipSegmentToPort(&ax, &ay, &bx, &by, w + 2 * m, h + 2 * m)) return;
    ax -= m, ay -= m, bx -= m, by -= m;
    Float64 phase = std::hypot(ax - x1, ay - y1);
    if (gListener) {
        DrawCall call =
            MakeCall(DrawCallKind::styledLine, d->output.penColor, d->output.penWidth, d->output.lineMode);
        call.v[0] = ax, call.v[1] = ay, call.v[2] = bx, call.v[3] = by;
        call.phase = phase;
        ReportDrawCall(call);
    }
    if (!ctx) return;
    Float64 xy[4] = {ax, ay, bx, by};
    StrokeDashed(ctx, doc, xy, 2, phase);
}

void DrawStyledPolyline(CGContextRef ctx, DocWindowRecord* doc, const Float64* xy, int pointCount,
                        Float64 phase) {
    if (pointCount < 2) return;
    DrawingRecord* d = doc->drawing;
    if (gListener) {
        DrawCall call =
            MakeCall(DrawCallKind::polyline, d->output.penColor, d->output.penWidth, d->output.lineMode);
        call.points.assign(xy, xy + 2 * pointCount);
        call.phase = phase;
        ReportDrawCall(call);
    }
    if (!ctx) return;
    StrokeDashed(ctx, doc, xy, pointCount, phase);
}

OSStatus BeginWindowCG(CGContextRef* slot, WindowRef window) {
    *slot = nullptr;
    if (!window) return paramErr;
    return QDBeginCGContext(GetWindowPort(window), slot);
}

void EndWindowCG(CGContextRef* slot, WindowRef window) {
    if (*slot == nullptr) return;
    QDEndCGContext(GetWindowPort(window), slot);
    *slot = nullptr;
}

DrawingContextScope::DrawingContextScope(DocWindowRecord* doc) : doc_(doc) {
    DrawingRecord* d = doc->drawing;
    if (d->output.outputContext)
        ctx_ = d->output.outputContext;
    else if (d->output.windowContext)
        ctx_ = d->output.windowContext;
    else if (doc->window && BeginWindowCG(&ctx_, doc->window) == noErr)
        owned_ = true;
}

DrawingContextScope::~DrawingContextScope() {
    if (owned_) EndWindowCG(&ctx_, doc_->window);
}

void BeginDrawingArea(DocWindowRecord* doc, Boolean on) {
    DrawingRecord* d = doc->drawing;
    if (on) {
        if (d->output.drawingAreaDepth++ == 0 && !d->output.outputContext && !d->output.windowContext &&
            doc->window && BeginWindowCG(&d->output.windowContext, doc->window) == noErr) {
            d->output.drawingAreaOwnsContext = true;
            CGContextClipToRect(d->output.windowContext,
                                CGRectMake(0, d->layout.statusHeight + kScrollBarWidth, d->view.viewWidth,
                                           d->view.viewHeight));
        }
        d->output.penColor = RGBColor{0, 0, 0};
        return;
    }
    if (d->output.drawingAreaDepth <= 0) return;
    if (--d->output.drawingAreaDepth == 0 && d->output.drawingAreaOwnsContext) {
        EndWindowCG(&d->output.windowContext, doc->window);
        d->output.drawingAreaOwnsContext = false;
    }
}

void SetPaintMode(DocWindowRecord* doc, SInt16 mode) {
    doc->drawing->output.paintMode = mode;
}

void DrawXorLine(DocWindowRecord* doc, SInt16 h1, SInt16 v1, SInt16 h2, SInt16 v2) {
    if (gListener) {
        DrawCall call = MakeCall(DrawCallKind::xorLine, RGBColor{0, 0, 0}, 1, 1);
        call.v[0] = h1, call.v[1] = v1, call.v[2] = h2, call.v[3] = v2;
        ReportDrawCall(call);
    }
    if (!doc->window) return;
    XorOnWindowPort port(doc);
    MoveTo(h1, v1);
    LineTo(h2, v2);
}

XorOnWindowPort::XorOnWindowPort(DocWindowRecord* doc) {
    // XOR works on the port's pixels: what the batch holds must be there first.
    FlushStrokeBatch();
    GetPort(&saved_);
    SetPortWindowPort(doc->window);
    GetPenState(&pen_);
    clip_ = NewRgn();
    GetClip(clip_);
    Rect area;
    SetRect(&area, 0, 0, doc->drawing->view.viewWidth, doc->drawing->view.viewHeight);
    ClipRect(&area);
    PenNormal();
    PenMode(patXor);
}

XorOnWindowPort::~XorOnWindowPort() {
    SetClip(clip_);
    DisposeRgn(clip_);
    SetPenState(&pen_);
    SetPort(saved_);
}
