// Settings > Polyline Vertex… through the menu bar: dialog 187 shows and stores the drawing's two
// polyline values, refuses what is not a number, and Cancel keeps them; dialog 141 moves a vertex.
#include "ShellTestSupport.h"

#include "Dialogs/PolylineVertexDialog.h"
#include "Model/PolylineGeometry.h"
#include "Model/Polylines.h"
#include "Model/UndoJournal.h"
#include "Model/SharedUtilities.h"
#include "Platform/DialogManager.h"
#include "Platform/Menus.h"
#include "Shell/MenuBar.h"

#include <gtest/gtest.h>

#include <utility>

TEST_F(ShellTest, PolylineValuesAreEditedFromTheSettingsMenu) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AdjustMenus(doc);
    EXPECT_TRUE(IsMenuItemEnabled(GetMenuHandle(196), 7));
    DocSettings* s = doc->settings;
    s->dialog187Value1 = 5.0;
    s->dialog187Value2 = 0.05;
    Float64 factor = s->drawingScale * UnitDivisor(doc);

    struct Case {
        const char* name;
        std::string typed;
        Float64 length, second; // in the drawing unit
        size_t alerts;
    };
    const Case cases[] = {
        {"formulas", "2*3\t0.5\r", 6, 0.5, 0},
        {"not a number, then a number", "abc\r\r\t\t4\r", 4, 0.5, 1},
        {"cancelled", "99\x1b", 4, 0.5, 0},
    };
    // Tab twice selects the length field whole (the second field, then round to the first), so what
    // is typed replaces the value shown; Return after a refused value closes the message.
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearRecordedAlerts();
        ASSERT_TRUE(ChooseMenuItem(196, 7));
        QueueTypedText("\t\t");
        for (char ch : c.typed) {
            if (ch == '\x1b')
                QueueKey(kKeyCodeEscape, kEscapeCharCode);
            else
                QueueTypedText(std::string(1, ch));
        }
        RunLoop();
        EXPECT_NEAR(s->dialog187Value1, c.length * factor, 1e-9);
        EXPECT_NEAR(s->dialog187Value2, c.second, 1e-9);
        EXPECT_EQ(RecordedAlerts().size(), c.alerts);
        if (c.alerts) {
            EXPECT_NE(RecordedAlerts()[0].params[0].find("abc"), std::string::npos);
        }
    }
}

TEST_F(ShellTest, TheVertexDialogMovesOneVertexInOneUndoStep) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    doc->settings->undoOn = 1;
    for (auto [x, y] : {std::pair{0.0, 0.0}, std::pair{10.0, 0.0}, std::pair{10.0, 10.0}}) {
        doc->drawing->toolInput.cursorX = x, doc->drawing->toolInput.cursorY = y;
        AppendTempPoint(doc);
    }
    PolylineRecord* p = nullptr;
    ASSERT_TRUE(BuildPolylineFromPoints(doc, &p, kPolylineSegments, false, 0, 0));
    Float64 factor = doc->settings->drawingScale * UnitDivisor(doc);
    QueueTypedText("\t\t12/2\t7\r");
    EXPECT_TRUE(EditPolylineVertex(doc, p, 1));
    p = doc->polylineHead->next;
    const Float64* xy = PolylinePoints(p);
    EXPECT_NEAR(xy[2], 6 * factor, 1e-9);
    EXPECT_NEAR(xy[3], 7 * factor, 1e-9);
    EXPECT_EQ(xy[4], 10);
    UndoLastStep(doc);
    xy = PolylinePoints(doc->polylineHead->next);
    EXPECT_EQ(xy[2], 10);
    EXPECT_EQ(xy[3], 0);

    // Cancel leaves the vertex as it is.
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_FALSE(EditPolylineVertex(doc, doc->polylineHead->next, 1));
    EXPECT_EQ(PolylinePoints(doc->polylineHead->next)[2], 10);
}
