// Reference scenes: each scene file under Fixtures/View describes a view and its elements; the window
// update must make the draw calls of its .calls file and the pixels of its .png file. Every render is
// written to the test output folder to look at; a failing one also writes its calls and a difference
// image there. DW_UPDATE_VIEW_REFERENCES=1 rewrites the references from the current renders.
#include "ViewTestSupport.h"
#include "View/ElementDrawing.h"
#include "Platform/PortImages.h"
#include "View/TextDrawing.h"
#include "Platform/MemoryManager.h"
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

class ReferenceScenes : public ViewWindowTest {
  protected:
    void Load(const std::string& path) {
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
                UseViewSize(SInt16(n[0]), SInt16(n[1]));
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
            } else if (w[0] == "text") {
                // A width of 0 is the text's natural width (of its widest line).
                Float64 width = n[3];
                if (width <= 0) {
                    size_t start = 0;
                    while (start <= w[1].size()) {
                        size_t end = w[1].find(char(s->lineBreakChar), start);
                        std::string part = w[1].substr(start, end == std::string::npos ? end : end - start);
                        width = std::max(width, TextStringWidth(3, 0, n[2],
                                                                reinterpret_cast<const UInt8*>(part.data()),
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
                LoadDimension(w[0], n, options);
            }
        }
    }

    // Dimensions made by their creators: dimh and dimv (x1 y1 x2 y2 px py), dima (x1 y1 x2 y2 dx dy px
    // py), dimd and dimr (circle cx cy r, px py), dimang (two lines, px py), dimpl (line, x y).
    void LoadDimension(const std::string& what, const std::vector<Float64>& n,
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
            d = CreateAlignedDimension(doc, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7], text, upper,
                                       lower);
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

    static std::string Listing(const std::vector<DrawCall>& calls) {
        static const char* names[] = {"line", "styled", "polyline", "arc", "triangle",
                                      "disc", "mask",   "text",     "xor"};
        static const int counts[] = {4, 4, 0, 5, 6, 3, 8, 5, 4};
        std::string out;
        char buf[128];
        for (const DrawCall& c : calls) {
            int k = int(c.kind);
            out += names[k];
            for (int i = 0; i < counts[k]; ++i) {
                std::snprintf(buf, sizeof buf, " %.2f", c.v[i] + 0.0);
                out += buf;
            }
            std::snprintf(buf, sizeof buf, " rgb=%02x%02x%02x w=%.2f s=%d", c.colour.red >> 8,
                          c.colour.green >> 8, c.colour.blue >> 8, c.width, c.style);
            out += buf;
            if (c.alpha != 1) out += " a=0.5";
            if (c.kind == DrawCallKind::styledLine || c.kind == DrawCallKind::polyline) {
                std::snprintf(buf, sizeof buf, " phase=%.2f", c.phase);
                out += buf;
            }
            if (c.kind == DrawCallKind::polyline) {
                std::snprintf(buf, sizeof buf, " points=%zu from %.2f %.2f to %.2f %.2f", c.points.size() / 2,
                              c.points[0], c.points[1], c.points[c.points.size() - 2], c.points.back());
                out += buf;
            }
            if (!c.text.empty()) out += " \"" + c.text + "\"";
            out += "\n";
        }
        return out;
    }

    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    void Check(const std::string& name) {
        Load(FixturePath("View/" + name + ".scene"));
        DrawRecorder recorder;
        UpdateViewExtent(doc, true);
        std::string calls = Listing(recorder.calls);
        std::string render = SaveWindowPNG(window, name + ".png");
        std::string callsPath = FixturePath("View/" + name + ".calls");
        std::string pngPath = FixturePath("View/" + name + ".png");
        if (std::getenv("DW_UPDATE_VIEW_REFERENCES")) {
            std::ofstream(callsPath) << calls;
            ASSERT_TRUE(SavePortAsPNG(GetWindowPort(window), pngPath.c_str()));
            return;
        }
        if (calls != ReadAll(callsPath)) {
            std::ofstream(TestOutputPath(name + ".actual.calls")) << calls;
            ADD_FAILURE() << name << ": the draw calls differ from " << callsPath << "; see "
                          << TestOutputPath(name + ".actual.calls");
        }
        std::string diff = TestOutputPath(name + ".diff.png");
        long differing = ComparePortWithPNG(GetWindowPort(window), pngPath.c_str(), diff.c_str());
        EXPECT_EQ(differing, 0) << name << ": pixels differ from " << pngPath << "; render " << render
                                << ", difference " << diff;
    }
};

} // namespace

TEST_F(ReferenceScenes, LinesStylesAndEndMarks) {
    Check("lines");
}

TEST_F(ReferenceScenes, CirclesAndArcs) {
    Check("arcs");
}

TEST_F(ReferenceScenes, TextsFramesAndLeaders) {
    Check("texts");
}

TEST_F(ReferenceScenes, OrthogonalAndTurnedGrids) {
    Check("grid");
}

TEST_F(ReferenceScenes, TurnedGrid) {
    Check("grid-turned");
}

TEST_F(ReferenceScenes, RasterImagesUnderTheLines) {
    InstallViewDrawingHooks();
    Check("images");
}

TEST_F(ReferenceScenes, SymbolInstances) {
    Check("symbols");
}

TEST_F(ReferenceScenes, HatchedAndFilledAreas) {
    InstallViewDrawingHooks();
    Check("areas");
}

TEST_F(ReferenceScenes, DimensionsOfEveryKind) {
    Check("dimensions");
}
