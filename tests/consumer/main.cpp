// A host in miniature, built against ZkDb the way a host's build finds it
// (CMake package, pkg-config or add_subdirectory). It includes only the
// public headers, links only ZkDb and ZkLib, creates its tables from the
// reference schema, stores and reads records of three tables, deletes the
// records a list query handed it, and works on "harbor.db" beside the SQLite
// library the process loaded. It prints how many devices the database holds
// (one more each run) and the size of std::string (the C++ runtime's mark).
//
//   consumer <harbor.sql>     on Windows: the harbor.sql beside the program
//
// Built with ZKDB_CONSUMER_LOADER (Windows), it links nothing of ZkDb: it
// loads ZkDb.dll, uses one database object from two threads, deletes it and
// unloads the DLLs, twice, so the second load starts a fresh copy.

#include <ZkDb/ZkDb.h>
#include <ZkLib/StringUtil.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#ifdef _WIN32
#include <windows.h>

#include <filesystem>
#include <thread>
#endif

#ifdef ZKDB_CONSUMER_LOADER
int main() {
    bool ok = true;
    for (int round = 0; round < 2 && ok; ++round) {
        HMODULE dll = ::LoadLibraryW(L"ZkDb.dll");
        auto create = reinterpret_cast<DataBase* (*)()>(
            reinterpret_cast<void (*)()>(dll ? ::GetProcAddress(dll, "createDatabase") : nullptr));
        DataBase* db = create ? create() : nullptr;
        bool read[2] = {false, false};
        ok = db && db->open("harbor.db") == 0 &&
             db->create("CREATE TABLE IF NOT EXISTS loaded(x)") == 0 &&
             db->insert("INSERT INTO loaded VALUES('x')") == 0;
        auto work = [&](int i) { read[i] = ok && !db->query("SELECT x FROM loaded").empty(); };
        std::thread one(work, 0), two(work, 1);
        one.join();
        two.join();
        delete db;
        ok = read[0] && read[1] && ::FreeLibrary(dll) && !::GetModuleHandleW(L"ZkDb.dll");
    }
    std::printf(ok ? "consumer ok, loaded and unloaded\n" : "consumer failed\n");
    return ok ? 0 : 1;
}
#else
int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    // By its UTF-16 name: a narrow one is read in the ANSI code page, which
    // cannot hold every directory's name.
    wchar_t self[MAX_PATH];
    std::filesystem::path schemaFile(
        std::wstring(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH)));
    std::ifstream file(schemaFile.replace_filename("harbor.sql"));
#else
    std::ifstream file(argc == 2 ? argv[1] : "");
#endif
    std::stringstream schema;
    schema << file.rdbuf();

    // The tables through the public interface only, records through three
    // access classes, and ZkLib reached directly.
    std::unique_ptr<DataBase> db(createDatabase());
    DeviceStatePo state, back;
    state.setDeviceId("cam-1");
    state.setMediaId("media-1");
    DeviceStateDao states;
    DeviceTablePo device;
    device.setDevId("dev-1");
    device.setDevType("ipc");
    DeviceTableDao devices;
    MqttMessageTablePo message;
    message.setItemId("item-1");
    MqttMessageTableDao messages;
    unsigned char plain[] = "zk";
    unsigned char* encoded = nullptr;
    int length = 0;
    bool ok = !schema.str().empty() && db->open("harbor.db") == 0 &&
              db->create(schema.str().c_str()) == 0 && states.add(&state) == 0 &&
              states.query("media-1", back) == 0 && back.getDeviceId() == "cam-1" &&
              devices.add(&device) == 0 && messages.add(&message) == 0 &&
              StringUtil::data_base64_encode(plain, 2, &encoded, &length) && length == 4 &&
              std::strcmp(reinterpret_cast<char*>(encoded), "ems=") == 0;
    StringUtil::data_base64_free(encoded);
    // The records were allocated by the library; the host deletes them. An
    // earlier run's message is gone, or the list holds two.
    const std::list<MqttMessageTablePo*> listed = messages.query();
    ok = ok && listed.size() == 1 && listed.front()->getItemId() == "item-1";
    for (MqttMessageTablePo* record : listed) {
        ok = messages.del(record) == 0 && ok;
        delete record;
    }
    const std::list<DeviceTablePo> found = devices.query(std::string("ipc"));
    ok = ok && !found.empty() && found.front().getDevId() == "dev-1";
    std::printf("consumer %s, %u devices, sizeof(std::string) %u\n", ok ? "ok" : "failed",
                static_cast<unsigned>(found.size()), static_cast<unsigned>(sizeof(std::string)));
    return ok ? 0 : 1;
}
#endif
