// The stored print settings and page formats of a drawing and its frames: small versioned payloads
// of our own under the resource types 'pset' and 'ppag'. A payload of any other form counts as absent.
#pragma once

#include "Platform/MacTypes.h"

#include <vector>

constexpr ResType kPrintSettingsResType = 0x70736574; // 'pset'
constexpr ResType kPageFormatResType = 0x70706167;    // 'ppag'
constexpr SInt16 kDocumentPrintResId = 300;           // frames use 301, 302, ... in list order

struct PageFormatData {
    Float64 paperWidth, paperHeight; // points
    SInt16 orientation;              // 1 portrait, 2 landscape
    Float64 scale;                   // percent
    Rect paperRect;                  // the sheet relative to the printable area's top-left
    Rect pageRect;                   // the printable area
};

struct PrintSettingsData {
    SInt16 copies;
    SInt32 firstPage, lastPage;
    Boolean collate;
    Str63 printerName; // empty: the default printer
};

// A4 portrait with margins of a quarter inch; one copy of every page on the default printer.
PageFormatData DefaultPageFormat();
PrintSettingsData DefaultPrintSettings();

std::vector<UInt8> FlattenPageFormat(const PageFormatData& data);
std::vector<UInt8> FlattenPrintSettings(const PrintSettingsData& data);
// False for payloads not ours, of another version, damaged, or with an empty sheet or page.
Boolean UnflattenPageFormat(const UInt8* bytes, size_t size, PageFormatData* out);
Boolean UnflattenPrintSettings(const UInt8* bytes, size_t size, PrintSettingsData* out);

// Handles holding stored forms, as frames and documents keep them; null when memory runs out.
Handle NewPageFormatHandle(const PageFormatData& data);
Handle NewPrintSettingsHandle(const PrintSettingsData& data);
// The stored form in a handle, or the default when the handle is empty or does not decode.
PageFormatData PageFormatOf(Handle h);
PrintSettingsData PrintSettingsOf(Handle h);
