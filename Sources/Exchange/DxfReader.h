// The DXF reader (text form): the content test, the import into a new document, and the options of
// the import that the Open panel's options button edits (dialog 188).
#pragma once

#include "Model/DocumentRecords.h"
#include "Platform/FileManager.h"

// STR# 200 messages of the import.
constexpr SInt16 kDxfMsgIgnoredParts = 43;
constexpr SInt16 kDxfMsgBinary = 49;
constexpr SInt16 kDxfMsgNewerVersion = 59;
constexpr SInt16 kDxfMsgNotReadable = 90;
constexpr SInt16 kDxfMsgTruncated = 124;

// True when "SECTION" starts somewhere in the bytes with at least one byte after it.
Boolean LooksLikeDXF(const UInt8* bytes, SInt32 count);
// Reads the file into a new document put in *slot. False, with a message and no document left open,
// when nothing of the file could be read as DXF (a binary DXF, no section at all, no memory).
Boolean ImportDXF(DocWindowRecord** slot, const FSRef* file);
// Makes ImportDXF the reader of the Open panel's DXF format and of automatic recognition.
void RegisterDXFImporter();

// The import scale of the preferences as the reader takes it: a scale of 0, below 0 or not a
// number is refused and 1.0 is used.
Float64 DxfImportScale();
