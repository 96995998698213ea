// Windows variant of the private SQLite home. The loader looks for a
// program's DLLs in the program's own directory first, so the launching run
// copies the program together with every DLL beside it into a fresh, short
// temporary directory and runs that copy; there the copied sqlite3.dll is the
// one loaded, and "harbor.db" lands beside it.
#include "PrivateHome.h"

#if defined(_WIN32)

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zkdb_harness {
namespace {

const char kHomeVariable[] = "ZKDB_TEST_SQLITE_HOME";
const char kProgramDirectoryVariable[] = "ZKDB_TEST_PROGRAM_DIR";
const char kParentVariable[] = "ZKDB_PRIVATE_HOME_PARENT";

// The library reads at most this many characters of the SQLite DLL's file
// name; the private home must keep the whole name within it.
constexpr std::size_t kModuleNameLimit = 127;

// Closes a kernel handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : m_handle(handle) {}
    ~Handle() {
        if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

std::string moduleFileName(HMODULE module) {
    std::vector<char> buffer(MAX_PATH);
    while (buffer.size() <= 32768) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameA(module, buffer.data(), size);
        if (length == 0) return std::string();
        if (length < size) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
    return std::string();
}

std::string loadedSqliteFile() {
    HMODULE module = ::GetModuleHandleA("sqlite3.dll");
    return module != nullptr ? moduleFileName(module) : std::string();
}

// Everything up to and including the last backslash.
std::string directoryOf(const std::string& file) {
    const std::size_t last = file.find_last_of("\\/");
    return last == std::string::npos ? std::string() : file.substr(0, last + 1);
}

std::string environment(const char* name) {
    char value[MAX_PATH * 2];
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

std::string longPath(const std::string& path) {
    char buffer[MAX_PATH * 2];
    const DWORD length = ::GetLongPathNameA(path.c_str(), buffer, sizeof(buffer));
    return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : path;
}

bool samePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(longPath(a).c_str(), longPath(b).c_str()) == 0;
}

// A new directory under the temporary directory (or the directory that
// ZKDB_PRIVATE_HOME_PARENT names), ending in a backslash.
std::string makeHome() {
    std::string parent = environment(kParentVariable);
    if (parent.empty()) {
        char temp[MAX_PATH + 1];
        const DWORD length = ::GetTempPathA(sizeof(temp), temp);
        if (length == 0 || length >= sizeof(temp)) return std::string();
        parent = temp;
    }
    if (parent.back() != '\\' && parent.back() != '/') parent += '\\';
    const unsigned long seed = ::GetCurrentProcessId() ^ ::GetTickCount();
    for (unsigned long attempt = 0; attempt < 1000; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof(name), "zkdb-%08lx", (seed + attempt) & 0xffffffffUL);
        const std::string home = parent + name;
        if (::CreateDirectoryA(home.c_str(), nullptr)) return home + "\\";
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
    return std::string();
}

// Copies `program` and every DLL of its directory into `home`.
bool copyProgram(const std::string& program, const std::string& home, std::string& copy) {
    const std::string from = directoryOf(program);
    copy = home + program.substr(from.size());
    if (!::CopyFileA(program.c_str(), copy.c_str(), TRUE)) return false;
    WIN32_FIND_DATAA entry;
    Handle search(::FindFirstFileA((from + "*.dll").c_str(), &entry));
    if (search.get() == INVALID_HANDLE_VALUE) return false;
    do {
        const std::string name = entry.cFileName;
        if (!::CopyFileA((from + name).c_str(), (home + name).c_str(), TRUE)) return false;
    } while (::FindNextFileA(search.get(), &entry));
    return true;
}

// The copy must not outlive the launching run, also when that run is killed
// (a test time-out): both live in a job that ends with its last handle.
HANDLE makeKillOnCloseJob() {
    HANDLE job = ::CreateJobObjectA(nullptr, nullptr);
    if (job == nullptr) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

// The image of a process that has just ended may stay mapped for a moment.
void removeHome(const std::string& home) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::error_code error;
        std::filesystem::remove_all(home, error);
        if (!error) return;
        ::Sleep(20);
    }
    std::fprintf(stderr, "cannot remove %s\n", home.c_str());
}

int launch() {
    const std::string program = moduleFileName(nullptr);
    if (program.empty()) {
        std::fprintf(stderr, "cannot read the program's own file name\n");
        return 2;
    }
    const std::string home = makeHome();
    if (home.empty()) {
        std::fprintf(stderr, "cannot create a directory under the temporary directory\n");
        return 2;
    }
    if ((home + "sqlite3.dll").size() > kModuleNameLimit) {
        std::fprintf(stderr, "temporary directory %s is too long for the SQLite home\n",
                     home.c_str());
        removeHome(home);
        return 2;
    }
    std::string copy;
    if (!copyProgram(program, home, copy)) {
        std::fprintf(stderr, "cannot copy %s and its DLLs into %s (error %lu)\n", program.c_str(),
                     home.c_str(), static_cast<unsigned long>(::GetLastError()));
        removeHome(home);
        return 2;
    }
    ::SetEnvironmentVariableA(kHomeVariable, home.c_str());
    ::SetEnvironmentVariableA(kProgramDirectoryVariable, directoryOf(program).c_str());

    // The copy gets this run's own command line, so it sees the same
    // arguments; only the image it runs differs.
    std::string commandLine = ::GetCommandLineA();
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    Handle job(makeKillOnCloseJob());
    if (!::CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                          nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", copy.c_str(),
                     static_cast<unsigned long>(::GetLastError()));
        removeHome(home);
        return 2;
    }
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    if (job.get() != nullptr) ::AssignProcessToJobObject(job.get(), process.hProcess);
    ::ResumeThread(process.hThread);

    DWORD exitCode = 2;
    if (::WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process.hProcess, &exitCode)) {
        exitCode = 2;
    }
    removeHome(home);
    return static_cast<int>(exitCode);
}

}  // namespace

bool enterPrivateHome(char** /*argv*/, int& exitCode) {
    const std::string expected = environment(kHomeVariable);
    if (expected.empty()) {
        exitCode = launch();
        return false;
    }
    const std::string loaded = loadedSqliteFile();
    if (loaded.empty() || !samePath(directoryOf(loaded), expected)) {
        std::fprintf(stderr, "SQLite was loaded from '%s', expected it in '%s'\n", loaded.c_str(),
                     expected.c_str());
        exitCode = 2;
        return false;
    }
    if (loaded.size() > kModuleNameLimit) {
        std::fprintf(stderr, "SQLite's file name '%s' is longer than the library reads\n",
                     loaded.c_str());
        exitCode = 2;
        return false;
    }
    // The directory exactly as the library will derive it from the module.
    detail::homeStorage() = directoryOf(loaded);
    return true;
}

}  // namespace zkdb_harness

#endif  // _WIN32
