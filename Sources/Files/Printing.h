// Printing frames: the page grid of a frame, fit to page, the pass that prints every tile of a frame
// with its header, footer and corner marks, and the texts of header and footer.
#pragma once

#include "Model/DocumentRecords.h"
#include "Platform/PrintSession.h"

#include <string>

constexpr SInt16 kPrintMessageList = 1402;
constexpr SInt32 kMaxPrintPages = 9999;

// Device points per millimetre.
constexpr Float64 kPointsPerMillimetre = 72.0 / 25.4;

// A frame laid on sheets: columns outside, rows inside, both from the bottom-left. One tile is the
// printable area of the frame's paper, for the count and the printing pass alike, so a tile never
// lies under a margin and "page n of N", the range and the corner marks match the sheets.
struct PageTiles {
    SInt32 columns, rows;
    Float64 left, bottom;  // device corner of the first tile
    Float64 width, height; // device size of a tile
};

// False, with no tiles, when the printable area, the scales or the frame give no page (sides of 0 or
// less, or not finite) or the frame has no width and no height.
Boolean ComputePageTiles(const FrameRecord* frame, PageTiles* out);
// 0 when the frame gives no page.
SInt32 CountTiledPages(const FrameRecord* frame);
// The device corner of page n (from 1) of the grid.
void TileCorner(const PageTiles& tiles, SInt32 page, Float64* left, Float64* bottom);

// Shrinks or grows both scales so the frame fills one printable area. False, with the scales kept,
// when the frame has no width and no height or the printable area is empty.
Boolean FitFrameToPage(FrameRecord* frame);

// Scale x and y of a frame at this paper scale (the document's default print scale when not
// positive); the pens' device widths in points (at least 1) into both tables of the settings.
void ComputePrintPenWidths(DocWindowRecord* doc, Float64 scale, Float64* scaleX, Float64* scaleY);
// A one-page frame (kind 1) keeps its centre and takes the size of its printable area; the document
// is marked changed.
void CenterFrameOnPaper(DocWindowRecord* doc, FrameRecord* frame);

// The page setup and job of the stored forms, and back.
PrintPageSetup PageSetupOfHandle(Handle pageFormat);
PrintJobSetup JobSetupOfHandle(Handle printSettings);
void StorePageSetup(const PrintPageSetup& page, Handle* pageFormat);
// The frame's printable and paper rectangles from its page format.
void UpdateFramePaper(FrameRecord* frame);

// The visible layers as runs: "1-5, 7"; all visible give "0-1023".
std::string LayerRangeText(DocWindowRecord* doc);
// A header or footer text with its codes expanded (MacRoman, cut to 255).
std::string ExpandHeaderText(DocWindowRecord* doc, const FrameRecord* frame, ConstStr255Param text,
                             SInt32 page, SInt32 count);

// The switches of the frame scale dialog, kept in unnamed settings slots: the selected frame, fit
// to page and corner marks.
SInt16& PrintSelectedFrame(DocSettings* settings);
SInt16& PrintFitToPage(DocSettings* settings);
SInt16& PrintCornerMarks(DocSettings* settings);
// The page-output option, set while the whole drawing prints.
SInt16& PrintPageOutput(DocSettings* settings);
// The frame that printing the current page prints (from 1), kept in an unnamed settings slot.
SInt16& PrintCurrentFrame(DocSettings* settings);

// The one session of a print command.
extern PMPrintSession gPrintSession;
Boolean OpenPrintSession();
void ClosePrintSession();

// Prints one frame in the job's page range into the job's printer or file (the dialog has run). A
// frame that gives no page is refused with a message. noErr also when the range misses every page.
OSStatus PrintPages(DocWindowRecord* doc, FrameRecord* frame, const PrintJobSetup& job);

// A frame printed through the print dialog: the session on the frame's own paper and printer, its
// scales from its scale, the range 1..its page count; the dialog's answers are stored back in the
// frame. kPMCancel when the dialog is cancelled (nothing printed).
OSStatus PrintFrameWithDialog(DocWindowRecord* doc, FrameRecord* frame);
// Chooses the current frame (the frame list); false when the user cancels. Without a chooser the
// current frame stands as it is.
using PrintFrameChooser = Boolean (*)(DocWindowRecord* doc);
void SetPrintFrameChooser(PrintFrameChooser chooser);
// The current frame through the print dialog. A drawing without frames gets message 57 and no dialog
// (paramErr); a current frame number that names no frame becomes 1. kPMCancel when the frame list or
// the print dialog is cancelled.
OSStatus PrintCurrentPage(DocWindowRecord* doc);
// The whole drawing: a frame around the visible elements, printed and removed again on every path.
// noErr with nothing printed for an empty drawing.
OSStatus PrintAllPages(DocWindowRecord* doc);

// A one-page frame of the document's paper at its default print scale follows the mouse with its
// lower-left corner while the button is held, and is made where it is let go. False, with nothing
// made, when the button is already up or the paper has no printable area.
Boolean PlacePageWithMouse(DocWindowRecord* doc);
