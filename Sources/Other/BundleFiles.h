// Files of the application's Resources folder: texts ("text_<n>.txt"), pictures ("pict_<n>.png") and
// tool icons ("cicn_<n>.png").
#pragma once

#include "Platform/FileManager.h"
#include "Platform/QuickDrawTypes.h"
#include "Platform/Windows.h"

OSErr FindResourcesFolder(FSRef* folder);
// A folder of that name inside the Resources folder; fnfErr when there is none.
OSErr ResourcesSubfolderSpec(FSRef* folder, ConstStr255Param name);
// The whole file "text_<number>.txt" in a new pointer block (the caller disposes it); false and
// null when it is missing or unreadable.
Boolean ReadBundleText(SInt16 number, Ptr* text, Size* length);
// Draws "pict_<number>.png" scaled into the rectangle of the port; false when there is no such picture.
Boolean DrawBundlePicture(SInt16 number, CGrafPtr port, const Rect* rect);
// Draws "cicn_<number>.png" into the rectangle of the window; nothing when the file is missing.
void DrawToolIcon(WindowRef window, SInt16 number, SInt16 left, SInt16 top, SInt16 width, SInt16 height);
// The status bar's pick-mode pictogram: icon 133 + mode (142 for modes above 9), 16 x 10 pixels, 216
// pixels right of the port's left edge and 12 above its bottom. The document's pick mode is passed,
// as the drawing record does not keep it yet.
void DrawPickModeIcon(WindowRef window, SInt16 pickMode);
// Draws a PNG file into a rectangle of a window.
void DrawPNGFile(const FSRef* file, WindowRef window, const Rect* rect);
