// The device of the window and of a print or PDF page: the output context decides which it draws into.
#pragma once

#include "View/OutputDevice.h"

class RasterOutput final : public OutputDevice {
  public:
    void Line(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) override;
    void Disc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius) override;
    void Arc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
             Float64 endAngle) override;
    void EllipseInQuad(DocWindowRecord* doc, const Float64 corners[8], Float64 startAngle,
                       Float64 endAngle) override;
    void FilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1, Float64 x2,
                        Float64 y2) override;
    // In View/TextDrawing.cpp, beside the text measuring it shares.
    void Text(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16 font, SInt16 face,
              Float64 height, Float64 angle, Float64 widthFactor) override;
};
