// The window of an open drawing: creation with its scroll bars and handlers, the layout of its areas
// after every size change, the title with the changed mark, closing with the save question, and
// freeing the document with everything it owns.
#pragma once

#include "Platform/Windows.h"

struct DocWindowRecord;
struct OpaqueControlRef;
using ControlRef = OpaqueControlRef*;

// Fixed pixel geometry of the chrome.
constexpr SInt16 kStatusBarWidth = 332; // the status bar ends where the horizontal scroll bar starts
constexpr SInt16 kMinWindowWidth = 398;
constexpr SInt16 kMinWindowHeight = 250;
constexpr SInt16 kMaxWindowSize = 16384;
constexpr SInt16 kScrollMaximum = 1000;

// Creates and shows the window of a new document (the model's hook); false when it cannot be made.
Boolean NewDocumentWindow(DocWindowRecord* doc, ConstStr255Param title, SInt16 flag);
// The message line's height from the document font, then the drawing area (ComputeDrawingAreaMetrics),
// the content less the scroll bars and the message line's place, from the window's port rectangle.
void ComputeWindowChromeMetrics(DocWindowRecord* doc);
// Ascent + descent + 1 of the document's font and size (a size below 1 is set to 12 first), and the
// ascent + 1.
SInt16 DocLineHeight(DocWindowRecord* doc);
SInt16 DocAscent(DocWindowRecord* doc);
// The zoomed size of the window is the usable part of the screen under the mouse.
void SetZoomStateToMouseScreen(DocWindowRecord* doc);
// Resizes to the new size and lays the areas out again; with a previous height the drawing stays
// fixed at the top edge.
void LayoutDocumentWindow(DocWindowRecord* doc, SInt16 width, SInt16 height, SInt16 previousHeight);
void GrowDocumentWindow(DocWindowRecord* doc, Point where);
// Lays the window out again at its present size (after the document's font or settings changed).
void RelayoutDocumentWindow(DocWindowRecord* doc);

void RefreshWindowTitle(DocWindowRecord* doc);
void SetTitleWithDirtyMark(WindowRef window, ConstStr255Param shortName, const char* unicodeName,
                           UInt32 unicodeFlag, Boolean modified);
void SetDocWindowTitle(DocWindowRecord* doc, ConstStr255Param text);
void MarkDocumentDirty(DocWindowRecord* doc);
void MarkDocumentClean(DocWindowRecord* doc);

void SetScrollMaxAndValue(ControlRef control, SInt16 value, SInt16 maximum);
void SetScrollMaxAndReversedValue(ControlRef control, SInt16 value, SInt16 maximum);
// The scroll bars set to the thumb values the view computed (the vertical one already mirrored).
void UpdateScrollBars(DocWindowRecord* doc, SInt32 thumbX, SInt32 thumbY);

// Closes one document, asking (closing or quitting form) whether to save a changed one, or saving
// without asking; non-zero when it was closed.
SInt16 CloseDocumentWindow(DocWindowRecord* doc, Boolean quitting, Boolean ask, Boolean saveWithoutAsking);
// Writes the document (under its name, or asking for one); true when it was written.
Boolean SaveDocumentForClose(DocWindowRecord* doc);
void DisposeDocumentWindow(DocWindowRecord* doc);
void DisposeDocWindowRef(WindowRef* slot);

// The document shown in a window, or null.
DocWindowRecord* DocumentOfWindow(WindowRef window);
// The update of a document window: the chrome, the status texts, the controls and the drawing.
void UpdateDocumentWindow(DocWindowRecord* doc);

// The system font at 12 points, for list boxes.
SInt16 SystemLineHeight();
SInt16 SystemAscent();
SInt16 SystemDigitWidth();
