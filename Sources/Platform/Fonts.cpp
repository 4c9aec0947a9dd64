// The fixed font registry and the Qt fonts made from it.
#include "Platform/Fonts.h"
#include "Platform/PascalBytes.h"
#include "Platform/PlatformWindowInternal.h"

#include <QFont>
#include <QString>
#include <cstring>
#include <strings.h>

namespace {
struct FontEntry {
    SInt16 number;
    const char* name;
    const char* family;
    bool listed; // offered in font menus
};

const FontEntry kFonts[] = {
    {systemFont, "System", "DejaVu Sans", false},
    {applFont, "Geneva", "DejaVu Sans", false},
    {kFontNewYork, "New York", "DejaVu Serif", true},
    {kFontGeneva, "Geneva", "DejaVu Sans", true},
    {kFontMonaco, "Monaco", "DejaVu Sans Mono", true},
    {kFontPalatino, "Palatino", "Liberation Serif", true},
    {kFontTimes, "Times", "Liberation Serif", true},
    {kFontHelvetica, "Helvetica", "Liberation Sans", true},
    {kFontCourier, "Courier", "Liberation Mono", true},
    {kFontSymbol, "Symbol", "DejaVu Sans", true},
    {kFontOsaka, "Osaka", "DejaVu Sans", true},
    {1024, "DejaVu Sans", "DejaVu Sans", true},
    {1025, "DejaVu Serif", "DejaVu Serif", true},
    {1026, "DejaVu Sans Mono", "DejaVu Sans Mono", true},
    {1027, "Liberation Sans", "Liberation Sans", true},
    {1028, "Liberation Serif", "Liberation Serif", true},
    {1029, "Liberation Mono", "Liberation Mono", true},
};

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
    CStrToPStr(name, sizeof(Str255), f ? f->name : "");
}

Boolean FontNumberExists(SInt16 familyID) {
    return Find(familyID) != nullptr;
}

SInt16 CountFontFamilies() {
    SInt16 n = 0;
    for (const auto& f : kFonts)
        n = SInt16(n + (f.listed ? 1 : 0));
    return n;
}

void GetIndFontFamily(SInt16 index, Str255 name, SInt16* familyID) {
    SInt16 i = 0;
    for (const auto& f : kFonts) {
        if (!f.listed || ++i != index) continue;
        if (name) CStrToPStr(name, sizeof(Str255), f.name);
        if (familyID) *familyID = f.number;
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
