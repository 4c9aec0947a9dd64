// The document's texts end to end: the log editor from Edit > Text Editor with its own Edit menu,
// the drawing's font and size, the header and footer from the File menu, and the size menu 173.
#include "DialogItemInput.h"

#include "Dialogs/DocumentTextDialogs.h"
#include "Model/SharedUtilities.h"
#include "Platform/Fonts.h"
#include "Platform/Clipboard.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Shell/MenuBar.h"

#include <cstring>

namespace {

std::string Log(DocWindowRecord* doc) {
    Handle h = doc->drawing->logText;
    return h == nullptr ? std::string() : std::string(*h, size_t(GetHandleSize(h)));
}

class LogEditor : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        AppendLogCString(doc, "DXF-in: 3DFACE ignored");
        AppendLogCString(doc, "second");
    }
    void Open() { ASSERT_TRUE(ChooseDialogFromMenu(kEditMenu, 12)); }
};

} // namespace

TEST_F(LogEditor, CancelLeavesTheLogAndOKTakesTheEditedText) {
    const std::string before = Log(doc);
    Open();
    QueueTypedText("xyz");
    QueueEscape();
    RunLoop();
    EXPECT_EQ(Log(doc), before);
    EXPECT_FALSE(doc->drawing->changed);
    Open();
    QueueTypedText("Note: ");
    QueueReturn();
    RunLoop();
    EXPECT_EQ(Log(doc), "Note: " + before);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(LogEditor, EditCommandsByTheirKeys) {
    // Select all and cut by the command keys: the clipboard has the log, the log is empty.
    Open();
    QueueKey(kKeyCodeA, 'a', cmdKey);
    QueueKey(kKeyCodeX, 'x', cmdKey);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(Log(doc), "");
    EXPECT_TRUE(ScrapHasText());
    // Paste twice; then select all and delete leaves nothing; Cancel keeps the log.
    Open();
    QueueKey(kKeyCodeV, 'v', cmdKey);
    QueueKey(kKeyCodeV, 'v', cmdKey);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(Log(doc), "DXF-in: 3DFACE ignored\rsecond\rDXF-in: 3DFACE ignored\rsecond\r");
    Open();
    QueueKey(kKeyCodeA, 'a', cmdKey);
    QueueKey(kKeyCodeDelete, kBackspaceCharCode);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(Log(doc), "");
}

TEST(DocumentLog, EditorTextAndLogConvertBothWaysWithinTheLimit) {
    const std::string log = "Caf\x8E\rline\r"; // Mac Roman e acute
    Handle h = NewHandle(Size(log.size()));
    std::memcpy(*h, log.data(), log.size());
    EXPECT_EQ(LogToEditorText(h), "Caf\xC3\xA9\nline\n");
    EXPECT_EQ(EditorTextToLog(LogToEditorText(h)), log);
    DisposeHandle(h);
    EXPECT_EQ(EditorTextToLog(std::string(40000, 'x')).size(), 31999u);
}

TEST_F(ToolGuiTest, FontSizeDialogStoresTheSizeChosen) {
    doc->settings->textSize = 12;
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 14));
    QueuePopupChoice(kFontSizeDialog, 5, 43, 6); // 24
    QueueReturn();
    RunLoop();
    EXPECT_EQ(doc->settings->textSize, 24);
    EXPECT_TRUE(doc->drawing->changed);
    // A size that is no number is refused; Cancel keeps 24.
    AlertAnswers answers({});
    ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 14));
    QueueTypedText("0");
    QueueReturn();
    QueueEscape();
    RunLoop();
    EXPECT_EQ(doc->settings->textSize, 24);
}

TEST_F(ToolGuiTest, HeaderSizeZeroOpensAsTwelveAndOKStoresTheTexts) {
    doc->settings->headerSize = 0;
    ASSERT_TRUE(ChooseDialogFromMenu(kFileMenu, 18));
    QueueTypedText("Left head");
    QueueItemClick(kHeaderFooterDialog, 24, 44, 8);
    QueueReturn();
    RunLoop();
    EXPECT_EQ(doc->settings->headerSize, 12);
    EXPECT_EQ(PStrToUTF8(doc->drawing->headerFooter.texts[0]), "Left head");
    EXPECT_EQ(doc->settings->headerOption, 1);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(ShellTest, SizeMenuShowsStandardSizesAndOneCustomSize) {
    MenuRef menu = SizeMenuHandle();
    ASSERT_NE(menu, nullptr);
    struct Case {
        SInt16 size, result, items;
        const char* first;
    } cases[] = {{11, 1, 9, "11"}, {12, 3, 7, "9"}, {72, 1, 9, "72"}, {36, 7, 7, "9"}};
    for (const Case& c : cases) {
        EXPECT_EQ(FontSizeMenu(c.size, kFontGeneva), c.result) << c.size;
        EXPECT_EQ(CountMenuItems(menu), c.items) << c.size;
        Str255 text;
        GetMenuItemText(menu, 1, text);
        EXPECT_EQ(PStrToUTF8(text), c.first) << c.size;
    }
}
