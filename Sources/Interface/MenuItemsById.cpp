// Menu items by menu id.
#include "Interface/MenuItemsById.h"

void EnableMenuItemById(SInt16 menuId, SInt16 item, Boolean enable) {
    MenuRef menu = GetMenuHandle(menuId);
    if (!menu) return;
    if (enable)
        EnableMenuItem(menu, static_cast<MenuItemIndex>(item));
    else
        DisableMenuItem(menu, static_cast<MenuItemIndex>(item));
}

void CheckMenuItemById(SInt16 menuId, SInt16 item, Boolean checked) {
    if (MenuRef menu = GetMenuHandle(menuId)) CheckMenuItem(menu, item, checked);
}

SInt16 MenuItemCount(MenuRef menu) {
    return menu ? CountMenuItems(menu) : 0;
}
