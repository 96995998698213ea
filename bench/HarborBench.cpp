#include "HarborBench.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "HarborSchema.h"
#include "PrivateHome.h"

namespace harbor_bench {
namespace {

[[noreturn]] void die(const std::string& what) {
    std::fprintf(stderr, "zkdb_bench: %s\n", what.c_str());
    std::exit(2);
}

// What load() last built; `valid` false once a benchmark may have written.
struct Loaded {
    bool valid = false;
    Layout layout;
};

Loaded& loaded() {
    static Loaded state;
    return state;
}

bool sameLayout(const Layout& a, const Layout& b) {
    return a.deviceStateRows == b.deviceStateRows && a.deviceRows == b.deviceRows &&
           a.mqttMessageRows == b.mqttMessageRows;
}

// Generated rows: row i of every table has the key "<prefix>-%05d" of i, so
// the point benchmarks address row 50 as "dev-00050", "media-00050",
// "item-00050". The values are of realistic lengths: several are longer
// than a short-string buffer.
std::string numbers(int count) {
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(count) + ") ";
}

std::string fillDeviceState(int count) {
    return numbers(count) +
           "INSERT INTO tb_device_state(device_id, media_id, product_type, is_online) "
           "SELECT printf('dev-%05d', i), printf('media-%05d', i), 'IPC-HFW2431T-ZS', i % 2 "
           "FROM n;";
}

std::string fillDevice(int count) {
    return numbers(count) +
           "INSERT INTO tb_device(dev_id, dev_type, dev_ip, dev_port, plugin_name, "
           "dev_login_user, dev_login_pwd, dev_status, channel_num, channel_start_no, "
           "equip_type, update_flag, main_rtsp_uri, sub_rtsp_uri, mac_addr, dev_mfrs, "
           "dev_inter, sip_server_ip, sip_server_port, sip_account, sip_pwd, dev_edition, "
           "is_use_nvr, nvr_ip, nvr_port, nvr_user_name, nvr_pwd, ipc_channel, is_record, "
           "record_stream, snapshot_url) "
           "SELECT printf('dev-%05d', i), CASE WHEN i % 4 = 0 THEN 'NVR' ELSE 'IPC' END, "
           "printf('192.168.%d.%d', i / 250, i % 250 + 1), 8000, 'ONVIF', 'admin', "
           "'YWRtaW4xMjM0NQ==', 'normal', 1, 0, 'IPCamera', '0', "
           "printf('rtsp://192.168.%d.%d:554/Streaming/Channels/101', i / 250, i % 250 + 1), "
           "printf('rtsp://192.168.%d.%d:554/Streaming/Channels/102', i / 250, i % 250 + 1), "
           "printf('00:1a:2b:%02x:%02x:%02x', i / 65536, i / 256 % 256, i % 256), 'maker', 0, "
           "'10.10.0.1', 5060, printf('340200000013200%05d', i), '12345678', "
           "'V5.6.3 build 190923', 1, '192.168.0.250', 8000, 'admin', 'bnZyYWRtaW4=', "
           "i % 32 + 1, 1, 0, "
           "printf('http://192.168.%d.%d/ISAPI/Streaming/channels/101/picture', i / 250, "
           "i % 250 + 1) "
           "FROM n;";
}

std::string fillMqttMessage(int count) {
    return numbers(count) +
           "INSERT INTO tb_mqtt_message(item_id, cno, code, url, type, arq_times) "
           "SELECT printf('item-%05d', i), printf('cno-%05d', i), 200, "
           "printf('https://iot.example.net/api/v1/messages/%05d', i), 'alarm', 3 FROM n;";
}

// Statement log for captureStatements(): every connection opened while
// capturing gets a trace hook through SQLite's automatic extensions.
std::mutex& captureLock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::string>& captured() {
    static std::vector<std::string> statements;
    return statements;
}

int traceStatement(unsigned type, void* /*context*/, void* statement, void* /*text*/) {
    if (type == SQLITE_TRACE_STMT) {
        const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
        std::lock_guard<std::mutex> guard(captureLock());
        captured().push_back(sql != nullptr ? sql : "");
    }
    return 0;
}

int installTrace(sqlite3* db, char** /*error*/, const sqlite3_api_routines* /*api*/) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, traceStatement, nullptr);
    return SQLITE_OK;
}

// ZKDB_BENCH_SQLITE_MEMSTATUS=0 turns off SQLite's memory statistics, and
// with them the process-wide mutex that every SQLite allocation takes,
// before SQLite is first used: how a host configures SQLite for threads.
[[maybe_unused]] const bool kMemoryStatisticsConfigured = [] {
    const char* setting = std::getenv("ZKDB_BENCH_SQLITE_MEMSTATUS");
    if (setting != nullptr && std::string(setting) == "0" &&
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) != SQLITE_OK) {
        std::fprintf(stderr, "zkdb_bench: cannot turn off SQLite's memory statistics\n");
    }
    return true;
}();

}  // namespace

std::string databasePath() { return zkdb_harness::privateHome() + "harbor.db"; }

void load(const Layout& layout) {
    Loaded& state = loaded();
    if (state.valid && sameLayout(state.layout, layout)) {
        return;
    }
    sqlite3* db = openOrDie();
    execOrDie(db,
              "DROP TABLE IF EXISTS tb_device_state; DROP TABLE IF EXISTS tb_device; "
              "DROP TABLE IF EXISTS tb_mqtt_message;");
    execOrDie(db, harbor::schemaSql());
    execOrDie(db, "BEGIN;");
    if (layout.deviceStateRows > 0) execOrDie(db, fillDeviceState(layout.deviceStateRows).c_str());
    if (layout.deviceRows > 0) execOrDie(db, fillDevice(layout.deviceRows).c_str());
    if (layout.mqttMessageRows > 0) execOrDie(db, fillMqttMessage(layout.mqttMessageRows).c_str());
    execOrDie(db, "COMMIT; VACUUM;");
    sqlite3_close(db);
    state.valid = true;
    state.layout = layout;
}

void touched() { loaded().valid = false; }

std::vector<std::string> captureStatements(const std::function<void()>& operation) {
    {
        std::lock_guard<std::mutex> guard(captureLock());
        captured().clear();
    }
    using Entry = void (*)();
    sqlite3_auto_extension(reinterpret_cast<Entry>(&installTrace));
    operation();
    sqlite3_cancel_auto_extension(reinterpret_cast<Entry>(&installTrace));
    std::lock_guard<std::mutex> guard(captureLock());
    return captured();
}

std::string captureStatement(const std::function<void()>& operation) {
    const std::vector<std::string> statements = captureStatements(operation);
    if (statements.size() != 1) {
        die("expected one statement from the library, saw " + std::to_string(statements.size()));
    }
    return statements.front();
}

int collectRow(void* context, int columnCount, char** values, char** names) {
    auto* rows = static_cast<ResultRows*>(context);
    std::map<std::string, std::string> row;
    for (int i = 0; i < columnCount; ++i) {
        if (values[i] != nullptr) row[names[i]] = values[i];
    }
    rows->push_back(std::move(row));
    return 0;
}

sqlite3* openOrDie() {
    sqlite3* db = nullptr;
    if (sqlite3_open(databasePath().c_str(), &db) != SQLITE_OK) {
        const std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        die("cannot open " + databasePath() + ": " + message);
    }
    return db;
}

void execOrDie(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "?";
        sqlite3_free(error);
        die("set-up statement failed: " + message + "\n  " + sql);
    }
}

int openTwiceExec(const char* sql, ResultRows* rows) {
    static const std::string path = databasePath();
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return SQLITE_CANTOPEN;
    }
    sqlite3_close(db);
    db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return SQLITE_CANTOPEN;
    }
    const int rc = rows != nullptr ? sqlite3_exec(db, sql, collectRow, rows, nullptr)
                                   : sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

}  // namespace harbor_bench
