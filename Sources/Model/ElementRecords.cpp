// Allocators of the fixed-size drawing records: cleared on allocation, byte copies on cloning,
// and disposal through the owner's slot so that a second dispose of the same slot does nothing.
#include "ElementRecords.h"
#include "MathPrimitives.h"

#include "MemoryManager.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

template <typename T> T* NewCleared() {
    return static_cast<T*>(std::calloc(1, sizeof(T)));
}

template <typename T> void DisposeSlot(T** slot) {
    if (slot == nullptr || *slot == nullptr) return;
    std::free(*slot);
    *slot = nullptr;
}

template <typename T> T* CloneBytes(const T* record) {
    if (record == nullptr) return nullptr;
    T* copy = static_cast<T*>(std::malloc(sizeof(T)));
    if (copy != nullptr) std::memcpy(static_cast<void*>(copy), record, sizeof(T));
    return copy;
}

} // namespace

LineRecord* NewLineRecord() {
    return NewCleared<LineRecord>();
}
void DisposeLineRecord(LineRecord** slot) {
    DisposeSlot(slot);
}
LineRecord* CloneLineRecord(const LineRecord* record) {
    return CloneBytes(record);
}

ArcRecord* NewArcRecord() {
    return NewCleared<ArcRecord>();
}
void DisposeArcRecord(ArcRecord** slot) {
    DisposeSlot(slot);
}
ArcRecord* CloneArcRecord(const ArcRecord* record) {
    return CloneBytes(record);
}

TextRecord* NewTextRecord() {
    return NewCleared<TextRecord>();
}
void DisposeTextRecord(TextRecord** slot) {
    DisposeSlot(slot);
}
TextRecord* CloneTextRecord(const TextRecord* record) {
    return CloneBytes(record);
}

DimensionRecord* NewDimensionRecord() {
    return NewCleared<DimensionRecord>();
}
void DisposeDimensionRecord(DimensionRecord** slot) {
    DisposeSlot(slot);
}
DimensionRecord* CloneDimensionRecord(const DimensionRecord* record) {
    return CloneBytes(record);
}

PolylineRecord* NewPolylineRecord() {
    return NewCleared<PolylineRecord>();
}
void DisposePolylineRecord(PolylineRecord** slot) {
    DisposeSlot(slot);
}
PolylineRecord* ClonePolylineRecord(const PolylineRecord* record) {
    return CloneBytes(record);
}

SymbolInstanceRecord* NewSymbolInstanceRecord() {
    return NewCleared<SymbolInstanceRecord>();
}
void DisposeSymbolInstanceRecord(SymbolInstanceRecord** slot) {
    DisposeSlot(slot);
}
SymbolInstanceRecord* CloneSymbolInstanceRecord(const SymbolInstanceRecord* record) {
    return CloneBytes(record);
}

AreaRecord* NewAreaRecord() {
    return NewCleared<AreaRecord>();
}
void DisposeAreaRecord(AreaRecord** slot) {
    DisposeSlot(slot);
}
AreaRecord* CloneAreaRecord(const AreaRecord* record) {
    return CloneBytes(record);
}

SymbolDefRecord* NewSymbolDefRecord() {
    return NewCleared<SymbolDefRecord>();
}
void DisposeSymbolDefRecord(SymbolDefRecord** slot) {
    DisposeSlot(slot);
}

AttributePreset* NewAttributePreset() {
    return NewCleared<AttributePreset>();
}
void DisposeAttributePreset(AttributePreset** slot) {
    DisposeSlot(slot);
}
AttributePreset* CloneAttributePreset(const AttributePreset* record) {
    return CloneBytes(record);
}

FrameRecord* NewFrameRecord() {
    return NewCleared<FrameRecord>();
}
void DisposeFrameRecord(FrameRecord** slot) {
    if (*slot != nullptr) {
        DisposeHandle((*slot)->printSettings);
        DisposeHandle((*slot)->pageFormat);
    }
    DisposeSlot(slot);
}

SavedViewRecord* NewSavedView() {
    return NewCleared<SavedViewRecord>();
}
void DisposeSavedView(SavedViewRecord** slot) {
    DisposeSlot(slot);
}

LayerSetRecord* NewLayerSetRecord() {
    return NewCleared<LayerSetRecord>();
}
void DisposeLayerSetRecord(LayerSetRecord** slot) {
    DisposeSlot(slot);
}

NamedTableRecord* NewNamedTableRecord() {
    return NewCleared<NamedTableRecord>();
}
void DisposeNamedTableRecord(NamedTableRecord** slot) {
    DisposeSlot(slot);
}
NamedTableRecord* CloneNamedTableRecord(const NamedTableRecord* record) {
    return CloneBytes(record);
}

SInt16 OutlineLastIndex(Handle outline) {
    if (outline == nullptr || GetHandleSize(outline) < Size(sizeof(SInt16))) return 0;
    SInt16 index;
    std::memcpy(&index, *outline, sizeof index);
    return index;
}

Float64* OutlinePoints(Handle outline) {
    return reinterpret_cast<Float64*>(*outline + kOutlineHeaderSize);
}

Handle NewOutlineHandle(SInt16 lastIndex) {
    Size points = std::abs(SInt32(lastIndex)) + 1;
    Handle h = NewHandleClear(kOutlineHeaderSize + points * 16);
    if (h != nullptr) std::memcpy(*h, &lastIndex, sizeof lastIndex);
    return h;
}

Boolean OrderSegmentEnds(Float64* x1, Float64* y1, Float64* x2, Float64* y2) {
    Float64 degrees = std::atan2(*y2 - *y1, *x2 - *x1) * kRadiansToDegrees;
    if (degrees < 0) degrees += 360.0;
    bool vertical = std::fabs(degrees - 90.0) <= 0.01 || std::fabs(degrees - 270.0) <= 0.01;
    bool swap = vertical ? *y1 > *y2 : *x1 > *x2;
    if (!swap) return false;
    std::swap(*x1, *x2);
    std::swap(*y1, *y2);
    return true;
}

void NormalizeLineDirection(LineRecord* line) {
    if (!OrderSegmentEnds(&line->x1, &line->y1, &line->x2, &line->y2)) return;
    UInt16 start = LineStartMarkKind(line->flags);
    UInt16 end = LineEndMarkKind(line->flags);
    line->flags = SetLineEndMarkKind(SetLineStartMarkKind(line->flags, end), start);
}
