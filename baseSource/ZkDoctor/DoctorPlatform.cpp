#include "DoctorPlatform.h"

#include <sqlite3.h>

#include <algorithm>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
// shellapi.h after windows.h, which it needs.
#include <shellapi.h>
#else
#include <dlfcn.h>
#include <glob.h>
#include <grp.h>
#include <link.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;
#endif

namespace doctor {

namespace fs = std::filesystem;

namespace {

// True when `directory` is the same directory as one of `known`.
template <class Range>
bool isOneOf(const fs::path& directory, const Range& known) {
    std::error_code error;
    for (const auto& candidate : known) {
        if (fs::equivalent(directory, fs::path(candidate), error)) {
            return true;
        }
    }
    return false;
}

}  // namespace

#if defined(_WIN32)

const char* const kHostLookup = "the first sqlite3.dll in the host's DLL search order";
const char* const kOwnLookup = "as this program loaded it (GetModuleFileName)";

namespace {

std::wstring toWide(const std::string& utf8) {
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                              length);
    }
    return wide;
}

// UTF-16 to `codePage`; in the ANSI code page a character it lacks becomes
// its best fit or '?', as in the names the ...A functions return.
std::string fromWide(const std::wstring& wide, UINT codePage) {
    const int length = ::WideCharToMultiByte(
        codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                              length, nullptr, nullptr);
    }
    return text;
}

std::wstring wideModuleName(HMODULE module) {
    std::vector<wchar_t> name(32768);
    const DWORD length = ::GetModuleFileNameW(module, name.data(), 32768);
    return length > 0 && length < 32768 ? std::wstring(name.data(), length) : std::wstring();
}

// The system's own directories, in the order a program's DLLs are sought.
std::vector<std::wstring> systemDirectories() {
    std::vector<std::wstring> directories;
    wchar_t name[MAX_PATH];
    for (auto get : {&::GetSystemDirectoryW, &::GetWindowsDirectoryW}) {
        const UINT length = get(name, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            directories.emplace_back(name, length);
        }
    }
    return directories;
}

}  // namespace

ModuleFile loadedSqliteFile() {
    ModuleFile file;
    HMODULE module = ::GetModuleHandleW(L"sqlite3.dll");
    // A buffer that the name fills completely may have been cut: try larger.
    for (DWORD size = 256; module != nullptr && size <= 65536; size *= 2) {
        std::vector<char> name(size);
        const DWORD length = ::GetModuleFileNameA(module, name.data(), size);
        if (length == 0) {
            return file;
        }
        if (length < size) {
            file.narrow.assign(name.data(), length);
            file.utf8 = fromWide(wideModuleName(module), CP_UTF8);
            break;
        }
    }
    return file;
}

bool hostSqliteFile(const std::string& host, ModuleFile& file, std::string& error) {
    std::error_code failed;
    std::vector<fs::path> order{fs::absolute(fs::u8path(host), failed).parent_path()};
    for (const std::wstring& directory : systemDirectories()) {
        order.emplace_back(directory);
    }
    order.push_back(fs::current_path(failed));
    std::vector<wchar_t> path(32768);
    const DWORD length = ::GetEnvironmentVariableW(L"PATH", path.data(), 32768);
    std::wstring entries(path.data(), length < 32768 ? length : 0);
    for (std::size_t start = 0; start < entries.size();) {
        std::size_t end = entries.find(L';', start);
        end = end == std::wstring::npos ? entries.size() : end;
        order.emplace_back(entries.substr(start, end - start));
        start = end + 1;
    }
    for (const fs::path& directory : order) {
        fs::path candidate = directory / L"sqlite3.dll";
        if (!directory.empty() && fs::is_regular_file(candidate, failed)) {
            const std::wstring name = candidate.make_preferred().wstring();
            file = ModuleFile{fromWide(name, CP_ACP), fromWide(name, CP_UTF8)};
            return true;
        }
    }
    error = "no sqlite3.dll in its DLL search order: the host cannot start";
    return false;
}

fs::path programDirectory() {
    const std::wstring name = wideModuleName(nullptr);
    return name.empty() ? fs::path() : fs::path(name).parent_path();
}

bool isSystemLibraryDirectory(const fs::path& directory) {
    return isOneOf(directory, systemDirectories());
}

bool setDataDirectory(const std::string& directory) {
    return ::SetEnvironmentVariableW(L"ZKDB_DATA_DIR", toWide(directory).c_str()) != 0;
}

std::vector<std::string> arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 0; i < count && wide != nullptr; ++i) {
        result.push_back(fromWide(wide[i], CP_UTF8));
    }
    ::LocalFree(wide);
    return count == argc ? result : std::vector<std::string>(argv, argv + argc);
}

void writeText(std::FILE* out, const std::string& text) {
    const HANDLE handle = ::GetStdHandle(out == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!::GetConsoleMode(handle, &mode)) {
        std::fputs(text.c_str(), out);
        return;
    }
    std::fflush(out);
    const std::wstring wide = toWide(text);
    DWORD written = 0;
    ::WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

std::string currentUser() {
    wchar_t name[257];
    DWORD size = 257;
    return ::GetUserNameW(name, &size) && size > 0 ? fromWide(std::wstring(name, size - 1), CP_UTF8)
                                                   : std::string("this user");
}

static bool mayAccess(const fs::path& path, bool write, bool) {
    return ::_waccess(path.c_str(), write ? 2 : 4) == 0;
}

static std::string ownerOf(const fs::path&) { return std::string(); }

Handover handoverFor(const fs::path&, const std::string&) { return Handover(); }

bool handOver(const fs::path&, const Handover&, std::string&) { return true; }

#else

const char* const kHostLookup = "as the dynamic loader resolves it for the host (ld.so --list)";
const char* const kOwnLookup = "as this program loaded it (dladdr)";

namespace {

// Reads this program's PT_INTERP: the dynamic loader of the system, which
// the hosts built for it use too. The program itself is reported first.
int readInterpreter(dl_phdr_info* info, std::size_t, void* loader) {
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_INTERP) {
            *static_cast<std::string*>(loader) =
                reinterpret_cast<const char*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
        }
    }
    return 1;
}

std::string dynamicLoader() {
    std::string loader;
    ::dl_iterate_phdr(readInterpreter, &loader);
    return loader;
}

// Runs the dynamic loader with `options` and collects what it writes to its
// standard output and error. True when it exits with 0.
bool askLoader(std::vector<std::string> options, std::string& output) {
    options.insert(options.begin(), dynamicLoader());
    std::vector<char*> argv;
    for (std::string& option : options) {
        argv.push_back(option.data());
    }
    argv.push_back(nullptr);
    int ends[2];
    if (options.front().empty() || ::pipe(ends) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, ends[0]);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    char buffer[4096];
    for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got > 0 ? got : 0));
    }
    ::close(ends[0]);
    int status = 0;
    return spawned == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos
               ? std::string()
               : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The directories that `conf` (ld.so.conf's syntax) lists, its includes too.
void confDirectories(const std::string& conf, std::vector<std::string>& directories, int depth) {
    std::ifstream in(conf);
    for (std::string line; depth < 8 && std::getline(in, line);) {
        line = trimmed(line.substr(0, line.find('#')));
        if (line.compare(0, 8, "include ") != 0 && line.compare(0, 8, "include\t") != 0) {
            if (!line.empty()) {
                directories.push_back(line);
            }
            continue;
        }
        std::string pattern = trimmed(line.substr(8));
        if (pattern.front() != '/') {
            pattern = fs::path(conf).parent_path().string() + '/' + pattern;
        }
        glob_t found{};
        if (::glob(pattern.c_str(), 0, nullptr, &found) == 0) {
            for (std::size_t i = 0; i < found.gl_pathc; ++i) {
                confDirectories(found.gl_pathv[i], directories, depth + 1);
            }
        }
        ::globfree(&found);
    }
}

std::string userName(uid_t uid) {
    const passwd* account = ::getpwuid(uid);
    return account != nullptr ? account->pw_name : "uid " + std::to_string(uid);
}

// Whether `account` may create files in a directory with `facts`, by its
// owner, group and other permission bits.
bool mayCreateIn(const struct stat& facts, const passwd& account) {
    if (account.pw_uid == 0) {
        return true;
    }
    if (account.pw_uid == facts.st_uid) {
        return (facts.st_mode & (S_IWUSR | S_IXUSR)) == (S_IWUSR | S_IXUSR);
    }
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(account.pw_name, account.pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        ::getgrouplist(account.pw_name, account.pw_gid, groups.data(), &count);
    }
    groups.resize(static_cast<std::size_t>(count));
    const bool member = std::find(groups.begin(), groups.end(), facts.st_gid) != groups.end();
    const mode_t needed = member ? (S_IWGRP | S_IXGRP) : (S_IWOTH | S_IXOTH);
    return (facts.st_mode & needed) == needed;
}

}  // namespace

ModuleFile loadedSqliteFile() {
    Dl_info info{};
    void* address = reinterpret_cast<void*>(&sqlite3_open);
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return ModuleFile();
    }
    return ModuleFile{info.dli_fname, info.dli_fname};
}

bool hostSqliteFile(const std::string& host, ModuleFile& file, std::string& error) {
    std::string listing;
    // A bare name would be sought among the libraries, as ldd knows.
    const bool listed =
        askLoader({"--list", host.find('/') == std::string::npos ? "./" + host : host}, listing);
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t arrow = line.find(" => ");
        if (arrow == std::string::npos || trimmed(line.substr(0, arrow)) != "libsqlite3.so.0") {
            continue;
        }
        const std::string name = line.substr(arrow + 4, line.rfind(" (0x") - arrow - 4);
        if (name == "not found") {
            error = "libsqlite3.so.0 is not found: the host cannot start";
            return false;
        }
        file = ModuleFile{name, name};
        return true;
    }
    error = listed ? "the host does not load libsqlite3.so.0"
                   : "the dynamic loader cannot list its libraries: " +
                         trimmed(listing.substr(0, listing.find('\n')));
    return false;
}

fs::path programDirectory() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}

bool isSystemLibraryDirectory(const fs::path& directory) {
    std::vector<std::string> known{"/lib", "/usr/lib", "/lib64", "/usr/lib64"};
    std::string diagnostics;
    askLoader({"--list-diagnostics"}, diagnostics);
    std::istringstream lines(diagnostics);
    for (std::string line; std::getline(lines, line);) {
        if (line.compare(0, 17, "path.system_dirs[") == 0 && line.back() == '"') {
            known.push_back(line.substr(line.find("=\"") + 2, line.size() - line.find("=\"") - 3));
        }
    }
    confDirectories("/etc/ld.so.conf", known, 0);
    return isOneOf(directory, known);
}

bool setDataDirectory(const std::string& directory) {
    return ::setenv("ZKDB_DATA_DIR", directory.c_str(), 1) == 0;
}

std::vector<std::string> arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void writeText(std::FILE* out, const std::string& text) { std::fputs(text.c_str(), out); }

std::string currentUser() { return userName(::geteuid()); }

static bool mayAccess(const fs::path& path, bool write, bool directory) {
    // Creating a file in a directory needs search permission as well.
    const int mode = (write ? W_OK : R_OK) | (directory ? X_OK : 0);
    return ::access(path.c_str(), mode) == 0;
}

static std::string ownerOf(const fs::path& path) {
    struct stat facts {};
    return ::stat(path.c_str(), &facts) == 0 ? userName(facts.st_uid) : std::string();
}

Handover handoverFor(const fs::path& directory, const std::string& user) {
    Handover handover;
    struct stat facts {};
    if (::geteuid() != 0) {
        return handover;
    }
    handover.needed = true;
    const passwd* account = nullptr;
    if (::stat(directory.c_str(), &facts) != 0) {
        handover.refusal = "its directory cannot be examined: " + std::string(std::strerror(errno));
    } else if ((account = user.empty() ? ::getpwuid(facts.st_uid) : ::getpwnam(user.c_str())) ==
               nullptr) {
        handover.refusal =
            user.empty() ? "the directory's owner has no account" : "no user " + user;
    } else if (user.empty() && account->pw_uid == 0) {
        handover.refusal =
            "root owns the directory, so the user the host runs as is unknown: name it with "
            "--user NAME (--user root for a host that runs as root)";
    } else if (!mayCreateIn(facts, *account)) {
        handover.refusal = std::string(account->pw_name) +
                           " may not create files in the directory (owned by " +
                           userName(facts.st_uid) + "), so the host's journal beside it fails";
    }
    if (account != nullptr) {
        handover.user = account->pw_name;
        handover.uid = account->pw_uid;
        handover.gid = account->pw_gid;
    }
    return handover;
}

bool handOver(const fs::path& file, const Handover& handover, std::string& error) {
    if (::chown(file.c_str(), handover.uid, handover.gid) == 0) {
        return true;
    }
    error = std::strerror(errno);
    return false;
}

#endif

PathFacts examine(const fs::path& path) {
    PathFacts facts;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        facts.kind = Kind::kMissing;
        return facts;
    }
    if (error) {
        facts.error = error.message();
        return facts;
    }
    const bool directory = fs::is_directory(status);
    facts.kind = directory                     ? Kind::kDirectory
                 : fs::is_regular_file(status) ? Kind::kFile
                                               : Kind::kOther;
    if (facts.kind == Kind::kFile) {
        facts.size = fs::file_size(path, error);
    }
    facts.readable = mayAccess(path, false, directory);
    facts.writable = mayAccess(path, true, directory);
    facts.owner = ownerOf(path);
    return facts;
}

}  // namespace doctor
