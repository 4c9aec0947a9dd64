// The dialogs the floors below Dialogs/ open, as hooks Dialogs/ fills in at start-up
// (InstallDialogHooks). Until then each is a stand-in that answers as Cancel would, so documents open,
// import and save without a user (importers, tests, benchmarks).
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// The stand-ins: nothing chosen, nothing changed.
Boolean KeepMissingFonts(DocWindowRecord* doc, SInt16* font);
Boolean NoViewName(Str255 name);
Boolean KeepImportOptions();
void KeepExportOptions(DocWindowRecord* doc);

struct DialogHooks {
    // Texts of the drawing use fonts this machine lacks: the one font they all get; false keeps them.
    Boolean (*chooseReplacementFont)(DocWindowRecord* doc, SInt16* font) = KeepMissingFonts;
    // The name of a saved view, edited from the name given: true with a name of 1 to 63 characters.
    Boolean (*askViewName)(Str255 name) = NoViewName;
    // The import options of other programs' files, stored on OK.
    Boolean (*importOptions)() = KeepImportOptions;
    // The DXF export options of the document, stored on OK.
    void (*dxfExportOptions)(DocWindowRecord* doc) = KeepExportOptions;
};

extern DialogHooks gDialogHooks;
