// Stand-ins for the document-window services of the application shell that saving and opening call,
// until the shell's own land: weak definitions that its strong ones replace.
#pragma once

#include "MacTypes.h"

struct DocWindowRecord;

// The modified state with its title mark.
void MarkDocumentDirty(DocWindowRecord* doc);
void MarkDocumentClean(DocWindowRecord* doc);
// Closes one document; non-zero when it was closed.
SInt16 CloseDocumentWindow(DocWindowRecord* doc, Boolean quitting, Boolean ask, Boolean saveWithoutAsking);
