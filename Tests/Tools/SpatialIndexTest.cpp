// The spatial index: after any mix of creating, deleting, moving, cutting, undoing and redoing it
// hands out exactly the elements a walk of the list finds, in list order; picks and snaps over an
// indexed drawing find what a walk of the list finds.
#include "Model/ElementRecords.h"
#include "Model/SpatialIndex.h"
#include "Platform/MemoryManager.h"
#include "Model/UndoJournal.h"
#include "Tools/CutSplitJoin.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "ToolFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

class SpatialIndexTest : public ToolTest {
  protected:
    std::mt19937 random{11};

    double Uniform(double from, double to) {
        return std::uniform_real_distribution<double>(from, to)(random);
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    template <typename T> std::vector<T*> List(T* head) {
        std::vector<T*> all;
        for (T* e = head->next; e != nullptr; e = e->next)
            all.push_back(e);
        return all;
    }

    static bool Meets(const LineRecord* e, const double q[4]) {
        if (e->flags & (kLineOpenStart | kLineOpenEnd)) return true;
        return std::max(e->x1, e->x2) >= q[0] && std::min(e->x1, e->x2) <= q[2] &&
               std::max(e->y1, e->y2) >= q[1] && std::min(e->y1, e->y2) <= q[3];
    }
    static bool Meets(const ArcRecord* e, const double q[4]) {
        double r = std::fabs(e->radius);
        return e->cx + r >= q[0] && e->cx - r <= q[2] && e->cy + r >= q[1] && e->cy - r <= q[3];
    }

    // The candidates that meet the rectangle are exactly what the list walk finds, in its order,
    // and every candidate is in the list. False when the index did not narrow the query.
    template <typename T> bool Agrees(SInt16 kind, T* head, const double q[4]) {
        std::vector<void*> candidates;
        bool narrowed = SpatialCandidates(doc, kind, q[0], q[1], q[2], q[3], &candidates);
        std::vector<T*> all = List(head), expected, got;
        for (T* e : all)
            if (Meets(e, q)) expected.push_back(e);
        for (void* c : candidates) {
            T* e = static_cast<T*>(c);
            EXPECT_NE(std::find(all.begin(), all.end(), e), all.end()) << "a candidate not in the list";
            if (Meets(e, q)) got.push_back(e);
        }
        if (narrowed) {
            EXPECT_EQ(got, expected);
        }
        return narrowed;
    }

    void Query(int* narrowed) {
        for (int k = 0; k < 6; ++k) {
            double x = Uniform(-50, 1050), y = Uniform(-50, 1050), s = k < 4 ? Uniform(0, 3) : Uniform(0, 60);
            const double q[4] = {x - s, y - s, x + s, y + s};
            *narrowed += Agrees(kLineElement, doc->lineHead, q);
            *narrowed += Agrees(kArcElement, doc->arcHead, q);
        }
    }

    LineRecord* RandomLine() {
        std::vector<LineRecord*> all = List(doc->lineHead);
        return all.empty() ? nullptr : all[std::size_t(Below(int(all.size())))];
    }
    ArcRecord* RandomArc() {
        std::vector<ArcRecord*> all = List(doc->arcHead);
        return all.empty() ? nullptr : all[std::size_t(Below(int(all.size())))];
    }
};

TEST_F(SpatialIndexTest, AgreesWithTheListAfterEveryKindOfChange) {
    ASSERT_TRUE(IsUndoRecording(doc));
    for (int i = 0; i < 400; ++i) {
        double x = Uniform(0, 1000), y = Uniform(0, 1000);
        DrawnLine(x, y, x + Uniform(-15, 15), y + Uniform(-15, 15));
        DrawnArc(Uniform(0, 1000), Uniform(0, 1000), Uniform(0.5, 12));
    }
    DrawnLine(-40, 500, 1040, 520); // wider than most cells
    int narrowed = 0;
    Query(&narrowed);
    for (int step = 0; step < 240; ++step) {
        int op = Below(10);
        BeginUndoStep(doc);
        if (op == 0) {
            double x = Uniform(0, 1000), y = Uniform(0, 1000);
            AddLine(doc, x, y, x + Uniform(-15, 15), y + Uniform(-15, 15))->drawn = 1;
        } else if (op == 1) {
            AddArc(doc, Uniform(0, 1000), Uniform(0, 1000), Uniform(0.5, 12), 0, 360)->drawn = 1;
        } else if (op == 2) {
            RemoveLine(doc, RandomLine());
        } else if (op == 3) {
            RemoveArc(doc, RandomArc());
        } else if (op == 4) {
            // A move, as the tools make it: the state before, the change, the state after.
            LineRecord* line = RandomLine();
            RecordUndoLine(doc, line, false);
            double dx = Uniform(-300, 300), dy = Uniform(-300, 300);
            line->x1 += dx, line->x2 += dx, line->y1 += dy, line->y2 += dy;
            RecordUndoLine(doc, line, true);
        } else if (op == 5) {
            ArcRecord* arc = RandomArc();
            RecordUndoArc(doc, arc, false);
            arc->cx = Uniform(0, 1000), arc->radius *= 3;
            RecordUndoArc(doc, arc, true);
        } else if (op == 6) {
            LineRecord* line = RandomLine();
            CutLineBetweenPoints(doc, line, line->x1, line->y1, (line->x1 + line->x2) / 2,
                                 (line->y1 + line->y2) / 2);
        } else if (op == 7) {
            // Inserted in the middle of the list, behind the cursor.
            doc->drawing->cursors.lineCursor = RandomLine();
            AppendLineAtCursor(doc, Uniform(0, 1000), 300, Uniform(0, 1000), 310, true)->drawn = 1;
        } else if (op == 8) {
            MoveLineToListEnd(doc, RandomLine());
        }
        EndUndoStep(doc);
        if (op == 9) {
            UndoLastStep(doc);
            Query(&narrowed);
            if (Below(2) == 0) RedoStep(doc);
        }
        Query(&narrowed);
    }
    // Without an undo journal the changes are still heard of.
    doc->settings->undoOn = 0;
    for (int step = 0; step < 20; ++step) {
        LineRecord* line = RandomLine();
        RecordUndoLine(doc, line, false);
        line->x1 += 500, line->x2 += 500;
        RecordUndoLine(doc, line, true);
        Query(&narrowed);
    }
    EXPECT_GT(narrowed, 1000);
}

// The box of an element's stored points: what the index must hand out whenever it meets a query.
struct PointBox {
    double b[4] = {1e300, 1e300, -1e300, -1e300};
    void Add(double x, double y) {
        b[0] = std::min(b[0], x), b[1] = std::min(b[1], y), b[2] = std::max(b[2], x),
        b[3] = std::max(b[3], y);
    }
    bool Meets(const double q[4]) const {
        return b[2] >= q[0] && b[0] <= q[2] && b[3] >= q[1] && b[1] <= q[3];
    }
};

PointBox PointsOf(const TextRecord* e) {
    PointBox k;
    k.Add(e->x2, e->y2);
    for (int i = 0; i < 4; ++i)
        k.Add(e->corners[2 * i], e->corners[2 * i + 1]);
    return k;
}
PointBox PointsOf(const DimensionRecord* e) {
    PointBox k;
    k.Add(e->textX, e->textY);
    for (int i = 0; i < 3; ++i)
        k.Add(e->frame[2 * i], e->frame[2 * i + 1]);
    return k;
}
PointBox PointsOf(const PolylineRecord* e) {
    PointBox k;
    const Float64* xy = reinterpret_cast<const Float64*>(*e->points);
    for (int i = 0; i < e->pointCount; ++i)
        k.Add(xy[2 * i], xy[2 * i + 1]);
    return k;
}
PointBox PointsOf(const AreaRecord* e) {
    PointBox k;
    k.Add(e->minX, e->minY), k.Add(e->maxX, e->maxY);
    return k;
}

class SpatialIndexKinds : public SpatialIndexTest {
  protected:
    template <typename T> bool Agrees(SInt16 kind, T* head, const double q[4]) {
        std::vector<void*> candidates;
        bool narrowed = SpatialCandidates(doc, kind, q[0], q[1], q[2], q[3], &candidates);
        std::vector<T*> all = List(head), expected, got;
        for (T* e : all)
            if (PointsOf(e).Meets(q)) expected.push_back(e);
        for (void* c : candidates) {
            T* e = static_cast<T*>(c);
            EXPECT_NE(std::find(all.begin(), all.end(), e), all.end()) << "a candidate not in the list";
            if (PointsOf(e).Meets(q)) got.push_back(e);
        }
        if (narrowed) {
            EXPECT_EQ(got, expected) << kind;
        }
        return narrowed;
    }
    int QueryAll() {
        int narrowed = 0;
        for (int k = 0; k < 6; ++k) {
            double x = Uniform(-50, 1050), y = Uniform(-50, 1050), s = Uniform(0, 20);
            const double q[4] = {x - s, y - s, x + s, y + s};
            narrowed +=
                Agrees(kTextElement, doc->textHead, q) + Agrees(kDimensionElement, doc->dimensionHead, q) +
                Agrees(kPolylineElement, doc->polylineHead, q) + Agrees(kAreaElement, doc->areaHead, q);
        }
        return narrowed;
    }

    // A turned rectangle of w by h at (x, y) as four corners.
    void Corners(double x, double y, double w, double h, double angle, Float64 out[8]) {
        double c = std::cos(angle), s = std::sin(angle);
        const double u[4] = {0, w, w, 0}, v[4] = {0, 0, h, h};
        for (int i = 0; i < 4; ++i)
            out[2 * i] = x + u[i] * c - v[i] * s, out[2 * i + 1] = y + u[i] * s + v[i] * c;
    }
    void Text() {
        TextRecord* e = nullptr;
        LastText(doc, &e);
        e = NewTextElement(doc, &e->next);
        double angle = Below(2) ? 0 : Uniform(0, 6);
        Corners(Uniform(0, 1000), Uniform(0, 1000), Uniform(1, 30), Uniform(1, 5), angle, e->corners);
        e->angle = angle * 180 / 3.14159;
        e->x = e->corners[0], e->y = e->corners[1];
        e->x2 = e->x + Uniform(-40, 40), e->y2 = e->y + Uniform(-40, 40);
        e->drawn = 1;
        RecordUndoText(doc, e, true);
    }
    void Dimension() {
        DimensionRecord* e = nullptr;
        LastDimension(doc, &e);
        e = NewDimensionElement(doc, &e->next);
        Float64 c[8];
        Corners(Uniform(0, 1000), Uniform(0, 1000), Uniform(1, 30), Uniform(1, 5), Uniform(0, 6), c);
        e->textX = c[0], e->textY = c[1];
        std::copy(c + 2, c + 8, e->frame);
        e->drawn = 1;
        RecordUndoDimension(doc, e, true);
    }
    void Polyline() {
        PolylineRecord* e = nullptr;
        LastPolyline(doc, &e);
        e = NewPolylineElement(doc, &e->next);
        Float64 c[8];
        Corners(Uniform(0, 1000), Uniform(0, 1000), Uniform(1, 30), Uniform(1, 30), Uniform(0, 6), c);
        e->kind = Below(2) ? kPolylineEllipse : 0;
        e->pointCount = 4;
        PtrToHand(c, &e->points, sizeof c);
        e->drawn = 1;
        RecordUndoPolyline(doc, e, true);
    }
    void Area() {
        SeekLastArea(doc);
        AreaRecord* e = NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
        e->minX = Uniform(0, 1000), e->minY = Uniform(0, 1000);
        e->maxX = e->minX + Uniform(0, 40), e->maxY = e->minY + Uniform(0, 40);
        e->outline = NewOutlineHandle(3);
        e->drawn = 1;
        RecordUndoArea(doc, e, true);
    }
    template <typename T> T* Random(T* head) {
        std::vector<T*> all = List(head);
        return all.empty() ? nullptr : all[std::size_t(Below(int(all.size())))];
    }
};

TEST_F(SpatialIndexKinds, AgreeWithTheListsAfterEveryKindOfChange) {
    for (int i = 0; i < 300; ++i)
        Text(), Dimension(), Polyline(), Area();
    int narrowed = QueryAll();
    for (int step = 0; step < 150; ++step) {
        int op = Below(8);
        BeginUndoStep(doc);
        if (op == 0) {
            Text(), Dimension(), Polyline(), Area();
        } else if (op == 1) {
            RemoveText(doc, Random(doc->textHead));
            RemoveDimension(doc, Random(doc->dimensionHead));
        } else if (op == 2) {
            RemovePolyline(doc, Random(doc->polylineHead));
            RemoveArea(doc, Random(doc->areaHead));
        } else if (op == 3) {
            TextRecord* t = Random(doc->textHead);
            RecordUndoText(doc, t, false);
            for (int i = 0; i < 8; i += 2)
                t->corners[i] += 200;
            RecordUndoText(doc, t, true);
        } else if (op == 4) {
            PolylineRecord* p = Random(doc->polylineHead);
            RecordUndoPolyline(doc, p, false);
            reinterpret_cast<Float64*>(*p->points)[1] -= 300;
            RecordUndoPolyline(doc, p, true);
        } else if (op == 5) {
            AreaRecord* a = Random(doc->areaHead);
            RecordUndoArea(doc, a, false);
            a->maxX += 100;
            RecordUndoArea(doc, a, true);
            DimensionRecord* m = Random(doc->dimensionHead);
            RecordUndoDimension(doc, m, false);
            m->textY -= 100;
            RecordUndoDimension(doc, m, true);
        }
        EndUndoStep(doc);
        if (op == 6) UndoLastStep(doc);
        if (op == 7) RedoStep(doc);
        narrowed += QueryAll();
    }
    EXPECT_GT(narrowed, 1000);
}

TEST_F(SpatialIndexTest, PicksAndSnapsFindTheFirstHitInListOrder) {
    // Dense enough that a rectangle often meets several; the reference is the plain list walk.
    for (int i = 0; i < 1500; ++i) {
        double x = Uniform(0, 200), y = Uniform(0, 200);
        DrawnLine(x, y, x + Uniform(-10, 10), y + Uniform(-10, 10));
        if (i % 3 == 0) DrawnArc(Uniform(0, 200), Uniform(0, 200), Uniform(0.5, 8));
    }
    DrawnLine(0, 0, 1, 1)->flags |= kLineOpenEnd; // a line that runs on through everything
    int hits = 0;
    for (int k = 0; k < 400; ++k) {
        PointAt(Uniform(-10, 210), Uniform(-10, 210));
        const ToolInputState& in = doc->drawing->toolInput;
        PickRect r{in.pickMinX, in.pickMaxX, in.pickMinY, in.pickMaxY, in.cursorX, in.cursorY};
        LineRecord* first = nullptr;
        int count = 0;
        for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
            if (LineHitTest(e, r)) {
                if (first == nullptr) first = e;
                ++count;
            }
        ArcRecord* firstArc = nullptr;
        for (ArcRecord* e = doc->arcHead->next; e != nullptr && firstArc == nullptr; e = e->next)
            if (ArcHitTest(e, r)) firstArc = e;

        EXPECT_EQ(bool(PickLine(doc, kPickFind, false, false, nullptr)), first != nullptr);
        EXPECT_EQ(doc->drawing->cursors.lineCursor, first);
        EXPECT_EQ(bool(PickArc(doc, kPickFind, false, false, nullptr)), firstArc != nullptr);
        EXPECT_EQ(doc->drawing->cursors.arcCursor, firstArc);
        LinePickBuffer buffer;
        PickLine(doc, kPickFind, false, false, &buffer);
        EXPECT_EQ(buffer.count, std::min(count, int(kPickBufferCapacity)));
        if (first != nullptr && buffer.count > 0) {
            EXPECT_EQ(buffer.records[0].x1, first->x1);
        }
        hits += first != nullptr;

        doc->settings->snapMode = kSnapElementPoint;
        CommandFieldOf(doc)->valueCount = 0;
        bool snapped = SnapCursor(doc);
        if (first != nullptr) {
            EXPECT_TRUE(snapped);
            double x = doc->drawing->toolInput.cursorX, y = doc->drawing->toolInput.cursorY;
            bool atPoint = (x == first->x1 && y == first->y1) || (x == first->x2 && y == first->y2) ||
                           (x == (first->x1 + first->x2) / 2 && y == (first->y1 + first->y2) / 2);
            EXPECT_TRUE(atPoint);
        }
    }
    EXPECT_GT(hits, 50);
}

} // namespace
