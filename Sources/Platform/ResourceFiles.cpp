// The resource-fork format and the table of open resource files.
#include "Platform/ResourceFiles.h"

#include "Platform/AppleDouble.h"
#include "Platform/FileManager.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace {

constexpr size_t kForkHeaderSize = 16;
constexpr size_t kDataStart = 256; // header, then the reserved system and application areas
constexpr size_t kMapHeaderSize = 28;
constexpr size_t kTypeEntrySize = 8;
constexpr size_t kReferenceSize = 12;
constexpr SInt16 kFirstResFileNumber = 1000;

UInt32 Get32(const UInt8* p) {
    return (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | UInt32(p[3]);
}
UInt16 Get16(const UInt8* p) {
    return UInt16((p[0] << 8) | p[1]);
}
void Set32(UInt8* p, UInt32 x) {
    p[0] = UInt8(x >> 24), p[1] = UInt8(x >> 16), p[2] = UInt8(x >> 8), p[3] = UInt8(x);
}
void Set16(UInt8* p, UInt16 x) {
    p[0] = UInt8(x >> 8), p[1] = UInt8(x);
}

struct OpenResourceFile {
    bool open = false;
    bool writable = false;
    bool changed = false;
    FSRef file{};
    std::vector<ResourceEntry> entries;
};

std::vector<OpenResourceFile> gResFiles;
OSErr gResError = noErr;

OpenResourceFile* FindResFile(SInt16 refNum) {
    SInt32 index = SInt32(refNum) - kFirstResFileNumber;
    if (index < 0 || size_t(index) >= gResFiles.size() || !gResFiles[size_t(index)].open) return nullptr;
    return &gResFiles[size_t(index)];
}

ResourceEntry* FindEntry(OpenResourceFile* f, ResType type, SInt16 id) {
    for (ResourceEntry& e : f->entries)
        if (e.type == type && e.id == id) return &e;
    return nullptr;
}

bool Fits(size_t offset, size_t length, size_t size) {
    return offset <= size && length <= size - offset;
}

} // namespace

OSErr ParseResourceFork(const UInt8* bytes, size_t size, std::vector<ResourceEntry>* out) {
    out->clear();
    if (size == 0) return noErr;
    if (size < kForkHeaderSize) return mapReadErr;
    size_t dataOffset = Get32(bytes), mapOffset = Get32(bytes + 4);
    size_t dataLength = Get32(bytes + 8), mapLength = Get32(bytes + 12);
    if (!Fits(dataOffset, dataLength, size) || !Fits(mapOffset, mapLength, size) ||
        mapLength < kMapHeaderSize + 2)
        return mapReadErr;
    const UInt8* map = bytes + mapOffset;
    const UInt8* data = bytes + dataOffset;
    size_t typeListOffset = Get16(map + 24), nameListOffset = Get16(map + 26);
    if (!Fits(typeListOffset, 2, mapLength)) return mapReadErr;
    const UInt8* typeList = map + typeListOffset;
    size_t typeCount = (Get16(typeList) + 1) & 0xFFFF; // 0xFFFF stands for no types
    if (!Fits(typeListOffset + 2, typeCount * kTypeEntrySize, mapLength)) return mapReadErr;

    std::set<std::pair<ResType, SInt16>> seen;
    size_t dataBytes = 0; // resources never share their data, so together they fit the data area
    for (size_t t = 0; t < typeCount; ++t) {
        const UInt8* te = typeList + 2 + t * kTypeEntrySize;
        ResType type = Get32(te);
        size_t count = size_t(Get16(te + 4)) + 1;
        size_t refOffset = Get16(te + 6);
        if (!Fits(typeListOffset + refOffset, count * kReferenceSize, mapLength)) return mapReadErr;
        for (size_t r = 0; r < count; ++r) {
            const UInt8* ref = typeList + refOffset + r * kReferenceSize;
            ResourceEntry e;
            e.type = type;
            e.id = SInt16(Get16(ref));
            UInt16 nameOffset = Get16(ref + 2);
            e.attributes = ref[4];
            size_t offset = (size_t(ref[5]) << 16) | (size_t(ref[6]) << 8) | ref[7];
            if (!Fits(offset, 4, dataLength)) return mapReadErr;
            size_t length = Get32(data + offset);
            if (!Fits(offset + 4, length, dataLength)) return mapReadErr;
            dataBytes += length + 4;
            if (dataBytes > dataLength) return mapReadErr;
            if (nameOffset != 0xFFFF) {
                size_t at = nameListOffset + nameOffset;
                if (!Fits(at, 1, mapLength) || !Fits(at + 1, map[at], mapLength)) return mapReadErr;
                e.hasName = true;
                e.name.assign(reinterpret_cast<const char*>(map + at + 1), map[at]);
            }
            if (!seen.insert({e.type, e.id}).second) continue;
            e.data.assign(data + offset + 4, data + offset + 4 + length);
            out->push_back(std::move(e));
        }
    }
    return noErr;
}

OSErr BuildResourceFork(const std::vector<ResourceEntry>& input, std::vector<UInt8>* out) {
    out->clear();
    std::vector<const ResourceEntry*> entries;
    for (const ResourceEntry& e : input)
        entries.push_back(&e);
    std::stable_sort(entries.begin(), entries.end(), [](const ResourceEntry* a, const ResourceEntry* b) {
        return a->type != b->type ? a->type < b->type : a->id < b->id;
    });
    std::vector<ResType> types;
    for (const ResourceEntry* e : entries)
        if (types.empty() || types.back() != e->type) types.push_back(e->type);

    std::vector<UInt8> data;
    std::vector<size_t> dataOffsets;
    for (const ResourceEntry* e : entries) {
        dataOffsets.push_back(data.size());
        if (data.size() > 0xFFFFFF) return addResFailed;
        UInt8 length[4];
        Set32(length, UInt32(e->data.size()));
        data.insert(data.end(), length, length + 4);
        data.insert(data.end(), e->data.begin(), e->data.end());
    }
    std::vector<UInt8> names;
    size_t typeListSize = 2 + types.size() * kTypeEntrySize;
    size_t mapSize = kMapHeaderSize + typeListSize + entries.size() * kReferenceSize;
    std::vector<UInt8> map(mapSize, 0);
    Set16(map.data() + 24, UInt16(kMapHeaderSize));
    Set16(map.data() + kMapHeaderSize, UInt16(types.size() - 1));
    size_t refAt = typeListSize; // from the start of the type list
    size_t index = 0;
    for (size_t t = 0; t < types.size(); ++t) {
        size_t first = index;
        while (index < entries.size() && entries[index]->type == types[t])
            ++index;
        UInt8* te = map.data() + kMapHeaderSize + 2 + t * kTypeEntrySize;
        Set32(te, types[t]);
        Set16(te + 4, UInt16(index - first - 1));
        if (refAt > 0xFFFF) return addResFailed;
        Set16(te + 6, UInt16(refAt));
        for (size_t i = first; i < index; ++i, refAt += kReferenceSize) {
            UInt8* ref = map.data() + kMapHeaderSize + refAt;
            const ResourceEntry* e = entries[i];
            Set16(ref, UInt16(e->id));
            if (e->hasName) {
                if (names.size() > 0xFFFE) return addResFailed;
                Set16(ref + 2, UInt16(names.size()));
                size_t n = std::min<size_t>(e->name.size(), 255);
                names.push_back(UInt8(n));
                names.insert(names.end(), e->name.begin(), e->name.begin() + long(n));
            } else {
                Set16(ref + 2, 0xFFFF);
            }
            ref[4] = e->attributes;
            ref[5] = UInt8(dataOffsets[i] >> 16), ref[6] = UInt8(dataOffsets[i] >> 8),
            ref[7] = UInt8(dataOffsets[i]);
        }
    }
    if (mapSize > 0xFFFF) return addResFailed;
    Set16(map.data() + 26, UInt16(mapSize));
    map.insert(map.end(), names.begin(), names.end());

    UInt8 header[kForkHeaderSize];
    Set32(header, UInt32(kDataStart));
    Set32(header + 4, UInt32(kDataStart + data.size()));
    Set32(header + 8, UInt32(data.size()));
    Set32(header + 12, UInt32(map.size()));
    std::memcpy(map.data(), header, kForkHeaderSize);
    out->assign(header, header + kForkHeaderSize);
    out->resize(kDataStart, 0);
    out->insert(out->end(), data.begin(), data.end());
    out->insert(out->end(), map.begin(), map.end());
    return noErr;
}

SInt16 FSOpenResFile(const FSRef* file, SInt8 permission) {
    gResError = noErr;
    if (!FSRefExists(file)) {
        gResError = fnfErr;
        return -1;
    }
    AppleDoubleContents contents;
    OSErr err = ReadSidecar(file, &contents);
    bool writable = (permission & fsWrPerm) != 0;
    if (err == fnfErr || err == paramErr) {
        if (!writable) {
            gResError = err == fnfErr ? resFNotFound : mapReadErr;
            return -1;
        }
        contents = AppleDoubleContents{};
    } else if (err != noErr) {
        gResError = err;
        return -1;
    }
    std::vector<ResourceEntry> entries;
    err = ParseResourceFork(contents.resourceFork.data(), contents.resourceFork.size(), &entries);
    if (err != noErr) {
        // A damaged fork opened for writing starts again empty; read-only it is refused.
        if (!writable) {
            gResError = err;
            return -1;
        }
        entries.clear();
    }
    size_t slot = 0;
    while (slot < gResFiles.size() && gResFiles[slot].open)
        ++slot;
    if (slot >= 1000) {
        gResError = tmfoErr;
        return -1;
    }
    if (slot == gResFiles.size()) gResFiles.emplace_back();
    OpenResourceFile& f = gResFiles[slot];
    f.open = true;
    f.writable = writable;
    f.changed = writable && contents.resourceFork.empty();
    f.file = *file;
    f.entries = std::move(entries);
    return SInt16(kFirstResFileNumber + SInt16(slot));
}

OSErr FSCreateResourceFork(const FSRef* file) {
    if (!FSRefExists(file)) return fnfErr;
    AppleDoubleContents contents;
    if (ReadSidecar(file, &contents) == noErr && !contents.resourceFork.empty()) return noErr;
    std::vector<UInt8> empty;
    OSErr err = BuildResourceFork({}, &empty);
    if (err == noErr) err = FSWriteResourceForkBytes(file, empty);
    return err;
}

void UpdateResFile(SInt16 refNum) {
    gResError = noErr;
    OpenResourceFile* f = FindResFile(refNum);
    if (f == nullptr) {
        gResError = rfNumErr;
        return;
    }
    if (!f->writable || !f->changed) return;
    std::vector<UInt8> bytes;
    OSErr err = BuildResourceFork(f->entries, &bytes);
    if (err == noErr) err = FSWriteResourceForkBytes(&f->file, bytes);
    gResError = err;
    if (err == noErr) f->changed = false;
}

void CloseResFile(SInt16 refNum) {
    UpdateResFile(refNum);
    OSErr err = gResError;
    if (OpenResourceFile* f = FindResFile(refNum)) *f = OpenResourceFile{};
    gResError = err;
}

OSErr ResError() {
    return gResError;
}

Boolean GetResourceBlock(SInt16 refNum, ResType type, SInt16 id, std::vector<UInt8>* bytes) {
    bytes->clear();
    OpenResourceFile* f = FindResFile(refNum);
    gResError = f ? resNotFound : rfNumErr;
    ResourceEntry* e = f ? FindEntry(f, type, id) : nullptr;
    if (e == nullptr) return false;
    gResError = noErr;
    *bytes = e->data;
    return true;
}

Boolean HasResource(SInt16 refNum, ResType type, SInt16 id) {
    OpenResourceFile* f = FindResFile(refNum);
    return f != nullptr && FindEntry(f, type, id) != nullptr;
}

OSErr AddResourceBlock(SInt16 refNum, ResType type, SInt16 id, const void* bytes, Size length,
                       ConstStr255Param name) {
    OpenResourceFile* f = FindResFile(refNum);
    if (f == nullptr) return gResError = rfNumErr;
    if (!f->writable) return gResError = wrPermErr;
    if (length < 0 || (length > 0 && bytes == nullptr)) return gResError = paramErr;
    ResourceEntry* e = FindEntry(f, type, id);
    if (e == nullptr) {
        f->entries.emplace_back();
        e = &f->entries.back();
    }
    e->type = type;
    e->id = id;
    e->attributes = 0;
    e->hasName = name != nullptr && name[0] > 0;
    e->name = e->hasName ? std::string(reinterpret_cast<const char*>(name + 1), name[0]) : std::string();
    const UInt8* p = static_cast<const UInt8*>(bytes);
    e->data.assign(p, p + length);
    f->changed = true;
    return gResError = noErr;
}

OSErr RemoveResourceBlock(SInt16 refNum, ResType type, SInt16 id) {
    OpenResourceFile* f = FindResFile(refNum);
    if (f == nullptr) return gResError = rfNumErr;
    if (!f->writable) return gResError = wrPermErr;
    auto it = std::find_if(f->entries.begin(), f->entries.end(),
                           [&](const ResourceEntry& e) { return e.type == type && e.id == id; });
    if (it == f->entries.end()) return gResError = resNotFound;
    f->entries.erase(it);
    f->changed = true;
    return gResError = noErr;
}

SInt16 CountResourcesOfType(SInt16 refNum, ResType type) {
    OpenResourceFile* f = FindResFile(refNum);
    if (f == nullptr) return 0;
    SInt16 n = 0;
    for (const ResourceEntry& e : f->entries)
        if (e.type == type) ++n;
    return n;
}
