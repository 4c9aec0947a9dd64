// The dialog-item toolkit on a real dialog: texts, numbers, formulas, check boxes, enabling and the
// pop-ups of recent values and fonts.
#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Interface/DialogItems.h"
#include "Model/DocumentRecords.h"
#include "Platform/Fonts.h"
#include "GuiHarness.h"
#include "Platform/PointerBlocks.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class DialogItemsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        std::string folder = MakeTestFolder("item-resources");
        fs::copy_file(AppResourceFolder() + "/strings.rdesc", folder + "/strings.rdesc");
        // Read before strings.rdesc, so its pop-up titles stand in for the bundle's empty list.
        std::ofstream(folder + "/items.rdesc")
            << "DLOG 9200 100 100 300 500 \"Items\" kind movable\n"
               "DITL 9200\n"
               "  1 button 160 300 180 380 \"OK\"\n"
               "  2 static 10 10 26 110 \"Size\"\n"
               "  3 edit 10 120 26 200 \"\"\n"
               "  4 popup 10 210 30 300 menu 9201 value 1\n"
               "  5 check 40 10 60 150 \"One\"\n"
               "  6 radio 70 10 90 150 \"A\"\n"
               "  7 radio 70 160 90 300 \"B\"\n"
               "  8 radio 100 10 120 150 \"C\"\n"
               "  9 popup 130 10 150 200 menu 9202 value 1\n"
               "  10 popup 130 210 150 380 menu 9203 value 1\n"
               "  11 user 100 200 120 380\n"
               "MENU 9201 \"Sizes\"\n"
               "  1 \"9\"\n  2 \"10\"\n  3 \"12\"\n  4 \"14\"\n  5 \"18\"\n  6 \"24\"\n"
               "MENU 9202 \"Scales\"\n"
               "  1 \"1:1\"\n  2 \"1:50\"\n"
               "MENU 9203 \"Fonts\"\n"
               "STR# 1000 Pop-up titles\n"
               "  1 Scale:\n";
        LoadAppResourcesFrom(folder);
        dialog = GetNewDialog(9200, nullptr, nullptr);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override {
        DisposeDialog(dialog);
        OpenDocumentList = nullptr;
        ResetAppResources();
        GuiTest::TearDown();
    }
    std::string Text(SInt16 item) {
        Str255 s;
        s[0] = 0;
        GetItemText(dialog, item, s);
        return ToStd(s);
    }
    std::string MenuText(SInt16 item) {
        Str255 s;
        GetMenuItemText(GetPopupMenu(dialog, 4), item, s);
        return ToStd(s);
    }
    DialogRef dialog = nullptr;
};

} // namespace

TEST_F(DialogItemsTest, TextsGoToTextItemsOnly) {
    SetItemText(dialog, 3, PStr("abc"));
    SetItemTextCStr(dialog, 2, "Width");
    SetItemText(dialog, 5, PStr("not a text item"));
    EXPECT_EQ(Text(3), "abc");
    EXPECT_EQ(Text(2), "Width");
    Str255 title;
    GetItemControlTitle(dialog, 5, title);
    EXPECT_EQ(ToStd(title), "One");
    SetItemText(nullptr, 3, PStr("x"));

    // UTF-8 bytes as they are; other bytes read as the system encoding; empty leaves the text.
    SetItemTextUTF8(dialog, 3, PStr("caf\xC3\xA9"));
    EXPECT_EQ(GetDialogItemUTF8Text(dialog, 3), "caf\xC3\xA9");
    SetItemTextUTF8(dialog, 3, PStr("caf\x8E"));
    EXPECT_EQ(GetDialogItemUTF8Text(dialog, 3), "caf\xC3\xA9");
    SetItemTextUTF8(dialog, 3, PStr(""));
    EXPECT_EQ(Text(3), "caf\x8E");

    // The text as a new block of its exact length; on failure the caller's pointer is null, not stale.
    Ptr p = NewPtr(3);
    GetItemTextPtr(dialog, 3, &p);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetPtrSize(p), 5);
    EXPECT_EQ(std::string(p, 5), "caf\xC3\xA9");
    GetItemTextPtr(dialog, 1, &p); // a button has no text
    EXPECT_EQ(p, nullptr);
    GetItemTextPtr(dialog, 99, &p);
    EXPECT_EQ(p, nullptr);
}

TEST_F(DialogItemsTest, NumbersLengthsAndFormulas) {
    SetItemNumber(dialog, 3, -42);
    EXPECT_EQ(GetItemNumber(dialog, 3), -42);
    SetItemPaddedNumber(dialog, 3, 7, 3);
    EXPECT_EQ(Text(3), "  7");
    EXPECT_EQ(GetItemShort(dialog, 3), 7);
    EXPECT_EQ(ParseFirstInteger(PStr("a12b34")), 12);
    EXPECT_EQ(ParseFirstInteger(PStr("none")), -1);

    SetItemText(dialog, 3, PStr("2*pi"));
    EXPECT_NEAR(GetItemFormula(dialog, 3), 6.283185, 1e-6);
    SetItemText(dialog, 3, PStr("2*(3"));
    EXPECT_EQ(GetItemFormula(dialog, 3), 0.0);
    EXPECT_EQ(EvalFormulaString(PStr("1/")), 0.0);

    DocSettings settings{};
    DrawingRecord drawing{};
    DocWindowRecord doc{};
    doc.settings = &settings;
    doc.drawing = &drawing;
    settings.dialogUnit = 1;
    EXPECT_EQ(DisplayUnitFactor(&doc), 1.0);
    SetItemUnitName(&doc, dialog, 2);
    EXPECT_EQ(Text(2), "mm");
    OpenDocumentList = &doc;
    SetItemLength(&doc, dialog, 3, 1.5, 2);
    EXPECT_EQ(Text(3), "1.50");
    settings.dialogUnit = 2;
    EXPECT_EQ(DisplayUnitFactor(&doc), 25.4);
    SetItemLength(&doc, dialog, 3, 1.5, 2);
    EXPECT_EQ(Text(3), "1.5000");
    SetItemUnitName(&doc, dialog, 2);
    EXPECT_EQ(Text(2), "inch");

    // A scale chosen as 1:50 is written as its value.
    SetItemValue(dialog, 9, 2);
    settings.dialogUnit = 1;
    SetScaleItemFromPopup(&doc, dialog, 9, 3);
    EXPECT_EQ(Text(3), "0.020");
}

TEST_F(DialogItemsTest, CheckBoxesRadioGroupsAndEnabling) {
    SetCheckBox(dialog, 5, true);
    EXPECT_TRUE(IsCheckBoxOn(dialog, 5));
    ToggleCheckBox(dialog, 5);
    EXPECT_FALSE(IsCheckBoxOn(dialog, 5));
    // A mixed value (2) is left by both directions.
    SetItemValue(dialog, 5, 2);
    SetCheckBox(dialog, 5, true);
    SetCheckBox(dialog, 5, false);
    EXPECT_EQ(GetItemValue(dialog, 5), 2);
    SetCheckBoxValue(dialog, 5, 1);
    EXPECT_EQ(GetItemValue(dialog, 5), 2);

    EXPECT_EQ(SetRadioGroup(dialog, 6, 8, 7), 8);
    EXPECT_EQ(GetItemValue(dialog, 6) * 100 + GetItemValue(dialog, 7) * 10 + GetItemValue(dialog, 8), 10);
    SetRadioGroup(dialog, 8, 6, 6); // first > last: nothing
    EXPECT_EQ(GetItemValue(dialog, 7), 1);

    EnableItem(dialog, 1, false);
    EXPECT_FALSE(IsItemEnabled(dialog, 1));
    ControlRef ok = nullptr;
    GetDialogControl(dialog, 1, &ok);
    EXPECT_EQ(GetControlHilite(ok), 255);
    EnableItem(dialog, 1, true);
    EXPECT_TRUE(IsItemEnabled(dialog, 1));
    SetControlTitleIfChanged(dialog, 1, PStr("Apply"));
    Str255 title;
    GetDialogButtonTitle(dialog, 1, title);
    EXPECT_EQ(ToStd(title), "Apply");
    GetDialogButtonTitle(dialog, 2, title); // a static text is no control item
    EXPECT_EQ(title[0], 0);
    EXPECT_EQ(title[200], 0);
}

TEST_F(DialogItemsTest, TypedSizesStandOnTopOfTheirPopUpOnce) {
    SetItemNumber(dialog, 3, 11);
    SetSizePopupHistory(dialog, 4, 3);
    EXPECT_EQ(CountMenuItems(GetPopupMenu(dialog, 4)), 8);
    EXPECT_EQ(MenuText(1), "11");
    EXPECT_EQ(MenuText(2), "-");
    EXPECT_EQ(GetItemValue(dialog, 4), 1);
    ControlRef popup = nullptr;
    GetDialogControl(dialog, 4, &popup);
    EXPECT_EQ(GetControlMaximum(popup), 8);
    // The same size again keeps one typed entry.
    SetSizePopupHistory(dialog, 4, 3);
    EXPECT_EQ(CountMenuItems(GetPopupMenu(dialog, 4)), 8);
    EXPECT_EQ(MenuText(1), "11");
    // A size already in the menu is chosen there; the typed entry goes.
    SetItemNumber(dialog, 3, 14);
    SetSizePopupHistory(dialog, 4, 3);
    EXPECT_EQ(CountMenuItems(GetPopupMenu(dialog, 4)), 6);
    EXPECT_EQ(GetItemValue(dialog, 4), 4);
    SetItemValue(dialog, 4, 5);
    CopySizePopupToItem(dialog, 4, 3);
    EXPECT_EQ(Text(3), "18");
}

TEST_F(DialogItemsTest, FontPopUpsFindFontsByName) {
    MenuRef fonts = GetPopupMenu(dialog, 10);
    ASSERT_NE(fonts, nullptr);
    AppendResMenu(fonts, FOUR_CHAR("FONT"));
    SyncPopupMaximum(dialog, 10);
    SInt16 count = CountMenuItems(fonts);
    ASSERT_GT(count, 1);
    Str255 lastName;
    GetMenuItemText(fonts, count, lastName);
    SInt16 lastFont = 0;
    GetFNum(lastName, &lastFont);
    EXPECT_EQ(FindFontMenuItem(lastFont, fonts), count); // the last item is found
    EXPECT_EQ(FindFontMenuItem(-99, fonts), 1);
    SetFontAndSizeItems(dialog, lastFont, 24, 10, 4, 3);
    EXPECT_EQ(GetItemValue(dialog, 10), count);
    EXPECT_EQ(GetPopupFontNum(dialog, 10), lastFont);
    EXPECT_EQ(Text(3), "24");
    EXPECT_EQ(GetItemValue(dialog, 4), 6);
}

TEST_F(DialogItemsTest, PopUpButtonsTakeTheirTitleAndAWidthFromItAndReportOnlyAChange) {
    ControlRef bare = nullptr, titled = nullptr;
    ASSERT_EQ(NewPopupButton(dialog, 11, 9202, 0, kTitleWidthOfText, 1, &bare), noErr);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(GetControlReference(bare), 16); // no title: only the room beside it
    ASSERT_EQ(NewPopupButton(dialog, 9, 9202, 1, kTitleWidthOfText, 2, &titled), noErr);
    SetPortWindowPort(GetDialogWindow(dialog));
    EXPECT_EQ(GetControlReference(titled), StringWidth(PStr("Scale:")) + 16);
    EXPECT_EQ(GetControlValue(titled), 2);
    ControlRef fixed = nullptr;
    ASSERT_EQ(NewPopupButton(dialog, 10, 9202, 1, 40, 1, &fixed), noErr);
    EXPECT_EQ(GetControlReference(fixed), 40);

    // Tracking acts only with the mouse over the control; the current item again is no change.
    Rect r;
    GetControlBounds(bare, &r);
    QueueMouseDown(GetDialogWindow(dialog), Pt(SInt16(r.left + 5), SInt16(r.top + 5)));
    DrainEvents();
    SInt16 value = 1;
    QueuePopUpMenuChoice(1);
    EXPECT_FALSE(TrackPopupButton(dialog, bare, 9202, &value));
    QueuePopUpMenuChoice(2);
    EXPECT_TRUE(TrackPopupButton(dialog, bare, 9202, &value));
    EXPECT_EQ(value, 2);
    EXPECT_EQ(GetControlValue(bare), 2);
    EXPECT_FALSE(TrackPopupButton(dialog, titled, 9202, &value)); // the mouse is not over it
    EXPECT_EQ(value, 2);
}
