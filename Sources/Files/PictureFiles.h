// Pictures coming into a drawing: PICT files placed into it or opened as a drawing of their own, and
// the clipboard's picture pasted into a rectangle.
#pragma once

#include "Model/DocumentRecords.h"

#include <cstddef>

// A PICT file starts with 512 bytes that belong to no picture.
constexpr size_t kPictFileHeaderSize = 512;
// The message for a file that holds no readable picture, and for a clipboard picture that cannot be
// read ("STR#" 200).
constexpr SInt16 kMsgNoPictureInFile = 125;
constexpr SInt16 kMsgNoPictureOnClipboard = 126;

// The picture of a PICT file's bytes: what follows the header, as a new handle. Null for a file of
// 512 bytes or fewer, and for one whose picture the decoder cannot read whole within the data.
Handle PictureFromFileData(const UInt8* bytes, size_t size);
// The same read from the file. A file that cannot be read shows the system's error, one without a
// usable picture message 125, and memory that runs out message 48; null then.
Handle ReadPictureFile(const FSRef* file);

// Places the file's picture with its lower-left corner at the point (the view origin with atView),
// as large as its frame on paper (72 points to the inch) at the drawing scale; one undo step. False,
// with the drawing unchanged and the user told why, when the file gives no picture.
Boolean PlacePictureFile(DocWindowRecord* doc, const FSRef* file, Boolean atView, Float64 x, Float64 y);
// The clipboard's picture as an element filling the rectangle; one undo step. False, with nothing
// changed, when the clipboard offers no picture or the rectangle has no area; a picture on the
// clipboard that cannot be read is message 126.
Boolean PastePicture(DocWindowRecord* doc, Float64 left, Float64 bottom, Float64 right, Float64 top);

// Open format 3: a PICT file becomes a new drawing with the preference defaults, its picture at the
// view origin. A file without a usable picture leaves no drawing behind.
Boolean ImportPictureFile(DocWindowRecord** slot, const FSRef* file);
void RegisterPictureImporter();
