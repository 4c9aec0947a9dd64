// The DXF writer: the output buffer and the formatting of group codes and values, the header
// variables, the tables, the order of sections, and the export's entry with its safe file handling.
#include "Exchange/DxfWriter.h"
#include "Platform/PascalBytes.h"
#include "Exchange/DxfWriterState.h"

#include "Files/OpenSaveDispatch.h"
#include "Interface/DialogHooks.h"
#include "Files/Preferences.h"
#include "Files/SafeWrite.h"
#include "Model/Repairs.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Other/NumberFormat.h"
#include "Interface/ProgressWindow.h"
#include "Platform/MacRoman.h"
#include "View/TextDrawing.h"
#include "View/ZoomExtents.h"

#include <charconv>
#include <cstdio>
#include <cmath>
#include <cstring>

namespace {

constexpr size_t kBufferCapacity = 20480;
constexpr SInt16 kConfirmExportAlert = 137;
constexpr SInt16 kGeneralTexts = 5000;
constexpr SInt16 kWritingDXFItem = 108;
constexpr SInt16 kCommentStartItem = 226;
constexpr SInt16 kCommentEndItem = 227;
constexpr SInt16 kUnitsCommentItem = 228;
constexpr const char* kVersion = "7.5.4";

std::string AppText(SInt16 item) {
    Str255 s;
    GetAppString(item, s);
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

const char* const kCodePageNames[] = {"dos437", "dos850", "dos852", "dos855", "dos857",
                                      "dos860", "dos861", "dos863", "dos864", "dos865",
                                      "dos869", "iso-1",  "iso-2",  "mac",    "ANSI_1252"};

std::string Hex(UInt32 handle) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", unsigned(handle));
    return buf;
}

SInt16 ClampLayer(SInt16 layer) {
    return layer < 0 ? 0 : layer >= kLayerCount ? SInt16(kLayerCount - 1) : layer;
}

// Names of lower slots (and the two fixed layers) are taken; a taken name gets a running number at
// its end in place of its last one or two characters.
std::string UniqueName(std::string name, size_t maxLength, const std::vector<std::string>& taken) {
    auto isTaken = [&](const std::string& n) {
        for (const std::string& t : taken)
            if (t == n) return true;
        return false;
    };
    std::string base = name;
    for (int n = 1; isTaken(name); ++n) {
        std::string digits = std::to_string(n);
        std::string stem = base;
        size_t cut = std::min(stem.size(), digits.size());
        stem.erase(stem.size() - cut);
        if (stem.size() + digits.size() > maxLength) stem.erase(maxLength - digits.size());
        name = stem + digits;
    }
    return name;
}

void MakeDXFLayerNames(DXFWriter& w, const std::vector<bool>& inUse) {
    std::vector<std::string> taken{"0", "DEFPOINTS"};
    w.layerNames.assign(kLayerCount, std::string());
    for (int n = 0; n < kLayerCount; ++n) {
        if (!inUse[n]) continue;
        std::string name = SanitizeDXFName(PStrBytes(w.doc->layerNames->names[n]));
        if (name.size() > 31) name.resize(31);
        if (name.empty()) name = "LAYER_" + std::to_string(n);
        name = UniqueName(name, 31, taken);
        taken.push_back(name);
        w.layerNames[n] = name;
    }
}

std::vector<bool> LayersInUse(const DocWindowRecord* doc) {
    std::vector<bool> used(kLayerCount, false);
    auto mark = [&](SInt16 layer) { used[ClampLayer(layer)] = true; };
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        mark(e->layer);
    for (ArcRecord* e = doc->arcHead->next; e; e = e->next)
        mark(e->layer);
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        mark(e->layer);
    for (DimensionRecord* e = doc->dimensionHead->next; e; e = e->next)
        mark(e->layer);
    for (PolylineRecord* e = doc->polylineHead->next; e; e = e->next)
        mark(e->layer);
    for (AreaRecord* e = doc->areaHead->next; e; e = e->next)
        mark(e->layer);
    for (SymbolInstanceRecord* e = doc->instanceHead->next; e; e = e->next)
        mark(e->layer);
    return used;
}

SInt32 CountElements(const DocWindowRecord* doc) {
    SInt32 n = 0;
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        ++n;
    for (ArcRecord* e = doc->arcHead->next; e; e = e->next)
        ++n;
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        n += 2;
    for (DimensionRecord* e = doc->dimensionHead->next; e; e = e->next)
        ++n;
    for (PolylineRecord* e = doc->polylineHead->next; e; e = e->next)
        ++n;
    for (AreaRecord* e = doc->areaHead->next; e; e = e->next)
        ++n;
    for (SymbolInstanceRecord* e = doc->instanceHead->next; e; e = e->next)
        ++n;
    return n;
}

void WriteHeader(DXFWriter& w, const Float64 extents[4]) {
    w.Section("HEADER");
    // Flavours 2 and 3 carry subclass markers, which readers take only from R2000 on: they declare
    // that version, with handles on their tables; the entities' handles are left to the reader.
    w.Str(9, "$ACADVER");
    w.Str(1, w.flavour == 0 ? "AC1006" : w.flavour == 1 ? "AC1009" : "AC1015");
    w.Str(9, "$INSBASE");
    w.Real(10, 0.0), w.Real(20, 0.0), w.Real(30, 0.0);
    w.Str(9, "$EXTMIN");
    w.Real(10, extents[0]), w.Real(20, extents[1]);
    if (w.flavour == 1) w.Real(30, 0.0);
    w.Str(9, "$EXTMAX");
    w.Real(10, extents[2]), w.Real(20, extents[3]);
    if (w.flavour == 1) w.Real(30, 0.0);
    w.Str(9, "$LIMMIN");
    w.Real(10, extents[0]), w.Real(20, extents[1]);
    w.Str(9, "$LIMMAX");
    w.Real(10, extents[2]), w.Real(20, extents[3]);
    auto intVar = [&](const char* name, SInt16 v) { w.Str(9, name), w.Int(70, v); };
    auto realVar = [&](const char* name, double v) { w.Str(9, name), w.Real(40, v); };
    auto strVar = [&](const char* name, int code, const char* v) { w.Str(9, name), w.Str(code, v); };
    intVar("$ORTHOMODE", 0), intVar("$REGENMODE", 1), intVar("$FILLMODE", 1), intVar("$QTEXTMODE", 0);
    intVar("$MIRRTEXT", 0), intVar("$DRAGMODE", 2), realVar("$LTSCALE", 25.0), intVar("$ATTMODE", 1);
    realVar("$TEXTSIZE", 3.5), strVar("$TEXTSTYLE", 7, "STANDARD"), strVar("$CELTYPE", 6, "BYLAYER");

    realVar("$DIMSCALE", 1.0), realVar("$DIMASZ", 3.5), realVar("$DIMEXO", 0.1), realVar("$DIMDLI", 0.0);
    realVar("$DIMRND", 0.0), realVar("$DIMDLE", 0.0), realVar("$DIMEXE", 1.8), realVar("$DIMTP", 0.0);
    realVar("$DIMTM", 0.0), realVar("$DIMTXT", 3.5), realVar("$DIMCEN", 1.5), realVar("$DIMTSZ", 0.0);
    intVar("$DIMTOL", 0), intVar("$DIMLIM", 0), intVar("$DIMTIH", 0), intVar("$DIMTOH", 0);
    intVar("$DIMSE1", 0), intVar("$DIMSE2", 0), intVar("$DIMTAD", 0), intVar("$DIMZIN", 4);
    strVar("$DIMBLK", 1, ""), intVar("$DIMASO", 0), intVar("$DIMSHO", 0), strVar("$DIMPOST", 1, "");
    strVar("$DIMAPOST", 1, ""), intVar("$DIMALT", 0), intVar("$DIMALTD", 8), realVar("$DIMALTF", 25.4);
    realVar("$DIMLFAC", 1.0), intVar("$DIMTOFL", 0), realVar("$DIMTVP", 0.0), intVar("$DIMTIX", 0);
    intVar("$DIMSOXD", 0), intVar("$DIMSAH", 0), strVar("$DIMBLK1", 1, ""), strVar("$DIMBLK2", 1, "");
    if (w.flavour == 1) {
        strVar("$DIMSTYLE", 2, "*UNNAMED"), intVar("$DIMCLRD", 0), intVar("$DIMCLRE", 0);
        intVar("$DIMCLRT", 0), realVar("$DIMTFAC", 1.0), realVar("$DIMGAP", 0.09);
    }

    intVar("$LUNITS", 2), intVar("$LUPREC", 2);
    if (w.flavour == 0) {
        intVar("$AXISMODE", 0);
        w.Str(9, "$AXISUNIT"), w.Real(10, 0.0), w.Real(20, 0.0);
    }
    realVar("$SKETCHINC", 1.0), realVar("$FILLETRAD", 0.0), intVar("$AUNITS", 0), intVar("$AUPREC", 2);
    strVar("$MENU", 1, "ACAD");
    w.Str(9, "$ANGBASE"), w.Real(50, 0.0);
    intVar("$ANGDIR", 0), intVar("$PDMODE", 0), realVar("$PDSIZE", 0.0), intVar("$SPLFRAME", 0);
    intVar("$SPLINETYPE", 6), intVar("$SPLINESEGS", 8), intVar("$ATTDIA", 0), intVar("$HANDLING", 0);
    w.Str(9, "$HANDSEED");
    if (w.Subclasses())
        w.Str(5, Hex(w.handleSeed));
    else
        w.Int(5, 0);
    if (w.flavour == 1) {
        intVar("$TILEMODE", 1), intVar("$MAXACTVP", 16);
        w.Str(9, "$PLIMMIN"), w.Real(10, 0.0), w.Real(20, 0.0);
        w.Str(9, "$PLIMMAX"), w.Real(10, 12.0), w.Real(20, 9.0);
        intVar("$UNITMODE", 0), intVar("$VISRETAIN", 0), intVar("$PLINEGEN", 0), intVar("$TREEDEPTH", 0);
        strVar("$DWGCODEPAGE", 3, kCodePageNames[w.codePage]);
    }
    w.EndSection();
}

void WriteDimStyle(DXFWriter& w) {
    w.Str(0, "DIMSTYLE"), w.Str(2, "Standard"), w.Int(70, 0);
    for (int code = 3; code <= 7; ++code)
        w.Str(code, "");
    const std::pair<int, double> reals[] = {{40, 1.0},  {41, 3.5},  {42, 0.1},   {43, 0.0},  {44, 0.0},
                                            {45, 0.0},  {46, 0.0},  {47, 0.0},   {48, 0.0},  {140, 3.5},
                                            {141, 1.5}, {142, 0.0}, {143, 25.4}, {144, 1.0}, {145, 0.0},
                                            {146, 1.0}, {147, 0.09}};
    for (auto [code, v] : reals)
        w.Real(code, v);
    const std::pair<int, SInt16> ints[] = {{71, 0},  {72, 0},  {73, 0},  {74, 0},  {75, 0},  {76, 0},
                                           {77, 0},  {78, 4},  {170, 0}, {171, 8}, {172, 0}, {173, 0},
                                           {174, 0}, {175, 0}, {176, 0}, {177, 0}, {178, 0}};
    for (auto [code, v] : ints)
        w.Int(code, v);
}

// A table's head, and where the flavour declares R2000, its handle and marker.
void TableHead(DXFWriter& w, const char* name, SInt16 count) {
    w.Str(0, "TABLE"), w.Str(2, name);
    if (w.Subclasses()) w.Str(5, Hex(w.nextHandle++)), w.Str(100, "AcDbSymbolTable");
    w.Int(70, count);
}

void TableEntry(DXFWriter& w, const char* type, const char* subclass) {
    w.Str(0, type);
    if (w.Subclasses())
        w.Str(5, Hex(w.nextHandle++)), w.Str(100, "AcDbSymbolTableRecord"), w.Str(100, subclass);
}

void WriteTables(DXFWriter& w, const std::vector<bool>& inUse) {
    w.Section("TABLES");
    // R2000 wants the two line types an entity may name besides its own.
    TableHead(w, "LTYPE", SInt16(w.Subclasses() ? 8 : 6));
    if (w.Subclasses())
        for (const char* name : {"BYBLOCK", "BYLAYER"}) {
            TableEntry(w, "LTYPE", "AcDbLinetypeTableRecord");
            w.Str(2, name), w.Int(70, 0), w.Str(3, ""), w.Int(72, 65), w.Int(73, 0), w.Real(40, 0.0);
        }
    struct LineType {
        const char* name;
        const char* description;
        double length;
        std::vector<double> elements;
    };
    const LineType types[] = {
        {"CONTINUOUS", "Solid Line", 0.0, {}},
        {"DASHED", "__ __ __ __ __", 1.5, {1.2, -0.3}},
        {"HIDDEN", "_ _ _ _ _", 1.5, {1.2, -0.3}},
        {"CENTER", "__ . __ . __", 3.6, {2.4, -0.6, 0.0, -0.6}},
        {"PHANTOM", "_____ . . _____ . . _____ . . ____ .. ____", 17.5, {10.0, -2.5, 0.0, -2.5, 0.0, -2.5}},
        {"DOT", ". . . . . . . . . . . . . . . . . . . . . . . .", 0.25, {0.0, -0.25}},
    };
    for (const LineType& t : types) {
        TableEntry(w, "LTYPE", "AcDbLinetypeTableRecord");
        w.Str(2, t.name), w.Int(70, 64), w.Str(3, t.description), w.Int(72, 65);
        w.Int(73, SInt16(t.elements.size())), w.Real(40, t.length);
        for (double e : t.elements)
            w.Real(49, e);
    }
    w.Str(0, "ENDTAB");

    int count = 2;
    for (int n = 0; n < kLayerCount; ++n)
        count += inUse[n] ? 1 : 0;
    TableHead(w, "LAYER", SInt16(count));
    TableEntry(w, "LAYER", "AcDbLayerTableRecord");
    w.Str(2, "0"), w.Int(70, 64), w.Int(62, 7), w.Str(6, "CONTINUOUS");
    TableEntry(w, "LAYER", "AcDbLayerTableRecord");
    w.Str(2, "DEFPOINTS"), w.Int(70, 64), w.Int(62, -7), w.Str(6, "CONTINUOUS");
    for (int n = 0; n < kLayerCount; ++n) {
        if (!inUse[n]) continue;
        SInt16 colour = w.doc->layerColors ? RGBToACI(w.palette, w.doc->layerColors->colors[n]) : 7;
        TableEntry(w, "LAYER", "AcDbLayerTableRecord");
        w.Str(2, w.layerNames[n]), w.Int(70, 64), w.Int(62, colour);
        w.Str(6, "CONTINUOUS");
    }
    w.Str(0, "ENDTAB");

    TableHead(w, "STYLE", 1);
    TableEntry(w, "STYLE", "AcDbTextStyleTableRecord");
    w.Str(2, "STANDARD"), w.Int(70, 0), w.Real(40, 0.0), w.Real(41, 1.0), w.Real(50, 0.0);
    w.Int(71, 0), w.Real(42, 3.5), w.Str(3, "txt"), w.Str(4, "");
    w.Str(0, "ENDTAB");
    if (w.flavour == 1) {
        w.Str(0, "TABLE"), w.Str(2, "DIMSTYLE"), w.Int(70, 1);
        WriteDimStyle(w);
        w.Str(0, "ENDTAB");
        w.Str(0, "TABLE"), w.Str(2, "VIEW"), w.Int(70, 0), w.Str(0, "ENDTAB");
    }
    w.EndSection();
}

void WriteDXFFile(DXFWriter& w, const Float64 extents[4]) {
    std::vector<bool> inUse = LayersInUse(w.doc);
    MakeDXFLayerNames(w, inUse);
    // Above every handle the tables take: three heads, eight line types, the layers, one style.
    w.handleSeed = 1 + 3 + 8 + 2 + 1;
    for (bool used : inUse)
        w.handleSeed += used ? 1 : 0;
    w.Str(999, AppText(kCommentStartItem) + kVersion + AppText(kCommentEndItem));
    w.Str(999, AppText(kUnitsCommentItem));
    WriteHeader(w, extents);
    WriteTables(w, inUse);
    w.Section("BLOCKS");
    WriteDXFBlocks(w);
    w.EndSection();
    w.Section("ENTITIES");
    DocWindowRecord* doc = w.doc;
    WriteDXFElements(w, doc->lineHead->next, doc->arcHead->next, doc->textHead->next,
                     doc->dimensionHead->next, doc->polylineHead->next, doc->areaHead->next,
                     doc->instanceHead->next, false);
    w.EndSection();
    w.Str(0, "EOF");
}

Boolean ExportFromSavePanel(DocWindowRecord* doc, const FSRef* file) {
    return ExportDXF(doc, file, true) == noErr;
}

} // namespace

std::string FormatDXFReal(double value) {
    if (!std::isfinite(value)) return "     0.0";
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 8);
    if (r.ec != std::errc()) return "     0.0";
    std::string s(buf, r.ptr);
    size_t point = s.find('.');
    if (point == std::string::npos) {
        s += ".0";
    } else {
        size_t last = s.find_last_not_of('0');
        if (last == point) last = point + 1;
        s.erase(last + 1);
    }
    if (s == "-0.0") s = "0.0";
    return s;
}

std::string FormatDXFInt(SInt16 value) {
    int pad = value <= 9       ? 5
              : value <= 99    ? 4
              : value <= 999   ? 3
              : value <= 9999  ? 2
              : value <= 32167 ? 1
                               : 0;
    return std::string(size_t(pad), ' ') + std::to_string(value);
}

std::string SanitizeDXFName(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        if (c >= 'a' && c <= 'z')
            out += char(c - 'a' + 'A');
        else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '*' || c == '-' ||
                 c == '_')
            out += char(c);
        else if (c == ' ')
            out += '_';
    }
    return out;
}

SInt16 RGBToACI(const RGBColor palette[256], const RGBColor& colour) {
    int r = colour.red >> 8, g = colour.green >> 8, b = colour.blue >> 8;
    SInt16 best = 255;
    long bestSum = -1;
    for (int i = 1; i <= 254; ++i) {
        int dr = r - (palette[i].red >> 8), dg = g - (palette[i].green >> 8), db = b - (palette[i].blue >> 8);
        long sum = long(dr) * dr + long(dg) * dg + long(db) * db;
        if (bestSum < 0 || sum < bestSum) {
            bestSum = sum;
            best = SInt16(i);
            if (sum == 0) break;
        }
    }
    return best;
}

void DXFWriter::Flush() {
    if (buffer.empty()) return;
    if (error == noErr && ref >= 0) {
        ByteCount written = 0;
        OSErr e = FSWriteFork(ref, fsAtMark, 0, buffer.size(), buffer.data(), &written);
        if (e == noErr && written != buffer.size()) e = ioErr;
        if (e != noErr) error = e;
    }
    buffer.clear();
}

void DXFWriter::Line(const std::string& text) {
    ++lines;
    if (buffer.size() + text.size() + 2 >= kBufferCapacity) Flush();
    buffer += text;
    buffer += "\r\n";
}

void DXFWriter::Code(int code) {
    std::string s = std::to_string(code);
    if (s.size() < 3) s.insert(0, 3 - s.size(), ' ');
    Line(s);
}

void DXFWriter::Int(int code, SInt16 value) {
    Code(code);
    Line(FormatDXFInt(value));
}

void DXFWriter::Real(int code, double value) {
    if (code >= 30 && code <= 39 && !threeD) return;
    Code(code);
    Line(FormatDXFReal(value));
}

void DXFWriter::Str(int code, const std::string& text) {
    Code(code);
    Line(text);
}

void DXFWriter::Text(int code, const std::string& utf8) {
    std::string text = utf8.size() > 255 ? utf8.substr(0, 255) : utf8;
    if (text.size() == 3 && text[0] == '^') {
        Str255 p;
        p[0] = 3;
        std::memcpy(p + 1, text.data(), 3);
        if (ExpandTextVariables(doc, p)) text = PStrBytes(p);
    }
    Str(code, EncodeDXFText(text, encoder));
}

void DXFWriter::Section(const char* name) {
    Str(0, "SECTION"), Str(2, name);
}
void DXFWriter::EndSection() {
    Str(0, "ENDSEC");
}

void DXFWriter::Step(int steps) {
    done += steps;
    SInt32 percent = total > 0 ? SInt32(SInt64(done) * 100 / total) : 0;
    if (percent != lastPercent) {
        lastPercent = percent;
        SetProgressPercent(SInt16(std::min<SInt32>(percent, 100)));
        Str255 n;
        NumToPaddedStr(lines, 1, n);
        SetProgressText8(n);
    }
}

OSErr ExportDXF(DocWindowRecord* doc, const FSRef* file, Boolean interactive) {
    if (!doc || !file) return paramErr;
    if (interactive && ShowAlert(kConfirmExportAlert) != 1) return noErr;

    auto w = std::make_unique<DXFWriter>();
    w->doc = doc;
    RepairInvalidCoordinates(doc, true, !interactive);
    DocSettings* s = doc->settings;
    w->flavour = s->dxfFlavour <= 3 ? s->dxfFlavour : 0;
    w->threeD = GeneralPrefs.dxfExportOption != 0;
    w->codePage = ExportCodePage(GeneralPrefs.codePage);
    // Only the fuller header names a code page; other flavours write ASCII and escapes.
    LoadDXFTextEncoder(w->encoder, w->flavour == 1 ? SInt32(w->codePage) : -1);
    w->colourByElement = s->colorByPen != 0;
    LoadACIPalette(w->palette);

    Float64 extents[4] = {0, 0, 0, 0};
    auto keptView = doc->drawing->view;
    ComputeDrawingExtents(doc, 0, true, &extents[0], &extents[1], &extents[2], &extents[3], 0);
    doc->drawing->view = keptView;

    w->total = CountElements(doc);
    Str255 title;
    GetAppString(kWritingDXFItem, title);
    OpenProgress(title);
    ShowWatchCursor();
    w->buffer.reserve(kBufferCapacity);
    OSErr err = WriteFileSafely(file, [&](FSIORefNum fork) {
        w->ref = fork;
        WriteDXFFile(*w, extents);
        w->Flush();
        return w->error;
    });
    CloseProgress();
    SetCursorById(0);
    if (err != noErr && interactive) ShowOSErrorAlert(err);
    return err;
}

void RegisterDXFExport() {
    RegisterExporter(kSaveDXF, ExportFromSavePanel);
    RegisterExportOptions(kSaveDXF, [](DocWindowRecord* doc) { gDialogHooks.dxfExportOptions(doc); });
}
