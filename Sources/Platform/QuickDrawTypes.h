// The drawing-side types shared by windows, ports, regions and cursors: opaque references to ports,
// windows and regions, 8 x 8 patterns, pen state and font metrics.
#pragma once

#include "Platform/MacTypes.h"

struct OpaqueGrafPort;
struct OpaqueWindowPtr;
struct OpaqueRgn;

// A port is where QuickDraw draws: a window's content image or an offscreen world.
using GrafPtr = OpaqueGrafPort*;
using CGrafPtr = OpaqueGrafPort*;
using GWorldPtr = OpaqueGrafPort*;
using WindowRef = OpaqueWindowPtr*;
using WindowPtr = OpaqueWindowPtr*;
using RgnHandle = OpaqueRgn*;

// 8 rows of 8 pixels, most significant bit leftmost; set bits draw in the foreground colour.
struct Pattern {
    UInt8 pat[8];
};

struct PenState {
    Point pnLoc;
    Point pnSize;
    SInt16 pnMode;
    Pattern pnPat;
};

struct FontInfo {
    SInt16 ascent;
    SInt16 descent;
    SInt16 widMax;
    SInt16 leading;
};

// Transfer modes of pens, text and CopyBits.
enum : SInt16 {
    srcCopy = 0,
    srcOr = 1,
    srcXor = 2,
    srcBic = 3,
    notSrcCopy = 4,
    notSrcOr = 5,
    notSrcXor = 6,
    notSrcBic = 7,
    patCopy = 8,
    patOr = 9,
    patXor = 10,
    patBic = 11,
    notPatCopy = 12,
    notPatOr = 13,
    notPatXor = 14,
    notPatBic = 15,
    transparent = 36,
    grayishTextOr = 49,
    hilite = 50,
    ditherCopy = 64,
};

// Text face bits, also the styles of menu items.
using Style = UInt8;
enum : Style {
    normal = 0,
    bold = 1,
    italic = 2,
    underline = 4,
    outline = 8,
    shadow = 16,
    condense = 32,
    extend = 64,
};
