// Solid segments wider than a pixel drawn straight into a 32-bit image (premultiplied ARGB or RGB with
// opaque alpha): each is a rectangle along the segment with its cap discs, written as spans of
// antialiased coverage, row by row. The cost is the pixels a segment covers; no outline is built.
#pragma once

#include <cstddef>
#include <cstdint>

struct WideSegmentPen {
    std::uint32_t colour; // opaque, 0xAARRGGBB with AA = 0xFF
    double halfWidth;     // device pixels
    bool roundCaps;       // else butt: the ends are cut square at the segment's ends
};

// The image's pixel rows; only pixels in [clipLeft, clipRight) x [clipTop, clipBottom) are written.
struct WideSegmentTarget {
    std::uint32_t* bits;
    std::ptrdiff_t pixelsPerRow;
    int clipLeft, clipTop, clipRight, clipBottom;
};

// One segment between device points (pixel centres at .5); nothing for one that is not finite. A
// segment of no length is its cap disc with round caps and nothing with butt caps.
void DrawWideSegment(const WideSegmentTarget& target, const WideSegmentPen& pen, double x1, double y1,
                     double x2, double y2);

// An arc of the circle about (cx, cy) from angle start through sweep (radians, either sign; a sweep of
// a whole turn or more is the circle), in device space, with the pen's caps at its ends.
void DrawWideArc(const WideSegmentTarget& target, const WideSegmentPen& pen, double cx, double cy,
                 double radius, double start, double sweep);
