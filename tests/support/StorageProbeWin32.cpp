// Windows side of the storage probes: what /proc tells on Linux, learnt
// here from SQLite itself.
#include "support/StorageProbe.h"

#if defined(_WIN32)

#include <windows.h>

#include <tlhelp32.h>

#include <cwctype>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

namespace probe {
namespace {

// Counts this process's open SQLite files by name. Asking Windows for every
// handle of the process and then for each handle's file name can block
// (a query on a synchronous handle waits for I/O pending on it), so instead
// a thin VFS in front of the default one, registered as the new default
// before any connection opens, tracks SQLite's own opens and closes.
// A SQLite connection holds one open file on its database file.

struct CountingFile {
    sqlite3_file base;   // methods: kMethods, or null when the open failed
    sqlite3_file* real;  // the default VFS's file, stored right after this
};

constexpr int kRealOffset = (sizeof(CountingFile) + 15) / 16 * 16;

sqlite3_vfs* g_real = nullptr;
std::mutex g_lock;
std::map<sqlite3_file*, std::wstring> g_open;

// A path in one spelling: full, long, lower case, backslashes.
std::wstring normalised(const std::wstring& path) {
    wchar_t full[2048];
    DWORD length = ::GetFullPathNameW(path.c_str(), 2048, full, nullptr);
    std::wstring result = length > 0 && length < 2048 ? std::wstring(full, length) : path;
    wchar_t longName[2048];
    length = ::GetLongPathNameW(result.c_str(), longName, 2048);
    if (length > 0 && length < 2048) result.assign(longName, length);
    for (wchar_t& c : result) {
        if (c == L'/') c = L'\\';
        c = static_cast<wchar_t>(::towlower(c));
    }
    return result;
}

sqlite3_file* real(sqlite3_file* file) { return reinterpret_cast<CountingFile*>(file)->real; }

int countedClose(sqlite3_file* file) {
    {
        std::lock_guard<std::mutex> guard(g_lock);
        g_open.erase(file);
    }
    return real(file)->pMethods->xClose(real(file));
}

// Every other method forwards to the default VFS's file.
#define ZKDB_FORWARD(name, params, args) [] params { return real(file)->pMethods->name args; }

const sqlite3_io_methods kMethods = {
    3,
    countedClose,
    ZKDB_FORWARD(xRead, (sqlite3_file * file, void* b, int n, sqlite3_int64 o),
                 (real(file), b, n, o)),
    ZKDB_FORWARD(xWrite, (sqlite3_file * file, const void* b, int n, sqlite3_int64 o),
                 (real(file), b, n, o)),
    ZKDB_FORWARD(xTruncate, (sqlite3_file * file, sqlite3_int64 size), (real(file), size)),
    ZKDB_FORWARD(xSync, (sqlite3_file * file, int flags), (real(file), flags)),
    ZKDB_FORWARD(xFileSize, (sqlite3_file * file, sqlite3_int64* size), (real(file), size)),
    ZKDB_FORWARD(xLock, (sqlite3_file * file, int level), (real(file), level)),
    ZKDB_FORWARD(xUnlock, (sqlite3_file * file, int level), (real(file), level)),
    ZKDB_FORWARD(xCheckReservedLock, (sqlite3_file * file, int* out), (real(file), out)),
    ZKDB_FORWARD(xFileControl, (sqlite3_file * file, int op, void* arg), (real(file), op, arg)),
    ZKDB_FORWARD(xSectorSize, (sqlite3_file * file), (real(file))),
    ZKDB_FORWARD(xDeviceCharacteristics, (sqlite3_file * file), (real(file))),
    ZKDB_FORWARD(xShmMap, (sqlite3_file * file, int i, int n, int e, void volatile** p),
                 (real(file), i, n, e, p)),
    ZKDB_FORWARD(xShmLock, (sqlite3_file * file, int o, int n, int f), (real(file), o, n, f)),
    [](sqlite3_file* file) { real(file)->pMethods->xShmBarrier(real(file)); },
    ZKDB_FORWARD(xShmUnmap, (sqlite3_file * file, int drop), (real(file), drop)),
    ZKDB_FORWARD(xFetch, (sqlite3_file * file, sqlite3_int64 o, int n, void** p),
                 (real(file), o, n, p)),
    ZKDB_FORWARD(xUnfetch, (sqlite3_file * file, sqlite3_int64 o, void* p), (real(file), o, p)),
};

#undef ZKDB_FORWARD

int countedOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* counted = reinterpret_cast<CountingFile*>(file);
    counted->base.pMethods = nullptr;
    counted->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kRealOffset);
    const int rc = g_real->xOpen(g_real, name, counted->real, flags, outFlags);
    if (rc != SQLITE_OK || counted->real->pMethods == nullptr) {
        return rc;
    }
    counted->base.pMethods = &kMethods;
    if (name != nullptr) {
        wchar_t wide[2048];
        const int length = ::MultiByteToWideChar(CP_UTF8, 0, name, -1, wide, 2048);
        std::lock_guard<std::mutex> guard(g_lock);
        g_open[file] = length > 0 ? normalised(wide) : std::wstring();
    }
    return rc;
}

sqlite3_vfs* countingVfs() {
    static sqlite3_vfs vfs = [] {
        g_real = sqlite3_vfs_find(nullptr);
        sqlite3_vfs copy = *g_real;
        copy.szOsFile = kRealOffset + g_real->szOsFile;
        copy.zName = "zkdb-counting";
        copy.pAppData = nullptr;
        copy.xOpen = countedOpen;
        return copy;
    }();
    return &vfs;
}

// Registered before main(), so every connection of the test process opens
// its files through it.
const int g_registered = sqlite3_vfs_register(countingVfs(), 1);

}  // namespace

int openDescriptorsOn(const std::string& path) {
    (void)g_registered;
    const std::wstring target = normalised(std::filesystem::path(path).wstring());
    std::lock_guard<std::mutex> guard(g_lock);
    int count = 0;
    for (const auto& entry : g_open) {
        if (entry.second == target) ++count;
    }
    return count;
}

int threadsOfThisProcess() {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    const DWORD self = ::GetCurrentProcessId();
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Thread32First(snapshot, &entry); more;
         more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == self) ++count;
    }
    ::CloseHandle(snapshot);
    return count;
}

}  // namespace probe

#endif  // _WIN32
