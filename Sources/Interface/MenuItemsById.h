// Menu items addressed by menu id, for code that keeps no menu handle: enabling, checking, counting.
#pragma once

#include "Platform/Menus.h"

// Item 0 stands for the whole menu. Unknown menus are ignored.
void EnableMenuItemById(SInt16 menuId, SInt16 item, Boolean enable);
void CheckMenuItemById(SInt16 menuId, SInt16 item, Boolean checked);
SInt16 MenuItemCount(MenuRef menu);
