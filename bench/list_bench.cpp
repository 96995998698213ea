// List queries of the access classes against their floor: the same SELECT
// run by hand (open and close the file, then open, exec, close) collecting
// the same rows into ResultRows with a plain callback. The library's figure
// includes making the records and, like any caller, destroying them.
#include <benchmark/benchmark.h>

#include <list>
#include <string>

#include "HarborBench.h"
#include "ZkDb/tables/DeviceStateDao.h"
#include "ZkDb/tables/DeviceTableDao.h"

namespace {

using namespace harbor_bench;

struct DeviceList {
    static Layout layout(int rows) { return Layout{0, rows, 0}; }
    DeviceTableDao dao;
    std::size_t operator()() { return dao.query().size(); }
};

struct DeviceStateList {
    static Layout layout(int rows) { return Layout{rows, 0, 0}; }
    DeviceStateDao dao;
    std::size_t operator()() {
        std::list<DeviceStatePo*> records = dao.query();
        const std::size_t count = records.size();
        for (DeviceStatePo* record : records) delete record;
        return count;
    }
};

template <class List>
const std::string& statementOf() {
    static const std::string sql = [] {
        load(List::layout(1));
        return captureStatement([] {
            List list;
            list();
        });
    }();
    return sql;
}

template <class List>
void library(benchmark::State& state, std::size_t rows) {
    load(List::layout(static_cast<int>(rows)));
    List list;
    if (list() != rows) {
        state.SkipWithError("the library returned another number of records");
        return;
    }
    for (auto _ : state) {
        if (list() != rows) {
            state.SkipWithError("the library returned another number of records");
            break;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
}

template <class List>
void floorOf(benchmark::State& state, std::size_t count) {
    const std::string& sql = statementOf<List>();
    load(List::layout(static_cast<int>(count)));
    auto once = [&sql, count] {
        ResultRows rows;
        return openTwiceExec(sql.c_str(), &rows) == SQLITE_OK && rows.size() == count;
    };
    if (!once()) {
        state.SkipWithError("the floor query failed");
        return;
    }
    for (auto _ : state) {
        if (!once()) {
            state.SkipWithError("the floor query failed");
            break;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}

template <class List>
void registerCase(const std::string& name, int rows) {
    const std::string base = "list/" + name + "-" + std::to_string(rows) + "rows/";
    const auto count = static_cast<std::size_t>(rows);
    benchmark::RegisterBenchmark((base + "library").c_str(),
                                 [count](benchmark::State& state) { library<List>(state, count); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((base + "floor").c_str(),
                                 [count](benchmark::State& state) { floorOf<List>(state, count); })
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool kRegistered = [] {
    registerCase<DeviceList>("DeviceTableDao.query", 1000);
    registerCase<DeviceList>("DeviceTableDao.query", 10000);
    registerCase<DeviceStateList>("DeviceStateDao.query", 10000);
    return true;
}();

}  // namespace
