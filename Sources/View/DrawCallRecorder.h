// A listener for every stroke, fill and text the view hands to a drawing context, in device
// coordinates with the colour, width and style used. Tests install one to see what a drawing does;
// the calls are reported also when no context could be had (a document without a window).
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

enum class DrawCallKind : UInt8 {
    line,       // v: x1, y1, x2, y2 (a solid stroke)
    styledLine, // v: x1, y1, x2, y2 after the clip; phase: distance into the dash pattern at x1, y1
    polyline,   // points: the chords of an arc too big to stroke whole; phase as above
    arc,        // v: cx, cy, radius, start, end (degrees, counter-clockwise)
    triangle,   // v: x1, y1, x2, y2, x3, y3
    disc,       // v: cx, cy, radius
    quadFill,   // v: four corners (a text's background mask)
    text,       // v: x, y, size, angle, width factor; text: UTF-8; style: font number
    xorLine,    // v: QuickDraw h1, v1, h2, v2 of a line drawn in XOR on the window port
};

struct DrawCall {
    DrawCallKind kind;
    Float64 v[8];
    RGBColor colour;
    Float64 alpha;
    Float64 width;
    SInt16 style; // line style 1..6 (1 solid), or the font number of a text
    Float64 phase;
    std::string text;
    std::vector<Float64> points; // x, y pairs
};

using DrawCallListener = void (*)(const DrawCall& call, void* user);
// Null stops the reports.
void SetDrawCallListener(DrawCallListener listener, void* user);
// True while a listener is installed (callers skip building reports otherwise).
Boolean DrawCallListening();
void ReportDrawCall(const DrawCall& call);
