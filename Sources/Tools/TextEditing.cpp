// Re-creating texts, framed text boxes and title-block placeholders.
#include "Tools/TextEditing.h"

#include "Dialogs/TextDialogs.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Tools/DragTracking.h"
#include "Tools/TextElements.h"
#include "View/ContentPasses.h"
#include "View/TextDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr SInt16 kHistoryClearedMessage = 17;
constexpr Float64 kFramedTextFrameDistance = 9.0;
constexpr SInt16 kCornerBandPixels = 10;
constexpr UInt16 kUnsetWord = 65535;

bool HorizontalFrameKind(UInt16 flags) {
    SInt16 kind = (flags & 0x0001) ? 0 : (flags & 0x0002) ? 1 : (flags & 0x0004) ? 2 : 0;
    return kind == 1 || kind == 2;
}

bool IsPlaceholder(ConstStr255Param s) {
    return s[0] == 3 && s[1] == '^';
}

// What the text shows: a placeholder's value, or its own string.
void ShownString(DocWindowRecord* doc, const TextRecord* text, Str255 shown) {
    std::memcpy(shown, text->text, size_t(text->text[0]) + 1);
    if (IsPlaceholder(shown)) ExpandTextVariables(doc, shown);
}

// The justification point of the text as it stands; its anchor when the justification is unknown.
void JustificationPoint(const TextRecord* text, Float64* x, Float64* y) {
    *x = text->x, *y = text->y;
    TextAnchorPoint(text, x, y);
}

TextRecord* PredecessorOf(DocWindowRecord* doc, TextRecord* text) {
    for (TextRecord* e = doc->textHead; e != nullptr; e = e->next)
        if (e->next == text) return e;
    return nullptr;
}

TextRecord* LastOf(TextRecord* head) {
    TextRecord* e = head;
    while (e->next != nullptr)
        e = e->next;
    return e;
}

// A copy of the text to become its replacement: unlinked, unselected.
TextRecord* ReplacementOf(const TextRecord* text) {
    TextRecord* copy = CloneTextRecord(text);
    if (copy == nullptr) return nullptr;
    copy->next = nullptr;
    copy->selected = false;
    copy->marked = false;
    copy->trailing = 0;
    return copy;
}

// The replacement's box from its fields: laid out about its anchor, or for a framed box moved with
// its anchor.
void LayOut(DocWindowRecord* doc, TextRecord* copy, const TextRecord* old) {
    if (IsFramedTextBox(copy)) {
        Float64 dx = copy->x - old->x, dy = copy->y - old->y;
        for (int k = 0; k < 4; ++k)
            copy->corners[2 * k] += dx, copy->corners[2 * k + 1] += dy;
        return;
    }
    if (HorizontalFrameKind(copy->textFlags)) copy->angle = 0.0;
    Str255 shown;
    ShownString(doc, copy, shown);
    LayoutTextElement(copy, doc, shown);
}

// The old text out (journalled), the laid-out copy in at the tail (journalled, drawn). before is
// the old text's predecessor and *tail the list's last text; both stay true for a walk.
void Replace(DocWindowRecord* doc, TextRecord* old, TextRecord* copy, TextRecord* before, TextRecord** tail) {
    MarkDocumentChanged(doc);
    doc->drawing->view.redrawPending = true;
    SpatialIndexRemoving(doc, kTextElement, old);
    before->next = old->next;
    if (doc->drawing->cursors.textCursor == old) doc->drawing->cursors.textCursor = before;
    if (*tail == old) *tail = before;
    DisposeTextElement(doc, old, true);
    SpatialIndexRemoved(doc, kTextElement);
    (*tail)->next = copy;
    copy->next = nullptr;
    *tail = copy;
    RecordUndoText(doc, copy, true);
    gDocumentHooks.drawElement(doc, kTextElement, copy);
}

// One re-creation in its own undo step; edit fills the copy's fields before it is laid out.
template <typename Edit> TextRecord* Recreate(DocWindowRecord* doc, TextRecord* text, Edit edit) {
    if (doc == nullptr || text == nullptr) return nullptr;
    TextRecord* before = PredecessorOf(doc, text);
    if (before == nullptr) return nullptr;
    TextRecord* copy = ReplacementOf(text);
    if (copy == nullptr) return nullptr;
    if (!IsFramedTextBox(text)) JustificationPoint(text, &copy->x, &copy->y);
    edit(copy);
    LayOut(doc, copy, text);
    TextRecord* tail = LastOf(doc->textHead);
    BeginUndoStep(doc);
    Replace(doc, text, copy, before, &tail);
    EndUndoStep(doc);
    return copy;
}

// The block's set fields over the copy; the frame kind stays the old text's.
void ApplyBlock(const AttributeChangeBlock& b, TextRecord* copy) {
    auto word = [](UInt16 v, SInt16& field) {
        if (v != kUnsetWord) field = SInt16(v);
    };
    auto real = [](Float64 v, Float64& field) {
        if (v != -1.0) field = v;
    };
    word(b.layer, copy->layer);
    word(b.justification, copy->justification);
    word(b.font, copy->font);
    if (copy->justification < 0 || copy->justification > 8) copy->justification = 0;
    if (b.flags != kUnsetWord) copy->textFlags = UInt16((b.flags & ~0x0007u) | (copy->textFlags & 0x0007u));
    real(b.textHeight, copy->textHeight);
    real(b.angle, copy->angle);
    real(b.slant, copy->slant);
    real(b.lineSpacing, copy->lineSpacing);
    real(b.frameDistance, copy->frameDistance);
}

// The text's attributes as the settings for new texts, for the attribute dialog.
void TextIntoSettings(const TextRecord* text, DocSettings* s) {
    s->currentGroup = text->group;
    s->currentLayer = text->layer;
    s->currentPen = text->pen;
    s->textJustification = text->justification;
    s->textFlags = text->textFlags;
    s->textFont = text->font;
    s->textHeight = text->textHeight;
    TextAngleSetting(s) = text->angle;
    TextSlantSetting(s) = text->slant;
    TextLineSpacingSetting(s) = text->lineSpacing;
    TextFrameDistanceSetting(s) = text->frameDistance;
}

void SettingsIntoText(DocSettings* s, TextRecord* copy) {
    copy->justification = (s->textJustification >= 0 && s->textJustification <= 8) ? s->textJustification : 0;
    copy->textFlags = s->textFlags;
    copy->font = s->textFont;
    copy->textHeight = s->textHeight;
    copy->angle = TextAngleSetting(s);
    copy->slant = TextSlantSetting(s);
    copy->lineSpacing = TextLineSpacingSetting(s);
    copy->frameDistance = TextFrameDistanceSetting(s);
}

Float64 FramedTextSize(DocSettings* s) {
    SInt16 tenths = FramedTextSizeSetting(s);
    return (tenths <= 9 ? 35 : tenths) / 10.0;
}

bool SameCorners(const Float64 a[8], const Float64 b[8]) {
    for (int i = 0; i < 8; ++i)
        if (std::fabs(a[i] - b[i]) > 1e-9 * std::max(1.0, std::fabs(a[i]))) return false;
    return true;
}

} // namespace

SInt16& FramedTextFontSetting(DocSettings* s) {
    return s->words338[0];
}
SInt16& FramedTextSizeSetting(DocSettings* s) {
    return s->words338[1];
}

TextRecord* RecreateTextWithString(DocWindowRecord* doc, TextRecord* text, ConstStr255Param string) {
    if (string == nullptr || string[0] == 0) return nullptr;
    return Recreate(doc, text,
                    [&](TextRecord* copy) { std::memcpy(copy->text, string, size_t(string[0]) + 1); });
}

TextRecord* MoveTextPoint(DocWindowRecord* doc, TextRecord* text, Float64 x, Float64 y, Boolean moveAnchor) {
    if (!std::isfinite(x) || !std::isfinite(y)) return nullptr;
    return Recreate(doc, text, [&](TextRecord* copy) {
        if (moveAnchor)
            copy->x = x, copy->y = y;
        else
            copy->x2 = x, copy->y2 = y;
    });
}

TextRecord* EditTextAttributes(DocWindowRecord* doc, TextRecord* text) {
    if (doc == nullptr || text == nullptr) return nullptr;
    DocSettings* s = doc->settings;
    const DocSettings saved = *s;
    TextIntoSettings(text, s);
    if (!RunTextAttributesDialog(doc, text)) {
        *s = saved;
        return nullptr;
    }
    DocSettings chosen = *s;
    *s = saved;
    return Recreate(doc, text, [&](TextRecord* copy) { SettingsIntoText(&chosen, copy); });
}

TextRecord* ApplyTextAttributes(DocWindowRecord* doc, TextRecord* text) {
    if (doc == nullptr) return nullptr;
    const AttributeChangeBlock block = doc->attributeChange;
    return Recreate(doc, text, [&](TextRecord* copy) { ApplyBlock(block, copy); });
}

long ApplyTextAttributesToTexts(DocWindowRecord* doc, Boolean selectedOnly) {
    if (doc == nullptr || doc->textHead == nullptr) return 0;
    const AttributeChangeBlock block = doc->attributeChange;
    TextRecord* tail = LastOf(doc->textHead);
    TextRecord* end = tail; // texts made here come after it and are not walked
    long count = 0;
    BeginUndoStep(doc);
    TextRecord* before = doc->textHead;
    while (before->next != nullptr) {
        TextRecord* text = before->next;
        bool last = text == end;
        TextRecord* copy = nullptr;
        if (!selectedOnly || text->selected) copy = ReplacementOf(text);
        if (copy != nullptr) {
            if (!IsFramedTextBox(text)) JustificationPoint(text, &copy->x, &copy->y);
            ApplyBlock(block, copy);
            LayOut(doc, copy, text);
            Replace(doc, text, copy, before, &tail);
            ++count;
        } else {
            before = text;
        }
        if (last) break;
    }
    EndUndoStep(doc);
    return count;
}

TextRecord* AddTextFrameElement(DocWindowRecord* doc, Boolean draw, Float64 x, Float64 y, Float64 width,
                                Float64 height, Boolean askText) {
    if (doc == nullptr || doc->textHead == nullptr) return nullptr;
    DocSettings* s = doc->settings;
    TextRecord* text = nullptr;
    NewTextElement(doc, &text);
    if (text == nullptr) return nullptr;
    text->group = s->currentGroup;
    text->layer = s->currentLayer;
    text->pen = s->currentPen;
    text->justification = s->textJustification;
    text->textFlags = kFramedTextBoxFlags;
    text->x = x, text->y = y;
    text->textHeight = FramedTextSize(s);
    text->font = FramedTextFontSetting(s);
    text->frameDistance = kFramedTextFrameDistance;
    const Float64 c[8] = {x, y, x + width, y, x + width, y + height, x, y + height};
    std::memcpy(text->corners, c, sizeof c);
    if (askText) {
        const SInt16 tenths = SInt16(std::lround(text->textHeight * 10));
        Boolean ok = RunLongTextDialog(doc, text);
        // A size chosen in the dialog stays for the next box, even after Cancel.
        SInt16 chosen = SInt16(std::lround(text->textHeight * 10));
        if (chosen != tenths) FramedTextSizeSetting(s) = chosen;
        if (!ok) {
            DisposeTextRecord(&text);
            return nullptr;
        }
    }
    MarkDocumentChanged(doc);
    TextRecord* last = LastOf(doc->textHead);
    last->next = text;
    BeginUndoStep(doc);
    RecordUndoText(doc, text, true);
    EndUndoStep(doc);
    if (draw) gDocumentHooks.drawElement(doc, kTextElement, text);
    return text;
}

Boolean EditTextFrame(DocWindowRecord* doc, TextRecord* text, Float64 x, Float64 y) {
    if (doc == nullptr || text == nullptr || doc->drawing == nullptr) return false;
    const DrawingRecord* d = doc->drawing;
    const Float64 scale = d->view.unitsPerPixel;
    const Float64* c = text->corners;
    Float64 minX = std::min({c[0], c[2], c[4], c[6]}), maxX = std::max({c[0], c[2], c[4], c[6]});
    Float64 minY = std::min({c[1], c[3], c[5], c[7]}), maxY = std::max({c[1], c[3], c[5], c[7]});
    // Window pixels, y down, with the drawing area's height as clicks are mapped.
    auto px = [&](Float64 wx) { return (wx - d->view.originX) / scale; };
    auto py = [&](Float64 wy) { return d->view.viewHeight - (wy - d->view.originY) / scale; };
    const Float64 L = px(minX), R = px(maxX), T = py(maxY), B = py(minY);
    const Float64 cx = px(x), cy = py(y);
    const bool left = cx <= L + kCornerBandPixels, right = cx >= R - kCornerBandPixels;
    const bool top = cy <= T + kCornerBandPixels, bottom = cy >= B - kCornerBandPixels;

    Boolean changed = false;
    // The bands are tried in this order: top-left, top-right, bottom-left, bottom-right.
    const bool corner = (left || right) && (top || bottom);
    if (corner) {
        const bool takeTop = top;
        const bool takeLeft = left;
        Float64 fixedX = takeLeft ? maxX : minX, fixedY = takeTop ? minY : maxY;
        Float64 cornerX = takeLeft ? minX : maxX, cornerY = takeTop ? maxY : minY;
        SInt16 cursor = (takeLeft == takeTop) ? kFallingCornersCursor : kRisingCornersCursor;
        if (TrackDragOffset(doc, cursor, fixedX, fixedY, &cornerX, &cornerY, false, 1.0)) {
            Float64 x1 = std::min(fixedX, cornerX), x2 = std::max(fixedX, cornerX);
            Float64 y1 = std::min(fixedY, cornerY), y2 = std::max(fixedY, cornerY);
            BeginUndoStep(doc);
            RecordUndoText(doc, text, false);
            const Float64 n[8] = {x1, y1, x2, y1, x2, y2, x1, y2};
            std::memcpy(text->corners, n, sizeof n);
            text->x = x1, text->y = y1;
            RecordUndoText(doc, text, true);
            EndUndoStep(doc);
            MarkDocumentChanged(doc);
            changed = true;
        }
    } else {
        // The box as it was, journalled only after OK: a cancelled edit leaves no empty undo step.
        TextRecord* before = CloneTextRecord(text);
        if (before == nullptr) return false;
        changed = RunLongTextDialog(doc, text);
        if (changed) {
            BeginUndoStep(doc);
            RecordUndoText(doc, before, false);
            RecordUndoText(doc, text, true);
            EndUndoStep(doc);
            MarkDocumentChanged(doc);
        }
        DisposeTextRecord(&before);
    }
    RedrawWindow(doc);
    return changed;
}

void RelayoutTextKeepingAnchor(DocWindowRecord* doc, TextRecord* text, ConstStr255Param string) {
    JustificationPoint(text, &text->x, &text->y);
    LayoutTextElement(text, doc, string);
}

void RefreshFieldTexts(DocWindowRecord* doc, TextRecord* first, Boolean* changed) {
    for (TextRecord* text = first; text != nullptr; text = text->next) {
        if (!IsPlaceholder(text->text) || IsFramedTextBox(text)) continue;
        Str255 shown;
        ShownString(doc, text, shown);
        // Only a box that no longer fits what is shown counts: a placeholder whose value is as it
        // was leaves the drawing, and so the undo history, alone.
        TextRecord probe = *text;
        RelayoutTextKeepingAnchor(doc, &probe, shown);
        if (SameCorners(probe.corners, text->corners)) continue;
        text->x = probe.x, text->y = probe.y;
        std::memcpy(text->corners, probe.corners, sizeof text->corners);
        *changed = true;
    }
}

Boolean RefreshAllFieldTexts(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return false;
    Boolean changed = false;
    if (doc->textHead != nullptr) RefreshFieldTexts(doc, doc->textHead->next, &changed);
    if (changed) SpatialIndexStale(doc);
    for (SymbolDefRecord* def = doc->symbolDefHead ? doc->symbolDefHead->next : nullptr; def; def = def->next)
        if (def->textHead != nullptr) RefreshFieldTexts(doc, def->textHead->next, &changed);
    if (!changed) return false;
    doc->drawing->view.redrawPending = true;
    // The journal holds the texts as they were laid out; with nothing in it there is nothing to lose.
    const auto& u = doc->drawing->undo;
    if (u.undoStepCount > 0 || u.redoCount > 0) {
        ResetUndoJournal(doc);
        const unsigned char empty[1] = {0};
        ShowErrorAlert(kHistoryClearedMessage, empty);
    }
    return true;
}
