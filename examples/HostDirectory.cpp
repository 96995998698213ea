#include "HostDirectory.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>
#endif

namespace host {

#if defined(_WIN32)

std::string executableDirectory() {
    char name[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::filesystem::path(std::string(name, length)).parent_path().string() + "\\";
}

bool ensureShortSqlitePath(char**, int& exitCode) {
    const std::string file = executableDirectory() + kSqliteLibrary;
    if (file.size() <= kLongestSqliteFileName) return true;
    std::fprintf(stderr,
                 "error: the SQLite library's file name is %zu characters long, more than %zu:\n"
                 "  %s\n  install the host in a directory with a shorter path\n",
                 file.size(), kLongestSqliteFileName, file.c_str());
    exitCode = 1;
    return false;
}

#else

namespace {

// Set in the run started through the short link, to that link.
const char kShortHomeVariable[] = "HARBOR_HOST_SHORT_HOME";

std::string directoryOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

int runThroughShortLink(char** argv, const std::string& sqliteDirectory) {
    char pattern[] = "/tmp/harbor-host-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::fprintf(stderr, "error: mkdtemp: %s\n", std::strerror(errno));
        return 1;
    }
    const std::string linkDirectory = pattern;
    const std::string link = linkDirectory + "/home";
    int status = 1;
    if (::symlink(sqliteDirectory.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "error: symlink %s: %s\n", link.c_str(), std::strerror(errno));
    } else {
        std::string searchPath = link;
        if (const char* old = std::getenv("LD_LIBRARY_PATH")) {
            searchPath += ":";
            searchPath += old;
        }
        ::setenv("LD_LIBRARY_PATH", searchPath.c_str(), 1);
        ::setenv(kShortHomeVariable, link.c_str(), 1);
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            ::execv("/proc/self/exe", argv);
            std::fprintf(stderr, "error: execv: %s\n", std::strerror(errno));
            ::_exit(127);
        }
        int waitStatus = 0;
        if (child > 0 && ::waitpid(child, &waitStatus, 0) == child) {
            if (WIFEXITED(waitStatus)) status = WEXITSTATUS(waitStatus);
            if (WIFSIGNALED(waitStatus)) status = 128 + WTERMSIG(waitStatus);
        }
        ::unlink(link.c_str());
    }
    ::rmdir(linkDirectory.c_str());
    return status;
}

}  // namespace

std::string executableDirectory() {
    std::vector<char> name(4096);
    const ssize_t length = ::readlink("/proc/self/exe", name.data(), name.size() - 1);
    if (length <= 0) return std::string();
    return directoryOf(std::string(name.data(), static_cast<std::size_t>(length)));
}

bool ensureShortSqlitePath(char** argv, int& exitCode) {
    // In the run through the short link, the library is reached through it.
    if (std::getenv(kShortHomeVariable) != nullptr) return true;
    const std::string file = executableDirectory() + kSqliteLibrary;
    if (file.size() <= kLongestSqliteFileName) return true;
    std::printf(
        "note: the SQLite library's file name is %zu characters long, more than the %zu that\n"
        "      ZkDb reads; running again through a short link to the same directory\n",
        file.size(), kLongestSqliteFileName);
    exitCode = runThroughShortLink(argv, directoryOf(file));
    return false;
}

#endif

}  // namespace host
