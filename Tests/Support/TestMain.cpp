// The shared main of every test executable: a private environment, then GoogleTest.
#include "TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    PrepareTestEnvironment(argc, argv);
    int result = RUN_ALL_TESTS();
    ShutdownTestApplication();
    return result;
}
