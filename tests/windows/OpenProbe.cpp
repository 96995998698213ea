// A minimal host: opens "harbor.db" through createDatabase(), the way a host
// does, and adds one row to table t. Its exit code is the number of rows t
// then holds as read back (1 on the first run in a directory, 2 when that
// run's row was found again); 98 when sqlite3.dll, ZkDb.dll or ZkLib.dll was
// not loaded from the probe's own directory; 99 when opening or writing
// failed.
#include <ZkDb/ZkDb.h>
#include <windows.h>

#include <memory>
#include <string>

int main() {
    wchar_t self[MAX_PATH], dll[MAX_PATH];
    std::wstring directory(self, ::GetModuleFileNameW(nullptr, self, MAX_PATH));
    directory.erase(directory.find_last_of(L'\\') + 1);
    for (const wchar_t* name : {L"sqlite3.dll", L"ZkDb.dll", L"ZkLib.dll"}) {
        ::GetModuleFileNameW(::GetModuleHandleW(name), dll,
                             MAX_PATH);  // null: the probe
        if (::lstrcmpiW(dll, (directory + name).c_str()) != 0) return 98;
    }
    std::unique_ptr<DataBase> database(createDatabase());
    if (database->open("harbor.db") != 0 ||
        database->create("CREATE TABLE IF NOT EXISTS t(x)") != 0 ||
        database->insert("INSERT INTO t VALUES('kept')") != 0) {
        return 99;
    }
    return static_cast<int>(database->query("SELECT x FROM t").size());
}
