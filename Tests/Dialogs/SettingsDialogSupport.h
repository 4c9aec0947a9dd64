// What the settings dialog tests share: clicks at a dialog's items (where its resource places it, as
// no position is remembered), and code run inside a dialog once it waits for input.
#pragma once

#include "ShellTestSupport.h"

#include "Model/DocSettings.h"
#include "Interface/ModalDialogs.h"
#include "Platform/DialogManager.h"
#include "Platform/Events.h"
#include "Platform/Menus.h"
#include "Platform/SimulatedInput.h"
#include "Shell/MenuBar.h"

#include <functional>
#include <string>

namespace settings_test {

// The global top-left of a dialog's content, as its resource gives it (top, left).
struct Origin {
    SInt16 top, left;
};

// A click at the middle of an item given by its rectangle in the resource.
inline void QueueItemClick(Origin o, SInt16 top, SInt16 left, SInt16 bottom, SInt16 right) {
    Point global{SInt16(o.top + (top + bottom) / 2), SInt16(o.left + (left + right) / 2)};
    SimulateMouseMove(global);
    SimulateMouseButton(true, 0);
    SimulateMouseButton(false, 0);
    // A button follows the mouse until it is read up: the next click waits one step.
    SimulateMouseMove(global);
}

inline std::function<void(DialogRef)>& PendingWhenIdle() {
    static std::function<void(DialogRef)> f;
    return f;
}

// f runs with the front dialog once the dialog has waited a while with no input left; what it
// queues answers the dialog. It may call WhenIdle again for a later moment.
inline void WhenIdle(std::function<void(DialogRef)> f) {
    PendingWhenIdle() = std::move(f);
    PlatformSetIdleLimit(20, [] {
        auto run = std::move(PendingWhenIdle());
        PlatformSetIdleLimit(2000, [] { throw GuiLoopStarved(); });
        if (run) run(DialogStackTop());
    });
}

inline std::string ItemText(DialogRef dialog, SInt16 item) {
    Str255 text;
    text[0] = 0;
    GetDialogItemTextByNumber(dialog, item, text);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

inline void QueueEscape() {
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
}
inline void QueueReturn() {
    QueueKey(kKeyCodeReturn, kReturnCharCode);
}

// Saves the front dialog with its widgets under the test output folder; true when the file exists.
inline bool ShootFrontDialog(const std::string& name) {
    std::string path = TestOutputPath(name + ".png");
    return SaveWindowWithWidgetsPNG(GetDialogWindow(DialogStackTop()), path.c_str());
}

// A new drawing from the menu bar, its settings, and no remembered dialog places.
class SettingsDialogTest : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;
    DocSettings* s = nullptr;
    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        s = doc->settings;
        for (Point& p : DialogPositionTable)
            p = Point{0, 0};
    }
    // Settings > the item, run until the queued input is used up.
    void Choose(SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(kSettingsMenu, item));
        RunLoop();
    }
};

} // namespace settings_test
