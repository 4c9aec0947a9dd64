// The scene files under Fixtures/View, read into a document: the view tests draw them on screen, the
// PDF tests print them, and both compare with the same reference pictures.
#include "ReferenceSceneLoader.h"
#include "View/ElementDrawing.h"
#include "Platform/MemoryManager.h"
#include "View/PolylineDrawing.h"
#include "Platform/PortImages.h"
#include "View/TextDrawing.h"
#include "Tools/AreaOutlines.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "SymbolSceneSupport.h"
#include "Model/Dimensions.h"
#include "View/DimensionDrawing.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

RGBColor Hex(const std::string& s) {
    unsigned long v = std::strtoul(s.c_str(), nullptr, 16);
    return RGBColor{UInt16(((v >> 16) & 0xFF) * 257), UInt16(((v >> 8) & 0xFF) * 257),
                    UInt16((v & 0xFF) * 257)};
}

void Pair(const std::string& s, Float64* a, Float64* b) {
    std::sscanf(s.c_str(), "%lf,%lf", a, b);
}

// The words of a scene line: a quoted text is one word; key=value options follow the plain values.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        size_t end = line.find(' ', i);
        if (end == std::string::npos) end = line.size();
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

template <typename Element>
void PenOptions(DocWindowRecord* doc, Element* e, const std::string& key, const std::string& value) {
    if (key == "width") e->penBlock.penWidth100 = SInt16(std::lround(std::stod(value) * 100));
    if (key == "color") e->penBlock.color = Hex(value);
    if (key == "layer") e->layer = SInt16(std::stoi(value));
    if (key == "selected") e->selected = 1;
    if (key == "marked") e->marked = 1;
    if (key == "dimmed") e->penBlock.penFlags = SInt16(kPenFlagDimmed);
}

// Pictures a polyline of kind 10 can hold: "shapes" (a framed rectangle, a painted oval and a
// diagonal line in blue on a 40 x 20 frame) and "damaged" (a header and nothing the decoder reads).
Handle TestPicture(const std::string& name) {
    std::vector<UInt8> b;
    auto u8 = [&](int v) { b.push_back(UInt8(v)); };
    auto u16 = [&](int v) { u8(v >> 8), u8(v); };
    auto rect = [&](int t, int l, int bo, int r) { u16(t), u16(l), u16(bo), u16(r); };
    u16(0), rect(0, 0, 20, 40);
    if (name == "shapes") {
        u8(0x11), u8(0x01);
        u8(0x30), rect(0, 0, 20, 40);
        u8(0x0E), u16(0), u16(409); // blue
        u8(0x51), rect(4, 4, 16, 20);
        u8(0x20), u16(2), u16(22), u16(18), u16(38);
        u8(0xFF);
    } else {
        u8(0x11), u8(0x01), u8(0x12), u8(0xFF);
    }
    Handle h = nullptr;
    PtrToHand(b.data(), &h, Size(b.size()));
    return h;
}

// polyline KIND x,y x,y ... [radius=R] [angles=A,B] [picture=NAME] and the pen options.
void LoadPolyline(DocWindowRecord* doc, const std::vector<std::string>& w) {
    gViewHooks.drawPolyline = DrawPolylineElement;
    PolylineRecord* last = nullptr;
    LastPolyline(doc, &last);
    PolylineRecord* e = NewPolylineElement(doc, &last->next);
    e->kind = SInt16(std::stoi(w[1]));
    e->pen = 1;
    std::vector<Float64> xy;
    for (size_t i = 2; i < w.size(); ++i) {
        size_t eq = w[i].find('=');
        std::string key = w[i].substr(0, eq), value = eq == std::string::npos ? "" : w[i].substr(eq + 1);
        if (eq == std::string::npos && w[i].find(',') != std::string::npos) {
            Float64 x = 0, y = 0;
            Pair(w[i], &x, &y);
            xy.push_back(x), xy.push_back(y);
            continue;
        }
        PenOptions(doc, e, key, value);
        if (key == "style") e->lineType = SInt16(std::stoi(value));
        if (key == "radius") e->params[0] = std::stod(value);
        if (key == "angles") Pair(value, &e->params[0], &e->params[1]);
        if (key == "picture") e->picture = TestPicture(value);
    }
    e->pointCount = SInt16(xy.size() / 2);
    PtrToHand(xy.data(), &e->points, Size(xy.size() * sizeof(Float64)));
}

// Dimensions made by their creators: dimh and dimv (x1 y1 x2 y2 px py), dima (x1 y1 x2 y2 dx dy px
// py), dimd and dimr (circle cx cy r, px py), dimang (two lines, px py), dimpl (line, x y).
void LoadDimension(DocWindowRecord* doc, const std::string& what, const std::vector<Float64>& n,
                   const std::vector<std::pair<std::string, std::string>>& options) {
    InstallDimensionDrawing();
    DocSettings* s = doc->settings;
    Str255 upper = {0}, lower = {0}, text = {0};
    auto set = [](StringPtr dest, const std::string& v) {
        dest[0] = UInt8(std::min<size_t>(v.size(), 255));
        std::memcpy(dest + 1, v.data(), dest[0]);
    };
    s->dimFlags = 0;
    for (auto& [k, v] : options) {
        if (k == "upper") set(upper, v);
        if (k == "lower") set(lower, v);
        if (k == "text") set(text, v);
        if (k == "flags") s->dimFlags = UInt16(std::stoul(v, nullptr, 0));
        if (k == "height") SetDimTextHeight(s, std::stod(v));
    }
    ArcRecord circle{};
    LineRecord a{}, b{};
    DimensionRecord* d = nullptr;
    if (what == "dimh")
        d = CreateHorizontalDimension(doc, n[0], n[1], n[2], n[3], n[4], n[5], text, upper, lower);
    if (what == "dimv")
        d = CreateVerticalDimension(doc, n[0], n[1], n[2], n[3], n[4], n[5], text, upper, lower);
    if (what == "dima")
        d = CreateAlignedDimension(doc, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], text, upper, lower);
    if (what == "dimd" || what == "dimr") {
        circle.cx = n[0], circle.cy = n[1], circle.radius = n[2];
        d = what == "dimd" ? CreateDiameterDimension(doc, &circle, n[3], n[4], text, upper, lower)
                           : CreateRadiusDimension(doc, &circle, n[3], n[4], text, upper, lower);
    }
    if (what == "dimang") {
        a.x1 = n[0], a.y1 = n[1], a.x2 = n[2], a.y2 = n[3];
        b.x1 = n[4], b.y1 = n[5], b.x2 = n[6], b.y2 = n[7];
        d = CreateLineAngleDimension(doc, &a, &b, nullptr, n[8], n[9], text, upper, lower);
    }
    if (what == "dimpl") {
        a.x1 = n[0], a.y1 = n[1], a.x2 = n[2], a.y2 = n[3];
        d = CreatePointLineDimension(doc, &a, n[4], n[5], text, upper, lower);
    }
    ASSERT_NE(d, nullptr) << what;
    for (auto& [k, v] : options)
        PenOptions(doc, d, k, v);
}

} // namespace

void LoadReferenceScene(DocWindowRecord* doc, const std::string& path,
                        const std::function<void(SInt16, SInt16)>& useViewSize) {
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    std::string line;
    DocSettings* s = doc->settings;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> w = Words(line);
        std::vector<Float64> n;
        std::vector<std::pair<std::string, std::string>> options;
        for (size_t i = 1; i < w.size(); ++i) {
            size_t eq = w[i].find('=');
            if (eq != std::string::npos)
                options.emplace_back(w[i].substr(0, eq), w[i].substr(eq + 1));
            else if (w[0] == "text" && i == 1)
                continue;
            else if (std::isdigit(UInt8(w[i][0])) || w[i][0] == '-' || w[i][0] == '.')
                n.push_back(std::stod(w[i]));
            else
                options.emplace_back(w[i], "");
        }
        if (w[0] == "size") {
            useViewSize(SInt16(n[0]), SInt16(n[1]));
        } else if (w[0] == "view") {
            doc->drawing->view.unitsPerPixel = n[0];
            doc->drawing->view.originX = n[1];
            doc->drawing->view.originY = n[2];
        } else if (w[0] == "settings") {
            for (auto& [k, v] : options) {
                if (k == "grid") s->gridVisible = Boolean(std::stoi(v));
                if (k == "gridX") s->gridX = std::stod(v);
                if (k == "gridY") s->gridY = std::stod(v);
                if (k == "angles") Pair(v, &s->gridAngleX, &s->gridAngleY);
                if (k == "gridColor") s->gridColor = Hex(v);
                if (k == "background") s->backgroundColor = Hex(v);
                if (k == "filledArrows") s->flag248 = Boolean(std::stoi(v));
                if (k == "markSize")
                    for (Float64& m : s->markSizes)
                        m = std::stod(v);
                if (k == "lineBreak") s->lineBreakChar = UInt8(v[0]);
                if (k == "images") s->imagesShown = SInt16(std::stoi(v));
            }
        } else if (w[0] == "line") {
            LineRecord* e = AppendTestLine(doc, n[0], n[1], n[2], n[3]);
            for (auto& [k, v] : options) {
                PenOptions(doc, e, k, v);
                if (k == "style") e->lineType = SInt16(std::stoi(v));
                if (k == "start") e->flags = SetLineStartMarkKind(e->flags, UInt16(std::stoi(v)));
                if (k == "end") e->flags = SetLineEndMarkKind(e->flags, UInt16(std::stoi(v)));
                if (k == "open") e->flags |= UInt16(std::stoi(v));
            }
        } else if (w[0] == "arc") {
            ArcRecord* e = AppendTestArc(doc, n[0], n[1], n[2], n[3], n[4]);
            for (auto& [k, v] : options) {
                PenOptions(doc, e, k, v);
                if (k == "style") e->lineType = SInt16(std::stoi(v));
            }
        } else if (w[0] == "image") {
            // x y dpi width height: a pattern of colour steps, transparent in the last column.
            ASSERT_LT(doc->imageCount, kMaxImages);
            ImageRecord& image = doc->images[doc->imageCount++];
            image.x = n[0], image.y = n[1], image.resolution = n[2];
            image.width = SInt32(n[3]), image.height = SInt32(n[4]);
            image.bytesPerRow = image.width * 4;
            image.pixels = NewHandleClear(Size(image.bytesPerRow) * image.height);
            UInt8* p = reinterpret_cast<UInt8*>(*image.pixels);
            for (SInt32 row = 0; row < image.height; ++row)
                for (SInt32 col = 0; col < image.width; ++col, p += 4) {
                    p[0] = col == image.width - 1 ? 0 : 255;
                    p[1] = UInt8(255 * col / std::max(1, image.width - 1));
                    p[2] = UInt8(255 * row / std::max(1, image.height - 1));
                    p[3] = UInt8((row + col) % 2 ? 200 : 40);
                }
        } else if (w[0] == "symbol") {
            // Every element so far becomes the definition w[1] about the base point.
            MakeSymbolOfAll(doc, w[1], n[0], n[1]);
        } else if (w[0] == "instance") {
            PlaceTestInstance(doc, w[1], n, options);
        } else if (w[0] == "contour" || w[0] == "ellipse") {
            // The contours of the next area: its boundary first, then its holes (x, y pairs, or an
            // ellipse's centre and radii).
            if (w[0] == "ellipse") {
                SetEllipseOutline(doc, n[0], n[1], n[2], n[3]);
            } else {
                for (size_t i = 0; i + 1 < n.size(); i += 2)
                    AppendOutlinePoint(doc, n[i], n[i + 1]);
                AppendOutlinePoint(doc, n[0], n[1]);
            }
            PushOutlineContour(doc);
        } else if (w[0] == "area") {
            AreaRecord* e = CreateAreaElement(doc, 1, 0, -2, false);
            for (auto& [k, v] : options) {
                PenOptions(doc, e, k, v);
                if (k == "fill") e->fillKind = SInt16(std::stoi(v));
                if (k == "value") e->hatchSpacing = std::stod(v);
                if (k == "angle") e->hatchAngle = std::stod(v);
                if (k == "stroked") e->outlineStroked = 1;
            }
        } else if (w[0] == "polyline") {
            LoadPolyline(doc, w);
        } else if (w[0] == "text") {
            // A width of 0 is the text's natural width (of its widest line).
            Float64 width = n[3];
            if (width <= 0) {
                size_t start = 0;
                while (start <= w[1].size()) {
                    size_t end = w[1].find(char(s->lineBreakChar), start);
                    std::string part = w[1].substr(start, end == std::string::npos ? end : end - start);
                    width = std::max(width,
                                     TextStringWidth(3, 0, n[2], reinterpret_cast<const UInt8*>(part.data()),
                                                     SInt32(part.size())));
                    if (end == std::string::npos) break;
                    start = end + 1;
                }
            }
            TextRecord* e = AppendTestText(doc, w[1], n[0], n[1], n[2], width);
            for (auto& [k, v] : options) {
                if (k == "wide") {
                    for (int i : {2, 4})
                        e->corners[i] = e->corners[0] + (e->corners[i] - e->corners[0]) * std::stod(v);
                }
                if (k == "boxheight") e->corners[5] = e->corners[7] = e->corners[1] + std::stod(v);
                PenOptions(doc, e, k, v);
                if (k == "flags") e->textFlags = UInt16(std::stoul(v, nullptr, 0));
                if (k == "ref") Pair(v, &e->x2, &e->y2);
                if (k == "endsize") e->leaderEndSize = std::stod(v);
                if (k == "margin") e->frameDistance = std::stod(v);
                if (k == "gap") e->lineSpacing = std::stod(v);
                if (k == "angle") {
                    // Turns the laid-out box about its first corner.
                    e->angle = std::stod(v);
                    Float64 c = std::cos(e->angle * M_PI / 180), sn = std::sin(e->angle * M_PI / 180);
                    for (int i = 1; i < 4; ++i) {
                        Float64 dx = e->corners[2 * i] - e->corners[0],
                                dy = e->corners[2 * i + 1] - e->corners[1];
                        e->corners[2 * i] = e->corners[0] + dx * c - dy * sn;
                        e->corners[2 * i + 1] = e->corners[1] + dx * sn + dy * c;
                    }
                }
            }
        } else if (w[0].rfind("dim", 0) == 0) {
            LoadDimension(doc, w[0], n, options);
        }
    }
}
