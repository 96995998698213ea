#ifndef ZKDOCTOR_DOCTORPLATFORM_H
#define ZKDOCTOR_DOCTORPLATFORM_H

// What the doctor asks the operating system itself: the SQLite library's
// whole file name (the library reads only a bounded part of it, in the
// narrow encoding), the one a host executable would load, the system's own
// library directories, what a user may do with a path, and how text reaches
// a console. Text is UTF-8 throughout unless a name says otherwise.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace doctor {

/// The separator of the module file names the library reads.
#if defined(_WIN32)
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

/// A module's file name, uncut, twice: in the process's narrow encoding, as
/// the library reads it (on Windows the ANSI code page, which may not hold
/// every character), and as it really is, in UTF-8. Both empty when unknown.
struct ModuleFile {
    std::string narrow;
    std::string utf8;
};

/// The SQLite library this process loaded.
ModuleFile loadedSqliteFile();

/// The SQLite library that the executable `host` loads: on Linux the file
/// name the dynamic loader reports for it (`ld.so --list`), unresolved, as
/// dladdr gives it inside the host; on Windows the first sqlite3.dll in the
/// search order of a program started from `host` (its own directory first).
/// False, with `error` saying why, when there is none.
bool hostSqliteFile(const std::string& host, ModuleFile& file, std::string& error);

/// How hostSqliteFile and loadedSqliteFile find the library, for the report.
extern const char* const kHostLookup;
extern const char* const kOwnLookup;

/// Directory of this program's executable; empty when it cannot be had.
std::filesystem::path programDirectory();

/// True when `directory` holds the system's own libraries: on Linux one the
/// dynamic loader searches by default or through ld.so.conf, on Windows the
/// system and Windows directories.
bool isSystemLibraryDirectory(const std::filesystem::path& directory);

/// Sets ZKDB_DATA_DIR in this process's environment, where the library
/// reads it.
bool setDataDirectory(const std::string& directory);

/// The program's arguments in UTF-8 (on Windows from the wide command line,
/// so that any name arrives whole).
std::vector<std::string> arguments(int argc, char** argv);

/// Writes UTF-8 text: to a Windows console as UTF-16, elsewhere unchanged.
void writeText(std::FILE* out, const std::string& text);

/// The name of the user this program runs as.
std::string currentUser();

enum class Kind { kMissing, kFile, kDirectory, kOther, kUnknown };

/// What a path is and what this user may do with it. `error` says why the
/// kind is kUnknown.
struct PathFacts {
    Kind kind = Kind::kUnknown;
    std::uintmax_t size = 0;
    bool readable = false;
    bool writable = false;  // for a directory: files can be created in it
    std::string owner;      // the owning user's name, where the system tells
    std::string error;
};

PathFacts examine(const std::filesystem::path& path);

/// Who a file created in a directory must belong to, so that the host can
/// write it, when this program runs as root (elsewhere `needed` is false and
/// a created file is this user's): the user named by `user`, else the
/// directory's owner. `refusal` says why no file may be created: the user is
/// unknown, may not create files there (nor the journal beside the file),
/// or is not named while root owns the directory.
struct Handover {
    bool needed = false;
    std::string user;
    std::string refusal;
    unsigned int uid = 0;
    unsigned int gid = 0;
};

Handover handoverFor(const std::filesystem::path& directory, const std::string& user);

/// Gives `file` to the handover's user; false with `error` otherwise.
bool handOver(const std::filesystem::path& file, const Handover& handover, std::string& error);

}  // namespace doctor

#endif  // ZKDOCTOR_DOCTORPLATFORM_H
