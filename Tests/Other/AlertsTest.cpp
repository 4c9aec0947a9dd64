// Numbered messages and questions, the operating-system error texts and the Apple event error record,
// answered without a window.
#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/PlatformApp.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class AlertsTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string folder = MakeTestFolder("alert-strings");
        std::ofstream(folder + "/strings.rdesc") << "STR# 128\n"
                                                    "  3 Tool message.\n"
                                                    "STR# 200\n"
                                                    "  1 Plain message.\n"
                                                    "  2 File \"#\" and # again.\n"
                                                    "  12 Failed: #\n"
                                                    "STR# 201\n"
                                                    "  1 Move # to #?\n"
                                                    "STR# 401\n"
                                                    "  1 -43 File not found.\n"
                                                    "  2 -34 Disk full.\n"
                                                    "  4 -36 Beyond the empty item.\n"
                                                    "STR# 1300\n"
                                                    "  1 before closing\n"
                                                    "  2 before quitting\n"
                                                    "STR# 5000\n"
                                                    "  1 Cancel\n";
        // The alerts themselves: an alert without its resource is never answered.
        std::ofstream dialogs(folder + "/dialogs.rdesc");
        for (int id : {kErrorAlertId, kQuestionAlertId, kSaveChangesAlertId})
            dialogs << "ALRT " << id << " 0 0 100 300\nDITL " << id << "\n  1 button 70 200 90 280 \"OK\"\n";
        dialogs.close();
        LoadAppResourcesFrom(folder);
        ClearRecordedAlerts();
        SetAlertResponder(nullptr);
    }
    void TearDown() override {
        SetAlertResponder(nullptr);
        ClearRecordedAlerts();
        if (AppleEventInProgress) EndAppleEventCommand(0);
        ResetAppResources();
    }
    static std::string Shown(size_t i = 0) { return RecordedAlerts().at(i).params[0]; }
};

} // namespace

TEST_F(AlertsTest, ErrorMessagesReplaceTheirFirstHash) {
    ShowErrorAlert(2, PStr("a.dxf"));
    ShowErrorAlert(1, PStr("ignored"));
    ShowErrorText(PStr("Direct text"));
    ShowErrorStr128(3);
    ASSERT_EQ(RecordedAlerts().size(), 4u);
    EXPECT_EQ(RecordedAlerts()[0].alertId, kErrorAlertId);
    EXPECT_EQ(Shown(0), "File \"a.dxf\" and # again.");
    EXPECT_EQ(Shown(1), "Plain message.");
    EXPECT_EQ(Shown(2), "Direct text");
    EXPECT_EQ(Shown(3), "Tool message.");
    EXPECT_EQ(RecordedAlerts()[0].params[1], "");

    ClearRecordedAlerts();
    ShowErrorAlert(2, PStr(std::string(300, 'x')));
    EXPECT_EQ(Shown().size(), 255u);
    EXPECT_EQ(Shown().substr(0, 8), "File \"xx");
    // The name gives way, not the message: its end stays, the name shortened around an ellipsis.
    EXPECT_EQ(Shown().substr(Shown().size() - 16), "xx\" and # again.");
    EXPECT_NE(Shown().find("x\xC9x"), std::string::npos);
    // A message that does not exist shows an empty text.
    ShowErrorAlert(77, PStr("word"));
    EXPECT_EQ(Shown(1), "");
}

TEST_F(AlertsTest, QuestionsFillBothHashesAndConfirmWithItemTwo) {
    SInt16 answer = 2;
    SetAlertResponder([&](const AlertRecord& a) { return a.alertId == kQuestionAlertId ? answer : 0; });
    EXPECT_TRUE(AskConfirm(1, PStr("A"), PStr("B")));
    EXPECT_EQ(Shown(), "Move A to B?");
    // A "#" inside the first text does not take the second text.
    answer = 1;
    EXPECT_FALSE(AskConfirm(1, PStr("#1"), PStr("layer 2")));
    EXPECT_EQ(Shown(1), "Move #1 to layer 2?");
    answer = 3;
    EXPECT_FALSE(AskConfirm(1, PStr(""), PStr("")));
    EXPECT_EQ(Shown(2), "Move  to ?");
}

TEST_F(AlertsTest, OperatingSystemErrorsShowTheirTextAndCode) {
    ShowOSErrorAlert(-34);
    ShowOSErrorAlert(-99);
    ShowOSErrorAlert(-36); // listed only after the list's end
    ASSERT_EQ(RecordedAlerts().size(), 3u);
    EXPECT_EQ(Shown(0), "Failed: Disk full. (-34)");
    EXPECT_EQ(Shown(1), "Failed: -99");
    EXPECT_EQ(Shown(2), "Failed: -36");
}

TEST_F(AlertsTest, AppleEventCommandsRecordErrorsInsteadOfShowingThem) {
    BeginAppleEventCommand();
    ShowErrorAlert(2, PStr("x.cadx"));
    ShowErrorAlert(1, PStr(""));
    EXPECT_TRUE(RecordedAlerts().empty());
    // Questions are still asked.
    EXPECT_FALSE(AskConfirm(1, PStr("a"), PStr("b")));
    EXPECT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_NE(EndAppleEventCommand(0), 0); // a failed command never reports success
    Str255 text;
    GetRecordedAppleEventErrorText(text);
    EXPECT_EQ(ToStd(text), "File \"x.cadx\" and # again.");

    // The operating-system code itself is the command's result; the next command starts clean.
    BeginAppleEventCommand();
    EXPECT_EQ(RecordedAppleEventErrorCode(), 0);
    ShowOSErrorAlert(-43);
    EXPECT_EQ(EndAppleEventCommand(0), -43);
    GetRecordedAppleEventErrorText(text);
    EXPECT_EQ(ToStd(text), "Failed: File not found. (-43)");

    BeginAppleEventCommand();
    EXPECT_EQ(EndAppleEventCommand(-1708), -1708);
    ShowErrorText(PStr("after the command"));
    EXPECT_EQ(Shown(1), "after the command");
}

TEST_F(AlertsTest, SaveChangesMapsTheAlertItems) {
    struct Case {
        SInt16 item;
        SInt16 answer;
    };
    for (Case c : {Case{1, 1}, Case{2, 3}, Case{3, 2}, Case{4, 0}}) {
        SetAlertResponder([&](const AlertRecord&) { return c.item; });
        EXPECT_EQ(AskSaveChanges(PStr("Plan & Co"), c.item == 1), c.answer);
    }
    EXPECT_EQ(RecordedAlerts()[0].alertId, kSaveChangesAlertId);
    EXPECT_EQ(RecordedAlerts()[0].params[0], "Plan & Co");
    EXPECT_EQ(RecordedAlerts()[0].params[1], "before closing");
    EXPECT_EQ(RecordedAlerts()[1].params[1], "before quitting");
    // Without a responder the default item answers when no window system or no input can.
    SetAlertResponder(nullptr);
    EXPECT_EQ(AskSaveChanges(PStr("x"), true), 1);
}
