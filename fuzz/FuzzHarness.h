#ifndef ZKDB_FUZZ_FUZZHARNESS_H
#define ZKDB_FUZZ_FUZZHARNESS_H

// What the fuzz targets share: the private SQLite home for the targets that
// touch "harbor.db" (the database lands in a fresh temporary directory),
// with the reference tables created, and a direct connection to the file
// that bypasses the library.

#include <string>

namespace fuzz_harness {

/// Call from LLVMFuzzerInitialize. The first run sets up the private SQLite
/// home, runs the fuzzer again inside it, and exits with that run's code;
/// the second run returns here with the home ready and the tables created.
void enterPrivateHome(int* argc, char*** argv);

/// Runs `sql` on "harbor.db" directly; aborts when SQLite reports an error,
/// so a broken harness never passes for a finding.
void exec(const std::string& sql);

/// The one integer that `sql` selects, read directly.
long long count(const std::string& sql);

/// Sends standard output to /dev/null (one record class traces its changes
/// there, which would only slow the fuzzer down).
void quietStandardOutput();

/// Stops the fuzzer with a message on standard error: a property failed.
[[noreturn]] void fail(const std::string& what);

}  // namespace fuzz_harness

#endif  // ZKDB_FUZZ_FUZZHARNESS_H
