// The progress window: shown only after 240 ticks, percentage and bar, and Command-period left for the
// operation to find.
#include "Interface/DialogItems.h"
#include "GuiHarness.h"
#include "Interface/ProgressWindow.h"
#include "Model/SharedUtilities.h"

using ProgressWindowTest = GuiTest;

namespace {
std::string ItemText(SInt16 item) {
    Str255 s;
    GetItemText(ProgressDialog(), item, s);
    return ToStd(s);
}
} // namespace

TEST_F(ProgressWindowTest, ShowsOnlyAfterItsDelay) {
    OpenProgress(PStr("Reading plan.dxf (12 KB)\xC9"));
    ASSERT_NE(ProgressDialog(), nullptr);
    EXPECT_EQ(ItemText(1), "Reading plan.dxf (12 KB)\xC9");
    SetProgressPercent(10);
    EXPECT_FALSE(ProgressIsVisible());
    PlatformAdvanceVirtualTime(239);
    SetProgressPercent(20);
    EXPECT_FALSE(ProgressIsVisible());
    PlatformAdvanceVirtualTime(1);
    SetProgressPercent(30);
    EXPECT_TRUE(ProgressIsVisible());
    EXPECT_TRUE(IsWindowVisible(GetDialogWindow(ProgressDialog())));
    EXPECT_EQ(ItemText(3), "30 %");
    EXPECT_EQ(ItemText(5), "About 14 s left"); // 20 % in 240 ticks, 70 % to go
    SetProgressPercent(150);
    EXPECT_EQ(ProgressPercent(), 100);
    EXPECT_EQ(ItemText(3), "100 %");
    SetProgressText8(PStr("Line 1200"));
    EXPECT_EQ(ItemText(8), "Line 1200");
    CloseProgress();
    EXPECT_FALSE(ProgressIsOpen());

    // A short operation never shows it.
    OpenProgress(PStr("Quick"));
    PlatformAdvanceVirtualTime(100);
    SetProgressPercent(100);
    EXPECT_FALSE(ProgressIsVisible());
    CloseProgress();
    EXPECT_EQ(ProgressDialog(), nullptr);
}

TEST_F(ProgressWindowTest, CommandPeriodReachesTheOperation) {
    OpenProgress(PStr("Working"));
    SimulateKey(true, kKeyCodePeriod, '.', cmdKey, false);
    bool cancelled = false;
    for (SInt16 p = 0; p <= 100 && !cancelled; p += 10) {
        SetProgressPercent(p);
        cancelled = UserCancelled();
    }
    EXPECT_TRUE(cancelled);
    CloseProgress();
}
