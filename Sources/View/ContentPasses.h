// The window update and the drawing passes: the drawing-area geometry, the background pass (colour,
// frames, grid, origin cross, rubber-band marks) and the element pass in the fixed order, each element
// only when its layer is visible and its box meets the view; the same element pass draws print and PDF
// pages through the output transform, with progress and Command-period.
#pragma once

#include "Model/DocumentRecords.h"

// The stand-ins of view hooks not installed: those kinds are skipped until their drawers are.
void NoViewHook(DocWindowRecord* doc);
void NoViewHook(DocWindowRecord* doc, SInt32 thumbX, SInt32 thumbY);
void NoViewHook(DocWindowRecord* doc, SInt16 index);
void NoViewHook(DocWindowRecord* doc, AreaRecord* area);
void NoViewHook(DocWindowRecord* doc, PolylineRecord* polyline);
void NoViewHook(DocWindowRecord* doc, DimensionRecord* dimension);
void NoViewHook(DocWindowRecord* doc, SymbolInstanceRecord* instance);

// What the shell, the palettes and the drawers of element kinds built elsewhere add to the passes.
struct ViewHooks {
    void (*updateScrollBars)(DocWindowRecord* doc, SInt32 thumbX, SInt32 thumbY) = NoViewHook;
    void (*showZoomPercent)(DocWindowRecord* doc) = NoViewHook;
    void (*drawFramesOverlay)(DocWindowRecord* doc) = NoViewHook;
    void (*drawArea)(DocWindowRecord* doc, AreaRecord* area) = NoViewHook;
    void (*drawImage)(DocWindowRecord* doc, SInt16 index) = NoViewHook;
    void (*drawPolyline)(DocWindowRecord* doc, PolylineRecord* polyline) = NoViewHook;
    void (*drawDimension)(DocWindowRecord* doc, DimensionRecord* dimension) = NoViewHook;
    void (*drawSymbolInstance)(DocWindowRecord* doc, SymbolInstanceRecord* instance) = NoViewHook;
    // Marks kept over the drawing on screen (the fixed point of the live snap), after the elements.
    void (*drawViewMarks)(DocWindowRecord* doc) = NoViewHook;
};
extern ViewHooks gViewHooks;

// From the window's port: the drawing area is the port less the 15-pixel scroll bars and the status
// strip (statusHeight, kept as the shell set it).
void ComputeDrawingAreaMetrics(DocWindowRecord* doc);
// The redraw of the window: drawing-area geometry, visible rectangle, background pass, element pass,
// then the scroll bars (when asked) and the zoom display.
void UpdateViewExtent(DocWindowRecord* doc, Boolean updateScrollBars);
// The view has moved by whole pixels (dx right, dy down on the screen): the pixels the window shows
// move with it and only the strips coming into view are drawn. Without a window of its own to draw,
// or for a move as large as the view, the view is redrawn whole.
void ShowViewMoved(DocWindowRecord* doc, SInt32 dx, SInt32 dy, Boolean updateScrollBars);
// The view has been scaled by factor (new pixels per old pixel) about the drawing-area point (h, v),
// v counted down from the top: the picture shown is scaled and shown at once, and the window is
// redrawn when the event loop has taken the input that is waiting.
void ShowViewScaled(DocWindowRecord* doc, Float64 factor, Float64 h, Float64 v);
// Full passes of the element content into a window so far; tests and benches count paints with it.
extern UInt32 gWindowRedrawCount;
void RedrawWindow(DocWindowRecord* doc);
void DrawViewBackground(DocWindowRecord* doc);
// Every visible element that meets the view, in the drawing order. False when the output pass was
// stopped (Command-period).
Boolean DrawViewContent(DocWindowRecord* doc);

// The output transform of a print or PDF page: the world rectangle's device corners (left, bottom,
// right, top, already scaled), device units per world millimetre, and device units per millimetre of
// pen width (0 takes scaleX).
void SetOutputTransform(DocWindowRecord* doc, CGContext* ctx, Float64 left, Float64 bottom, Float64 right,
                        Float64 top, Float64 scaleX, Float64 scaleY, Float64 penScale);
void ClearOutputTransform(DocWindowRecord* doc);
// The element pass into the output context, moving an open progress window from firstPercent to
// lastPercent and watching for Command-period. False when cancelled.
Boolean DrawDrawingWithProgress(DocWindowRecord* doc, SInt16 firstPercent, SInt16 lastPercent);

// Thumb values 0..1000 of the scroll bars for the view within the drawing's extents.
void ScrollThumbValues(const DocWindowRecord* doc, SInt32* thumbX, SInt32* thumbY);
// Draws one element of a kind drawn by an installed hook, inside the drawing area.
void DrawOtherElementClipped(DocWindowRecord* doc, SInt16 kind, void* element);
