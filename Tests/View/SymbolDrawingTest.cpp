// Symbol instances drawn: hidden layers, elements outside the view, the order of the kinds, the
// plotter pen by pen, print output without marks, and the palette preview of odd definitions.
#include "ViewTestSupport.h"
#include "Model/Symbols.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "View/SymbolDrawing.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> P(const std::string& s) {
    std::vector<unsigned char> p(s.size() + 1);
    p[0] = static_cast<unsigned char>(s.size());
    std::memcpy(p.data() + 1, s.data(), s.size());
    return p;
}

// Makes a definition of the elements given, about the origin, without placing it.
SymbolDefRecord* DefinitionOfAll(DocWindowRecord* doc, const std::string& name) {
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        e->selected = 1;
    for (ArcRecord* e = doc->arcHead->next; e; e = e->next)
        e->selected = 1;
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        e->selected = 1;
    for (PolylineRecord* e = doc->polylineHead->next; e; e = e->next)
        e->selected = 1;
    for (DimensionRecord* e = doc->dimensionHead->next; e; e = e->next)
        e->selected = 1;
    for (AreaRecord* e = doc->areaHead->next; e; e = e->next)
        e->selected = 1;
    auto n = P(name);
    return CreateSymbolFromSelection(doc, 0, 0, n.data(), false);
}

std::vector<char> gKinds;
void RecordArea(DocWindowRecord*, AreaRecord*) {
    gKinds.push_back('A');
}
void RecordPolyline(DocWindowRecord*, PolylineRecord*) {
    gKinds.push_back('P');
}
void RecordDimension(DocWindowRecord*, DimensionRecord*) {
    gKinds.push_back('D');
}

class SymbolDrawing : public ViewDocumentTest {
  protected:
    void SetUp() override {
        ViewDocumentTest::SetUp();
        InstallSymbolDrawingHook();
        gKinds.clear();
    }
};

} // namespace

TEST_F(SymbolDrawing, HiddenLayersAndElementsOutsideTheViewAreNotDrawn) {
    AddTestLine(0, 0, 10, 0);
    AddTestLine(500, 0, 510, 0); // far right of the 200 x 100 view once placed
    SymbolDefRecord* def = DefinitionOfAll(doc, "Pair");
    SymbolInstanceRecord* s = CreateSymbolInstance(doc, 20, 20, 0, 1, 1, def);

    DrawRecorder recorder;
    DrawSymbolInstance(doc, s, true);
    ASSERT_EQ(recorder.Of(DrawCallKind::line).size(), 1u);
    EXPECT_DOUBLE_EQ(recorder.Of(DrawCallKind::line)[0].v[0], 20);

    recorder.Clear();
    s->drawn = 0;
    SetLayerVisible(doc->layerVisible, s->layer, false);
    DrawSymbolInstance(doc, s, true);
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(s->drawn);
}

TEST_F(SymbolDrawing, AreasComeFirstOrLastAsTheSettingsSayAndOnlyWithAreas) {
    gViewHooks.drawArea = RecordArea;
    gViewHooks.drawPolyline = RecordPolyline;
    gViewHooks.drawDimension = RecordDimension;
    SymbolDefRecord* def = nullptr;
    {
        auto n = P("Kinds");
        def = CreateSymbolFromSelection(doc, 0, 0, n.data(), false);
    }
    // One element of each of the three kinds drawn through hooks, straight into the definition.
    def->areaHead->next = NewAreaRecord();
    def->areaHead->next->lastHoleIndex = -1;
    def->polylineHead->next = NewPolylineRecord();
    def->dimensionHead->next = NewDimensionRecord();
    SymbolInstanceRecord* s = CreateSymbolInstance(doc, 0, 0, 0, 1, 1, def);

    doc->settings->areasFirst = 1;
    DrawSymbolInstance(doc, s, true);
    EXPECT_EQ(std::string(gKinds.begin(), gKinds.end()), "ADP");
    gKinds.clear();
    doc->settings->areasFirst = 0;
    DrawSymbolInstance(doc, s, true);
    EXPECT_EQ(std::string(gKinds.begin(), gKinds.end()), "DPA");
    gKinds.clear();
    DrawSymbolInstance(doc, s, false);
    EXPECT_EQ(std::string(gKinds.begin(), gKinds.end()), "DP");
}

// The plotter draws instances one pen at a time: each pass outputs the elements of its pen only.
TEST_F(SymbolDrawing, ThePlotterDrawsInstancesPenByPen) {
    AddTestLine(0, 0, 10, 0)->pen = 1;
    AddTestLine(0, 5, 10, 5)->pen = 2;
    AddTestArc(5, 5, 3, 0, 360)->pen = 2;
    SymbolDefRecord* def = DefinitionOfAll(doc, "Pens");
    SymbolInstanceRecord* s = CreateSymbolInstance(doc, 100, 0, 90, 1, 1, def);

    PlotRecorder plot(doc);
    struct PenCase {
        SInt16 pen;
        size_t lines, circles;
    } cases[] = {{1, 1, 0}, {2, 1, 1}, {3, 0, 0}, {0, 2, 1}};
    for (const PenCase& c : cases) {
        SCOPED_TRACE(c.pen);
        plot.calls.clear();
        doc->drawing->output.plotPen = c.pen;
        DrawSymbolInstance(doc, s, true);
        size_t lines = 0, circles = 0;
        for (const PlotCall& call : plot.calls) {
            lines += call.kind == 'L';
            circles += call.kind == 'C';
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(circles, c.circles);
    }
    // Plotted in drawing millimetres, turned a quarter about the position.
    plot.calls.clear();
    doc->drawing->output.plotPen = 1;
    DrawSymbolInstance(doc, s, true);
    ASSERT_EQ(plot.calls.size(), 1u);
    EXPECT_NEAR(plot.calls[0].v[0], 100, 1e-9);
    EXPECT_NEAR(std::fabs(plot.calls[0].v[3] - plot.calls[0].v[1]), 10, 1e-9);
    doc->drawing->output.plotPen = 0;
}

// A selected instance shows its frame and insertion cross on screen; the content pass draws it.
TEST_F(SymbolDrawing, ASelectedInstanceShowsItsFrameAndCross) {
    AddTestLine(0, 0, 10, 0);
    AddTestLine(0, 0, 0, 5);
    SymbolDefRecord* def = DefinitionOfAll(doc, "Mark");
    SymbolInstanceRecord* s = CreateSymbolInstance(doc, 50, 50, 0, 1, 1, def);
    DrawRecorder recorder;
    DrawViewContent(doc);
    EXPECT_EQ(recorder.Of(DrawCallKind::line).size(), 2u);
    recorder.Clear();
    s->selected = 1;
    DrawViewContent(doc);
    // The elements, four frame sides and two cross strokes, in the selection colour but the elements.
    std::vector<DrawCall> lines = recorder.Of(DrawCallKind::line);
    ASSERT_EQ(lines.size(), 8u);
    int red = 0;
    for (const DrawCall& c : lines)
        red += c.colour.red == 0xFFFF && c.colour.green == 0;
    EXPECT_EQ(red, 6);

    // Print and PDF output draw the elements only, in their own colours.
    recorder.Clear();
    {
        PrintPage page(doc, 300, 72 / 25.4);
        EXPECT_TRUE(DrawDrawingWithProgress(doc, 0, 100));
    }
    lines = recorder.Of(DrawCallKind::line);
    ASSERT_EQ(lines.size(), 2u);
    for (const DrawCall& c : lines)
        EXPECT_FALSE(c.colour.red == 0xFFFF && c.colour.green == 0);
}

class SymbolPreview : public ViewWindowTest {};

// The definition fills the 61-pixel square on its longer side and is centred on the other; a
// definition with no width, no height or broken extents draws without dividing by zero.
TEST_F(SymbolPreview, FitsTheSquareAndSurvivesDegenerateExtents) {
    AppendTestLine(doc, 0, 0, 10, 0);
    AppendTestLine(doc, 0, 5, 10, 5);
    SymbolDefRecord* def = DefinitionOfAll(doc, "Wide");
    SetPort(GetWindowPort(window));
    RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    DrawSymbolPreview(def, 20, 20);
    // Width 10 -> 61 pixels; height 5 -> 30.5, centred: rows 35.25 and 65.75.
    EXPECT_FALSE(IsBackground(50, 35));
    EXPECT_FALSE(IsBackground(50, 66));
    EXPECT_TRUE(IsBackground(50, 50));
    EXPECT_FALSE(IsBackground(80, 66));
    EXPECT_TRUE(IsBackground(83, 66));

    const Float64 odd[][4] = {
        {0, 0, 0, 0},
        {0, 0, 0, 5},
        {std::numeric_limits<Float64>::quiet_NaN(), 0, 1, 1},
        {0, 0, std::numeric_limits<Float64>::infinity(), 1},
    };
    for (const auto& box : odd) {
        def->minX = box[0], def->minY = box[1], def->maxX = box[2], def->maxY = box[3];
        DrawSymbolPreview(def, 100, 20); // must not trap or hang
    }
    EXPECT_GT(CountInk(), 0);
}
