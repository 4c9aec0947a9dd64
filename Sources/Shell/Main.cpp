// The program's entry point.
#include "PlatformApp.h"
#include "StandInApplication.h"

int main(int argc, char** argv) {
    PlatformInitialize(argc, argv);
    int result = RunStandInApplication();
    PlatformShutdown();
    return result;
}
