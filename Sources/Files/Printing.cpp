// Printing frames through the print session: tiles, fit to page, header and footer, corner marks.

#include "Files/Printing.h"

#include "Files/PrintRecords.h"
#include "Model/DocSettings.h"
#include "Model/DocumentHooks.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/ProgressWindow.h"
#include "Model/SharedUtilities.h"
#include "Platform/AppResources.h"
#include "Platform/Events.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Platform/PascalBytes.h"
#include "Tools/PendingLayersFrames.h"
#include "Tools/ToolState.h"
#include "Model/LayersFrames.h"
#include "View/ContentPasses.h"
#include "View/FramesOverlay.h"
#include "View/WorldPrimitives.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>

PMPrintSession gPrintSession = nullptr;

namespace {

enum PrintMessage : SInt16 { kNoPrintableArea = 1, kFrameWithoutSize = 2, kTooManyPages = 3 };

void ShowPrintMessage(SInt16 n) {
    Str255 text;
    GetIndString(text, kPrintMessageList, n);
    ShowErrorText(text);
}

Boolean Positive(Float64 v) {
    return std::isfinite(v) && v > 0;
}

Float64 FrameWidth(const FrameRecord* f) {
    return std::fabs(f->rect[2] - f->rect[0]);
}
Float64 FrameHeight(const FrameRecord* f) {
    return std::fabs(f->rect[3] - f->rect[1]);
}

// Tiles needed from `start` to cover up to `end` (less the point of slack the pages allow).
SInt64 TileCount(Float64 start, Float64 end, Float64 tile) {
    Float64 n = std::ceil((end - 1 - start) / tile);
    if (!(n > 0)) return 0;
    return n > Float64(kMaxPrintPages) + 1 ? SInt64(kMaxPrintPages) + 1 : SInt64(n);
}

} // namespace

SInt16& PrintSelectedFrame(DocSettings* settings) {
    return settings->words1996[0];
}
SInt16& PrintFitToPage(DocSettings* settings) {
    return settings->words1996[1];
}
SInt16& PrintCornerMarks(DocSettings* settings) {
    return settings->words1996[2];
}
SInt16& PrintPageOutput(DocSettings* settings) {
    return settings->words1996[3];
}
SInt16& PrintCurrentFrame(DocSettings* settings) {
    return settings->words1996[4];
}

Boolean ComputePageTiles(const FrameRecord* frame, PageTiles* out) {
    *out = PageTiles{};
    const Rect& r = frame->printableRect;
    Float64 pw = r.right - r.left, ph = r.bottom - r.top;
    Float64 sx = frame->scaleX, sy = frame->scaleY;
    if (pw <= 0 || ph <= 0 || !Positive(sx) || !Positive(sy)) return false;
    Float64 x0 = std::min(frame->rect[0], frame->rect[2]), x1 = std::max(frame->rect[0], frame->rect[2]);
    Float64 y0 = std::min(frame->rect[1], frame->rect[3]), y1 = std::max(frame->rect[1], frame->rect[3]);
    if (!std::isfinite(x0 * sx) || !std::isfinite(x1 * sx) || !std::isfinite(y0 * sy) ||
        !std::isfinite(y1 * sy))
        return false;
    if (x1 == x0 && y1 == y0) return false; // nothing to print
    Float64 left = x0 * sx, bottom = y0 * sy;
    if (pw > (x1 - x0) * sx) left -= (pw - (x1 - x0) * sx) / 2; // centred on the sheet
    if (ph > (y1 - y0) * sy) bottom -= (ph - (y1 - y0) * sy) / 2;
    SInt64 columns = TileCount(left, x1 * sx, pw), rows = TileCount(bottom, y1 * sy, ph);
    if (columns == 0 || rows == 0) return false;
    SInt64 pages = columns * rows;
    if (pages > kMaxPrintPages) pages = kMaxPrintPages + 1;
    *out = PageTiles{SInt32(std::min<SInt64>(columns, kMaxPrintPages + 1)),
                     SInt32(std::min<SInt64>(rows, kMaxPrintPages + 1)),
                     left,
                     bottom,
                     pw,
                     ph};
    return true;
}

SInt32 CountTiledPages(const FrameRecord* frame) {
    PageTiles t;
    if (!ComputePageTiles(frame, &t)) return 0;
    SInt64 pages = SInt64(t.columns) * t.rows;
    return SInt32(std::min<SInt64>(pages, kMaxPrintPages + 1));
}

void TileCorner(const PageTiles& tiles, SInt32 page, Float64* left, Float64* bottom) {
    SInt32 index = page - 1;
    *left = tiles.left + Float64(index / tiles.rows) * tiles.width;
    *bottom = tiles.bottom + Float64(index % tiles.rows) * tiles.height;
}

Boolean FitFrameToPage(FrameRecord* frame) {
    const Rect& r = frame->printableRect;
    Float64 pw = r.right - r.left, ph = r.bottom - r.top;
    if (pw <= 0 || ph <= 0) return false;
    Float64 q = std::max(FrameWidth(frame) * frame->scaleX / pw, FrameHeight(frame) * frame->scaleY / ph);
    if (!Positive(q)) return false;
    Float64 sx = frame->scaleX / q, sy = frame->scaleY / q;
    if (!Positive(sx) || !Positive(sy)) return false;
    frame->scaleX = sx;
    frame->scaleY = sy;
    return true;
}

void ComputePrintPenWidths(DocWindowRecord* doc, Float64 scale, Float64* scaleX, Float64* scaleY) {
    DocSettings* settings = doc->settings;
    for (int i = 0; i < 8; ++i) {
        Float64 w = std::round(settings->penWidths[i] * kPointsPerMillimetre);
        SInt16 points = !(w >= 1) ? 1 : w > 32767 ? 32767 : SInt16(w);
        settings->penPrintWidths[i] = settings->penPrintWidths2[i] = points;
    }
    Float64 s = scale > 0 ? scale : settings->printScale;
    *scaleX = *scaleY = s / 25.4 * 72.0;
}

void CenterFrameOnPaper(DocWindowRecord* doc, FrameRecord* frame) {
    if (frame->kind == 1 && Positive(frame->scaleX) && Positive(frame->scaleY)) {
        const Rect& r = frame->printableRect;
        Float64 cx = (frame->rect[0] + frame->rect[2]) / 2, cy = (frame->rect[1] + frame->rect[3]) / 2;
        Float64 hw = (r.right - r.left) / frame->scaleX / 2, hh = (r.bottom - r.top) / frame->scaleY / 2;
        frame->rect[0] = cx - hw;
        frame->rect[1] = cy - hh;
        frame->rect[2] = cx + hw;
        frame->rect[3] = cy + hh;
    }
    MarkDocumentChanged(doc);
}

PrintPageSetup PageSetupOfHandle(Handle pageFormat) {
    PageFormatData d = PageFormatOf(pageFormat);
    PrintPageSetup p{};
    p.orientation = d.orientation;
    Boolean turned = d.orientation == 2 || d.orientation == 4;
    // The stored sheet is as it lies; the setup keeps the upright sheet.
    p.paperWidth = turned ? d.paperHeight : d.paperWidth;
    p.paperHeight = turned ? d.paperWidth : d.paperHeight;
    p.marginTop = -d.paperRect.top;
    p.marginLeft = -d.paperRect.left;
    p.marginBottom = d.paperRect.bottom - d.pageRect.bottom;
    p.marginRight = d.paperRect.right - d.pageRect.right;
    return p;
}

void StorePageSetup(const PrintPageSetup& page, Handle* pageFormat) {
    PageFormatData d = PageFormatOf(*pageFormat);
    Rect sheet, area;
    GetPaperSize(nullptr, page, &sheet);
    GetPaperRect(nullptr, page, &area);
    d.paperWidth = sheet.right;
    d.paperHeight = sheet.bottom;
    d.orientation = page.orientation;
    d.paperRect = Rect{SInt16(-area.top), SInt16(-area.left), SInt16(sheet.bottom - area.top),
                       SInt16(sheet.right - area.left)};
    d.pageRect = Rect{0, 0, SInt16(area.bottom - area.top), SInt16(area.right - area.left)};
    Handle h = NewPageFormatHandle(d);
    if (!h) return;
    if (*pageFormat) DisposeHandle(*pageFormat);
    *pageFormat = h;
}

PrintJobSetup JobSetupOfHandle(Handle printSettings) {
    PrintSettingsData d = PrintSettingsOf(printSettings);
    PrintJobSetup j{};
    j.copies = d.copies;
    j.firstPage = d.firstPage;
    j.lastPage = d.lastPage;
    j.collate = d.collate;
    j.printerName = PStrToUTF8(d.printerName);
    return j;
}

void UpdateFramePaper(FrameRecord* frame) {
    PrintPageSetup page = PageSetupOfHandle(frame->pageFormat);
    GetPaperRect(gPrintSession, page, &frame->printableRect);
    GetPaperSize(gPrintSession, page, &frame->paperRect);
}

std::string LayerRangeText(DocWindowRecord* doc) {
    std::string out;
    for (int layer = 0; layer < kLayerCount;) {
        if (!IsLayerVisible(doc->layerVisible, SInt16(layer))) {
            ++layer;
            continue;
        }
        int last = layer;
        while (last + 1 < kLayerCount && IsLayerVisible(doc->layerVisible, SInt16(last + 1)))
            ++last;
        if (!out.empty()) out += ", ";
        out += std::to_string(layer);
        if (last > layer) out += "-" + std::to_string(last);
        layer = last + 1;
    }
    return out;
}

std::string ExpandHeaderText(DocWindowRecord* doc, const FrameRecord* frame, ConstStr255Param text,
                             SInt32 page, SInt32 count) {
    std::string in = PStrBytes(text), out;
    DrawingRecord* d = doc->drawing;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '&' || i + 1 == in.size()) {
            out += in[i];
            continue;
        }
        Str255 date, time;
        switch (in[++i]) {
        case 'd':
            DateTimeStrings(date, time);
            out += PStrBytes(date);
            break;
        case 't':
            DateTimeStrings(date, time);
            out += PStrBytes(time);
            break;
        case 'f':
            if (d->hasFile) out += PStrBytes(d->documentName);
            break;
        case 'g':
            if (d->hasFile) out += UTF8ToMacRoman(d->file.path);
            break;
        case 'p':
            out += PStrBytes(frame->name);
            break;
        case 'l':
            out += LayerRangeText(doc);
            break;
        case '#':
            out += std::to_string(page);
            break;
        case '+':
            out += std::to_string(count);
            break;
        case '&':
            out += '&';
            break;
        default:
            break;
        }
    }
    if (out.size() > 255) out.resize(255);
    return out;
}

Boolean OpenPrintSession() {
    if (gPrintSession) return true;
    return PrintSessionCreate(&gPrintSession) == noErr;
}

void ClosePrintSession() {
    PrintSessionRelease(&gPrintSession);
}

namespace {

// Header (line 0) and footer (line 1) in the printable area's own coordinates (origin bottom-left).
void PrintFooter(DocWindowRecord* doc, const FrameRecord* frame, CGContextRef ctx, SInt32 page,
                 SInt32 count) {
    const Rect& r = frame->printableRect;
    Float64 pw = r.right - r.left, ph = r.bottom - r.top;
    SInt16 size = doc->settings->headerSize > 0 ? doc->settings->headerSize : 10;
    CGContextSelectFontNumber(ctx, doc->settings->headerFont, 0, size, kCGEncodingMacRoman);
    CGContextSetGrayFillColor(ctx, 0, 1);
    for (int line = 0; line < 2; ++line) {
        Float64 y = line == 0 ? ph - size / 2 : 3 * size / 2;
        for (int slot = 0; slot < 3; ++slot) {
            std::string s =
                ExpandHeaderText(doc, frame, doc->drawing->headerFooter.texts[line * 3 + slot], page, count);
            if (s.empty()) continue;
            Float64 w = CGContextMeasureText(ctx, s.data(), s.size());
            Float64 x = slot == 0 ? 0 : slot == 1 ? (pw - w) / 2 : pw - w;
            CGContextShowTextAtPoint(ctx, x, y, s.data(), s.size());
        }
    }
}

// Eight grey strokes of 36 points along the edges from the printable area's corners.
void DrawCornerMarks(CGContextRef ctx, Float64 pw, Float64 ph) {
    const Float64 m = 36;
    const CGPoint p[16] = {{0, 0},   {m, 0},       {0, 0},   {0, m},      {pw, 0}, {pw - m, 0},
                           {pw, 0},  {pw, m},      {0, ph},  {m, ph},     {0, ph}, {0, ph - m},
                           {pw, ph}, {pw - m, ph}, {pw, ph}, {pw, ph - m}};
    CGContextSetGrayStrokeColor(ctx, 128.0 / 255.0, 1);
    CGContextSetLineWidth(ctx, 0.2);
    CGContextStrokeLineSegments(ctx, p, 16);
}

std::string StringItem(SInt16 list, SInt16 index) {
    Str255 s;
    GetIndString(s, list, index);
    return PStrBytes(s);
}

} // namespace

OSStatus PrintPages(DocWindowRecord* doc, FrameRecord* frame, const PrintJobSetup& job) {
    Boolean ownSession = !gPrintSession;
    if (ownSession && !OpenPrintSession()) return memFullErr;
    PrintPageSetup page = PageSetupOfHandle(frame->pageFormat);
    PrintJobSetup jobSetup = job;
    ValidatePrintObjects(gPrintSession, &page, &jobSetup);
    GetPaperRect(gPrintSession, page, &frame->printableRect);
    GetPaperSize(gPrintSession, page, &frame->paperRect);
    OSStatus result = noErr;
    PageTiles tiles;
    const Rect& area = frame->printableRect;
    Boolean noArea = area.right - area.left <= 0 || area.bottom - area.top <= 0 ||
                     frame->paperRect.right <= 0 || frame->paperRect.bottom <= 0;
    if (noArea) {
        ShowPrintMessage(kNoPrintableArea);
        result = paramErr;
    } else if (PrintFitToPage(doc->settings) && !FitFrameToPage(frame)) {
        ShowPrintMessage(kFrameWithoutSize);
        result = paramErr;
    } else if (!ComputePageTiles(frame, &tiles)) {
        ShowPrintMessage(kFrameWithoutSize);
        result = paramErr;
    } else if (CountTiledPages(frame) > kMaxPrintPages) {
        ShowPrintMessage(kTooManyPages);
        result = paramErr;
    }
    SInt32 n = result == noErr ? CountTiledPages(frame) : 0;
    if (result != noErr || jobSetup.firstPage > n || jobSetup.lastPage < 1) {
        if (ownSession) ClosePrintSession();
        return result;
    }
    ShowWatchCursor();
    DeselectAll(doc, false);
    Str255 text;
    GetIndString(text, 5000, 109);
    OpenProgress(text);
    SetPrintJobName(gPrintSession, MacRomanToUTF8(PStrBytes(doc->drawing->documentName) + " (" +
                                                  PStrBytes(frame->name) + ")"));
    result = BeginPrintDocument(gPrintSession, page, jobSetup);
    if (result == noErr) {
        Float64 pw = tiles.width, ph = tiles.height;
        Float64 sheetHeight = frame->paperRect.bottom;
        for (SInt32 p = std::max<SInt32>(1, jobSetup.firstPage); p <= std::min(n, jobSetup.lastPage); ++p) {
            BytesToPStr(StringItem(5000, 110) + std::to_string(p) + StringItem(5000, 111) +
                            std::to_string(n) + StringItem(5000, 112),
                        text);
            SetProgressText4(text);
            if (BeginPrintPage(gPrintSession) == noErr) {
                CGContextRef ctx = GetPrintContext(gPrintSession);
                CGContextSaveGState(ctx);
                CGContextTranslateCTM(ctx, area.left, sheetHeight - area.bottom);
                CGContextSaveGState(ctx);
                CGContextClipToRect(ctx, CGRectMake(0, 0, pw, ph));
                Float64 left, bottom;
                TileCorner(tiles, p, &left, &bottom);
                SetOutputTransform(doc, ctx, left, bottom, left + pw, bottom + ph, frame->scaleX,
                                   frame->scaleY, kPointsPerMillimetre);
                Boolean done = DrawDrawingWithProgress(doc, SInt16((p - 1) * 100 / n), SInt16(p * 100 / n));
                ClearOutputTransform(doc);
                CGContextRestoreGState(ctx);
                if (done)
                    PrintFooter(doc, frame, ctx, p, n);
                else
                    SetPrintSessionError(gPrintSession, kPMPageCancelled);
                if (PrintCornerMarks(doc->settings) && n >= 2) DrawCornerMarks(ctx, pw, ph);
                CGContextRestoreGState(ctx);
            }
            GetIndString(text, 5000, 113);
            SetProgressText4(text);
            EndPrintPage(gPrintSession);
        }
        result = EndPrintDocument(gPrintSession);
    }
    CloseProgress();
    SetCursorById(kArrowCursorId);
    if (ownSession) ClosePrintSession();
    return result;
}

namespace {

void StoreJobSetup(const PrintJobSetup& job, Handle* printSettings) {
    PrintSettingsData d = PrintSettingsOf(*printSettings);
    d.copies = job.copies;
    d.firstPage = job.firstPage;
    d.lastPage = job.lastPage;
    d.collate = job.collate;
    UTF8ToPStr(job.printerName, d.printerName, 63);
    Handle h = NewPrintSettingsHandle(d);
    if (!h) return;
    if (*printSettings) DisposeHandle(*printSettings);
    *printSettings = h;
}

} // namespace

OSStatus PrintFrameWithDialog(DocWindowRecord* doc, FrameRecord* frame) {
    if (!OpenPrintSession()) return memFullErr;
    SetPrintJobName(gPrintSession, "Draftwerk");
    PrintPageSetup page = PageSetupOfHandle(frame->pageFormat);
    PrintJobSetup job = JobSetupOfHandle(frame->printSettings);
    ValidatePrintObjects(gPrintSession, &page, &job);
    ComputePrintPenWidths(doc, frame->scale, &frame->scaleX, &frame->scaleY);
    UpdateFramePaper(frame);
    SetPrintPageRange(&job, 1, std::max<SInt32>(1, CountTiledPages(frame)));
    OSStatus result = RunPrintDialog(gPrintSession, &job, &page);
    if (result == noErr) {
        StorePageSetup(page, &frame->pageFormat);
        StoreJobSetup(job, &frame->printSettings);
        result = PrintPages(doc, frame, job);
    }
    ClosePrintSession();
    return result;
}

namespace {

PrintFrameChooser gFrameChooser = nullptr;
constexpr SInt16 kNoPagesMessage = 57;

} // namespace

void SetPrintFrameChooser(PrintFrameChooser chooser) {
    gFrameChooser = chooser;
}

OSStatus PrintCurrentPage(DocWindowRecord* doc) {
    FrameRecord* first = doc->drawing->frames;
    if (first == nullptr) {
        const Str255 empty = {0};
        ShowErrorAlert(kNoPagesMessage, empty);
        return paramErr;
    }
    if (gFrameChooser != nullptr && !gFrameChooser(doc)) return kPMCancel;
    SInt16& number = PrintCurrentFrame(doc->settings);
    FrameRecord* frame = first;
    for (SInt16 i = 1; frame != nullptr && i < number; ++i)
        frame = frame->next;
    if (number < 1 || frame == nullptr) {
        number = 1;
        frame = first;
    }
    return PrintFrameWithDialog(doc, frame);
}

OSStatus PrintAllPages(DocWindowRecord* doc) {
    Float64 x1, y1, x2, y2;
    if (!ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0)) return noErr;
    Str255 name;
    CStrToPStr(name, 256, "==all==");
    if (!NewFrameFromRect(doc, 0, x1, y1, x2, y2, name)) return memFullErr;
    // The frame just made is the last one; a frame of the user's with that name is not it.
    FrameRecord** slot = &doc->drawing->frames;
    while ((*slot)->next != nullptr)
        slot = &(*slot)->next;
    FrameRecord* frame = *slot;
    SInt16& option = PrintPageOutput(doc->settings);
    const SInt16 keptOption = option;
    option = 1;
    OSStatus result = PrintFrameWithDialog(doc, frame);
    option = keptOption;
    *slot = nullptr;
    DisposeFrameRecord(&frame);
    if (doc->window) RedrawWindow(doc);
    return result;
}

Boolean PlacePageWithMouse(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return false;
    if (!OpenPrintSession()) return false;
    PrintPageSetup page = PageSetupOfHandle(doc->drawing->pageFormat);
    PrintJobSetup job = JobSetupOfHandle(doc->drawing->printSettings);
    ValidatePrintObjects(gPrintSession, &page, &job);
    Float64 scale = Positive(doc->settings->printScale) ? doc->settings->printScale : 1.0;
    Float64 sx, sy;
    ComputePrintPenWidths(doc, scale, &sx, &sy);
    Rect area;
    GetPaperRect(gPrintSession, page, &area);
    ClosePrintSession();
    Float64 width = (area.right - area.left) / sx, height = (area.bottom - area.top) / sy;
    if (!Positive(width) || !Positive(height)) {
        ShowPrintMessage(kNoPrintableArea);
        return false;
    }
    constexpr SInt16 kMoveCursorId = 139;
    SetCursorById(kMoveCursorId);
    if (!StillDown()) return false;
    Float64 r[4];
    FollowPageWithMouse(doc, width, height, r);
    ShowFramesOverlay(doc);
    const UInt8 noName[1] = {0};
    if (!NewFrameFromRect(doc, 1, r[0], r[1], r[2], r[3], noName)) return false;
    // The frame prints at the scale its outline was shown at, so it fills its one sheet.
    FrameRecord* made = FrameAt(doc, CountFrames(doc));
    made->scale = scale;
    made->scaleX = sx, made->scaleY = sy;
    // On the drawing's paper, whose printable area gave the outline.
    if (Handle paper = doc->drawing->pageFormat; paper != nullptr && HandToHand(&paper) == noErr)
        made->pageFormat = paper;
    UpdateFramePaper(made);
    MarkDocumentChanged(doc);
    gDocumentHooks.rebuildFrameMenus(doc);
    InvalidateDocWindow(doc);
    return true;
}
