// Start and shut-down of the platform: the Qt application (created once), the C numeric locale, and
// headless use by code that draws no window.
#pragma once

#include "Platform/MacTypes.h"

// Creates the Qt application when none exists yet (tests may have made one) and sets LC_NUMERIC back
// to "C". Windows, text metrics and cursors need it; drawing shapes into offscreen worlds, regions,
// events and ticks work without it (headless), where window creation fails with memFullErr, text
// measures 0 and draws nothing, and cursor calls do nothing.
void PlatformInitialize(int& argc, char** argv);
// Disposes the remaining windows and, when PlatformInitialize made it, the Qt application.
void PlatformShutdown();
// True when a Qt application exists, so windows and text can be used.
Boolean PlatformHasApplication();
// True when running without a display (the offscreen platform of the tests).
Boolean PlatformIsOffscreen();
