// The frames overlay: every frame and saved view, and the PDF and HPGL output areas when set, as a
// rectangle in its own colour with its name at its upper-left corner.
#include "View/FramesOverlay.h"

#include "Model/ElementRecords.h"
#include "Platform/CGContext.h"
#include "View/ContentPasses.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"

#include <algorithm>

UInt32 gFramesOverlayRectCount = 0;

namespace {

constexpr RGBColor kFrameColour{0x0000, 0x0000, 0xD000};
constexpr RGBColor kViewColour{0x0000, 0x9000, 0x0000};
constexpr RGBColor kPdfColour{0xD000, 0x0000, 0x0000};
constexpr RGBColor kHpglColour{0xA000, 0x0000, 0xA000};

void LabelledRect(DocWindowRecord* doc, CGContextRef ctx, const Float64 r[4], const RGBColor& colour,
                  const unsigned char* label, size_t length) {
    ++gFramesOverlayRectCount;
    if (ctx == nullptr) return;
    Float64 x1, y1, x2, y2;
    WorldToView(doc, std::min(r[0], r[2]), std::min(r[1], r[3]), nullptr, nullptr, &x1, &y1);
    WorldToView(doc, std::max(r[0], r[2]), std::max(r[1], r[3]), nullptr, nullptr, &x2, &y2);
    StrokeLineCG(ctx, x1, y1, x2, y1, colour, 1, 0);
    StrokeLineCG(ctx, x2, y1, x2, y2, colour, 1, 0);
    StrokeLineCG(ctx, x2, y2, x1, y2, colour, 1, 0);
    StrokeLineCG(ctx, x1, y2, x1, y1, colour, 1, 0);
    if (length == 0) return;
    CGContextSelectFont(ctx, "Geneva", 9, kCGEncodingMacRoman);
    CGContextSetRGBFillColor(ctx, (colour.red >> 8) / 255.0, (colour.green >> 8) / 255.0,
                             (colour.blue >> 8) / 255.0, 1);
    CGContextShowTextAtPoint(ctx, std::min(x1, x2) + 2, std::max(y1, y2) - 10,
                             reinterpret_cast<const char*>(label), length);
}

bool AreaSet(const Float64 a[4]) {
    return a[0] != 0.0 || a[1] != 0.0 || a[2] != 0.0 || a[3] != 0.0;
}

} // namespace

void DrawFramesOverlay(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    DrawingContextScope scope(doc);
    CGContextRef ctx = scope.get();
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next)
        LabelledRect(doc, ctx, f->rect, kFrameColour, f->name + 1, f->name[0]);
    for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
        LabelledRect(doc, ctx, v->rect, kViewColour, v->name + 1, v->name[0]);
    static const unsigned char kPdf[] = "PDF", kHpgl[] = "HPGL";
    if (AreaSet(doc->settings->pdfArea)) LabelledRect(doc, ctx, doc->settings->pdfArea, kPdfColour, kPdf, 3);
    if (AreaSet(doc->settings->hpglArea))
        LabelledRect(doc, ctx, doc->settings->hpglArea, kHpglColour, kHpgl, 4);
}

void ShowFramesOverlay(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    BeginDrawingArea(doc, true);
    DrawFramesOverlay(doc);
    BeginDrawingArea(doc, false);
}

void ShowOverlayRect(DocWindowRecord* doc, const Float64 rect[4]) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    BeginDrawingArea(doc, true);
    {
        DrawingContextScope scope(doc);
        LabelledRect(doc, scope.get(), rect, kPdfColour, nullptr, 0);
    }
    BeginDrawingArea(doc, false);
}
