// The main event loop: the pending event handed from the input handlers to the tool dispatcher, the
// loop's flags, one pass of the loop with its idle work, and the update and suspend/resume handlers.
#pragma once

#include "Platform/Events.h"

struct DocWindowRecord;

// Kinds of the pending event.
enum : SInt16 {
    kPendingClick = 0,            // code x, param y counted up from the drawing area's bottom
    kPendingMenu = 100,           // code menu, param item
    kPendingVerticalScroll = 200, // code the control part, param the value
    kPendingHorizontalScroll = 201,
    kPendingKey = 400,        // code the character, param the key class
    kPendingStripClick = 450, // code x
    kPendingStatusAction = 500,
};

// Key classes of kind 400.
enum : SInt16 {
    kKeyPlain = 0,
    kKeyRightArrow = 1,
    kKeyLeftArrow = 2,
    kKeyForwardDelete = 3,
    kKeyDelete = 4,
    kKeyReturn = 5,
    kKeyOptionLeft = 8,
    kKeyOptionRight = 9,
    kKeyPageUp = 10,
    kKeyPageDown = 11,
};

struct MenuCommandGlobalsRecord {
    SInt16 kind;
    SInt16 code;
    SInt16 param;
};

extern MenuCommandGlobalsRecord MenuCommandGlobals;
// Set when the pending event must reach the tool dispatcher in this pass.
extern Boolean ToolDispatchFlag;
// Ends the loop after the pass in which it was set.
extern Boolean QuitFlag;
// Set by the open-documents event; the start-up action then does not run.
extern Boolean OpenedByAppleEvent;

// The whole loop: preamble, passes until QuitFlag, the work after the last pass.
void RunEventLoop();
void BeginEventLoop();
// One pass: deferred redraws, the start-up action on the fourth pass, one event fetched and
// dispatched, the tool dispatcher, the front document's housekeeping.
void EventLoopPass();
void EndEventLoop();

void DoDeferredRedraws();
void HandleUpdateEvent(WindowRef window);
void HandleSuspendResume(UInt32 message);
Boolean InForeground();
void AdjustCursor(DocWindowRecord* doc, const EventRecord* event);
// Undo-limit warnings and auto-save of the front document.
void FrontDocumentHousekeeping(DocWindowRecord* doc);
// Deselects and saves (under its name, or asking for one); true when the drawing was written.
Boolean SaveDocumentNow(DocWindowRecord* doc, Boolean silent);
// The palettes shown for this document (none for null).
void RefreshPalettes(DocWindowRecord* doc);
