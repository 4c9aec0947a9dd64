// Our DXF read back by our own reader, in every flavour: the kinds both sides know come back with the
// same geometry within the written precision, and layers, line types, texts, inserts and dimensions
// with their names, attributes, placement and measured values.
#include "DxfTestDrawing.h"

#include "Exchange/DxfCodePages.h"
#include "Exchange/DxfReader.h"
#include "Exchange/DxfWriter.h"
#include "Model/NewDocument.h"
#include "Model/Symbols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class DxfRoundTripTest : public DxfDrawingTest {
  protected:
    DocWindowRecord* ReadBack(UInt16 flavour) {
        std::string raw = ExportRaw(flavour, "trip.dxf");
        if (raw.empty()) return nullptr;
        FSRef file;
        FSMakeRef((folder + "/trip.dxf").c_str(), &file);
        DocWindowRecord* read = nullptr;
        if (!ImportDXF(&read, &file)) return nullptr;
        return read;
    }
};

template <class T> std::vector<T*> Elements(T* head) {
    std::vector<T*> v;
    for (T* e = head ? head->next : nullptr; e; e = e->next)
        v.push_back(e);
    return v;
}

TEST_F(DxfRoundTripTest, GeometryComesBackByKindAndFlavour) {
    AddLine(doc, 1.25, -2.5, 100.125, 33.0);
    AddLine(doc, 0, 0, 1.0 / 3.0, 2.0 / 3.0);
    AddArc(doc, 50, 50, 10, 0, 360);
    AddArc(doc, -5, 7, 2.5, 10, 350);
    AddPolyline(0, {0, 0, 10, 0, 10, 10, 0, 10});
    AddPolyline(11, {300, 0, 340, 0, 340, 20, 300, 20}, 0, 90);
    AddPolyline(12, {400, 0, 440, 0, 440, 20, 400, 20}, 5);
    const double eps = 1e-7; // eight decimals are written
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        // the rounded box comes back as its four sides and four corner arcs
        std::vector<LineRecord*> lines = Elements(read->lineHead);
        std::vector<ArcRecord*> arcs = Elements(read->arcHead);
        std::vector<PolylineRecord*> polylines = Elements(read->polylineHead);
        ASSERT_EQ(lines.size(), 2u + 4u);
        ASSERT_EQ(arcs.size(), 2u + 4u);
        ASSERT_EQ(polylines.size(), 2u);
        EXPECT_NEAR(lines[0]->x1, 1.25, eps);
        EXPECT_NEAR(lines[0]->y1, -2.5, eps);
        EXPECT_NEAR(lines[0]->x2, 100.125, eps);
        EXPECT_NEAR(lines[0]->y2, 33.0, eps);
        EXPECT_NEAR(lines[1]->x2, 1.0 / 3.0, eps);
        EXPECT_NEAR(lines[1]->y2, 2.0 / 3.0, eps);
        EXPECT_NEAR(arcs[0]->radius, 10, eps);
        EXPECT_NEAR(arcs[0]->endAngle - arcs[0]->startAngle, 360, eps);
        EXPECT_NEAR(arcs[1]->cx, -5, eps);
        EXPECT_NEAR(arcs[1]->startAngle, 10, eps);
        EXPECT_NEAR(arcs[1]->endAngle, 350, eps);
        const Float64* p = reinterpret_cast<const Float64*>(*polylines[0]->points);
        ASSERT_EQ(polylines[0]->pointCount, 4);
        EXPECT_NEAR(p[4], 10, eps);
        EXPECT_NEAR(p[5], 10, eps);
        // the ellipse quarter as its vertices: from the end of the first axis to the end of the second
        ASSERT_EQ(polylines[1]->pointCount, 181);
        const Float64* q = reinterpret_cast<const Float64*>(*polylines[1]->points);
        EXPECT_NEAR(q[0], 340, eps);
        EXPECT_NEAR(q[1], 10, eps);
        EXPECT_NEAR(q[2 * 180], 320, eps);
        EXPECT_NEAR(q[2 * 180 + 1], 20, eps);
        DisposeDocumentRecords(read);
    }
}

std::string Name(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

TEST_F(DxfRoundTripTest, LayersAndLineTypesComeBackByFlavour) {
    SetLayerName(5, "WALLS");
    SetLayerName(9, "AXES");
    doc->layerColors->colors[5] = RGBColor{65535, 0, 0};
    doc->layerColors->colors[9] = RGBColor{0, 0, 65535};
    // One line per line style on alternating layers. Style 5 (dots) has no pattern of its own in
    // the classification of line-type descriptions and comes back as the dotted style 6.
    const SInt16 expectedStyle[6] = {1, 2, 3, 4, 6, 6};
    for (SInt16 style = 1; style <= 6; ++style) {
        LineRecord* l = AddLine(doc, 0, style, 10, style);
        l->layer = style % 2 ? 5 : 9;
        l->lineType = style;
    }
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        std::vector<LineRecord*> lines = Elements(read->lineHead);
        ASSERT_EQ(lines.size(), 6u);
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i]->lineType, expectedStyle[i]) << i;
            std::string layer = Name(read->layerNames->names[lines[i]->layer]);
            EXPECT_EQ(layer, i % 2 ? "AXES" : "WALLS") << i;
            const RGBColor& c = read->layerColors->colors[lines[i]->layer];
            EXPECT_EQ(c.red, i % 2 ? 0 : 65535) << i;
            EXPECT_EQ(c.blue, i % 2 ? 65535 : 0) << i;
        }
        DisposeDocumentRecords(read);
    }
}

// A text of five scripts and a dimension text come back unchanged from every flavour, whatever code
// page the preferences give: what the code page lacks goes out as "\U+XXXX", and the header names the
// code page of the bytes written.
TEST_F(DxfRoundTripTest, TextsOfEveryScriptComeBackFromEveryFlavour) {
    const std::string text = "Grüße Łódź Ωμέγα Привет 中文 ±0.5 100% \xF0\x9F\x98\x80";
    AddText(text, 6, 10, 20);
    for (UInt32 codePage : {UInt32(6), UInt32(11), UInt32(14), UInt32(13)}) {
        GeneralPrefs.codePage = codePage;
        for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
            SCOPED_TRACE(std::to_string(codePage) + " " + std::to_string(flavour));
            WrittenPairs p = ParseDxfPairs(ExportRaw(flavour, "trip.dxf"));
            size_t declared = p.Find("9", "$DWGCODEPAGE");
            EXPECT_EQ(declared != WrittenPairs::npos, flavour == 1);
            for (const DxfPair& pair : p)
                if (flavour != 1)
                    for (char c : pair.second)
                        ASSERT_LT(UInt8(c), 0x80) << "no code page named, so ASCII only: " << pair.second;
            DocWindowRecord* read = ReadBack(flavour);
            ASSERT_NE(read, nullptr);
            std::vector<TextRecord*> texts = Elements(read->textHead);
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(Name(texts[0]->text), text);
            DisposeDocumentRecords(read);
        }
    }
}

// Elements come back in the colour they show: exactly from the flavours that carry true colours,
// as the nearest colour number's colour from the others; black stays black everywhere.
TEST_F(DxfRoundTripTest, ColoursComeBackFromEveryFlavour) {
    doc->settings->colorByPen = true;
    const RGBColor colours[] = {
        {0, 0, 0}, {0x8080, 0x8080, 0x8080}, {0x1212, 0x3434, 0x5656}, {0xFFFF, 0, 0}};
    for (size_t i = 0; i < std::size(colours); ++i) {
        LineRecord* l = AddLine(doc, 0, Float64(i), 10, Float64(i));
        l->pen = SInt16(i + 1), l->penBlock.color = colours[i];
    }
    RGBColor palette[256] = {};
    ASSERT_TRUE(LoadACIPalette(palette));
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        std::vector<LineRecord*> lines = Elements(read->lineHead);
        ASSERT_EQ(lines.size(), std::size(colours));
        for (LineRecord* l : lines) {
            size_t i = size_t(std::lround(l->y1));
            ASSERT_LT(i, std::size(colours));
            RGBColor want = flavour >= 2 ? colours[i] : palette[RGBToACI(palette, colours[i])];
            if (i == 0) EXPECT_EQ(want.red | want.green | want.blue, 0); // black is a number of its own
            RGBColor got = l->penBlock.color;
            EXPECT_EQ(got.red >> 8, want.red >> 8) << i;
            EXPECT_EQ(got.green >> 8, want.green >> 8) << i;
            EXPECT_EQ(got.blue >> 8, want.blue >> 8) << i;
        }
        DisposeDocumentRecords(read);
    }
}

TEST_F(DxfRoundTripTest, TextsInsertsAndDimensionsComeBackByFlavour) {
    AddText("Plain", 6, 10, 20);
    TextRecord* centred = AddText("Centred", 4, 10, 40);
    AddText("gr\xC3\xBC\xC3\x9F", 8, 30, 60);
    SymbolDefRecord* bolt = AddDefinition("BOLT");
    LineRecord* l = nullptr;
    ASSERT_TRUE(NewDefaultLine(doc, &l));
    l->x1 = 0, l->y1 = 0, l->x2 = 5, l->y2 = 5;
    bolt->lineHead->next = l;
    bolt->maxX = bolt->maxY = 5;
    CreateSymbolInstance(doc, 200, 100, 30, 2, 3, bolt);
    CreateSymbolInstance(doc, -20, 10, 0, 1, 1, bolt);
    ASSERT_EQ(BuildEveryDimensionKind(), 7);
    std::vector<DimensionRecord*> written = Elements(doc->dimensionHead);
    std::vector<std::pair<SInt16, double>> expected;
    for (DimensionRecord* d : written)
        expected.push_back({d->kind, MeasureDimension(doc, d)});
    std::sort(expected.begin(), expected.end());
    const double eps = 1e-6;
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        std::vector<TextRecord*> texts = Elements(read->textHead);
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(Name(texts[0]->text), "Plain");
        EXPECT_EQ(Name(texts[1]->text), "Centred");
        EXPECT_EQ(Name(texts[2]->text), "gr\xC3\xBC\xC3\x9F");
        for (TextRecord* t : texts)
            EXPECT_NEAR(t->textHeight, 3.5, eps);
        // The bottom-left text keeps its box in every flavour; the others keep their alignment where
        // the vertical alignment is written (flavour 1).
        EXPECT_NEAR(texts[0]->corners[0], doc->textHead->next->corners[0], eps);
        EXPECT_NEAR(texts[0]->corners[1], doc->textHead->next->corners[1], eps);
        if (flavour == 1) {
            EXPECT_EQ(texts[1]->justification, 4);
            for (int k = 0; k < 8; ++k)
                EXPECT_NEAR(texts[1]->corners[k], centred->corners[k], 1e-4) << k;
        }
        EXPECT_EQ(texts[2]->justification, 8);

        std::vector<SymbolInstanceRecord*> placed = Elements(read->instanceHead);
        ASSERT_EQ(placed.size(), 2u);
        EXPECT_NEAR(placed[0]->x, 200, eps);
        EXPECT_NEAR(placed[0]->y, 100, eps);
        EXPECT_NEAR(placed[0]->angle, 30, eps);
        EXPECT_NEAR(placed[0]->xScale, 2, eps);
        EXPECT_NEAR(placed[0]->yScale, 3, eps);
        EXPECT_NEAR(placed[1]->x, -20, eps);
        ASSERT_NE(placed[0]->definition, nullptr);
        EXPECT_EQ(placed[0]->definition, placed[1]->definition);
        std::vector<LineRecord*> own = Elements(placed[0]->definition->lineHead);
        ASSERT_EQ(own.size(), 1u);
        EXPECT_NEAR(own[0]->x2, 5, eps);
        EXPECT_NEAR(own[0]->y2, 5, eps);

        std::vector<std::pair<SInt16, double>> got;
        for (DimensionRecord* d : Elements(read->dimensionHead))
            got.push_back({d->kind, MeasureDimension(read, d)});
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].first, expected[i].first) << i;
            EXPECT_NEAR(got[i].second, expected[i].second, 1e-4) << i;
        }
        // The dimensions' own blocks are not left behind as symbols.
        for (SymbolDefRecord* d = read->symbolDefHead->next; d; d = d->next)
            EXPECT_NE(Name(d->name).rfind("*D", 0), 0u) << Name(d->name);
        DisposeDocumentRecords(read);
    }
}

} // namespace
