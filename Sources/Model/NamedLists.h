// The drawing's lists kept in name order (attribute presets, layer sets, saved views): one insertion,
// comparing names as the system orders them, blind to case and accents.
#pragma once

#include "Other/ZEZUdivari.h"

// Where a new name goes among equal ones: before them, after them, or (layer sets) behind the first
// element when it is equal to that one and before the equal ones further on.
enum class EqualNames { before, after, behindFirst };

inline SInt16 CompareListNames(ConstStr255Param a, ConstStr255Param b) {
    return RelString(a, b, false, false);
}

// Links item into the list at its place by name; its 1-based position.
template <class T> SInt16 InsertNameSorted(T** head, T* item, EqualNames rule) {
    T** slot = head;
    SInt16 position = 1;
    auto passes = [&](const T* e, bool first) {
        SInt16 c = CompareListNames(e->name, item->name);
        if (rule == EqualNames::after || (rule == EqualNames::behindFirst && first)) return c <= 0;
        return c < 0;
    };
    for (bool first = true; *slot != nullptr && passes(*slot, first); first = false) {
        slot = &(*slot)->next;
        ++position;
    }
    item->next = *slot;
    *slot = item;
    return position;
}
