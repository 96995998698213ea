#include <gtest/gtest.h>

#include <string>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

using Owned = harbor::OwnedRecords<MqttMessageTablePo>;

class MqttMessageTable : public harbor::SchemaTest {};

MqttMessageTablePo message(const std::string& item, int code, int arqTimes) {
    MqttMessageTablePo po;
    po.setItemId(item);
    po.setCno("c");
    po.setCode(code);
    po.setUrl("u");
    po.setType("t");
    po.setArqTimes(arqTimes);
    return po;
}

}  // namespace

TEST_F(MqttMessageTable, StatementsReachSqliteExactly) {
    MqttMessageTableDao dao;
    MqttMessageTablePo blank;
    MqttMessageTablePo m1 = message("m1", -3, 2);
    ASSERT_EQ(dao.add(&blank), 0);
    ASSERT_EQ(dao.update(&m1), 0);
    ASSERT_EQ(dao.del(&m1), 0);
    MqttMessageTablePo out;
    EXPECT_EQ(dao.query("m1", &out), -1);
    Owned all(dao.query());

    harbor::expectStatements({
        "insert into tb_mqtt_message(item_id, cno, code, url,type,arq_times) "
        "values('', '', '0', '', '','5');",
        "UPDATE tb_mqtt_message set cno = 'c', code = -3, url = 'u',type='t',arq_times=2 "
        "where item_id = 'm1';",
        "DELETE from tb_mqtt_message WHERE item_id = 'm1';",
        "select * from tb_mqtt_message where item_id = 'm1';",
        "select * from tb_mqtt_message;",
    });
}

TEST_F(MqttMessageTable, UpdateAndDeleteKeyOnTheItem) {
    MqttMessageTableDao dao;
    MqttMessageTablePo a = message("a", 1, 0);
    MqttMessageTablePo b = message("b", 2, 3);
    ASSERT_EQ(dao.add(&a), 0);
    ASSERT_EQ(dao.add(&b), 0);

    b.setCno("c2");
    b.setArqTimes(0);
    ASSERT_EQ(dao.update(&b), 0);
    MqttMessageTablePo out;
    ASSERT_EQ(dao.query("b", &out), 0);
    EXPECT_EQ(out.getCno(), "c2");
    EXPECT_EQ(out.getArqTimes(), 0);

    MqttMessageTablePo key = message("a", 9, 9);
    key.setCno("ignored");
    ASSERT_EQ(dao.del(&key), 0);
    Owned rest(dao.query());
    ASSERT_EQ(rest.items.size(), 1u);
    EXPECT_EQ(rest.items.front()->getItemId(), "b");
}

TEST_F(MqttMessageTable, NullIntegersKeepDefaultsInListsAndCallerValuesInQueries) {
    harbor::direct(
        "insert into tb_mqtt_message values('m', 'first', 7, 'u1', 't1', 3);"
        "insert into tb_mqtt_message values('m', 'second', NULL, NULL, 't2', NULL);"
        "insert into tb_mqtt_message(item_id) values('bare');");
    MqttMessageTableDao dao;

    // Every row in turn: the last row's texts, the last non-NULL integers.
    MqttMessageTablePo out;
    ASSERT_EQ(dao.query("m", &out), 0);
    EXPECT_EQ(out.getCno(), "second");
    EXPECT_EQ(out.getUrl(), "");
    EXPECT_EQ(out.getCode(), 7);
    EXPECT_EQ(out.getArqTimes(), 3);

    MqttMessageTablePo mine = message("x", 11, 12);
    ASSERT_EQ(dao.query("bare", &mine), 0);
    EXPECT_EQ(mine.getItemId(), "bare");
    EXPECT_EQ(mine.getCno(), "");
    EXPECT_EQ(mine.getCode(), 11);
    EXPECT_EQ(mine.getArqTimes(), 12);

    Owned all(dao.query());
    ASSERT_EQ(all.items.size(), 3u);
    EXPECT_EQ(all.items.back()->getCode(), 0);
    EXPECT_EQ(all.items.back()->getArqTimes(), 5);
}
