#include "support/Harbor.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <mutex>

#include "HarborSchema.h"
#include "PrivateSqliteHome.h"

namespace harbor {
namespace {

std::string& homeStorage() {
    static std::string directory;
    return directory;
}

std::mutex& logLock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::string>& logStorage() {
    static std::vector<std::string> log;
    return log;
}

int traceStatement(unsigned mask, void*, void* statement, void* text) {
    if (mask == SQLITE_TRACE_STMT && text != nullptr) {
        const char* sql = static_cast<const char*>(text);
        // Statements run by triggers arrive as "-- ..." comments; skip them.
        if (sql[0] == '-' && sql[1] == '-') return 0;
        const char* full = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
        std::lock_guard<std::mutex> guard(logLock());
        logStorage().push_back(full != nullptr ? full : sql);
    }
    return 0;
}

int registerTrace(sqlite3* db, char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, traceStatement, nullptr);
    return SQLITE_OK;
}

}  // namespace

const std::string& home() { return homeStorage(); }
void setHome(const std::string& directory) { homeStorage() = directory; }
std::string databasePath() { return home() + "harbor.db"; }

void removeTree(const std::string& path) { zkdb_support::removeTree(path); }

ResultRows direct(const std::string& sql) {
    ResultRows rows;
    sqlite3* db = nullptr;
    if (sqlite3_open(databasePath().c_str(), &db) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << databasePath() << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return rows;
    }
    char* error = nullptr;
    auto collect = [](void* context, int count, char** values, char** names) {
        auto* out = static_cast<ResultRows*>(context);
        std::map<std::string, std::string> row;
        for (int i = 0; i < count; ++i) {
            if (values[i] != nullptr) row[names[i]] = values[i];
        }
        out->push_back(std::move(row));
        return 0;
    };
    if (sqlite3_exec(db, sql.c_str(), collect, &rows, &error) != SQLITE_OK) {
        ADD_FAILURE() << "direct SQL failed: " << (error ? error : "?") << "\n  " << sql;
    }
    sqlite3_free(error);
    sqlite3_close(db);
    return rows;
}

void createSchema() { direct(schemaSql()); }

void removeDatabase() {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        removeTree(databasePath() + suffix);
    }
}

void installStatementLog() {
    static std::once_flag once;
    std::call_once(once,
                   [] { sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(registerTrace)); });
}

void clearStatements() {
    std::lock_guard<std::mutex> guard(logLock());
    logStorage().clear();
}

std::vector<std::string> statements() {
    std::lock_guard<std::mutex> guard(logLock());
    std::vector<std::string> squeezed;
    for (const std::string& sql : logStorage()) squeezed.push_back(squeeze(sql));
    return squeezed;
}

std::string squeeze(const std::string& sql) {
    std::string out;
    bool space = false;
    for (char c : sql) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out.push_back(' ');
        space = false;
        out.push_back(c);
    }
    return out;
}

void HomeTest::SetUp() {
    removeDatabase();
    clearStatements();
}

void HomeTest::TearDown() { removeDatabase(); }

void SchemaTest::SetUp() {
    HomeTest::SetUp();
    createSchema();
    clearStatements();
}

}  // namespace harbor
