// What every stored table's access class has from the shared table frame,
// tested once over all five of them (value handling, argument checks, keys,
// record copies, the database object each access object owns), then what is
// particular to each table.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <regex>
#include <string>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/Tables.h"

namespace {

using AllTables =
    ::testing::Types<harbor::DeviceStateTraits, harbor::DeviceTraits, harbor::MqttMessageTraits,
                     harbor::ParamTraits, harbor::SipDeviceTraits>;

template <class T>
class StoredTable : public harbor::SchemaTest {};
TYPED_TEST_SUITE(StoredTable, AllTables);

bool databaseFileExists() { return std::filesystem::exists(harbor::databasePath()); }

}  // namespace

TYPED_TEST(StoredTable, RecordsHoldWhatIsSetAndCopyWhole) {
    using T = TypeParam;
    EXPECT_EQ(T::columns(typename T::Po()), T::kDefaults);
    typename T::Po original = T::record("k", "a", "b", "c");
    EXPECT_EQ(T::columns(original), T::kRecord);
    typename T::Po copied(original);
    typename T::Po assigned;
    assigned = original;
    typename T::Po& self = assigned;
    assigned = self;
    EXPECT_EQ(T::columns(copied), T::kRecord);
    EXPECT_EQ(T::columns(assigned), T::kRecord);
}

// Quotes (in keys too), statement text, a NUL and long texts reach the table
// and come back unchanged; only the text after a NUL is lost. Operations on
// one key leave the other rows alone.
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
    EXPECT_EQ(harbor::rowsOf(T::kTable), 2u);

    // Keys that match nothing still succeed.
    typename T::Po ghost = T::record("nobody", "n", "n", "n");
    EXPECT_EQ(dao.update(&ghost), 0);
    EXPECT_EQ(dao.del(&ghost), 0);

    ASSERT_EQ(dao.del(&odd), 0);
    EXPECT_EQ(harbor::rowsOf(T::kTable), T::kDelRemovesRows ? 1u : 2u);
    ASSERT_TRUE(T::find(dao, keep, out));
    EXPECT_EQ(T::columns(out), T::columns(keep));
}

// A null record is refused before a database object exists, so nothing
// opens "harbor.db"; the first operation past its checks opens (and so
// creates) the file, and fails on its missing table.
TYPED_TEST(StoredTable, NullRecordsAreRefusedBeforeTheDatabase) {
    using T = TypeParam;
    harbor::removeDatabase();
    typename T::Dao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    EXPECT_FALSE(databaseFileExists());

    typename T::Po po = T::record("k", "a", "b", "c");
    EXPECT_EQ(dao.add(&po), -1);
    EXPECT_TRUE(databaseFileExists());
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
    EXPECT_EQ(harbor::rowsOf(T::kTable), T::kDelRemovesRows ? 1u : 3u);
}

namespace {

class Table : public harbor::SchemaTest {};

template <class Po>
using Owned = harbor::OwnedRecords<Po>;

}  // namespace

// Lookups and writes key on different columns per table; the one-record
// queries map every row in turn (the last row's texts, the last non-empty
// integer text, a missing column as empty text), the lists map each row
// into a new record.
TEST_F(Table, DeviceStateKeysOnTheDeviceAndIsLookedUpByMedia) {
    DeviceStateDao dao;
    DeviceStatePo a = harbor::DeviceStateTraits::record("d1", "m1", "P", "");
    DeviceStatePo b = harbor::DeviceStateTraits::record("d2", "m2", "P", "");
    ASSERT_EQ(dao.add(&a), 0);
    ASSERT_EQ(dao.add(&b), 0);
    b.setMediaId("m9");
    b.setIsOnline(1);
    ASSERT_EQ(dao.update(&b), 0);
    DeviceStatePo out;
    EXPECT_EQ(dao.query("m2", out), -1);
    ASSERT_EQ(dao.query("m9", out), 0);
    EXPECT_EQ(harbor::DeviceStateTraits::columns(out), "d2|m9|P|1|");
    EXPECT_EQ(dao.query("", out), -1);
    a.setMediaId("other");
    ASSERT_EQ(dao.del(&a), 0);
    EXPECT_EQ(harbor::direct("select device_id from tb_device_state;"),
              (ResultRows{{{"device_id", "d2"}}}));

    harbor::direct(
        "insert into tb_device_state values('first', 'm', 'P1', 4);"
        "insert into tb_device_state values('second', 'm', NULL, NULL);");
    out.setIsOnline(99);
    ASSERT_EQ(dao.query("m", out), 0);
    EXPECT_EQ(harbor::DeviceStateTraits::columns(out), "second|m||4|");

    // The worker runs the caller's statement and appends to the caller's
    // list; a null, empty or failing statement adds nothing.
    Owned<DeviceStatePo> list;
    list.items.push_back(new DeviceStatePo());
    char mine[] = "select 'd' as device_id, ' 12abc' as is_online, 'x' as unrelated;";
    char empty[] = "";
    char broken[] = "select * from no_such_table;";
    for (char* sql : {mine, empty, static_cast<char*>(nullptr), broken}) dao.query(sql, list.items);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(harbor::DeviceStateTraits::columns(*list.items.back()), "d|||12|");
    Owned<DeviceStatePo> all(dao.query());
    EXPECT_EQ(all.items.size(), 3u);
}

TEST_F(Table, DeviceDeleteOnlyMarksTheRowAndUpdateLiftsTheMark) {
    DeviceTableDao dao;
    DeviceTablePo po = harbor::DeviceTraits::record("c1", "a", "b", "c");
    ASSERT_EQ(dao.add(&po), 0);
    DeviceTablePo key;
    key.setDevId("c1");
    ASSERT_EQ(dao.del(&key), 0);
    DeviceTablePo out;
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "delete");
    EXPECT_EQ(harbor::rowsOf("tb_device"), 1u);
    ASSERT_EQ(dao.update(&po), 0);  // the record says "normal"
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "normal");

    // Empty (or NULL) status is stored as it is and reads as "normal".
    po.setDevStatus("");
    ASSERT_EQ(dao.update(&po), 0);
    EXPECT_EQ(harbor::direct("select dev_status from tb_device;")[0].at("dev_status"), "");
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "normal");
    harbor::direct("update tb_device set dev_status = NULL;");
    EXPECT_EQ(dao.query().front().getDevStatus(), "normal");
    EXPECT_EQ(dao.query("", out), -1);
}

TEST_F(Table, DeviceListsByTypeAndReadsNoRunTimeField) {
    DeviceTableDao dao;
    DeviceTablePo ipc = harbor::DeviceTraits::record("c1", "a", "b", "c");
    DeviceTablePo nvr = harbor::DeviceTraits::record("n1", "a", "b", "c");
    nvr.setDevType("NVR");
    DeviceTablePo untyped = harbor::DeviceTraits::record("u", "a", "b", "c");
    untyped.setDevType(std::string(300, 'T'));
    for (DeviceTablePo* po : {&ipc, &nvr, &untyped}) ASSERT_EQ(dao.add(po), 0);
    EXPECT_EQ(dao.query("NVR").front().getDevId(), "n1");
    EXPECT_EQ(dao.query(std::string(300, 'T')).front().getDevId(), "u");
    EXPECT_TRUE(dao.query("DVR").empty());
    EXPECT_TRUE(dao.query(std::string()).empty());

    DeviceTablePo out;
    out.setLocalIP("mine");
    out.setDevIsOnline(false);
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getLocalIP(), "mine");  // fields without a column keep the caller's values
    EXPECT_FALSE(out.getDevIsOnline());
    const std::list<DeviceTablePo> all = dao.query();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(harbor::DeviceTraits::columns(all.front()), harbor::DeviceTraits::columns(ipc));
    EXPECT_TRUE(all.front().getDevIsOnline());  // run-time fields come back at their defaults
    EXPECT_EQ(all.front().getLocalIP(), "");

    // Two rows under one id: the last row's texts, the last non-empty
    // integers; in lists a NULL integer keeps the record's default.
    harbor::direct(
        "insert into tb_device(dev_id, dev_ip, is_record, dev_port) values('dup', 'one', 0, 1);"
        "insert into tb_device(dev_id, dev_ip, is_record, dev_port) values('dup', 'two', NULL, "
        "'');");
    out.setIsIpcRecord(5);
    ASSERT_EQ(dao.query("dup", out), 0);
    EXPECT_EQ(harbor::join(out.getDevIp(), out.getIsIpcRecord(), out.getDevPort()), "two|0|1|");
    EXPECT_EQ(dao.query().back().getIsIpcRecord(), 1);
}

TEST(DeviceRecord, KeepsPasswordsAsStandardBase64AndCopiesItsRunTimeFields) {
    DeviceTablePo po;
    EXPECT_TRUE(po.getDevIsOnline() && po.getDevNvrIsOnline());
    po.setEncodeDevLoginPwd("admin");
    EXPECT_EQ(po.getDevLoginPwd(), "YWRtaW4=");
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "admin");
    po.setEncodeNvrPwd(std::string("ab\0cd", 5));  // encoded whole, decoded up to the zero
    EXPECT_EQ(po.getNvrPwd(), "YWIAY2Q=");
    EXPECT_EQ(po.getDecodeNvrPwd(), "ab");
    std::string longPassword;
    for (int i = 0; i < 1000; ++i) longPassword.push_back(static_cast<char>(1 + i % 255));
    po.setEncodeNvrPwd(longPassword);
    EXPECT_EQ(po.getNvrPwd().size(), 1336u);
    EXPECT_EQ(po.getDecodeNvrPwd(), longPassword);
    po.setNvrPwd("cGFzc3dvcmQxMjM=");  // the plain setter stores as given
    EXPECT_EQ(po.getDecodeNvrPwd(), "password123");
    po.setDevLoginPwd("not base64!");
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "");
    EXPECT_EQ(po.getDevLoginPwd(), "not base64!");

    po.setDevIsOnline(false);
    po.setDevNvrIsOnline(false);
    po.setLocalIP("192.168.1.2");
    DeviceTablePo copied(po);
    DeviceTablePo assigned;
    assigned = po;
    for (DeviceTablePo* p : {&copied, &assigned}) {
        EXPECT_EQ(harbor::join(p->getDevLoginPwd(), p->getDevIsOnline(), p->getDevNvrIsOnline(),
                               p->getLocalIP()),
                  "not base64!|0|0|192.168.1.2|");
    }
}

TEST_F(Table, MqttMessageKeysOnTheItemAndLeavesUnreadIntegersAlone) {
    MqttMessageTableDao dao;
    MqttMessageTablePo a = harbor::MqttMessageTraits::record("a", "c", "u", "t");
    MqttMessageTablePo b = harbor::MqttMessageTraits::record("b", "c", "u", "t");
    ASSERT_EQ(dao.add(&a), 0);
    ASSERT_EQ(dao.add(&b), 0);
    b.setCno("c2");
    b.setArqTimes(0);
    ASSERT_EQ(dao.update(&b), 0);
    a.setCno("ignored");
    ASSERT_EQ(dao.del(&a), 0);
    Owned<MqttMessageTablePo> rest(dao.query());
    ASSERT_EQ(rest.items.size(), 1u);
    EXPECT_EQ(harbor::MqttMessageTraits::columns(*rest.items.front()), "b|c2|-2147483648|u|t|0|");

    harbor::direct("insert into tb_mqtt_message(item_id, cno) values('bare', NULL);");
    MqttMessageTablePo mine = harbor::MqttMessageTraits::record("x", "c", "u", "t");
    ASSERT_EQ(dao.query("bare", &mine), 0);
    EXPECT_EQ(harbor::MqttMessageTraits::columns(mine), "bare||-2147483648|||2147483647|");
    EXPECT_EQ(dao.query("bare", nullptr), -1);
    EXPECT_EQ(dao.query("", &mine), -1);
    Owned<MqttMessageTablePo> all(dao.query());
    ASSERT_EQ(all.items.size(), 2u);
    EXPECT_EQ(harbor::MqttMessageTraits::columns(*all.items.back()), "bare||0|||5|");
    char sql[] = "select 'q' as item_id;";
    dao.query(sql, all.items);
    EXPECT_EQ(all.items.back()->getItemId(), "q");
}

namespace {

std::string stdoutOf(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

// Checks that `trace` is exactly the two lines of one change of the STUN
// address of `po`: "s" and "d" differ, and "d" names the field inside the
// record (the low 32 bits of its address), which never moves.
void expectStunTrace(const std::string& trace, const ParamTablePo& po) {
    static const std::regex kTwoLines("s = ([0-9a-f]+)\nd = ([0-9a-f]+)\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(trace, match, kTwoLines)) << '"' << trace << '"';
    const auto d = static_cast<std::uint32_t>(std::stoul(match[2].str(), nullptr, 16));
    EXPECT_NE(match[1].str(), match[2].str());
    const auto base = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&po));
    EXPECT_LT(static_cast<std::uint32_t>(d - base), sizeof(ParamTablePo));
}

}  // namespace

TEST_F(Table, ParamTracesEachChangeOfTheStunAddressAndQueriesTheWholeTable) {
    ParamTablePo po;
    EXPECT_EQ(stdoutOf([&] { po.setStunServerAddr(""); }), "");
    for (const std::string& value : {std::string("stun:a"), std::string(300, 'x'), std::string()}) {
        expectStunTrace(stdoutOf([&] { po.setStunServerAddr(value); }), po);
        EXPECT_EQ(po.getStunServerAddr(), value);
        EXPECT_EQ(stdoutOf([&] { po.setStunServerAddr(value); }), "") << "unchanged";
    }
    po.setWanIP("203.0.113.9");
    po.setWanPort(4242);
    stdoutOf([&] { po.setStunServerAddr("stun:1"); });
    EXPECT_EQ(stdoutOf([&] {
                  ParamTablePo copy(po);
                  ParamTablePo assigned;
                  assigned = po;
                  for (ParamTablePo* p : {&copy, &assigned}) {
                      EXPECT_EQ(
                          harbor::join(p->getStunServerAddr(), p->getWanIP(), p->getWanPort()),
                          "stun:1|203.0.113.9|4242|");
                  }
              }),
              "");

    // The query maps every row over the last, traces when that changes the
    // STUN address, and never reads the run-time fields.
    harbor::direct(
        "insert into tb_param(node_id, node_type, signal_server_port, stun_server_addr) "
        "values('first', 'T1', 1, 'stun:9');"
        "insert into tb_param(node_id, peer_server_port, stun_server_addr) "
        "values('second', 20, 'stun:9');");
    ParamTableDao dao;
    ParamTablePo out;
    out.setZkdsCommPort(99);
    out.setWanPort(77);
    expectStunTrace(stdoutOf([&] { EXPECT_EQ(dao.query(&out), 0); }), out);
    EXPECT_EQ(harbor::ParamTraits::columns(out), "second|||1||20|stun:9||||99||");
    EXPECT_EQ(out.getWanPort(), 77);
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(dao.query(&out), 0); }), "");
    EXPECT_EQ(dao.query(nullptr), -1);

    ParamTablePo key = harbor::ParamTraits::record("first", "a", "b", "c");
    ASSERT_EQ(dao.update(&key), 0);
    ASSERT_EQ(dao.del(&key), 0);  // by node_id alone
    EXPECT_EQ(harbor::rowsOf("tb_param"), 1u);
}

TEST_F(Table, SipDeviceDeletesByAccountAndUpdatesByDevice) {
    SipDeviceTableDao dao;
    EXPECT_TRUE(dao.query().empty());
    for (auto [account, device] : {std::pair{"a", "d1"}, {"a", "d2"}, {"b", "d3"}}) {
        SipDeviceTablePo po = harbor::SipDeviceTraits::record(account, "p", "dom", "x");
        po.setDevId(device);
        ASSERT_EQ(dao.add(&po), 0);
    }
    SipDeviceTablePo moved = harbor::SipDeviceTraits::record("c", "p", "dom", "x");
    moved.setDevId("d3");
    ASSERT_EQ(dao.update(&moved), 0);  // finds d3 and rewrites its account too
    SipDeviceTablePo key = harbor::SipDeviceTraits::record("a", "p", "dom", "x");
    ASSERT_EQ(dao.del(&key), 0);  // every row of the account, whatever its device
    harbor::direct("insert into tb_sip_device(sip_account, sip_domain) values('x', NULL);");
    Owned<SipDeviceTablePo> rows(dao.query());
    ASSERT_EQ(rows.items.size(), 2u);
    EXPECT_EQ(harbor::SipDeviceTraits::columns(*rows.items.front()), "c|p|dom|x|dst2|d3|");
    EXPECT_EQ(harbor::SipDeviceTraits::columns(*rows.items.back()), "x||||||");
}

// The channel access class answers its callers without touching storage:
// "harbor.db" is never opened.
TEST_F(Table, ChannelAnswersWithoutTouchingStorage) {
    harbor::removeDatabase();
    ChannelTablePo blank;
    EXPECT_EQ(harbor::join(blank.getChannelId(), blank.getDevId(), blank.getEquipType(),
                           blank.getChannelNo(), blank.getChannelName(), blank.getChannelStatus(),
                           blank.getUpdateFlag(), blank.getLastAccessTime()),
              "|||0||||0|");
    ChannelTablePo odd;
    odd.setChannelId("O'Brien");
    odd.setChannelName(std::string(3000, 'L'));
    odd.setDevId(std::string("x'); DELETE FROM tb_channel; --\0tail", 36));
    odd.setChannelNo(3);
    odd.setLastAccessTime(1700000000);
    ChannelTableDao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    for (ChannelTablePo* po : {&blank, &odd}) {
        EXPECT_EQ(dao.add(po), 0);
        EXPECT_EQ(dao.update(po), 0);
        EXPECT_EQ(dao.del(po), 0);
    }
    EXPECT_TRUE(dao.query("dev").empty());
    ChannelTableDao other(dao);
    other = dao;
    EXPECT_EQ(other.add(&odd), 0);
    EXPECT_EQ(harbor::join(odd.getChannelId(), odd.getChannelNo(), odd.getLastAccessTime()),
              "O'Brien|3|1700000000|");
    EXPECT_FALSE(databaseFileExists());
}
