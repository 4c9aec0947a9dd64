// The menu bar: the menus loaded at start-up and inserted in their order, the enabling, marks and
// texts brought in step with the front document before every menu selection, the colour cursors,
// the tool menus and the Scripts menu built from the scripts folders.
#pragma once

#include "Interface/MenuItemsById.h"
#include "Platform/Menus.h"

#include <string>
#include <vector>

struct DocWindowRecord;

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
