// What fits where under the user's window manager and fonts: the frames around our windows, for
// placing windows beside each other, and whether a control's text fits its rectangle.
#pragma once

#include "Platform/MacTypes.h"

struct OpaqueControlRef;

// The frame around a floating window's content (title bar on top; the fields of the Rect are top,
// left, bottom, right), measured on a framed window, else a common title bar and border; zero
// offscreen.
void GetFloatingWindowFrameExtents(Rect* extents);

// False when the control's text (static text, check box, radio button, button) does not fit its
// rectangle in the font it is shown in: a label cut short or wrapped onto a hidden line.
Boolean ControlTextFits(OpaqueControlRef* control);
