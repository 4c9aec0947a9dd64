// The frame menus: delete (155), page setup (170), move (171) and rename (175), one item per frame,
// rebuilt for the front document, and what their items do.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Menus 155, 171 and 175 get one item per frame of the document, menu 170 one after its first;
// without a document they are emptied.
void RebuildFrameMenus(DocWindowRecord* doc);
// The items of menus 145 (pages), 155, 170, 171 and 175; false for other menus.
Boolean FrameMenuCommand(DocWindowRecord* doc, SInt16 menu, SInt16 item);
// The items of those menus that act: 145 items 3 to 6 and any item of the frame menus.
Boolean FrameMenuItemAvailable(SInt16 menu, SInt16 item);
