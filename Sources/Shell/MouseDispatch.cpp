// Mouse-down dispatch by window part and, in a document window, by zone: the drawing area, the
// status bar and its snap buttons, the message strip, the side buttons and the scroll bars. Also the
// zoom steps, the option-click zoom, the shift-drag pan and the tool choices from menus.
#include "Shell/MouseDispatch.h"

#include "Shell/AppleEvents.h"
#include "View/ContentPasses.h"
#include "Platform/CGContext.h"
#include "Platform/Controls.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentRecords.h"
#include "Shell/DocumentServices.h"
#include "Shell/DocumentWindow.h"
#include "Shell/EventLoop.h"
#include "Files/Preferences.h"
#include "Dialogs/Palettes.h"
#include "Dialogs/ToolPalette.h"
#include "Shell/KeyDispatch.h"
#include "Other/MathPrimitives.h"
#include "Shell/MenuBar.h"
#include "Model/NewDocument.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolDispatch.h"
#include "View/ZoomExtents.h"
#include "Dialogs/StatusBarClicks.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr SInt16 kPopUpMenuId = 1024;
constexpr SInt16 kZoomCursor = 134;
constexpr SInt16 kHandCursor = 153;
constexpr SInt16 kSideButtonsBottom = 76;
// Menus whose item 11 leaves a running pending command alone.
constexpr SInt16 kKeepPendingMenus[] = {5002, 5005};

SInt16 StatusBarTop(const DocWindowRecord* doc) {
    return doc->drawing->layout.contentHeight;
}

bool InZone(Point p, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
    return p.h >= left && p.h <= right && p.v >= top && p.v <= bottom;
}

// The four snap buttons of the status bar: the clicked one becomes the snap mode.
void SnapButtonsClick(DocWindowRecord* doc) {
    SInt16 mode = SInt16((doc->drawing->layout.mouseH - kSnapButtonsLeft - 1) / 15);
    if (mode < 0 || mode > 3 || mode == doc->settings->snapMode) return;
    DrawSnapModeButton(doc, false);
    doc->settings->snapMode = mode;
    DrawSnapModeButton(doc, true);
    ShowToolPrompt(doc);
}

void DocumentContentClick(DocWindowRecord* doc, const EventRecord* event, Point where) {
    WindowRef window = doc->window;
    SetPortWindowPort(window);
    Point local = where;
    GlobalToLocal(&local);
    DrawingRecord* d = doc->drawing;
    ControlRef control = nullptr;
    SInt16 part = FindControl(local, window, &control);
    if (control != nullptr &&
        (control == d->layout.verticalScrollBar || control == d->layout.horizontalScrollBar)) {
        if (part == kControlIndicatorPart) {
            SetControlReference(control, GetControlValue(control));
            HandleControlClick(control, local, event->modifiers, LiveScrollAction);
        } else if (part != 0) {
            part = TrackControl(control, local, nullptr);
            ScrollBarPartToCommand(part, control);
            MenuCommandGlobals.kind =
                control == d->layout.verticalScrollBar ? kPendingVerticalScroll : kPendingHorizontalScroll;
        }
        return;
    }
    d->layout.mouseH = local.h;
    d->layout.mouseV = local.v;
    const UInt16 modifiers = event->modifiers;
    Rect port;
    GetPortBounds(GetWindowPort(window), &port);
    const SInt16 bottom = SInt16(port.bottom - port.top);
    if (InZone(local, 0, 0, d->view.viewWidth, d->view.viewHeight)) {
        MenuCommandGlobals.kind = kPendingClick;
        MenuCommandGlobals.code = local.h;
        MenuCommandGlobals.param = SInt16(d->view.viewHeight - local.v);
        // Option, with or without Command: most window managers take Alt-clicks to move windows,
        // and leave Ctrl+Alt-clicks to the program.
        if (modifiers & optionKey)
            ZoomClickAnimated(doc);
        else if (modifiers & shiftKey)
            PanDrag(doc);
        else
            ToolDispatchFlag = true;
    } else if (InZone(local, 0, StatusBarTop(doc), 273, bottom)) {
        ToolDispatchFlag = StatusBarPopup(doc, (modifiers & optionKey) != 0);
    } else if (InZone(local, 273, StatusBarTop(doc), 333, bottom)) {
        SnapButtonsClick(doc);
        ToolDispatchFlag = false;
    } else if (InZone(local, 0, d->layout.messageLineTop, d->layout.contentWidth, StatusBarTop(doc))) {
        MenuCommandGlobals.kind = kPendingStripClick;
        MenuCommandGlobals.code = local.h;
        ToolDispatchFlag = true;
    } else if (InZone(local, SInt16(d->layout.rightEdge + 1), 0, SInt16(d->layout.rightEdge + 16),
                      kSideButtonsBottom)) {
        DocumentButtonClick(doc, SInt16(local.v / 15));
    }
}

void ContentClick(DocWindowRecord* doc, WindowRef window, const EventRecord* event, Point where) {
    if (PaletteContentClick(doc, window, where, event->modifiers)) return;
    if (OpenDocumentList == nullptr) return;
    if (doc == nullptr || window != doc->window) {
        if (DocumentOfWindow(window) != nullptr) ActivateClickedDocument(doc, window);
        return;
    }
    DocumentContentClick(doc, event, where);
}

void ZoomBoxClick(DocWindowRecord* doc, WindowRef window, WindowPartCode part, Point where) {
    if (PaletteOfWindow(window) != PaletteId::count) {
        if (TrackBox(window, where, part)) PaletteZoomClick(doc, window);
        return;
    }
    DocWindowRecord* clicked = DocumentOfWindow(window);
    if (clicked == nullptr || !TrackBox(window, where, part)) return;
    SetZoomStateToMouseScreen(clicked);
    ZoomWindow(window, part, true);
    Rect port;
    GetPortBounds(GetWindowPort(window), &port);
    LayoutDocumentWindow(clicked, SInt16(port.right - port.left), SInt16(port.bottom - port.top), 0);
}

void GoAwayClick(WindowRef window, const EventRecord* event, Point where) {
    if (PaletteCloseClick(window, where)) return;
    // The close box belongs to the window clicked, which need not be the front one.
    DocWindowRecord* clicked = DocumentOfWindow(window);
    if (clicked == nullptr || !TrackGoAway(window, where)) return;
    if (event->modifiers & optionKey)
        CloseAllDocuments(false);
    else
        CloseDocumentWindow(clicked, false, true, true);
}

// The drawing point under a window pixel of the drawing area.
void PixelToWorld(const DrawingRecord* d, Point p, Float64* x, Float64* y) {
    *x = d->view.originX + p.h * d->view.unitsPerPixel;
    *y = d->view.originY + (d->view.viewHeight - p.v) * d->view.unitsPerPixel;
}

void CentreOn(DrawingRecord* d, Float64 x, Float64 y, Float64 scale) {
    SetViewScale(d, AtLeastEpsilon(scale));
    SetViewOrigin(d, x - d->view.viewWidth * d->view.unitsPerPixel / 2.0,
                  y - d->view.viewHeight * d->view.unitsPerPixel / 2.0);
}

void ZoomStep(DocWindowRecord* doc, SInt16 button, Boolean aboutMouse, Point where, bool in) {
    DrawSideButton(doc, button, true, button);
    if (aboutMouse)
        ZoomViewAboutPoint(doc, in, where.h, SInt16(doc->drawing->view.viewHeight - where.v));
    else
        ZoomViewAboutCentre(doc, in);
    DrawSideButton(doc, button, false, button);
}

} // namespace

void HandleMouseDown(DocWindowRecord* doc, const EventRecord* event, Point where) {
    WindowRef window = nullptr;
    WindowPartCode part = FindWindow(where, &window);
    switch (part) {
    case inMenuBar:
        SetCursorById(kArrowCursorId);
        AdjustMenus(doc);
        ToolDispatchFlag = MenuResultToCommand(doc, MenuSelect(where));
        break;
    case inContent:
        ContentClick(doc, window, event, where);
        break;
    case inDrag:
        if (event->modifiers & optionKey)
            WindowListPopup(doc);
        else
            DragWindowClick(doc, window, where, (event->modifiers & cmdKey) != 0);
        break;
    case inGrow:
        if (PaletteGrowClick(window, where)) break;
        if (DocWindowRecord* grown = DocumentOfWindow(window)) {
            GrowDocumentWindow(grown, where);
            SetViewScale(grown->drawing, AtLeastEpsilon(grown->drawing->view.unitsPerPixel));
        }
        break;
    case inGoAway:
        GoAwayClick(window, event, where);
        break;
    case inZoomIn:
    case inZoomOut:
        ZoomBoxClick(doc, window, part, where);
        break;
    default:
        break;
    }
}

Boolean MenuResultToCommand(DocWindowRecord* doc, SInt32 result) {
    const SInt16 menu = SInt16(result >> 16), item = SInt16(result & 0xFFFF);
    MenuCommandGlobals.kind = kPendingMenu;
    MenuCommandGlobals.code = 0;
    // A menu dismissed without a choice leaves a running command alone.
    bool keep = menu == 0;
    for (SInt16 m : kKeepPendingMenus)
        keep = keep || (menu == m && item == 11);
    if (OpenDocumentList != nullptr && doc != nullptr && !keep) EndPendingOperation(doc);
    if (menu == kAppleMenu && item > 1) {
        // The application menu's own items are the system's: they send the events it would send.
        MenuCommand command = 0;
        if (MenuRef apple = MenuHandleOf(kAppleMenu)) GetMenuItemCommandID(apple, item, &command);
        if (command == kAEQuitApplication || command == kAEShowPreferences)
            AESendToSelf(kCoreEventClass, command, {});
    } else if (menu != 0) {
        MenuCommandGlobals.code = menu;
        MenuCommandGlobals.param = item;
    }
    HiliteMenu(0);
    return MenuCommandGlobals.code != 0;
}

void EndPendingOperation(DocWindowRecord* doc) {
    if (OpenDocumentList == nullptr || doc == nullptr || doc->drawing->toolInput.pendingCommand == 0) return;
    doc->drawing->toolInput.pendingCommand = 0;
    DeselectAll(doc, false);
    ResetToolState(doc, false);
}

void SelectToolGroupFromMenu(DocWindowRecord* doc, SInt16 group) {
    if (group < 0 || group >= kToolGroupCount) return;
    EndPendingOperation(doc);
    SInt16 old = SInt16(GeneralPrefs.currentToolGroup);
    GeneralPrefs.currentToolGroup = UInt32(group);
    GeneralPrefs.currentSubTool = GeneralPrefs.lastSubTool[group];
    DrawToolGroupButton(old);
    DrawToolGroupButton(group);
    CancelPendingCommand(doc);
}

void SelectToolFromMenu(DocWindowRecord* doc, SInt16 tool) {
    SInt16 group = SInt16(GeneralPrefs.currentToolGroup);
    if (tool < 0 || tool > ToolGroupHighestIndex(group)) return;
    EndPendingOperation(doc);
    GeneralPrefs.currentSubTool = UInt32(tool);
    GeneralPrefs.lastSubTool[group] = UInt32(tool);
    DrawToolGroupButton(group);
    CancelPendingCommand(doc);
}

void DragWindowClick(DocWindowRecord* doc, WindowRef window, Point, Boolean commandHeld) {
    if (OpenDocumentList == nullptr || commandHeld) return;
    if (DocumentOfWindow(window) != nullptr && (doc == nullptr || window != doc->window))
        ActivateClickedDocument(doc, window);
}

void ActivateClickedDocument(DocWindowRecord* doc, WindowRef window) {
    DeactivateDocument(doc);
    DocWindowRecord* clicked = DocumentOfWindow(window);
    if (clicked == nullptr) {
        clicked = OpenDocumentList;
        while (clicked != nullptr && clicked->next != nullptr)
            clicked = clicked->next;
    }
    ActivateDocument(clicked);
    RefreshPalettes(clicked);
}

void WindowListPopup(DocWindowRecord* doc) {
    if (CountOpenDocuments() < 2) return;
    const Str255 empty = {0};
    MenuRef menu = NewMenu(kPopUpMenuId, empty);
    SInt16 current = 1, item = 0;
    for (DocWindowRecord* d = OpenDocumentList; d != nullptr; d = d->next) {
        Str255 title;
        GetWTitle(d->window, title);
        AppendMenuItemText(menu, title);
        ++item;
        if (d == doc) current = item;
    }
    InsertMenu(menu, hierMenu);
    Point mouse;
    GetGlobalMouse(&mouse);
    SInt32 chosen = PopUpMenuSelect(menu, SInt16(mouse.v - 8), SInt16(mouse.h - 30), current);
    SInt16 index = SInt16(chosen & 0xFFFF);
    if (index != 0 && index != current) {
        DocWindowRecord* target = OpenDocumentList;
        for (SInt16 i = 1; i < index && target != nullptr; ++i)
            target = target->next;
        if (target != nullptr) ActivateClickedDocument(doc, target->window);
    }
    DeleteMenu(kPopUpMenuId);
    DisposeMenu(menu);
}

void ContextualToolMenu(DocWindowRecord* doc, Point where) {
    SetCursorById(kArrowCursorId);
    MenuRef menu = MenuHandleOf(kToolMenu);
    if (menu == nullptr) return;
    SInt32 chosen = PopUpMenuSelect(menu, where.v, where.h, 0);
    SInt16 group = SInt16((chosen >> 16) - kFirstToolMenu), item = SInt16(chosen & 0xFFFF);
    if (chosen == 0 || group < 0 || group >= kToolGroupCount) return;
    if (UInt32(group) != GeneralPrefs.currentToolGroup) SelectToolGroupFromMenu(doc, group);
    if (UInt32(item - 1) != GeneralPrefs.currentSubTool) SelectToolFromMenu(doc, SInt16(item - 1));
}

void ScrollBarPartToCommand(SInt16 part, ControlRef control) {
    if (part == 29) part = 23;
    if (part == 28) part = 22;
    MenuCommandGlobals.code = part;
    MenuCommandGlobals.param = GetControlValue(control);
    ToolDispatchFlag =
        (part >= kControlUpButtonPart && part <= kControlPageDownPart) || part == kControlIndicatorPart;
}

void LiveScrollAction(ControlRef control, SInt16) {
    DocWindowRecord* doc = DocumentOfWindow(GetControlOwner(control));
    if (doc == nullptr) return;
    SInt16 value = GetControlValue(control);
    MenuCommandGlobals.code = kControlIndicatorPart;
    MenuCommandGlobals.param = value;
    if (value == GetControlReference(control)) return;
    TrackScroll(doc, control == doc->drawing->layout.verticalScrollBar ? ScrollAxis::vertical
                                                                       : ScrollAxis::horizontal);
    UpdateViewExtent(doc, false);
    QDFlushPortBuffer(GetWindowPort(doc->window), nullptr);
    SetControlReference(control, value);
}

void DocumentButtonClick(DocWindowRecord* doc, SInt16 index) {
    Point where{doc->drawing->layout.mouseV, doc->drawing->layout.mouseH};
    switch (index) {
    case 0:
        DrawSideButton(doc, 0, true, 0);
        SaveDocumentNow(doc, false);
        DrawSideButton(doc, 0, false, 0);
        break;
    case 1:
        FitExtentsButton(doc, 1, 0);
        break;
    case 2:
        RedrawViewButton(doc, 2);
        break;
    case 3:
        ZoomInStep(doc, 3, false, where);
        break;
    case 4:
        ZoomOutStep(doc, 4, false, where);
        break;
    default:
        break;
    }
}

void ZoomInStep(DocWindowRecord* doc, SInt16 button, Boolean aboutMouse, Point where) {
    ZoomStep(doc, button, aboutMouse, where, true);
}

void ZoomOutStep(DocWindowRecord* doc, SInt16 button, Boolean aboutMouse, Point where) {
    ZoomStep(doc, button, aboutMouse, where, false);
}

void ZoomClickAnimated(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    SetCursorById(kZoomCursor);
    const Point press{d->layout.mouseV, d->layout.mouseH};
    Float64 cx, cy;
    PixelToWorld(d, press, &cx, &cy);
    if (doc->settings->animatedZoom) {
        RememberPreviousView(doc->drawing);
        const Float64 startX = d->view.originX, startY = d->view.originY;
        const Float64 endX = cx - d->view.viewWidth * d->view.unitsPerPixel / 2.0;
        const Float64 endY = cy - d->view.viewHeight * d->view.unitsPerPixel / 2.0;
        for (int step = 1; step <= 4; ++step) {
            SetViewOrigin(d, startX + (endX - startX) * step / 4.0, startY + (endY - startY) * step / 4.0);
            UpdateViewExtent(doc, false);
        }
        const Float64 pressScale = d->view.unitsPerPixel;
        Point last = press;
        while (Button()) {
            Point p;
            GetMouse(&p);
            if (EqualPt(p, last)) continue;
            last = p;
            Float64 dh = 2.0 * std::abs(p.h - press.h), dv = 2.0 * std::abs(p.v - press.v);
            Float64 distance = std::sqrt(dh * dh + dv * dv);
            if (distance <= 5.0) continue;
            CentreOn(d, cx, cy, pressScale / (distance / 50.0 + 1.0));
            UpdateViewExtent(doc, false);
            ForeColorBlack();
            MoveTo(press.h, press.v);
            LineTo(p.h, p.v);
        }
    } else {
        // A cancelled drag, or one at most 5 pixels wide, changes nothing.
        if (!TrackDragRectangle(doc, !doc->settings->cornerZoom)) return;
        if (d->view.dragRectWidth <= 5.0 * d->view.unitsPerPixel) return;
        RememberPreviousView(doc->drawing);
        CentreOn(d, d->view.dragRectX + d->view.dragRectWidth / 2.0,
                 d->view.dragRectY + d->view.dragRectHeight / 2.0,
                 d->view.dragRectWidth / (d->view.viewWidth > 0 ? d->view.viewWidth : 1));
    }
    UpdateViewExtent(doc, true);
    DrawWindowStatusArea(doc);
}

void PanDrag(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    ShowStatusMessage(doc, kPanMessage, true);
    SetCursorById(kHandCursor);
    const Point press{d->layout.mouseV, d->layout.mouseH};
    const Float64 startX = d->view.originX, startY = d->view.originY;
    Point last = press;
    while (Button()) {
        Point p;
        GetMouse(&p);
        if (EqualPt(p, last)) continue;
        SetViewOrigin(d, startX - (p.h - press.h) * d->view.unitsPerPixel,
                      startY + (p.v - press.v) * d->view.unitsPerPixel);
        ShowViewMoved(doc, p.h - last.h, p.v - last.v, false);
        last = p;
    }
    UpdateViewExtent(doc, true);
    UpdateStatusArea(doc, true);
}
