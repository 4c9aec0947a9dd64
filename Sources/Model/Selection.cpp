#include "Model/Selection.h"

namespace {

// Starts at 1 so a cleared drawing record (epoch 0) is never trusted before its first walk.
UInt32 gSelectionEpoch = 1;

bool Trusted(const DrawingRecord* d) {
    return d->selection.epoch == gSelectionEpoch;
}

void Note(DrawingRecord* d, Boolean* flag, Boolean value, Boolean isMark) {
    if (flag == nullptr) return;
    *flag = value ? 1 : 0;
    if (d == nullptr || !value || !Trusted(d)) return;
    SelectionRecord& s = d->selection;
    if (s.count == kSelectionRecordCapacity) {
        s.epoch = 0; // too many to keep: the next clear walks
        return;
    }
    s.flags[s.count] = flag;
    s.isMark[s.count] = isMark;
    ++s.count;
}

} // namespace

void SetSelectedFlag(DrawingRecord* d, Boolean* flag, Boolean value) {
    Note(d, flag, value, false);
}

void SetMarkedFlag(DrawingRecord* d, Boolean* flag, Boolean value) {
    Note(d, flag, value, true);
}

void SelectionRecordsUnknown() {
    if (++gSelectionEpoch == 0) gSelectionEpoch = 1;
}

bool ClearRecordedFlags(DrawingRecord* d, Boolean alsoMarks, bool* changed) {
    if (!Trusted(d)) return false;
    SelectionRecord& s = d->selection;
    UInt16 kept = 0;
    for (UInt16 i = 0; i < s.count; ++i) {
        if (s.isMark[i] && !alsoMarks) {
            s.flags[kept] = s.flags[i];
            s.isMark[kept] = 1;
            ++kept;
            continue;
        }
        if (*s.flags[i]) *changed = true;
        *s.flags[i] = 0;
    }
    s.count = kept;
    return true;
}

void SelectionRecordCleared(DrawingRecord* d, bool marksRemain) {
    SelectionRecord& s = d->selection;
    s.count = 0;
    // Marks the walk left set are in no record, so the record cannot stand for them.
    s.epoch = marksRemain ? 0 : gSelectionEpoch;
}
