#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

using Owned = harbor::OwnedRecords<SipDeviceTablePo>;

class SipDeviceTable : public harbor::SchemaTest {};
class SipDeviceTableWithoutDatabase : public harbor::HomeTest {};

SipDeviceTablePo identity(const std::string& account, const std::string& device) {
    SipDeviceTablePo po;
    po.setSipAccount(account);
    po.setSipPwd("pwd-" + account);
    po.setSipDomain("example.org");
    po.setSipDstAccount1("dst1");
    po.setSipDstAccount2("dst2");
    po.setDevId(device);
    return po;
}

std::vector<std::string> accountsInTable() {
    std::vector<std::string> accounts;
    for (auto& row : harbor::direct("select sip_account from tb_sip_device order by rowid;")) {
        accounts.push_back(row["sip_account"]);
    }
    return accounts;
}

}  // namespace

TEST(SipDeviceTablePo, StartsEmptyAndCopiesAreIndependent) {
    SipDeviceTablePo po;
    EXPECT_EQ(po.getSipAccount() + po.getSipPwd() + po.getSipDomain() + po.getSipDstAccount1() +
                  po.getSipDstAccount2() + po.getDevId(),
              "");
    SipDeviceTablePo copy(po);
    copy.setSipPwd("changed");
    EXPECT_EQ(po.getSipPwd(), "");
    po = copy;
    EXPECT_EQ(po.getSipPwd(), "changed");
}

TEST_F(SipDeviceTable, StatementsReachSqliteExactly) {
    SipDeviceTableDao dao;
    SipDeviceTablePo blank;
    SipDeviceTablePo po = identity("acc", "dev");
    ASSERT_EQ(dao.add(&blank), 0);
    ASSERT_EQ(dao.update(&po), 0);
    ASSERT_EQ(dao.del(&po), 0);
    Owned all(dao.query());
    EXPECT_EQ(all.items.size(), 1u);

    harbor::expectStatements({
        "insert into tb_sip_device(sip_account, sip_pwd, sip_domain, sip_dst_account_1, "
        "sip_dst_account_2, dev_id) values('', '', '', '', '', '');",
        "UPDATE tb_sip_device set sip_account = 'acc', sip_pwd = 'pwd-acc', "
        "sip_domain = 'example.org', sip_dst_account_1 = 'dst1', sip_dst_account_2 = 'dst2' "
        "where dev_id = 'dev';",
        "DELETE from tb_sip_device WHERE sip_account = 'acc';",
        "select * from tb_sip_device;",
    });
}

TEST_F(SipDeviceTable, DeleteKeysOnTheAccountAndUpdateOnTheDevice) {
    SipDeviceTableDao dao;
    SipDeviceTablePo a1 = identity("a", "d1");
    SipDeviceTablePo a2 = identity("a", "d2");
    SipDeviceTablePo b = identity("b", "d3");
    ASSERT_EQ(dao.add(&a1), 0);
    ASSERT_EQ(dao.add(&a2), 0);
    ASSERT_EQ(dao.add(&b), 0);

    // update finds d3 and rewrites its account too.
    SipDeviceTablePo moved = identity("c", "d3");
    moved.setSipDomain("");
    ASSERT_EQ(dao.update(&moved), 0);
    EXPECT_EQ(accountsInTable(), (std::vector<std::string>{"a", "a", "c"}));

    // del removes every row of the account, whatever its device.
    SipDeviceTablePo key;
    key.setSipAccount("a");
    key.setDevId("unrelated");
    ASSERT_EQ(dao.del(&key), 0);
    EXPECT_EQ(accountsInTable(), (std::vector<std::string>{"c"}));

    SipDeviceTablePo ghost = identity("nobody", "none");
    EXPECT_EQ(dao.update(&ghost), 0);
    EXPECT_EQ(dao.del(&ghost), 0);

    Owned rows(dao.query());
    ASSERT_EQ(rows.items.size(), 1u);
    SipDeviceTablePo* row = rows.items.front();
    EXPECT_EQ(row->getSipAccount(), "c");
    EXPECT_EQ(row->getSipPwd(), "pwd-c");
    EXPECT_EQ(row->getSipDomain(), "");
    EXPECT_EQ(row->getSipDstAccount1(), "dst1");
    EXPECT_EQ(row->getSipDstAccount2(), "dst2");
    EXPECT_EQ(row->getDevId(), "d3");
}

TEST_F(SipDeviceTable, ListKeepsRowOrderAndReadsNullAsEmpty) {
    SipDeviceTableDao dao;
    EXPECT_TRUE(dao.query().empty());

    harbor::direct(
        "insert into tb_sip_device(sip_account, sip_domain, dev_id) values('x', NULL, 'd1');"
        "insert into tb_sip_device(sip_account, sip_domain, dev_id) values('y', 'dom', 'd2');");
    Owned rows(dao.query());
    ASSERT_EQ(rows.items.size(), 2u);
    EXPECT_EQ(rows.items.front()->getSipAccount(), "x");
    EXPECT_EQ(rows.items.front()->getSipDomain(), "");
    EXPECT_EQ(rows.items.front()->getSipPwd(), "");
    EXPECT_EQ(rows.items.back()->getSipDomain(), "dom");
}

TEST_F(SipDeviceTable, QuotesNulAndLongValuesReachTheTableUnchanged) {
    SipDeviceTableDao dao;
    SipDeviceTablePo keep = identity("keep", "k");
    ASSERT_EQ(dao.add(&keep), 0);

    const std::string injection = "x'); DELETE FROM tb_sip_device; --";
    const std::string longText(2000, 'L');
    SipDeviceTablePo odd = identity("O'Brien", "dev'1");
    odd.setSipPwd(injection);
    odd.setSipDomain(longText);
    odd.setSipDstAccount1(longText + "1");
    odd.setSipDstAccount2(std::string("cut\0tail", 8));
    ASSERT_EQ(dao.add(&odd), 0);
    ASSERT_EQ(dao.update(&odd), 0);

    Owned rows(dao.query());
    ASSERT_EQ(rows.items.size(), 2u);
    SipDeviceTablePo* row = rows.items.back();
    EXPECT_EQ(row->getSipAccount(), "O'Brien");
    EXPECT_EQ(row->getDevId(), "dev'1");
    EXPECT_EQ(row->getSipPwd(), injection);
    EXPECT_EQ(row->getSipDomain(), longText);
    EXPECT_EQ(row->getSipDstAccount1(), longText + "1");
    EXPECT_EQ(row->getSipDstAccount2(), "cut");

    ASSERT_EQ(dao.del(&odd), 0);
    EXPECT_EQ(accountsInTable(), (std::vector<std::string>{"keep"}));
}

TEST_F(SipDeviceTableWithoutDatabase, NullRecordsAreRefusedBeforeTheDatabase) {
    SipDeviceTableDao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    EXPECT_FALSE(harbor::databaseFileExists());
}

TEST_F(SipDeviceTableWithoutDatabase, FailedOpenGivesFailuresAndAnEmptyList) {
    // A directory where the database file should be: it cannot be opened.
    std::filesystem::create_directory(harbor::databasePath());
    SipDeviceTableDao dao;
    SipDeviceTablePo po = identity("a", "d");
    EXPECT_EQ(dao.add(&po), -1);
    EXPECT_TRUE(dao.query().empty());

    harbor::removeTree(harbor::databasePath());
    harbor::createSchema();
    EXPECT_EQ(dao.add(&po), 0);
    EXPECT_EQ(harbor::direct("select * from tb_sip_device;").size(), 1u);
}

TEST_F(SipDeviceTable, CopiesKeepTheirOwnDatabase) {
    harbor::expectCopiesKeepTheirOwnDatabase<SipDeviceTableDao>(identity("a", "d"),
                                                                "tb_sip_device");
}
