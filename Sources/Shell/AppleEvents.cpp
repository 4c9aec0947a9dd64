// The program's Apple events: a handler table by class and id, events sent to ourselves through the
// event queue with their files kept here until the loop takes them, and the required handlers.
#include "AppleEvents.h"

#include "Alerts.h"
#include "DocumentServices.h"
#include "EventLoop.h"
#include "FileCommands.h"
#include "FileManager.h"
#include "Preferences.h"
#include "ToolDispatch.h"

#include <deque>
#include <map>
#include <utility>

namespace {

struct Installed {
    AEEventHandler handler;
    long refCon;
};

std::map<std::pair<UInt32, UInt32>, Installed>& Handlers() {
    static std::map<std::pair<UInt32, UInt32>, Installed> handlers;
    return handlers;
}

// Events sent and not yet taken from the queue, oldest first.
std::deque<AppleEvent>& Pending() {
    static std::deque<AppleEvent> pending;
    return pending;
}

constexpr OSErr kOpenFailed = -108;
constexpr UInt32 kAutomaticFormat = 1;

} // namespace

OSErr AEInstallEventHandler(UInt32 eventClass, UInt32 eventID, AEEventHandler handler, long refCon) {
    if (handler == nullptr) return paramErr;
    Handlers()[{eventClass, eventID}] = Installed{handler, refCon};
    return noErr;
}

OSErr AERemoveEventHandler(UInt32 eventClass, UInt32 eventID) {
    return Handlers().erase({eventClass, eventID}) ? noErr : errAEEventNotHandled;
}

OSErr AESendToSelf(UInt32 eventClass, UInt32 eventID, const std::vector<std::string>& files) {
    AppleEvent event;
    event.eventClass = eventClass;
    event.eventID = eventID;
    event.files = files;
    Pending().push_back(event);
    EventRecord record{};
    record.what = kHighLevelEvent;
    record.message = eventClass;
    record.where = Point{SInt16(eventID >> 16), SInt16(eventID & 0xFFFF)};
    return PostEventRecord(record);
}

OSErr AEProcessAppleEvent(const EventRecord* record) {
    if (record == nullptr || record->what != kHighLevelEvent) return paramErr;
    AppleEvent event;
    event.eventClass = UInt32(record->message);
    event.eventID = HighLevelEventID(*record);
    // The parameters travel beside the queue; an event the platform posted itself has none.
    auto& pending = Pending();
    for (auto it = pending.begin(); it != pending.end(); ++it) {
        if (it->eventClass == event.eventClass && it->eventID == event.eventID) {
            event = *it;
            pending.erase(it);
            break;
        }
    }
    auto found = Handlers().find({event.eventClass, event.eventID});
    if (found == Handlers().end()) return errAEEventNotHandled;
    AppleEvent reply;
    return found->second.handler(&event, &reply, found->second.refCon);
}

void ResetAppleEvents() {
    Handlers().clear();
    Pending().clear();
}

void InstallRequiredEventHandlers() {
    AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, HandleOpenApp, 0);
    AEInstallEventHandler(kCoreEventClass, kAEOpenDocuments, HandleOpenDocuments, 0);
    AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, HandleQuitApp, 0);
}

OSErr HandleOpenApp(const AppleEvent*, AppleEvent*, long) {
    return noErr;
}

OSErr HandleOpenDocuments(const AppleEvent* event, AppleEvent*, long) {
    OpenedByAppleEvent = true;
    UInt32 savedFormat = GeneralPrefs.openFormat;
    GeneralPrefs.openFormat = kAutomaticFormat;
    BeginAppleEventCommand();
    OSErr code = noErr;
    for (const std::string& path : event->files) {
        FSRef file;
        OSErr err = FSMakeRef(path.c_str(), &file);
        if (err != noErr) {
            if (code == noErr) code = err;
            continue;
        }
        DocWindowRecord* doc = nullptr;
        // The reply keeps the first failure: a file that opens later does not make it a success.
        if (OpenDocumentFile(&doc, &file))
            CancelPendingCommand(doc);
        else if (code == noErr)
            code = kOpenFailed;
    }
    code = EndAppleEventCommand(code);
    GeneralPrefs.openFormat = savedFormat;
    return code;
}

OSErr HandleQuitApp(const AppleEvent*, AppleEvent*, long) {
    CloseAllDocuments(true);
    // A quit the user cancelled at one of the documents answers so.
    return QuitFlag ? OSErr(noErr) : OSErr(userCanceledErr);
}
