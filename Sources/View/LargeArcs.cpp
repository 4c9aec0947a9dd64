// Large arcs as chords: the visible parts of the run first, then the pieces and chords that fall in
// them, counted from the arc's own start so that a scrolled view draws the same pattern.
#include "View/LargeArcs.h"

#include "Model/DocSettings.h"
#include "Other/MathPrimitives.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr Float64 kPatternPeriod = 50;
constexpr Float64 kMaxCount = 1e15;        // pieces or chords of a whole run, kept an exact integer
constexpr Float64 kMaxVisiblePieces = 1e5; // the most a view can need by far
constexpr Float64 kMaxVisibleChords = 1e5;

using Span = std::pair<Float64, Float64>; // degrees, increasing

// The parts of the run a0..a1 (degrees, a0 < a1) of the ellipse that lie inside the rectangle. The
// ellipse is taken as the circle of radius rx with y stretched; each crossing comes from atan2 of
// exact legs, which stays precise where the rectangle grazes the top of a huge circle.
std::vector<Span> VisibleSpans(Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 a0, Float64 a1,
                               Float64 minX, Float64 minY, Float64 maxX, Float64 maxY) {
    std::vector<Span> spans;
    const Float64 k = rx / ry;
    auto inside = [&](Float64 t) {
        Float64 x = cx + rx * std::cos(t * kDegreesToRadians), y = cy + ry * std::sin(t * kDegreesToRadians);
        return x >= minX && x <= maxX && y >= minY && y <= maxY;
    };
    std::vector<Float64> cuts{a0, a1};
    auto addCut = [&](Float64 radians) {
        Float64 t = radians / kDegreesToRadians;
        t = a0 + std::fmod(std::fmod(t - a0, 360.0) + 360.0, 360.0);
        if (t > a0 && t < a1) cuts.push_back(t);
    };
    for (Float64 x : {minX, maxX}) {
        Float64 dx = x - cx;
        if (!std::isfinite(dx) || std::fabs(dx) > rx) continue;
        Float64 dy = std::sqrt((rx - dx) * (rx + dx));
        addCut(std::atan2(dy, dx));
        addCut(std::atan2(-dy, dx));
    }
    for (Float64 y : {minY, maxY}) {
        Float64 dy = (y - cy) * k;
        if (!std::isfinite(dy) || std::fabs(dy) > rx) continue;
        Float64 dx = std::sqrt((rx - dy) * (rx + dy));
        addCut(std::atan2(dy, dx));
        addCut(std::atan2(dy, -dx));
    }
    std::sort(cuts.begin(), cuts.end());
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        Float64 t0 = cuts[i], t1 = cuts[i + 1];
        if (!(t1 > t0) || !inside((t0 + t1) / 2)) continue;
        if (!spans.empty() && spans.back().second >= t0)
            spans.back().second = t1;
        else
            spans.emplace_back(t0, t1);
    }
    return spans;
}

// What the current output shows, widened by the pen and two device units.
void ViewRect(DocWindowRecord* doc, Float64* minX, Float64* minY, Float64* maxX, Float64* maxY) {
    VisibleWorldRect(doc, minX, minY, maxX, maxY);
    Float64 unit = WorldToDeviceLength(doc, 1.0);
    Float64 m = unit > 0 ? (doc->drawing->output.penWidth + 2) / unit : 0;
    *minX -= m;
    *minY -= m;
    *maxX += m;
    *maxY += m;
}

// The parts of the run start..start + sweep in view.
std::vector<Span> VisibleRun(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 lo,
                             Float64 hi) {
    Float64 minX, minY, maxX, maxY;
    ViewRect(doc, &minX, &minY, &maxX, &maxY);
    if (cx + rx < minX || cx - rx > maxX || cy + ry < minY || cy - ry > maxY) return {};
    return VisibleSpans(cx, cy, rx, ry, lo, hi, minX, minY, maxX, maxY);
}

struct Dash {
    Float64 at, length; // pattern units into a piece
};

struct Layout {
    Float64 half; // the half dash at each end (0 none)
    std::vector<Dash> everyPiece;
    std::vector<Dash> butLast; // in every piece except the last
};

Layout LayoutOf(SInt16 mode) {
    switch (mode) {
    case 2:
    case 5:
        return {22, {}, {{28, 44}}};
    case 3:
        return {18, {{24, 2}}, {{32, 36}}};
    case 4:
        return {14, {{20, 2}, {28, 2}}, {{36, 28}}};
    case 6:
        return {2.5, {{2.5, 5}, {12.5, 5}, {22.5, 5}, {32.5, 5}, {42.5, 5}}, {}};
    default:
        return {0, {}, {}};
    }
}

// Solid chords for every line drawn here; the pattern is ours to lay out.
class SolidLines {
  public:
    explicit SolidLines(DocWindowRecord* doc) : d_(doc->drawing), mode_(d_->output.lineMode) {
        d_->output.lineMode = 1;
    }
    ~SolidLines() { d_->output.lineMode = mode_; }
    SolidLines(const SolidLines&) = delete;
    SolidLines& operator=(const SolidLines&) = delete;

  private:
    DrawingRecord* d_;
    SInt16 mode_;
};

void ChordsOfRun(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 start,
                 Float64 sweep) {
    if (!(std::fabs(sweep) > 0) || !std::isfinite(sweep) || !std::isfinite(start)) return;
    Float64 t = doc->settings->chordTolerance / 10;
    if (!(t > 0) || !std::isfinite(t)) t = 0.1;
    // XOR feedback must not draw a pixel twice (it would take itself back): chords of a pixel at least.
    if (doc->drawing->output.outputContext == nullptr && doc->drawing->output.paintMode == kPaintXor)
        t = std::max(t, 0.25 * doc->drawing->view.unitsPerPixel);
    const Float64 ratio = t / std::max(rx, ry);
    // acos(1 - ratio), written so that a tiny ratio keeps its digits and a big one stays in domain.
    const Float64 half = 2 * std::asin(std::sqrt(std::min(ratio, 2.0) / 2));
    Float64 m = std::fabs(std::round(std::fabs(sweep) / 360 * M_PI / half));
    if (!std::isfinite(m)) m = kMaxCount;
    m = std::clamp(m, 1.0, kMaxCount);
    auto point = [&](Float64 a) {
        return std::pair{cx + rx * std::cos(a * kDegreesToRadians),
                         cy + ry * std::sin(a * kDegreesToRadians)};
    };
    if (m <= 1) {
        auto [x1, y1] = point(start);
        auto [x2, y2] = point(start + sweep);
        DrawWorldLine(doc, x1, y1, x2, y2);
        return;
    }
    const Float64 lo = std::min(start, start + sweep), hi = std::max(start, start + sweep);
    const Float64 step = (hi - lo) / m;
    // The chord ends are the same whichever way the run goes: lo + i * step, i = 0 .. m.
    for (const Span& span : VisibleRun(doc, cx, cy, rx, ry, lo, hi)) {
        Float64 i0 = std::clamp(std::floor((span.first - lo) / step), 0.0, m);
        Float64 i1 = std::clamp(std::ceil((span.second - lo) / step), 0.0, m);
        Float64 di = 1;
        if (i1 - i0 > kMaxVisibleChords) di = std::ceil((i1 - i0) / kMaxVisibleChords);
        auto [px, py] = point(i0 == 0 ? lo : lo + i0 * step);
        for (Float64 i = i0; i < i1;) {
            Float64 j = std::min(i + di, i1);
            auto [x, y] = point(j == m ? hi : lo + j * step);
            DrawWorldLine(doc, px, py, x, y);
            px = x;
            py = y;
            i = j;
        }
    }
}

bool UsableArc(Float64 cx, Float64 cy, Float64 rx, Float64 ry) {
    return std::isfinite(cx) && std::isfinite(cy) && std::isfinite(rx) && std::isfinite(ry) && rx > 0 &&
           ry > 0;
}

} // namespace

void DrawArcChords(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 start,
                   Float64 sweep) {
    if (doc == nullptr || !UsableArc(cx, cy, rx, ry)) return;
    SolidLines solid(doc);
    ChordsOfRun(doc, cx, cy, rx, ry, start, sweep);
}

void DrawLargeArcSegments(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 start,
                          Float64 end) {
    if (doc == nullptr || !UsableArc(cx, cy, rx, ry) || !std::isfinite(start) || !std::isfinite(end)) return;
    DrawingRecord* d = doc->drawing;
    // Device lengths: the pattern is measured on the screen or the page, not in the drawing.
    const Float64 drx = WorldToDeviceLength(doc, rx), dry = WorldToDeviceLength(doc, ry);
    Float64 length = M_PI / 2 * (drx + dry + std::sqrt(2 * (drx * drx + dry * dry)));
    Float64 sweep = 360;
    if (!(start == 0 && end == 360) && end - start < 360) {
        sweep = std::fmod(end - start, 360.0);
        if (sweep <= 0) sweep += 360;
        length *= sweep / 360;
    }
    Float64 n = d->output.outputContext == nullptr ? std::round(length / kPatternPeriod)
                                                   : std::round(length * 144 / 3600);
    if (!std::isfinite(n)) n = kMaxCount;
    n = std::clamp(n, 2.0, kMaxCount);
    const Float64 piece = sweep / n;
    const Float64 toDegrees = piece / kPatternPeriod;

    const SInt16 mode = d->output.lineMode;
    SolidLines solid(doc);
    const Layout layout = LayoutOf(mode);
    auto run = [&](Float64 from, Float64 units) {
        ChordsOfRun(doc, cx, cy, rx, ry, from, units * toDegrees);
    };
    for (const Span& span : VisibleRun(doc, cx, cy, rx, ry, start, start + sweep)) {
        // A dash may begin in the piece before the span.
        Float64 i0 = std::clamp(std::floor((span.first - start) / piece) - 1, 0.0, n - 1);
        Float64 i1 = std::clamp(std::ceil((span.second - start) / piece), 0.0, n - 1);
        if (i1 - i0 > kMaxVisiblePieces) {
            // Finer than anything shows: the run as one line.
            ChordsOfRun(doc, cx, cy, rx, ry, span.first, span.second - span.first);
            continue;
        }
        for (Float64 i = i0; i <= i1; ++i) {
            const Float64 from = start + i * piece;
            if (layout.half == 0) {
                // Solid (and any mode the pattern table does not know): the pieces one after another.
                ChordsOfRun(doc, cx, cy, rx, ry, from, i == n - 1 ? start + sweep - from : piece);
                continue;
            }
            for (const Dash& dash : layout.everyPiece)
                run(from + dash.at * toDegrees, dash.length);
            if (i < n - 1)
                for (const Dash& dash : layout.butLast)
                    run(from + dash.at * toDegrees, dash.length);
        }
    }
    if (layout.half > 0) {
        run(start, layout.half);
        run(start + sweep, -layout.half);
    }
}
