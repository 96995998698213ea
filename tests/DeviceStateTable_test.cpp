#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

class DeviceStateTable : public harbor::SchemaTest {};
class DeviceStateWithoutDatabase : public harbor::HomeTest {};

DeviceStatePo state(const std::string& device, const std::string& media, int online) {
    DeviceStatePo po;
    po.setDeviceId(device);
    po.setMediaId(media);
    po.setIsOnline(online);
    return po;
}

using OwnedList = harbor::OwnedRecords<DeviceStatePo>;
using harbor::databaseFileExists;

}  // namespace

TEST(DeviceStatePo, DefaultsAndValueSemantics) {
    DeviceStatePo po;
    EXPECT_EQ(po.getDeviceId(), "");
    EXPECT_EQ(po.getMediaId(), "");
    EXPECT_EQ(po.getProductType(), "ONVIF");
    EXPECT_EQ(po.getIsOnline(), 0);

    DeviceStatePo copy(po);
    copy.setProductType("GB28181");
    EXPECT_EQ(po.getProductType(), "ONVIF");
    po = copy;
    EXPECT_EQ(po.getProductType(), "GB28181");
}

TEST_F(DeviceStateTable, StatementsReachSqliteExactly) {
    DeviceStateDao dao;
    DeviceStatePo po = state("d1", "m1", 1);
    po.setProductType("GB");
    ASSERT_EQ(dao.add(&po), 0);
    ASSERT_EQ(dao.update(&po), 0);
    DeviceStatePo out;
    ASSERT_EQ(dao.query("m1", out), 0);
    ASSERT_EQ(dao.del(&po), 0);
    OwnedList all(dao.query());

    const std::vector<std::string> expected = {
        "insert into tb_device_state(device_id, media_id, product_type, is_online) "
        "values('d1', 'm1', 'GB', '1');",
        "UPDATE tb_device_state set media_id = 'm1', product_type = 'GB',is_online=1 "
        "where device_id = 'd1';",
        "select * from tb_device_state where media_id = 'm1';",
        "DELETE from tb_device_state WHERE device_id = 'd1';",
        "select * from tb_device_state;",
    };
    harbor::expectStatements(expected);
}

TEST_F(DeviceStateTable, RowsRoundTripAndKeysSelect) {
    DeviceStateDao dao;
    DeviceStatePo a = state("d1", "m1", 1);
    DeviceStatePo b = state("d2", "m2", -7);
    ASSERT_EQ(dao.add(&a), 0);
    ASSERT_EQ(dao.add(&b), 0);

    DeviceStatePo out;
    ASSERT_EQ(dao.query("m2", out), 0);
    EXPECT_EQ(out.getDeviceId(), "d2");
    EXPECT_EQ(out.getIsOnline(), -7);
    EXPECT_EQ(out.getProductType(), "ONVIF");

    // update keys on device_id and rewrites the other three columns.
    b.setMediaId("m9");
    b.setIsOnline(0);
    ASSERT_EQ(dao.update(&b), 0);
    EXPECT_EQ(dao.query("m2", out), -1);
    ASSERT_EQ(dao.query("m9", out), 0);
    EXPECT_EQ(out.getIsOnline(), 0);

    // del reads only device_id.
    DeviceStatePo key;
    key.setDeviceId("d1");
    key.setMediaId("anything");
    ASSERT_EQ(dao.del(&key), 0);
    OwnedList rest(dao.query());
    ASSERT_EQ(rest.items.size(), 1u);
    EXPECT_EQ(rest.items.front()->getDeviceId(), "d2");

    // Keys that match nothing still succeed.
    DeviceStatePo ghost = state("nobody", "none", 0);
    EXPECT_EQ(dao.update(&ghost), 0);
    EXPECT_EQ(dao.del(&ghost), 0);
}

TEST_F(DeviceStateTable, OneRecordQueryMapsEveryRowInTurn) {
    harbor::direct(
        "insert into tb_device_state values('first', 'm', 'P1', 4);"
        "insert into tb_device_state values('second', 'm', 'P2', NULL);");
    DeviceStateDao dao;
    DeviceStatePo out;
    out.setIsOnline(99);
    ASSERT_EQ(dao.query("m", out), 0);
    EXPECT_EQ(out.getDeviceId(), "second");
    EXPECT_EQ(out.getProductType(), "P2");
    EXPECT_EQ(out.getIsOnline(), 4);  // the last non-empty integer text stands

    // No row: the record is left exactly as it was.
    DeviceStatePo untouched = state("keep", "me", 3);
    EXPECT_EQ(dao.query("absent", untouched), -1);
    EXPECT_EQ(untouched.getDeviceId(), "keep");
    EXPECT_EQ(untouched.getIsOnline(), 3);
}

TEST_F(DeviceStateTable, MissingColumnsAndIntegerTexts) {
    DeviceStateDao dao;
    OwnedList rows;
    char sql[] =
        "select 'd' as device_id, 'm' as media_id, 'x' as unrelated "
        "union all select 'e', 'n', '' "
        "union all select ' 7', '12abc', 'abc';";
    dao.query(sql, rows.items);
    ASSERT_EQ(rows.items.size(), 3u);
    for (DeviceStatePo* po : rows.items) {
        EXPECT_EQ(po->getProductType(), "");  // a missing text column replaces the default
        EXPECT_EQ(po->getIsOnline(), 0);      // a missing integer column keeps the default
    }

    OwnedList ints;
    char numbers[] =
        "select '12' as is_online union all select '-3' union all select ' 7' "
        "union all select '12abc' union all select 'abc' union all select '';";
    dao.query(numbers, ints.items);
    std::vector<int> read;
    for (DeviceStatePo* po : ints.items) read.push_back(po->getIsOnline());
    EXPECT_EQ(read, (std::vector<int>{12, -3, 7, 12, 0, 0}));
}

TEST_F(DeviceStateTable, WorkerAppendsAndIgnoresEmptyStatements) {
    DeviceStatePo a = state("d1", "m1", 1);
    DeviceStateDao dao;
    ASSERT_EQ(dao.add(&a), 0);

    OwnedList list;
    list.items.push_back(new DeviceStatePo(state("mine", "", 0)));
    char all[] = "select * from tb_device_state;";
    dao.query(all, list.items);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items.front()->getDeviceId(), "mine");
    EXPECT_EQ(list.items.back()->getDeviceId(), "d1");

    char empty[] = "";
    dao.query(empty, list.items);
    dao.query(nullptr, list.items);
    char broken[] = "select * from no_such_table;";
    dao.query(broken, list.items);
    EXPECT_EQ(list.items.size(), 2u);
}

TEST_F(DeviceStateTable, QuotesInjectionNulAndLongValuesRoundTrip) {
    DeviceStateDao dao;
    const std::string injection = "x'); DELETE FROM tb_device_state; --";
    const std::string longText(5000, 'L');
    DeviceStatePo keep = state("keep", "k", 0);
    DeviceStatePo quoted = state("O'Brien", injection, 1);
    quoted.setProductType(longText);
    ASSERT_EQ(dao.add(&keep), 0);
    ASSERT_EQ(dao.add(&quoted), 0);

    DeviceStatePo out;
    ASSERT_EQ(dao.query(injection, out), 0);
    EXPECT_EQ(out.getDeviceId(), "O'Brien");
    EXPECT_EQ(out.getMediaId(), injection);
    EXPECT_EQ(out.getProductType(), longText);
    EXPECT_EQ(harbor::direct("select * from tb_device_state;").size(), 2u);

    ASSERT_EQ(dao.del(&quoted), 0);
    EXPECT_EQ(dao.query("k", out), 0);

    DeviceStatePo nul = state(std::string("cut\0tail", 8), "n", 0);
    ASSERT_EQ(dao.add(&nul), 0);
    ASSERT_EQ(dao.query("n", out), 0);
    EXPECT_EQ(out.getDeviceId(), "cut");
}

TEST_F(DeviceStateWithoutDatabase, ArgumentChecksComeBeforeTheDatabase) {
    DeviceStateDao dao;
    DeviceStatePo out;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    EXPECT_EQ(dao.query("", out), -1);
    std::list<DeviceStatePo*> list;
    dao.query(nullptr, list);
    EXPECT_TRUE(list.empty());
    // No database object was made, so nothing opened "harbor.db".
    EXPECT_FALSE(databaseFileExists());

    // The first operation past its checks opens (and so creates) the file.
    EXPECT_TRUE(dao.query().empty());
    EXPECT_TRUE(databaseFileExists());
}

TEST_F(DeviceStateWithoutDatabase, FailedOpenIsRetriedOnTheSameObject) {
    // A directory where the database file should be: it cannot be opened.
    std::filesystem::create_directory(harbor::databasePath());
    DeviceStateDao dao;
    DeviceStatePo po = state("d", "m", 1);
    EXPECT_EQ(dao.add(&po), -1);
    EXPECT_TRUE(dao.query().empty());

    harbor::removeTree(harbor::databasePath());
    harbor::createSchema();
    EXPECT_EQ(dao.add(&po), 0);
    EXPECT_EQ(harbor::direct("select * from tb_device_state;").size(), 1u);
}

TEST_F(DeviceStateTable, CopiesKeepTheirOwnDatabase) {
    harbor::expectCopiesKeepTheirOwnDatabase<DeviceStateDao>(state("d", "m", 1), "tb_device_state");
}
