// Clicks in the list palettes (saved views, the element info window): the scroll bar by rows and
// pages, the views window's buttons and list, and an info row's value taken into the command field.
#pragma once

#include "Dialogs/Palettes.h"

// A click on the palette's scroll bar: the arrows move a row, the page parts the visible rows less
// one, each repeated while the button is held; the thumb scrolls the list by the change. False when
// the click was not on the scroll bar.
Boolean PaletteListScrollClick(PaletteId id, Point local);

// The value an info row offers: the text after the first Tab, a number cut after its digits, "-" and
// ".". The row's text goes in, the value comes out in its place.
void InfoRowValue(Str255 text);
