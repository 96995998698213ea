#include "ZkDb/storage/SQLiteBuilt.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ZkDb/storage/SQLiteHelper.h"
#include "support/Harbor.h"
#include "support/StorageProbe.h"

namespace {

class SQLiteBuiltTest : public harbor::HomeTest {
protected:
    const std::string m_path = harbor::databasePath();
};

TEST_F(SQLiteBuiltTest, EachThreadKeepsItsOwnObject) {
    SQLiteBuilt built(m_path);
    SQLiteHelper* mine = built.getSQLiteHelper();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(built.getSQLiteHelper(), mine);

    SQLiteHelper* first = nullptr;
    SQLiteHelper* second = nullptr;
    std::thread other([&] {
        first = built.getSQLiteHelper();
        second = built.getSQLiteHelper();
    });
    other.join();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, mine);
    EXPECT_EQ(built.getSQLiteHelper(), mine);
}

TEST_F(SQLiteBuiltTest, NewObjectIsClosedAndBoundToTheRegistrysPath) {
    SQLiteBuilt built(m_path);
    SQLiteHelper* helper = built.getSQLiteHelper();
    EXPECT_FALSE(helper->execSql("SELECT 1", nullptr));
    EXPECT_EQ(helper->getLastError(), "database not open");
    EXPECT_FALSE(std::filesystem::exists(m_path));

    ASSERT_TRUE(helper->openDatabase());
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 1);
    EXPECT_TRUE(helper->execSql("SELECT 1", nullptr));
    helper->closeDatabase();
}

TEST_F(SQLiteBuiltTest, ThreadsAskingAtOnceGetOneObjectEach) {
    constexpr int kThreads = 16;
    SQLiteBuilt built(m_path);
    probe::StartLine start(kThreads);
    probe::StartLine finish(kThreads);  // nobody ends, so no thread id is reused
    std::vector<SQLiteHelper*> firstCall(kThreads, nullptr);
    std::vector<SQLiteHelper*> secondCall(kThreads, nullptr);
    std::atomic<int> timeouts{0};

    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            if (!start.arrive()) ++timeouts;
            firstCall[i] = built.getSQLiteHelper();
            secondCall[i] = built.getSQLiteHelper();
            if (!finish.arrive()) ++timeouts;
        });
    }
    for (std::thread& thread : threads) thread.join();
    ASSERT_EQ(timeouts.load(), 0);

    std::set<SQLiteHelper*> distinct;
    for (int i = 0; i < kThreads; ++i) {
        ASSERT_NE(firstCall[i], nullptr);
        EXPECT_EQ(secondCall[i], firstCall[i]) << "thread " << i;
        distinct.insert(firstCall[i]);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kThreads));
    EXPECT_EQ(distinct.count(built.getSQLiteHelper()), 0u);
}

TEST_F(SQLiteBuiltTest, DestructionClosesEveryOpenObject) {
    auto built = std::make_unique<SQLiteBuilt>(m_path);

    // A thread that ends leaves its open object behind in the registry.
    bool openedElsewhere = false;
    std::thread([&] { openedElsewhere = built->getSQLiteHelper()->openDatabase(); }).join();
    ASSERT_TRUE(openedElsewhere);

    SQLiteHelper* mine = built->getSQLiteHelper();
    ASSERT_TRUE(mine->openDatabase());
    ASSERT_TRUE(
        mine->execSql("CREATE TABLE t(x); BEGIN EXCLUSIVE; INSERT INTO t VALUES (1)", nullptr));
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 2);
    EXPECT_FALSE(probe::lockableExclusively(m_path));

    built.reset();
    EXPECT_EQ(probe::openDescriptorsOn(m_path), 0);
    EXPECT_TRUE(probe::lockableExclusively(m_path));
    EXPECT_TRUE(harbor::direct("SELECT x FROM t").empty()) << "the open transaction was kept";
}

}  // namespace
