// The program's entry point: the platform, then the application with the files named on the command
// line (those after --print are printed), then the platform's end.
#include "Platform/PlatformApp.h"
#include "Shell/StartupShutdown.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    PlatformInitialize(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    int result = AppMain(args);
    PlatformShutdown();
    return result;
}
