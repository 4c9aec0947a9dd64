// The undo journal of a document: a private temporary file of entries (a two-byte code in the
// machine's byte order, the element kind plus 128 for a state before a change, then the element in
// its stored form) grouped into steps. Undo replays the last step backwards, redo the next forwards.
#pragma once

#include "Model/DocumentRecords.h"

// Error message shown once when the step table is full and the oldest steps are given up.
constexpr SInt16 kUndoHistoryFullMessage = 80;
constexpr SInt16 kUndoJournalCreateFailedMessage = 5;
constexpr SInt16 kUndoJournalFailedMessage = 1;
constexpr SInt16 kUndoStatusMessage = 66;
constexpr SInt16 kRedoStatusMessage = 76;
constexpr UInt16 kUndoRemovedCode = 128;

// Creates and opens the journal file; without one the document works without undo (message 5).
void CreateUndoJournal(DocWindowRecord* doc);
// Drops the history: the journal starts again at its beginning.
void ResetUndoJournal(DocWindowRecord* doc);
// Closes and deletes the journal file (document close).
void DeleteUndoJournal(DocWindowRecord* doc);
// A journal that failed made anew, its failure forgotten (also when the new file could not be made).
void RenewFailedUndoJournal(DocWindowRecord* doc);

// Bracket every change: begin, the removed states of the elements as they were and the added
// states as they become, end. A new step drops what could be redone. Marks the document changed.
void BeginUndoStep(DocWindowRecord* doc);
void EndUndoStep(DocWindowRecord* doc);

// One entry for the element (added true: the element exists after the step), unless the journal
// is closed, undo is off, the journal failed, a replay is running, or the element is a list head.
void RecordUndoLine(DocWindowRecord* doc, const LineRecord* line, Boolean added);
void RecordUndoArc(DocWindowRecord* doc, const ArcRecord* arc, Boolean added);
void RecordUndoText(DocWindowRecord* doc, const TextRecord* text, Boolean added);
void RecordUndoDimension(DocWindowRecord* doc, const DimensionRecord* dimension, Boolean added);
void RecordUndoPolyline(DocWindowRecord* doc, const PolylineRecord* polyline, Boolean added);
void RecordUndoSymbolInstance(DocWindowRecord* doc, const SymbolInstanceRecord* instance, Boolean added);
void RecordUndoArea(DocWindowRecord* doc, const AreaRecord* area, Boolean added);
// The same by the record's type, for code written once over every kind.
void RecordUndoElement(DocWindowRecord* doc, const LineRecord* e, Boolean added);
void RecordUndoElement(DocWindowRecord* doc, const ArcRecord* e, Boolean added);
void RecordUndoElement(DocWindowRecord* doc, const TextRecord* e, Boolean added);
void RecordUndoElement(DocWindowRecord* doc, const DimensionRecord* e, Boolean added);
void RecordUndoElement(DocWindowRecord* doc, const PolylineRecord* e, Boolean added);
void RecordUndoElement(DocWindowRecord* doc, const SymbolInstanceRecord* e, Boolean added);
void RecordUndoElement(DocWindowRecord* doc, const AreaRecord* e, Boolean added);

// The frames, saved views and output areas moved by (dx, dy) within the open step: undo moves them
// back, redo again.
void RecordUndoFrameOffset(DocWindowRecord* doc, Float64 dx, Float64 dy);

// Restore exactly the drawing before (undo) or after (redo) a step. A step whose entries cannot be
// read is abandoned whole: the drawing is left as it is and the journal is given up.
void UndoLastStep(DocWindowRecord* doc);
void RedoStep(DocWindowRecord* doc);

// True when steps are being recorded (journal open, undo on, no failure).
Boolean IsUndoRecording(const DocWindowRecord* doc);
