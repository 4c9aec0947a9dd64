// Basic types, result codes and geometry records shared by the whole program, in the shape the
// program's records and files use (fixed widths, length-prefixed strings, Mac result codes).
#pragma once

#include <cstddef>
#include <cstdint>

using SInt8 = int8_t;
using UInt8 = uint8_t;
using SInt16 = int16_t;
using UInt16 = uint16_t;
using SInt32 = int32_t;
using UInt32 = uint32_t;
using SInt64 = int64_t;
using UInt64 = uint64_t;
using Float32 = float;
using Float64 = double;
using Boolean = unsigned char;
using OSErr = SInt16;
using OSStatus = SInt32;
using OSType = UInt32;
using FourCharCode = UInt32;
using ResType = UInt32;
using Fixed = SInt32;
using Size = long;
using Ptr = char*;
using Handle = char**;
using UniChar = UInt16;

// Length-prefixed strings: byte 0 is the length, the characters follow.
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str44 = unsigned char[45];
using Str31 = unsigned char[32];
using Str32 = unsigned char[33];
using Str30 = unsigned char[31];
using Str20 = unsigned char[21];
using Str19 = unsigned char[20];
using Str15 = unsigned char[16];
using Str10 = unsigned char[11];
using Str9 = unsigned char[10];
using Str8 = unsigned char[9];
using Str7 = unsigned char[8];
using Str6 = unsigned char[7];
using Str5 = unsigned char[6];
using Str3 = unsigned char[4];
using StringPtr = unsigned char*;
using ConstStringPtr = const unsigned char*;
using ConstStr255Param = const unsigned char*;

inline UInt8 StrLength(ConstStringPtr s) {
    return s[0];
}

constexpr FourCharCode FOUR_CHAR(const char (&c)[5]) {
    return (FourCharCode(UInt8(c[0])) << 24) | (FourCharCode(UInt8(c[1])) << 16) |
           (FourCharCode(UInt8(c[2])) << 8) | FourCharCode(UInt8(c[3]));
}

struct Point {
    SInt16 v;
    SInt16 h;
};

struct Rect {
    SInt16 top;
    SInt16 left;
    SInt16 bottom;
    SInt16 right;
};

struct RGBColor {
    UInt16 red;
    UInt16 green;
    UInt16 blue;
};

// Mac result codes the program tests and reports.
enum : OSErr {
    noErr = 0,
    userCanceledErr = -128,
    dirFulErr = -33,
    dskFulErr = -34,
    nsvErr = -35,
    ioErr = -36,
    bdNamErr = -37,
    fnOpnErr = -38,
    eofErr = -39,
    posErr = -40,
    tmfoErr = -42,
    fnfErr = -43,
    wPrErr = -44,
    fLckdErr = -45,
    vLckdErr = -46,
    fBsyErr = -47,
    dupFNErr = -48,
    opWrErr = -49,
    paramErr = -50,
    rfNumErr = -51,
    permErr = -54,
    wrPermErr = -61,
    dirNFErr = -120,
    memFullErr = -108,
    nilHandleErr = -109,
    memWZErr = -111,
    resNotFound = -192,
    resFNotFound = -193,
    addResFailed = -194,
    mapReadErr = -199,
    afpAccessDenied = -5000,
    errAENoUserInteraction = -1713,
    errAEEventNotHandled = -1708,
};
