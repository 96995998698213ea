// Costs of lending and returning connection objects.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "PrivateHome.h"
#include "ZkDb/storage/SQLiteHelper.h"
#include "ZkDb/storage/SQLitePool.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string databasePath() { return zkdb_harness::privateHome() + "harbor.db"; }

// Pools shared by the threads of one multi-threaded benchmark; they live
// until the program ends.
SQLitePool& sharedPool(int maximum) {
    static SQLitePool one(databasePath(), 1, 0);
    static SQLitePool two(databasePath(), 2, 0);
    return maximum == 1 ? one : two;
}

// One borrower, no contention: an idle object is always there.
void BM_PoolBorrowReturn(benchmark::State& state) {
    SQLitePool pool(databasePath(), 1, 0);
    for (auto _ : state) {
        SQLiteHelper* connection = pool.getConnect();
        benchmark::DoNotOptimize(connection);
        pool.returnConnect(connection);
    }
}
BENCHMARK(BM_PoolBorrowReturn);

// Two threads borrowing from one pool. With maximum 2 they compete for the
// locks only; with maximum 1 also for the one object, so one of them waits.
void BM_PoolBorrowReturnContended(benchmark::State& state) {
    SQLitePool& pool = sharedPool(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SQLiteHelper* connection = pool.getConnect();
        benchmark::DoNotOptimize(connection);
        pool.returnConnect(connection);
    }
}
BENCHMARK(BM_PoolBorrowReturnContended)->ArgName("maximum")->Arg(2)->Arg(1)->Threads(2);

// Time from returnConnect() to a borrower already blocked in getConnect()
// holding the returned object.
void BM_PoolHandOffToWaiter(benchmark::State& state) {
    SQLitePool pool(databasePath(), 1, 0);
    SQLiteHelper* held = pool.getConnect();
    for (auto _ : state) {
        std::atomic<bool> started{false};
        Clock::time_point received;
        std::thread waiter([&] {
            started.store(true);
            SQLiteHelper* connection = pool.getConnect();
            received = Clock::now();
            pool.returnConnect(connection);
        });
        while (!started.load()) {
            std::this_thread::yield();
        }
        // Long enough for the waiter to be parked inside getConnect().
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const Clock::time_point returned = Clock::now();
        pool.returnConnect(held);
        waiter.join();
        state.SetIterationTime(std::chrono::duration<double>(received - returned).count());
        held = pool.getConnect();
    }
    pool.returnConnect(held);
}
BENCHMARK(BM_PoolHandOffToWaiter)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);

}  // namespace
