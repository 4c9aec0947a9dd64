// Stand-in until the event queue exists: a menu-bar choice waits for MenuSelect without an event.
#include "MenuBarHost.h"

void QueueMenuBarMouseDown() {}
