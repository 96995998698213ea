#include "support/Harbor.h"

#include <sqlite3.h>

#include "HarborSchema.h"
#include "PrivateSqliteHome.h"

namespace harbor {
namespace {

std::string& homeStorage() {
    static std::string directory;
    return directory;
}

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

const std::string& home() { return homeStorage(); }
void setHome(const std::string& directory) { homeStorage() = directory; }
std::string databasePath() { return home() + "harbor.db"; }

void removeTree(const std::string& path) { zkdb_support::removeTree(path); }

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

void HomeTest::SetUp() { removeDatabase(); }

void HomeTest::TearDown() { removeDatabase(); }

void SchemaTest::SetUp() {
    HomeTest::SetUp();
    createSchema();
}

}  // namespace harbor
