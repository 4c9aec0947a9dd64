// The Edit menu's text items on the command field, through the menu bar: pasted coordinates drive a
// tool, a pasted text is one line cut to the field's room, Paste is dimmed without text on the
// clipboard, and cut and copy put the field's selection there.
#include "ToolGuiFixture.h"

#include "Platform/Clipboard.h"
#include "Platform/TextObjects.h"
#include "Tools/CommandField.h"

#include <string>

namespace {

class CommandFieldClipboard : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        ClearCurrentScrap();
        ChooseTool(0); // lines: the field takes coordinates
    }
    void PutClipboard(const std::string& utf8) {
        PutScrapData(Size(utf8.size()), kScrapFlavorUTF8, utf8.data());
    }
    bool Choose(SInt16 item) {
        bool chosen = ChooseMenuItem(kEditMenu, item);
        RunLoop();
        return chosen;
    }
    std::string FieldText() {
        const CommandFieldRecord* f = CommandFieldOf(doc);
        return std::string(reinterpret_cast<const char*>(f->text + 1), f->text[0]);
    }
    void Type(const std::string& text) {
        QueueTypedText(text);
        RunLoop();
    }
};

} // namespace

TEST_F(CommandFieldClipboard, PastedCoordinatesPlaceAPoint) {
    EXPECT_FALSE(Choose(6)) << "Paste is dimmed while the clipboard holds no text";
    PutClipboard("30,40\nsecond line");
    ASSERT_TRUE(Choose(6));
    EXPECT_EQ(FieldText(), "30,40");
    Type("\r@10,0\r");
    const LineRecord* line = doc->lineHead->next;
    ASSERT_NE(line, nullptr);
    EXPECT_DOUBLE_EQ(line->x1, 30);
    EXPECT_DOUBLE_EQ(line->y1, 40);
    EXPECT_DOUBLE_EQ(line->x2, 40);
    EXPECT_DOUBLE_EQ(line->y2, 40);
}

TEST_F(CommandFieldClipboard, APastedTextIsCutToTheFieldsRoomAtACharacterBoundary) {
    Type(std::string(251, '1'));
    ASSERT_EQ(FieldText().size(), 251u);
    PutClipboard("é⌀é"); // two, three and two bytes in UTF-8
    ASSERT_TRUE(Choose(6));
    // 255 bytes of UTF-8 hold the first é only: ⌀ would not fit whole.
    EXPECT_EQ(GetTextObjectUTF8Text(CommandFieldOf(doc)->textObject), std::string(251, '1') + "é");
    EXPECT_EQ(FieldText(), std::string(251, '1') + "\x8E"); // é in the system encoding
}

TEST_F(CommandFieldClipboard, CutAndCopyPutTheSelectionOnTheClipboard) {
    Type("12,5");
    ASSERT_TRUE(Choose(9)); // select all
    ASSERT_TRUE(Choose(5));
    EXPECT_EQ(GetScrapTextUTF8(100), "12,5");
    EXPECT_EQ(FieldText(), "12,5");
    Type("78"); // replaces the selection
    ASSERT_TRUE(Choose(9));
    ASSERT_TRUE(Choose(4));
    EXPECT_EQ(GetScrapTextUTF8(100), "78");
    EXPECT_EQ(FieldText(), "");
    EXPECT_FALSE(Choose(4)) << "nothing selected to cut";
    Type("9");
    ASSERT_TRUE(Choose(9));
    ASSERT_TRUE(Choose(8)); // clear leaves the clipboard alone
    EXPECT_EQ(FieldText(), "");
    EXPECT_EQ(GetScrapTextUTF8(100), "78");
}
