// The cursor cache and colour cursor table, and the mouse waits of the drawing tools.
#include "Other/CursorsAndMouse.h"

#include "Platform/Events.h"

#include <map>

CCrsrHandle ColorCursorTable[kColorCursorCount];

namespace {
constexpr UInt16 kUnknownCursor = 0xFFFF;
UInt16 gCachedCursorId = 0;
// The documents' stored mouse points, beside their records.
std::map<const DocWindowRecord*, Point> gStoredMouse;
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

void StoreMousePoint(DocWindowRecord* doc) {
    Point p{};
    GetMouse(&p);
    gStoredMouse[doc] = p;
}

Point StoredMousePoint(const DocWindowRecord* doc) {
    auto it = gStoredMouse.find(doc);
    return it == gStoredMouse.end() ? Point{0, 0} : it->second;
}

Boolean WaitForMouseMove(DocWindowRecord* doc) {
    Point start{}, now{};
    GetMouse(&start);
    now = start;
    while (now.h == start.h && now.v == start.v && Button()) {
        EventRecord e{};
        WaitNextEvent(mDownMask | mUpMask, &e, 0, nullptr);
        GetMouse(&now);
    }
    gStoredMouse[doc] = now;
    return Button();
}

void WaitButtonState(Boolean down) {
    while (Button() != down) {
    }
}
