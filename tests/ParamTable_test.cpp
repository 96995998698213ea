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

ParamTablePo fullRecord(const std::string& node) {
    return harbor::ParamTraits::record(node, "turn.example:3478", "user", "edge");
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

    // Copying writes no trace: the field is copied, not set. The run-time
    // fields travel with the stored ones.
    po.setStunServerAddr("stun:1");
    po.setWanIP("203.0.113.9");
    po.setWanPort(4242);
    const std::string copyTrace = stdoutOf([&] {
        ParamTablePo copy(po);
        ParamTablePo assigned;
        assigned = po;
        for (ParamTablePo* p : {&copy, &assigned}) {
            EXPECT_EQ(p->getStunServerAddr(), "stun:1");
            EXPECT_EQ(p->getWanIP(), "203.0.113.9");
            EXPECT_EQ(p->getWanPort(), 4242);
        }
    });
    EXPECT_EQ(copyTrace, "");
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

TEST_F(ParamTable, UpdateAndDeleteKeyOnTheNodeAndQueryReadsNoRunTimeField) {
    ParamTableDao dao;
    ParamTablePo stored = fullRecord("n1");
    ASSERT_EQ(dao.add(&stored), 0);

    ParamTablePo out;
    out.setWanIP("wan");
    out.setWanPort(77);
    ASSERT_EQ(dao.query(&out), 0);
    EXPECT_EQ(harbor::ParamTraits::columns(out), harbor::ParamTraits::columns(stored));
    EXPECT_EQ(out.getWanIP(), "wan");  // never read
    EXPECT_EQ(out.getWanPort(), 77);

    // update keys on node_id and rewrites everything else.
    ParamTablePo changed;
    changed.setNodeId("n1");
    changed.setAccountId("other");
    ASSERT_EQ(dao.update(&changed), 0);
    ASSERT_EQ(dao.query(&out), 0);
    EXPECT_EQ(harbor::ParamTraits::columns(out), harbor::ParamTraits::columns(changed));

    // del reads only node_id.
    ParamTablePo key = fullRecord("n1");
    key.setAccountId("anything");
    ASSERT_EQ(dao.del(&key), 0);
    EXPECT_TRUE(harbor::direct("select * from tb_param;").empty());
}

TEST_F(ParamTable, QueryWritesEveryRowOverTheLast) {
    ParamTableDao dao;
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
