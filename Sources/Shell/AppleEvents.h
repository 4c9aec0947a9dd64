// Apple events inside the program: events of a class and an id, with the files they name, queued as
// high-level events and dispatched through a handler table; the required events' handlers.
#pragma once

#include "Platform/Events.h"

#include <string>
#include <vector>

constexpr UInt32 kCoreEventClass = FOUR_CHAR("aevt");
constexpr UInt32 kAEOpenApplication = FOUR_CHAR("oapp");
constexpr UInt32 kAEOpenDocuments = FOUR_CHAR("odoc");
constexpr UInt32 kAEPrintDocuments = FOUR_CHAR("pdoc");
constexpr UInt32 kAEQuitApplication = FOUR_CHAR("quit");
constexpr UInt32 kAEShowPreferences = FOUR_CHAR("pref");

struct AppleEvent {
    UInt32 eventClass = 0;
    UInt32 eventID = 0;
    std::vector<std::string> files; // the direct parameter of the document events, UTF-8 paths
};

using AEEventHandler = OSErr (*)(const AppleEvent* event, AppleEvent* reply, long refCon);

OSErr AEInstallEventHandler(UInt32 eventClass, UInt32 eventID, AEEventHandler handler, long refCon);
OSErr AERemoveEventHandler(UInt32 eventClass, UInt32 eventID);
// Queues the event for this program as the system would send it: a high-level event whose message is
// the class and whose where is the id.
OSErr AESendToSelf(UInt32 eventClass, UInt32 eventID, const std::vector<std::string>& files);
// Runs the handler of a high-level event taken from the queue; its result.
OSErr AEProcessAppleEvent(const EventRecord* event);
// Forgets queued events and handlers.
void ResetAppleEvents();

// The required events: open application, open documents, print documents, quit, and show the
// preferences.
void InstallRequiredEventHandlers();
OSErr HandleOpenApp(const AppleEvent* event, AppleEvent* reply, long refCon);
OSErr HandleOpenDocuments(const AppleEvent* event, AppleEvent* reply, long refCon);
// Opens each file, prints its current frame through the print dialog and closes it without asking.
// The first failure (a file that does not open, a print that fails) is the result; a cancelled
// dialog is none.
OSErr HandlePrintDocuments(const AppleEvent* event, AppleEvent* reply, long refCon);
// The result of the last print-documents event of this run (noErr before any).
OSErr LastPrintDocumentsResult();
OSErr HandleQuitApp(const AppleEvent* event, AppleEvent* reply, long refCon);
OSErr HandleShowPreferences(const AppleEvent* event, AppleEvent* reply, long refCon);
