// The save record in a drawing's sidecar and the clearing up after saves that were killed.
#include "Files/SaveRecovery.h"

#include "Platform/AppleDouble.h"
#include "Files/FileNames.h"
#include "Platform/ResourceFiles.h"

#include <cstring>
#include <set>

namespace {

constexpr UInt16 kSaveRecordFormat = 1;
constexpr UInt8 kCompleteFlag = 1;
constexpr char kTempPrefix[] = "temp save file (";

void Put(std::vector<UInt8>& v, UInt64 x, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        v.push_back(UInt8(x >> (8 * i)));
}
UInt64 Get(const UInt8* p, int bytes) {
    UInt64 x = 0;
    for (int i = 0; i < bytes; ++i)
        x = x << 8 | p[i];
    return x;
}

bool SameChecksum(const FSRef* file, const SaveRecord& record) {
    UInt64 size = 0, sum = 0;
    return record.complete && DataForkChecksum(file, &size, &sum) == noErr && size == record.dataSize &&
           sum == record.dataChecksum;
}

bool OwnSidecarMatches(const FSRef* file) {
    SaveRecord own;
    return ReadSaveRecord(file, &own) && SameChecksum(file, own);
}

bool IsRegularFile(const FSRef* file) {
    FSRef resolved;
    FSFileInfo info{};
    return FSResolveLinks(file, &resolved) == noErr && std::strcmp(resolved.path, file->path) == 0 &&
           FSGetFileInfo(file, &info) == noErr && info.isOrdinary;
}

} // namespace

std::vector<UInt8> EncodeSaveRecord(const SaveRecord& record) {
    std::vector<UInt8> v;
    Put(v, kSaveRecordFormat, 2);
    v.push_back(record.complete ? kCompleteFlag : 0);
    Put(v, record.dataSize, 8);
    Put(v, record.dataChecksum, 8);
    std::string name = CutUtf8(record.savedAs, 255);
    v.push_back(UInt8(name.size()));
    v.insert(v.end(), name.begin(), name.end());
    return v;
}

bool DecodeSaveRecord(const std::vector<UInt8>& bytes, SaveRecord* record) {
    constexpr size_t kFixed = 2 + 1 + 8 + 8 + 1;
    if (bytes.size() < kFixed || Get(bytes.data(), 2) != kSaveRecordFormat) return false;
    size_t length = bytes[kFixed - 1];
    if (bytes.size() < kFixed + length || length == 0) return false;
    record->complete = (bytes[2] & kCompleteFlag) != 0;
    record->dataSize = Get(&bytes[3], 8);
    record->dataChecksum = Get(&bytes[11], 8);
    record->savedAs.assign(reinterpret_cast<const char*>(&bytes[kFixed]), length);
    return record->savedAs.find('/') == std::string::npos;
}

bool ReadSaveRecord(const FSRef* file, SaveRecord* record) {
    // From the sidecar alone: a stranded one has no file beside it.
    AppleDoubleContents contents;
    std::vector<ResourceEntry> resources;
    if (ReadSidecar(file, &contents) != noErr ||
        ParseResourceFork(contents.resourceFork.data(), contents.resourceFork.size(), &resources) != noErr)
        return false;
    for (const ResourceEntry& r : resources)
        if (r.type == kSaveRecordType && r.id == kSaveRecordId) return DecodeSaveRecord(r.data, record);
    return false;
}

OSErr DataForkChecksum(const FSRef* file, UInt64* size, UInt64* checksum) {
    *size = 0;
    *checksum = 0;
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(file, fsRdPerm, &fork);
    if (err != noErr) return err;
    UInt64 sum = 14695981039346656037ull;
    std::vector<UInt8> chunk(1 << 20);
    for (;;) {
        ByteCount got = 0;
        err = FSReadFork(fork, fsAtMark, 0, ByteCount(chunk.size()), chunk.data(), &got);
        for (ByteCount i = 0; i < got; ++i)
            sum = (sum ^ chunk[i]) * 1099511628211ull;
        *size += got;
        if (err != noErr) break;
    }
    FSCloseFork(fork);
    if (err != eofErr) return err;
    *checksum = sum;
    return noErr;
}

bool IsTempSaveFileName(const std::string& name) {
    size_t prefix = sizeof kTempPrefix - 1;
    if (name.size() < prefix + 2 || name.compare(0, prefix, kTempPrefix) != 0 || name.back() != ')')
        return false;
    size_t digits = name.size() - prefix - 1;
    if (digits > 10) return false;
    for (size_t i = prefix; i + 1 < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

// A leftover is certainly ours when its name is exactly "temp save file (N)" and either it is an
// empty file with no sidecar (a save killed as it made the file: nothing to lose), or its sidecar
// holds a save record naming another file that exists beside it (every temporary file gets one at
// once, and a file the user named so records its own name). Even then it is removed only when
// the drawing it was made for is whole without it. A stranded sidecar "._temp save file (N)"
// (its file renamed into the backup, the sidecar not yet) follows the same rule. The temporary
// files of other writes (sidecars, exports) and the second names of exchanges go once the process
// that made them has ended.
void RecoverInterruptedSaves(const FSRef* folder) {
    std::vector<std::string> names;
    if (FSListFolder(folder, &names) != noErr) return;
    std::set<std::string> present(names.begin(), names.end());
    std::vector<std::string> temps;
    bool writerTemps = false;
    for (const std::string& name : names) {
        if (IsTempSaveFileName(name))
            temps.push_back(name);
        else if (name.compare(0, 2, "._") == 0 && IsTempSaveFileName(name.substr(2)) &&
                 present.count(name.substr(2)) == 0)
            temps.push_back(name.substr(2));
        else if (IsSidecarTempName(name, nullptr) || IsTempBesideName(name, nullptr) ||
                 IsExchangeKeepName(name, nullptr))
            writerTemps = true;
    }
    if (temps.empty() && !writerTemps) return;
    SInt32 lock = -1;
    if (FSLockFolder(folder, true, &lock) != noErr) return;
    for (const std::string& name : temps) {
        FSRef temp;
        if (FSMakeChildRef(folder, name.c_str(), &temp) != noErr) continue;
        bool hasData = present.count(name) != 0;
        if (hasData && !IsRegularFile(&temp)) continue;
        SaveRecord record;
        if (!ReadSaveRecord(&temp, &record)) {
            FSFileInfo info{};
            if (hasData && present.count("._" + name) == 0 && FSGetFileInfo(&temp, &info) == noErr &&
                info.dataSize == 0)
                FSDeleteObject(&temp);
            continue;
        }
        FSRef drawing;
        if (record.savedAs == name || FSMakeChildRef(folder, record.savedAs.c_str(), &drawing) != noErr ||
            !IsRegularFile(&drawing))
            continue;
        if (hasData) {
            // Killed between the two exchanges: the new drawing's data fork is in place beside the
            // old sidecar, and its own sidecar is still here.
            if (SameChecksum(&drawing, record) && !OwnSidecarMatches(&drawing) &&
                FSExchangeSidecars(&temp, &drawing) != noErr)
                continue;
            FSDeleteObject(&temp);
        } else {
            // The sidecar belongs to the drawing (an exchange without the atomic call, cut short) or
            // to its backup (a rename cut between the data fork and the sidecar): to the one whose
            // data fork it describes while that one's own sidecar does not.
            FSRef backup;
            FSRef* owner = nullptr;
            if (FSMakeChildRef(folder, BackupFileName(record.savedAs).c_str(), &backup) == noErr &&
                IsRegularFile(&backup) && SameChecksum(&backup, record) && !OwnSidecarMatches(&backup))
                owner = &backup;
            else if (SameChecksum(&drawing, record) && !OwnSidecarMatches(&drawing))
                owner = &drawing;
            if (owner != nullptr && FSExchangeSidecars(&temp, owner) != noErr) continue;
            DeleteSidecar(&temp);
        }
    }
    // An exchange's second name may hold the only old version while a save here is half done.
    bool savesSettled = FSListFolder(folder, &names) == noErr;
    for (const std::string& name : names)
        if (IsTempSaveFileName(name) || (name.compare(0, 2, "._") == 0 && IsTempSaveFileName(name.substr(2))))
            savesSettled = false;
    RemoveStaleWriterTemps(folder, savesSettled);
    FSUnlockFolder(lock);
}
