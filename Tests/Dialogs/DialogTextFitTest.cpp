// Every dialog of the program's resources, opened as the program opens it: no label, check box,
// radio button or button text is cut short or wrapped onto a line its item does not show.
#include "GuiHarness.h"

#include "Platform/AppResources.h"
#include "Platform/Controls.h"
#include "Platform/DialogManager.h"
#include "Platform/WindowFit.h"

#include <string>
#include <vector>

TEST_F(GuiTest, EveryDialogTextFitsItsItem) {
    std::vector<std::string> cut;
    int dialogs = 0;
    for (int id = 1; id <= 32767; ++id) {
        if (FindDialogResource(SInt16(id)) == nullptr) continue;
        DialogRef dialog = GetNewDialog(SInt16(id), nullptr, nullptr);
        if (dialog == nullptr) continue;
        ++dialogs;
        for (SInt16 item = 1; item <= CountDITL(dialog); ++item) {
            ControlRef control = nullptr;
            if (GetDialogItemAsControl(dialog, item, &control) != noErr || ControlTextFits(control)) continue;
            Str255 title;
            GetControlTitle(control, title);
            cut.push_back("dialog " + std::to_string(id) + " item " + std::to_string(item) + " \"" +
                          std::string(reinterpret_cast<const char*>(title + 1), title[0]) + "\"");
        }
        DisposeDialog(dialog);
    }
    EXPECT_GT(dialogs, 40);
    EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
}
