// DXF texts, inserts and dimensions: alignment and anchors, attributes, MTEXT's box width, radians
// and long chunks; inserts with nested blocks under a depth bound and a budget; dimensions of every
// type, their "<>" prefix and suffix, the dimension switch, and dimension blocks in block definitions.
#include "DxfReaderTestSupport.h"
#include "GuiHarness.h"

#include "Exchange/DxfReaderContext.h"
#include "Files/Preferences.h"
#include "Model/Dimensions.h"
#include "Model/Symbols.h"
#include "TestSupport.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {

DxfCodePairs operator+(DxfCodePairs a, const DxfCodePairs& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

DxfCodePairs Section(const char* name, const DxfCodePairs& body) {
    return DxfCodePairs{{0, "SECTION"}, {2, name}} + body + DxfCodePairs{{0, "ENDSEC"}};
}

std::string File(std::initializer_list<DxfCodePairs> sections) {
    DxfCodePairs all;
    for (const DxfCodePairs& s : sections)
        all = all + s;
    return DxfText(all + DxfCodePairs{{0, "EOF"}});
}

DxfCodePairs Block(const std::string& name, const DxfCodePairs& body, double bx = 0, double by = 0) {
    return DxfCodePairs{{0, "BLOCK"}, {2, name}, {10, std::to_string(bx)}, {20, std::to_string(by)}} + body +
           DxfCodePairs{{0, "ENDBLK"}};
}

DxfCodePairs Insert(const std::string& name, double x, double y, double angle = 0, double sx = 0,
                    double sy = 0) {
    DxfCodePairs p = {{0, "INSERT"}, {2, name}, {10, std::to_string(x)}, {20, std::to_string(y)}};
    if (angle != 0) p.push_back({50, std::to_string(angle)});
    if (sx != 0) p.push_back({41, std::to_string(sx)});
    if (sy != 0) p.push_back({42, std::to_string(sy)});
    return p;
}

const DxfCodePairs kShortLine = {{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}};

std::string Name(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

class DxfTextsInsertsTest : public DxfReaderTest {
  protected:
    void TearDown() override {
        SetDefaultGeneralPrefs();
        DxfReaderTest::TearDown();
    }
};

} // namespace

TEST_F(DxfTextsInsertsTest, TextsTakeTheirStringAnchorAndAlignment) {
    const struct {
        DxfCodePairs pairs;
        const char* text; // null: no text made
        SInt16 justification;
        double x, y;
    } cases[] = {
        {{{0, "TEXT"}, {10, "1"}, {20, "2"}, {40, "2.5"}, {1, "  A  "}}, "  A", 6, 1, 2},
        // an alignment with its point: centred on the baseline at the point
        {{{0, "TEXT"}, {10, "1"}, {20, "2"}, {40, "2.5"}, {72, "1"}, {11, "5"}, {21, "6"}, {1, "B"}},
         "B",
         7,
         5,
         6},
        {{{0, "TEXT"}, {10, "1"}, {20, "2"}, {72, "2"}, {73, "3"}, {11, "5"}, {21, "6"}, {1, "C"}},
         "C",
         2,
         5,
         6},
        // "aligned" between the two points: from the first, left on the baseline
        {{{0, "TEXT"}, {10, "0"}, {20, "0"}, {72, "3"}, {11, "10"}, {21, "0"}, {1, "D"}}, "D", 6, 0, 0},
        {{{0, "ATTDEF"}, {10, "0"}, {20, "0"}, {70, "1"}, {1, "hidden"}, {3, "prompt"}}, nullptr, 0, 0, 0},
        {{{0, "ATTDEF"}, {10, "0"}, {20, "0"}, {70, "2"}, {1, "value"}, {3, "constant"}},
         "constant",
         6,
         0,
         0},
        {{{0, "ATTRIB"}, {10, "0"}, {20, "0"}, {70, "0"}, {1, "value"}, {3, "prompt"}}, "value", 6, 0, 0},
        {{{0, "TEXT"}, {10, "0"}, {20, "0"}, {1, "%%c50 100%%%"}}, "Ø50 100%", 6, 0, 0},
        {{{0, "TEXT"}, {10, "0"}, {20, "0"}, {1, "   "}}, nullptr, 0, 0, 0},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(i++);
        ASSERT_TRUE(Import(DxfEntities(c.pairs)));
        std::vector<TextRecord*> texts = ListOf(doc->textHead);
        if (!c.text) {
            EXPECT_TRUE(texts.empty());
        } else {
            ASSERT_EQ(texts.size(), 1u);
            EXPECT_EQ(Name(texts[0]->text), c.text);
            EXPECT_EQ(texts[0]->justification, c.justification);
            EXPECT_NEAR(texts[0]->x, c.x, 1e-9);
            EXPECT_NEAR(texts[0]->y, c.y, 1e-9);
        }
        DisposeDocumentRecords(doc);
    }
}

// Texts measured with the application's fonts.
class DxfMeasuredTextsTest : public DxfTextsInsertsTest {
  protected:
    void SetUp() override {
        GuiTestSetUp();
        DxfTextsInsertsTest::SetUp();
    }
    void TearDown() override {
        DxfTextsInsertsTest::TearDown();
        GuiTestTearDown();
    }
};

// Aligned (72 = 3) and fit (72 = 5) texts fill the span between their two points, along it.
TEST_F(DxfMeasuredTextsTest, AlignedAndFitTextsFillTheirSpan) {
    for (const char* h : {"3", "5"}) {
        SCOPED_TRACE(h);
        ASSERT_TRUE(Import(DxfEntities({{0, "TEXT"},
                                        {10, "10"},
                                        {20, "20"},
                                        {40, "2.5"},
                                        {72, h},
                                        {11, "34"},
                                        {21, "38"},
                                        {1, "OBLIQUE 15"}})));
        std::vector<TextRecord*> texts = ListOf(doc->textHead);
        ASSERT_EQ(texts.size(), 1u);
        const Float64* c = texts[0]->corners;
        EXPECT_NEAR(c[0], 10, 1e-9);
        EXPECT_NEAR(c[1], 20, 1e-9);
        EXPECT_NEAR(c[2], 34, 1e-9);
        EXPECT_NEAR(c[3], 38, 1e-9);
        EXPECT_NEAR(texts[0]->angle, std::atan2(18.0, 24.0) * 180 / M_PI, 1e-9);
        DisposeDocumentRecords(doc);
    }
}

TEST_F(DxfTextsInsertsTest, MTextTakesItsAttachmentRadiansAndEveryChunk) {
    std::string a(250, 'a'), b(250, 'b'), c(250, 'z');
    ASSERT_TRUE(Import(DxfEntities({{0, "MTEXT"},
                                    {10, "5"},
                                    {20, "6"},
                                    {40, "2"},
                                    {41, "80"}, // the box width: the letters keep their shape
                                    {71, "5"},
                                    {50, "1.5707963267948966"},
                                    {3, a},
                                    {3, b},
                                    {3, c},
                                    {1, "END\\Psecond"}})));
    std::vector<TextRecord*> texts = ListOf(doc->textHead);
    ASSERT_GE(texts.size(), 2u);
    std::string all;
    for (TextRecord* t : texts) {
        EXPECT_NEAR(t->angle, 90, 1e-9);
        EXPECT_EQ(t->justification, 4);
        EXPECT_DOUBLE_EQ(t->textHeight, 2);
        EXPECT_LE(t->text[0], 255);
        all += Name(t->text);
    }
    EXPECT_EQ(std::count(all.begin(), all.end(), 'a'), 250);
    EXPECT_EQ(std::count(all.begin(), all.end(), 'z'), 250);
    EXPECT_NE(all.find("END"), std::string::npos);
    EXPECT_NE(all.find("second"), std::string::npos);
    EXPECT_NEAR(texts[0]->x, 5, 1e-9);
    EXPECT_NEAR(texts[0]->y, 6, 1e-9);
}

TEST_F(DxfTextsInsertsTest, InsertsPlaceTheirBlockAndItsNestedInserts) {
    DxfCodePairs blocks = Block("INNER", kShortLine) + Block("EMPTY", Insert("INNER", 5, 0, 0, 2)) +
                          Block("OUTER", kShortLine + Insert("INNER", 10, 0, 30), 1, 0);
    DxfCodePairs entities = Insert("INNER", 100, 50, 90, 2, 3) + Insert("EMPTY", 0, 0, 90) +
                            Insert("OUTER", 0, 0, 0, 2) + Insert("MISSING", 0, 0);
    ASSERT_TRUE(Import(File({Section("BLOCKS", blocks), Section("ENTITIES", entities)})));
    std::vector<SymbolInstanceRecord*> placed = ListOf(doc->instanceHead);
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_DOUBLE_EQ(placed[0]->x, 100);
    EXPECT_DOUBLE_EQ(placed[0]->y, 50);
    EXPECT_DOUBLE_EQ(placed[0]->angle, 90);
    EXPECT_DOUBLE_EQ(placed[0]->xScale, 2);
    EXPECT_DOUBLE_EQ(placed[0]->yScale, 3);
    // a block without elements of its own still places its nested inserts, turned with it
    EXPECT_EQ(Name(placed[1]->definition->name), "INNER");
    EXPECT_NEAR(placed[1]->x, 0, 1e-9);
    EXPECT_NEAR(placed[1]->y, 5, 1e-9);
    EXPECT_DOUBLE_EQ(placed[1]->angle, 90);
    EXPECT_DOUBLE_EQ(placed[1]->xScale, 2);
    EXPECT_EQ(Name(placed[2]->definition->name), "OUTER");
    // the nested offset is from OUTER's base point (1, 0) and scaled with the insert
    EXPECT_EQ(Name(placed[3]->definition->name), "INNER");
    EXPECT_NEAR(placed[3]->x, 18, 1e-9);
    EXPECT_DOUBLE_EQ(placed[3]->angle, 30);
    EXPECT_DOUBLE_EQ(placed[3]->xScale, 2);
}

TEST_F(DxfTextsInsertsTest, SelfNestingBlocksStopAtTheDepthBoundAndTheBudget) {
    ASSERT_TRUE(Import(File({Section("BLOCKS", Block("SELF", kShortLine + Insert("SELF", 1, 0))),
                             Section("ENTITIES", Insert("SELF", 0, 0))})));
    EXPECT_EQ(ListOf(doc->instanceHead).size(), 50u);
    DisposeDocumentRecords(doc);
    // Two inserts of itself per level would double at every one of the 50 levels.
    ASSERT_TRUE(Import(
        File({Section("BLOCKS", Block("TWICE", kShortLine + Insert("TWICE", 1, 0) + Insert("TWICE", 0, 1))),
              Section("ENTITIES", Insert("TWICE", 0, 0))})));
    EXPECT_EQ(ListOf(doc->instanceHead).size(), 20000u);
    EXPECT_NE(Log().find("INSERT of TWICE stopped"), std::string::npos);
}

TEST_F(DxfTextsInsertsTest, DimensionsOfEveryTypeBecomeTheirKind) {
    auto dim = [](int type, const DxfCodePairs& points, const char* angle = "0") {
        return DxfCodePairs{{0, "DIMENSION"}, {2, "*D1"}, {70, std::to_string(type)}, {50, angle}} + points;
    };
    const struct {
        DxfCodePairs pairs;
        SInt16 kind; // -1: none made
    } cases[] = {
        {dim(0, {{10, "20"}, {20, "0"}, {11, "10"}, {21, "0"}, {13, "0"}, {23, "0"}, {14, "0"}, {24, "10"}}),
         kDimVertical},
        {dim(0, {{10, "0"}, {20, "-5"}, {11, "5"}, {21, "-5"}, {13, "0"}, {23, "0"}, {14, "10"}, {24, "3"}}),
         kDimHorizontal},
        {dim(0, {{10, "0"}, {20, "5"}, {11, "5"}, {21, "5"}, {13, "0"}, {23, "0"}, {14, "0"}, {24, "10"}},
             "30"),
         kDimAligned},
        {dim(1, {{10, "0"}, {20, "5"}, {11, "5"}, {21, "5"}, {13, "10"}, {23, "0"}, {14, "0"}, {24, "0"}}),
         kDimAligned},
        {dim(2, {{10, "10"},
                 {20, "10"},
                 {11, "8"},
                 {21, "3"},
                 {13, "0"},
                 {23, "0"},
                 {14, "10"},
                 {24, "0"},
                 {15, "0"},
                 {25, "0"}}),
         kDimAngle},
        {dim(3, {{10, "-10"}, {20, "0"}, {11, "20"}, {21, "5"}, {15, "10"}, {25, "0"}}), kDimDiameter},
        {dim(4, {{10, "0"}, {20, "0"}, {11, "5"}, {21, "0"}, {15, "10"}, {25, "0"}}), kDimRadius},
        {dim(5, {{10, "5"},
                 {20, "5"},
                 {11, "6"},
                 {21, "2"},
                 {13, "10"},
                 {23, "0"},
                 {14, "10"},
                 {24, "10"},
                 {15, "0"},
                 {25, "0"}}),
         kDimAngle},
        {dim(6, {{10, "0"}, {20, "0"}, {11, "5"}, {21, "5"}, {13, "5"}, {23, "7"}, {14, "5"}, {24, "9"}}),
         kDimPointLine},
        // the points coincide: nothing made, nothing taken
        {dim(0, {{10, "0"}, {20, "0"}, {11, "0"}, {21, "0"}, {13, "3"}, {23, "3"}, {14, "3"}, {24, "3"}}),
         -1},
        {dim(7, {{13, "0"}, {23, "0"}, {14, "10"}, {24, "0"}}), -1},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(i++);
        ASSERT_TRUE(Import(DxfEntities(c.pairs)));
        std::vector<DimensionRecord*> dims = ListOf(doc->dimensionHead);
        if (c.kind < 0) {
            EXPECT_TRUE(dims.empty());
        } else {
            ASSERT_EQ(dims.size(), 1u);
            EXPECT_EQ(dims[0]->kind, c.kind);
        }
        DisposeDocumentRecords(doc);
    }
}

TEST_F(DxfTextsInsertsTest, DimensionTextAroundTheValueIsPrefixAndSuffixForThatDimensionOnly) {
    ASSERT_TRUE(Import(DxfEntities({{0, "DIMENSION"},
                                    {70, "0"},
                                    {10, "0"},
                                    {20, "5"},
                                    {11, "5"},
                                    {21, "5"},
                                    {13, "0"},
                                    {23, "0"},
                                    {14, "40"},
                                    {24, "0"},
                                    {1, "%%c<> mm"}})));
    std::vector<DimensionRecord*> dims = ListOf(doc->dimensionHead);
    ASSERT_EQ(dims.size(), 1u);
    std::string text = Name(dims[0]->text);
    EXPECT_EQ(text.rfind(" mm"), text.size() - 3) << text;
    EXPECT_NE(text.find("40"), std::string::npos) << text;
    EXPECT_EQ(doc->settings->dimSuffix[0], 0);
}

TEST_F(DxfTextsInsertsTest, DimensionBlocksAreInsertedOrRemovedByTheDimensionSwitch) {
    DxfCodePairs blocks = Block("*D5", kShortLine);
    DxfCodePairs entities = {{0, "DIMENSION"}, {2, "*D5"}, {70, "1"}, {10, "0"},  {20, "5"}, {11, "5"},
                             {21, "5"},        {13, "0"},  {23, "0"}, {14, "40"}, {24, "0"}};
    std::string text = File({Section("BLOCKS", blocks), Section("ENTITIES", entities)});
    // natively: the dimension, and its block is gone
    ASSERT_TRUE(Import(text));
    EXPECT_EQ(ListOf(doc->dimensionHead).size(), 1u);
    EXPECT_EQ(FindSymbolDefinition(doc, PStr("*D5")), nullptr);
    DisposeDocumentRecords(doc);
    // as the block: an instance at the origin
    GeneralPrefs.importDimensions = 0;
    ASSERT_TRUE(Import(text));
    EXPECT_TRUE(ListOf(doc->dimensionHead).empty());
    std::vector<SymbolInstanceRecord*> placed = ListOf(doc->instanceHead);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(Name(placed[0]->definition->name), "*D5");
    EXPECT_DOUBLE_EQ(placed[0]->x, 0);
}

TEST_F(DxfTextsInsertsTest, OnlyTheDimensionMadeInABlockMovesIntoIt) {
    DxfCodePairs entities = {{0, "DIMENSION"}, {70, "1"}, {10, "0"}, {20, "5"},  {11, "5"},
                             {21, "5"},        {13, "0"}, {23, "0"}, {14, "40"}, {24, "0"}};
    DxfCodePairs inBlock = {{0, "DIMENSION"}, {70, "1"},  {13, "3"},  {23, "3"},  {14, "3"},  {24, "3"},
                            {0, "DIMENSION"}, {70, "1"},  {10, "10"}, {20, "15"}, {11, "15"}, {21, "15"},
                            {13, "10"},       {23, "10"}, {14, "50"}, {24, "10"}};
    ASSERT_TRUE(Import(File({Section("ENTITIES", entities), Section("BLOCKS", Block("DIMS", inBlock, 10, 10)),
                             Section("ENTITIES", Insert("DIMS", 0, 0))})));
    std::vector<DimensionRecord*> dims = ListOf(doc->dimensionHead);
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_DOUBLE_EQ(dims[0]->x2, 40);
    SymbolDefRecord* def = FindSymbolDefinition(doc, PStr("DIMS"));
    ASSERT_NE(def, nullptr);
    std::vector<DimensionRecord*> own = ListOf(def->dimensionHead);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_DOUBLE_EQ(own[0]->x1, 0);
    EXPECT_DOUBLE_EQ(own[0]->x2, 40);
    EXPECT_EQ(ListOf(doc->instanceHead).size(), 1u);
}
