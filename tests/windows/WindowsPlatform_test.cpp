// What only the Windows build has: the database directory found through the
// loaded module "sqlite3.dll", the ANSI code page to UTF-8 conversion of the
// database path (in whichever of the code pages 1252 and 936 the run has; the
// Windows test runs are made once under each), and the 128-byte bound on the
// module's file name.
#include <ZkDb/ZkDb.h>
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "ZkDb/platform/Platform.h"
#include "support/Harbor.h"

namespace {

// A missing path's attributes, INVALID_FILE_ATTRIBUTES, have every bit set.
bool isFile(const std::wstring& path) {
    return (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring fromAnsi(const std::string& ansi) {  // a path, shorter than MAX_PATH
    wchar_t wide[MAX_PATH];
    return ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH) ? wide : L"";
}

// Removes a directory tree when the test ends, whatever its outcome.
struct ScratchTree {
    std::filesystem::path root;
    ~ScratchTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
};

// Copies the probe host and the DLLs from the directory the test program was
// built into (the test harness names it) into `directory` (ending in a
// backslash; made when missing, in an existing parent), runs it there and
// returns its exit code (see OpenProbe.cpp); -1 when it could not be set up.
int runProbeIn(const std::wstring& directory) {
    const wchar_t* programs = ::_wgetenv(L"ZKDB_TEST_PROGRAM_DIR");
    ::CreateDirectoryW(directory.c_str(), nullptr);
    for (auto file : {L"zkdb_open_probe.exe", L"ZkDb.dll", L"ZkLib.dll", L"sqlite3.dll"}) {
        const std::wstring from = std::wstring(programs ? programs : L"") + file;
        if (!::CopyFileW(from.c_str(), (directory + file).c_str(), FALSE)) return -1;
    }
    const std::wstring probe = directory + L"zkdb_open_probe.exe";
    return static_cast<int>(::_wspawnl(_P_WAIT, probe.c_str(), probe.c_str(), nullptr));
}

using WindowsPrivateHome = harbor::PrivateHomeTest;

// The harness has made sure that the private home is the directory of the
// loaded sqlite3.dll, as its module file name gives it.
TEST_F(WindowsPrivateHome, DatabaseLivesBesideTheLoadedSqliteDll) {
    EXPECT_EQ(zkdb::platform::sqliteLibraryDirectory(), harbor::privateHome());
    std::unique_ptr<DataBase> database(createDatabase());
    ASSERT_EQ(database->open("harbor.db"), 0);
    ASSERT_EQ(database->create("CREATE TABLE t AS SELECT 'from the library' AS x"), 0);
    EXPECT_EQ(harbor::direct("SELECT x FROM t"), (ResultRows{{{"x", "from the library"}}}));
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

// A path in the letters of this process's ANSI code page (which must be the
// one ZKDB_EXPECT_ACP asks for: Wine may not have got the locale) is
// converted to UTF-8. A host installed in a directory of that name loads its
// DLLs from there and creates harbor.db there, which its next run finds; the
// file has the directory's UTF-16 name and is the only database file. In
// process, a relative path in those letters names its file: left unconverted,
// the ANSI bytes would not be valid UTF-8 and SQLite would look for another
// directory, which does not exist.
TEST_F(WindowsPrivateHome, AnsiCodePagePathReachesTheFileItNames) {
    std::printf("ANSI code page %u\n", ::GetACP());
    const char* expected = std::getenv("ZKDB_EXPECT_ACP");
    ASSERT_EQ(::GetACP(), expected ? std::strtoul(expected, nullptr, 10) : ::GetACP());
    const CodePageName& name = kCodePageNames[::GetACP() == 936 ? 1 : 0];
    ASSERT_EQ(name.codePage, ::GetACP()) << "no directory name for this ANSI code page";
    std::string utf8;
    ASSERT_TRUE(
        zkdb::platform::narrowToUtf8(std::string("C:\\") + name.ansi + "\\harbor.db", utf8));
    EXPECT_EQ(utf8, std::string("C:\\") + name.utf8 + "\\harbor.db");

    const std::wstring home = fromAnsi(harbor::privateHome());
    const std::wstring directory = home + name.wide + L"\\";
    ScratchTree scratch{directory};
    ASSERT_EQ(runProbeIn(directory), 1);
    ASSERT_EQ(runProbeIn(directory), 2);  // the first run's row was found
    EXPECT_TRUE(isFile(directory + L"harbor.db"));
    const auto isDatabase = [](const std::filesystem::directory_entry& entry) {
        const std::wstring file = entry.path().filename().wstring();  // "harbor" or ".db" in it
        return file.find(L"harbor") != file.npos || file.find(L".db") != file.npos;
    };
    EXPECT_EQ(std::count_if(std::filesystem::recursive_directory_iterator(home), {}, isDatabase),
              1);

    std::unique_ptr<DataBase> database(createDatabase());
    ASSERT_EQ(database->open((std::string(name.ansi) + "\\" + name.ansi + ".db").c_str()), 0);
    ASSERT_EQ(database->create("CREATE TABLE t(x)"), 0);
    EXPECT_TRUE(isFile(directory + name.wide + L".db"));
}

// ZKDB_DATA_DIR is read from the process environment in UTF-16, so a
// directory whose name neither code page of the runs holds ("Łódź")
// takes the file: in process, as a host sets it at run time, and for a host
// started with it whose DLLs sit elsewhere; nothing appears beside the DLLs.
TEST_F(WindowsPrivateHome, DataDirectoryTheCodePageCannotHoldTakesTheFile) {
    const std::wstring home = fromAnsi(harbor::privateHome());
    const std::wstring data = home + L"\u0141\u00f3d\u017a", host = home + L"host\\";
    ScratchTree dataTree{data}, hostTree{host};
    ASSERT_TRUE(::CreateDirectoryW(data.c_str(), nullptr));
    ASSERT_TRUE(::SetEnvironmentVariableW(L"ZKDB_DATA_DIR", data.c_str()));
    std::string utf8;
    EXPECT_TRUE(zkdb::platform::dataDirectoryOverride(utf8));
    EXPECT_EQ(utf8.substr(utf8.size() - 8),
              "\xC5\x81\xC3\xB3"
              "d\xC5\xBA\\");
    EXPECT_EQ(runProbeIn(host), 1);
    EXPECT_EQ(runProbeIn(host), 2);  // the first run's row was found
    ::SetEnvironmentVariableW(L"ZKDB_DATA_DIR", nullptr);
    EXPECT_TRUE(isFile(data + L"\\harbor.db"));
    EXPECT_FALSE(isFile(host + L"harbor.db"));
}

TEST(WindowsModuleNameBound, DirectoryComesFromTheFirst127CharactersOfTheDllName) {
    // Two directories under one parent: the DLL's file name in the first has
    // its last backslash at index 126, the last one that the 128-byte buffer
    // keeps; in the second it sits at index 127, so the name is cut before it
    // and the directory taken is the parent.
    const std::string parent = harbor::privateHome() + "bound\\";
    ScratchTree scratch{fromAnsi(parent)};
    ASSERT_LT(parent.size(), 100u) << "the test home is unexpectedly long";
    ASSERT_TRUE(::CreateDirectoryA(parent.c_str(), nullptr));
    for (const std::size_t backslash : {126u, 127u}) {
        const std::string directory = parent + std::string(backslash - parent.size(), 'd') + "\\";
        ASSERT_EQ(runProbeIn(fromAnsi(directory)), 1);
        EXPECT_EQ(isFile(fromAnsi(directory + "harbor.db")), backslash == 126);
        EXPECT_EQ(isFile(fromAnsi(parent + "harbor.db")), backslash == 127);
    }
}

}  // namespace
