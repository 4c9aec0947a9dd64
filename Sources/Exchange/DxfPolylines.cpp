// Polyline elements of the DXF reader. The model's point buffer and BuildPolylineFromPoints are on
// their way; until they are here the record is made directly, as they will make it.
#include "Exchange/DxfPolylines.h"

#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/SpatialIndex.h"
#include "Platform/MemoryManager.h"

#include <cstring>
#include <new>

Boolean MakeDxfPolyline(DocWindowRecord* doc, const std::vector<Float64>& xy, SInt16 kind, Float64 a1,
                        Float64 a2) {
    std::vector<Float64> kept;
    try {
        kept.reserve(xy.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        if (kept.size() >= 2 && kept[kept.size() - 2] == xy[i] && kept.back() == xy[i + 1]) continue;
        kept.push_back(xy[i]), kept.push_back(xy[i + 1]);
    }
    if (kept.empty() || kept.size() / 2 > 32767) return false;
    Handle points = NewHandle(Size(kept.size() * sizeof(Float64)));
    if (points == nullptr) return false;
    std::memcpy(*points, kept.data(), kept.size() * sizeof(Float64));
    // The cursor saves a walk of the whole list for every polyline of a large file.
    PolylineRecord*& last = doc->drawing->cursors.polylineCursor;
    if (last == nullptr || last->next != nullptr) LastPolyline(doc, &last);
    PolylineRecord* polyline = NewPolylineElement(doc, &last->next);
    if (polyline == nullptr) {
        DisposeHandle(points);
        return false;
    }
    const DocSettings* s = doc->settings;
    polyline->group = s->currentGroup;
    polyline->layer = s->currentLayer;
    polyline->pen = s->currentPen;
    polyline->lineType = s->currentLineType;
    polyline->kind = kind;
    polyline->optionColor = s->currentColor;
    if (kind == kPolylineEllipse) polyline->params[0] = a1, polyline->params[1] = a2;
    polyline->pictureWord = 0;
    polyline->pointCount = SInt16(kept.size() / 2);
    polyline->points = points;
    last = polyline;
    MarkDocumentChanged(doc);
    return true;
}
