// Stand-ins for the palette contents still to come: the colour palette's drawing. It keeps the window
// usable (drawn empty) until its own code takes its place.
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"

#include "Platform/QuickDraw.h"

void DrawColorPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::colors);
}

void RefreshColorPalette(DocWindowRecord*) {
    InvalidatePalette(PaletteId::colors);
}
