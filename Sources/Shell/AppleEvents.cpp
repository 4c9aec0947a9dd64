// The program's Apple events: a handler table by class and id, events sent to ourselves through the
// event queue with their files kept here until the loop takes them, and the required handlers.
#include "Shell/AppleEvents.h"
#include "Dialogs/OptionDialogs.h"

#include "Other/Alerts.h"
#include "Shell/DocumentServices.h"
#include "Shell/EventLoop.h"
#include "Files/FileCommands.h"
#include "Files/Printing.h"
#include "Shell/DocumentWindow.h"
#include "Platform/FileManager.h"
#include "Platform/MacRoman.h"
#include "Files/Preferences.h"
#include "Tools/ToolDispatch.h"
#include "Other/ZEZUdivari.h"

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
    AEInstallEventHandler(kCoreEventClass, kAEPrintDocuments, HandlePrintDocuments, 0);
    AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, HandleQuitApp, 0);
    AEInstallEventHandler(kCoreEventClass, kAEShowPreferences, HandleShowPreferences, 0);
}

OSErr HandleShowPreferences(const AppleEvent*, AppleEvent*, long) {
    PreferencesDialog(nullptr);
    return noErr;
}

OSErr HandleOpenApp(const AppleEvent*, AppleEvent*, long) {
    return noErr;
}

namespace {

OSErr gLastPrintDocumentsResult = noErr;

// Opens one file of the event; its failure is recorded (not shown) and its real cause returned.
OSErr OpenOneDocument(const std::string& path, DocWindowRecord** opened = nullptr) {
    BeginAppleEventCommand();
    FSRef file;
    OSErr err = FSMakeRef(path.c_str(), &file);
    if (err != noErr) {
        ShowOSErrorAlert(err);
        return EndAppleEventCommand(err);
    }
    DocWindowRecord* doc = nullptr;
    if (OpenDocumentFile(&doc, &file)) {
        CancelPendingCommand(doc);
        if (opened != nullptr) *opened = doc;
        EndAppleEventCommand(noErr);
        return noErr;
    }
    // No message at all: the user declined something on the way (the name question).
    return EndAppleEventCommand(RecordedAppleEventErrorCode() != 0 ? OSErr(noErr) : OSErr(userCanceledErr));
}

// The files of this event come from the desktop or the command line, where nobody reads the reply:
// the user sees each failure as the Open panel shows it, naming the file when the message does not.
void ShowOpenFailure(const std::string& path) {
    Str255 text, name;
    GetRecordedAppleEventErrorText(text);
    if (text[0] == 0) return;
    const size_t slash = path.rfind('/');
    UTF8ToPStr(slash == std::string::npos ? path : path.substr(slash + 1), name, 255);
    if (name[0] != 0 && FindPStr(name, text) == 0) {
        Str255 named;
        CopyPStr(named, sizeof named, name);
        AppendCStr(named, sizeof named, ": ");
        AppendPStr(named, sizeof named, text);
        CopyPStr(text, sizeof text, named);
    }
    ShowErrorText(text);
}

// Files that arrive by an Apple event are opened in automatic format, whatever the Open panel was
// left at; the user's choice comes back afterwards.
class AutomaticOpenFormat {
  public:
    AutomaticOpenFormat() : saved_(GeneralPrefs.openFormat) {
        OpenedByAppleEvent = true;
        GeneralPrefs.openFormat = kAutomaticFormat;
    }
    ~AutomaticOpenFormat() { GeneralPrefs.openFormat = saved_; }

  private:
    UInt32 saved_;
};

} // namespace

OSErr HandleOpenDocuments(const AppleEvent* event, AppleEvent*, long) {
    AutomaticOpenFormat automatic;
    OSErr code = noErr;
    for (const std::string& path : event->files) {
        OSErr err = OpenOneDocument(path);
        if (err == noErr || err == userCanceledErr) continue;
        ShowOpenFailure(path);
        // The reply keeps the first failure: a file that opens later does not make it a success.
        if (code == noErr) code = err;
    }
    return code;
}

OSErr HandlePrintDocuments(const AppleEvent* event, AppleEvent*, long) {
    AutomaticOpenFormat automatic;
    OSErr code = noErr;
    for (const std::string& path : event->files) {
        DocWindowRecord* doc = nullptr;
        OSErr err = OpenOneDocument(path, &doc);
        if (err == noErr && doc != nullptr) {
            // Messages of the printing itself are shown: whoever asked for it waits for the sheets.
            OSStatus printed = PrintCurrentPage(doc);
            if (printed != noErr && printed != kPMCancel) err = OSErr(printed);
            // Opened only to be printed: nothing of it is kept, even when printing was cancelled.
            CloseDocumentWindow(doc, false, false, false);
        } else if (err != userCanceledErr) {
            ShowOpenFailure(path);
        }
        if (code == noErr && err != userCanceledErr) code = err;
    }
    gLastPrintDocumentsResult = code;
    return code;
}

OSErr LastPrintDocumentsResult() {
    return gLastPrintDocumentsResult;
}

OSErr HandleQuitApp(const AppleEvent*, AppleEvent*, long) {
    CloseAllDocuments(true);
    // A quit the user cancelled at one of the documents answers so.
    return QuitFlag ? OSErr(noErr) : OSErr(userCanceledErr);
}
