// Symbol lines of the reference scenes: "symbol NAME x y" makes every element so far the definition
// NAME about (x, y); "instance NAME x y angle xScale yScale [selected] [layer=N]" places it.
#pragma once

#include "Model/Symbols.h"
#include "View/SymbolDrawing.h"

#include <string>
#include <utility>
#include <vector>

inline void MakeSymbolOfAll(DocWindowRecord* doc, const std::string& name, Float64 x, Float64 y) {
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        e->selected = 1;
    for (ArcRecord* e = doc->arcHead->next; e; e = e->next)
        e->selected = 1;
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        e->selected = 1;
    Str255 n;
    n[0] = UInt8(name.size());
    name.copy(reinterpret_cast<char*>(n + 1), name.size());
    CreateSymbolFromSelection(doc, x, y, n, false);
}

inline void PlaceTestInstance(DocWindowRecord* doc, const std::string& name, const std::vector<Float64>& n,
                              const std::vector<std::pair<std::string, std::string>>& options) {
    InstallSymbolDrawingHook();
    Str255 p;
    p[0] = UInt8(name.size());
    name.copy(reinterpret_cast<char*>(p + 1), name.size());
    SymbolInstanceRecord* s =
        CreateSymbolInstance(doc, n[0], n[1], n[2], n[3], n[4], FindSymbolDefinition(doc, p));
    if (s == nullptr) return;
    for (auto& [k, v] : options) {
        if (k == "selected") s->selected = 1;
        if (k == "layer") s->layer = SInt16(std::stoi(v));
    }
}
