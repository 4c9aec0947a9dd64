// The grid, pick aperture and pen dialogs from their Settings items, answered by keys, clicks,
// pop-up choices and the colour picker: folded grid angles and equal spacing, apertures of at least
// 2, pen widths and line types within their limits, colours given back on Cancel, and the pen dialog
// shrunk to its mode choice while the current attributes are chosen.
#include "SettingsDialogSupport.h"

#include "Dialogs/DocumentSettingsDialogs.h"
#include "Dialogs/PenSettingsDialog.h"
#include "Model/DocSettings.h"
#include "Platform/ColorPicker.h"
#include "Platform/Menus.h"
#include "Platform/Windows.h"
#include "Shell/MenuBar.h"

#include <cmath>
#include <limits>
#include <string>

using namespace settings_test;

namespace {

constexpr Origin kGridOrigin{100, 180}, kPensOrigin{80, 160};

using SettingsDialogs = SettingsDialogTest;

} // namespace

TEST(GridAngles, FoldIntoHalfATurnInConstantTime) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double typed, stored;
    } cases[] = {{-30, 150},
                 {180, 0},
                 {540, 0},
                 {179.5, 179.5},
                 {-180, 0},
                 {-1e-20, 0},
                 {1e300, std::fmod(1e300, 180.0)},
                 {inf, 0},
                 {-inf, 0},
                 {std::nan(""), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        double folded = FoldGridAngle(c.typed);
        EXPECT_NEAR(folded, c.stored, 1e-9);
        EXPECT_GE(folded, 0.0);
        EXPECT_LT(folded, 180.0);
    }
}

TEST_F(SettingsDialogs, GridFoldsAnglesAndMakesEqualSpacing) {
    s->gridVisible = 1;
    struct Case {
        const char* typed; // spacing x, y, the two angles
        bool clickEqual, alternative, cancel;
        double x, y, a1, a2;
        SInt16 mode;
        UInt16 bits;
    } cases[] = {
        {"10\t20\t-30\t540", false, false, false, 10, 20, 150, 0, 0, 0},
        {"5\t7\t180\t45*2", true, true, false, 5, 5, 0, 90, 1, 1},
        {"1\t2\t3\t4", true, false, true, 5, 5, 0, 90, 1, 1},   // cancelled
        {"4\t6\t1/0\t0", true, false, false, 4, 6, 0, 0, 1, 0}, // equal spacing off again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 12));
        QueueTypedText(c.typed);
        if (c.clickEqual) QueueItemClick(kGridOrigin, 166, 16, 184, 240);
        if (c.alternative) QueueItemClick(kGridOrigin, 60, 250, 78, 390);
        if (c.cancel)
            QueueEscape();
        else
            QueueReturn();
        RunLoop();
        EXPECT_DOUBLE_EQ(s->gridX, c.x);
        EXPECT_DOUBLE_EQ(s->gridY, c.y);
        EXPECT_DOUBLE_EQ(s->gridAngleX, c.a1);
        EXPECT_DOUBLE_EQ(s->gridAngleY, c.a2);
        EXPECT_EQ(s->gridMode, c.mode);
        EXPECT_EQ(s->gridOptionBits, c.bits);
    }
}

TEST_F(SettingsDialogs, AperturesAreAtLeastTwoPixels) {
    struct Case {
        const char* typed;
        bool cancel;
        SInt16 pick, second;
    } cases[] = {
        {"0\t1", false, 2, 2}, {"5\t9", false, 5, 9}, {"30\t40", true, 5, 9}, {"-4\tx", false, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 9));
        QueueTypedText(c.typed);
        if (c.cancel)
            QueueEscape();
        else
            QueueReturn();
        RunLoop();
        EXPECT_EQ(s->pickAperture, c.pick);
        EXPECT_EQ(s->pickAperture2, c.second);
    }
    // A stored aperture below 2 shows as 2.
    s->pickAperture = 0;
    WhenIdle([](DialogRef d) {
        EXPECT_EQ(ItemText(d, 4), "2");
        QueueEscape();
    });
    Choose(9);
    EXPECT_EQ(s->pickAperture, 2);
}

TEST_F(SettingsDialogs, PenWidthsAndLineTypesStayWithinTheirLimits) {
    s->penMode = 1;
    struct Case {
        UInt16 dialogUnit;
        const char* typed; // pen 1: line type, width
        SInt16 type;
        double width;
    } cases[] = {
        {1, "0\t0", 1, 0.01}, {1, "12\t31", 10, 30.0}, {1, "3\t0.35", 3, 0.35},
        {2, "2\t1", 2, 25.4}, {1, "4\tabc", 4, 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        s->dialogUnit = c.dialogUnit;
        ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 11));
        QueueTypedText(c.typed);
        QueueReturn();
        RunLoop();
        EXPECT_EQ(s->penLineKinds[0], c.type);
        EXPECT_NEAR(s->penWidths[0], c.width, 1e-9);
        EXPECT_EQ(s->penMode, 1);
    }
}

TEST_F(SettingsDialogs, APatternedPenGetsALineTypeOfTwoAtOnce) {
    s->penMode = 1;
    s->penLineKinds[0] = 1;
    QueuePopUpMenuChoice(4);
    QueueItemClick(kPensOrigin, 111, 258, 131, 420); // pen 1's pattern
    WhenIdle([](DialogRef d) {
        EXPECT_EQ(ItemText(d, PenLineTypeItem(0)), "2");
        QueueReturn();
    });
    Choose(11);
    EXPECT_EQ(s->penPatterns[0], 4);
    EXPECT_EQ(s->penLineKinds[0], 2);
    // A line type of 1 typed for a patterned pen is stored as 2.
    ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, 11));
    QueueTypedText("1");
    QueueReturn();
    RunLoop();
    EXPECT_EQ(s->penLineKinds[0], 2);
}

TEST_F(SettingsDialogs, PickedColoursAreKeptOnOKAndGivenBackOnCancel) {
    s->penMode = 1;
    const RGBColor before = s->penColors[2], red{0xFFFF, 0, 0};
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        QueueColorPickerAnswer(true, red);
        QueueItemClick(kPensOrigin, 164, 66, 182, 96); // pen 3's swatch
        if (ok)
            QueueReturn();
        else
            QueueEscape();
        Choose(11);
        const RGBColor want = ok ? red : before;
        EXPECT_EQ(s->penColors[2].red, want.red);
        EXPECT_EQ(s->penColors[2].green, want.green);
        EXPECT_EQ(s->penColors[2].blue, want.blue);
    }
}

TEST_F(SettingsDialogs, ThePenDialogShowsOnlyTheModeChoiceForCurrentAttributes) {
    s->penMode = 0;
    static SInt16 heights[2];
    WhenIdle([](DialogRef d) {
        Rect r;
        GetWindowPortBounds(GetDialogWindow(d), &r);
        heights[0] = SInt16(r.bottom - r.top);
        EXPECT_TRUE(ShootFrontDialog("pens_short"));
        QueueItemClick(kPensOrigin, 36, 16, 54, 400); // colour, width and pattern from the pens
        WhenIdle([](DialogRef d2) {
            Rect full;
            GetWindowPortBounds(GetDialogWindow(d2), &full);
            heights[1] = SInt16(full.bottom - full.top);
            EXPECT_TRUE(ShootFrontDialog("pens_full"));
            QueueReturn();
        });
    });
    Choose(11);
    EXPECT_EQ(heights[0], kPenDialogShortHeight);
    EXPECT_EQ(heights[1], 330);
    EXPECT_EQ(s->penMode, 1);
}

TEST_F(SettingsDialogs, ScreenshotsOfTheGridAndApertureDialogs) {
    for (SInt16 item : {12, 9}) {
        static SInt16 current;
        current = item;
        WhenIdle([](DialogRef) {
            EXPECT_TRUE(ShootFrontDialog(current == 12 ? "grid" : "pick_aperture"));
            QueueEscape();
        });
        Choose(item);
    }
}
