// Symbols: the instance transform and frame, making a definition from the selection and placing it,
// exploding, redefining, the name order of the definitions, and undo of each.
#include "DocumentFixture.h"
#include "Other/MathPrimitives.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MemoryManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr Float64 kNaN = std::numeric_limits<Float64>::quiet_NaN();
constexpr Float64 kInf = std::numeric_limits<Float64>::infinity();

std::vector<unsigned char> P(const std::string& s) {
    std::vector<unsigned char> p(s.size() + 1);
    p[0] = static_cast<unsigned char>(s.size());
    std::memcpy(p.data() + 1, s.data(), s.size());
    return p;
}

std::string Name(const unsigned char* p) {
    return std::string(reinterpret_cast<const char*>(p + 1), p[0]);
}

class Symbols : public DocumentTest {
  protected:
    void SetUp() override {
        DocumentTest::SetUp();
        CreateUndoJournal(doc);
    }
    void TearDown() override {
        DeleteUndoJournal(doc);
        DocumentTest::TearDown();
    }

    LineRecord* Line(Float64 x1, Float64 y1, Float64 x2, Float64 y2, bool selected = true) {
        LineRecord* l = AppendLineAtCursor(doc, x1, y1, x2, y2, false);
        l->selected = selected;
        return l;
    }
    ArcRecord* Arc(Float64 cx, Float64 cy, Float64 r, Float64 a0, Float64 a1, bool selected = true) {
        ArcRecord* a = AppendArcAtCursor(doc, cx, cy, r, a0, a1, false);
        a->selected = selected;
        return a;
    }
    TextRecord* Text(Float64 x, Float64 y, Float64 w, Float64 h, Float64 angle) {
        TextRecord* last = nullptr;
        LastText(doc, &last);
        TextRecord* t = NewTextElement(doc, &last->next);
        t->x = x, t->y = y, t->angle = angle, t->textHeight = h;
        Float64 c = std::cos(angle * kDegreesToRadians), s = std::sin(angle * kDegreesToRadians);
        const Float64 local[8] = {0, 0, w, 0, w, h, 0, h};
        for (int i = 0; i < 4; ++i) {
            t->corners[2 * i] = x + local[2 * i] * c - local[2 * i + 1] * s;
            t->corners[2 * i + 1] = y + local[2 * i] * s + local[2 * i + 1] * c;
        }
        t->text[0] = 1, t->text[1] = 'A';
        t->selected = 1;
        return t;
    }
    SymbolDefRecord* Make(const std::string& name, Float64 bx, Float64 by, bool place = true) {
        auto n = P(name);
        return CreateSymbolFromSelection(doc, bx, by, n.data(), place);
    }
    SymbolInstanceRecord* FirstInstance() const { return doc->instanceHead->next; }
    int CountInstances() const {
        int n = 0;
        for (SymbolInstanceRecord* s = doc->instanceHead->next; s; s = s->next)
            ++n;
        return n;
    }
    std::vector<std::string> DefinitionNames() const {
        std::vector<std::string> names;
        for (SymbolDefRecord* d = doc->symbolDefHead->next; d; d = d->next)
            names.push_back(Name(d->name));
        return names;
    }
};

struct TransformCase {
    const char* what;
    Float64 xScale, yScale, angle, factor;
    SInt16 unitCode;
    Float64 inX, inY, outX, outY;
};

} // namespace

// Scale, then turn, then move; the factor per unit multiplies both scales; whatever a file holds,
// the result is finite.
TEST_F(Symbols, TheInstanceTransformScalesTurnsAndMoves) {
    const TransformCase cases[] = {
        {"identity", 1, 1, 0, 1, 0, 2, 3, 12, 23},
        {"unequal scales, no turn", 2, 3, 0, 1, 0, 1, 1, 12, 23},
        {"a quarter turn after scaling", 2, 1, 90, 1, 0, 1, 0, 10, 22},
        {"mirror in x", -1, 1, 0, 1, 0, 2, 3, 8, 23},
        {"factor 2 in millimetres", 1, 1, 0, 2, 0, 1, 1, 12, 22},
        {"factor 25.4 in inches is one", 1, 1, 0, 25.4, 8, 1, 1, 11, 21},
        {"element factor 0 from a file counts as one unit", 1, 1, 0, 0, 0, 2, 3, 12, 23},
        {"NaN factor", 1, 1, 0, kNaN, 0, 2, 3, 12, 23},
        {"unit with factor 0 divides by 1", 1, 1, 0, 1, 5, 2, 3, 12, 23},
        {"NaN angle counts as 0", 1, 1, kNaN, 1, 0, 2, 3, 12, 23},
        {"infinite scale counts as 1", kInf, 1, 0, 1, 0, 2, 3, 12, 23},
    };
    for (const TransformCase& c : cases) {
        SCOPED_TRACE(c.what);
        doc->settings->unitCode = c.unitCode;
        SymbolInstanceRecord s{};
        s.x = 10, s.y = 20, s.angle = c.angle, s.xScale = c.xScale, s.yScale = c.yScale,
        s.scaleFactor = c.factor;
        SymbolTransform t;
        LoadSymbolTransform(doc, &s, &t);
        Float64 x = c.inX, y = c.inY;
        SymbolTransformPoint(t, &x, &y);
        EXPECT_NEAR(x, c.outX, 1e-9);
        EXPECT_NEAR(y, c.outY, 1e-9);
    }
}

TEST_F(Symbols, TheFrameIsTheTransformedExtentsAroundThePosition) {
    SymbolDefRecord def{};
    def.minX = -1, def.minY = 0, def.maxX = 3, def.maxY = 2;
    struct FrameCase {
        const char* what;
        Float64 xScale, yScale, angle, factor;
        Float64 frame[8];
    } cases[] = {
        {"plain", 1, 1, 0, 1, {-1, 0, 3, 0, 3, 2, -1, 2}},
        {"scaled and mirrored", -2, 0.5, 0, 1, {2, 0, -6, 0, -6, 1, 2, 1}},
        {"turned a quarter", 1, 1, 90, 1, {0, -1, 0, 3, -2, 3, -2, -1}},
        {"factor 0 from a file", 1, 1, 0, 0, {-1, 0, 3, 0, 3, 2, -1, 2}},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.what);
        SymbolInstanceRecord s{};
        s.x = 100, s.y = 100, s.angle = c.angle, s.xScale = c.xScale, s.yScale = c.yScale,
        s.scaleFactor = c.factor;
        s.definition = &def;
        ComputeInstanceFrame(doc, &s);
        for (int i = 0; i < 8; ++i)
            EXPECT_NEAR(s.frame[i], c.frame[i], 1e-9) << i;
    }
    // Extents a file made infinite give a finite frame.
    def.maxX = kInf;
    SymbolInstanceRecord s{};
    s.xScale = s.yScale = s.scaleFactor = 1, s.definition = &def;
    ComputeInstanceFrame(doc, &s);
    for (Float64 v : s.frame)
        EXPECT_TRUE(std::isfinite(v));
}

// Arcs follow the mirror by running the other way round; texts turn but never mirror.
TEST_F(Symbols, ArcsAndTextsFollowTurnsAndMirrorsByOneRule) {
    struct ArcCase {
        const char* what;
        Float64 xScale, yScale, angle, start, end;
    } cases[] = {
        {"turned", 1, 1, 30, 30, 120},
        {"mirrored in x", -1, 1, 0, 90, 180},
        {"mirrored in y", 1, -1, 0, 270, 0},
        {"both mirrored is a half turn", -1, -1, 0, 180, 270},
    };
    ArcRecord arc{};
    arc.radius = 2, arc.startAngle = 0, arc.endAngle = 90;
    for (const ArcCase& c : cases) {
        SCOPED_TRACE(c.what);
        SymbolInstanceRecord s{};
        s.xScale = c.xScale, s.yScale = c.yScale, s.angle = c.angle, s.scaleFactor = 1;
        SymbolTransform t;
        LoadSymbolTransform(doc, &s, &t);
        ArcRecord out{};
        PlaceSymbolArc(t, &arc, &out);
        EXPECT_NEAR(out.radius, 2, 1e-12);
        EXPECT_NEAR(out.startAngle, c.start, 1e-9);
        EXPECT_NEAR(out.endAngle, c.end, 1e-9);
    }
    // A full circle stays full; unequal scales take the mean radius.
    ArcRecord circle{};
    circle.radius = 1, circle.endAngle = 360;
    SymbolInstanceRecord s{};
    s.xScale = 1, s.yScale = 3, s.angle = 45, s.scaleFactor = 1;
    SymbolTransform t;
    LoadSymbolTransform(doc, &s, &t);
    ArcRecord out{};
    PlaceSymbolArc(t, &circle, &out);
    EXPECT_EQ(out.startAngle, 0);
    EXPECT_EQ(out.endAngle, 360);
    EXPECT_NEAR(out.radius, 2, 1e-12);

    // A text under an x mirror: its anchor is mirrored, its box reads left to right from it.
    TextRecord text{};
    text.x = 1, text.y = 0, text.textHeight = 2, text.angle = 0;
    const Float64 corners[8] = {1, 0, 5, 0, 5, 2, 1, 2};
    std::memcpy(text.corners, corners, sizeof corners);
    s = SymbolInstanceRecord{};
    s.xScale = -1, s.yScale = 2, s.scaleFactor = 1;
    LoadSymbolTransform(doc, &s, &t);
    TextRecord placed{};
    PlaceSymbolText(t, &text, &placed);
    EXPECT_NEAR(placed.x, -1, 1e-12);
    EXPECT_NEAR(placed.corners[0], -1, 1e-12);
    EXPECT_NEAR(placed.corners[2], 3, 1e-12); // lower right lies to the right
    EXPECT_NEAR(placed.corners[5], 4, 1e-12); // twice as high
    EXPECT_NEAR(placed.textHeight, 4, 1e-12);
    EXPECT_EQ(placed.angle, 0);
}

// The elements move into the definition, converted about the base point by their own factor; the
// instance placed with it shows them exactly where they were, and exploding gives them back.
TEST_F(Symbols, MakePlaceAndExplodeRoundTrip) {
    doc->settings->drawingScale = 2; // elements made now carry factor 2
    Line(10, 10, 30, 10);
    Arc(20, 20, 4, 0, 360);
    Text(12, 14, 6, 2, 30);
    Line(0, 0, 1, 1, false);         // not selected: stays
    doc->settings->drawingScale = 5; // the current scale changes before the symbol is made

    SymbolDefRecord* def = Make("Bolt", 10, 10);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(CountLines(), 1);
    EXPECT_EQ(doc->arcHead->next, nullptr);
    EXPECT_EQ(doc->textHead->next, nullptr);
    // (value - base) / 2 in the definition, factor 1.0.
    LineRecord* l = def->lineHead->next;
    ASSERT_NE(l, nullptr);
    EXPECT_DOUBLE_EQ(l->x2, 10);
    EXPECT_EQ(l->scaleFactor, 1.0);
    EXPECT_DOUBLE_EQ(def->arcHead->next->radius, 2);
    EXPECT_DOUBLE_EQ(def->textHead->next->textHeight, 1);
    EXPECT_DOUBLE_EQ(def->minX, 0);
    EXPECT_DOUBLE_EQ(def->maxX, 10);
    EXPECT_DOUBLE_EQ(def->maxY, 7); // the circle's top

    SymbolInstanceRecord* s = FirstInstance();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->definition, def);
    EXPECT_EQ(s->scaleFactor, 2); // the elements' factor, not the current scale's 5
    EXPECT_EQ(s->x, 10);
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    LineRecord placed{};
    PlaceSymbolLine(t, l, &placed);
    EXPECT_DOUBLE_EQ(placed.x1, 10);
    EXPECT_DOUBLE_EQ(placed.x2, 30);
    EXPECT_DOUBLE_EQ(s->frame[4], 20); // the frame's top right, relative to the position
    EXPECT_DOUBLE_EQ(s->frame[5], 14);

    ExplodeSymbolInstance(doc, s);
    EXPECT_EQ(CountInstances(), 0);
    EXPECT_EQ(CountLines(), 2);
    ArcRecord* a = doc->arcHead->next;
    ASSERT_NE(a, nullptr);
    EXPECT_DOUBLE_EQ(a->cx, 20);
    EXPECT_DOUBLE_EQ(a->radius, 4);
    EXPECT_EQ(a->scaleFactor, 2);
    TextRecord* text = doc->textHead->next;
    ASSERT_NE(text, nullptr);
    EXPECT_NEAR(text->textHeight, 2, 1e-12);
    EXPECT_NEAR(text->angle, 30, 1e-12);
    EXPECT_NEAR(text->corners[0], 12, 1e-12);
    EXPECT_NEAR(text->corners[1], 14, 1e-12);
    // The definition stays for further instances.
    EXPECT_EQ(CountSymbolDefinitions(doc), 1);
}

// Nothing selected: an empty definition with its small extents, placed at the current scale.
// Factors from a file that cannot divide give finite definitions.
TEST_F(Symbols, EmptySelectionsAndUnusableFactorsGiveFiniteDefinitions) {
    doc->settings->drawingScale = 4;
    SymbolDefRecord* empty = Make("Empty", 3, 3);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->minX, 0);
    EXPECT_EQ(empty->maxX, 0.1);
    EXPECT_EQ(empty->maxY, 0.1);
    EXPECT_EQ(FirstInstance()->scaleFactor, 4);

    const Float64 bad[] = {0, kNaN, -kInf};
    for (Float64 f : bad) {
        SCOPED_TRACE(f);
        LineRecord* l = Line(5, 5, 9, 8);
        l->scaleFactor = f;
        doc->settings->unitCode = 10; // a unit whose factor is 0
        SymbolDefRecord* def = Make("Odd", 5, 5);
        ASSERT_NE(def, nullptr);
        LineRecord* in = def->lineHead->next;
        EXPECT_TRUE(std::isfinite(in->x2) && std::isfinite(in->y2));
        EXPECT_TRUE(std::isfinite(def->maxX) && std::isfinite(def->maxY));
        SymbolInstanceRecord* s = doc->instanceHead->next;
        while (s->next)
            s = s->next;
        for (Float64 v : s->frame)
            EXPECT_TRUE(std::isfinite(v));
        SymbolTransform t;
        LoadSymbolTransform(doc, s, &t);
        LineRecord placed{};
        PlaceSymbolLine(t, in, &placed);
        EXPECT_NEAR(placed.x2, 9, 1e-12);
        EXPECT_NEAR(placed.y2, 8, 1e-12);
        doc->settings->unitCode = 0;
    }
}

TEST_F(Symbols, ArcExtentsTakeTheQuadrantPointsWithinTheArc) {
    struct ExtentCase {
        Float64 start, end;
        Float64 box[4];
    } cases[] = {
        {45, 135, {-0.70710678, 0.70710678, 0.70710678, 1}},
        {350, 10, {0.98480775, -0.17364818, 1, 0.17364818}},
        {0, 360, {-1, -1, 1, 1}},
        {90, 270, {-1, -1, 0, 1}},
    };
    for (const ExtentCase& c : cases) {
        SCOPED_TRACE(c.start);
        Arc(0, 0, 1, c.start, c.end);
        SymbolDefRecord* def = Make("Arc", 0, 0, false);
        EXPECT_NEAR(def->minX, c.box[0], 1e-8);
        EXPECT_NEAR(def->minY, c.box[1], 1e-8);
        EXPECT_NEAR(def->maxX, c.box[2], 1e-8);
        EXPECT_NEAR(def->maxY, c.box[3], 1e-8);
    }
}

// One undo step: the elements come back and the instance goes; redo makes the symbol again.
TEST_F(Symbols, MakingASymbolIsOneUndoStep) {
    Line(0, 0, 10, 0);
    Arc(5, 5, 2, 0, 360);
    Make("Pin", 0, 0);
    ASSERT_EQ(CountLines(), 0);
    ASSERT_EQ(CountInstances(), 1);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 1);
    EXPECT_NE(doc->arcHead->next, nullptr);
    EXPECT_EQ(CountInstances(), 0);
    RedoStep(doc);
    EXPECT_EQ(CountLines(), 0);
    EXPECT_EQ(doc->arcHead->next, nullptr);
    ASSERT_EQ(CountInstances(), 1);
    EXPECT_EQ(FirstInstance()->definition, doc->symbolDefHead->next);
    EXPECT_TRUE(RecordedAlerts().empty());
}

TEST_F(Symbols, ExplodingIsOneUndoStep) {
    Line(0, 0, 10, 0);
    Make("Pin", 0, 0);
    SymbolInstanceRecord* s = FirstInstance();
    s->angle = 90;
    ExplodeSymbolInstance(doc, s);
    ASSERT_EQ(CountLines(), 1);
    EXPECT_NEAR(std::max(doc->lineHead->next->y1, doc->lineHead->next->y2), 10, 1e-12);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 0);
    EXPECT_EQ(CountInstances(), 1);
    RedoStep(doc);
    EXPECT_EQ(CountLines(), 1);
    EXPECT_EQ(CountInstances(), 0);
}

// The instances keep position, angle and scales and show the new content; the old definition goes,
// the history is cleared. A name with no definition changes nothing.
TEST_F(Symbols, RedefiningReplacesTheContentOfEveryInstance) {
    Line(0, 0, 10, 0);
    SymbolDefRecord* old = Make("Valve", 0, 0, false);
    SymbolInstanceRecord* a = CreateSymbolInstance(doc, 50, 50, 90, 2, 2, old);
    SymbolInstanceRecord* b = CreateSymbolInstance(doc, -5, 0, 0, -1, 1, old);
    Line(0, 0, 0, 4);
    Line(0, 4, 3, 4);

    auto missing = P("Nothing");
    EXPECT_FALSE(RedefineBlock(doc, 0, 0, missing.data()));
    EXPECT_EQ(CountLines(), 2);
    EXPECT_EQ(CountSymbolDefinitions(doc), 1);

    auto name = P("Valve");
    ASSERT_TRUE(RedefineBlock(doc, 0, 0, name.data()));
    EXPECT_EQ(CountLines(), 0);
    ASSERT_EQ(CountSymbolDefinitions(doc), 1);
    SymbolDefRecord* fresh = doc->symbolDefHead->next;
    EXPECT_EQ(Name(fresh->name), "Valve");
    EXPECT_EQ(a->definition, fresh);
    EXPECT_EQ(b->definition, fresh);
    EXPECT_EQ(a->x, 50);
    EXPECT_EQ(a->angle, 90);
    EXPECT_EQ(a->xScale, 2);
    EXPECT_EQ(b->xScale, -1);
    // The frames follow the new extents (0..3 x 0..4).
    EXPECT_NEAR(a->frame[4], -8, 1e-12);
    EXPECT_NEAR(a->frame[5], 6, 1e-12);
    EXPECT_NEAR(b->frame[2], -3, 1e-12);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 0);
}

TEST_F(Symbols, DefinitionsSortByNameShorterFirstAndAreFoundByName) {
    for (const char* n : {"Valve", "Bolt", "Val", "Nut", "Bolt2"})
        Make(n, 0, 0, false);
    EXPECT_EQ(DefinitionNames(), (std::vector<std::string>{"Bolt", "Bolt2", "Nut", "Val", "Valve"}));
    EXPECT_EQ(CountSymbolDefinitions(doc), 5);
    auto nut = P("Nut");
    SymbolDefRecord* found = FindSymbolDefinition(doc, nut.data());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(Name(found->name), "Nut");
    EXPECT_EQ(doc->drawing->cursors.symbolDefCursor, found);
    auto none = P("Nu");
    EXPECT_EQ(FindSymbolDefinition(doc, none.data()), nullptr);
    // Names are cut to 19 characters.
    SymbolDefRecord* longName = Make("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0, false);
    EXPECT_EQ(Name(longName->name), "ABCDEFGHIJKLMNOPQRS");
}

TEST_F(Symbols, ASecondSelectedInstanceIsReported) {
    SymbolDefRecord* def = Make("One", 0, 0);
    FirstInstance()->selected2 = 1;
    ClearRecordedAlerts();
    Make("Two", 0, 0, false);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    (void)def;
}

// The instance dialog's change: new angle and scales at the same place, same definition and
// layer, in one undo step.
TEST_F(Symbols, ChangingAnInstanceKeepsItsPlaceAndDefinition) {
    Line(0, 0, 10, 0);
    SymbolDefRecord* def = Make("Pin", 0, 0, false);
    doc->settings->currentLayer = 7;
    SymbolInstanceRecord* s = CreateSymbolInstance(doc, 4, 5, 0, 1, 1, def);
    doc->settings->currentLayer = 2;
    SymbolInstanceRecord* changed = ChangeSymbolInstance(doc, s, 370, 2, -1);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(CountInstances(), 1);
    EXPECT_EQ(FirstInstance(), changed);
    EXPECT_EQ(changed->layer, 7);
    EXPECT_EQ(doc->settings->currentLayer, 2);
    EXPECT_EQ(changed->x, 4);
    EXPECT_NEAR(changed->angle, 10, 1e-12);
    EXPECT_EQ(changed->xScale, 2);
    EXPECT_EQ(changed->definition, def);
    UndoLastStep(doc);
    ASSERT_EQ(CountInstances(), 1);
    EXPECT_EQ(FirstInstance()->angle, 0);
    EXPECT_EQ(FirstInstance()->definition, def);
}
