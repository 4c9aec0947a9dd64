// Start-up and shut-down: the application-wide records, the menus and cursors, the hooks the drawing
// model calls, the run of the event loop and the release of what was built.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

constexpr int kElementPaletteSize = 256;
// The element colours; entry 0 is black.
extern RGBColor ElementPalette[kElementPaletteSize];

// The whole run; files named on the command line arrive as one open-documents event. Returns 0.
int AppMain(const std::vector<std::string>& files);
// Everything before the loop: preferences provisional, menus, cursors, the model's hooks.
void InitApplication();
// Everything after the loop: cursors, menus, the function-key table, the dialog positions.
void ReleaseApplication();
void InitColorTables();
void DeleteTemporaryItems();
