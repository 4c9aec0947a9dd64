// The program's run from start to end: the application-wide records and the model's hooks, the event
// loop, and the release of the cursors, menus and tables afterwards.
#include "Dialogs/AskingDialogs.h"
#include "Shell/StartupShutdown.h"
#include "Shell/FrameMenus.h"
#include "Dialogs/FrameDialogs.h"
#include "Dialogs/SymbolLibraryDialogs.h"
#include "Files/SymbolLibrary.h"
#include "Tools/PendingCommands.h"
#include "Files/Printing.h"
#include "Exchange/DxfReader.h"

#include "Platform/AppResources.h"
#include "Shell/AppleEvents.h"
#include "Exchange/DxfCodePages.h"
#include "Exchange/DxfWriter.h"
#include "View/ContentPasses.h"
#include "Other/CursorsAndMouse.h"
#include "Platform/DialogManager.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Shell/DocumentWindow.h"
#include "View/ElementDrawing.h"
#include "Shell/EventLoop.h"
#include "Platform/FileManager.h"
#include "Shell/LiveSnap.h"
#include "Files/PdfOutput.h"
#include "Files/PictureFiles.h"
#include "Interface/ProgressWindow.h"
#include "Files/Preferences.h"
#include "Shell/MenuBar.h"
#include "Interface/ModalDialogs.h"
#include "Model/NewDocument.h"
#include "Model/SharedUtilities.h"
#include "Tools/StatusArea.h"
#include "View/SavedViews.h"
#include "Dialogs/CoordinateBar.h"

#include <cfenv>
#include <cstring>

RGBColor ElementPalette[kElementPaletteSize];

namespace {

constexpr SInt16 kAppFontString = 128;
constexpr SInt16 kAppSmallFontString = 129;

// The document whose window is the front document window, or null when none is in front.
DocWindowRecord* FrontDocumentWindow() {
    return DocumentOfWindow(GetFrontWindowOfClass(kDocumentWindowClass, true));
}

void MarkWindowTitleChanged(DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    SetTitleWithDirtyMark(doc->window, d->documentName, d->unicodeName, d->unicodeNameFlag, true);
}

void ActivateWindow(DocWindowRecord* doc, Boolean active) {
    if (doc == nullptr || doc->window == nullptr) return;
    if (active) SelectWindow(doc->window);
    for (ControlRef bar : {doc->drawing->layout.verticalScrollBar, doc->drawing->layout.horizontalScrollBar})
        if (bar != nullptr) HiliteControl(bar, active ? 0 : kControlInactivePart);
}

void FlushMouseDowns() {
    FlushEvents(mDownMask, 0);
}

void AdjustMenusForFront() {
    AdjustMenus(FrontDocument());
}

// Windows behind a modal dialog are redrawn by the same update handler as in the loop.
void UpdateBehindDialog(WindowRef window) {
    HandleUpdateEvent(window);
}

void InstallShellHooks() {
    gDocumentHooks.newDocumentWindow = NewDocumentWindow;
    gDocumentHooks.markWindowTitleChanged = MarkWindowTitleChanged;
    gDocumentHooks.showStatusMessage = ShowStatusMessage;
    gDocumentHooks.drawStatusArea = DrawWindowStatusArea;
    gDocumentHooks.updateStatusArea = UpdateStatusArea;
    gDocumentHooks.refreshPalettes = RefreshPalettes;
    gDocumentHooks.rebuildViewsMenu = RebuildViewsMenu;
    gDocumentHooks.activateWindow = ActivateWindow;
    gDocumentHooks.flushMouseDowns = FlushMouseDowns;
    gDocumentHooks.frontDocument = FrontDocumentWindow;
    gDocumentHooks.rebuildFrameMenus = RebuildFrameMenus;
    gDocumentHooks.openProgress = [](ConstStr255Param title) { OpenProgress(title, false); };
    gDocumentHooks.setProgressPercent = SetProgressPercent;
    gDocumentHooks.closeProgress = CloseProgress;
    SetPrintFrameChooser(FrameListDialog);
    InstallDialogHooks();
    SetSymbolChooser(ChooseSymbolDialog);
    gViewHooks.updateScrollBars = UpdateScrollBars;
    gViewHooks.drawViewMarks = RedrawFixedPointMarker;
    gViewHooks.showZoomPercent = ShowZoomPercent;
    InstallViewDrawingHooks();
    SetMenuOpenHook(AdjustMenusForFront);
    SetOtherWindowUpdateHandler(UpdateBehindDialog);
}

} // namespace

void InitColorTables() {
    // Entry 0 stays black; the other colours come from the bundle's DXF colour table when read.
    std::memset(ElementPalette, 0, sizeof ElementPalette);
    LoadACIPalette(ElementPalette);
}

void InitApplication() {
    LoadAppResources();
    GetStringResource(kAppFontString, GeneralPrefs.appFont1);
    GetStringResource(kAppSmallFontString, GeneralPrefs.appFont2);
    SetAppFontNames(GeneralPrefs.appFont1, GeneralPrefs.appFont2);
    GeneralPrefs.autoUpdateCheck = 1;
    GeneralPrefs.lastUpdateCheck = 0;
    InstallShellHooks();
    RegisterDXFImporter();
    RegisterDXFExport();
    RegisterPDFExport();
    RegisterPictureImporter();
    InitMenusAndCursors();
    InitSymbolLibraryList();
    std::fesetround(FE_TONEAREST);
    GeneralPrefs.recentFullPaths = 1;
}

void ReleaseApplication() {
    SetCursorById(kArrowCursorId);
    DisposeCursors();
    RemoveMenuBar();
    ResetAppleEvents();
    std::memset(DialogPositionTable, 0, sizeof DialogPositionTable);
    SetMenuOpenHook(nullptr);
    SetOtherWindowUpdateHandler(nullptr);
    gDocumentHooks = DocumentHooks{};
    gViewHooks = ViewHooks{};
    SetPrintFrameChooser(nullptr);
    SetSymbolChooser(nullptr);
    DisposeSymbolLibraryList();
}

void DeleteTemporaryItems() {
    DisposePrivateTempFolder();
}

CommandLineFiles ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineFiles files;
    bool printing = false;
    for (const std::string& arg : args) {
        if (arg == "--print")
            printing = true;
        else
            (printing ? files.print : files.open).push_back(arg);
    }
    return files;
}

void SendCommandLineEvents(const CommandLineFiles& files) {
    if (!files.open.empty()) AESendToSelf(kCoreEventClass, kAEOpenDocuments, files.open);
    if (files.print.empty()) return;
    AESendToSelf(kCoreEventClass, kAEPrintDocuments, files.print);
    // Started only to print, as the desktop starts a program to print files: done when they are.
    if (files.open.empty()) AESendToSelf(kCoreEventClass, kAEQuitApplication, {});
}

int AppMain(const std::vector<std::string>& args) {
    // Temporary folders (undo journals among them) of runs that crashed or were killed.
    RemoveLeftoverTempFolders();
    InitCursor();
    FlushEvents(everyEvent, 0);
    InitApplication();
    StartMenuBarHost();
    std::memset(DialogPositionTable, 0, sizeof DialogPositionTable);
    SendCommandLineEvents(ParseCommandLine(args));
    RunEventLoop();
    StopMenuBarHost();
    ReleaseApplication();
    return LastPrintDocumentsResult() == noErr ? 0 : 1;
}
