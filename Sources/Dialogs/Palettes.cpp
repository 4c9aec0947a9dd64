// The floating palettes: their table, their windows, the shared show, grow and wheel operations, the
// preferences that remember them, and the routing of updates, clicks and boxes to each row.
#include "Dialogs/Palettes.h"

#include "Dialogs/PaletteContents.h"
#include "Dialogs/ToolPalette.h"
#include "Model/DocumentRecords.h"
#include "Model/NewDocument.h"
#include "Other/MathPrimitives.h"
#include "Tools/StatusArea.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"
#include "Interface/DialogLists.h"
#include "Other/NumberFormat.h"
#include "Interface/FloatingWindows.h"
#include "Model/SharedUtilities.h"
#include "Platform/AppResources.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Platform/WindowFit.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr SInt16 kStandardScrollBarProc = 384;
constexpr SInt16 kLiveScrollBarProc = 386;
constexpr SInt16 kPaletteScrollMaximum = 1000;
constexpr SInt16 kListFontSize = 9;
constexpr SInt16 kButtonLefts[3] = {2, 76, 149};
constexpr SInt16 kButtonsAboveBottom = 20;
constexpr SInt16 kScreenHeightMargin = 30;
constexpr SInt16 kDesktopTestAbove = 12;
constexpr SInt16 kInfoRowHeight = 12;
constexpr SInt16 kInfoMinimumHeight = 48;
constexpr SInt16 kPaletteGap = 4; // between the frames of palettes stacked from one corner
constexpr SInt16 kZoomMenuId = 1025;
constexpr SInt16 kZoomMenuText = 299; // "STR#" 5000: the one item of the secondary-click menu
constexpr UInt32 kFlashTicks = 15;
constexpr SInt16 kZoomPendingCommand = 160;
constexpr SInt16 kOriginPendingCommand = 175;

using enum PaletteScrollBar;
constexpr Point kNoLimit{32000, 32000};
constexpr Point kListMinimum{60, 100};

// Title, size, boxes, controls, Window item, grow limits, then draw, click, grow, layout, wheel,
// refresh. Places are computed in CreatePalettes from the screen.
// clang-format off
const PaletteRow kPaletteRows[kPaletteCount] = {
    {PaletteId::coordBar, 0, 243, 11, false, false, true, none, false, 0, {0, 0, 0}, 13, {0, 0}, kNoLimit,
     UpdateCoordBar, CoordBarClick, nullptr, nullptr, nullptr, nullptr},
    {PaletteId::tool, 0, 64, 192, false, true, true, none, false, 0, {0, 0, 0}, 14, {0, 0}, kNoLimit,
     DrawToolPaletteForUpdate, ToolPaletteContentClick, nullptr, nullptr, nullptr, nullptr},
    {PaletteId::info, 249, 92, 198, true, false, true, live, true, 0, {0, 0, 0}, 15, {kInfoMinimumHeight, 60},
     kNoLimit, UpdateInfoWindow, InfoWindowClick, GrowPaletteWindow, LayoutInfoWindow, ScrollInfoList, nullptr},
    {PaletteId::symbols, 193, 138, 148, true, true, true, live, false, 0, {0, 0, 0}, 16, {80, 80}, kNoLimit,
     UpdateSymbolPalette, SymbolPaletteClick, GrowPaletteWindow, LayoutSymbolPalette, SymbolPaletteWheel,
     RefreshSymbolPalette},
    {PaletteId::presets, 194, 219, 96, true, false, true, standard, true, 24, {195, 196, 265}, 17, {96, 200},
     kNoLimit, UpdatePresetWindow, PresetWindowClick, GrowPresetWindow, LayoutPresetWindow, ScrollPresetList,
     RefreshPresetList},
    {PaletteId::layerSets, 204, 146, 96, true, false, true, standard, true, 20, {213, 214, 0}, 18, kListMinimum,
     kNoLimit, DrawLayerSetPalette, LayerSetPaletteClick, GrowLayerSetPalette, LayoutLayerSetPalette,
     ScrollLayerSetList, RefreshLayerSetList},
    {PaletteId::colors, 205, 112, 172, false, false, true, none, false, 0, {230, 231, 0}, 19, {0, 0}, kNoLimit,
     DrawColorPalette, ColorPaletteClick, nullptr, nullptr, nullptr, RefreshColorPalette},
    {PaletteId::patterns, 206, 66, 69, true, false, true, standard, false, 0, {0, 0, 0}, 20, {69, 40}, kNoLimit,
     UpdatePatternPalette, PatternPaletteClick, GrowPatternPalette, SizePatternPalette, PatternPaletteWheel,
     nullptr},
    {PaletteId::views, 232, 146, 96, true, false, true, standard, true, 12, {195, 196, 0}, 21, kListMinimum,
     kNoLimit, UpdateViewsWindow, ViewsWindowClick, GrowPaletteWindow, LayoutViewsWindow, ScrollViewsList,
     FillViewsList},
    {PaletteId::objectInfo, 277, 204, 198, false, false, false, none, false, 0, {0, 0, 0}, 0, {0, 0}, kNoLimit,
     DrawObjectInfoPalette, ObjectInfoPaletteClick, nullptr, nullptr, nullptr, nullptr},
};
// clang-format on

PaletteWindow gPaletteWindows[kPaletteCount];

SInt16 Width(const Rect& r) {
    return SInt16(r.right - r.left);
}
SInt16 Height(const Rect& r) {
    return SInt16(r.bottom - r.top);
}

Rect Placed(SInt16 top, SInt16 left, SInt16 width, SInt16 height) {
    return Rect{top, left, SInt16(top + height), SInt16(left + width)};
}

// The window, its scroll bar, list and buttons, hidden; the handlers of the resizable ones.
void MakePalette(PaletteId id, const Rect& bounds);

OSStatus PaletteBoundsChanged(const WindowEvent* event, void* userData);
OSStatus PaletteWheel(const WindowEvent* event, void* userData);

void MakePalette(PaletteId id, const Rect& bounds) {
    const PaletteRow& row = kPaletteRows[int(id)];
    PaletteWindow& p = gPaletteWindows[int(id)];
    Str255 title;
    title[0] = 0;
    if (row.title != 0) GetAppString(row.title, title);
    p.window = CreateFloatingWindow(title, &bounds, false, row.resizable, row.zoomBox, row.closeBox);
    if (p.window == nullptr) return;
    SetWindowRefConPtr(p.window, nullptr);
    SetPortWindowPort(p.window);
    TextFont(AppFontNumber());
    TextSize(kListFontSize);
    Rect port;
    WindowPortRect(p.window, &port);
    if (row.scrollBar != none) {
        Rect bar = ListScrollBarRect(port);
        CreateScrollBarControl(p.window, &bar, 0, 0, row.hasList ? 0 : kPaletteScrollMaximum, 0,
                               row.scrollBar == live, nullptr, &p.scrollBar);
        if (p.scrollBar != nullptr) HiliteControl(p.scrollBar, kControlInactivePart);
    }
    if (row.hasList) {
        Rect view{port.top, port.left, SInt16(port.bottom - row.listBottomFree), SInt16(port.right - 10)};
        FontInfo info;
        GetFontInfo(&info);
        ListBounds data{0, 0, 0, 1};
        Point cell{SInt16(info.ascent + info.descent), view.right};
        p.list = LNew(&view, &data, cell, 0, p.window, true, false, false, false);
        if (p.list != nullptr) SetListSelectionFlags(p.list, lOnlyOne);
    }
    for (int b = 0; b < 3; ++b) {
        if (row.buttons[b] == 0) continue;
        Str255 text;
        GetAppString(row.buttons[b], text);
        Rect r = Placed(SInt16(port.bottom - kButtonsAboveBottom), kButtonLefts[b], kPaletteButtonWidth,
                        kPaletteButtonHeight);
        p.buttons[b] = NewSmallPushButton(p.window, &r, text);
    }
    if (row.resizable) {
        ChangeWindowAttributes(p.window, kWindowLiveResizeAttribute, 0);
        AddWindowBoundsHandler(p.window, PaletteBoundsChanged, p.window, nullptr);
        InstallWindowEventHandler(p.window, WindowEventKind::mouseWheel, PaletteWheel, p.window, nullptr);
        SetWindowResizeLimits(p.window, row.minSize, row.maxSize);
    }
}

// A resize that keeps the size (a move) changes nothing; another lays the palette out and redraws it.
OSStatus PaletteBoundsChanged(const WindowEvent* event, void* userData) {
    PaletteId id = PaletteOfWindow(static_cast<WindowRef>(userData));
    if (id == PaletteId::count) return eventNotHandledErr;
    Rect port;
    WindowPortRect(PaletteWindowRef(id), &port);
    const Rect& before = event->previousBounds;
    if (Width(port) == Width(before) && Height(port) == Height(before)) return noErr;
    const PaletteRow& row = kPaletteRows[int(id)];
    if (row.layout != nullptr) row.layout(Width(port), Height(port));
    InvalidatePalette(id);
    return noErr;
}

// Only the vertical wheel acts, and never past the scroll bar's ends.
OSStatus PaletteWheel(const WindowEvent* event, void* userData) {
    PaletteId id = PaletteOfWindow(static_cast<WindowRef>(userData));
    if (id == PaletteId::count) return eventNotHandledErr;
    ControlRef bar = gPaletteWindows[int(id)].scrollBar;
    if (event->wheelAxis != kEventMouseWheelAxisY || bar == nullptr) return noErr;
    SInt16 old = GetControlValue(bar);
    SInt32 value = std::clamp<SInt32>(SInt32(old) - event->wheelDelta, 0, GetControlMaximum(bar));
    if (value == old) return noErr;
    SetControlValue(bar, SInt16(value));
    const PaletteRow& row = kPaletteRows[int(id)];
    if (row.wheel != nullptr) row.wheel(SInt16(value), old);
    return noErr;
}

// Keeps a palette on the main screen: no taller than the screen less 30 pixels, no wider than it.
void KeepOnMainScreen(PaletteId id) {
    WindowRef window = PaletteWindowRef(id);
    Rect screen, port;
    GetScreenBounds(&screen);
    WindowPortRect(window, &port);
    SInt16 width = Width(port), height = Height(port);
    SInt16 maxHeight = SInt16(Height(screen) - kScreenHeightMargin);
    if (height <= maxHeight && width <= Width(screen)) return;
    width = std::min(width, Width(screen));
    height = std::min(height, maxHeight);
    const PaletteRow& row = kPaletteRows[int(id)];
    if (row.layout != nullptr)
        row.layout(width, height);
    else
        SizeWindowIfChanged(window, width, height, true);
}

PaletteState* ListPaletteState(PaletteId id) {
    GeneralPrefsRecord& g = GeneralPrefs;
    switch (id) {
    case PaletteId::info:
        return &g.infoWindow;
    case PaletteId::symbols:
        return &g.symbolPalette;
    case PaletteId::presets:
        return &g.presetsPalette;
    case PaletteId::layerSets:
        return &g.layerSetsPalette;
    case PaletteId::colors:
        return &g.colorPalette;
    case PaletteId::patterns:
        return &g.patternPalette;
    case PaletteId::views:
        return &g.viewsPalette;
    default:
        return nullptr;
    }
}

// The preferences' view of each palette: where it is and how large, and whether it is shown.
template <PaletteId id> Boolean CapturePalette(PaletteState* state) {
    WindowRef window = PaletteWindowRef(id);
    if (window == nullptr) return false;
    Rect content;
    GetWindowContentBounds(window, &content);
    UInt32 shown = 0;
    GetPaletteShownFlag(id, &shown);
    state->shown = shown;
    state->topLeft = Point{content.top, content.left};
    state->width = UInt32(Width(content));
    state->height = UInt32(Height(content));
    return true;
}

template <PaletteId id> void RestorePalette(const PaletteState* state, DocWindowRecord*) {
    if (PaletteWindowRef(id) == nullptr) return;
    SetPaletteShownFlag(id, state->shown);
    if constexpr (id == PaletteId::tool) {
        // A place never saved (the top-left corner of the screen) keeps the palette where it was made.
        Boolean move =
            PointIsOnDesktop(Point{SInt16(state->topLeft.v - kDesktopTestAbove), state->topLeft.h});
        ShowToolPalette(move, state->topLeft.h, state->topLeft.v, false, true, true, state->shown != 0);
    } else {
        Boolean resize = id != PaletteId::coordBar && id != PaletteId::colors;
        ShowPaletteWindow(id, resize, SInt16(state->width), SInt16(state->height), true, state->topLeft.h,
                          state->topLeft.v, state->shown != 0);
    }
}

template <PaletteId id> constexpr PaletteHooks kHooks{CapturePalette<id>, RestorePalette<id>};

// The colour palette's two buttons span its width, one above the other.
void PlaceColorPaletteButtons() {
    PaletteWindow& p = gPaletteWindows[int(PaletteId::colors)];
    Rect port;
    WindowPortRect(p.window, &port);
    const SInt16 tops[2] = {SInt16(port.bottom - 44), SInt16(port.bottom - 20)};
    for (int b = 0; b < 2; ++b) {
        if (p.buttons[b] == nullptr) continue;
        Rect r{tops[b], SInt16(port.left + 4), SInt16(tops[b] + 16), SInt16(port.right - 5)};
        SetControlBounds(p.buttons[b], &r);
    }
}

// Inverts a strip of the coordinate bar for a moment, to show what a click reached.
void FlashCoordBarStrip(SInt16 left, SInt16 right) {
    WindowRef bar = PaletteWindowRef(PaletteId::coordBar);
    if (bar == nullptr) return;
    Rect port;
    WindowPortRect(bar, &port);
    Rect strip{port.top, left, port.bottom, right};
    SetPortWindowPort(bar);
    InvertRect(&strip);
    UInt32 ignored;
    Delay(kFlashTicks, &ignored);
    InvertRect(&strip);
}

} // namespace

const PaletteRow& PaletteRowOf(PaletteId id) {
    return kPaletteRows[int(id)];
}

PaletteWindow& PaletteOf(PaletteId id) {
    return gPaletteWindows[int(id)];
}

WindowRef PaletteWindowRef(PaletteId id) {
    return id == PaletteId::count ? nullptr : gPaletteWindows[int(id)].window;
}

PaletteId PaletteOfWindow(WindowRef window) {
    if (window == nullptr) return PaletteId::count;
    for (int i = 0; i < kPaletteCount; ++i)
        if (gPaletteWindows[i].window == window) return PaletteId(i);
    return PaletteId::count;
}

Rect PaletteScreenArea() {
    // The menus live in the document windows, below their title bars: the palettes start below
    // where a document window's content starts.
    constexpr SInt16 kTitleBarAllowance = 22;
    Rect area;
    GetAvailableWindowPositioningBounds(GetMainDevice(), &area);
    area.top = SInt16(area.top + kTitleBarAllowance + GetMBarHeight());
    return area;
}

void CreatePalettes() {
    Rect screen = PaletteScreenArea();
    auto make = [&](PaletteId id, SInt16 top, SInt16 left, SInt16 width, SInt16 height) {
        if (PaletteWindowRef(id) == nullptr) MakePalette(id, Placed(top, left, width, height));
    };
    auto row = [](PaletteId id) -> const PaletteRow& { return kPaletteRows[int(id)]; };

    constexpr SInt16 kCoordBarTop = 25, kCoordBarHeight = 11;
    make(PaletteId::coordBar, SInt16(screen.top + kCoordBarTop), SInt16(screen.right - 275), 243,
         kCoordBarHeight);
    // The tool palette is made in the arrangement the preferences keep, below the coordinate bar
    // whatever frames the window manager gives the two: both hang from the same corner.
    Rect frame;
    GetFloatingWindowFrameExtents(&frame);
    const SInt16 toolTop =
        std::max<SInt16>(53, SInt16(kCoordBarTop + kCoordBarHeight + frame.bottom + frame.top + kPaletteGap));
    Point toolSize = ToolPaletteSize();
    make(PaletteId::tool, SInt16(screen.top + toolTop), SInt16(screen.right - 22 - toolSize.h), toolSize.h,
         toolSize.v);
    MarkToolPaletteSideTitle();

    // The info window hangs below the tool palette, as high as whole rows allow.
    Rect tool;
    GetWindowContentBounds(PaletteWindowRef(PaletteId::tool), &tool);
    SInt16 infoTop = SInt16(tool.bottom + 14);
    SInt16 infoHeight = InfoWindowHeightFor(screen.bottom, infoTop);
    make(PaletteId::info, infoTop, SInt16(tool.left - 74), row(PaletteId::info).width,
         row(PaletteId::info).height);
    LayoutInfoWindow(138, infoHeight);

    make(PaletteId::symbols, SInt16(screen.bottom - 187), SInt16(screen.left + 6), 138, 148);
    make(PaletteId::presets, SInt16(screen.bottom - 299), SInt16(screen.left + 6), 219, 96);
    make(PaletteId::layerSets, SInt16(screen.top + 54), SInt16(screen.left + 6), 146, 96);
    make(PaletteId::colors, SInt16(screen.top + 54), SInt16(screen.left + 97), 112, 172);
    PlaceColorPaletteButtons();
    make(PaletteId::patterns, SInt16(screen.top + 182), SInt16(screen.left + 6), 66, 69);
    make(PaletteId::views, SInt16(screen.bottom - 299), SInt16(screen.left + 127), 146, 96);
    make(PaletteId::objectInfo, SInt16(screen.top + 20), SInt16(screen.right - 210), 204, 198);
}

SInt16 InfoWindowHeightFor(SInt16 screenBottom, SInt16 top) {
    SInt16 rows = SInt16((screenBottom - top - 40) / kInfoRowHeight);
    return std::max<SInt16>(kInfoMinimumHeight, SInt16(rows * kInfoRowHeight));
}

void DisposePalettes() {
    for (int i = 0; i < kPaletteCount; ++i) {
        PaletteWindow& p = gPaletteWindows[i];
        if (p.list != nullptr) LDispose(p.list);
        DisposeWindowAnimated(&p.window);
        p = PaletteWindow{};
    }
}

void RegisterPalettePreferences() {
    RegisterPaletteHooks(PaletteSlot::coordBar, kHooks<PaletteId::coordBar>);
    RegisterPaletteHooks(PaletteSlot::tool, kHooks<PaletteId::tool>);
    RegisterPaletteHooks(PaletteSlot::info, kHooks<PaletteId::info>);
    RegisterPaletteHooks(PaletteSlot::symbols, kHooks<PaletteId::symbols>);
    RegisterPaletteHooks(PaletteSlot::presets, kHooks<PaletteId::presets>);
    RegisterPaletteHooks(PaletteSlot::layerSets, kHooks<PaletteId::layerSets>);
    RegisterPaletteHooks(PaletteSlot::colors, kHooks<PaletteId::colors>);
    RegisterPaletteHooks(PaletteSlot::patterns, kHooks<PaletteId::patterns>);
    RegisterPaletteHooks(PaletteSlot::views, kHooks<PaletteId::views>);
}

namespace {

// The packed preferences record can leave a flag unaligned: it is copied byte-wise, never read
// through a UInt32 pointer.
unsigned char* ShownFlagBytes(PaletteId id) {
    auto* prefs = reinterpret_cast<unsigned char*>(&GeneralPrefs);
    switch (id) {
    case PaletteId::coordBar:
        return prefs + offsetof(GeneralPrefsRecord, coordBarShown);
    case PaletteId::tool:
        return prefs + offsetof(GeneralPrefsRecord, toolPaletteShown);
    case PaletteId::objectInfo:
        return prefs + offsetof(GeneralPrefsRecord, objectInfoShown);
    default:
        PaletteState* state = ListPaletteState(id);
        return state != nullptr ? reinterpret_cast<unsigned char*>(state) + offsetof(PaletteState, shown)
                                : nullptr;
    }
}

} // namespace

Boolean GetPaletteShownFlag(PaletteId id, UInt32* value) {
    *value = 0;
    const unsigned char* bytes = ShownFlagBytes(id);
    if (bytes == nullptr) return false;
    std::memcpy(value, bytes, sizeof *value);
    return true;
}

void SetPaletteShownFlag(PaletteId id, UInt32 value) {
    if (unsigned char* bytes = ShownFlagBytes(id)) std::memcpy(bytes, &value, sizeof value);
}

void ShowPaletteWindow(PaletteId id, Boolean resize, SInt16 width, SInt16 height, Boolean move, SInt16 left,
                       SInt16 top, Boolean shown) {
    WindowRef window = PaletteWindowRef(id);
    if (window == nullptr) return;
    if (id == PaletteId::tool) {
        ShowToolPalette(move, left, top, false, shown, true, shown);
        return;
    }
    const PaletteRow& row = kPaletteRows[int(id)];
    if (resize && width > 0 && height > 0) {
        if (row.layout != nullptr)
            row.layout(width, height);
        else
            SizeWindowIfChanged(window, width, height, true);
    }
    if (move && PointIsOnDesktop(Point{SInt16(top - kDesktopTestAbove), left}))
        MoveWindow(window, left, top, false);
    ShowHideWindow(window, shown);
    if (shown) InvalWindowBounds(window);
    KeepOnMainScreen(id);
}

void SetPaletteShown(PaletteId id, Boolean shown) {
    SetPaletteShownFlag(id, shown ? 1 : 0);
    if (id == PaletteId::tool)
        ShowToolPalette(false, 0, 0, false, shown, true, shown);
    else
        ShowPaletteWindow(id, false, 0, 0, false, 0, 0, shown);
}

void TogglePalette(PaletteId id) {
    UInt32 flag = 0;
    if (GetPaletteShownFlag(id, &flag)) SetPaletteShown(id, flag == 0);
}

void ToggleCoordBar() {
    TogglePalette(PaletteId::coordBar);
}

PaletteId PaletteOfWindowMenuItem(SInt16 item) {
    for (const PaletteRow& row : kPaletteRows)
        if (row.windowMenuItem != 0 && row.windowMenuItem == item) return row.id;
    return PaletteId::count;
}

Boolean DrawPaletteForUpdate(WindowRef window) {
    PaletteId id = PaletteOfWindow(window);
    if (id == PaletteId::count) return false;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(window);
    BeginUpdate(window);
    kPaletteRows[int(id)].draw(OpenDocumentList != nullptr ? FrontDocument() : nullptr);
    DrawControls(window);
    EndUpdate(window);
    SetPort(saved);
    return true;
}

Boolean PaletteContentClick(DocWindowRecord* front, WindowRef window, Point where, UInt16 modifiers) {
    PaletteId id = PaletteOfWindow(window);
    if (id == PaletteId::count) return false;
    SetPortWindowPort(window);
    Point local = where;
    GlobalToLocal(&local);
    kPaletteRows[int(id)].click(OpenDocumentList != nullptr ? front : nullptr, local, modifiers);
    return true;
}

Boolean PaletteGrowClick(WindowRef window, Point where) {
    PaletteId id = PaletteOfWindow(window);
    if (id == PaletteId::count) return false;
    if (kPaletteRows[int(id)].grow != nullptr) kPaletteRows[int(id)].grow(window, where);
    return true;
}

Boolean PaletteCloseClick(WindowRef window, Point where) {
    PaletteId id = PaletteOfWindow(window);
    if (id == PaletteId::count) return false;
    if (TrackGoAway(window, where)) SetPaletteShown(id, false);
    return true;
}

Boolean PaletteZoomClick(DocWindowRecord* front, WindowRef window) {
    PaletteId id = PaletteOfWindow(window);
    if (id == PaletteId::count) return false;
    if (id == PaletteId::tool)
        ShowToolPalette(false, 0, 0, true, true, true, GeneralPrefs.toolPaletteShown != 0);
    else if (id == PaletteId::symbols)
        SymbolPaletteZoom(OpenDocumentList != nullptr ? front : nullptr);
    return true;
}

Boolean PaletteSecondaryClick(DocWindowRecord* front, WindowRef window, Point where) {
    PaletteId id = PaletteOfWindow(window);
    if (id != PaletteId::tool && id != PaletteId::symbols) return false;
    const Str255 empty = {0};
    MenuRef menu = NewMenu(kZoomMenuId, empty);
    Str255 text;
    GetAppString(kZoomMenuText, text);
    AppendMenuItemText(menu, text);
    InsertMenu(menu, hierMenu);
    SInt32 chosen = PopUpMenuSelect(menu, where.v, where.h, 0);
    DeleteMenu(kZoomMenuId);
    DisposeMenu(menu);
    if ((chosen & 0xFFFF) == 1) PaletteZoomClick(front, window);
    return true;
}

void GrowPaletteWindow(WindowRef window, Point where) {
    PaletteId id = PaletteOfWindow(window);
    if (id == PaletteId::count) return;
    const PaletteRow& row = kPaletteRows[int(id)];
    Rect limits{row.minSize.v, row.minSize.h, row.maxSize.v, row.maxSize.h};
    SInt32 size = GrowWindow(window, where, &limits);
    if (size == 0) return;
    SInt16 width = SInt16(size & 0xFFFF), height = SInt16(size >> 16);
    if (row.layout != nullptr)
        row.layout(width, height);
    else
        SizeWindowIfChanged(window, width, height, true);
    InvalidatePalette(id);
}

void ScrollPaletteList(PaletteId id, SInt16 newValue, SInt16 oldValue) {
    PaletteWindow& p = gPaletteWindows[int(id)];
    if (p.window == nullptr) return;
    if (p.list != nullptr) {
        SetPortWindowPort(p.window);
        LScroll(SInt16(newValue - oldValue), 0, p.list);
    }
    InvalidatePalette(id);
}

void InvalidatePalette(PaletteId id) {
    InvalWindowBounds(PaletteWindowRef(id));
}

void RefreshPaletteContents(DocWindowRecord* doc) {
    for (const PaletteRow& row : kPaletteRows)
        if (row.refresh != nullptr && PaletteWindowRef(row.id) != nullptr) row.refresh(doc);
}

void LayoutListPalette(PaletteId id, SInt16 width, SInt16 height) {
    PaletteWindow& p = gPaletteWindows[int(id)];
    if (p.window == nullptr || width <= 0 || height <= 0) return;
    const PaletteRow& row = kPaletteRows[int(id)];
    SizeWindowIfChanged(p.window, width, height, true);
    Rect port;
    WindowPortRect(p.window, &port);
    if (p.scrollBar != nullptr) {
        Rect bar = ListScrollBarRect(port);
        SetControlBounds(p.scrollBar, &bar);
    }
    if (p.list != nullptr) {
        SInt16 listWidth = SInt16(Width(port) - 10), listHeight = SInt16(Height(port) - row.listBottomFree);
        LSize(listWidth, std::max<SInt16>(0, listHeight), p.list);
        Point cell{0, listWidth};
        GetListCellSize(p.list, &cell);
        cell.h = listWidth;
        SetListCellSize(p.list, cell);
        SyncPaletteListScrollBar(id);
    }
    for (int b = 0; b < 3; ++b) {
        if (p.buttons[b] == nullptr) continue;
        Rect r = Placed(SInt16(port.bottom - kButtonsAboveBottom), kButtonLefts[b], kPaletteButtonWidth,
                        kPaletteButtonHeight);
        SetControlBounds(p.buttons[b], &r);
    }
    InvalWindowBounds(p.window);
}

void SyncPaletteListScrollBar(PaletteId id) {
    PaletteWindow& p = gPaletteWindows[int(id)];
    if (p.list == nullptr || p.scrollBar == nullptr) return;
    Rect data, visible;
    GetListDataBounds(p.list, &data);
    GetListVisibleCells(p.list, &visible);
    SInt16 rows = Height(data), shown = Height(visible);
    SInt16 maximum = std::max<SInt16>(0, SInt16(rows - shown));
    SetControlMaximum(p.scrollBar, maximum);
    SetControlValue(p.scrollBar, std::min<SInt16>(visible.top, maximum));
    HiliteControl(p.scrollBar, maximum > 0 ? 0 : kControlInactivePart);
}

void DrawListPalette(PaletteId id) {
    PaletteWindow& p = gPaletteWindows[int(id)];
    if (p.window == nullptr) return;
    SetPortWindowPort(p.window);
    Rect port;
    WindowPortRect(p.window, &port);
    EraseRect(&port);
    if (p.list != nullptr) {
        RgnHandle all = NewRgn();
        RectRgn(all, &port);
        LUpdate(all, p.list);
        DisposeRgn(all);
    }
}

void CoordBarClick(DocWindowRecord* doc, Point local, UInt16 modifiers) {
    if (doc == nullptr) return;
    DrawingRecord* d = doc->drawing;
    if (modifiers & (cmdKey | optionKey)) {
        // The drawing's zero point to the centre, one drawing unit a pixel.
        SetViewScale(d, 1.0);
        SetViewOrigin(d, -d->view.viewWidth / 2.0, -d->view.viewHeight / 2.0);
        UpdateViewExtent(doc, true);
        DeselectViewsList();
        DrawWindowStatusArea(doc);
        return;
    }
    Rect port;
    WindowPortRect(PaletteWindowRef(PaletteId::coordBar), &port);
    if (local.h >= 201) {
        FlashCoordBarStrip(200, port.right);
        StartPendingCommand(doc, kZoomPendingCommand);
        CommandFieldSetNumber(doc, 100.0 / (d->view.unitsPerPixel * 72.0 / 25.4));
    } else if (local.h >= 161) {
        FlashCoordBarStrip(160, 200);
        doc->settings->coordinateDisplayMode = SInt16((doc->settings->coordinateDisplayMode + 1) % 4);
        InvalidatePalette(PaletteId::coordBar);
    } else {
        FlashCoordBarStrip(port.left, 160);
        StartPendingCommand(doc, kOriginPendingCommand);
    }
}
