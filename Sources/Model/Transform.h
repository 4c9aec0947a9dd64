// Moving, turning, mirroring, stretching and scaling the selected elements, in place or as copies,
// and the key groups the transform tools work on.
#pragma once

#include "Model/DocumentRecords.h"

#include <bitset>

constexpr SInt16 kTransformNone = -1;
constexpr SInt16 kTransformMove = 0;
constexpr SInt16 kTransformRotate = 1;
constexpr SInt16 kTransformMirror = 2;
constexpr SInt16 kTransformAlongCircle = 3;
constexpr SInt16 kTransformScaleFirst = 4;
constexpr SInt16 kTransformStretch = 5;
constexpr SInt16 kTransformScale = 6;
constexpr SInt16 kHighestKey = 32000;

struct TransformState {
    SInt16 kind = kTransformNone;
    Float64 refX = 0, refY = 0;       // centre of turns and scales
    Float64 secondX = 0, secondY = 0; // the point kind 3 carries round the centre
    // The mirror line: a point on it and its direction in degrees.
    Float64 lineX1 = 0, lineY1 = 0, lineX2 = 0, lineY2 = 0, lineAngle = 0;
    Float64 offsetX = 0, offsetY = 0; // kinds 0 and 5
    Float64 incrementX = 0, incrementY = 0;
    Float64 angle = 0; // degrees, kinds 1 and 3
    Float64 cosine = 1, sine = 0;
    // One factor per scaling kind: kind 4 takes the first, kind 6 the second.
    Float64 factor = 1, secondFactor = 1;
    // Kind 5: the rectangle whose points move, edges included.
    Float64 rectMinX = 0, rectMinY = 0, rectMaxX = 0, rectMaxY = 0;
    std::bitset<kHighestKey + 1> keys;
    UInt16 keyCount = 0;
};

// The drawing's transform state, made on first use; null without a drawing.
TransformState* TransformStateOf(DocWindowRecord* doc);
void DisposeTransformState(TransformState** slot);

// Applies the state's kind to the selected elements of every list, with progress. With copies 0 the
// elements change in place; otherwise each gets that many new elements, copy k made from copy k - 1
// and transformed once more. Copies are appended unselected. Call inside an undo step.
void TransformAllElements(DocWindowRecord* doc, SInt16 copies);

// Selects every element of every list, on hidden layers and unselectable ones too: for changes that
// take the whole drawing along.
void SelectEveryElement(DocWindowRecord* doc);

// The distinct non-zero keys of the selected elements into the key set and count.
void CollectElementKeys(DocWindowRecord* doc);
// Selects every element with the key; deselectOthers first clears the selection.
void SelectElementsByKey(DocWindowRecord* doc, SInt16 key, Boolean deselectOthers);
// Selects, in one pass over the lists, every element whose key is in the key set; what was selected
// stays selected.
void SelectElementsOfKeySet(DocWindowRecord* doc);
void MarkElementsOfKey(DocWindowRecord* doc, SInt16 key);
// Every selected element marked and deselected; areas keep marks a clear leaves, so theirs are
// cleared first.
void MarkSelectedElements(DocWindowRecord* doc);
Boolean AnyElementMarked(const DocWindowRecord* doc);
// The marked elements become the selection; every mark is cleared.
void SelectMarkedElements(DocWindowRecord* doc);
// Every area's mark cleared (a clear of the selection leaves them).
void ClearAreaMarks(DocWindowRecord* doc);
// Every selected element was drawn under one scale (within 0.01 %); true with nothing selected.
Boolean SelectedWidthsEqual(const DocWindowRecord* doc);
// True when an element outside the selection carries the key.
Boolean IsKeyInUse(const DocWindowRecord* doc, SInt16 key);
// Gives the selected elements the current key of the settings, in one undo step (none when no
// element changes); the number of elements changed.
long AssignKeyToSelection(DocWindowRecord* doc);
// The selected elements take the scale value, each change journalled; call inside an undo step.
void SetSelectionScaleValue(DocWindowRecord* doc, Float64 value);
// True when a dimension carries the key.
Boolean DimensionCarriesKey(const DocWindowRecord* doc, SInt16 key);
