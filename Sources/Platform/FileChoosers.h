// The Open and Save panels over Qt's file dialogs, with the small areas of options the program adds
// below them (format pop-ups, check boxes, an options button, a help text) and the Open panel's
// preview. Without a window system (offscreen too) a panel counts as cancelled; a test's responder
// answers it without showing it, or a test's script drives the real panel.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/QuickDrawTypes.h"

#include <functional>
#include <string>
#include <vector>

struct OpenPanelRequest {
    std::string prompt;                             // UTF-8
    std::string folder;                             // where the panel starts (below)
    std::function<bool(const std::string&)> filter; // which files are listed (folders always are)
    bool withOptions = false;                       // the options area below the panel:
    std::string placementTitle, nativeOnlyTitle;    //   two check boxes,
    bool picturePlacement = false, nativeOnly = false;
    std::string optionsTitle; //   a button,
    std::function<void()> options;
    std::string helpText;             //   a help text
    std::vector<std::string> formats; //   and the format pop-up (value from 1)
    SInt16 format = 1;
    // With it, a preview area beside the file list: called for each file made current, with the
    // area's port erased white and current, and the area's rectangle; an empty path clears it.
    std::function<void(const std::string& path, CGrafPtr port, const Rect& area)> preview;
};

struct SavePanelRequest {
    std::string prompt;
    std::string folder;       // where the panel starts (below)
    std::string proposedName; // UTF-8
    bool withFormats = false;
    std::vector<std::string> formats; // the pop-up, value from 1
    std::vector<bool> formatEnabled;
    SInt16 format = 1;
    std::string extensionTitle;
    bool appendExtension = true;
    std::string optionsTitle;
    std::function<bool(SInt16 format)> optionsEnabled;
    std::function<void(SInt16 format)> options;
    // The name the panel shows after the format or the extension box changed.
    std::function<std::string(const std::string& name, SInt16 format, bool append)> renameFor;
};

// Runs the panel; true with the chosen file's path (absolute, UTF-8). The option fields of the
// request hold what the user left in them, also after Cancel. A panel starts in the request's folder;
// when that is empty or gone, in the user's documents folder, else the home folder (never the
// process's working folder; nothing is created). The panel's own file-type choice is hidden: the
// program's format pop-up is the only one.
bool RunOpenPanel(OpenPanelRequest& request, std::string* path);
bool RunSavePanel(SavePanelRequest& request, std::string* path);

// Tests answer the panels: the responder may change the request's option fields and returns
// whether the panel was confirmed, with the path.
using OpenPanelResponder = std::function<bool(OpenPanelRequest& request, std::string* path)>;
using SavePanelResponder = std::function<bool(SavePanelRequest& request, std::string* path)>;
void SetFilePanelResponders(OpenPanelResponder open, SavePanelResponder save);

// Tests drive the real panels offscreen: the script runs once the panel is open and ends it with
// Choose or Cancel. Calls that look at the list wait until the panel has listed its folder.
class FilePanelDriver {
  public:
    virtual ~FilePanelDriver() = default;
    virtual std::string Folder() const = 0;
    virtual std::vector<std::string> NameFilters() const = 0; // the panel's own, shown or not
    virtual Boolean TypeChoiceShown() const = 0;              // whether the user sees them
    // Every column of the detail view is at least as wide as its widest entry and the columns fit
    // the view at the panel's size.
    virtual Boolean ColumnsShowWholeEntries() = 0;
    virtual void Select(const std::string& path) = 0; // as a click on the file in the list
    virtual CGrafPtr PreviewPort() const = 0;         // null without a preview area
    virtual void Choose(const std::string& path) = 0; // the name typed, then Open or Save
    // The program's format pop-up changed while it has the keyboard, as a user picks an entry.
    virtual void ChooseFormat(SInt16 format) = 0;
    virtual std::string NameField() const = 0;
    // Open or Save with the name field as it stands; the text of the question whether to replace a
    // file, when the panel asked it (answered No, the panel stays open).
    virtual std::string Confirm() = 0;
    virtual void Cancel() = 0;
};
using FilePanelScript = std::function<void(FilePanelDriver& panel)>;
void SetFilePanelScript(FilePanelScript script);
