// The Symbols menu end to end: Edit Symbol Instance opens dialog 139 on the instance clicked and
// changes its angle and scales on OK only; Explode Symbol Instances gives the elements back, undoably.
#include "../Tools/ToolGuiFixture.h"

#include "Dialogs/SymbolInstanceDialog.h"
#include "Model/ElementLists.h"
#include "Model/Symbols.h"
#include "Platform/Events.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Shell/MenuBar.h"

#include <cmath>
#include <string>

namespace {

class SymbolMenu : public ToolGuiTest {
  protected:
    SymbolInstanceRecord* instance = nullptr;

    void SetUp() override {
        ToolGuiTest::SetUp();
        LineRecord* line = AppendLineAtCursor(doc, 0, 0, 20, 10, false);
        line->selected = 1;
        static const unsigned char kName[] = "\x05Valve";
        ASSERT_NE(CreateSymbolFromSelection(doc, 0, 0, kName, true), nullptr);
        instance = doc->instanceHead->next;
        ASSERT_NE(instance, nullptr);
        RedrawWindow(doc);
        RunLoop();
    }

    // The menu item, then a click on the instance's line.
    void ChooseOnInstance(SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(kSymbolsMenu, item));
        RunLoop();
        ClickAt(10, 5);
    }

    SymbolInstanceRecord* Only() const {
        SymbolInstanceRecord* s = doc->instanceHead->next;
        return s != nullptr && s->next == nullptr ? s : nullptr;
    }
};

} // namespace

TEST_F(SymbolMenu, TypingAtOnceReplacesTheAngle) {
    ASSERT_TRUE(ChooseMenuItem(kSymbolsMenu, 1));
    RunLoop();
    QueueClick(doc->window, WindowPoint(10, 5));
    QueueTypedText("12");
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    RunLoop();
    ASSERT_NE(Only(), nullptr);
    EXPECT_NEAR(Only()->angle, 12, 1e-9);
}

TEST_F(SymbolMenu, EditSymbolInstanceChangesAngleAndScalesOnOKOnly) {
    struct Case {
        const char* what;
        std::string angle, xScale; // typed; empty: left as shown
        bool ok;
        Float64 wantAngle, wantXScale;
    } cases[] = {
        {"Escape keeps the instance", "30", "", false, 0, 1},
        {"the angle as a formula", "90/2", "", true, 45, 1},
        {"a negative x scale mirrors", "", "-2", true, 45, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(ChooseMenuItem(kSymbolsMenu, 1));
        RunLoop();
        // The middle of the instance's line, turned as the last case left it.
        const double a = Only()->angle * 3.14159265358979323846 / 180;
        QueueClick(doc->window,
                   WindowPoint(10 * std::cos(a) - 5 * std::sin(a), 10 * std::sin(a) + 5 * std::cos(a)));
        if (!c.angle.empty()) {
            // Round the three fields back to the angle, which Tab selects whole.
            for (int i = 0; i < 3; ++i)
                QueueKey(kKeyCodeTab, kTabCharCode);
            QueueTypedText(c.angle);
        }
        if (!c.xScale.empty()) {
            QueueKey(kKeyCodeTab, kTabCharCode);
            QueueTypedText(c.xScale);
        }
        if (c.ok)
            QueueKey(kKeyCodeReturn, kReturnCharCode);
        else
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        RunLoop();
        SymbolInstanceRecord* s = Only();
        ASSERT_NE(s, nullptr);
        EXPECT_NEAR(s->angle, c.wantAngle, 1e-9);
        EXPECT_EQ(s->xScale, c.wantXScale);
        EXPECT_EQ(s->yScale, 1);
        EXPECT_EQ(s->x, 0);
        EXPECT_EQ(s->definition, doc->symbolDefHead->next);
        EXPECT_FALSE(PendingCommandActive(doc));
    }
}

TEST_F(SymbolMenu, AZeroScaleIsRefusedAndTheDialogStays) {
    ASSERT_TRUE(ChooseMenuItem(kSymbolsMenu, 1));
    RunLoop();
    UInt32 beeps = BeepCount();
    QueueClick(doc->window, WindowPoint(10, 5));
    QueueKey(kKeyCodeTab, kTabCharCode);
    QueueTypedText("0");
    QueueKey(kKeyCodeReturn, kReturnCharCode); // refused: a beep, the dialog stays
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    RunLoop();
    EXPECT_EQ(BeepCount(), beeps + 1);
    ASSERT_EQ(Only(), instance);
    EXPECT_EQ(instance->xScale, 1);
}

TEST_F(SymbolMenu, ExplodeSymbolInstancesGivesTheElementsBackUndoably) {
    ASSERT_EQ(doc->lineHead->next, nullptr);
    ChooseOnInstance(6);
    Type("yes");
    EXPECT_EQ(doc->instanceHead->next, nullptr);
    LineRecord* line = doc->lineHead->next;
    ASSERT_NE(line, nullptr);
    EXPECT_DOUBLE_EQ(line->x2, 20);
    EXPECT_DOUBLE_EQ(line->y2, 10);
    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1)); // Undo
    RunLoop();
    EXPECT_EQ(doc->lineHead->next, nullptr);
    EXPECT_NE(Only(), nullptr);
}
