// Text elements: variables, lines, frames and leaders, masks, paragraph boxes, outlines and fitting.
#include "View/TextDrawing.h"
#include "Other/MathPrimitives.h"
#include "View/DrawCallRecorder.h"
#include "View/ElementDrawing.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "View/RasterOutput.h"
#include "Platform/QuickDraw.h"
#include "Model/SharedUtilities.h"
#include "Platform/TextMeasure.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr Float64 kViewRange = 16384; // the 16-bit view range masks and boxes must stay within
// Texts smaller than this on the device are not drawn (nothing of them would show).
constexpr Float64 kSmallestTextSize = 0.5;
constexpr Float64 kLargestTextSize = 1.0e5;
// Below full size, texts smaller than this on the screen cannot be read: their boxes are drawn.
constexpr Float64 kReadableTextSize = 6;

Float64 Component(UInt16 c) {
    return (c >> 8) / 255.0;
}

// Stores UTF-8 into a Str255, cut at a character boundary.
void StoreUTF8(const std::string& value, StringPtr text) {
    size_t n = std::min<size_t>(value.size(), 255);
    while (n > 0 && n < value.size() && (UInt8(value[n]) & 0xC0) == 0x80)
        --n;
    text[0] = UInt8(n);
    std::memcpy(text + 1, value.data(), n);
}

bool OnScreen(const DocWindowRecord* doc) {
    return doc->drawing->output.outputContext == nullptr;
}

Float64 DeviceSize(const DocWindowRecord* doc, Float64 height) {
    const DrawingRecord* d = doc->drawing;
    return OnScreen(doc) ? height / d->view.unitsPerPixel : height * d->output.outputScaleY;
}

// Shows UTF-8 text at a CoreGraphics point with a text matrix of rotation and width.
void ShowText(DocWindowRecord* doc, CGContextRef ctx, Float64 x, Float64 y, const UInt8* bytes, SInt32 length,
              SInt16 font, SInt16 face, Float64 size, Float64 angle, Float64 widthFactor) {
    const DrawingRecord* d = doc->drawing;
    if (DrawCallListening()) {
        DrawCall call{};
        call.kind = DrawCallKind::text;
        call.colour = d->output.penColor;
        call.alpha = 1;
        call.style = font;
        call.v[0] = x, call.v[1] = y, call.v[2] = size, call.v[3] = angle, call.v[4] = widthFactor;
        call.text.assign(reinterpret_cast<const char*>(bytes), size_t(length));
        ReportDrawCall(call);
    }
    if (!ctx) return;
    Float64 c = std::cos(angle * kDegreesToRadians), s = std::sin(angle * kDegreesToRadians);
    CGContextSelectFontNumber(ctx, font, face, size, kCGEncodingUTF8);
    CGContextSetTextDrawingMode(ctx, kCGTextFill);
    CGContextSetRGBFillColor(ctx, Component(d->output.penColor.red), Component(d->output.penColor.green),
                             Component(d->output.penColor.blue), 1.0);
    CGContextSetTextMatrix(ctx, CGAffineTransformMake(widthFactor * c, widthFactor * s, -s, c, 0, 0));
    CGContextShowTextAtPoint(ctx, x, y, reinterpret_cast<const char*>(bytes), size_t(length));
}

// The width factor a text was laid out with: its box width over the natural width of its widest line.
Float64 TextWidthFactor(const TextRecord* text, ConstStr255Param shown, UInt8 lineBreak) {
    Float64 box = std::hypot(text->corners[2] - text->corners[0], text->corners[3] - text->corners[1]);
    Float64 widest = 0;
    int start = 1;
    for (int i = 1; i <= shown[0] + 1; ++i) {
        if (i <= shown[0] && !(lineBreak != 0 && shown[i] == lineBreak)) continue;
        widest = std::max(widest, TextStringWidth(text->font, 0, text->textHeight, shown + start, i - start));
        start = i + 1;
    }
    if (!(box > 0) || !(widest > 0)) return 1.0;
    return std::clamp(box / widest, 0.05, 20.0);
}

void DiamondAt(DocWindowRecord* doc, Float64 refX, Float64 refY) {
    Float64 cx, cy;
    WorldToView(doc, refX, refY, nullptr, nullptr, &cx, &cy);
    cx = std::round(cx), cy = std::round(cy);
    const Float64 p[5][2] = {{cx, cy + 4}, {cx + 4, cy}, {cx, cy - 4}, {cx - 4, cy}, {cx, cy + 4}};
    for (int i = 0; i < 4; ++i)
        DrawPixelLineStyled(doc, p[i][0], p[i][1], p[i + 1][0], p[i + 1][1], 1);
}

} // namespace

SInt16 TextLeaderMode(UInt16 flags) {
    if (flags & 1) return 0;
    if (flags & 2) return 1;
    if (flags & 4) return 2;
    return 0;
}

SInt16 TextLeaderEnd(UInt16 flags) {
    if (flags & 0x10) return 1;
    if (flags & 0x20) return 2;
    return 0;
}

SInt16 TextFrameShape(UInt16 flags) {
    for (SInt16 i = 0; i < 4; ++i)
        if (flags & (0x1000u << i)) return SInt16(i + 1);
    return 0;
}

Boolean ExpandTextVariables(DocWindowRecord* doc, StringPtr text) {
    if (text[0] != 3 || text[1] != '^') return false;
    int n = 10 * text[2] + text[3] - 528;
    std::string value;
    if (n >= 1 && n <= 20) {
        StringPtr field = doc->drawing->titleBlock ? TitleBlockField(doc->drawing->titleBlock, n) : nullptr;
        if (field) value = PStrToUTF8(field);
    } else if (n == 50 || n == 51) {
        Str20 date, time;
        DateTimeStrings(date, time);
        value = PStrToUTF8(n == 50 ? date : time);
    } else if (n == 52) {
        value = PStrToUTF8(doc->drawing->documentName);
    }
    // An empty value keeps the placeholder.
    if (value.empty()) return false;
    StoreUTF8(value, text);
    return true;
}

Float64 TextStringWidth(SInt16 font, SInt16 face, Float64 height, const UInt8* text, SInt32 length) {
    return MeasureTextUTF8(font, face, height, reinterpret_cast<const char*>(text), length);
}

void DrawTextString(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16 font,
                    SInt16 face, Float64 height, Float64 angle, Float64 widthFactor) {
    Output(doc).Text(doc, x, y, text, font, face, height, angle, widthFactor);
}

void RasterOutput::Text(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16 font,
                        SInt16 face, Float64 height, Float64 angle, Float64 widthFactor) {
    if (text[0] == 0) return;
    Float64 cx, cy;
    WorldToView(doc, x, y, nullptr, nullptr, &cx, &cy);
    Float64 size = DeviceSize(doc, height);
    if (!(size >= kSmallestTextSize) || size > kLargestTextSize || !std::isfinite(cx) || !std::isfinite(cy))
        return;
    DrawingContextScope scope(doc);
    ShowText(doc, scope.get(), cx, cy, text + 1, text[0], font, face, size, angle,
             widthFactor > 0 ? widthFactor : 1.0);
}

void DrawTextElement(TextRecord* text, DocWindowRecord* doc) {
    text->drawn = 1;
    DrawingRecord* d = doc->drawing;
    const DocSettings* s = doc->settings;
    bool layerVisible = IsLayerVisible(doc->layerVisible, text->layer);
    if (IsFramedTextBox(text)) {
        if (layerVisible) {
            SetLineMode(doc, 1);
            SetElementPen(doc, text->layer, text->pen, &text->penBlock);
            DrawTextBox(text, doc);
        }
        ResetDrawingState(doc);
        return;
    }
    if (s->textDisplayMode == 2 || !layerVisible) {
        ResetDrawingState(doc);
        return;
    }
    Str255 shown;
    std::memcpy(shown, text->text, size_t(text->text[0]) + 1);
    if (shown[0] == 3 && shown[1] == '^' && !ExpandTextVariables(doc, shown) && !OnScreen(doc)) shown[0] = 0;
    // An empty text is a screen aid only: print and PDF get nothing of it, no mask, box or diamond.
    PlotReceiver* plot = PlotTarget(doc);
    if (!OnScreen(doc) && plot == nullptr && shown[0] == 0) {
        ResetDrawingState(doc);
        return;
    }
    SInt16 savedHighlight = doc->highlightMode;
    if (savedHighlight == kHighlightNone && OnScreen(doc))
        doc->highlightMode = text->selected ? kHighlightSelected
                             : text->marked ? kHighlightMarked
                                            : kHighlightNone;
    SetLineMode(doc, 1);
    SetElementPen(doc, text->layer, text->pen, &text->penBlock);
    SInt16 leaderMode = TextLeaderMode(text->textFlags);
    SInt16 frameShape = TextFrameShape(text->textFlags);
    SInt16 leaderEnd = TextLeaderEnd(text->textFlags);
    if (plot == nullptr && !(text->textFlags & kTextNoBackground)) FillTextBackground(text, doc);
    if (plot != nullptr) {
        plot->PlotText(doc, text->corners[0], text->corners[1], shown, text->textHeight, text->angle);
    } else if (shown[0] == 0) {
        DrawTextOutline(text, doc, 2);
    } else if (LevelOfDetailContext(doc) != nullptr &&
               DeviceSize(doc, text->textHeight) < kReadableTextSize) {
        if (text->marked && OnScreen(doc)) DrawTextOutline(text, doc, 1);
        DrawWorldQuad(doc, text->corners);
        DrawTextFrame(doc, leaderMode, frameShape, leaderEnd, text->corners, text->x2, text->y2,
                      text->leaderEndSize, text->frameDistance);
    } else {
        if (text->marked && OnScreen(doc)) DrawTextOutline(text, doc, 1);
        UInt8 lineBreak = UInt8(s->lineBreakChar);
        Float64 widthFactor = TextWidthFactor(text, shown, lineBreak);
        Float64 theta = text->angle * kDegreesToRadians;
        Float64 corners[8];
        std::memcpy(corners, text->corners, sizeof corners);
        const UInt8* breakAt =
            lineBreak ? static_cast<const UInt8*>(std::memchr(shown + 1, lineBreak, shown[0])) : nullptr;
        if (breakAt) {
            int lines = 1;
            for (int i = 1; i <= shown[0]; ++i)
                lines += shown[i] == lineBreak;
            Float64 pitch = text->textHeight + text->lineSpacing;
            Float64 x = text->corners[0] - (lines - 1) * pitch * std::sin(theta);
            Float64 y = text->corners[1] + (lines - 1) * pitch * std::cos(theta);
            int start = 1;
            for (int i = 1; i <= shown[0] + 1; ++i) {
                if (i <= shown[0] && shown[i] != lineBreak) continue;
                Str255 line;
                line[0] = UInt8(i - start);
                std::memcpy(line + 1, shown + start, line[0]);
                DrawTextString(doc, x, y, line, text->font, 0, text->textHeight, text->angle, widthFactor);
                x += pitch * std::sin(theta);
                y -= pitch * std::cos(theta);
                start = i + 1;
            }
        } else {
            DrawTextString(doc, text->corners[0], text->corners[1], shown, text->font, 0, text->textHeight,
                           text->angle, widthFactor);
            const UInt8* blank = static_cast<const UInt8*>(std::memchr(shown + 1, ' ', shown[0]));
            if (leaderMode == 2 && blank) {
                // The frame encloses the first word only, measured by the font's metrics.
                Float64 w =
                    TextStringWidth(text->font, 0, text->textHeight, shown + 1, SInt32(blank - (shown + 1))) *
                    widthFactor;
                Float64 upX = text->corners[6] - text->corners[0], upY = text->corners[7] - text->corners[1];
                corners[2] = corners[0] + w * std::cos(theta);
                corners[3] = corners[1] + w * std::sin(theta);
                corners[4] = corners[2] + upX;
                corners[5] = corners[3] + upY;
                corners[6] = corners[0] + upX;
                corners[7] = corners[1] + upY;
            }
        }
        DrawTextFrame(doc, leaderMode, frameShape, leaderEnd, corners, text->x2, text->y2,
                      text->leaderEndSize, text->frameDistance);
    }
    doc->highlightMode = savedHighlight;
    ResetDrawingState(doc);
}

void DrawTextElementClipped(TextRecord* text, DocWindowRecord* doc) {
    BeginDrawingArea(doc, true);
    DrawTextElement(text, doc);
    BeginDrawingArea(doc, false);
}

void DrawTextOutline(TextRecord* text, DocWindowRecord* doc, SInt16 mode) {
    DrawingRecord* d = doc->drawing;
    RGBColor savedColour = d->output.penColor;
    SInt16 savedHighlight = doc->highlightMode;
    if (mode == 1) {
        // Kept once only: a window redraw draws the outline again without growing the list.
        if (!HasRubberPoint(doc, text->x, text->y))
            AddRubberPointAndMark(doc, text->x, text->y, true);
        else
            MarkRubberPoint(doc, text->x, text->y);
        doc->highlightMode = kHighlightNone;
    }
    if (mode == 0) {
        Float64 pixels = std::trunc(text->textHeight / d->view.unitsPerPixel);
        bool xorMode = OnScreen(doc) && pixels >= 6 && doc->settings->textDisplayMode != 1;
        SetPaintMode(doc, xorMode ? kPaintXor : kPaintNormal);
    }
    SetLineMode(doc, 1);
    SetElementPen(doc, text->layer, text->pen, &text->penBlock);
    DrawWorldQuad(doc, text->corners);
    if (mode == 2 || mode == 4) DiamondAt(doc, text->x2, text->y2);
    doc->highlightMode = savedHighlight;
    ResetDrawingState(doc);
    d->output.penColor = savedColour;
}

void DrawTextOutlineClipped(TextRecord* text, DocWindowRecord* doc, SInt16 mode) {
    BeginDrawingArea(doc, true);
    DrawTextOutline(text, doc, mode);
    BeginDrawingArea(doc, false);
}

void DrawTextFrame(DocWindowRecord* doc, SInt16 leaderMode, SInt16 frameShape, SInt16 leaderEnd,
                   const Float64 c[8], Float64 refX, Float64 refY, Float64 leaderEndSize, Float64 margin) {
    Float64 theta = std::atan2(c[3] - c[1], c[2] - c[0]);
    if (theta < 0) theta += 2 * M_PI;
    Float64 cs = std::cos(theta), sn = std::sin(theta), d = margin;
    // Corners in the text's own frame, pushed outward by the margin, and turned back.
    const Float64 push[4][2] = {{-d, -d}, {d, -d}, {d, d}, {-d, d}};
    Float64 p[8];
    for (int i = 0; i < 4; ++i) {
        Float64 rx = c[2 * i] - c[0], ry = c[2 * i + 1] - c[1];
        Float64 lx = rx * cs + ry * sn + push[i][0], ly = -rx * sn + ry * cs + push[i][1];
        p[2 * i] = c[0] + lx * cs - ly * sn;
        p[2 * i + 1] = c[1] + lx * sn + ly * cs;
    }
    Float64 leftX = (p[0] + p[6]) / 2, leftY = (p[1] + p[7]) / 2;
    Float64 rightX = (p[2] + p[4]) / 2, rightY = (p[3] + p[5]) / 2;
    Float64 circleX = (p[0] + p[4]) / 2, circleY = (p[1] + p[5]) / 2;
    Float64 circleR = std::hypot(p[4] - p[0], p[5] - p[1]) / 2;
    Float64 deg = theta * kRadiansToDegrees;
    switch (frameShape) {
    case 1:
        DrawWorldArc(doc, circleX, circleY, circleR, 0, 360);
        break;
    case 2:
        DrawWorldQuad(doc, p);
        break;
    case 3: {
        Float64 r = std::hypot(p[6] - p[0], p[7] - p[1]) / 2;
        DrawWorldLine(doc, p[0], p[1], p[2], p[3]);
        DrawWorldLine(doc, p[6], p[7], p[4], p[5]);
        DrawWorldArc(doc, leftX, leftY, r, deg + 90, deg + 270);
        DrawWorldArc(doc, rightX, rightY, r, deg + 270, deg + 450);
        break;
    }
    case 4:
        DrawWorldLine(doc, p[0], p[1], p[2], p[3]);
        break;
    default:
        break;
    }
    if (leaderMode == 0) return;
    Float64 ax, ay;
    if (frameShape == 1) {
        Float64 dx = refX - circleX, dy = refY - circleY, len = std::hypot(dx, dy);
        ax = len > 0 ? circleX + circleR * dx / len : p[0];
        ay = len > 0 ? circleY + circleR * dy / len : p[1];
    } else {
        const Float64 candidates[4][2] = {{p[0], p[1]}, {p[2], p[3]}, {rightX, rightY}, {leftX, leftY}};
        ax = candidates[0][0], ay = candidates[0][1];
        Float64 best = std::hypot(ax - refX, ay - refY);
        for (int i = 1; i < 4; ++i) {
            Float64 dist = std::hypot(candidates[i][0] - refX, candidates[i][1] - refY);
            if (dist < best) best = dist, ax = candidates[i][0], ay = candidates[i][1];
        }
    }
    if (leaderMode == 1 && frameShape == 0) DrawWorldLine(doc, p[0], p[1], p[2], p[3]);
    DrawWorldLine(doc, ax, ay, refX, refY);
    if (leaderEnd == 2)
        DrawWorldCircle(doc, refX, refY, leaderEndSize);
    else if (leaderEnd == 1)
        DrawArrowHead(doc, refX, refY, std::atan2(refY - ay, refX - ax) * kRadiansToDegrees, leaderEndSize,
                      false);
}

void FillTextBackground(TextRecord* text, DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    Float64 v[8];
    for (int i = 0; i < 4; ++i)
        WorldToView(doc, text->corners[2 * i], text->corners[2 * i + 1], nullptr, nullptr, &v[2 * i],
                    &v[2 * i + 1]);
    Float64 size10 = std::min(DeviceSize(doc, text->textHeight) * 10, 16000.0);
    Float64 descent = 0;
    MeasureFontExtents(text->font, 0, size10, nullptr, &descent);
    Float64 grow = descent / 10;
    // Lower corners down and upper corners up along the box's sides.
    for (int side = 0; side < 2; ++side) {
        int lower = side == 0 ? 0 : 1, upper = side == 0 ? 3 : 2;
        Float64 ux = v[2 * upper] - v[2 * lower], uy = v[2 * upper + 1] - v[2 * lower + 1];
        Float64 len = std::hypot(ux, uy);
        if (!(len > 0)) continue;
        ux /= len, uy /= len;
        v[2 * lower] -= grow * ux, v[2 * lower + 1] -= grow * uy;
        v[2 * upper] += grow * ux, v[2 * upper + 1] += grow * uy;
    }
    for (Float64 c : v)
        if (!(std::fabs(c) < kViewRange)) return;
    RGBColor colour =
        d->output.outputContext ? RGBColor{0xFFFF, 0xFFFF, 0xFFFF} : doc->settings->backgroundColor;
    DrawingContextScope scope(doc);
    FillQuadCG(scope.get(), v, colour);
}

namespace {

// Lays the paragraph text out into lines that fit the width, breaking at blanks (a word longer than
// the width stands alone) and at carriage returns and line feeds.
std::vector<std::string> WrapParagraphs(const std::string& all, SInt16 font, Float64 size, Float64 width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find_first_of("\r\n", start);
        std::string paragraph = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string line;
        size_t pos = 0;
        while (pos <= paragraph.size()) {
            size_t blank = paragraph.find(' ', pos);
            std::string word =
                paragraph.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
            std::string tried = line.empty() ? word : line + " " + word;
            if (!line.empty() && MeasureTextUTF8(font, 0, size, tried.data(), SInt32(tried.size())) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = tried;
            }
            if (blank == std::string::npos) break;
            pos = blank + 1;
        }
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

} // namespace

void DrawTextBox(TextRecord* text, DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    if (PlotTarget(doc) != nullptr) return;
    Float64 qx[4], qy[4], gx[4], gy[4];
    for (int i = 0; i < 4; ++i) {
        WorldToView(doc, text->corners[2 * i], text->corners[2 * i + 1], &qx[i], &qy[i], &gx[i], &gy[i]);
        if (!(std::fabs(qx[i]) < kViewRange && std::fabs(qy[i]) < kViewRange)) return;
    }
    Float64 left = *std::min_element(qx, qx + 4), right = *std::max_element(qx, qx + 4);
    Float64 top = *std::min_element(qy, qy + 4), bottom = *std::max_element(qy, qy + 4);
    Float64 cgTop = *std::max_element(gy, gy + 4), cgBottom = *std::min_element(gy, gy + 4);
    if (d->output.fillFlag && text->boxText != nullptr) {
        std::string all(*text->boxText, size_t(GetHandleSize(text->boxText)));
        Float64 size = DeviceSize(doc, text->textHeight);
        if (size >= kSmallestTextSize && size <= kLargestTextSize) {
            Float64 ascent = 0, descent = 0;
            MeasureFontExtents(text->font, 0, size, &ascent, &descent);
            Float64 pitch = ascent + descent;
            if (!(pitch > 0)) pitch = size;
            DrawingContextScope scope(doc);
            CGContextRef ctx = scope.get();
            if (ctx) {
                CGContextSaveGState(ctx);
                CGContextClipToRect(ctx, CGRectMake(left, cgBottom, right - left, cgTop - cgBottom));
            }
            Float64 baseline = cgTop - ascent;
            for (const std::string& line : WrapParagraphs(all, text->font, size, right - left)) {
                if (baseline < cgBottom - pitch) break;
                ShowText(doc, ctx, left, baseline, reinterpret_cast<const UInt8*>(line.data()),
                         SInt32(line.size()), text->font, 0, size, 0, 1.0);
                baseline -= pitch;
            }
            if (ctx) CGContextRestoreGState(ctx);
        }
    }
    if (!OnScreen(doc) || !doc->window) return;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    Rect frame;
    SetRect(&frame, SInt16(std::lround(left) - 1), SInt16(std::lround(top) - 1),
            SInt16(std::lround(right) + 1), SInt16(std::lround(bottom) + 1));
    if (!d->output.fillFlag) {
        EraseRect(&frame);
        SetPort(saved);
        return;
    }
    PenState pen;
    GetPenState(&pen);
    Pattern gray;
    PenPat(GetQDGlobalsGray(&gray));
    PenMode(patXor);
    FrameRect(&frame);
    Pattern black;
    PenPat(GetQDGlobalsBlack(&black));
    // Eight handles: the corners (inset 1 pixel) and the sides' midpoints.
    SInt16 l = frame.left + 1, t = frame.top + 1, r = SInt16(frame.right - 5), b = SInt16(frame.bottom - 5);
    SInt16 mh = SInt16((frame.left + frame.right) / 2 - 2), mv = SInt16((frame.top + frame.bottom) / 2 - 2);
    const SInt16 at[8][2] = {{l, t}, {r, t}, {r, b}, {l, b}, {mh, t}, {r, mv}, {mh, b}, {l, mv}};
    for (const auto& h : at) {
        Rect handle;
        SetRect(&handle, h[0], h[1], SInt16(h[0] + 4), SInt16(h[1] + 4));
        PaintRect(&handle);
    }
    SetPenState(&pen);
    SetPort(saved);
}

void FitTextSizeToWidth(DocWindowRecord* doc, Float64 width, Float64 height, ConstStr255Param string) {
    Float64 h = height > 0 ? height : 0.1;
    Float64 s = 1;
    while (h * s < 40)
        s *= 2;
    SInt32 p = SInt32(std::lround(h * s));
    SInt16 font = doc->settings->textFont;
    while (p >= 5 && MeasureTextUTF8(font, 0, Float64(p), reinterpret_cast<const char*>(string + 1),
                                     string[0]) > width * s)
        --p;
    doc->settings->textHeight = p / s;
}

void TextElementBox(const TextRecord* text, Float64 box[4]) {
    Float64 minX = std::min(text->x, text->x2), maxX = std::max(text->x, text->x2);
    Float64 minY = std::min(text->y, text->y2), maxY = std::max(text->y, text->y2);
    for (int i = 0; i < 4; ++i) {
        minX = std::min(minX, text->corners[2 * i]);
        maxX = std::max(maxX, text->corners[2 * i]);
        minY = std::min(minY, text->corners[2 * i + 1]);
        maxY = std::max(maxY, text->corners[2 * i + 1]);
    }
    // Descenders, frames and leader ends reach beyond the stored box.
    Float64 grow =
        std::fabs(text->textHeight) + std::fabs(text->frameDistance) + std::fabs(text->leaderEndSize);
    box[0] = minX - grow;
    box[1] = minY - grow;
    box[2] = maxX + grow;
    box[3] = maxY + grow;
}
