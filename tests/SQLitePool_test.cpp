#include "ZkDb/storage/SQLitePool.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "ZkDb/storage/SQLiteHelper.h"
#include "support/Harbor.h"
#include "support/StorageProbe.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Ends the process with a failure when a test is still running after its
// limit, so a pool that never lends fails the test instead of hanging it.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_thread([this, limit] {
              std::unique_lock<std::mutex> lock(m_lock);
              if (!m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                  std::fprintf(stderr, "watchdog: test still running after %lld s\n",
                               static_cast<long long>(limit.count()));
                  std::_Exit(EXIT_FAILURE);
              }
          }) {}

    ~Watchdog() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

// A getConnect() running on its own thread. Declare a Watchdog before it:
// the destructor waits for the call to finish.
class PendingBorrow {
public:
    explicit PendingBorrow(SQLitePool& pool)
        : m_future(m_promise.get_future().share()),
          m_thread([this, &pool] { m_promise.set_value(pool.getConnect()); }) {}

    ~PendingBorrow() { m_thread.join(); }

    bool doneWithin(milliseconds limit) {
        return m_future.wait_for(limit) == std::future_status::ready;
    }

    SQLiteHelper* result() const { return m_future.get(); }

private:
    std::promise<SQLiteHelper*> m_promise;
    std::shared_future<SQLiteHelper*> m_future;
    std::thread m_thread;
};

bool isOpen(SQLiteHelper* connection) {
    if (connection->execSql("SELECT 1", nullptr)) return true;
    EXPECT_EQ(connection->getLastError(), "database not open");
    return false;
}

// True while some connection holds a lock that stops a write transaction.
bool databaseLocked() {
    sqlite3* db = nullptr;
    if (sqlite3_open(harbor::databasePath().c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        ADD_FAILURE() << "cannot open " << harbor::databasePath();
        return false;
    }
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE; ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_BUSY;
}

// Opens the object and has it take the file's exclusive lock, which only
// closing its connection releases. The lock lets a test see from outside
// whether the object was destroyed.
void holdExclusiveLock(SQLiteHelper* connection) {
    ASSERT_TRUE(connection->openDatabase()) << connection->getLastError();
    ASSERT_TRUE(connection->execSql("BEGIN EXCLUSIVE", nullptr)) << connection->getLastError();
    ASSERT_TRUE(databaseLocked());
}

// Waits up to `limit` for the file's lock to be released; returns the time
// it took, or `limit` when it is still held.
milliseconds untilUnlocked(Clock::time_point since, milliseconds limit) {
    while (Clock::now() - since < limit) {
        if (!databaseLocked()) {
            return std::chrono::duration_cast<milliseconds>(Clock::now() - since);
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
    return limit;
}

int threadCount() {
#if defined(_WIN32)
    return probe::threadsOfThisProcess();
#else
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] != '.') ++count;
        }
        closedir(tasks);
    }
    return count;
#endif
}

using SQLitePoolTest = harbor::HomeTest;

TEST_F(SQLitePoolTest, BlocksAtTheMaximumUntilAnObjectIsReturnedAndHandsOverThatObject) {
    Watchdog watchdog(std::chrono::seconds(20));
    SQLitePool pool(harbor::databasePath(), 2, 0);
    SQLiteHelper* first = pool.getConnect();
    SQLiteHelper* second = pool.getConnect();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);

    PendingBorrow third(pool);
    EXPECT_FALSE(third.doneWithin(milliseconds(300)));
    EXPECT_TRUE(pool.returnConnect(second));
    ASSERT_TRUE(third.doneWithin(milliseconds(5000)));
    EXPECT_EQ(third.result(), second);

    EXPECT_TRUE(pool.returnConnect(first));
    EXPECT_TRUE(pool.returnConnect(second));
}

TEST_F(SQLitePoolTest, LendsTheMostRecentlyReturnedObjectFirst) {
    SQLitePool pool(harbor::databasePath(), 3, 0);
    SQLiteHelper* a = pool.getConnect();
    SQLiteHelper* b = pool.getConnect();
    EXPECT_TRUE(pool.returnConnect(a));
    EXPECT_TRUE(pool.returnConnect(b));
    EXPECT_EQ(pool.getConnect(), b);
    EXPECT_EQ(pool.getConnect(), a);
    EXPECT_TRUE(pool.returnConnect(a));
    EXPECT_TRUE(pool.returnConnect(b));
}

TEST_F(SQLitePoolTest, LendsNewObjectsClosedAndReturnedOnesAsTheirBorrowerLeftThem) {
    SQLitePool pool(harbor::databasePath(), 2, 0);
    SQLiteHelper* opened = pool.getConnect();
    SQLiteHelper* closed = pool.getConnect();
    EXPECT_FALSE(isOpen(opened));
    EXPECT_FALSE(isOpen(closed));

    ASSERT_TRUE(opened->openDatabase());
    EXPECT_TRUE(pool.returnConnect(closed));
    EXPECT_TRUE(pool.returnConnect(opened));
    EXPECT_EQ(pool.getConnect(), opened);
    EXPECT_TRUE(isOpen(opened));
    EXPECT_EQ(pool.getConnect(), closed);
    EXPECT_FALSE(isOpen(closed));
    EXPECT_TRUE(pool.returnConnect(opened));
    EXPECT_TRUE(pool.returnConnect(closed));
}

TEST_F(SQLitePoolTest, RefusesNullForeignAndAlreadyReturnedObjects) {
    Watchdog watchdog(std::chrono::seconds(20));
    SQLitePool pool(harbor::databasePath(), 1, 0);
    SQLitePool other(harbor::databasePath(), 1, 0);
    SQLiteHelper foreign(harbor::databasePath());
    SQLiteHelper* fromOther = other.getConnect();

    SQLiteHelper* own = pool.getConnect();
    EXPECT_FALSE(pool.returnConnect(nullptr));
    EXPECT_FALSE(pool.returnConnect(&foreign));
    EXPECT_FALSE(pool.returnConnect(fromOther));
    EXPECT_TRUE(pool.returnConnect(own));
    EXPECT_FALSE(pool.returnConnect(own));

    // Refused objects did not join the pool: its one object is lent once,
    // and the next caller waits for it.
    EXPECT_EQ(pool.getConnect(), own);
    PendingBorrow waiting(pool);
    EXPECT_FALSE(waiting.doneWithin(milliseconds(300)));
    EXPECT_TRUE(pool.returnConnect(own));
    ASSERT_TRUE(waiting.doneWithin(milliseconds(5000)));
    EXPECT_EQ(waiting.result(), own);
    EXPECT_TRUE(pool.returnConnect(own));

    EXPECT_TRUE(other.returnConnect(fromOther));
}

TEST_F(SQLitePoolTest, ReaperDestroysAnObjectIdleForItsTimeOutAndFreesItsPlace) {
    Watchdog watchdog(std::chrono::seconds(30));
    SQLitePool pool(harbor::databasePath(), 1, 1);
    SQLiteHelper* connection = pool.getConnect();
    holdExclusiveLock(connection);
    const Clock::time_point returned = Clock::now();
    ASSERT_TRUE(pool.returnConnect(connection));

    // Destroying the object closes its connection and so releases the lock:
    // no earlier than the time-out, and within about one reaper period of it.
    const milliseconds reaped = untilUnlocked(returned, milliseconds(5000));
    EXPECT_GE(reaped.count(), 950);
    EXPECT_LT(reaped.count(), 4000);

    // The only place was freed: the next caller gets a fresh, closed object.
    PendingBorrow next(pool);
    ASSERT_TRUE(next.doneWithin(milliseconds(5000)));
    EXPECT_FALSE(isOpen(next.result()));
    EXPECT_TRUE(pool.returnConnect(next.result()));
}

TEST_F(SQLitePoolTest, NeverDestroysAnObjectOnLoan) {
    SQLitePool pool(harbor::databasePath(), 1, 1);
    SQLiteHelper* connection = pool.getConnect();
    ASSERT_TRUE(connection->openDatabase());
    ASSERT_TRUE(pool.returnConnect(connection));
    std::this_thread::sleep_for(milliseconds(500));

    // Lent again before its time-out, then kept well past it.
    ASSERT_EQ(pool.getConnect(), connection);
    holdExclusiveLock(connection);
    std::this_thread::sleep_for(milliseconds(2500));
    EXPECT_TRUE(databaseLocked());
    EXPECT_TRUE(connection->execSql("COMMIT", nullptr)) << connection->getLastError();
    EXPECT_TRUE(pool.returnConnect(connection));
}

TEST_F(SQLitePoolTest, WithoutTimeOutHasNoReaperAndKeepsIdleObjects) {
    // A first thread may start a sanitizer's helper thread; have that done.
    std::thread([] {}).join();
    const int before = threadCount();
    {
        SQLitePool withReaper(harbor::databasePath(), 1, 1);
        EXPECT_EQ(threadCount(), before + 1);
    }

    SQLitePool pool(harbor::databasePath(), 1, 0);
    EXPECT_EQ(threadCount(), before);
    SQLiteHelper* connection = pool.getConnect();
    holdExclusiveLock(connection);
    ASSERT_TRUE(pool.returnConnect(connection));
    std::this_thread::sleep_for(milliseconds(2200));
    EXPECT_TRUE(databaseLocked());
    ASSERT_EQ(pool.getConnect(), connection);
    EXPECT_TRUE(connection->execSql("COMMIT", nullptr)) << connection->getLastError();
    EXPECT_TRUE(pool.returnConnect(connection));
}

TEST_F(SQLitePoolTest, NegativeTimeOutDestroysIdleObjectsAtTheNextPass) {
    SQLitePool pool(harbor::databasePath(), 1, -1);
    SQLiteHelper* connection = pool.getConnect();
    holdExclusiveLock(connection);
    const Clock::time_point returned = Clock::now();
    ASSERT_TRUE(pool.returnConnect(connection));
    EXPECT_LT(untilUnlocked(returned, milliseconds(5000)).count(), 3000);
    connection = pool.getConnect();
    EXPECT_FALSE(isOpen(connection));
    EXPECT_TRUE(pool.returnConnect(connection));
}

TEST_F(SQLitePoolTest, DestructionStopsTheReaperPromptlyAndDestroysOnlyIdleObjects) {
    auto pool = std::make_unique<SQLitePool>(harbor::databasePath(), 2, 60);
    SQLiteHelper* idle = pool->getConnect();
    SQLiteHelper* onLoan = pool->getConnect();
    holdExclusiveLock(idle);
    ASSERT_TRUE(pool->returnConnect(idle));
    std::this_thread::sleep_for(milliseconds(200));  // the reaper is asleep now

    const Clock::time_point start = Clock::now();
    pool.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));

    // The idle object was destroyed (its lock is gone); the borrowed one
    // still works and is now the borrower's to delete.
    EXPECT_FALSE(databaseLocked());
    std::unique_ptr<SQLiteHelper> kept(onLoan);
    ASSERT_TRUE(kept->openDatabase());
    EXPECT_TRUE(kept->execSql("SELECT 1", nullptr)) << kept->getLastError();
}

TEST_F(SQLitePoolTest, ConcurrentBorrowersNeverShareAnObject) {
    Watchdog watchdog(std::chrono::seconds(60));
    // A negative time-out keeps the reaper destroying objects under the
    // borrowers' feet.
    SQLitePool pool(harbor::databasePath(), 3, -1);
    std::mutex heldLock;
    std::set<SQLiteHelper*> held;
    std::atomic<int> shared{0};
    std::atomic<int> refused{0};

    // Long enough for the reaper to make a pass or two; every thread still
    // does at least 1000 rounds however slow the build.
    const Clock::time_point until = Clock::now() + milliseconds(1500);
    auto borrower = [&] {
        for (int i = 0; i < 1000 || Clock::now() < until; ++i) {
            SQLiteHelper* connection = pool.getConnect();
            {
                std::lock_guard<std::mutex> guard(heldLock);
                if (!held.insert(connection).second) ++shared;
            }
            // Writes the object's state, so a second user shows up as a race.
            connection->execSql("SELECT 1", nullptr);
            {
                std::lock_guard<std::mutex> guard(heldLock);
                held.erase(connection);
            }
            if (!pool.returnConnect(connection)) ++refused;
            // Pauses leave objects idle for the reaper to find.
            if (i % 64 == 0) std::this_thread::sleep_for(milliseconds(1));
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) threads.emplace_back(borrower);
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(shared.load(), 0);
    EXPECT_EQ(refused.load(), 0);
}

}  // namespace
