// The drawing information dialog (205): element counts by kind, group numbers and layers in use,
// memory, images, dates and editing time of any open drawing.
#pragma once

#include "Platform/DialogManager.h"

struct DocWindowRecord;

constexpr SInt16 kDrawingInfoDialogId = 205;
constexpr SInt16 kDrawingInfoMenu = 520;
constexpr int kDrawingInfoPositionSlot = 18;

struct DrawingStatistics {
    SInt32 lines = 0, arcs = 0, texts = 0, dimensions = 0, instances = 0, areas = 0;
    SInt32 plainPolylines = 0; // kinds 0 to 3
    SInt32 pictures = 0;       // kind 10 whose picture word is below 1
    SInt32 otherPolylines = 0;
    SInt32 images = 0;
    SInt32 groups = -1; // distinct group numbers; -1 when the set could not be had
    SInt32 layers = 0;  // layers with at least one element
    SInt64 bytes = 0;   // elements, the document's records and its images
    SInt32 Total() const {
        return lines + arcs + texts + dimensions + plainPolylines + pictures + otherPolylines + areas +
               instances;
    }
};

// One pass over the seven element lists.
void CollectDrawingStatistics(DocWindowRecord* doc, DrawingStatistics* out);

void DrawingInfoDialog(DocWindowRecord* doc);
// Fills the dialog for the n-th open document (from 1).
void FillDrawingInfoItems(DialogRef dialog, SInt16 n);
// The editing time as hours with two decimals and "h": whole minutes / 60.
void FormatEditingTime(UInt32 seconds, Str255 text);
