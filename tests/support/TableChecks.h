#ifndef ZKDB_TESTS_TABLECHECKS_H
#define ZKDB_TESTS_TABLECHECKS_H

// Checks shared by the tests of the table access classes: ownership of the
// records that list queries hand over, whether "harbor.db" was ever opened,
// the exact statements that reached SQLite, and copies of access objects.

#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "support/Harbor.h"

namespace harbor {

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

/// True once anything has opened (and so created) "harbor.db". An access
/// object opens the file at every operation that gets past its argument
/// checks, so in a HomeTest a missing file shows that none did.
inline bool databaseFileExists() { return std::filesystem::exists(databasePath()); }

/// Expects the statement log to hold exactly `expected`, in order, each
/// compared with its white space squeezed.
inline void expectStatements(const std::vector<std::string>& expected) {
    const std::vector<std::string> seen = statements();
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i], squeeze(expected[i])) << "statement " << i;
    }
}

/// Copies and assignments of an access object each keep their own database
/// object: under the address sanitizer a shared or lost one shows as a
/// double delete, a use after free or a leak. `po` is added by two objects,
/// deleted through a copy, added again: `table` ends with one row.
template <class Dao, class Po>
void expectCopiesKeepTheirOwnDatabase(Po po, const std::string& table) {
    Dao first;
    ASSERT_EQ(first.add(&po), 0);
    {
        Dao second;
        ASSERT_EQ(second.add(&po), 0);
        second = first;
        Dao third(first);
        EXPECT_EQ(third.del(&po), 0);
    }
    EXPECT_EQ(first.add(&po), 0);
    EXPECT_EQ(direct("select * from " + table + ";").size(), 1u);
}

}  // namespace harbor

#endif  // ZKDB_TESTS_TABLECHECKS_H
