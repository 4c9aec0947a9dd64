// The clipboard as other programs fill it: any MIME flavours with their bytes, and images encoded in
// the formats they put there.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <utility>
#include <vector>

// Replaces the clipboard's contents by the flavours (MIME type, bytes); a "text/plain" one is text.
void PutClipboardFlavours(const std::vector<std::pair<std::string, std::string>>& flavours);
// A width x height image of one colour (0xRRGGBB) in the format ("PNG", "TIFF"); empty when it cannot
// be written.
std::string EncodeSolidImage(const char* format, int width, int height, UInt32 rgb);
