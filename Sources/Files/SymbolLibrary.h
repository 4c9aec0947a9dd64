// Symbol library files: named symbol definitions kept outside any drawing, copied between a
// drawing and the one open library. The file is a header, a fixed directory of 1024 slots and the
// symbol records appended after it; the list of the open library lives for the whole run.
#pragma once

#include "Model/DocumentRecords.h"
#include "Platform/FileManager.h"

constexpr UInt16 kSymbolLibraryVersion = 258;
constexpr SInt32 kLibrarySlotCount = 1024;
constexpr SInt32 kLibrarySlotBytes = 26;
constexpr SInt32 kLibraryDirectoryBytes = 4 + kLibrarySlotCount * kLibrarySlotBytes; // 26628
constexpr OSType kSymbolLibraryCreator = 0x3C3C3C3C;                                 // '<<<<'
// Record markers and the element versions they stand for.
constexpr UInt16 kLibraryMarker700 = 0xFFFE;
constexpr UInt16 kLibraryMarker211 = 0xFFFF;

// Messages of list 200.
constexpr SInt16 kMsgLibraryNameTaken = 3;
constexpr SInt16 kMsgLibraryDamagedSlots = 6;
constexpr SInt16 kMsgLibrarySymbolDamaged = 7;
constexpr SInt16 kMsgLibraryFull = 8;
constexpr SInt16 kMsgLibraryNotWritten = 10;
constexpr SInt16 kMsgLibraryVersion = 11;
constexpr SInt16 kMsgSymbolNameShortened = 19;
constexpr SInt16 kMsgSymbolNameUsed = 27;
constexpr SInt16 kMsgLibraryDamaged = 90;
constexpr SInt16 kMsgNotASymbolLibrary = 55;
// Items of STR# 5000.
constexpr SInt16 kLibraryCopyingItem = 58;
constexpr SInt16 kNoLibraryOpenItem = 59;
constexpr SInt16 kNewLibraryPromptItem = 61;
constexpr SInt16 kClashInLibraryItem = 62;
constexpr SInt16 kClashInDrawingItem = 63;
constexpr SInt16 kCopyToLibraryItem = 64;
constexpr SInt16 kCopyItem = 65;
constexpr SInt16 kCopyToDrawingItem = 66;
constexpr SInt16 kNewLibraryNameItem = 275;
// Questions of list 201.
constexpr SInt16 kAskDeleteDrawingSymbols = 1;
constexpr SInt16 kAskDeleteInstances = 2;
constexpr SInt16 kAskDeleteLibrarySymbols = 3;

struct SymbolLibraryNode {
    Str19 name;
    UInt32 offset;
    SInt16 format;
    SInt16 scaleFlag;
    SInt16 slot; // its directory slot
    SymbolLibraryNode* next;
};

// The open library's symbols sorted by name behind a dummy head; an empty file path means none.
struct SymbolLibraryListRecord {
    SymbolLibraryNode* head = nullptr;
    SInt16 count = 0;
    SymbolLibraryNode* cursor = nullptr;
    FSRef file{};
};
extern SymbolLibraryListRecord SymbolLibraryList;

void InitSymbolLibraryList();
void DisposeSymbolLibraryList();
Boolean SymbolLibraryIsOpen();
// Closes the library: no file, the list emptied.
void CloseSymbolLibrary();
// The index-th node of the sorted list (0 the first), or null.
SymbolLibraryNode* SymbolLibraryNodeAt(SInt16 index);
// The index of the node of that name, or -1.
SInt16 FindLibrarySymbol(ConstStr255Param name);

// A library by its Finder type ("Fsym", "FSYM") or its extension "LIB" or "BIB" in any case.
Boolean IsSymbolLibraryFile(const FSRef* file);
// Makes an empty library (header and 1024 free slots, type "Fsym", creator "<<<<") in place of
// any file of the name, written beside it first; shows the error and returns it when it fails.
OSErr CreateSymbolLibrary(const FSRef* file);
// Opens the file as the library and lists its symbols: message 55 for a file that is no library,
// 11 for another version, 90 when the directory cannot be read (nothing opened then), 6 when some
// slots cannot be listed. noErr when it is open.
OSErr OpenSymbolLibraryFile(const FSRef* file);
// Re-reads the directory of the open library into the list.
OSErr RebuildSymbolLibraryList();

// The index-th symbol of the list as a new definition that belongs to no list (the document
// gives the pen tables of old records). A symbol that cannot be read whole gives an error and no
// definition; nothing is kept half-read.
OSErr ReadLibrarySymbol(DocWindowRecord* doc, SInt16 index, SymbolDefRecord** out);

// What to do when a copied symbol's name is taken.
enum : SInt16 {
    kClashStop = 1,
    kClashRename = 2,
    kClashReplace = 3,
};
// Asks how to settle a clash (dialog 149): the outcome, with newName filled for kClashRename and
// applyToAll set when later clashes of the same copy take the same outcome unasked.
using SymbolNameClashAsker = SInt16 (*)(Boolean toLibrary, ConstStr255Param name, Str255 newName,
                                        Boolean* applyToAll);
// Progress of a copy of n symbols, in percent.
using SymbolCopyProgress = void (*)(SInt16 percent);

// Stores the definition in the open library under name (cut to 19): in its own slot when replace
// is set and the name is there, else in the first free listed slot; the record is appended and
// flushed before the directory is written. A full library or a failed write changes nothing in
// the file and shows its message.
OSErr StoreLibrarySymbol(const SymbolDefRecord* def, ConstStr255Param name, Boolean replace);
// Copies the definitions (n of them) into the open library, settling clashes through ask.
// Returns the number copied; stops at the first failure.
SInt16 CopySymbolsToLibrary(SymbolDefRecord* const* defs, SInt16 n, SymbolNameClashAsker ask,
                            SymbolCopyProgress progress);
// Copies the library symbols of the list indexes into the drawing; a replaced definition's
// instances show the new one. Returns the number copied.
SInt16 CopySymbolsToDrawing(DocWindowRecord* doc, const SInt16* indexes, SInt16 n, SymbolNameClashAsker ask,
                            SymbolCopyProgress progress);

// The number of instances of the drawing that use the definition.
SInt32 CountSymbolInstances(const DocWindowRecord* doc, const SymbolDefRecord* def);
// Renames a library symbol (message 3 when the name is taken; the directory write is checked).
OSErr RenameLibrarySymbol(SInt16 index, ConstStr255Param newName);
// Renames a drawing definition; false (message 3) when another has the name.
Boolean RenameDrawingSymbol(DocWindowRecord* doc, SymbolDefRecord* def, ConstStr255Param newName);
// Frees the library slots of the list indexes (the records stay in the file) and rebuilds the list.
OSErr DeleteLibrarySymbols(const SInt16* indexes, SInt16 n);
// Deletes the definition and its instances (those with their undo records), and frees it.
void DeleteDrawingSymbol(DocWindowRecord* doc, SymbolDefRecord* def);
