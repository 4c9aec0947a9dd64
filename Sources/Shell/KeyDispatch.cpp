// Key-down dispatch: command keys go through the menus, function keys through FunctionKeyTable, the
// editing and view keys act at once, everything else becomes a key event for the tools and the
// command field.
#include "Shell/KeyDispatch.h"

#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "View/ContentPasses.h"
#include "Platform/Controls.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementDeletion.h"
#include "Model/UndoJournal.h"
#include "Model/DrawingUnits.h"
#include "Shell/EventLoop.h"
#include "Shell/LiveSnap.h"
#include "Files/Preferences.h"
#include "Shell/MenuBar.h"
#include "Shell/MouseDispatch.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolDispatch.h"
#include "Tools/AreaPicks.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"
#include "View/ZoomExtents.h"

#include <cstring>

namespace {

constexpr UInt8 kFunctionKeyCodes[kFunctionKeyCount] = {0x7A, 0x78, 0x63, 0x76, 0x60, 0x61, 0x62, 0x64,
                                                        0x65, 0x6D, 0x67, 0x6F, 0x69, 0x6B, 0x71};
constexpr SInt16 kToolEntryFirst = 180;
constexpr SInt16 kToolEntryLast = 191;
constexpr SInt16 kCommandEntry = 3000;
constexpr SInt16 kMenuEntryFirst = 4000;
constexpr SInt16 kMenuEntryLast = 4008;
// The menus of entries 4000 to 4008.
constexpr SInt16 kEntryMenus[] = {128, 198, 197, 132, 133, 134, 196, 195, kSystemHelpMenu};
constexpr SInt16 kControlLetters = 550;
constexpr SInt16 kAreaGroup = 9;
constexpr SInt16 kAreaGroupLastTool = 3;
constexpr SInt16 kEditGroup = 11;

void SetEntry(SInt16 keyNumber, UInt16 modifiers, SInt16 menu, SInt16 item) {
    FunctionKeyTable[FunctionKeySlotIndex(modifiers, keyNumber)] = FunctionKeySlot{menu, item};
}

void SetSnapMode(DocWindowRecord* doc, SInt16 mode) {
    if (doc->settings->snapMode == mode) return;
    DrawSnapModeButton(doc, false);
    doc->settings->snapMode = mode;
    // The fixed point is the live snap's: it goes, with its mark, when another mode is chosen.
    const ToolStateRecord* t = doc->drawing->tool;
    if (mode != 3 && t != nullptr && t->fixedPointPresent) DrawFixedPointMarker(doc, false, 0, 0);
    DrawSnapModeButton(doc, true);
    ShowToolPrompt(doc);
}

Boolean FunctionKey(DocWindowRecord* doc, const EventRecord* event, SInt16 keyNumber) {
    const FunctionKeySlot entry = FunctionKeyTable[FunctionKeySlotIndex(event->modifiers, keyNumber)];
    if (entry.menu >= kToolEntryFirst && entry.menu <= kToolEntryLast) {
        SInt16 group = SInt16(entry.menu - kToolEntryFirst), tool = SInt16(entry.item - 1);
        if (UInt32(group) == GeneralPrefs.currentToolGroup && UInt32(tool) == GeneralPrefs.currentSubTool)
            return false;
        if (tool < 0 || tool > ToolGroupHighestIndex(group)) return false;
        GeneralPrefs.currentToolGroup = UInt32(group);
        GeneralPrefs.currentSubTool = UInt32(tool);
        GeneralPrefs.lastSubTool[group] = UInt32(tool);
        CancelPendingCommand(doc);
        return false;
    }
    if (entry.menu == kCommandEntry) {
        switch (entry.item) {
        case 1:
            SetSnapModeGrid(doc);
            break;
        case 2:
            SetSnapModeIntersection(doc);
            break;
        case 3:
            SetSnapModeElementPoint(doc);
            break;
        case 4:
            SetSnapModeFixedPoint(doc);
            break;
        case 5:
            RedrawViewButton(doc, 2);
            break;
        case 6:
            FitExtentsButton(doc, 1, 0);
            break;
        default:
            break;
        }
        return false;
    }
    if (entry.menu >= kMenuEntryFirst && entry.menu <= kMenuEntryLast) {
        AdjustMenus(doc);
        SInt16 menu = kEntryMenus[entry.menu - kMenuEntryFirst];
        // A dimmed item is as unavailable from its key as from its menu.
        MenuRef handle = GetMenuHandle(menu);
        if (handle == nullptr || !IsMenuItemEnabled(handle, MenuItemIndex(entry.item))) return false;
        return MenuResultToCommand(doc, (SInt32(menu) << 16) | UInt16(entry.item));
    }
    if (keyNumber == kFunctionKeyCount) {
        const Str255 empty = {0};
        ShowErrorAlert(32, empty);
    }
    return false;
}

Boolean ScrollKey(DocWindowRecord* doc, SInt16 kind, SInt16 part) {
    ControlRef bar = kind == kPendingVerticalScroll ? doc->drawing->layout.verticalScrollBar
                                                    : doc->drawing->layout.horizontalScrollBar;
    MenuCommandGlobals.kind = kind;
    MenuCommandGlobals.code = part;
    MenuCommandGlobals.param = bar != nullptr ? GetControlValue(bar) : 0;
    ToolDispatchFlag = true;
    return true;
}

template <typename T> bool AnySelectedIn(const T* head) {
    for (const T* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
        if (e->selected) return true;
    return false;
}

bool AnySelected(const DocWindowRecord* doc) {
    return AnySelectedIn(doc->lineHead) || AnySelectedIn(doc->arcHead) || AnySelectedIn(doc->textHead) ||
           AnySelectedIn(doc->dimensionHead) || AnySelectedIn(doc->polylineHead) ||
           AnySelectedIn(doc->instanceHead) || AnySelectedIn(doc->areaHead);
}

} // namespace

SInt16 FunctionKeyNumber(UInt8 keyCode) {
    for (SInt16 i = 0; i < kFunctionKeyCount; ++i)
        if (kFunctionKeyCodes[i] == keyCode) return SInt16(i + 1);
    return 0;
}

SInt16 FunctionKeySlotIndex(UInt16 modifiers, SInt16 keyNumber) {
    SInt16 combination = SInt16(((modifiers & cmdKey) ? 1 : 0) | ((modifiers & optionKey) ? 2 : 0) |
                                ((modifiers & controlKey) ? 4 : 0) | ((modifiers & shiftKey) ? 8 : 0));
    return SInt16(combination * kFunctionKeyCount + keyNumber - 1);
}

void ClearFunctionKeyTable() {
    std::memset(FunctionKeyTable, 0, sizeof FunctionKeyTable);
}

void InitFunctionKeyTable() {
    ClearFunctionKeyTable();
    SetEntry(1, 0, 4002, 1);
    SetEntry(1, optionKey, 4002, 2);
    SetEntry(2, 0, 4002, 4);
    SetEntry(3, 0, 4002, 5);
    SetEntry(4, 0, 4002, 6);
    SetEntry(5, 0, kCommandEntry, 1);
    SetEntry(6, 0, kCommandEntry, 2);
    SetEntry(7, 0, kCommandEntry, 3);
    SetEntry(11, 0, kCommandEntry, 4);
    SetEntry(12, 0, kCommandEntry, 5);
}

Boolean HandleKeyDown(DocWindowRecord* doc, const EventRecord* event) {
    const UInt16 modifiers = event->modifiers;
    const UInt8 ch = EventCharCode(*event), keyCode = EventKeyCode(*event);
    const bool command = (modifiers & cmdKey) != 0;
    if (command) {
        AdjustMenus(doc);
        if (MenuResultToCommand(doc, SInt32(MenuEvent(event)))) return true;
    }
    // Documents may be open with none in front (a dialog or palette in front of them): keys then
    // have no document to act on.
    if (OpenDocumentList == nullptr || doc == nullptr) return false;
    if (SInt16 keyNumber = FunctionKeyNumber(keyCode)) return FunctionKey(doc, event, keyNumber);
    if (modifiers & controlKey) {
        ControlKeyShortcut(doc, ch);
        return false;
    }

    MenuCommandGlobals.kind = kPendingKey;
    MenuCommandGlobals.code = ch;
    MenuCommandGlobals.param = kKeyPlain;
    const SInt16 inputKind = CommandFieldInputKind(doc);
    if ((ch == ' ' || ch == '=') && (inputKind == 2 || inputKind == 3) && IsMetricUnit(doc))
        MenuCommandGlobals.code = ',';
    if (keyCode == kKeyCodeKeypadDecimal) MenuCommandGlobals.code = '.';
    const Point where{doc->drawing->layout.mouseV, doc->drawing->layout.mouseH};
    switch (keyCode) {
    case kKeyCodeReturn:
    case kKeyCodeKeypadEnter:
        MenuCommandGlobals.param = kKeyReturn;
        return true;
    case kKeyCodeDelete:
        // The drag tool holds its element selected: Delete takes the selection away.
        if (GeneralPrefs.currentToolGroup == kEditGroup && GeneralPrefs.currentSubTool == 0 &&
            doc->drawing->toolInput.pendingCommand == 0) {
            // Nothing selected makes no empty step, which would cost the redo history.
            if (AnySelected(doc)) {
                BeginUndoStep(doc);
                DeleteSelectedElements(doc);
                EndUndoStep(doc);
            }
            ResetToolState(doc, false);
            RedrawWindow(doc);
            return false;
        }
        if (GeneralPrefs.currentToolGroup == kAreaGroup &&
            GeneralPrefs.currentSubTool <= kAreaGroupLastTool && doc->drawing->toolInput.pendingStep <= 1 &&
            doc->drawing->toolInput.pendingCommand == 0) {
            RemoveLastPick(doc);
            return true;
        }
        MenuCommandGlobals.param = kKeyDelete;
        return true;
    case kKeyCodeEscape:
        ResetPickFilter(doc);
        if (SnapModeSuspended(doc)) RestoreSnapMode(doc);
        EndPendingCommand(doc);
        // A tool of a group that takes no clicks (from older preferences) gives way to the line tools.
        if (!ToolGroupBuilt(CurrentToolGroup())) SelectToolGroupFromMenu(doc, 0);
        DeselectAll(doc, true);
        ResetToolState(doc, false);
        return false;
    case kKeyCodeForwardDelete:
        MenuCommandGlobals.param = kKeyForwardDelete;
        return true;
    case kKeyCodePageUp:
        MenuCommandGlobals.param = kKeyPageUp;
        return true;
    case kKeyCodePageDown:
        MenuCommandGlobals.param = kKeyPageDown;
        return true;
    case kKeyCodeLeftArrow:
        if (command) return ScrollKey(doc, kPendingHorizontalScroll, 21);
        MenuCommandGlobals.param = (modifiers & optionKey) ? kKeyOptionLeft : kKeyLeftArrow;
        return true;
    case kKeyCodeRightArrow:
        if (command) return ScrollKey(doc, kPendingHorizontalScroll, 20);
        MenuCommandGlobals.param = (modifiers & optionKey) ? kKeyOptionRight : kKeyRightArrow;
        return true;
    case kKeyCodeUpArrow:
        if (command) return ScrollKey(doc, kPendingVerticalScroll, 21);
        ZoomInStep(doc, 3, false, where);
        return false;
    case kKeyCodeDownArrow:
        if (command) return ScrollKey(doc, kPendingVerticalScroll, 20);
        ZoomOutStep(doc, 4, false, where);
        return false;
    default:
        break;
    }
    if (ch == kTabCharCode) {
        CycleSnapMode(doc, (modifiers & shiftKey) != 0);
        return false;
    }
    if (ch < 32) return false;
    return !command;
}

void SetSnapModeGrid(DocWindowRecord* doc) {
    SetSnapMode(doc, 0);
}
void SetSnapModeIntersection(DocWindowRecord* doc) {
    SetSnapMode(doc, 1);
}
void SetSnapModeElementPoint(DocWindowRecord* doc) {
    SetSnapMode(doc, 2);
}
void SetSnapModeFixedPoint(DocWindowRecord* doc) {
    SetSnapMode(doc, 3);
}

void CycleSnapMode(DocWindowRecord* doc, Boolean backwards) {
    SInt16 mode = SInt16((doc->settings->snapMode + (backwards ? 3 : 1)) % 4);
    SetSnapMode(doc, mode);
}

void RedrawViewButton(DocWindowRecord* doc, SInt16 button) {
    DrawSideButton(doc, button, true, button);
    UpdateViewExtent(doc, true);
    DrawSideButton(doc, button, false, button);
    SetCursorById(kArrowCursorId);
}

void FitExtentsButton(DocWindowRecord* doc, SInt16 button, SInt16 option) {
    DrawSideButton(doc, button, true, button);
    Float64 minX, minY, maxX, maxY;
    ComputeDrawingExtents(doc, 0, false, &minX, &minY, &maxX, &maxY, option);
    DrawSideButton(doc, button, false, button);
    DrawWindowStatusArea(doc);
    InvalidateDocWindow(doc);
}

void ControlKeyShortcut(DocWindowRecord* doc, UInt8 character) {
    const UInt8 letter = UInt8(character + 64);
    Str255 letters;
    GetStringResource(kControlLetters, letters);
    SInt16 found = -1;
    for (SInt16 i = 1; i <= letters[0] && i <= 9; ++i)
        if (letters[i] == letter) found = SInt16(i - 1);
    if (found < 0 || found == doc->drawing->toolInput.pickFilter) return;
    SetPickFilter(doc, found);
}
