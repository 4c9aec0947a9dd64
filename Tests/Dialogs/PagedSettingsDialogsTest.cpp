// The document options (129) and dimension settings (132) dialogs from their Settings items: the
// pages appended and removed, the remembered page clamped and kept on Cancel, lengths through the
// length factor both ways, a pen or layer out of range refused, the dimension font with its
// question, and each page as a picture.
#include "SettingsDialogSupport.h"

#include "Dialogs/DocumentSettingsDialogs.h"
#include "Model/Dimensions.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Model/UndoJournal.h"
#include "Interface/DialogItems.h"
#include "Platform/Menus.h"
#include "Shell/MenuBar.h"

#include <cstring>
#include <string>

using namespace settings_test;

namespace {

constexpr Origin kPagedOrigin{80, 160}; // dialogs 129 and 132
constexpr SInt16 kOwnItems = 3;
constexpr SInt16 kOptionsPageItems[] = {0, 28, 21};
constexpr SInt16 kDimensionPageItems[] = {0, 30, 31, 17};
constexpr SInt16 kMissingFont = 9999;

void SetStr(StringPtr dest, const char* text) {
    dest[0] = UInt8(std::strlen(text));
    std::memcpy(dest + 1, text, dest[0]);
}

void QueuePage(SInt16 page) {
    QueuePopUpMenuChoice(page);
    QueueItemClick(kPagedOrigin, 6, 16, 26, 300);
}

class PagedDialogs : public SettingsDialogTest {
  protected:
    void SetUp() override {
        SettingsDialogTest::SetUp();
        s->dialogUnit = 1;
    }
    void AddDimension() {
        BeginUndoStep(doc);
        ASSERT_NE(CreateHorizontalDimension(doc, 0, 0, 40, 0, 20, 10, nullptr, nullptr, nullptr), nullptr);
        EndUndoStep(doc);
    }
};

} // namespace

TEST_F(PagedDialogs, RememberedPagesAreClampedAndAPageSwitchOutlivesCancel) {
    struct Case {
        SInt16 menuItem;
        SInt16* remembered;
        SInt16 stored, opens, switchTo;
        const SInt16* pageItems;
    } cases[] = {
        {2, &s->optionsDialogPage, 0, 1, 2, kOptionsPageItems},
        {2, &s->optionsDialogPage, 7, 1, 2, kOptionsPageItems},
        {5, &s->dimDialogPage, 5, 3, 1, kDimensionPageItems},
        {5, &s->dimDialogPage, -2, 1, 2, kDimensionPageItems},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.menuItem) + " page " + std::to_string(c.stored));
        *c.remembered = c.stored;
        static const Case* current;
        current = &c;
        WhenIdle([](DialogRef d) {
            EXPECT_EQ(GetItemValue(d, 3), current->opens);
            EXPECT_EQ(CountDITL(d), kOwnItems + current->pageItems[current->opens]);
            QueuePage(current->switchTo);
            WhenIdle([](DialogRef d2) {
                EXPECT_EQ(CountDITL(d2), kOwnItems + current->pageItems[current->switchTo]);
                QueueEscape();
            });
        });
        DocSettings before = *s;
        Choose(c.menuItem);
        EXPECT_EQ(*c.remembered, c.switchTo);
        // Nothing else changed.
        before.optionsDialogPage = s->optionsDialogPage;
        before.dimDialogPage = s->dimDialogPage;
        EXPECT_EQ(std::memcmp(&before, s, sizeof before), 0);
    }
}

TEST_F(PagedDialogs, OKWithoutChangesKeepsEveryLengthThroughTheLengthFactor) {
    s->drawingScale = 2; // lengths are shown at twice their millimetres
    s->dimStackSpacing = 12.5;
    s->extensionGap = 7.25;
    SetDimTextHeight(s, 2.5);
    for (UInt16 unit : {1, 2}) {
        SCOPED_TRACE(unit);
        s->dialogUnit = unit;
        const double tolerance = unit == 1 ? 1e-12 : 1e-3;
        DocSettings before = *s;
        s->dimDialogPage = 1;
        QueuePage(2);
        QueuePage(3);
        QueueReturn();
        Choose(5);
        EXPECT_NEAR(s->dimStackSpacing, before.dimStackSpacing, tolerance);
        EXPECT_NEAR(s->extensionGap, before.extensionGap, tolerance);
        EXPECT_NEAR(s->dimTerminatorSize, before.dimTerminatorSize, tolerance);
        EXPECT_NEAR(s->dimLineOffset, before.dimLineOffset, tolerance);
        EXPECT_NEAR(DimTextHeight(s), 2.5, tolerance);
        EXPECT_EQ(s->dimFlags, before.dimFlags);
        EXPECT_EQ(s->dimDecimals, before.dimDecimals);
        EXPECT_EQ(s->dimPen, before.dimPen);
        EXPECT_EQ(std::memcmp(s->dimPrefix, before.dimPrefix, sizeof s->dimPrefix), 0);
    }
}

TEST_F(PagedDialogs, APenOrLayerOutOfRangeIsRefusedAndNeverStored) {
    s->dimPen = 3;
    s->dimLayer = 4;
    struct Case {
        const char* tabs; // to the field from the prefix
        const char* refused;
        const char* accepted;
        const char* message;
        SInt16 pen, layer;
    } cases[] = {
        {"\t\t", "12", "5", "pen", 5, 4},
        {"\t\t\t", "5000", "7", "layer", 5, 7},
        {"\t\t\t", "-1", "1023", "layer", 5, 1023},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused);
        ClearRecordedAlerts();
        s->dimDialogPage = 1; // the refusal shows page 3
        QueuePage(3);
        QueueTypedText(c.tabs);
        QueueTypedText(c.refused);
        QueueReturn();
        QueueReturn();              // closes the message
        QueueTypedText(c.accepted); // replaces the selected field
        QueueReturn();
        Choose(5);
        ASSERT_EQ(RecordedAlerts().size(), 1u);
        EXPECT_NE(RecordedAlerts()[0].params[0].find(c.message), std::string::npos);
        EXPECT_EQ(s->dimPen, c.pen);
        EXPECT_EQ(s->dimLayer, c.layer);
    }
}

TEST_F(PagedDialogs, ANewDimensionFontIsAppliedAtOnceOrAfterItsQuestion) {
    struct Case {
        bool withDimension;
        SInt16 answer; // 0: no question expected
        bool changed;
    } cases[] = {{false, 0, true}, {true, 1, false}, {true, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        if (c.withDimension && doc->dimensionHead->next == nullptr) AddDimension();
        ClearRecordedAlerts();
        SetAlertResponder([&](const AlertRecord&) { return c.answer; });
        s->dimFont = kMissingFont;
        s->dimDialogPage = 2;
        QueuePopUpMenuChoice(2);
        QueueItemClick(kPagedOrigin, 110, 270, 130, 440); // the font
        QueueReturn();
        Choose(5);
        EXPECT_EQ(RecordedAlerts().size(), c.answer ? 1u : 0u);
        EXPECT_EQ(s->dimFont != kMissingFont, c.changed);
        if (c.changed && c.withDimension) {
            EXPECT_EQ(doc->drawing->undo.undoStepCount, 0);
        }
    }
}

TEST_F(PagedDialogs, FlagWordOfPageOne) {
    // Bits 3 and 5 of the frame shape: the lowest wins and is written back alone.
    s->dimFlags = UInt16((1u << 3) | (1u << 5) | kDimUnitSuffix);
    s->dimDialogPage = 1;
    WhenIdle([](DialogRef d) {
        EXPECT_EQ(GetItemValue(d, SInt16(kOwnItems + 4)), 3);
        QueueItemClick(kPagedOrigin, 120, 16, 138, 220);  // value only
        QueueItemClick(kPagedOrigin, 170, 230, 188, 440); // no extension lines
        QueuePopUpMenuChoice(4);
        QueueItemClick(kPagedOrigin, 90, 230, 110, 330); // second terminator: none
        QueueReturn();
    });
    Choose(5);
    EXPECT_EQ(s->dimFlags & kDimFrameShapeBits, 1u << 3);
    EXPECT_EQ(s->dimFlags & kDimUnitSuffix, 0);
    EXPECT_NE(s->dimFlags & kDimNoExtensionLines, 0);
    EXPECT_EQ(DimSecondTerminator(s->dimFlags), 3);
}

TEST_F(PagedDialogs, TheOneDimensionFormWritesPageOneAndTheChoicesOnly) {
    s->dimDialogPage = 3;
    s->dimStackSpacing = 12.5;
    s->dimPen = 4;
    SetStr(s->dimPrefix, "L=");
    const DocSettings before = *s;
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        QueueTypedText("5\t1"); // text height, decimals
        QueuePopUpMenuChoice(2);
        QueueItemClick(kPagedOrigin, 220, 84, 240, 230); // numbers: feet and inches
        if (ok)
            QueueReturn();
        else
            QueueEscape();
        EXPECT_EQ(DimensionSettingsDialog(doc, false), ok ? 1 : 0);
        EXPECT_EQ(s->dimDialogPage, 1);
        EXPECT_DOUBLE_EQ(DimTextHeight(s), ok ? 5.0 : DimTextHeight(&before));
        EXPECT_EQ(s->dimDecimals, ok ? 1 : before.dimDecimals);
        EXPECT_EQ(DimFeetInchFormat(s), ok ? 1 : 0);
        EXPECT_DOUBLE_EQ(s->dimStackSpacing, 12.5);
        EXPECT_EQ(s->dimPen, 4);
        EXPECT_EQ(std::memcmp(s->dimPrefix, before.dimPrefix, sizeof s->dimPrefix), 0);
    }
}

TEST_F(PagedDialogs, DocumentOptionsAreWrittenOnOKOnly) {
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        s->optionsDialogPage = 1;
        s->textDisplayMode = 0;
        s->viewFramesShown = 1;
        s->decimals = 2;
        static bool confirm;
        confirm = ok;
        WhenIdle([](DialogRef) {
            QueueItemClick(kPagedOrigin, 40, 204, 58, 320); // texts: outlines only
            QueuePage(2);
            QueueItemClick(kPagedOrigin, 40, 304, 58, 360); // view frames: no
            QueueTypedText("\t3");                          // decimal places
            if (confirm)
                QueueReturn();
            else
                QueueEscape();
        });
        Choose(2);
        EXPECT_EQ(s->textDisplayMode, ok ? 1 : 0);
        EXPECT_EQ(s->viewFramesShown, ok ? 0 : 1);
        EXPECT_EQ(s->decimals, ok ? 3 : 2);
        EXPECT_EQ(s->optionsDialogPage, 2);
    }
}

TEST_F(PagedDialogs, DecimalPlacesStayWithinZeroToTen) {
    for (auto [typed, stored] : {std::pair{"-1", 0}, {"12", 10}, {"4", 4}}) {
        SCOPED_TRACE(typed);
        s->optionsDialogPage = 2;
        static const char* text;
        text = typed;
        WhenIdle([](DialogRef) {
            QueueTypedText(std::string("\t") + text);
            QueueReturn();
        });
        Choose(2);
        EXPECT_EQ(s->decimals, stored);
    }
}

TEST_F(PagedDialogs, ScreenshotsOfEveryPage) {
    struct Shot {
        SInt16 menuItem, pages;
        const char* name;
    } shots[] = {{2, 2, "document_options"}, {5, 3, "dimension_settings"}};
    for (const Shot& shot : shots) {
        static const Shot* current;
        static SInt16 page;
        current = &shot;
        page = 1;
        s->optionsDialogPage = s->dimDialogPage = 1;
        static void (*next)(DialogRef) = nullptr;
        next = [](DialogRef) {
            EXPECT_TRUE(ShootFrontDialog(std::string(current->name) + "_page" + std::to_string(page)));
            if (page == current->pages) {
                QueueEscape();
                return;
            }
            QueuePage(++page);
            WhenIdle(next);
        };
        WhenIdle(next);
        Choose(shot.menuItem);
    }
}
