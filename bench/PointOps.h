#ifndef ZKDB_BENCH_POINTOPS_H
#define ZKDB_BENCH_POINTOPS_H

// The point operations measured: one access object and one record each,
// made before timing and reused by every iteration as a host would. Each
// addresses row 50 of a table loaded with kPointRows rows.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "HarborBench.h"
#include "ZkDb/tables/DeviceStateDao.h"
#include "ZkDb/tables/DeviceTableDao.h"
#include "ZkDb/tables/MqttMessageTableDao.h"

namespace harbor_bench {

inline Layout pointLayout() { return Layout{kPointRows, kPointRows, kPointRows}; }

inline DeviceStatePo stateRecord() {
    DeviceStatePo po;
    po.setDeviceId("dev-00050");
    po.setMediaId("media-00050");
    po.setProductType("IPC-HFW2431T-ZS");
    po.setIsOnline(1);
    return po;
}

// Row 50 of the generated device table.
inline DeviceTablePo deviceRecord() {
    DeviceTablePo po;
    po.setDevId("dev-00050");
    po.setDevType("IPC");
    po.setDevIp("192.168.0.51");
    po.setDevPort(8000);
    po.setPluginName("ONVIF");
    po.setDevLoginUser("admin");
    po.setDevLoginPwd("YWRtaW4xMjM0NQ==");
    po.setDevStatus("normal");
    po.setChannelNum(1);
    po.setChannelStartNo(0);
    po.setEquipType("IPCamera");
    po.setUpdateFlag("0");
    po.setMainRtspUri("rtsp://192.168.0.51:554/Streaming/Channels/101");
    po.setSubRtspUri("rtsp://192.168.0.51:554/Streaming/Channels/102");
    po.setMacAddr("00:1a:2b:00:00:32");
    po.setDevMfrs("maker");
    po.setDevInter(0);
    po.setSipServerIP("10.10.0.1");
    po.setSipServerPort(5060);
    po.setSipAccount("34020000001320000050");
    po.setSipPwd("12345678");
    po.setDevEdition("V5.6.3 build 190923");
    po.setIsUseNvr(1);
    po.setNvrIP("192.168.0.250");
    po.setNvrPort(8000);
    po.setNvrUserName("admin");
    po.setNvrPwd("bnZyYWRtaW4=");
    po.setIpcChannel(19);
    po.setIsIpcRecord(1);
    po.setIpcRecordStream(0);
    po.setSnapshotUrl("http://192.168.0.51/ISAPI/Streaming/channels/101/picture");
    return po;
}

struct DeviceStateAdd {
    static constexpr bool kWrites = true;
    static constexpr int kCycle = 1;
    DeviceStateDao dao;
    DeviceStatePo po = stateRecord();
    int operator()() { return dao.add(&po); }
};

// An update that writes what the row holds already changes no page, and
// SQLite then skips the journal and the sync; so the updates alternate
// between two values of one column, and every one of them writes.
struct DeviceStateUpdate {
    static constexpr bool kWrites = true;
    static constexpr int kCycle = 2;
    DeviceStateDao dao;
    DeviceStatePo po[kCycle] = {stateRecord(), stateRecord()};
    int next = 0;
    DeviceStateUpdate() { po[1].setIsOnline(0); }
    int operator()() { return dao.update(&po[next++ % kCycle]); }
};

struct DeviceStateQuery {
    static constexpr bool kWrites = false;
    static constexpr int kCycle = 1;
    DeviceStateDao dao;
    DeviceStatePo po;
    std::string mediaId = "media-00050";
    int operator()() { return dao.query(mediaId, po); }
};

struct DeviceAdd {
    static constexpr bool kWrites = true;
    static constexpr int kCycle = 1;
    DeviceTableDao dao;
    DeviceTablePo po = deviceRecord();
    int operator()() { return dao.add(&po); }
};

struct DeviceUpdate {
    static constexpr bool kWrites = true;
    static constexpr int kCycle = 2;
    DeviceTableDao dao;
    DeviceTablePo po[kCycle] = {deviceRecord(), deviceRecord()};
    int next = 0;
    DeviceUpdate() { po[1].setChannelNum(2); }
    int operator()() { return dao.update(&po[next++ % kCycle]); }
};

struct DeviceQuery {
    static constexpr bool kWrites = false;
    static constexpr int kCycle = 1;
    DeviceTableDao dao;
    DeviceTablePo po;
    std::string devId = "dev-00050";
    int operator()() { return dao.query(devId, po); }
};

struct MqttMessageQuery {
    static constexpr bool kWrites = false;
    static constexpr int kCycle = 1;
    MqttMessageTableDao dao;
    MqttMessageTablePo po;
    std::string itemId = "item-00050";
    int operator()() { return dao.query(itemId, &po); }
};

/// The statements that operation Op sends to SQLite in one cycle (one per
/// call), captured from the library itself once per program run.
template <class Op>
const std::vector<std::string>& statementsOf() {
    static const std::vector<std::string> statements = [] {
        load(pointLayout());
        std::vector<std::string> texts = captureStatements([] {
            Op op;
            for (int i = 0; i < Op::kCycle; ++i) op();
        });
        touched();
        if (texts.size() != static_cast<std::size_t>(Op::kCycle)) {
            std::fprintf(stderr, "zkdb_bench: expected %d statement(s) from the library, saw %zu\n",
                         Op::kCycle, texts.size());
            std::exit(2);
        }
        return texts;
    }();
    return statements;
}

/// Hands out the statements of one cycle in turn.
class StatementCycle {
public:
    explicit StatementCycle(const std::vector<std::string>& statements)
        : m_statements(statements) {}
    const std::string& next() {
        const std::string& text = m_statements[m_next];
        m_next = (m_next + 1) % m_statements.size();
        return text;
    }

private:
    const std::vector<std::string>& m_statements;
    std::size_t m_next = 0;
};

}  // namespace harbor_bench

#endif  // ZKDB_BENCH_POINTOPS_H
