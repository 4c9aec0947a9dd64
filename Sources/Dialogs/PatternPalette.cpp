// The pattern palette: cells drawn from the system pattern list, a click makes a cell's pattern the
// current one (or names it to the area tool), the scroll bar moves by whole rows.
#include "Dialogs/PatternPalette.h"

#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"
#include "Model/DocumentHooks.h"
#include "Interface/DialogLists.h"
#include "Interface/FloatingWindows.h"
#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/Controls.h"
#include "Platform/QuickDraw.h"
#include "Tools/AttributeTools.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"

#include <algorithm>

namespace {

constexpr SInt16 kSystemPatterns = 0;
constexpr SInt16 kPatternNames = 132;
constexpr SInt16 kPenModeMessage = 54;
constexpr SInt16 kScrollStrip = 14;
constexpr SInt16 kCellAreaRightMargin = 11;
constexpr SInt16 kMinGrowWidth = 40, kMinGrowHeight = 70, kMaxGrow = 32000;

SInt16 gFirstVisible = 0;
WindowRef gWindowShown = nullptr;

// A palette made anew starts at the first pattern.
WindowRef Window() {
    WindowRef window = PaletteWindowRef(PaletteId::patterns);
    if (window != gWindowShown) {
        gWindowShown = window;
        gFirstVisible = 0;
    }
    return window;
}

ControlRef Bar() {
    return PaletteOf(PaletteId::patterns).scrollBar;
}

Rect Port() {
    Rect port{};
    if (WindowRef w = Window()) WindowPortRect(w, &port);
    return port;
}

SInt16 RowsNeeded(SInt16 columns) {
    return SInt16((kPatternCount + columns - 1) / columns);
}

void SetFirstVisible(SInt16 first) {
    gFirstVisible = std::clamp<SInt16>(first, 0, kPatternCount - 1);
}

// Arrows and pages move one row and redraw at once, while the button is held.
void ScrollAction(ControlRef bar, ControlPartCode part) {
    const SInt16 columns = PatternColumns(SInt16(Port().right - Port().left));
    SInt16 value = GetControlValue(bar);
    if (part == kControlUpButtonPart || part == kControlPageUpPart)
        value = SInt16(value - 1);
    else if (part == kControlDownButtonPart || part == kControlPageDownPart)
        value = SInt16(value + 1);
    else
        return;
    value = std::clamp<SInt16>(value, 0, GetControlMaximum(bar));
    if (value == GetControlValue(bar)) return;
    SetControlValue(bar, value);
    SetFirstVisible(SInt16(value * columns));
    DrawPatternPalette(gDocumentHooks.frontDocument(), false);
}

} // namespace

SInt16 PatternColumns(SInt16 width) {
    const SInt16 c = SInt16((width - 10) / kPatternCell);
    return c < 1 ? SInt16(1) : c;
}

SInt16 PatternAtPoint(Point local, SInt16 firstVisible, SInt16 columns) {
    if (columns < 1) columns = 1;
    const SInt32 p =
        (SInt32(local.v / kPatternCell) + firstVisible / columns) * columns + local.h / kPatternCell;
    return SInt16(std::clamp<SInt32>(p, 0, kPatternCount - 1));
}

void PatternGrowSize(SInt16 width, SInt16 height, SInt16* newWidth, SInt16* newHeight) {
    *newWidth = std::max<SInt16>(38, SInt16(kPatternCell * ((width - 9) / kPatternCell) + 10));
    *newHeight = std::max<SInt16>(69, SInt16(kPatternCell * ((height + 7) / kPatternCell) - 1));
}

Boolean PatternScrollBarEnabled(SInt16 width, SInt16 height) {
    SInt16 columns = SInt16((width - 14) / kPatternCell);
    if (columns < 1) columns = 1;
    return RowsNeeded(columns) > height / kPatternCell;
}

SInt16 FirstVisiblePattern() {
    Window();
    return gFirstVisible;
}

void DrawPatternCell(SInt16 column, SInt16 row, SInt16 pattern, Boolean current) {
    Rect r{-1, -1, kPatternCell, kPatternCell};
    OffsetRect(&r, SInt16(kPatternCell * column), SInt16(kPatternCell * row));
    FrameRect(&r);
    InsetRect(&r, 1, 1);
    EraseRect(&r);
    if (current) FrameRect(&r);
    InsetRect(&r, 1, 1);
    Pattern pat;
    if (pattern >= 0 && pattern < kPatternCount && GetIndPattern(&pat, kSystemPatterns, SInt16(pattern + 1)))
        FillRect(&r, &pat);
    PenNormal();
}

void DrawPatternPalette(DocWindowRecord* doc, Boolean update) {
    WindowRef window = Window();
    if (window == nullptr) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    const Rect port = Port();
    const SInt16 width = SInt16(port.right - port.left), height = SInt16(port.bottom - port.top);
    Rect cells{port.top, port.left, port.bottom, SInt16(port.right - kScrollStrip)};
    EraseRect(&cells);
    if (update) {
        UpdatePatternScrollBar();
        HilitePatternScrollBar();
        DrawControls(window);
    }
    const SInt16 columns = PatternColumns(width);
    const SInt16 rows = SInt16((height + 1) / kPatternCell);
    const bool open = doc != nullptr && OpenDocumentList != nullptr;
    for (SInt16 row = 0; row < rows; ++row)
        for (SInt16 column = 0; column < columns; ++column) {
            const SInt16 pattern = SInt16(gFirstVisible + row * columns + column);
            const bool current = open && pattern == SInt16(doc->settings->currentPattern);
            DrawPatternCell(column, row, pattern < kPatternCount ? pattern : SInt16(-1), current);
        }
    SetPort(saved);
}

void UpdatePatternScrollBar() {
    ControlRef bar = Bar();
    if (bar == nullptr) return;
    const Rect port = Port();
    const SInt16 columns = PatternColumns(SInt16(port.right - port.left));
    const SInt16 needed = RowsNeeded(columns), visible = SInt16((port.bottom - port.top) / kPatternCell);
    if (needed <= visible) return;
    const SInt16 maximum = SInt16(needed - visible), value = SInt16(gFirstVisible / columns);
    if (GetControlMaximum(bar) != maximum) SetControlMaximum(bar, maximum);
    if (GetControlValue(bar) != value) SetControlValue(bar, value);
}

void HilitePatternScrollBar() {
    ControlRef bar = Bar();
    if (bar == nullptr) return;
    const Rect port = Port();
    const bool on = PatternScrollBarEnabled(SInt16(port.right - port.left), SInt16(port.bottom - port.top));
    HiliteControl(bar, on ? kControlNoPart : kControlInactivePart);
}

void UpdatePatternPalette(DocWindowRecord* doc) {
    DrawPatternPalette(doc, true);
}

void SizePatternPalette(SInt16 width, SInt16 height) {
    WindowRef window = Window();
    if (window == nullptr || width <= 0 || height <= 0) return;
    SizeWindowIfChanged(window, width, height, true);
    if (ControlRef bar = Bar()) {
        Rect port = Port();
        Rect r = ListScrollBarRect(port);
        SetControlBounds(bar, &r);
        SetControlValue(bar, 0);
    }
    gFirstVisible = 0;
    UpdatePatternScrollBar();
    HilitePatternScrollBar();
    InvalidatePalette(PaletteId::patterns);
}

void GrowPatternPalette(WindowRef window, Point where) {
    Rect limits{kMinGrowHeight, kMinGrowWidth, kMaxGrow, kMaxGrow};
    SInt32 size = GrowWindow(window, where, &limits);
    if (size == 0) return;
    SInt16 width = 0, height = 0;
    PatternGrowSize(SInt16(size & 0xFFFF), SInt16(size >> 16), &width, &height);
    const Rect port = Port();
    if (width == port.right - port.left && height == port.bottom - port.top) return;
    SizePatternPalette(width, height);
}

void PatternPaletteWheel(SInt16 newValue, SInt16) {
    const Rect port = Port();
    SetFirstVisible(SInt16(newValue * PatternColumns(SInt16(port.right - port.left))));
    DrawPatternPalette(gDocumentHooks.frontDocument(), false);
}

void PatternPaletteClick(DocWindowRecord* doc, Point local, UInt16) {
    WindowRef window = Window();
    if (window == nullptr) return;
    SetPortWindowPort(window);
    const Rect port = Port();
    const SInt16 width = SInt16(port.right - port.left);
    ControlRef control = nullptr;
    const ControlPartCode part = FindControl(local, window, &control);
    if (control != nullptr && control == Bar()) {
        if (part == kControlIndicatorPart) {
            if (TrackControl(control, local, nullptr) != 0) {
                SetFirstVisible(SInt16(GetControlValue(control) * PatternColumns(width)));
                DrawPatternPalette(doc, false);
            }
        } else if (part != kControlNoPart) {
            TrackControl(control, local, ScrollAction);
        }
        return;
    }
    if (local.h >= width - kCellAreaRightMargin || doc == nullptr || OpenDocumentList == nullptr) return;
    const SInt16 columns = PatternColumns(width);
    const SInt16 pattern = PatternAtPoint(local, gFirstVisible, columns);
    DocSettings* s = doc->settings;
    if (CurrentToolGroup() == 9 && CurrentTool() == 3 && doc->drawing->toolInput.pendingCommand == 0 &&
        doc->drawing->toolInput.pendingStep == 2) {
        Str255 name;
        GetIndString(name, kPatternNames, SInt16(pattern + 1));
        CommandFieldPutString(doc, name);
    }
    const bool attributeStep = CurrentToolGroup() == 7 && CurrentTool() == 6 &&
                               doc->drawing->toolInput.pendingCommand == 0 &&
                               doc->drawing->toolInput.pendingStep == 0;
    if (!attributeStep && pattern == SInt16(s->currentPattern)) return;
    const SInt16 old = SInt16(s->currentPattern);
    s->currentPattern = UInt16(pattern);
    const SInt16 row0 = SInt16(gFirstVisible / columns);
    auto redraw = [&](SInt16 p, bool current) {
        const SInt16 row = SInt16(p / columns - row0), column = SInt16(p % columns);
        if (row >= 0 && row < (port.bottom - port.top + 1) / kPatternCell)
            DrawPatternCell(column, row, p, current);
    };
    redraw(old, false);
    redraw(pattern, true);
    if (attributeStep) {
        OfferAttributeValue(doc, 6, pattern, nullptr);
        if (s->penMode == 1) ShowErrorAlert(kPenModeMessage, reinterpret_cast<const UInt8*>("\x00"));
    }
}
