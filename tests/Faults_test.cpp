// Faults of the database file and its surroundings, seen through the table
// access classes, as one table of fault -> expected result per operation:
// writes give -1, reads give no rows (or still find what was stored, where
// the fault allows reading), the one-record query leaves the caller's record
// untouched, nothing crashes or hangs, what stands at the database path is
// not changed, and the same access objects work again once the fault is
// cleared.

#include <gtest/gtest.h>
#include <sqlite3.h>

#if !defined(_WIN32)
#include <signal.h>
#include <sys/resource.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/Tables.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A fault lasts while its holder lives; the holder undoes it.
using Holder = std::shared_ptr<void>;
Holder undoing(std::function<void()> undo) {
    return Holder(nullptr, [undo](void*) { undo(); });
}

// Another connection that runs `sql` and keeps its locks while it lives.
Holder connection(const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(harbor::databasePath().c_str(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    return undoing([db] { sqlite3_close(db); });
}

#if !defined(_WIN32)
// No file of the process may grow past `bytes`: what a full disk looks like
// to a writer (EFBIG instead of SIGXFSZ).
Holder fileSizeLimit(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit lowered = saved;
    lowered.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    return undoing([saved] { ::setrlimit(RLIMIT_FSIZE, &saved); });
}
#endif  // !_WIN32

class Faults : public harbor::SchemaTest {
protected:
    // The reference tables with the device "cam-1" and its state stored.
    void SetUp() override {
        harbor::SchemaTest::SetUp();
        DeviceTablePo device = harbor::DeviceTraits::record("cam-1", "a", "b", "c");
        ASSERT_EQ(m_devices.add(&device), 0);
        DeviceStatePo state = harbor::DeviceStateTraits::record("cam-1", "media", "p", "");
        ASSERT_EQ(m_states.add(&state), 0);
        m_stored = readFile(m_path);
    }

    void restore() {
        harbor::removeTree(m_path);
        writeFile(m_path, m_stored);
    }

    // Every kind of write gives `code`; the first must grow the file, and
    // with `growthOnly` only that one is tried.
    void expectWrites(int code, bool growthOnly = false) {
        DeviceTablePo big = harbor::DeviceTraits::record("cam-big", "a", "b", "c");
        big.setSnapshotUrl(std::string(40000, 's'));
        EXPECT_EQ(m_devices.add(&big), code);
        if (growthOnly) return;
        DeviceTablePo changed = harbor::DeviceTraits::record("cam-1", "x", "y", "z");
        EXPECT_EQ(m_devices.update(&changed), code);
        EXPECT_EQ(m_devices.del(&changed), code);
        DeviceStatePo state = harbor::DeviceStateTraits::record("cam-1", "media", "q", "");
        EXPECT_EQ(m_states.update(&state), code);
        EXPECT_EQ(m_states.del(&state), code);
        EXPECT_EQ(m_states.add(&state), code);
    }

    // Every kind of read finds what was stored (`work`), or nothing, with
    // the caller's record untouched.
    void expectReads(bool work) {
        EXPECT_EQ(m_devices.query().size(), work ? 1u : 0u);
        DeviceTablePo found = harbor::DeviceTraits::record("mine", "a", "b", "c");
        EXPECT_EQ(m_devices.query("cam-1", found), work ? 0 : -1);
        EXPECT_EQ(found.getDevId(), work ? "cam-1" : "mine");
        harbor::OwnedRecords<DeviceStatePo> states(m_states.query());
        EXPECT_EQ(states.items.size(), work ? 1u : 0u);
    }

    const std::string m_path = harbor::databasePath();
    std::string m_stored;
    DeviceTableDao m_devices;
    DeviceStateDao m_states;
};

}  // namespace

TEST_F(Faults, EachFaultGivesTheFailureResultsAndLeavesWhatItFindsAlone) {
    std::string garbage;
    for (int i = 0; i < 3 * 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 251));
    struct Fault {
        const char* name;
        std::function<Holder()> make;  // the fault lasts while its holder lives
        bool readsWork;
        std::function<void()> leftAlone;  // checked while the fault stands
        bool keepsFile = true;            // the stored database stays in place
        bool growthOnly = false;          // only a write that must grow the file fails
    };
    auto replaced = [&](std::function<void()> make) {
        return [make] {
            harbor::removeDatabase();
            make();
            return Holder();
        };
    };
    auto locked = [](const char* begin) { return [begin] { return connection(begin); }; };
    auto unchanged = [&] { EXPECT_EQ(readFile(m_path), m_stored); };
    const std::vector<Fault> faults = {
        // Opening creates an empty database: no table, nothing written.
        {"file missing", replaced([] {}), false, [&] { EXPECT_EQ(fs::file_size(m_path), 0u); },
         false},
        {"a directory in its place", replaced([&] { fs::create_directory(m_path); }), false,
         [&] { EXPECT_TRUE(fs::is_empty(m_path)); }, false},
        {"garbage bytes", replaced([&] { writeFile(m_path, garbage); }), false,
         [&] {
             EXPECT_EQ(readFile(m_path), garbage);
             EXPECT_FALSE(fs::exists(m_path + "-journal"));
         },
         false},
        {"cut after its first page", replaced([&] { writeFile(m_path, m_stored.substr(0, 4096)); }),
         false, [] {}, false},
        // No busy time-out: an operation that meets another connection's lock
        // gives up at once. An exclusive lock shuts every other connection
        // out; a reader's shared lock lets reads through.
        {"an exclusive lock", locked("BEGIN EXCLUSIVE;"), false, unchanged},
        {"a shared lock", locked("BEGIN; SELECT count(*) FROM tb_device;"), true, unchanged},
#if !defined(_WIN32)  // the Windows runtime's std::filesystem makes no symbolic links
        {"a link into a missing directory",
         replaced([&] { fs::create_symlink(harbor::privateHome() + "gone/harbor.db", m_path); }),
         false, [&] { EXPECT_FALSE(fs::exists(harbor::privateHome() + "gone")); }, false},
        // A full disk: with no room even for the journal nothing is written;
        // with room for the journal but none for the file to grow, the commit
        // fails part-way and is rolled back.
        {"no room for a journal", [] { return fileSizeLimit(1024); }, true, unchanged},
        {"no room for the file to grow", [&] { return fileSizeLimit(m_stored.size()); }, true,
         [&] { EXPECT_EQ(fs::file_size(m_path), m_stored.size()); }, true, true},
#endif
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        {
            const Holder holder = fault.make();
            expectWrites(-1, fault.growthOnly);
            expectReads(fault.readsWork);
            fault.leftAlone();
        }
        if (fault.keepsFile) {
            EXPECT_EQ(harbor::direct("PRAGMA integrity_check;").at(0).at("integrity_check"), "ok");
            expectReads(true);
        } else {
            restore();
        }
        expectWrites(0);
        restore();
    }

    // A missing table fails only its own table's operations.
    harbor::direct("DROP TABLE tb_device;");
    expectWrites(-1, true);
    EXPECT_TRUE(m_devices.query().empty());
    DeviceStatePo state;
    EXPECT_EQ(m_states.query("media", state), 0);
}

// A writer that spilled a large transaction into the file before it
// committed, copied as it stood: what a crash at that moment leaves. The
// next access rolls the transaction back.
TEST_F(Faults, InterruptedWriteIsRolledBackOnNextAccess) {
    std::string crashedFile, crashedJournal, rows;
    for (int i = 0; i < 100; ++i) rows += "INSERT INTO tb_device(dev_id) VALUES(zeroblob(2000));";
    {
        const Holder writer = connection("PRAGMA cache_size = 10; BEGIN;" + rows);
        crashedFile = readFile(m_path);
        crashedJournal = readFile(m_path + "-journal");
    }
    ASSERT_FALSE(crashedJournal.empty());
    ASSERT_NE(crashedFile, m_stored) << "the transaction did not reach the file before commit";
    writeFile(m_path, crashedFile);
    writeFile(m_path + "-journal", crashedJournal);
    expectReads(true);
    EXPECT_FALSE(fs::exists(m_path + "-journal"));
    expectWrites(0);
}
