#include "ZkDb/storage/SqliteDataBase.h"

#include <gtest/gtest.h>
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/Harbor.h"
#include "support/StorageProbe.h"

namespace {

namespace fs = std::filesystem;
using Row = std::map<std::string, std::string>;
using Statement = int (DataBase::*)(const char*);

// The four statement operations behave alike; the name only says the intent.
const Statement kStatements[] = {&DataBase::create, &DataBase::insert, &DataBase::remove,
                                 &DataBase::update};
const char* const kStatementNames[] = {"create", "insert", "remove", "update"};

void expectEveryStatement(DataBase& db, const char* sql, int code) {
    for (std::size_t i = 0; i < std::size(kStatements); ++i) {
        EXPECT_EQ((db.*kStatements[i])(sql), code)
            << kStatementNames[i] << "(" << (sql ? sql : "null") << ")";
    }
}

class SqliteDataBaseTest : public harbor::HomeTest {
protected:
    // No connection of the object stays open and no lock is left behind.
    void expectNothingOpen(const char* after) {
        EXPECT_EQ(probe::openDescriptorsOn(m_path), 0) << "after " << after;
        EXPECT_TRUE(probe::lockableExclusively(m_path)) << "after " << after;
    }

    const std::string m_path = harbor::databasePath();
};

TEST_F(SqliteDataBaseTest, NullPathLeavesTheObjectUnopened) {
    SqliteDataBase db;
    EXPECT_EQ(db.open(nullptr), -1);
    expectEveryStatement(db, "CREATE TABLE t(x)", -1);
    EXPECT_TRUE(db.query("SELECT 1 AS x").empty());
    EXPECT_FALSE(fs::exists(m_path));

    ASSERT_EQ(db.open("harbor.db"), 0);
    expectEveryStatement(db, nullptr, -1);
    EXPECT_TRUE(db.query(nullptr).empty());
    EXPECT_EQ(db.create("CREATE TABLE t(x)"), 0);
}

TEST_F(SqliteDataBaseTest, OpenCreatesTheFileBesideSqliteAndClosesIt) {
    ASSERT_FALSE(fs::exists(m_path));
    SqliteDataBase db;
    EXPECT_EQ(db.open("harbor.db"), 0);
    EXPECT_TRUE(fs::is_regular_file(m_path));
    EXPECT_EQ(fs::file_size(m_path), 0u);
    expectNothingOpen("open");
}

TEST_F(SqliteDataBaseTest, StatementsAndQueriesWorkOnTheBoundFile) {
    SqliteDataBase db;
    ASSERT_EQ(db.open("harbor.db"), 0);
    expectEveryStatement(db, "INSERT INTO missing VALUES (1)", -1);

    EXPECT_EQ(db.create("CREATE TABLE t(x)"), 0);
    EXPECT_EQ(db.insert("INSERT INTO t VALUES (1), (5)"), 0);
    EXPECT_EQ(db.update("UPDATE t SET x = 2 WHERE x = 1"), 0);
    EXPECT_EQ(db.remove("DELETE FROM t WHERE x = 5"), 0);
    EXPECT_EQ(db.remove("DELETE FROM t WHERE x = 99"), 0);  // matching nothing is no failure
    const ResultRows expected{Row{{"x", "2"}}};
    EXPECT_EQ(db.query("SELECT x FROM t"), expected);
    EXPECT_EQ(harbor::direct("SELECT x FROM t"), expected);
}

TEST_F(SqliteDataBaseTest, FailedStatementDoesNotSpoilTheNextOne) {
    SqliteDataBase db;
    ASSERT_EQ(db.open("harbor.db"), 0);
    ASSERT_EQ(db.create("CREATE TABLE t(x)"), 0);
    EXPECT_EQ(db.insert("INSER INTO t VALUES (1)"), -1);
    EXPECT_EQ(db.insert("INSERT INTO t VALUES (1)"), 0);

    EXPECT_TRUE(db.query("SELECT x FROM t WHERE x = 99").empty());
    EXPECT_TRUE(db.query("SELEC x FROM t").empty());
    const ResultRows one{Row{{"x", "1"}}};
    EXPECT_EQ(db.query("SELECT x FROM t; SELECT * FROM nowhere"), one);  // rows before the failure
    EXPECT_EQ(db.query("SELECT x FROM t"), one);
}

TEST_F(SqliteDataBaseTest, NoConnectionOutlivesAnOperation) {
    SqliteDataBase db;
    ASSERT_EQ(db.open("harbor.db"), 0);
    expectNothingOpen("open");
    ASSERT_EQ(db.create("CREATE TABLE t(x)"), 0);
    expectNothingOpen("create");

    // A transaction that a statement leaves open ends with the connection.
    EXPECT_EQ(db.insert("BEGIN; INSERT INTO t VALUES (1)"), 0);
    expectNothingOpen("insert");
    EXPECT_EQ(db.insert("BEGIN; INSERT INTO t VALUES (2); SELEC"), -1);
    expectNothingOpen("failed insert");
    EXPECT_EQ(db.query("BEGIN EXCLUSIVE; SELECT x FROM t"), ResultRows{});
    expectNothingOpen("query");
    EXPECT_EQ(db.query("BEGIN EXCLUSIVE; SELEC"), ResultRows{});
    expectNothingOpen("failed query");
    EXPECT_EQ(db.update("UPDATE nowhere SET x = 1"), -1);
    expectNothingOpen("failed update");

    EXPECT_TRUE(harbor::direct("SELECT x FROM t").empty());
}

TEST_F(SqliteDataBaseTest, LaterOpenKeepsTheFileOfTheFirst) {
    SqliteDataBase db;
    ASSERT_EQ(db.open("harbor.db"), 0);
    EXPECT_EQ(db.open("other.db"), 0);
    EXPECT_FALSE(fs::exists(harbor::home() + "other.db"));

    // It is still "harbor.db" that is tested: make that one unopenable.
    harbor::removeDatabase();
    ASSERT_TRUE(fs::create_directory(m_path));
    EXPECT_EQ(db.open("other.db"), -4);
    EXPECT_FALSE(fs::exists(harbor::home() + "other.db"));
}

TEST_F(SqliteDataBaseTest, UnopenableFileFailsEveryOperationWithMinusFour) {
    SqliteDataBase db;
    ASSERT_EQ(db.open("harbor.db"), 0);
    ASSERT_EQ(db.create("CREATE TABLE t(x)"), 0);

    // The file becomes unopenable after the object was bound to it.
    harbor::removeDatabase();
    ASSERT_TRUE(fs::create_directory(m_path));
    expectEveryStatement(db, "CREATE TABLE t(x)", -4);
    EXPECT_TRUE(db.query("SELECT 1 AS x").empty());
    EXPECT_EQ(db.open("harbor.db"), -4);
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 0);

    // The object stays bound and recovers once the file can be opened.
    harbor::removeDatabase();
    EXPECT_EQ(db.create("CREATE TABLE t(x)"), 0);
    EXPECT_EQ(db.open("harbor.db"), 0);

    // Also when the very first open meets an unopenable file.
    harbor::removeDatabase();
    ASSERT_TRUE(fs::create_directory(m_path));
    SqliteDataBase fresh;
    EXPECT_EQ(fresh.open("harbor.db"), -4);
    EXPECT_EQ(fresh.insert("CREATE TABLE t(x)"), -4);
}

TEST_F(SqliteDataBaseTest, AbsolutePathIsStillJoinedToTheSqliteDirectory) {
    SqliteDataBase db;
    EXPECT_EQ(db.open(m_path.c_str()), -4);
    EXPECT_FALSE(fs::exists(m_path));
    EXPECT_EQ(db.insert("CREATE TABLE t(x)"), -4);

    // The joined path is the SQLite directory followed by the whole path.
#if defined(_WIN32)
    // A drive's colon cannot stand inside a path, so the path above names no
    // file at all; a path rooted without a drive shows the join.
    const std::string rooted = m_path.substr(2);  // "\dir\...\harbor.db"
    const std::string nested = harbor::home() + harbor::home().substr(3);
    ASSERT_TRUE(fs::create_directories(nested));
    SqliteDataBase other;
    EXPECT_EQ(other.open(rooted.c_str()), 0);
    EXPECT_TRUE(fs::is_regular_file(nested + "harbor.db"));
    EXPECT_FALSE(fs::exists(m_path));
    harbor::removeTree(harbor::home() + harbor::home().substr(3, harbor::home().find('\\', 3) - 2));
#else
    const std::string nested = harbor::home() + harbor::home().substr(1);
    ASSERT_TRUE(fs::create_directories(nested));
    EXPECT_EQ(db.open("harbor.db"), 0);
    EXPECT_TRUE(fs::is_regular_file(nested + "harbor.db"));
    EXPECT_FALSE(fs::exists(m_path));
    harbor::removeTree(harbor::home() + harbor::home().substr(1, harbor::home().find('/', 1)));
#endif
}

TEST_F(SqliteDataBaseTest, ThreadsInsertThroughOneObjectWithoutSilentLoss) {
    constexpr int kThreads = 8;
    constexpr int kInserts = 40;
    auto db = std::make_unique<SqliteDataBase>();
    ASSERT_EQ(db->open("harbor.db"), 0);
    ASSERT_EQ(db->create("CREATE TABLE t(v INTEGER)"), 0);

    std::vector<std::vector<int>> results(kThreads, std::vector<int>(kInserts, 1));
    probe::StartLine start(kThreads);
    std::atomic<int> timeouts{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            if (!start.arrive()) ++timeouts;
            for (int j = 0; j < kInserts; ++j) {
                const std::string sql =
                    "INSERT INTO t VALUES (" + std::to_string(i * 1000 + j) + ")";
                results[i][j] = db->insert(sql.c_str());
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    ASSERT_EQ(timeouts.load(), 0);

    std::multiset<std::string> stored;
    for (const Row& row : harbor::direct("SELECT v FROM t")) stored.insert(row.at("v"));
    int inserted = 0;
    int lockFailures = 0;
    for (int i = 0; i < kThreads; ++i) {
        for (int j = 0; j < kInserts; ++j) {
            const std::string value = std::to_string(i * 1000 + j);
            if (results[i][j] == 0) {
                ++inserted;
                EXPECT_EQ(stored.count(value), 1u) << "reported inserted, not stored: " << value;
            } else {
                ++lockFailures;
                EXPECT_EQ(results[i][j], -1) << value;
                EXPECT_EQ(stored.count(value), 0u) << "reported failed, but stored: " << value;
            }
        }
    }
    EXPECT_EQ(stored.size(), static_cast<std::size_t>(inserted));
    std::printf("concurrent inserts: %d succeeded, %d met a lock\n", inserted, lockFailures);
    RecordProperty("lock_failures", lockFailures);

    // Destruction after several threads used the object releases everything.
    db.reset();
    expectNothingOpen("destruction");
}

TEST_F(SqliteDataBaseTest, FactoryIsReachableByItsPlainName) {
    using Factory = DataBase* (*)();
#if defined(_WIN32)
    // Looked up in ZkDb.dll's export table by the plain name.
    const auto symbol = reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("ZkDb.dll"), "createDatabase"));
#else
    void* symbol = ::dlsym(RTLD_DEFAULT, "createDatabase");
#endif
    ASSERT_NE(symbol, nullptr);
    const Factory factory = reinterpret_cast<Factory>(symbol);

    std::unique_ptr<DataBase> db(factory());
    ASSERT_NE(db, nullptr);
    EXPECT_NE(dynamic_cast<SqliteDataBase*>(db.get()), nullptr);
    EXPECT_EQ(db->create("CREATE TABLE t(x)"), -1) << "a new object is unopened";
    EXPECT_EQ(db->open("harbor.db"), 0);
    EXPECT_EQ(db->create("CREATE TABLE t(x)"), 0);

    std::unique_ptr<DataBase> another(factory());
    EXPECT_NE(another.get(), db.get());
}

}  // namespace
