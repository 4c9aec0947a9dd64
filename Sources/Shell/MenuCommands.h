// The menu-command dispatcher: the action of every menu item posted as kind 100 of the pending event.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Runs the menu command of MenuCommandGlobals (code menu, param item) for the front document, null
// when none is in front.
void DoMenuCommand(DocWindowRecord* doc);
// False for items whose action this version does not have yet; the menus keep them dimmed.
Boolean MenuItemAvailable(SInt16 menu, SInt16 item);
