#include "ZkDb/storage/SQLiteHelper.h"

#include <sqlite3.h>

#include <exception>
#include <utility>

// No lock: one object is used by one thread at a time.
struct ZKDB_LOCAL SQLiteHelper::State {
    explicit State(const std::string& path) : m_path(path) {}

    std::string m_path;       // handed to SQLite unchanged
    std::string m_lastError;  // see getLastError()
    sqlite3* m_db = nullptr;  // null while closed
};

namespace {

// Context of the row callback: where rows go, and an exception met while
// collecting one. An exception must not unwind through SQLite's C frames, so
// the callback stops the statement and execSql() rethrows it afterwards.
struct RowSink {
    ResultRows* rows;
    std::exception_ptr failure;
};

// Row callback of sqlite3_exec: appends one map per row to the sink's
// vector, or drops the row when there is none.
int collectRow(void* context, int columnCount, char** values, char** names) {
    auto* sink = static_cast<RowSink*>(context);
    if (sink->rows == nullptr) {
        return 0;
    }
    try {
        std::map<std::string, std::string> row;
        for (int i = 0; i < columnCount; ++i) {
            if (names[i] != nullptr && values[i] != nullptr) {
                row[names[i]] = values[i];
            }
        }
        sink->rows->push_back(std::move(row));
    } catch (...) {
        sink->failure = std::current_exception();
        return 1;
    }
    return 0;
}

}  // namespace

SQLiteHelper::SQLiteHelper(const std::string& path) : m_state(new State(path)) {}

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
    RowSink sink{rows, nullptr};
    const int rc = sqlite3_exec(m_state->m_db, sql.c_str(), collectRow, &sink, &error);
    if (error != nullptr) {
        m_state->m_lastError = error;
        sqlite3_free(error);
    } else {
        m_state->m_lastError.clear();
    }
    if (sink.failure) {
        std::rethrow_exception(sink.failure);  // the standard library's own, passed on
    }
    return rc == SQLITE_OK;
}

const std::string& SQLiteHelper::getLastError() { return m_state->m_lastError; }
