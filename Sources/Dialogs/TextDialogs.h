// The text dialogs the text tools open: the attribute dialog (on one text, or on the settings for
// new texts) and the long-text dialog of a framed text box.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct TextRecord;

// The attribute dialog in its full form. With a text it edits that text's attributes, which the
// caller has put into the document's text settings; with null it edits the settings for new texts.
// True for OK, with the chosen attributes left in the document's text settings.
Boolean RunTextAttributesDialog(DocWindowRecord* doc, TextRecord* text);

// The long-text dialog on a framed text box (one in the drawing, or a new one not yet linked in):
// true for OK, with the box's long text (boxText), font and size (textHeight) replaced by what was
// confirmed. A size chosen before Cancel may be left in textHeight; the caller keeps it for new boxes.
Boolean RunLongTextDialog(DocWindowRecord* doc, TextRecord* text);
