// A stand-in main window until the application shell exists: a menu bar whose Quit ends the program.
#pragma once

int RunPlaceholderApplication(int argc, char** argv);
