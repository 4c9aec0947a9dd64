// The title block of a drawing: dialog 146 edits its twenty fields, its scale field sets the drawing
// scale, and an empty drawing takes the paper template its paper-format field names.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kTitleBlockDialog = 146;
constexpr SInt16 kTitleBlockFirstField = 23; // field n is item n + 22
constexpr int kPaperTemplateCount = 6;

// The file of paper index 1..6 ("A4.cadx" ...); other indexes leave name unchanged.
void PaperTemplateName(SInt16 index, Str255 name);
// The paper index field 6 chooses (general strings 145, 73, 74..77, 78), 0 when none matches.
SInt16 PaperIndexForFormat(ConstStr255Param format);
// Sets the drawing scale from "first:second" when both numbers are positive and their quotient
// finite; true when it was set.
Boolean ApplyTitleBlockScale(DocWindowRecord* doc, ConstStr255Param field);
// Stores the text into field n cut to the field's capacity.
void StoreTitleBlockField(TitleBlockStrings* block, int n, ConstStr255Param text);
// Reads paper template 1..6 into the document on layer 1023 and sets its paper format; when the
// template is missing the user is asked for it (the last one chosen is remembered). False when
// nothing was read.
Boolean LoadPaperTemplate(DocWindowRecord* doc, SInt16 index);
// Adds or subtracts 180 until the angle lies in [0, 180).
Float64 NormalizeAngle180(Float64 angle);
