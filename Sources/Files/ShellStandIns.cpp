// Weak stand-ins for the shell's document-window services (see the header).
#include "ShellStandIns.h"

#include "DocumentRecords.h"
#include "NewDocument.h"
#include "Windows.h"

__attribute__((weak)) void MarkDocumentDirty(DocWindowRecord* doc) {
    MarkDocumentChanged(doc);
}

__attribute__((weak)) void MarkDocumentClean(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    doc->drawing->changed = 0;
    if (doc->window != nullptr) SetWindowModified(doc->window, false);
}

__attribute__((weak)) SInt16 CloseDocumentWindow(DocWindowRecord* doc, Boolean, Boolean, Boolean) {
    if (doc == nullptr) return 0;
    WindowRef window = doc->window;
    DisposeDocumentRecords(doc);
    if (window != nullptr) DisposeWindow(window);
    RebuildWindowMenu();
    return 1;
}
