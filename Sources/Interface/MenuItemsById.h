// The menus' ids, and menu items addressed by menu id for code that keeps no menu handle: enabling,
// checking, counting.
#pragma once

#include "Platform/Menus.h"

// The menus by their resource ids.
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

// Item 0 stands for the whole menu. Unknown menus are ignored.
void EnableMenuItemById(SInt16 menuId, SInt16 item, Boolean enable);
void CheckMenuItemById(SInt16 menuId, SInt16 item, Boolean checked);
SInt16 MenuItemCount(MenuRef menu);
