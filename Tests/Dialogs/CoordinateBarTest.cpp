// The coordinate bar's texts: Cartesian, polar, paper units, feet and inches, the relative origin and
// the zoom percentage.
#include "Dialogs/CoordinateBar.h"

#include "../Model/DocumentFixture.h"
#include "Platform/PascalBytes.h"
#include "Tools/ToolState.h"

#include <string>

namespace {

std::string Text(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

using CoordinateBarText = DocumentTest;

} // namespace

TEST_F(CoordinateBarText, ValuesFollowModeScaleUnitAndFeetAndInches) {
    struct Case {
        SInt16 mode, unitCode;
        Float64 scale, paperFactor;
        SInt16 feetInches;
        Float64 x, y;
        const char *first, *second;
    };
    const Case cases[] = {
        {0, 0, 1, 0, 0, 12.5, -3.25, "12.50", "-3.25"},
        {0, 0, 50, 0, 0, 100, 50, "2.00", "1.00"},
        {1, 0, 1, 0, 0, 0, 2, "2.00", "90.00"},
        {1, 0, 1, 0, 0, -3, -4, "5.00", "233.13"},
        {2, 0, 1, 10, 0, 1, 2, "10.00", "20.00"},
        {2, 0, 1, 0, 0, 1, 2, "1.00", "2.00"}, // a paper factor of 0 counts as 1
        {3, 0, 2, 4, 0, 0, -1, "2.00", "270.00"},
        {0, 8, 1, 0, 0, 25.4, 12.7, "1.00", "0.50"},
        {0, 8, 1, 0, 1, 330.2, 12.7, "1'-1\"", "1/2\""},
        {1, 8, 1, 0, 1, 0, 304.8, "1'", "90.00"}, // an angle stays a number
        {0, 0, 1, 0, 1, 1, 2, "1.00", "2.00"},    // feet and inches only for imperial units
    };
    for (const Case& c : cases) {
        DocSettings* s = doc->settings;
        s->coordinateDisplayMode = c.mode;
        s->unitCode = c.unitCode;
        s->drawingScale = c.scale;
        s->decimals = 2;
        s->reals978[kPaperUnitFactorSlot] = c.paperFactor;
        s->words1868[kCoordFeetInchesSlot] = c.feetInches;
        s->InchesOnly = 0;
        s->InchFractionBits = 6;
        Str255 first, second;
        CoordBarValueTexts(doc, c.x, c.y, first, second);
        EXPECT_EQ(Text(first), c.first) << c.mode << " " << c.x;
        EXPECT_EQ(Text(second), c.second) << c.mode << " " << c.y;
    }
}

TEST_F(CoordinateBarText, RelativeTypingMeasuresFromTheReferencePoint) {
    doc->settings->decimals = 1;
    doc->settings->unitCode = 0;
    doc->settings->drawingScale = 1;
    ToolStateRecord* t = doc->drawing->tool;
    ASSERT_NE(t, nullptr);
    t->referenceValid = true;
    t->referenceX = 10, t->referenceY = 10;
    Str255 first, second;
    doc->settings->typedCoordsRelative = 0;
    CoordBarValueTexts(doc, 15, 20, first, second);
    EXPECT_EQ(Text(first), "15.0");
    doc->settings->typedCoordsRelative = 1;
    CoordBarValueTexts(doc, 15, 20, first, second);
    EXPECT_EQ(Text(first), "5.0");
    EXPECT_EQ(Text(second), "10.0");
}

TEST_F(CoordinateBarText, ZoomPercentAndItsLimits) {
    struct Case {
        Float64 unitsPerPixel;
        const char* text;
    };
    const Case cases[] = {{25.4 / 72, "100.0%"},
                          {2 * 25.4 / 72, "50.0%"},
                          {25.4 / 72 / 4, "400.0%"},
                          {1e6, "+++"},
                          {1e-7, "---"}};
    for (const Case& c : cases) {
        doc->drawing->view.unitsPerPixel = c.unitsPerPixel;
        Str255 text;
        CoordBarZoomText(doc, text);
        EXPECT_EQ(Text(text), c.text) << c.unitsPerPixel;
    }
}

TEST_F(CoordinateBarText, LabelsOfTheCartesianAndPolarModes) {
    Str255 first, second;
    doc->settings->coordinateDisplayMode = 2;
    CoordBarLabels(doc, first, second);
    EXPECT_EQ(Text(first), "x:");
    EXPECT_EQ(Text(second), "y:");
    doc->settings->coordinateDisplayMode = 3;
    CoordBarLabels(doc, first, second);
    EXPECT_EQ(Text(first), "l:");
    EXPECT_EQ(Text(second), "\xA1:");
}
