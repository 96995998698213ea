#ifndef ZKDB_BENCH_BENCHHOME_H
#define ZKDB_BENCH_BENCHHOME_H

// Where the benchmarks' SQLite library, and so "harbor.db", lives.

#include <string>

/// The private SQLite home of this benchmark run, ending in the path
/// separator; "harbor.db" inside it is the library's database file.
const std::string& benchHome();

#endif  // ZKDB_BENCH_BENCHHOME_H
