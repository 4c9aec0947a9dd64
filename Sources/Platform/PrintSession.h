// The print session over Qt's printer: one job at a time on a CUPS printer or into a PDF file, page
// setup and print dialogs, and the paper of a page setup as the drawing code sees it (points, y down,
// already turned by the orientation). Without a window system the dialogs count as cancelled unless a
// test's responder answers them.
#pragma once

#include "Platform/CGContext.h"
#include "Platform/MacTypes.h"

#include <functional>
#include <string>

// The result of a dialog the user cancelled.
constexpr OSStatus kPMCancel = 2;
// The session error of a page whose drawing the user stopped.
constexpr OSStatus kPMPageCancelled = 128;

// Paper and margins (points); width and height are those of the upright sheet.
struct PrintPageSetup {
    Float64 paperWidth, paperHeight;
    SInt16 orientation; // 1 portrait, 2 landscape, 3 reverse portrait, 4 reverse landscape
    Float64 marginTop, marginLeft, marginBottom, marginRight;
};

struct PrintJobSetup {
    SInt16 copies;
    SInt32 firstPage, lastPage;
    Boolean collate;
    std::string printerName; // empty: the default printer
    std::string outputFile;  // non-empty: a PDF file instead of a printer
};

struct PrintSession;
using PMPrintSession = PrintSession*;

OSStatus PrintSessionCreate(PMPrintSession* session);
void PrintSessionRelease(PMPrintSession* session);
// Fits the setups to the session's printer: a page of no paper takes the printer's default paper, a
// printer that does not exist the default one (or a PDF file when none is installed).
OSStatus ValidatePrintObjects(PMPrintSession session, PrintPageSetup* page, PrintJobSetup* job);
// True when at least one printer is installed.
Boolean PrintersAvailable();

OSStatus BeginPrintDocument(PMPrintSession session, const PrintPageSetup& page, const PrintJobSetup& job);
OSStatus EndPrintDocument(PMPrintSession session);
OSStatus BeginPrintPage(PMPrintSession session);
OSStatus EndPrintPage(PMPrintSession session);
// The page's context: the whole sheet, origin at its bottom-left, one unit a point. Null outside a
// page.
CGContextRef GetPrintContext(PMPrintSession session);
OSStatus GetPrintSessionError(PMPrintSession session);
void SetPrintSessionError(PMPrintSession session, OSStatus error);
void SetPrintJobName(PMPrintSession session, const std::string& name);

// kPMCancel when the user cancels; the setups keep their values then.
OSStatus RunPageSetupDialog(PMPrintSession session, PrintPageSetup* page);
OSStatus RunPrintDialog(PMPrintSession session, PrintJobSetup* job, PrintPageSetup* page);
void SetPrintPageRange(PrintJobSetup* job, SInt32 first, SInt32 last);

// The printable area (top, left, bottom, right) and the sheet (0, 0, height, width), rounded, both
// as the page lies on the paper after its orientation.
OSStatus GetPaperRect(PMPrintSession session, const PrintPageSetup& page, Rect* out);
OSStatus GetPaperSize(PMPrintSession session, const PrintPageSetup& page, Rect* out);

// Tests answer the dialogs: the responder may change the setups and returns noErr or kPMCancel.
using PrintDialogResponder = std::function<OSStatus(PrintJobSetup* job, PrintPageSetup* page)>;
void SetPrintDialogResponder(PrintDialogResponder responder);
