// Which reader or writer handles a file: the single way from a file into a document (by Finder
// type, extension, the Open panel's format or, automatically, by content), Save As with its formats,
// and the Open and Save panels with their options. Other formats plug in by registering.
#pragma once

#include "Model/DocumentRecords.h"
#include "Files/FileCommands.h"

#include <string>

enum : SInt16 {
    kOpenAutomatic = 1,
    kOpenNative = 2,
    kOpenPicture = 3,
    kOpenDXF = 4,
    kOpenIGES = 5,
    kOpenHPGL = 6,
    kOpenSTL = 7,
    kOpenSeparatedList = 8,
    kOpenQuotedList = 9,
    kOpenFixedColumnList = 10,
    kOpenCNO = 11,
    kOpenHoleList = 12, // found only automatically
};
enum : SInt16 {
    kSaveNative = 1,
    kSaveStationery = 2,
    kSaveDXF = 3,
    kSaveHPGL = 4,
    kSavePDF = 5,
    kSaveIGES = 6,
    kSaveHoleList = 7,
};

constexpr OSType kSymbolLibraryType = 0x4673796D; // 'Fsym'
constexpr OSType kPictureFileType = 0x50494354;   // 'PICT'
constexpr OSType kAnyFileType = 0x3F3F3F3F;       // '????'

// Readers of other formats: a content test over the file's first bytes (only those the file has)
// and the importer, which makes its own document. Writers: the document to the chosen file.
struct FormatImporter {
    Boolean (*looksLike)(const UInt8* bytes, SInt32 count);
    Boolean (*import)(DocWindowRecord** slot, const FSRef* file);
};
void RegisterImporter(SInt16 openFormat, const FormatImporter& importer);
using FormatExporter = Boolean (*)(DocWindowRecord* doc, const FSRef* file);
void RegisterExporter(SInt16 saveFormat, FormatExporter exporter);
// The options dialog the save panel's options button opens for a format.
using ExportOptionsDialog = void (*)(DocWindowRecord* doc);
void RegisterExportOptions(SInt16 saveFormat, ExportOptionsDialog dialog);

// Whether Save As offers the format for the document: its writer is registered and, for HPGL and
// PDF, the document's output area is laid.
Boolean SaveFormatAvailable(const DocWindowRecord* doc, SInt16 saveFormat);

// OpenDocumentFile and SaveDocumentAs (FileCommands.h): a null or empty file asks in the Open panel;
// Save As passes its three flags to the native writer as only the selection, the alternative prompt
// and keep the changed mark; with restore the document keeps its own file whatever was written.

// The Open panel listing files of the four types ("????" first: every file); true with the file
// and its Finder type. With the options area: the picture placement, the only-drawings box, the
// import options and the open format of GeneralPrefs.
Boolean OpenPanelWithOptions(ConstStr255Param prompt, const OSType types[4], FSRef* file, OSType* type,
                             Boolean customArea);
// The Open panel's preview of the file made current: a native drawing's preview picture (else the
// program's placeholder, else a "No preview" text) over its size and its modification time and
// date; nothing for folders and other files. Draws into the current port within the area.
Boolean OpenPanelPreviewProc(const std::string& path, const Rect* area);
void DrawOpenPreview(const FSRef* file, const Rect* area);
// The two lines below the preview picture: the size of both forks, and "time, date" of the last
// change. False when the file cannot be looked at.
Boolean OpenPreviewLines(const FSRef* file, Str255 size, Str255 changed);
// The Save panel proposing the document's name; with formats, the save format and the extension
// box of the document's settings. True with the chosen file.
Boolean SavePanel(DocWindowRecord* doc, ConstStr255Param prompt, FSRef* file, Boolean withFormats);
// Plain panels for one file type (symbol libraries: "Fsym" lists them by type or extension).
Boolean ChooseOpenFile(OSType type, FSRef* file);
Boolean ChooseSaveFile(FSRef* file, ConstStr255Param prompt, ConstStr255Param proposedName);

// The format's extension in place of a known one, when the document's extension box is on.
std::string SetExportExtension(const DocWindowRecord* doc, const std::string& name, SInt16 format);
// Whether the Open panel lists the file: Finder type among the four, and the extras of the rules.
Boolean OpenPanelListsFile(const std::string& path, const OSType types[4], Boolean nativeOnly);
