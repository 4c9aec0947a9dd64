// Selecting and marking elements. Every flag set goes through SetSelectedFlag or SetMarkedFlag, which
// keep a short record of what they set, so clearing the selection at a million elements touches a
// few flags instead of walking every list. The record is trusted only while nothing could have set a
// flag behind its back: disposing of or copying a selected element makes every record unknown, and
// the next clear walks the lists as before. Area marks, which a clear leaves alone, are set with a
// null drawing record: nothing records them.
#pragma once

#include "Model/DocumentRecords.h"

void SetSelectedFlag(DrawingRecord* d, Boolean* flag, Boolean value);
void SetMarkedFlag(DrawingRecord* d, Boolean* flag, Boolean value);

// Called where a record holding a set flag is freed or copied: no record may be trusted after it.
void SelectionRecordsUnknown();

// Clears the recorded flags (marks too when alsoMarks); *changed tells whether one was set. False,
// with nothing cleared, when the record is not trusted: the caller walks the lists and then calls
// SelectionRecordCleared.
bool ClearRecordedFlags(DrawingRecord* d, Boolean alsoMarks, bool* changed);
// After a walk cleared every selection flag: the record is exact unless marks remain set.
void SelectionRecordCleared(DrawingRecord* d, bool marksRemain);
