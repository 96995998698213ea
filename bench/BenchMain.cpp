// Benchmark entry point: the run works in its own SQLite home.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchHome.h"
#include "PrivateSqliteHome.h"

namespace {

std::string& homeStorage() {
    static std::string home;
    return home;
}

}  // namespace

const std::string& benchHome() { return homeStorage(); }

int main(int argc, char** argv) {
    int exitCode = 0;
    if (!zkdb_support::enterPrivateSqliteHome(argv, homeStorage(), exitCode)) {
        return exitCode;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
