// The strokes and fills every drawing of the view ends in: lines, arcs, triangles, discs and masks in a
// CoreGraphics-style context with the program's colours, caps, joins and dash table; styled lines
// dashed after they are clipped to the device; the window-context and drawing-area brackets; lines in
// XOR on the window port for feedback that a second drawing removes.
#pragma once

#include "Platform/CGContext.h"
#include "Model/DocumentRecords.h"
#include "Platform/QuickDrawTypes.h"

// The dash lengths of a line style for stroke width w (phase 0): style 2 {26w, 8w}, 3 {21w, 6w, 3w,
// 6w}, 4 {21w, 6w, 3w, 6w, 3w, 6w}, 5 and 6 {7w, 6w}; 0 lengths (solid) for 1 and every other value.
int DashLengthsForStyle(SInt16 style, Float64 width, Float64 lengths[6]);

// Colours are 16-bit components shifted right by 8 and divided by 255; joins round; caps round when
// the general preference for round line ends is 1, else butt. The dashed forms dash with phase 0 as the
// context does.
void StrokeLineCG(CGContextRef ctx, Float64 x1, Float64 y1, Float64 x2, Float64 y2, const RGBColor& rgb,
                  Float64 width, SInt16 dashStyle);
// Angles in degrees, counter-clockwise from the start to the end; 0 to 360 is the whole circle.
void StrokeArcCG(CGContextRef ctx, Float64 cx, Float64 cy, Float64 r, Float64 startAngle, Float64 endAngle,
                 const RGBColor& rgb, Float64 width, SInt16 dashStyle);
void FillTriangleCG(CGContextRef ctx, Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 x3, Float64 y3,
                    const RGBColor& rgb, Float64 width);
void FillDiscCG(CGContextRef ctx, Float64 cx, Float64 cy, Float64 r, const RGBColor& rgb, Float64 width);
// Fills a quadrilateral (x, y of four corners), leaving the stroke colour opaque black.
void FillQuadCG(CGContextRef ctx, const Float64 corners[8], const RGBColor& rgb);
// Stroke and fill colour: the document's highlight (selection) colour, or opaque black.
void SetHighlightColorCG(CGContextRef ctx, const DocWindowRecord* doc);
void SetBlackColorCG(CGContextRef ctx);

// Steps a dash pattern (on, off, on, ...) along a segment, starting `phase` into the pattern, and calls
// emit for every visible dash. Returns the phase at the segment's end, for a following segment.
using DashEmit = void (*)(Float64 x1, Float64 y1, Float64 x2, Float64 y2, void* user);
Float64 DashSegmentWalk(Float64 x1, Float64 y1, Float64 x2, Float64 y2, const Float64* lengths, int count,
                        Float64 phase, DashEmit emit, void* user);

// A line in CoreGraphics points with the document's pen colour, width and line mode. The line is first
// clipped to the device (the port, or the output area) and the dashes are stepped from the phase the
// original start gives, so a line far larger than the device costs no more than one that fits it.
void DrawStyledLine(CGContextRef ctx, DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
// The same along connected points (pairs of x, y), the pattern running on from `phase` at the first.
void DrawStyledPolyline(CGContextRef ctx, DocWindowRecord* doc, const Float64* xy, int pointCount,
                        Float64 phase);

// The window pass strokes in batches: between Begin and End, solid strokes into `ctx` are collected per
// pen (colour, width, cap) in device space and drawn a batch at a time. A pen change, anything else
// drawn in the context, XOR feedback and the end draw the pending batch first, so the picture is the
// one stroke by stroke gives. At half size (50 % zoom) and below the batches are drawn without
// antialiasing: a zoomed-out drawing has most of its lines far below a pixel's detail.
void BeginStrokeBatching(DocWindowRecord* doc, CGContextRef ctx);
void EndStrokeBatching();
Boolean StrokeBatching(CGContextRef ctx);
void FlushStrokeBatch();
// Level of detail: true while a batched pass (the window's, or the bitmap of the stored preview) draws
// into ctx, the current context, below full size (100 % zoom), where an element smaller than a pixel
// may be drawn as a dot and small texts as their boxes.
Boolean DrawingWithLevelOfDetail(const DocWindowRecord* doc, CGContextRef ctx);
// The current context when drawing there has the level of detail and is no XOR feedback, else null.
CGContextRef LevelOfDetailContext(const DocWindowRecord* doc);
// A dot one pen wide at a device point, in the batch of the pen; nothing when the batch has a dot at
// that pixel already. Reports a line of no length to the listener.
void BatchDotCG(CGContextRef ctx, Float64 x, Float64 y, const RGBColor& rgb, Float64 width);

// A context on the window's port; noErr when one was opened.
OSStatus BeginWindowCG(CGContextRef* slot, WindowRef window);
void EndWindowCG(CGContextRef* slot, WindowRef window);

// The context drawing goes to now: the output context, else the window pass's context, else a
// temporary one on the document window, closed again when the scope ends. Null without any (a
// document without a window): the calls then only report to the listener.
class DrawingContextScope {
  public:
    explicit DrawingContextScope(DocWindowRecord* doc);
    ~DrawingContextScope();
    DrawingContextScope(const DrawingContextScope&) = delete;
    DrawingContextScope& operator=(const DrawingContextScope&) = delete;
    CGContextRef get() const { return ctx_; }

  private:
    DocWindowRecord* doc_;
    CGContextRef ctx_ = nullptr;
    bool owned_ = false;
};

// With on set, drawing on screen is clipped to the window's drawing area (a context is kept open on
// the window until the bracket closes) and the pen is black; with on clear the bracket ends. Brackets
// nest; only the outermost opens and closes.
void BeginDrawingArea(DocWindowRecord* doc, Boolean on);

// Paint modes of the screen drawing: normal, or XOR on the window port (feedback that a second
// drawing of the same lines removes).
enum : SInt16 { kPaintNormal = 0, kPaintXor = 1 };
void SetPaintMode(DocWindowRecord* doc, SInt16 mode);
// A one-pixel line in XOR on the window port between QuickDraw points, clipped to the drawing area.
void DrawXorLine(DocWindowRecord* doc, SInt16 h1, SInt16 v1, SInt16 h2, SInt16 v2);

// While it lives, the document's window port is current with a normal one-pixel pen in XOR, clipped
// to the drawing area; the port before it, the window port's pen and its clip come back at the end.
// The document must have a window.
class XorOnWindowPort {
  public:
    explicit XorOnWindowPort(DocWindowRecord* doc);
    ~XorOnWindowPort();
    XorOnWindowPort(const XorOnWindowPort&) = delete;
    XorOnWindowPort& operator=(const XorOnWindowPort&) = delete;

  private:
    GrafPtr saved_ = nullptr;
    PenState pen_{};
    RgnHandle clip_ = nullptr;
};
