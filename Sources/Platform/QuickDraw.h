// QuickDraw: the current port, pen, colours and patterns, lines and shapes, regions, text, CopyBits and
// offscreen worlds. Drawing is raster work on the port's image, pixel-exact and without antialiasing, so
// XOR drawing done twice restores the pixels.
#pragma once

#include "Platform/QuickDrawTypes.h"

// Current port. Drawing with no current port does nothing.
void SetPort(GrafPtr port);
void GetPort(GrafPtr* port);
Rect* GetPortBounds(CGrafPtr port, Rect* bounds);
Boolean IsValidPort(CGrafPtr port);

// Rectangle and point arithmetic.
void SetRect(Rect* r, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void OffsetRect(Rect* r, SInt16 dh, SInt16 dv);
void InsetRect(Rect* r, SInt16 dh, SInt16 dv);
Boolean SectRect(const Rect* a, const Rect* b, Rect* result);
void UnionRect(const Rect* a, const Rect* b, Rect* result);
Boolean PtInRect(Point p, const Rect* r);
Boolean EqualRect(const Rect* a, const Rect* b);
Boolean EmptyRect(const Rect* r);
void Pt2Rect(Point a, Point b, Rect* result);
void SetPt(Point* p, SInt16 h, SInt16 v);
Boolean EqualPt(Point a, Point b);
void AddPt(Point src, Point* dst);
void SubPt(Point src, Point* dst);

// Pen.
void PenSize(SInt16 width, SInt16 height);
void PenMode(SInt16 mode);
void PenPat(const Pattern* pattern);
void PenNormal();
void HidePen();
void ShowPen();
void GetPen(Point* location);
void GetPenState(PenState* state);
void SetPenState(const PenState* state);
void BackPat(const Pattern* pattern);

// The standard patterns.
Pattern* GetQDGlobalsBlack(Pattern* pattern);
Pattern* GetQDGlobalsWhite(Pattern* pattern);
Pattern* GetQDGlobalsGray(Pattern* pattern);
Pattern* GetQDGlobalsLightGray(Pattern* pattern);
Pattern* GetQDGlobalsDarkGray(Pattern* pattern);

// Colours. ForeColor and BackColor take the eight classic colour constants.
enum : SInt32 {
    blackColor = 33,
    whiteColor = 30,
    redColor = 205,
    greenColor = 341,
    blueColor = 409,
    cyanColor = 273,
    magentaColor = 137,
    yellowColor = 69,
};
void RGBForeColor(const RGBColor* colour);
void RGBBackColor(const RGBColor* colour);
void GetForeColor(RGBColor* colour);
void GetBackColor(RGBColor* colour);
void ForeColor(SInt32 colour);
void BackColor(SInt32 colour);

// A pixel pattern; ours are always one solid colour.
struct OpaquePixPat;
using PixPatHandle = OpaquePixPat*;
PixPatHandle NewPixPat();
void DisposePixPat(PixPatHandle pixPat);
void MakeRGBPat(PixPatHandle pixPat, const RGBColor* colour);
void PenPixPat(PixPatHandle pixPat);
void FillCRect(const Rect* r, PixPatHandle pixPat);
void FillCOval(const Rect* r, PixPatHandle pixPat);

// Lines: the pen hangs below and to the right of its location.
void MoveTo(SInt16 h, SInt16 v);
void Move(SInt16 dh, SInt16 dv);
void LineTo(SInt16 h, SInt16 v);
void Line(SInt16 dh, SInt16 dv);

// Shapes: Frame draws with the pen inside the shape, Paint fills with the pen pattern and mode, Erase
// with the background, Invert inverts, Fill uses the given pattern in copy mode.
void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void FillRect(const Rect* r, const Pattern* pattern);
void FrameOval(const Rect* r);
void PaintOval(const Rect* r);
void EraseOval(const Rect* r);
void InvertOval(const Rect* r);
void FillOval(const Rect* r, const Pattern* pattern);
void FrameRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void PaintRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void EraseRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
void InvertRoundRect(const Rect* r, SInt16 ovalWidth, SInt16 ovalHeight);
// Angles in degrees, 0 at 12 o'clock, growing clockwise.
void FrameArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void PaintArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void EraseArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);
void InvertArc(const Rect* r, SInt16 startAngle, SInt16 arcAngle);

// Regions.
RgnHandle NewRgn();
void DisposeRgn(RgnHandle region);
void CopyRgn(RgnHandle source, RgnHandle destination);
void SetEmptyRgn(RgnHandle region);
void SetRectRgn(RgnHandle region, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void RectRgn(RgnHandle region, const Rect* r);
void OffsetRgn(RgnHandle region, SInt16 dh, SInt16 dv);
void InsetRgn(RgnHandle region, SInt16 dh, SInt16 dv);
void SectRgn(RgnHandle a, RgnHandle b, RgnHandle result);
void UnionRgn(RgnHandle a, RgnHandle b, RgnHandle result);
void DiffRgn(RgnHandle a, RgnHandle b, RgnHandle result);
void XorRgn(RgnHandle a, RgnHandle b, RgnHandle result);
Boolean EmptyRgn(RgnHandle region);
Boolean EqualRgn(RgnHandle a, RgnHandle b);
Boolean PtInRgn(Point p, RgnHandle region);
Boolean RectInRgn(const Rect* r, RgnHandle region);
Rect* GetRegionBounds(RgnHandle region, Rect* bounds);
void FrameRgn(RgnHandle region);
void PaintRgn(RgnHandle region);
void EraseRgn(RgnHandle region);
void InvertRgn(RgnHandle region);
void FillRgn(RgnHandle region, const Pattern* pattern);

// Clipping of the current port, local coordinates.
void ClipRect(const Rect* r);
void SetClip(RgnHandle region);
void GetClip(RgnHandle region);
// The port's visible region: during an update, what was invalid.
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle region);

// Text, in the system encoding (Mac Roman). Sizes are pixels; font numbers as in Fonts.h.
void TextFont(SInt16 font);
void TextSize(SInt16 size);
void TextFace(SInt16 face);
void TextMode(SInt16 mode);
SInt16 GetPortTextFont(CGrafPtr port);
SInt16 GetPortTextSize(CGrafPtr port);
SInt16 GetPortTextFace(CGrafPtr port);
SInt16 GetPortTextMode(CGrafPtr port);
void DrawString(ConstStr255Param text);
void DrawText(const void* text, SInt16 first, SInt16 count);
void DrawChar(UInt8 ch);
SInt16 StringWidth(ConstStr255Param text);
SInt16 TextWidth(const void* text, SInt16 first, SInt16 count);
SInt16 CharWidth(UInt8 ch);
void GetFontInfo(FontInfo* info);
// The same for UTF-8 text (element texts).
void DrawTextUTF8(const char* text, SInt32 length);
SInt16 TextWidthUTF8(const char* text, SInt32 length);

// CopyBits between ports (windows and offscreen worlds), scaled when the rectangles differ.
// Modes: srcCopy, srcOr, srcXor, srcBic, transparent, ditherCopy; mask limits the destination.
void CopyBits(CGrafPtr source, CGrafPtr destination, const Rect* sourceRect, const Rect* destRect,
              SInt16 mode, RgnHandle mask);
// Copies where the mask port is dark (the mask is sampled at maskRect, scaled like the source).
void CopyMask(CGrafPtr source, CGrafPtr mask, CGrafPtr destination, const Rect* sourceRect,
              const Rect* maskRect, const Rect* destRect);

// Offscreen worlds: a port of its own over an image. Depth 32 keeps colour; depth 8 keeps grey levels.
// Bounds give the port rectangle (usually with top-left 0, 0).
OSErr NewGWorld(GWorldPtr* world, SInt16 depth, const Rect* bounds);
void DisposeGWorld(GWorldPtr world);
void GetGWorld(CGrafPtr* port);
void SetGWorld(CGrafPtr port);
SInt16 GetGWorldDepth(GWorldPtr world);
// Direct access to the pixels: 32-bit pixels 0xffRRGGBB (also at depth 8, as grey), rows top down.
UInt32* GetGWorldPixels(GWorldPtr world, SInt32* rowBytes);
Boolean LockGWorldPixels(GWorldPtr world);
void UnlockGWorldPixels(GWorldPtr world);
// The program's names: a world of width x height (colourTable 40 = the grey table of depth 8) and a
// dispose that clears the caller's slot.
OSErr NewOffscreenGWorld(GWorldPtr* world, SInt16 width, SInt16 height, SInt16 depth, SInt16 colourTable);
void DisposeOffscreenGWorld(GWorldPtr* world);

// Saves a port's pixels as a PNG file; false when it cannot be written.
Boolean SavePortAsPNG(CGrafPtr port, const char* path);
// The colour of one pixel of a port (local coordinates); black outside.
RGBColor GetPortPixel(CGrafPtr port, SInt16 h, SInt16 v);

// The system beep; counted so tests can see it.
void SysBeep(SInt16 duration);
UInt32 PlatformBeepCount();
