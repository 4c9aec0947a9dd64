// The open and save-as dispatch and the title-block dialog as the application shell calls them.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct FSRef;

// Asks for a name and format and writes the document; *saved tells whether the native writer saved.
void SaveDocumentAs(DocWindowRecord* doc, SInt16 withFormats, SInt16 flag1, SInt16 flag2, SInt16 flag3,
                    Boolean* saved, SInt16 restoreIdentity);
// Opens the file (null asks the user); the new document goes to *doc.
Boolean OpenDocumentFile(DocWindowRecord** doc, const FSRef* file);
// True once the Open and Save As panels exist; until then the commands that need them are dimmed.
Boolean FilePanelsAvailable();

void TitleBlockDialog(DocWindowRecord* doc);
