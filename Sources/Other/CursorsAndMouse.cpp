// The cursor cache and colour cursor table, and the mouse waits of the drawing tools.
#include "CursorsAndMouse.h"

CCrsrHandle ColorCursorTable[kColorCursorCount];

namespace {
constexpr UInt16 kUnknownCursor = 0xFFFF;
UInt16 gCachedCursorId = 0;
} // namespace

void LoadColorCursors() {
    for (int i = 0; i < kColorCursorCount; ++i) {
        DisposeCCursor(ColorCursorTable[i]);
        ColorCursorTable[i] = GetCCursor(static_cast<SInt16>(kFirstColorCursorId + i));
    }
}

void DisposeColorCursors() {
    for (CCrsrHandle& c : ColorCursorTable) {
        DisposeCCursor(c);
        c = nullptr;
    }
}

void SetCursorById(SInt16 id) {
    if (static_cast<UInt16>(id) == gCachedCursorId) return;
    gCachedCursorId = static_cast<UInt16>(id);
    if (id == kArrowCursorId) {
        InitCursor();
        return;
    }
    if (id >= kFirstColorCursorId && id < kFirstColorCursorId + kColorCursorCount &&
        ColorCursorTable[id - kFirstColorCursorId]) {
        SetCCursor(ColorCursorTable[id - kFirstColorCursorId]);
        return;
    }
    if (CursHandle h = GetCursor(id)) SetCursor(*h);
}

void ShowWatchCursor() {
    SetCursorById(kWatchCursorId);
}

void ForgetCursor() {
    gCachedCursorId = kUnknownCursor;
}

// There is no older system to tell apart: behave as the newest.
Boolean IsSystem107OrLater() {
    return true;
}
