// Re-styling one dimension with the dimension settings tool: the user's words stay around the new
// value (what is left of the old number never survives), the change is one undo step that gives back
// exactly the old dimension, a typed text stays until the number changes, and Cancel deselects and
// changes nothing, neither the dimension nor the drawing's settings.
#include "../Tools/ToolGuiFixture.h"
#include "SettingsDialogSupport.h"

#include "Dialogs/DimensionRestyle.h"
#include "Dialogs/DocumentSettingsDialogs.h"
#include "Model/Dimensions.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Model/Selection.h"
#include "Interface/DialogItems.h"
#include "Tools/DimensionTools.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace settings_test;

namespace {

std::string Str(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

void SetStr(StringPtr dest, const std::string& text) {
    dest[0] = UInt8(text.size());
    std::memcpy(dest + 1, text.data(), text.size());
}

class DimensionRestyle : public ToolGuiTest {
  protected:
    DimensionRecord* dim = nullptr;
    void SetUp() override {
        ToolGuiTest::SetUp();
        DocSettings* s = doc->settings;
        s->dialogUnit = 1;
        s->dimDecimals = 2;
        SetStr(s->dimPrefix, "approx ");
        SetStr(s->dimSuffix, " mm");
        BeginUndoStep(doc);
        dim = CreateHorizontalDimension(doc, 10, 150, 22.34, 150, 16, 165, nullptr, nullptr, nullptr);
        EndUndoStep(doc);
        ASSERT_NE(dim, nullptr);
        ASSERT_EQ(Str(dim->text), "approx 12.34 mm");
        // The words are the user's now: the drawing's style has none.
        s->dimPrefix[0] = s->dimSuffix[0] = 0;
        s->snapMode = 0;
        RedrawWindow(doc);
        RunLoop();
        DialogPositionTable[kDimensionSettingsPositionSlot] = Point{0, 0};
    }
    std::vector<DimensionRecord*> Dims() const {
        std::vector<DimensionRecord*> all;
        for (DimensionRecord* e = doc->dimensionHead->next; e != nullptr; e = e->next)
            all.push_back(e);
        return all;
    }
    // The tool's click on the dimension, then the dialog answered by what the caller queues once it
    // waits (the click's own tracking would take keys queued with it).
    void Restyle(std::function<void()> answer) {
        ChooseGroupTool(4, kDimensionSettingsTool);
        Float64 x, y;
        DimensionTextPoint(doc->settings, Dims().front(), &x, &y);
        QueueClick(doc->window, WindowPoint(std::round(x * 2) / 2, std::round(y * 2) / 2));
        WhenIdle([answer](DialogRef) { answer(); });
        RunLoop();
    }
    // Tab from the height to the decimals, a new number, OK.
    static void NewDecimals(const char* decimals) {
        QueueTypedText(std::string("\t") + decimals);
        QueueReturn();
    }
};

} // namespace

TEST(SplitAroundValue, KeepsTheWordsAndDropsTheRestOfTheOldNumber) {
    struct Case {
        const char *text, *value, *prefix, *suffix;
        bool found;
    } cases[] = {
        {"approx 12.34 mm", "12.34", "approx ", " mm", true},
        {"approx 12.34 mm", "12", "approx ", " mm", true}, // never "34 mm" nor ".34 mm"
        {"12.25", "12", "", "", true},
        {"L=12.00", "12", "L=", "", true},
        {"12 x 4", "12", "", " x 4", true},
        {"about half", "12", "", "", false},
        {"anything", "", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + std::string(" / ") + c.value);
        Str255 text, value, prefix, suffix;
        SetStr(text, c.text);
        SetStr(value, c.value);
        EXPECT_EQ(SplitAroundValue(text, value, prefix, suffix), c.found);
        EXPECT_EQ(Str(prefix), c.prefix);
        EXPECT_EQ(Str(suffix), c.suffix);
    }
}

TEST_F(DimensionRestyle, TheWordsStayAroundTheNewValueInOneUndoStep) {
    const DimensionRecord old = *dim;
    const DocSettings settings = *doc->settings;
    Restyle([] { NewDecimals("1"); });
    ASSERT_EQ(Dims().size(), 1u);
    DimensionRecord* made = Dims().front();
    EXPECT_EQ(Str(made->text), "approx 12.3 mm");
    EXPECT_EQ(made->decimals, 1);
    EXPECT_EQ(made->flags & kDimTextOverride, 0);
    EXPECT_EQ(std::memcmp(&settings, doc->settings, sizeof settings), 0);

    Undo();
    ASSERT_EQ(Dims().size(), 1u);
    DimensionRecord* back = Dims().front();
    EXPECT_EQ(Str(back->text), Str(old.text));
    EXPECT_EQ(back->decimals, old.decimals);
    EXPECT_EQ(back->flags, old.flags);
    EXPECT_EQ(back->textHeight, old.textHeight);
    for (auto [a, b] : {std::pair{back->x1, old.x1},
                        {back->x2, old.x2},
                        {back->textX, old.textX},
                        {back->textY, old.textY},
                        {back->frame[2], old.frame[2]}})
        EXPECT_EQ(a, b);
}

TEST_F(DimensionRestyle, NoDigitOfTheOldValueSurvivesItsSuffix) {
    dim->decimals = 0; // the text shows more than the number of the dimension's own style
    Restyle([] { NewDecimals("1"); });
    ASSERT_EQ(Dims().size(), 1u);
    EXPECT_EQ(Str(Dims().front()->text), "approx 12.3 mm");
}

TEST_F(DimensionRestyle, ATypedTextStaysUntilTheNumberChanges) {
    SetStr(dim->text, "about half");
    dim->flags |= kDimTextOverride;
    Restyle([] { QueueReturn(); }); // the same number: the text stays
    ASSERT_EQ(Dims().size(), 1u);
    EXPECT_EQ(Str(Dims().front()->text), "about half");
    Restyle([] { NewDecimals("1"); });
    ASSERT_EQ(Dims().size(), 1u);
    EXPECT_EQ(Str(Dims().front()->text), "12.3");
}

TEST_F(DimensionRestyle, CancelDeselectsAndChangesNothing) {
    SetSelectedFlag(doc->drawing, &dim->selected, true);
    const DimensionRecord old = *dim;
    const DocSettings settings = *doc->settings;
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    Restyle([] {
        QueueTypedText("9\t4");
        QueueEscape();
    });
    ASSERT_EQ(Dims().size(), 1u);
    EXPECT_EQ(Dims().front(), dim);
    EXPECT_EQ(Str(dim->text), Str(old.text));
    EXPECT_EQ(dim->decimals, old.decimals);
    EXPECT_EQ(dim->textHeight, old.textHeight);
    EXPECT_FALSE(dim->selected);
    EXPECT_EQ(std::memcmp(&settings, doc->settings, sizeof settings), 0);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
}

TEST_F(DimensionRestyle, TheOneDimensionFormOffersOnlyPageOne) {
    Restyle([] {
        DialogRef d = DialogStackTop();
        ControlRef pages = nullptr;
        GetDialogControl(d, 3, &pages);
        EXPECT_EQ(GetControlMaxOf(pages), 1);
        EXPECT_EQ(GetItemValue(d, 3 + 25), 1); // numbers: decimal
        EXPECT_TRUE(ShootFrontDialog("dimension_settings_one_dimension"));
        QueueEscape();
    });
}
