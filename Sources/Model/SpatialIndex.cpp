// The spatial index: one uniform grid per element kind, built from the list on first use and kept by
// appends at the tail; any other change marks it stale and the next query rebuilds it.
//
// A uniform grid rather than an R-tree: drafting elements are mostly short and spread over a sheet,
// so a grid sized to the typical element answers a pick in a few cells; it is built by two counting
// passes into flat arrays (4 bytes an entry, no per-node allocations), and list order comes free:
// an entry is the element's position in the list, so sorting a query's few entries restores order.
// Elements far larger than a cell (or unbounded, like lines that run on) sit in one "wide" list
// that every query takes, so no element fills thousands of cells.
#include "Model/SpatialIndex.h"

#include "Model/ElementRecords.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_map>

UInt32 gElementDisposals[kElementKindCount] = {};

namespace {

// Below this many elements of a kind a list walk is as quick as the index.
constexpr std::size_t kMinIndexed = 256;
// Appended elements are tested one by one until there are this many (or 1/64 of the grid).
constexpr std::size_t kMinTail = 1024;
// An element spanning more cells than this goes to the wide list.
constexpr Float64 kMaxCellsPerElement = 64;
// A query over more than this share of the cells walks the list instead.
constexpr Float64 kMostCells = 0.25;

struct Grid {
    bool stale = true;
    bool small = false;
    UInt32 disposals = 0;
    std::size_t count = 0;       // elements in the list (while small) or in elements
    std::vector<void*> elements; // list order; from builtCount on, the tail appended since the build
    std::size_t builtCount = 0;
    Float64 ox = 0, oy = 0, cell = 1;
    SInt32 cols = 0, rows = 0;
    std::vector<UInt32> cellStart; // cols * rows + 1 offsets into entries
    std::vector<UInt32> entries;   // list positions, cell by cell
    std::vector<UInt32> wide;      // list positions of wide or unbounded elements, ascending
    std::vector<UInt32> scratch;
    std::size_t removed = 0;        // built elements taken out since the build (null in elements)
    const void* removing = nullptr; // the element being taken out, whose undo record is no change
};

struct DocIndex {
    const DrawingRecord* drawing = nullptr;
    Grid grids[kElementKindCount];
};

std::unordered_map<const DocWindowRecord*, DocIndex> gIndexes;

// Symbol instances are left to the list walk: their box follows their definition and the drawing
// units, which change without the instance being touched.
bool Indexed(SInt16 kind) {
    return kind >= 0 && kind < kElementKindCount && kind != kSymbolInstanceElement;
}

struct Bounds {
    Float64 b[4] = {std::numeric_limits<Float64>::infinity(), std::numeric_limits<Float64>::infinity(),
                    -std::numeric_limits<Float64>::infinity(), -std::numeric_limits<Float64>::infinity()};
    void Add(Float64 x, Float64 y) {
        b[0] = std::min(b[0], x), b[1] = std::min(b[1], y), b[2] = std::max(b[2], x),
        b[3] = std::max(b[3], y);
    }
    bool Out(Float64 out[4], Float64 grow = 0) const {
        out[0] = b[0] - grow, out[1] = b[1] - grow, out[2] = b[2] + grow, out[3] = b[3] + grow;
        return std::isfinite(out[0]) && std::isfinite(out[1]) && std::isfinite(out[2]) &&
               std::isfinite(out[3]) && out[0] <= out[2] && out[1] <= out[3];
    }
};

// The rectangle a pick tests for a turned box: from the first corner, along the first edge's
// direction, to the third corner, whatever the other stored corners say. A hair of slack keeps
// rounding from leaving a point on its edge out.
void AddTurnedBox(Bounds& k, const Float64 c[6]) {
    Float64 a = DirectionDegrees(c[0], c[1], c[2], c[3]) * std::numbers::pi / 180.0;
    Float64 cs = std::cos(a), sn = std::sin(a);
    Float64 dx = c[4] - c[0], dy = c[5] - c[1];
    Float64 u = dx * cs + dy * sn, v = -dx * sn + dy * cs;
    Float64 slack = 1e-7 * (1.0 + std::fabs(c[0]) + std::fabs(c[1]) + std::fabs(u) + std::fabs(v));
    for (Float64 su : {0.0, u})
        for (Float64 sv : {0.0, v}) {
            Float64 x = c[0] + su * cs - sv * sn, y = c[1] + su * sn + sv * cs;
            k.Add(x - slack, y - slack), k.Add(x + slack, y + slack);
        }
}

// The box a pick or a redraw may find the element in; false when it has none (unbounded, not
// finite), which puts the element where every query finds it.
bool BoxOf(const LineRecord* e, Float64 b[4]) {
    if (e->flags & (kLineOpenStart | kLineOpenEnd)) return false;
    Bounds k;
    k.Add(e->x1, e->y1), k.Add(e->x2, e->y2);
    return k.Out(b);
}
bool BoxOf(const ArcRecord* e, Float64 b[4]) {
    Float64 r = std::fabs(e->radius);
    Bounds k;
    k.Add(e->cx - r, e->cy - r), k.Add(e->cx + r, e->cy + r);
    return k.Out(b);
}
// The corners, the second point and what a redraw draws beyond them (as the view's text box).
bool BoxOf(const TextRecord* e, Float64 b[4]) {
    Bounds k;
    k.Add(e->x, e->y), k.Add(e->x2, e->y2);
    for (int i = 0; i < 4; ++i)
        k.Add(e->corners[2 * i], e->corners[2 * i + 1]);
    AddTurnedBox(k, e->corners);
    return k.Out(b, std::fabs(e->textHeight) + std::fabs(e->frameDistance) + std::fabs(e->leaderEndSize));
}
bool BoxOf(const DimensionRecord* e, Float64 b[4]) {
    Bounds k;
    k.Add(e->textX, e->textY);
    for (int i = 0; i < 3; ++i)
        k.Add(e->frame[2 * i], e->frame[2 * i + 1]);
    const Float64 box[6] = {e->textX, e->textY, e->frame[0], e->frame[1], e->frame[2], e->frame[3]};
    AddTurnedBox(k, box);
    return k.Out(b);
}
bool BoxOf(const PolylineRecord* e, Float64 b[4]) {
    if (e->points == nullptr || *e->points == nullptr) return false;
    Size room = GetHandleSize(e->points) / Size(2 * sizeof(Float64));
    Size count = std::min<Size>(room, Size(std::max<SInt16>(e->pointCount, 0)));
    const Float64* xy = reinterpret_cast<const Float64*>(*e->points);
    Bounds k;
    for (Size i = 0; i < count; ++i)
        k.Add(xy[2 * i], xy[2 * i + 1]);
    if ((e->kind == kPolylineEllipse || e->kind == kPolylineRoundedRect) && count >= 4) AddTurnedBox(k, xy);
    return k.Out(b);
}
bool BoxOf(const AreaRecord* e, Float64 b[4]) {
    Bounds k;
    k.Add(e->minX, e->minY), k.Add(e->maxX, e->maxY);
    return k.Out(b);
}

template <typename T> T* FirstIn(T* head) {
    return head != nullptr ? head->next : nullptr;
}

SInt32 CellX(const Grid& g, Float64 x) {
    Float64 c = std::floor((x - g.ox) / g.cell);
    return SInt32(std::clamp(c, 0.0, Float64(g.cols - 1)));
}
SInt32 CellY(const Grid& g, Float64 y) {
    Float64 c = std::floor((y - g.oy) / g.cell);
    return SInt32(std::clamp(c, 0.0, Float64(g.rows - 1)));
}

void Clear(Grid& g) {
    g.elements.clear();
    g.cellStart.clear();
    g.entries.clear();
    g.wide.clear();
    g.builtCount = 0;
    g.cols = g.rows = 0;
    g.removed = 0;
    g.removing = nullptr;
}

template <typename T> void BuildOf(T* first, Grid& g) {
    Clear(g);
    g.stale = false;
    // One walk of the list: the elements in order and the bounds of their boxes.
    constexpr Float64 kFar = std::numeric_limits<Float64>::infinity();
    Float64 minX = kFar, minY = kFar, maxX = -kFar, maxY = -kFar;
    std::size_t bounded = 0;
    for (T* e = first; e != nullptr; e = e->next) {
        g.elements.push_back(e);
        Float64 b[4];
        if (!BoxOf(e, b)) continue;
        ++bounded;
        minX = std::min(minX, b[0]), minY = std::min(minY, b[1]);
        maxX = std::max(maxX, b[2]), maxY = std::max(maxY, b[3]);
    }
    std::size_t n = g.elements.size();
    g.count = n;
    g.small = n < kMinIndexed;
    if (g.small) {
        g.elements = std::vector<void*>();
        g.cellStart = std::vector<UInt32>();
        g.entries = std::vector<UInt32>();
        g.wide = std::vector<UInt32>();
        return;
    }
    g.elements.shrink_to_fit();
    g.builtCount = n;
    if (bounded == 0) {
        g.cols = g.rows = 1, g.ox = g.oy = 0, g.cell = 1;
    } else {
        // Cells about as large as most elements (judged on a sample), and a few elements to a
        // cell on average.
        std::vector<float> sizes;
        std::size_t stride = std::max<std::size_t>(1, n / 65536);
        for (std::size_t i = 0; i < n; i += stride) {
            Float64 b[4];
            if (BoxOf(static_cast<const T*>(g.elements[i]), b))
                sizes.push_back(float(std::max(b[2] - b[0], b[3] - b[1])));
        }
        Float64 typical = 0;
        if (!sizes.empty()) {
            std::size_t at = sizes.size() * 3 / 4;
            std::nth_element(sizes.begin(), sizes.begin() + std::ptrdiff_t(at), sizes.end());
            typical = sizes[at];
        }
        Float64 w = std::max(maxX - minX, 1e-9), h = std::max(maxY - minY, 1e-9);
        Float64 cell = std::max(typical, std::sqrt(w * h * 4.0 / Float64(bounded)));
        // No more cells than elements, and sides that fit 16 bits.
        cell = std::max(cell, std::sqrt(w * h / Float64(bounded)));
        cell = std::max({cell, w / 65535.0, h / 65535.0});
        g.ox = minX, g.oy = minY, g.cell = cell;
        g.cols = std::clamp<SInt32>(SInt32(std::ceil(w / cell)), 1, 65535);
        g.rows = std::clamp<SInt32>(SInt32(std::ceil(h / cell)), 1, 65535);
    }
    std::size_t cells = std::size_t(g.cols) * std::size_t(g.rows);
    g.cellStart.assign(cells + 1, 0);
    // The cells each element spans, packed in 16-bit quarters; all ones marks a wide one. Then a
    // count per cell, and the list positions placed cell by cell.
    constexpr UInt64 kWide = ~UInt64(0);
    std::vector<UInt64> spans(n);
    for (std::size_t i = 0; i < n; ++i) {
        Float64 b[4];
        spans[i] = kWide;
        if (!BoxOf(static_cast<const T*>(g.elements[i]), b)) continue;
        SInt32 x0 = CellX(g, b[0]), y0 = CellY(g, b[1]), x1 = CellX(g, b[2]), y1 = CellY(g, b[3]);
        if (Float64(x1 - x0 + 1) * Float64(y1 - y0 + 1) > kMaxCellsPerElement) continue;
        spans[i] = UInt64(x0) | UInt64(y0) << 16 | UInt64(x1) << 32 | UInt64(y1) << 48;
        for (SInt32 y = y0; y <= y1; ++y)
            for (SInt32 x = x0; x <= x1; ++x)
                ++g.cellStart[std::size_t(y) * g.cols + x + 1];
    }
    for (std::size_t k = 0; k < cells; ++k)
        g.cellStart[k + 1] += g.cellStart[k];
    g.entries.resize(g.cellStart[cells]);
    std::vector<UInt32> fill(g.cellStart.begin(), g.cellStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        UInt64 c = spans[i];
        if (c == kWide) {
            g.wide.push_back(UInt32(i));
            continue;
        }
        SInt32 x0 = SInt32(c & 0xFFFF), y0 = SInt32(c >> 16 & 0xFFFF), x1 = SInt32(c >> 32 & 0xFFFF),
               y1 = SInt32(c >> 48);
        for (SInt32 y = y0; y <= y1; ++y)
            for (SInt32 x = x0; x <= x1; ++x)
                g.entries[fill[std::size_t(y) * g.cols + x]++] = UInt32(i);
    }
    g.wide.shrink_to_fit();
}

void Build(const DocWindowRecord* doc, SInt16 kind, Grid& g) {
    g.disposals = gElementDisposals[kind];
    switch (kind) {
    case kLineElement:
        return BuildOf(FirstIn(doc->lineHead), g);
    case kArcElement:
        return BuildOf(FirstIn(doc->arcHead), g);
    case kTextElement:
        return BuildOf(FirstIn(doc->textHead), g);
    case kDimensionElement:
        return BuildOf(FirstIn(doc->dimensionHead), g);
    case kPolylineElement:
        return BuildOf(FirstIn(doc->polylineHead), g);
    default:
        return BuildOf(FirstIn(doc->areaHead), g);
    }
}

DocIndex* IndexOf(const DocWindowRecord* doc, bool make) {
    auto it = gIndexes.find(doc);
    if (it != gIndexes.end() && it->second.drawing != doc->drawing) {
        gIndexes.erase(it); // another document now lives where a disposed one was
        it = gIndexes.end();
    }
    if (it != gIndexes.end()) return &it->second;
    if (!make) return nullptr;
    DocIndex& index = gIndexes[doc];
    index.drawing = doc->drawing;
    return &index;
}

Grid* GridOf(const DocWindowRecord* doc, SInt16 kind, bool make) {
    if (!Indexed(kind)) return nullptr;
    DocIndex* index = IndexOf(doc, make);
    return index != nullptr ? &index->grids[kind] : nullptr;
}

} // namespace

bool SpatialCandidates(DocWindowRecord* doc, SInt16 kind, Float64 minX, Float64 minY, Float64 maxX,
                       Float64 maxY, std::vector<void*>* out) {
    out->clear();
    if (doc == nullptr || doc->drawing == nullptr) return false;
    Grid* g = GridOf(doc, kind, true);
    if (g == nullptr) return false;
    if (g->stale || g->disposals != gElementDisposals[kind]) Build(doc, kind, *g);
    if (g->small) return false;
    if (!(minX <= maxX && minY <= maxY)) return false;
    std::vector<UInt32>& found = g->scratch;
    found.clear();
    bool outside =
        maxX < g->ox || maxY < g->oy || minX > g->ox + g->cell * g->cols || minY > g->oy + g->cell * g->rows;
    if (!outside) {
        SInt32 x0 = CellX(*g, minX), y0 = CellY(*g, minY), x1 = CellX(*g, maxX), y1 = CellY(*g, maxY);
        Float64 covered = Float64(x1 - x0 + 1) * Float64(y1 - y0 + 1);
        if (covered > kMostCells * Float64(g->cols) * Float64(g->rows) && covered > 4) return false;
        for (SInt32 y = y0; y <= y1; ++y) {
            const UInt32* from = g->entries.data() + g->cellStart[std::size_t(y) * g->cols + x0];
            const UInt32* to = g->entries.data() + g->cellStart[std::size_t(y) * g->cols + x1 + 1];
            found.insert(found.end(), from, to);
        }
    }
    found.insert(found.end(), g->wide.begin(), g->wide.end());
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    out->reserve(found.size() + g->elements.size() - g->builtCount);
    for (UInt32 i : found)
        if (void* e = g->elements[i]) out->push_back(e);
    out->insert(out->end(), g->elements.begin() + std::ptrdiff_t(g->builtCount), g->elements.end());
    if (found.capacity() > 65536) found = std::vector<UInt32>();
    return true;
}

void SpatialIndexStale(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    if (DocIndex* index = IndexOf(doc, false))
        for (Grid& g : index->grids)
            g.stale = true;
}

namespace {

template <typename T> bool BoxOfKind(SInt16 kind, const void* e, Float64 b[4]) {
    return BoxOf(static_cast<const T*>(e), b);
}

// Where the built element sits: its list position, found in the cells its box spans (or the wide
// list); -1 when it is not where its box says, that is, it moved unheard of.
long PositionOf(const Grid& g, SInt16 kind, const void* e) {
    Float64 b[4];
    bool bounded = false;
    switch (kind) {
    case kLineElement:
        bounded = BoxOfKind<LineRecord>(kind, e, b);
        break;
    case kArcElement:
        bounded = BoxOfKind<ArcRecord>(kind, e, b);
        break;
    case kTextElement:
        bounded = BoxOfKind<TextRecord>(kind, e, b);
        break;
    case kDimensionElement:
        bounded = BoxOfKind<DimensionRecord>(kind, e, b);
        break;
    case kPolylineElement:
        bounded = BoxOfKind<PolylineRecord>(kind, e, b);
        break;
    default:
        bounded = BoxOfKind<AreaRecord>(kind, e, b);
        break;
    }
    auto at = [&](const UInt32* from, const UInt32* to) -> long {
        for (const UInt32* p = from; p != to; ++p)
            if (g.elements[*p] == e) return long(*p);
        return -1;
    };
    if (bounded && g.cols > 0) {
        SInt32 x0 = CellX(g, b[0]), y0 = CellY(g, b[1]), x1 = CellX(g, b[2]), y1 = CellY(g, b[3]);
        if (Float64(x1 - x0 + 1) * Float64(y1 - y0 + 1) <= kMaxCellsPerElement) {
            std::size_t cell = std::size_t(y0) * g.cols + x0;
            return at(g.entries.data() + g.cellStart[cell], g.entries.data() + g.cellStart[cell + 1]);
        }
    }
    return at(g.wide.data(), g.wide.data() + g.wide.size());
}

} // namespace

void SpatialIndexRemoving(DocWindowRecord* doc, SInt16 kind, const void* element) {
    if (doc == nullptr || element == nullptr) return;
    Grid* g = GridOf(doc, kind, false);
    if (g == nullptr || g->stale) return;
    // Its disposal is heard of here, so it does not make the index rebuild.
    ++g->disposals;
    g->removing = element;
    if (g->small) {
        --g->count;
        return;
    }
    auto tail = g->elements.begin() + std::ptrdiff_t(g->builtCount);
    auto inTail = std::find(tail, g->elements.end(), element);
    if (inTail != g->elements.end()) {
        g->elements.erase(inTail);
        return;
    }
    long at = PositionOf(*g, kind, element);
    if (at < 0 || ++g->removed > g->builtCount / 8) {
        g->stale = true;
        return;
    }
    g->elements[std::size_t(at)] = nullptr;
}

void SpatialIndexRemoved(DocWindowRecord* doc, SInt16 kind) {
    if (doc == nullptr) return;
    if (Grid* g = GridOf(doc, kind, false)) g->removing = nullptr;
}

void SpatialIndexAppended(DocWindowRecord* doc, SInt16 kind, void* element) {
    if (doc == nullptr || element == nullptr) return;
    Grid* g = GridOf(doc, kind, false);
    if (g == nullptr || g->stale) return;
    ++g->count;
    if (g->small) {
        if (g->count >= kMinIndexed) g->stale = true;
        return;
    }
    g->elements.push_back(element);
    if (g->elements.size() - g->builtCount > std::max(kMinTail, g->builtCount / 64)) g->stale = true;
}

void SpatialIndexChanged(DocWindowRecord* doc, SInt16 kind, const void* element) {
    if (doc == nullptr) return;
    Grid* g = GridOf(doc, kind, false);
    if (g == nullptr || g->stale || g->small || element == g->removing) return;
    // The tail is tested element by element, so a change there needs nothing.
    auto tail = g->elements.begin() + std::ptrdiff_t(g->builtCount);
    if (std::find(tail, g->elements.end(), element) == g->elements.end()) g->stale = true;
}

void SpatialIndexDispose(const DocWindowRecord* doc) {
    gIndexes.erase(doc);
}
