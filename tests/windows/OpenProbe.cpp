// A minimal host: opens the database file named by its argument (default
// "harbor.db") through createDatabase(), the way a host does, stores one row
// in table t and reads the table back. Its exit code is the number of rows
// that earlier runs left in t when all of that worked; 97 when the ANSI code
// page is not the one ZKDB_EXPECT_ACP names; 98 when sqlite3.dll, ZkDb.dll or
// ZkLib.dll was not loaded from the probe's own directory; 99 when the write
// or the read back failed; otherwise 100 minus the code open() gave.
#include <ZkDb/ZkDb.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

static std::wstring directoryOf(HMODULE module) {
    wchar_t name[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(module, name, MAX_PATH);  // null: the probe itself
    const std::wstring file(name, length < MAX_PATH ? length : 0);
    return file.substr(0, file.find_last_of(L'\\') + 1);
}

int main(int argc, char** argv) {
    const char* expectedCodePage = std::getenv("ZKDB_EXPECT_ACP");
    if (expectedCodePage != nullptr && std::strtoul(expectedCodePage, nullptr, 10) != ::GetACP()) {
        return 97;
    }
    for (const char* dll : {"sqlite3.dll", "ZkDb.dll", "ZkLib.dll"}) {
        HMODULE module = ::GetModuleHandleA(dll);
        if (module == nullptr || directoryOf(module) != directoryOf(nullptr)) return 98;
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
