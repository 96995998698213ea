// Test entry point: every test process works in its own SQLite home.
#include <gtest/gtest.h>

#include <string>

#include "PrivateSqliteHome.h"
#include "support/Harbor.h"

int main(int argc, char** argv) {
    std::string home;
    int exitCode = 0;
    if (!zkdb_support::enterPrivateSqliteHome(argv, home, exitCode)) {
        return exitCode;
    }
    harbor::setHome(home);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
