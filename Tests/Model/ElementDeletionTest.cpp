// Deleting the selected or marked elements of every list and selecting by a typed kind name: what
// goes and what stays, in order, with the list cursors, the spatial index and one exact undo step.
#include "DocumentFixture.h"
#include "DrawingSnapshot.h"
#include "Model/ElementDeletion.h"
#include "Model/Selection.h"
#include "Model/SelectionCriteria.h"
#include "Model/SpatialIndex.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Other/ToolListText.h"

#include <TestSupport.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <set>
#include <string>
#include <vector>

namespace {

class ElementDeletion : public DocumentTest {
  protected:
    SymbolDefRecord* def = nullptr;
    // Per kind, in list order: [0] to be deleted, [1] to stay.
    LineRecord* lines[2] = {};
    ArcRecord* arcs[2] = {};
    TextRecord* texts[2] = {};
    DimensionRecord* dims[2] = {};
    PolylineRecord* polys[2] = {};
    SymbolInstanceRecord* insts[2] = {};
    AreaRecord* areas[2] = {};

    // A new document in place of the one a case of a table used.
    void FreshDocumentState() {
        while (OpenDocumentList != nullptr)
            DisposeDocumentRecords(OpenDocumentList);
        def = nullptr;
        ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
    }

    // Two elements of every kind, made in one undo step.
    void MakeDrawing() {
        NewSymbolDefElement(&def);
        CopyPStr(def->name, sizeof def->name, PStr("Bolt"));
        def->maxX = def->maxY = 2;
        doc->symbolDefHead->next = def;
        BeginUndoStep(doc);
        for (int i = 0; i < 2; ++i) {
            const Float64 o = 40.0 * i;
            lines[i] = AddLine(doc, o, 0, o + 10, 0);
            arcs[i] = AddArc(doc, o, 0, 3, 0, 90);

            TextRecord* text;
            LastText(doc, &text);
            texts[i] = NewTextElement(doc, &text->next);
            texts[i]->x = o, texts[i]->y = 5, texts[i]->textHeight = 2.5;
            CopyPStr(texts[i]->text, 256, PStr(i == 0 ? "gone" : "kept"));
            RecordUndoText(doc, texts[i], true);

            DimensionRecord* dim;
            LastDimension(doc, &dim);
            dims[i] = NewDimensionElement(doc, &dim->next);
            dims[i]->x1 = o, dims[i]->x2 = o + 10, dims[i]->textX = o + 5, dims[i]->textY = 3;
            RecordUndoDimension(doc, dims[i], true);

            PolylineRecord* poly;
            LastPolyline(doc, &poly);
            polys[i] = NewPolylineElement(doc, &poly->next);
            polys[i]->pointCount = 3;
            const Float64 points[6] = {o + 5, 5, o + 10, 5, o + 10, 10};
            PtrToHand(points, &polys[i]->points, sizeof points);
            RecordUndoPolyline(doc, polys[i], true);

            SeekLastInstance(doc);
            insts[i] = NewInstanceElement(doc, &doc->drawing->cursors.instanceCursor->next);
            insts[i]->definition = def;
            insts[i]->x = o + 7, insts[i]->xScale = insts[i]->yScale = 1;
            RecordUndoSymbolInstance(doc, insts[i], true);

            SeekLastArea(doc);
            areas[i] = NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
            areas[i]->outline = NewOutlineHandle(2);
            const Float64 outline[6] = {o + 10, 0, o + 20, 0, o + 20, 10};
            std::copy(outline, outline + 6, OutlinePoints(areas[i]->outline));
            areas[i]->minX = o + 10, areas[i]->maxX = o + 20, areas[i]->maxY = 10;
            RecordUndoArea(doc, areas[i], true);
        }
        EndUndoStep(doc);
    }
    std::vector<Boolean*> Flags(int i, bool marks) {
        if (marks)
            return {&lines[i]->marked, &arcs[i]->marked,  &texts[i]->marked, &dims[i]->marked,
                    &polys[i]->marked, &insts[i]->marked, &areas[i]->marked};
        return {&lines[i]->selected, &arcs[i]->selected,  &texts[i]->selected, &dims[i]->selected,
                &polys[i]->selected, &insts[i]->selected, &areas[i]->selected};
    }
    template <typename R> static std::vector<R*> List(R* head) {
        std::vector<R*> all;
        for (R* e = head->next; e != nullptr; e = e->next)
            all.push_back(e);
        return all;
    }
};

// The selected (or marked) element of every kind goes, the other stays; a list cursor on a deleted
// element falls back to what came before it; one undo step brings all back exactly, redo takes
// them again.
TEST_F(ElementDeletion, SelectedOrMarkedElementsOfEveryKindGoInOneUndoStep) {
    for (bool marks : {false, true}) {
        SCOPED_TRACE(marks ? "marked" : "selected");
        FreshDocumentState();
        MakeDrawing();
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        for (Boolean* f : Flags(0, marks)) {
            if (marks)
                SetMarkedFlag(doc->drawing, f, 1);
            else
                SetSelectedFlag(doc->drawing, f, 1);
        }
        ListWalkCursors& c = doc->drawing->cursors;
        c.lineCursor = lines[0];
        c.areaCursor = areas[0];
        const SInt16 stepsBefore = doc->drawing->undo.undoStepCount;

        BeginUndoStep(doc);
        EXPECT_EQ(marks ? DeleteMarkedElements(doc) : DeleteSelectedElements(doc), 7);
        EndUndoStep(doc);

        EXPECT_EQ(doc->drawing->undo.undoStepCount, stepsBefore + 1);
        EXPECT_EQ(List(doc->lineHead), std::vector<LineRecord*>{lines[1]});
        EXPECT_EQ(List(doc->arcHead), std::vector<ArcRecord*>{arcs[1]});
        EXPECT_EQ(List(doc->textHead), std::vector<TextRecord*>{texts[1]});
        EXPECT_EQ(List(doc->dimensionHead), std::vector<DimensionRecord*>{dims[1]});
        EXPECT_EQ(List(doc->polylineHead), std::vector<PolylineRecord*>{polys[1]});
        EXPECT_EQ(List(doc->instanceHead), std::vector<SymbolInstanceRecord*>{insts[1]});
        EXPECT_EQ(List(doc->areaHead), std::vector<AreaRecord*>{areas[1]});
        EXPECT_EQ(c.lineCursor, doc->lineHead);
        EXPECT_EQ(c.areaCursor, doc->areaHead);
        EXPECT_TRUE(doc->drawing->changed);

        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        UndoLastStep(doc);
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        RedoStep(doc);
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);

        // Nothing flagged any more: nothing goes.
        BeginUndoStep(doc);
        EXPECT_EQ(marks ? DeleteMarkedElements(doc) : DeleteSelectedElements(doc), 0);
        EndUndoStep(doc);
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
}

// Many lines: every third goes in one pass, the rest keep their order, and the spatial index
// built before hands out none of the freed lines afterwards.
TEST_F(ElementDeletion, ManyLinesKeepOrderAndTheIndexStaysTrue) {
    const int n = 30000;
    SeekLastLine(doc);
    std::vector<LineRecord*> kept;
    for (int i = 0; i < n; ++i) {
        LineRecord* l = AppendLineAtCursor(doc, i % 300, i / 300, i % 300 + 0.5, i / 300 + 0.5, false);
        if (i % 3 == 0)
            SetSelectedFlag(doc->drawing, &l->selected, 1);
        else
            kept.push_back(l);
    }
    std::vector<void*> candidates;
    ASSERT_TRUE(SpatialCandidates(doc, kLineElement, 10, 10, 12, 12, &candidates));
    ASSERT_FALSE(candidates.empty());

    BeginUndoStep(doc);
    EXPECT_EQ(DeleteSelectedElements(doc), n / 3);
    EndUndoStep(doc);
    EXPECT_EQ(List(doc->lineHead), kept);

    const std::set<void*> present(kept.begin(), kept.end());
    ASSERT_TRUE(SpatialCandidates(doc, kLineElement, 10, 10, 12, 12, &candidates));
    EXPECT_FALSE(candidates.empty());
    for (void* e : candidates)
        EXPECT_TRUE(present.count(e)) << "a deleted line handed out";

    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), n);
}

// A typed name selects the first kind of "STR#" 134 it contains, in any letter case; only
// elements on visible layers that may be selected. An unknown name shows alert 158 and selects
// nothing.
TEST_F(ElementDeletion, AKindNameSelectsEveryElementOfThatKind) {
    struct Case {
        const char* name;
        const char* kinds; // one letter per kind selected: l a t d p i r (area), in that order
    };
    const Case cases[] = {
        {"line", "l"},      {"Lines", "l"},           {"POLYLINES", "p"}, {"arc", "a"},
        {"text", "t"},      {"dimension", "d"},       {"symbols", "i"},   {"area", "r"},
        {"all", "latdpir"}, {"All kinds", "latdpir"}, {"circle", ""},     {"xyz", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDocumentState();
        MakeDrawing();
        // The second line lies on a hidden layer, the second dimension may not be selected.
        lines[1]->layer = 4;
        SetLayerVisible(doc->layerVisible, 4, false);
        dims[1]->flags |= kElementNotSelectable;
        doc->drawing->view.redrawPending = 0;
        ClearRecordedAlerts();

        const bool any = SelectAllOfKind(doc, c.name, true);
        const std::string want = c.kinds;
        EXPECT_EQ(any, !want.empty());
        EXPECT_EQ(RecordedAlerts().size(), want.empty() ? 1u : 0u);
        if (want.empty() && !RecordedAlerts().empty())
            EXPECT_EQ(RecordedAlerts()[0].alertId, kUnknownKindAlert);
        const std::pair<char, const Boolean*> flags[] = {
            {'l', &lines[0]->selected}, {'a', &arcs[0]->selected},  {'t', &texts[0]->selected},
            {'d', &dims[0]->selected},  {'p', &polys[0]->selected}, {'i', &insts[0]->selected},
            {'r', &areas[0]->selected}, {'a', &arcs[1]->selected},  {'t', &texts[1]->selected}};
        for (auto [letter, flag] : flags)
            EXPECT_EQ(*flag != 0, want.find(letter) != std::string::npos) << letter;
        EXPECT_FALSE(lines[1]->selected); // hidden layer
        EXPECT_FALSE(dims[1]->selected);  // not selectable
        EXPECT_EQ(doc->drawing->view.redrawPending != 0, any);
    }
    // Without highlighting the window is not asked to redraw.
    FreshDocumentState();
    MakeDrawing();
    doc->drawing->view.redrawPending = 0;
    EXPECT_TRUE(SelectAllOfKind(doc, "line", false));
    EXPECT_FALSE(doc->drawing->view.redrawPending);
}

// The kind names are written so that the first item a name contains is the kind meant: no item
// contains an earlier one, and the origin command's all-kinds word finds item 8.
TEST(KindNames, NoItemContainsAnEarlierOneAndTheAllKindsWordFindsItemEight) {
    std::vector<std::string> items;
    for (SInt16 n = 1;; ++n) {
        Str255 item;
        GetIndString(item, kKindNameList, n);
        if (item[0] == 0) break;
        items.push_back(PStrToUTF8(item));
    }
    ASSERT_EQ(items.size(), 8u);
    for (size_t j = 0; j < items.size(); ++j) {
        Float64 found = 0;
        ASSERT_TRUE(FindListItemInText(items[j], kKindNameList, &found)) << items[j];
        EXPECT_EQ(found, Float64(j + 1)) << items[j] << " is taken for an earlier item";
    }
    Str255 all;
    GetIndString(all, 5000, 129);
    Float64 found = 0;
    ASSERT_TRUE(FindListItemInText(PStrToUTF8(all), kKindNameList, &found));
    EXPECT_EQ(found, kAllKindsItem);
}

TEST(ToolListText, ContainsFoldsOnlyTheLettersAToZ) {
    struct Case {
        const char* text;
        const char* word;
        bool contained;
    };
    const Case cases[] = {
        {"Polyline", "LINE", true},
        {"line", "lines", false},
        {"", "", true},
        {"abc", "", true},
        {"", "a", false},
        {"[x]", "[X]", true},
        {"@", "`", false},                       // '@' and '`' are no letters
        {"\xC3\x84rger", "\xC3\xA4rger", false}, // beyond A to Z nothing is folded
        {"dimensions", "DIMENSION", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextContainsIgnoringCase(c.text, c.word), c.contained) << c.text << " / " << c.word;

    Float64 index = -1;
    EXPECT_FALSE(FindListItemInText("nothing of that", kKindNameList, &index));
    EXPECT_EQ(index, -1); // untouched
    EXPECT_TRUE(FindListItemInText("delete the Areas", kKindNameList, &index));
    EXPECT_EQ(index, 6);
}

} // namespace
