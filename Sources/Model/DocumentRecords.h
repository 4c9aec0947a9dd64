// The records of an open drawing: DocWindowRecord (one open document), DrawingRecord (the working
// state behind its window), the layer tables, the title block and the formula variables, and the
// list of open documents.
#pragma once

#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Platform/FileManager.h"

#include "Platform/QuickDrawTypes.h"

struct OpaqueControlRef;
struct CGContext;
struct OpaqueEventHandlerRef;
struct DocWindowRecord;
class OutputDevice;
using ControlRef = OpaqueControlRef*;
using CGContextRef = CGContext*;

constexpr int kLayerCount = 1024;

struct LayerColorTable {
    RGBColor colors[kLayerCount];
};
// Layer n is bit 7 - (n mod 8) of byte n div 8.
struct LayerVisibilitySet {
    UInt8 bits[kLayerCount / 8];
};
struct LayerNameTable {
    Str255 names[kLayerCount];
};

bool IsLayerVisible(const LayerVisibilitySet* set, SInt16 layer);
void SetLayerVisible(LayerVisibilitySet* set, SInt16 layer, bool visible);

struct TitleBlockStrings {
    Str19 field1;
    Str3 field2;
    Str3 field3;
    Str255 field4;
    Str255 field5;
    Str19 paperFormat; // field 6
    Str19 scale;       // field 7: two numbers separated by ":"
    Str19 date;        // field 8
    Str63 field9;
    Str19 field10;
    Str63 field11;
    Str19 field12;
    Str63 field13;
    Str19 field14;
    Str255 field15;
    Str19 field16;
    Str63 field17;
    Str19 field18;
    Str19 field19;
    Str255 field20;
};
constexpr int kTitleBlockFieldCount = 20;
extern const UInt8 kTitleBlockCapacities[kTitleBlockFieldCount];
// Field n (1..20) as a string of capacity TitleBlockCapacity(n); null outside that range.
StringPtr TitleBlockField(TitleBlockStrings* block, int n);
void InitTitleBlockStrings(TitleBlockStrings* block);

// Formula variables "name=formula"; the first is always "PI=3.141593". One capacity everywhere.
constexpr int kVariableCapacity = 51;
// Variables stored in or read from a drawing file; the table keeps one slot beyond them.
constexpr int kStoredVariableLimit = 50;
struct VariableTable {
    Str255 entries[kVariableCapacity];
};

struct HeaderFooterBlock {
    Str255 texts[6];
};

struct ImageRecord {
    Float64 x, y;       // position in millimetres
    Float64 resolution; // dots per inch
    Str255 fileName;
    Handle pixels;
    SInt32 bytesPerRow;
    SInt32 width;
    SInt32 height;
};
constexpr int kMaxImages = 10;

// Filled in by the tools and dialogs that own them; the model only allocates and frees them.
struct CommandFieldRecord;
struct TransformState;
struct ToolStateRecord;

constexpr int kUndoStepCapacity = 1000;
constexpr int kWorkRecordCount = 10;
constexpr Size kPointBufferSize = 1638420;
constexpr Size kPolylineWorkPointsSize = 1638416;
constexpr Size kToolTableSize = 800;
constexpr Size kRubberPointsInitialSize = 20;
constexpr int kMaxOutlineContours = 256;

// The working state behind a document's window, grouped by the subsystem that owns it. Allocated
// cleared (calloc), so every part stays trivially constructible: zero is each part's reset state.

// Undo journal (Model/UndoJournal).
struct DrawingUndoState {
    Boolean undoEnabled; // the journal file is open
    FSRef* undoFileRef;
    SInt16 undoFork;
    Boolean undoReplaying; // while set, changes are not journalled
    SInt16 undoStepCount;
    SInt16 redoCount;
    UInt32* undoSteps;  // kUndoStepCapacity fork positions: step i spans entries i and i + 1
    Boolean undoGuard1; // the full step table was reported
    Boolean undoGuard2; // the journal failure was reported
    OSErr undoWriteError;
    UInt32 undoResetTicks;
    Handle undoPending; // entries not yet written to the journal file
    SInt32 undoPendingBytes;
    SInt64 undoPosition;     // where the next entry goes in the journal file
    Boolean undoWriteFailed; // the journal is broken: no steps until it is reset or made anew
    SInt16 undoFailureCount;
    Boolean undoLimitWarned;
    Boolean undo999Warned;
    SInt16 undoNesting; // open step brackets: an inner bracket adds to the step of the outer one
    // Copies of the elements a journalled change replaces.
    LineRecord* undoCopyLine;
    LineRecord* undoCopyLine2;
    ArcRecord* undoCopyArc;
    TextRecord* undoCopyText;
    DimensionRecord* undoCopyDimension;
    PolylineRecord* undoCopyPolyline;
    SymbolInstanceRecord* undoCopyInstance;
    AreaRecord* undoCopyArea;
};

// View transform (drawing millimetres per pixel, origin at the bottom-left pixel of the drawing area),
// extents and the deferred redraw.
struct DrawingViewState {
    Float64 unitsPerPixel;
    Float64 originX, originY;
    SInt16 viewWidth, viewHeight;
    SInt16 areaWidth, areaHeight;
    Float64 visibleMinX, visibleMinY, visibleMaxX, visibleMaxY;
    SInt32 scrollRangeX, scrollRangeY;
    Float64 extentsMinX, extentsMinY, extentsMaxX, extentsMaxY;
    Boolean extentsStale;
    Float64 dragRectX, dragRectY, dragRectWidth, dragRectHeight; // the last tracked rectangle, world
    Boolean redrawPending;
    // The view before the last zoom, for the way back.
    Boolean previousViewValid;
    Float64 previousOriginX, previousOriginY, previousUnitsPerPixel;
    Boolean fitToWindowRequested;
};

// Pen and device state of the drawing code: on the window, or while printing, writing PDF or plotting.
struct DrawingOutputState {
    CGContextRef outputContext;
    CGContextRef windowContext;
    Float64 outputScaleX, outputScaleY;
    Float64 outputOffsetX, outputOffsetY;
    Float64 outputFlipY;
    Float64 outputColumnRight; // right edge of the output area before the x offset is taken off
    Float64 outputPenScale;    // device units per millimetre of pen width in output mode
    Float64 penWidth;
    RGBColor penColor;
    SInt16 paintMode; // 0 paint, 1 XOR feedback on the window port
    SInt16 lineMode;
    Boolean fillFlag;
    SInt16 drawingAreaDepth;
    Boolean drawingAreaOwnsContext;
    // The device of the running pass when it is not the window or page (a plot writer); null otherwise.
    OutputDevice* device;
    SInt16 plotPen;      // while plotting pen by pen: the pen being plotted (0 every pen)
    Handle rubberPoints; // u16 capacity, then 16-byte points from the fifth byte
    SInt16 rubberCount;
};

// What the tools work with: pending command and step, the cursor and pick box, picked work records,
// typed lengths and the remembered arc. The tool's own record is DrawingRecord::tool.
struct ToolInputState {
    SInt16 pendingCommand; // the pending-command code, 0 when none
    SInt16 pendingStep;    // the step of the current tool or pending command, 0..5
    Handle pointBuffer;
    Ptr toolTable;
    Float64 cursorX, cursorY;
    Float64 pickMinX, pickMaxX, pickMinY, pickMaxY;
    LineRecord* workLines[kWorkRecordCount];
    ArcRecord* workArcs[kWorkRecordCount];
    Handle polylineWorkPoints;
    SInt16 tempPointCount; // points in pointBuffer, after its 4-byte header
    Float64 cornerRadius;  // of rounded rectangles, in drawing units
    Float64 lengthHistory[36];
    Float64 rememberedArcX, rememberedArcY, rememberedArcRadius;
    Boolean selectHidden;
    // The layer the elements of a layer move from, and the frame the frame-move command moves.
    SInt16 sourceLayer;
    SInt16 frameNumber;
    UInt16 pickMode;
    SInt16 pickFilter;
    // The area outline being built (an outline handle; null when empty) and the contours made so far,
    // which the next area takes over.
    Handle outlineBlock;
    SInt16 outlineContourCount;
    Handle outlineContours[kMaxOutlineContours];
};

// The layout of the document window's areas in pixels (see ComputeDrawingAreaMetrics), its scroll bars
// and handlers, the mouse, and the scales the status area offers.
struct WindowLayoutState {
    ControlRef verticalScrollBar;
    ControlRef horizontalScrollBar;
    OpaqueEventHandlerRef* windowHandlers[3];
    SInt16 contentWidth, contentHeight; // the port less the two 15-pixel scroll bars
    SInt16 messageLineTop, messageLineBottom;
    SInt16 rightEdge;
    SInt16 statusHeight;
    Float64 aspectRatio; // drawing-area height / width
    Boolean statusDrawingOn;
    SInt16 mouseH, mouseV;    // the mouse in window pixels at the last click or loop pass
    Float64 presetScales[33]; // the scale pop-up's first 33 items
};

// List-walk cursors, one per list; walks of one list must not nest.
struct ListWalkCursors {
    AreaRecord* areaCursor;
    LineRecord* lineCursor;
    ArcRecord* arcCursor;
    TextRecord* textCursor;
    DimensionRecord* dimensionCursor;
    SymbolInstanceRecord* instanceCursor;
    SymbolDefRecord* symbolDefCursor;
    PolylineRecord* polylineCursor;
};

// The last element of each list, kept only while a bulk import appends (Model/ElementLists.h); null
// where not known. Outside such a run nothing keeps them, so nothing else may trust them.
struct ListTails {
    Boolean active;
    LineRecord* line;
    ArcRecord* arc;
    TextRecord* text;
    DimensionRecord* dimension;
    SymbolInstanceRecord* instance;
    PolylineRecord* polyline;
    AreaRecord* area;
};

// The selection and mark flags set since they were last cleared, so clearing touches those alone
// instead of walking every list (Model/Selection.h). Zero (epoch 0) means "unknown: walk".
enum { kSelectionRecordCapacity = 256 };
struct SelectionRecord {
    Boolean* flags[kSelectionRecordCapacity];
    Boolean isMark[kSelectionRecordCapacity];
    UInt16 count;
    UInt32 epoch;
};

struct DrawingRecord {
    Str255 documentName;
    LayerSetRecord* layerSets;
    AttributePreset* attributePresets;
    // The layer-set pop-up's choice (0 and 1 no set, n + 2 set n) and the layer table's first row.
    SInt16 layerSetChoice;
    SInt16 layerTablePageStart; // 0..1014
    CommandFieldRecord* commandField;
    ToolStateRecord* tool; // the current tool's record; toolInput is what the tools share
    Boolean changed;

    DrawingUndoState undo;
    DrawingViewState view;
    DrawingOutputState output;
    ToolInputState toolInput;
    WindowLayoutState layout;
    ListWalkCursors cursors;
    ListTails tails;
    SelectionRecord selection;

    TitleBlockStrings* titleBlock;
    VariableTable* variables;
    SInt16 variableCount;
    SavedViewRecord* savedViews;
    FrameRecord* frames;
    TransformState* transform;
    Handle logText;
    NamedTableRecord* criteriaTables;
    HeaderFooterBlock headerFooter;
    Handle infoFields;
    SInt32 infoFieldCount;
    Float64 dimensionLineWidth; // the pen width of dimensions, divided by the unit factor; 0 none
    Str31 coordBarTexts[2];     // the coordinate bar's two values as last shown: only changes are drawn
    Boolean newDocument;

    // The file the document belongs to, and what saving and opening keep beside it.
    FSRef file;
    Boolean hasFile;
    Boolean hasLongName;   // the file's whole name is known (not cut to a short name)
    UInt32 editStartTicks; // when the current editing interval began
    UInt32 lastTimedSaveTicks;
    // Auto-save by steps waits for this many steps after a save that did not happen.
    SInt16 autoSaveRetrySteps;
    Handle previewPicture;
    Handle printSettings; // the document's own print settings and page format, in their stored form
    Handle pageFormat;

    // The document window's changed state and symbol editing.
    Boolean changed2;              // cleared together with changed
    UInt32 unicodeNameFlag;        // non-zero: the title is unicodeName, the changed state the window's
    char unicodeName[768];         // UTF-8
    DocWindowRecord* symbolParent; // set in a window that edits a symbol of another document
    Boolean symbolBeingEdited;     // one of this document's symbols is open in a symbol window
};

// Element attribute pick-up and change: 65535 (or -1.0) in a field means "unchanged".
struct AttributeChangeBlock {
    UInt16 layer, pen, lineType, group;
    UInt16 justification, font, flags;
    UInt16 penWidth100, pattern;
    RGBColor color;
    Boolean colorSet;
    Float64 textHeight, angle, slant, lineSpacing, frameDistance;
};

struct DocWindowRecord {
    DocSettings* settings;
    DrawingRecord* drawing;
    AttributeChangeBlock attributeChange;
    LayerColorTable* layerColors;
    LayerVisibilitySet* layerVisible;
    LayerNameTable* layerNames;
    WindowRef window;
    AreaRecord* areaHead;
    LineRecord* lineHead;
    ArcRecord* arcHead;
    TextRecord* textHead;
    DimensionRecord* dimensionHead;
    SymbolInstanceRecord* instanceHead;
    SymbolDefRecord* symbolDefHead;
    PolylineRecord* polylineHead;
    SInt16 imageCount;
    ImageRecord images[kMaxImages];
    SInt16 highlightMode; // 0 normal, 1 selected colour, 2 marked
    SInt16 screenIndex;
    DocWindowRecord* next;
};

// The open documents in the order they were opened.
extern DocWindowRecord* OpenDocumentList;

bool IsDocumentNameOpen(ConstStr255Param name);
SInt16 CountOpenDocuments();

// Sets the document's changed flag once; the shell marks the window title through its hook.
void MarkDocumentChanged(DocWindowRecord* doc);
// Deferred redraw: the event loop redraws the whole window once per pass.
void RequestRedraw(DocWindowRecord* doc);
