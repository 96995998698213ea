#ifndef ZKDOCTOR_DOCTORPLATFORM_H
#define ZKDOCTOR_DOCTORPLATFORM_H

// What the doctor asks the operating system itself: the loaded SQLite
// library's whole file name (the library reads only a bounded part of it)
// and what this user may do with a path.

#include <cstdint>
#include <filesystem>
#include <string>

namespace doctor {

/// Full file name of the loaded SQLite library in the process's narrow
/// encoding, uncut; empty when it cannot be had.
std::string loadedSqliteFile();

/// Directory of this program's executable; empty when it cannot be had.
std::filesystem::path programDirectory();

enum class Kind { kMissing, kFile, kDirectory, kOther, kUnknown };

/// What a path is and what this user may do with it. `error` says why the
/// kind is kUnknown.
struct PathFacts {
    Kind kind = Kind::kUnknown;
    std::uintmax_t size = 0;
    bool readable = false;
    bool writable = false;  // for a directory: files can be created in it
    std::string error;
};

PathFacts examine(const std::filesystem::path& path);

}  // namespace doctor

#endif  // ZKDOCTOR_DOCTORPLATFORM_H
