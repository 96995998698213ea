// A host in miniature, built against ZkDb the way a host's build finds it
// (CMake package, pkg-config or add_subdirectory). It includes only the
// public headers, links only ZkDb and ZkLib, creates its tables from the
// reference schema, stores and reads records of three tables, deletes the
// records a list query handed it, and works on "harbor.db" beside the SQLite
// library the process loaded (or in ZKDB_DATA_DIR). It prints how many rows
// earlier runs left, so a second run shows that the data stayed, and on
// standard error the size of std::string (the C++ runtime's mark).
//
//   consumer <harbor.sql>     on Windows: the harbor.sql beside the program
//
// Built with ZKDB_CONSUMER_LOADER (Windows), it is the loader, which links
// nothing of ZkDb: it loads ZkDb.dll (from its own directory, where Windows
// looks first), adds a row to table t of "harbor.db", reads t from two
// threads in turn, deletes the database object and unloads the DLLs. Its
// exit code is the number of rows t holds (1 on a first run in a directory,
// 2 when that run's row was found again); 98 when ZkDb.dll stayed loaded or
// the threads read different rows; 99 when opening or writing failed.

#include <ZkDb/ZkDb.h>
#include <ZkLib/StringUtil.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <thread>
#endif

#ifdef ZKDB_CONSUMER_LOADER
int main() {
    HMODULE zkdb = ::LoadLibraryW(L"ZkDb.dll");
    auto create = reinterpret_cast<DataBase* (*)()>(
        reinterpret_cast<void (*)()>(::GetProcAddress(zkdb, "createDatabase")));
    std::unique_ptr<DataBase> db(create());
    if (db->open("harbor.db") != 0 || db->create("CREATE TABLE IF NOT EXISTS t(x)") != 0 ||
        db->insert("INSERT INTO t VALUES('kept')") != 0) {
        return 99;
    }
    std::size_t rows[2] = {0, 0};
    auto work = [&](int i) { rows[i] = db->query("SELECT x FROM t").size(); };
    // One after the other: two connections that take their read locks at
    // the same moment may see SQLITE_BUSY on Windows (no busy timeout is set).
    std::thread(work, 0).join();
    std::thread(work, 1).join();
    db.reset();
    const bool unloaded = ::FreeLibrary(zkdb) && !::GetModuleHandleW(L"ZkDb.dll");
    return rows[0] == rows[1] && unloaded ? static_cast<int>(rows[0]) : 98;
}
#else
int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    // By its UTF-16 name: a narrow one is read in the ANSI code page.
    wchar_t self[MAX_PATH];
    std::filesystem::path path(std::wstring(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH)));
    std::ifstream file(path.replace_filename("harbor.sql"));
#else
    std::ifstream file(argc == 2 ? argv[1] : "");
#endif
    const std::string schema{std::istreambuf_iterator<char>(file), {}};

    // The tables through the public interface only, records through three
    // access classes, and ZkLib reached directly.
    std::unique_ptr<DataBase> db(createDatabase());
    DeviceStatePo state, back;
    state.setDeviceId("cam-1");
    state.setMediaId("media-1");
    DeviceTablePo device;
    device.setDevId("dev-1");
    device.setDevType("ipc");
    MqttMessageTablePo message;
    message.setItemId("item-1");
    DeviceStateDao states;
    DeviceTableDao devices;
    MqttMessageTableDao messages;
    unsigned char plain[] = "zk";
    unsigned char* encoded = nullptr;
    int length = 0;
    const bool tables =
        !schema.empty() && db->open("harbor.db") == 0 && db->create(schema.c_str()) == 0;
    // What earlier runs stored: the data outlives the process.
    const std::size_t earlier = tables ? db->query("SELECT * FROM tb_device_state;").size() : 0;
    bool ok = tables && states.add(&state) == 0 && states.query("media-1", back) == 0 &&
              back.getDeviceId() == "cam-1" && devices.add(&device) == 0 &&
              messages.add(&message) == 0 &&
              StringUtil::data_base64_encode(plain, 2, &encoded, &length) && length == 4 &&
              std::string(reinterpret_cast<char*>(encoded)) == "ems=";
    StringUtil::data_base64_free(encoded);
    // Records the library allocated, deleted by the host; an earlier run's
    // message is gone, or the list holds two.
    const std::list<MqttMessageTablePo*> listed = messages.query();
    ok = ok && listed.size() == 1 && listed.front()->getItemId() == "item-1" &&
         messages.del(listed.front()) == 0;
    for (MqttMessageTablePo* record : listed) delete record;
    const std::list<DeviceTablePo> found = devices.query(std::string("ipc"));
    ok = ok && !found.empty() && found.front().getDevId() == "dev-1";
    std::printf("consumer %s, earlier rows: %u\n", ok ? "ok" : "failed",
                static_cast<unsigned>(earlier));
    std::fprintf(stderr, "sizeof(std::string) %u\n", static_cast<unsigned>(sizeof(std::string)));
    return ok ? 0 : 1;
}
#endif
