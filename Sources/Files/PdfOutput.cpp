// PDF pages and previews through the output pass: the area's corners become page corners at 72 points
// per inch, elements keep their pen widths on paper and texts stay text.
#include "Files/PdfOutput.h"

#include "Files/OpenSaveDispatch.h"
#include "Files/SafeWrite.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Other/NumberFormat.h"
#include "Interface/ProgressWindow.h"
#include "Platform/CGContext.h"
#include "Platform/Clipboard.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "Platform/QuickDraw.h"
#include "View/ContentPasses.h"
#include "View/ViewStrokes.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace {

constexpr SInt16 kWritingPDFItem = 286;
constexpr SInt16 kFlatAreaMessage = 67;
constexpr Float64 kPointsPerMillimetre = 72 / 25.4;

UInt32 gTempFileCounter = 0;

bool Finite(std::initializer_list<Float64> values) {
    return std::all_of(values.begin(), values.end(), [](Float64 v) { return std::isfinite(v); });
}

SInt16 DeviceWidth(Float64 millimetres, Float64 factor) {
    Float64 w = std::round(millimetres * factor);
    if (!(w >= 1)) return 1;
    return w > 32767 ? 32767 : SInt16(w);
}

SInt16 PageSide(Float64 points) {
    Float64 side = std::round(points);
    return side < 1 ? 1 : side > 32767 ? 32767 : SInt16(side);
}

Boolean ExportFromSavePanel(DocWindowRecord* doc, const FSRef* file) {
    const Float64* a = doc->settings->pdfArea;
    OSErr err = DrawingToPDF(doc, false, a[0], a[1], a[2], a[3], file);
    if (err != noErr && err != paramErr && err != userCanceledErr) ShowOSErrorAlert(err);
    return err == noErr;
}

} // namespace

void MakeTempFileName(std::string* name, const char* extension) {
    *name = "cad_" + std::to_string(++gTempFileCounter) + "_tmp." + extension;
}

OSErr MakeTempFileSpec(FSRef* file, const char* extension) {
    FSRef folder;
    OSErr err = GetPrivateTempFolder(&folder);
    if (err != noErr) return err;
    std::string name;
    MakeTempFileName(&name, extension);
    err = FSMakeChildRef(&folder, name.c_str(), file);
    if (err == noErr && FSRefExists(file)) err = FSDeleteObject(file);
    return err;
}

UInt16 SwapBytes16(UInt16 value) {
    return UInt16(value << 8 | value >> 8);
}

Boolean SetupPDFScaling(DocWindowRecord* doc, Float64* resolutionX, Float64* resolutionY, Float64 left,
                        Float64 bottom, Float64 right, Float64 top, PDFScaling* scaling) {
    *resolutionX = *resolutionY = 72;
    Float64 areaWidth = std::fabs(right - left), areaHeight = std::fabs(top - bottom);
    if (!Finite({left, bottom, right, top, areaWidth, areaHeight}) || !(areaWidth > 0) || !(areaHeight > 0))
        return false;
    PDFScaling s;
    s.scaleX = s.scaleY = kPointsPerMillimetre;
    Float64 w = areaWidth * s.scaleX, h = areaHeight * s.scaleY;
    if (w > 10000 || w < 10 || h > 10000) {
        if (w >= h)
            h = 4000 * h / w, w = 4000;
        else
            w = 4000 * w / h, h = 4000;
        s.scaleX = w / areaWidth;
        s.scaleY = h / areaHeight;
    }
    s.left = std::min(left, right) * s.scaleX;
    s.right = std::max(left, right) * s.scaleX;
    s.bottom = std::min(bottom, top) * s.scaleY;
    s.top = std::max(bottom, top) * s.scaleY;
    if (!Finite({s.scaleX, s.scaleY, s.left, s.right, s.bottom, s.top}) || !(s.scaleX > 0) || !(s.scaleY > 0))
        return false;
    s.pageWidth = PageSide(s.right - s.left);
    s.pageHeight = PageSide(s.top - s.bottom);
    DocSettings* settings = doc->settings;
    for (int i = 0; i < 8; ++i) {
        settings->penPrintWidths[i] = DeviceWidth(settings->penWidths[i], s.scaleX);
        settings->penPrintWidths2[i] = DeviceWidth(settings->penWidths[i], s.scaleY);
    }
    *scaling = s;
    return true;
}

namespace {

// One page of the area into a fork open for writing; the first write error comes back, so a full
// disk never passes for a written file.
OSErr DrawPDFPage(DocWindowRecord* doc, const PDFScaling& s, FSIORefNum fork) {
    CGRect box = CGRectMake(0, 0, s.pageWidth, s.pageHeight);
    CGContextRef ctx = CGPDFContextCreateWithFork(fork, &box);
    if (ctx == nullptr) return ioErr;
    CGContextBeginPage(ctx, &box);
    SetOutputTransform(doc, ctx, s.left, s.bottom, s.right, s.top, s.scaleX, s.scaleY, s.scaleX);
    OSErr err = DrawDrawingWithProgress(doc, 0, 100) ? OSErr(noErr) : OSErr(userCanceledErr);
    ClearOutputTransform(doc);
    CGContextEndPage(ctx);
    OSErr endErr = OSErr(CGContextRelease(ctx));
    return err != noErr ? err : endErr;
}

// The page as bytes for the clipboard, through a file of the private temporary folder (private to
// this user, so its plain name is safe).
OSErr PDFPageBytes(DocWindowRecord* doc, const PDFScaling& s, std::string* bytes) {
    FSRef temp;
    FSIORefNum fork = 0;
    temp.path[0] = 0;
    OSErr err = MakeTempFileSpec(&temp, "PDF");
    if (err == noErr) err = FSOpenFork(&temp, fsWrPerm | fsCreateMissing, &fork);
    if (err == noErr) {
        err = DrawPDFPage(doc, s, fork);
        OSErr closeErr = FSCloseFork(fork);
        if (err == noErr) err = closeErr;
    }
    if (err == noErr) {
        std::ifstream in(temp.path, std::ios::binary);
        bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (bytes->empty()) err = ioErr;
    }
    if (temp.path[0]) FSDeleteObject(&temp);
    return err;
}

} // namespace

OSErr DrawingToPDF(DocWindowRecord* doc, Boolean toClipboard, Float64 left, Float64 bottom, Float64 right,
                   Float64 top, const FSRef* file) {
    if (doc == nullptr || (!toClipboard && file == nullptr)) return paramErr;
    Float64 resX, resY;
    PDFScaling s;
    if (!SetupPDFScaling(doc, &resX, &resY, left, bottom, right, top, &s)) {
        ShowErrorStr128(kFlatAreaMessage);
        return paramErr;
    }
    Str255 title;
    GetAppString(kWritingPDFItem, title);
    ShowWatchCursor();
    OpenProgress(title);
    OSErr err = noErr;
    if (toClipboard) {
        std::string bytes;
        err = PDFPageBytes(doc, s, &bytes);
        if (err == noErr) {
            ClearCurrentScrap();
            PutScrapData(Size(bytes.size()), kScrapFlavorPDF, bytes.data());
        }
    } else {
        err = WriteFileSafely(file, [&](FSIORefNum fork) { return DrawPDFPage(doc, s, fork); });
    }
    CloseProgress();
    SetCursorById(0);
    return err;
}

void MakePreviewPicture(DocWindowRecord* doc, Float64 left, Float64 bottom, Float64 right, Float64 top,
                        Boolean markChanged) {
    Float64 width = std::fabs(right - left), height = std::fabs(top - bottom);
    // A flat area shows nothing, even made square.
    if (!(width > 0) || !(height > 0)) return;
    if (width > height) {
        Float64 grow = (width - height) / 2;
        bottom = std::min(bottom, top) - grow, top = bottom + width;
    } else {
        Float64 grow = (height - width) / 2;
        left = std::min(left, right) - grow, right = left + height;
    }
    // The preview's scaling leaves the document's pen tables as the last saved data say.
    DocSettings* settings = doc->settings;
    SInt16 keptWidths[2][8];
    std::copy(settings->penPrintWidths, settings->penPrintWidths + 8, keptWidths[0]);
    std::copy(settings->penPrintWidths2, settings->penPrintWidths2 + 8, keptWidths[1]);
    Float64 resX, resY;
    PDFScaling s;
    bool scaled = SetupPDFScaling(doc, &resX, &resY, left, bottom, right, top, &s);
    std::copy(keptWidths[0], keptWidths[0] + 8, settings->penPrintWidths);
    std::copy(keptWidths[1], keptWidths[1] + 8, settings->penPrintWidths2);
    if (!scaled) return;

    GWorldPtr world = nullptr;
    if (NewOffscreenGWorld(&world, kPreviewSide, kPreviewSide, 32, 0) != noErr) return;
    CGrafPtr keptPort;
    GetGWorld(&keptPort);
    SetGWorld(world);
    CGContextRef ctx = nullptr;
    QDBeginCGContext(world, &ctx);
    CGContextSetRGBFillColor(ctx, 1, 1, 1, 1);
    CGContextFillRect(ctx, CGRectMake(0, 0, kPreviewSide, kPreviewSide));
    // The output pass draws the square straight into the image, pens in pen colours. It batches its
    // strokes as the window does, with the level of detail: at this size most elements of a large
    // drawing are below a pixel.
    Float64 fit = kPreviewSide / std::max(s.right - s.left, s.top - s.bottom);
    Boolean keptColourMode = settings->colorByPen;
    settings->colorByPen = 1;
    SetOutputTransform(doc, ctx, s.left * fit, s.bottom * fit, s.right * fit, s.top * fit, s.scaleX * fit,
                       s.scaleY * fit, s.scaleX * fit);
    BeginStrokeBatching(doc, ctx);
    DrawDrawingWithProgress(doc, 0, 100);
    EndStrokeBatching();
    ClearOutputTransform(doc);
    settings->colorByPen = keptColourMode;
    QDEndCGContext(world, &ctx);
    SetGWorld(keptPort);

    SInt32 rowBytes = 0;
    const UInt32* pixels = GetGWorldPixels(world, &rowBytes);
    PicHandle picture = NewBitmapPicture(pixels, rowBytes, kPreviewSide, kPreviewSide);
    DisposeOffscreenGWorld(&world);
    if (picture == nullptr) return;
    DisposeHandle(doc->drawing->previewPicture);
    doc->drawing->previewPicture = picture;
    if (markChanged) MarkDocumentChanged(doc);
}

void RegisterPDFExport() {
    RegisterExporter(kSavePDF, ExportFromSavePanel);
}
