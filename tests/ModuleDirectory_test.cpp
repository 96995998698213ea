#include "ZkDb/platform/Platform.h"

#include <gtest/gtest.h>

#include <string>

using zkdb::platform::directoryOfModule;

TEST(ModuleDirectory, KeepsEverythingUpToTheLastSeparator) {
    EXPECT_EQ(directoryOfModule("/opt/host/libsqlite3.so.0", '/'), "/opt/host/");
    EXPECT_EQ(directoryOfModule("C:\\Host\\bin\\sqlite3.dll", '\\'), "C:\\Host\\bin\\");
    EXPECT_EQ(directoryOfModule("/libsqlite3.so.0", '/'), "/");
}

TEST(ModuleDirectory, NameWithoutSeparatorIsTakenWholeWithOneAppended) {
    EXPECT_EQ(directoryOfModule("sqlite3.dll", '\\'), "sqlite3.dll\\");
}

TEST(ModuleDirectory, MissingNameGivesEmptyDirectory) {
    EXPECT_EQ(directoryOfModule(nullptr, '/'), "");
    EXPECT_EQ(directoryOfModule("", '/'), "");
}

TEST(ModuleDirectory, NameIsCutTo127CharactersBeforeTheDirectoryIsTaken) {
    // A separator at position 127 or later no longer counts.
    const std::string dir(120, 'd');
    const std::string name = "/" + dir + "/" + std::string(20, 'n') + "/lib.so";
    EXPECT_EQ(directoryOfModule(name.c_str(), '/'), "/" + dir + "/");

    // Exactly 127 characters are kept: a separator at index 126 still counts.
    const std::string edge = std::string(126, 'a') + "/tail";
    EXPECT_EQ(directoryOfModule(edge.c_str(), '/'), std::string(126, 'a') + "/");
    const std::string past = std::string(127, 'a') + "/tail";
    EXPECT_EQ(directoryOfModule(past.c_str(), '/'), std::string(127, 'a') + "/");
}
