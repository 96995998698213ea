// What only the Windows build has: the database directory found through the
// loaded module "sqlite3.dll", the ANSI code page to UTF-8 conversion of the
// database path (in whichever of the code pages 1252 and 936 the run has; the
// Windows test runs are made once under each), and the 128-byte bound on the
// module's file name.
#include <ZkDb/ZkDb.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

std::wstring fromAnsi(const std::string& ansi) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// A directory name in letters of one ANSI code page outside ASCII: as UTF-16,
// in that code page and in UTF-8. The 936 name ends in U+904B, whose second
// byte in that code page is 0x5C, a backslash's value, right before the
// separator that follows the name.
struct CodePageName {
    UINT codePage;
    const wchar_t* wide;
    const char* ansi;
    const char* utf8;
};
const CodePageName kCodePageNames[] = {
    {1252, L"Caf\u00e9 M\u00fcller a\u00f1o", "Caf\xE9 M\xFCller a\xF1o",
     "Caf\xC3\xA9 M\xC3\xBCller a\xC3\xB1o"},
    {936, L"\u4e3b\u673a\u6570\u636e\u904b", "\xD6\xF7\xBB\xFA\xCA\xFD\xBE\xDD\xDF\x5C",
     "\xE4\xB8\xBB\xE6\x9C\xBA\xE6\x95\xB0\xE6\x8D\xAE\xE9\x81\x8B"},
};

// The name for this process's ANSI code page; null, with the test failed,
// when the code page has no name above. Fails the test too when the code
// page is not the one ZKDB_EXPECT_ACP asks for (Wine did not get the locale).
const CodePageName* codePageName() {
    const char* expected = std::getenv("ZKDB_EXPECT_ACP");
    EXPECT_EQ(::GetACP(), expected ? std::strtoul(expected, nullptr, 10) : ::GetACP());
    for (const CodePageName& name : kCodePageNames) {
        if (name.codePage == ::GetACP()) return &name;
    }
    ADD_FAILURE() << "no directory name for the ANSI code page " << ::GetACP();
    return nullptr;
}

// Names of the files under `root`, at any depth, that are or could be the
// database: "harbor" or ".db" in the name.
std::vector<std::wstring> databaseFilesUnder(const std::wstring& root) {
    std::vector<std::wstring> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.find(L"harbor") != name.npos || name.find(L".db") != name.npos) {
            found.push_back(entry.path().wstring());
        }
    }
    return found;
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

// Copies the probe host and the DLLs this process loaded into `directory`
// (ending in a backslash; made when missing, in an existing parent), runs it
// there (bounded), and returns its exit code (see OpenProbe.cpp); -1 when it
// could not be set up or did not end in time.
int runProbeIn(const std::wstring& directory) {
    const char* programs = std::getenv(kProgramDirectoryVariable);
    if (programs == nullptr) return -1;
    ::CreateDirectoryW(directory.c_str(), nullptr);
    const std::wstring probe = directory + fromAnsi(kProbe);
    if (!::CopyFileW((fromAnsi(programs) + fromAnsi(kProbe)).c_str(), probe.c_str(), FALSE)) {
        return -1;
    }
    for (const char* dll : {"ZkDb.dll", "ZkLib.dll", "sqlite3.dll"}) {
        const std::wstring from = fromAnsi(harbor::privateHome() + dll);
        if (!::CopyFileW(from.c_str(), (directory + fromAnsi(dll)).c_str(), FALSE)) return -1;
    }

    std::wstring commandLine = L"\"" + probe + L"\" harbor.db";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(probe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
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
    EXPECT_TRUE(isFile(fromAnsi(directory + "harbor.db")));
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

    const CodePageName* name = codePageName();
    ASSERT_NE(name, nullptr);
    std::printf("ANSI code page %u\n", ::GetACP());
    EXPECT_EQ(fromAnsi(name->ansi), name->wide);  // the bytes are this code page's
    ASSERT_TRUE(
        zkdb::platform::narrowToUtf8(std::string("C:\\") + name->ansi + "\\harbor.db", utf8));
    EXPECT_EQ(utf8, std::string("C:\\") + name->utf8 + "\\harbor.db");
}

// A host installed in a directory named in the code page's own letters: the
// DLLs are loaded from there, harbor.db is created there and found again by
// the next run, under its UTF-16 name, and no other database file appears.
// Within the test process, a relative path in those letters names its file.
TEST_F(WindowsPrivateHome, NonAsciiPathReachesTheFileItNames) {
    const CodePageName* name = codePageName();
    ASSERT_NE(name, nullptr);
    const std::wstring home = fromAnsi(harbor::privateHome());
    const std::wstring directory = home + name->wide + L"\\";
    ScratchTree scratch{std::filesystem::path(directory)};
    ASSERT_EQ(runProbeIn(directory), 0);
    ASSERT_EQ(runProbeIn(directory), 1);  // the first run's row was found
    EXPECT_TRUE(isFile(directory + L"harbor.db"));
    EXPECT_EQ(databaseFilesUnder(home), std::vector<std::wstring>{directory + L"harbor.db"});

    // Passed on unconverted, the ANSI bytes would not be valid UTF-8 and
    // SQLite would look for another directory, which does not exist.
    const std::string ansi = name->ansi;
    std::unique_ptr<DataBase> database(createDatabase());
    ASSERT_EQ(database->open((ansi + "\\" + ansi + ".db").c_str()), 0);
    ASSERT_EQ(database->create("CREATE TABLE t(x)"), 0);
    EXPECT_TRUE(isFile(directory + name->wide + L".db"));
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

    ASSERT_TRUE(::CreateDirectoryA(parent.c_str(), nullptr));
    ASSERT_EQ(runProbeIn(fromAnsi(within)), 0);
    EXPECT_TRUE(isFile(fromAnsi(within + "harbor.db")));
    EXPECT_FALSE(isFile(fromAnsi(parent + "harbor.db")));

    ASSERT_EQ(runProbeIn(fromAnsi(beyond)), 0);
    EXPECT_FALSE(isFile(fromAnsi(beyond + "harbor.db")));
    EXPECT_TRUE(isFile(fromAnsi(parent + "harbor.db")));
}

}  // namespace
