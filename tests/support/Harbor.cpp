#include "support/Harbor.h"

#include <sqlite3.h>

#include "HarborSchema.h"
#include "PrivateHome.h"

namespace harbor {
namespace {

int collectRow(void* context, int count, char** values, char** names) {
    auto* rows = static_cast<ResultRows*>(context);
    std::map<std::string, std::string> row;
    for (int i = 0; i < count; ++i) {
        if (values[i] != nullptr) row[names[i]] = values[i];
    }
    rows->push_back(std::move(row));
    return 0;
}

}  // namespace

const std::string& privateHome() { return zkdb_harness::privateHome(); }
std::string databasePath() { return privateHome() + "harbor.db"; }

void removeTree(const std::string& path) { zkdb_harness::removeTree(path); }

ResultRows direct(const std::string& sql) {
    ResultRows rows;
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open(databasePath().c_str(), &db) != SQLITE_OK ||
        sqlite3_exec(db, sql.c_str(), collectRow, &rows, &error) != SQLITE_OK) {
        ADD_FAILURE() << "direct SQL failed: " << (error ? error : sqlite3_errmsg(db)) << "\n  "
                      << sql;
    }
    sqlite3_free(error);
    sqlite3_close(db);
    return rows;
}

std::size_t rowsOf(const std::string& table) { return direct("select * from " + table).size(); }

bool canBegin(const char* begin) {
    sqlite3* db = nullptr;
    sqlite3_open(databasePath().c_str(), &db);
    const bool begun = sqlite3_exec(db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);  // rolls back what began
    return begun;
}

void createSchema() { direct(schemaSql()); }

void removeDatabase() {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        removeTree(databasePath() + suffix);
    }
}

void PrivateHomeTest::SetUp() { removeDatabase(); }

void PrivateHomeTest::TearDown() { removeDatabase(); }

void SchemaTest::SetUp() {
    PrivateHomeTest::SetUp();
    createSchema();
}

}  // namespace harbor
