// Selection by criteria: the condition texts, and the rectangle selection by kind, containment,
// visibility and the active criteria table.
#include "DocumentFixture.h"
#include "Model/SelectionCriteria.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

void SetCondition(Str255 out, const std::string& text) {
    out[0] = UInt8(text.size());
    std::memcpy(out + 1, text.data(), text.size());
}

TEST(SelectionCriteria, ConditionsListNumbersAndRanges) {
    struct Case {
        const char* condition;
        double value;
        bool admitted;
    };
    const Case cases[] = {
        {"", 5, true},        {"3", 3, true},   {"3", 4, false},    {"1-4, 7", 2, true}, {"1-4, 7", 7, true},
        {"1-4, 7", 5, false}, {"4-1", 2, true}, {"1 - 3", 3, true}, {"-2", -2, true},    {"-2", 2, false},
        {"2.5-3", 2.7, true}, {"1;9", 9, true}, {"x", 1, true}, // no number in it: nothing restricted
    };
    for (const Case& c : cases) {
        Str255 text;
        SetCondition(text, c.condition);
        EXPECT_EQ(ConditionAdmits(text, c.value), c.admitted) << "'" << c.condition << "' " << c.value;
    }
}

class RectSelection : public DocumentTest {
  protected:
    const Boolean all[kSelectKindCount] = {1, 1, 1, 1, 1, 1, 1, 1};
    LineRecord* Line(double x1, double y1, double x2, double y2, SInt16 layer = 1) {
        SeekLastLine(doc);
        LineRecord* l = AppendLineAtCursor(doc, x1, y1, x2, y2, false);
        l->drawn = 1;
        l->layer = layer;
        return l;
    }
    ArcRecord* Arc(double cx, double cy, double r, double s, double e) {
        SeekLastArc(doc);
        ArcRecord* a = AppendArcAtCursor(doc, cx, cy, r, s, e, false);
        a->drawn = 1;
        return a;
    }
};

TEST_F(RectSelection, TakesWhatLiesWhollyInsideAndCanBeSelected) {
    LineRecord* inside = Line(1, 1, 9, 9);
    LineRecord* across = Line(5, 5, 15, 5);
    LineRecord* hidden = Line(2, 2, 3, 3, 4);
    LineRecord* locked = Line(2, 3, 3, 4);
    locked->flags |= kElementNotSelectable;
    ArcRecord* quarter = Arc(0, 0, 8, 0, 90); // its circle reaches out of the box, its run does not
    ArcRecord* circle = Arc(0, 0, 8, 0, 360);
    SetLayerVisible(doc->layerVisible, 4, false);

    EXPECT_TRUE(SelectInRectWithCriteria(doc, 10, 10, 0, 0, all)); // corners in any order
    EXPECT_TRUE(inside->selected);
    EXPECT_FALSE(across->selected);
    EXPECT_FALSE(hidden->selected);
    EXPECT_FALSE(locked->selected);
    EXPECT_TRUE(quarter->selected);
    EXPECT_FALSE(circle->selected);

    // Nothing new to select: false, and what was selected stays.
    EXPECT_FALSE(SelectInRectWithCriteria(doc, 0, 0, 10, 10, all));
    EXPECT_TRUE(inside->selected);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(SelectInRectWithCriteria(doc, nan, 0, 100, 100, all));
}

TEST_F(RectSelection, KindSwitchesAndTheActiveTableChoose) {
    LineRecord* l1 = Line(1, 1, 2, 2, 1);
    LineRecord* l3 = Line(3, 3, 4, 4, 3);
    ArcRecord* arc = Arc(5, 5, 1, 0, 360);
    Boolean arcsOnly[kSelectKindCount] = {};
    arcsOnly[kSelectArcs] = 1;
    EXPECT_TRUE(SelectInRectWithCriteria(doc, 0, 0, 10, 10, arcsOnly));
    EXPECT_TRUE(arc->selected);
    EXPECT_FALSE(l1->selected || l3->selected);

    // A second table whose one row admits layers 2 to 3; the pick filter makes it active.
    auto* first = new NamedTableRecord{};
    auto* second = new NamedTableRecord{};
    first->next = second;
    second->rowCount = 1;
    second->rows[0].criterion = kCriterionLayer;
    SetCondition(second->rows[0].condition, "2-3");
    doc->drawing->criteriaTables = first;
    doc->drawing->toolInput.pickFilter = 10;
    EXPECT_EQ(ActiveCriteriaTable(doc), second);
    EXPECT_TRUE(SelectInRectWithCriteria(doc, 0, 0, 10, 10, all));
    EXPECT_FALSE(l1->selected);
    EXPECT_TRUE(l3->selected);
    doc->drawing->toolInput.pickFilter = 0;
    EXPECT_EQ(ActiveCriteriaTable(doc), nullptr);
    doc->drawing->criteriaTables = nullptr;
    delete second;
    delete first;
}

} // namespace
