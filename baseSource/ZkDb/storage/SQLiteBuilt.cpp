#include "ZkDb/storage/SQLiteBuilt.h"

#include <map>
#include <memory>
#include <mutex>

#include "ZkDb/platform/Platform.h"
#include "ZkDb/storage/SQLiteHelper.h"

struct ZKDB_LOCAL SQLiteBuilt::State {
    explicit State(const std::string& path) : m_path(path) {}

    const std::string m_path;  // set once; read without the lock
    std::mutex m_lock;         // guards m_connections only, never a connection's use
    std::map<unsigned int, std::unique_ptr<SQLiteHelper>> m_connections;  // m_lock
};

SQLiteBuilt::SQLiteBuilt(const std::string& path) : m_state(new State(path)) {}

SQLiteBuilt::~SQLiteBuilt() {
    {
        std::lock_guard<std::mutex> guard(m_state->m_lock);
        // In key order; each connection object closes its connection.
        auto& connections = m_state->m_connections;
        while (!connections.empty()) {
            connections.erase(connections.begin());
        }
    }
    delete m_state;
}

SQLiteHelper* SQLiteBuilt::getSQLiteHelper() {
    const unsigned int thread = zkdb::platform::currentThreadId();
    std::lock_guard<std::mutex> guard(m_state->m_lock);
    std::unique_ptr<SQLiteHelper>& slot = m_state->m_connections[thread];
    if (!slot) {
        slot.reset(new SQLiteHelper(m_state->m_path));
    }
    return slot.get();
}
