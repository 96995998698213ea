#ifndef ZKDB_EXAMPLES_HOSTDIRECTORY_H
#define ZKDB_EXAMPLES_HOSTDIRECTORY_H

// Where the host's own SQLite library was loaded from. ZkDb keeps
// "harbor.db" in that directory, so a host ships its SQLite library beside
// its executable (sqlite3.dll on Windows; libsqlite3.so.0, found through an
// $ORIGIN run path, on Linux) and checks at start-up that the copy it
// shipped is the one that was loaded.

#include <cstddef>
#include <string>

namespace host {

/// ZkDb reads the SQLite library's full file name into 128 bytes: a longer
/// name is cut, and the database would land in some parent directory.
constexpr std::size_t kLongestSqliteFileName = 127;

/// Full file name of the SQLite library this process loaded; empty when it
/// cannot be found.
std::string loadedSqliteFile();

/// Directory of the running executable, ending in the path separator.
std::string executableDirectory();

/// Makes sure that the loaded SQLite library's file name is short enough.
///
/// When it is, returns true and the program goes on. When it is not, on
/// Linux the program runs itself again with the library found through a
/// short link to the same directory (so "harbor.db" still lands beside the
/// executable), waits for that run and removes the link; it then returns
/// false with `exitCode` set to that run's exit code. Where no short link
/// can be made, it returns false with `exitCode` 1 and says why.
bool ensureShortSqlitePath(char** argv, int& exitCode);

/// Whether two paths name the same directory.
bool sameDirectory(const std::string& a, const std::string& b);

}  // namespace host

#endif  // ZKDB_EXAMPLES_HOSTDIRECTORY_H
