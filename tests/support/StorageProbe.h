#ifndef ZKDB_TESTS_STORAGEPROBE_H
#define ZKDB_TESTS_STORAGEPROBE_H

// Observations of SQLite from outside the library, and a start line that lets
// test threads begin together.

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace probe {

/// Memory SQLite holds in this process. An open connection holds some (more
/// than 10 KiB); once every connection is closed it is back where it was,
/// so a connection left open shows as memory not given back.
inline long long sqliteMemory() { return sqlite3_memory_used(); }

/// True when a fresh connection can take an EXCLUSIVE lock on `path` at once
/// (no busy time-out), i.e. no other connection holds any lock on it.
inline bool lockableExclusively(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    const bool locked =
        sqlite3_exec(db, "BEGIN EXCLUSIVE; ROLLBACK", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return locked;
}

/// Lets a fixed number of threads pass together. Waiting is bounded, so a
/// broken test fails instead of hanging: arrive() then returns false.
class StartLine {
public:
    explicit StartLine(int parties) : m_waiting(parties) {}

    bool arrive() {
        std::unique_lock<std::mutex> lock(m_lock);
        if (--m_waiting <= 0) m_open.notify_all();
        return m_open.wait_for(lock, std::chrono::seconds(30), [this] { return m_waiting <= 0; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_open;
    int m_waiting;
};

}  // namespace probe

#endif  // ZKDB_TESTS_STORAGEPROBE_H
