// Prints the elements of a native drawing file as the program reads it, one per line, so the desktop
// tests can check what a session saved: "line x1 y1 x2 y2", "arc cx cy r start end", "text x y",
// "dimension x1 y1 x2 y2", "polyline points", "polyline-points kind x1 y1 ...", "polyline-shape kind
// locked x1 y1 ...", "area minX minY maxX maxY" and "area-fill kind value holes", "instance x y",
// "saved-view name x1 y1 x2 y2" and "window-view originX originY unitsPerPixel" (the view at the save, beside
// saved views or with --view), and with --layers first also "layer-name n name", "layer-hidden n" and
// "layer-set name"; with --texts also "text-utf8 hex" after each text, its string's bytes in hexadecimal; and
// a "settings scale unit snapMode paperFormat" line; numbers are printed in full, so equal coordinates print
// equal. Exit 0 when the file was read, 2 when the program refuses it, 1 on bad usage.
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"

#include <cstdio>
#include <cstring>

namespace {

template <class T, class F> void Each(const T* head, F print) {
    for (const T* e = head ? head->next : nullptr; e != nullptr; e = e->next)
        print(*e);
}

} // namespace

int main(int argc, char** argv) {
    bool layers = false, texts = false, view = false;
    for (; argc > 2 && argv[1][0] == '-'; --argc, ++argv) {
        layers = layers || std::strcmp(argv[1], "--layers") == 0;
        texts = texts || std::strcmp(argv[1], "--texts") == 0;
        view = view || std::strcmp(argv[1], "--view") == 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [--layers] [--texts] [--view] drawing-file\n", argv[0]);
        return 1;
    }
    FSRef ref{};
    if (FSMakeRef(argv[1], &ref) != noErr) {
        std::fprintf(stderr, "%s: no such file\n", argv[1]);
        return 2;
    }
    DocWindowRecord* doc = nullptr;
    if (!OpenDocument(&doc, &ref, false, -1, 0, 0) || doc == nullptr) {
        std::fprintf(stderr, "%s: not read\n", argv[1]);
        return 2;
    }
    Each(doc->lineHead, [](const LineRecord& e) {
        std::printf("line %.17g %.17g %.17g %.17g\n", e.x1, e.y1, e.x2, e.y2);
        std::printf("line-attributes %d %d %d %d\n", e.pen, e.lineType, e.layer, e.group);
    });
    Each(doc->arcHead, [](const ArcRecord& e) {
        std::printf("arc %.17g %.17g %.17g %.17g %.17g\n", e.cx, e.cy, e.radius, e.startAngle, e.endAngle);
    });
    Each(doc->textHead, [texts](const TextRecord& e) {
        std::printf("text %.17g %.17g\n", e.x, e.y);
        if (!texts) return;
        std::printf("text-utf8 ");
        for (int i = 1; i <= e.text[0]; ++i)
            std::printf("%02x", e.text[i]);
        std::printf("\n");
    });
    Each(doc->dimensionHead, [](const DimensionRecord& e) {
        std::printf("dimension %.17g %.17g %.17g %.17g\n", e.x1, e.y1, e.x2, e.y2);
    });
    Each(doc->polylineHead, [](const PolylineRecord& e) {
        std::printf("polyline %d\n", e.pointCount);
        const Float64* xy = e.points != nullptr ? reinterpret_cast<const Float64*>(*e.points) : nullptr;
        for (bool shape : {false, true}) {
            std::printf("%s %d", shape ? "polyline-shape" : "polyline-points", e.kind);
            if (shape) std::printf(" %d", (UInt16(e.penBlock.penFlags) & kPenFlagDimmed) != 0);
            for (SInt16 i = 0; xy != nullptr && i < e.pointCount; ++i)
                std::printf(" %.17g %.17g", xy[2 * i], xy[2 * i + 1]);
            std::printf("\n");
        }
    });
    Each(doc->areaHead, [](const AreaRecord& e) {
        std::printf("area %.17g %.17g %.17g %.17g\n", e.minX, e.minY, e.maxX, e.maxY);
        std::printf("area-fill %d %.17g %d\n", e.fillKind, e.hatchSpacing, e.lastHoleIndex + 1);
    });
    Each(doc->instanceHead,
         [](const SymbolInstanceRecord& e) { std::printf("instance %.17g %.17g\n", e.x, e.y); });
    for (SInt16 i = 0; i < doc->imageCount; ++i) {
        const ImageRecord& e = doc->images[i];
        std::printf("image %.17g %.17g %d %d\n", e.x, e.y, int(e.width), int(e.height));
    }
    for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
        std::printf("saved-view %.*s %.17g %.17g %.17g %.17g\n", v->name[0], v->name + 1, v->rect[0],
                    v->rect[1], v->rect[2], v->rect[3]);
    const DocSettings* s = doc->settings;
    if (doc->drawing->savedViews != nullptr || view)
        std::printf("window-view %.17g %.17g %.17g\n", s->savedOriginX, s->savedOriginY,
                    s->savedUnitsPerPixel);
    std::printf("settings %.17g %d %d %d\n", s->drawingScale, s->unitCode, s->snapMode, s->paperFormat);
    // The layers named or hidden, and the layer sets by name (names without blanks print as words).
    for (SInt16 n = 0; layers && n < kLayerCount; ++n) {
        const unsigned char* name = doc->layerNames->names[n];
        if (name[0] != 0)
            std::printf("layer-name %d %.*s\n", n, int(name[0]), reinterpret_cast<const char*>(name + 1));
        if (!IsLayerVisible(doc->layerVisible, n)) std::printf("layer-hidden %d\n", n);
    }
    for (const LayerSetRecord* s = layers ? doc->drawing->layerSets : nullptr; s != nullptr; s = s->next)
        std::printf("layer-set %.*s\n", int(s->name[0]), reinterpret_cast<const char*>(s->name + 1));
    while (OpenDocumentList != nullptr)
        DisposeDocumentRecords(OpenDocumentList);
    return 0;
}
