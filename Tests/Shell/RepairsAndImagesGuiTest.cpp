// Through the menu bar: a repair changes the drawing and Undo takes it back; Import Image adds an
// image, an unreadable file only gives its message; the images menu removes an image after asking.
#include "ShellTestSupport.h"

#include "Files/OpenSaveDispatch.h"
#include "Model/ElementLists.h"
#include "Platform/DialogManager.h"
#include "Platform/FileChoosers.h"
#include "Platform/Menus.h"
#include "Shell/EventLoop.h"
#include "Shell/MenuBar.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <string>

namespace {

class RepairsAndImagesGuiTest : public ShellTest {
  protected:
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        ShellTest::TearDown();
    }

    // Question alerts are confirmed (item 2), messages acknowledged.
    static void ConfirmQuestions() {
        SetAlertResponder([](const AlertRecord& alert) { return SInt16(alert.alertId == 133 ? 2 : 1); });
    }

    void ChooseFile(const std::string& path) {
        SetFilePanelResponders(
            [path](OpenPanelRequest&, std::string* chosen) {
                *chosen = path;
                return true;
            },
            nullptr);
    }

    bool AlertShown(const std::string& text) const {
        for (const AlertRecord& a : RecordedAlerts())
            if (a.params[0].find(text) != std::string::npos) return true;
        return false;
    }
};

} // namespace

TEST_F(RepairsAndImagesGuiTest, RepairingInvalidCoordinatesFromTheMenuBarUndoesFromTheEditMenu) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    SeekLastLine(doc);
    LineRecord* line = AppendLineAtCursor(doc, std::numeric_limits<Float64>::infinity(), 5, 20, 5, false);
    ASSERT_NE(line, nullptr);
    ConfirmQuestions();

    ASSERT_TRUE(ChooseMenuItem(kRepairsMenu, 1));
    RunLoop();
    ASSERT_NE(doc->lineHead->next, nullptr);
    const LineRecord* repaired = doc->lineHead->next;
    EXPECT_TRUE((repaired->x1 == 0 && repaired->x2 == 20) || (repaired->x1 == 20 && repaired->x2 == 0));
    EXPECT_TRUE(AlertShown("One invalid coordinate"));

    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1));
    RunLoop();
    ASSERT_NE(doc->lineHead->next, nullptr);
    EXPECT_TRUE(std::isinf(doc->lineHead->next->x1) || std::isinf(doc->lineHead->next->x2));
}

TEST_F(RepairsAndImagesGuiTest, ImportImageAddsTheFileAndTheImagesMenuRemovesIt) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    std::string folder = MakeTestFolder("gui-images");
    std::string picture = folder + "/Facade.ppm";
    std::ofstream(picture, std::ios::binary) << std::string("P6\n2 2\n255\n", 11) << std::string(12, '\x80');
    std::string text = folder + "/Facade notes.png";
    std::ofstream(text) << "not a picture";
    ConfirmQuestions();

    ChooseFile(text);
    ASSERT_TRUE(ChooseMenuItem(kFileMenu, 13));
    RunLoop();
    EXPECT_EQ(doc->imageCount, 0);
    EXPECT_TRUE(AlertShown("Facade notes.png"));
    EXPECT_FALSE(doc->drawing->changed);

    ChooseFile(picture);
    ASSERT_TRUE(ChooseMenuItem(kFileMenu, 13));
    RunLoop();
    ASSERT_EQ(doc->imageCount, 1);
    EXPECT_EQ(doc->images[0].width, 2);
    EXPECT_TRUE(doc->drawing->changed);

    ASSERT_TRUE(ChooseMenuItem(kImagesMenu, 1));
    RunLoop();
    EXPECT_EQ(doc->imageCount, 0);
    EXPECT_TRUE(AlertShown("Facade.ppm"));
}
