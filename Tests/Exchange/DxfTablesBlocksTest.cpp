// The DXF sections before the entities: header variables, line types and layers giving elements
// their attributes, blocks as symbol definitions with their unique names and boxes, unused
// dimension blocks removed.
#include "DxfReaderTestSupport.h"

#include "Exchange/DxfReaderContext.h"
#include "Files/Preferences.h"
#include "Model/ElementLists.h"
#include "Model/Symbols.h"
#include "Platform/MacRoman.h"
#include "TestSupport.h"

#include <cmath>
#include <cstring>
#include <algorithm>
#include <initializer_list>

namespace {

DxfCodePairs Section(const char* name, const DxfCodePairs& body) {
    DxfCodePairs all = {{0, "SECTION"}, {2, name}};
    all.insert(all.end(), body.begin(), body.end());
    all.push_back({0, "ENDSEC"});
    return all;
}

std::string File(std::initializer_list<DxfCodePairs> sections) {
    DxfCodePairs all;
    for (const DxfCodePairs& s : sections)
        all.insert(all.end(), s.begin(), s.end());
    all.push_back({0, "EOF"});
    return DxfText(all);
}

DxfCodePairs Table(const char* name, const DxfCodePairs& entries) {
    DxfCodePairs all = {{0, "TABLE"}, {2, name}, {70, "1"}};
    all.insert(all.end(), entries.begin(), entries.end());
    all.push_back({0, "ENDTAB"});
    return all;
}

DxfCodePairs Line(double x1, double y1, double x2, double y2, const char* layer = "0") {
    return {{0, "LINE"},
            {8, layer},
            {10, std::to_string(x1)},
            {20, std::to_string(y1)},
            {11, std::to_string(x2)},
            {21, std::to_string(y2)}};
}

DxfCodePairs operator+(DxfCodePairs a, const DxfCodePairs& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string Name(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

} // namespace

TEST_F(DxfReaderTest, HeaderVariablesSetTheDrawingAndGoToTheLog) {
    std::string text =
        File({Section("HEADER", {{9, "$ACADVER"},
                                 {1, "AC1009"},
                                 {9, "$TEXTSIZE"},
                                 {40, "2.5"},
                                 {9, "$DIMASZ"},
                                 {40, "2"},
                                 {9, "$DIMSCALE"},
                                 {40, "0"},
                                 {9, "$DIMTXT"},
                                 {40, "2.5"},
                                 {9, "$DIMSCALE"},
                                 {40, "10"},
                                 {9, "$DIMTXT"},
                                 {40, "3"},
                                 {9, "$DWGCODEPAGE"},
                                 {3, "iso8859-1"}}),
              Section("ENTITIES", {{0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "2"}, {1, "gr\xFC\xDF"}})});
    ASSERT_TRUE(Import(text));
    EXPECT_DOUBLE_EQ(doc->settings->textHeight, 2.5);
    EXPECT_DOUBLE_EQ(doc->settings->dimTerminatorSize, 2.0);
    // $DIMSCALE 0 counts as 1; the later 10 scales the second $DIMTXT
    EXPECT_DOUBLE_EQ(doc->settings->textSizes[6], 30.0);
    EXPECT_NE(Log().find("$TEXTSIZE : 2.5"), std::string::npos);
    EXPECT_NE(Log().find("$DWGCODEPAGE : iso8859-1"), std::string::npos);
    ASSERT_NE(doc->textHead->next, nullptr);
    EXPECT_EQ(Name(doc->textHead->next->text), "gr\xC3\xBC\xC3\x9F"); // the ISO page's ü and ß
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DxfReaderTest, LineTypesAreClassifiedByTheirPattern) {
    const struct {
        const char* description;
        SInt16 style;
    } cases[] = {{"", 1},
                 {"Solid line", 1},
                 {"Dashed __ __ __", 2},
                 {"Center ____ _ ____ _", 3},
                 {"Dot . . . .", 6},
                 {"Dash dot __ . __ .", 3},
                 {"Divide __ . . __ . .", 4}};
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyDXFLineType(c.description), c.style) << c.description;
}

TEST_F(DxfReaderTest, LayersGiveElementsTheirLayerPenStyleAndColour) {
    DxfCodePairs tables =
        Table(
            "LTYPE",
            {{0, "LTYPE"}, {2, "DASHED"}, {3, "Dashed __ __ __"}, {0, "LTYPE"}, {2, "DOT"}, {3, ". . . ."}}) +
        Table("LAYER", {{0, "LAYER"},
                        {2, "0"},
                        {62, "7"},
                        {6, "CONTINUOUS"},
                        {0, "LAYER"},
                        {2, "WALLS"},
                        {62, "1"},
                        {6, "DASHED"},
                        {0, "LAYER"},
                        {2, "HIDDEN"},
                        {62, "-3"},
                        {6, "CONTINUOUS"}});
    DxfCodePairs entities =
        Line(0, 0, 1, 1, "WALLS") + Line(0, 0, 2, 2, "HIDDEN") +
        DxfCodePairs{{0, "LINE"}, {6, "DOT"}, {8, "WALLS"}, {10, "0"}, {20, "0"}, {11, "3"}, {21, "3"}};
    ASSERT_TRUE(Import(File({Section("TABLES", Table("STYLE", {{0, "STYLE"}, {2, "STANDARD"}}) + tables),
                             Section("ENTITIES", entities)})));
    EXPECT_EQ(Name(doc->layerNames->names[1]), "WALLS");
    EXPECT_EQ(Name(doc->layerNames->names[2]), "HIDDEN");
    EXPECT_EQ(doc->layerColors->colors[1].red, 65535);
    EXPECT_EQ(doc->layerColors->colors[1].green, 0);
    // a layer that is off (negative colour) keeps its pen and is black
    EXPECT_EQ(doc->layerColors->colors[2].red, 0);
    std::vector<LineRecord*> lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->layer, 1);
    EXPECT_EQ(lines[0]->pen, 1);
    EXPECT_EQ(lines[0]->lineType, 2);
    EXPECT_EQ(lines[1]->layer, 2);
    EXPECT_EQ(lines[1]->pen, 3);
    EXPECT_EQ(lines[1]->lineType, 1);
    // the entity's own line type wins over its layer's
    EXPECT_EQ(lines[2]->layer, 1);
    EXPECT_EQ(lines[2]->lineType, 6);
}

TEST_F(DxfReaderTest, LayersBeyondTheDrawingsShareItsLastLayerAndAreLogged) {
    DxfCodePairs layers;
    for (int i = 0; i < 1030; ++i)
        layers = layers + DxfCodePairs{{0, "LAYER"}, {2, "L" + std::to_string(i)}, {62, "3"}};
    ASSERT_TRUE(Import(File({Section("TABLES", Table("LAYER", layers)),
                             Section("ENTITIES", Line(0, 0, 1, 1, "L1023") + Line(0, 0, 1, 1, "L1029"))})));
    std::vector<LineRecord*> lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->layer, 1023);
    EXPECT_EQ(lines[1]->layer, 1023);
    EXPECT_EQ(Name(doc->layerNames->names[1023]), "L1023");
    EXPECT_NE(Log().find("layer L1029 beyond 1024"), std::string::npos);
}

TEST_F(DxfReaderTest, BlocksBecomeDefinitionsAboutTheirBasePointWithOnlyTheirOwnElements) {
    // The entities come first: what they made stays in the drawing.
    DxfCodePairs entities =
        Line(1, 2, 3, 4) + DxfCodePairs{{0, "LWPOLYLINE"}, {90, "3"}, {10, "0"}, {20, "0"},
                                        {10, "5"},         {20, "0"}, {10, "5"}, {20, "5"}};
    DxfCodePairs block = {{0, "BLOCK"}, {8, "0"}, {2, "ABC"}, {70, "0"}, {10, "10"}, {20, "10"}};
    block = block + Line(10, 10, 20, 10) +
            DxfCodePairs{{0, "ARC"},  {10, "10"}, {20, "10"}, {40, "5"},  {50, "30"},   {51, "120"},
                         {0, "TEXT"}, {10, "12"}, {20, "11"}, {40, "2"},  {1, "label"}, {0, "LWPOLYLINE"},
                         {90, "2"},   {10, "10"}, {20, "0"},  {10, "10"}, {20, "-2"}} +
            // a solid hatch bounded by a polyline
            DxfCodePairs{{0, "HATCH"}, {8, "0"},   {2, "SOLID"}, {70, "1"},  {71, "0"},  {91, "1"},
                         {92, "3"},    {72, "0"},  {73, "1"},    {93, "3"},  {10, "10"}, {20, "10"},
                         {10, "14"},   {20, "10"}, {10, "12"},   {20, "13"}, {97, "0"},  {75, "0"},
                         {76, "1"},    {98, "0"},  {0, "ENDBLK"}} +
            DxfCodePairs{{0, "BLOCK"}, {2, "ABC"}, {10, "0"}, {20, "0"}} + Line(0, 0, 1, 0) +
            DxfCodePairs{{0, "ENDBLK"}};
    ASSERT_TRUE(Import(File({Section("ENTITIES", entities), Section("BLOCKS", block)})));
    EXPECT_EQ(ListOf(doc->lineHead).size(), 3u);
    EXPECT_TRUE(ListOf(doc->textHead).empty());
    EXPECT_TRUE(ListOf(doc->arcHead).empty());
    EXPECT_TRUE(ListOf(doc->areaHead).empty());
    SymbolDefRecord* abc = FindSymbolDefinition(doc, PStr("ABC"));
    SymbolDefRecord* a1 = FindSymbolDefinition(doc, PStr("A1"));
    ASSERT_NE(abc, nullptr);
    ASSERT_NE(a1, nullptr);
    std::vector<LineRecord*> lines = ListOf(abc->lineHead);
    ASSERT_EQ(lines.size(), 2u); // the block's line and its polyline's segment
    ASSERT_EQ(ListOf(abc->arcHead).size(), 1u);
    ASSERT_EQ(ListOf(abc->textHead).size(), 1u);
    EXPECT_DOUBLE_EQ(abc->arcHead->next->cx, 0);
    EXPECT_NEAR(abc->textHead->next->x, 2, 1e-9);
    ASSERT_EQ(ListOf(abc->areaHead).size(), 1u);
    EXPECT_NEAR(abc->areaHead->next->minX, 0, 1e-9);
    EXPECT_NEAR(abc->areaHead->next->maxX, 4, 1e-9);
    EXPECT_NEAR(abc->areaHead->next->maxY, 3, 1e-9);
    // the box: the arc's top at 90 degrees, the polyline's low end, the line's far end
    EXPECT_NEAR(abc->maxY, 5, 1e-9);
    EXPECT_NEAR(abc->minY, -12, 1e-9);
    EXPECT_NEAR(abc->maxX, 10, 1e-9);
    EXPECT_EQ(ListOf(a1->lineHead).size(), 1u);
}

TEST_F(DxfReaderTest, UniqueSymbolNamesStayWithinNineteenCharactersAndNeverEmpty) {
    ASSERT_TRUE(Import(DxfEntities({})));
    const struct {
        std::string name;
        std::vector<std::string> expected;
    } cases[] = {
        {"ABCDEF", {"ABCDEF", "ABCD1", "ABCD2"}},
        {"A", {"A", "1", "2"}},
        {"ABCDEFGHIJKLMNOPQRSTUVW", {"ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQ1", "ABCDEFGHIJKLMNOPQ2"}}};
    for (const auto& c : cases) {
        for (const std::string& expected : c.expected) {
            Str255 unique;
            MakeUniqueSymbolName(doc, PStr(c.name), unique);
            EXPECT_EQ(Name(unique), expected) << c.name;
            SymbolDefRecord* def = nullptr;
            ASSERT_TRUE(NewSymbolDefElement(&def));
            std::memcpy(def->name, unique, size_t(unique[0]) + 1);
            def->next = doc->symbolDefHead->next;
            doc->symbolDefHead->next = def;
        }
    }
    // Twelve more of a full-length name: every one unique, none longer than 19.
    std::vector<std::string> seen;
    for (int i = 0; i < 12; ++i) {
        Str255 unique;
        MakeUniqueSymbolName(doc, PStr("ABCDEFGHIJKLMNOPQRSTUVW"), unique);
        ASSERT_LE(unique[0], 19);
        ASSERT_GT(unique[0], 0);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), Name(unique)), 0);
        seen.push_back(Name(unique));
        SymbolDefRecord* def = nullptr;
        ASSERT_TRUE(NewSymbolDefElement(&def));
        std::memcpy(def->name, unique, size_t(unique[0]) + 1);
        def->next = doc->symbolDefHead->next;
        doc->symbolDefHead->next = def;
    }
}
