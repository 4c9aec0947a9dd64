#include "Interface/DialogHooks.h"

Boolean KeepMissingFonts(DocWindowRecord*, SInt16*) {
    return false;
}

Boolean NoViewName(Str255) {
    return false;
}

Boolean KeepImportOptions() {
    return false;
}

void KeepExportOptions(DocWindowRecord*) {}

DialogHooks gDialogHooks;
