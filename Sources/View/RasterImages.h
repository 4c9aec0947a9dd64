// Raster images of a drawing: drawn at their position and resolution on screen and into print and
// PDF output, imported from image files, and removed.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kImageUnreadableMessage = 120;
constexpr SInt16 kImagesFullMessage = 121;
constexpr SInt16 kDeleteImageQuestion = 20;

// The world rectangle of an image: its position is the lower-left corner, its size the pixels at
// its resolution (dots per inch) in millimetres. False when the image has no sound size.
Boolean RasterImageRect(const ImageRecord* image, Float64 box[4]);

// Draws image index (0-based): on screen while the drawing shows images, always in print and PDF
// output. A plotter draws no pixels, so a plot gets nothing of it.
void DrawRasterImage(DocWindowRecord* doc, SInt16 index);

enum class ImageImport { imported, unreadable, full, noMemory };
// Reads the file through the image readers and adds it with its lower-left corner at (x, y), at the
// file's resolution (72 dots per inch when it has none), and makes images shown. Nothing changes
// unless it is imported.
ImageImport ImportImageFile(DocWindowRecord* doc, const char* utf8Path, Float64 x, Float64 y);
// The import command: asks for a file and adds it at the centre of the view; a file that cannot be
// read, a drawing with ten images already, or too little memory gives a message and changes nothing.
void ImportImage(DocWindowRecord* doc);

// Removes image n (1-based, as the images menu numbers them) after confirmation.
void DeleteImage(DocWindowRecord* doc, SInt16 n);
