#ifndef ZKDB_TESTS_HARBOR_H
#define ZKDB_TESTS_HARBOR_H

// Shared test support: the private SQLite home of this test process, direct
// access to its "harbor.db" that bypasses the library, and a log of every
// statement that reaches SQLite.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZkDb/storage/ResultRows.h"

namespace harbor {

/// Directory of the SQLite library this process loaded, with a trailing '/'.
const std::string& home();
void setHome(const std::string& directory);

/// Full path of the library's database file.
std::string databasePath();

/// Removes a directory tree (or a file); missing paths are ignored.
void removeTree(const std::string& path);

/// Runs SQL on "harbor.db" through SQLite directly, not through the library.
/// Fails the current test when SQLite reports an error.
ResultRows direct(const std::string& sql);

/// Creates the reference tables in "harbor.db".
void createSchema();

/// Removes every trace of "harbor.db" (with its journal files).
void removeDatabase();

/// Installs, once per process, a trace on every SQLite connection that logs
/// the text of each statement SQLite runs.
void installStatementLog();
void clearStatements();
std::vector<std::string> statements();

/// `sql` with every run of white space folded into one space and the ends
/// trimmed, so statements compare regardless of layout.
std::string squeeze(const std::string& sql);

/// Fixture that gives each test an empty SQLite home: no "harbor.db" before
/// the test, none after it, and an empty statement log.
class HomeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

/// HomeTest with the reference tables created.
class SchemaTest : public HomeTest {
protected:
    void SetUp() override;
};

}  // namespace harbor

#endif  // ZKDB_TESTS_HARBOR_H
