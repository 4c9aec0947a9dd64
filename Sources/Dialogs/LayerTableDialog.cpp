// The layer table: ten layers a page, moved by nine rows so that a page's last row stays on the next.
// Names typed on a page are stored before every page change; colours and visibility change live, and
// Cancel puts them back with the names.
#include "Dialogs/LayerTableDialog.h"

#include "Files/Printing.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/UsedNumbers.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Platform/CGContext.h"
#include "Platform/ColorPicker.h"
#include "Platform/Events.h"
#include "Platform/MemoryManager.h"
#include "Platform/PointerBlocks.h"
#include "Platform/PrintSession.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/DocumentWindow.h"
#include "Shell/StartupShutdown.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2, kPrintItem = 3, kGoToItem = 5, kFindItem = 6;
constexpr SInt16 kNumbersItem = 7, kFirstCheck = 8, kFirstName = 18, kScrollItem = 28;
constexpr SInt16 kFirstSwatch = 33, kFrameItem = 43, kRows = 10, kRowStep = 21, kPageStep = 9;
constexpr SInt16 kGoToField = 3, kFindField = 4;
constexpr SInt16 kGeneralTexts = 5000, kPickerPrompt = 91, kPageText = 199, kLayerHead = 200, kNameHead = 201,
                 kGeneratedName = 235;
constexpr SInt16 kNamesGivenMessage = 42;
constexpr SInt16 kRepeatTicks = 10;

constexpr RGBColor kBasicColours[8] = {
    {0x0000, 0x0000, 0x0000}, {0xFFFF, 0xFFFF, 0xFFFF}, {0xDD6B, 0x08C2, 0x06A2}, {0x0000, 0x8000, 0x11B0},
    {0x0000, 0x0000, 0xD400}, {0x0241, 0xAB54, 0xEAFF}, {0xF2D7, 0x0856, 0x84EC}, {0xFC00, 0xF37D, 0x052F},
};

struct TableState {
    DocWindowRecord* doc;
    ControlRef scroll = nullptr;
    bool changed = false;
};
TableState* gTable = nullptr;

bool SameColour(const RGBColor& a, const RGBColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

SInt16& PageStart(DocWindowRecord* doc) {
    SInt16& start = doc->drawing->layerTablePageStart;
    start = std::clamp<SInt16>(start, 0, kLayerTableLastPage);
    return start;
}

void DrawLayerNumbers(DialogRef dialog, DialogItemIndex item) {
    if (gTable == nullptr) return;
    SetPortToDialog(dialog);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    EraseRect(&r);
    FontInfo info{};
    GetFontInfo(&info);
    SInt16 start = PageStart(gTable->doc);
    for (SInt16 row = 0; row < kRows; ++row) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%d", start + row);
        SInt16 n = SInt16(std::strlen(digits));
        MoveTo(SInt16(r.right - TextWidth(digits, 0, n)), SInt16(r.top + info.ascent + row * kRowStep));
        DrawText(digits, 0, n);
    }
}

// The pop-up mark at the swatch's left: a small triangle pointing down.
void DrawPopupMark(SInt16 left, SInt16 top) {
    Rect box{top, left, SInt16(top + 16), SInt16(left + 16)};
    EraseRect(&box);
    for (SInt16 i = 0; i < 5; ++i) {
        MoveTo(SInt16(left + 3 + i), SInt16(top + 6 + i));
        LineTo(SInt16(left + 11 - i), SInt16(top + 6 + i));
    }
}

void DrawLayerSwatch(DialogRef dialog, DialogItemIndex item) {
    if (gTable == nullptr) return;
    SetPortToDialog(dialog);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    DrawPopupMark(r.left, r.top);
    r.left = SInt16(r.left + 16);
    PenNormal();
    FrameRect(&r);
    InsetRect(&r, 2, 2);
    SInt16 layer = SInt16(PageStart(gTable->doc) + item - kFirstSwatch);
    PixPatHandle pat = NewPixPat();
    MakeRGBPat(pat, &gTable->doc->layerColors->colors[layer]);
    FillCRect(&r, pat);
    DisposePixPat(pat);
    ForeColor(blackColor);
    PenNormal();
}

void DrawLayerTableFrame(DialogRef dialog, DialogItemIndex item) {
    SetPortToDialog(dialog);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    PenNormal();
    FrameRect(&r);
    MoveTo(9, 35);
    LineTo(395, 35);
    for (SInt16 x : {72, 134, 301}) {
        MoveTo(x, 16);
        LineTo(x, 249);
    }
    MoveTo(380, 16);
    LineTo(380, 35);
}

void ShowLayerPage(DocWindowRecord* doc, DialogRef dialog) {
    SInt16 start = PageStart(doc);
    InvalItem(dialog, kNumbersItem);
    for (SInt16 row = 0; row < kRows; ++row) {
        SInt16 layer = SInt16(start + row);
        SetItemText(dialog, SInt16(kFirstName + row), doc->layerNames->names[layer]);
        SetCheckBox(dialog, SInt16(kFirstCheck + row), IsLayerVisible(doc->layerVisible, layer));
        InvalItem(dialog, SInt16(kFirstSwatch + row));
    }
    if (gTable != nullptr && gTable->scroll != nullptr) SetControlValue(gTable->scroll, start);
}

void StoreLayerPageNames(DocWindowRecord* doc, DialogRef dialog) {
    SInt16 start = PageStart(doc);
    for (SInt16 row = 0; row < kRows; ++row) {
        Str255 text;
        GetItemText(dialog, SInt16(kFirstName + row), text);
        AssignStr255(doc->layerNames->names[start + row], text);
    }
}

void MovePage(DocWindowRecord* doc, DialogRef dialog, SInt16 start) {
    StoreLayerPageNames(doc, dialog);
    doc->drawing->layerTablePageStart = std::clamp<SInt16>(start, 0, kLayerTableLastPage);
    ShowLayerPage(doc, dialog);
    QDFlushPortBuffer(GetWindowPort(GetDialogWindow(dialog)), nullptr);
}

void SwatchClick(DocWindowRecord* doc, DialogRef dialog, SInt16 row) {
    SInt16 item = SInt16(kFirstSwatch + row);
    SInt16 layer = SInt16(PageStart(doc) + row);
    RGBColor& colour = doc->layerColors->colors[layer];
    Rect r{};
    GetDItemRect(dialog, item, &r);
    SetPortToDialog(dialog);
    Point mouse{};
    GetMouse(&mouse);
    if (mouse.h < r.left + 16) {
        MenuRef menu = GetMenuHandle(kLayerColourMenu);
        if (menu == nullptr) return;
        SInt16 marked = LayerColourMenuItem(colour);
        SetItemMark(menu, marked, checkMark);
        Point at = mouse;
        LocalToGlobal(&at);
        SInt16 chosen = SInt16(PopUpMenuSelect(menu, SInt16(at.v - 8), SInt16(at.h - 8), marked) & 0xFFFF);
        SetItemMark(menu, marked, noMark);
        if (chosen == 0 || chosen == marked || chosen == 9) return;
        if (chosen <= 8)
            colour = kBasicColours[chosen - 1];
        else if (chosen - 9 < kElementPaletteSize)
            colour = ElementPalette[chosen - 9];
        else
            return;
    } else {
        Str255 prompt;
        GetIndString(prompt, kGeneralTexts, kPickerPrompt);
        GetColor(Point{0, 0}, prompt, &colour, &colour);
    }
    InvalItem(dialog, item);
    gTable->changed = true;
}

void ScrollBarClick(DocWindowRecord* doc, DialogRef dialog) {
    ControlRef scroll = gTable->scroll;
    SetPortToDialog(dialog);
    Point mouse{};
    GetMouse(&mouse);
    ControlPartCode part = TestControl(scroll, mouse);
    SInt16 start = PageStart(doc);
    if (part == kControlUpButtonPart || part == kControlDownButtonPart) {
        bool up = part == kControlUpButtonPart;
        if (up ? start <= 0 : start > kLayerTableLastPage - 1) return;
        HiliteControl(scroll, part);
        // Held down, the arrow repeats every ten ticks until the end or until the mouse leaves it.
        for (;;) {
            MovePage(doc, dialog, LayerTableStartAfter(PageStart(doc), part, 0));
            UInt32 ticks = 0;
            Delay(kRepeatTicks, &ticks);
            start = PageStart(doc);
            if (up ? start <= 0 : start >= kLayerTableLastPage) break;
            if (!StillDown()) break;
            GetMouse(&mouse);
            if (TestControl(scroll, mouse) != part) break;
        }
        HiliteControl(scroll, 0);
        return;
    }
    if (part == kControlNoPart) return;
    part = TrackControl(scroll, mouse, nullptr);
    SInt16 next = LayerTableStartAfter(start, part, GetControlValue(scroll));
    if (next != start || part == kControlIndicatorPart) MovePage(doc, dialog, next);
}

// Runs a small dialog with one edit text until OK gives what accept takes, or Cancel.
template <typename Accept> bool RunFieldDialog(SInt16 id, SInt16 field, Accept accept) {
    DialogRef dialog = OpenModalDialog(id, Point{0, 0});
    if (dialog == nullptr) return false;
    SelectItemText(dialog, field);
    SInt16 item = 0;
    bool done = false;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) break;
        if (item != kOK) continue;
        if (accept(dialog)) {
            done = true;
            break;
        }
        SysBeep(1);
        SelectItemText(dialog, field);
    }
    CloseModalDialog(dialog, nullptr);
    return done;
}

void GoToLayerNumberDialog(DocWindowRecord* doc, DialogRef table) {
    SInt32 layer = 0;
    // A negative number or a text that is no number is refused like one above 1023.
    if (RunFieldDialog(kGoToLayerDialog, kGoToField, [&](DialogRef d) {
            return GetItemInteger(d, kGoToField, &layer) && layer >= 0 && layer < kLayerCount;
        }))
        ScrollLayerPage(doc, table, SInt16(layer));
}

void FindLayerByNameDialog(DocWindowRecord* doc, DialogRef table) {
    SInt16 found = -1;
    if (RunFieldDialog(kFindLayerDialog, kFindField, [&](DialogRef d) {
            Str255 text;
            GetItemText(d, kFindField, text);
            ShowWatchCursor();
            for (SInt16 layer = 0; layer < kLayerCount; ++layer)
                if (std::memcmp(text, doc->layerNames->names[layer], size_t(text[0]) + 1) == 0) found = layer;
            SetCursorById(kArrowCursorId);
            return found >= 0;
        }))
        ScrollLayerPage(doc, table, found);
}

} // namespace

SInt16 LayerTableStartAfter(SInt16 start, ControlPartCode part, SInt16 thumbValue) {
    switch (part) {
    case kControlUpButtonPart:
        return start > 0 ? SInt16(start - 1) : start;
    case kControlDownButtonPart:
        return start < kLayerTableLastPage ? SInt16(start + 1) : start;
    case kControlPageUpPart:
        return start > 0 ? std::max<SInt16>(0, SInt16(start - kPageStep)) : start;
    case kControlPageDownPart:
        return start < kLayerTableLastPage ? std::min<SInt16>(kLayerTableLastPage, SInt16(start + kPageStep))
                                           : start;
    case kControlIndicatorPart:
        return std::clamp<SInt16>(thumbValue, 0, kLayerTableLastPage);
    default:
        return start;
    }
}

SInt16 LayerColourMenuItem(const RGBColor& colour) {
    for (SInt16 i = 0; i < 8; ++i)
        if (SameColour(kBasicColours[i], colour)) return SInt16(i + 1);
    for (SInt16 i = 1; i < kElementPaletteSize; ++i)
        if (SameColour(ElementPalette[i], colour)) return SInt16(i + 9);
    return 1;
}

OSErr BackupLayerTables(DocWindowRecord* doc, LayerTableBackup* backup) {
    backup->colours = static_cast<RGBColor*>(static_cast<void*>(NewPtr(sizeof(RGBColor) * kLayerCount)));
    backup->visible =
        static_cast<LayerVisibilitySet*>(static_cast<void*>(NewPtr(sizeof(LayerVisibilitySet))));
    backup->names = static_cast<LayerNameTable*>(static_cast<void*>(NewPtrClear(sizeof(LayerNameTable))));
    if (backup->colours == nullptr || backup->visible == nullptr || backup->names == nullptr) {
        EndLayerTableBackup(doc, true, backup);
        return memFullErr;
    }
    std::memcpy(backup->colours, doc->layerColors->colors, sizeof(RGBColor) * kLayerCount);
    *backup->visible = *doc->layerVisible;
    *backup->names = *doc->layerNames;
    return noErr;
}

void EndLayerTableBackup(DocWindowRecord* doc, Boolean keep, LayerTableBackup* backup) {
    if (!keep && backup->colours && backup->visible && backup->names) {
        std::memcpy(doc->layerColors->colors, backup->colours, sizeof(RGBColor) * kLayerCount);
        *doc->layerVisible = *backup->visible;
        *doc->layerNames = *backup->names;
    }
    for (void* block : {static_cast<void*>(backup->colours), static_cast<void*>(backup->visible),
                        static_cast<void*>(backup->names)})
        if (block != nullptr) DisposePtr(static_cast<Ptr>(block));
    *backup = LayerTableBackup{};
}

void ScrollLayerPage(DocWindowRecord* doc, DialogRef dialog, SInt16 layer) {
    layer = std::clamp<SInt16>(layer, 0, kLayerCount - 1);
    MovePage(doc, dialog, SInt16(layer - 4));
    SelectItemText(dialog, SInt16(kFirstName + layer - PageStart(doc)));
}

Boolean NameUnnamedLayers(DocWindowRecord* doc) {
    Str255 prefix;
    GetIndString(prefix, kGeneralTexts, kGeneratedName);
    auto taken = [&](ConstStr255Param name) {
        for (const Str255& n : doc->layerNames->names)
            if (EqualPStr(n, name)) return true;
        return false;
    };
    long counter = 1;
    Boolean given = false;
    for (Str255& name : doc->layerNames->names) {
        if (name[0] != 0) continue;
        Str255 candidate;
        do {
            AssignStr255(candidate, prefix);
            AppendCStr(candidate, sizeof candidate, std::to_string(counter++).c_str());
        } while (taken(candidate));
        AssignStr255(name, candidate);
        given = true;
    }
    return given;
}

void LayerTableDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    TableState state{doc};
    LayerTableBackup backup;
    Boolean backedUp = BackupLayerTables(doc, &backup) == noErr;
    DialogRef dialog = OpenModalDialog(kLayerTableDialog, DialogPositionTable[kLayerTablePositionSlot]);
    if (dialog == nullptr) {
        EndLayerTableBackup(doc, true, &backup);
        return;
    }
    SetWindowRefConPtr(GetDialogWindow(dialog), doc);
    TableState* outer = gTable;
    gTable = &state;
    Rect place{};
    GetDItemRect(dialog, kScrollItem, &place);
    CreateScrollBarControl(GetDialogWindow(dialog), &place, 0, 0, kLayerTableLastPage, 0, false, nullptr,
                           &state.scroll);
    if (!backedUp) EnableItem(dialog, kCancel, false);
    for (SInt16 row = 0; row < kRows; ++row)
        SetUserItemProc(dialog, SInt16(kFirstSwatch + row), DrawLayerSwatch);
    SetUserItemProc(dialog, kNumbersItem, DrawLayerNumbers);
    SetUserItemProc(dialog, kFrameItem, DrawLayerTableFrame);
    ShowLayerPage(doc, dialog);
    SelectItemText(dialog, kFirstName);
    SInt16 item = 0;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kOK || item == kCancel) break;
        SInt16 start = PageStart(doc);
        if (item >= kFirstCheck && item < kFirstCheck + kRows) {
            SInt16 layer = SInt16(start + item - kFirstCheck);
            SetLayerVisible(doc->layerVisible, layer, !IsLayerVisible(doc->layerVisible, layer));
            SetCheckBox(dialog, item, IsLayerVisible(doc->layerVisible, layer));
            state.changed = true;
        } else if (item >= kFirstSwatch && item < kFirstSwatch + kRows) {
            SwatchClick(doc, dialog, SInt16(item - kFirstSwatch));
        } else if (item == kScrollItem) {
            ScrollBarClick(doc, dialog);
        } else if (item == kPrintItem) {
            StoreLayerPageNames(doc, dialog);
            LayerUsageOverview(doc);
        } else if (item == kGoToItem) {
            GoToLayerNumberDialog(doc, dialog);
        } else if (item == kFindItem) {
            StoreLayerPageNames(doc, dialog);
            FindLayerByNameDialog(doc, dialog);
        }
    }
    StoreLayerPageNames(doc, dialog);
    if (backedUp) EndLayerTableBackup(doc, item == kOK, &backup);
    gTable = outer;
    CloseModalDialog(dialog, &DialogPositionTable[kLayerTablePositionSlot]);
    SetLayerVisible(doc->layerVisible, doc->settings->currentLayer, true);
    if (state.changed) InvalidateDocWindow(doc);
    if (item != kOK) return;
    if (NameUnnamedLayers(doc)) {
        const UInt8 empty[1] = {0};
        ShowErrorAlert(kNamesGivenMessage, empty);
    }
    MarkDocumentDirty(doc);
}

// --- The printed list of the layers in use -----------------------------------------------------------

namespace {

constexpr Float64 kMargin = 72, kNameColumn = 100, kListSize = 12;

struct ListPage {
    CGContextRef ctx;
    Float64 sheetHeight, left, right, top, bottom, ascent, lineHeight;
    SInt16 font;
};

std::string PString(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

std::string AppText(SInt16 index) {
    Str255 s;
    GetIndString(s, kGeneralTexts, index);
    return PString(s);
}

// Text at a baseline measured from the sheet's top.
void ShowText(const ListPage& p, Float64 x, Float64 baseline, const std::string& text) {
    CGContextShowTextAtPoint(p.ctx, x, p.sheetHeight - baseline, text.data(), text.size());
}

void PrintLayerListHeader(DocWindowRecord* doc, const ListPage& p, SInt32 page) {
    CGContextSelectFontNumber(p.ctx, p.font, 0, kListSize, kCGEncodingMacRoman);
    CGContextSetGrayFillColor(p.ctx, 0, 1);
    Float64 first = p.top + p.ascent;
    ShowText(p, p.left, first, PString(doc->drawing->documentName));
    std::string pageText = AppText(kPageText) + std::to_string(page);
    Float64 width = CGContextMeasureText(p.ctx, pageText.data(), pageText.size());
    ShowText(p, p.right - width, first, pageText);
    ShowText(p, p.left, first + p.lineHeight, AppText(kLayerHead));
    ShowText(p, p.left + kNameColumn, first + p.lineHeight, AppText(kNameHead));
    Float64 y = p.sheetHeight - (p.top + 2 * p.lineHeight);
    CGPoint rule[2] = {{p.left, y}, {p.right, y}};
    CGContextSetGrayStrokeColor(p.ctx, 0, 1);
    CGContextSetLineWidth(p.ctx, 0.5);
    CGContextStrokeLineSegments(p.ctx, rule, 2);
}

} // namespace

void LayerUsageOverview(DocWindowRecord* doc) {
    LayerVisibilitySet used{};
    CollectUsedLayers(doc, nullptr, &used);
    if (!OpenPrintSession()) return;
    PrintPageSetup page = PageSetupOfHandle(doc->drawing->pageFormat);
    PrintJobSetup job{};
    job.copies = 1;
    job.firstPage = 1;
    job.lastPage = 9999;
    ValidatePrintObjects(gPrintSession, &page, &job);
    if (RunPageSetupDialog(gPrintSession, &page) != noErr ||
        RunPrintDialog(gPrintSession, &job, &page) != noErr) {
        ClosePrintSession();
        return;
    }
    SetPrintJobName(gPrintSession, "Draftwerk");
    if (BeginPrintDocument(gPrintSession, page, job) != noErr) {
        ClosePrintSession();
        return;
    }
    Rect sheet{};
    GetPaperSize(gPrintSession, page, &sheet);
    ListPage p{};
    p.sheetHeight = sheet.bottom - sheet.top;
    p.left = kMargin, p.top = kMargin, p.right = (sheet.right - sheet.left) - kMargin;
    p.bottom = p.sheetHeight - kMargin;
    p.font = AppFontNumber();
    p.lineHeight = SystemLineHeight();
    SInt32 pageNumber = 1;
    bool pageOpen = BeginPrintPage(gPrintSession) == noErr;
    p.ctx = pageOpen ? GetPrintContext(gPrintSession) : nullptr;
    if (p.ctx != nullptr) {
        CGContextSelectFontNumber(p.ctx, p.font, 0, kListSize, kCGEncodingMacRoman);
        CGFloat ascent = 0, descent = 0;
        CGContextGetFontExtents(p.ctx, &ascent, &descent);
        p.ascent = ascent;
        PrintLayerListHeader(doc, p, pageNumber);
    }
    SInt32 line = 2;
    bool newPage = false;
    for (SInt16 layer = 0; layer < kLayerCount && p.ctx != nullptr; ++layer) {
        if (!IsLayerVisible(&used, layer)) continue;
        if (newPage) {
            EndPrintPage(gPrintSession);
            pageOpen = BeginPrintPage(gPrintSession) == noErr;
            p.ctx = pageOpen ? GetPrintContext(gPrintSession) : nullptr;
            if (p.ctx == nullptr) break;
            PrintLayerListHeader(doc, p, ++pageNumber);
            line = 2;
            newPage = false;
        }
        Float64 baseline = p.top + p.ascent + line * p.lineHeight + 2;
        ShowText(p, p.left, baseline, std::to_string(layer));
        ShowText(p, p.left + kNameColumn, baseline, PString(doc->layerNames->names[layer]));
        ++line;
        newPage = p.top + line * p.lineHeight + 2 > p.bottom;
    }
    if (pageOpen) EndPrintPage(gPrintSession);
    EndPrintDocument(gPrintSession);
    ClosePrintSession();
}
