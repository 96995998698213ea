#include "ZkDb/storage/SQLiteBuilt.h"

#include <map>
#include <memory>
#include <mutex>

#include "ZkDb/platform/Platform.h"
#include "ZkDb/storage/SQLiteHelper.h"

class ConnectionRegistry {
public:
    explicit ConnectionRegistry(const std::string& path) : m_path(path) {}

    std::map<unsigned int, std::unique_ptr<SQLiteHelper>> connections;
    std::string m_path;
    std::mutex lock;
};

SQLiteBuilt::SQLiteBuilt(const std::string& path) : m_registry(new ConnectionRegistry(path)) {}

SQLiteBuilt::~SQLiteBuilt() {
    {
        std::lock_guard<std::mutex> guard(m_registry->lock);
        // In key order; each connection object closes its connection.
        auto& connections = m_registry->connections;
        while (!connections.empty()) {
            connections.erase(connections.begin());
        }
    }
    delete m_registry;
}

SQLiteHelper* SQLiteBuilt::getSQLiteHelper() {
    const unsigned int thread = zkdb::platform::currentThreadId();
    std::lock_guard<std::mutex> guard(m_registry->lock);
    std::unique_ptr<SQLiteHelper>& slot = m_registry->connections[thread];
    if (!slot) {
        slot.reset(new SQLiteHelper(m_registry->m_path));
    }
    return slot.get();
}
