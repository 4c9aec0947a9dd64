// Saving a drawing to its native file with a safe save, opening one into a new document or into an
// open drawing, the document's resources (header and footer texts, selection tables, print
// settings, preview, log, version) and the backup a save keeps.
#pragma once

#include "Model/DocumentRecords.h"

#include <string>

// Writes the document to its file (the DrawingRecord's file). replace: the file was just chosen (Save
// As), so no locked-file test; selectionOnly: only the selected elements and instances; autoSave:
// the progress text; keepChangedMark: the document stays marked changed; stationery: the file is
// stationery and the document does not take it as its own. True when the document counts as saved.
// A save is whole or nothing: data fork and sidecar of one save, or the old file as it was; a
// drawing whose name leaves no room for a sidecar is saved without one and the user is told.
Boolean SaveDocument(DocWindowRecord* doc, Boolean replace, Boolean selectionOnly, Boolean autoSave,
                     Boolean keepChangedMark, Boolean stationery);

// Reads a native file into a new document (left in *slot), or with insert into the document in *slot,
// every element on `layer` when it is 0 or more, moved by dx, dy when inserting. True when read.
// Texts in fonts this machine does not have get the one font the user then chooses for them.
Boolean OpenDocument(DocWindowRecord** slot, const FSRef* file, Boolean insert, SInt16 layer, Float64 dx,
                     Float64 dy);

// The resources a save writes into the file just written; noErr or the reason they were not stored.
// With savedAs, the save record too: the file the save is for and the checksum of the data fork.
OSErr WriteDocumentResources(DocWindowRecord* doc, const FSRef* file, const char* savedAs = nullptr);
// 'Kopf' 128 and the 'SPZF' tables from an open resource file.
void ReadDocumentResources(DocWindowRecord* doc, SInt16 resFile);
// The file's 'vers' 2 as its first two bytes, or 0x0350 when the file has none.
UInt16 ReadVersResource(SInt16 resFile);

// The document's names from its file: the short name, and the Unicode name that the title uses when
// the short one cannot show it; the window's title follows.
void AdoptFileName(DocWindowRecord* doc, const FSRef* file);

// Renames the file (the old contents after a save) to the backup name of `name` beside it,
// replacing an older backup.
OSErr MakeBackupFile(const FSRef* file, const std::string& name);

// Test hook: the save stops at a step as if the program were killed there, without clean-up.
enum class SaveStep { dataWritten, resourcesWritten, exchanged, backupMade };
using SaveStepHook = Boolean (*)(SaveStep step);
void SetSaveStepHook(SaveStepHook hook);
