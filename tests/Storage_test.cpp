// The storage spine: one connection (SQLiteHelper), one connection per
// thread (SQLiteBuilt), and the database back end over them
// (SqliteDataBase, createDatabase).

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"

namespace {

namespace fs = std::filesystem;
using Row = std::map<std::string, std::string>;

// Counts the calling thread off `waiting`, then waits until every thread has.
void arrive(std::atomic<int>& waiting) {
    --waiting;
    while (waiting > 0) std::this_thread::yield();
}

class Storage : public harbor::PrivateHomeTest {
protected:
    void SetUp() override {
        PrivateHomeTest::SetUp();
        sqlite3_close(nullptr);
        m_memory = sqlite3_memory_used();
    }

    // No connection is left open (an open one holds SQLite memory) and no
    // lock is left behind.
    void expectNothingOpen(const char* after) {
        EXPECT_EQ(sqlite3_memory_used(), m_memory) << "after " << after;
        EXPECT_TRUE(harbor::canBegin("BEGIN EXCLUSIVE")) << "after " << after;
    }

    const std::string m_path = harbor::databasePath();
    long long m_memory = 0;
};

TEST_F(Storage, HelperOpensOnceClosesForGoodAndKeepsItsLastError) {
    auto helper = std::make_unique<SQLiteHelper>(m_path);
    const std::string& error = helper->getLastError();  // follows later calls
    const auto fails = [&](const char* sql, const std::string& text) {
        EXPECT_FALSE(helper->execSql(sql, nullptr)) << sql;
        EXPECT_EQ(error, text) << sql;
    };
    EXPECT_TRUE(helper->closeDatabase());  // closing a closed object is harmless
    ResultRows rows{Row{{"kept", "1"}}};
    EXPECT_FALSE(helper->execSql("CREATE TABLE t(x)", &rows));
    EXPECT_EQ(rows.size(), 1u) << "a closed object leaves the rows alone";
    // An open that fails leaves no handle, and can be tried again.
    ASSERT_TRUE(fs::create_directory(m_path));
    EXPECT_FALSE(helper->openDatabase());
    EXPECT_EQ(error, sqlite3_errstr(SQLITE_CANTOPEN));
    fails("SELECT 1", "database not open");
    fs::remove(m_path);

    ASSERT_TRUE(helper->openDatabase());
    ASSERT_TRUE(helper->execSql("CREATE TEMP TABLE s(x); INSERT INTO s VALUES(7)", nullptr));
    EXPECT_EQ(error, "");
    fails("SELECT * FROM nowhere", "no such table: nowhere");
    // A second open neither reconnects (the TEMP table lives only as long as
    // its connection) nor touches the last error.
    EXPECT_TRUE(helper->openDatabase());
    EXPECT_EQ(error, "no such table: nowhere");
    EXPECT_TRUE(helper->execSql("SELECT x FROM s", &rows)) << error;
    EXPECT_EQ(rows, (ResultRows{Row{{"kept", "1"}}, Row{{"x", "7"}}}));
    // Rows are text by column name, appended in order: NULL columns left
    // out, text cut at a NUL, of two columns of one name the later non-NULL
    // one; rows delivered before a failure stay, also within a statement.
    rows.clear();
    EXPECT_FALSE(helper->execSql(
        "SELECT NULL AS gone, '' AS empty, 42 AS whole, 1.5 AS real, 'ab' || char(0) || 'cd' AS "
        "cut, 'first' AS k, 'second' AS k; SELECT 'first' AS k, NULL AS k; SELECT NULL AS a;"
        "SELECT abs(column1) AS v FROM (VALUES (-1), (-9223372036854775808), (3))",
        &rows));
    EXPECT_EQ(error, "integer overflow");
    const Row values{
        {"empty", ""}, {"whole", "42"}, {"real", "1.5"}, {"cut", "ab"}, {"k", "second"}};
    EXPECT_EQ(rows, (ResultRows{values, Row{{"k", "first"}}, Row{}, Row{{"v", "1"}}}));

    EXPECT_TRUE(helper->closeDatabase());
    fails("SELECT 1", "database not open");
    ASSERT_TRUE(helper->openDatabase());
    fails("SELECT x FROM s", "no such table: s");
    EXPECT_TRUE(helper->execSql("", nullptr) && error.empty());

    // The destructor closes an open connection and ends its transaction.
    ASSERT_TRUE(helper->execSql("BEGIN EXCLUSIVE", nullptr));
    EXPECT_FALSE(harbor::canBegin("BEGIN EXCLUSIVE"));
    helper.reset();
    expectNothingOpen("destruction");
}

// The four statement operations behave alike; the name only says the intent.
void expectEveryStatement(DataBase& db, const char* sql, int code) {
    for (auto statement :
         {&DataBase::create, &DataBase::insert, &DataBase::remove, &DataBase::update}) {
        EXPECT_EQ((db.*statement)(sql), code) << (sql ? sql : "null");
    }
}

TEST_F(Storage, DatabaseRunsStatementsOnTheFileOfItsFirstOpenAndClosesAfterEach) {
    std::unique_ptr<DataBase> made(createDatabase());
    ASSERT_NE(dynamic_cast<SqliteDataBase*>(made.get()), nullptr);
    DataBase& db = *made;
    EXPECT_EQ(db.open(nullptr), -1);
    expectEveryStatement(db, "CREATE TABLE t(x)", -1);
    EXPECT_TRUE(db.query("SELECT 1 AS x").empty());
    EXPECT_FALSE(fs::exists(m_path)) << "never opened: nothing ran";

    ASSERT_EQ(db.open("harbor.db"), 0);
    EXPECT_EQ(fs::file_size(m_path), 0u) << "open creates the file beside SQLite";
    expectNothingOpen("open");
    expectEveryStatement(db, nullptr, -1);
    EXPECT_TRUE(db.query(nullptr).empty());
    expectEveryStatement(db, "INSERT INTO missing VALUES (1)", -1);
    EXPECT_EQ(db.create("CREATE TABLE t(x)"), 0);
    EXPECT_EQ(db.insert("INSERT INTO t VALUES (1), (5)"), 0);
    EXPECT_EQ(db.update("UPDATE t SET x = 2 WHERE x = 1"), 0);
    EXPECT_EQ(db.remove("DELETE FROM t WHERE x = 5"), 0);
    EXPECT_EQ(db.remove("DELETE FROM t WHERE x = 99"), 0);  // matching nothing is no failure
    const ResultRows two{Row{{"x", "2"}}};
    EXPECT_EQ(db.query("SELECT x FROM t; SELECT * FROM nowhere"), two);
    EXPECT_TRUE(db.query("SELEC x FROM t").empty());

    // A transaction a statement leaves open ends with its connection.
    EXPECT_EQ(db.insert("BEGIN; INSERT INTO t VALUES (3)"), 0);
    expectNothingOpen("insert");
    EXPECT_EQ(db.query("BEGIN EXCLUSIVE; SELECT x FROM t"), two);
    expectNothingOpen("query");
    EXPECT_EQ(db.update("BEGIN; UPDATE t SET x = 4; SELEC"), -1);
    expectNothingOpen("failed update");
    EXPECT_EQ(harbor::direct("SELECT x FROM t"), two);

    // Later paths are ignored: it is still "harbor.db" that is opened.
    EXPECT_EQ(db.open("other.db"), 0);
    EXPECT_FALSE(fs::exists(harbor::privateHome() + "other.db"));
}

TEST_F(Storage, DatabaseGivesMinusFourWhileTheFileCannotBeOpened) {
    SqliteDataBase db;
    ASSERT_EQ(db.open("harbor.db"), 0);
    harbor::removeDatabase();
    ASSERT_TRUE(fs::create_directory(m_path));
    EXPECT_EQ(db.open("other.db"), -4);
    expectEveryStatement(db, "CREATE TABLE t(x)", -4);
    EXPECT_TRUE(db.query("SELECT 1 AS x").empty());
    EXPECT_EQ(sqlite3_memory_used(), m_memory);

    harbor::removeDatabase();  // it recovers once the file can be opened
    EXPECT_EQ(db.create("CREATE TABLE t(x)"), 0);
}

// Sets ZKDB_DATA_DIR in the process environment (null: unsets it).
void setDataDir(const char* value) {
#if defined(_WIN32)
    _putenv_s("ZKDB_DATA_DIR", value ? value : "");
#else
    value ? setenv("ZKDB_DATA_DIR", value, 1) : unsetenv("ZKDB_DATA_DIR");
#endif
}

// ZKDB_DATA_DIR, set and not empty at the first open, replaces the SQLite
// library's directory for good, with or without a closing separator; nothing
// then appears beside SQLite. A missing directory is -4, as a missing file
// would be; empty text counts as unset.
TEST_F(Storage, DataDirectoryVariableReplacesTheSqliteDirectory) {
    const std::string data = harbor::privateHome() + "data dir", missing = data + "/missing";
    ASSERT_TRUE(fs::create_directory(data));
    for (const std::string& value : {data, data + "/", missing, std::string()}) {
        setDataDir(value.c_str());
        SqliteDataBase db;
        const int code = value == missing ? -4 : 0;
        EXPECT_EQ(db.open("harbor.db"), code) << value;
        setDataDir(nullptr);
        EXPECT_EQ(db.create("CREATE TABLE t(x)"), code) << value;
        EXPECT_EQ(fs::remove(data + "/harbor.db"), code == 0 && !value.empty()) << value;
        EXPECT_EQ(fs::exists(m_path), value.empty()) << value;
        harbor::removeDatabase();
    }
    fs::remove_all(data);
}

// Each thread has its own closed connection until the registry closes, and
// threads writing through one database object lose nothing and invent
// nothing: every insert gives 0 and lands once, or gives -1 and lands not.
TEST_F(Storage, ThreadsHaveTheirOwnConnectionsAndNoWriteIsLostOrInvented) {
    constexpr int kThreads = 16, kInserts = 20;
    auto built = std::make_unique<SQLiteBuilt>(m_path);
    auto db = std::make_unique<SqliteDataBase>();
    SQLiteHelper* mine = built->getSQLiteHelper();
    EXPECT_EQ(built->getSQLiteHelper(), mine);
    EXPECT_FALSE(mine->execSql("SELECT 1", nullptr)) << "a new object is closed";
    ASSERT_TRUE(db->open("harbor.db") == 0 && db->create("CREATE TABLE t(v INTEGER)") == 0);
    std::atomic<int> start{kThreads}, finish{kThreads};  // no thread id is reused
    std::vector<SQLiteHelper*> first(kThreads), second(kThreads);
    std::vector<int> results(kThreads * kInserts);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            arrive(start);
            first[i] = built->getSQLiteHelper();
            for (int v = i * kInserts; v < (i + 1) * kInserts; ++v) {
                results[v] =
                    db->insert(("INSERT INTO t VALUES (" + std::to_string(v) + ")").c_str());
            }
            second[i] = built->getSQLiteHelper();
            arrive(finish);
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::set<SQLiteHelper*> distinct(first.begin(), first.end());
    EXPECT_EQ(first, second);
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kThreads));
    EXPECT_EQ(distinct.count(mine) + distinct.count(nullptr), 0u);
    std::vector<int> stored(results.size());
    for (const Row& row : harbor::direct("SELECT v FROM t")) ++stored.at(std::stoi(row.at("v")));
    for (std::size_t v = 0; v < results.size(); ++v) {
        EXPECT_EQ(stored[v], results[v] == 0 ? 1 : 0) << v << " gave " << results[v];
        EXPECT_TRUE(results[v] == 0 || results[v] == -1) << v << " gave " << results[v];
    }

    // Destruction closes every object, open transactions rolled back, also
    // those of threads that have ended.
    ASSERT_TRUE(first[0]->openDatabase() && mine->openDatabase());
    ASSERT_TRUE(
        mine->execSql("CREATE TABLE u(x); BEGIN EXCLUSIVE; INSERT INTO u VALUES (1)", nullptr));
    built.reset();
    db.reset();
    expectNothingOpen("destruction");
    EXPECT_EQ(harbor::rowsOf("u"), 0u);
}

}  // namespace
