#include "ZkDb/storage/SQLiteHelper.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/Harbor.h"
#include "support/StorageProbe.h"

namespace {

using Row = std::map<std::string, std::string>;

class SQLiteHelperTest : public harbor::HomeTest {
protected:
    const std::string m_path = harbor::databasePath();
};

// --- Opening and closing -------------------------------------------------------------

TEST_F(SQLiteHelperTest, OpenOnAnOpenObjectKeepsItsConnection) {
    SQLiteHelper helper(m_path);
    EXPECT_TRUE(helper.closeDatabase());  // closing a closed object is harmless
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 0) << "construction opens nothing";

    ASSERT_TRUE(helper.openDatabase());
    ASSERT_TRUE(
        helper.execSql("CREATE TEMP TABLE scratch(x); INSERT INTO scratch VALUES(7)", nullptr));
    ASSERT_FALSE(helper.execSql("SELECT * FROM nowhere", nullptr));
    const std::string error = helper.getLastError();

    // A second open neither reconnects (the TEMP table lives only as long as
    // its connection) nor touches the last error.
    EXPECT_TRUE(helper.openDatabase());
    EXPECT_EQ(helper.getLastError(), error);
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 1);
    ResultRows rows;
    EXPECT_TRUE(helper.execSql("SELECT x FROM scratch", &rows)) << helper.getLastError();
    EXPECT_EQ(rows, (ResultRows{Row{{"x", "7"}}}));

    // Closing really ends the connection: a reopened one has lost the table.
    EXPECT_TRUE(helper.closeDatabase());
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 0);
    EXPECT_TRUE(helper.closeDatabase());
    ASSERT_TRUE(helper.openDatabase());
    EXPECT_FALSE(helper.execSql("SELECT x FROM scratch", nullptr));
    EXPECT_EQ(helper.getLastError(), "no such table: scratch");
}

TEST_F(SQLiteHelperTest, DestructorClosesAnOpenConnection) {
    {
        SQLiteHelper helper(m_path);
        ASSERT_TRUE(helper.openDatabase());
        ASSERT_TRUE(helper.execSql("BEGIN EXCLUSIVE", nullptr));
        EXPECT_EQ(probe::openDescriptorsOn(m_path), 1);
    }
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 0);
    EXPECT_TRUE(probe::lockableExclusively(m_path));
}

TEST_F(SQLiteHelperTest, FailedOpenLeavesNoHandleAndCanBeRetried) {
    const std::string directory = harbor::home() + "not-yet/";
    const std::string path = directory + "file.db";
    harbor::removeTree(directory);

    SQLiteHelper helper(path);
    EXPECT_FALSE(helper.openDatabase());
    EXPECT_EQ(helper.getLastError(), sqlite3_errstr(SQLITE_CANTOPEN));
    // Still closed: nothing runs.
    EXPECT_FALSE(helper.execSql("SELECT 1", nullptr));
    EXPECT_EQ(helper.getLastError(), "database not open");
    EXPECT_FALSE(helper.openDatabase());

    ASSERT_TRUE(std::filesystem::create_directory(directory));
    EXPECT_TRUE(helper.openDatabase());
    // A successful open leaves the older text in place.
    EXPECT_EQ(helper.getLastError(), sqlite3_errstr(SQLITE_CANTOPEN));
    EXPECT_TRUE(helper.execSql("CREATE TABLE t(x)", nullptr)) << helper.getLastError();
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    helper.closeDatabase();
    harbor::removeTree(directory);
}

// SQLite hands back no handle at all only when it cannot even initialise
// itself. That is provoked in a child process, whose SQLite is shut down and
// restarted with an allocator that refuses to start; the child prints the
// helper's last error for the parent to match.
void openWithUnstartableSqlite(const std::string& path) {
    sqlite3_shutdown();
    sqlite3_mem_methods methods{};
    sqlite3_config(SQLITE_CONFIG_GETMALLOC, &methods);
    methods.xInit = [](void*) { return SQLITE_ERROR; };
    sqlite3_config(SQLITE_CONFIG_MALLOC, &methods);

    SQLiteHelper helper(path);
    const bool opened = helper.openDatabase();
    const std::string error = helper.getLastError();
    const bool closed = !helper.execSql("SELECT 1", nullptr);
    std::fprintf(stderr, "opened=%d error=[%s] closed=%d\n", opened ? 1 : 0, error.c_str(),
                 closed ? 1 : 0);
    std::fflush(stderr);
    std::_Exit(0);
}

TEST_F(SQLiteHelperTest, OpenWithoutAnyHandleReportsItsOwnText) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(openWithUnstartableSqlite(m_path), ::testing::ExitedWithCode(0),
                "opened=0 error=\\[open database error \\(m_db == 0\\)\\] closed=1");
}

// --- Statements and the last error ----------------------------------------------------

TEST_F(SQLiteHelperTest, ClosedObjectRunsNothingAndLeavesRowsAlone) {
    const ResultRows before{Row{{"kept", "1"}}};
    ResultRows rows = before;
    SQLiteHelper helper(m_path);
    EXPECT_FALSE(helper.execSql("CREATE TABLE t(x)", &rows));
    EXPECT_EQ(helper.getLastError(), "database not open");
    EXPECT_EQ(rows, before);

    // Also after the connection was open once: execSql never reopens it.
    ASSERT_TRUE(helper.openDatabase());
    ResultRows tables;
    ASSERT_TRUE(helper.execSql("SELECT name FROM sqlite_master", &tables));
    EXPECT_TRUE(tables.empty()) << "the statement ran while closed";
    helper.closeDatabase();
    EXPECT_FALSE(helper.execSql("SELECT 1 AS x", &rows));
    EXPECT_EQ(helper.getLastError(), "database not open");
    EXPECT_EQ(rows, before);
}

TEST_F(SQLiteHelperTest, EveryStatementRewritesTheLastError) {
    SQLiteHelper helper(m_path);
    ASSERT_TRUE(helper.openDatabase());
    EXPECT_EQ(helper.getLastError(), "");
    ASSERT_TRUE(helper.execSql("CREATE TEMP TABLE scratch(x)", nullptr));

    EXPECT_FALSE(helper.execSql("SELECT * FROM nowhere", nullptr));
    EXPECT_EQ(helper.getLastError(), "no such table: nowhere");
    // The reference follows later calls.
    const std::string& error = helper.getLastError();
    EXPECT_FALSE(helper.execSql("SELEC 1", nullptr));
    EXPECT_NE(error.find("syntax error"), std::string::npos) << error;

    // A failed statement leaves the connection open.
    EXPECT_TRUE(helper.execSql("SELECT x FROM scratch", nullptr));
    EXPECT_EQ(error, "");

    EXPECT_FALSE(helper.execSql("SELECT * FROM nowhere", nullptr));
    ResultRows rows;
    EXPECT_TRUE(helper.execSql("", &rows));
    EXPECT_EQ(error, "");
    EXPECT_TRUE(rows.empty());
}

// --- Result rows -----------------------------------------------------------------------

class ResultRowsTest : public SQLiteHelperTest {
protected:
    void SetUp() override {
        SQLiteHelperTest::SetUp();
        ASSERT_TRUE(m_helper.openDatabase());
    }
    void TearDown() override {
        m_helper.closeDatabase();
        SQLiteHelperTest::TearDown();
    }

    SQLiteHelper m_helper{m_path};
};

TEST_F(ResultRowsTest, ValuesAreTextKeyedByColumnName) {
    ResultRows rows;
    ASSERT_TRUE(
        m_helper.execSql("SELECT NULL AS gone, '' AS empty, 'x' AS text, 42 AS whole, 1.5 AS real, "
                         "'ab' || char(0) || 'cd' AS cut",
                         &rows))
        << m_helper.getLastError();
    const Row expected{
        {"empty", ""}, {"text", "x"}, {"whole", "42"}, {"real", "1.5"}, {"cut", "ab"}};
    EXPECT_EQ(rows, ResultRows{expected});
}

TEST_F(ResultRowsTest, LaterColumnOfOneNameWinsUnlessItIsNull) {
    ResultRows rows;
    ASSERT_TRUE(m_helper.execSql("SELECT 'first' AS k, 'second' AS k", &rows));
    ASSERT_TRUE(m_helper.execSql("SELECT 'first' AS k, NULL AS k", &rows));
    EXPECT_EQ(rows, (ResultRows{Row{{"k", "second"}}, Row{{"k", "first"}}}));
}

TEST_F(ResultRowsTest, AllNullRowStaysInPlaceAsEmptyMap) {
    ASSERT_TRUE(m_helper.execSql(
        "CREATE TABLE t(a, b); INSERT INTO t VALUES (1, NULL), (NULL, NULL), ('', 'y')", nullptr));
    ResultRows rows;
    ASSERT_TRUE(m_helper.execSql("SELECT a, b FROM t ORDER BY rowid", &rows));
    EXPECT_EQ(rows, (ResultRows{Row{{"a", "1"}}, Row{}, Row{{"a", ""}, {"b", "y"}}}));
}

TEST_F(ResultRowsTest, RowsAccumulateAcrossStatementsAndCalls) {
    ResultRows rows{Row{{"earlier", "0"}}};
    ASSERT_TRUE(m_helper.execSql("SELECT 1 AS a; SELECT 2 AS b UNION ALL SELECT 3", &rows));
    ASSERT_TRUE(m_helper.execSql("SELECT 4 AS c", &rows));
    EXPECT_EQ(rows, (ResultRows{Row{{"earlier", "0"}}, Row{{"a", "1"}}, Row{{"b", "2"}},
                                Row{{"b", "3"}}, Row{{"c", "4"}}}));
}

TEST_F(ResultRowsTest, NullRowsDiscardsRowsButKeepsTheVerdict) {
    EXPECT_TRUE(
        m_helper.execSql("CREATE TABLE t(x); INSERT INTO t VALUES (1); SELECT x FROM t", nullptr));
    EXPECT_EQ(harbor::direct("SELECT x FROM t"), (ResultRows{Row{{"x", "1"}}}));
    EXPECT_FALSE(m_helper.execSql("SELECT x FROM t; SELECT * FROM nowhere", nullptr));
    EXPECT_EQ(m_helper.getLastError(), "no such table: nowhere");
}

TEST_F(ResultRowsTest, RowsBeforeAFailureStay) {
    ResultRows rows;
    EXPECT_FALSE(m_helper.execSql("SELECT 1 AS a; SELECT * FROM nowhere", &rows));
    EXPECT_EQ(m_helper.getLastError(), "no such table: nowhere");
    EXPECT_EQ(rows, (ResultRows{Row{{"a", "1"}}}));

    // A statement that fails in the middle of its own rows.
    ASSERT_TRUE(m_helper.execSql(
        "CREATE TABLE n(x); INSERT INTO n VALUES (1), (-2), (-9223372036854775808), (4)", nullptr));
    rows.clear();
    EXPECT_FALSE(m_helper.execSql("SELECT abs(x) AS v FROM n ORDER BY rowid", &rows));
    EXPECT_EQ(m_helper.getLastError(), "integer overflow");
    EXPECT_EQ(rows, (ResultRows{Row{{"v", "1"}}, Row{{"v", "2"}}}));
}

}  // namespace
