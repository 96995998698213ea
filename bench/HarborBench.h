#ifndef ZKDB_BENCH_HARBORBENCH_H
#define ZKDB_BENCH_HARBORBENCH_H

// What the benchmarks share: the database file, its tables and contents,
// the statements the library sends, and the hand-written floor a program
// without the library would run for the same statement.
//
// Benchmark names are "<group>/<case>/<variant>"; bench/run.sh pairs the
// variants of one case and prints their ratios.

#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

#include "ZkDb/storage/ResultRows.h"

namespace harbor_bench {

/// "harbor.db" in the private SQLite home: the file the library works on.
std::string databasePath();

/// The contents a benchmark needs. Every table is created from the
/// reference schema; the tables a layout names hold that many generated
/// rows, every other table is empty.
struct Layout {
    int deviceStateRows = 0;
    int deviceRows = 0;
    int mqttMessageRows = 0;
};

/// Rows of each table for the point operations.
constexpr int kPointRows = 100;

/// Brings "harbor.db" to `layout` (untimed set-up). Does nothing when the
/// file already holds exactly that and no benchmark wrote to it since.
void load(const Layout& layout);

/// Marks the contents as changed, so the next load() rebuilds them.
void touched();

/// The statements that reached SQLite while `operation` ran, in order,
/// each as SQLite compiled it.
std::vector<std::string> captureStatements(const std::function<void()>& operation);

/// As captureStatements(), the one statement of an operation that runs one;
/// the program stops with a message when it ran another number.
std::string captureStatement(const std::function<void()>& operation);

/// Row callback of sqlite3_exec that appends each row to the ResultRows the
/// context points to, one map entry per non-NULL column.
int collectRow(void* context, int columnCount, char** values, char** names);

/// An open connection to databasePath(); the program stops when it cannot
/// be opened.
sqlite3* openOrDie();

/// Runs `sql` on `db`; the program stops with SQLite's message on failure.
void execOrDie(sqlite3* db, const char* sql);

/// The floor of one access-class operation: open and close the file, then
/// open it, run `sql` with sqlite3_exec (rows into `rows`, or dropped when
/// it is null) and close it. @return sqlite3_exec's result code.
int openTwiceExec(const char* sql, ResultRows* rows);

}  // namespace harbor_bench

#endif  // ZKDB_BENCH_HARBORBENCH_H
