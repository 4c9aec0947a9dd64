// Drawing of dimensions on screen, in print and PDF output and as plotter output: lines, extension
// lines, terminators, the value text with tolerances and frame, the outline shown for small texts,
// and the white box under the text.
#pragma once

#include "Model/DocumentRecords.h"

// Draws one dimension (sets its drawn flag; nothing more on a hidden layer or when dimensions are
// hidden). On screen with outlines only, the dimension shows as its text outline.
void DrawDimension(DimensionRecord* dimension, DocWindowRecord* doc);
// The value text at (x + dx, y + dy) and the tolerances after it; on screen an outline in its place
// when the text would be under 6 pixels high.
void DrawDimensionText(DimensionRecord* dimension, DocWindowRecord* doc, Float64 x, Float64 y, Float64 dx,
                       Float64 dy, Float64 angle, ConstStr255Param text, ConstStr255Param upper,
                       ConstStr255Param lower, Float64 height, UInt16 flags);
// The text outline: mode 0 plain, 1 highlighted, 2 the small-text outline.
void DrawDimFrame(DimensionRecord* dimension, DocWindowRecord* doc, SInt16 mode);
void DrawDimFrameClipped(DimensionRecord* dimension, DocWindowRecord* doc, SInt16 mode);
// One extension line with the fixed-length rule; (x1, y1) near the measured point.
void DimExtensionLine(DimensionRecord* dimension, DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2,
                      Float64 y2);
// The world box of everything a dimension draws, for the visible-box test.
void DimensionElementBox(const DimensionRecord* dimension, const DocSettings* settings, Float64 box[4]);

// Fills the view's dimension hook.
void InstallDimensionDrawing();
