// What the DXF section and entity readers share during one import: the values of the object just
// read (single slots per group code, arrays for repeated codes), progress, and the reading of the
// group-code/value pairs themselves.
#pragma once

#include "Exchange/DxfCodePages.h"
#include "Model/DocumentRecords.h"
#include "Platform/FileManager.h"
#include "Platform/PascalBytes.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

constexpr SInt32 kDxfArrayCapacity = 2048; // values kept of one repeated code in one object
constexpr SInt16 kDxfMaxSeenCode = 2048;

// The codes whose repeated values are kept in order (vertices, hatch edges, spline points).
enum DxfArray : SInt16 {
    kDxf10,
    kDxf11,
    kDxf20,
    kDxf21,
    kDxf40,
    kDxf41,
    kDxf42,
    kDxf50,
    kDxf51,
    kDxf72,
    kDxf73,
    kDxfArrayCount
};

// How ReadDXFObject treats the codes whose meaning depends on the entity.
struct DxfObjectOptions {
    // Code 42 after a code 10 is the bulge of that vertex (LWPOLYLINE); elsewhere 42 is one value.
    Boolean vertexBulges = false;
    // Code 40 is a ratio, not a length (ELLIPSE): it is not multiplied by the coordinate scale.
    Boolean ratio40 = false;
    // Stop after the pair with this code has been stored (0: read to the end of the object).
    SInt16 stopCode = 0;
};

// The LTYPE and LAYER tables as read, and the blocks with the inserts nested in them.
struct DxfLineType {
    std::string name;
    SInt16 style = 1; // 1 to 6
};
struct DxfLayer {
    std::string name, lineType;
    SInt16 style = 1, pen = 1;
    RGBColor colour = {0, 0, 0};
    SInt16 number = 0; // the drawing's layer
};
struct DxfNestedInsert {
    std::string name;
    Float64 x = 0, y = 0; // from the block's base point
    Float64 angle = 0, xScale = 1, yScale = 1;
};
struct DxfBlock {
    std::string name;
    SymbolDefRecord* definition = nullptr;
    std::vector<DxfNestedInsert> inserts; // in file order
};

struct DXFReaderContext {
    DocWindowRecord* doc = nullptr;
    FSIORefNum fork = 0;
    SInt64 fileSize = 0;
    SInt64 bytesRead = 0;
    SInt32 lastPercent = -1;
    Float64 coordScale = 1.0;
    Float64 dimScale = 1.0;
    SInt32 acadVersion = 0; // the number of $ACADVER ("AC1018" is 1018)
    // What the drawing does not keep, for the log and the message at the end: entities by kind,
    // elements dropped for values that are no numbers, values beyond 1e20 read as 0.
    std::map<std::string, SInt32> notRead;
    SInt32 nonFiniteObjects = 0, hugeValues = 0;
    Boolean atEOF = false;      // the file has no more lines
    Boolean sawEndMark = false; // the "EOF" line was read
    Boolean sawSection = false;
    RGBColor palette[256] = {}; // the DXF colour numbers; entry 0 stays black

    // The object just read.
    Str255 strings[9] = {};  // codes 1 to 9
    SInt32 ints[159] = {};   // codes 62 to 220
    Float64 reals[221] = {}; // codes 10 to 58 (slot code - 10) and 230 (slot 220)
    std::unique_ptr<Float64[]> arrays[kDxfArrayCount];
    SInt32 counts[kDxfArrayCount] = {};
    std::unique_ptr<UInt8[]> seen; // kDxfMaxSeenCode + 1 flags
    std::unique_ptr<SInt16[]> seenList;
    SInt32 seenCount = 0;
    SInt32 bulgeCount = 0;     // entries of the bulge array in use (vertexBulges only)
    Boolean nonFinite = false; // a value of the object was not a finite number: the element is dropped

    // Header, tables and blocks.
    DXFCodePages pages;
    std::vector<DxfLineType> lineTypes;
    std::vector<DxfLayer> layers;
    std::unordered_map<std::string, size_t> layerIndex; // first layer of each name
    std::vector<DxfBlock> blocks;
    std::unordered_map<std::string, size_t> blockIndex;
    Boolean lineTypeGiven = false; // code 6 of the current object named a known line type
    Boolean keepChunks = false;    // code-3 values are collected in order (MTEXT)
    std::string chunks;            // the code-3 values of the object, in order
    SInt32 insertBudget = 0;       // symbol instances one INSERT may still place

    // A name read by a reader that belongs to the next object (the section loop takes it first).
    Str255 pendingName = {};
    Boolean hasPending = false;
};

// Allocates the value arrays; false when memory runs out.
// A group code: blanks around it, an optional sign and digits; -32768 for anything else.
SInt32 ParseGroupCode(ConstStr255Param s);
// The value equals the upper-case word, blind to the case of ASCII letters.
bool UpperEquals(ConstStr255Param s, const char* word);

Boolean AllocateDxfContext(DXFReaderContext& ctx);

// The next line (leading blanks dropped); a line longer than 255 characters keeps its first 255 and
// the rest is skipped, so code and value lines stay paired. False at the end of the file with no
// line read.
Boolean ReadDxfLine(DXFReaderContext& ctx, Str255 line, Boolean keepBlanks = false);
// UTF-8 into a length-prefixed string of at most capacity bytes, never cut inside a character.
void CopyUtf8(const std::string& text, StringPtr dest, size_t capacity);
// The pairs of one object into the context; true when it ended with a group code 0 (the next line
// is then the name of the following object), false at the end of the file or, with a stop code,
// after the stop code's pair.
Boolean ReadDXFObject(DXFReaderContext& ctx, const DxfObjectOptions& options = {});
// Drops the pairs up to the next group code 0.
void SkipDxfObject(DXFReaderContext& ctx);
// Drops an entity of a kind the drawing does not keep, and counts it. The first of each kind is
// named in the log.
void SkipNotReadEntity(DXFReaderContext& ctx, ConstStr255Param name);

// One line of the document log from UTF-8 (names of the file as decoded).
void LogDxf(DXFReaderContext& ctx, const std::string& utf8);

// Whole-number progress; false when the user cancelled with Command-period.
Boolean UpdateImportProgress(DXFReaderContext& ctx);

// Values of the object just read: the single value (the first given) and the repeated ones.
inline Float64 DxfReal(const DXFReaderContext& ctx, SInt16 code) {
    return code == 230 ? ctx.reals[220] : ctx.reals[code - 10];
}
inline SInt32 DxfInt(const DXFReaderContext& ctx, SInt16 code) {
    return ctx.ints[code - 62];
}
inline Boolean DxfSeen(const DXFReaderContext& ctx, SInt16 code) {
    return code >= 0 && code <= kDxfMaxSeenCode && ctx.seen[size_t(code)] != 0;
}
inline SInt32 DxfCount(const DXFReaderContext& ctx, DxfArray a) {
    return ctx.counts[a];
}
inline Float64 DxfAt(const DXFReaderContext& ctx, DxfArray a, SInt32 i) {
    return ctx.arrays[a][size_t(i)];
}

// The ENTITIES section, from the line after its name up to "ENDSEC"; false when cancelled.
Boolean ReadDXFEntities(DXFReaderContext& ctx);
// One entity of the ENTITIES loop or a block, by its name (upper-case or not); false when the name
// is not one of the geometric kinds.
Boolean ReadDXFGeometricEntity(DXFReaderContext& ctx, ConstStr255Param name);

// The HEADER section up to its "ENDSEC": the variables the drawing takes.
void ReadDXFHeader(DXFReaderContext& ctx);
// The TABLES section: line types and layers (the layer table of the drawing is filled).
void ReadDXFTables(DXFReaderContext& ctx);
// The BLOCKS section: each block becomes a symbol definition; false when cancelled.
Boolean ReadDXFBlocks(DXFReaderContext& ctx);
// Symbol definitions of dimension blocks ("*D...") that no instance places are removed.
void RemoveUnusedDimBlocks(DocWindowRecord* doc);
// A name for a new symbol definition: at most 19 characters, unlike every definition's name.
void MakeUniqueSymbolName(DocWindowRecord* doc, ConstStr255Param name, Str255 unique);
// Line style 1 to 6 from an LTYPE description.
SInt16 ClassifyDXFLineType(const std::string& description);
// Codes 6 and 8 of an object: the line style, pen, layer and colour the element is made with.
void ApplyDXFLineType(DXFReaderContext& ctx, ConstStr255Param name);
void ApplyDXFLayer(DXFReaderContext& ctx, ConstStr255Param name);

// Texts, inserts and dimensions. The text made (null when none) and the dimension made (null when
// the creator made none).
TextRecord* ReadDXFText(DXFReaderContext& ctx, ConstStr255Param kind);
void ReadDXFInsert(DXFReaderContext& ctx);
void InsertDXFBlock(DXFReaderContext& ctx, const std::string& name, Float64 x, Float64 y, Float64 angle,
                    Float64 xScale, Float64 yScale, SInt32 depth);
DimensionRecord* ReadDXFDimension(DXFReaderContext& ctx);

// The colour of a DXF colour number (1 to 255) and the pen it gives: numbers from 9 on take pens 1 to
// 8 in turn. False for 0 and 256 (by block, by layer) and numbers out of range, which change nothing.
Boolean DxfColourForNumber(const DXFReaderContext& ctx, SInt32 number, RGBColor* colour, SInt16* pen);
