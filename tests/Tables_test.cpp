// What every stored table's access class has from the shared table frame,
// tested once over all five of them (value handling, argument checks, keys,
// record copies, the database object each access object owns), then what is
// particular to each table.

#include <gtest/gtest.h>

#include <filesystem>
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

    // Writes with keys that match nothing still succeed; look-ups find nothing.
    typename T::Po ghost = T::record("nobody", "n", "n", "n");
    EXPECT_TRUE(dao.update(&ghost) == 0 && dao.del(&ghost) == 0 && !T::find(dao, ghost, out));

    // del goes by the key alone.
    typename T::Po byKey = T::record("O'Brien", "x", "y", "z");
    ASSERT_EQ(dao.del(&byKey), 0);
    EXPECT_EQ(harbor::rowsOf(T::kTable), T::kDelRemovesRows ? 1u : 2u);
    ASSERT_TRUE(T::find(dao, keep, out));
    EXPECT_EQ(T::columns(out), T::columns(keep));
}

// A null record is refused before a database object exists, so nothing
// opens "harbor.db".
TYPED_TEST(StoredTable, NullRecordsAreRefusedBeforeTheDatabase) {
    using T = TypeParam;
    harbor::removeDatabase();
    typename T::Dao dao;
    EXPECT_EQ(dao.add(nullptr), -1);
    EXPECT_EQ(dao.del(nullptr), -1);
    EXPECT_EQ(dao.update(nullptr), -1);
    EXPECT_FALSE(databaseFileExists());
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
using harbor::set;

// What `action` writes to the standard output.
template <class Action>
std::string stdoutOf(Action action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

// `trace` is exactly the two lines of one change of the STUN address: the
// addresses "s" and "d", which differ.
void expectStunTrace(const std::string& trace) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(trace, match, std::regex("s = ([0-9a-f]+)\nd = ([0-9a-f]+)\n")))
        << '"' << trace << '"';
    EXPECT_NE(match[1].str(), match[2].str());
}

}  // namespace

// Each table keys its writes and look-ups on its own columns. The one-record
// queries map every row in turn (the last row's texts, the last non-empty
// integer text, read past white space and leading zeros, a missing column as
// empty text); the list workers run the caller's statement and append to the
// caller's list.
TEST_F(Table, DeviceStateListsThroughTheCallersStatement) {
    using T = harbor::DeviceStateTraits;
    DeviceStateDao dao;
    DeviceStatePo po = T::record("d1", "m1", "P", "");
    ASSERT_EQ(dao.add(&po), 0);
    EXPECT_EQ(dao.query("", po), -1);
    Owned<DeviceStatePo> list;
    list.items.push_back(new DeviceStatePo());
    char mine[] = "select 'd' as device_id, ' \t\n\v\f\r012abc' as is_online, 'x' as unrelated;";
    char empty[] = "", broken[] = "select * from no_such_table;";
    for (char* sql : {mine, empty, static_cast<char*>(nullptr), broken}) dao.query(sql, list.items);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(T::columns(*list.items.back()), "d|||12|");
    EXPECT_EQ(Owned<DeviceStatePo>(dao.query()).items.size(), 1u);
}

// del only marks a device "delete"; update writes the record's status back,
// and empty (or NULL) status reads as "normal". Lists select by type and,
// like the one-record query, never read the run-time fields.
TEST_F(Table, DeviceDeleteMarksTheRowAndListsByType) {
    DeviceTableDao dao;
    DeviceTablePo po = harbor::DeviceTraits::record("c1", "a", "b", "c"), nvr = po, key, out;
    set(nvr, &DeviceTablePo::setDevId, "n1", &DeviceTablePo::setDevType, std::string(300, 'T'));
    key.setDevId("c1");
    ASSERT_TRUE(dao.add(&po) == 0 && dao.add(&nvr) == 0 && dao.del(&key) == 0);
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(out.getDevStatus(), "delete");
    po.setDevStatus("");
    ASSERT_EQ(dao.update(&po), 0);
    EXPECT_EQ(harbor::direct("select dev_status from tb_device;")[0].at("dev_status"), "");
    set(out, &DeviceTablePo::setLocalIP, "mine", &DeviceTablePo::setDevIsOnline, false);
    ASSERT_EQ(dao.query("c1", out), 0);
    EXPECT_EQ(harbor::join(out.getDevStatus(), out.getLocalIP(), out.getDevIsOnline()),
              "normal|mine|0|");
    EXPECT_EQ(dao.query("", out), -1);
    harbor::direct("update tb_device set dev_status = NULL;");
    EXPECT_EQ(dao.query(std::string(300, 'T')).front().getDevId(), "n1");
    EXPECT_TRUE(dao.query("NVR").empty() && dao.query(std::string()).empty());
    DeviceTablePo first = dao.query().front();
    po.setDevStatus("normal");
    EXPECT_EQ(harbor::DeviceTraits::columns(first), harbor::DeviceTraits::columns(po));
    EXPECT_EQ(harbor::join(first.getLocalIP(), first.getDevIsOnline()), "|1|");

    // Two rows under one id: the last texts and the last non-empty integers (a
    // text with no number is 0); in lists a NULL integer keeps the default.
    harbor::direct(
        "insert into tb_device(dev_id, dev_ip, is_record, dev_port) "
        "values('dup', 'one', 'none', 1), ('dup', 'two', NULL, '');");
    out.setIsIpcRecord(5);
    ASSERT_EQ(dao.query("dup", out), 0);
    EXPECT_EQ(harbor::join(out.getDevIp(), out.getIsIpcRecord(), out.getDevPort()), "two|0|1|");
    EXPECT_EQ(dao.query().back().getIsIpcRecord(), 1);
}

TEST(DeviceRecord, KeepsPasswordsAsStandardBase64AndCopiesItsRunTimeFields) {
    DeviceTablePo po;
    const std::string nul("ab\0cd", 5);  // encoded whole, decoded up to the NUL
    po.setEncodeDevLoginPwd(nul);
    po.setEncodeNvrPwd("admin");
    EXPECT_EQ(harbor::join(po.getDevLoginPwd(), po.getDecodeDevLoginPwd(), po.getNvrPwd(),
                           po.getDecodeNvrPwd()),
              "YWIAY2Q=|ab|YWRtaW4=|admin|");
    const std::string longPassword(1000, '\x7f');  // far past any fixed buffer
    po.setEncodeNvrPwd(longPassword);
    EXPECT_TRUE(po.getNvrPwd().size() == 1336u && po.getDecodeNvrPwd() == longPassword);
    po.setDevLoginPwd("not base64!");  // the plain setters store as given
    EXPECT_EQ(po.getDecodeDevLoginPwd(), "");

    EXPECT_TRUE(po.getDevIsOnline() && po.getDevNvrIsOnline());
    set(po, &DeviceTablePo::setDevIsOnline, false, &DeviceTablePo::setDevNvrIsOnline, false,
        &DeviceTablePo::setLocalIP, "192.168.1.2");
    DeviceTablePo copied(po), assigned;
    assigned = po;
    for (DeviceTablePo* p : {&copied, &assigned}) {
        EXPECT_EQ(harbor::join(p->getDevLoginPwd(), p->getDevIsOnline(), p->getDevNvrIsOnline(),
                               p->getLocalIP()),
                  "not base64!|0|0|192.168.1.2|");
    }
}

TEST_F(Table, MqttMessageLeavesUnreadIntegersAlone) {
    using T = harbor::MqttMessageTraits;
    MqttMessageTableDao dao;
    harbor::direct("insert into tb_mqtt_message(item_id, cno) values('bare', NULL);");
    Owned<MqttMessageTablePo> all(dao.query());
    ASSERT_EQ(all.items.size(), 1u);
    EXPECT_EQ(T::columns(*all.items.back()), "bare||0|||5|");  // new records' defaults
    MqttMessageTablePo mine = T::record("x", "c", "u", "t");
    ASSERT_EQ(dao.query("bare", &mine), 0);
    EXPECT_EQ(T::columns(mine), "bare||-2147483648|||2147483647|");  // the caller's integers
    EXPECT_TRUE(dao.query("bare", nullptr) == -1 && dao.query("", &mine) == -1);
}

// Each change of the STUN address is traced, copies are not; the query maps
// every row over the last, traces when that changes the STUN address, and
// never reads the run-time fields.
TEST_F(Table, ParamTracesEachChangeOfTheStunAddressAndQueriesTheWholeTable) {
    ParamTablePo po;
    for (const std::string& value : {std::string("stun:a"), std::string(300, 'x'), std::string()}) {
        expectStunTrace(stdoutOf([&] { po.setStunServerAddr(value); }));
        EXPECT_EQ(po.getStunServerAddr(), value);
        EXPECT_EQ(stdoutOf([&] { po.setStunServerAddr(value); }), "") << "unchanged";
    }
    stdoutOf([&] { po.setStunServerAddr("stun:1"); });
    set(po, &ParamTablePo::setWanIP, "203.0.113.9", &ParamTablePo::setWanPort, 4242);
    ParamTablePo assigned;
    EXPECT_EQ(stdoutOf([&] { assigned = ParamTablePo(po); }), "") << "copies do not trace";
    EXPECT_EQ(
        harbor::join(assigned.getStunServerAddr(), assigned.getWanIP(), assigned.getWanPort()),
        "stun:1|203.0.113.9|4242|");

    harbor::direct(
        "insert into tb_param(node_id, node_type, signal_server_port, stun_server_addr) "
        "values('first', 'T1', 1, 'stun:9'), ('second', NULL, NULL, 'stun:9');"
        "update tb_param set peer_server_port = 20 where node_id = 'second';");
    ParamTableDao dao;
    set(po, &ParamTablePo::setZkdsCommPort, 99, &ParamTablePo::setWanPort, 77);
    expectStunTrace(stdoutOf([&] { EXPECT_EQ(dao.query(&po), 0); }));
    EXPECT_EQ(harbor::ParamTraits::columns(po), "second|||1||20|stun:9||||99||");
    EXPECT_EQ(po.getWanPort(), 77);
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(dao.query(&po), 0); }), "");
    EXPECT_EQ(dao.query(nullptr), -1);
}

TEST_F(Table, SipDeviceDeletesByAccountAndUpdatesByDevice) {
    using T = harbor::SipDeviceTraits;
    SipDeviceTableDao dao;
    for (auto [account, device] : {std::pair{"a", "d1"}, {"a", "d2"}, {"b", "d3"}}) {
        SipDeviceTablePo po = T::record(account, "p", "dom", "x");
        po.setDevId(device);
        ASSERT_EQ(dao.add(&po), 0);
    }
    SipDeviceTablePo moved = T::record("c", "p", "dom", "x"), key = T::record("a", "p", "d", "x");
    moved.setDevId("d3");
    ASSERT_EQ(dao.update(&moved), 0);  // finds d3 and rewrites its account too
    ASSERT_EQ(dao.del(&key), 0);       // every row of the account, whatever its device
    Owned<SipDeviceTablePo> rows(dao.query());
    ASSERT_EQ(rows.items.size(), 1u);
    EXPECT_EQ(T::columns(*rows.items.front()), "c|p|dom|x|dst2|d3|");
}

// The channel access class answers its callers without touching storage:
// "harbor.db" is never opened, and the record is only read.
TEST_F(Table, ChannelAnswersWithoutTouchingStorage) {
    harbor::removeDatabase();
    ChannelTablePo po;
    set(po, &ChannelTablePo::setChannelId, "O'Brien", &ChannelTablePo::setDevId, "d",
        &ChannelTablePo::setEquipType, "ipc", &ChannelTablePo::setChannelNo, 3,
        &ChannelTablePo::setChannelName, "n", &ChannelTablePo::setChannelStatus, "on",
        &ChannelTablePo::setUpdateFlag, "1", &ChannelTablePo::setLastAccessTime, 1700000000);
    ChannelTableDao dao, other(dao);
    other = dao;
    EXPECT_TRUE(dao.add(nullptr) == -1 && dao.del(nullptr) == -1 && dao.update(nullptr) == -1);
    EXPECT_TRUE(other.add(&po) == 0 && other.update(&po) == 0 && other.del(&po) == 0);
    EXPECT_TRUE(dao.query("d").empty());
    EXPECT_EQ(harbor::join(po.getChannelId(), po.getDevId(), po.getEquipType(), po.getChannelNo(),
                           po.getChannelName(), po.getChannelStatus(), po.getUpdateFlag(),
                           po.getLastAccessTime()),
              "O'Brien|d|ipc|3|n|on|1|1700000000|");
    EXPECT_FALSE(databaseFileExists());
}
