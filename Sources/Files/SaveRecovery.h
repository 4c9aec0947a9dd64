// What a save records in the sidecar it writes (the file it was made for, the size and checksum of
// its data fork), and the clearing up of what saves that were killed half-way left in a folder.
#pragma once

#include "Platform/FileManager.h"

#include <string>
#include <vector>

// Resource 'Save' 128 in every sidecar a save writes.
constexpr ResType kSaveRecordType = 0x53617665; // 'Save'
constexpr SInt16 kSaveRecordId = 128;

struct SaveRecord {
    std::string savedAs;   // leaf name of the file the save was made for
    bool complete = false; // the data fork was written completely and the fields below are its
    UInt64 dataSize = 0;
    UInt64 dataChecksum = 0;
};

std::vector<UInt8> EncodeSaveRecord(const SaveRecord& record);
bool DecodeSaveRecord(const std::vector<UInt8>& bytes, SaveRecord* record);
// The save record in a file's sidecar; false when it has none.
bool ReadSaveRecord(const FSRef* file, SaveRecord* record);
// Size and 64-bit FNV-1a checksum of a file's data fork.
OSErr DataForkChecksum(const FSRef* file, UInt64* size, UInt64* checksum);

// Whether a leaf name is exactly one that a save gives its temporary file.
bool IsTempSaveFileName(const std::string& name);

// Finds what killed saves left in the folder, repairs a drawing whose save was cut between the
// exchange of its data fork and that of its sidecar, and removes the leftovers that are certainly
// ours. Does nothing while any save in the folder is running (in this or another process).
void RecoverInterruptedSaves(const FSRef* folder);
