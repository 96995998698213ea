#include "PrivateHome.h"

#include <filesystem>
#include <system_error>

namespace zkdb_harness {

std::string& detail::homeStorage() {
    static std::string home;
    return home;
}

const std::string& privateHome() { return detail::homeStorage(); }

void removeTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

}  // namespace zkdb_harness

#if !defined(_WIN32)

#include <dlfcn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace zkdb_harness {
namespace {

const char kHomeVariable[] = "ZKDB_TEST_SQLITE_HOME";
const char kParentVariable[] = "ZKDB_PRIVATE_HOME_PARENT";

std::string loadedSqliteFile() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&sqlite3_open), &info) == 0 || info.dli_fname == nullptr) {
        return std::string();
    }
    return info.dli_fname;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    return in.good() && out.good();
}

int launch(char** argv) {
    const std::string source = loadedSqliteFile();
    if (source.empty()) {
        std::fprintf(stderr, "cannot find the loaded SQLite library\n");
        return 2;
    }
    // The parent is /tmp unless ZKDB_PRIVATE_HOME_PARENT names another
    // directory (for example a tmpfs, to take the disk out of a benchmark).
    // Keep it short: the library cuts the SQLite file name at 127 bytes.
    std::string pattern = "/tmp";
    if (const char* parent = std::getenv(kParentVariable)) {
        if (*parent != '\0') pattern = parent;
    }
    pattern += "/zkdb-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        std::fprintf(stderr, "mkdtemp in '%s': %s\n", pattern.c_str(), std::strerror(errno));
        return 2;
    }
    const std::string home = pattern;
    if (!copyFile(source, home + "/libsqlite3.so.0")) {
        std::fprintf(stderr, "cannot copy %s into %s\n", source.c_str(), home.c_str());
        removeTree(home);
        return 2;
    }
    std::string searchPath = home;
    if (const char* old = std::getenv("LD_LIBRARY_PATH")) {
        searchPath += ":";
        searchPath += old;
    }
    setenv("LD_LIBRARY_PATH", searchPath.c_str(), 1);
    setenv(kHomeVariable, home.c_str(), 1);

    const pid_t child = fork();
    if (child == 0) {
        execv("/proc/self/exe", argv);
        std::fprintf(stderr, "execv: %s\n", std::strerror(errno));
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0) {
        removeTree(home);
        return 2;
    }
    removeTree(home);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 2;
}

}  // namespace

bool enterPrivateHome(char** argv, int& exitCode) {
    const char* directory = std::getenv(kHomeVariable);
    if (directory == nullptr) {
        exitCode = launch(argv);
        return false;
    }
    const std::string expected = std::string(directory) + "/libsqlite3.so.0";
    const std::string loaded = loadedSqliteFile();
    if (loaded != expected) {
        std::fprintf(stderr, "SQLite was loaded from '%s', expected '%s'\n", loaded.c_str(),
                     expected.c_str());
        exitCode = 2;
        return false;
    }
    detail::homeStorage() = std::string(directory) + "/";
    return true;
}

}  // namespace zkdb_harness

#endif  // !_WIN32
