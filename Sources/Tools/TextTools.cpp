// The eight text tools of group 3. A creating step makes one text in one undo step and ends the
// tool; a changing step re-creates the picked text (its own undo step) and redraws. A failed pick
// or snap, or an empty text where one is needed, leaves the step where it is.
#include "Tools/TextTools.h"

#include "Model/DocumentRecords.h"
#include "Model/UndoJournal.h"
#include "Model/DrawingUnits.h"
#include "Other/NumberFormat.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/TextEditing.h"
#include "Tools/TextElements.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr UInt16 kPlacementBits = 0x000F;
constexpr UInt16 kSecondCodeBits = 0xF000;
constexpr UInt16 kSecondCodeOne = 0x8000;
constexpr Float64 kSmallestBoxPixels = 32.0;

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

void Finish(ToolStep& s) {
    ResetToolState(s.doc, 0);
}

// The document's flag word with the placement code (0 to 3) and the second code put in.
UInt16 PlacementFlags(const DocWindowRecord* doc, int code, UInt16 second) {
    UInt16 flags = doc->settings->textFlags;
    flags = UInt16(flags & ~(kPlacementBits | kSecondCodeBits));
    return UInt16(flags | (1u << code) | second);
}

void TypeInTextFont(ToolStep& s, SInt16 font) {
    CommandFieldSetTypingFont(s.doc, font);
}

// A text confirmed in the field (a click does not count), as the element will hold it.
bool TypedText(ToolStep& s, Str255 text) {
    if (s.typed != -1) return false;
    TypedTextAsElementString(s.doc, text);
    return true;
}

void Create(ToolStep& s, ToolPoint at, ToolPoint second, ConstStr255Param text, UInt16 flags) {
    BeginUndoStep(s.doc);
    AddTextElement(s.doc, at.x, at.y, text, second.x, second.y, flags, true);
    EndUndoStep(s.doc);
    Finish(s);
}

bool SnapToRef(ToolStep& s, int n) {
    if (!SnapCursor(s.doc)) return false;
    SetRefPointFromCursor(s.doc, n);
    return true;
}

TextRecord* PickedText(ToolStep& s) {
    return static_cast<TextRecord*>(s.t->pickedOther);
}

// The text under the click, or null.
TextRecord* PickStepText(ToolStep& s) {
    if (!PickText(s.doc, kPickFind, false)) return nullptr;
    return s.d->cursors.textCursor;
}

void Changed(ToolStep& s) {
    Finish(s);
    RedrawWindow(s.doc);
}

// Tools 0 and 1: the point where the text goes.
void PointForText(ToolStep& s) {
    if (!SnapToRef(s, 4)) return;
    Next(s, 1);
    if (CurrentTool() == 0) TypeInTextFont(s, s.doc->settings->textFont);
}

void HorizontalText(ToolStep& s) {
    Str255 text;
    if (!TypedText(s, text) || text[0] == 0) return;
    TextAngleSetting(s.doc->settings) = 0.0;
    ToolPoint p = RefPoint(s.doc, 4);
    Create(s, p, p, text, PlacementFlags(s.doc, 0, 0));
}

void AngleForText(ToolStep& s) {
    if (s.typed <= 0) return;
    GetTypedAngle(s.doc, 0, &TextAngleSetting(s.doc->settings));
    Next(s, 2);
    TypeInTextFont(s, s.doc->settings->textFont);
}

void TextAtAngle(ToolStep& s) {
    Str255 text;
    if (!TypedText(s, text) || text[0] == 0) return;
    ToolPoint p = RefPoint(s.doc, 4);
    Create(s, p, p, text, PlacementFlags(s.doc, 0, 0));
}

// Tools 2 and 3: the point referred to, then (placed freely) where the text goes.
void ReferredPoint(ToolStep& s) {
    if (!SnapToRef(s, 5)) return;
    Next(s, 1);
    SuspendSnapMode(s.doc);
}

void PlacedPoint(ToolStep& s) {
    if (!SnapToRef(s, 4)) return;
    Next(s, 2);
    RestoreSnapMode(s.doc);
    TypeInTextFont(s, s.doc->settings->textFont);
}

// The point's coordinates in display units, x first.
void CoordinateLabel(DocWindowRecord* doc, ToolPoint p, Str255 out) {
    Float64 factor = doc->settings->drawingScale * UnitToMillimetres(doc);
    if (!(factor > 0)) factor = 1.0;
    Str255 x, y;
    FormatReal(p.x / factor, doc->settings->decimals, x);
    FormatReal(p.y / factor, doc->settings->decimals, y);
    std::string label = std::string(reinterpret_cast<const char*>(x + 1), x[0]) + "; " +
                        std::string(reinterpret_cast<const char*>(y + 1), y[0]);
    label.resize(std::min<size_t>(label.size(), 255));
    out[0] = UInt8(label.size());
    std::memcpy(out + 1, label.data(), label.size());
}

void LabelText(ToolStep& s) {
    Str255 text;
    if (!TypedText(s, text)) return;
    ToolPoint at = RefPoint(s.doc, 4), referred = RefPoint(s.doc, 5);
    if (text[0] == 0) CoordinateLabel(s.doc, referred, text);
    Create(s, at, referred, text, PlacementFlags(s.doc, 1, 0));
}

void TextBetweenPoints(ToolStep& s) {
    Str255 text;
    if (!TypedText(s, text) || text[0] == 0) return;
    Create(s, RefPoint(s.doc, 4), RefPoint(s.doc, 5), text, PlacementFlags(s.doc, 2, kSecondCodeOne));
}

// Tool 4: the text's string offered in the field, in the text's font.
void PickTextToChange(ToolStep& s) {
    TextRecord* text = PickStepText(s);
    if (text == nullptr) return;
    if (IsFramedTextBox(text)) {
        Finish(s);
        return;
    }
    TextAngleSetting(s.doc->settings) = text->angle;
    Next(s, 1);
    s.t->pickedOther = text;
    TypeInTextFont(s, text->font);
    CommandFieldPutUTF8(s.doc, text->text);
}

void ChangeText(ToolStep& s) {
    Str255 text;
    TextRecord* old = PickedText(s);
    if (old == nullptr || !TypedText(s, text) || text[0] == 0) return;
    RecreateTextWithString(s.doc, old, text);
    Changed(s);
}

// Tool 5: the anchor moves, or the second point where the pick was on it.
void PickTextToMove(ToolStep& s) {
    TextRecord* text = PickStepText(s);
    if (text == nullptr || IsFramedTextBox(text)) return;
    Next(s, s.t->textSecondPoint ? 2 : 1);
    s.t->pickedOther = text;
}

void MoveAnchor(ToolStep& s) {
    TextRecord* text = PickedText(s);
    if (text == nullptr || !SnapCursor(s.doc)) return;
    MoveTextPoint(s.doc, text, s.d->toolInput.cursorX, s.d->toolInput.cursorY, true);
    Changed(s);
}

void MoveSecondPoint(ToolStep& s) {
    TextRecord* text = PickedText(s);
    if (text == nullptr || !SnapCursor(s.doc)) return;
    MoveTextPoint(s.doc, text, s.d->toolInput.cursorX, s.d->toolInput.cursorY, false);
    Changed(s);
}

// Tool 6.
void PickTextForAttributes(ToolStep& s) {
    TextRecord* text = PickStepText(s);
    if (text == nullptr) return;
    if (IsFramedTextBox(text)) {
        Finish(s);
        return;
    }
    EditTextAttributes(s.doc, text);
    Changed(s);
}

// Tool 7: a click on a box edits it; elsewhere a dragged rectangle makes one, no side shorter than
// 32 pixels at the current zoom.
void FramedBox(ToolStep& s) {
    if (s.typed != 0) return;
    Float64 x = s.d->toolInput.cursorX, y = s.d->toolInput.cursorY;
    TextRecord* box = PickStepText(s);
    if (box != nullptr && IsFramedTextBox(box)) {
        EditTextFrame(s.doc, box, x, y);
        Finish(s);
        return;
    }
    TrackDragRectangle(s.doc, false);
    Float64 left, bottom, w, h;
    FramedBoxFromDrag(s.d, &left, &bottom, &w, &h);
    AddTextFrameElement(s.doc, true, left, bottom, w, h, true);
    Finish(s);
}

const ToolStepRow kRows[] = {
    {0, 0, "text position", StepInput::point, PointForText},
    {0, 1, "text", StepInput::text, HorizontalText},
    {1, 0, "text position", StepInput::point, PointForText},
    {1, 1, "text angle", StepInput::values, AngleForText},
    {1, 2, "text", StepInput::text, TextAtAngle},
    {2, 0, "point to label", StepInput::point, ReferredPoint},
    {2, 1, "label position", StepInput::point, PlacedPoint},
    {2, 2, "label text", StepInput::text, LabelText},
    {3, 0, "point referred to", StepInput::point, ReferredPoint},
    {3, 1, "text position", StepInput::point, PlacedPoint},
    {3, 2, "text", StepInput::text, TextBetweenPoints},
    {4, 0, "text to change", StepInput::pick, PickTextToChange},
    {4, 1, "new text", StepInput::text, ChangeText},
    {5, 0, "text to move", StepInput::pick, PickTextToMove},
    {5, 1, "new position", StepInput::point, MoveAnchor},
    {5, 2, "new second point", StepInput::point, MoveSecondPoint},
    {6, 0, "text to change", StepInput::pick, PickTextForAttributes},
    {7, 0, "text box", StepInput::pick, FramedBox},
};

} // namespace

constinit const ToolStepTable kTextToolSteps{kRows};

void ToolGroup3Click(DocWindowRecord* doc) {
    RunToolStep(doc, kTextToolSteps, CurrentTool());
}

void FramedBoxFromDrag(const DrawingRecord* d, Float64* x, Float64* y, Float64* width, Float64* height) {
    const Float64 smallest = kSmallestBoxPixels * d->view.unitsPerPixel;
    *width = std::max(d->view.dragRectWidth, smallest);
    *height = std::max(d->view.dragRectHeight, smallest);
    *x = d->view.dragRectX;
    *y = d->view.dragRectY;
}

void TypedTextAsElementString(DocWindowRecord* doc, Str255 out) {
    out[0] = 0;
    std::string utf8 = CommandFieldUTF8Text(doc);
    // Never a character split: back off over continuation bytes.
    size_t n = std::min<size_t>(utf8.size(), 255);
    while (n > 0 && n < utf8.size() && (UInt8(utf8[n]) & 0xC0) == 0x80)
        --n;
    out[0] = UInt8(n);
    std::memcpy(out + 1, utf8.data(), n);
}
