// Changing texts: a text is never edited in place but re-created, with a new string, point or
// attributes, as one undo step whoever asks; framed text boxes made over a rectangle and edited by
// clicks; title-block placeholders laid out again when what they show changes.
#pragma once

#include "Model/DocumentRecords.h"

// The settings of framed text boxes, kept in unnamed settings slots: the font, and the size in
// tenths of a point (9 or less counts as 3.5 points).
SInt16& FramedTextFontSetting(DocSettings* s);
SInt16& FramedTextSizeSetting(DocSettings* s);

// Each re-creates the text at the tail of the texts (the old one removed) as one undo step, the
// justification point kept where it was unless the point itself is what changes, and leaves the
// document's settings as they were. The new text, or null when nothing was made (the old one then
// stays).
TextRecord* RecreateTextWithString(DocWindowRecord* doc, TextRecord* text, ConstStr255Param string);
// moveAnchor: (x, y) becomes the justification point; otherwise the second point.
TextRecord* MoveTextPoint(DocWindowRecord* doc, TextRecord* text, Float64 x, Float64 y, Boolean moveAnchor);
// The attribute dialog on the text; re-created only after OK.
TextRecord* EditTextAttributes(DocWindowRecord* doc, TextRecord* text);
// The window's attribute-change block applied: its set fields replace the text's, the frame kind
// (flag bits 0 to 2) stays the text's.
TextRecord* ApplyTextAttributes(DocWindowRecord* doc, TextRecord* text);
// The block applied to every text of the drawing (only the selected ones with selectedOnly), all of
// them in one undo step. The number of texts re-created.
long ApplyTextAttributesToTexts(DocWindowRecord* doc, Boolean selectedOnly);

// A framed box over the rectangle (lower-left corner, width, height), in its own undo step; with
// askText the long-text dialog runs first and Cancel makes nothing. Null when nothing was made.
TextRecord* AddTextFrameElement(DocWindowRecord* doc, Boolean draw, Float64 x, Float64 y, Float64 width,
                                Float64 height, Boolean askText);
// A click at (x, y) on a framed box: within 10 pixels of a corner that corner follows the mouse
// while the button is held; anywhere else the long-text dialog edits its text. True when the box
// changed.
Boolean EditTextFrame(DocWindowRecord* doc, TextRecord* text, Float64 x, Float64 y);

// Placeholders ("^" and two digits) in the list from first on whose shown value no longer fits
// their box are laid out again about their justification point; changed is set when any was.
void RefreshFieldTexts(DocWindowRecord* doc, TextRecord* first, Boolean* changed);
// Over the drawing's texts and every symbol definition's. When any changed the undo history no
// longer matches the texts and is dropped, with a message. True when any changed.
Boolean RefreshAllFieldTexts(DocWindowRecord* doc);
// Lays the text out again from the string about its justification point.
void RelayoutTextKeepingAnchor(DocWindowRecord* doc, TextRecord* text, ConstStr255Param string);
