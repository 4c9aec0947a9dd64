// Moving an area's contours and a raster image as a whole.
#include "View/ElementMoves.h"

#include "Model/DocumentRecords.h"
#include "Model/SpatialIndex.h"
#include "Platform/MemoryManager.h"
#include "Tools/DragTracking.h"
#include "View/RasterImages.h"

#include <algorithm>
#include <cmath>

namespace {

// An ellipse contour (negative index) holds its centre first and its radii second: only the centre
// moves.
void MoveOutline(Handle outline, Float64 dx, Float64 dy) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    SInt16 last = OutlineLastIndex(outline);
    Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    Size count = std::min(room, last < 0 ? Size(1) : Size(last) + 1);
    Float64* p = OutlinePoints(outline);
    for (Size i = 0; i < count; ++i)
        p[2 * i] += dx, p[2 * i + 1] += dy;
}

} // namespace

void MoveAreaElement(AreaRecord* area, DocWindowRecord* doc, Float64 dx, Float64 dy) {
    if (area == nullptr || !std::isfinite(dx) || !std::isfinite(dy)) return;
    if (doc != nullptr) SpatialIndexChanged(doc, kAreaElement, area);
    MoveOutline(area->outline, dx, dy);
    if (area->holes != nullptr && area->lastHoleIndex >= 0) {
        Size holes =
            std::min(Size(area->lastHoleIndex) + 1, GetHandleSize(area->holes) / Size(sizeof(Handle)));
        for (Size i = 0; i < holes; ++i)
            MoveOutline(reinterpret_cast<Handle*>(*area->holes)[i], dx, dy);
    }
    area->minX += dx, area->maxX += dx;
    area->minY += dy, area->maxY += dy;
    if (doc != nullptr) SpatialIndexChanged(doc, kAreaElement, area);
}

Boolean DragImage(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr || doc->drawing == nullptr || !doc->settings->imagesShown)
        return false;
    Float64 x, y;
    MouseInDrawing(doc, &x, &y);
    // The image drawn last lies on top.
    for (SInt16 i = SInt16(std::min<SInt16>(doc->imageCount, kMaxImages) - 1); i >= 0; --i) {
        ImageRecord& image = doc->images[i];
        Float64 box[4];
        if (!RasterImageRect(&image, box) || x < box[0] || x > box[2] || y < box[1] || y > box[3]) continue;
        const Float64 x0 = box[0], y0 = box[1];
        if (!TrackBoxMove(doc, box, false)) return false;
        const Float64 nx = image.x + (box[0] - x0), ny = image.y + (box[1] - y0);
        if (!std::isfinite(nx) || !std::isfinite(ny) || (nx == image.x && ny == image.y)) return false;
        image.x = nx, image.y = ny;
        MarkDocumentChanged(doc);
        RequestRedraw(doc);
        return true;
    }
    return false;
}
