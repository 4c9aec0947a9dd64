// STAND-IN until the tool dispatcher, the tools and the command field exist: the pending event
// reaches the menu-command dispatcher and the scroll-bar actions; clicks, keys and strip clicks in the
// drawing do nothing yet; there is no command field. Replaced whole by the tool dispatcher.
#include "ToolDispatch.h"

#include "DocumentRecords.h"
#include "EventLoop.h"
#include "MathPrimitives.h"
#include "MenuCommands.h"
#include "ZoomExtents.h"

#include <algorithm>

namespace {
constexpr SInt16 kHighestToolIndex[kToolGroupCount] = {11, 6, 6, 7, 11, 4, 6, 9, 2, 4, 9, 7};
constexpr Float64 kArrowPixels = 16.0;

// The extents the thumb runs over: the drawing's, widened to the visible part so that a drawing
// smaller than the window still scrolls by its thumb.
void ScrollRange(const DrawingRecord* d, Float64* minX, Float64* minY, Float64* maxX, Float64* maxY) {
    Float64 visibleW = d->areaWidth * d->unitsPerPixel, visibleH = d->areaHeight * d->unitsPerPixel;
    *minX = d->extentsMinX;
    *minY = d->extentsMinY;
    *maxX = std::max(d->extentsMaxX, d->extentsMinX + visibleW);
    *maxY = std::max(d->extentsMaxY, d->extentsMinY + visibleH);
}
} // namespace

void ToolMouseDown(DocWindowRecord* doc, const EventRecord*) {
    if (MenuCommandGlobals.kind == kPendingMenu) DoMenuCommand(doc);
    if (OpenDocumentList == nullptr || doc == nullptr) return;
    if (MenuCommandGlobals.kind == kPendingVerticalScroll) {
        TrackVerticalScroll(doc);
        ApplyZoom(doc);
    }
    if (MenuCommandGlobals.kind == kPendingHorizontalScroll) {
        TrackHorizontalScroll(doc);
        ApplyZoom(doc);
    }
}

void TrackVerticalScroll(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    Float64 s = d->unitsPerPixel;
    switch (MenuCommandGlobals.code) {
    case 20:
        d->originY += kArrowPixels * s;
        break;
    case 21:
        d->originY -= kArrowPixels * s;
        break;
    case 22:
        d->originY += d->viewHeight * s;
        break;
    case 23:
        d->originY -= d->viewHeight * s;
        break;
    case 129: {
        Float64 minX, minY, maxX, maxY;
        ScrollRange(d, &minX, &minY, &maxX, &maxY);
        d->originY = minY + (1000 - MenuCommandGlobals.param) * (maxY - minY - d->viewHeight * s) / 1000.0;
        break;
    }
    default:
        break;
    }
}

void TrackHorizontalScroll(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    Float64 s = d->unitsPerPixel;
    switch (MenuCommandGlobals.code) {
    case 20:
        d->originX -= kArrowPixels * s;
        break;
    case 21:
        d->originX += kArrowPixels * s;
        break;
    case 22:
        d->originX -= d->viewWidth * s;
        break;
    case 23:
        d->originX += d->viewWidth * s;
        break;
    case 129: {
        Float64 minX, minY, maxX, maxY;
        ScrollRange(d, &minX, &minY, &maxX, &maxY);
        d->originX = minX + MenuCommandGlobals.param * (maxX - minX - d->viewWidth * s) / 1000.0;
        break;
    }
    default:
        break;
    }
}

void InitToolTable() {}

SInt16 ToolGroupHighestIndex(SInt16 group) {
    return group >= 0 && group < kToolGroupCount ? kHighestToolIndex[group] : -1;
}

void ResetToolState(DocWindowRecord* doc, Boolean) {
    if (doc != nullptr) doc->drawing->pendingStep = 0;
}

void CancelPendingCommand(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    doc->drawing->pendingCommand = 0;
    ResetToolState(doc, false);
}

void EndPendingCommand(DocWindowRecord* doc) {
    CancelPendingCommand(doc);
}

void DeselectAll(DocWindowRecord*, Boolean) {}
void ResetPickFilter(DocWindowRecord* doc) {
    if (doc != nullptr) doc->drawing->pickFilter = 0;
}
Boolean SnapModeSuspended(DocWindowRecord*) {
    return false;
}
void RestoreSnapMode(DocWindowRecord*) {}
void RemoveLastPick(DocWindowRecord*) {}
void ShowToolPrompt(DocWindowRecord*) {}
void ToggleGridDisplay(DocWindowRecord* doc) {
    doc->settings->gridVisible = !doc->settings->gridVisible;
    RequestRedraw(doc);
}
void SetPortTypingFont(DocWindowRecord*) {}
void ResetPortFont(DocWindowRecord*) {}

SInt16 CommandFieldInputKind(DocWindowRecord*) {
    return 0;
}
UInt16 CommandFieldPromptCursor(DocWindowRecord*) {
    return 0xFFFF;
}
Boolean CommandFieldExpectsPoint(DocWindowRecord*) {
    return false;
}
SInt16 CommandFieldHistoryCount(DocWindowRecord*) {
    return 0;
}
void CommandFieldPrompt(DocWindowRecord*, Str255 prompt) {
    prompt[0] = 0;
}
void DrawCommandFieldText(DocWindowRecord*, const Rect*) {}
Boolean CommandFieldHasSelection(DocWindowRecord*) {
    return false;
}
Boolean CommandFieldHasText(DocWindowRecord*) {
    return false;
}
void CommandFieldGetText(DocWindowRecord*, Str255 text) {
    text[0] = 0;
}
void CommandFieldSetText(DocWindowRecord*, ConstStr255Param) {}
