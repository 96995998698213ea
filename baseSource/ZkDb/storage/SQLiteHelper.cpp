#include "ZkDb/storage/SQLiteHelper.h"

#include <sqlite3.h>

#include <utility>

class SQLiteHelperState {
public:
    explicit SQLiteHelperState(const std::string& path) : m_path(path) {}

    std::string m_path;
    std::string m_lastError;
    sqlite3* m_db = nullptr;
};

namespace {

// Row callback of sqlite3_exec: appends one map per row to the vector that
// the context designates, or drops the row when there is none.
int collectRow(void* context, int columnCount, char** values, char** names) {
    if (context == nullptr) {
        return 0;
    }
    auto* rows = static_cast<ResultRows*>(context);
    std::map<std::string, std::string> row;
    for (int i = 0; i < columnCount; ++i) {
        if (names[i] != nullptr && values[i] != nullptr) {
            row[names[i]] = values[i];
        }
    }
    rows->push_back(std::move(row));
    return 0;
}

}  // namespace

SQLiteHelper::SQLiteHelper(const std::string& path) : m_state(new SQLiteHelperState(path)) {}

SQLiteHelper::~SQLiteHelper() {
    closeDatabase();
    delete m_state;
}

bool SQLiteHelper::openDatabase() {
    if (m_state->m_db != nullptr) {
        return true;
    }
    if (sqlite3_open(m_state->m_path.c_str(), &m_state->m_db) == SQLITE_OK) {
        return true;
    }
    if (m_state->m_db != nullptr) {
        m_state->m_lastError = sqlite3_errmsg(m_state->m_db);
        sqlite3_close(m_state->m_db);
        m_state->m_db = nullptr;
    } else {
        m_state->m_lastError = "open database error (m_db == 0)";
    }
    return false;
}

bool SQLiteHelper::closeDatabase() {
    if (m_state->m_db != nullptr) {
        sqlite3_close(m_state->m_db);
        m_state->m_db = nullptr;
    }
    return true;
}

bool SQLiteHelper::execSql(const std::string& sql, ResultRows* rows) {
    if (m_state->m_db == nullptr) {
        m_state->m_lastError = "database not open";
        return false;
    }
    char* error = nullptr;
    const int rc = sqlite3_exec(m_state->m_db, sql.c_str(), collectRow, rows, &error);
    if (error != nullptr) {
        m_state->m_lastError = error;
        sqlite3_free(error);
    } else {
        m_state->m_lastError.clear();
    }
    return rc == SQLITE_OK;
}

const std::string& SQLiteHelper::getLastError() { return m_state->m_lastError; }
