// Several threads, each with its own access objects, add, update, delete and
// read devices and device states at once on one "harbor.db".
// SQLite's file locking without a busy time-out makes some operations fail;
// afterwards the tables must hold exactly what the operations that reported
// success imply: no lost write, no write reported as failed that landed
// anyway, nothing duplicated, nothing half-written. Reads made during the
// run must show a thread's own rows exactly as its successful writes left
// them.
//
// Every thread works on keys of its own, so its model of its rows is exact.
// The run is bounded by operation counts, with a deadline that ends it
// early rather than letting a broken build hang.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/StorageProbe.h"
#include "support/TableChecks.h"

namespace {

constexpr int kThreads = 4;
constexpr int kOperationsPerThread = 200;
constexpr auto kDeadline = std::chrono::seconds(60);

// What a thread expects of one row, as the table's columns read as text.
using Row = std::map<std::string, std::string>;

struct Tally {
    int writes = 0;
    int failedWrites = 0;
    int reads = 0;
    int failedReads = 0;
};

/// One thread's access objects, its rows as its successful writes left
/// them, and what it saw.
class Worker {
public:
    explicit Worker(int index) : m_prefix("t" + std::to_string(index) + "-"), m_random(index) {}

    void run(probe::StartLine& start, std::chrono::steady_clock::time_point deadline) {
        if (!start.arrive()) m_errors.push_back("start line timed out");
        for (int i = 0; i < kOperationsPerThread; ++i) {
            if (std::chrono::steady_clock::now() > deadline) {
                m_errors.push_back("deadline reached after " + std::to_string(i) + " operations");
                return;
            }
            step();
        }
    }

    const std::string& prefix() const { return m_prefix; }
    const std::map<std::string, Row>& devices() const { return m_devices; }
    const std::map<std::string, Row>& states() const { return m_states; }
    const std::vector<std::string>& errors() const { return m_errors; }
    const Tally& tally() const { return m_tally; }

private:
    void step() {
        switch (m_random() % 8) {
            case 0:
            case 1:
                return addDevice();
            case 2:
                return changeDevice();
            case 3:
                return readDevice();
            case 4:
            case 5:
                return addState();
            case 6:
                return changeState();
            default:
                return readStates();
        }
    }

    void write(int result, const char* what) {
        ++m_tally.writes;
        if (result == 0) return;
        ++m_tally.failedWrites;
        if (result != -1) m_errors.push_back(std::string(what) + " returned an unknown code");
    }

    bool wrote(int result, const char* what) {
        write(result, what);
        return result == 0;
    }

    void read(bool failed) {
        ++m_tally.reads;
        if (failed) ++m_tally.failedReads;
    }

    // A key this thread already wrote successfully, or empty.
    template <class Map>
    std::string someKey(const Map& rows) {
        if (rows.empty()) return std::string();
        auto it = rows.begin();
        std::advance(it, static_cast<long>(m_random() % rows.size()));
        return it->first;
    }

    std::string number() { return std::to_string(static_cast<int>(m_random() % 100000) - 50000); }

    // --- devices: del marks a row "delete", update restores what it carries

    DeviceTablePo device(const std::string& id, const Row& row) {
        DeviceTablePo po;
        po.setDevId(id);
        po.setDevType("IPC");
        po.setDevIp(row.at("dev_ip"));
        po.setDevPort(std::stoi(row.at("dev_port")));
        po.setEncodeDevLoginPwd(row.at("plain_pwd"));
        po.setDevStatus(row.at("dev_status"));
        return po;
    }

    Row deviceRow(const std::string& id) {
        return Row{{"dev_ip", "10.0." + id},
                   {"dev_port", number()},
                   {"plain_pwd", "pw'" + number()},
                   {"dev_status", "normal"}};
    }

    void addDevice() {
        const std::string id = m_prefix + "d" + std::to_string(m_next++);
        const Row row = deviceRow(id);
        DeviceTablePo po = device(id, row);
        if (wrote(m_deviceDao.add(&po), "device add")) m_devices[id] = row;
    }

    void changeDevice() {
        const std::string id = someKey(m_devices);
        if (id.empty()) return addDevice();
        if (m_random() % 2 == 0) {
            DeviceTablePo po;
            po.setDevId(id);
            if (wrote(m_deviceDao.del(&po), "device del")) m_devices[id]["dev_status"] = "delete";
        } else {
            const Row row = deviceRow(id);
            DeviceTablePo po = device(id, row);
            if (wrote(m_deviceDao.update(&po), "device update")) m_devices[id] = row;
        }
    }

    void readDevice() {
        const std::string id = someKey(m_devices);
        if (id.empty()) return;
        DeviceTablePo po;
        const int result = m_deviceDao.query(id, po);
        read(result != 0);
        if (result != 0) return;
        const Row& row = m_devices.at(id);
        if (po.getDevIp() != row.at("dev_ip") || po.getDevPort() != std::stoi(row.at("dev_port")) ||
            po.getDecodeDevLoginPwd() != row.at("plain_pwd") ||
            po.getDevStatus() != row.at("dev_status")) {
            m_errors.push_back("device " + id + " read back differently during the run");
        }
    }

    // --- device states: del removes the row

    void addState() {
        const std::string id = m_prefix + "s" + std::to_string(m_next++);
        DeviceStatePo po;
        po.setDeviceId(id);
        po.setMediaId("media-" + id);
        po.setIsOnline(static_cast<int>(m_random() % 2));
        if (wrote(m_stateDao.add(&po), "state add")) {
            m_states[id] = Row{{"media_id", po.getMediaId()},
                               {"product_type", po.getProductType()},
                               {"is_online", std::to_string(po.getIsOnline())}};
        }
    }

    void changeState() {
        const std::string id = someKey(m_states);
        if (id.empty()) return addState();
        DeviceStatePo po;
        po.setDeviceId(id);
        if (m_random() % 2 == 0) {
            if (wrote(m_stateDao.del(&po), "state del")) m_states.erase(id);
        } else {
            po.setMediaId(m_states[id]["media_id"]);
            po.setProductType("GB" + number());
            po.setIsOnline(static_cast<int>(m_random() % 2));
            if (wrote(m_stateDao.update(&po), "state update")) {
                m_states[id]["product_type"] = po.getProductType();
                m_states[id]["is_online"] = std::to_string(po.getIsOnline());
            }
        }
    }

    void readStates() {
        harbor::OwnedRecords<DeviceStatePo> all(m_stateDao.query());
        std::map<std::string, Row> mine;
        for (DeviceStatePo* po : all.items) {
            const std::string id = po->getDeviceId();
            if (id.compare(0, m_prefix.size(), m_prefix) != 0) continue;
            if (mine.count(id) != 0) m_errors.push_back("state " + id + " read twice");
            mine[id] = Row{{"media_id", po->getMediaId()},
                           {"product_type", po->getProductType()},
                           {"is_online", std::to_string(po->getIsOnline())}};
        }
        // An empty list is a failed read unless this thread has no rows; a
        // list read at all is a consistent snapshot.
        const bool failed = all.items.empty() && !m_states.empty();
        read(failed);
        if (!failed && mine != m_states) {
            m_errors.push_back("states read during the run differ from the writes made");
        }
    }

    const std::string m_prefix;
    std::minstd_rand m_random;
    int m_next = 0;
    DeviceTableDao m_deviceDao;
    DeviceStateDao m_stateDao;
    std::map<std::string, Row> m_devices;
    std::map<std::string, Row> m_states;
    std::vector<std::string> m_errors;
    Tally m_tally;
};

/// The rows of `sql`, keyed by `key`, with the columns other than the key;
/// a key stored twice is reported.
std::map<std::string, Row> storedRows(const std::string& sql, const std::string& key) {
    std::map<std::string, Row> rows;
    for (Row row : harbor::direct(sql)) {
        const std::string id = row[key];
        row.erase(key);
        EXPECT_EQ(rows.count(id), 0u) << "row " << id << " stored twice";
        rows[id] = row;
    }
    return rows;
}

double percent(int part, int whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

class Load : public harbor::SchemaTest {};

}  // namespace

TEST_F(Load, ConcurrentAccessLosesAndInventsNothing) {
    std::vector<std::unique_ptr<Worker>> workers;
    for (int i = 0; i < kThreads; ++i) workers.push_back(std::make_unique<Worker>(i));
    probe::StartLine start(kThreads);
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    std::vector<std::thread> threads;
    for (auto& worker : workers) {
        threads.emplace_back([&start, deadline, w = worker.get()] { w->run(start, deadline); });
    }
    for (std::thread& thread : threads) thread.join();

    // What the successful writes imply, every thread together. Passwords
    // are stored in their base64 form, which a record decodes.
    std::map<std::string, Row> devices;
    std::map<std::string, Row> states;
    Tally total;
    for (const auto& worker : workers) {
        for (const std::string& error : worker->errors())
            ADD_FAILURE() << worker->prefix() << error;
        devices.insert(worker->devices().begin(), worker->devices().end());
        states.insert(worker->states().begin(), worker->states().end());
        total.writes += worker->tally().writes;
        total.failedWrites += worker->tally().failedWrites;
        total.reads += worker->tally().reads;
        total.failedReads += worker->tally().failedReads;
    }

    std::map<std::string, Row> storedDevices;
    for (const auto& entry :
         storedRows("select dev_id, dev_ip, dev_port, dev_login_pwd, dev_status from tb_device;",
                    "dev_id")) {
        DeviceTablePo po;
        po.setDevLoginPwd(entry.second.at("dev_login_pwd"));
        storedDevices[entry.first] = Row{{"dev_ip", entry.second.at("dev_ip")},
                                         {"dev_port", entry.second.at("dev_port")},
                                         {"plain_pwd", po.getDecodeDevLoginPwd()},
                                         {"dev_status", entry.second.at("dev_status")}};
    }
    EXPECT_EQ(storedDevices, devices);
    EXPECT_EQ(storedRows("select device_id, media_id, product_type, is_online "
                         "from tb_device_state;",
                         "device_id"),
              states);

    // Some of everything got through.
    EXPECT_GT(total.writes - total.failedWrites, 0);
    EXPECT_FALSE(devices.empty() && states.empty());

    std::printf(
        "load: %d threads, %d writes (%.1f%% failed on a lock), %d reads (%.1f%% failed on a "
        "lock); rows left: %zu devices, %zu states\n",
        kThreads, total.writes, percent(total.failedWrites, total.writes), total.reads,
        percent(total.failedReads, total.reads), devices.size(), states.size());
    RecordProperty("writes", total.writes);
    RecordProperty("writes_failed_on_lock", total.failedWrites);
    RecordProperty("reads", total.reads);
    RecordProperty("reads_failed_on_lock", total.failedReads);
}
