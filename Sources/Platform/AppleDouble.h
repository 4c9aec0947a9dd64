// Finder information and resource forks of files, kept in an AppleDouble sidecar "._name" beside
// each file (the form Macs use on volumes without forks), so both forks survive a copy to a Mac.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

struct FSRef;

// The 16 bytes of Finder information a file carries (type, creator, flags, icon position).
struct FInfo {
    OSType fdType;
    OSType fdCreator;
    UInt16 fdFlags;
    Point fdLocation;
    SInt16 fdFldr;
};

constexpr UInt16 kHasCustomIcon = 0x0400;
constexpr UInt16 kIsStationery = 0x0800;

constexpr UInt32 kAppleDoubleMagic = 0x00051607;
constexpr UInt32 kAppleDoubleVersion = 0x00020000;
constexpr UInt32 kResourceForkEntry = 2;
constexpr UInt32 kFinderInfoEntry = 9;
constexpr size_t kFinderInfoSize = 32;

// What a sidecar holds: the 32 bytes of Finder information (FInfo then the extended information),
// the resource fork's bytes, and, from sidecars a Mac wrote, the extended attributes it keeps
// behind the Finder information (carried unchanged while they can stay where they are).
struct AppleDoubleContents {
    UInt8 finderInfo[kFinderInfoSize] = {};
    std::vector<UInt8> resourceFork;
    std::vector<UInt8> finderInfoTail;
};

// Decodes a sidecar; paramErr when it is not one (every offset and length is checked).
OSErr ParseAppleDouble(const UInt8* bytes, size_t size, AppleDoubleContents* out);
std::vector<UInt8> BuildAppleDouble(const AppleDoubleContents& contents);

void DecodeFInfo(const UInt8 bytes[16], FInfo* info);
void EncodeFInfo(const FInfo& info, UInt8 bytes[16]);

// The sidecar's path for a file's path: "._" before the leaf name, beside the file.
std::string SidecarPath(const char* path);
// Whether a file of that path can have a sidecar at all: "._" and a leaf of 254 or 255 bytes make a
// name longer than Linux allows, so such files keep only their data fork.
Boolean SidecarNameFits(const char* path);
// Whether a name is one WriteSidecar gives its temporary file ("._", the leaf perhaps shortened,
// ".tmp", the writer's process id, "-", a counter); the process id comes back in pid.
Boolean IsSidecarTempName(const std::string& name, SInt32* pid);

// The sidecar of a file: fnfErr when there is none; a damaged one reads as none (paramErr).
OSErr ReadSidecar(const FSRef* file, AppleDoubleContents* out);
// Writes the whole sidecar through a temporary file that replaces it, synced to disk.
OSErr WriteSidecar(const FSRef* file, const AppleDoubleContents& contents);

// Removes a file's sidecar alone (none is no error).
OSErr DeleteSidecar(const FSRef* file);
// Removes the temporary files of sidecar and file writes (FSCreateTempBeside) whose writing process
// no longer runs (killed before it could rename them into place); only regular files go. With
// exchangeKeeps, also the second names exchanges gave files ("name.old<pid>-<n>") whose process
// has ended, where the file "name" they were made from is there: the version they hold was being
// replaced, and the caller knows that no save in the folder still needs it.
void RemoveStaleWriterTemps(const FSRef* folder, Boolean exchangeKeeps);

// Finder information: a file without a sidecar has none (all zero); fnfErr when the file is missing.
OSErr FSGetFinderInfo(const FSRef* file, FInfo* info);
// Sets the Finder information, keeping the resource fork and everything else the sidecar holds.
OSErr FSSetFinderInfo(const FSRef* file, const FInfo& info);
// The resource fork's bytes (empty without a sidecar) and their replacement.
OSErr FSReadResourceForkBytes(const FSRef* file, std::vector<UInt8>* bytes);
OSErr FSWriteResourceForkBytes(const FSRef* file, const std::vector<UInt8>& bytes);
