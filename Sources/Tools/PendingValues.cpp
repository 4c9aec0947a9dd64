// Values and settings: the pending commands that take their input in the drawing. The whole drawing
// scaled to a measured line, the pen width, the drawing scale, the zoom, the custom colour, the
// resolution of the raster images from a measured length, and placing pictures and drawings.
#include "Tools/PendingValues.h"

#include "Dialogs/PolylineVertexDialog.h"
#include "Files/NativeDocument.h"
#include "Files/NativeFile.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/PictureFiles.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/Selection.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Model/DrawingUnits.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"
#include "Platform/AppResources.h"
#include "Platform/Clipboard.h"
#include "Platform/MemoryManager.h"
#include "Interface/MenuItemsById.h"
#include "Tools/StatusArea.h"
#include "Tools/CommandField.h"
#include "Tools/PendingCommands.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr SInt16 kScaleDrawingCommand = 145;
constexpr SInt16 kPastePictureCommand = 149;
constexpr SInt16 kPenWidthCommand = 150;
constexpr SInt16 kDrawingScaleCommand = 158;
constexpr SInt16 kZoomCommand = 160;
constexpr SInt16 kCustomColourCommand = 163;
constexpr SInt16 kPlaceFileCommand = 170;
constexpr SInt16 kImageScaleCommand = 186;

// Messages of "STR#" 128.
constexpr SInt16 kPlaceFilePrompt = 16;
constexpr SInt16 kScaleTooSmallMessage = 148;
constexpr SInt16 kSamePointsMessage = 182;
constexpr SInt16 kLengthNotPositiveMessage = 191;
constexpr SInt16 kPenWidthRangeMessage = 192;
constexpr SInt16 kZoomNotPositiveMessage = 193;
constexpr SInt16 kNoImagesMessage = 194;
constexpr SInt16 kValuesNotPositiveMessage = 195;
// "STR#" 5000.
constexpr SInt16 kZoomLabel = 136;

constexpr Float64 kSmallestScale = 1e-7;
constexpr SInt16 kAllKindsMask = 127;
constexpr Float64 kPictureSizeFactor = 0.35;
constexpr Float64 kDefaultResolution = 72.0;

// Dialog 207: the measured length (item 5) and the divisor (item 6).
constexpr SInt16 kMeasuredLengthDialog = 207;
constexpr int kMeasuredLengthPositionSlot = 47;
constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kMeasuredItem = 5, kDivisorItem = 6;

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

bool SnapToRef(ToolStep& s, int n) {
    if (!SnapCursor(s.doc)) return false;
    SetRefPointFromCursor(s.doc, n);
    return true;
}

// A value refused: its message, and the field's text selected, so that typing replaces it.
void Refuse(ToolStep& s, SInt16 message) {
    ShowErrorStr128(message);
    CommandFieldSelectAll(s.doc);
}

// The first typed value; false when it is not a usable number.
bool TypedValue(ToolStep& s, Float64* value) {
    if (s.typed <= 0) return false;
    Float64 v = 0;
    GetNumericEntry(s.doc, 0, &v);
    if (!std::isfinite(v)) return false;
    *value = v;
    return true;
}

// 145: the line whose length the drawing takes.
void ScaleLinePick(ToolStep& s) {
    if (s.typed != 0 || !PickLine(s.doc, kPickFind, false, false, nullptr)) return;
    LineRecord* line = s.d->cursors.lineCursor;
    if (line == nullptr) return;
    if (line->x1 == line->x2 && line->y1 == line->y2) {
        ShowErrorStr128(kSamePointsMessage);
        return;
    }
    DeselectAll(s.doc, false);
    SetSelectedFlag(s.d, &line->selected, 1);
    RequestRedraw(s.doc);
    Next(s, 1);
    s.t->firstLine = line;
}

// The line's length as it was typed when drawn: divided by its scale value.
Float64 DrawnLength(const LineRecord* line) {
    Float64 length = std::hypot(line->x2 - line->x1, line->y2 - line->y1);
    Float64 scale = line->scaleFactor;
    return std::isfinite(scale) && scale > 0 ? length / scale : length;
}

void ScaleLineLength(ToolStep& s) {
    Float64 t = 0;
    if (!TypedValue(s, &t)) return;
    if (!(t > 0)) {
        Refuse(s, kLengthNotPositiveMessage);
        return;
    }
    LineRecord* line = s.t->firstLine;
    if (line == nullptr) {
        Next(s, 0);
        return;
    }
    const Float64 k = DrawnLength(line);
    DocWindowRecord* doc = s.doc;
    EndPendingCommand(doc);
    DeselectAll(doc, false);
    if (std::fabs(t - k) <= 1e-12 * k) {
        RequestRedraw(doc);
        return;
    }
    ScaleWholeDrawing(doc, t / k);
}

// 149: the point, then the size of the picture.
void PicturePoint(ToolStep& s) {
    if (!SnapToRef(s, 4)) return;
    Next(s, 1);
    Float64 width = 100, height = 100;
    Handle picture = NewHandle(0);
    if (picture != nullptr && PrvGetScrap(picture, kScrapFlavorPicture) == noErr &&
        GetHandleSize(picture) >= 10) {
        Rect frame{};
        GetPICTFrame(picture, &frame);
        width = (frame.right - frame.left) * kPictureSizeFactor;
        height = (frame.bottom - frame.top) * kPictureSizeFactor;
    }
    DisposeHandle(picture);
    CommandFieldSetPair(s.doc, width, height);
}

void PictureSize(ToolStep& s) {
    if (s.typed < 2) return;
    Float64 width = 0, height = 0;
    GetNumericEntry(s.doc, 0, &width);
    GetNumericEntry(s.doc, 1, &height);
    if (!(width > 0 && height > 0 && std::isfinite(width) && std::isfinite(height))) {
        Refuse(s, kValuesNotPositiveMessage);
        return;
    }
    DocWindowRecord* doc = s.doc;
    const ToolPoint at = RefPoint(doc, 4);
    const Float64 factor = DefaultScaleFactor(doc); // typed lengths into millimetres
    EndPendingCommand(doc);
    PastePicture(doc, at.x, at.y, at.x + width * factor, at.y + height * factor);
}

// 150: the width of new elements.
void PenWidth(ToolStep& s) {
    if (s.typed == 0) return;
    Float64 w = 0;
    if (s.typed > 0 && TypedValue(s, &w)) {
        if (w >= 0.01 && w < 99.99) {
            DocSettings* settings = s.doc->settings;
            settings->currentPenWidth100 = SInt16(std::lround(w * 100.0));
            NearestPenWidth(s.doc, settings->currentPenWidth100);
            DrawWindowStatusArea(s.doc);
        } else {
            ShowErrorStr128(kPenWidthRangeMessage);
        }
    }
    EndPendingCommand(s.doc);
}

// 158: the drawing scale, typed or from the element under the cursor.
void DrawingScale(ToolStep& s) {
    DocWindowRecord* doc = s.doc;
    Float64 scale = 0;
    if (s.typed == 0) {
        if (!PickUpElementAttributes(doc, kAllKindsMask)) return;
        scale = s.t->picked.scale / UnitToMillimetres(doc);
    } else if (!TypedValue(s, &scale)) {
        return;
    }
    if (!(scale >= kSmallestScale) || !std::isfinite(scale)) {
        Refuse(s, kScaleTooSmallMessage);
        return;
    }
    if (s.typed > 0) SetTypedDrawingScale(doc, scale);
    doc->settings->drawingScale = scale;
    MarkDocumentChanged(doc);
    DrawWindowStatusArea(doc);
    EndPendingCommand(doc);
}

// 160: the zoom percentage.
void ZoomPercentStep(ToolStep& s) {
    if (s.typed == 0) return;
    Float64 p = 0;
    if (!TypedValue(s, &p)) {
        if (s.typed < 0) EndPendingCommand(s.doc);
        return;
    }
    if (!(p > 0)) {
        Refuse(s, kZoomNotPositiveMessage);
        return;
    }
    DocWindowRecord* doc = s.doc;
    Float64 unitsPerPixel = 100.0 / p;
    Str255 label;
    GetAppString(kZoomLabel, label);
    WriteInfoReal(label, p, 1);
    SetViewScale(doc->drawing, unitsPerPixel * 25.4 / 72.0);
    ApplyZoom(doc);
    DrawWindowStatusArea(doc);
    EndPendingCommand(doc);
}

// 163: the custom colour, three components of 0 to 255.
void CustomColour(ToolStep& s) {
    if (s.typed != 3) {
        if (s.typed > 0) CommandFieldSelectAll(s.doc);
        return;
    }
    SInt16 c[3] = {0, 0, 0};
    for (SInt16 i = 0; i < 3; ++i) {
        Float64 v = 0;
        GetNumericEntry(s.doc, i, &v);
        if (!std::isfinite(v)) return;
        c[i] = SInt16(std::clamp(std::lround(v), 0L, 255L));
    }
    DocSettings* settings = s.doc->settings;
    settings->currentColor = RGBColor{UInt16(c[0] * 257), UInt16(c[1] * 257), UInt16(c[2] * 257)};
    settings->currentColorIndex = kCustomColourIndex;
    EndPendingCommand(s.doc);
}

// 170: a drawing or a picture file placed at the point.
void PlaceFile(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    DocWindowRecord* doc = s.doc;
    const Float64 x = s.d->toolInput.cursorX, y = s.d->toolInput.cursorY;
    EndPendingCommand(doc);
    Str255 prompt;
    GetStr128(kPlaceFilePrompt, prompt);
    const OSType types[4] = {kOldNativeFileType, kNativeFileType, kPictureFileType, kPictureFileType};
    FSRef file;
    OSType type = 0;
    if (!OpenPanelWithOptions(prompt, types, &file, &type, false)) return;
    if (type == kPictureFileType)
        PlacePictureFile(doc, &file, false, x, y);
    else
        PlaceDrawingFile(doc, &file, x, y);
}

// 186: two points of a length in an image.
bool HasImages(DocWindowRecord* doc) {
    if (doc->imageCount > 0) return true;
    ShowErrorStr128(kNoImagesMessage);
    EndPendingCommand(doc);
    return false;
}

void ImageLengthStart(ToolStep& s) {
    if (!HasImages(s.doc) || !SnapToRef(s, 4)) return;
    Next(s, 1);
}

void ImageLengthEnd(ToolStep& s) {
    DocWindowRecord* doc = s.doc;
    if (!HasImages(doc) || !SnapToRef(s, 5)) return;
    const ToolPoint a = RefPoint(doc, 4), b = RefPoint(doc, 5);
    if (a.x == b.x && a.y == b.y) {
        ShowErrorStr128(kSamePointsMessage);
        return;
    }
    Float64 resolution = doc->images[0].resolution;
    if (!(std::isfinite(resolution) && resolution > 0)) resolution = kDefaultResolution;
    EndPendingCommand(doc);
    if (!ScaleFromMeasuredLength(doc, a.x, a.y, b.x, b.y, &resolution)) return;
    for (SInt16 i = 0; i < doc->imageCount && i < kMaxImages; ++i)
        doc->images[i].resolution = resolution;
    MarkDocumentChanged(doc);
    RedrawWindow(doc);
}

template <typename T> long ListLength(const T* head) {
    long n = 0;
    for (const T* e = head->next; e != nullptr; e = e->next)
        ++n;
    return n;
}

// The first `count` elements of the list, which a read put in front, recorded as added.
template <typename T> void RecordLeading(DocWindowRecord* doc, T* head, long count) {
    for (T* e = head->next; e != nullptr && count > 0; e = e->next, --count)
        RecordUndoElement(doc, e, true);
}

const ToolStepRow kRows[] = {
    {kScaleDrawingCommand, 0, "line of known length", StepInput::pick, ScaleLinePick},
    {kScaleDrawingCommand, 1, "its true length", StepInput::values, ScaleLineLength},
    {kPastePictureCommand, 0, "where the picture goes", StepInput::point, PicturePoint},
    {kPastePictureCommand, 1, "picture size", StepInput::values, PictureSize},
    {kPenWidthCommand, 0, "pen width", StepInput::values, PenWidth},
    {kDrawingScaleCommand, 0, "drawing scale typed or picked", StepInput::values, DrawingScale},
    {kZoomCommand, 0, "zoom percentage", StepInput::values, ZoomPercentStep},
    {kCustomColourCommand, 0, "red, green, blue", StepInput::integer, CustomColour},
    {kPlaceFileCommand, 0, "where the file goes", StepInput::point, PlaceFile},
    {kImageScaleCommand, 0, "first end of the length", StepInput::point, ImageLengthStart},
    {kImageScaleCommand, 1, "second end of the length", StepInput::point, ImageLengthEnd},
};

const PendingMenuRow kMenuRows[] = {
    {kOutputAreasMenu, 11, kScaleDrawingCommand, nullptr},
    {kEditMenu, 23, kImageScaleCommand, nullptr},
    {kFileMenu, 4, kPlaceFileCommand, nullptr},
};

} // namespace

constinit const ToolStepTable kPendingValueSteps{kRows};
constinit const PendingMenuRows kPendingValueMenuRows{kMenuRows};

void ScaleWholeDrawing(DocWindowRecord* doc, Float64 factor) {
    TransformState* st = TransformStateOf(doc);
    if (st == nullptr || !std::isfinite(factor) || !(factor > 0)) return;
    st->kind = kTransformScale;
    st->refX = st->refY = 0;
    st->secondFactor = factor;
    DeselectAll(doc, false);
    SelectEveryElement(doc);
    BeginUndoStep(doc);
    TransformAllElements(doc, 0);
    EndUndoStep(doc);
    DeselectAll(doc, false);
    RedrawWindow(doc);
}

Float64 TypedDrawingScale(const DocWindowRecord* doc) {
    return doc->settings->reals978[kTypedScaleSlot];
}

void SetTypedDrawingScale(DocWindowRecord* doc, Float64 scale) {
    doc->settings->reals978[kTypedScaleSlot] = scale;
}

Boolean ScaleFromMeasuredLength(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                Float64* value) {
    const Float64 d = std::hypot(x2 - x1, y2 - y1);
    if (!(d > 0) || !std::isfinite(d) || !(std::isfinite(*value) && *value > 0)) return false;
    DialogRef dialog =
        OpenModalDialog(kMeasuredLengthDialog, DialogPositionTable[kMeasuredLengthPositionSlot]);
    if (dialog == nullptr) return false;
    Str255 text;
    FormatReal(d, 3, text);
    SetItemText(dialog, kMeasuredItem, text);
    FormatReal(1.0, 1, text);
    SetItemText(dialog, kDivisorItem, text);
    SelectItemText(dialog, kMeasuredItem);
    bool ok = false;
    Float64 result = 0;
    for (;;) {
        SInt16 item = 0;
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) break;
        if (item != kOK) continue;
        Float64 length = 0, divisor = 0;
        if (!ReadNumberField(dialog, kMeasuredItem, &length) ||
            !ReadNumberField(dialog, kDivisorItem, &divisor))
            continue;
        SInt16 bad = !(length > 0) ? kMeasuredItem : !(divisor > 0) ? kDivisorItem : 0;
        result = bad == 0 ? (d / length) * *value / divisor : 0;
        if (bad == 0 && !(std::isfinite(result) && result > 0)) bad = kMeasuredItem;
        if (bad != 0) {
            ShowErrorStr128(kValuesNotPositiveMessage);
            SelectItemText(dialog, bad);
            continue;
        }
        ok = true;
        break;
    }
    CloseModalDialog(dialog, &DialogPositionTable[kMeasuredLengthPositionSlot]);
    if (ok) *value = result;
    return ok;
}

Boolean PlaceDrawingFile(DocWindowRecord* doc, const FSRef* file, Float64 x, Float64 y) {
    long before[7], i = 0;
    ForEachElementList(doc, [&](auto* head) { before[i++] = ListLength(head); });
    DocWindowRecord* slot = doc;
    if (!OpenDocument(&slot, file, true, -1, x, y)) return false;
    // The read puts the file's elements in front of each list: one undo step takes them out again.
    BeginUndoStep(doc);
    i = 0;
    ForEachElementList(doc, [&](auto* head) {
        RecordLeading(doc, head, ListLength(head) - before[i]);
        ++i;
    });
    EndUndoStep(doc);
    RedrawWindow(doc);
    return true;
}
