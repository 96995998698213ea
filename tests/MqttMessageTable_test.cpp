#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

using Owned = harbor::OwnedRecords<MqttMessageTablePo>;

class MqttMessageTable : public harbor::SchemaTest {};
class MqttMessageTableWithoutDatabase : public harbor::HomeTest {};

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

TEST(MqttMessageTablePo, RepeatCounterStartsAtFiveAndCopiesAreIndependent) {
    MqttMessageTablePo po;
    EXPECT_EQ(po.getArqTimes(), 5);
    EXPECT_EQ(po.getCode(), 0);
    EXPECT_EQ(po.getItemId() + po.getCno() + po.getUrl() + po.getType(), "");

    MqttMessageTablePo copy(po);
    copy.setArqTimes(1);
    copy.setUrl("changed");
    EXPECT_EQ(po.getArqTimes(), 5);
    EXPECT_EQ(po.getUrl(), "");
    po = copy;
    EXPECT_EQ(po.getArqTimes(), 1);
    EXPECT_EQ(po.getUrl(), "changed");
}

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

    const std::vector<std::string> expected = {
        "insert into tb_mqtt_message(item_id, cno, code, url,type,arq_times) "
        "values('', '', '0', '', '','5');",
        "UPDATE tb_mqtt_message set cno = 'c', code = -3, url = 'u',type='t',arq_times=2 "
        "where item_id = 'm1';",
        "DELETE from tb_mqtt_message WHERE item_id = 'm1';",
        "select * from tb_mqtt_message where item_id = 'm1';",
        "select * from tb_mqtt_message;",
    };
    harbor::expectStatements(expected);
}

TEST_F(MqttMessageTable, RowsRoundTripAndItemIdSelects) {
    MqttMessageTableDao dao;
    MqttMessageTablePo a = message("a", 1, 0);
    MqttMessageTablePo b = message("b", -2147483647 - 1, 2147483647);
    ASSERT_EQ(dao.add(&a), 0);
    ASSERT_EQ(dao.add(&b), 0);

    MqttMessageTablePo out;
    ASSERT_EQ(dao.query("b", &out), 0);
    EXPECT_EQ(out.getItemId(), "b");
    EXPECT_EQ(out.getCno(), "c");
    EXPECT_EQ(out.getCode(), -2147483647 - 1);
    EXPECT_EQ(out.getArqTimes(), 2147483647);

    b.setCno("c2");
    b.setArqTimes(0);
    ASSERT_EQ(dao.update(&b), 0);
    ASSERT_EQ(dao.query("b", &out), 0);
    EXPECT_EQ(out.getCno(), "c2");
    EXPECT_EQ(out.getArqTimes(), 0);

    MqttMessageTablePo key;
    key.setItemId("a");
    key.setCno("ignored");
    ASSERT_EQ(dao.del(&key), 0);
    Owned rest(dao.query());
    ASSERT_EQ(rest.items.size(), 1u);
    EXPECT_EQ(rest.items.front()->getItemId(), "b");

    MqttMessageTablePo ghost = message("ghost", 0, 0);
    EXPECT_EQ(dao.update(&ghost), 0);
    EXPECT_EQ(dao.del(&ghost), 0);
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

    // No row: the record stays exactly as it was.
    MqttMessageTablePo untouched = message("keep", 1, 2);
    EXPECT_EQ(dao.query("absent", &untouched), -1);
    EXPECT_EQ(untouched.getItemId(), "keep");
    EXPECT_EQ(untouched.getCno(), "c");
    EXPECT_EQ(untouched.getArqTimes(), 2);
}

TEST_F(MqttMessageTable, WorkerAppendsAndIgnoresEmptyStatements) {
    MqttMessageTableDao dao;
    MqttMessageTablePo a = message("a", 1, 1);
    ASSERT_EQ(dao.add(&a), 0);

    Owned list;
    list.items.push_back(new MqttMessageTablePo(message("mine", 0, 0)));
    char all[] = "select * from tb_mqtt_message;";
    dao.query(all, list.items);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items.front()->getItemId(), "mine");
    EXPECT_EQ(list.items.back()->getItemId(), "a");

    char empty[] = "";
    dao.query(empty, list.items);
    dao.query(nullptr, list.items);
    EXPECT_EQ(list.items.size(), 2u);
}

TEST_F(MqttMessageTable, QuotesNulAndLongValuesReachTheTableUnchanged) {
    MqttMessageTableDao dao;
    MqttMessageTablePo keep = message("keep", 0, 0);
    ASSERT_EQ(dao.add(&keep), 0);

    const std::string injection = "x'); DELETE FROM tb_mqtt_message; --";
    const std::string longText(2000, 'L');
    MqttMessageTablePo odd = message("O'Brien", 1, 1);
    odd.setCno(injection);
    odd.setUrl(longText);
    odd.setType(std::string("cut\0tail", 8));
    ASSERT_EQ(dao.add(&odd), 0);
    ASSERT_EQ(dao.update(&odd), 0);

    MqttMessageTablePo out;
    ASSERT_EQ(dao.query("O'Brien", &out), 0);
    EXPECT_EQ(out.getCno(), injection);
    EXPECT_EQ(out.getUrl(), longText);
    EXPECT_EQ(out.getType(), "cut");
    EXPECT_EQ(harbor::direct("select * from tb_mqtt_message;").size(), 2u);

    ASSERT_EQ(dao.del(&odd), 0);
    EXPECT_EQ(dao.query("O'Brien", &out), -1);
    EXPECT_EQ(dao.query("keep", &out), 0);
}

TEST_F(MqttMessageTableWithoutDatabase, ArgumentChecksComeBeforeTheDatabase) {
    MqttMessageTableDao dao;
    MqttMessageTablePo po = message("m", 0, 0);
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    EXPECT_EQ(dao.query("", &po), -1);
    EXPECT_EQ(dao.query("m", nullptr), -1);
    std::list<MqttMessageTablePo*> list;
    dao.query(nullptr, list);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(harbor::databaseFileExists());

    EXPECT_TRUE(dao.query().empty());  // opens, and so creates, the file
    EXPECT_TRUE(harbor::databaseFileExists());
}

TEST_F(MqttMessageTable, CopiesKeepTheirOwnDatabase) {
    harbor::expectCopiesKeepTheirOwnDatabase<MqttMessageTableDao>(message("m", 0, 0),
                                                                  "tb_mqtt_message");
}
