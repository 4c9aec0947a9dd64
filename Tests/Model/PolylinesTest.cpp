// Polylines: the point buffer and its limit, making polylines and polygons, vertex edits with undo,
// and exploding each kind into lines and arcs.
#include "DocumentFixture.h"
#include "Model/PolylineGeometry.h"
#include "Model/Polylines.h"
#include "Other/MathPrimitives.h"
#include "Model/UndoJournal.h"
#include "Model/DrawingUnits.h"
#include "Platform/MemoryManager.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

class Polylines : public DocumentTest {
  protected:
    void SetUp() override {
        DocumentTest::SetUp();
        doc->settings->undoOn = 1;
    }

    void Click(Float64 x, Float64 y) {
        doc->drawing->toolInput.cursorX = x;
        doc->drawing->toolInput.cursorY = y;
        AppendTempPoint(doc);
    }

    PolylineRecord* Make(SInt16 kind, std::vector<std::pair<Float64, Float64>> points, Float64 a1 = 0,
                         Float64 a2 = 0) {
        EmptyTempPoints(doc);
        for (auto [x, y] : points)
            Click(x, y);
        PolylineRecord* made = nullptr;
        EXPECT_TRUE(BuildPolylineFromPoints(doc, &made, kind, false, a1, a2));
        return made;
    }

    std::vector<std::pair<Float64, Float64>> PointsOf(const PolylineRecord* p) const {
        std::vector<std::pair<Float64, Float64>> out;
        const Float64* xy = PolylinePoints(p);
        for (int i = 0; xy && i < p->pointCount; ++i)
            out.emplace_back(xy[2 * i], xy[2 * i + 1]);
        return out;
    }

    int Count(PolylineRecord* head) const {
        int n = 0;
        for (auto* e = head->next; e; e = e->next)
            ++n;
        return n;
    }
    int CountArcs() const {
        int n = 0;
        for (auto* e = doc->arcHead->next; e; e = e->next)
            ++n;
        return n;
    }
};

TEST_F(Polylines, RepeatedClicksGiveOneVertexAndAnEmptyBufferMakesNothing) {
    PolylineRecord* made = reinterpret_cast<PolylineRecord*>(1);
    EXPECT_FALSE(CreatePolylineElement(doc, &made, kPolylineSegments, false, 0, 0));
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(Count(doc->polylineHead), 0);

    PolylineRecord* p = Make(kPolylineSegments, {{0, 0}, {0, 0}, {5, 0}, {5, 0}, {5, 5}, {0, 0}});
    using P = std::vector<std::pair<Float64, Float64>>;
    EXPECT_EQ(PointsOf(p), (P{{0, 0}, {5, 0}, {5, 5}, {0, 0}}));
    EXPECT_EQ(TempPointCount(doc), 0); // the buffer is emptied for the next polyline
    EXPECT_EQ(p->layer, doc->settings->currentLayer);
}

TEST_F(Polylines, TheBufferRefusesPointsBeyondItsCountWithOneLogLine) {
    doc->drawing->toolInput.tempPointCount = kMaxTempPoints - 1;
    doc->drawing->toolInput.cursorX = 7;
    EXPECT_TRUE(AppendTempPoint(doc));
    EXPECT_EQ(TempPointCount(doc), kMaxTempPoints);
    Float64 x = 0, y = 0;
    ASSERT_TRUE(GetTempPoint(doc, kMaxTempPoints - 1, &x, &y));
    EXPECT_EQ(x, 7);

    EXPECT_FALSE(AppendTempPoint(doc));
    EXPECT_EQ(TempPointCount(doc), kMaxTempPoints); // never wraps negative
    Handle log = doc->drawing->logText;
    ASSERT_NE(log, nullptr);
    std::string text(*log, size_t(GetHandleSize(log)));
    EXPECT_NE(text.find("32767"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 1);
}

TEST_F(Polylines, ParametersAndCornerRadiusAreStoredByKind) {
    doc->drawing->toolInput.cornerRadius = 2;
    doc->settings->drawingScale = 1;
    PolylineRecord* e = Make(kPolylineEllipse, {{0, 0}, {4, 0}, {4, 2}, {0, 2}}, 30, 120);
    EXPECT_EQ(e->params[0], 30);
    EXPECT_EQ(e->params[1], 120);
    PolylineRecord* r = Make(kPolylineRoundedRect, {{0, 0}, {4, 0}, {4, 2}, {0, 2}}, 30, 120);
    EXPECT_NEAR(r->params[0], 2 * UnitToMillimetres(doc), 1e-12);
    EXPECT_EQ(r->params[1], 0);
}

TEST_F(Polylines, ARegularPolygonRepeatsItsFirstVertex) {
    ASSERT_TRUE(CreateRegularPolygon(doc, 10, 20, 5, 6, 90));
    PolylineRecord* p = doc->polylineHead->next;
    ASSERT_NE(p, nullptr);
    auto pts = PointsOf(p);
    ASSERT_EQ(pts.size(), 7u);
    EXPECT_NEAR(pts[0].first, 10, 1e-9);
    EXPECT_NEAR(pts[0].second, 25, 1e-9);
    EXPECT_EQ(pts[6], pts[0]);
    for (auto [x, y] : pts)
        EXPECT_NEAR(std::hypot(x - 10, y - 20), 5, 1e-9);
}

TEST_F(Polylines, VertexEditsChangeThePointsAndUndoAsOneStepEach) {
    PolylineRecord* p = Make(kPolylineSegments, {{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    using P = std::vector<std::pair<Float64, Float64>>;
    struct Case {
        const char* name;
        std::function<Boolean()> edit;
        P after;
    };
    std::vector<Case> cases = {
        {"move", [&] { return MovePolylineVertex(doc, p, 1, 1, 5); }, P{{0, 0}, {1, 5}, {2, 0}, {3, 0}}},
        {"delete inside", [&] { return DeletePolylineVertex(doc, p, 1); }, P{{0, 0}, {2, 0}, {3, 0}}},
        {"delete last", [&] { return DeletePolylineVertex(doc, p, 3); }, P{{0, 0}, {1, 0}, {2, 0}}},
        {"insert", [&] { return InsertPolylineVertex(doc, p, 2, 9, 9); },
         P{{0, 0}, {1, 0}, {9, 9}, {2, 0}, {3, 0}}},
        {"insert at end", [&] { return InsertPolylineVertex(doc, p, 4, 9, 9); },
         P{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {9, 9}}},
    };
    P before = PointsOf(p);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.edit());
        p = doc->polylineHead->next;
        EXPECT_EQ(PointsOf(p), c.after);
        EXPECT_EQ(GetHandleSize(p->points), Size(c.after.size() * 16));
        UndoLastStep(doc);
        p = doc->polylineHead->next;
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(PointsOf(p), before);
        EXPECT_EQ(Count(doc->polylineHead), 1);
    }
}

TEST_F(Polylines, VertexEditsOutsideThePolylineOrOfItsOnlyPointChangeNothing) {
    PolylineRecord* p = Make(kPolylineSegments, {{0, 0}, {1, 0}});
    EXPECT_FALSE(MovePolylineVertex(doc, p, 2, 0, 0));
    EXPECT_FALSE(MovePolylineVertex(doc, p, -1, 0, 0));
    EXPECT_FALSE(DeletePolylineVertex(doc, p, 2));
    EXPECT_FALSE(InsertPolylineVertex(doc, p, 3, 0, 0));
    ASSERT_TRUE(DeletePolylineVertex(doc, p, 0));
    EXPECT_FALSE(DeletePolylineVertex(doc, p, 0)); // a polyline never has no points
    EXPECT_EQ(p->pointCount, 1);
    EXPECT_EQ(PointsOf(p), (std::vector<std::pair<Float64, Float64>>{{1, 0}}));
}

TEST_F(Polylines, EachKindExplodesIntoItsLinesAndArcs) {
    struct Case {
        const char* name;
        SInt16 kind;
        std::vector<std::pair<Float64, Float64>> points;
        Float64 a1, a2;
        Float64 radius;
        int lines, arcs; // -1: at least 4
    };
    std::vector<Case> cases = {
        {"segments", kPolylineSegments, {{0, 0}, {10, 0}, {10, 10}}, 0, 0, 0, 2, 0},
        {"spline", kPolylineSpline, {{0, 0}, {10, 10}, {20, 0}, {30, 10}}, 0, 0, 0, 16, 0},
        {"curve", kPolylineCurve, {{0, 0}, {10, 10}, {20, 0}}, 0, 0, 0, 32, 0},
        {"circle", kPolylineEllipse, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0, 360, 0, 0, 1},
        {"ellipse", kPolylineEllipse, {{0, 0}, {20, 0}, {20, 10}, {0, 10}}, 0, 360, 0, -1, 0},
        {"rounded rectangle", kPolylineRoundedRect, {{0, 0}, {20, 0}, {20, 10}, {0, 10}}, 0, 0, 2, 4, 4},
        {"square corners", kPolylineRoundedRect, {{0, 0}, {20, 0}, {20, 10}, {0, 10}}, 0, 0, 0, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DisposeDocumentElements(doc);
        doc->drawing->toolInput.cornerRadius =
            c.radius / UnitToMillimetres(doc) / doc->settings->drawingScale;
        doc->settings->currentLayer = 7;
        PolylineRecord* p = Make(c.kind, c.points, c.a1, c.a2);
        p->selected = 1;
        doc->settings->currentLayer = 0;
        EXPECT_EQ(ExplodeSelectedPolylines(doc), 1);
        EXPECT_EQ(Count(doc->polylineHead), 0);
        if (c.lines < 0)
            EXPECT_GE(CountLines(), 4);
        else
            EXPECT_EQ(CountLines(), c.lines);
        EXPECT_EQ(CountArcs(), c.arcs);
        for (LineRecord* l = doc->lineHead->next; l; l = l->next)
            EXPECT_EQ(l->layer, 7);
        EXPECT_TRUE(RecordedAlerts().empty());
    }
}

TEST_F(Polylines, ExplodedPiecesJoinAndKeepTheShape) {
    // The curve passes through its points; the rounded rectangle's sides meet its arcs.
    PolylineRecord* curve = Make(kPolylineCurve, {{0, 0}, {10, 10}, {20, 0}});
    std::vector<PolylinePiece> pieces;
    ASSERT_TRUE(PolylinePieces(doc, curve, &pieces));
    EXPECT_EQ(pieces.front().x1, 0);
    EXPECT_NEAR(pieces[15].x2, 10, 1e-9);
    EXPECT_NEAR(pieces[15].y2, 10, 1e-9);
    EXPECT_NEAR(pieces.back().x2, 20, 1e-9);

    Float64 corners[8] = {0, 0, 20, 0, 20, 10, 0, 10}, sides[16], centres[8], rotation, r;
    RoundedRectParts(corners, 3, sides, centres, &rotation, &r);
    EXPECT_EQ(rotation, 0);
    for (int k = 0; k < 4; ++k) {
        Float64 end = (rotation + 270 + 90 * k) * kDegreesToRadians; // the arc's end meets side k
        EXPECT_NEAR(centres[2 * k] + r * std::cos(end), sides[4 * k], 1e-9);
        EXPECT_NEAR(centres[2 * k + 1] + r * std::sin(end), sides[4 * k + 1], 1e-9);
    }
    // A radius beyond half the shorter side is cut to it; corners given clockwise give the same parts.
    Float64 clockwise[8] = {0, 0, 0, 10, 20, 10, 20, 0}, sides2[16], centres2[8];
    RoundedRectParts(clockwise, 99, sides2, centres2, &rotation, &r);
    EXPECT_EQ(r, 5);
    EXPECT_EQ(rotation, 0);
}

TEST_F(Polylines, ExplodeIsOneUndoStep) {
    doc->settings->undoOn = 1;
    ASSERT_TRUE(IsUndoRecording(doc));
    Make(kPolylineSegments, {{0, 0}, {10, 0}, {10, 10}})->selected = 1;
    Make(kPolylineRoundedRect, {{0, 0}, {20, 0}, {20, 10}, {0, 10}})->selected = 1;
    ExplodeSelectedPolylines(doc);
    EXPECT_EQ(Count(doc->polylineHead), 0);
    UndoLastStep(doc);
    EXPECT_EQ(Count(doc->polylineHead), 2);
    EXPECT_EQ(CountLines(), 0);
}

TEST_F(Polylines, WhatCannotBeExplodedIsKeptAndTheCommandAlwaysEnds) {
    // A picture is deselected and kept, the others explode; kind 3 stops the command. Either way
    // message 157 is shown once, the undo step is closed and the undo switch is as it was.
    struct Case {
        const char* name;
        SInt16 blocker;
        int remainingSelected;
        int exploded;
    };
    for (const Case& c :
         {Case{"picture", kPolylinePicture, 0, 2}, Case{"kind 3", kPolylineUnexplodable, 3, 0}}) {
        SCOPED_TRACE(c.name);
        DisposeDocumentElements(doc);
        ClearRecordedAlerts();
        Make(c.blocker, {{0, 0}, {10, 10}})->selected = 1;
        Make(kPolylineSegments, {{0, 0}, {10, 0}})->selected = 1;
        Make(kPolylineSegments, {{0, 5}, {10, 5}})->selected = 1;
        SInt16 nesting = doc->drawing->undo.undoNesting;
        EXPECT_EQ(ExplodeSelectedPolylines(doc), c.exploded);
        EXPECT_EQ(doc->drawing->undo.undoNesting, nesting);
        EXPECT_TRUE(doc->settings->undoOn);
        int selected = 0;
        for (auto* p = doc->polylineHead->next; p; p = p->next)
            selected += p->selected;
        EXPECT_EQ(selected, c.remainingSelected);
        EXPECT_EQ(Count(doc->polylineHead), 3 - c.exploded);
        ASSERT_EQ(RecordedAlerts().size(), 1u);
        EXPECT_EQ(RecordedAlerts()[0].params[0], "Polylines of this kind cannot be exploded.");
    }
}

TEST_F(Polylines, ManySelectedPolylinesAskToLeaveUndoOff) {
    struct Case {
        int count;
        SInt16 answer;
        bool alert;
        bool journalled;
    };
    for (Case c : {Case{99, 1, false, true}, Case{100, 1, true, false}, Case{100, 2, true, true}}) {
        SCOPED_TRACE(c.count);
        DisposeDocumentElements(doc);
        ResetUndoJournal(doc);
        ClearRecordedAlerts();
        SetAlertResponder([&](const AlertRecord&) { return c.answer; });
        for (int i = 0; i < c.count; ++i)
            Make(kPolylineSegments, {{0, Float64(i)}, {10, Float64(i)}})->selected = 1;
        SInt16 steps = doc->drawing->undo.undoStepCount;
        EXPECT_EQ(ExplodeSelectedPolylines(doc), c.count);
        EXPECT_EQ(RecordedAlerts().size(), c.alert ? 1u : 0u);
        if (c.alert) {
            EXPECT_EQ(RecordedAlerts()[0].alertId, kExplodeAlert);
        }
        EXPECT_TRUE(doc->settings->undoOn);
        EXPECT_EQ(CountLines(), c.count);
        if (c.journalled)
            EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
        else
            EXPECT_EQ(doc->drawing->undo.undoStepCount, 0);
    }
}

} // namespace
