// Text elements: creation from the current settings, layout of the box, anchor points.
#include "Tools/TextElements.h"

#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Model/UndoJournal.h"
#include "View/TextDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The frame kind of bits 0 to 2, one bit each, the lowest set bit counting.
SInt16 DecodeFlags012(UInt16 flags) {
    return (flags & 0x0001) ? 0 : (flags & 0x0002) ? 1 : (flags & 0x0004) ? 2 : 0;
}

// Texts in frames of kinds 1 and 2 stay horizontal.
bool KeepsTextHorizontal(UInt16 flags) {
    SInt16 kind = DecodeFlags012(flags);
    return kind == 1 || kind == 2;
}

} // namespace

Float64& TextAngleSetting(DocSettings* s) {
    return s->reals978[0];
}
Float64& TextSlantSetting(DocSettings* s) {
    return s->reals978[1];
}
Float64& TextLineSpacingSetting(DocSettings* s) {
    return s->reals978[2];
}
Float64& TextFrameDistanceSetting(DocSettings* s) {
    return s->reals978[3];
}

TextRecord* AddTextElement(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param string, Float64 x2,
                           Float64 y2, UInt16 flags, Boolean draw) {
    DocSettings* s = doc->settings;
    TextRecord* last = nullptr;
    LastText(doc, &last);
    TextRecord* text = NewTextElement(doc, &last->next);
    if (text == nullptr) return nullptr;
    MarkDocumentChanged(doc);
    text->group = s->currentGroup;
    text->layer = s->currentLayer;
    text->pen = s->currentPen;
    text->reserved = 0;
    text->justification = s->textJustification;
    text->textFlags = flags;
    text->x = x, text->y = y;
    text->x2 = x2, text->y2 = y2;
    text->angle = KeepsTextHorizontal(flags) ? 0.0 : TextAngleSetting(s);
    text->slant = TextSlantSetting(s);
    text->textHeight = s->textHeight;
    text->lineSpacing = TextLineSpacingSetting(s);
    text->font = s->textFont;
    text->frameDistance = TextFrameDistanceSetting(s);
    std::memcpy(text->text, string, size_t(string[0]) + 1);
    text->trailing = 0;

    // A placeholder keeps its code; its box fits what is shown.
    Str255 shown;
    std::memcpy(shown, string, size_t(string[0]) + 1);
    if (shown[0] == 3 && shown[1] == '^') ExpandTextVariables(doc, shown);
    LayoutTextElement(text, doc, shown);
    RecordUndoText(doc, text, true);
    if (draw) gDocumentHooks.drawElement(doc, kTextElement, text);
    return text;
}

TextRecord* AddTextElementWith(DocWindowRecord* doc, UInt16 flags, ConstStr255Param text, Float64 x,
                               Float64 y, Float64 x2, Float64 y2, const TextElementValues& v) {
    DocSettings* s = doc->settings;
    const DocSettings saved = *s;
    s->currentGroup = v.group;
    s->currentLayer = v.layer;
    s->currentPen = v.pen;
    s->textJustification = v.justification;
    s->textFont = v.font;
    s->textHeight = v.size;
    TextAngleSetting(s) = v.angle;
    TextSlantSetting(s) = v.slant;
    TextLineSpacingSetting(s) = v.lineSpacing;
    TextFrameDistanceSetting(s) = v.frameDistance;
    s->drawingScale = v.drawingScale;
    TextRecord* made = AddTextElement(doc, x, y, text, x2, y2, flags, true);
    s->currentGroup = saved.currentGroup;
    s->currentLayer = saved.currentLayer;
    s->currentPen = saved.currentPen;
    s->textJustification = saved.textJustification;
    s->textFont = saved.textFont;
    s->textHeight = saved.textHeight;
    TextAngleSetting(s) = saved.reals978[0];
    TextSlantSetting(s) = saved.reals978[1];
    TextLineSpacingSetting(s) = saved.reals978[2];
    TextFrameDistanceSetting(s) = saved.reals978[3];
    s->drawingScale = saved.drawingScale;
    return made;
}

void LayoutTextElement(TextRecord* text, DocWindowRecord* doc, ConstStr255Param string) {
    UInt8 lineBreak = doc->settings->lineBreakChar;
    Float64 widest = 0;
    int lines = 0, start = 1;
    for (int i = 1; i <= string[0] + 1; ++i) {
        if (i <= string[0] && !(lineBreak != 0 && string[i] == lineBreak)) continue;
        widest =
            std::max(widest, TextStringWidth(text->font, 0, text->textHeight, string + start, i - start));
        ++lines;
        start = i + 1;
    }
    Float64 w = widest, h = lines * text->textHeight + (lines - 1) * text->lineSpacing;
    SInt16 row = text->justification / 3, column = text->justification % 3;
    Float64 dx = column == 0 ? 0.0 : column == 1 ? -w / 2 : -w;
    Float64 dy = row == 0 ? -h : row == 1 ? -h / 2 : 0.0;
    const Float64 local[8] = {dx, dy, dx + w, dy, dx + w, dy + h, dx, dy + h};
    Float64 theta = text->angle * kDegreesToRadians;
    Float64 c = std::cos(theta), s = std::sin(theta);
    for (int k = 0; k < 4; ++k) {
        Float64 px = local[2 * k], py = local[2 * k + 1];
        text->corners[2 * k] = text->x + c * px - s * py;
        text->corners[2 * k + 1] = text->y + s * px + c * py;
    }
}

void TextAnchorPoint(const TextRecord* text, Float64* x, Float64* y) {
    const Float64* c = text->corners;
    auto mid = [&](int a, int b) {
        *x = (c[2 * a] + c[2 * b]) / 2;
        *y = (c[2 * a + 1] + c[2 * b + 1]) / 2;
    };
    auto at = [&](int a) {
        *x = c[2 * a];
        *y = c[2 * a + 1];
    };
    switch (text->justification) {
    case 0:
        at(3);
        break;
    case 1:
        mid(2, 3);
        break;
    case 2:
        at(2);
        break;
    case 3:
        mid(0, 3);
        break;
    case 4:
        *x = (c[0] + c[2] + c[4] + c[6]) / 4;
        *y = (c[1] + c[3] + c[5] + c[7]) / 4;
        break;
    case 5:
        mid(1, 2);
        break;
    case 6:
        at(0);
        break;
    case 7:
        mid(0, 1);
        break;
    case 8:
        at(1);
        break;
    default:
        break;
    }
}
