// A CGContext-style drawing context: paths, stroking and filling (with dashes, caps, joins, even-odd),
// clipping, transforms, colours with alpha, 8 x 8 pattern fills, images and text. One implementation
// draws into a port (window or offscreen world), a PDF file, or (for printing) any Qt paint device.
// The user space has its origin at the bottom-left, y up, one unit a pixel on a port and a point in PDF.
#pragma once

#include "Platform/QuickDrawTypes.h"

#include <cstddef>

using CGFloat = double;

struct CGPoint {
    CGFloat x;
    CGFloat y;
};
struct CGSize {
    CGFloat width;
    CGFloat height;
};
struct CGRect {
    CGPoint origin;
    CGSize size;
};
// Maps (x, y) to (a x + c y + tx, b x + d y + ty).
struct CGAffineTransform {
    CGFloat a, b, c, d, tx, ty;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return CGPoint{x, y};
}
inline CGSize CGSizeMake(CGFloat w, CGFloat h) {
    return CGSize{w, h};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    return CGRect{{x, y}, {w, h}};
}
inline CGFloat CGRectGetMinX(CGRect r) {
    return r.size.width < 0 ? r.origin.x + r.size.width : r.origin.x;
}
inline CGFloat CGRectGetMinY(CGRect r) {
    return r.size.height < 0 ? r.origin.y + r.size.height : r.origin.y;
}
inline CGFloat CGRectGetWidth(CGRect r) {
    return r.size.width < 0 ? -r.size.width : r.size.width;
}
inline CGFloat CGRectGetHeight(CGRect r) {
    return r.size.height < 0 ? -r.size.height : r.size.height;
}
inline CGFloat CGRectGetMaxX(CGRect r) {
    return CGRectGetMinX(r) + CGRectGetWidth(r);
}
inline CGFloat CGRectGetMaxY(CGRect r) {
    return CGRectGetMinY(r) + CGRectGetHeight(r);
}

extern const CGAffineTransform CGAffineTransformIdentity;
CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformMakeRotation(CGFloat radians);
// t1 then t2.
CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);
CGAffineTransform CGAffineTransformInvert(CGAffineTransform t);
CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t);

struct CGContext;
using CGContextRef = CGContext*;
struct CGPath;
using CGMutablePathRef = CGPath*;
using CGPathRef = const CGPath*;
struct CGImage;
using CGImageRef = CGImage*;

enum CGLineCap { kCGLineCapButt = 0, kCGLineCapRound = 1, kCGLineCapSquare = 2 };
enum CGLineJoin { kCGLineJoinMiter = 0, kCGLineJoinRound = 1, kCGLineJoinBevel = 2 };
enum CGPathDrawingMode {
    kCGPathFill = 0,
    kCGPathEOFill = 1,
    kCGPathStroke = 2,
    kCGPathFillStroke = 3,
    kCGPathEOFillStroke = 4,
};
enum CGTextDrawingMode { kCGTextFill = 0, kCGTextStroke = 1, kCGTextFillStroke = 2, kCGTextInvisible = 3 };
// How the bytes of shown text are read: the system encoding, or UTF-8 (element texts).
enum CGTextEncoding { kCGEncodingFontSpecific = 0, kCGEncodingMacRoman = 1, kCGEncodingUTF8 = 2 };

// Contexts. A port context clips to the port's visible region (during an update, what is invalid) and
// shows on the window when it ends.
OSStatus QDBeginCGContext(CGrafPtr port, CGContextRef* context);
OSStatus QDEndCGContext(CGrafPtr port, CGContextRef* context);
// Shows what was drawn into a window's port now.
void QDFlushPortBuffer(CGrafPtr port, RgnHandle region);
// A PDF whose pages have the media box's size (points), written into a fork open for writing (which
// the caller closes after the release); null for a fork that is not open or an empty box. The file
// is complete after CGContextRelease, which says whether every byte of it was written: the first
// write error, ioErr when the writer could not finish, else noErr (always noErr for other contexts).
CGContextRef CGPDFContextCreateWithFork(SInt16 fork, const CGRect* mediaBox);
void CGContextBeginPage(CGContextRef context, const CGRect* mediaBox);
void CGContextEndPage(CGContextRef context);
OSStatus CGContextRelease(CGContextRef context);
void CGContextFlush(CGContextRef context);
void CGContextSynchronize(CGContextRef context);

// Antialiasing of contexts made from now on (on by default; tests turn it off for exact pixels).
void CGSetDefaultShouldAntialias(Boolean on);
void CGContextSetShouldAntialias(CGContextRef context, Boolean on);

// Graphics state: colours, line, font, clip and transform.
void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);
void CGContextSetLineWidth(CGContextRef context, CGFloat width);
void CGContextSetLineCap(CGContextRef context, CGLineCap cap);
void CGContextSetLineJoin(CGContextRef context, CGLineJoin join);
void CGContextSetMiterLimit(CGContextRef context, CGFloat limit);
// Lengths in user units; count 0 is a solid line.
void CGContextSetLineDash(CGContextRef context, CGFloat phase, const CGFloat* lengths, size_t count);
void CGContextSetRGBStrokeColor(CGContextRef context, CGFloat r, CGFloat g, CGFloat b, CGFloat alpha);
void CGContextSetRGBFillColor(CGContextRef context, CGFloat r, CGFloat g, CGFloat b, CGFloat alpha);
void CGContextSetGrayStrokeColor(CGContextRef context, CGFloat gray, CGFloat alpha);
void CGContextSetGrayFillColor(CGContextRef context, CGFloat gray, CGFloat alpha);
void CGContextSetAlpha(CGContextRef context, CGFloat alpha);
// Fills paint an 8 x 8 pattern from now on: set bits in the colour, the rest left as it is; each
// pattern bit is cellSize device units (pixels on a port, points in PDF). A solid colour again ends it.
void CGContextSetFillPattern8x8(CGContextRef context, const Pattern* pattern, CGFloat r, CGFloat g, CGFloat b,
                                CGFloat alpha, CGFloat cellSize);

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy);
void CGContextRotateCTM(CGContextRef context, CGFloat radians);
void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform);
CGAffineTransform CGContextGetCTM(CGContextRef context);

// The current path, in user space when it is built (later transform changes do not move it).
void CGContextBeginPath(CGContextRef context);
void CGContextMoveToPoint(CGContextRef context, CGFloat x, CGFloat y);
void CGContextAddLineToPoint(CGContextRef context, CGFloat x, CGFloat y);
void CGContextAddCurveToPoint(CGContextRef context, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y,
                              CGFloat x, CGFloat y);
void CGContextAddQuadCurveToPoint(CGContextRef context, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y);
// Angles in radians counter-clockwise from the x axis; clockwise 1 runs the other way. A line joins the
// current point to the arc's start.
void CGContextAddArc(CGContextRef context, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
                     CGFloat endAngle, int clockwise);
void CGContextAddRect(CGContextRef context, CGRect rect);
void CGContextAddEllipseInRect(CGContextRef context, CGRect rect);
void CGContextAddLines(CGContextRef context, const CGPoint* points, size_t count);
void CGContextClosePath(CGContextRef context);
void CGContextAddPath(CGContextRef context, CGPathRef path);
Boolean CGContextIsPathEmpty(CGContextRef context);
CGPoint CGContextGetPathCurrentPoint(CGContextRef context);

// Painting ends the current path.
void CGContextStrokePath(CGContextRef context);
void CGContextFillPath(CGContextRef context);
void CGContextEOFillPath(CGContextRef context);
void CGContextDrawPath(CGContextRef context, CGPathDrawingMode mode);
void CGContextStrokeRect(CGContextRef context, CGRect rect);
void CGContextStrokeRectWithWidth(CGContextRef context, CGRect rect, CGFloat width);
void CGContextFillRect(CGContextRef context, CGRect rect);
void CGContextFillEllipseInRect(CGContextRef context, CGRect rect);
void CGContextStrokeEllipseInRect(CGContextRef context, CGRect rect);
void CGContextStrokeLineSegments(CGContextRef context, const CGPoint* points, size_t count);
// The pen of a batch of segments: colour, width and cap. Each segment stands alone, so no joins arise.
struct CGSegmentPen {
    CGFloat r, g, b, alpha;
    CGFloat width;
    CGLineCap cap;
    bool aliased; // drawn without antialiasing whatever the context's setting
};
// Strokes many separate segments (x1, y1, x2, y2 each, user space) and dots (x, y each, one pen wide)
// solid with the pen in one painter call; the graphics state is left as it is.
void CGContextStrokeSegmentBatch(CGContextRef context, const CGSegmentPen* pen, const float* segments,
                                 size_t segmentCount, const float* dots, size_t dotCount);
// Called once before the context next paints, clips, transforms or ends by any other call: a caller
// collecting a batch draws it then, so drawing order holds. Null removes it.
using CGContextBeforePaintHook = void (*)(CGContextRef context, void* user);
void CGContextSetBeforePaintHook(CGContextRef context, CGContextBeforePaintHook hook, void* user);
// Paints the rectangle transparent (white on a port).
void CGContextClearRect(CGContextRef context, CGRect rect);

// Clipping intersects the clip with the current path (and ends the path) or a rectangle.
void CGContextClip(CGContextRef context);
void CGContextEOClip(CGContextRef context);
void CGContextClipToRect(CGContextRef context, CGRect rect);

// Path objects.
CGMutablePathRef CGPathCreateMutable();
void CGPathRelease(CGPathRef path);
void CGPathMoveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y);
void CGPathAddLineToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y);
void CGPathAddCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cp1x, CGFloat cp1y,
                           CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y);
void CGPathAddArc(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y, CGFloat radius,
                  CGFloat startAngle, CGFloat endAngle, bool clockwise);
void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect);
void CGPathAddEllipseInRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect);
void CGPathCloseSubpath(CGMutablePathRef path);
bool CGPathIsEmpty(CGPathRef path);
CGRect CGPathGetBoundingBox(CGPathRef path);
bool CGPathContainsPoint(CGPathRef path, const CGAffineTransform* m, CGPoint point, bool eoFill);

// Images.
CGImageRef CreatePNGImageFromFile(const char* utf8Path);
// Any image file Qt reads (PNG, TIFF, ...); null when it cannot be read.
CGImageRef CGImageCreateWithFile(const char* utf8Path);
CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
// Resolution stored in the file, 72 when it has none.
void CGImageGetResolution(CGImageRef image, CGFloat* dpiX, CGFloat* dpiY);
// An image from rows of 32-bit pixels, alpha, red, green, blue in memory order, bytesPerRow apart
// (at least width * 4); null when the sizes do not fit the bytes given.
CGImageRef CGImageCreateWithARGBBytes(const UInt8* bytes, size_t byteCount, size_t width, size_t height,
                                      size_t bytesPerRow);
// The image's pixels as such rows of exactly width * 4 bytes; false when the buffer is too small.
bool CGImageCopyARGBBytes(CGImageRef image, UInt8* buffer, size_t bufferSize);
// Draws the image upright, scaled into the rectangle.
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);

// Text. The font is chosen by name (font registry names) or number; size in user units. Text is shown
// at the text position, through the text matrix, and the position advances by its width.
void CGContextSelectFont(CGContextRef context, const char* name, CGFloat size, CGTextEncoding encoding);
void CGContextSelectFontNumber(CGContextRef context, SInt16 fontNumber, SInt16 face, CGFloat size,
                               CGTextEncoding encoding);
void CGContextSetFontSize(CGContextRef context, CGFloat size);
void CGContextSetTextDrawingMode(CGContextRef context, CGTextDrawingMode mode);
void CGContextSetTextMatrix(CGContextRef context, CGAffineTransform matrix);
CGAffineTransform CGContextGetTextMatrix(CGContextRef context);
void CGContextSetTextPosition(CGContextRef context, CGFloat x, CGFloat y);
CGPoint CGContextGetTextPosition(CGContextRef context);
void CGContextShowText(CGContextRef context, const char* bytes, size_t length);
void CGContextShowTextAtPoint(CGContextRef context, CGFloat x, CGFloat y, const char* bytes, size_t length);
// The advance of the text in the selected font and size (text space), without drawing.
CGFloat CGContextMeasureText(CGContextRef context, const char* bytes, size_t length);
// Ascent and descent of the selected font at its size (text space, both positive).
void CGContextGetFontExtents(CGContextRef context, CGFloat* ascent, CGFloat* descent);
