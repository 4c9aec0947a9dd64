// Element lists: appending at the cursor, defaults of new elements, seeking, removing, moving.
#include "DocumentFixture.h"
#include "Platform/MemoryManager.h"

#include <vector>

namespace {

class ElementLists : public DocumentTest {
  protected:
    std::vector<Float64> LineStarts() const {
        std::vector<Float64> xs;
        for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
            xs.push_back(e->x1);
        return xs;
    }
    void AppendLines(std::initializer_list<Float64> xs) {
        SeekLastLine(doc);
        for (Float64 x : xs)
            ASSERT_NE(AppendLineAtCursor(doc, x, 0, x + 1, 0, false), nullptr);
    }
};

} // namespace

TEST_F(ElementLists, AppendingAtTheCursorKeepsTheElementsBehindIt) {
    AppendLines({1, 2, 3});
    doc->drawing->cursors.lineCursor = doc->lineHead->next; // on the first line
    AppendLineAtCursor(doc, 10, 0, 11, 0, false);
    AppendLineAtCursor(doc, 20, 0, 21, 0, false); // the cursor moved onto the new line
    EXPECT_EQ(LineStarts(), (std::vector<Float64>{1, 10, 20, 2, 3}));

    doc->drawing->cursors.lineCursor = nullptr; // no cursor: at the tail
    AppendLineAtCursor(doc, 30, 0, 31, 0, false);
    EXPECT_EQ(LineStarts(), (std::vector<Float64>{1, 10, 20, 2, 3, 30}));
    EXPECT_EQ(doc->drawing->cursors.lineCursor->x1, 30);
    EXPECT_TRUE(doc->drawing->changed);

    // Arcs follow the same rule.
    SeekLastArc(doc);
    EXPECT_EQ(doc->drawing->cursors.arcCursor, doc->arcHead); // an empty list's last element is its head
    ArcRecord* first = AppendArcAtCursor(doc, 0, 0, 1, 0, 360, false);
    AppendArcAtCursor(doc, 0, 0, 3, 0, 360, false);
    doc->drawing->cursors.arcCursor = first;
    AppendArcAtCursor(doc, 0, 0, 2, 0, 360, false);
    std::vector<Float64> radii;
    for (ArcRecord* e = doc->arcHead->next; e != nullptr; e = e->next)
        radii.push_back(e->radius);
    EXPECT_EQ(radii, (std::vector<Float64>{1, 2, 3}));
}

TEST_F(ElementLists, NewElementsTakeTheCurrentDefaults) {
    DocSettings* s = doc->settings;
    s->currentGroup = 5, s->currentLayer = 17, s->currentPen = 2, s->currentLineType = 3;
    s->markNewLines = 1, s->startMarkKind = 2, s->endMarkKind = 0;
    s->unitCode = 7, s->drawingScale = 2.0; // feet
    LineRecord* line = AddLine(doc, 5, 5, 1, 1);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->group, 5);
    EXPECT_EQ(line->layer, 17);
    EXPECT_EQ(line->pen, 2);
    EXPECT_EQ(line->lineType, 3);
    EXPECT_EQ(line->x1, 1); // ends ordered; the mark kinds move with them
    EXPECT_EQ(line->flags & 3, 3);
    EXPECT_EQ(LineStartMarkKind(line->flags), 0);
    EXPECT_EQ(LineEndMarkKind(line->flags), 2);
    EXPECT_EQ(line->scaleFactor, 2.0 * 304.8);
    EXPECT_EQ(line->penBlock.penWidth100, 35); // pen 2 of the pen table, 0.35 mm
    EXPECT_EQ(line->penBlock.pattern, 0);

    // Outside pen mode 1, and for a pen number beyond the tables, the current attributes count.
    s->currentColor = RGBColor{1, 2, 3}, s->currentPattern = 7, s->currentPenWidth100 = 120;
    for (auto [mode, pen] : {std::pair{0, 2}, {1, 9}, {1, 0}, {1, -5}}) {
        s->penMode = UInt16(mode), s->currentPen = SInt16(pen);
        AreaRecord* area = nullptr;
        ASSERT_NE(NewAreaElement(doc, &area), nullptr);
        EXPECT_EQ(area->penBlock.penWidth100, 120) << mode << " " << pen;
        EXPECT_EQ(area->penBlock.pattern, 7);
        EXPECT_EQ(area->penBlock.color.blue, 3);
        EXPECT_EQ(area->lastHoleIndex, -1);
        EXPECT_EQ(area->outline, nullptr);
        DisposeAreaElement(doc, area, false);
    }

    s->unitCode = -3; // metres: the unit code is signed
    ArcRecord* arc = AddArc(doc, 0, 0, 1, 0, 360);
    EXPECT_EQ(arc->scaleFactor, 2.0 * 1000.0);

    SymbolDefRecord* def = nullptr;
    ASSERT_NE(NewSymbolDefElement(&def), nullptr);
    EXPECT_EQ(def->scale, 1.0);
    EXPECT_EQ(def->lineHead->next, nullptr);
    DisposeSymbolDefinition(doc, def);
}

TEST_F(ElementLists, RemovingAndMovingKeepTheListWhole) {
    AppendLines({1, 2, 3, 4});
    LineRecord* second = doc->lineHead->next->next;
    LineRecord* last = doc->drawing->cursors.lineCursor;

    MoveLineToListEnd(doc, last); // already last: unchanged
    EXPECT_EQ(LineStarts(), (std::vector<Float64>{1, 2, 3, 4}));
    MoveLineToListEnd(doc, second);
    EXPECT_EQ(LineStarts(), (std::vector<Float64>{1, 3, 4, 2}));

    // A walk that removes the element under the cursor goes on with the one that followed it.
    std::vector<Float64> seen;
    for (doc->drawing->cursors.lineCursor = doc->lineHead->next; doc->drawing->cursors.lineCursor != nullptr;
         doc->drawing->cursors.lineCursor = doc->drawing->cursors.lineCursor->next) {
        seen.push_back(doc->drawing->cursors.lineCursor->x1);
        if (doc->drawing->cursors.lineCursor->x1 == 3) RemoveLine(doc, doc->drawing->cursors.lineCursor);
    }
    EXPECT_EQ(seen, (std::vector<Float64>{1, 3, 4, 2}));
    EXPECT_EQ(LineStarts(), (std::vector<Float64>{1, 4, 2}));

    // An element that is not in the list is left alone.
    LineRecord* stray = nullptr;
    NewDefaultLine(doc, &stray);
    RemoveLine(doc, stray);
    EXPECT_EQ(LineStarts(), (std::vector<Float64>{1, 4, 2}));
    DisposeLineElement(doc, stray, false);

    // Dispose frees exactly the holes the index names.
    AreaRecord* area = nullptr;
    NewAreaElement(doc, &area);
    area->outline = NewOutlineHandle(2);
    area->lastHoleIndex = 0;
    area->holes = NewHandleClear(sizeof(Handle));
    reinterpret_cast<Handle*>(*area->holes)[0] = NewOutlineHandle(1);
    doc->areaHead->next = area;
    RemoveArea(doc, area);
    EXPECT_EQ(doc->areaHead->next, nullptr);
}

// While an import appends, the last element is found from the kept tail; every path that unlinks or
// frees the tail must leave the next seek on the true last element.
TEST_F(ElementLists, KeptTailsFollowEveryChangeOfTheList) {
    auto trueLast = [&] {
        TextRecord* t = doc->textHead;
        while (t->next != nullptr)
            t = t->next;
        return t;
    };
    auto append = [&](Float64 x) {
        TextRecord* last = nullptr;
        LastText(doc, &last);
        ASSERT_EQ(last, trueLast());
        ASSERT_NE(NewTextElement(doc, &last->next), nullptr);
        last->next->x = x;
    };
    {
        ScopedListAppends appends(doc);
        for (Float64 x : {1, 2, 3})
            append(x);
        RemoveText(doc, trueLast()); // the kept tail freed
        append(4);
        MoveTextToListEnd(doc, doc->textHead->next);
        append(5);
        TextRecord* last = nullptr;
        LastText(doc, &last);
        EXPECT_EQ(last->x, 5);
        AppendLines({7, 8});
        RemoveLine(doc, doc->drawing->cursors.lineCursor);
        SeekLastLine(doc);
        EXPECT_EQ(doc->drawing->cursors.lineCursor->x1, 7);
        DisposeDocumentElements(doc); // cleared, as a file read over the drawing does
        LastText(doc, &last);
        EXPECT_EQ(last, doc->textHead);
        append(6);
    }
    EXPECT_EQ(doc->drawing->tails.text, nullptr);
    EXPECT_FALSE(doc->drawing->tails.active);
    append(9); // outside, the list is walked
    std::vector<Float64> xs;
    for (TextRecord* t = doc->textHead->next; t != nullptr; t = t->next)
        xs.push_back(t->x);
    EXPECT_EQ(xs, (std::vector<Float64>{6, 9}));
}
