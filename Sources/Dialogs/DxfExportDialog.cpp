// Dialog 193, the DXF export options: the flavour (older or fuller header), the code page of the
// texts and the 3-D option. Stored only on OK.
#include "Dialogs/AskingDialogs.h"

#include "Exchange/DxfWriter.h"
#include "Files/Preferences.h"
#include "Model/DocumentRecords.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"

namespace {

constexpr SInt16 kDXFExportDialog = 193;
constexpr SInt16 kDXFExportPositionSlot = 45;
enum : SInt16 {
    kOK = 1,
    kCancel = 2,
    kFlavourOlder = 3,
    kFlavourFuller = 4,
    kFirstCodePage = 6,
    kLastCodePage = 20,
    kThreeD = 22,
};

} // namespace

void DXFExportOptionsDialog(DocWindowRecord* doc) {
    if (!doc || !doc->settings) return;
    DialogRef dialog = OpenModalDialog(kDXFExportDialog, DialogPositionTable[kDXFExportPositionSlot]);
    if (!dialog) return;
    // Flavours 2 and 3 have no button: they stay as they are unless one of the two is chosen.
    UInt16 flavour = doc->settings->dxfFlavour;
    UInt32 codePage = ExportCodePage(GeneralPrefs.codePage);
    if (flavour <= 1) SetRadioGroup(dialog, kFlavourOlder, kFlavourFuller, SInt16(kFlavourOlder + flavour));
    SetRadioGroup(dialog, kFirstCodePage, kLastCodePage, SInt16(kFirstCodePage + codePage));
    SetCheckBox(dialog, kThreeD, GeneralPrefs.dxfExportOption != 0);
    SInt16 item = 0;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kOK || item == kCancel) break;
        if (item == kFlavourOlder || item == kFlavourFuller) {
            flavour = UInt16(item - kFlavourOlder);
            SetRadioGroup(dialog, kFlavourOlder, kFlavourFuller, item);
        } else if (item >= kFirstCodePage && item <= kLastCodePage) {
            codePage = UInt32(item - kFirstCodePage);
            SetRadioGroup(dialog, kFirstCodePage, kLastCodePage, item);
        } else if (item == kThreeD) {
            ToggleCheckBox(dialog, kThreeD);
        }
    }
    Boolean threeD = IsCheckBoxOn(dialog, kThreeD);
    CloseModalDialog(dialog, &DialogPositionTable[kDXFExportPositionSlot]);
    if (item != kOK) return;
    doc->settings->dxfFlavour = flavour;
    GeneralPrefs.codePage = codePage;
    GeneralPrefs.dxfExportOption = threeD ? 1 : 0;
}
