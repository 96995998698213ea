#ifndef ZKDB_EXAMPLES_HOSTDIRECTORY_H
#define ZKDB_EXAMPLES_HOSTDIRECTORY_H

// The host's directory. ZkDb keeps "harbor.db" beside the SQLite library the
// process loaded, so a host ships its SQLite library beside its executable
// (sqlite3.dll on Windows; libsqlite3.so.0 on Linux, found through the
// $ORIGIN run path of libZkDb.so.1 beside it), and its data lives there too.
// Nothing here needs SQLite's headers.

#include <cstddef>
#include <string>

namespace host {

/// The SQLite library the host ships beside its executable.
#if defined(_WIN32)
constexpr const char* kSqliteLibrary = "sqlite3.dll";
#else
constexpr const char* kSqliteLibrary = "libsqlite3.so.0";
#endif

/// ZkDb reads the SQLite library's full file name into 128 bytes: a longer
/// name is cut, and the database would land in some parent directory.
constexpr std::size_t kLongestSqliteFileName = 127;

/// Directory of the running executable, ending in the path separator; empty
/// when it cannot be found.
std::string executableDirectory();

/// Makes sure that the full file name of the SQLite library beside the
/// executable is short enough for ZkDb.
///
/// When it is, returns true and the program goes on. When it is not, on
/// Linux the program runs itself again with the library found through a
/// short link to the same directory (so "harbor.db" still lands beside the
/// executable), waits for that run and removes the link; it then returns
/// false with `exitCode` set to that run's exit code. Where no short link
/// can be made, it returns false with `exitCode` 1 and says why.
bool ensureShortSqlitePath(char** argv, int& exitCode);

}  // namespace host

#endif  // ZKDB_EXAMPLES_HOSTDIRECTORY_H
