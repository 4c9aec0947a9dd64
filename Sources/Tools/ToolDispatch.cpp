// The tool dispatcher: the routing of the pending event, the scroll-bar actions, the handlers of
// the tool groups and the step-table lookup they share.
#include "Tools/ToolDispatch.h"

#include "Platform/Controls.h"
#include "Other/CursorsAndMouse.h"
#include "Tools/CircleTools.h"
#include "Tools/DimensionTools.h"
#include "Model/DocumentRecords.h"
#include "Shell/DocumentWindow.h"
#include "Shell/EventLoop.h"
#include "Tools/LineTools.h"
#include "Tools/TrimTools.h"
#include "Tools/TextTools.h"
#include "Tools/TransformTools.h"
#include "Tools/AttributeTools.h"
#include "Tools/EraseTools.h"
#include "Tools/AreaPicks.h"
#include "Tools/AreaTools.h"
#include "Tools/PointListTools.h"
#include "Tools/EditTools.h"
#include "Platform/MemoryManager.h"
#include "Shell/MenuCommands.h"
#include "Tools/PendingCommands.h"
#include "View/ScrollGrid.h"
#include "Dialogs/ToolDialogServices.h"
#include "Platform/Windows.h"
#include "View/ZoomExtents.h"

#include <algorithm>

namespace {

constexpr Float64 kArrowPixels = 16.0;
constexpr SInt16 kUndoKeyClass = 255;

using GroupHandler = void (*)(DocWindowRecord*);

// The handler of each tool group; groups whose tools are not built yet have none.
const GroupHandler kGroupHandlers[kToolGroupCount] = {
    ToolGroup0Click, ToolGroup1Click, ToolGroup2Click, ToolGroup3Click, ToolGroup4Click,  ToolGroup5Click,
    ToolGroup6Click, ToolGroup7Click, ToolGroup8Click, ToolGroup9Click, ToolGroup10Click, ToolGroup11Click,
};

bool IsOpenDocument(const DocWindowRecord* doc) {
    for (DocWindowRecord* d = OpenDocumentList; d != nullptr; d = d->next)
        if (d == doc) return true;
    return false;
}

// The extents the thumb runs over: the drawing's, widened to the visible part so that a drawing
// smaller than the window still scrolls by its thumb.
void ScrollRange(const DrawingRecord* d, Float64* minX, Float64* minY, Float64* maxX, Float64* maxY) {
    Float64 visibleW = d->view.areaWidth * d->view.unitsPerPixel,
            visibleH = d->view.areaHeight * d->view.unitsPerPixel;
    *minX = d->view.extentsMinX;
    *minY = d->view.extentsMinY;
    *maxX = std::max(d->view.extentsMaxX, d->view.extentsMinX + visibleW);
    *maxY = std::max(d->view.extentsMaxY, d->view.extentsMinY + visibleH);
}

// Steps 9 to 11: a confirmed value or a click in the drawing runs the step of the pending command
// or of the current tool; then the button is waited for, so one press is never taken for two.
void RunStep(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    bool run = f != nullptr && f->valueCount != 0;
    if (!run && MenuCommandGlobals.kind == kPendingClick)
        run = MouseToWorld(doc, MenuCommandGlobals.code, MenuCommandGlobals.param);
    if (run) {
        if (PendingCommandActive(doc)) {
            RunPendingCommand(doc);
        } else {
            SInt16 group = CurrentToolGroup();
            if (ToolGroupBuilt(group)) kGroupHandlers[group](doc);
        }
    }
    WaitButtonState(false);
}

} // namespace

const ToolStepRow* FindStepRow(ToolStepTable rows, SInt16 tool, SInt16 step) {
    for (const ToolStepRow& row : rows)
        if (row.tool == tool && row.step == step) return &row;
    return nullptr;
}

void RunToolStep(DocWindowRecord* doc, ToolStepTable rows, SInt16 tool) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    const ToolStepRow* row = FindStepRow(rows, tool, doc->drawing->toolInput.pendingStep);
    if (row == nullptr || row->run == nullptr) return;
    ToolStep s{doc, doc->drawing, ToolStateOf(doc), TypedValueCount(doc)};
    if (s.t == nullptr) return;
    row->run(s);
}

Boolean MouseToWorld(DocWindowRecord* doc, SInt16 mouseX, SInt16 mouseY) {
    WorldPickPoint p = PixelToWorld(doc, mouseX, mouseY);
    ToolInputState& input = doc->drawing->toolInput;
    input.cursorX = p.x;
    input.cursorY = p.y;
    input.pickMinX = p.minX;
    input.pickMaxX = p.maxX;
    input.pickMinY = p.minY;
    input.pickMaxY = p.maxY;
    return true;
}

Boolean ToolGroupBuilt(SInt16 group) {
    return group >= 0 && group < kToolGroupCount && kGroupHandlers[group] != nullptr;
}

void ToolMouseDown(DocWindowRecord* doc, const EventRecord* event) {
    if (OpenDocumentList != nullptr && doc != nullptr && doc->window != nullptr)
        SetPortWindowPort(doc->window);
    if (MenuCommandGlobals.kind == kPendingMenu) {
        DoMenuCommand(doc);
        // The command may have closed the document.
        if (doc != nullptr && !IsOpenDocument(doc)) return;
    }
    if (OpenDocumentList == nullptr || doc == nullptr) return;

    if (MenuCommandGlobals.kind == kPendingVerticalScroll) {
        TrackScroll(doc, ScrollAxis::vertical);
        ApplyZoom(doc);
    }
    if (MenuCommandGlobals.kind == kPendingHorizontalScroll) {
        TrackScroll(doc, ScrollAxis::horizontal);
        ApplyZoom(doc);
    }
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f != nullptr) f->valueCount = 0;

    switch (MenuCommandGlobals.kind) {
    case kPendingKey: {
        SInt16 keyClass = MenuCommandGlobals.param;
        if (InfoPaletteVisible() && keyClass != kUndoKeyClass && !PendingCommandActive(doc)) {
            InfoPaletteKeyDown(doc, char(MenuCommandGlobals.code & 0xFF));
        } else {
            CommandFieldKey(doc, MenuCommandGlobals.code, keyClass, event);
            if (keyClass == kUndoKeyClass) ResetToolState(doc, 0);
        }
        break;
    }
    case kPendingStripClick:
        CommandFieldClick(doc, event);
        break;
    case kPendingStatusAction:
        if (MenuCommandGlobals.param == 2) StartPendingCommand(doc, kCurrentLayerCommand);
        if (MenuCommandGlobals.param == 3) StartPendingCommand(doc, kCurrentKeyCommand);
        break;
    default:
        break;
    }
    RunStep(doc);
}

void ToolConfirmInput(DocWindowRecord* doc) {
    if (doc == nullptr || !IsOpenDocument(doc)) return;
    RunStep(doc);
}

void TrackScroll(DocWindowRecord* doc, ScrollAxis axis) {
    DrawingRecord* d = doc->drawing;
    const bool vertical = axis == ScrollAxis::vertical;
    const Float64 s = d->view.unitsPerPixel;
    const Float64 page = (vertical ? d->view.viewHeight : d->view.viewWidth) * s;
    Float64& origin = vertical ? d->view.originY : d->view.originX;
    // The down and right parts show what lies further on: y falls while x rises.
    const Float64 onward = vertical ? -1.0 : 1.0;
    switch (MenuCommandGlobals.code) {
    case kControlUpButtonPart:
        origin -= onward * kArrowPixels * s;
        break;
    case kControlDownButtonPart:
        origin += onward * kArrowPixels * s;
        break;
    case kControlPageUpPart:
        origin -= onward * page;
        break;
    case kControlPageDownPart:
        origin += onward * page;
        break;
    case kControlIndicatorPart: {
        Float64 minX, minY, maxX, maxY;
        ScrollRange(d, &minX, &minY, &maxX, &maxY);
        const Float64 low = vertical ? minY : minX, high = vertical ? maxY : maxX;
        // The thumb runs down while y runs up.
        const int thumb = vertical ? kScrollMaximum - MenuCommandGlobals.param : MenuCommandGlobals.param;
        origin = low + thumb * (high - low - page) / Float64(kScrollMaximum);
        break;
    }
    default:
        break;
    }
}
