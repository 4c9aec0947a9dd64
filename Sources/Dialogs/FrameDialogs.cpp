// The dialogs of the frames: which frame prints, a frame's name, the frame scale dialog and the page
// setup of the drawing or a frame. Their pop-ups of frames are filled from the frame list each time.
#include "Dialogs/FrameDialogs.h"

#include "Files/Printing.h"
#include "Model/DocSettings.h"
#include "Model/LayersFrames.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Menus.h"
#include "Platform/PascalBytes.h"
#include "View/ContentPasses.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr SInt16 kOKItem = 1;
constexpr SInt16 kCancelItem = 2;
constexpr SInt16 kFramePopupItem = 4; // frame list
constexpr SInt16 kFrameNameItem = 4;  // frame name
constexpr SInt16 kScalePopupItem = 3; // frame scale dialog
constexpr SInt16 kScaleItem = 5;
constexpr SInt16 kScaleFramePopupItem = 6;
constexpr SInt16 kFitToPageItem = 7;
constexpr SInt16 kCornerMarksItem = 8;

constexpr SInt16 kScaleMenu = 136;
constexpr SInt16 kPresetScaleCount = 33;
constexpr SInt16 kUnnamedPageText = 199;
constexpr SInt16 kNoPagesMessage = 57;

constexpr int kFrameListSlot = 48;
constexpr int kFrameNameSlot = 49;
constexpr int kPrintOptionsSlot = 50;

Boolean Positive(Float64 v) {
    return std::isfinite(v) && v > 0;
}

// The pop-up's own menu holds the frames' names, one item per frame.
void FillFramePopup(DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    MenuRef menu = GetPopupMenu(dialog, item);
    if (menu == nullptr) return;
    DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
    SInt16 n = 1;
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next, ++n) {
        Str255 name;
        FrameDisplayName(f, n, name);
        AppendMenuItemText(menu, name);
    }
    SyncPopupMaximum(dialog, item);
}

// The 33 preset scales of the scale menu.
void FillScalePopup(DialogRef dialog, SInt16 item) {
    MenuRef menu = GetPopupMenu(dialog, item);
    if (menu == nullptr) return;
    DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
    MenuRef source = GetMenuHandle(kScaleMenu);
    const bool own = source == nullptr;
    if (own) source = GetMenu(kScaleMenu);
    for (SInt16 i = 1; source != nullptr && i <= std::min(kPresetScaleCount, CountMenuItems(source)); ++i) {
        Str255 text;
        GetMenuItemText(source, i, text);
        AppendMenuItemText(menu, text);
    }
    if (own && source != nullptr) DisposeMenu(source);
    SyncPopupMaximum(dialog, item);
}

SInt16 ClampFrame(SInt16 n, SInt16 count) {
    return SInt16(std::clamp<int>(n, 1, std::max<int>(1, count)));
}

// The scale field: shows a value and gives it back exactly while its text is left as shown.
class ScaleField {
  public:
    ScaleField(DialogRef dialog, SInt16 item) : dialog_(dialog), item_(item) {}
    void Show(Float64 value) {
        shownValue_ = value;
        std::string text = FrameScaleText(value);
        BytesToPStr(text, shownText_);
        SetItemText(dialog_, item_, shownText_);
        SelectItemText(dialog_, item_);
    }
    // The value in the field; not positive when it is none.
    Float64 Value() const {
        Str255 text;
        GetItemText(dialog_, item_, text);
        if (std::memcmp(text, shownText_, size_t(text[0]) + 1) == 0) return shownValue_;
        return GetItemFormula(dialog_, item_);
    }

  private:
    DialogRef dialog_;
    SInt16 item_;
    Float64 shownValue_ = 0;
    Str255 shownText_ = {0};
};

// The preset that equals the value, else the pop-up keeps its choice.
void SyncScalePopup(DocWindowRecord* doc, DialogRef dialog, Float64 value) {
    for (SInt16 i = 0; i < kPresetScaleCount; ++i)
        if (Positive(value) && doc->drawing->layout.presetScales[i] == value) {
            SetItemValue(dialog, kScalePopupItem, SInt16(i + 1));
            return;
        }
}

} // namespace

std::string FrameScaleText(Float64 scale) {
    char text[64];
    for (int decimals = 3; decimals <= 6; ++decimals) {
        std::snprintf(text, sizeof text, "%.*f", decimals, scale);
        if (std::strtod(text, nullptr) == scale) return text;
    }
    return text;
}

void FrameDisplayName(const FrameRecord* frame, SInt16 n, Str255 name) {
    if (frame != nullptr && frame->name[0] != 0) {
        CopyPStr(name, 256, frame->name);
        return;
    }
    GetAppString(kUnnamedPageText, name);
    AppendCStr(name, 256, std::to_string(n).c_str());
}

Boolean FrameListDialog(DocWindowRecord* doc) {
    const SInt16 count = CountFrames(doc);
    if (count == 0) return false;
    DialogRef dialog = OpenModalDialog(kFrameListDialog, DialogPositionTable[kFrameListSlot]);
    if (dialog == nullptr) return false;
    FillFramePopup(doc, dialog, kFramePopupItem);
    SInt16& current = PrintCurrentFrame(doc->settings);
    SetItemValue(dialog, kFramePopupItem, ClampFrame(current, count));
    SInt16 item = 0;
    do
        RunModalDialogStd(dialog, &item);
    while (item != kOKItem && item != kCancelItem);
    if (item == kOKItem) current = ClampFrame(GetItemValue(dialog, kFramePopupItem), count);
    CloseModalDialog(dialog, &DialogPositionTable[kFrameListSlot]);
    return item == kOKItem;
}

Boolean RenameFrameDialog(DocWindowRecord* doc, SInt16 n) {
    FrameRecord* frame = FrameAt(doc, n);
    if (frame == nullptr) return false;
    DialogRef dialog = OpenModalDialog(kFrameNameDialog, DialogPositionTable[kFrameNameSlot]);
    if (dialog == nullptr) return false;
    SetItemText(dialog, kFrameNameItem, frame->name);
    SelectItemText(dialog, kFrameNameItem);
    SInt16 item = 0;
    do
        RunModalDialogStd(dialog, &item);
    while (item != kOKItem && item != kCancelItem);
    Str255 name = {0};
    if (item == kOKItem) GetItemText(dialog, kFrameNameItem, name);
    CloseModalDialog(dialog, &DialogPositionTable[kFrameNameSlot]);
    if (item != kOKItem) return false;
    if (name[0] > kFrameNameCapacity) name[0] = kFrameNameCapacity;
    if (std::memcmp(name, frame->name, size_t(name[0]) + 1) == 0) return false;
    CopyPStr(frame->name, 256, name);
    MarkDocumentChanged(doc);
    return true;
}

void PrintOptionsDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    const SInt16 count = CountFrames(doc);
    if (count == 0) {
        const UInt8 empty[1] = {0};
        ShowErrorAlert(kNoPagesMessage, empty);
        return;
    }
    DocSettings* settings = doc->settings;
    SInt16& selected = PrintSelectedFrame(settings);
    selected = ClampFrame(selected, count);
    std::vector<Float64> scales;
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next)
        scales.push_back(f->scale);
    const Float64 printScale = settings->printScale;

    DialogRef dialog = OpenModalDialog(kPrintOptionsDialog, DialogPositionTable[kPrintOptionsSlot]);
    if (dialog == nullptr) return;
    FillScalePopup(dialog, kScalePopupItem);
    FillFramePopup(doc, dialog, kScaleFramePopupItem);
    SetItemValue(dialog, kScaleFramePopupItem, selected);
    SetCheckBox(dialog, kFitToPageItem, PrintFitToPage(settings) != 0);
    SetCheckBox(dialog, kCornerMarksItem, PrintCornerMarks(settings) != 0);
    ScaleField field(dialog, kScaleItem);
    field.Show(scales[size_t(selected - 1)]);
    SyncScalePopup(doc, dialog, scales[size_t(selected - 1)]);

    // A value that is no positive number leaves the frame's scale as it was.
    auto keep = [&] {
        Float64 v = field.Value();
        if (Positive(v)) scales[size_t(selected - 1)] = v;
    };
    SInt16 item = 0;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kOKItem || item == kCancelItem) break;
        switch (item) {
        case kScaleFramePopupItem: {
            keep();
            selected = ClampFrame(GetItemValue(dialog, kScaleFramePopupItem), count);
            field.Show(scales[size_t(selected - 1)]);
            SyncScalePopup(doc, dialog, scales[size_t(selected - 1)]);
            break;
        }
        case kScaleItem:
            SyncScalePopup(doc, dialog, field.Value());
            break;
        case kScalePopupItem: {
            SInt16 choice = GetItemValue(dialog, kScalePopupItem);
            if (choice >= 1 && choice <= kPresetScaleCount &&
                Positive(doc->drawing->layout.presetScales[choice - 1]))
                field.Show(doc->drawing->layout.presetScales[choice - 1]);
            break;
        }
        case kFitToPageItem:
        case kCornerMarksItem:
            ToggleCheckBox(dialog, item);
            break;
        default:
            break;
        }
    }
    keep();
    const Boolean fit = GetCheckBox(dialog, kFitToPageItem), marks = GetCheckBox(dialog, kCornerMarksItem);
    CloseModalDialog(dialog, &DialogPositionTable[kPrintOptionsSlot]);
    if (item != kOKItem) return;

    settings->printScale = printScale;
    PrintFitToPage(settings) = fit ? 1 : 0;
    PrintCornerMarks(settings) = marks ? 1 : 0;
    if (OpenPrintSession()) {
        size_t i = 0;
        for (FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next, ++i) {
            PrintPageSetup page = PageSetupOfHandle(f->pageFormat);
            PrintJobSetup job = JobSetupOfHandle(f->printSettings);
            ValidatePrintObjects(gPrintSession, &page, &job);
            f->scale = scales[i];
            ComputePrintPenWidths(doc, f->scale, &f->scaleX, &f->scaleY);
            UpdateFramePaper(f);
            CenterFrameOnPaper(doc, f);
        }
        ClosePrintSession();
    }
    MarkDocumentChanged(doc);
    SetCursorById(kArrowCursorId);
    if (doc->window != nullptr) RedrawWindow(doc);
}

OSStatus PageSetupCommand(DocWindowRecord* doc, SInt16 item) {
    if (doc == nullptr || item < 1) return paramErr;
    FrameRecord* frame = nullptr;
    if (item > 1 && (frame = FrameAt(doc, SInt16(item - 1))) == nullptr) return paramErr;
    Handle* pageFormat = frame != nullptr ? &frame->pageFormat : &doc->drawing->pageFormat;
    Handle* printSettings = frame != nullptr ? &frame->printSettings : &doc->drawing->printSettings;
    if (!OpenPrintSession()) return memFullErr;
    PrintPageSetup page = PageSetupOfHandle(*pageFormat);
    PrintJobSetup job = JobSetupOfHandle(*printSettings);
    ValidatePrintObjects(gPrintSession, &page, &job);
    OSStatus result = RunPageSetupDialog(gPrintSession, &page);
    if (result == noErr) {
        StorePageSetup(page, pageFormat);
        if (frame != nullptr) {
            ComputePrintPenWidths(doc, frame->scale, &frame->scaleX, &frame->scaleY);
            UpdateFramePaper(frame);
            // A cancelled setup leaves the frame where it was and the drawing unchanged.
            CenterFrameOnPaper(doc, frame);
        }
        MarkDocumentChanged(doc);
    }
    ClosePrintSession();
    if (result == noErr && doc->window != nullptr) RedrawWindow(doc);
    return result;
}
