// Text elements made from the drawing's current text settings: creation, the rotated box laid out
// from the measured lines, and the nine anchor points of the box.
#pragma once

#include "Model/DocumentRecords.h"

// The text settings without a field of their own keep their stored places among the settings.
Float64& TextAngleSetting(DocSettings* s);
Float64& TextSlantSetting(DocSettings* s);
Float64& TextLineSpacingSetting(DocSettings* s);
Float64& TextFrameDistanceSetting(DocSettings* s);

// A new text behind the last one, from the current text settings, at the anchor (x, y) with the
// second point (x2, y2) and the flag word; its undo record is written (the caller brackets the
// step) and, with draw set, it is drawn at once. Null when memory is exhausted.
TextRecord* AddTextElement(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, Float64 x2,
                           Float64 y2, UInt16 flags, Boolean draw);

// The settings a text is made with, set for one AddTextElementWith and restored after it.
struct TextElementValues {
    SInt16 group, layer, pen, justification, font;
    Float64 size, angle, slant, lineSpacing, frameDistance;
    Float64 drawingScale;
};
TextRecord* AddTextElementWith(DocWindowRecord* doc, UInt16 flags, ConstStr255Param text, Float64 x,
                               Float64 y, Float64 x2, Float64 y2, const TextElementValues& values);

// The four corners from the string (lines split at the drawing's line-break character), the text's
// size, font, line spacing, justification and angle, about the anchor.
void LayoutTextElement(TextRecord* text, DocWindowRecord* doc, ConstStr255Param string);

// The point of the box that the justification names; other justifications leave x and y alone.
void TextAnchorPoint(const TextRecord* text, Float64* x, Float64* y);
