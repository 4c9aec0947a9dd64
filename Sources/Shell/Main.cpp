// The program's entry point: the platform, then the application with the files named on the command
// line, then the platform's end.
#include "Platform/PlatformApp.h"
#include "Shell/StartupShutdown.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    PlatformInitialize(argc, argv);
    std::vector<std::string> files(argv + 1, argv + argc);
    int result = AppMain(files);
    PlatformShutdown();
    return result;
}
