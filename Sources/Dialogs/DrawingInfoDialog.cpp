// The drawing information dialog and the statistics it shows.
#include "Dialogs/DrawingInfoDialog.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/UsedNumbers.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Platform/NumberText.h"

#include <memory>
#include <new>

namespace {

constexpr SInt16 kOK = 1, kDocumentPopup = 39;

template <typename R> SInt32 CountList(const R* head, SInt64* bytes) {
    SInt32 n = 0;
    if (head != nullptr)
        for (const R* e = head->next; e != nullptr; e = e->next)
            ++n;
    *bytes += SInt64(n) * SInt64(sizeof(R));
    return n;
}

DocWindowRecord* NthDocument(SInt16 n) {
    DocWindowRecord* doc = OpenDocumentList;
    for (SInt16 i = 1; doc != nullptr && i < n; ++i)
        doc = doc->next;
    return doc;
}

void SetNumber(DialogRef dialog, SInt16 item, SInt64 value) {
    SetItemNumber(dialog, item, SInt32(value));
}

void SetDate(DialogRef dialog, SInt16 item, UInt32 seconds) {
    Str255 text = {1, '?'};
    if (seconds != 0) DateString(seconds, text);
    SetItemText(dialog, item, text);
}

} // namespace

void CollectDrawingStatistics(DocWindowRecord* doc, DrawingStatistics* out) {
    DrawingStatistics s;
    s.lines = CountList(doc->lineHead, &s.bytes);
    s.arcs = CountList(doc->arcHead, &s.bytes);
    s.texts = CountList(doc->textHead, &s.bytes);
    s.dimensions = CountList(doc->dimensionHead, &s.bytes);
    s.instances = CountList(doc->instanceHead, &s.bytes);
    s.areas = CountList(doc->areaHead, &s.bytes);
    if (doc->polylineHead != nullptr)
        for (const PolylineRecord* p = doc->polylineHead->next; p != nullptr; p = p->next) {
            s.bytes += SInt64(sizeof *p) + SInt64(p->pointCount > 0 ? p->pointCount : 0) * 16;
            if (p->kind >= kPolylineSegments && p->kind <= 3)
                ++s.plainPolylines;
            else if (p->kind == kPolylinePicture && p->pictureWord < 1)
                ++s.pictures;
            else
                ++s.otherPolylines;
        }
    s.bytes += SInt64(sizeof(DrawingRecord)) + SInt64(sizeof(DocSettings));
    s.images = doc->imageCount > 0 ? doc->imageCount : 0;
    for (SInt32 i = 0; i < s.images && i < kMaxImages; ++i)
        s.bytes += SInt64(doc->images[i].width) * SInt64(doc->images[i].height);
    std::unique_ptr<UsedGroupSet> groups(new (std::nothrow) UsedGroupSet{});
    if (groups) CollectUsedGroupNumbers(doc, &s.groups, groups.get());
    LayerVisibilitySet layers{};
    CollectUsedLayers(doc, &s.layers, &layers);
    *out = s;
}

void FormatEditingTime(UInt32 seconds, Str255 text) {
    FormatReal(Float64(seconds / 60) / 60.0, 2, text);
    AppendCStr(text, sizeof(Str255), "h");
}

void FillDrawingInfoItems(DialogRef dialog, SInt16 n) {
    DocWindowRecord* doc = NthDocument(n);
    if (doc == nullptr) return;
    ShowWatchCursor();
    DrawingStatistics s;
    CollectDrawingStatistics(doc, &s);
    SetNumber(dialog, 28, s.bytes / 1024 + 1);
    SetNumber(dialog, 14, s.Total());
    SetNumber(dialog, 15, s.lines);
    SetNumber(dialog, 16, s.arcs);
    SetNumber(dialog, 17, s.texts);
    SetNumber(dialog, 18, s.dimensions);
    SetNumber(dialog, 19, s.instances);
    SetNumber(dialog, 21, s.areas);
    SetNumber(dialog, 20, s.plainPolylines);
    SetNumber(dialog, 22, s.pictures);
    SetNumber(dialog, 23, s.otherPolylines);
    SetNumber(dialog, 41, s.images);
    if (s.groups < 0)
        SetItemTextCStr(dialog, 26, "?");
    else
        SetNumber(dialog, 26, s.groups);
    SetNumber(dialog, 27, s.layers);
    SetDate(dialog, 35, doc->settings->creationDate);
    SetDate(dialog, 36, doc->settings->saveDate);
    Str255 time;
    FormatEditingTime(doc->settings->editingSeconds, time);
    SetItemText(dialog, 37, time);
    SetCursorById(kArrowCursorId);
}

void DrawingInfoDialog(DocWindowRecord* doc) {
    DialogRef dialog = OpenModalDialog(kDrawingInfoDialogId, DialogPositionTable[kDrawingInfoPositionSlot]);
    if (dialog == nullptr) return;
    MenuRef menu = GetPopupMenu(dialog, kDocumentPopup);
    SInt16 position = 1, count = 0;
    if (menu != nullptr) {
        DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
        const UInt8 placeholder[] = {1, 'x'};
        for (DocWindowRecord* d = OpenDocumentList; d != nullptr; d = d->next) {
            ++count;
            // Given its text afterwards, so that no character of a name acts as a menu metacharacter.
            AppendMenu(menu, placeholder);
            SetMenuItemText(menu, count, d->drawing->documentName);
            if (d == doc) position = count;
        }
    }
    ControlRef popup = nullptr;
    if (GetDialogControl(dialog, kDocumentPopup, &popup) == noErr && popup != nullptr) {
        SetControlMaximum(popup, count);
        SetControlValue(popup, position);
    }
    for (SInt16 hidden : {3, 29, 31})
        HideDialogItem(dialog, hidden);
    FillDrawingInfoItems(dialog, position);
    SInt16 item = 0;
    do {
        RunModalDialogStd(dialog, &item);
        if (item == kDocumentPopup) FillDrawingInfoItems(dialog, GetItemValue(dialog, kDocumentPopup));
    } while (item != kOK);
    CloseModalDialog(dialog, &DialogPositionTable[kDrawingInfoPositionSlot]);
}
