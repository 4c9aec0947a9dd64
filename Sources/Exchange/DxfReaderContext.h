// What the DXF section and entity readers share during one import: the values of the object just
// read (single slots per group code, arrays for repeated codes), progress, and the reading of the
// group-code/value pairs themselves.
#pragma once

#include "Exchange/DxfCodePages.h"
#include "Model/DocumentRecords.h"
#include "Platform/FileManager.h"

#include <memory>

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

struct DXFReaderContext {
    DocWindowRecord* doc = nullptr;
    FSIORefNum fork = 0;
    SInt64 fileSize = 0;
    SInt64 bytesRead = 0;
    SInt32 lastPercent = -1;
    Float64 coordScale = 1.0;
    Float64 dimScale = 1.0;
    SInt32 acadVersion = 0; // the number of $ACADVER ("AC1018" is 1018)
    Boolean ignoredKinds[4] = {};
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

    // A name read by a reader that belongs to the next object (the section loop takes it first).
    Str255 pendingName = {};
    Boolean hasPending = false;
};

// Allocates the value arrays; false when memory runs out.
Boolean AllocateDxfContext(DXFReaderContext& ctx);

// The next line (leading blanks dropped); a line longer than 255 characters keeps its first 255 and
// the rest is skipped, so code and value lines stay paired. False at the end of the file with no
// line read.
Boolean ReadDxfLine(DXFReaderContext& ctx, Str255 line);
// The pairs of one object into the context; true when it ended with a group code 0 (the next line
// is then the name of the following object), false at the end of the file or, with a stop code,
// after the stop code's pair.
Boolean ReadDXFObject(DXFReaderContext& ctx, const DxfObjectOptions& options = {});
// Drops the pairs up to the next group code 0.
void SkipDxfObject(DXFReaderContext& ctx);

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

// The colour of a DXF colour number (1 to 255) and the pen it gives: numbers from 9 on take pens 1 to
// 8 in turn. False for 0 and 256 (by block, by layer) and numbers out of range, which change nothing.
Boolean DxfColourForNumber(const DXFReaderContext& ctx, SInt32 number, RGBColor* colour, SInt16* pen);
