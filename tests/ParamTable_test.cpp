#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

class ParamTable : public harbor::SchemaTest {};
class ParamTableWithoutDatabase : public harbor::HomeTest {};

ParamTablePo fullRecord(const std::string& node) {
    ParamTablePo po;
    po.setNodeId(node);
    po.setNodeType("edge");
    po.setSignalServerIP("10.0.0.1");
    po.setSignalServerPort(5060);
    po.setPeerServerIP("10.0.0.2");
    po.setPeerServerPort(-7);
    po.setTurnServerAddr("turn.example:3478");
    po.setTurnServerUser("user");
    po.setTurnServerPwd("secret");
    po.setZkdsCommPort(9000);
    po.setAccountId("acct");
    return po;
}

std::string stdoutOf(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

std::uint32_t low32(const void* address) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address));
}

// Checks that `trace` is exactly the two lines of one change of the STUN
// address of `po`, and returns the "d" value. The "d" line names the field
// inside the record, so it lies within the record's own bytes.
std::uint32_t expectStunTrace(const std::string& trace, ParamTablePo& po) {
    static const std::regex kTwoLines("s = ([0-9a-f]+)\nd = ([0-9a-f]+)\n");
    std::smatch match;
    EXPECT_TRUE(std::regex_match(trace, match, kTwoLines)) << '"' << trace << '"';
    if (match.empty()) return 0;
    const auto s = static_cast<std::uint32_t>(std::stoul(match[1].str(), nullptr, 16));
    const auto d = static_cast<std::uint32_t>(std::stoul(match[2].str(), nullptr, 16));
    EXPECT_NE(s, d);
    EXPECT_LT(static_cast<std::uint32_t>(d - low32(&po)), sizeof(ParamTablePo));
    return d;
}

}  // namespace

TEST(ParamTablePo, DefaultsAndCopiesCarryAllFourteenFields) {
    ParamTablePo empty;
    EXPECT_EQ(empty.getNodeId() + empty.getNodeType() + empty.getSignalServerIP() +
                  empty.getPeerServerIP() + empty.getStunServerAddr() + empty.getTurnServerAddr() +
                  empty.getTurnServerUser() + empty.getTurnServerPwd() + empty.getAccountId() +
                  empty.getWanIP(),
              "");
    EXPECT_EQ(empty.getSignalServerPort(), 0);
    EXPECT_EQ(empty.getPeerServerPort(), 0);
    EXPECT_EQ(empty.getZkdsCommPort(), 0);
    EXPECT_EQ(empty.getWanPort(), 0);

    ParamTablePo po = fullRecord("n");
    po.setWanIP("203.0.113.9");
    po.setWanPort(4242);
    const std::string trace = stdoutOf([&] { po.setStunServerAddr("stun:1"); });
    expectStunTrace(trace, po);

    // Copying writes no trace: the field is copied, not set.
    const std::string copyTrace = stdoutOf([&] {
        ParamTablePo copy(po);
        EXPECT_EQ(copy.getStunServerAddr(), "stun:1");
        EXPECT_EQ(copy.getWanIP(), "203.0.113.9");
        EXPECT_EQ(copy.getWanPort(), 4242);
        EXPECT_EQ(copy.getZkdsCommPort(), 9000);
        ParamTablePo assigned;
        assigned = po;
        EXPECT_EQ(assigned.getStunServerAddr(), "stun:1");
        EXPECT_EQ(assigned.getWanPort(), 4242);
        EXPECT_EQ(assigned.getAccountId(), "acct");
    });
    EXPECT_EQ(copyTrace, "");
}

TEST(ParamTablePo, StunSetterTracesExactlyTheChanges) {
    ParamTablePo po;
    EXPECT_EQ(stdoutOf([&] { po.setStunServerAddr(""); }), "");

    const std::uint32_t d = expectStunTrace(stdoutOf([&] { po.setStunServerAddr("stun:a"); }), po);
    EXPECT_EQ(po.getStunServerAddr(), "stun:a");
    EXPECT_EQ(stdoutOf([&] { po.setStunServerAddr("stun:a"); }), "");

    // A long value lives outside the field; the "d" line still names the
    // field itself, which has not moved.
    const std::string longValue(300, 'x');
    EXPECT_EQ(expectStunTrace(stdoutOf([&] { po.setStunServerAddr(longValue); }), po), d);
    EXPECT_EQ(po.getStunServerAddr(), longValue);
    expectStunTrace(stdoutOf([&] { po.setStunServerAddr(""); }), po);
    EXPECT_EQ(po.getStunServerAddr(), "");
}

TEST_F(ParamTable, StatementsReachSqliteExactlyAndWriteNoTrace) {
    ParamTableDao dao;
    ParamTablePo blank;
    ParamTablePo keyed;
    keyed.setNodeId("nodeA");
    keyed.setSignalServerPort(80);
    ParamTablePo out;
    const std::string trace = stdoutOf([&] {
        ASSERT_EQ(dao.add(&blank), 0);
        ASSERT_EQ(dao.update(&keyed), 0);
        ASSERT_EQ(dao.del(&keyed), 0);
        ASSERT_EQ(dao.query(&out), 0);  // the blank row is still there
    });
    EXPECT_EQ(trace, "");

    const std::vector<std::string> expected = {
        "insert into tb_param(node_id, node_type, signal_server_ip, signal_server_port,"
        "peer_server_ip, peer_server_port, stun_server_addr,turn_server_addr, turn_server_user, "
        "turn_server_pwd, zkds_comm_port, account_id) values('', '', '', 0, '', 0, '', '','', "
        "'', 0, '');",
        "UPDATE tb_param set node_type = '', signal_server_ip = '', signal_server_port = 80, "
        "peer_server_ip = '', peer_server_port = 0, stun_server_addr = '',turn_server_addr = '', "
        "turn_server_user = '', turn_server_pwd = '', zkds_comm_port = 0, account_id = '' where "
        "node_id = 'nodeA';",
        "DELETE from tb_param WHERE node_id = 'nodeA';",
        "select * from tb_param;",
    };
    harbor::expectStatements(expected);
}

TEST_F(ParamTable, RowRoundTripsAndNodeIdSelects) {
    ParamTableDao dao;
    ParamTablePo stored = fullRecord("n1");
    ASSERT_EQ(dao.add(&stored), 0);

    ParamTablePo out;
    out.setWanIP("wan");
    out.setWanPort(77);
    ASSERT_EQ(dao.query(&out), 0);
    EXPECT_EQ(out.getNodeId(), "n1");
    EXPECT_EQ(out.getNodeType(), "edge");
    EXPECT_EQ(out.getSignalServerIP(), "10.0.0.1");
    EXPECT_EQ(out.getSignalServerPort(), 5060);
    EXPECT_EQ(out.getPeerServerIP(), "10.0.0.2");
    EXPECT_EQ(out.getPeerServerPort(), -7);
    EXPECT_EQ(out.getStunServerAddr(), "");
    EXPECT_EQ(out.getTurnServerAddr(), "turn.example:3478");
    EXPECT_EQ(out.getTurnServerUser(), "user");
    EXPECT_EQ(out.getTurnServerPwd(), "secret");
    EXPECT_EQ(out.getZkdsCommPort(), 9000);
    EXPECT_EQ(out.getAccountId(), "acct");
    EXPECT_EQ(out.getWanIP(), "wan");  // never read
    EXPECT_EQ(out.getWanPort(), 77);

    // update keys on node_id and rewrites everything else.
    ParamTablePo changed;
    changed.setNodeId("n1");
    changed.setAccountId("other");
    ASSERT_EQ(dao.update(&changed), 0);
    ASSERT_EQ(dao.query(&out), 0);
    EXPECT_EQ(out.getAccountId(), "other");
    EXPECT_EQ(out.getNodeType(), "");
    EXPECT_EQ(out.getSignalServerPort(), 0);

    // Keys that match nothing still succeed; del reads only node_id.
    ParamTablePo ghost = fullRecord("ghost");
    EXPECT_EQ(dao.update(&ghost), 0);
    EXPECT_EQ(dao.del(&ghost), 0);
    ParamTablePo key;
    key.setNodeId("n1");
    key.setAccountId("anything");
    ASSERT_EQ(dao.del(&key), 0);
    EXPECT_TRUE(harbor::direct("select * from tb_param;").empty());
}

TEST_F(ParamTable, QueryWritesEveryRowOverTheLast) {
    ParamTableDao dao;
    ParamTablePo untouched = fullRecord("keep");
    untouched.setWanPort(5);
    EXPECT_EQ(dao.query(&untouched), -1);  // empty table
    EXPECT_EQ(untouched.getNodeId(), "keep");
    EXPECT_EQ(untouched.getZkdsCommPort(), 9000);
    EXPECT_EQ(untouched.getWanPort(), 5);

    harbor::direct(
        "insert into tb_param(node_id, node_type, signal_server_port, peer_server_port, "
        "zkds_comm_port) values('first', 'T1', 1, NULL, NULL);"
        "insert into tb_param(node_id, signal_server_port, peer_server_port, zkds_comm_port) "
        "values('second', NULL, 20, NULL);");
    ParamTablePo out;
    out.setZkdsCommPort(99);
    out.setNodeType("mine");
    ASSERT_EQ(dao.query(&out), 0);
    EXPECT_EQ(out.getNodeId(), "second");
    EXPECT_EQ(out.getNodeType(), "");         // NULL text in the last row: empty
    EXPECT_EQ(out.getSignalServerPort(), 1);  // last row with a value
    EXPECT_EQ(out.getPeerServerPort(), 20);
    EXPECT_EQ(out.getZkdsCommPort(), 99);  // no row has one: the caller's stays
}

TEST_F(ParamTable, QueryTracesWhenItsRowChangesTheStunAddress) {
    harbor::direct("insert into tb_param(node_id, stun_server_addr) values('n', 'stun:9');");
    ParamTableDao dao;
    ParamTablePo po;
    expectStunTrace(stdoutOf([&] { EXPECT_EQ(dao.query(&po), 0); }), po);
    EXPECT_EQ(po.getStunServerAddr(), "stun:9");
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(dao.query(&po), 0); }), "");
}

TEST_F(ParamTable, QuotesNulAndLongValuesReachTheTableUnchanged) {
    ParamTableDao dao;
    ParamTablePo keep = fullRecord("keep");
    ASSERT_EQ(dao.add(&keep), 0);

    const std::string injection = "x'); DELETE FROM tb_param; --";
    const std::string longText(2000, 'L');
    ParamTablePo odd = fullRecord("O'Brien");
    odd.setAccountId(injection);
    odd.setTurnServerAddr(longText);
    odd.setTurnServerUser(longText + "U");
    odd.setNodeType(std::string("cut\0tail", 8));
    ASSERT_EQ(dao.add(&odd), 0);
    ASSERT_EQ(dao.update(&odd), 0);

    ParamTablePo out;
    ASSERT_EQ(dao.query(&out), 0);  // rows come in insertion order here
    EXPECT_EQ(out.getNodeId(), "O'Brien");
    EXPECT_EQ(out.getAccountId(), injection);
    EXPECT_EQ(out.getTurnServerAddr(), longText);
    EXPECT_EQ(out.getTurnServerUser(), longText + "U");
    EXPECT_EQ(out.getNodeType(), "cut");
    EXPECT_EQ(harbor::direct("select * from tb_param;").size(), 2u);

    ASSERT_EQ(dao.del(&odd), 0);
    ASSERT_EQ(dao.query(&out), 0);
    EXPECT_EQ(out.getNodeId(), "keep");
}

TEST_F(ParamTableWithoutDatabase, NullRecordsAreRefusedBeforeTheDatabase) {
    ParamTableDao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    EXPECT_EQ(dao.query(nullptr), -1);
    EXPECT_FALSE(harbor::databaseFileExists());

    ParamTablePo po;
    EXPECT_EQ(dao.query(&po), -1);  // no table, but the file was opened
    EXPECT_TRUE(harbor::databaseFileExists());
}

TEST_F(ParamTable, CopiesKeepTheirOwnDatabase) {
    harbor::expectCopiesKeepTheirOwnDatabase<ParamTableDao>(fullRecord("n"), "tb_param");
}
