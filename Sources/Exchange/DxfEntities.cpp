// DXF entities and blocks: the entity head, one writer per element kind, the "*D" blocks of
// dimensions, the "*x" blocks of area hatching, one block per symbol definition and their names.
#include "Exchange/DxfWriter.h"
#include "Exchange/DxfWriterState.h"

#include "Model/Dimensions.h"
#include "Other/MathPrimitives.h"
#include "Model/PolylineGeometry.h"
#include "Model/Symbols.h"
#include "Model/DrawingUnits.h"
#include "Platform/MemoryManager.h"
#include "View/DimensionGeometry.h"
#include "View/Hatching.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr UInt16 kNoColour = 65535;
constexpr Float64 kHatchTolerance = 0.01;

template <typename T> T* FirstOf(T* head) {
    return head ? head->next : nullptr;
}

const char* const kLineTypeNames[] = {"CONTINUOUS", "DASHED", "CENTER", "PHANTOM", "DOT", "HIDDEN"};

UInt16 PenColourCode(SInt16 pen) {
    return pen < 0 ? kNoColour : UInt16(pen);
}

std::string LayerName(const DXFWriter& w, SInt16 layer) {
    SInt16 n = layer >= kLayerCount ? SInt16(kLayerCount - 1) : layer;
    if (n < 0 || size_t(n) >= w.layerNames.size() || w.layerNames[size_t(n)].empty()) return "0";
    return w.layerNames[size_t(n)];
}

void WriteLine(DXFWriter& w, Float64 x1, Float64 y1, Float64 x2, Float64 y2, SInt16 layer, SInt16 lineType,
               UInt16 colourCode, const RGBColor& colour, Boolean inBlock) {
    WriteDXFEntityHead(w, "LINE", layer, lineType, colourCode, colour, inBlock);
    if (w.Subclasses()) w.Str(100, "AcDbLine");
    w.Real(10, x1), w.Real(20, y1), w.Real(30, 0.0);
    w.Real(11, x2), w.Real(21, y2), w.Real(31, 0.0);
}

void WriteArc(DXFWriter& w, Float64 cx, Float64 cy, Float64 r, Float64 start, Float64 end, SInt16 layer,
              SInt16 lineType, UInt16 colourCode, const RGBColor& colour, Boolean inBlock) {
    Boolean circle = start == 0.0 && end == 360.0;
    WriteDXFEntityHead(w, circle ? "CIRCLE" : "ARC", layer, lineType, colourCode, colour, inBlock);
    if (w.Subclasses()) w.Str(100, "AcDbCircle");
    w.Real(10, cx), w.Real(20, cy), w.Real(30, 0.0), w.Real(40, r);
    if (circle) return;
    w.Real(50, start), w.Real(51, end);
}

void WriteText(DXFWriter& w, const TextRecord* t, Boolean inBlock) {
    WriteDXFEntityHead(w, "TEXT", t->layer, 1, PenColourCode(t->pen), t->penBlock.color, inBlock);
    if (w.Subclasses()) w.Str(100, "AcDbText");
    const Float64* c = t->corners; // insertion, along the baseline, opposite, above the insertion
    w.Real(10, c[0]), w.Real(20, c[1]), w.Real(30, 0.0), w.Real(40, t->textHeight), w.Real(41, 0.8);
    std::string text(reinterpret_cast<const char*>(t->text + 1), t->text[0]);
    w.Text(1, text);
    w.Real(50, t->angle), w.Real(51, t->slant);
    auto mid = [&](int a, int b, Float64* x, Float64* y) {
        *x = (c[2 * a] + c[2 * b]) / 2, *y = (c[2 * a + 1] + c[2 * b + 1]) / 2;
    };
    Float64 x = 0, y = 0;
    SInt16 h = -1, v = -1; // 72 and 73, -1 when not written
    switch (t->justification) {
    case 0:
        x = c[6], y = c[7], v = 3;
        break;
    case 1:
        mid(2, 3, &x, &y), h = 1, v = 3;
        break;
    case 2:
        x = c[4], y = c[5], h = 2, v = 3;
        break;
    case 3:
        mid(0, 3, &x, &y), v = 2;
        break;
    case 4:
        mid(0, 2, &x, &y), h = 1, v = 2;
        break;
    case 5:
        mid(1, 2, &x, &y), h = 2, v = 2;
        break;
    case 7:
        mid(0, 1, &x, &y), h = 1;
        break;
    case 8:
        x = c[2], y = c[3], h = 2;
        break;
    default:
        return; // 6 (left on the baseline) and unknown codes: placed by the insertion point
    }
    if (h >= 0) w.Int(72, h);
    w.Real(11, x), w.Real(21, y), w.Real(31, 0.0);
    if (v >= 0 && w.flavour == 1) w.Int(73, v);
}

// The stored points of a polyline, none when its handle is shorter than its count.
std::vector<Float64> StoredPoints(const PolylineRecord* p) {
    std::vector<Float64> xy;
    const Float64* pts = PolylinePoints(p);
    if (pts) xy.assign(pts, pts + 2 * p->pointCount);
    return xy;
}

// A polyline's vertices; vertex flags (one per vertex) only where given, and the curve type (75)
// of a spline-fit polyline where it is above 0.
void WriteVertexList(DXFWriter& w, const PolylineRecord* p, const std::vector<Float64>& xs,
                     const std::vector<Float64>& ys, SInt16 flags, Boolean inBlock,
                     const std::vector<SInt16>& vertexFlags = {}, SInt16 curveType = 0) {
    WriteDXFEntityHead(w, "POLYLINE", p->layer, p->lineType, PenColourCode(p->pen), p->penBlock.color,
                       inBlock);
    w.Int(66, 1);
    if (w.Subclasses()) w.Str(100, "AcDb2dPolyline");
    w.Real(10, 0.0), w.Real(20, 0.0), w.Real(30, 0.0);
    if (flags >= 0) w.Int(70, flags);
    if (curveType > 0) w.Int(75, curveType);
    for (size_t i = 0; i < xs.size(); ++i) {
        WriteDXFEntityHead(w, "VERTEX", p->layer, 1, PenColourCode(p->pen), p->penBlock.color, inBlock);
        if (w.Subclasses()) w.Str(100, "AcDbVertex");
        w.Real(10, xs[i]), w.Real(20, ys[i]), w.Real(30, 0.0);
        if (i < vertexFlags.size()) w.Int(70, vertexFlags[i]);
    }
    WriteDXFEntityHead(w, "SEQEND", -1, -1, kNoColour, RGBColor{0, 0, 0}, inBlock);
}

// R12's vertex flags of smooth polylines.
constexpr SInt16 kCurveFitExtra = 1, kSplineFitVertex = 8, kSplineFrame = 16;
constexpr SInt16 kPolylineCurveFit = 2, kPolylineSplineFit = 4;

// A B-spline as the SPLINE entity of the flavours with subclass markers.
void WriteSpline(DXFWriter& w, const PolylineRecord* p, int degree, const std::vector<Float64>& controls,
                 const std::vector<Float64>& knots, Boolean inBlock) {
    WriteDXFEntityHead(w, "SPLINE", p->layer, p->lineType, PenColourCode(p->pen), p->penBlock.color, inBlock);
    w.Str(100, "AcDbSpline");
    w.Int(70, 8); // planar
    w.Int(71, SInt16(degree)), w.Int(72, SInt16(knots.size())), w.Int(73, SInt16(controls.size() / 2));
    w.Int(74, 0);
    for (Float64 k : knots)
        w.Real(40, k);
    for (size_t i = 0; i + 1 < controls.size(); i += 2)
        w.Real(10, controls[i]), w.Real(20, controls[i + 1]), w.Real(30, 0.0);
}

// A spline (kind 1) or a curve (kind 2) in its true shape: as a SPLINE where the flavour has
// subclass markers; else a spline as a spline-fit polyline (its drawn points, then its frame) and a
// curve as a curve-fit polyline (its drawn points, those between its own points flagged as added).
// False when the curve is too long for either form.
Boolean WriteSmoothPolyline(DXFWriter& w, const PolylineRecord* p, Boolean inBlock) {
    std::vector<Float64> xy = StoredPoints(p), drawn, controls, knots;
    size_t n = xy.size() / 2;
    if (n < 2) return false;
    SmoothPolylinePoints(p, &drawn);
    int degree = 1;
    if (p->kind == kPolylineSpline) {
        degree = int(std::min<size_t>(3, n - 1));
        controls = xy;
        Float64 spans = Float64(n - size_t(degree));
        for (size_t i = 0; i < n + size_t(degree) + 1; ++i)
            knots.push_back(std::clamp(Float64(i) - degree, 0.0, spans));
    } else {
        std::vector<Float64> parameters;
        Boolean cubic = false;
        CurveBezierPieces(p, &controls, &parameters, &cubic);
        if (parameters.size() < 2) return false;
        degree = cubic ? 3 : 1;
        // Each piece a Bezier: its inner knots as often as the degree.
        for (size_t i = 0; i < parameters.size(); ++i)
            for (int r = 0; r < (i == 0 || i + 1 == parameters.size() ? degree + 1 : degree); ++r)
                knots.push_back(parameters[i]);
    }
    if (knots.size() > 32000 || drawn.size() / 2 + n > 32000) return false;
    if (w.Subclasses()) {
        WriteSpline(w, p, degree, controls, knots, inBlock);
        return true;
    }
    std::vector<Float64> xs, ys;
    std::vector<SInt16> flags;
    for (size_t i = 0; i + 1 < drawn.size(); i += 2)
        xs.push_back(drawn[i]), ys.push_back(drawn[i + 1]);
    if (p->kind == kPolylineSpline) {
        flags.assign(xs.size(), kSplineFitVertex);
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            xs.push_back(xy[i]), ys.push_back(xy[i + 1]), flags.push_back(kSplineFrame);
        WriteVertexList(w, p, xs, ys, kPolylineSplineFit, inBlock, flags, SInt16(degree == 3 ? 6 : 5));
    } else {
        // The drawn points run through the curve's own points every so many steps.
        size_t pieces = std::max<size_t>(1, (controls.size() / 2 - 1) / size_t(degree));
        size_t step = (xs.size() - 1) / pieces;
        for (size_t i = 0; i < xs.size(); ++i)
            flags.push_back(step > 0 && i % step == 0 ? 0 : kCurveFitExtra);
        WriteVertexList(w, p, xs, ys, kPolylineCurveFit, inBlock, flags);
    }
    return true;
}

void WritePolyline(DXFWriter& w, const PolylineRecord* p, Boolean inBlock) {
    std::vector<Float64> xy = StoredPoints(p);
    if ((p->kind == kPolylineSpline || p->kind == kPolylineCurve) && WriteSmoothPolyline(w, p, inBlock)) {
        w.Step();
    } else if (p->kind >= 0 && p->kind <= 9) {
        std::vector<Float64> xs, ys;
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            xs.push_back(xy[i]), ys.push_back(xy[i + 1]);
        SInt16 flags = p->kind == 2 ? 4 : p->kind <= 1 ? 0 : -1;
        WriteVertexList(w, p, xs, ys, flags, inBlock);
        w.Step();
    } else if (p->kind == kPolylineEllipse) {
        // The four corners of the turned box; start and end angles in the parameters.
        if (xy.size() >= 8) {
            std::vector<Float64> xs, ys;
            DXFEllipseVertices(xy.data(), p->params[0], p->params[1], &xs, &ys);
            WriteVertexList(w, p, xs, ys, 0, inBlock);
        }
        w.Step();
    } else if (p->kind == kPolylineRoundedRect && xy.size() >= 8) {
        Float64 sides[16], centres[8], rotation = 0, radius = 0;
        RoundedRectParts(xy.data(), p->params[0], sides, centres, &rotation, &radius);
        UInt16 colour = PenColourCode(p->pen);
        for (int k = 0; k < 4; ++k)
            WriteLine(w, sides[4 * k], sides[4 * k + 1], sides[4 * k + 2], sides[4 * k + 3], p->layer,
                      p->lineType, colour, p->penBlock.color, inBlock);
        if (radius > 0)
            for (int k = 0; k < 4; ++k)
                WriteArc(w, centres[2 * k], centres[2 * k + 1], radius,
                         NormalizeAngle(rotation + 180 + 90 * k), NormalizeAngle(rotation + 270 + 90 * k),
                         p->layer, p->lineType, colour, p->penBlock.color, inBlock);
    }
    // kind 10 (an embedded picture) and kinds from 13 on have no DXF form
}

// Without geometry (a record the view cannot draw) the measured points stand for the line.
void SetLineEnds(DimGeometry& g, const DimensionRecord* d) {
    g = DimGeometry{};
    g.line[0] = d->x1, g.line[1] = d->y1, g.line[2] = d->x2, g.line[3] = d->y2;
    g.textX = d->textX, g.textY = d->textY;
}

// A dimension's geometry: negative kinds are drawn as their positive ones (-1 and -2 as aligned).
Boolean GeometryOf(const DXFWriter& w, const DimensionRecord* d, DimensionRecord* copy, DimGeometry* g) {
    *copy = *d;
    copy->next = nullptr;
    if (d->kind == -1 || d->kind == -2)
        copy->kind = kDimAligned;
    else if (d->kind < 0)
        copy->kind = SInt16(-d->kind);
    return DimensionGeometry(copy, w.doc->settings, g);
}

// The points by role: the measured points P1 and P2, the ends D1 and D2 of the dimension line, the
// radius point Q (the drawn end of a radius line) and the leader end L (the foot of a point-line
// dimension).
struct DimensionRoles {
    Float64 p1x, p1y, p2x, p2y, d1x, d1y, d2x, d2y, qx, qy, lx, ly;
};
DimensionRoles RolesOf(const DimensionRecord* d, const DimGeometry& g) {
    return DimensionRoles{d->x1,     d->y1,     d->x2,     d->y2,     g.line[0], g.line[1],
                          g.line[2], g.line[3], g.line[2], g.line[3], g.line[2], g.line[3]};
}

std::string DimensionText(const DimensionRecord* d) {
    return std::string(reinterpret_cast<const char*>(d->text + 1), d->text[0]);
}

Float64 Direction(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    if (x1 == x2 && y1 == y2) return 0.0;
    return NormalizeAngle(std::atan2(y2 - y1, x2 - x1) / kDegreesToRadians);
}

void WritePoint(DXFWriter& w, Float64 x, Float64 y, UInt16 colour, const RGBColor& rgb) {
    WriteDXFEntityHead(w, "POINT", 0, -1, colour, rgb, true);
    if (w.Subclasses()) w.Str(100, "AcDbPoint");
    w.Real(10, x), w.Real(20, y), w.Real(30, 0.0);
}

void WriteSolid(DXFWriter& w, const Float64 t[6], UInt16 colour, const RGBColor& rgb) {
    WriteDXFEntityHead(w, "SOLID", 0, -1, colour, rgb, true);
    if (w.Subclasses()) w.Str(100, "AcDbTrace");
    const Float64 corners[8] = {t[0], t[1], t[2], t[3], t[4], t[5], t[4], t[5]};
    for (int k = 0; k < 4; ++k)
        w.Real(10 + k, corners[2 * k]), w.Real(20 + k, corners[2 * k + 1]);
    for (int k = 0; k < 4; ++k)
        w.Real(30 + k, 0.0);
}

void WriteBlockText(DXFWriter& w, const DimensionRecord* d, Float64 x, Float64 y, Float64 angle, Float64 cx,
                    Float64 cy) {
    UInt16 colour = PenColourCode(d->pen);
    WriteDXFEntityHead(w, "TEXT", 0, 1, colour, d->penBlock.color, true);
    if (w.Subclasses()) w.Str(100, "AcDbText");
    w.Real(10, x), w.Real(20, y), w.Real(30, 0.0), w.Real(40, d->textHeight), w.Real(41, 0.8);
    w.Text(1, DimensionText(d));
    w.Real(50, angle), w.Int(72, 1), w.Real(11, cx), w.Real(21, cy), w.Real(31, 0.0);
    if (w.flavour == 1) w.Int(73, 2);
}

// The exploded lines, arrowheads, text and definition points of a "*D" block.
void WriteDimensionGeometry(DXFWriter& w, const DimensionRecord* d) {
    DimensionRecord copy;
    DimGeometry g;
    if (!GeometryOf(w, d, &copy, &g)) return;
    DimensionRoles r = RolesOf(d, g);
    UInt16 colour = PenColourCode(d->pen);
    const RGBColor& rgb = d->penBlock.color;
    if (copy.kind == kDimPointLine) {
        Float64 mx = (r.d1x + r.lx) / 2, my = (r.d1y + r.ly) / 2;
        WriteLine(w, r.p1x, r.p1y, r.lx, r.ly, 0, -1, colour, rgb, true);
        WriteBlockText(w, d, r.d1x, r.d1y, Direction(r.d1x, r.d1y, r.lx, r.ly), mx, my);
        WritePoint(w, r.p1x, r.p1y, colour, rgb), WritePoint(w, mx, my, colour, rgb);
        WritePoint(w, r.p2x, r.p2y, colour, rgb);
        return;
    }
    for (int i = 0; i < 2; ++i)
        if (g.hasExtension[i])
            WriteLine(w, g.extension[i][0], g.extension[i][1], g.extension[i][2], g.extension[i][3], 0, -1,
                      colour, rgb, true);
    if (g.isArc)
        WriteArc(w, g.arcX, g.arcY, g.arcRadius, g.arcStart, g.arcEnd, 0, -1, colour, rgb, true);
    else
        WriteLine(w, g.line[0], g.line[1], g.line[2], g.line[3], 0, -1, colour, rgb, true);
    if (g.hasLeader)
        WriteLine(w, g.leader[0], g.leader[1], g.leader[2], g.leader[3], 0, -1, colour, rgb, true);
    for (int i = 0; i < 2; ++i) {
        const Float64* t = g.terminator[i];
        if (g.terminatorKind[i] == 0)
            WriteSolid(w, t, colour, rgb);
        else if (g.terminatorKind[i] == 2)
            WriteLine(w, t[2], t[3], t[4], t[5], 0, -1, colour, rgb, true);
    }
    // The text is centred on its frame.
    Float64 dx = g.textX - d->textX, dy = g.textY - d->textY;
    Float64 cx = (d->textX + d->frame[0] + d->frame[2] + d->frame[4]) / 4 + dx;
    Float64 cy = (d->textY + d->frame[1] + d->frame[3] + d->frame[5]) / 4 + dy;
    WriteBlockText(w, d, g.textX, g.textY, g.textAngle, cx, cy);
    WritePoint(w, r.p1x, r.p1y, colour, rgb), WritePoint(w, r.p2x, r.p2y, colour, rgb);
    if (copy.kind == kDimAngle) WritePoint(w, d->auxX, d->auxY, colour, rgb);
    WritePoint(w, r.d2x, r.d2y, colour, rgb);
}

void WriteDimension(DXFWriter& w, const DimensionRecord* d, Boolean inBlock) {
    DimensionRecord copy;
    DimGeometry g;
    Boolean drawn = GeometryOf(w, d, &copy, &g);
    if (!drawn) SetLineEnds(g, d);
    SInt16 kind = copy.kind;
    Boolean negativeAligned = d->kind == -1 || d->kind == -2;
    DimensionRoles r = RolesOf(d, g);
    WriteDXFEntityHead(w, "DIMENSION", d->layer, 1, PenColourCode(d->pen), d->penBlock.color, inBlock);
    if (w.Subclasses()) w.Str(100, "AcDbDimension");
    w.Str(2, "*D" + std::to_string(w.dimensionBlocks++));
    if (w.flavour == 1) w.Str(3, "Standard");
    Float64 tx = kind == kDimPointLine ? (r.d1x + r.lx) / 2 : (r.d1x + r.d2x) / 2;
    Float64 ty = kind == kDimPointLine ? (r.d1y + r.ly) / 2 : (r.d1y + r.d2y) / 2;
    auto point = [&](int code, Float64 x, Float64 y) { w.Real(code, x), w.Real(code + 10, y); };
    // The common part first, under its own subclass where the flavour has them, then the kind's.
    auto head = [&](Float64 x, Float64 y, SInt16 flags, const char* subclass) {
        point(10, x, y), w.Real(30, 0.0), point(11, tx, ty), w.Real(31, 0.0);
        w.Int(70, flags);
        w.Text(1, DimensionText(d));
        if (w.Subclasses() && subclass) w.Str(100, subclass);
    };
    switch (kind) {
    case kDimHorizontal:
    case kDimVertical:
    case kDimAligned: {
        Float64 x = kind == kDimVertical ? r.d1x : r.p2x;
        Float64 y = kind == kDimHorizontal ? r.d2y : kind == kDimVertical ? r.p2y : r.d1y;
        SInt16 flags = SInt16(negativeAligned ? 0 : kind == kDimAligned ? 1 : 0);
        head(x, y, flags, "AcDbAlignedDimension");
        point(13, r.p1x, r.p1y), point(14, r.p2x, r.p2y);
        // A rotated dimension (type 0) gives its angle under a subclass of its own.
        if (w.Subclasses() && flags == 0) w.Str(100, "AcDbRotatedDimension");
        w.Real(50, kind == kDimHorizontal ? 0.0
                   : kind == kDimVertical ? 90.0
                                          : Direction(r.p1x, r.p1y, r.p2x, r.p2y));
        break;
    }
    case kDimDiameter:
        head(r.p1x, r.p1y, 3, "AcDbDiametricDimension");
        point(15, r.p2x, r.p2y), w.Real(35, 0.0);
        w.Real(40, std::hypot(g.textX - r.p2x, g.textY - r.p2y));
        break;
    case kDimRadius:
        head(r.p2x, r.p2y, 4, "AcDbRadialDimension");
        point(15, r.p1x, r.p1y), w.Real(35, 0.0), w.Real(40, std::hypot(r.qx - r.p2x, r.qy - r.p2y));
        break;
    case kDimAngle:
        // The first line from 13 to 14, the second from 10 to 15, the arc through 16.
        head(r.p2x, r.p2y, 2, "AcDb2LineAngularDimension");
        point(13, d->auxX, d->auxY), point(14, r.p1x, r.p1y), point(15, d->auxX, d->auxY);
        point(16, r.d1x, r.d1y);
        break;
    default:
        head(r.p2x, r.p2y, SInt16(r.d1y == r.ly ? 6 : 70), "AcDbOrdinateDimension");
        point(13, r.p1x, r.p1y), point(14, r.d1x, r.d1y);
        break;
    }
}

void WriteBlockStart(DXFWriter& w, const std::string& name, SInt16 flags, const std::string& flavourOneName) {
    w.Str(0, "BLOCK");
    w.Str(8, "0");
    w.Str(2, name), w.Int(70, flags), w.Real(10, 0.0), w.Real(20, 0.0), w.Real(30, 0.0);
    if (w.flavour == 1) w.Str(3, flavourOneName);
}

void WriteBlockEnd(DXFWriter& w) {
    w.Str(0, "ENDBLK");
    w.Str(8, "0");
}

void WriteDimensionBlocks(DXFWriter& w, DimensionRecord* list) {
    for (DimensionRecord* d = list; d; d = d->next) {
        if (!DXFWritesDimension(d)) continue;
        WriteBlockStart(w, "*D" + std::to_string(w.dimensionBlocks++), 65, "*D");
        WriteDimensionGeometry(w, d);
        WriteBlockEnd(w);
    }
}

struct HatchContext {
    DXFWriter* w;
    const AreaRecord* area;
};

void HatchSegment(void* context, Float64 x1, Float64 y1, Float64 x2, Float64 y2, void*) {
    auto* h = static_cast<HatchContext*>(context);
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return;
    WriteLine(*h->w, x1, y1, x2, y2, h->area->layer, 1, PenColourCode(h->area->pen), h->area->penBlock.color,
              false);
}

void WriteAreaBlocks(DXFWriter& w, AreaRecord* list) {
    for (AreaRecord* a = list; a; a = a->next) {
        WriteBlockStart(w, "*x" + std::to_string(w.areaBlocks++), 65, "*x");
        HatchContext context{&w, a};
        HatchArea(a, kHatchTolerance, nullptr, &context, nullptr, HatchSegment);
        WriteBlockEnd(w);
    }
}

void WriteAreaInsert(DXFWriter& w, const AreaRecord* a, Boolean inBlock) {
    WriteDXFEntityHead(w, "INSERT", a->layer, -1, kNoColour, a->penBlock.color, inBlock);
    w.Str(2, "*x" + std::to_string(w.areaBlocks++));
    w.Real(10, 0.0), w.Real(20, 0.0), w.Real(30, 0.0);
    Float64 perUnit = UnitToMillimetres(w.doc);
    Float64 scale = a->scaleFactor / perUnit;
    if (!std::isfinite(scale) || scale <= 0) scale = 1.0;
    w.Real(41, scale), w.Real(42, scale), w.Real(43, 1.0), w.Real(50, 0.0);
}

const std::string* BlockNameOf(const DXFWriter& w, const SymbolDefRecord* def) {
    for (const DXFBlockName& b : w.blockNames)
        if (b.definition == def) return &b.dxfName;
    return nullptr;
}

void WriteInstance(DXFWriter& w, const SymbolInstanceRecord* s, Boolean inBlock) {
    const std::string* name = BlockNameOf(w, s->definition);
    if (!name) return;
    SymbolTransform t;
    LoadSymbolTransform(w.doc, s, &t);
    WriteDXFEntityHead(w, "INSERT", s->layer, -1, kNoColour, RGBColor{0, 0, 0}, inBlock);
    w.Str(2, *name);
    w.Real(10, t.x), w.Real(20, t.y), w.Real(30, 0.0);
    w.Real(41, t.scaleX), w.Real(42, t.scaleY), w.Real(43, 1.0), w.Real(50, t.angle);
}

} // namespace

Boolean DXFWritesDimension(const DimensionRecord* d) {
    return d->kind >= -6 && d->kind <= 6;
}

void WriteDXFEntityHead(DXFWriter& w, const char* name, SInt16 layer, SInt16 lineType, UInt16 colourCode,
                        const RGBColor& colour, Boolean inBlock) {
    w.Str(0, name);
    if (w.Subclasses()) w.Str(100, "AcDbEntity");
    if (layer >= 0) w.Str(8, inBlock ? std::string("0") : LayerName(w, layer));
    if (lineType >= 1 && lineType <= 6) w.Str(6, kLineTypeNames[lineType - 1]);
    // The colour the element shows: its own where the drawing colours by element and it has a pen,
    // as the nearest colour number (never the pen's number, which names another colour); else the
    // layer's, which the layer table gives.
    if (w.colourByElement && colourCode >= 1 && colourCode < kNoColour) {
        w.Int(62, RGBToACI(w.palette, colour));
        // The flavours of the newer readers also carry the colour itself, which the number only nears.
        if (w.Subclasses())
            w.Str(420, std::to_string((SInt32(colour.red >> 8) << 16) | (SInt32(colour.green >> 8) << 8) |
                                      SInt32(colour.blue >> 8)));
    }
    w.Real(39, 5.0);
}

void DXFEllipseVertices(const Float64 c[8], Float64 startDeg, Float64 endDeg, std::vector<Float64>* xs,
                        std::vector<Float64>* ys) {
    xs->clear(), ys->clear();
    Float64 r = std::atan2(c[3] - c[1], c[2] - c[0]);
    Float64 a = std::hypot(c[2] - c[0], c[3] - c[1]) / 2, b = std::hypot(c[4] - c[2], c[5] - c[3]) / 2;
    Float64 cx = (c[0] + c[2] + c[4] + c[6]) / 4, cy = (c[1] + c[3] + c[5] + c[7]) / 4;
    if (!std::isfinite(startDeg) || !std::isfinite(endDeg)) return;
    // As the ellipse is drawn: no sweep, or a whole turn or more, is the whole ellipse.
    Float64 sweep = endDeg - startDeg;
    if (sweep == 0 || sweep >= 360.0) {
        sweep = 360.0;
    } else {
        sweep = std::fmod(sweep, 360.0);
        if (sweep < 0) sweep += 360.0;
    }
    long n = std::max(1L, std::lround(sweep * 2));
    Float64 step = sweep / Float64(n);
    Float64 cr = std::cos(r), sr = std::sin(r);
    for (long i = 0; i <= n; ++i) {
        Float64 t = (startDeg + Float64(i) * step) * kDegreesToRadians;
        Float64 u = a * std::cos(t), v = b * std::sin(t);
        // turned by +r, as the box's first side runs
        xs->push_back(cx + u * cr - v * sr);
        ys->push_back(cy + u * sr + v * cr);
    }
}

void MakeDXFBlockNames(DXFWriter& w) {
    w.blockNames.clear();
    std::vector<std::string> taken;
    for (SymbolDefRecord* d = w.doc->symbolDefHead ? w.doc->symbolDefHead->next : nullptr; d; d = d->next) {
        std::string name(reinterpret_cast<const char*>(d->name + 1), std::min<size_t>(d->name[0], 19));
        if (!name.empty() && name[0] == '*')
            name[0] = name.size() > 1 && name[1] == 'D' ? 'D' : name.size() > 1 && name[1] == 'x' ? 'x' : 'S';
        name = SanitizeDXFName(name);
        if (name.size() > 8) name.resize(8);
        if (name.empty()) name = "SYMBOL";
        for (int n = 1; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n) {
            std::string digits = std::to_string(n);
            std::string stem = name;
            stem.erase(stem.size() - std::min(stem.size(), digits.size()));
            if (stem.size() + digits.size() > 8) stem.erase(8 - digits.size());
            std::string next = stem + digits;
            if (std::find(taken.begin(), taken.end(), next) == taken.end()) {
                name = next;
                break;
            }
        }
        taken.push_back(name);
        w.blockNames.push_back(DXFBlockName{name, d});
    }
}

void WriteDXFBlocks(DXFWriter& w) {
    MakeDXFBlockNames(w);
    SymbolDefRecord* first = w.doc->symbolDefHead ? w.doc->symbolDefHead->next : nullptr;
    w.dimensionBlocks = 0, w.areaBlocks = 0;
    for (SymbolDefRecord* d = first; d; d = d->next)
        WriteDimensionBlocks(w, FirstOf(d->dimensionHead));
    WriteDimensionBlocks(w, w.doc->dimensionHead->next);
    for (SymbolDefRecord* d = first; d; d = d->next)
        WriteAreaBlocks(w, FirstOf(d->areaHead));
    WriteAreaBlocks(w, w.doc->areaHead->next);
    w.dimensionBlocks = 0, w.areaBlocks = 0;
    for (size_t i = 0; i < w.blockNames.size(); ++i) {
        const SymbolDefRecord* d = w.blockNames[i].definition;
        WriteBlockStart(w, w.blockNames[i].dxfName, 0, w.blockNames[i].dxfName);
        WriteDXFElements(w, FirstOf(d->lineHead), FirstOf(d->arcHead), FirstOf(d->textHead),
                         FirstOf(d->dimensionHead), FirstOf(d->polylineHead), FirstOf(d->areaHead), nullptr,
                         true);
        WriteBlockEnd(w);
    }
}

void WriteDXFElements(DXFWriter& w, LineRecord* lines, ArcRecord* arcs, TextRecord* texts,
                      DimensionRecord* dimensions, PolylineRecord* polylines, AreaRecord* areas,
                      SymbolInstanceRecord* instances, Boolean inBlock) {
    for (LineRecord* e = lines; e; e = e->next) {
        WriteLine(w, e->x1, e->y1, e->x2, e->y2, e->layer, e->lineType, PenColourCode(e->pen),
                  e->penBlock.color, inBlock);
        w.Step();
    }
    for (ArcRecord* e = arcs; e; e = e->next) {
        WriteArc(w, e->cx, e->cy, e->radius, e->startAngle, e->endAngle, e->layer, e->lineType,
                 PenColourCode(e->pen), e->penBlock.color, inBlock);
        w.Step();
    }
    for (TextRecord* e = texts; e; e = e->next) {
        WriteText(w, e, inBlock);
        w.Step(2);
    }
    for (PolylineRecord* e = polylines; e; e = e->next)
        WritePolyline(w, e, inBlock);
    for (DimensionRecord* e = dimensions; e; e = e->next) {
        if (DXFWritesDimension(e)) WriteDimension(w, e, inBlock);
        w.Step();
    }
    for (AreaRecord* e = areas; e; e = e->next) {
        WriteAreaInsert(w, e, inBlock);
        w.Step();
    }
    for (SymbolInstanceRecord* e = instances; e; e = e->next) {
        WriteInstance(w, e, inBlock);
        w.Step();
    }
}
