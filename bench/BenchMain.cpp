// Benchmark entry point: the run works in its own private SQLite home.
#include <benchmark/benchmark.h>

#include "PrivateHome.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    if (!zkdb_harness::enterPrivateHome(argv, exitCode)) {
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
