// The native drawing file's data fork: its sections in fixed order, written at the current version
// and read for every version from 0x180 on, with the gates and upgrades of older versions.
#pragma once

#include "Model/DocumentRecords.h"

constexpr OSType kNativeFileType = 0x465A4537;    // 'FZE7'
constexpr OSType kOldNativeFileType = 0x465A4549; // 'FZEI'
constexpr OSType kNativeCreator = 0x56657665;     // 'Veve'
constexpr SInt16 kOldestReadableVersion = 0x180;
constexpr SInt16 kFirstUnreadableVersion = 0x702;
constexpr UInt16 kDefaultVersResource = 0x0350; // files without a 'vers' resource
constexpr int kFrameTrailerBytes = 120;         // reserved bytes behind each frame and the section

// Messages of string list 200 about native files ("#" is the file name).
enum : SInt16 {
    kMsgVersionTooOld = 16,
    kMsgVersionTooNew = 23,
    kMsgSaveDiskFull = 34,
    kMsgSaveFailed = 35,
    kMsgSaveAccessDenied = 40,
    kMsgBadHeader = 46,
    kMsgBadElementCounts = 58,
    kMsgFileDamaged = 90,
    kMsgResourcesNotSaved = 91,
    kMsgFormatNotAvailable = 92,
    kMsgRenameFailed = 93,
    kMsgDamagedResources = 97,
};

struct NativeFileHeader {
    SInt16 version;
    Boolean extendedFlag;
    SInt32 sizeHint;
    SInt16 realFormat; // the format every real of the file is stored in
};

struct ElementCounts {
    SInt32 lines, arcs, texts, dimensions, instances, polylines, definitions, areas;
    SInt32 bytes; // the records' bytes in memory
};

// Counts what the writer writes: the document's own elements (only the selected ones when asked)
// and everything inside symbol definitions.
ElementCounts CountDocumentElements(const DocWindowRecord* doc, Boolean selectionOnly);
// Numbers the definitions -1, -2, ... in list order and writes the numbers into their elements'
// group numbers and into the instances that show them.
void NumberSymbolDefinitions(DocWindowRecord* doc);

// Writes sections 1 to 14 at the stream's position; returns StreamError. The progress window, when
// open, follows the element records.
OSErr WriteNativeDataFork(DocWindowRecord* doc, SInt16 fork, Boolean selectionOnly);

// Reads the header; 0 when it is sound, else the message to show (46, 16 or 23).
SInt16 ReadNativeHeader(SInt16 fork, NativeFileHeader* header);

struct NativeReadOptions {
    Boolean insert = false; // read into an open drawing instead of a new one
    SInt16 layer = -1;      // 0 or more: every element read goes on that layer
    Float64 dx = 0, dy = 0; // inserting: added to the positions of the elements read
    UInt16 versResource = kDefaultVersResource;
    SInt16 resFile = -1; // the file's resources, open while the frames are read
};

// Reads everything behind the header into the document. 0 when the file was read; otherwise the
// message to show (58 for malformed element counts, 90 for a damaged file). A failed read leaves
// an inserted-into document as it was; a new document is the caller's to close.
SInt16 ReadNativeBody(DocWindowRecord* doc, SInt16 fork, const NativeFileHeader& header,
                      const NativeReadOptions& options);

// The unique name an inserted symbol definition takes when its name is in use: a trailing "#n"
// becomes "#n+1", else "#1", "#2", ... are tried; the stem is cut so the whole fits 19 characters.
void MakeUniqueDefinitionName(DocWindowRecord* doc, SymbolDefRecord* definition);
