// The shared main of every test executable: a private environment, then GoogleTest.
#include "TestSupport.h"

#include "Dialogs/AskingDialogs.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    PrepareTestEnvironment(argc, argv);
    // The dialogs answer as in the program; tests queue their keys and clicks.
    InstallDialogHooks();
    int result = RUN_ALL_TESTS();
    ShutdownTestApplication();
    return result;
}
