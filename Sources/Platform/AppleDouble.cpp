// AppleDouble sidecars: decoding and encoding, and reading and writing them beside their files.
#include "Platform/AppleDouble.h"

#include "Platform/FileManager.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t kHeaderSize = 26; // magic, version, 16 filler bytes, entry count
constexpr size_t kEntrySize = 12;
// Where a two-entry sidecar puts its first entry; Macs put the Finder information there too, and the
// offsets inside their extended attributes count from the start of the file, so they stay valid
// only at this position.
constexpr size_t kFirstEntryOffset = kHeaderSize + 2 * kEntrySize;

UInt32 Get32(const UInt8* p) {
    return (UInt32(p[0]) << 24) | (UInt32(p[1]) << 16) | (UInt32(p[2]) << 8) | UInt32(p[3]);
}
UInt16 Get16(const UInt8* p) {
    return UInt16((p[0] << 8) | p[1]);
}
void Put32(std::vector<UInt8>& v, UInt32 x) {
    v.push_back(UInt8(x >> 24));
    v.push_back(UInt8(x >> 16));
    v.push_back(UInt8(x >> 8));
    v.push_back(UInt8(x));
}
void Put16(std::vector<UInt8>& v, UInt16 x) {
    v.push_back(UInt8(x >> 8));
    v.push_back(UInt8(x));
}

OSErr ReadWholeFile(const char* path, std::vector<UInt8>* out) {
    FSIORefNum fork = 0;
    OSErr err = FSOpenForkPath(path, fsRdPerm, &fork);
    if (err != noErr) return err;
    SInt64 size = 0;
    err = FSGetForkSize(fork, &size);
    if (err == noErr && size > 256 * 1024 * 1024) err = paramErr; // no sidecar is that large
    if (err == noErr) {
        out->resize(size_t(size));
        if (size > 0) err = FSReadFork(fork, fsFromStart, 0, ByteCount(size), out->data(), nullptr);
    }
    OSErr closeErr = FSCloseFork(fork);
    return err != noErr ? err : closeErr;
}

// Missing sidecars read as empty contents; damaged ones too (they are replaced when written), and
// so does a folder or another thing of the sidecar's name that is not a file.
OSErr ReadOrEmpty(const FSRef* file, AppleDoubleContents* contents) {
    OSErr err = ReadSidecar(file, contents);
    if (err == fnfErr || err == paramErr || err == notAFileErr) {
        *contents = AppleDoubleContents{};
        return noErr;
    }
    return err;
}

// The file must be there: fnfErr when it is not, or why it cannot be reached (a loop of links).
OSErr CheckFile(const FSRef* file) {
    FSFileInfo info;
    return FSGetFileInfo(file, &info);
}

} // namespace

OSErr ParseAppleDouble(const UInt8* bytes, size_t size, AppleDoubleContents* out) {
    *out = AppleDoubleContents{};
    if (size < kHeaderSize || Get32(bytes) != kAppleDoubleMagic || Get32(bytes + 4) != kAppleDoubleVersion)
        return paramErr;
    size_t count = Get16(bytes + 24);
    if (kHeaderSize + count * kEntrySize > size) return paramErr;
    bool sawFinderInfo = false, sawResourceFork = false;
    for (size_t i = 0; i < count; ++i) {
        const UInt8* e = bytes + kHeaderSize + i * kEntrySize;
        UInt32 id = Get32(e);
        size_t offset = Get32(e + 4), length = Get32(e + 8);
        if (offset > size || length > size - offset) return paramErr;
        if (id == kFinderInfoEntry && !sawFinderInfo) {
            sawFinderInfo = true;
            std::memcpy(out->finderInfo, bytes + offset, length < kFinderInfoSize ? length : kFinderInfoSize);
            if (length > kFinderInfoSize && offset == kFirstEntryOffset)
                out->finderInfoTail.assign(bytes + offset + kFinderInfoSize, bytes + offset + length);
        } else if (id == kResourceForkEntry && !sawResourceFork) {
            sawResourceFork = true;
            out->resourceFork.assign(bytes + offset, bytes + offset + length);
        }
    }
    return noErr;
}

std::vector<UInt8> BuildAppleDouble(const AppleDoubleContents& c) {
    std::vector<UInt8> v;
    size_t infoLength = kFinderInfoSize + c.finderInfoTail.size();
    v.reserve(kFirstEntryOffset + infoLength + c.resourceFork.size());
    Put32(v, kAppleDoubleMagic);
    Put32(v, kAppleDoubleVersion);
    static const char filler[17] = "Mac OS X        ";
    v.insert(v.end(), filler, filler + 16);
    Put16(v, 2);
    Put32(v, kFinderInfoEntry);
    Put32(v, UInt32(kFirstEntryOffset));
    Put32(v, UInt32(infoLength));
    Put32(v, kResourceForkEntry);
    Put32(v, UInt32(kFirstEntryOffset + infoLength));
    Put32(v, UInt32(c.resourceFork.size()));
    v.insert(v.end(), c.finderInfo, c.finderInfo + kFinderInfoSize);
    v.insert(v.end(), c.finderInfoTail.begin(), c.finderInfoTail.end());
    v.insert(v.end(), c.resourceFork.begin(), c.resourceFork.end());
    return v;
}

void DecodeFInfo(const UInt8 b[16], FInfo* info) {
    info->fdType = Get32(b);
    info->fdCreator = Get32(b + 4);
    info->fdFlags = Get16(b + 8);
    info->fdLocation.v = SInt16(Get16(b + 10));
    info->fdLocation.h = SInt16(Get16(b + 12));
    info->fdFldr = SInt16(Get16(b + 14));
}

void EncodeFInfo(const FInfo& info, UInt8 b[16]) {
    std::vector<UInt8> v;
    Put32(v, info.fdType);
    Put32(v, info.fdCreator);
    Put16(v, info.fdFlags);
    Put16(v, UInt16(info.fdLocation.v));
    Put16(v, UInt16(info.fdLocation.h));
    Put16(v, UInt16(info.fdFldr));
    std::memcpy(b, v.data(), 16);
}

std::string SidecarPath(const char* path) {
    std::string p = path;
    size_t slash = p.rfind('/');
    size_t leaf = slash == std::string::npos ? 0 : slash + 1;
    return p.substr(0, leaf) + "._" + p.substr(leaf);
}

Boolean SidecarNameFits(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return std::strlen(slash ? slash + 1 : path) + 2 <= 255;
}

Boolean IsSidecarTempName(const std::string& name, SInt32* pid) {
    // "._" + (a leaf, perhaps shortened) + ".tmp" + process id + "-" + random digits, or a counter
    if (name.size() < 2 || name.compare(0, 2, "._") != 0) return false;
    if (name.size() > 2 && IsTempBesideName(name, pid)) return true;
    size_t dash = name.rfind('-');
    size_t tmp = name.rfind(".tmp");
    if (dash == std::string::npos || tmp == std::string::npos || tmp < 2 || dash < tmp + 5 ||
        dash + 1 == name.size())
        return false;
    auto digits = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            if (name[i] < '0' || name[i] > '9') return false;
        return to > from && to - from <= 10;
    };
    if (!digits(tmp + 4, dash) || !digits(dash + 1, name.size())) return false;
    if (pid) *pid = SInt32(std::strtol(name.c_str() + tmp + 4, nullptr, 10));
    return true;
}

OSErr ReadSidecar(const FSRef* link, AppleDoubleContents* out) {
    *out = AppleDoubleContents{};
    // A symbolic link's forks are those of the file it names.
    FSRef file;
    OSErr err = FSResolveLinks(link, &file);
    if (err != noErr) return err;
    if (!SidecarNameFits(file.path)) return fnfErr; // such a name cannot have one
    std::vector<UInt8> bytes;
    err = ReadWholeFile(SidecarPath(file.path).c_str(), &bytes);
    if (err != noErr) return err;
    return ParseAppleDouble(bytes.data(), bytes.size(), out);
}

OSErr WriteSidecar(const FSRef* link, const AppleDoubleContents& contents) {
    FSRef file;
    OSErr err = FSResolveLinks(link, &file);
    if (err != noErr) return err;
    if (!SidecarNameFits(file.path)) return bdNamErr;
    FSRef target, temp;
    err = FSMakeRef(SidecarPath(file.path).c_str(), &target);
    if (err != noErr) return err;
    // The sidecar holds what the file holds (the preview, header and footer texts): it is readable
    // by whom the file is.
    FSIORefNum fork = 0;
    err = FSCreateTempBeside(&target, &file, &temp, &fork);
    if (err != noErr) return err;
    std::vector<UInt8> bytes = BuildAppleDouble(contents);
    err = FSWriteFork(fork, fsFromStart, 0, ByteCount(bytes.size()), bytes.data(), nullptr);
    OSErr flushErr = FSFlushFork(fork);
    OSErr closeErr = FSCloseFork(fork);
    if (err == noErr) err = flushErr != noErr ? flushErr : closeErr;
    if (err == noErr && std::rename(temp.path, target.path) != 0) err = OSErrFromErrno(errno);
    if (err != noErr) unlink(temp.path);
    return err;
}

OSErr FSGetFinderInfo(const FSRef* file, FInfo* info) {
    *info = FInfo{};
    if (OSErr missing = CheckFile(file); missing != noErr) return missing;
    AppleDoubleContents contents;
    OSErr err = ReadOrEmpty(file, &contents);
    if (err != noErr) return err;
    DecodeFInfo(contents.finderInfo, info);
    return noErr;
}

OSErr FSSetFinderInfo(const FSRef* file, const FInfo& info) {
    if (OSErr missing = CheckFile(file); missing != noErr) return missing;
    AppleDoubleContents contents;
    OSErr err = ReadOrEmpty(file, &contents);
    if (err != noErr) return err;
    EncodeFInfo(info, contents.finderInfo);
    return WriteSidecar(file, contents);
}

OSErr FSReadResourceForkBytes(const FSRef* file, std::vector<UInt8>* bytes) {
    bytes->clear();
    if (OSErr missing = CheckFile(file); missing != noErr) return missing;
    AppleDoubleContents contents;
    OSErr err = ReadOrEmpty(file, &contents);
    if (err == noErr) *bytes = std::move(contents.resourceFork);
    return err;
}

OSErr FSWriteResourceForkBytes(const FSRef* file, const std::vector<UInt8>& bytes) {
    if (OSErr missing = CheckFile(file); missing != noErr) return missing;
    AppleDoubleContents contents;
    OSErr err = ReadOrEmpty(file, &contents);
    if (err != noErr) return err;
    contents.resourceFork = bytes;
    return WriteSidecar(file, contents);
}

OSErr DeleteSidecar(const FSRef* file) {
    if (!file->path[0]) return bdNamErr;
    if (unlink(SidecarPath(file->path).c_str()) != 0 && errno != ENOENT) return OSErrFromErrno(errno);
    return noErr;
}

void RemoveStaleWriterTemps(const FSRef* folder, Boolean exchangeKeeps) {
    std::vector<std::string> names;
    if (FSListFolder(folder, &names) != noErr) return;
    auto regular = [&](const std::string& name) {
        struct stat st;
        return lstat((std::string(folder->path) + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    };
    for (const std::string& name : names) {
        SInt32 pid = 0;
        bool temp = IsSidecarTempName(name, &pid) || IsTempBesideName(name, &pid);
        bool keep = !temp && exchangeKeeps && IsExchangeKeepName(name, &pid);
        // A writer that still runs may be about to rename it into place.
        if ((!temp && !keep) || ProcessMayRun(pid) || !regular(name)) continue;
        if (keep && !regular(name.substr(0, name.rfind(".old")))) continue;
        unlink((std::string(folder->path) + "/" + name).c_str());
    }
}
