#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

class DeviceStateTable : public harbor::SchemaTest {};

DeviceStatePo state(const std::string& device, const std::string& media, int online) {
    DeviceStatePo po;
    po.setDeviceId(device);
    po.setMediaId(media);
    po.setIsOnline(online);
    return po;
}

using OwnedList = harbor::OwnedRecords<DeviceStatePo>;

}  // namespace

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

    harbor::expectStatements({
        "insert into tb_device_state(device_id, media_id, product_type, is_online) "
        "values('d1', 'm1', 'GB', '1');",
        "UPDATE tb_device_state set media_id = 'm1', product_type = 'GB',is_online=1 "
        "where device_id = 'd1';",
        "select * from tb_device_state where media_id = 'm1';",
        "DELETE from tb_device_state WHERE device_id = 'd1';",
        "select * from tb_device_state;",
    });
}

TEST_F(DeviceStateTable, UpdateAndDeleteKeyOnTheDeviceQueryOnTheMedia) {
    DeviceStateDao dao;
    DeviceStatePo a = state("d1", "m1", 1);
    DeviceStatePo b = state("d2", "m2", -7);
    ASSERT_EQ(dao.add(&a), 0);
    ASSERT_EQ(dao.add(&b), 0);

    b.setMediaId("m9");
    b.setIsOnline(0);
    ASSERT_EQ(dao.update(&b), 0);
    DeviceStatePo out;
    EXPECT_EQ(dao.query("m2", out), -1);
    ASSERT_EQ(dao.query("m9", out), 0);
    EXPECT_EQ(out.getDeviceId(), "d2");
    EXPECT_EQ(out.getIsOnline(), 0);

    DeviceStatePo key = state("d1", "anything", 0);
    ASSERT_EQ(dao.del(&key), 0);
    OwnedList rest(dao.query());
    ASSERT_EQ(rest.items.size(), 1u);
    EXPECT_EQ(rest.items.front()->getDeviceId(), "d2");
}

// The one-record query maps every row in turn: the last row's texts, the
// last non-empty integer text. A missing column reads as empty text and
// leaves an integer as it was.
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
    EXPECT_EQ(out.getIsOnline(), 4);

    OwnedList rows;
    char sql[] = "select 'd' as device_id, ' 12abc' as is_online, 'x' as unrelated;";
    dao.query(sql, rows.items);
    ASSERT_EQ(rows.items.size(), 1u);
    EXPECT_EQ(rows.items.front()->getProductType(), "");  // not the default "ONVIF"
    EXPECT_EQ(rows.items.front()->getIsOnline(), 12);
}
