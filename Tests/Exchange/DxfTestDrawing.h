// A headless drawing for the DXF tests, the drawing with one element of every kind, and the written
// file read back as group-code pairs.
#pragma once

#include "Exchange/DxfWriter.h"
#include "GuiHarness.h"
#include "TestSupport.h"

#include "Files/Preferences.h"
#include "Model/Dimensions.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"
#include "Model/Symbols.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Tools/AreaOutlines.h"
#include "Tools/TextElements.h"

#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using DxfPair = std::pair<std::string, std::string>;

// Codes and values with their blanks trimmed.
struct WrittenPairs : std::vector<DxfPair> {
    static constexpr size_t npos = size_t(-1);
    size_t Find(const std::string& code, const std::string& value, size_t from = 0) const {
        for (size_t i = from; i < size(); ++i)
            if ((*this)[i].first == code && (*this)[i].second == value) return i;
        return npos;
    }
    int Count(const std::string& code, const std::string& value) const {
        int n = 0;
        for (const DxfPair& p : *this)
            n += p.first == code && p.second == value;
        return n;
    }
    WrittenPairs From(size_t i) const {
        WrittenPairs out;
        if (i < size()) out.assign(begin() + long(i), end());
        return out;
    }
    WrittenPairs Until(size_t i) const {
        WrittenPairs out;
        out.assign(begin(), begin() + long(std::min(i, size())));
        return out;
    }
    // The value of the first pair of the code after index i, before the next "0" pair.
    std::string ValueAfter(size_t i, const std::string& code) const {
        if (i == npos) return "<none>";
        for (size_t k = i + 1; k < size() && (*this)[k].first != "0"; ++k)
            if ((*this)[k].first == code) return (*this)[k].second;
        return "<none>";
    }
    std::vector<std::string> ValuesAfter(const std::string& code0, const std::string& name,
                                         const std::string& code) const {
        std::vector<std::string> out;
        for (size_t i = 0; i < size(); ++i)
            if ((*this)[i].first == code0 && (*this)[i].second == name) out.push_back(ValueAfter(i, code));
        return out;
    }
};

inline std::string Trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

inline WrittenPairs ParseDxfPairs(const std::string& raw) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < raw.size()) {
        size_t end = raw.find("\r\n", at);
        if (end == std::string::npos) end = raw.size();
        lines.push_back(raw.substr(at, end - at));
        at = end + 2;
    }
    WrittenPairs pairs;
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        pairs.emplace_back(Trimmed(lines[i]), Trimmed(lines[i + 1]));
    return pairs;
}

class DxfDrawingTest : public GuiTest {
  protected:
    DocWindowRecord* doc = nullptr;
    std::string folder;

    void SetUp() override {
        GuiTest::SetUp();
        SetDefaultGeneralPrefs();
        ClearRecordedAlerts();
        ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
        folder = MakeTestFolder("dxf");
    }
    void TearDown() override {
        while (OpenDocumentList != nullptr)
            DisposeDocumentRecords(OpenDocumentList);
        SetAlertResponder(nullptr);
        SetDefaultGeneralPrefs();
        GuiTest::TearDown();
    }

    std::string ExportRaw(UInt16 flavour, const std::string& name = "out.dxf") {
        doc->settings->dxfFlavour = flavour;
        std::string path = folder + "/" + name;
        FSRef file;
        if (FSMakeRef(path.c_str(), &file) != noErr) return {};
        if (ExportDXF(doc, &file, false) != noErr) return {};
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    WrittenPairs ExportPairs(UInt16 flavour) { return ParseDxfPairs(ExportRaw(flavour)); }

    void SetLayerName(SInt16 layer, const std::string& name) {
        Str255& slot = doc->layerNames->names[layer];
        slot[0] = UInt8(std::min<size_t>(name.size(), 255));
        std::memcpy(slot + 1, name.data(), slot[0]);
    }
    LineRecord* AddLineOn(SInt16 layer) {
        LineRecord* l = AddLine(doc, 0, 0, 10, 10);
        if (l) l->layer = layer;
        return l;
    }

    SymbolDefRecord* AddDefinition(const std::string& name) {
        SymbolDefRecord* def = nullptr;
        if (!NewSymbolDefElement(&def)) return nullptr;
        def->name[0] = UInt8(std::min<size_t>(name.size(), 19));
        std::memcpy(def->name + 1, name.data(), def->name[0]);
        SymbolDefRecord* tail = doc->symbolDefHead;
        while (tail->next)
            tail = tail->next;
        tail->next = def;
        return def;
    }
    DimensionRecord* AddDimension(DimensionRecord* head, SInt16 kind) {
        DimensionRecord* d = nullptr;
        if (!NewDimensionElement(doc, &d)) return nullptr;
        d->kind = kind;
        d->x1 = 0, d->y1 = 0, d->x2 = 40, d->y2 = 0, d->textX = 20, d->textY = 8;
        const char* text = "40";
        d->text[0] = 2;
        std::memcpy(d->text + 1, text, 2);
        DimensionRecord* tail = head;
        while (tail->next)
            tail = tail->next;
        tail->next = d;
        return d;
    }
    TextRecord* AddText(const std::string& utf8, SInt16 justification, Float64 x, Float64 y) {
        TextElementValues v{};
        v.layer = 1, v.pen = 1, v.justification = justification, v.size = 3.5, v.drawingScale = 1.0;
        return AddTextElementWith(doc, 0, PStr(utf8), x, y, x, y, v);
    }

    PolylineRecord* AddPolyline(SInt16 kind, std::vector<Float64> xy, Float64 p0 = 0, Float64 p1 = 0) {
        PolylineRecord* p = nullptr;
        if (!NewPolylineElement(doc, &p)) return nullptr;
        p->kind = kind, p->params[0] = p0, p->params[1] = p1, p->layer = 2, p->lineType = 2;
        p->pointCount = SInt16(xy.size() / 2);
        p->points = NewHandle(Size(xy.size() * sizeof(Float64)));
        std::memcpy(*p->points, xy.data(), xy.size() * sizeof(Float64));
        PolylineRecord* tail = doc->polylineHead;
        while (tail->next)
            tail = tail->next;
        tail->next = p;
        return p;
    }

    // One line, circle, arc, two texts (one "%", one centred), two symbol definitions with the same
    // name start and an instance of the first, a hatched area, one dimension.
    void BuildEveryKind() {
        AddLine(doc, 0, 0, 100, 0);
        AddArc(doc, 50, 50, 10, 0, 360);
        AddArc(doc, 0, 0, 5, 10, 350);
        AddText("Ma%e", 6, 10, 20);
        AddText("Mitte", 4, 10, 40);
        SymbolDefRecord* lang = AddDefinition("Schraube M10 lang");
        SymbolDefRecord* kurz = AddDefinition("Schraube M10 kurz");
        for (SymbolDefRecord* def : {lang, kurz}) {
            LineRecord* l = nullptr;
            if (NewDefaultLine(doc, &l)) {
                l->x1 = 0, l->y1 = 0, l->x2 = 5, l->y2 = 5;
                def->lineHead->next = l;
            }
        }
        CreateSymbolInstance(doc, 200, 100, 30, 2, 2, lang);
        const Float64 box[8] = {100, 100, 140, 100, 140, 130, 100, 130};
        EmptyOutlineContours(doc);
        if (AppendRoundedBoxOutline(doc, box, 0) && PushOutlineContour(doc))
            CreateAreaElement(doc, 5.0, 45.0, -2, false);
        AddDimension(doc->dimensionHead, 0);
        AddPolyline(0, {0, 0, 10, 0, 10, 10});
        AddPolyline(11, {300, 0, 340, 0, 340, 20, 300, 20}, 300, 60); // ellipse arc: 241 vertices
        AddPolyline(12, {400, 0, 440, 0, 440, 20, 400, 20}, 5);       // rounded box: 4 lines, 4 arcs
    }

    // One dimension of each kind 0 to 6 made by the creators, with the lines and circle they measure.
    int BuildEveryDimensionKind() {
        int made = 0;
        made +=
            CreateHorizontalDimension(doc, 500, 0, 540, 10, 520, 30, nullptr, nullptr, nullptr) != nullptr;
        made += CreateVerticalDimension(doc, 500, 0, 540, 10, 560, 5, nullptr, nullptr, nullptr) != nullptr;
        made +=
            CreateAlignedDimension(doc, 500, 0, 540, 30, 4, 3, 510, 30, nullptr, nullptr, nullptr) != nullptr;
        ArcRecord* circle = AddArc(doc, 600, 50, 20, 0, 360);
        made += CreateDiameterDimension(doc, circle, 640, 60, nullptr, nullptr, nullptr) != nullptr;
        made += CreateRadiusDimension(doc, circle, 610, 55, nullptr, nullptr, nullptr) != nullptr;
        LineRecord* first = AddLine(doc, 700, 0, 760, 0);
        LineRecord* second = AddLine(doc, 700, 0, 740, 40);
        made += CreateLineAngleDimension(doc, first, second, nullptr, 740, 15, nullptr, nullptr, nullptr) !=
                nullptr;
        made += CreatePointLineDimension(doc, first, 730, 30, nullptr, nullptr, nullptr) != nullptr;
        return made;
    }

    void BuildDimensionsInAndOutOfSymbols() {
        SymbolDefRecord* def = AddDefinition("Bemasst");
        AddDimension(def->dimensionHead, 0);
        AddDimension(doc->dimensionHead, 0);
        AddDimension(doc->dimensionHead, 9);
        AddDimension(doc->dimensionHead, 3);
    }
};
