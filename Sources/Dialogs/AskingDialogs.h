// The dialogs that ask a lower floor's question (see Interface/DialogHooks.h): each is installed as
// its hook by InstallDialogHooks and may be called directly from Dialogs/ and Shell/.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Fills in the dialog hooks with the dialogs below; start-up and the test main call it.
void InstallDialogHooks();

// Dialog 201: texts in fonts this machine lacks; the one font they all get, true on OK.
Boolean ChooseReplacementFont(DocWindowRecord* doc, SInt16* font);
// Dialog 245: the name of a saved view, edited from the name given; true with 1 to 63 characters.
Boolean AskViewName(Str255 name);
// Dialog 188, the import options: the dimension switch (item 4), the import scale (item 5) and the
// DXF code page (radio buttons 6 to 19), stored into the preferences on OK only. True on OK.
Boolean ImportOptionsDialog();
// Dialog 193: flavour, code page and the 3-D option; stored only on OK.
void DXFExportOptionsDialog(DocWindowRecord* doc);
