#ifndef ZKDB_SUPPORT_PRIVATESQLITEHOME_H
#define ZKDB_SUPPORT_PRIVATESQLITEHOME_H

// Runs a test or benchmark program on a private copy of the SQLite library.
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
// On Windows (PrivateSqliteHomeWin32.cpp) the loader takes DLLs from the
// program's own directory, so the program and every DLL beside it are copied
// into a fresh directory under %TEMP% (or ZKDB_PRIVATE_HOME_PARENT) and the
// copy runs there; ZKDB_TEST_PROGRAM_DIR then names the original directory.

#include <string>

namespace zkdb_support {

/// Call first in main(). Returns true in the run that should do the work,
/// with `home` set to the private directory (ending in the path separator).
/// Returns false in the launching run, with `exitCode` set to the exit code
/// of the program's second run (or to 2 when the private home could not be
/// set up); main() should then return `exitCode`.
bool enterPrivateSqliteHome(char** argv, std::string& home, int& exitCode);

/// Removes a directory tree or a file; a missing path is ignored.
void removeTree(const std::string& path);

}  // namespace zkdb_support

#endif
