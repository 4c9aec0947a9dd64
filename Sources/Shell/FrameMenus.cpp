// The frame menus: one item per frame, named as the frame or "Page n"; deleting a frame after the
// question, moving it with the mouse, renaming it, and the page setup of the drawing or a frame.
#include "Shell/FrameMenus.h"

#include "Dialogs/FrameDialogs.h"
#include "Model/DocumentRecords.h"
#include "Model/LayersFrames.h"
#include "Other/Alerts.h"
#include "Shell/MenuBar.h"
#include "Tools/PendingCommands.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"

namespace {

constexpr SInt16 kDeleteFrameQuestion = 8;
constexpr SInt16 kMoveFrameCommand = 180;
constexpr SInt16 kPrintOptionsItem = 6;

void FillMenu(SInt16 menuId, SInt16 keep, DocWindowRecord* doc) {
    MenuRef menu = MenuHandleOf(menuId);
    if (menu == nullptr) return;
    if (CountMenuItems(menu) > keep)
        DeleteMenuItems(menu, MenuItemIndex(keep + 1), UInt32(CountMenuItems(menu) - keep));
    if (doc == nullptr || doc->drawing == nullptr) return;
    SInt16 n = 1;
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next, ++n) {
        Str255 name;
        FrameDisplayName(f, n, name);
        AppendMenuItemText(menu, name);
    }
}

void DeleteFrame(DocWindowRecord* doc, SInt16 n) {
    FrameRecord* frame = FrameAt(doc, n);
    if (frame == nullptr) return;
    Str255 name;
    FrameDisplayName(frame, n, name);
    const UInt8 empty[1] = {0};
    if (!AskConfirm(kDeleteFrameQuestion, name, empty)) return;
    DeleteFrameAndDispose(doc, n);
    MarkDocumentChanged(doc);
    RebuildFrameMenus(doc);
    if (doc->window != nullptr) RedrawWindow(doc);
}

} // namespace

void RebuildFrameMenus(DocWindowRecord* doc) {
    FillMenu(kDeleteFrameMenu, 0, doc);
    FillMenu(kPageSetupMenu, 1, doc);
    FillMenu(kMoveFrameMenu, 0, doc);
    FillMenu(kFramesMenu, 0, doc);
}

Boolean FrameMenuItemAvailable(SInt16 menu, SInt16 item) {
    switch (menu) {
    case kPagesMenu:
        return item >= 3 && item <= kPrintOptionsItem;
    case kDeleteFrameMenu:
    case kPageSetupMenu:
    case kMoveFrameMenu:
    case kFramesMenu:
        return item >= 1;
    default:
        return false;
    }
}

Boolean FrameMenuCommand(DocWindowRecord* doc, SInt16 menu, SInt16 item) {
    if (!FrameMenuItemAvailable(menu, item)) return false;
    if (doc == nullptr) return true;
    switch (menu) {
    case kPagesMenu:
        if (item == kPrintOptionsItem) PrintOptionsDialog(doc);
        break;
    case kDeleteFrameMenu:
        DeleteFrame(doc, item);
        break;
    case kPageSetupMenu:
        PageSetupCommand(doc, item);
        break;
    case kMoveFrameMenu:
        if (FrameAt(doc, item) == nullptr) break;
        StartPendingCommand(doc, kMoveFrameCommand);
        doc->drawing->toolInput.frameNumber = item;
        break;
    case kFramesMenu:
        if (RenameFrameDialog(doc, item)) {
            RebuildFrameMenus(doc);
            if (doc->window != nullptr) RedrawWindow(doc);
        }
        break;
    default:
        break;
    }
    return true;
}
