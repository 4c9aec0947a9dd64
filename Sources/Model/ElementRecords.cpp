// Allocators of the fixed-size drawing records: cleared on allocation; a clone owns copies of the
// data its original owns; disposal frees that data too, through the owner's slot, so that a second
// dispose of the same slot does nothing.
#include "Model/ElementRecords.h"
#include "Model/Selection.h"

#include "Model/SpatialIndex.h"
#include "Other/MathPrimitives.h"
#include "Model/RecordBlocks.h"

#include "Platform/MemoryManager.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace {

RecordBlockAllocator* gBulkRecords = nullptr;

template <typename T> T* NewCleared() {
    if (gBulkRecords == nullptr) return static_cast<T*>(std::calloc(1, sizeof(T)));
    void* record = gBulkRecords->Allocate(sizeof(T));
    if (record != nullptr) std::memset(record, 0, sizeof(T));
    return static_cast<T*>(record);
}

// The element kind of a record type, or -1 for the document's other records.
template <typename T> constexpr int KindOf() {
    if constexpr (std::is_same_v<T, LineRecord>) return kLineElement;
    if constexpr (std::is_same_v<T, ArcRecord>) return kArcElement;
    if constexpr (std::is_same_v<T, TextRecord>) return kTextElement;
    if constexpr (std::is_same_v<T, DimensionRecord>) return kDimensionElement;
    if constexpr (std::is_same_v<T, PolylineRecord>) return kPolylineElement;
    if constexpr (std::is_same_v<T, SymbolInstanceRecord>) return kSymbolInstanceElement;
    if constexpr (std::is_same_v<T, AreaRecord>) return kAreaElement;
    return -1;
}

template <typename T> void DisposeSlot(T** slot) {
    if (slot == nullptr || *slot == nullptr) return;
    if constexpr (KindOf<T>() >= 0) {
        ++gElementDisposals[KindOf<T>()];
        // A selection record may point into this element.
        SelectionRecordsUnknown();
    }
    // Records read from files may come from a block of records.
    if (!ReleaseBlockRecord(*slot)) std::free(*slot);
    *slot = nullptr;
}

template <typename T> T* CloneBytes(const T* record) {
    if (record == nullptr) return nullptr;
    T* copy = static_cast<T*>(std::malloc(sizeof(T)));
    if (copy != nullptr) std::memcpy(static_cast<void*>(copy), record, sizeof(T));
    // The copy's flags are set outside any selection record.
    if constexpr (requires { record->selected; })
        if (record->selected) SelectionRecordsUnknown();
    if constexpr (requires { record->marked; })
        if (record->marked) SelectionRecordsUnknown();
    return copy;
}

// A copy of the handle's bytes in *copy; a null handle gives null. False when memory runs out.
bool CopyHandle(Handle original, Handle* copy) {
    *copy = original;
    if (original == nullptr) return true;
    if (HandToHand(copy) == noErr) return true;
    *copy = nullptr;
    return false;
}

Size HoleSlots(const AreaRecord* area) {
    return area->holes != nullptr ? GetHandleSize(area->holes) / Size(sizeof(Handle)) : 0;
}

// Frees a chain of records and leaves *first null.
template <typename T> void DisposeChain(T** first, void (*dispose)(T**)) {
    T* e = *first;
    *first = nullptr;
    while (e != nullptr) {
        T* next = e->next;
        dispose(&e);
        e = next;
    }
}

} // namespace

void DisposeTextData(TextRecord* text) {
    DisposeHandle(text->boxText);
    text->boxText = nullptr;
}

void DisposePolylineData(PolylineRecord* polyline) {
    DisposeHandle(polyline->points);
    DisposeHandle(polyline->picture);
    polyline->points = nullptr;
    polyline->picture = nullptr;
}

// Every slot of the holes handle is freed, not only those up to the last hole index: a record
// being read owns its holes before its index is set.
void DisposeAreaData(AreaRecord* area) {
    DisposeHandle(area->outline);
    area->outline = nullptr;
    Size slots = HoleSlots(area);
    for (Size i = 0; i < slots; ++i) {
        Handle& hole = reinterpret_cast<Handle*>(*area->holes)[i];
        DisposeHandle(hole);
        hole = nullptr;
    }
    DisposeHandle(area->holes);
    area->holes = nullptr;
    area->lastHoleIndex = -1;
}

ScopedRecordBlocks::ScopedRecordBlocks() : allocator_(nullptr) {
    if (gBulkRecords != nullptr) return;
    allocator_ = new (std::nothrow) RecordBlockAllocator();
    gBulkRecords = allocator_;
}

ScopedRecordBlocks::~ScopedRecordBlocks() {
    if (allocator_ == nullptr) return;
    gBulkRecords = nullptr;
    delete allocator_;
}

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
    if (slot != nullptr && *slot != nullptr) DisposeTextData(*slot);
    DisposeSlot(slot);
}
TextRecord* CloneTextRecord(const TextRecord* record) {
    TextRecord* copy = CloneBytes(record);
    if (copy == nullptr) return nullptr;
    copy->boxText = nullptr;
    if (!CopyHandle(record->boxText, &copy->boxText)) DisposeTextRecord(&copy);
    return copy;
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
    if (slot != nullptr && *slot != nullptr) DisposePolylineData(*slot);
    DisposeSlot(slot);
}
PolylineRecord* ClonePolylineRecord(const PolylineRecord* record) {
    PolylineRecord* copy = CloneBytes(record);
    if (copy == nullptr) return nullptr;
    // Cleared first, so that a copy failing half way frees none of the original's data.
    copy->points = copy->picture = nullptr;
    if (!CopyHandle(record->points, &copy->points) || !CopyHandle(record->picture, &copy->picture))
        DisposePolylineRecord(&copy);
    return copy;
}

SymbolInstanceRecord* NewSymbolInstanceRecord() {
    return NewCleared<SymbolInstanceRecord>();
}
void DisposeSymbolInstanceRecord(SymbolInstanceRecord** slot) {
    DisposeSlot(slot);
}
// The definition is the drawing's, not the instance's: the clone shows the same one.
SymbolInstanceRecord* CloneSymbolInstanceRecord(const SymbolInstanceRecord* record) {
    return CloneBytes(record);
}

AreaRecord* NewAreaRecord() {
    return NewCleared<AreaRecord>();
}
void DisposeAreaRecord(AreaRecord** slot) {
    if (slot != nullptr && *slot != nullptr) DisposeAreaData(*slot);
    DisposeSlot(slot);
}
AreaRecord* CloneAreaRecord(const AreaRecord* record) {
    AreaRecord* copy = CloneBytes(record);
    if (copy == nullptr) return nullptr;
    copy->outline = copy->holes = nullptr;
    bool copied = CopyHandle(record->outline, &copy->outline);
    Size slots = HoleSlots(record);
    if (copied && record->holes != nullptr) {
        // Slots cleared first, so that a copy failing half way frees only the holes copied.
        copy->holes = NewHandleClear(GetHandleSize(record->holes));
        copied = copy->holes != nullptr;
        for (Size i = 0; copied && i < slots; ++i)
            copied = CopyHandle(reinterpret_cast<Handle*>(*record->holes)[i],
                                &reinterpret_cast<Handle*>(*copy->holes)[i]);
    }
    if (!copied) DisposeAreaRecord(&copy);
    return copy;
}

SymbolDefRecord* NewSymbolDefRecord() {
    return NewCleared<SymbolDefRecord>();
}
void DisposeSymbolDefRecord(SymbolDefRecord** slot) {
    if (slot == nullptr || *slot == nullptr) return;
    SymbolDefRecord* def = *slot;
    DisposeChain(&def->lineHead, DisposeLineRecord);
    DisposeChain(&def->arcHead, DisposeArcRecord);
    DisposeChain(&def->textHead, DisposeTextRecord);
    DisposeChain(&def->dimensionHead, DisposeDimensionRecord);
    DisposeChain(&def->polylineHead, DisposePolylineRecord);
    DisposeChain(&def->areaHead, DisposeAreaRecord);
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
    if (slot != nullptr && *slot != nullptr) {
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
    // Half a degree or more away from vertical needs no angle (imports order millions of lines).
    bool vertical = false;
    if (!(std::fabs(*x2 - *x1) > 0.01 * std::fabs(*y2 - *y1))) {
        Float64 degrees = std::atan2(*y2 - *y1, *x2 - *x1) * kRadiansToDegrees;
        if (degrees < 0) degrees += 360.0;
        vertical = std::fabs(degrees - 90.0) <= 0.01 || std::fabs(degrees - 270.0) <= 0.01;
    }
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
