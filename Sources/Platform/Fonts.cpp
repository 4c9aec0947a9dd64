// The fixed font registry and the Qt fonts made from it.
#include "Platform/Fonts.h"
#include "Platform/PascalBytes.h"
#include "Platform/PlatformWindowInternal.h"

#include <QFont>
#include <QString>
#include <cstring>
#include <iterator>
#include <strings.h>

namespace {
struct FontEntry {
    SInt16 number;
    const char* name; // the Mac name records and preferences may carry
    const char* family;
};

// Every number a drawing may hold, on the installed family that stands in for it.
const FontEntry kFonts[] = {
    {systemFont, "System", "DejaVu Sans"},        {applFont, "Geneva", "DejaVu Sans"},
    {kFontNewYork, "New York", "DejaVu Serif"},   {kFontGeneva, "Geneva", "DejaVu Sans"},
    {kFontMonaco, "Monaco", "DejaVu Sans Mono"},  {kFontPalatino, "Palatino", "Liberation Serif"},
    {kFontTimes, "Times", "Liberation Serif"},    {kFontHelvetica, "Helvetica", "Liberation Sans"},
    {kFontCourier, "Courier", "Liberation Mono"}, {kFontSymbol, "Symbol", "DejaVu Sans"},
    {kFontOsaka, "Osaka", "DejaVu Sans"},         {1024, "DejaVu Sans", "DejaVu Sans"},
    {1025, "DejaVu Serif", "DejaVu Serif"},       {1026, "DejaVu Sans Mono", "DejaVu Sans Mono"},
    {1027, "Liberation Sans", "Liberation Sans"}, {1028, "Liberation Serif", "Liberation Serif"},
    {1029, "Liberation Mono", "Liberation Mono"},
};

// What font menus offer: each installed family once, by its own name, stored as the Mac number it
// stands in for, so drawings keep numbers a Mac knows.
const SInt16 kOffered[] = {kFontGeneva, kFontMonaco, kFontNewYork, kFontCourier, kFontHelvetica, kFontTimes};

const FontEntry* Find(SInt16 number) {
    for (const auto& f : kFonts)
        if (f.number == number) return &f;
    return nullptr;
}

} // namespace

void GetFNum(ConstStr255Param name, SInt16* familyID) {
    if (!familyID) return;
    *familyID = systemFont;
    if (!name) return;
    std::string n(reinterpret_cast<const char*>(name + 1), name[0]);
    for (SInt16 number : kOffered) {
        if (strcasecmp(Find(number)->family, n.c_str()) == 0) {
            *familyID = number;
            return;
        }
    }
    for (const auto& f : kFonts) {
        if (f.number != applFont && strcasecmp(f.name, n.c_str()) == 0) {
            *familyID = f.number;
            return;
        }
    }
}

void GetFontName(SInt16 familyID, Str255 name) {
    if (!name) return;
    const FontEntry* f = Find(familyID);
    CStrToPStr(name, sizeof(Str255), f ? f->family : "");
}

Boolean FontNumberExists(SInt16 familyID) {
    return Find(familyID) != nullptr;
}

SInt16 CountFontFamilies() {
    return SInt16(std::size(kOffered));
}

void GetIndFontFamily(SInt16 index, Str255 name, SInt16* familyID) {
    if (index >= 1 && index <= CountFontFamilies()) {
        const FontEntry* f = Find(kOffered[index - 1]);
        if (name) CStrToPStr(name, sizeof(Str255), f->family);
        if (familyID) *familyID = f->number;
        return;
    }
    if (name) name[0] = 0;
    if (familyID) *familyID = systemFont;
}

QFont PlatformFont(SInt16 fontNumber, SInt16 size, SInt16 face) {
    const FontEntry* f = Find(fontNumber);
    QFont font(QString::fromLatin1(f ? f->family : "DejaVu Sans"));
    font.setPixelSize(size > 0 ? size : 12);
    font.setBold(face & bold);
    font.setItalic(face & italic);
    font.setUnderline(face & underline);
    if (face & condense) font.setStretch(QFont::Condensed);
    if (face & extend) font.setStretch(QFont::Expanded);
    // QuickDraw text is pixel-exact: no smoothing, so renders are the same on every machine.
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
