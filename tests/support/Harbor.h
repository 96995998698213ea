#ifndef ZKDB_TESTS_HARBOR_H
#define ZKDB_TESTS_HARBOR_H

// Shared test support: the private SQLite home of this test process, direct
// access to its "harbor.db" that bypasses the library, fixtures that start
// each test from an empty private home, and ownership of listed records.

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <utility>

#include "ZkDb/storage/ResultRows.h"

namespace harbor {

/// The private SQLite home of this process (the directory of the SQLite
/// library it loaded, with a trailing separator), and the full path of the
/// library's database file in it.
const std::string& privateHome();
std::string databasePath();

/// Removes a directory tree (or a file); missing paths are ignored.
void removeTree(const std::string& path);

/// Runs SQL on "harbor.db" through SQLite directly, not through the library.
/// Fails the current test when SQLite reports an error.
ResultRows direct(const std::string& sql);

/// Number of rows of `table`, read directly.
std::size_t rowsOf(const std::string& table);

/// Whether a fresh connection to "harbor.db" can run `begin` (say "BEGIN
/// EXCLUSIVE") at once, without a busy time-out: no other connection holds
/// a lock that stops it.
bool canBegin(const char* begin);

/// Creates the reference tables in "harbor.db".
void createSchema();

/// Removes every trace of "harbor.db" (with its journal files).
void removeDatabase();

/// No "harbor.db" before the test, none after it.
class PrivateHomeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

/// PrivateHomeTest with the reference tables created.
class SchemaTest : public PrivateHomeTest {
protected:
    void SetUp() override;
};

/// Deletes every record of `items` when it goes out of scope.
template <class Po>
struct OwnedRecords {
    std::list<Po*> items;

    OwnedRecords() = default;
    explicit OwnedRecords(std::list<Po*> list) : items(std::move(list)) {}
    OwnedRecords(const OwnedRecords&) = delete;
    OwnedRecords& operator=(const OwnedRecords&) = delete;
    ~OwnedRecords() {
        for (Po* record : items) delete record;
    }
};

}  // namespace harbor

#endif  // ZKDB_TESTS_HARBOR_H
