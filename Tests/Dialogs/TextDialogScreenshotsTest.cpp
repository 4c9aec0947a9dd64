// Pictures of the log editor, the header and footer dialog and the line-end dialog as they open, for
// a look at their layout.
#include "SettingsDialogSupport.h"

#include "Dialogs/ToolDialogServices.h"
#include "Model/ElementLists.h"

using namespace settings_test;

TEST_F(SettingsDialogTest, ScreenshotsOfTheLogHeaderAndLineEndDialogs) {
    struct Shot {
        SInt16 menu, item;
        const char* name;
    };
    static const Shot* current = nullptr;
    for (const Shot& shot : {Shot{kEditMenu, 12, "log_editor"}, Shot{kFileMenu, 18, "header_footer"}}) {
        current = &shot;
        WhenIdle([](DialogRef) {
            EXPECT_TRUE(ShootFrontDialog(current->name));
            QueueEscape();
        });
        ASSERT_TRUE(ChooseMenuItem(shot.menu, shot.item));
        RunLoop();
    }
    LineRecord* line = AddLine(doc, 10, 10, 60, 10);
    ASSERT_NE(line, nullptr);
    WhenIdle([](DialogRef) {
        EXPECT_TRUE(ShootFrontDialog("line_ends"));
        QueueEscape();
    });
    LineEndsDialog(doc, line);
    RunLoop();
}
