// QuickDraw pictures ('PICT' data as resources and files hold them), read by a decoder of our own for
// the opcodes that occur: bitmaps and pixel maps (indexed or direct, packed or not), lines, shapes,
// polygons and text with their pens, patterns and colours.
#pragma once

#include "Platform/CGContext.h"
#include "Platform/QuickDrawTypes.h"

#include <cstddef>

using PicHandle = Handle;

// The picture's frame from its header; false when the data is too short for one or it is empty.
Boolean GetPictureFrame(const UInt8* bytes, size_t size, Rect* frame);
// Draws the picture into the current port with its frame mapped onto the destination (local
// coordinates). False, with nothing drawn, when the data is not a picture this decoder reads or
// draws nothing it knows; every count and length is checked against the data.
Boolean DrawPictureData(const UInt8* bytes, size_t size, const Rect* destination);
void DrawPicture(PicHandle picture, const Rect* destination);
// The data hold a picture this decoder reads: a frame it can draw at, something drawn, and no opcode
// that is malformed or reaches past the end of the data.
Boolean PictureFitsData(const UInt8* bytes, size_t size);
// The same into a drawing context, upright in the rectangle (user space, y up); the picture keeps its
// lines sharp at any size. False, with nothing drawn, as above.
Boolean QDPictDrawToCGContext(CGContextRef context, CGRect rect, const UInt8* bytes, size_t size);

// A picture of the pixels (0xffRRGGBB, rows top down) with frame (0, 0, height, width), as we store
// previews; null when the size cannot be stored (width 2 to 4095) or memory runs out.
PicHandle NewBitmapPicture(const UInt32* pixels, SInt32 rowBytes, SInt16 width, SInt16 height);
