// The DXF sections before the entities: the header variables the drawing takes, the line-type and
// layer tables (which give the elements their layer, pen, line style and colour), the blocks as
// symbol definitions, and the removal of dimension blocks that nothing places.
#include "Exchange/DxfReaderContext.h"

#include "Files/Preferences.h"
#include "Model/Dimensions.h"
#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Model/PolylineGeometry.h"
#include "Model/Symbols.h"
#include "Other/NumberFormat.h"
#include "Interface/ProgressWindow.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MacRoman.h"
#include "View/ElementMoves.h"
#include "Platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kHeaderLogText = 173;
constexpr size_t kSymbolNameLength = 19;

void Log(DXFReaderContext& ctx, const std::string& line) {
    LogDxf(ctx, line);
}

// A header value as a number; NaN for anything that is not one.
Float64 HeaderReal(ConstStr255Param value) {
    Float64 v = ParseReal(value);
    return std::isfinite(v) ? v : NAN;
}

void ApplyHeaderVar(DXFReaderContext& ctx, const std::string& name, ConstStr255Param value) {
    DocSettings* s = ctx.doc->settings;
    Float64 v = HeaderReal(value);
    bool number = std::isfinite(v) && std::fabs(v) < 1e20;
    if (name == "$TEXTSIZE") {
        if (number && v > 0) s->textHeight = v;
    } else if (name == "$DIMSCALE") {
        ctx.dimScale = number && v > 0 ? v : 1.0;
    } else if (name == "$DIMASZ") {
        // The arrow's length.
        if (number && v > 0) s->dimTerminatorSize = v;
    } else if (name == "$DIMTXT") {
        if (number && v > 0) s->textSizes[6] = v * ctx.dimScale;
    } else if (name == "$DWGCODEPAGE") {
        SelectDXFCodePage(ctx.pages, value);
    }
    Log(ctx, name + " : " + PStrBytes(value));
}

// The value after a group code 1 or 3 of $ACADVER ("AC1015" gives 1015).
void TakeVersion(DXFReaderContext& ctx, ConstStr255Param value) {
    if (value[0] <= 2) return;
    Str255 digits;
    PStrMid(value, 3, SInt16(value[0] - 2), digits);
    ctx.acadVersion = PStrToLong(digits);
    // From R2007 on every string of the file is UTF-8.
    ctx.pages.utf8 = ctx.acadVersion >= 1021;
}

// A name the drawing keeps in Mac Roman: a character it lacks becomes one "?", and the log names
// the name once.
std::string MacRomanName(DXFReaderContext& ctx, const char* what, const std::string& utf8) {
    std::string mac = UTF8ToMacRoman(utf8);
    if (MacRomanToUTF8(mac) != utf8)
        Log(ctx, std::string("DXF-in: ") + what + " name " + utf8 +
                     " has characters the drawing cannot keep, each shown as ?");
    return mac;
}

SInt16 PenOfColour(SInt32 number) {
    SInt32 n = number < 0 ? -number : number;
    if (n == 0) return 1;
    if (n <= 8) return SInt16(n);
    return SInt16(n % 8 + 1);
}

// Reads the objects of one table up to its ENDTAB; each is handed to take.
template <class Take> void ReadTableEntries(DXFReaderContext& ctx, const char* kind, Take take) {
    Str255 name;
    for (;;) {
        if (!ReadDxfLine(ctx, name)) return;
        if (UpperEquals(name, "ENDTAB") || UpperEquals(name, "ENDSEC")) {
            if (UpperEquals(name, "ENDSEC")) {
                std::memcpy(ctx.pendingName, name, size_t(name[0]) + 1);
                ctx.hasPending = true;
            } else {
                SkipDxfObject(ctx);
            }
            return;
        }
        bool ended = ReadDXFObject(ctx);
        if (UpperEquals(name, kind)) take();
        if (!ended) return;
    }
}

void ReadLineTypes(DXFReaderContext& ctx) {
    ReadTableEntries(ctx, "LTYPE", [&] {
        if (ctx.strings[1][0] == 0) return;
        DxfLineType t;
        t.name = PStrBytes(ctx.strings[1]);
        t.style = ClassifyDXFLineType(PStrBytes(ctx.strings[2]));
        ctx.lineTypes.push_back(t);
    });
}

// Every layer after the 1024th shares the last one: the drawing has no more.
void ReadLayers(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    ReadTableEntries(ctx, "LAYER", [&] {
        if (ctx.strings[1][0] == 0) return;
        DxfLayer layer;
        layer.name = PStrBytes(ctx.strings[1]);
        layer.lineType = PStrBytes(ctx.strings[5]);
        SInt32 colourNumber = DxfInt(ctx, 62);
        layer.pen = PenOfColour(colourNumber);
        RGBColor colour = {0, 0, 0};
        SInt16 pen = 0;
        if (colourNumber > 0) DxfColourForNumber(ctx, colourNumber, &colour, &pen);
        const RGBColor& back = doc->settings->backgroundColor;
        if ((colour.red >> 8) == (back.red >> 8) && (colour.green >> 8) == (back.green >> 8) &&
            (colour.blue >> 8) == (back.blue >> 8))
            colour = RGBColor{UInt16(~colour.red), UInt16(~colour.green), UInt16(~colour.blue)};
        layer.colour = colour;
        size_t position = ctx.layers.size();
        if (position >= size_t(kLayerCount)) {
            layer.number = kLayerCount - 1;
            Log(ctx, "DXF-in: layer " + layer.name + " beyond " + std::to_string(kLayerCount) +
                         " layers placed on layer " + std::to_string(kLayerCount));
        } else {
            layer.number = SInt16(position);
            if (doc->layerNames) {
                std::string mac = MacRomanName(ctx, "layer", layer.name).substr(0, 255);
                StringPtr slot = doc->layerNames->names[position];
                slot[0] = UInt8(mac.size());
                std::memcpy(slot + 1, mac.data(), mac.size());
            }
            if (doc->layerColors) doc->layerColors->colors[position] = colour;
        }
        ctx.layerIndex.emplace(layer.name, ctx.layers.size());
        ctx.layers.push_back(std::move(layer));
    });
}

void ExtendBox(SymbolDefRecord* def, bool* started, Float64 x, Float64 y) {
    if (!*started) {
        def->minX = def->maxX = x, def->minY = def->maxY = y;
        *started = true;
    }
    def->minX = std::min(def->minX, x), def->maxX = std::max(def->maxX, x);
    def->minY = std::min(def->minY, y), def->maxY = std::max(def->maxY, y);
}

// The box of an arc: its ends and every axis point it passes (a full circle, its square).
void ExtendArcBox(SymbolDefRecord* def, bool* started, const ArcRecord* a) {
    Float64 r = a->radius;
    bool full = (a->startAngle == 0 && a->endAngle == 360) || a->startAngle == a->endAngle;
    if (full) {
        ExtendBox(def, started, a->cx - r, a->cy - r);
        ExtendBox(def, started, a->cx + r, a->cy + r);
        return;
    }
    auto at = [&](Float64 degrees) {
        Float64 t = degrees * kDegreesToRadians;
        ExtendBox(def, started, a->cx + r * std::cos(t), a->cy + r * std::sin(t));
    };
    at(a->startAngle), at(a->endAngle);
    Float64 sweep = NormalizeAngle(a->endAngle - a->startAngle);
    for (int k = 0; k < 4; ++k) {
        Float64 axis = 90.0 * k;
        if (NormalizeAngle(axis - a->startAngle) < sweep) at(axis);
    }
}

// What the lists held before an entity of a block was read: what follows was made by it.
struct ListMarks {
    LineRecord* line;
    ArcRecord* arc;
    PolylineRecord* polyline;
    AreaRecord* area;
};

template <class T> T* LastOf(T* head) {
    T* e = head;
    while (e->next)
        e = e->next;
    return e;
}

// Cursors left on elements that moved into a block would append the next ones there.
void ResetCursors(DocWindowRecord* doc) {
    auto& c = doc->drawing->cursors;
    c.textCursor = LastOf(doc->textHead);
    c.dimensionCursor = LastOf(doc->dimensionHead);
    c.polylineCursor = LastOf(doc->polylineHead);
    c.areaCursor = LastOf(doc->areaHead);
    SeekLastLine(doc);
    SeekLastArc(doc);
}

ListMarks MarkLists(DocWindowRecord* doc) {
    return ListMarks{LastOf(doc->lineHead), LastOf(doc->arcHead), LastOf(doc->polylineHead),
                     LastOf(doc->areaHead)};
}

// Unlinks the elements after the mark and pushes each at the front of the definition's list.
template <class T, class Move> void MoveAfter(T* mark, T* defHead, Move move) {
    T* e = mark->next;
    mark->next = nullptr;
    while (e) {
        T* next = e->next;
        move(e);
        e->next = defHead->next;
        defHead->next = e;
        e = next;
    }
}

void MoveMadeIntoBlock(DXFReaderContext& ctx, const ListMarks& marks, SymbolDefRecord* def, bool* started,
                       Float64 bx, Float64 by) {
    MoveAfter(marks.line, def->lineHead, [&](LineRecord* l) {
        l->x1 -= bx, l->y1 -= by, l->x2 -= bx, l->y2 -= by;
        ExtendBox(def, started, l->x1, l->y1), ExtendBox(def, started, l->x2, l->y2);
        NormalizeLineDirection(l);
    });
    MoveAfter(marks.arc, def->arcHead, [&](ArcRecord* a) {
        a->cx -= bx, a->cy -= by;
        ExtendArcBox(def, started, a);
    });
    MoveAfter(marks.polyline, def->polylineHead, [&](PolylineRecord* p) {
        auto* xy = const_cast<Float64*>(PolylinePoints(p));
        for (SInt32 i = 0; xy && i < p->pointCount; ++i) {
            xy[2 * i] -= bx, xy[2 * i + 1] -= by;
            ExtendBox(def, started, xy[2 * i], xy[2 * i + 1]);
        }
    });
    MoveAfter(marks.area, def->areaHead, [&](AreaRecord* a) {
        MoveAreaElement(a, nullptr, -bx, -by);
        ExtendBox(def, started, a->minX, a->minY), ExtendBox(def, started, a->maxX, a->maxY);
    });
    ResetCursors(ctx.doc);
}

template <class T> void UnlinkFrom(T* head, T* e) {
    for (T* p = head; p->next; p = p->next)
        if (p->next == e) {
            p->next = e->next;
            e->next = nullptr;
            return;
        }
}

void MoveTextIntoBlock(DXFReaderContext& ctx, TextRecord* t, SymbolDefRecord* def, bool* started, Float64 bx,
                       Float64 by) {
    UnlinkFrom(ctx.doc->textHead, t);
    t->x -= bx, t->y -= by, t->x2 -= bx, t->y2 -= by;
    for (int k = 0; k < 4; ++k) {
        t->corners[2 * k] -= bx, t->corners[2 * k + 1] -= by;
        ExtendBox(def, started, t->corners[2 * k], t->corners[2 * k + 1]);
    }
    t->next = def->textHead->next;
    def->textHead->next = t;
    ResetCursors(ctx.doc);
}

void MoveDimensionIntoBlock(DXFReaderContext& ctx, DimensionRecord* d, SymbolDefRecord* def, bool* started,
                            Float64 bx, Float64 by) {
    UnlinkFrom(ctx.doc->dimensionHead, d);
    auto move = [&](Float64& x, Float64& y) {
        x -= bx, y -= by;
        ExtendBox(def, started, x, y);
    };
    move(d->x1, d->y1), move(d->x2, d->y2), move(d->textX, d->textY);
    for (int k = 0; k < 3; ++k)
        move(d->frame[2 * k], d->frame[2 * k + 1]);
    // The auxiliary point is a position for circles, angles and point-line dimensions; for the
    // linear kinds it is a direction.
    if (d->kind >= kDimDiameter) move(d->auxX, d->auxY);
    d->next = def->dimensionHead->next;
    def->dimensionHead->next = d;
    ResetCursors(ctx.doc);
}

} // namespace

SInt16 ClassifyDXFLineType(const std::string& d) {
    if (d.empty()) return 1;
    auto patternChar = [](char c) { return c == ' ' || c == '-' || c == '.' || c == '_'; };
    size_t start = d.size() - 1;
    while (start > 0 && patternChar(d[start - 1]))
        --start;
    int blanks = 0, dots = 0, dashes = 0;
    for (size_t i = start; i < d.size(); ++i) {
        char c = d[i];
        if (c == ' ')
            ++blanks;
        else if (c == '.')
            ++dots;
        else if (c == '-' || c == '_')
            ++dashes;
        else
            return 1;
    }
    if (dashes > 0 && blanks == 0 && dots == 0) return 1;
    if (dashes == 0 && dots > 0) return 6;
    std::string u = d;
    std::replace(u.begin(), u.end(), '-', '_');
    if (dashes > 0 && blanks > 0 && dots == 0) {
        size_t a = u.find('_');
        size_t aEnd = u.find_first_not_of('_', a);
        size_t b = aEnd == std::string::npos ? std::string::npos : u.find('_', aEnd);
        size_t first = (aEnd == std::string::npos ? u.size() : aEnd) - a, second = 0;
        if (b != std::string::npos) {
            size_t bEnd = u.find_first_not_of('_', b);
            second = (bEnd == std::string::npos ? u.size() : bEnd) - b;
        }
        if (first != second) return 3;
        return first == 1 ? 6 : 2;
    }
    size_t i = d.find('.');
    int group = 0;
    while (i < d.size() && (d[i] == '.' || d[i] == ' ')) {
        if (d[i] == '.') ++group;
        ++i;
    }
    return group == 1 ? 3 : 4;
}

void CopyUtf8(const std::string& text, StringPtr dest, size_t capacity) {
    size_t n = std::min(text.size(), capacity);
    if (n < text.size())
        while (n > 0 && (UInt8(text[n]) & 0xC0) == 0x80)
            --n;
    dest[0] = UInt8(n);
    std::memcpy(dest + 1, text.data(), n);
}

void ApplyDXFLineType(DXFReaderContext& ctx, ConstStr255Param name) {
    std::string n = PStrBytes(name);
    for (const DxfLineType& t : ctx.lineTypes)
        if (t.name == n) {
            ctx.doc->settings->currentLineType = t.style;
            ctx.lineTypeGiven = true;
            return;
        }
}

void ApplyDXFLayer(DXFReaderContext& ctx, ConstStr255Param name) {
    auto found = ctx.layerIndex.find(PStrBytes(name));
    if (found == ctx.layerIndex.end()) return;
    const DxfLayer& layer = ctx.layers[found->second];
    DocSettings* s = ctx.doc->settings;
    s->currentPen = layer.pen;
    if (!ctx.lineTypeGiven) s->currentLineType = layer.style;
    s->currentLayer = layer.number;
    s->currentColor = s->colorByPen == 1 ? layer.colour : RGBColor{0, 0, 0};
}

void ReadDXFHeader(DXFReaderContext& ctx) {
    SetProgressText4(reinterpret_cast<const UInt8*>("\006HEADER"));
    Str255 text, codeLine, value;
    GetStr128(kHeaderLogText, text);
    AppendLogLine(ctx.doc, text);
    std::string variable;
    while (ReadDxfLine(ctx, codeLine)) {
        SInt32 code = ParseGroupCode(codeLine);
        if (!ReadDxfLine(ctx, value)) return;
        if (code == 0 && UpperEquals(value, "ENDSEC")) return;
        if (code == 0 && UpperEquals(value, "EOF")) {
            ctx.sawEndMark = true;
            return;
        }
        if (code == 999) {
            AppendLogLine(ctx.doc, value);
        } else if (code == 9) {
            variable = PStrBytes(value);
        } else if (!variable.empty()) {
            if (variable == "$ACADVER") {
                TakeVersion(ctx, value);
            } else if (variable == "$TEXTSIZE" || variable == "$DIMSCALE" || variable == "$DIMASZ" ||
                       variable == "$DIMTXT" || variable == "$DIMTSZ" || variable == "$DIMPOST" ||
                       variable == "$DIMTVP" || variable == "$DWGCODEPAGE") {
                ApplyHeaderVar(ctx, variable, value);
            }
            variable.clear(); // the first value of a variable is its value
        }
    }
}

void ReadDXFTables(DXFReaderContext& ctx) {
    SetProgressText4(reinterpret_cast<const UInt8*>("\006TABLES"));
    Str255 name;
    for (;;) {
        if (ctx.hasPending) {
            std::memcpy(name, ctx.pendingName, size_t(ctx.pendingName[0]) + 1);
            ctx.hasPending = false;
        } else if (!ReadDxfLine(ctx, name)) {
            break;
        }
        if (UpperEquals(name, "ENDSEC")) break;
        if (UpperEquals(name, "EOF")) {
            ctx.sawEndMark = true;
            break;
        }
        if (!UpperEquals(name, "TABLE")) continue;
        bool ended = ReadDXFObject(ctx);
        std::string table = PStrBytes(ctx.strings[1]);
        std::transform(table.begin(), table.end(), table.begin(), ::toupper);
        if (!ended) break;
        if (table == "LTYPE")
            ReadLineTypes(ctx);
        else if (table == "LAYER")
            ReadLayers(ctx);
        else
            ReadTableEntries(ctx, "", [] {});
        if (!UpdateImportProgress(ctx)) break;
    }
    // Each layer takes the style of its line type.
    for (DxfLayer& layer : ctx.layers)
        for (const DxfLineType& t : ctx.lineTypes)
            if (t.name == layer.lineType) {
                layer.style = t.style;
                break;
            }
}

void MakeUniqueSymbolName(DocWindowRecord* doc, ConstStr255Param name, Str255 unique) {
    std::string candidate = PStrBytes(name).substr(0, kSymbolNameLength);
    size_t suffix = 2; // the first suffix replaces two characters
    for (SInt32 counter = 1;; ++counter) {
        unique[0] = UInt8(candidate.size());
        std::memcpy(unique + 1, candidate.data(), candidate.size());
        if (FindSymbolDefinition(doc, unique) == nullptr) return;
        // The counter takes the place of the last suffix; the name never runs short of characters
        // to give up nor grows past what a definition holds.
        std::string stem = candidate.substr(0, candidate.size() - std::min(suffix, candidate.size()));
        std::string digits = std::to_string(counter);
        if (stem.size() + digits.size() > kSymbolNameLength) stem.resize(kSymbolNameLength - digits.size());
        candidate = stem + digits;
        suffix = digits.size();
    }
}

Boolean ReadDXFBlocks(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    DocSettings* s = doc->settings;
    SetProgressText4(reinterpret_cast<const UInt8*>("\006BLOCKS"));
    Float64 savedScale = s->drawingScale;
    s->drawingScale = 1.0;
    ctx.coordScale = savedScale > 0 && std::isfinite(savedScale) ? 1.0 / savedScale : 1.0;
    Boolean goOn = true;
    Str255 name;
    SymbolDefRecord* def = nullptr;
    bool started = false;
    Float64 bx = 0, by = 0;
    size_t block = 0;
    auto next = [&](Str255 line) {
        if (ctx.hasPending) {
            std::memcpy(line, ctx.pendingName, size_t(ctx.pendingName[0]) + 1);
            ctx.hasPending = false;
            return true;
        }
        return bool(ReadDxfLine(ctx, line));
    };
    while (goOn && next(name)) {
        if (UpperEquals(name, "ENDSEC")) break;
        if (UpperEquals(name, "EOF")) {
            ctx.sawEndMark = true;
            break;
        }
        if (UpperEquals(name, "BLOCK")) {
            def = nullptr;
            bool ended = ReadDXFObject(ctx);
            SymbolDefRecord* made = nullptr;
            if (!NewSymbolDefElement(&made)) {
                goOn = false;
                break;
            }
            def = made;
            bx = DxfReal(ctx, 10), by = DxfReal(ctx, 20);
            Str255 macName, unique;
            std::string mac = MacRomanName(ctx, "block", PStrBytes(ctx.strings[1])).substr(0, 255);
            macName[0] = UInt8(mac.size());
            std::memcpy(macName + 1, mac.data(), mac.size());
            MakeUniqueSymbolName(doc, macName, unique);
            std::memcpy(def->name, unique, size_t(unique[0]) + 1);
            def->minX = def->maxX = 0, def->minY = def->maxY = 0;
            started = false;
            DxfBlock b;
            b.name = PStrBytes(ctx.strings[1]);
            b.definition = def;
            ctx.blockIndex[b.name] = ctx.blocks.size();
            ctx.blocks.push_back(std::move(b));
            block = ctx.blocks.size() - 1;
            // Linked now, so that the next block's name is compared with it; sorted at the end.
            LastOf(doc->symbolDefHead)->next = def;
            if (!ended) break;
            continue;
        }
        if (UpperEquals(name, "ENDBLK")) {
            SkipDxfObject(ctx);
            def = nullptr;
        } else if (def == nullptr) {
            SkipDxfObject(ctx);
        } else if (UpperEquals(name, "INSERT") ||
                   (UpperEquals(name, "DIMENSION") && GeneralPrefs.importDimensions == 0)) {
            bool dimension = !UpperEquals(name, "INSERT");
            ReadDXFObject(ctx);
            DxfNestedInsert n;
            n.name = PStrBytes(ctx.strings[1]);
            if (dimension) {
                n.x = -bx, n.y = -by;
            } else if (!ctx.nonFinite) {
                n.x = DxfReal(ctx, 10) - bx, n.y = DxfReal(ctx, 20) - by, n.angle = DxfReal(ctx, 50);
                n.xScale = DxfReal(ctx, 41) == 0 ? 1.0 : DxfReal(ctx, 41);
                n.yScale = DxfReal(ctx, 42) == 0 ? n.xScale : DxfReal(ctx, 42);
            } else {
                n.name.clear();
            }
            if (!n.name.empty()) ctx.blocks[block].inserts.push_back(std::move(n));
        } else if (UpperEquals(name, "DIMENSION")) {
            if (DimensionRecord* d = ReadDXFDimension(ctx))
                MoveDimensionIntoBlock(ctx, d, def, &started, bx, by);
        } else if (UpperEquals(name, "TEXT") || UpperEquals(name, "MTEXT") || UpperEquals(name, "ATTDEF") ||
                   UpperEquals(name, "ATTRIB")) {
            TextRecord* last = LastOf(doc->textHead);
            ReadDXFText(ctx, name);
            // A long text may have become several.
            while (last->next)
                MoveTextIntoBlock(ctx, last->next, def, &started, bx, by);
        } else if (UpperEquals(name, "SEQEND")) {
            SkipDxfObject(ctx);
        } else {
            ListMarks marks = MarkLists(doc);
            if (!ReadDXFGeometricEntity(ctx, name)) SkipNotReadEntity(ctx, name);
            MoveMadeIntoBlock(ctx, marks, def, &started, bx, by);
        }
        if (!UpdateImportProgress(ctx)) goOn = false;
        if (ctx.atEOF) break;
    }
    SortSymbolDefinitions(doc);
    s->drawingScale = savedScale;
    ctx.coordScale = 1.0;
    ResetCursors(doc);
    return goOn;
}

void RemoveUnusedDimBlocks(DocWindowRecord* doc) {
    SymbolDefRecord* prev = doc->symbolDefHead;
    while (SymbolDefRecord* d = prev->next) {
        bool dimension = d->name[0] >= 2 && d->name[1] == '*' && (d->name[2] == 'D' || d->name[2] == 'd');
        bool used = false;
        for (SymbolInstanceRecord* i = doc->instanceHead->next; i && !used; i = i->next)
            used = i->definition == d;
        if (dimension && !used) {
            prev->next = d->next;
            d->next = nullptr;
            DisposeSymbolDefinition(doc, d);
        } else {
            prev = d;
        }
    }
    doc->drawing->cursors.symbolDefCursor = nullptr;
}
