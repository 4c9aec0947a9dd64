// Picking: the aperture is constant on screen, filters, hidden layers and locks, the drawn part of an arc,
// holes of areas (and boxes of no width), the actions, and list order.
#include "Platform/MemoryManager.h"
#include "Tools/Picking.h"
#include "ToolFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using PickingTest = ToolTest;

TEST_F(PickingTest, ApertureIsConstantOnScreenAtEveryZoom) {
    LineRecord* flat = DrawnLine(0, 0, 100, 0);
    LineRecord* steep = DrawnLine(5000, -50, 5001, 50);
    for (double unitsPerPixel : {0.01, 0.1, 7.0}) {
        doc->drawing->view.unitsPerPixel = unitsPerPixel;
        for (int pixels : {0, 3, 7}) {
            PointAt(20, pixels * unitsPerPixel);
            EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr)) << unitsPerPixel << " " << pixels;
            EXPECT_EQ(doc->drawing->cursors.lineCursor, flat);
        }
        PointAt(20, 9 * unitsPerPixel);
        EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr)) << unitsPerPixel;
        // A steep line is tested along the pick rectangle's bottom and top edges.
        PointAt(5000.5 + 5 * unitsPerPixel, 0);
        EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr)) << unitsPerPixel;
        EXPECT_EQ(doc->drawing->cursors.lineCursor, steep);
    }
}

TEST_F(PickingTest, LinesOpenAtAnEndArePickedBeyondIt) {
    LineRecord* line = DrawnLine(0, 0, 10, 10);
    PointAt(30, 30);
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));
    line->flags |= kLineOpenEnd;
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr));
    PointAt(-20, -20);
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));
    line->flags |= kLineOpenStart;
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr));
}

TEST_F(PickingTest, FiltersHiddenLayersAndUnselectableElements) {
    LineRecord* line = DrawnLine(0, 0, 100, 0);
    PointAt(50, 0);
    doc->drawing->toolInput.pickFilter = kFilterArcs;
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));
    doc->drawing->toolInput.pickFilter = kFilterLines;
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr));
    doc->drawing->toolInput.pickFilter = kFilterNone;

    SetLayerVisible(doc->layerVisible, line->layer, false);
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));
    SetLayerVisible(doc->layerVisible, line->layer, true);

    line->flags |= kElementNotSelectable;
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));
    doc->drawing->toolInput.selectHidden = 1;
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr));
    // A locked element (bit 15 of the pen flags) is passed by in the same way.
    line->flags = 0;
    line->penBlock.penFlags = SInt16(kPenFlagDimmed);
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr));
    doc->drawing->toolInput.selectHidden = 0;
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));

    line->drawn = 0; // never drawn: not on screen to be clicked
    EXPECT_FALSE(PickLine(doc, kPickFind, false, false, nullptr));
}

TEST_F(PickingTest, ArcsOnTheirDrawnPartCirclesAllRound) {
    DrawnArc(0, 0, 10, 0, 90);
    DrawnArc(100, 0, 10, 300, 30); // runs through 0 degrees
    DrawnArc(0, 100, 10);
    struct Case {
        double x, y;
        bool hit;
    };
    const Case cases[] = {
        {7.071, 7.071, true}, {-7.071, 7.071, false}, {0, 5, false}, {110, 0, true},  {105, -8.66, true},
        {90, 0, false},       {-10, 100, true},       {0, 90, true}, {0, 100, false},
    };
    for (const Case& c : cases) {
        PointAt(c.x, c.y);
        EXPECT_EQ(bool(PickArc(doc, kPickFind, false, false, nullptr)), c.hit) << c.x << "," << c.y;
    }
}

Handle Outline(std::initializer_list<double> xy) {
    SInt16 last = SInt16(xy.size() / 2 - 1);
    Handle h = NewOutlineHandle(last);
    std::memcpy(OutlinePoints(h), xy.begin(), xy.size() * sizeof(double));
    return h;
}

TEST_F(PickingTest, AreaHolesAreOutsideAndFlatBoxesDoNotDivideByZero) {
    AreaRecord* area = nullptr;
    SeekLastArea(doc);
    NewAreaElement(doc, &doc->areaHead->next);
    area = doc->areaHead->next;
    area->drawn = 1;
    area->outline = Outline({0, 0, 100, 0, 100, 100, 0, 100});
    area->holes = NewHandle(sizeof(Handle));
    *reinterpret_cast<Handle*>(*area->holes) = Outline({40, 40, 60, 40, 60, 60, 40, 60});
    area->lastHoleIndex = 0;
    area->minX = 0, area->minY = 0, area->maxX = 100, area->maxY = 100;
    PointAt(20, 20);
    EXPECT_TRUE(PickArea(doc, kPickFind, false));
    area->penBlock.penFlags = SInt16(kPenFlagDimmed); // locked
    EXPECT_FALSE(PickArea(doc, kPickFind, false));
    area->penBlock.penFlags = 0;
    PointAt(50, 50);
    EXPECT_FALSE(PickArea(doc, kPickFind, false));
    doc->settings->areaDisplayMode = 2; // areas hidden
    PointAt(20, 20);
    EXPECT_FALSE(PickArea(doc, kPickFind, false));

    // A box of no width: nothing inside it, and no division by zero on the way.
    AreaRecord flat{};
    flat.outline = Outline({5, 0, 5, 10, 5, 5});
    flat.lastHoleIndex = -1;
    flat.minX = 5, flat.maxX = 5, flat.minY = 0, flat.maxY = 10;
    EXPECT_FALSE(AreaHitTest(&flat, 5, 5));
    AreaRecord ellipse{};
    ellipse.outline = Outline({0, 0, 4, 2}); // last index 1: make it an ellipse contour
    *reinterpret_cast<SInt16*>(*ellipse.outline) = -1;
    ellipse.lastHoleIndex = -1;
    ellipse.minX = -4, ellipse.maxX = 4, ellipse.minY = -2, ellipse.maxY = 2;
    EXPECT_TRUE(AreaHitTest(&ellipse, 3, 0));
    EXPECT_FALSE(AreaHitTest(&ellipse, 3.5, 1.5));
    DisposeHandle(flat.outline);
    DisposeHandle(ellipse.outline);
}

TEST_F(PickingTest, ActionsAndListOrder) {
    LineRecord* first = DrawnLine(0, 0, 100, 0);
    LineRecord* second = DrawnLine(0, 0.2, 100, 0.2);
    PointAt(50, 0.1);
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, nullptr));
    EXPECT_EQ(doc->drawing->cursors.lineCursor, first); // the first in list order wins

    EXPECT_TRUE(PickLine(doc, kPickSelect, false, false, nullptr));
    EXPECT_TRUE(first->selected);
    EXPECT_FALSE(PickLine(doc, kPickSelect, false, false, nullptr)); // already selected
    EXPECT_TRUE(PickLine(doc, kPickToggle, false, false, nullptr));
    EXPECT_FALSE(first->selected);
    EXPECT_TRUE(PickLine(doc, kPickFlashOnOff, false, false, nullptr));
    EXPECT_FALSE(first->selected); // flashed, and left as it was
    EXPECT_TRUE(PickLine(doc, kPickFlashOffOn, false, false, nullptr));
    EXPECT_TRUE(first->selected);

    LinePickBuffer buffer;
    EXPECT_TRUE(PickLine(doc, kPickFind, false, false, &buffer));
    EXPECT_EQ(buffer.count, 2);
    EXPECT_FALSE(second->selected);

    // The picked element's scale goes to the slot of the current step.
    first->scaleFactor = 2.5;
    doc->drawing->toolInput.pendingStep = 1;
    PickLine(doc, kPickFind, false, false, nullptr);
    EXPECT_DOUBLE_EQ(doc->drawing->tool->pickedScales[1], 2.5);

    // Across kinds, the order of PickAnyElement decides: the line before the circle.
    DrawnArc(50, 10, 10);
    PointAt(50, 0);
    EXPECT_TRUE(PickAnyElement(doc));
    EXPECT_FALSE(first->selected); // toggled off
    EXPECT_FALSE(doc->arcHead->next->selected);
}

} // namespace
