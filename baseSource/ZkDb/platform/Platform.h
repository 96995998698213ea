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
