#ifndef ZKDB_PLATFORM_PLATFORM_H
#define ZKDB_PLATFORM_PLATFORM_H

// The thin layer over the operating system. Storage code calls only these
// functions and carries no platform conditionals of its own. Internal: not
// installed, not exported.

#include <string>

namespace zkdb {
namespace platform {

/// Longest module file name that is read, terminator included. A longer
/// file name is cut to its first kModulePathBound - 1 characters before its
/// directory is taken.
constexpr std::size_t kModulePathBound = 128;

/// Directory of the loaded SQLite library, ending in the platform's path
/// separator, or empty text when the library's file name cannot be had.
/// A file name without any separator is taken whole, followed by one
/// separator.
std::string sqliteLibraryDirectory();

/// Name of the environment variable that overrides the directory in which
/// SqliteDataBase::open resolves its path.
constexpr const char* kDataDirVariable = "ZKDB_DATA_DIR";

/// The data directory override: true when ZKDB_DATA_DIR is set and not
/// empty, with `utf8Dir` its value in UTF-8, ending in a path separator (one
/// is supplied when missing). Read from the process environment on every
/// call (on Windows in UTF-16 from the process itself, not a C runtime's
/// copy, so any directory name works); false when unset, empty or not
/// convertible, and `utf8Dir` is then empty.
bool dataDirectoryOverride(std::string& utf8Dir);

/// Converts a path in the process's narrow encoding to UTF-8. Returns false
/// when no result can be produced; `out` is then unspecified.
bool narrowToUtf8(const std::string& narrow, std::string& out);

/// The operating system's id of the calling thread.
unsigned int currentThreadId();

/// Takes the directory of a module file name under the rules above:
/// the name is cut to kModulePathBound - 1 characters, then everything up to
/// and including the last `separator` is kept; without one the whole name is
/// kept and `separator` appended.
std::string directoryOfModule(const char* fileName, char separator);

}  // namespace platform
}  // namespace zkdb

#endif  // ZKDB_PLATFORM_PLATFORM_H
