// The font registry: the font numbers and names the program's records and resources use, each on an
// installed family (DejaVu, Liberation) so that metrics are the same on every machine.
#pragma once

#include "Platform/MacTypes.h"

enum : SInt16 {
    systemFont = 0,
    applFont = 1,
    kFontNewYork = 2,
    kFontGeneva = 3,
    kFontMonaco = 4,
    kFontPalatino = 16,
    kFontTimes = 20,
    kFontHelvetica = 21,
    kFontCourier = 22,
    kFontSymbol = 23,
    kFontOsaka = 16384,
};

// The number of a font by name (case-insensitive): an installed family's name gives the Mac number
// it stands in for, a Mac name its own number; 0 (the system font) when no font has the name.
void GetFNum(ConstStr255Param name, SInt16* familyID);
// The installed family shown for a font number; empty when no font has the number (it is missing).
void GetFontName(SInt16 familyID, Str255 name);
// True when a font of that number exists.
Boolean FontNumberExists(SInt16 familyID);
// The fonts offered to the user, for font menus: the installed families by name, index from 1.
SInt16 CountFontFamilies();
void GetIndFontFamily(SInt16 index, Str255 name, SInt16* familyID);
