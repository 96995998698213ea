#ifndef ZKDB_TESTS_STORAGEPROBE_H
#define ZKDB_TESTS_STORAGEPROBE_H

// Observations of SQLite files from outside the library: how many descriptors
// this process holds on a file, and whether another connection could lock it.
// Also a start line that lets test threads begin together, with a bound.

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

namespace probe {

/// Number of this process's open file descriptors that refer to `path`. An
/// open SQLite connection holds one on its database file.
#if defined(_WIN32)
/// (Windows: handles instead of descriptors; StorageProbeWin32.cpp.)
int openDescriptorsOn(const std::string& path);

/// Number of threads of this process (StorageProbeWin32.cpp).
int threadsOfThisProcess();
#else
inline int openDescriptorsOn(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = fs::weakly_canonical(path, error);
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        const fs::path link = fs::read_symlink(entry.path(), ignored);
        if (!ignored && link == target) ++count;
    }
    return count;
}
#endif

/// True when a fresh connection can take an EXCLUSIVE lock on `path` at once
/// (no busy time-out), i.e. no other connection holds any lock on it.
inline bool lockableExclusively(const std::string& path) {
    sqlite3* db = nullptr;
    bool locked = false;
    if (sqlite3_open(path.c_str(), &db) == SQLITE_OK) {
        locked = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        if (locked) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return locked;
}

/// Lets a fixed number of threads pass together. Waiting is bounded: a
/// thread that waits longer than `limit` passes anyway and arrive() returns
/// false, so a broken test fails instead of hanging.
class StartLine {
public:
    explicit StartLine(int parties) : m_waiting(parties) {}

    bool arrive(std::chrono::seconds limit = std::chrono::seconds(30)) {
        std::unique_lock<std::mutex> lock(m_lock);
        if (--m_waiting <= 0) {
            m_open.notify_all();
            return true;
        }
        return m_open.wait_for(lock, limit, [this] { return m_waiting <= 0; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_open;
    int m_waiting;
};

}  // namespace probe

#endif  // ZKDB_TESTS_STORAGEPROBE_H
