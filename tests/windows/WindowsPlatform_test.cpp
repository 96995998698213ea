// What only the Windows build has: the database directory found through the
// loaded module "sqlite3.dll", the ANSI code page to UTF-8 conversion of the
// database path, and the 128-byte bound on the module's file name.
#include <ZkDb/ZkDb.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ZkDb/platform/Platform.h"
#include "support/Harbor.h"

namespace {

// Set by the test harness: the directory the test program was built into,
// which also holds the probe host.
const char kProgramDirectoryVariable[] = "ZKDB_TEST_PROGRAM_DIR";
const char kProbe[] = "zkdb_open_probe.exe";

std::string loadedSqliteFile() {
    char name[MAX_PATH];
    HMODULE module = ::GetModuleHandleA("sqlite3.dll");
    const DWORD length = module != nullptr ? ::GetModuleFileNameA(module, name, sizeof(name)) : 0;
    return length > 0 && length < sizeof(name) ? std::string(name, length) : std::string();
}

std::string directoryOf(const std::string& file) {
    return file.substr(0, file.find_last_of('\\') + 1);
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile(const std::string& ansiPath) {
    const DWORD attributes = ::GetFileAttributesA(ansiPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring fromAnsi(const std::string& ansi) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// "café" in the ANSI code page, or empty text when the code page has no é
// (or is UTF-8 itself, where there is nothing to convert).
std::string cafeInAnsiCodePage() {
    if (::GetACP() == CP_UTF8) return std::string();
    char ansi[16] = {};
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, L"caf\u00e9", -1, ansi,
                                             sizeof(ansi), nullptr, &usedDefault);
    return length > 0 && !usedDefault ? std::string(ansi) : std::string();
}

// Removes a directory tree when the test ends, whatever its outcome.
class ScratchTree {
public:
    explicit ScratchTree(std::filesystem::path root) : m_root(std::move(root)) {}
    ~ScratchTree() {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

private:
    std::filesystem::path m_root;
};

// Copies the probe host and the DLLs this process loaded into `directory`,
// runs it there (bounded), and returns its exit code: 0 when open("harbor.db")
// gave 0; -1 when it could not be set up or did not end in time.
int runProbeIn(const std::string& directory) {
    const char* programs = std::getenv(kProgramDirectoryVariable);
    if (programs == nullptr) return -1;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    const std::string probe = directory + kProbe;
    if (error || !::CopyFileA((std::string(programs) + kProbe).c_str(), probe.c_str(), FALSE)) {
        return -1;
    }
    for (const char* dll : {"ZkDb.dll", "ZkLib.dll", "sqlite3.dll"}) {
        const std::string from = harbor::privateHome() + dll;
        if (!::CopyFileA(from.c_str(), (directory + dll).c_str(), FALSE)) return -1;
    }

    std::string commandLine = "\"" + probe + "\" harbor.db";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process)) {
        return -1;
    }
    DWORD exitCode = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        ::TerminateProcess(process.hProcess, exitCode);
        ::WaitForSingleObject(process.hProcess, 5000);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

using WindowsPrivateHome = harbor::PrivateHomeTest;

TEST_F(WindowsPrivateHome, DatabaseLivesBesideTheLoadedSqliteDll) {
    const std::string directory = directoryOf(loadedSqliteFile());
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(zkdb::platform::sqliteLibraryDirectory(), directory);

    std::unique_ptr<DataBase> database(createDatabase());
    ASSERT_EQ(database->open("harbor.db"), 0);
    EXPECT_TRUE(isFile(directory + "harbor.db"));
    ASSERT_EQ(database->create("CREATE TABLE t(x)"), 0);
    ASSERT_EQ(database->insert("INSERT INTO t VALUES('from the library')"), 0);
    EXPECT_EQ(harbor::direct("SELECT x FROM t"),
              (ResultRows{{{"x", "from the library"}}}));  // the very file beside the DLL
}

TEST(WindowsPathConversion, AnsiCodePageTextBecomesUtf8) {
    std::string utf8;
    ASSERT_TRUE(zkdb::platform::narrowToUtf8("C:\\Host\\harbor.db", utf8));
    EXPECT_EQ(utf8, "C:\\Host\\harbor.db");
    ASSERT_TRUE(zkdb::platform::narrowToUtf8("", utf8));
    EXPECT_EQ(utf8, "");

    const std::string cafe = cafeInAnsiCodePage();
    if (cafe.empty()) GTEST_SKIP() << "the ANSI code page " << ::GetACP() << " has no \u00e9";
    ASSERT_EQ(cafe, "caf\xE9");  // one byte in every code page that has it
    ASSERT_TRUE(zkdb::platform::narrowToUtf8("C:\\" + cafe + "\\harbor.db", utf8));
    EXPECT_EQ(utf8, "C:\\caf\xC3\xA9\\harbor.db");
}

TEST_F(WindowsPrivateHome, NonAsciiPathReachesTheFileItNames) {
    const std::string cafe = cafeInAnsiCodePage();
    if (cafe.empty()) GTEST_SKIP() << "the ANSI code page " << ::GetACP() << " has no \u00e9";
    const std::wstring directory = fromAnsi(harbor::privateHome()) + L"caf\u00e9";
    ScratchTree scratch{std::filesystem::path(directory)};
    ASSERT_TRUE(::CreateDirectoryW(directory.c_str(), nullptr));

    // Passed on unconverted, the ANSI byte would not be valid UTF-8 and
    // SQLite would look for another directory, which does not exist.
    std::unique_ptr<DataBase> database(createDatabase());
    ASSERT_EQ(database->open((cafe + "\\" + cafe + ".db").c_str()), 0);
    ASSERT_EQ(database->create("CREATE TABLE t(x)"), 0);
    EXPECT_TRUE(isFile(directory + L"\\caf\u00e9.db"));
}

TEST(WindowsModuleNameBound, DirectoryComesFromTheFirst127CharactersOfTheDllName) {
    // Two directories under one parent: the DLL's file name in `within` has
    // its last backslash at index 126, the last one that the 128-byte buffer
    // keeps; in `beyond` it sits at index 127, so the name is cut before it
    // and the directory taken is the parent.
    const std::string parent = harbor::privateHome() + "bound\\";
    ScratchTree scratch{std::filesystem::path(parent)};
    ASSERT_LT(parent.size(), 100u) << "the test home is unexpectedly long";
    const std::string within = parent + std::string(126 - parent.size(), 'w') + "\\";
    const std::string beyond = parent + std::string(127 - parent.size(), 'b') + "\\";
    ASSERT_EQ(within.size(), 127u);
    ASSERT_EQ(beyond.size(), 128u);

    ASSERT_EQ(runProbeIn(within), 0);
    EXPECT_TRUE(isFile(within + "harbor.db"));
    EXPECT_FALSE(isFile(parent + "harbor.db"));

    ASSERT_EQ(runProbeIn(beyond), 0);
    EXPECT_FALSE(isFile(beyond + "harbor.db"));
    EXPECT_TRUE(isFile(parent + "harbor.db"));
}

}  // namespace
