// Throughput from one and two threads: point queries through one shared
// SqliteDataBase (open, then query, as every access-class operation does
// it), the same sequence by hand as SQLite's own scaling, and the
// per-thread connection look-up of one shared SQLiteBuilt; beside them a
// computation that shares nothing, as the machine's own scaling during the
// run. Compare items_per_second of threads:2 with threads:1.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "HarborBench.h"
#include "PointOps.h"
#include "ZkDb/storage/SQLiteBuilt.h"
#include "ZkDb/storage/SqliteDataBase.h"

namespace {

using namespace harbor_bench;

// Made by thread 0 before the loop; the benchmark's start barrier publishes
// it to the other threads, and its stop barrier keeps it alive until every
// thread is done.
SqliteDataBase* sharedDatabase = nullptr;
SQLiteBuilt* sharedBuilt = nullptr;

void databaseQuery(benchmark::State& state) {
    const std::string& sql = statementsOf<DeviceStateQuery>().front();
    if (state.thread_index() == 0) {
        load(pointLayout());
        sharedDatabase = new SqliteDataBase();
        if (sharedDatabase->open("harbor.db") != 0) {
            state.SkipWithError("open failed");
        }
    }
    for (auto _ : state) {
        if (sharedDatabase->open("harbor.db") != 0 || sharedDatabase->query(sql.c_str()).empty()) {
            state.SkipWithError("the point query failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        delete sharedDatabase;
        sharedDatabase = nullptr;
    }
}

void floorQuery(benchmark::State& state) {
    const std::string& sql = statementsOf<DeviceStateQuery>().front();
    if (state.thread_index() == 0) {
        load(pointLayout());
    }
    for (auto _ : state) {
        ResultRows rows;
        if (openTwiceExec(sql.c_str(), &rows) != SQLITE_OK || rows.empty()) {
            state.SkipWithError("the floor query failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void helperLookUp(benchmark::State& state) {
    if (state.thread_index() == 0) {
        sharedBuilt = new SQLiteBuilt(databasePath());
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(sharedBuilt->getSQLiteHelper());
    }
    state.SetItemsProcessed(state.iterations());
    if (state.thread_index() == 0) {
        delete sharedBuilt;
        sharedBuilt = nullptr;
    }
}

// Pure computation of about the length of a point query, touching no
// shared state: how much of two cores the machine gives this run (other
// processes on the host lower it).
void computation(benchmark::State& state) {
    for (auto _ : state) {
        std::uint64_t x = 0x9e3779b97f4a7c15u;
        for (int i = 0; i < 100000; ++i) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
        }
        benchmark::DoNotOptimize(x);
    }
    state.SetItemsProcessed(state.iterations());
}

[[maybe_unused]] const bool kRegistered = [] {
    benchmark::RegisterBenchmark("threads/machine.computation/reference", computation)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("threads/SqliteDataBase.openQuery/library", databaseQuery)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("threads/SqliteDataBase.openQuery/floor", floorQuery)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("threads/SQLiteBuilt.getSQLiteHelper/library", helperLookUp)
        ->Threads(1)
        ->Threads(2)
        ->UseRealTime();
    return true;
}();

}  // namespace
