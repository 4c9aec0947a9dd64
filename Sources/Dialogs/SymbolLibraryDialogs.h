// The dialogs of symbol libraries and of choosing a drawing's symbol.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kChooseSymbolDialog = 145;

// The drawing's symbols in a list, the row chosen last in this drawing preselected; true with the
// chosen definition's name, false (name empty) when cancelled or the drawing has none.
Boolean ChooseSymbolDialog(DocWindowRecord* doc, Str255 name);

constexpr SInt16 kSymbolLibraryDialog = 147;
constexpr SInt16 kRenameSymbolDialog = 148;
constexpr SInt16 kSymbolClashDialog = 149;

// The library dialog: the drawing's symbols and the open library's side by side, copying between
// them, renaming, deleting, making, opening and closing the library. Undo records nothing meanwhile.
void SymbolLibraryDialog(DocWindowRecord* doc);
// The rename dialog: true with a new name (cut to 19 characters, with message 19) that differs.
Boolean RenameSymbolDialog(ConstStr255Param oldName, Str255 newName);
// The name-clash dialog of a copy (toLibrary: the name is taken in the library).
SInt16 SymbolClashDialog(Boolean toLibrary, ConstStr255Param name, Str255 newName, Boolean* applyToAll);
