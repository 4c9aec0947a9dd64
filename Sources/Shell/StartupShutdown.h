// Start-up and shut-down: the application-wide records, the menus and cursors, the hooks the drawing
// model calls, the run of the event loop and the release of what was built.
#pragma once

#include "Platform/MacTypes.h"

#include <string>
#include <vector>

constexpr int kElementPaletteSize = 256;
// The element colours; entry 0 is black.
extern RGBColor ElementPalette[kElementPaletteSize];

// The command line: files to open, and the files after "--print", to be printed and closed again.
struct CommandLineFiles {
    std::vector<std::string> open, print;
};
CommandLineFiles ParseCommandLine(const std::vector<std::string>& args);
// Queues what the command line asks for as the desktop would send it: one open-documents event, one
// print-documents event, and, when the program was started only to print, the quit event after it.
void SendCommandLineEvents(const CommandLineFiles& files);

// The whole run with the command line's arguments. Returns 0, or 1 when a print-documents event of
// the run failed.
int AppMain(const std::vector<std::string>& args);
// Everything before the loop: preferences provisional, menus, cursors, the model's hooks.
void InitApplication();
// Everything after the loop: cursors, menus, the function-key table, the dialog positions.
void ReleaseApplication();
void InitColorTables();
void DeleteTemporaryItems();
