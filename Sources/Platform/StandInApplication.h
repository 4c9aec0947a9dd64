// A stand-in for the application shell until it exists: one small window with a File menu whose Quit
// ends the program, run by a minimal event loop.
#pragma once

int RunStandInApplication();
