// The dimension tools end to end: every tool of group 4 by queued clicks and typed points, letters
// and texts through the program's own loop; each dimension undone and redone exactly; Escape at
// every step; the user's layer, pen, scale, prefix and snap mode after every dimension.
#include "ToolGuiFixture.h"

#include "Model/Dimensions.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Platform/AppResources.h"
#include "Other/NumberFormat.h"
#include "Platform/DialogManager.h"
#include "Shell/MenuCommands.h"
#include "TestSupport.h"
#include "Tools/CommandField.h"
#include "Tools/DimensionTools.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Input {
    double x, y;      // a click, unless text is given
    const char* text; // typed, then Return
};

Input At(double x, double y) {
    return {x, y, nullptr};
}
Input Typed(const char* text) {
    return {0, 0, text};
}

std::string Text(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

class DimensionToolsGui : public ToolGuiTest {
  protected:
    void Choose(int tool) { ChooseGroupTool(4, tool); }
    void Feed(const Input& in) {
        if (in.text != nullptr)
            Type(in.text);
        else
            ClickAt(in.x, in.y);
    }
    std::vector<DimensionRecord*> Dims() const {
        std::vector<DimensionRecord*> all;
        for (DimensionRecord* e = doc->dimensionHead->next; e != nullptr; e = e->next)
            all.push_back(e);
        return all;
    }
    DimensionRecord* LastDim() const {
        auto all = Dims();
        return all.empty() ? nullptr : all.back();
    }
    using DimFields = std::tuple<int, double, double, double, double, double, double, double, double,
                                 std::string, std::string, std::string, int, int, int, unsigned>;
    // The drawing's dimensions in a stable order: redo may put a record elsewhere in its list.
    std::vector<DimFields> Drawing() const {
        std::vector<DimFields> all;
        for (DimensionRecord* e : Dims())
            all.emplace_back(e->kind, e->x1, e->y1, e->x2, e->y2, e->auxX, e->auxY, e->textX, e->textY,
                             Text(e->text), Text(e->upperTolerance), Text(e->lowerTolerance), e->layer,
                             e->pen, e->group, e->flags);
        std::sort(all.begin(), all.end());
        return all;
    }
    int LineCount() const {
        int n = 0;
        for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    // Lines along y = 0 and x = 0 meeting at the origin, a circle of radius 20 about (150, 100), and
    // one horizontal dimension from (10, 150) to (60, 150) made earlier on layer 2. The user draws on
    // layer 2 with pen 1; dimensions go on layer 5 with pen 3; the prefix is "d=".
    void Scene() {
        DocSettings* st = doc->settings;
        st->currentLayer = 2;
        st->currentPen = 1;
        st->dimLayer = 5;
        st->useDimLayer = 1;
        st->dimPen = 3;
        st->useDimPen = 1;
        st->dimPrefix[0] = 2;
        st->dimPrefix[1] = 'd';
        st->dimPrefix[2] = '=';
        st->snapMode = 0;
        Draw(0, 0, 200, 0);
        Draw(0, 0, 0, 100);
        DrawCircle(150, 100, 20);
        BeginUndoStep(doc);
        CreateHorizontalDimension(doc, 10, 150, 60, 150, 35, 165, nullptr, nullptr, nullptr);
        EndUndoStep(doc);
        RedrawWindow(doc);
    }
    // Where a click picks the dimension of the scene: its text point.
    Input OnSceneDimension() const {
        double x, y;
        DimensionTextPoint(doc->settings, Dims().front(), &x, &y);
        return At(std::round(x * 2) / 2, std::round(y * 2) / 2);
    }
    std::string LastMessage() const {
        return RecordedAlerts().empty() ? "" : RecordedAlerts().back().params[0];
    }
};

// Every tool makes its dimensions on the dimension layer with the dimension pen, and leaves the
// user's layer, pen, width, scale and prefix as they were; each change is undone and redone exactly.
TEST_F(DimensionToolsGui, EveryToolMakesItsDimensionThenUndoAndRedoExactly) {
    const std::string prefix = "d=", diameter = "d=\xC3\x98", radius = "d=R";
    struct Row {
        int tool;
        const char* what;
        std::vector<Input> input;
        int added;         // dimensions more than before; 0 for a change of one
        int kind;          // of the last dimension
        std::string start; // its text begins so
        std::function<void(const DimensionRecord*)> check;
    };
    auto points = [](double x1, double y1, double x2, double y2) {
        return [=](const DimensionRecord* d) {
            EXPECT_NEAR(d->x1, x1, 1e-9);
            EXPECT_NEAR(d->y1, y1, 1e-9);
            EXPECT_NEAR(d->x2, x2, 1e-9);
            EXPECT_NEAR(d->y2, y2, 1e-9);
        };
    };
    const Row rows[] = {
        {0,
         "horizontal",
         {At(10, 20), At(50, 30), At(30, 60)},
         1,
         kDimHorizontal,
         prefix + "40",
         points(10, 20, 50, 30)},
        {1,
         "vertical",
         {At(10, 20), At(50, 60), At(80, 40)},
         1,
         kDimVertical,
         prefix + "40",
         points(10, 20, 50, 60)},
        {2,
         "aligned along its points, given right to left",
         {At(50, 50), At(20, 10), At(20, 60), Typed("")},
         1,
         kDimAligned,
         prefix + "50",
         points(20, 10, 50, 50)},
        {2,
         "aligned along a picked line",
         {At(20, 10), At(50, 50), At(20, 60), At(100, 0)},
         1,
         kDimAligned,
         prefix + "30",
         [](const DimensionRecord* d) {
             EXPECT_NEAR(d->auxX, 1, 1e-12);
             EXPECT_NEAR(d->auxY, 0, 1e-12);
         }},
        {3,
         "horizontal chain, lowercase letter",
         {At(90, 30), At(10, 20), At(40, 25), Typed(""), At(50, 70), Typed("h")},
         2,
         kDimHorizontal,
         prefix + "50",
         points(40, 25, 90, 30)},
        {3,
         "vertical chain",
         {At(10, 20), At(40, 45), At(20, 90), Typed(""), At(120, 50), Typed("V")},
         2,
         kDimVertical,
         prefix + "45",
         points(40, 45, 20, 90)},
        {3,
         "parallel chain along the first two points",
         {At(10, 10), At(40, 50), At(70, 90), Typed(""), At(20, 80), Typed("p"), Typed("")},
         2,
         kDimAligned,
         prefix + "50",
         points(40, 50, 70, 90)},
        {4,
         "baseline on the bottom line",
         {At(100, 0), At(60, 40), At(30, 20), Typed(""), At(50, 10)},
         2,
         kDimHorizontal,
         prefix + "60",
         points(0, 0, 60, 40)},
        {5,
         "points to the bottom line",
         {At(100, 0), At(30, 20), At(60, 40), Typed(""), At(80, 80)},
         2,
         kDimPointLine,
         prefix + "40",
         nullptr},
        {6, "diameter of a circle", {At(170, 100), At(190, 120)}, 1, kDimDiameter, diameter + "40", nullptr},
        {6,
         "diameter between points of one height",
         {At(10, 20), At(50, 20), At(30, 40)},
         1,
         kDimHorizontal,
         diameter + "40",
         nullptr},
        {6,
         "diameter between points one above the other",
         {At(10, 20), At(10, 60), At(30, 40)},
         1,
         kDimVertical,
         diameter + "40",
         nullptr},
        {6,
         "diameter between other points",
         {At(10, 20), At(40, 60), At(60, 20)},
         1,
         kDimAligned,
         diameter + "50",
         nullptr},
        {7, "radius", {At(150, 120), At(180, 130)}, 1, kDimRadius, radius + "20", nullptr},
        {8,
         "angle between the two lines",
         {At(100, 0), At(0, 50), At(30, 30), At(40, 40)},
         1,
         kDimAngle,
         prefix + "90",
         [this](const DimensionRecord* d) {
             double x, y; // the text, and the arc through it, at the second point
             DimensionTextPoint(doc->settings, d, &x, &y);
             EXPECT_NEAR(x, 40, 1e-9);
             EXPECT_NEAR(y, 40, 1e-9);
         }},
        {9,
         "new text and tolerance",
         {Input{}, Typed("ABC,+0.1")},
         0,
         kDimHorizontal,
         "ABC",
         [](const DimensionRecord* d) {
             EXPECT_EQ(Text(d->upperTolerance), "+0.1");
             EXPECT_TRUE(d->flags & kDimTextOverride);
         }},
        {10,
         "dimension line moved",
         {Input{}, At(35, 185)},
         0,
         kDimHorizontal,
         prefix + "50",
         [this](const DimensionRecord* d) {
             EXPECT_NEAR(d->y1, 150, 1e-12);
             double x, y;
             DimensionTextPoint(doc->settings, d, &x, &y);
             EXPECT_NEAR(y, 185 + doc->settings->dimLineOffset, 1e-9);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("tool ") + std::to_string(row.tool) + ": " + row.what);
        FreshDocument();
        Scene();
        DocSettings* st = doc->settings;
        const SInt16 width = st->currentPenWidth100;
        const double scale = st->drawingScale;
        Choose(row.tool);
        const auto before = Drawing();
        const size_t count = Dims().size();
        for (Input in : row.input)
            Feed(in.text == nullptr && in.x == 0 && in.y == 0 ? OnSceneDimension() : in);
        EXPECT_EQ(Step(), 0);
        ASSERT_EQ(Dims().size(), count + row.added) << LastMessage();
        DimensionRecord* d = LastDim();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->kind, row.kind);
        EXPECT_EQ(Text(d->text).rfind(row.start, 0), 0u) << Text(d->text);
        if (row.check) row.check(d);
        if (row.added > 0) {
            EXPECT_EQ(d->layer, 5);
            EXPECT_EQ(d->pen, 3);
        }
        EXPECT_EQ(st->currentLayer, 2);
        EXPECT_EQ(st->currentPen, 1);
        EXPECT_EQ(st->currentPenWidth100, width);
        EXPECT_EQ(st->drawingScale, scale);
        EXPECT_EQ(Text(st->dimPrefix), prefix);
        EXPECT_EQ(st->snapMode, 0);
        const auto after = Drawing();
        EXPECT_NE(after, before);
        Undo();
        EXPECT_EQ(Drawing(), before);
        Redo();
        EXPECT_EQ(Drawing(), after);
    }
}

// The text step: "text,tolerance" split at the comma; Return alone keeps the measured value; the
// prompt after a creation leads with the new dimension's text.
TEST_F(DimensionToolsGui, TheTextStepSplitsAtTheCommaAndThePromptShowsTheText) {
    Scene();
    doc->settings->askDimensionText = 1;
    Choose(0);
    ClickAt(10, 20);
    ClickAt(50, 30);
    ClickAt(30, 60);
    ASSERT_EQ(Step(), 3);
    Type("42,+0.2");
    DimensionRecord* d = LastDim();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Text(d->text), "42");
    EXPECT_EQ(Text(d->upperTolerance), "+0.2");
    Str255 lead, prompt;
    GetAppString(141, lead);
    CommandFieldPrompt(doc, prompt);
    EXPECT_EQ(Text(prompt).rfind(Text(lead) + "42", 0), 0u) << Text(prompt);

    Choose(7);
    ClickAt(150, 120);
    ClickAt(180, 130);
    ASSERT_EQ(Step(), 2);
    Type("");
    EXPECT_EQ(Text(LastDim()->text), "d=R20");
    EXPECT_EQ(Text(doc->settings->dimPrefix), "d=");

    // A full prefix gives way to the diameter sign for the one dimension, and comes back whole.
    doc->settings->askDimensionText = 0;
    const std::string full = "abcdefghij";
    doc->settings->dimPrefix[0] = UInt8(full.size());
    std::memcpy(doc->settings->dimPrefix + 1, full.data(), full.size());
    Choose(6);
    ClickAt(10, 20);
    ClickAt(50, 20);
    ClickAt(30, 40);
    EXPECT_EQ(Text(LastDim()->text), "abcdefghi\xC3\x98"
                                     "40");
    EXPECT_EQ(Text(doc->settings->dimPrefix), full);
}

// A dimension of no length is refused with its message and leaves no step behind: Undo then takes
// the change before it.
TEST_F(DimensionToolsGui, ARefusedDimensionLeavesNothingToUndo) {
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    struct Row {
        int tool;
        const char* what;
        std::vector<Input> input;
    };
    const Row rows[] = {
        {0, "horizontal between points one above the other", {At(10, 20), At(10, 60), At(30, 40)}},
        {3, "horizontal chain of such points", {At(10, 20), At(10, 60), Typed(""), At(50, 70), Typed("h")}},
        {4,
         "baseline to points level with its start",
         {At(100, 0), At(0, 30), At(0, 60), Typed(""), At(50, 10)}},
        {5, "points on the line", {At(100, 0), At(30, 0), Typed(""), At(50, 10)}},
        {6, "diameter between one point twice", {At(10, 20), At(10, 20), At(30, 40)}},
    };
    Str255 message;
    GetIndString(message, 128, kZeroDimensionMessage);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FreshDocument();
        Scene();
        Choose(row.tool);
        ClearRecordedAlerts();
        for (const Input& in : row.input)
            Feed(in);
        EXPECT_EQ(LastMessage(), Text(message));
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Dims().size(), 1u);
        EXPECT_EQ(doc->settings->currentLayer, 2);
        Undo();
        EXPECT_TRUE(Dims().empty());
    }
}

// Parallel lines make no angle: said so, and another second line is asked for.
TEST_F(DimensionToolsGui, AnAngleAsksAgainForASecondLineThatIsNotParallel) {
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    Scene();
    Draw(20, 60, 120, 60);
    Choose(8);
    ClickAt(100, 0);
    ClickAt(50, 60);
    Str255 parallel;
    GetIndString(parallel, 128, 12);
    EXPECT_EQ(LastMessage(), Text(parallel));
    ASSERT_EQ(Step(), 1);
    ClickAt(0, 50);
    ClickAt(30, 30);
    ClickAt(40, 40);
    EXPECT_EQ(Step(), 0);
    ASSERT_EQ(Dims().size(), 2u);
    EXPECT_EQ(LastDim()->kind, kDimAngle);
}

// The text tool shows the text and tolerance as they are drawn, signs and all: Return alone changes
// nothing, and a typed sign is kept as the text holds it.
TEST_F(DimensionToolsGui, ChangingATextKeepsItsSigns) {
    Scene();
    Choose(6);
    ClickAt(170, 100);
    ClickAt(190, 120);
    DimensionRecord* d = LastDim();
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(Text(d->text), "d=\xC3\x98"
                             "40");
    double x, y;
    DimensionTextPoint(doc->settings, d, &x, &y);
    const auto before = Drawing();
    Choose(9);
    ClickAt(std::round(x * 2) / 2, std::round(y * 2) / 2);
    ASSERT_EQ(Step(), 1);
    EXPECT_EQ(CommandFieldUTF8Text(doc), "d=\xC3\x98"
                                         "40,");
    Type("");
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Drawing(), before);

    // A tolerance alone: the value text keeps its sign and its measuring.
    Choose(9);
    ClickAt(std::round(x * 2) / 2, std::round(y * 2) / 2);
    ASSERT_EQ(Step(), 1);
    CommandFieldPutUTF8(doc, reinterpret_cast<ConstStr255Param>("\x0b"
                                                                "d=\xC3\x98"
                                                                "40,+0.5"));
    QueueTypedText("\r");
    RunLoop();
    ASSERT_EQ(Dims().size(), 2u);
    EXPECT_EQ(Text(LastDim()->text), "d=\xC3\x98"
                                     "40");
    EXPECT_EQ(Text(LastDim()->upperTolerance), "+0.5");
    EXPECT_FALSE(LastDim()->flags & kDimTextOverride);
    Choose(9);
    ClickAt(std::round(x * 2) / 2, std::round(y * 2) / 2);
    CommandFieldPutUTF8(doc, reinterpret_cast<ConstStr255Param>("\x0a\xC3\x98"
                                                                "12,\xC2\xB1"
                                                                "0.1"));
    QueueTypedText("\r");
    RunLoop();
    EXPECT_EQ(Text(LastDim()->text), "\xC3\x98"
                                     "12");
    Str255 tolerance;
    ShownDimensionTolerance(LastDim()->upperTolerance, tolerance);
    EXPECT_EQ(Text(tolerance), "\xC2\xB1"
                               "0.1");
}

// A chain takes as many points as are given; a letter other than H, V or P does nothing; P waits for
// the direction; Return with one point only is no chain.
TEST_F(DimensionToolsGui, ChainsTakeAnyNumberOfPointsAndOnlyTheirLetters) {
    Scene();
    Choose(3);
    ClickAt(10, 20);
    Type("");
    EXPECT_EQ(Step(), 0);
    const int n = 40;
    for (int i = 1; i < n; ++i)
        Type(std::to_string(10 + 4 * i) + ",20");
    Type("");
    ASSERT_EQ(Step(), 1);
    ClickAt(100, 60);
    ASSERT_EQ(Step(), 2);
    const size_t count = Dims().size();
    Type("x");
    EXPECT_EQ(Step(), 2);
    Type("P");
    EXPECT_EQ(Step(), 3);
    EXPECT_EQ(Dims().size(), count);
    Key(kKeyCodeEscape, kEscapeCharCode);

    Choose(3);
    ClickAt(10, 20);
    for (int i = 1; i < n; ++i)
        Type(std::to_string(10 + 4 * i) + ",20");
    Type("");
    ClickAt(100, 60);
    Type("h");
    EXPECT_EQ(Dims().size(), count + n - 1);
    EXPECT_EQ(Step(), 0);
}

// Escape at every step of every tool leaves the drawing as it was and the user's snap mode on.
TEST_F(DimensionToolsGui, EscapeAtEveryStepChangesNothing) {
    struct Row {
        int tool;
        std::vector<Input> input; // all but the last input of a dimension
        std::vector<int> steps;   // the step after each
    };
    const Row rows[] = {
        {0, {Typed("10,20"), Typed("50,30"), At(30, 60)}, {1, 2, 3}},
        {1, {Typed("10,20"), Typed("50,60"), At(80, 40)}, {1, 2, 3}},
        {2, {Typed("10,20"), Typed("50,50"), At(20, 60), Typed("")}, {1, 2, 3, 4}},
        {3, {Typed("10,20"), Typed("40,25"), Typed(""), At(50, 70), Typed("P")}, {0, 0, 1, 2, 3}},
        {4, {At(100, 0), Typed("30,20"), Typed("60,40"), Typed("")}, {1, 1, 1, 2}},
        {5, {At(100, 0), Typed("30,20"), Typed("")}, {1, 1, 2}},
        {6, {Typed("10,20"), Typed("50,20"), At(30, 40)}, {1, 2, 3}},
        {7, {At(170, 100), At(180, 130)}, {1, 2}},
        {8, {At(100, 0), At(0, 50), At(30, 30), At(40, 40)}, {1, 2, 3, 4}},
        {9, {Input{}}, {1}},
        {10, {Input{}}, {1}},
    };
    for (const Row& row : rows)
        for (size_t k = 0; k <= row.input.size(); ++k) {
            SCOPED_TRACE("tool " + std::to_string(row.tool) + " after " + std::to_string(k) + " inputs");
            FreshDocument();
            Scene();
            doc->settings->askDimensionText = 1;
            doc->settings->snapMode = 2;
            const auto before = Drawing();
            const int lines = LineCount();
            Choose(row.tool);
            for (size_t i = 0; i < k; ++i) {
                const Input& in = row.input[i];
                Feed(in.text == nullptr && in.x == 0 && in.y == 0 ? OnSceneDimension() : in);
                ASSERT_EQ(Step(), row.steps[i]) << "input " << i;
            }
            Key(kKeyCodeEscape, kEscapeCharCode);
            EXPECT_EQ(Step(), 0);
            EXPECT_EQ(doc->settings->snapMode, 2);
            EXPECT_EQ(Drawing(), before);
            EXPECT_EQ(LineCount(), lines);
        }
}

// A circle dimension placed on the centre is refused with its message, and the snap mode suspended
// while the position was awaited comes back.
TEST_F(DimensionToolsGui, ACircleDimensionOnTheCentreIsRefusedAndTheSnapModeComesBack) {
    struct Row {
        int tool;
        int snapMode;
        std::vector<Input> input;
    };
    const Row rows[] = {
        {6, 0, {At(170, 100), At(150, 100)}},
        {7, 2, {At(170, 100), At(150, 100)}},
        {7, 0, {At(170, 100), At(150, 100)}},
    };
    Str255 message;
    GetIndString(message, 128, kPositionAtCentreMessage);
    // The message comes while the click's button is still down: OK answers it.
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    for (const Row& row : rows) {
        SCOPED_TRACE("tool " + std::to_string(row.tool) + " snap mode " + std::to_string(row.snapMode));
        FreshDocument();
        Scene();
        doc->settings->snapMode = SInt16(row.snapMode);
        const auto before = Drawing();
        Choose(row.tool);
        Feed(row.input[0]);
        ASSERT_GT(Step(), 0);
        EXPECT_EQ(doc->settings->snapMode, 0);
        Feed(row.input[1]);
        EXPECT_EQ(LastMessage(), Text(message));
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(doc->settings->snapMode, row.snapMode);
        EXPECT_EQ(Drawing(), before);
    }
}

TEST_F(DimensionToolsGui, EveryDimensionToolIsOffered) {
    AdjustMenus(doc);
    for (SInt16 tool = 0; tool <= 11; ++tool)
        EXPECT_TRUE(MenuItemAvailable(SInt16(kFirstToolMenu + 4), SInt16(tool + 1))) << tool;
}

} // namespace
