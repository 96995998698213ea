// harbor_host: a small video device management host built on ZkDb.
//
// It does what a real host does with the library, at start-up and during a
// working day:
//
//   start-up   checks that it ships its SQLite library beside itself (ZkDb
//              keeps "harbor.db" beside the SQLite library it loaded),
//              creates the tables from the reference schema through the
//              library's database interface, and counts its own runs;
//   working    stores the node's parameters, registers cameras with
//              encoded passwords and their SIP identities, records who is
//              online, marks a device deleted and restores it, queues MQTT
//              messages and counts down their repeat counters;
//   report     prints the inventory as a table.
//
// Everything is kept in "harbor.db", so a second run finds what the first
// one stored: the run number goes up, cameras are updated instead of added,
// and queued messages keep counting down.

#include <ZkDb/ZkDb.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "HarborSchema.h"
#include "HostDirectory.h"

namespace {

// ---------------------------------------------------------------------------
// Small helpers of the host.

/// Counts failed steps; the host goes on after a failure and exits with 1.
class Outcome {
public:
    /// A step that answers true or false (SQLiteHelper, SQLitePool, checks).
    bool check(bool ok, const std::string& what) {
        if (!ok) {
            ++m_failures;
            std::cerr << "error: " << what << " failed\n";
        }
        return ok;
    }
    /// A step that answers with a ZkDb result code: 0 for success.
    bool code(int result, const std::string& what) {
        return check(result == 0, what + " (result " + std::to_string(result) + ")");
    }
    int exitCode() const { return m_failures == 0 ? 0 : 1; }

private:
    int m_failures = 0;
};

/// List queries hand their records to the caller, who deletes them. This
/// holder does that when it goes out of scope.
template <typename Record>
class OwnedRecords {
public:
    explicit OwnedRecords(std::list<Record*> records) : m_records(std::move(records)) {}
    ~OwnedRecords() {
        for (Record* record : m_records) delete record;
    }
    OwnedRecords(const OwnedRecords&) = delete;
    OwnedRecords& operator=(const OwnedRecords&) = delete;

    const std::list<Record*>& records() const { return m_records; }

private:
    std::list<Record*> m_records;
};

/// A text table printed with aligned columns.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header) { m_rows.push_back(std::move(header)); }
    void add(std::vector<std::string> row) { m_rows.push_back(std::move(row)); }

    void print(std::ostream& out) const {
        std::vector<std::size_t> widths;
        for (const auto& row : m_rows) {
            widths.resize(std::max(widths.size(), row.size()), 0);
            for (std::size_t i = 0; i < row.size(); ++i) {
                widths[i] = std::max(widths[i], row[i].size());
            }
        }
        auto line = [&](const std::vector<std::string>& row) {
            out << "  ";
            for (std::size_t i = 0; i < row.size(); ++i) {
                out << row[i];
                if (i + 1 < row.size()) out << std::string(widths[i] - row[i].size() + 2, ' ');
            }
            out << '\n';
        };
        line(m_rows.front());
        std::size_t total = 0;
        for (std::size_t width : widths) total += width + 2;
        out << "  " << std::string(total - 2, '-') << '\n';
        for (std::size_t i = 1; i < m_rows.size(); ++i) line(m_rows[i]);
    }

private:
    std::vector<std::vector<std::string>> m_rows;
};

void section(const std::string& title) { std::cout << '\n' << title << '\n'; }

// ---------------------------------------------------------------------------
// What the host knows about its cameras.

struct Camera {
    const char* id;
    const char* address;
    int port;
    const char* maker;
    const char* user;
    const char* password;  // plain; stored base64-encoded
    const char* sipAccount;
    const char* sipPassword;
    bool recordedByNvr;
};

const Camera kCameras[] = {
    {"cam-gate", "192.0.2.11", 80, "acme", "admin", "gate#2024", "34020000001320000011", "sip-gate",
     false},
    {"cam-dock", "192.0.2.12", 80, "acme", "admin", "dock#2024", "34020000001320000012", "sip-dock",
     false},
    {"cam-yard", "192.0.2.13", 8080, "orbit", "operator", "yard#2024", "34020000001320000013",
     "sip-yard", true},
};

const char kSipDomain[] = "3402000000";
const char kSipServer[] = "198.51.100.10";

std::string mediaIdOf(const std::string& deviceId) { return "media-" + deviceId; }

DeviceTablePo deviceRecord(const Camera& camera, int run) {
    const std::string address = camera.address;
    DeviceTablePo po;
    po.setDevId(camera.id);
    po.setDevType("IPC");
    po.setDevIp(address);
    po.setDevPort(camera.port);
    po.setDevMfrs(camera.maker);
    po.setPluginName("onvif");
    po.setDevEdition("2.4.1");
    po.setDevLoginUser(camera.user);
    po.setEncodeDevLoginPwd(camera.password);
    po.setSipServerIP(kSipServer);
    po.setSipServerPort(5060);
    po.setSipAccount(camera.sipAccount);
    po.setSipPwd(camera.sipPassword);
    po.setDevStatus("normal");
    po.setChannelNum(1);
    po.setChannelStartNo(1);
    po.setEquipType("camera");
    po.setUpdateFlag("run " + std::to_string(run));
    po.setMainRtspUri("rtsp://" + address + ":554/main");
    po.setSubRtspUri("rtsp://" + address + ":554/sub");
    po.setSnapshotUrl("http://" + address + "/snapshot.jpg");
    if (camera.recordedByNvr) {
        po.setIsUseNvr(1);
        po.setNvrIP("192.0.2.50");
        po.setNvrPort(8000);
        po.setNvrUserName("nvr-admin");
        po.setEncodeNvrPwd("nvr#pass");
        po.setIpcChannel(3);
    }
    return po;
}

// ---------------------------------------------------------------------------
// Start-up.

/// Creates the tables when they are missing: the library creates none. Only
/// ZkDb's public interface is used: the database object opens "harbor.db"
/// where the access classes will find it, and create() runs the whole text
/// of the reference schema (every statement is CREATE TABLE IF NOT EXISTS).
/// The host's own run log lives in the same file. Returns the SQLite
/// version, read through the same object, or an empty string on failure.
std::string createSchema(Outcome& outcome) {
    std::unique_ptr<DataBase> db(createDatabase());  // the caller owns it
    if (!outcome.code(db->open("harbor.db"), "opening harbor.db")) return std::string();
    const std::string sql = std::string(harbor::schemaSql()) +
                            "CREATE TABLE IF NOT EXISTS host_run (run_no INTEGER, started TEXT);";
    if (!outcome.code(db->create(sql.c_str()), "creating the tables")) return std::string();
    const ResultRows rows = db->query("SELECT sqlite_version() AS version;");
    return rows.empty() ? std::string("?") : rows.front().at("version");
}

/// Records this run in the host's run log, through a connection borrowed
/// from a pool, and returns its number (0 on failure).
int recordRun(SQLitePool& pool, Outcome& outcome) {
    SQLiteHelper* connection = pool.getConnect();  // the pool keeps ownership
    int run = 0;
    if (outcome.check(connection->openDatabase(), "opening the run log")) {
        ResultRows rows;
        const bool recorded = connection->execSql(
            "INSERT INTO host_run(run_no, started) "
            "SELECT count(*) + 1, datetime('now') FROM host_run;"
            "SELECT max(run_no) AS run FROM host_run;",
            &rows);
        if (outcome.check(recorded, "recording the run: " + connection->getLastError()) &&
            !rows.empty()) {
            run = std::atoi(rows.front()["run"].c_str());
        }
    }
    connection->closeDatabase();
    pool.returnConnect(connection);
    return run;
}

// ---------------------------------------------------------------------------
// A working day.

void storeNodeParameters(Outcome& outcome) {
    section("Node parameters (tb_param)");
    ParamTableDao params;
    ParamTablePo node;
    // Whenever a record's STUN address changes, the record writes two trace
    // lines ("s = ...", "d = ...") to standard output.
    if (params.query(&node) == 0) {
        std::cout << "  loaded the stored parameters of node " << node.getNodeId() << '\n';
    } else {
        node.setNodeId("harbor-node-1");
        node.setNodeType("edge");
        node.setSignalServerIP("198.51.100.10");
        node.setSignalServerPort(5060);
        node.setPeerServerIP("198.51.100.11");
        node.setPeerServerPort(7000);
        node.setStunServerAddr("stun:198.51.100.20:3478");
        node.setTurnServerAddr("turn:198.51.100.21:3478");
        node.setTurnServerUser("harbor");
        node.setTurnServerPwd("turn-secret");
        node.setZkdsCommPort(9100);
        node.setAccountId("acct-0001");
        if (outcome.code(params.add(&node), "storing the node parameters")) {
            std::cout << "  stored the parameters of node " << node.getNodeId() << '\n';
        }
    }
    std::cout << "  (the \"s = \" and \"d = \" lines are the record's trace of its new STUN "
                 "address)\n";
    // The WAN address is known only while the host runs; it is never stored.
    node.setWanIP("203.0.113.7");
    node.setWanPort(40000);

    auto endpoint = [](const std::string& address, int port) {
        return address + ":" + std::to_string(port);
    };
    TextTable table({"PARAMETER", "VALUE"});
    table.add({"node", node.getNodeId() + " (" + node.getNodeType() + ")"});
    table.add({"signal server", endpoint(node.getSignalServerIP(), node.getSignalServerPort())});
    table.add({"peer server", endpoint(node.getPeerServerIP(), node.getPeerServerPort())});
    table.add({"STUN", node.getStunServerAddr()});
    table.add({"TURN", node.getTurnServerAddr() + " as " + node.getTurnServerUser()});
    table.add({"comm port", std::to_string(node.getZkdsCommPort())});
    table.add({"account", node.getAccountId()});
    table.add({"WAN (not stored)", endpoint(node.getWanIP(), node.getWanPort())});
    table.print(std::cout);
}

void registerCameras(int run, Outcome& outcome) {
    section("Cameras (tb_device, tb_sip_device)");
    DeviceTableDao devices;
    SipDeviceTableDao sipDevices;
    OwnedRecords<SipDeviceTablePo> sipRows(sipDevices.query());

    for (const Camera& camera : kCameras) {
        DeviceTablePo record = deviceRecord(camera, run);
        DeviceTablePo stored;
        const bool known = devices.query(camera.id, stored) == 0;
        const std::string verb = known ? "updated" : "added";
        outcome.code(known ? devices.update(&record) : devices.add(&record),
                     std::string(verb) + " " + camera.id);

        SipDeviceTablePo sip;
        sip.setDevId(camera.id);
        sip.setSipAccount(camera.sipAccount);
        sip.setSipPwd(camera.sipPassword);
        sip.setSipDomain(kSipDomain);
        sip.setSipDstAccount1("34020000002000000001");
        const auto& rows = sipRows.records();
        const bool sipKnown = std::any_of(rows.begin(), rows.end(), [&](SipDeviceTablePo* row) {
            return row->getDevId() == camera.id;
        });
        outcome.code(sipKnown ? sipDevices.update(&sip) : sipDevices.add(&sip),
                     "SIP identity of " + std::string(camera.id));

        std::cout << "  " << verb << ' ' << camera.id << " at " << camera.address << ':'
                  << camera.port << ", login " << camera.user << " / stored password "
                  << record.getDevLoginPwd() << ", SIP " << camera.sipAccount << '\n';
    }
}

void recordOnlineStates(int run, Outcome& outcome) {
    section("Online states (tb_device_state)");
    DeviceStateDao states;
    for (const Camera& camera : kCameras) {
        // The dock camera goes offline on every second run.
        const int online = (std::string(camera.id) == "cam-dock" && run % 2 == 0) ? 0 : 1;
        DeviceStatePo state;
        const bool known = states.query(mediaIdOf(camera.id), state) == 0;
        const int before = known ? state.getIsOnline() : -1;
        state.setDeviceId(camera.id);
        state.setMediaId(mediaIdOf(camera.id));
        state.setProductType("ONVIF");
        state.setIsOnline(online);
        outcome.code(known ? states.update(&state) : states.add(&state),
                     std::string("online state of ") + camera.id);
        std::cout << "  " << camera.id << ": "
                  << (before < 0 ? std::string("first seen")
                                 : std::string(before ? "was online" : "was offline"))
                  << ", now " << (online ? "online" : "offline") << '\n';
    }
}

void deleteAndRestore(Outcome& outcome) {
    section("Maintenance: mark a device deleted, then restore it");
    DeviceTableDao devices;
    DeviceTablePo yard;
    if (!outcome.code(devices.query("cam-yard", yard), "looking up cam-yard")) return;

    outcome.code(devices.del(&yard), "marking cam-yard deleted");
    DeviceTablePo after;
    devices.query("cam-yard", after);
    std::cout << "  del(cam-yard)    -> status \"" << after.getDevStatus()
              << "\" (the row stays; queries still return it)\n";

    after.setDevStatus("normal");
    outcome.code(devices.update(&after), "restoring cam-yard");
    DeviceTablePo restored;
    devices.query("cam-yard", restored);
    std::cout << "  update(cam-yard) -> status \"" << restored.getDevStatus() << "\"\n";
}

void runMessageQueue(int run, Outcome& outcome) {
    section("MQTT queue (tb_mqtt_message)");
    MqttMessageTableDao messages;

    // Two events of this run, each to be sent up to three times.
    const std::string prefix = "run" + std::to_string(run);
    const struct {
        const char* suffix;
        const char* camera;
        const char* type;
        int code;
    } events[] = {{"-online", "cam-gate", "online", 0}, {"-motion", "cam-yard", "alarm", 17}};
    for (const auto& event : events) {
        MqttMessageTablePo message;
        message.setItemId(prefix + event.suffix);
        message.setCno(event.camera);
        message.setCode(event.code);
        message.setUrl("harbor/events/" + std::string(event.camera));
        message.setType(event.type);
        message.setArqTimes(3);
        outcome.code(messages.add(&message), "queueing " + message.getItemId());
    }

    // One delivery attempt for every queued message: the counter goes down,
    // and a message whose counter reaches 0 is given up.
    TextTable table({"ITEM", "CAMERA", "TYPE", "CODE", "TOPIC", "REPEATS LEFT"});
    OwnedRecords<MqttMessageTablePo> queued(messages.query());
    for (MqttMessageTablePo* message : queued.records()) {
        message->setArqTimes(message->getArqTimes() - 1);
        std::string left = std::to_string(message->getArqTimes());
        if (message->getArqTimes() <= 0) {
            outcome.code(messages.del(message), "dropping " + message->getItemId());
            left = "0, dropped";
        } else {
            outcome.code(messages.update(message), "counting down " + message->getItemId());
        }
        table.add({message->getItemId(), message->getCno(), message->getType(),
                   std::to_string(message->getCode()), message->getUrl(), left});
    }
    table.print(std::cout);
}

// ---------------------------------------------------------------------------
// Report.

void printInventory(Outcome& outcome) {
    section("Inventory");
    DeviceStateDao states;
    std::map<std::string, int> online;
    OwnedRecords<DeviceStatePo> stateRows(states.query());
    for (DeviceStatePo* state : stateRows.records()) {
        online[state->getDeviceId()] = state->getIsOnline();
    }
    SipDeviceTableDao sipDevices;
    std::map<std::string, std::string> sipDomain;
    OwnedRecords<SipDeviceTablePo> sipRows(sipDevices.query());
    for (SipDeviceTablePo* sip : sipRows.records()) {
        sipDomain[sip->getDevId()] = sip->getSipDomain();
    }

    DeviceTableDao devices;
    const std::list<DeviceTablePo> inventory = devices.query();  // records by value
    outcome.check(!inventory.empty(), "reading the inventory");
    TextTable table({"DEVICE", "ADDRESS", "MAKER", "LOGIN", "PASSWORD", "STATUS", "ONLINE",
                     "SIP ACCOUNT", "NVR", "UPDATED"});
    for (const DeviceTablePo& device : inventory) {
        const auto state = online.find(device.getDevId());
        table.add({device.getDevId(), device.getDevIp() + ":" + std::to_string(device.getDevPort()),
                   device.getDevMfrs(), device.getDevLoginUser(), device.getDecodeDevLoginPwd(),
                   device.getDevStatus(),
                   state == online.end() ? "?" : (state->second ? "yes" : "no"),
                   device.getSipAccount() + " (" + sipDomain[device.getDevId()] + ")",
                   device.getIsUseNvr()
                       ? device.getNvrIP() + " ch" + std::to_string(device.getIpcChannel())
                       : "-",
                   device.getUpdateFlag()});
    }
    table.print(std::cout);
}

/// Row counts of every table, through the database interface.
void printTotals(Outcome& outcome) {
    std::unique_ptr<DataBase> db(createDatabase());  // the caller owns it
    if (!outcome.code(db->open("harbor.db"), "opening harbor.db")) return;
    const ResultRows rows = db->query(
        "SELECT (SELECT count(*) FROM tb_device) AS devices,"
        " (SELECT count(*) FROM tb_sip_device) AS sip,"
        " (SELECT count(*) FROM tb_device_state) AS states,"
        " (SELECT count(*) FROM tb_mqtt_message) AS messages,"
        " (SELECT count(*) FROM tb_param) AS params;");
    if (!outcome.check(rows.size() == 1, "counting rows")) return;
    auto row = rows.front();
    std::cout << "\nRows: " << row["devices"] << " devices, " << row["sip"] << " SIP identities, "
              << row["states"] << " online states, " << row["messages"] << " queued messages, "
              << row["params"] << " node parameter row\n";
}

}  // namespace

int main(int argc, char** argv) {
    (void)argc;
    int exitCode = 0;
    if (!host::ensureShortSqlitePath(argv, exitCode)) return exitCode;

    // Start-up: the host ships its SQLite library beside itself, so that
    // "harbor.db" lands there; without it the system's SQLite would be
    // loaded and the database sought in the system's library directory.
    const std::string hostDirectory = host::executableDirectory();
    if (!std::filesystem::exists(hostDirectory + host::kSqliteLibrary)) {
        std::cerr << "error: no " << host::kSqliteLibrary << " beside the host in '"
                  << hostDirectory << "'.\n"
                  << "  Ship the SQLite library next to the executable, so that harbor.db lands "
                     "there.\n";
        return 1;
    }
    const std::string databaseFile = hostDirectory + "harbor.db";
    const bool existed = std::filesystem::exists(databaseFile);

    Outcome outcome;
    const std::string sqliteVersion = createSchema(outcome);
    if (sqliteVersion.empty()) return outcome.exitCode();
    if (!std::filesystem::exists(databaseFile)) {
        std::cerr << "error: harbor.db did not land beside the host (" << databaseFile
                  << "): the SQLite library loaded is not the one shipped there.\n";
        return 1;
    }

    int run = 0;
    {
        SQLitePool pool(databaseFile, 2, 0);  // two connections, no idle time-out
        run = recordRun(pool, outcome);
    }
    std::cout << "harbor host, run #" << run << '\n'
              << "  SQLite " << sqliteVersion << ", shipped beside the host as "
              << host::kSqliteLibrary << '\n'
              << "  database " << databaseFile
              << (existed ? " (found)" : " (new: tables created from the reference schema)")
              << '\n';

    storeNodeParameters(outcome);
    registerCameras(run, outcome);
    recordOnlineStates(run, outcome);
    deleteAndRestore(outcome);
    runMessageQueue(run, outcome);
    printInventory(outcome);
    printTotals(outcome);

    std::cout << (outcome.exitCode() == 0 ? "\nAll steps succeeded.\n"
                                          : "\nSome steps failed; see the errors above.\n");
    return outcome.exitCode();
}
