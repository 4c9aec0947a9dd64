// The kernel's constructions that add lines to a drawing, each one undo step, and the switch to the
// dimension attributes.
#include "Model/DocSettings.h"
#include "DocumentFixture.h"
#include "Model/GeometryKernel.h"
#include "Model/UndoJournal.h"

#include <cmath>

using GeometryKernelDocument = DocumentTest;

TEST_F(GeometryKernelDocument, TangentAndAngledLinesAreAddedInOneStepEach) {
    ArcRecord circle{};
    circle.radius = 5;
    circle.endAngle = 360;
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    ASSERT_TRUE(TangentLineAtAngle(doc, &circle, 180, 10, 0, 10)); // 180 is the line of 0
    const LineRecord* tangent = doc->lineHead->next;
    EXPECT_NEAR(tangent->x1, 0, 1e-12);
    EXPECT_NEAR(tangent->y1, 5, 1e-12);
    EXPECT_NEAR(tangent->x2, 10, 1e-12);
    EXPECT_EQ(doc->drawing->cursors.lineCursor, tangent);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);

    LineRecord base{};
    base.x2 = 10;
    base.y2 = 10;
    ASSERT_TRUE(LineAtAngleToLine(doc, &base, 1, 1, 90, 4)); // 45 + 90 degrees
    const LineRecord* angled = doc->drawing->cursors.lineCursor;
    EXPECT_NEAR(angled->x1, 1 - std::sqrt(8.0), 1e-12); // ends ordered by x
    EXPECT_NEAR(angled->y1, 1 + std::sqrt(8.0), 1e-12);
    EXPECT_EQ(angled->x2, 1);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 2);

    // Nothing to add: no length, a line of no length, a circle of no radius.
    LineRecord dot{};
    circle.radius = 0;
    EXPECT_FALSE(LineAtAngleToLine(doc, &base, 1, 1, 90, 0));
    EXPECT_FALSE(LineAtAngleToLine(doc, &dot, 1, 1, 90, 4));
    EXPECT_FALSE(TangentLineAtAngle(doc, &circle, 0, 10, 0, 10));
    EXPECT_EQ(CountLines(), 2);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 2);
    UndoLastStep(doc);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 0);
}

TEST_F(GeometryKernelDocument, DimensionAttributesComeAndGo) {
    DocSettings& s = *doc->settings;
    s.currentLayer = 3;
    s.currentPen = 2;
    s.currentPenWidth100 = 35;
    s.dimLayer = 9;
    s.dimPen = 5;
    struct Case {
        Boolean usePen, useLayer;
        double width;
        SInt16 unitCode;
        SInt16 layer, pen, width100;
    };
    const Case cases[] = {
        {1, 1, 0, 0, 9, 5, 35},   // no dimension width: the pen width stays
        {0, 1, 18, 0, 9, 2, 18},  // millimetres
        {1, 0, 254, 8, 3, 5, 10}, // inches: divided by 25.4
        {1, 1, 18, 5, 9, 5, 18},  // a unit without factor counts as millimetres, never infinite
        {1, 1, 18, 42, 9, 5, 18}, // an unknown unit code likewise
        {0, 0, 1e9, 0, 3, 2, 35}, // a width no pen can have is ignored
    };
    for (const Case& c : cases) {
        s.useDimPen = c.usePen;
        s.useDimLayer = c.useLayer;
        s.unitCode = c.unitCode;
        doc->drawing->dimensionLineWidth = c.width;
        UseDimensionAttributes(doc);
        EXPECT_EQ(s.currentLayer, c.layer) << c.width;
        EXPECT_EQ(s.currentPen, c.pen) << c.width;
        EXPECT_EQ(s.currentPenWidth100, c.width100) << c.width << " unit " << c.unitCode;
        RestoreAttributesAfterDimension(&s);
        EXPECT_EQ(s.currentLayer, 3);
        EXPECT_EQ(s.currentPen, 2);
        EXPECT_EQ(s.currentPenWidth100, 35);
    }
}
