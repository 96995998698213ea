#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

using Owned = harbor::OwnedRecords<SipDeviceTablePo>;

class SipDeviceTable : public harbor::SchemaTest {};

SipDeviceTablePo identity(const std::string& account, const std::string& device) {
    SipDeviceTablePo po = harbor::SipDeviceTraits::record(account, "pwd-" + account, "dom", "d1");
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
        "sip_domain = 'dom', sip_dst_account_1 = 'd1', sip_dst_account_2 = 'd1' "
        "where dev_id = 'dev';",
        "DELETE from tb_sip_device WHERE sip_account = 'acc';",
        "select * from tb_sip_device;",
    });
}

TEST_F(SipDeviceTable, DeleteKeysOnTheAccountAndUpdateOnTheDevice) {
    SipDeviceTableDao dao;
    EXPECT_TRUE(dao.query().empty());
    for (SipDeviceTablePo po : {identity("a", "d1"), identity("a", "d2"), identity("b", "d3")}) {
        ASSERT_EQ(dao.add(&po), 0);
    }

    // update finds d3 and rewrites its account too.
    SipDeviceTablePo moved = identity("c", "d3");
    ASSERT_EQ(dao.update(&moved), 0);
    EXPECT_EQ(accountsInTable(), (std::vector<std::string>{"a", "a", "c"}));

    // del removes every row of the account, whatever its device.
    SipDeviceTablePo key = identity("a", "unrelated");
    ASSERT_EQ(dao.del(&key), 0);
    EXPECT_EQ(accountsInTable(), (std::vector<std::string>{"c"}));

    // Rows come in table order; NULL reads as empty text.
    harbor::direct("insert into tb_sip_device(sip_account, sip_domain) values('x', NULL);");
    Owned rows(dao.query());
    ASSERT_EQ(rows.items.size(), 2u);
    EXPECT_EQ(rows.items.front()->getDevId(), "d3");
    EXPECT_EQ(rows.items.back()->getSipAccount(), "x");
    EXPECT_EQ(rows.items.back()->getSipDomain(), "");
}
