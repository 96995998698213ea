#ifndef ZKDB_TESTS_TABLES_H
#define ZKDB_TESTS_TABLES_H

// One traits struct per stored table, through which the behaviours every
// table shares are tested once. Each gives: record(key, a, b, c), a record
// stored under `key` with every stored column set, the texts a, b and c among
// them; kRecord, what columns() reads from record("k", "a", "b", "c"), as
// literal text; columns(), every stored field of a record joined with '|';
// kDefaults, the columns of a default-constructed record; find(), the
// table's own look-up of the record stored under the keys of `like`.

#include <initializer_list>
#include <string>
#include <utility>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"

namespace harbor {

inline std::string field(const std::string& text) { return text; }
inline std::string field(int number) { return std::to_string(number); }

template <class... Fields>
std::string join(const Fields&... fields) {
    std::string joined;
    ((joined += field(fields) + "|"), ...);
    return joined;
}

// Sets fields through their setters: set(po, &Po::setA, a, &Po::setB, b, ...).
template <class Po>
void set(Po&) {}
template <class Po, class Setter, class Value, class... Rest>
void set(Po& po, Setter setter, const Value& value, const Rest&... rest) {
    (po.*setter)(value);
    set(po, rest...);
}

struct DeviceStateTraits {
    using Dao = DeviceStateDao;
    using Po = DeviceStatePo;
    static constexpr const char* kTable = "tb_device_state";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "||ONVIF|0|";
    static constexpr const char* kRecord = "k|a|b|-7|";

    static Po record(const std::string& k, const std::string& a, const std::string& b,
                     const std::string& /*c: no column left*/) {
        Po po;
        set(po, &Po::setDeviceId, k, &Po::setMediaId, a, &Po::setProductType, b, &Po::setIsOnline,
            -7);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getDeviceId(), p.getMediaId(), p.getProductType(), p.getIsOnline());
    }
    static bool find(Dao& dao, Po like, Po& out) {
        return dao.query(like.getMediaId(), out) == 0 && out.getDeviceId() == like.getDeviceId();
    }
};

struct DeviceTraits {
    using Dao = DeviceTableDao;
    using Po = DeviceTablePo;
    static constexpr const char* kTable = "tb_device";
    static constexpr bool kDelRemovesRows = false;  // del marks the row "delete"
    static constexpr const char* kDefaults = "|||0|||||0|0||||||||0||0||||0||0|||0|1|0|";
    static constexpr const char* kRecord =
        "k|IPC|10.0.0.7|8000|a|admin|YQ==|normal|4|1|b|u|rtsp://m|rtsp://s|http://p|00:11|c|2|"
        "10.0.0.1|5060|3402|c|v2|1|10.0.0.9|37777|nvr|bnZy|3|0|5|";

    static Po record(const std::string& k, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        set(po, &Po::setDevId, k, &Po::setDevType, "IPC", &Po::setDevIp, "10.0.0.7",
            &Po::setPluginName, a, &Po::setDevLoginUser, "admin", &Po::setEncodeDevLoginPwd, a,
            &Po::setDevStatus, "normal", &Po::setEquipType, b, &Po::setUpdateFlag, "u",
            &Po::setMainRtspUri, "rtsp://m", &Po::setSubRtspUri, "rtsp://s", &Po::setSnapshotUrl,
            "http://p", &Po::setMacAddr, "00:11", &Po::setDevMfrs, c, &Po::setSipServerIP,
            "10.0.0.1", &Po::setSipAccount, "3402", &Po::setSipPwd, c, &Po::setDevEdition, "v2",
            &Po::setNvrIP, "10.0.0.9", &Po::setNvrUserName, "nvr", &Po::setEncodeNvrPwd, "nvr",
            &Po::setDevPort, 8000, &Po::setChannelNum, 4, &Po::setChannelStartNo, 1,
            &Po::setDevInter, 2, &Po::setSipServerPort, 5060, &Po::setIsUseNvr, 1, &Po::setNvrPort,
            37777, &Po::setIpcChannel, 3, &Po::setIsIpcRecord, 0, &Po::setIpcRecordStream, 5);
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
};

struct MqttMessageTraits {
    using Dao = MqttMessageTableDao;
    using Po = MqttMessageTablePo;
    static constexpr const char* kTable = "tb_mqtt_message";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "||0|||5|";  // the repeat counter starts at 5
    static constexpr const char* kRecord = "k|a|-2147483648|b|c|2147483647|";

    static Po record(const std::string& k, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        set(po, &Po::setItemId, k, &Po::setCno, a, &Po::setUrl, b, &Po::setType, c, &Po::setCode,
            -2147483647 - 1, &Po::setArqTimes, 2147483647);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getItemId(), p.getCno(), p.getCode(), p.getUrl(), p.getType(),
                    p.getArqTimes());
    }
    static bool find(Dao& dao, Po like, Po& out) { return dao.query(like.getItemId(), &out) == 0; }
};

struct ParamTraits {
    using Dao = ParamTableDao;
    using Po = ParamTablePo;
    static constexpr const char* kTable = "tb_param";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "|||0||0|||||0||";
    // The STUN address, whose setter traces, is left to the table's own test.
    static constexpr const char* kRecord = "k|c|10.0.0.1|5060|10.0.0.2|-7||a|b|secret|9000|acct|";

    static Po record(const std::string& k, const std::string& a, const std::string& b,
                     const std::string& c) {
        Po po;
        set(po, &Po::setNodeId, k, &Po::setNodeType, c, &Po::setSignalServerIP, "10.0.0.1",
            &Po::setPeerServerIP, "10.0.0.2", &Po::setTurnServerAddr, a, &Po::setTurnServerUser, b,
            &Po::setTurnServerPwd, "secret", &Po::setAccountId, "acct", &Po::setSignalServerPort,
            5060, &Po::setPeerServerPort, -7, &Po::setZkdsCommPort, 9000);
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
};

struct SipDeviceTraits {
    using Dao = SipDeviceTableDao;
    using Po = SipDeviceTablePo;
    static constexpr const char* kTable = "tb_sip_device";
    static constexpr bool kDelRemovesRows = true;
    static constexpr const char* kDefaults = "||||||";
    static constexpr const char* kRecord = "k|a|b|c|dst2|dev'k|";

    static Po record(const std::string& k, const std::string& a, const std::string& b,
                     const std::string& c) {
        // update keys on the device
        Po po;
        set(po, &Po::setSipAccount, k, &Po::setSipPwd, a, &Po::setSipDomain, b,
            &Po::setSipDstAccount1, c, &Po::setSipDstAccount2, "dst2", &Po::setDevId, "dev'" + k);
        return po;
    }
    static std::string columns(Po p) {
        return join(p.getSipAccount(), p.getSipPwd(), p.getSipDomain(), p.getSipDstAccount1(),
                    p.getSipDstAccount2(), p.getDevId());
    }
    // Only the whole table can be listed: the last record of the account.
    static bool find(Dao& dao, Po like, Po& out) {
        OwnedRecords<Po> all(dao.query());
        bool found = false;
        for (Po* po : all.items) {
            if (po->getSipAccount() == like.getSipAccount()) out = *po, found = true;
        }
        return found;
    }
};

}  // namespace harbor

#endif  // ZKDB_TESTS_TABLES_H
