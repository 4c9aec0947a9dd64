// Window > Drawing Information: counts by kind, group numbers (those outside 1..32000 skipped),
// layers in use, dates with "?" for a drawing never saved, the editing time in hours, the pop-up of
// open drawings, and OK as the only way out.
#include "SettingsDialogSupport.h"

#include "Dialogs/DrawingInfoDialog.h"
#include "Model/DocSettings.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Interface/DialogItems.h"
#include "Platform/Menus.h"
#include "Platform/NumberText.h"
#include "Shell/MenuBar.h"

#include <string>

using namespace settings_test;

namespace {

constexpr Origin kInfoOrigin{80, 200};

std::string Str(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

PolylineRecord* AddPolyline(DocWindowRecord* doc, SInt16 kind, SInt16 pictureWord) {
    PolylineRecord** slot = &doc->polylineHead->next;
    while (*slot != nullptr)
        slot = &(*slot)->next;
    PolylineRecord* p = NewPolylineElement(doc, slot);
    p->kind = kind;
    p->pictureWord = pictureWord;
    return p;
}

class DrawingInfo : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;
    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        DialogPositionTable[kDrawingInfoPositionSlot] = Point{0, 0};
    }
    // Lines of groups 7, 3 and 0 on layers 1 and 2, an arc of group 40000 on layer 5, a text of
    // group -5, and polylines of kinds 0, 10 (a picture and not) and 11.
    void Fill() {
        SInt16 groups[] = {7, 3, 0};
        for (SInt16 i = 0; i < 3; ++i) {
            LineRecord* l = AddLine(doc, i, 0, i + 10, 5);
            l->group = groups[i];
            l->layer = SInt16(1 + i % 2);
        }
        ArcRecord* a = AddArc(doc, 0, 0, 5, 0, 360);
        a->group = SInt16(-25536); // 40000 as a file may hold it
        a->layer = 5;
        TextRecord* t = NewTextElement(doc, &doc->textHead->next);
        t->group = -5;
        t->layer = 1;
        for (auto [kind, word] : {std::pair{0, 0}, {10, -1}, {10, 1}, {11, 0}})
            AddPolyline(doc, SInt16(kind), SInt16(word))->layer = 1;
    }
};

} // namespace

TEST(DrawingInfoTime, HoursOfWholeMinutes) {
    struct Case {
        UInt32 seconds;
        const char* shown;
    } cases[] = {{5400, "1.50h"}, {59, "0.00h"}, {3599, "0.98h"}, {0, "0.00h"}, {360000, "100.00h"}};
    for (const Case& c : cases) {
        Str255 text;
        FormatEditingTime(c.seconds, text);
        EXPECT_EQ(Str(text), c.shown) << c.seconds;
    }
}

TEST_F(DrawingInfo, CountsGroupsLayersAndDates) {
    Fill();
    doc->settings->creationDate = 0;
    doc->settings->saveDate = 3900000000u;
    doc->settings->editingSeconds = 5400;
    WhenIdle([](DialogRef d) {
        const std::pair<SInt16, const char*> shown[] = {
            {14, "9"}, {15, "3"}, {16, "1"}, {17, "1"}, {18, "0"}, {19, "0"}, {21, "0"},     {20, "1"},
            {22, "1"}, {23, "2"}, {41, "0"}, {26, "2"}, {27, "3"}, {35, "?"}, {37, "1.50h"},
        };
        for (auto [item, text] : shown)
            EXPECT_EQ(ItemText(d, item), text) << "item " << item;
        Str255 date;
        DateString(3900000000u, date);
        EXPECT_EQ(ItemText(d, 36), Str(date));
        EXPECT_GT(std::stoi(ItemText(d, 28)), 0);
        EXPECT_TRUE(ShootFrontDialog("drawing_information"));
        QueueEscape(); // not a way out: there is no Cancel
        WhenIdle([](DialogRef) { QueueReturn(); });
    });
    ASSERT_TRUE(ChooseMenuItem(kWindowMenu, 23));
    RunLoop();
    EXPECT_EQ(DialogStackDepth(), 0);
}

TEST_F(DrawingInfo, ThePopUpListsTheOpenDrawingsAndRefills) {
    Fill();
    DocWindowRecord* second = NewFromMenu();
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, doc);
    WhenIdle([this](DialogRef d) {
        MenuRef menu = GetPopupMenu(d, 39);
        ASSERT_EQ(CountMenuItems(menu), 2);
        Str255 name;
        GetMenuItemText(menu, 1, name);
        EXPECT_EQ(Str(name), Str(doc->drawing->documentName));
        EXPECT_EQ(GetItemValue(d, 39), 2); // the front drawing, opened second
        EXPECT_EQ(ItemText(d, 14), "0");
        QueuePopUpMenuChoice(1);
        QueueItemClick(kInfoOrigin, 12, 16, 32, 404);
        WhenIdle([](DialogRef d2) {
            EXPECT_EQ(ItemText(d2, 14), "9");
            QueueReturn();
        });
    });
    ASSERT_TRUE(ChooseMenuItem(kWindowMenu, 23));
    RunLoop();
}

TEST_F(DrawingInfo, StatisticsOfAnEmptyDrawing) {
    DrawingStatistics s;
    CollectDrawingStatistics(doc, &s);
    EXPECT_EQ(s.Total(), 0);
    EXPECT_EQ(s.groups, 0);
    EXPECT_EQ(s.layers, 0);
    EXPECT_GT(s.bytes, 0);
}
