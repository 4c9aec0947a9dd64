// Menus: the menus of the MENU resources or made at run time, with their items' texts, marks, enable
// states, command keys, modifiers, styles, submenus and four-character commands; the menu bar; menu
// choices by mouse (MenuSelect), by command key (MenuKey, MenuEvent) and from pop-up menus.
//
// How a choice reaches the program: the menu bar is a real Qt menu bar on every document window (and
// on the application window while no document is open). Before any of its menus opens, the menu-open
// hook runs (the program's menu enabling). A choice made there is queued as a mouse-down in the menu
// bar; the program finds it with FindWindow (inMenuBar) and calls MenuSelect, which returns the choice.
// Command keys are never Qt shortcuts: they arrive as key-down events with the Command modifier and
// the program passes them to MenuKey or MenuEvent.
#pragma once

#include "Platform/MacTypes.h"
#include "Platform/QuickDrawTypes.h"

#include <string>

struct EventRecord;
struct OpaqueMenuRef;
using MenuRef = OpaqueMenuRef*;
using MenuHandle = MenuRef;
using MenuID = SInt16;
using MenuItemIndex = UInt16;
using MenuCommand = UInt32;

// Item marks and the hierarchical-item command character.
enum : unsigned char { noMark = 0, checkMark = 0x12, diamondMark = 0x13, hMenuCmd = 0x1B };
// Item modifiers: with none, the command key means Command + key.
enum : UInt8 {
    kMenuShiftModifier = 1,
    kMenuOptionModifier = 2,
    kMenuControlModifier = 4,
    kMenuNoCommandModifier = 8
};
// Item attributes.
enum : UInt32 { kMenuItemAttrHidden = 32 };
// Text styles of items: the face bits of QuickDrawTypes.h.
// InsertMenu: beforeID 0 appends to the bar; hierMenu makes a submenu or pop-up menu known.
enum : MenuID { hierMenu = -1 };

MenuRef NewMenu(MenuID id, ConstStr255Param title);
// A new menu from the MENU resource of that id; null when there is none.
MenuRef GetMenu(SInt16 resourceId);
void DisposeMenu(MenuRef menu);
// The inserted menu of that id (bar or hierarchical), or null.
MenuRef GetMenuHandle(MenuID id);
MenuID GetMenuID(MenuRef menu);
void GetMenuTitle(MenuRef menu, Str255 title);
void SetMenuTitle(MenuRef menu, ConstStr255Param title);

void InsertMenu(MenuRef menu, MenuID beforeId);
void DeleteMenu(MenuID id);
void ClearMenuBar();
// Shows changes of the bar's menus (their items are brought up to date whenever a menu opens).
void DrawMenuBar();
void InvalMenuBar();
// Highlights the title of a menu in the bar; 0 removes the highlight.
void HiliteMenu(MenuID id);
MenuID HilitedMenu();

// Items. AppendMenu and InsertMenuItem read the text's metacharacters (";" separates items, "(" dims,
// "/" gives the command key, "!" the mark, "<" the style, "^" an icon); the Text forms take the text
// as it is. afterItem 0 inserts at the top.
void AppendMenu(MenuRef menu, ConstStr255Param data);
void AppendMenuItemText(MenuRef menu, ConstStr255Param text);
void InsertMenuItem(MenuRef menu, ConstStr255Param data, SInt16 afterItem);
void InsertMenuItemText(MenuRef menu, ConstStr255Param text, MenuItemIndex afterItem);
void DeleteMenuItem(MenuRef menu, SInt16 item);
void DeleteMenuItems(MenuRef menu, MenuItemIndex first, UInt32 count);
SInt16 CountMenuItems(MenuRef menu);
// Appends the names of the installed fonts ('FONT'); other types add nothing.
void AppendResMenu(MenuRef menu, ResType type);

void SetMenuItemText(MenuRef menu, SInt16 item, ConstStr255Param text);
void GetMenuItemText(MenuRef menu, SInt16 item, Str255 text);
// Item 0 stands for the whole menu.
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);
void CheckMenuItem(MenuRef menu, SInt16 item, Boolean checked);
void SetItemMark(MenuRef menu, SInt16 item, SInt16 markChar);
void GetItemMark(MenuRef menu, SInt16 item, SInt16* markChar);
void SetItemCmd(MenuRef menu, SInt16 item, SInt16 cmdChar);
void GetItemCmd(MenuRef menu, SInt16 item, SInt16* cmdChar);
void SetItemStyle(MenuRef menu, SInt16 item, SInt16 style);
void GetItemStyle(MenuRef menu, SInt16 item, UInt8* style);
OSStatus SetMenuItemModifiers(MenuRef menu, SInt16 item, UInt8 modifiers);
OSStatus GetMenuItemModifiers(MenuRef menu, SInt16 item, UInt8* modifiers);
OSStatus SetMenuItemCommandID(MenuRef menu, SInt16 item, MenuCommand command);
OSStatus GetMenuItemCommandID(MenuRef menu, SInt16 item, MenuCommand* command);
OSStatus SetMenuItemHierarchicalID(MenuRef menu, SInt16 item, MenuID submenuId);
OSStatus GetMenuItemHierarchicalID(MenuRef menu, SInt16 item, MenuID* submenuId);
OSStatus ChangeMenuItemAttributes(MenuRef menu, SInt16 item, UInt32 setAttributes, UInt32 clearAttributes);
// The items carrying a command, in `menu` or (null) in every inserted menu.
void EnableMenuCommand(MenuRef menu, MenuCommand command);
void DisableMenuCommand(MenuRef menu, MenuCommand command);
Boolean IsMenuCommandEnabled(MenuRef menu, MenuCommand command);

// Choices: (menu id << 16) | item, 0 when nothing was chosen.
SInt32 MenuSelect(Point startPoint);
// The item whose command key is `ch` with the Command key alone; disabled items and menus give 0.
SInt32 MenuKey(SInt16 ch);
// The same for a key-down event, matching the item's modifiers against the event's.
UInt32 MenuEvent(const EventRecord* event);
// Shows `menu` (inserted as hierarchical) with item popUpItem at (top, left), global coordinates.
SInt32 PopUpMenuSelect(MenuRef menu, SInt16 top, SInt16 left, SInt16 popUpItem);

// Runs before a menu of the bar opens and before a queued menu choice is taken, so the program can
// enable and mark items (null: none).
using MenuOpenHook = void (*)();
void SetMenuOpenHook(MenuOpenHook hook);

// A menu choice as the user makes it in the menu bar: the menu-open hook runs, and when the item and
// its menu are enabled the choice is queued as a mouse-down in the menu bar; false when it could not
// be chosen. Tests and the Qt menu bar use it alike.
Boolean ChooseMenuItem(MenuID menuId, SInt16 item);
// The item the next pop-up menu returns without showing itself (tests); 0 cancels the menu.
void QueuePopUpMenuChoice(SInt16 item);

// The menu-bar host: from now on every document window carries the menu bar, and while no document
// window exists a small application window holds it, so the menus (New, Open, Quit) stay at hand.
void StartMenuBarHost();
void StopMenuBarHost();
// The application window while it holds the menu bar, else null.
struct OpaqueWindowPtr;
OpaqueWindowPtr* ApplicationMenuWindow();

// The text the item shows in its Qt menu (UTF-8, Qt's "&&" escapes included); empty without a Qt
// application. For tests.
std::string MenuItemShownText(MenuRef menu, SInt16 item);
