// Faults of the database file and its surroundings, seen through the table
// access classes, as one table of fault -> expected result per operation:
// writes give -1, reads give no rows (or still find what was stored, where
// the fault allows reading), the one-record query leaves the caller's record
// untouched, nothing crashes or hangs, what stands at the database path is
// not changed, and the same access objects work again once the fault is
// cleared.
//
// The tests usually run as root, whom file modes do not stop, so the
// permission faults lower this thread's file-override capabilities while
// they last (capabilities are per thread on Linux, and the library runs its
// statements on the calling thread).

#include <gtest/gtest.h>
#include <sqlite3.h>

#if !defined(_WIN32)
#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
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

namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

DeviceTablePo device(const std::string& id, int port = 8000) {
    DeviceTablePo po;
    po.setDevId(id);
    po.setDevIp("10.0.0.7");
    po.setDevPort(port);
    po.setEncodeDevLoginPwd("admin");
    po.setDevStatus("normal");
    return po;
}

// Another connection holding a lock on "harbor.db" while it lives.
class LockHolder {
public:
    explicit LockHolder(const std::string& begin) {
        sqlite3_open(harbor::databasePath().c_str(), &m_db);
        EXPECT_EQ(sqlite3_exec(m_db, begin.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << begin;
    }
    ~LockHolder() { sqlite3_close(m_db); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    void run(const std::string& sql) { sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
};

#if !defined(_WIN32)
// Lowers, for the calling thread and the life of the object, the
// capabilities that let root ignore file modes, and gives `path` a mode.
class ModeFor {
public:
    ModeFor(std::string path, mode_t mode) : m_path(std::move(path)) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        syscall(SYS_capget, &header, m_saved);
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
            lowered[cap / 32].effective &= ~(1u << (cap % 32));
        }
        syscall(SYS_capset, &header, lowered);
        struct stat info {};
        ::stat(m_path.c_str(), &info);
        m_restore = info.st_mode & 07777;
        ::chmod(m_path.c_str(), mode);
    }
    ~ModeFor() {
        ::chmod(m_path.c_str(), m_restore);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        syscall(SYS_capset, &header, m_saved);
    }
    ModeFor(const ModeFor&) = delete;
    ModeFor& operator=(const ModeFor&) = delete;

private:
    std::string m_path;
    mode_t m_restore = 0;
    __user_cap_data_struct m_saved[2] = {};
};

// No file of the process may grow past `bytes` while it lives: what a full
// disk looks like to a writer. Writes past the limit fail with EFBIG
// instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &m_signal);
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit lowered = m_limit;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        ::sigaction(SIGXFSZ, &m_signal, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_limit{};
    struct sigaction m_signal {};
};
#endif  // !_WIN32

class Faults : public harbor::SchemaTest {
protected:
    void SetUp() override {
        harbor::SchemaTest::SetUp();
        storeCam1();
    }

    // The device "cam-1" and its state, which the faults must leave intact.
    void storeCam1() {
        DeviceTablePo stored = device("cam-1");
        ASSERT_EQ(m_devices.add(&stored), 0);
        DeviceStatePo state;
        state.setDeviceId("cam-1");
        state.setMediaId("media-cam-1");
        ASSERT_EQ(m_states.add(&state), 0);
    }

    // Every kind of write gives `code`; the first must grow the file, and
    // with `growthOnly` only that one is tried.
    void expectWrites(int code, bool growthOnly = false) {
        DeviceTablePo big = device("cam-big");
        big.setSnapshotUrl(std::string(40000, 's'));
        EXPECT_EQ(m_devices.add(&big), code);
        if (growthOnly) return;
        DeviceTablePo changed = device("cam-1", 1);
        EXPECT_EQ(m_devices.update(&changed), code);
        EXPECT_EQ(m_devices.del(&changed), code);
        DeviceStatePo state;
        state.setDeviceId("cam-1");
        state.setIsOnline(1);
        EXPECT_EQ(m_states.add(&state), code);
        EXPECT_EQ(m_states.update(&state), code);
        EXPECT_EQ(m_states.del(&state), code);
        MqttMessageTablePo message;
        message.setItemId("m-new");
        EXPECT_EQ(m_messages.add(&message), code);
    }

    // Every kind of read finds what was stored (`work`), or nothing, with
    // the caller's record untouched.
    void expectReads(bool work) {
        EXPECT_EQ(m_devices.query().size(), work ? 1u : 0u);
        EXPECT_EQ(m_devices.query(std::string()).size(), work ? 1u : 0u);
        DeviceTablePo found = device("untouched", 1);
        EXPECT_EQ(m_devices.query("cam-1", found), work ? 0 : -1);
        EXPECT_EQ(found.getDevId(), work ? "cam-1" : "untouched");
        EXPECT_EQ(found.getDevPort(), work ? 8000 : 1);
        harbor::OwnedRecords<DeviceStatePo> states(m_states.query());
        EXPECT_EQ(states.items.size(), work ? 1u : 0u);
        DeviceStatePo state;
        EXPECT_EQ(m_states.query("media-cam-1", state), work ? 0 : -1);
        harbor::OwnedRecords<MqttMessageTablePo> messages(m_messages.query());
        EXPECT_TRUE(messages.items.empty());
    }

    // The failed writes left the stored rows as they were.
    void expectCam1Intact() {
        EXPECT_EQ(
            harbor::direct("select dev_id, dev_port, dev_status from tb_device;"),
            (ResultRows{{{"dev_id", "cam-1"}, {"dev_port", "8000"}, {"dev_status", "normal"}}}));
        EXPECT_EQ(harbor::direct("select device_id, is_online from tb_device_state;"),
                  (ResultRows{{{"device_id", "cam-1"}, {"is_online", "0"}}}));
        EXPECT_EQ(harbor::direct("PRAGMA integrity_check;").at(0).at("integrity_check"), "ok");
    }

    // The same access objects write and read again.
    void expectRecovery() {
        expectWrites(0);
        DeviceTablePo found;
        EXPECT_EQ(m_devices.query("cam-big", found), 0);
        EXPECT_EQ(found.getDecodeDevLoginPwd(), "admin");
        MqttMessageTablePo message;
        EXPECT_EQ(m_messages.query("m-new", &message), 0);
    }

    // Whatever stands at the database path becomes the reference tables
    // with "cam-1" stored.
    void restoreDatabase() {
        harbor::removeTree(m_path);
        harbor::removeDatabase();
        harbor::createSchema();
        storeCam1();
    }

    const std::string m_path = harbor::databasePath();
    DeviceTableDao m_devices;
    DeviceStateDao m_states;
    MqttMessageTableDao m_messages;
};

using Holder = std::shared_ptr<void>;

}  // namespace

TEST_F(Faults, EachFaultGivesTheFailureResultsAndLeavesWhatItFindsAlone) {
    const std::string healthy = readFile(m_path);
    ASSERT_GT(healthy.size(), 4096u);
    std::string garbage;
    for (int i = 0; i < 3 * 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 251));
    const std::string gone = harbor::home() + "gone/";
    const std::string home = harbor::home();
    struct Fault {
        const char* name;
        std::function<Holder()> make;  // the fault lasts while its holder lives
        bool keepsFile;                // the stored database stays in place
        bool readsWork;
        bool growthOnly;  // only a write that must grow the file fails
        std::function<void()> leftAlone;
    };
    auto replaced = [&](std::function<void()> make) {
        return [this, make] {
            harbor::removeDatabase();
            make();
            return Holder();
        };
    };
    auto locked = [](const char* begin) {
        return [begin] { return Holder(std::make_shared<LockHolder>(begin)); };
    };
    const std::vector<Fault> faults = {
        // Opening creates an empty database: no table, nothing written.
        {"file missing", replaced([] {}), false, false, false,
         [&] { EXPECT_EQ(fs::file_size(m_path), 0u); }},
        {"a directory in its place", replaced([&] { fs::create_directory(m_path); }), false, false,
         false, [&] { EXPECT_TRUE(fs::is_empty(m_path)); }},
        {"garbage bytes", replaced([&] { writeFile(m_path, garbage); }), false, false, false,
         [&] {
             EXPECT_EQ(readFile(m_path), garbage);
             EXPECT_FALSE(fs::exists(m_path + "-journal"));
         }},
        {"cut after its first page", replaced([&] { writeFile(m_path, healthy.substr(0, 4096)); }),
         false, false, false, [] {}},
        {"table pages overwritten", replaced([&] {
             writeFile(m_path,
                       healthy.substr(0, 4096) + std::string(healthy.size() - 4096, '\xa5'));
         }),
         false, false, false, [] {}},
        // No busy time-out: an operation that meets another connection's
        // lock gives up at once. An exclusive lock shuts every other
        // connection out; a writer's reserved lock and a reader's shared
        // lock let reads through.
        {"an exclusive lock", locked("BEGIN EXCLUSIVE;"), true, false, false, [] {}},
        {"a reserved lock",
         locked("BEGIN IMMEDIATE; INSERT INTO tb_mqtt_message(item_id) VALUES('other');"), true,
         true, false, [] {}},
        {"a shared lock", locked("BEGIN; SELECT count(*) FROM tb_device;"), true, true, false,
         [] {}},
#if !defined(_WIN32)  // the Windows runtime's std::filesystem makes no symbolic links
        {"a dangling link into a missing directory",
         replaced([&] { fs::create_symlink(gone + "harbor.db", m_path); }), false, false, false,
         [&] { EXPECT_FALSE(fs::exists(gone)); }},
        {"a symbolic link loop", replaced([&] { fs::create_symlink(m_path, m_path); }), false,
         false, false, [] {}},
        // A full disk: with no room even for the journal nothing is written;
        // with room for the journal but none for the file to grow, the
        // commit fails part-way and is rolled back.
        {"no room for a journal", [] { return Holder(std::make_shared<FileSizeLimit>(1024)); },
         true, true, false, [&] { EXPECT_EQ(readFile(m_path), healthy); }},
        {"no room for the file to grow",
         [&] { return Holder(std::make_shared<FileSizeLimit>(healthy.size())); }, true, true, true,
         [] {}},
        {"file mode 000", [&] { return Holder(std::make_shared<ModeFor>(m_path, 0)); }, true, false,
         false, [] {}},
        {"file mode 444", [&] { return Holder(std::make_shared<ModeFor>(m_path, 0444)); }, true,
         true, false, [] {}},
        {"home mode 555", [&] { return Holder(std::make_shared<ModeFor>(home, 0555)); }, true, true,
         false, [] {}},
        {"home mode 555, file missing",
         [&] {
             harbor::removeDatabase();
             return Holder(std::make_shared<ModeFor>(home, 0555));
         },
         false, false, false, [&] { EXPECT_FALSE(fs::exists(m_path)); }},
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
            EXPECT_EQ(readFile(m_path).size(), healthy.size());
            expectCam1Intact();
        } else {
            restoreDatabase();
        }
        expectRecovery();
        restoreDatabase();
    }

    // A missing table fails only its own table's operations.
    harbor::direct("DROP TABLE tb_device;");
    DeviceTablePo po = device("cam-2");
    EXPECT_EQ(m_devices.add(&po), -1);
    EXPECT_EQ(m_devices.update(&po), -1);
    EXPECT_TRUE(m_devices.query().empty());
    EXPECT_EQ(m_devices.query("cam-1", po), -1);
    EXPECT_EQ(po.getDevId(), "cam-2");
    DeviceStatePo state;
    state.setDeviceId("cam-2");
    EXPECT_EQ(m_states.add(&state), 0);
}

// A writer that spilled a large transaction into the file before it
// committed, copied as it stood: what a crash at that moment leaves. The
// next access rolls the transaction back.
TEST_F(Faults, InterruptedWriteIsRolledBackOnNextAccess) {
    const std::string committed = readFile(m_path);
    std::string crashedFile;
    std::string crashedJournal;
    {
        LockHolder writer("PRAGMA cache_size = 10; BEGIN;");
        const std::string row = "INSERT INTO tb_device(dev_id, dev_ip) VALUES('spilled', '" +
                                std::string(2000, 'z') + "');";
        for (int i = 0; i < 100; ++i) writer.run(row);
        crashedFile = readFile(m_path);
        crashedJournal = readFile(m_path + "-journal");
        writer.run("ROLLBACK;");
    }
    ASSERT_FALSE(crashedJournal.empty());
    ASSERT_NE(crashedFile, committed) << "the transaction did not reach the file before commit";
    writeFile(m_path, crashedFile);
    writeFile(m_path + "-journal", crashedJournal);

    const std::list<DeviceTablePo> devices = m_devices.query();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices.front().getDevId(), "cam-1");
    EXPECT_FALSE(fs::exists(m_path + "-journal"));
    expectCam1Intact();
    expectRecovery();
}
