// Dimensions: the flag word, the dimension style kept in the settings, the value text, the text
// placement, the central creation routine and the per-kind creators, rebuilding with new settings.
#pragma once

#include "Model/DocumentRecords.h"

enum : SInt16 {
    kDimHorizontal = 0,
    kDimVertical = 1,
    kDimAligned = 2,
    kDimDiameter = 3,
    kDimRadius = 4,
    kDimAngle = 5,
    kDimPointLine = 6,
};

// Dimension flag word.
constexpr UInt16 kDimTextOverride = 0x0001;     // the text was typed, not measured: rebuilds keep it
constexpr UInt16 kDimNoExtensionLines = 0x0002; // no extension lines or terminators (linear kinds)
constexpr UInt16 kDimFrameShapeBits = 0x003C;   // bits 2..5, one-hot frame shape round the text
constexpr UInt16 kDimFixedExtension = 0x0040;   // extension lines of the fixed gap length
constexpr UInt16 kDimRadiusToCentre = 0x0080;   // radius dimensions run on to the centre
constexpr UInt16 kDimTextBackground = 0x0100;   // white box under the text
constexpr UInt16 kDimUnitSuffix = 0x4000;       // value in the dimension unit with its name
constexpr UInt16 kDimUnderline = 0x8000;        // a line under the text
inline SInt16 DimFirstTerminator(UInt16 flags) {
    return SInt16((flags >> 12) & 3);
}
inline SInt16 DimSecondTerminator(UInt16 flags) {
    return SInt16((flags >> 10) & 3);
}
inline UInt16 SetDimTerminators(UInt16 flags, SInt16 first, SInt16 second) {
    return UInt16((flags & ~0x3C00u) | ((UInt16(first) & 3u) << 12) | ((UInt16(second) & 3u) << 10));
}
// The frame shape 2..5 of the one-hot bits, 0 for none (the lowest set bit wins).
SInt16 DimFrameShape(UInt16 flags);

// Pen-block bits of a dimension: the feet-and-inches format and the inch fraction it was made with.
constexpr UInt16 kDimPenFeetInches = 0x0800;
inline UInt16 DimPenFraction(SInt16 penFlags) {
    return UInt16((UInt16(penFlags) >> 12) & 7);
}

// Option bits of the dimension style (unit suffix).
constexpr UInt16 kDimOptionCustomUnitText = 0x2000;
constexpr UInt16 kDimOptionUnitName = 0x4000;
constexpr UInt16 kDimOptionBlankBeforeUnit = 0x8000;

// The dimension style values of the settings that have no field name of their own.
Float64 DimTextHeight(const DocSettings* s); // 0 takes the text height
void SetDimTextHeight(DocSettings* s, Float64 height);
UInt16& DimFeetInchFormat(DocSettings* s); // 1 feet and inches
UInt16& DimFractionSetting(DocSettings* s);
UInt16& DimCutZeros(DocSettings* s);
UInt16& DimOptionBits(DocSettings* s);
Float64 DimUnitFactor(const DocSettings* s); // 0 counts as 1
void SetDimUnitFactor(DocSettings* s, Float64 factor);

// What measured lengths are divided by for their value: the drawing scale times millimetres per unit
// (1 when that is no usable number).
Float64 DimensionLengthFactor(const DocWindowRecord* doc);

// The number text of a value with the document's style: feet and inches, or decimals (trailing zeros
// cut when asked); for kinds other than 5 with the unit suffix when the flag word asks, for kind 5 a
// degree sign. decimals < 0 takes the document's.
void FormatDimensionNumber(DocWindowRecord* doc, Float64 value, SInt16 kind, UInt16 flags, SInt16 decimals,
                           StringPtr dest);
// The measured value of the record's geometry (kind 5 in degrees), divided by the record's scale
// divisor, or the length factor while it has none.
Float64 MeasureDimension(const DocWindowRecord* doc, const DimensionRecord* dimension);
// The value text the dimension would show with the current settings: prefix, number, postfix.
void FormatDimensionText(DocWindowRecord* doc, const DimensionRecord* dimension, StringPtr text);

// Combines "+a" and "-a" into one tolerance "±a" (upper) and an empty lower one; a leading byte
// 0xF1 in place of the sign where "±a" would not fit the 9 characters a file keeps (shown as "±").
void MergeTolerances(StringPtr upper, StringPtr lower);
// The tolerance as drawn: a leading 0xF1 shows as the plus-minus sign.
void ShownDimensionTolerance(ConstStr255Param tolerance, StringPtr shown);

// Measures the text of the record (value text and tolerances) and places it for the text point (the
// middle of the text, on its baseline for the linear kinds): text position, frame corners.
void PlaceDimensionText(DocWindowRecord* doc, DimensionRecord* dimension, Float64 textX, Float64 textY);
// The text point a placed dimension was given (inverse of the placement).
void DimensionTextPoint(const DocSettings* s, const DimensionRecord* dimension, Float64* x, Float64* y);
// The text's direction angle of the record (degrees) and its text height in the frame (ascent).
Float64 DimensionTextAngle(const DimensionRecord* dimension);

// Builds, appends, records for undo and (drawFlag) draws one dimension with the document's style.
// value 0 with an empty override text measures the distance of the two points.
DimensionRecord* CreateDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                 Float64 textX, Float64 textY, SInt16 kind, Float64 auxValue, Float64 auxX,
                                 Float64 auxY, Float64 value, ConstStr255Param overrideText,
                                 ConstStr255Param upperTolerance, ConstStr255Param lowerTolerance,
                                 Boolean drawFlag, UInt16 flags);
// A new dimension like the model (kind, header, points, auxiliary values, tolerances, flag word, text
// height, decimals, pen block) with its value measured again and its text prefix + number + suffix, or
// the override text; appended with its undo record. Null when memory is short.
DimensionRecord* BuildDimension(DocWindowRecord* doc, const DimensionRecord* model, Float64 textX,
                                Float64 textY, ConstStr255Param overrideText, ConstStr255Param prefix,
                                ConstStr255Param suffix);
// Every dimension again with the current settings (font, format, prefix and postfix); typed texts
// stay. Not journalled: callers reset the journal first.
void RebuildAllDimensions(DocWindowRecord* doc);
// DrawDimension inside the drawing area.
void RedrawDimension(DimensionRecord* dimension, DocWindowRecord* doc);
// Erasing a dimension before a change: the whole window is redrawn at the next pass.
void InvalidateDimensionElement(DimensionRecord* dimension, DocWindowRecord* doc);

// The smallest range covering two angular ranges (degrees, counter-clockwise start to end).
void UnionAngleRanges(Float64 start1, Float64 end1, Float64 start2, Float64 end2, Float64* start,
                      Float64* end);

// Creators. Positions are the point the dimension line passes through (linear kinds) or where the
// text goes (circles, angles). They refuse a zero value with message 69 and return null; texts may
// be null or empty (an empty text measures).
DimensionRecord* CreateHorizontalDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2,
                                           Float64 y2, Float64 posX, Float64 posY, ConstStr255Param text,
                                           ConstStr255Param upper, ConstStr255Param lower);
DimensionRecord* CreateVerticalDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                         Float64 posX, Float64 posY, ConstStr255Param text,
                                         ConstStr255Param upper, ConstStr255Param lower);
// Measured along the direction (dx, dy).
DimensionRecord* CreateAlignedDimension(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                        Float64 dx, Float64 dy, Float64 posX, Float64 posY,
                                        ConstStr255Param text, ConstStr255Param upper,
                                        ConstStr255Param lower);
// Across the circle through its centre, on the line from the centre toward the position (message 144
// when the position is the centre).
DimensionRecord* CreateDiameterDimension(DocWindowRecord* doc, const ArcRecord* circle, Float64 posX,
                                         Float64 posY, ConstStr255Param text, ConstStr255Param upper,
                                         ConstStr255Param lower);
DimensionRecord* CreateRadiusDimension(DocWindowRecord* doc, const ArcRecord* circle, Float64 posX,
                                       Float64 posY, ConstStr255Param text, ConstStr255Param upper,
                                       ConstStr255Param lower);
// The angle between two lines in the sector that holds the position; the feet are points on the
// lines where extension lines start (the vertex when null). Nothing for parallel lines.
DimensionRecord* CreateLineAngleDimension(DocWindowRecord* doc, const LineRecord* first,
                                          const LineRecord* second, const Float64* feet, Float64 posX,
                                          Float64 posY, ConstStr255Param text, ConstStr255Param upper,
                                          ConstStr255Param lower);
// The distance of the point from the line.
DimensionRecord* CreatePointLineDimension(DocWindowRecord* doc, const LineRecord* line, Float64 x, Float64 y,
                                          ConstStr255Param text, ConstStr255Param upper,
                                          ConstStr255Param lower);

constexpr SInt16 kZeroDimensionMessage = 69;
constexpr SInt16 kPositionAtCentreMessage = 144;
