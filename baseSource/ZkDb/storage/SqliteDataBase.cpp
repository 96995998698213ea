#include "ZkDb/storage/SqliteDataBase.h"

#include <string>

#include "ZkDb/platform/Platform.h"
#include "ZkDb/storage/ResultCode.h"
#include "ZkDb/storage/SQLiteBuilt.h"
#include "ZkDb/storage/SQLiteHelper.h"

using zkdb::kCannotOpen;
using zkdb::kFailed;
using zkdb::kNoConnection;
using zkdb::kOk;

namespace {

// Closes the connection object's connection when the operation ends, on
// every path out of it.
class CloseOnExit {
public:
    explicit CloseOnExit(SQLiteHelper* helper) : m_helper(helper) {}
    ~CloseOnExit() { m_helper->closeDatabase(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    SQLiteHelper* m_helper;
};

// The UTF-8 file name that `path` (in the narrow encoding) names: resolved
// against the data directory override when one is set, otherwise against
// the SQLite library's directory. False when a conversion fails.
bool resolvePath(const char* path, std::string& utf8) {
    std::string directory;
    if (zkdb::platform::dataDirectoryOverride(directory)) {
        std::string name;
        if (!zkdb::platform::narrowToUtf8(path, name)) {
            return false;
        }
        utf8 = directory + name;
        return true;
    }
    return zkdb::platform::narrowToUtf8(zkdb::platform::sqliteLibraryDirectory() + path, utf8);
}

}  // namespace

SqliteDataBase::SqliteDataBase() : m_built(nullptr) {}

SqliteDataBase::~SqliteDataBase() {
    delete m_built;
    m_built = nullptr;
}

int SqliteDataBase::open(const char* path) {
    if (path == nullptr) {
        return kFailed;
    }
    if (m_built == nullptr) {
        std::string utf8;
        if (!resolvePath(path, utf8)) {
            return kFailed;  // stays unopened, so a later open tries again
        }
        m_built = new SQLiteBuilt(utf8);
    }
    SQLiteHelper* helper = m_built->getSQLiteHelper();
    if (helper == nullptr) {
        return kNoConnection;
    }
    CloseOnExit closer(helper);
    return helper->openDatabase() ? kOk : kCannotOpen;
}

int SqliteDataBase::create(const char* sql) { return execute(sql); }

int SqliteDataBase::insert(const char* sql) { return execute(sql); }

int SqliteDataBase::remove(const char* sql) { return execute(sql); }

int SqliteDataBase::update(const char* sql) { return execute(sql); }

int SqliteDataBase::execute(const char* sql) {
    if (sql == nullptr || m_built == nullptr) {
        return kFailed;
    }
    SQLiteHelper* helper = m_built->getSQLiteHelper();
    if (helper == nullptr) {
        return kFailed;
    }
    CloseOnExit closer(helper);
    if (!helper->openDatabase()) {
        return kCannotOpen;
    }
    return helper->execSql(sql, nullptr) ? kOk : kFailed;
}

ResultRows SqliteDataBase::query(const char* sql) {
    ResultRows rows;
    if (sql == nullptr || m_built == nullptr) {
        return rows;
    }
    SQLiteHelper* helper = m_built->getSQLiteHelper();
    if (helper == nullptr) {
        return rows;
    }
    CloseOnExit closer(helper);
    if (!helper->openDatabase()) {
        return rows;
    }
    helper->execSql(sql, &rows);  // a failure keeps the rows delivered before it
    return rows;
}

extern "C" DataBase* createDatabase() { return new SqliteDataBase(); }
