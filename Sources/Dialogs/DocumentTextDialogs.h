// Texts of a drawing: the document log editor (192), the drawing font and size (134), the page
// header and footer (194), and the size menu (173) with the standard and one custom text size.
#pragma once

#include "Model/DocumentRecords.h"

#include <string>

constexpr SInt16 kLogEditorDialog = 192;
constexpr SInt16 kFontSizeDialog = 134;
constexpr SInt16 kHeaderFooterDialog = 194;
constexpr SInt16 kSizeMenu = 173;

void LogEditorDialog(DocWindowRecord* doc);
void FontSizeDialog(DocWindowRecord* doc);
void HeaderFooterDialog(DocWindowRecord* doc);
// Brings menu 173 to the size: 7 items for a standard size (its item), 9 with the size on top and a
// separator for another (item 1). Sizes without a real face of the font are shown in outline.
SInt16 FontSizeMenu(SInt16 size, SInt16 font);
// Menu 173: the inserted one, else the program's own copy.
struct OpaqueMenuRef;
OpaqueMenuRef* SizeMenuHandle();

// The log as the editor shows it (lines ended by new lines, UTF-8) and back (carriage returns, the
// system encoding, at most the log's limit).
std::string LogToEditorText(Handle log);
std::string EditorTextToLog(const std::string& text);
// Replaces the log with the bytes; false, keeping the old log, when the new one cannot be made.
Boolean ReplaceDocumentLog(DocWindowRecord* doc, const std::string& bytes);
