// Text objects in a window fed by queued keys and clicks, as the command field uses them.
#include "GuiHarness.h"
#include "Platform/TextObjects.h"

namespace {

class TextObjectsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 300, 500});
        SetPortWindowPort(window);
    }
    void TearDown() override {
        DisposeTextObject(&object);
        GuiTest::TearDown();
    }
    // Hands every queued key-down and mouse-down to the object, as the program's key handler would.
    void Feed() {
        EventRecord e{};
        while (!PlatformInputIdle()) {
            if (!WaitNextEvent(everyEvent, &e, 0, nullptr)) continue;
            if (e.what == keyDown || e.what == autoKey)
                TextObjectKeyDown(object, &e);
            else if (e.what == mouseDown)
                TextObjectClick(object, &e);
            else if (e.what == updateEvt) {
                BeginUpdate(window);
                EndUpdate(window);
            }
        }
    }
    std::string Text() const { return GetTextObjectUTF8Text(object); }

    WindowRef window = nullptr;
    TXNObject object = nullptr;
    TXNFrameID frame = 0;
};

} // namespace

TEST_F(TextObjectsTest, OneLineTakesKeysSelectionAndClicks) {
    Rect r{170, 100, 190, 390};
    Rect wide{170, 100, 190, 16100};
    ASSERT_EQ(NewTextObject(&object, &frame, window, &r, &wide, 12, true), noErr);
    EXPECT_TRUE(TextObjectIsValid(object));
    FocusTextObject(object, frame);
    QueueTypedText("12,5");
    Feed();
    EXPECT_EQ(Text(), "12,5");

    // A selection is replaced by what is typed; the arrows and Delete edit as usual.
    SetTextObjectSelection(object, frame, 0, 2);
    EXPECT_TRUE(TextObjectHasSelection(object));
    QueueTypedText("7");
    QueueKey(kKeyCodeRightArrow, kRightArrowCharCode);
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    Feed();
    EXPECT_EQ(Text(), "75"); // "7" replaced "12", then the comma went
    SInt32 s = 0, e = 0;
    GetTextObjectSelection(object, &s, &e);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(e, 1);

    // System-encoded text in and out.
    SetTextObjectText(object, frame, "5\xB1 1", 4, 0);
    EXPECT_EQ(Text(), "5\xC2\xB1 1");
    Str255 back;
    GetTextObjectText(object, back);
    EXPECT_EQ(ToStd(back), "5\xB1 1");

    // A click far right places the insertion point at the end.
    SetTextObjectSelection(object, frame, 0, 0);
    QueueClick(window, Pt(380, 180));
    Feed();
    GetTextObjectSelection(object, &s, &e);
    EXPECT_EQ(s, 4);
    EXPECT_TRUE(TextObjectContainsPoint(object, Pt(380, 180)));
    EXPECT_FALSE(TextObjectContainsPoint(object, Pt(10, 10)));

    TextObjectSelectAll(object);
    TextObjectClear(object);
    EXPECT_EQ(Text(), "");
    DisposeTextObject(&object);
    EXPECT_EQ(object, nullptr);
    EXPECT_FALSE(TextObjectIsValid(object));
}

TEST_F(TextObjectsTest, SeveralLinesTakeReturn) {
    Rect r{10, 10, 150, 390};
    ASSERT_EQ(NewTextObject(&object, &frame, window, &r, &r, 0, false), noErr);
    FocusTextObject(object, frame);
    QueueTypedText("first\rsecond");
    Feed();
    EXPECT_EQ(Text(), "first\nsecond");
}
