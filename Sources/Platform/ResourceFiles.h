// Resource forks of files in the Mac resource-fork format (header, resource data, map with type
// list, reference lists and names), and resource files opened on them by number, as the program's
// documents use them. The fork's bytes live in the file's AppleDouble sidecar.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

struct FSRef;

struct ResourceEntry {
    ResType type = 0;
    SInt16 id = 0;
    UInt8 attributes = 0;
    bool hasName = false;
    std::string name; // Mac Roman
    std::vector<UInt8> data;
};

// Decodes a resource fork; an empty fork holds no resources. mapReadErr for a damaged one (every
// offset, count and length is checked); a second resource of the same type and id is ignored.
OSErr ParseResourceFork(const UInt8* bytes, size_t size, std::vector<ResourceEntry>* out);
// addResFailed when the resources do not fit the format's 24-bit data and 16-bit map offsets.
OSErr BuildResourceFork(const std::vector<ResourceEntry>& entries, std::vector<UInt8>* out);

// Opens the file's resource fork; -1 when that fails (ResError tells why: resFNotFound without a
// fork, mapReadErr for a damaged one). With write permission a file without a fork gets an empty one.
SInt16 FSOpenResFile(const FSRef* file, SInt8 permission);
// Gives the file an empty resource fork unless it has one.
OSErr FSCreateResourceFork(const FSRef* file);
// Writes changes back to the sidecar, then forgets the file; ResError tells a failed write.
void CloseResFile(SInt16 refNum);
void UpdateResFile(SInt16 refNum);
OSErr ResError();

// Resource access by file number. A copy of the resource's bytes; false when there is none.
Boolean GetResourceBlock(SInt16 refNum, ResType type, SInt16 id, std::vector<UInt8>* bytes);
Boolean HasResource(SInt16 refNum, ResType type, SInt16 id);
// Adds (or replaces) a resource with a copy of the bytes; the file must be open for writing.
OSErr AddResourceBlock(SInt16 refNum, ResType type, SInt16 id, const void* bytes, Size length,
                       ConstStr255Param name);
OSErr RemoveResourceBlock(SInt16 refNum, ResType type, SInt16 id);
SInt16 CountResourcesOfType(SInt16 refNum, ResType type);
