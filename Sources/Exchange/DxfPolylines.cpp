// Polyline elements of the DXF reader, made through the model's point buffer.
#include "Exchange/DxfPolylines.h"

#include "Model/Polylines.h"

Boolean MakeDxfPolyline(DocWindowRecord* doc, const std::vector<Float64>& xy, SInt16 kind, Float64 a1,
                        Float64 a2) {
    ToolInputState& in = doc->drawing->toolInput;
    Float64 savedX = in.cursorX, savedY = in.cursorY;
    EmptyTempPoints(doc);
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        in.cursorX = xy[i], in.cursorY = xy[i + 1];
        if (!AppendTempPoint(doc)) break; // the points the buffer took are kept
    }
    in.cursorX = savedX, in.cursorY = savedY;
    PolylineRecord* made = nullptr;
    return BuildPolylineFromPoints(doc, &made, kind, false, a1, a2);
}
