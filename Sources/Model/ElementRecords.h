// The fixed-size element records of a drawing (lines, arcs, texts, dimensions, polylines, symbol
// instances, areas, symbol definitions) and the other fixed records a drawing owns, with their
// allocators: every record kind has a new (cleared), a dispose (frees what the record owns and the
// record, and clears the owner's slot) and a clone (a record that owns copies of its data).
#pragma once

#include "Platform/MacTypes.h"

// Element kinds; the same codes number the undo journal entries.
enum ElementKind : SInt16 {
    kLineElement = 0,
    kArcElement = 1,
    kTextElement = 2,
    kDimensionElement = 3,
    kPolylineElement = 4,
    kSymbolInstanceElement = 5,
    kAreaElement = 6,
};
constexpr int kElementKindCount = 7;

// Pen block shared by every kind except symbol instances and definitions (14 bytes when stored).
struct ElementPenAttributes {
    SInt16 penFlags; // bit 15 dims the element; dimensions keep feet-inch options in 11..14
    RGBColor color;
    SInt16 penWidth100; // width in hundredths of a millimetre
    SInt32 pattern;     // fill pattern number
};

constexpr UInt16 kPenFlagDimmed = 0x8000;

// Line flag word: bit 0 runs on beyond the first point, bit 1 beyond the second, bits 3-5 and 6-8
// the end-mark kinds of the two ends, bit 15 not selectable.
constexpr UInt16 kLineOpenStart = 0x0001;
constexpr UInt16 kLineOpenEnd = 0x0002;
constexpr UInt16 kElementNotSelectable = 0x8000;
inline UInt16 LineStartMarkKind(UInt16 flags) {
    return (flags >> 3) & 7;
}
inline UInt16 LineEndMarkKind(UInt16 flags) {
    return (flags >> 6) & 7;
}
inline UInt16 SetLineStartMarkKind(UInt16 flags, UInt16 kind) {
    return UInt16((flags & ~(7u << 3)) | ((kind & 7u) << 3));
}
inline UInt16 SetLineEndMarkKind(UInt16 flags, UInt16 kind) {
    return UInt16((flags & ~(7u << 6)) | ((kind & 7u) << 6));
}

struct LineRecord {
    SInt16 group; // 0 none, 1..32000; negative only while a file is written or read
    UInt16 flags;
    SInt16 layer;
    SInt16 pen;
    SInt16 lineType;
    Float64 x1, y1, x2, y2;
    Float64 scaleFactor;
    ElementPenAttributes penBlock;
    Boolean selected;
    Boolean marked;
    LineRecord* next;
    Boolean drawn;
    Boolean scratchMark;
};

struct ArcRecord {
    SInt16 group;
    SInt16 layer;
    SInt16 pen;
    SInt16 lineType;
    Float64 cx, cy, radius;
    Float64 startAngle, endAngle; // degrees, counter-clockwise; 0 to 360 is a full circle
    Float64 scaleFactor;
    ElementPenAttributes penBlock;
    Boolean selected;
    Boolean marked;
    ArcRecord* next;
    Boolean drawn;
    Boolean scratchMark;
};

// Text flag word: bits 0-2 frame or leader kind, bit 3 framed text box, bits 4-5 leader end,
// bit 10 no background mask, bits 12-15 frame shape.
constexpr UInt16 kFramedTextBoxFlags = 8;

struct TextRecord {
    SInt16 group;
    SInt16 layer;
    SInt16 pen;
    SInt16 reserved;      // stored, always 0 when made
    SInt16 justification; // 0..8, rows of three from the top
    UInt16 textFlags;
    Float64 x, y;   // anchor (insertion) point
    Float64 x2, y2; // second point: reference of the anchor mark and the leader
    Float64 angle;  // degrees
    Float64 slant;
    Float64 scaleFactor; // the width scale the text is drawn with
    Float64 textHeight;
    Float64 lineSpacing;
    SInt16 font;
    Float64 frameDistance;
    Float64 corners[8]; // c0..c3 as x, y: lower-left, lower-right, upper-right, upper-left
    Float64 leaderEndSize;
    ElementPenAttributes penBlock;
    Str255 text;    // UTF-8
    Handle boxText; // the characters of a framed text box (UTF-8, no terminator)
    SInt16 trailing;
    Boolean selected;
    Boolean marked;
    TextRecord* next;
    Boolean drawn;
    Boolean scratchMark;
};

// One predicate for every caller: a text is a framed box when its type word is exactly 8.
inline bool IsFramedTextBox(const TextRecord* text) {
    return text->textFlags == kFramedTextBoxFlags;
}

struct DimensionRecord {
    SInt16 group;
    SInt16 layer;
    SInt16 pen;
    Float64 x1, y1, x2, y2; // measured points
    Float64 auxX, auxY;     // direction, centre, vertex or the line's second point, by kind
    Float64 auxValue;       // circle radius for kinds 3 and 4
    Float64 textX, textY;   // text position (corner 1 of the text frame)
    Float64 frame[6];       // text frame corners 2, 3 and 4 as x, y
    SInt16 decimals;
    SInt16 kind; // 0..6
    UInt16 flags;
    Str255 upperTolerance; // stored with 9 characters
    Str255 lowerTolerance;
    Float64 dimLength;
    Float64 textHeight;
    Float64 scaleFactor; // the value is divided by it when the text is rebuilt
    ElementPenAttributes penBlock;
    Str255 text; // the value text as drawn, UTF-8
    Boolean selected;
    Boolean marked;
    DimensionRecord* next;
    Boolean drawn;
    Boolean scratchMark;
};

constexpr SInt16 kPolylineSegments = 0;
constexpr SInt16 kPolylineSpline = 1;
constexpr SInt16 kPolylineCurve = 2;
constexpr SInt16 kPolylinePicture = 10;
constexpr SInt16 kPolylineEllipse = 11;
constexpr SInt16 kPolylineRoundedRect = 12;

struct PolylineRecord {
    SInt16 group;
    SInt16 layer;
    SInt16 pen;
    SInt16 lineType;
    SInt16 reserved;
    SInt16 kind;
    RGBColor optionColor; // three colour words taken from the settings when made
    Float64 params[3];    // ellipse: the two parameters; rounded rectangle: corner radius first
    SInt16 pointCount;
    UInt16 flags;       // bit 15 not selectable
    SInt16 pictureWord; // -1 for a picture, 0 otherwise
    SInt16 optionWords[4];
    Float64 scaleFactor;
    ElementPenAttributes penBlock;
    Handle points;  // pointCount points of two Float64 (x, y)
    Handle picture; // kind 10: the picture's bytes
    Boolean selected;
    Boolean marked;
    PolylineRecord* next;
    Boolean drawn;
    Boolean scratchMark;
};

struct SymbolDefRecord;

struct SymbolInstanceRecord {
    SInt16 group;
    SInt16 layer;
    SInt16 pen;
    Float64 x, y;
    Float64 angle; // degrees, kept in [0, 360)
    Float64 xScale;
    Float64 frame[8]; // the four corners of the transformed extents, relative to the position
    Float64 scaleFactor;
    SInt16 definitionNumber; // ties the instance to its definition inside a drawing file
    Float64 yScale;
    SymbolDefRecord* definition;
    Boolean selected;
    Boolean selected2;
    Boolean marked;
    SymbolInstanceRecord* next;
    Boolean drawn;
    Boolean scratchMark;
};

// Area outline in its handle: an i16 last point index (negative for an ellipse contour) in the
// first two bytes, then |index| + 1 points of two Float64 from byte kOutlineHeaderSize on.
constexpr Size kOutlineHeaderSize = 8;
SInt16 OutlineLastIndex(Handle outline);
Float64* OutlinePoints(Handle outline);
// A cleared outline handle with room for |lastIndex| + 1 points; null when memory is exhausted.
Handle NewOutlineHandle(SInt16 lastIndex);

struct AreaRecord {
    SInt16 group;
    SInt16 layer;
    SInt16 pen;
    Float64 hatchAngle;   // degrees
    Float64 hatchSpacing; // the fill value: hatch spacing or pattern index
    SInt16 fillKind;      // -1 cross-hatched, -2 hatched, 0..2 pattern families
    Float64 minX, minY, maxX, maxY;
    SInt16 lastHoleIndex; // -1 when there are no holes
    Float64 scaleFactor;
    ElementPenAttributes penBlock;
    Handle outline;
    Handle holes; // lastHoleIndex + 1 outline handles
    Boolean outlineStroked;
    Boolean selected;
    Boolean marked;
    AreaRecord* next;
    Boolean drawn;
};

struct SymbolDefRecord {
    Float64 minX, minY, maxX, maxY; // extents relative to the base point
    Str19 name;
    SInt16 number; // numbered just before a drawing file is written
    Float64 scale;
    LineRecord* lineHead;
    ArcRecord* arcHead;
    TextRecord* textHead;
    DimensionRecord* dimensionHead;
    PolylineRecord* polylineHead;
    AreaRecord* areaHead;
    Boolean selected;
    Boolean marked;
    SymbolDefRecord* next;
};

// Mask bit n is the bit of value 2^(31 - n): 0 pen, 1 line kind, 2 group, 3 layer, 4 scale,
// 5 line flag, 6 snap mode, 7 start mark, 8 end mark, 9 colour, 10 width, 11 pattern.
struct AttributePreset {
    Str255 name; // 1 to 31 characters
    UInt32 mask;
    UInt16 pen;
    UInt16 lineKind;
    UInt16 group;
    UInt16 layer;
    UInt16 lineFlag;
    UInt16 snapMode;
    UInt16 startMark;
    UInt16 endMark;
    Float64 scale;
    UInt16 colorIndex;
    SInt16 width100;
    UInt16 pattern;
    RGBColor color;
    AttributePreset* next;
};

struct FrameRecord {
    Str255 name;
    SInt16 kind;
    Float64 scale;
    Float64 rect[4]; // world rectangle: x1, y1, x2, y2
    Float64 scaleX, scaleY;
    Rect printableRect;
    Rect paperRect;
    Handle printSettings; // the stored forms of the frame's print settings and page format
    Handle pageFormat;
    FrameRecord* next;
};

struct SavedViewRecord {
    Str255 name;
    SInt16 values[40];
    Float64 rect[4];
    SavedViewRecord* next;
};

struct LayerSetRecord {
    Str255 name;
    UInt8 layers[128];
    LayerSetRecord* next;
};

constexpr int kNamedTableMaxRows = 30;
struct NamedTableRow {
    SInt32 criterion;
    Str255 condition;
};
struct NamedTableRecord {
    NamedTableRecord* next;
    Str255 name;
    SInt16 kind;
    SInt16 rowCount;
    NamedTableRow rows[kNamedTableMaxRows];
};

// Frees the data a record owns (text box; points and picture; outline and every hole slot) and
// leaves its handles null, for records not allocated on their own (read into a scratch record).
void DisposeTextData(TextRecord* text);
void DisposePolylineData(PolylineRecord* polyline);
void DisposeAreaData(AreaRecord* area);

// While one lives, new element records come from large blocks instead of one allocation each (a
// bulk import of a million elements spends much of its time in the allocator otherwise). They are
// disposed like any other record. One at a time.
class ScopedRecordBlocks {
  public:
    ScopedRecordBlocks();
    ~ScopedRecordBlocks();
    ScopedRecordBlocks(const ScopedRecordBlocks&) = delete;
    ScopedRecordBlocks& operator=(const ScopedRecordBlocks&) = delete;

  private:
    class RecordBlockAllocator* allocator_;
};

// Clones copy the link too (the caller relinks them) and are null when memory runs out.
LineRecord* NewLineRecord();
void DisposeLineRecord(LineRecord** slot);
LineRecord* CloneLineRecord(const LineRecord* record);

ArcRecord* NewArcRecord();
void DisposeArcRecord(ArcRecord** slot);
ArcRecord* CloneArcRecord(const ArcRecord* record);

TextRecord* NewTextRecord();
void DisposeTextRecord(TextRecord** slot);
TextRecord* CloneTextRecord(const TextRecord* record);

DimensionRecord* NewDimensionRecord();
void DisposeDimensionRecord(DimensionRecord** slot);
DimensionRecord* CloneDimensionRecord(const DimensionRecord* record);

PolylineRecord* NewPolylineRecord();
void DisposePolylineRecord(PolylineRecord** slot);
PolylineRecord* ClonePolylineRecord(const PolylineRecord* record);

SymbolInstanceRecord* NewSymbolInstanceRecord();
void DisposeSymbolInstanceRecord(SymbolInstanceRecord** slot);
SymbolInstanceRecord* CloneSymbolInstanceRecord(const SymbolInstanceRecord* record);

AreaRecord* NewAreaRecord();
void DisposeAreaRecord(AreaRecord** slot);
AreaRecord* CloneAreaRecord(const AreaRecord* record);

SymbolDefRecord* NewSymbolDefRecord();
// A definition owns its six element lists with their heads.
void DisposeSymbolDefRecord(SymbolDefRecord** slot);

AttributePreset* NewAttributePreset();
void DisposeAttributePreset(AttributePreset** slot);
AttributePreset* CloneAttributePreset(const AttributePreset* record);

FrameRecord* NewFrameRecord();
void DisposeFrameRecord(FrameRecord** slot);

SavedViewRecord* NewSavedView();
void DisposeSavedView(SavedViewRecord** slot);

LayerSetRecord* NewLayerSetRecord();
void DisposeLayerSetRecord(LayerSetRecord** slot);

NamedTableRecord* NewNamedTableRecord();
void DisposeNamedTableRecord(NamedTableRecord** slot);
NamedTableRecord* CloneNamedTableRecord(const NamedTableRecord* record);

// The clone of any element record by its type, for walks written once over every list.
inline LineRecord* CloneRecord(const LineRecord* e) {
    return CloneLineRecord(e);
}
inline ArcRecord* CloneRecord(const ArcRecord* e) {
    return CloneArcRecord(e);
}
inline TextRecord* CloneRecord(const TextRecord* e) {
    return CloneTextRecord(e);
}
inline DimensionRecord* CloneRecord(const DimensionRecord* e) {
    return CloneDimensionRecord(e);
}
inline PolylineRecord* CloneRecord(const PolylineRecord* e) {
    return ClonePolylineRecord(e);
}
inline SymbolInstanceRecord* CloneRecord(const SymbolInstanceRecord* e) {
    return CloneSymbolInstanceRecord(e);
}
inline AreaRecord* CloneRecord(const AreaRecord* e) {
    return CloneAreaRecord(e);
}

// Orders two end points: the smaller x first; for a segment within 0.01 degrees of vertical (its
// direction taken in [0, 360), so pointing down counts as well as up) the smaller y first. True when
// the ends were swapped.
Boolean OrderSegmentEnds(Float64* x1, Float64* y1, Float64* x2, Float64* y2);
// The same for a line's ends, exchanging its end-mark kinds when the ends are swapped.
void NormalizeLineDirection(LineRecord* line);
