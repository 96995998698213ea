// Point operations of the access classes against their floor: the same
// statement run by hand through SQLite's C interface in the sequence the
// library's design fixes (open and close the file, then open, exec, close).
#include <benchmark/benchmark.h>

#include "HarborBench.h"
#include "PointOps.h"

namespace {

using namespace harbor_bench;

// Each variant warms up with one untimed call; writes leave the table
// changed, so the next benchmark reloads it.
template <class Op>
void library(benchmark::State& state) {
    load(pointLayout());
    Op op;
    if (op() != 0) {
        state.SkipWithError("the library operation failed");
        return;
    }
    for (auto _ : state) {
        if (op() != 0) {
            state.SkipWithError("the library operation failed");
            break;
        }
    }
    if (Op::kWrites) touched();
}

template <class Op>
void floorOf(benchmark::State& state) {
    StatementCycle statements(statementsOf<Op>());
    load(pointLayout());
    auto once = [&statements] {
        const char* sql = statements.next().c_str();
        if (Op::kWrites) return openTwiceExec(sql, nullptr) == SQLITE_OK;
        ResultRows rows;
        return openTwiceExec(sql, &rows) == SQLITE_OK && !rows.empty();
    };
    if (!once()) {
        state.SkipWithError("the floor statement failed");
        return;
    }
    for (auto _ : state) {
        if (!once()) {
            state.SkipWithError("the floor statement failed");
            break;
        }
    }
    if (Op::kWrites) touched();
}

template <class Op>
void registerCase(const std::string& name) {
    benchmark::RegisterBenchmark(("point/" + name + "/library").c_str(), library<Op>)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("point/" + name + "/floor").c_str(), floorOf<Op>)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
}

[[maybe_unused]] const bool kRegistered = [] {
    registerCase<DeviceStateAdd>("DeviceStateDao.add");
    registerCase<DeviceStateUpdate>("DeviceStateDao.update");
    registerCase<DeviceStateQuery>("DeviceStateDao.queryByMediaId");
    registerCase<DeviceAdd>("DeviceTableDao.add");
    registerCase<DeviceUpdate>("DeviceTableDao.update");
    registerCase<DeviceQuery>("DeviceTableDao.queryById");
    registerCase<MqttMessageQuery>("MqttMessageTableDao.queryById");
    return true;
}();

}  // namespace
