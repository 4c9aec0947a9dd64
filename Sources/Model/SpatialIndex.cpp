// The spatial index: one uniform grid per indexed kind, built from the list on first use and kept by
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

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

UInt32 gElementDisposals = 0;

namespace {

// Below this many elements of a kind a list walk is as quick as the index.
constexpr std::size_t kMinIndexed = 256;
// Appended elements are tested one by one until there are this many (or an eighth of the grid).
constexpr std::size_t kMinTail = 1024;
// An element spanning more cells than this goes to the wide list.
constexpr Float64 kMaxCellsPerElement = 64;
// A query over more than this share of the cells walks the list instead.
constexpr Float64 kMostCells = 0.25;

struct Grid {
    bool stale = true;
    bool small = false;
    UInt32 disposals = 0;
    std::size_t count = 0;         // elements in the list (while small) or in elements
    std::vector<void*> elements;   // list order; from builtCount on, the tail appended since the build
    std::size_t builtCount = 0;
    Float64 ox = 0, oy = 0, cell = 1;
    SInt32 cols = 0, rows = 0;
    std::vector<UInt32> cellStart; // cols * rows + 1 offsets into entries
    std::vector<UInt32> entries;   // list positions, cell by cell
    std::vector<UInt32> wide;      // list positions of wide or unbounded elements, ascending
    std::vector<UInt32> scratch;
};

constexpr int kIndexedKinds = 2; // lines and arcs

struct DocIndex {
    const DrawingRecord* drawing = nullptr;
    Grid grids[kIndexedKinds];
};

std::unordered_map<const DocWindowRecord*, DocIndex> gIndexes;

// The box a pick or a redraw may find the element in; false when it has none (unbounded, not finite).
bool BoxOf(const LineRecord* e, Float64 b[4]) {
    if (e->flags & (kLineOpenStart | kLineOpenEnd)) return false;
    b[0] = std::min(e->x1, e->x2), b[1] = std::min(e->y1, e->y2);
    b[2] = std::max(e->x1, e->x2), b[3] = std::max(e->y1, e->y2);
    return std::isfinite(b[0]) && std::isfinite(b[1]) && std::isfinite(b[2]) && std::isfinite(b[3]);
}
bool BoxOf(const ArcRecord* e, Float64 b[4]) {
    Float64 r = std::fabs(e->radius);
    b[0] = e->cx - r, b[1] = e->cy - r, b[2] = e->cx + r, b[3] = e->cy + r;
    return std::isfinite(b[0]) && std::isfinite(b[1]) && std::isfinite(b[2]) && std::isfinite(b[3]);
}

bool BoxOf(SInt16 kind, const void* e, Float64 b[4]) {
    return kind == kLineElement ? BoxOf(static_cast<const LineRecord*>(e), b)
                                : BoxOf(static_cast<const ArcRecord*>(e), b);
}

void* FirstOf(const DocWindowRecord* doc, SInt16 kind) {
    if (kind == kLineElement) return doc->lineHead ? doc->lineHead->next : nullptr;
    return doc->arcHead ? doc->arcHead->next : nullptr;
}
void* NextOf(SInt16 kind, void* e) {
    return kind == kLineElement ? static_cast<void*>(static_cast<LineRecord*>(e)->next)
                                : static_cast<void*>(static_cast<ArcRecord*>(e)->next);
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
}

void Build(const DocWindowRecord* doc, SInt16 kind, Grid& g) {
    Clear(g);
    g.stale = false;
    g.disposals = gElementDisposals;
    std::size_t n = 0;
    for (void* e = FirstOf(doc, kind); e != nullptr; e = NextOf(kind, e))
        ++n;
    g.count = n;
    g.small = n < kMinIndexed;
    if (g.small) {
        g.elements.shrink_to_fit();
        g.cellStart.shrink_to_fit();
        g.entries.shrink_to_fit();
        g.wide.shrink_to_fit();
        return;
    }
    g.elements.reserve(n);
    constexpr Float64 kFar = std::numeric_limits<Float64>::infinity();
    Float64 minX = kFar, minY = kFar, maxX = -kFar, maxY = -kFar;
    std::vector<float> sizes;
    sizes.reserve(n);
    for (void* e = FirstOf(doc, kind); e != nullptr; e = NextOf(kind, e)) {
        g.elements.push_back(e);
        Float64 b[4];
        if (!BoxOf(kind, e, b)) continue;
        minX = std::min(minX, b[0]), minY = std::min(minY, b[1]);
        maxX = std::max(maxX, b[2]), maxY = std::max(maxY, b[3]);
        sizes.push_back(float(std::max(b[2] - b[0], b[3] - b[1])));
    }
    g.builtCount = n;
    if (sizes.empty()) {
        g.cols = g.rows = 1, g.ox = g.oy = 0, g.cell = 1;
    } else {
        // Cells about as large as most elements, and a few elements to a cell on average.
        std::size_t at = sizes.size() * 3 / 4;
        std::nth_element(sizes.begin(), sizes.begin() + std::ptrdiff_t(at), sizes.end());
        Float64 typical = sizes[at];
        Float64 w = std::max(maxX - minX, 1e-9), h = std::max(maxY - minY, 1e-9);
        Float64 cell = std::max(typical, std::sqrt(w * h * 4.0 / Float64(sizes.size())));
        // No more cells than elements, and no grid so fine that its sides overflow.
        Float64 most = std::max<Float64>(1.0, Float64(sizes.size()));
        cell = std::max(cell, std::sqrt(w * h / most));
        cell = std::max({cell, w / 65536.0, h / 65536.0});
        g.ox = minX, g.oy = minY, g.cell = cell;
        g.cols = std::max<SInt32>(1, SInt32(std::ceil(w / cell)));
        g.rows = std::max<SInt32>(1, SInt32(std::ceil(h / cell)));
    }
    sizes = std::vector<float>();
    std::size_t cells = std::size_t(g.cols) * std::size_t(g.rows);
    g.cellStart.assign(cells + 1, 0);
    // Two passes: count what each cell holds, then place the list positions.
    auto span = [&](const void* e, SInt32 c[4]) {
        Float64 b[4];
        if (!BoxOf(kind, e, b)) return false;
        c[0] = CellX(g, b[0]), c[1] = CellY(g, b[1]), c[2] = CellX(g, b[2]), c[3] = CellY(g, b[3]);
        return Float64(c[2] - c[0] + 1) * Float64(c[3] - c[1] + 1) <= kMaxCellsPerElement;
    };
    for (std::size_t i = 0; i < n; ++i) {
        SInt32 c[4];
        if (!span(g.elements[i], c)) continue;
        for (SInt32 y = c[1]; y <= c[3]; ++y)
            for (SInt32 x = c[0]; x <= c[2]; ++x)
                ++g.cellStart[std::size_t(y) * g.cols + x + 1];
    }
    for (std::size_t k = 0; k < cells; ++k)
        g.cellStart[k + 1] += g.cellStart[k];
    g.entries.resize(g.cellStart[cells]);
    std::vector<UInt32> fill(g.cellStart.begin(), g.cellStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
        SInt32 c[4];
        if (!span(g.elements[i], c)) {
            g.wide.push_back(UInt32(i));
            continue;
        }
        for (SInt32 y = c[1]; y <= c[3]; ++y)
            for (SInt32 x = c[0]; x <= c[2]; ++x)
                g.entries[fill[std::size_t(y) * g.cols + x]++] = UInt32(i);
    }
    g.wide.shrink_to_fit();
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
    if (kind != kLineElement && kind != kArcElement) return nullptr;
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
    if (g->stale || g->disposals != gElementDisposals) Build(doc, kind, *g);
    if (g->small) return false;
    if (!(minX <= maxX && minY <= maxY)) return false;
    std::vector<UInt32>& found = g->scratch;
    found.clear();
    bool outside = maxX < g->ox || maxY < g->oy || minX > g->ox + g->cell * g->cols ||
                   minY > g->oy + g->cell * g->rows;
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
        out->push_back(g->elements[i]);
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
    if (g->elements.size() - g->builtCount > std::max(kMinTail, g->builtCount / 8)) g->stale = true;
}

void SpatialIndexChanged(DocWindowRecord* doc, SInt16 kind, const void* element) {
    if (doc == nullptr) return;
    Grid* g = GridOf(doc, kind, false);
    if (g == nullptr || g->stale || g->small) return;
    // The tail is tested element by element, so a change there needs nothing.
    auto tail = g->elements.begin() + std::ptrdiff_t(g->builtCount);
    if (std::find(tail, g->elements.end(), element) == g->elements.end()) g->stale = true;
}

void SpatialIndexDispose(const DocWindowRecord* doc) {
    gIndexes.erase(doc);
}
