// The font replacement and view name dialogs, and the installing of every dialog hook.
#include "Dialogs/AskingDialogs.h"

#include "Interface/DialogHooks.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Model/DocumentRecords.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Fonts.h"
#include "Platform/Menus.h"
#include "View/SavedViews.h"

namespace {

constexpr SInt16 kMissingFontsDialog = 201;
constexpr SInt16 kMissingFontsOK = 1, kMissingFontsCancel = 2, kMissingFontsPopup = 3;
constexpr int kViewNamePositionSlot = 53;
constexpr SInt16 kOK = 1, kCancel = 2, kNameItem = 4;

} // namespace

Boolean AskViewName(Str255 name) {
    DialogRef dialog = OpenModalDialog(kViewNameDialog, DialogPositionTable[kViewNamePositionSlot]);
    if (dialog == nullptr) return false;
    SetItemText(dialog, kNameItem, name);
    SelectItemText(dialog, kNameItem);
    SInt16 item = 0;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) break;
        if (item != kOK) continue;
        GetItemText(dialog, kNameItem, name);
        if (name[0] > kViewNameLimit) name[0] = kViewNameLimit;
        // Leading and trailing blanks would make names that look alike.
        while (name[0] > 0 && name[name[0]] == ' ')
            --name[0];
        SInt16 lead = 0;
        while (lead < name[0] && name[lead + 1] == ' ')
            ++lead;
        if (lead > 0) DeletePStr(name, 1, lead);
        if (name[0] > 0) break;
        SelectItemText(dialog, kNameItem);
    }
    CloseModalDialog(dialog, &DialogPositionTable[kViewNamePositionSlot]);
    return item == kOK;
}

Boolean ChooseReplacementFont(DocWindowRecord* doc, SInt16* font) {
    const Str255 none = {0};
    ParamText(doc->drawing->documentName, none, none, none);
    DialogRef dialog = OpenModalDialog(kMissingFontsDialog, Point{0, 0});
    if (dialog == nullptr) return false;
    if (MenuRef fonts = GetPopupMenu(dialog, kMissingFontsPopup);
        fonts != nullptr && CountMenuItems(fonts) == 0) {
        AppendResMenu(fonts, FOUR_CHAR("FONT"));
        SyncPopupMaximum(dialog, kMissingFontsPopup);
    }
    SetFontPopup(dialog, kFontGeneva, kMissingFontsPopup);
    SInt16 item = 0;
    do
        RunModalDialogStd(dialog, &item);
    while (item != kMissingFontsOK && item != kMissingFontsCancel);
    *font = GetPopupFontNum(dialog, kMissingFontsPopup);
    CloseModalDialog(dialog, nullptr);
    return item == kMissingFontsOK;
}

void InstallDialogHooks() {
    gDialogHooks.chooseReplacementFont = ChooseReplacementFont;
    gDialogHooks.askViewName = AskViewName;
    gDialogHooks.importOptions = ImportOptionsDialog;
    gDialogHooks.dxfExportOptions = DXFExportOptionsDialog;
}
