#ifndef ZKDB_TESTS_TABLECHECKS_H
#define ZKDB_TESTS_TABLECHECKS_H

// Checks shared by the tests of the table access classes: ownership of the
// records that list queries hand over, whether "harbor.db" was ever opened,
// the exact statements that reached SQLite, and one traits struct per stored
// table through which the behaviours every table shares are tested once.

#include <gtest/gtest.h>

#include <filesystem>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"

namespace harbor {

/// Deletes every record of `items` when it goes out of scope.
template <class Po>
struct OwnedRecords {
    std::list<Po*> items;

    OwnedRecords() = default;
    explicit OwnedRecords(std::list<Po*> list) : items(std::move(list)) {}
    OwnedRecords(const OwnedRecords&) = delete;
    OwnedRecords& operator=(const OwnedRecords&) = delete;
    ~OwnedRecords() {
        for (Po* record : items) delete record;
    }
};

/// True once anything has opened (and so created) "harbor.db". An access
/// object opens the file at every operation that gets past its argument
/// checks, so in a HomeTest a missing file shows that none did.
inline bool databaseFileExists() { return std::filesystem::exists(databasePath()); }

/// Expects the statement log to hold exactly `expected`, in order, each
/// compared with its white space squeezed.
inline void expectStatements(const std::vector<std::string>& expected) {
    const std::vector<std::string> seen = statements();
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen[i], squeeze(expected[i])) << "statement " << i;
    }
}

inline std::string field(const std::string& text) { return text; }
inline std::string field(int number) { return std::to_string(number); }

/// The fields joined with '|', so that a mismatch shows which one differs.
template <class... Fields>
std::string join(const Fields&... fields) {
    std::string joined;
    ((joined += field(fields) + "|"), ...);
    return joined;
}

// Each traits struct names the access and record classes of one table and
// gives: record(key, a, b, c), a record stored under `key` whose text
// columns carry a, b and c; columns(), every stored field of a record;
// find(), the table's own look-up of the record stored under the keys of
// `like`; and kDefaults, the columns of a default-constructed record.

struct DeviceStateTraits {
    using Dao = DeviceStateDao;
    using Po = DeviceStatePo;
    static constexpr const char* kTable = "tb_device_state";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "||ONVIF|0|";

    static Po record(const std::string& key, const std::string& a, const std::string& b,
                     const std::string& /*c: no column*/) {
        Po po;
        po.setDeviceId(key);
        po.setMediaId(a);
        po.setProductType(b);
        po.setIsOnline(-7);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getDeviceId(), p.getMediaId(), p.getProductType(), p.getIsOnline());
    }
    static bool find(Dao& dao, Po like, Po& out) {
        return dao.query(like.getMediaId(), out) == 0 && out.getDeviceId() == like.getDeviceId();
    }
    static void expectNullQueriesRefused(Dao& dao) {
        Po out;
        EXPECT_EQ(dao.query("", out), -1);
        std::list<Po*> list;
        dao.query(nullptr, list);
        EXPECT_TRUE(list.empty());
    }
};

struct DeviceTraits {
    using Dao = DeviceTableDao;
    using Po = DeviceTablePo;
    static constexpr const char* kTable = "tb_device";
    static constexpr bool kDelRemovesRows = false;  // del marks the row "delete"
    static constexpr const char* kDefaults = "|||0|||||0|0||||||||0||0||||0||0|||0|1|0|";

    static Po record(const std::string& key, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        po.setDevId(key);
        po.setDevType("IPC");
        po.setDevIp("10.0.0.7");
        po.setDevPort(8000);
        po.setPluginName(a);
        po.setDevMfrs(b);
        po.setSipPwd(c);
        po.setEncodeDevLoginPwd(a);
        po.setDevStatus("normal");
        po.setIsIpcRecord(0);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getDevId(), p.getDevType(), p.getDevIp(), p.getDevPort(), p.getPluginName(),
                    p.getDevLoginUser(), p.getDevLoginPwd(), p.getDevStatus(), p.getChannelNum(),
                    p.getChannelStartNo(), p.getEquipType(), p.getUpdateFlag(), p.getMainRtspUri(),
                    p.getSubRtspUri(), p.getSnapshotUrl(), p.getMacAddr(), p.getDevMfrs(),
                    p.getDevInter(), p.getSipServerIP(), p.getSipServerPort(), p.getSipAccount(),
                    p.getSipPwd(), p.getDevEdition(), p.getIsUseNvr(), p.getNvrIP(), p.getNvrPort(),
                    p.getNvrUserName(), p.getNvrPwd(), p.getIpcChannel(), p.getIsIpcRecord(),
                    p.getIpcRecordStream());
    }
    static bool find(Dao& dao, Po like, Po& out) { return dao.query(like.getDevId(), out) == 0; }
    static void expectNullQueriesRefused(Dao& dao) {
        Po out;
        EXPECT_EQ(dao.query("", out), -1);
    }
};

struct MqttMessageTraits {
    using Dao = MqttMessageTableDao;
    using Po = MqttMessageTablePo;
    static constexpr const char* kTable = "tb_mqtt_message";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "||0|||5|";  // the repeat counter starts at 5

    static Po record(const std::string& key, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        po.setItemId(key);
        po.setCno(a);
        po.setCode(-2147483647 - 1);
        po.setUrl(b);
        po.setType(c);
        po.setArqTimes(2147483647);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getItemId(), p.getCno(), p.getCode(), p.getUrl(), p.getType(),
                    p.getArqTimes());
    }
    static bool find(Dao& dao, Po like, Po& out) { return dao.query(like.getItemId(), &out) == 0; }
    static void expectNullQueriesRefused(Dao& dao) {
        Po out;
        EXPECT_EQ(dao.query("", &out), -1);
        EXPECT_EQ(dao.query("m", nullptr), -1);
        std::list<Po*> list;
        dao.query(nullptr, list);
        EXPECT_TRUE(list.empty());
    }
};

struct ParamTraits {
    using Dao = ParamTableDao;
    using Po = ParamTablePo;
    static constexpr const char* kTable = "tb_param";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "|||0||0|||||0||";

    static Po record(const std::string& key, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        po.setNodeId(key);
        po.setNodeType(c);
        po.setSignalServerIP("10.0.0.1");
        po.setSignalServerPort(5060);
        po.setPeerServerIP("10.0.0.2");
        po.setPeerServerPort(-7);
        po.setTurnServerAddr(a);
        po.setTurnServerUser(b);
        po.setTurnServerPwd("secret");
        po.setZkdsCommPort(9000);
        po.setAccountId(a);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getNodeId(), p.getNodeType(), p.getSignalServerIP(), p.getSignalServerPort(),
                    p.getPeerServerIP(), p.getPeerServerPort(), p.getStunServerAddr(),
                    p.getTurnServerAddr(), p.getTurnServerUser(), p.getTurnServerPwd(),
                    p.getZkdsCommPort(), p.getAccountId());
    }
    // The table is read whole, every row over the last: the record found is
    // the one stored last.
    static bool find(Dao& dao, Po like, Po& out) {
        return dao.query(&out) == 0 && out.getNodeId() == like.getNodeId();
    }
    static void expectNullQueriesRefused(Dao& dao) { EXPECT_EQ(dao.query(nullptr), -1); }
};

struct SipDeviceTraits {
    using Dao = SipDeviceTableDao;
    using Po = SipDeviceTablePo;
    static constexpr const char* kTable = "tb_sip_device";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "||||||";

    static Po record(const std::string& key, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        po.setSipAccount(key);
        po.setSipPwd(a);
        po.setSipDomain(b);
        po.setSipDstAccount1(c);
        po.setSipDstAccount2(c);
        po.setDevId("dev'" + key);  // update keys on the device
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getSipAccount(), p.getSipPwd(), p.getSipDomain(), p.getSipDstAccount1(),
                    p.getSipDstAccount2(), p.getDevId());
    }
    // Only the whole table can be listed.
    static bool find(Dao& dao, Po like, Po& out) {
        OwnedRecords<Po> all(dao.query());
        for (Po* po : all.items) {
            if (po->getSipAccount() == like.getSipAccount()) {
                out = *po;
                return true;
            }
        }
        return false;
    }
    static void expectNullQueriesRefused(Dao&) {}
};

}  // namespace harbor

#endif  // ZKDB_TESTS_TABLECHECKS_H
