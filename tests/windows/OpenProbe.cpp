// A minimal host: opens the database file named by its argument (default
// "harbor.db") through createDatabase(), the way a host does, stores one row
// in table t and reads the table back. Its exit code is the number of rows
// that earlier runs left in t when all of that worked; 98 when sqlite3.dll,
// ZkDb.dll or ZkLib.dll was not loaded from the probe's own directory; 99
// when the write or the read back failed; otherwise 100 minus the code open()
// gave.
#include <ZkDb/ZkDb.h>
#include <windows.h>

#include <memory>
#include <string>

static std::wstring fileOf(HMODULE module) {  // null: the probe itself
    wchar_t name[MAX_PATH];
    return std::wstring(name, ::GetModuleFileNameW(module, name, MAX_PATH));
}

int main(int argc, char** argv) {
    const std::wstring probe = fileOf(nullptr);
    const std::wstring directory = probe.substr(0, probe.find_last_of(L'\\') + 1);
    for (const wchar_t* dll : {L"sqlite3.dll", L"ZkDb.dll", L"ZkLib.dll"}) {
        if (::lstrcmpiW(fileOf(::GetModuleHandleW(dll)).c_str(), (directory + dll).c_str()) != 0) {
            return 98;
        }
    }
    std::unique_ptr<DataBase> database(createDatabase());
    const int result = database->open(argc > 1 ? argv[1] : "harbor.db");
    if (result != 0) return 100 - result;
    const std::size_t earlier = database->query("SELECT x FROM t").size();  // none: no table yet
    if (database->create("CREATE TABLE IF NOT EXISTS t(x)") != 0 ||
        database->insert("INSERT INTO t VALUES('kept')") != 0 ||
        database->query("SELECT x FROM t") != ResultRows(earlier + 1, {{"x", "kept"}})) {
        return 99;
    }
    return static_cast<int>(earlier);
}
