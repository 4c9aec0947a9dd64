// Layers, frames, output areas and the origin: the pending commands that take their input in the drawing.
// Every typed layer is checked before anything moves; a change of elements is one undo step.
#include "Tools/PendingLayersFrames.h"

#include "Files/OpenSaveDispatch.h"
#include "Files/PdfOutput.h"
#include "Files/Printing.h"
#include "Model/DocumentRecords.h"
#include "Model/LayersFrames.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Other/NumberFormat.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Tools/PendingCommands.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/FramesOverlay.h"
#include "View/WorldPrimitives.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr SInt16 kNewFrameCommand = 156;
constexpr SInt16 kMoveLayerCommand = 157;
constexpr SInt16 kHpglAreaCommand = 161;
constexpr SInt16 kPdfAreaCommand = 162;
constexpr SInt16 kShiftLayersCommand = 168;
constexpr SInt16 kPlacePageCommand = 173;
constexpr SInt16 kDragPageCommand = 174;
constexpr SInt16 kMoveOriginCommand = 175;
constexpr SInt16 kPreviewPictureCommand = 178;
constexpr SInt16 kMoveFrameCommand = 180;
constexpr SInt16 kMoveHpglAreaCommand = 181;
constexpr SInt16 kMovePdfAreaCommand = 182;
constexpr SInt16 kPdfOfRectCommand = 184;
constexpr SInt16 kCopyLayersCommand = 185;

constexpr SInt16 kAllKinds = 127;
constexpr SInt16 kLayerRangeMessage = 62;
constexpr SInt16 kFlatRectMessage = 67;
constexpr SInt16 kFlatHpglRectMessage = 167;
constexpr SInt16 kMoveCursor = 139;
constexpr SInt16 kSavePdfPrompt = 296;

// The mouse in drawing units; the window's port must be current.
void MouseInDrawing(DocWindowRecord* doc, Float64* x, Float64* y) {
    const DrawingRecord* d = doc->drawing;
    Point p;
    GetMouse(&p);
    *x = p.h * d->view.unitsPerPixel + d->view.originX;
    *y = (d->view.viewHeight - p.v) * d->view.unitsPerPixel + d->view.originY;
}

Boolean AreaSet(const Float64 a[4]) {
    return a[0] != 0.0 || a[1] != 0.0 || a[2] != 0.0 || a[3] != 0.0;
}

// Two corners: the first snapped point is kept, the second makes the rectangle.
void FirstCorner(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    SetRefPointFromCursor(s.doc, 4);
    ResetToolState(s.doc, 1);
}

void SecondCorner(ToolStep& s) {
    DocWindowRecord* doc = s.doc;
    if (!SnapCursor(doc)) return;
    const SInt16 code = s.d->toolInput.pendingCommand;
    const ToolPoint a = RefPoint(doc, 4);
    const Float64 bx = s.d->toolInput.cursorX, by = s.d->toolInput.cursorY;
    if (a.x == bx || a.y == by) {
        ShowErrorStr128(code == kHpglAreaCommand ? kFlatHpglRectMessage : kFlatRectMessage);
        EndPendingCommand(doc);
        return;
    }
    const Float64 r[4] = {std::min(a.x, bx), std::min(a.y, by), std::max(a.x, bx), std::max(a.y, by)};
    ShowFramesOverlay(doc);
    if (code == kNewFrameCommand) {
        static const unsigned char kNoName[] = {0};
        NewFrameFromRect(doc, 0, r[0], r[1], r[2], r[3], kNoName);
    } else {
        std::copy(r, r + 4, code == kHpglAreaCommand ? doc->settings->hpglArea : doc->settings->pdfArea);
    }
    MarkDocumentChanged(doc);
    InvalidateDocWindow(doc);
    EndPendingCommand(doc);
}

// A layer typed (checked) or taken from the element under the cursor; false leaves the step as it
// is for a click beside every element, and ends the command for a typed layer out of range.
bool TakeLayer(ToolStep& s, SInt16* layer) {
    if (s.typed > 0) {
        Float64 entry = 0;
        GetNumericEntry(s.doc, 0, &entry);
        if (ValidateLayerIndex(entry, layer)) return true;
        EndPendingCommand(s.doc);
        return false;
    }
    if (s.typed < 0 || !PickUpElementAttributes(s.doc, kAllKinds)) return false;
    *layer = s.t->picked.layer;
    return true;
}

void MoveLayerSource(ToolStep& s) {
    SInt16 layer = 0;
    if (!TakeLayer(s, &layer)) return;
    s.d->toolInput.sourceLayer = layer;
    ResetToolState(s.doc, 1);
}

void MoveLayerTarget(ToolStep& s) {
    SInt16 layer = 0;
    if (!TakeLayer(s, &layer)) return;
    MoveLayerElements(s.doc, s.d->toolInput.sourceLayer, layer);
    UpdateViewExtent(s.doc, true);
    EndPendingCommand(s.doc);
}

// Three whole numbers: the first and last layer and the shift. Each layer, and each layer shifted,
// must lie in 0..1023; otherwise message 62 and the step waits for new values.
void ShiftOrCopyLayers(ToolStep& s) {
    if (s.typed != 3) return;
    Float64 v[3] = {0, 0, 0};
    for (SInt16 i = 0; i < 3; ++i)
        GetNumericEntry(s.doc, i, &v[i]);
    SInt16 a = 0, b = 0;
    if (!ValidateLayerIndex(v[0], &a) || !ValidateLayerIndex(v[1], &b)) return;
    if (!(std::fabs(v[2]) <= kHighestLayer) || !LayerRangeFits(a, b, SInt16(std::lround(v[2])))) {
        ShowErrorStr128(kLayerRangeMessage);
        return;
    }
    const SInt16 c = SInt16(std::lround(v[2]));
    if (a > b) std::swap(a, b);
    if (s.d->toolInput.pendingCommand == kShiftLayersCommand)
        ShiftLayerRange(s.doc, a, b, c);
    else
        DuplicateLayer(s.doc, a, b, c);
    UpdateViewExtent(s.doc, true);
    EndPendingCommand(s.doc);
}

// The origin moves to the clicked point: the view goes along, so the drawing stays where it is on
// screen, and every element, frame, saved view and output area moves by minus the point, in one
// undo step.
void MoveOrigin(ToolStep& s) {
    DocWindowRecord* doc = s.doc;
    if (!SnapCursor(doc)) return;
    const Float64 dx = -s.d->toolInput.cursorX, dy = -s.d->toolInput.cursorY;
    SetViewOrigin(s.d, s.d->view.originX + dx, s.d->view.originY + dy);
    BeginUndoStep(doc);
    OffsetFrameLists(doc, dx, dy);
    RecordUndoFrameOffset(doc, dx, dy);
    TransformState* st = TransformStateOf(doc);
    st->kind = kTransformMove;
    st->offsetX = dx, st->offsetY = dy;
    SelectEveryElement(doc);
    TransformAllElements(doc, 0);
    EndUndoStep(doc);
    UpdateViewExtent(doc, true);
    InvalidateDocWindow(doc);
    EndPendingCommand(doc);
}

// The rectangle a command moves: a frame of the list, or one of the output areas when set.
Float64* MovedRect(ToolStep& s) {
    switch (s.d->toolInput.pendingCommand) {
    case kMoveFrameCommand: {
        SInt16 n = 1;
        for (FrameRecord* f = s.d->frames; f != nullptr; f = f->next, ++n)
            if (n == s.d->toolInput.frameNumber) return f->rect;
        return nullptr;
    }
    case kMoveHpglAreaCommand:
        return AreaSet(s.doc->settings->hpglArea) ? s.doc->settings->hpglArea : nullptr;
    default:
        return AreaSet(s.doc->settings->pdfArea) ? s.doc->settings->pdfArea : nullptr;
    }
}

// Stays pending: each press moves the rectangle again.
void MoveRect(ToolStep& s) {
    if (s.typed != 0) return;
    Float64* r = MovedRect(s);
    if (r == nullptr) return;
    if (DragRectangleWithMouse(s.doc, &r[0], &r[1], &r[2], &r[3])) MarkDocumentChanged(s.doc);
}

void DragPage(ToolStep& s) {
    if (s.typed == 0) DragPageFrame(s.doc);
}

// Stays pending: each press places one more page.
void PlacePage(ToolStep& s) {
    if (s.typed == 0) PlacePageWithMouse(s.doc);
}

// A dragged rectangle, corners ordered, as a PDF file the user names, or as the drawing's preview
// picture.
void OutputRect(ToolStep& s) {
    DocWindowRecord* doc = s.doc;
    if (s.typed != 0 || !TrackDragRectangle(doc, false)) return;
    const DrawingViewState& v = s.d->view;
    const Float64 x1 = v.dragRectX, y1 = v.dragRectY;
    const Float64 x2 = x1 + v.dragRectWidth, y2 = y1 + v.dragRectHeight;
    const SInt16 code = s.d->toolInput.pendingCommand;
    EndPendingCommand(doc);
    if (code == kPreviewPictureCommand) {
        MakePreviewPicture(doc, x1, y1, x2, y2, true);
        return;
    }
    FSRef file;
    Str255 prompt;
    GetAppString(kSavePdfPrompt, prompt);
    const UInt8 noName[1] = {0};
    if (!ChooseSaveFile(&file, prompt, noName)) return;
    OSErr err = DrawingToPDF(doc, false, x1, y1, x2, y2, &file);
    if (err != noErr && err != paramErr && err != userCanceledErr) ShowOSErrorAlert(err);
}

const ToolStepRow kRows[] = {
    {kNewFrameCommand, 0, "first corner", StepInput::point, FirstCorner},
    {kNewFrameCommand, 1, "second corner", StepInput::point, SecondCorner},
    {kMoveLayerCommand, 0, "layer to move from", StepInput::integer, MoveLayerSource},
    {kMoveLayerCommand, 1, "layer to move to", StepInput::integer, MoveLayerTarget},
    {kHpglAreaCommand, 0, "first corner", StepInput::point, FirstCorner},
    {kHpglAreaCommand, 1, "second corner", StepInput::point, SecondCorner},
    {kPdfAreaCommand, 0, "first corner", StepInput::point, FirstCorner},
    {kPdfAreaCommand, 1, "second corner", StepInput::point, SecondCorner},
    {kShiftLayersCommand, 0, "layers and shift", StepInput::integer, ShiftOrCopyLayers},
    {kPlacePageCommand, 0, "place the page", StepInput::pick, PlacePage},
    {kDragPageCommand, 0, "drag the page", StepInput::pick, DragPage},
    {kMoveOriginCommand, 0, "new origin", StepInput::point, MoveOrigin},
    {kPreviewPictureCommand, 0, "rectangle of the picture", StepInput::pick, OutputRect},
    {kMoveFrameCommand, 0, "move the frame", StepInput::pick, MoveRect},
    {kMoveHpglAreaCommand, 0, "move the HPGL area", StepInput::pick, MoveRect},
    {kMovePdfAreaCommand, 0, "move the PDF area", StepInput::pick, MoveRect},
    {kPdfOfRectCommand, 0, "rectangle of the PDF", StepInput::pick, OutputRect},
    {kCopyLayersCommand, 0, "layers and offset", StepInput::integer, ShiftOrCopyLayers},
};

constexpr SInt16 kOutputAreasMenu = 131;
constexpr SInt16 kLayersMenu = 132;
constexpr SInt16 kPagesMenu = 145;
constexpr SInt16 kFileMenu = 198;

const PendingMenuRow kMenuRows[] = {
    {kOutputAreasMenu, 1, kHpglAreaCommand, nullptr},    {kOutputAreasMenu, 2, kMoveHpglAreaCommand, nullptr},
    {kOutputAreasMenu, 7, kPdfAreaCommand, nullptr},     {kOutputAreasMenu, 8, kDragPageCommand, nullptr},
    {kOutputAreasMenu, 9, kMovePdfAreaCommand, nullptr}, {kLayersMenu, 6, kMoveLayerCommand, nullptr},
    {kLayersMenu, 7, kShiftLayersCommand, nullptr},      {kLayersMenu, 8, kCopyLayersCommand, nullptr},
    {kPagesMenu, 1, kNewFrameCommand, nullptr},          {kPagesMenu, 2, kPlacePageCommand, nullptr},
    {kOutputAreasMenu, 5, kPdfOfRectCommand, nullptr},   {kFileMenu, 22, kPreviewPictureCommand, nullptr},
};

} // namespace

constinit const ToolStepTable kPendingLayerFrameSteps{kRows};
constinit const PendingMenuRows kPendingLayerFrameMenuRows{kMenuRows};

Boolean DragRectangleWithMouse(DocWindowRecord* doc, Float64* x1, Float64* y1, Float64* x2, Float64* y2) {
    if (doc == nullptr || doc->window == nullptr) return false;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    SetCursorById(kMoveCursor);
    const Float64 from[4] = {*x1, *y1, *x2, *y2};
    Float64 sx, sy;
    MouseInDrawing(doc, &sx, &sy);
    SnapToGrid(doc, &sx, &sy);
    Float64 dx = 0, dy = 0;
    while (StillDown()) {
        Float64 mx, my;
        MouseInDrawing(doc, &mx, &my);
        SnapToGrid(doc, &mx, &my);
        if (mx - sx == dx && my - sy == dy) continue;
        dx = mx - sx, dy = my - sy;
        *x1 = from[0] + dx, *y1 = from[1] + dy;
        *x2 = from[2] + dx, *y2 = from[3] + dy;
        RedrawWindow(doc);
        ShowFramesOverlay(doc);
    }
    SetPort(saved);
    return dx != 0 || dy != 0;
}

Boolean PaperPageSize(SInt16 format, Float64* width, Float64* height) {
    // A4 upright, then A4 across and A3 to A0 across, in millimetres.
    static const Float64 kPages[6][2] = {{210, 297}, {297, 210}, {420, 297},
                                         {594, 420}, {841, 594}, {1189, 841}};
    if (format < 1 || format > 6) return false;
    *width = kPages[format - 1][0];
    *height = kPages[format - 1][1];
    return true;
}

Boolean FollowPageWithMouse(DocWindowRecord* doc, Float64 width, Float64 height, Float64 page[4]) {
    if (doc == nullptr || doc->window == nullptr) return false;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    Float64 x, y;
    bool shown = false;
    while (StillDown() || !shown) {
        MouseInDrawing(doc, &x, &y);
        if (shown && page[0] == x && page[1] == y) continue;
        page[0] = x, page[1] = y, page[2] = x + width, page[3] = y + height;
        RedrawWindow(doc);
        ShowOverlayRect(doc, page);
        shown = true;
    }
    SetPort(saved);
    return true;
}

Boolean DragPageFrame(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return false;
    Float64 w = 0, h = 0;
    if (!PaperPageSize(SInt16(doc->settings->paperFormat), &w, &h)) return false;
    Float64 page[4];
    FollowPageWithMouse(doc, w, h, page);
    std::copy(page, page + 4, doc->settings->pdfArea);
    MarkDocumentChanged(doc);
    InvalidateDocWindow(doc);
    return true;
}
