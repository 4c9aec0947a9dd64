// The menu bar: the menus loaded at start-up and inserted in their order, the enabling, marks and
// texts brought in step with the front document before every menu selection, the colour cursors,
// the tool menus and the Scripts menu built from the scripts folders.
#pragma once

#include "Platform/Menus.h"

#include <string>
#include <vector>

struct DocWindowRecord;

enum : SInt16 {
    kAppleMenu = 128,
    kMarkerMenu = 129,
    kImagesMenu = 130,
    kOutputAreasMenu = 131,
    kLayersMenu = 132,
    kKeysMenu = 133,
    kSymbolsMenu = 134,
    kRepairsMenu = 135,
    kScaleMenu = 136,
    kHelpMenu = 139,
    kPagesMenu = 145,
    kExportMenu = 152,
    kViewsMenu = 153,
    kDeleteViewMenu = 154,
    kDeleteFrameMenu = 155,
    kNumberMenu = 167,
    kPageSetupMenu = 170,
    kMoveFrameMenu = 171,
    kRecentMenu = 172,
    kFramesMenu = 175,
    kRenameViewMenu = 176,
    kFontMenu = 177,
    kFirstToolMenu = 180,
    kLastToolMenu = 191,
    kWindowMenu = 195,
    kSettingsMenu = 196,
    kEditMenu = 197,
    kFileMenu = 198,
    kScriptsMenu = 199,
    kToolMenu = 1400,
    kSystemHelpMenu = -16490,
};

// A script of the Scripts menu: its name and file.
struct ScriptEntry {
    std::string name; // system encoding
    std::string path;
};
// The scripts found by the last scan, computer-wide folder first.
extern std::vector<ScriptEntry> ScriptsList;

// The colour cursors, the menus and the bar, the Scripts menu, the function-key defaults.
void InitMenusAndCursors();
void InstallMenuBar();
// Takes the menus out of the bar and disposes them (end of the run).
void RemoveMenuBar();
// The menu of that id from the menu table (null when it has none).
MenuRef MenuHandleOf(SInt16 menuId);

void EnableDocumentMenus(DocWindowRecord* doc);
// Enabling, marks and texts of every menu by the front document (null when none is in front).
void AdjustMenus(DocWindowRecord* doc);

// The scripts folders: domain 0 the computer's (in the first system data folder), 1 the user's (in
// the user's data folder); level 4 the "Scripts" folder. The user's is made when missing; false when
// the folder does not exist in the end.
Boolean GetSupportFolder(SInt16 domain, std::string* path, SInt16 level);
void ScanScriptsFolder();
void BuildScriptsMenu();
void DisposeCursors();
