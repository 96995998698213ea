#include <gtest/gtest.h>

#include <string>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

class ChannelTable : public harbor::HomeTest {};

ChannelTablePo channel(const std::string& id) {
    ChannelTablePo po;
    po.setChannelId(id);
    po.setDevId("dev");
    po.setEquipType("ipc");
    po.setChannelNo(3);
    po.setChannelName("gate");
    po.setChannelStatus("on");
    po.setUpdateFlag("1");
    po.setLastAccessTime(1700000000);
    return po;
}

}  // namespace

TEST(ChannelTablePo, StartsEmpty) {
    ChannelTablePo po;
    EXPECT_EQ(po.getChannelId() + po.getDevId() + po.getEquipType() + po.getChannelName() +
                  po.getChannelStatus() + po.getUpdateFlag(),
              "");
    EXPECT_EQ(po.getChannelNo(), 0);
    EXPECT_EQ(po.getLastAccessTime(), 0);
}

// The channel access class answers its callers without touching storage:
// nothing reaches SQLite and "harbor.db" is never opened.
TEST_F(ChannelTable, AnswersWithoutTouchingStorage) {
    ChannelTableDao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);

    ChannelTablePo blank;
    ChannelTablePo odd = channel("O'Brien");
    odd.setChannelName(std::string(3000, 'L'));
    odd.setDevId(std::string("x'); DELETE FROM tb_channel; --\0tail", 36));
    for (ChannelTablePo* po : {&blank, &odd}) {
        EXPECT_EQ(dao.add(po), 0);
        EXPECT_EQ(dao.update(po), 0);
        EXPECT_EQ(dao.del(po), 0);
    }
    EXPECT_EQ(odd.getChannelId(), "O'Brien");  // the record is only read
    EXPECT_TRUE(dao.query("dev").empty());
    EXPECT_TRUE(dao.query("").empty());

    ChannelTableDao other(dao);
    other = dao;
    EXPECT_EQ(other.add(&blank), 0);

    EXPECT_TRUE(harbor::statements().empty());
    EXPECT_FALSE(harbor::databaseFileExists());
}
