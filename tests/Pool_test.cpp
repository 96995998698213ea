// The connection pool: last in first out, blocking at its maximum, refusing
// what it did not lend, and its reaper of idle objects.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool isOpen(SQLiteHelper* connection) { return connection->execSql("SELECT 1", nullptr); }

// True while some connection holds a lock that stops a write transaction.
bool databaseLocked() { return !harbor::canBegin("BEGIN IMMEDIATE"); }

// The object takes the file's exclusive lock, which only closing its
// connection releases: from outside, the lock shows whether it still lives.
void holdExclusiveLock(SQLiteHelper* connection) {
    ASSERT_TRUE(connection->openDatabase() && connection->execSql("BEGIN EXCLUSIVE", nullptr));
    ASSERT_TRUE(databaseLocked());
}

std::future<SQLiteHelper*> borrowLater(SQLitePool& pool) {
    return std::async(std::launch::async, [&pool] { return pool.getConnect(); });
}

using Pool = harbor::PrivateHomeTest;

TEST_F(Pool, LendsLastReturnedFirstBlocksAtItsMaximumAndRefusesWhatItDidNotLend) {
    SQLitePool pool(harbor::databasePath(), 2, 0);
    SQLitePool other(harbor::databasePath(), 1, 0);
    SQLiteHelper foreign(harbor::databasePath());
    SQLiteHelper* fromOther = other.getConnect();
    SQLiteHelper* a = pool.getConnect();
    SQLiteHelper* b = pool.getConnect();
    ASSERT_NE(a, b);
    EXPECT_FALSE(isOpen(a)) << "new objects are lent closed";
    ASSERT_TRUE(a->openDatabase());
    for (SQLiteHelper* refused : {static_cast<SQLiteHelper*>(nullptr), &foreign, fromOther}) {
        EXPECT_FALSE(pool.returnConnect(refused));
    }

    // Refused objects did not join the pool: the next caller waits for one
    // of its two objects and receives the one returned.
    std::future<SQLiteHelper*> waiting = borrowLater(pool);
    EXPECT_EQ(waiting.wait_for(milliseconds(300)), std::future_status::timeout);
    EXPECT_TRUE(pool.returnConnect(a));
    ASSERT_EQ(waiting.wait_for(milliseconds(5000)), std::future_status::ready);
    EXPECT_EQ(waiting.get(), a);
    EXPECT_TRUE(isOpen(a)) << "lent as its borrower left it";

    EXPECT_TRUE(pool.returnConnect(b));
    EXPECT_TRUE(pool.returnConnect(a));
    EXPECT_FALSE(pool.returnConnect(a)) << "returned twice";
    EXPECT_EQ(pool.getConnect(), a);
    EXPECT_EQ(pool.getConnect(), b);
    EXPECT_TRUE(pool.returnConnect(a) && pool.returnConnect(b) && other.returnConnect(fromOther));
}

TEST_F(Pool, ReaperDestroysObjectsIdleForTheTimeOutAndFreesTheirPlaces) {
    const struct {
        int idleSeconds;
        long earliestMs;
    } cases[] = {{1, 950}, {-1, 0}};  // negative: at the reaper's next pass
    for (const auto& c : cases) {
        SQLitePool pool(harbor::databasePath(), 1, c.idleSeconds);
        SQLiteHelper* connection = pool.getConnect();
        holdExclusiveLock(connection);
        const Clock::time_point returned = Clock::now();
        ASSERT_TRUE(pool.returnConnect(connection));
        while (Clock::now() - returned < milliseconds(5000) && databaseLocked()) {
            std::this_thread::sleep_for(milliseconds(20));
        }
        const auto reaped = std::chrono::duration_cast<milliseconds>(Clock::now() - returned);
        EXPECT_GE(reaped.count(), c.earliestMs) << c.idleSeconds;
        EXPECT_LT(reaped.count(), 4000) << c.idleSeconds;

        // The only place was freed: the next caller gets a fresh, closed object.
        std::future<SQLiteHelper*> next = borrowLater(pool);
        ASSERT_EQ(next.wait_for(milliseconds(5000)), std::future_status::ready);
        SQLiteHelper* fresh = next.get();
        EXPECT_FALSE(isOpen(fresh));
        EXPECT_TRUE(pool.returnConnect(fresh));
    }
}

// Objects on loan are never reaped, nor idle ones without a time-out; the
// pool's destruction stops the reaper at once and destroys only idle objects.
TEST_F(Pool, KeepsObjectsOnLoanAndDestroysOnlyIdleOnesWhenItGoes) {
    auto reaping = std::make_unique<SQLitePool>(harbor::databasePath(), 2, 1);
    SQLiteHelper* lent = reaping->getConnect();
    holdExclusiveLock(lent);
    SQLitePool keeping(harbor::databasePath(), 1, 0);
    SQLiteHelper* idle = keeping.getConnect();
    ASSERT_TRUE(idle->openDatabase() && keeping.returnConnect(idle));
    std::this_thread::sleep_for(milliseconds(2500));
    EXPECT_TRUE(databaseLocked());
    EXPECT_TRUE(lent->execSql("COMMIT", nullptr)) << lent->getLastError();
    EXPECT_EQ(keeping.getConnect(), idle);
    EXPECT_TRUE(isOpen(idle)) << "the idle object was kept as it was";
    EXPECT_TRUE(keeping.returnConnect(idle));

    std::unique_ptr<SQLiteHelper> onLoan(reaping->getConnect());  // the borrower's once it goes
    holdExclusiveLock(lent);
    ASSERT_TRUE(reaping->returnConnect(lent));
    std::this_thread::sleep_for(milliseconds(200));  // the reaper is asleep now
    const Clock::time_point start = Clock::now();
    reaping.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(databaseLocked()) << "the idle object was destroyed";
    EXPECT_TRUE(onLoan->openDatabase() && isOpen(onLoan.get()));
}

}  // namespace
