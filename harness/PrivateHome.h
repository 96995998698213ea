#ifndef ZKDB_HARNESS_PRIVATEHOME_H
#define ZKDB_HARNESS_PRIVATEHOME_H

// The private SQLite home: runs a test, benchmark or fuzz program on a
// private copy of the SQLite library.
//
// The library keeps "harbor.db" beside the SQLite library it loaded. So that
// tests and benchmarks never write into a system directory, and so that each
// run starts from nothing, the program's first run copies the loaded SQLite
// library into a fresh, short temporary directory, runs itself again with
// that directory first on the library search path, waits, and removes the
// directory. The second run checks that SQLite was really loaded from there.
// The temporary directory is made under /tmp, or under the directory that
// the environment variable ZKDB_PRIVATE_HOME_PARENT names.
//
// On Windows (PrivateHomeWin32.cpp) the loader takes DLLs from the
// program's own directory, so the program and every DLL beside it are copied
// into a fresh directory under %TEMP% (or ZKDB_PRIVATE_HOME_PARENT) and the
// copy runs there; ZKDB_TEST_PROGRAM_DIR then names the original directory.

#include <string>

namespace zkdb_harness {

/// Call first in main(). Returns true in the run that should do the work,
/// with privateHome() set. Returns false in the launching run, with
/// `exitCode` set to the exit code of the program's second run (or to 2
/// when the private home could not be set up); main() should then return
/// `exitCode`.
bool enterPrivateHome(char** argv, int& exitCode);

/// The private SQLite home of this run, ending in the path separator
/// ("harbor.db" inside it is the library's database file); empty before
/// enterPrivateHome() returned true.
const std::string& privateHome();

/// Removes a directory tree or a file; a missing path is ignored.
void removeTree(const std::string& path);

namespace detail {
/// Where enterPrivateHome() of either platform records the home.
std::string& homeStorage();
}  // namespace detail

}  // namespace zkdb_harness

#endif
