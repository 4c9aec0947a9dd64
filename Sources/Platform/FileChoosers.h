// The Open and Save panels over Qt's file dialogs, with the small areas of options the program adds
// below them (format pop-ups, check boxes, an options button, a help text). Without a window system
// (offscreen too) a panel counts as cancelled; a test's responder answers it without showing it.
#pragma once

#include "MacTypes.h"

#include <functional>
#include <string>
#include <vector>

struct OpenPanelRequest {
    std::string prompt;                             // UTF-8
    std::function<bool(const std::string&)> filter; // which files are listed (folders always are)
    bool withOptions = false;                       // the options area below the panel:
    std::string placementTitle, nativeOnlyTitle;    //   two check boxes,
    bool picturePlacement = false, nativeOnly = false;
    std::string optionsTitle; //   a button,
    std::function<void()> options;
    std::string helpText;             //   a help text
    std::vector<std::string> formats; //   and the format pop-up (value from 1)
    SInt16 format = 1;
};

struct SavePanelRequest {
    std::string prompt;
    std::string folder;       // where the panel starts (empty: the current folder)
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
// request hold what the user left in them, also after Cancel.
bool RunOpenPanel(OpenPanelRequest& request, std::string* path);
bool RunSavePanel(SavePanelRequest& request, std::string* path);

// Tests answer the panels: the responder may change the request's option fields and returns
// whether the panel was confirmed, with the path.
using OpenPanelResponder = std::function<bool(OpenPanelRequest& request, std::string* path)>;
using SavePanelResponder = std::function<bool(SavePanelRequest& request, std::string* path)>;
void SetFilePanelResponders(OpenPanelResponder open, SavePanelResponder save);
