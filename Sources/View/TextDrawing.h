// Drawing of text elements: text variables, lines at the document's line-break character drawn rotated
// with their width, frames with leaders and leader ends, background masks, framed paragraph boxes and
// outline boxes, on screen, in print and PDF output and as plotter texts. Also fitting a text height to
// a width.
#pragma once

#include "Model/DocumentRecords.h"

// A text of exactly three characters, "^" and two digits, is replaced by title-block field 01..20,
// 50 the date, 51 the time, 52 the document's file name; any other code, or an empty value, leaves the
// text as it was. The text is UTF-8. True when the text was replaced.
Boolean ExpandTextVariables(DocWindowRecord* doc, StringPtr text);

// One line of UTF-8 text with its baseline starting at (x, y), rotated by angle (degrees) and widened
// by the width factor, in the pen colour; font size = height. Plotter output gets it as a plotted text.
void DrawTextString(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16 font,
                    SInt16 face, Float64 height, Float64 angle, Float64 widthFactor);
// The width (world millimetres) of UTF-8 text at the height, unwidened; 0 without text metrics.
Float64 TextStringWidth(SInt16 font, SInt16 face, Float64 height, const UInt8* text, SInt32 length);

void DrawTextElement(TextRecord* text, DocWindowRecord* doc);
// DrawTextElement inside the window's drawing area.
void DrawTextElementClipped(TextRecord* text, DocWindowRecord* doc);
// The outline box: mode 0 in the element's pen (in XOR on screen for texts of 6 pixels or more, unless
// texts show as outlines only), 1 also keeps the insertion point as a rubber-band point (once) and draws
// without highlight, 2 and 4 add the anchor diamond at the reference point.
void DrawTextOutline(TextRecord* text, DocWindowRecord* doc, SInt16 mode);
void DrawTextOutlineClipped(TextRecord* text, DocWindowRecord* doc, SInt16 mode);
// Frame (shape 1 circle, 2 rectangle, 3 slot, 4 underline), leader (mode 1 or 2) to the reference
// point and its end (1 arrowhead, 2 dot) around the corners (x, y of lower-left, lower-right,
// upper-right, upper-left), pushed out by the margin.
void DrawTextFrame(DocWindowRecord* doc, SInt16 leaderMode, SInt16 frameShape, SInt16 leaderEnd,
                   const Float64 corners[8], Float64 refX, Float64 refY, Float64 leaderEndSize,
                   Float64 margin);
// The background mask under a text: its box grown by the font's descent, in the background colour
// (white in output); skipped when the box lies outside the 16-bit view range.
void FillTextBackground(TextRecord* text, DocWindowRecord* doc);
// The framed paragraph text in its box, with the box's frame and handles in XOR on screen.
void DrawTextBox(TextRecord* text, DocWindowRecord* doc);
// Sets the document's current text height so that the string fits the width: from the height (0.1 when
// not above 0), point sizes from round(h s) down to 4, s the power of two that brings h s to 40 or more.
void FitTextSizeToWidth(DocWindowRecord* doc, Float64 width, Float64 height, ConstStr255Param string);
// The world box a text may cover (box, frame, leader and reference point), for the visible-box test.
void TextElementBox(const TextRecord* text, Float64 box[4]);

// Decoded text flag word.
SInt16 TextLeaderMode(UInt16 flags); // 0, 1 or 2
SInt16 TextLeaderEnd(UInt16 flags);  // 0 none, 1 arrowhead, 2 dot
SInt16 TextFrameShape(UInt16 flags); // 0 none, 1..4
constexpr UInt16 kTextNoBackground = 0x0400;
