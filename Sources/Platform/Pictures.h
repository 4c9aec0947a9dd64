// QuickDraw pictures ('PICT' data as resources and files hold them), read by a decoder of our own for
// what pictures of pixels hold: bitmaps and pixel maps (indexed or direct), packed or not.
#pragma once

#include "Platform/QuickDrawTypes.h"

#include <cstddef>

using PicHandle = Handle;

// The picture's frame from its header; false when the data is too short for one or it is empty.
Boolean GetPictureFrame(const UInt8* bytes, size_t size, Rect* frame);
// Draws the picture into the current port with its frame mapped onto the destination (local
// coordinates). False, with nothing drawn, when the data is not a picture this decoder reads or
// holds no pixels; every count and length is checked against the data.
Boolean DrawPictureData(const UInt8* bytes, size_t size, const Rect* destination);
void DrawPicture(PicHandle picture, const Rect* destination);
