// The persistent path: a host that keeps one connection open, here a
// SQLiteHelper borrowed from SQLitePool and opened once, running the point
// statements of the access classes. Yardsticks on one open connection:
// sqlite3_exec collecting the same rows into ResultRows ("exec"), and a
// statement prepared once and stepped with every column read as text
// ("prepared", SQLite's own limit: no compilation, no rows kept).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "HarborBench.h"
#include "PointOps.h"
#include "ZkDb/storage/SQLiteHelper.h"
#include "ZkDb/storage/SQLitePool.h"

namespace {

using namespace harbor_bench;

template <class Op>
void library(benchmark::State& state) {
    StatementCycle statements(statementsOf<Op>());
    load(pointLayout());
    SQLitePool pool(databasePath(), 1, 0);
    SQLiteHelper* helper = pool.getConnect();
    auto once = [helper, &statements] {
        const std::string& sql = statements.next();
        if (Op::kWrites) return helper->execSql(sql, nullptr);
        ResultRows rows;
        return helper->execSql(sql, &rows) && !rows.empty();
    };
    if (!helper->openDatabase() || !once()) {
        state.SkipWithError("the borrowed connection failed");
    } else {
        for (auto _ : state) {
            if (!once()) {
                state.SkipWithError("the borrowed connection failed");
                break;
            }
        }
    }
    helper->closeDatabase();
    pool.returnConnect(helper);
    if (Op::kWrites) touched();
}

template <class Op>
void exec(benchmark::State& state) {
    StatementCycle statements(statementsOf<Op>());
    load(pointLayout());
    sqlite3* db = openOrDie();
    auto once = [db, &statements] {
        const char* sql = statements.next().c_str();
        if (Op::kWrites) return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        ResultRows rows;
        return sqlite3_exec(db, sql, collectRow, &rows, nullptr) == SQLITE_OK && !rows.empty();
    };
    if (!once()) {
        state.SkipWithError("sqlite3_exec failed");
    } else {
        for (auto _ : state) {
            if (!once()) {
                state.SkipWithError("sqlite3_exec failed");
                break;
            }
        }
    }
    sqlite3_close(db);
    if (Op::kWrites) touched();
}

template <class Op>
void prepared(benchmark::State& state) {
    const std::vector<std::string>& texts = statementsOf<Op>();
    load(pointLayout());
    sqlite3* db = openOrDie();
    std::vector<sqlite3_stmt*> prepared(texts.size(), nullptr);
    std::size_t next = 0;
    bool ready = true;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ready = ready &&
                sqlite3_prepare_v2(db, texts[i].c_str(), -1, &prepared[i], nullptr) == SQLITE_OK;
    }
    auto once = [&prepared, &next] {
        sqlite3_stmt* statement = prepared[next];
        next = (next + 1) % prepared.size();
        int rows = 0;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const int columns = sqlite3_column_count(statement);
            for (int i = 0; i < columns; ++i) {
                benchmark::DoNotOptimize(sqlite3_column_text(statement, i));
            }
            ++rows;
        }
        sqlite3_reset(statement);
        return rc == SQLITE_DONE && (Op::kWrites || rows > 0);
    };
    if (!ready || !once()) {
        state.SkipWithError("the prepared statement failed");
    } else {
        for (auto _ : state) {
            if (!once()) {
                state.SkipWithError("the prepared statement failed");
                break;
            }
        }
    }
    for (sqlite3_stmt* statement : prepared) sqlite3_finalize(statement);
    sqlite3_close(db);
    if (Op::kWrites) touched();
}

template <class Op>
void registerCase(const std::string& name) {
    const std::string base = "persistent/" + name + "/";
    for (const auto& variant :
         {std::make_pair("library", &library<Op>), std::make_pair("exec", &exec<Op>),
          std::make_pair("prepared", &prepared<Op>)}) {
        benchmark::RegisterBenchmark((base + variant.first).c_str(), variant.second)
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }
}

[[maybe_unused]] const bool kRegistered = [] {
    registerCase<DeviceStateQuery>("DeviceStateDao.queryByMediaId");
    registerCase<DeviceQuery>("DeviceTableDao.queryById");
    registerCase<MqttMessageQuery>("MqttMessageTableDao.queryById");
    registerCase<DeviceStateUpdate>("DeviceStateDao.update");
    return true;
}();

}  // namespace
