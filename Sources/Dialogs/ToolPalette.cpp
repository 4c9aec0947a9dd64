// The tool palette: its buttons drawn from the tool icon table, its place and arrangement, and its
// clicks.
#include "Dialogs/ToolPalette.h"

#include "Dialogs/Palettes.h"
#include "Files/Preferences.h"
#include "Other/BundleFiles.h"
#include "Interface/FloatingWindows.h"
#include "Platform/QuickDraw.h"
#include "Shell/MouseDispatch.h"
#include "Tools/ToolTables.h"

#include <utility>

namespace {

constexpr SInt16 kThin = kToolButtonSize;
constexpr RGBColor kTriangleBlue{0, 0, 0xFFFF};

bool IsThin(SInt16 width, SInt16 height) {
    return width == kThin || height == kThin;
}

WindowRef ToolWindow() {
    return PaletteWindowRef(PaletteId::tool);
}

Rect PortOf(WindowRef window) {
    Rect port;
    WindowPortRect(window, &port);
    return port;
}

// The palette's title band (10 pixels above it, inset by 3) lies on no screen.
bool TitleBandOffDesktop(WindowRef window) {
    Rect content;
    GetWindowContentBounds(window, &content);
    Rect band{SInt16(content.top - 7), SInt16(content.left + 3), SInt16(content.top - 3),
              SInt16(content.right - 3)};
    for (GDHandle d = GetDeviceList(); d != nullptr; d = GetNextDevice(d)) {
        Rect screen, common;
        GetDeviceBounds(d, &screen);
        if (SectRect(&band, &screen, &common)) return false;
    }
    return true;
}

void WaitForRelease() {
    while (WaitMouseUp()) {
    }
}

} // namespace

Point ToolPaletteSize() {
    SInt16 width = GeneralPrefs.toolPaletteSingleColumn != 0 ? kThin : SInt16(2 * kThin);
    SInt16 height = SInt16(kToolGroupCount * kThin * kThin / width);
    if (GeneralPrefs.toolPaletteOrientation != 0) std::swap(width, height);
    return Point{height, width};
}

void MarkToolPaletteSideTitle() {
    WindowRef window = ToolWindow();
    if (window == nullptr) return;
    if (PortOf(window).right - PortOf(window).left == kThin)
        ChangeWindowAttributes(window, kWindowSideTitlebarAttribute, 0);
    else
        ChangeWindowAttributes(window, 0, kWindowSideTitlebarAttribute);
}

SInt16 ToolPaletteGroupAt(SInt16 width, SInt16 height, UInt32 orientation, Point local) {
    if (local.h < 0 || local.v < 0 || local.h >= width || local.v >= height) return -1;
    SInt16 c = SInt16(local.h / kToolButtonSize), r = SInt16(local.v / kToolButtonSize);
    SInt16 group;
    if (orientation == 0)
        group = IsThin(width, height) ? r : SInt16(c + 2 * r);
    else
        group = IsThin(width, height) ? c : SInt16(2 * c + (1 - r));
    return group >= 0 && group < kToolGroupCount ? group : SInt16(-1);
}

Point ToolPaletteButtonPlace(SInt16 width, SInt16 height, UInt32 orientation, SInt16 group) {
    SInt16 x, y;
    if (orientation == 0) {
        x = IsThin(width, height) ? 0 : SInt16(kThin * (group % 2));
        y = IsThin(width, height) ? SInt16(kThin * group) : SInt16(kThin * (group / 2));
    } else {
        x = IsThin(width, height) ? SInt16(kThin * group) : SInt16(kThin * (group / 2));
        y = IsThin(width, height) ? 0 : SInt16(kThin * (1 - group % 2));
    }
    return Point{y, x};
}

Point ToolPalettePopupPoint(SInt16 width, SInt16 height, UInt32 orientation, SInt16 group) {
    if (orientation == 0) {
        if (IsThin(width, height)) return Point{SInt16(kThin * group), 33};
        return Point{SInt16(kThin * (group / 2)), SInt16(kThin * (group % 2) + 33)};
    }
    if (IsThin(width, height)) return Point{kThin, SInt16(kThin * group + 1)};
    return Point{SInt16(kThin * (1 - group % 2)), SInt16(kThin * (group / 2) + 33)};
}

SInt16 ToolIconNumber(SInt16 group, SInt16 tool) {
    constexpr SInt16 kFirstToolIcon = 1000;
    if (group < 0 || group >= kToolGroupCount || tool < 0 || tool >= kToolsPerGroup) return 0;
    UInt16 icon = ToolIconTable[group][tool];
    return icon != 0 ? SInt16(icon) : SInt16(kFirstToolIcon + 2 * (group * kToolsPerGroup + tool));
}

void DrawToolGroupButton(SInt16 group) {
    WindowRef window = ToolWindow();
    if (window == nullptr || group < 0 || group >= kToolGroupCount) return;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(window);
    Rect port = PortOf(window);
    Point at = ToolPaletteButtonPlace(SInt16(port.right - port.left), SInt16(port.bottom - port.top),
                                      GeneralPrefs.toolPaletteOrientation, group);
    const bool current = UInt32(group) == GeneralPrefs.currentToolGroup;
    UInt32 tool = GeneralPrefs.lastSubTool[group];
    if (tool >= UInt32(kToolsPerGroup)) tool = 0;
    SInt16 icon = SInt16(ToolIconNumber(group, SInt16(tool)) + (current ? 1 : 0));
    Rect button{at.v, at.h, SInt16(at.v + kThin), SInt16(at.h + kThin)};
    EraseRect(&button);
    DrawToolIcon(window, icon, at.h, at.v, kThin, kThin);
    // The small blue triangle says a pop-up of tools lies behind the button.
    RGBForeColor(&kTriangleBlue);
    const SInt16 lengths[5] = {1, 2, 3, 2, 1};
    const SInt16 shift = current ? 1 : 0;
    for (SInt16 i = 0; i < 5; ++i) {
        SInt16 x = SInt16(at.h + 26 + shift), y = SInt16(at.v + 24 + i + shift);
        MoveTo(x, y);
        LineTo(SInt16(x + lengths[i] - 1), y);
    }
    ForeColor(blackColor);
    SetPort(saved);
}

void DrawToolPalette() {
    WindowRef window = ToolWindow();
    if (window == nullptr) return;
    SetPortWindowPort(window);
    Rect port = PortOf(window);
    EraseRect(&port);
    for (SInt16 g = 0; g < kToolGroupCount; ++g)
        DrawToolGroupButton(g);
}

void ShowToolPalette(Boolean move, SInt16 h, SInt16 v, Boolean flip, Boolean invalidate, Boolean show,
                     Boolean visible) {
    WindowRef window = ToolWindow();
    if (window == nullptr) return;
    if (flip) {
        Rect port = PortOf(window);
        SInt16 oldWidth = SInt16(port.right - port.left), oldHeight = SInt16(port.bottom - port.top);
        SInt16 width = oldHeight, height = oldWidth;
        if (width == kThin)
            GeneralPrefs.toolPaletteOrientation = 0;
        else if (height == kThin)
            GeneralPrefs.toolPaletteOrientation = 1;
        else
            GeneralPrefs.toolPaletteOrientation = GeneralPrefs.toolPaletteOrientation != 0 ? 0 : 1;
        Rect content;
        GetWindowContentBounds(window, &content);
        SizeWindow(window, width, height, true);
        MarkToolPaletteSideTitle();
        // The right edge stays where it was.
        MoveWindow(window, SInt16(content.left + oldWidth - width), content.top, false);
        invalidate = true;
    }
    if (move && PointIsOnDesktop(Point{v, h})) MoveWindow(window, h, v, false);
    if (show) ShowHideWindow(window, visible);
    if (TitleBandOffDesktop(window)) {
        Rect screen;
        GetScreenBounds(&screen);
        MoveWindow(window, SInt16(screen.left + 5), SInt16(screen.top + 50), false);
    }
    if (invalidate) InvalWindowBounds(window);
}

void ToolPaletteClick(DocWindowRecord* doc, Point local) {
    WindowRef window = ToolWindow();
    Rect port = PortOf(window);
    if (window == nullptr || !PtInRect(local, &port)) {
        WaitForRelease();
        return;
    }
    EndPendingOperation(doc);
    SInt16 width = SInt16(port.right - port.left), height = SInt16(port.bottom - port.top);
    UInt32 orientation = GeneralPrefs.toolPaletteOrientation;
    SInt16 group = ToolPaletteGroupAt(width, height, orientation, local);
    if (group < 0) {
        WaitForRelease();
        return;
    }
    if (UInt32(group) != GeneralPrefs.currentToolGroup) {
        SelectToolGroupFromMenu(doc, group);
        // A short click only selects the group; held, it opens the group's tools.
        UInt32 start = TickCount();
        bool held = false;
        while (StillDown()) {
            if (TickCount() - start >= kToolPopupDelayTicks) {
                held = true;
                break;
            }
            UInt32 ignored;
            Delay(1, &ignored);
        }
        if (!held) return;
    }
    ToolPopup(doc, ToolPalettePopupPoint(width, height, orientation, group), false, true);
    WaitForRelease();
}

void DrawToolPaletteForUpdate(DocWindowRecord*) {
    DrawToolPalette();
}

void ToolPaletteContentClick(DocWindowRecord* doc, Point local, UInt16) {
    ToolPaletteClick(doc, local);
}
