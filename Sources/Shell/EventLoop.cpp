// The one event loop: each pass redraws what was deferred, runs the start-up action once, waits for
// one event, keeps the cursor current, dispatches the event, lets the tool dispatcher take what the
// handlers posted and looks after the front document (undo warnings, auto-save, a failed journal).
#include "Shell/EventLoop.h"
#include "Dialogs/CoordinateBar.h"

#include "Other/Alerts.h"
#include "Shell/AppleEvents.h"
#include "View/ContentPasses.h"
#include "Other/CursorsAndMouse.h"
#include "Platform/DialogManager.h"
#include "Model/DocumentRecords.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Files/FileCommands.h"
#include "Files/Preferences.h"
#include "Dialogs/Palettes.h"
#include "Interface/FloatingWindows.h"
#include "Shell/KeyDispatch.h"
#include "Shell/LiveSnap.h"
#include "Shell/MenuBar.h"
#include "Interface/ModalDialogs.h"
#include "Shell/MouseDispatch.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"
#include "Platform/QuickDraw.h"
#include "Tools/Snapping.h"
#include "Shell/StartupShutdown.h"
#include "Tools/ToolDispatch.h"
#include "Model/UndoJournal.h"

#include <algorithm>

MenuCommandGlobalsRecord MenuCommandGlobals;
Boolean ToolDispatchFlag = false;
Boolean QuitFlag = false;
Boolean OpenedByAppleEvent = false;

namespace {

constexpr UInt32 kTicksPerMinute = 3600;
constexpr SInt16 kMinUndoLimit = 20;
constexpr SInt16 kMinAutoSaveSteps = 20;
constexpr UInt16 kMinAutoSaveMinutes = 5;
constexpr SInt16 kMaxUndoSteps = 999;
constexpr SInt16 kUndoLimitAlert = 138;
constexpr SInt16 kUndo999Alert = 141;
constexpr SInt16 kMarkerGroup = 11;
constexpr SInt16 kMarkerTool = 7;

// Counts down from 3 every pass; the start-up action runs when it reaches 0.
int gPassCountdown = 3;
bool gStartupActionDecided = false;
bool gForeground = true;

bool IsContextualMenuClick(const EventRecord& e) {
    return e.what == mouseDown && (e.modifiers & controlKey) != 0;
}

bool SecondaryClickOnPalette(DocWindowRecord* doc, const EventRecord& e) {
    WindowRef window = nullptr;
    return FindWindow(e.where, &window) == inContent && PaletteSecondaryClick(doc, window, e.where);
}

void StartupAction() {
    if (gPassCountdown != 0 || gStartupActionDecided) return;
    gStartupActionDecided = true;
    if (OpenedByAppleEvent) return;
    DocWindowRecord* doc = nullptr;
    if (GeneralPrefs.openDialogAtStart) {
        if (OpenDocumentFile(&doc, nullptr)) CancelPendingCommand(doc);
    } else if (GeneralPrefs.newDrawingAtStart) {
        NewDrawing(&doc);
    }
}

UInt32 SleepTicks(bool fastIdle) {
    if (!gForeground) return 60;
    if (fastIdle) {
        EventRecord peek;
        return EventAvail(osMask, &peek) ? 1 : 2;
    }
    return gPassCountdown > 0 ? 1 : 15;
}

// Lightness of the hue-saturation-lightness form: the mean of the largest and smallest component.
UInt32 Lightness(const RGBColor& c) {
    UInt32 hi = std::max({c.red, c.green, c.blue}), lo = std::min({c.red, c.green, c.blue});
    return (hi + lo) / 2;
}

SInt16 DrawingAreaCursor(DocWindowRecord* doc, UInt16 modifiers) {
    if (modifiers & optionKey) return 134;
    if (modifiers & controlKey) return 136;
    if (modifiers & shiftKey) return 139;
    const DocSettings* s = doc->settings;
    UInt16 prompt = CommandFieldPromptCursor(doc);
    if (prompt != 0xFFFF && prompt != 128) return SInt16(prompt);
    if (GeneralPrefs.currentToolGroup == kMarkerGroup && GeneralPrefs.currentSubTool == kMarkerTool)
        return SInt16(145 + s->markerChoice);
    if (s->cursorOptions[0] && (s->snapMode == 0 || s->snapMode == 2) && prompt != 128) {
        if (s->snapMode == 2) return 132;
        if (s->cursorOptions[1]) return 131;
        if (s->cursorOptions[2]) return 130;
        return 135;
    }
    return Lightness(s->backgroundColor) >= 32768 ? 128 : 129;
}

void RetryAutoSaveLater(DrawingRecord* d) {
    d->autoSaveRetrySteps = d->undo.undoStepCount;
}

} // namespace

Boolean InForeground() {
    return gForeground;
}

void RefreshPalettes(DocWindowRecord* doc) {
    RefreshPaletteContents(doc);
}

void BeginEventLoop() {
    OpenedByAppleEvent = false;
    ResetDialogStack();
    gPassCountdown = 3;
    gStartupActionDecided = false;
    gForeground = true;
    InitColorTables();
    LoadPreferences();
    // Stored preferences may name a tool group that takes no clicks yet: start with the line tools.
    if (!ToolGroupBuilt(CurrentToolGroup())) {
        GeneralPrefs.currentToolGroup = 0;
        GeneralPrefs.currentSubTool = GeneralPrefs.lastSubTool[0];
    }
    InitToolTable();
    CreatePalettes();
    RegisterPalettePreferences();
    RestorePaletteWindows(nullptr);
    RefreshPalettes(nullptr);
    QuitFlag = false;
    InstallRequiredEventHandlers();
    SetCursorById(kWatchCursorId);
    SetCursorById(kArrowCursorId);
    AdjustMenus(nullptr);
}

void EventLoopPass() {
    DoDeferredRedraws();
    DocWindowRecord* doc = FrontDocument();
    StartupAction();
    doc = FrontDocument();
    EnableDocumentMenus(doc);
    ToolDispatchFlag = false;

    const bool open = OpenDocumentList != nullptr;
    const bool fastIdle = open && doc != nullptr &&
                          (GeneralPrefs.coordBarShown != 0 || doc->settings->snapMode == kSnapFixedPoint);
    if (doc != nullptr) SetPortTypingFont(doc);
    EventRecord event{};
    Boolean got = WaitNextEvent(everyEvent, &event, SleepTicks(fastIdle), nullptr);
    if (doc != nullptr) ResetPortFont(doc);

    // Handlers run inside the wait (a window closed by its handler): look the front document up again.
    doc = FrontDocument();
    // The live snap runs before a click is dispatched, so the click takes what is marked under it.
    if (fastIdle && doc != nullptr && doc->window != nullptr && doc->settings->snapMode == kSnapFixedPoint &&
        FrontNonFloatingWindow() == doc->window)
        HoverSnap(doc);
    if (open && doc != nullptr && doc->window != nullptr) SetPortWindowPort(doc->window);
    Point mouse;
    GetMouse(&mouse);
    if (OpenDocumentList != nullptr) {
        if (doc != nullptr) {
            doc->drawing->layout.mouseH = mouse.h;
            doc->drawing->layout.mouseV = mouse.v;
        }
        AdjustCursor(doc, &event);
    } else {
        SetCursorById(kArrowCursorId);
    }

    if (got && event.what != nullEvent) {
        if (IsContextualMenuClick(event) && SecondaryClickOnPalette(doc, event)) {
            // The palette's own menu took it.
        } else if (OpenDocumentList != nullptr && IsContextualMenuClick(event)) {
            ContextualToolMenu(doc, event.where);
        } else {
            switch (event.what) {
            case mouseDown:
                HandleMouseDown(doc, &event, event.where);
                break;
            case keyDown:
            case autoKey:
                ToolDispatchFlag = HandleKeyDown(doc, &event);
                break;
            case updateEvt:
                HandleUpdateEvent(reinterpret_cast<WindowRef>(event.message));
                break;
            case osEvt:
                HandleSuspendResume(UInt32(event.message));
                break;
            case kHighLevelEvent:
                AEProcessAppleEvent(&event);
                break;
            default:
                break;
            }
        }
    }
    if (ToolDispatchFlag) ToolMouseDown(FrontDocument(), &event);
    if (OpenDocumentList != nullptr)
        if (DocWindowRecord* front = FrontDocument()) FrontDocumentHousekeeping(front);
    if (gPassCountdown > -1) --gPassCountdown;
}

void EndEventLoop() {
    SavePreferences();
    DisposePalettes();
    SetCursorById(kArrowCursorId);
    DeleteTemporaryItems();
}

void RunEventLoop() {
    BeginEventLoop();
    do {
        EventLoopPass();
    } while (!QuitFlag);
    EndEventLoop();
}

namespace {
bool UpdatePending(WindowRef window) {
    if (!IsWindowVisible(window)) return false;
    RgnHandle region = NewRgn();
    GetWindowUpdateRgn(window, region);
    bool pending = !EmptyRgn(region);
    DisposeRgn(region);
    return pending;
}
} // namespace

// A window with an update on its way is painted once, by that update, which takes the deferred
// redraw with it (UpdateDocumentWindow).
void DoDeferredRedraws() {
    for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next) {
        if (doc->window == nullptr || !doc->drawing->view.redrawPending) continue;
        if (UpdatePending(doc->window)) continue;
        RedrawWindow(doc);
        doc->drawing->view.redrawPending = 0;
    }
}

void HandleUpdateEvent(WindowRef window) {
    bool drawn = DrawPaletteForUpdate(window);
    if (OpenDocumentList != nullptr) {
        SetCursorById(kArrowCursorId);
        for (DocWindowRecord* doc = OpenDocumentList; doc != nullptr; doc = doc->next)
            if (doc->window == window) {
                UpdateDocumentWindow(doc);
                drawn = true;
            }
    }
    // A window nobody draws must still lose its update region, or its update event comes back.
    if (!drawn && window != nullptr) {
        BeginUpdate(window);
        EndUpdate(window);
    }
}

void HandleSuspendResume(UInt32 message) {
    if (((message & osEvtMessageMask) >> 24) != suspendResumeMessage) return;
    DocWindowRecord* doc = FrontDocument();
    gForeground = (message & resumeFlag) != 0;
    if (gForeground) {
        ActivateDocument(doc);
        ShowFloatingWindows();
    } else {
        DeactivateDocument(doc);
        HideFloatingWindows();
    }
    SetCursorById(kArrowCursorId);
}

void AdjustCursor(DocWindowRecord* doc, const EventRecord* event) {
    if (!gForeground) return;
    if (doc == nullptr || doc->window == nullptr) {
        SetCursorById(kArrowCursorId);
        return;
    }
    Point global;
    GetGlobalMouse(&global);
    WindowRef over = nullptr;
    WindowPartCode part = FindWindow(global, &over);
    if (over != doc->window || part != inContent) {
        SetCursorById(kArrowCursorId);
        return;
    }
    const DrawingRecord* d = doc->drawing;
    Rect content;
    GetWindowContentBounds(doc->window, &content);
    const SInt16 h = SInt16(global.h - content.left), v = SInt16(global.v - content.top);
    const SInt16 width = SInt16(content.right - content.left);
    if (h >= 0 && h <= d->view.viewWidth && v >= 0 && v <= d->layout.messageLineTop) {
        SetCursorById(DrawingAreaCursor(doc, event != nullptr ? event->modifiers : 0));
    } else if (v >= d->layout.messageLineTop && v < d->layout.contentHeight && h >= 0 && h < width - 12) {
        SetCursorById(iBeamCursor);
    } else {
        SetCursorById(kArrowCursorId);
    }
    // The point a click here would make, in the coordinate bar (which ignores this while hidden).
    ShowPixelPosition(doc, h, SInt16(d->view.viewHeight - v));
}

Boolean SaveDocumentNow(DocWindowRecord* doc, Boolean silent) {
    DeselectAll(doc, false);
    Boolean saved;
    if (doc->drawing->hasFile) {
        saved = SaveDocument(doc, false, false, silent, false, false);
    } else {
        saved = false;
        SaveDocumentAs(doc, 1, 0, 0, 0, &saved, 0);
    }
    ResetToolState(doc, false);
    return saved;
}

void FrontDocumentHousekeeping(DocWindowRecord* doc) {
    DocSettings* s = doc->settings;
    DrawingRecord* d = doc->drawing;
    if (d->symbolParent != nullptr) {
        if (d->undo.undoStepCount >= SInt16(std::max<UInt16>(s->undoWarnSteps, kMinUndoLimit)) &&
            !d->undo.undoLimitWarned) {
            d->undo.undoLimitWarned = 1;
            const Str255 empty = {0};
            ShowErrorAlert(61, empty);
        }
        return;
    }
    if (s->undoWarnSteps < kMinUndoLimit) s->undoWarnSteps = kMinUndoLimit;
    if (s->undoWarnSteps2 < kMinAutoSaveSteps) s->undoWarnSteps2 = kMinAutoSaveSteps;
    if (s->autoSaveMinutes < kMinAutoSaveMinutes) s->autoSaveMinutes = kMinAutoSaveMinutes;

    if (d->undo.undoStepCount >= SInt32(s->undoWarnSteps) && !d->undo.undoLimitWarned) {
        d->undo.undoLimitWarned = 1;
        if (ShowAlert(kUndoLimitAlert) == 1) SaveDocumentNow(doc, false);
    }
    if (d->undo.undoStepCount >= kMaxUndoSteps && !d->undo.undo999Warned) {
        d->undo.undo999Warned = 1;
        SInt16 answer = ShowAlert(kUndo999Alert);
        if (answer == 1)
            SaveDocumentNow(doc, false);
        else if (answer == 3)
            ResetUndoJournal(doc);
    }
    // The history is given up only for a save that happened; a save that did not (an error, a
    // cancelled name) is tried again after as many further steps.
    if (d->undo.undoStepCount < d->autoSaveRetrySteps) d->autoSaveRetrySteps = 0;
    if (s->autoSaveBySteps &&
        d->undo.undoStepCount >= SInt32(d->autoSaveRetrySteps) + SInt32(s->undoWarnSteps2)) {
        if (SaveDocumentNow(doc, true)) {
            DeleteUndoJournal(doc);
            CreateUndoJournal(doc);
            d->autoSaveRetrySteps = 0;
        } else {
            RetryAutoSaveLater(d);
        }
    }
    // A journal that failed is replaced once; the user heard of the failure when it happened.
    if (d->undo.undoWriteFailed && d->undo.undoFailureCount != 0) {
        if (!d->undo.undoGuard2) {
            const Str255 empty = {0};
            ShowErrorAlert(kUndoJournalFailedMessage, empty);
        }
        RenewFailedUndoJournal(doc);
    }
    if (s->autoSaveOn && (TickCount() - d->lastTimedSaveTicks) / kTicksPerMinute >= s->autoSaveMinutes) {
        SaveDocumentNow(doc, true);
        d->lastTimedSaveTicks = TickCount();
    }
}
