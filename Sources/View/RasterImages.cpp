// Raster images: drawing through the current context, import through the image readers, removal.
#include "View/OutputDevice.h"
#include "View/RasterImages.h"

#include "Other/Alerts.h"
#include "Platform/CGContext.h"
#include "Platform/FileChoosers.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr Float64 kMillimetresPerInch = 25.4;
constexpr Float64 kDefaultResolution = 72.0;

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

Boolean RasterImageRect(const ImageRecord* image, Float64 box[4]) {
    if (image->width <= 0 || image->height <= 0 || !(image->resolution > 0) || !std::isfinite(image->x) ||
        !std::isfinite(image->y))
        return false;
    Float64 perPixel = kMillimetresPerInch / image->resolution;
    box[0] = image->x;
    box[1] = image->y;
    box[2] = image->x + image->width * perPixel;
    box[3] = image->y + image->height * perPixel;
    return std::isfinite(box[2]) && std::isfinite(box[3]);
}

void DrawRasterImage(DocWindowRecord* doc, SInt16 index) {
    if (index < 0 || index >= doc->imageCount || index >= kMaxImages) return;
    const ImageRecord* image = &doc->images[index];
    DrawingRecord* d = doc->drawing;
    if (PlotTarget(doc) != nullptr || image->pixels == nullptr) return;
    if (d->output.outputContext == nullptr && !doc->settings->imagesShown) return;
    Float64 box[4];
    if (!RasterImageRect(image, box) || !WorldBoxVisible(doc, box[0], box[1], box[2], box[3])) return;
    Float64 x0, y0, x1, y1;
    WorldToView(doc, box[0], box[1], nullptr, nullptr, &x0, &y0);
    WorldToView(doc, box[2], box[3], nullptr, nullptr, &x1, &y1);
    CGRect rect = CGRectMake(std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0));
    if (!(rect.size.width > 0) || !(rect.size.height > 0)) return;
    CGImageRef pixels = CGImageCreateWithARGBBytes(reinterpret_cast<const UInt8*>(*image->pixels),
                                                   size_t(GetHandleSize(image->pixels)), size_t(image->width),
                                                   size_t(image->height), size_t(image->bytesPerRow));
    if (pixels == nullptr) return;
    DrawingContextScope scope(doc);
    if (scope.get()) CGContextDrawImage(scope.get(), rect, pixels);
    CGImageRelease(pixels);
}

ImageImport ImportImageFile(DocWindowRecord* doc, const char* utf8Path, Float64 x, Float64 y) {
    if (doc->imageCount >= kMaxImages) return ImageImport::full;
    CGImageRef read = CGImageCreateWithFile(utf8Path);
    if (read == nullptr) return ImageImport::unreadable;
    size_t width = CGImageGetWidth(read), height = CGImageGetHeight(read);
    Size bytes = Size(width) * Size(height) * 4;
    if (width == 0 || height == 0 || width > 32767 || height > 32767) {
        CGImageRelease(read);
        return ImageImport::unreadable;
    }
    Handle pixels = NewHandle(bytes);
    if (pixels == nullptr) {
        CGImageRelease(read);
        return ImageImport::noMemory;
    }
    if (!CGImageCopyARGBBytes(read, reinterpret_cast<UInt8*>(*pixels), size_t(bytes))) {
        DisposeHandle(pixels);
        CGImageRelease(read);
        return ImageImport::unreadable;
    }
    CGFloat dpiX = kDefaultResolution, dpiY = kDefaultResolution;
    CGImageGetResolution(read, &dpiX, &dpiY);
    CGImageRelease(read);

    ImageRecord& image = doc->images[doc->imageCount < 0 ? 0 : doc->imageCount];
    std::memset(&image, 0, sizeof image);
    image.x = x;
    image.y = y;
    image.resolution = dpiX > 0 ? dpiX : kDefaultResolution;
    UTF8ToPStr(FileNameOf(utf8Path), image.fileName, 255);
    image.pixels = pixels;
    image.bytesPerRow = SInt32(width * 4);
    image.width = SInt32(width);
    image.height = SInt32(height);
    doc->imageCount = SInt16((doc->imageCount < 0 ? 0 : doc->imageCount) + 1);
    doc->settings->imagesShown = 1;
    MarkDocumentChanged(doc);
    RequestRedraw(doc);
    return ImageImport::imported;
}

void ImportImage(DocWindowRecord* doc) {
    if (doc->imageCount >= kMaxImages) {
        const Str255 empty = {0};
        ShowErrorAlert(kImagesFullMessage, empty);
        return;
    }
    OpenPanelRequest request;
    std::string path;
    if (!RunOpenPanel(request, &path)) return;
    Float64 minX = 0, minY = 0, maxX = 0, maxY = 0;
    VisibleWorldRect(doc, &minX, &minY, &maxX, &maxY);
    Float64 x = std::isfinite(minX + maxX) ? (minX + maxX) / 2 : 0.0;
    Float64 y = std::isfinite(minY + maxY) ? (minY + maxY) / 2 : 0.0;
    ImageImport result = ImportImageFile(doc, path.c_str(), x, y);
    if (result == ImageImport::imported) return;
    if (result == ImageImport::noMemory) {
        ShowOutOfMemoryAlert();
        return;
    }
    Str255 name;
    UTF8ToPStr(FileNameOf(path), name, 255);
    ShowErrorAlert(result == ImageImport::full ? kImagesFullMessage : kImageUnreadableMessage, name);
}

void DeleteImage(DocWindowRecord* doc, SInt16 n) {
    if (n < 1 || n > doc->imageCount || n > kMaxImages) return;
    const Str255 empty = {0};
    if (!AskConfirm(kDeleteImageQuestion, doc->images[n - 1].fileName, empty)) return;
    DisposeHandle(doc->images[n - 1].pixels);
    for (SInt16 i = n; i < doc->imageCount && i < kMaxImages; ++i)
        doc->images[i - 1] = doc->images[i];
    --doc->imageCount;
    std::memset(&doc->images[doc->imageCount], 0, sizeof(ImageRecord));
    MarkDocumentChanged(doc);
    RequestRedraw(doc);
}
