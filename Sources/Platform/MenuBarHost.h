// Between the menus and the windows that carry the menu bar (platform only; Qt classes are only
// named here).
#pragma once

#include "Platform/MacTypes.h"

class QMenuBar;

// A host window's menu bar shows the bar's menus from now on.
void AttachMenuBar(QMenuBar* bar);
void DetachMenuBar(QMenuBar* bar);
// Queues the mouse-down in the menu bar that stands for a choice made there.
void QueueMenuBarMouseDown();
// The choice made in the menu bar, once; 0 when there is none.
SInt32 TakeMenuBarChoice();
