// The state every tool and pending command works with between its steps: the step counter, the
// reference points, the picked elements and their scale values, the remembered values, and the
// operations every tool handler shares (reset, typed values, validators, deselection, the suspension
// of snapping, pending commands, picking up an element's attributes).
#pragma once

#include "Model/AttributeChange.h"
#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;
struct ArcRecord;
struct TextRecord;
struct DimensionRecord;
struct SymbolInstanceRecord;
struct PolylineRecord;
struct AreaRecord;

constexpr int kToolStepCount = 6;
constexpr int kPickedListCapacity = 20;
constexpr SInt16 kFirstPendingCommand = 144;
constexpr SInt16 kLastPendingCommand = 186;

struct ToolPoint {
    Float64 x, y;
};

// Attributes copied from a picked element by PickUpElementAttributes.
struct PickedAttributes {
    SInt16 kind; // 0 line, 1 arc, 2 text, 3 dimension, 4 symbol instance, 5 polyline, 6 area
    SInt16 layer;
    SInt16 key;
    SInt16 pen;
    SInt16 lineType;
    Float64 scale;
    RGBColor color;
    SInt16 width100;
    SInt32 pattern;
};

// One boundary pick of the area tools; a line made from a polyline segment (part kSegmentLinePart)
// is owned by its pick and freed with the list.
constexpr SInt16 kSegmentLinePart = -1000;
struct AreaPickRecord {
    UInt16 kind; // 0 line, 1 circle or arc, 2 text, 3 dimension, 5 polyline
    Float64 x, y;
    SInt16 part;
    void* element;
};

// Owned by the DrawingRecord (its `tool`); the pending-command code and the step are the
// DrawingRecord's toolInput.pendingCommand (0 when none) and toolInput.pendingStep.
struct ToolStateRecord {
    // Scale value of the element picked in each step (slot = step), -1 when none was picked.
    Float64 pickedScales[kToolStepCount];
    Float64 lastPickedScale;

    ToolPoint refPoints[5]; // reference points 1 to 5

    // The first point snapped since the last reset; typed relative input is offset by it.
    Boolean referenceValid;
    Float64 referenceX, referenceY;
    // The fixed point of snap mode 3, set by the live snap.
    Boolean fixedPointPresent;
    Float64 fixedX, fixedY;

    // Elements chosen in earlier steps.
    LineRecord* firstLine;
    LineRecord* secondLine;
    LineRecord* thirdLine;
    ArcRecord* firstArc;
    ArcRecord* secondArc;
    ArcRecord* thirdArc;
    void* pickedOther;
    SInt16 combination;
    LineRecord* pickedLines[kPickedListCapacity];
    SInt16 pickedLineCount;
    ArcRecord* pickedArcs[kPickedListCapacity];
    SInt16 pickedArcCount;

    // The intersection snap between its two clicks.
    Boolean isectFirstPicked;
    SInt16 isectPairCode; // 1 line, 2 arc; after the second pick 11, 12, 21 or 22
    LineRecord* isectLines[2];
    ArcRecord* isectArcs[2];
    Float64 isectClickX, isectClickY;

    // Values offered again as defaults.
    Float64 rememberedDistance; // display units
    Float64 rememberedAngle;    // degrees
    Float64 rememberedLength;   // display units
    SInt16 rememberedCount;
    Float64 rememberedPair[2];
    // The circle and arc tools: the radius in display units, the arc's angles in degrees, and the
    // circle a construction found.
    Float64 rememberedRadius;
    Float64 rememberedStartAngle, rememberedEndAngle;
    Float64 circleX, circleY, circleRadius;

    PickedAttributes picked;

    // What the last pick hit beyond the element itself.
    SInt16 lastHitVertex;
    Boolean textSecondPoint;

    // Boundary picks of the area tools: AreaPickRecords, as many as pickCount.
    Handle pickList;
    SInt16 pickCount;
    SInt16 collectedPointCount;

    // A rectangle drawn in XOR while a step waits.
    Boolean rectFeedback;
    Float64 rectX, rectY, rectWidth, rectHeight;

    SInt16 scratchWord;   // cleared by the reset
    SInt16 scratchMarker; // set to -1 by the reset
    Boolean scratchByte;
    Boolean toolFlag;

    // Snapping suspended while a free click chooses a side: the mode to put back.
    Boolean snapSuspended;
    SInt16 suspendedSnapMode;

    // The trim and cut tool: the kind of edge chosen (0 a point, 1 a line, 2 a circle or arc), the
    // fillet and chamfer values offered again (lengths in display units), and the circle of the last
    // fillet between two arcs, whose arc the Repairs menu can turn round.
    SInt16 edgeKind;
    Float64 filletRadius;
    SInt16 filletTrimCount;
    Float64 chamferLength;
    Float64 chamferAngle;
    SInt16 chamferTrimCount;
    Boolean filletCirclePresent;
    Float64 filletCircleX, filletCircleY, filletCircleRadius;

    // The transform tools: the copy count and the G or E answer last given in each tool (0 none
    // yet), the scale factor, and the copy count waiting for the answer.
    SInt16 transformCounts[7];
    char transformLetters[7];
    Float64 transformFactor;
    SInt16 transformCopies;
    // The editing tools: the element of each kind the drag tool holds since an earlier click (a line
    // or an arc is held in firstLine or firstArc), set while the drag tool runs, and the values the
    // shape and marker tools offer again (lengths in display units, angles in degrees).
    TextRecord* heldText;
    DimensionRecord* heldDimension;
    SymbolInstanceRecord* heldInstance;
    PolylineRecord* heldPolyline;
    AreaRecord* heldArea;
    Boolean editMode;
    Float64 ellipseHalfWidth, ellipseHalfHeight;
    Float64 ellipseStartAngle, ellipseEndAngle;
    Float64 boxWidth, boxHeight;
    Float64 polygonRadius, polygonAngle;
    SInt16 polygonSides;
    Str255 markerText; // UTF-8, as the marker texts hold it
    // The attribute tools: the values to apply, the element picked in step 1 that the E or G answer
    // changes (held here, so a redraw or a hover that moves a list cursor cannot swap it), the mode
    // letter offered again, and the attributes tool 7 transfers.
    SInt16 attrPen, attrLineType, attrKey, attrLayer;
    RGBColor attrColor;
    SInt16 attrWidth100;
    SInt32 attrPattern;
    SInt16 attrElementKind;
    void* attrElement;
    char attrModeLetter;
    AttrChangeRecord attrChange;
    // The dimension tools: the points collected for chains, baselines and point-to-line dimensions
    // (x, y pairs, as many as collectedPointCount, grown as clicks come), the measuring direction,
    // the last chain direction letter and the feet on the two lines of an angle.
    Float64* collectedPoints;
    SInt32 collectedPointCapacity;
    Float64 dimDirectionX, dimDirectionY;
    char chainLetter;
    Float64 angleFeet[4];
    // The area tools: the hatch offered again (spacing, angle in degrees, style), the last pattern
    // names of the two pattern families (UTF-8) and the last shade percentage; set at first use.
    Boolean areaDefaultsSet;
    Float64 areaHatchSpacing, areaHatchAngle;
    SInt16 areaHatchStyle;
    Str255 areaPatternNames[2];
    SInt16 areaShadePercent;
    // The point-list tools: the vertex picked and the second end of the segment to insert into, and
    // the polylines a boundary was picked from (PolylineRecord pointers), also those whose run became
    // segment lines; freed with the pick list.
    SInt16 pickedVertex, segmentEnd;
    Handle boundaryPolylines;
    // The symbol commands: the last symbol name given (placing offers it again), the name of the
    // definition a yes redefines, the angle and scales offered for placing, whether a placement's
    // values were typed, the instance's line and the line it is to lie along (x1, y1, x2, y2), and
    // the position and angle the instance is to take.
    Str255 lastSymbolName;
    Str255 redefineName;
    Float64 symbolAngle, symbolXScale, symbolYScale;
    Boolean symbolValuesTyped;
    Float64 symbolLine[4], targetLine[4];
    Float64 symbolNewX, symbolNewY, symbolNewAngle;
    // The row of the drawing's symbol list chosen last.
    SInt16 chosenSymbolRow;
};

ToolStateRecord* NewToolStateRecord();
void DisposeToolStateRecord(ToolStateRecord** slot);
ToolStateRecord* ToolStateOf(DocWindowRecord* doc);
// The drag tool lets go of the element it holds, of every kind.
void ReleaseHeldElements(ToolStateRecord* t);

// Tool state.

// Moves the tool (or pending command) to the step and shows its prompt; step 0 first clears every
// picked element, reference point and selection, and puts back a suspended snap mode.
void ResetToolState(DocWindowRecord* doc, SInt16 step);
void CancelPendingCommand(DocWindowRecord* doc);
void DeselectAll(DocWindowRecord* doc, Boolean alsoMarks);
// The picked scale values agree with each other (and, with againstCurrent, with the current scale);
// otherwise message 153 or 50 and the tool back to step 0.
Boolean CheckToolValues(DocWindowRecord* doc, Boolean againstCurrent);
void ResetPickFilter(DocWindowRecord* doc);
// The pick filter chosen from the keyboard; the status area shows it at its next update.
void SetPickFilter(DocWindowRecord* doc, SInt16 filter);
void DisposePickList(DocWindowRecord* doc);
// Snap mode 0 while a free click chooses a side or direction; the restore puts the user's mode back.
void SuspendSnapMode(DocWindowRecord* doc);
void RestoreSnapMode(DocWindowRecord* doc);
Boolean SnapModeSuspended(DocWindowRecord* doc);
// The snap mode the user chose, also while it is suspended (what a saved drawing must keep).
SInt16 UserSnapMode(DocWindowRecord* doc);
// Reference point n (1..5) := the cursor point.
void SetRefPointFromCursor(DocWindowRecord* doc, int n);
ToolPoint RefPoint(DocWindowRecord* doc, int n);
void ToggleGridDisplay(DocWindowRecord* doc);

// The current tool group and tool of the application preferences.
SInt16 CurrentToolGroup();
SInt16 CurrentTool();

// Pending commands: the code (144..186) takes the following clicks until it ends.
void StartPendingCommand(DocWindowRecord* doc, SInt16 code);
void EndPendingCommand(DocWindowRecord* doc);
Boolean PendingCommandActive(const DocWindowRecord* doc);

// Typed values of the command field; the out value keeps its content when value i was not typed.
void GetTypedInteger(DocWindowRecord* doc, SInt16 i, SInt16* out);
void GetNumericEntry(DocWindowRecord* doc, SInt16 i, Float64* out);
void GetTypedAngle(DocWindowRecord* doc, SInt16 i, Float64* out);
void GetTypedModeLetter(DocWindowRecord* doc, char* out);
SInt16 TypedValueCount(DocWindowRecord* doc);

// Validators: store the value and return true, or show the message and leave the target alone.
Boolean ValidateLayerIndex(Float64 value, SInt16* out);
Boolean ValidateKeyNumber(Float64 value, SInt16* out);
Boolean ValidatePenNumber(Float64 value, SInt16* out);
Boolean ValidateLineType(Float64 value, SInt16* out);
Boolean ValidatePercent(Float64 value, Float64* out);

// Picks the element under the cursor among the kinds of the mask (1 line, 2 arc, 4 text,
// 8 dimension, 16 polyline, 32 area, 64 symbol instance) and copies its attributes.
Boolean PickUpElementAttributes(DocWindowRecord* doc, SInt16 kinds);

// One row of the element information list: the label, a tab and the number.
void WriteInfoLine(ConstStr255Param label, SInt32 value);
void WriteInfoReal(ConstStr255Param label, Float64 value, SInt16 decimals);
// The frame of a picture: the big-endian top, left, bottom, right after its size word.
void GetPICTFrame(Handle picture, Rect* frame);
