// The services on the set of open documents: a new untitled drawing, closing every document (for
// quitting too) and saving every document.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// A new untitled drawing with the stored defaults; false when it could not be made.
Boolean NewDrawing(DocWindowRecord** doc);
// Closes every document, asking about changed ones. When quitting, every changed document is asked
// about before any is closed; Cancel keeps the program and every document. QuitFlag is set only when
// quitting closed them all.
void CloseAllDocuments(Boolean quitting);
void SaveAllDocuments();
// Fills the document's preset scales from the scale pop-up's items.
void FillPresetScales(DocWindowRecord* doc);
