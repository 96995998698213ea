// Test entry point: every test process works in its own private SQLite home.
#include <gtest/gtest.h>

#include "PrivateHome.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    if (!zkdb_harness::enterPrivateHome(argv, exitCode)) {
        return exitCode;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
