// What every stored table's access class has from the shared table frame,
// tested once over all five of them: value handling, argument checks,
// record copies and the database object each access object owns. What is
// particular to a table (its statements, keys and mapping) is tested in the
// table's own file.

#include <gtest/gtest.h>

#include <list>
#include <string>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

using AllTables =
    ::testing::Types<harbor::DeviceStateTraits, harbor::DeviceTraits, harbor::MqttMessageTraits,
                     harbor::ParamTraits, harbor::SipDeviceTraits>;

template <class T>
class StoredTable : public harbor::SchemaTest {};
TYPED_TEST_SUITE(StoredTable, AllTables);

template <class T>
class StoredTableWithoutDatabase : public harbor::HomeTest {};
TYPED_TEST_SUITE(StoredTableWithoutDatabase, AllTables);

}  // namespace

TYPED_TEST(StoredTable, RecordsStartAtTheirDefaultsAndCopyWhole) {
    using T = TypeParam;
    EXPECT_EQ(T::columns(typename T::Po()), T::kDefaults);

    typename T::Po original = T::record("k", "a", "b", "c");
    typename T::Po copied(original);
    typename T::Po assigned;
    assigned = original;
    typename T::Po& self = assigned;
    assigned = self;
    EXPECT_EQ(T::columns(copied), T::columns(original));
    EXPECT_EQ(T::columns(assigned), T::columns(original));
}

// Quotes (in keys too), statement text, a NUL and long texts reach the table
// and come back unchanged; only the text after a NUL is lost.
TYPED_TEST(StoredTable, HostileValuesRoundTripVerbatim) {
    using T = TypeParam;
    typename T::Dao dao;
    const std::string injection = std::string("x'); DELETE FROM ") + T::kTable + "; --";
    const std::string longText(5000, 'L');
    const std::string nul("cut\0tail", 8);

    // Nothing stored: the caller's record is left exactly as it was.
    typename T::Po untouched = T::record("absent", "a", "b", "c");
    EXPECT_FALSE(T::find(dao, untouched, untouched));
    EXPECT_EQ(T::columns(untouched), T::columns(T::record("absent", "a", "b", "c")));

    typename T::Po keep = T::record("keep", "k", "k", "k");
    typename T::Po odd = T::record("O'Brien", injection, longText, nul);
    ASSERT_EQ(dao.add(&keep), 0);
    ASSERT_EQ(dao.add(&odd), 0);
    typename T::Po out;
    ASSERT_TRUE(T::find(dao, odd, out));
    EXPECT_EQ(T::columns(out), T::columns(T::record("O'Brien", injection, longText, "cut")));

    typename T::Po changed = T::record("O'Brien", longText, nul, injection);
    odd = changed;
    ASSERT_EQ(dao.update(&odd), 0);
    ASSERT_TRUE(T::find(dao, odd, out));
    EXPECT_EQ(T::columns(out), T::columns(T::record("O'Brien", longText, "cut", injection)));
    EXPECT_EQ(harbor::direct(std::string("select * from ") + T::kTable + ";").size(), 2u);

    // Keys that match nothing still succeed.
    typename T::Po ghost = T::record("nobody", "n", "n", "n");
    EXPECT_EQ(dao.update(&ghost), 0);
    EXPECT_EQ(dao.del(&ghost), 0);

    ASSERT_EQ(dao.del(&odd), 0);
    EXPECT_EQ(harbor::direct(std::string("select * from ") + T::kTable + ";").size(),
              T::kDelRemovesRows ? 1u : 2u);
    ASSERT_TRUE(T::find(dao, keep, out));
    EXPECT_EQ(T::columns(out), T::columns(keep));
}

// A null record is refused before a database object exists, so nothing
// opens "harbor.db"; the first operation past its checks opens (and so
// creates) the file, and fails on its missing table.
TYPED_TEST(StoredTableWithoutDatabase, NullRecordsAreRefusedBeforeTheDatabase) {
    using T = TypeParam;
    typename T::Dao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    T::expectNullQueriesRefused(dao);
    EXPECT_FALSE(harbor::databaseFileExists());

    typename T::Po po = T::record("k", "a", "b", "c");
    EXPECT_EQ(dao.add(&po), -1);
    EXPECT_TRUE(harbor::databaseFileExists());
}

// Copies and assignments of an access object each keep their own database
// object: under the address sanitizer a shared or lost one shows as a
// double delete, a use after free or a leak.
TYPED_TEST(StoredTable, CopiesKeepTheirOwnDatabase) {
    using T = TypeParam;
    typename T::Po po = T::record("k", "a", "b", "c");
    typename T::Dao first;
    ASSERT_EQ(first.add(&po), 0);
    {
        typename T::Dao second;
        ASSERT_EQ(second.add(&po), 0);
        second = first;
        typename T::Dao third(first);
        EXPECT_EQ(third.del(&po), 0);
    }
    EXPECT_EQ(first.add(&po), 0);
    EXPECT_EQ(harbor::direct(std::string("select * from ") + T::kTable + ";").size(),
              T::kDelRemovesRows ? 1u : 3u);
}

namespace {
class StatementQuery : public harbor::SchemaTest {};
}  // namespace

// The list query that runs a caller's statement appends to the caller's
// list, and does nothing for a null, empty or failing statement.
TEST_F(StatementQuery, AppendsToTheListAndIgnoresEmptyStatements) {
    DeviceStateDao dao;
    DeviceStatePo stored = harbor::DeviceStateTraits::record("d1", "m", "p", "");
    ASSERT_EQ(dao.add(&stored), 0);
    harbor::OwnedRecords<DeviceStatePo> list;
    list.items.push_back(new DeviceStatePo());
    char all[] = "select * from tb_device_state;";
    dao.query(all, list.items);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items.front()->getDeviceId(), "");
    EXPECT_EQ(list.items.back()->getDeviceId(), "d1");

    char empty[] = "";
    char broken[] = "select * from no_such_table;";
    dao.query(empty, list.items);
    dao.query(nullptr, list.items);
    dao.query(broken, list.items);
    EXPECT_EQ(list.items.size(), 2u);
}
