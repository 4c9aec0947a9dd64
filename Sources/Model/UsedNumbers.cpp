#include "Model/UsedNumbers.h"

#include "Model/ElementLists.h"

#include <bit>

namespace {

inline void SetBit(UInt8* bits, SInt32 n) {
    bits[n >> 3] = UInt8(bits[n >> 3] | (0x80 >> (n & 7)));
}

SInt32 CountBits(const UInt8* bits, SInt32 bytes) {
    SInt32 count = 0;
    for (SInt32 i = 0; i < bytes; ++i) count += std::popcount(unsigned(bits[i]));
    return count;
}

// Calls f with every element's layer and group. A plain walk of the links: the kinds' cursors stay
// where they are, so a scan may run while a tool walks a list.
template <typename F> void ForEachLayerAndGroup(DocWindowRecord* doc, F&& f) {
    ForEachElementList(doc, [&](auto* head) {
        if (!head) return;
        for (auto* e = head->next; e; e = e->next) f(SInt32(e->layer), SInt32(e->group));
    });
}

} // namespace

void CollectUsedLayers(DocWindowRecord* doc, SInt32* count, LayerVisibilitySet* used) {
    ForEachLayerAndGroup(doc, [&](SInt32 layer, SInt32) {
        if (layer >= 0 && layer < kLayerCount) SetBit(used->bits, layer);
    });
    if (count) *count = CountBits(used->bits, SInt32(sizeof used->bits));
}

void CollectUsedGroupNumbers(DocWindowRecord* doc, SInt32* count, UsedGroupSet* used) {
    ForEachLayerAndGroup(doc, [&](SInt32, SInt32 group) {
        if (group >= 1 && group <= kMaxGroupNumber) SetBit(used->bits, group);
    });
    // Bit 0 is never set, so the count is that of 1..32000.
    if (count) *count = CountBits(used->bits, SInt32(sizeof used->bits));
}

bool IsGroupNumberUsed(const UsedGroupSet* used, SInt32 group) {
    if (group < 0 || group > kMaxGroupNumber) return false;
    return (used->bits[group >> 3] & (0x80 >> (group & 7))) != 0;
}
