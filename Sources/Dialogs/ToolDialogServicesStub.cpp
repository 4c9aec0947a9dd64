// STAND-IN until the information window and the object info palette exist: nothing is listed and
// the palette is never shown. The line-end dialog is in OptionDialogs.cpp.
// Replaced whole by the dialogs and palettes.
#include "Dialogs/ToolDialogServices.h"

#include "Model/DocumentHooks.h"

void ShowInfoWindow(DocWindowRecord*) {}
// The rows go where the hook sends them, so tests can read them.
void AppendInfoRow(ConstStr255Param row) {
    gDocumentHooks.appendInfoRow(row);
}

void ListPointCoordinates(DocWindowRecord*, Float64, Float64) {}
void ListCurrentTool(DocWindowRecord*) {}
void CloseInfoPalette(DocWindowRecord*) {}
void HideInfoPalette(DocWindowRecord*) {}
Boolean InfoPaletteVisible() {
    return false;
}
void InfoPaletteKeyDown(DocWindowRecord*, char) {}
