// The ENTITIES section of a DXF file: the section loop and the readers of the geometric entities
// (lines, rays, construction lines, circles, arcs, splines, ellipses, polylines with their vertices,
// light-weight polylines, traces, solids and hatches), and the kinds that are noted and dropped.
#include "Exchange/DxfPolylines.h"
#include "Exchange/DxfReaderContext.h"

#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Interface/ProgressWindow.h"
#include "Model/SharedUtilities.h"
#include "Tools/AreaOutlines.h"

#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr Float64 kHatchSpacing = 5.0, kHatchAngle = 45.0;
constexpr SInt16 kSingleHatch = -2;
constexpr SInt16 kEntitiesLogText = 174;

// The object's pairs; false when it was cut off by the end of the file or holds a value that is no
// number: such an element is not made.
bool ReadWhole(DXFReaderContext& ctx, const DxfObjectOptions& options = {}) {
    return ReadDXFObject(ctx, options) && !ctx.nonFinite;
}

Float64 X(const DXFReaderContext& ctx, SInt16 code) {
    return DxfReal(ctx, code);
}

// The whole of [0, 360).
Float64 Reduced(Float64 degrees) {
    return NormalizeAngle(degrees);
}

void ReadLine(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    AppendLineAtCursor(ctx.doc, X(ctx, 10), X(ctx, 20), X(ctx, 11), X(ctx, 21), false);
}

// A ray runs on beyond its far point, whichever end the line keeps first.
void ReadRay(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    Float64 x = X(ctx, 10), y = X(ctx, 20);
    LineRecord* line = AppendLineAtCursor(ctx.doc, x, y, x + X(ctx, 11), y + X(ctx, 21), false);
    if (line == nullptr) return;
    bool originFirst = line->x1 == x && line->y1 == y;
    line->flags |= originFirst ? kLineOpenEnd : kLineOpenStart;
}

void ReadXLine(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    Float64 x = X(ctx, 10), y = X(ctx, 20);
    DocSettings* s = ctx.doc->settings;
    Boolean saved = s->markNewLines;
    s->markNewLines = true;
    AppendLineAtCursor(ctx.doc, x, y, x + X(ctx, 11), y + X(ctx, 21), false);
    s->markNewLines = saved;
}

bool UsableRadius(DXFReaderContext& ctx, Float64 r, const char* kind) {
    if (r > 0) return true;
    AppendLogCString(ctx.doc, (std::string("DXF-in: ") + kind + " without a radius ignored").c_str());
    return false;
}

void ReadCircle(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx) || !UsableRadius(ctx, X(ctx, 40), "CIRCLE")) return;
    Float64 x = X(ctx, 10);
    if (X(ctx, 230) < -0.5) x = -x;
    AppendArcAtCursor(ctx.doc, x, X(ctx, 20), X(ctx, 40), 0, 360, false);
}

void ReadArc(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx) || !UsableRadius(ctx, X(ctx, 40), "ARC")) return;
    Float64 a = X(ctx, 50), b = X(ctx, 51), x = X(ctx, 10);
    if (!(a == 0 && b == 360)) a = Reduced(a), b = Reduced(b);
    if (X(ctx, 230) < -0.5) {
        x = -x;
        Float64 start = Reduced(180 - b), end = Reduced(180 - a);
        a = start, b = end;
    }
    AppendArcAtCursor(ctx.doc, x, X(ctx, 20), X(ctx, 40), a, b, false);
}

// Control points (code 73 of them) or fit points (code 74), never more than the object gave.
void ReadSpline(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    bool closed = (DxfInt(ctx, 70) & 1) != 0;
    SInt32 fit = DxfInt(ctx, 74), control = DxfInt(ctx, 73);
    DxfArray xs = kDxf11, ys = kDxf21;
    SInt32 n = fit;
    if (fit < 1) xs = kDxf10, ys = kDxf20, n = control;
    n = std::min({n, DxfCount(ctx, xs), DxfCount(ctx, ys)});
    if (n < 1) return;
    std::vector<Float64> xy;
    for (SInt32 k = 0; k < n; ++k)
        xy.push_back(DxfAt(ctx, xs, k)), xy.push_back(DxfAt(ctx, ys, k));
    if (closed) xy.push_back(xy[0]), xy.push_back(xy[1]);
    MakeDxfPolyline(ctx.doc, xy, kPolylineCurve, 0, 0);
}

void ReadEllipse(DXFReaderContext& ctx) {
    DxfObjectOptions options;
    options.ratio40 = true;
    if (!ReadWhole(ctx, options)) return;
    Float64 start = X(ctx, 41) / kDegreesToRadians, end = X(ctx, 42) / kDegreesToRadians;
    Float64 mx = X(ctx, 11), my = X(ctx, 21);
    Float64 a = std::hypot(mx, my), b = X(ctx, 40) * a;
    if (!(a > 0) || !std::isfinite(b)) {
        AppendLogCString(ctx.doc, "DXF-in: ELLIPSE without an axis ignored");
        return;
    }
    Float64 phi = std::atan2(my, mx), c = std::cos(phi), s = std::sin(phi);
    Float64 cx = X(ctx, 10), cy = X(ctx, 20);
    const Float64 corners[4][2] = {{-a, -b}, {a, -b}, {a, b}, {-a, b}};
    std::vector<Float64> xy;
    for (const auto& p : corners)
        xy.push_back(cx + p[0] * c - p[1] * s), xy.push_back(cy + p[0] * s + p[1] * c);
    MakeDxfPolyline(ctx.doc, xy, kPolylineEllipse, start, end);
}

// The arc of a bulge from P to Q: counter-clockwise for a positive bulge, clockwise otherwise,
// turning by 4 atan |bulge|. Nothing for a chord of no length.
void AppendBulgeArc(DXFReaderContext& ctx, Float64 px, Float64 py, Float64 qx, Float64 qy, Float64 bulge) {
    Float64 dx = qx - px, dy = qy - py, chord = std::hypot(dx, dy);
    if (!(chord > 0)) return;
    Float64 theta = 4 * std::atan(std::fabs(bulge));
    Float64 r = chord / (2 * std::sin(theta / 2));
    if (!std::isfinite(r) || r <= 0) return;
    // From the chord's midpoint to the centre: left of P->Q for a counter-clockwise arc of less than
    // half a turn, right of it for more.
    Float64 toCentre = r * std::cos(theta / 2);
    Float64 nx = -dy / chord, ny = dx / chord;
    if (bulge < 0) nx = -nx, ny = -ny;
    Float64 cx = (px + qx) / 2 + nx * toCentre, cy = (py + qy) / 2 + ny * toCentre;
    Float64 start = DirectionDegrees(cx, cy, px, py), end = DirectionDegrees(cx, cy, qx, qy);
    if (bulge < 0) std::swap(start, end);
    SeekLastArc(ctx.doc);
    AppendArcAtCursor(ctx.doc, cx, cy, r, Reduced(start), Reduced(end), false);
}

struct Vertex {
    Float64 x, y, bulge;
};

void MakeVertexElements(DXFReaderContext& ctx, const std::vector<Vertex>& v, bool curve) {
    bool bulges = false;
    for (const Vertex& p : v)
        bulges = bulges || p.bulge != 0;
    if (bulges) {
        for (size_t i = 0; i + 1 < v.size(); ++i) {
            if (v[i].bulge == 0)
                AppendLineAtCursor(ctx.doc, v[i].x, v[i].y, v[i + 1].x, v[i + 1].y, false);
            else
                AppendBulgeArc(ctx, v[i].x, v[i].y, v[i + 1].x, v[i + 1].y, v[i].bulge);
        }
        return;
    }
    if (v.size() == 2) {
        AppendLineAtCursor(ctx.doc, v[0].x, v[0].y, v[1].x, v[1].y, false);
        return;
    }
    std::vector<Float64> xy;
    for (const Vertex& p : v)
        xy.push_back(p.x), xy.push_back(p.y);
    MakeDxfPolyline(ctx.doc, xy, curve ? kPolylineCurve : kPolylineSegments, 0, 0);
}

// POLYLINE, its VERTEX objects and SEQEND. Any other object ends the vertices (a file that lost its
// SEQEND) and is handed back to the section loop.
void ReadPolyline(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    SInt32 flags = DxfInt(ctx, 70);
    bool closed = (flags & 1) != 0, curve = (flags & 4) != 0, failed = false;
    std::vector<Vertex> vertices;
    Str255 name;
    while (!ctx.atEOF && ReadDxfLine(ctx, name)) {
        if (UpperEquals(name, "VERTEX")) {
            bool whole = ReadWhole(ctx);
            curve = (DxfInt(ctx, 70) & 8) != 0;
            if (!whole || failed) continue;
            Vertex p{X(ctx, 10), X(ctx, 20), X(ctx, 42)};
            if (!vertices.empty() && vertices.back().x == p.x && vertices.back().y == p.y) continue;
            try {
                vertices.push_back(p);
            } catch (const std::bad_alloc&) {
                failed = true; // the vertices so far are used
            }
        } else if (UpperEquals(name, "SEQEND")) {
            SkipDxfObject(ctx);
            break;
        } else {
            std::memcpy(ctx.pendingName, name, size_t(name[0]) + 1);
            ctx.hasPending = true;
            break;
        }
    }
    if (closed && !vertices.empty() && !failed) {
        Vertex first = vertices.front();
        try {
            vertices.push_back(first);
        } catch (const std::bad_alloc&) {
        }
    }
    if (!vertices.empty()) MakeVertexElements(ctx, vertices, curve);
}

// Lines and bulge arcs only: a light-weight polyline never becomes a polyline element.
void ReadLWPolyline(DXFReaderContext& ctx) {
    DxfObjectOptions options;
    options.vertexBulges = true;
    if (!ReadWhole(ctx, options)) return;
    SInt32 n = std::min({DxfInt(ctx, 90), DxfCount(ctx, kDxf10), DxfCount(ctx, kDxf20)});
    bool closed = (DxfInt(ctx, 70) & 1) != 0;
    SInt32 last = closed ? n - 1 : n - 2;
    for (SInt32 i = 0; i <= last; ++i) {
        SInt32 j = i + 1 == n ? 0 : i + 1;
        Float64 px = DxfAt(ctx, kDxf10, i), py = DxfAt(ctx, kDxf20, i);
        Float64 qx = DxfAt(ctx, kDxf10, j), qy = DxfAt(ctx, kDxf20, j);
        Float64 bulge = i < ctx.bulgeCount ? DxfAt(ctx, kDxf42, i) : 0;
        if (bulge == 0)
            AppendLineAtCursor(ctx.doc, px, py, qx, qy, false);
        else
            AppendBulgeArc(ctx, px, py, qx, qy, bulge);
    }
}

// Corners 1, 2, 4, 3 go round the quadrilateral; a triangle repeats its third corner as the fourth.
void ReadSolid(DXFReaderContext& ctx) {
    if (!ReadWhole(ctx)) return;
    Float64 x4 = DxfSeen(ctx, 13) ? X(ctx, 13) : X(ctx, 12);
    Float64 y4 = DxfSeen(ctx, 23) ? X(ctx, 23) : X(ctx, 22);
    std::vector<Float64> xy = {X(ctx, 10), X(ctx, 20), X(ctx, 11), X(ctx, 21), x4,
                               y4,         X(ctx, 12), X(ctx, 22), X(ctx, 10), X(ctx, 20)};
    MakeDxfPolyline(ctx.doc, xy, kPolylineSegments, 0, 0);
}

// One boundary path of edges into the outline being built: lines and circular arcs; elliptic arcs
// add nothing; a spline edge gives up the path (the edges after it cannot be told apart).
bool BuildEdgePath(DXFReaderContext& ctx, bool* circle) {
    DocWindowRecord* doc = ctx.doc;
    DiscardOutline(doc);
    *circle = false;
    SInt32 edges = DxfCount(ctx, kDxf72);
    if (edges < 1) return false;
    SInt32 firstType = SInt32(DxfAt(ctx, kDxf72, 0));
    if (edges == 1 && firstType != 2 && firstType != 4) return false;
    SInt32 j = 0, m = 0, r = 0, a = 0, ccwIndex = 0;
    auto has = [&](DxfArray array, SInt32 i) { return i < DxfCount(ctx, array); };
    for (SInt32 k = 0; k < edges; ++k) {
        SInt32 type = SInt32(DxfAt(ctx, kDxf72, k));
        if (type == 1) {
            if (has(kDxf10, j) && has(kDxf20, j))
                AppendOutlinePoint(doc, DxfAt(ctx, kDxf10, j), DxfAt(ctx, kDxf20, j));
            if (has(kDxf11, m) && has(kDxf21, m))
                AppendOutlinePoint(doc, DxfAt(ctx, kDxf11, m), DxfAt(ctx, kDxf21, m));
            ++j, ++m;
        } else if (type == 2) {
            if (!has(kDxf10, j) || !has(kDxf20, j) || !has(kDxf40, r)) return false;
            Float64 cx = DxfAt(ctx, kDxf10, j), cy = DxfAt(ctx, kDxf20, j), radius = DxfAt(ctx, kDxf40, r);
            bool ccw = has(kDxf73, ccwIndex) && DxfAt(ctx, kDxf73, ccwIndex) != 0;
            Float64 s = has(kDxf50, a) ? DxfAt(ctx, kDxf50, a) : 0,
                    e = has(kDxf51, a) ? DxfAt(ctx, kDxf51, a) : 360;
            ++j, ++r, ++a, ++ccwIndex;
            if (edges == 1) {
                *circle = SetEllipseOutline(doc, cx, cy, radius, radius);
                return *circle;
            }
            if (!ccw) s = 360 - s, e = 360 - e;
            Float64 sr = s * kDegreesToRadians, er = e * kDegreesToRadians;
            AppendArcBetweenPoints(doc, cx, cy, radius, cx + radius * std::cos(sr),
                                   cy + radius * std::sin(sr), cx + radius * std::cos(er),
                                   cy + radius * std::sin(er), ccw);
        } else if (type == 3) {
            ++j, ++m, ++r, ++a, ++ccwIndex;
        } else {
            return false;
        }
    }
    SInt16 count = OutlinePointCount(doc);
    Handle outline = doc->drawing->toolInput.outlineBlock;
    if (count < 1 || outline == nullptr) return false;
    const Float64* p = OutlinePoints(outline);
    if (p[2 * (count - 1)] != p[0] || p[2 * (count - 1) + 1] != p[1]) AppendOutlinePoint(doc, p[0], p[1]);
    return OutlinePointCount(doc) > 3;
}

// Hatch boundaries made of edges; the hatch's own pattern is not read. The first external path is
// the boundary, the others are holes; a hatch with an external path alone is an area too.
void ReadHatch(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    DxfObjectOptions options;
    options.stopCode = 91;
    if (ReadDXFObject(ctx, options) || ctx.atEOF) return;
    bool bad = ctx.nonFinite;
    DocSettings* s = doc->settings;
    RGBColor colour = s->currentColor;
    SInt16 pen = s->currentPen;
    EmptyOutlineContours(doc);
    options.stopCode = 92;
    bool more = !ReadDXFObject(ctx, options) && !ctx.atEOF;
    SInt16 boundary = -1;
    while (more) {
        SInt32 flags = DxfInt(ctx, 92);
        bool ended = ReadDXFObject(ctx, options);
        more = !ended && !ctx.atEOF;
        bad = bad || ctx.nonFinite || (!ended && ctx.atEOF);
        bool circle = false;
        if (!BuildEdgePath(ctx, &circle)) {
            DiscardOutline(doc);
            continue;
        }
        if (!PushOutlineContour(doc)) continue;
        if ((flags & 1) != 0 && boundary < 0) boundary = LastOutlineContour(doc);
    }
    ToolInputState& t = doc->drawing->toolInput;
    if (!bad && boundary >= 0) {
        std::swap(t.outlineContours[0], t.outlineContours[boundary]);
        s->currentColor = colour;
        s->currentPen = pen;
        SeekLastArea(doc);
        CreateAreaElement(doc, kHatchSpacing, kHatchAngle, kSingleHatch, false);
    }
    EmptyOutlineContours(doc);
}

void NoteIgnored(DXFReaderContext& ctx, int kind, const char* name) {
    SkipDxfObject(ctx);
    if (ctx.ignoredKinds[kind]) return;
    ctx.ignoredKinds[kind] = true;
    AppendLogCString(ctx.doc, (std::string("DXF-in: ") + name + " ignored").c_str());
}

} // namespace

Boolean DxfColourForNumber(const DXFReaderContext& ctx, SInt32 number, RGBColor* colour, SInt16* pen) {
    if (number < 1 || number > 255) return false;
    *colour = ctx.palette[number];
    *pen = SInt16(number >= 9 ? number % 8 + 1 : number);
    return true;
}

Boolean ReadDXFGeometricEntity(DXFReaderContext& ctx, ConstStr255Param name) {
    if (UpperEquals(name, "LINE"))
        ReadLine(ctx);
    else if (UpperEquals(name, "RAY"))
        ReadRay(ctx);
    else if (UpperEquals(name, "XLINE"))
        ReadXLine(ctx);
    else if (UpperEquals(name, "CIRCLE"))
        ReadCircle(ctx);
    else if (UpperEquals(name, "ARC"))
        ReadArc(ctx);
    else if (UpperEquals(name, "SPLINE"))
        ReadSpline(ctx);
    else if (UpperEquals(name, "ELLIPSE"))
        ReadEllipse(ctx);
    else if (UpperEquals(name, "POLYLINE"))
        ReadPolyline(ctx);
    else if (UpperEquals(name, "LWPOLYLINE"))
        ReadLWPolyline(ctx);
    else if (UpperEquals(name, "SOLID") || UpperEquals(name, "TRACE"))
        ReadSolid(ctx);
    else if (UpperEquals(name, "HATCH"))
        ReadHatch(ctx);
    else
        return false;
    return true;
}

Boolean ReadDXFEntities(DXFReaderContext& ctx) {
    DocWindowRecord* doc = ctx.doc;
    SetProgressText4(reinterpret_cast<const UInt8*>("\010ENTITIES"));
    Str255 text;
    GetStr128(kEntitiesLogText, text);
    AppendLogLine(doc, text);
    SeekLastLine(doc);
    SeekLastArc(doc);
    Str255 name;
    for (;;) {
        if (ctx.hasPending) {
            std::memcpy(name, ctx.pendingName, size_t(ctx.pendingName[0]) + 1);
            ctx.hasPending = false;
        } else if (!ReadDxfLine(ctx, name)) {
            return true;
        }
        if (UpperEquals(name, "ENDSEC")) return true;
        if (UpperEquals(name, "EOF")) {
            ctx.sawEndMark = true;
            return true;
        }
        if (ReadDXFGeometricEntity(ctx, name)) {
        } else if (UpperEquals(name, "3DFACE"))
            NoteIgnored(ctx, 0, "3DFACE");
        else if (UpperEquals(name, "3DSOLID"))
            NoteIgnored(ctx, 1, "3DSOLID");
        else if (UpperEquals(name, "BODY"))
            NoteIgnored(ctx, 2, "BODY");
        else if (UpperEquals(name, "IMAGE"))
            NoteIgnored(ctx, 3, "IMAGE");
        else if (UpperEquals(name, "LEADER") || UpperEquals(name, "MLINE") || UpperEquals(name, "REGION") ||
                 UpperEquals(name, "SHAPE") || UpperEquals(name, "TOLERANCE")) {
            // The kind's name after a blank, upper-cased.
            Str255 line;
            line[0] = UInt8(name[0] < 255 ? name[0] + 1 : 255);
            line[1] = ' ';
            for (int i = 2; i <= line[0]; ++i)
                line[i] = UInt8(name[i - 1] >= 'a' && name[i - 1] <= 'z' ? name[i - 1] - 32 : name[i - 1]);
            AppendLogLine(doc, line);
            SkipDxfObject(ctx);
        } else if (UpperEquals(name, "TEXT") || UpperEquals(name, "MTEXT") || UpperEquals(name, "ATTRIB") ||
                   UpperEquals(name, "ATTDEF")) {
            ReadDXFText(ctx, name);
        } else if (UpperEquals(name, "INSERT")) {
            ReadDXFInsert(ctx);
        } else if (UpperEquals(name, "DIMENSION")) {
            ReadDXFDimension(ctx);
        } else {
            SkipDxfObject(ctx); // every other kind (points, for one)
        }
        if (!UpdateImportProgress(ctx)) return false;
        if (ctx.atEOF) return true;
    }
}
