// The parts of the text dialogs other code and the tests reach: the long-text dialog on a text block,
// and the justification picker's rule.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/QuickDrawTypes.h"

#include <string>
#include <string_view>

struct DocWindowRecord;

constexpr SInt16 kTextEntryDialog = 206;
constexpr SInt16 kTextAttributesDialog = 131;
constexpr int kTextEntryPositionSlot = 51;
constexpr int kTextAttributesPositionSlot = 17;

// The long-text dialog on *text (UTF-8, carriage returns between lines; null for none), the font
// and the size in tenths of a point. On OK the text is replaced by a block holding exactly what
// was confirmed, and font and size are given back; on Cancel nothing changes. True for OK.
Boolean RunTextEntryDialog(Handle* text, DocWindowRecord* doc, SInt16* font, SInt16* sizeTenths);

// The attribute dialog on the document's text settings; full adds the leader of one text. True
// for OK, with the settings stored.
Boolean RunTextAttributesDialogOn(DocWindowRecord* doc, Boolean full);

// The justification 0 to 8 a click at a local point of the picker chooses: columns and rows split
// at a quarter and three quarters.
SInt16 PickerJustification(const Rect& picker, Point local);

// Long texts keep carriage returns between lines; the text field shows them as line feeds.
std::string LongTextToLines(std::string_view text);
std::string LinesToLongText(std::string_view text);
