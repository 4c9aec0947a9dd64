// Pictures of the log editor, the header and footer dialog and the line-end dialog as they open, for
// a look at their layout; the text attributes' fonts and their sample as shown.
#include "SettingsDialogSupport.h"

#include "Dialogs/ToolDialogServices.h"
#include "Interface/DialogItems.h"
#include "Model/ElementLists.h"
#include "Platform/Fonts.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"

#include <cstdlib>
#include <string>
#include <vector>

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

// Settings > Text Attributes: the font pop-up offers the installed families by their own names and
// shows the current font so, and the sample of the font stays whole inside the preview box.
TEST_F(SettingsDialogTest, TextAttributesShowInstalledFontsAndAWholeSample) {
    s->textFont = kFontNewYork;
    WhenIdle([](DialogRef dialog) {
        constexpr SInt16 kFontPopup = 18;
        MenuRef fonts = GetPopupMenu(dialog, kFontPopup);
        ASSERT_NE(fonts, nullptr);
        std::vector<std::string> offered;
        for (SInt16 i = 1; i <= CountMenuItems(fonts); ++i) {
            Str255 text;
            GetMenuItemText(fonts, i, text);
            offered.emplace_back(reinterpret_cast<const char*>(text + 1), text[0]);
        }
        EXPECT_EQ(offered,
                  (std::vector<std::string>{"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif",
                                            "Liberation Mono", "Liberation Sans", "Liberation Serif"}));
        const SInt16 shown = GetItemValue(dialog, kFontPopup);
        ASSERT_GE(shown, 1);
        EXPECT_EQ(offered[size_t(shown - 1)], "DejaVu Serif");
        // The preview box (item 19, 300..500 by 32..132): no ink on its outer columns but the guide
        // lines and the justification marks, so no glyph is cut at the box's edge.
        CGrafPtr port = GetWindowPort(GetDialogWindow(dialog));
        auto ink = [&](SInt16 h, SInt16 v) {
            RGBColor c = GetPortPixel(port, h, v);
            return int(c.red >> 8) + (c.green >> 8) + (c.blue >> 8) < 3 * 128;
        };
        std::vector<int> cut;
        for (SInt16 v = 40; v <= 124; ++v) {
            if (std::abs(v - 82) <= 7 || (ink(350, v) && ink(450, v))) continue; // a mark or a guide line
            for (SInt16 h : {300, 301, 498, 499})
                if (ink(h, v)) cut.push_back(v);
        }
        EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
        QueueEscape();
    });
    Choose(4);
    EXPECT_EQ(s->textFont, kFontNewYork) << "Cancel keeps the font";
}
