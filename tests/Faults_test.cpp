// Faults of the database file and its surroundings, seen through the table
// access classes: each fault gives the failure results (-1, an empty list,
// an untouched record), never a crash or a hang, never changes a file that
// is not a database, and the same access objects work again once the fault
// is cleared.
//
// The tests usually run as root, whom file modes do not stop. The
// permission faults therefore lower this thread's file-override
// capabilities for their duration (capabilities are per thread on Linux,
// and the library runs its statements on the calling thread); where even
// that does not make a file mode bind, they are skipped with the reason.

#include <sqlite3.h>
#if !defined(_WIN32)
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

DeviceTablePo device(const std::string& id, int port = 8000) {
    DeviceTablePo po;
    po.setDevId(id);
    po.setDevType("IPC");
    po.setDevIp("10.0.0.7");
    po.setDevPort(port);
    po.setEncodeDevLoginPwd("admin");
    po.setDevStatus("normal");
    return po;
}

/// Another connection holding a lock on "harbor.db" until it is released
/// or destroyed.
class LockHolder {
public:
    explicit LockHolder(const char* begin) {
        EXPECT_EQ(sqlite3_open(harbor::databasePath().c_str(), &m_db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(m_db) << " in " << begin;
    }
    ~LockHolder() { sqlite3_close(m_db); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    void end(const char* sql) {
        EXPECT_EQ(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(m_db);
    }

private:
    sqlite3* m_db = nullptr;
};

#if !defined(_WIN32)  // file modes and capabilities: the tests that need them are POSIX-only
/// Lowers, for the calling thread and the life of the object, the
/// capabilities that let root ignore file modes. Does nothing for other
/// users, whom the modes bind anyway.
class ModesBindRoot {
public:
    ModesBindRoot() {
        if (::geteuid() != 0) return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &header, m_saved) != 0) return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
            lowered[cap / 32].effective &= ~(1u << (cap % 32));
        }
        m_lowered = ::syscall(SYS_capset, &header, lowered) == 0;
    }
    ~ModesBindRoot() {
        if (!m_lowered) return;
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        ::syscall(SYS_capset, &header, m_saved);
    }
    ModesBindRoot(const ModesBindRoot&) = delete;
    ModesBindRoot& operator=(const ModesBindRoot&) = delete;

    /// True when a file of mode 000 really cannot be read now.
    static bool modesBind() {
        const std::string probe = harbor::home() + "mode-probe";
        writeFile(probe, "x");
        ::chmod(probe.c_str(), 0);
        const int fd = ::open(probe.c_str(), O_RDONLY);
        const bool bound = fd < 0 && errno == EACCES;
        if (fd >= 0) ::close(fd);
        ::chmod(probe.c_str(), 0600);
        fs::remove(probe);
        return bound;
    }

private:
    __user_cap_data_struct m_saved[2] = {};
    bool m_lowered = false;
};

/// Gives a path a mode for the life of the object, then restores it.
class ModeFor {
public:
    ModeFor(std::string path, mode_t mode) : m_path(std::move(path)) {
        struct stat info {};
        m_restore = ::stat(m_path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0700;
        ::chmod(m_path.c_str(), mode);
    }
    ~ModeFor() { ::chmod(m_path.c_str(), m_restore); }
    ModeFor(const ModeFor&) = delete;
    ModeFor& operator=(const ModeFor&) = delete;

private:
    std::string m_path;
    mode_t m_restore;
};

/// Lets no file of the process grow past `bytes` (nor be written beyond
/// that offset) for the life of the object: what a full disk looks like to
/// a writer, without needing one. Writes past the limit fail with EFBIG
/// instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &m_signal);
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit lowered = m_limit;
        lowered.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lowered), 0);
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

    /// The device "cam-1" and its state, which the faults must leave intact.
    void storeCam1() {
        DeviceTablePo stored = device("cam-1");
        ASSERT_EQ(m_devices.add(&stored), 0);
        DeviceStatePo state;
        state.setDeviceId("cam-1");
        state.setMediaId("media-cam-1");
        ASSERT_EQ(m_states.add(&state), 0);
    }

    /// Every kind of write through the long-lived access objects gives -1.
    void expectWritesFail(const std::string& fault) {
        SCOPED_TRACE(fault);
        DeviceTablePo added = device("cam-new");
        EXPECT_EQ(m_devices.add(&added), -1);
        DeviceTablePo changed = device("cam-1", 1);
        EXPECT_EQ(m_devices.update(&changed), -1);
        EXPECT_EQ(m_devices.del(&changed), -1);
        DeviceStatePo state;
        state.setDeviceId("cam-1");
        state.setIsOnline(1);
        EXPECT_EQ(m_states.add(&state), -1);
        EXPECT_EQ(m_states.update(&state), -1);
        EXPECT_EQ(m_states.del(&state), -1);
        MqttMessageTablePo message;
        message.setItemId("m-new");
        EXPECT_EQ(m_messages.add(&message), -1);
    }

    /// Every kind of read gives no rows, and the one-record queries -1 with
    /// the caller's record untouched.
    void expectReadsFail(const std::string& fault) {
        SCOPED_TRACE(fault);
        EXPECT_TRUE(m_devices.query().empty());
        EXPECT_TRUE(m_devices.query(std::string("IPC")).empty());
        DeviceTablePo untouched = device("untouched", 1);
        EXPECT_EQ(m_devices.query("cam-1", untouched), -1);
        EXPECT_EQ(untouched.getDevId(), "untouched");
        EXPECT_EQ(untouched.getDevPort(), 1);
        harbor::OwnedRecords<DeviceStatePo> states(m_states.query());
        EXPECT_TRUE(states.items.empty());
        harbor::OwnedRecords<MqttMessageTablePo> messages(m_messages.query());
        EXPECT_TRUE(messages.items.empty());
    }

    void expectEverythingFails(const std::string& fault) {
        expectWritesFail(fault);
        expectReadsFail(fault);
    }

    /// Reads still find the rows stored before the fault.
    void expectReadsWork(const std::string& fault) {
        SCOPED_TRACE(fault);
        EXPECT_FALSE(m_devices.query().empty());
        DeviceTablePo found;
        EXPECT_EQ(m_devices.query("cam-1", found), 0);
        EXPECT_EQ(found.getDevIp(), "10.0.0.7");
        DeviceStatePo state;
        EXPECT_EQ(m_states.query("media-cam-1", state), 0);
    }

    /// The failed writes left "cam-1" and its state as they were.
    void expectCam1Intact() {
        const ResultRows devices =
            harbor::direct("select dev_port, dev_status from tb_device where dev_id = 'cam-1';");
        ASSERT_EQ(devices.size(), 1u);
        EXPECT_EQ(devices[0].at("dev_port"), "8000");
        EXPECT_EQ(devices[0].at("dev_status"), "normal");
        const ResultRows states =
            harbor::direct("select is_online from tb_device_state where device_id = 'cam-1';");
        ASSERT_EQ(states.size(), 1u);
        EXPECT_EQ(states[0].at("is_online"), "0");
        EXPECT_TRUE(harbor::direct("select * from tb_device where dev_id = 'cam-new';").empty());
    }

    /// The same access objects write and read again; `id` is a new device.
    void expectRecovery(const std::string& id) {
        SCOPED_TRACE("after clearing the fault, device " + id);
        DeviceTablePo po = device(id, 9000);
        EXPECT_EQ(m_devices.add(&po), 0);
        DeviceTablePo found;
        EXPECT_EQ(m_devices.query(id, found), 0);
        EXPECT_EQ(found.getDecodeDevLoginPwd(), "admin");
        DeviceStatePo state;
        state.setDeviceId(id);
        state.setMediaId("media-" + id);
        EXPECT_EQ(m_states.add(&state), 0);
        MqttMessageTablePo message;
        message.setItemId("m-" + id);
        EXPECT_EQ(m_messages.add(&message), 0);
        EXPECT_EQ(m_messages.query("m-" + id, &message), 0);
    }

    /// Replaces whatever stands at the database path with the reference
    /// tables and the one stored device.
    void restoreDatabase() {
        harbor::removeDatabase();
        harbor::createSchema();
        storeCam1();
    }

    std::size_t storedDevices() { return harbor::direct("select * from tb_device;").size(); }

    const std::string m_path = harbor::databasePath();
    DeviceTableDao m_devices;
    DeviceStateDao m_states;
    MqttMessageTableDao m_messages;
};

}  // namespace

// Whatever stands at the database path in place of a healthy database,
// every operation fails, what stands there is left as it was, and the same
// access objects work again once a database is back.
TEST_F(Faults, FileThatIsNoUsableDatabaseFailsEveryOperation) {
    const std::string healthy = readFile(m_path);
    ASSERT_GT(healthy.size(), 4096u);
    std::string garbage;
    for (int i = 0; i < 3 * 4096; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 251));
    const std::string gone = harbor::home() + "gone/";
    struct Fault {
        const char* name;
        std::function<void()> make;
        std::function<void()> checkLeftAlone;
    };
    const std::vector<Fault> faults = {
        {"database file missing", [] {},
         // Opening created an empty database: no table, nothing written.
         [&] { EXPECT_EQ(fs::file_size(m_path), 0u); }},
        {"a directory in place of the file", [&] { fs::create_directory(m_path); },
         [&] { EXPECT_TRUE(fs::is_empty(m_path)); }},
        {"garbage bytes in the file", [&] { writeFile(m_path, garbage); },
         [&] {
             EXPECT_EQ(readFile(m_path), garbage);
             EXPECT_FALSE(fs::exists(m_path + "-journal"));
         }},
        {"database cut after its first page", [&] { writeFile(m_path, healthy.substr(0, 4096)); },
         [] {}},
        // The schema is intact, no table is.
        {"table pages overwritten",
         [&] {
             writeFile(m_path,
                       healthy.substr(0, 4096) + std::string(healthy.size() - 4096, '\xa5'));
         },
         [] {}},
#if !defined(_WIN32)  // the Windows runtime's std::filesystem makes no symbolic links
        {"a dangling link into a missing directory",
         [&] { fs::create_symlink(gone + "harbor.db", m_path); },
         [&] { EXPECT_FALSE(fs::exists(gone)); }},
        {"a symbolic link loop", [&] { fs::create_symlink(m_path, m_path); }, [] {}},
#endif
    };
    int next = 2;
    for (const Fault& fault : faults) {
        harbor::removeDatabase();
        fault.make();
        expectEverythingFails(fault.name);
        fault.checkLeftAlone();
        harbor::removeTree(m_path);
        restoreDatabase();
        expectRecovery("cam-" + std::to_string(next++));
    }
}

TEST_F(Faults, MissingTableFailsOnlyItsOwnOperations) {
    harbor::direct("DROP TABLE tb_device;");
    DeviceTablePo po = device("cam-2");
    EXPECT_EQ(m_devices.add(&po), -1);
    EXPECT_EQ(m_devices.update(&po), -1);
    EXPECT_EQ(m_devices.del(&po), -1);
    EXPECT_TRUE(m_devices.query().empty());
    DeviceTablePo untouched = device("untouched");
    EXPECT_EQ(m_devices.query("cam-1", untouched), -1);
    EXPECT_EQ(untouched.getDevId(), "untouched");

    // The other tables of the file are not affected.
    DeviceStatePo state;
    state.setDeviceId("cam-2");
    EXPECT_EQ(m_states.add(&state), 0);

    harbor::createSchema();
    expectRecovery("cam-3");
}

// No busy time-out: each operation that meets another connection's lock
// gives up at once. An exclusive lock shuts every other connection out; a
// writer's reserved lock and a reader's shared lock let reads through.
TEST_F(Faults, LocksOfAnotherConnectionFailOperationsAtOnce) {
    const struct {
        const char* begin;
        const char* end;
        bool readsWork;
    } locks[] = {
        {"BEGIN EXCLUSIVE;", "ROLLBACK;", false},
        {"BEGIN IMMEDIATE; INSERT INTO tb_device(dev_id) VALUES('other');", "COMMIT;", true},
        {"BEGIN; SELECT count(*) FROM tb_device;", "COMMIT;", true},
    };
    int next = 2;
    for (const auto& lock : locks) {
        {
            LockHolder holder(lock.begin);
            expectWritesFail(lock.begin);
            if (lock.readsWork) {
                expectReadsWork(lock.begin);
            } else {
                expectReadsFail(lock.begin);
            }
            holder.end(lock.end);
        }
        expectCam1Intact();
        expectRecovery("cam-" + std::to_string(next++));
    }
    EXPECT_EQ(storedDevices(), 5u);  // cam-1 to cam-4 and the other connection's
}

TEST_F(Faults, InterruptedWriteIsRolledBackOnNextAccess) {
    // A writer that spills a large transaction into the file before it
    // commits, copied as it stands: what a crash at that moment leaves.
    const std::string committed = readFile(m_path);
    std::string crashedFile;
    std::string crashedJournal;
    {
        LockHolder writer("PRAGMA cache_size = 10; BEGIN;");
        const std::string row = "INSERT INTO tb_device(dev_id, dev_ip) VALUES('spilled', '" +
                                std::string(2000, 'z') + "');";
        std::string rows;
        for (int i = 0; i < 100; ++i) rows += row;
        writer.end(rows.c_str());
        crashedFile = readFile(m_path);
        crashedJournal = readFile(m_path + "-journal");
        writer.end("ROLLBACK;");
    }
    ASSERT_FALSE(crashedJournal.empty());
    ASSERT_NE(crashedFile, committed) << "the transaction did not reach the file before commit";
    writeFile(m_path, crashedFile);
    writeFile(m_path + "-journal", crashedJournal);

    // The next access rolls the interrupted transaction back: the committed
    // device is there, none of the uncommitted ones.
    const std::list<DeviceTablePo> devices = m_devices.query();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices.front().getDevId(), "cam-1");
    EXPECT_FALSE(fs::exists(m_path + "-journal"));
    expectRecovery("cam-2");
    EXPECT_EQ(storedDevices(), 2u);
}

#if !defined(_WIN32)
TEST_F(Faults, WriteThatRunsOutOfSpaceIsRolledBack) {
    const std::string before = readFile(m_path);
    DeviceTablePo big = device("cam-big");
    big.setSnapshotUrl(std::string(40000, 's'));  // the file must grow to hold it
    {
        // No room even for the journal: nothing is written at all.
        FileSizeLimit full(1024);
        EXPECT_EQ(m_devices.add(&big), -1);
        expectWritesFail("no room for the journal");
        expectReadsWork("no room for the journal");
    }
    EXPECT_EQ(readFile(m_path), before);
    {
        // Room for the journal, but the file cannot grow: the commit fails
        // part-way through writing the file and is rolled back.
        FileSizeLimit full(before.size());
        EXPECT_EQ(m_devices.add(&big), -1);
        expectReadsWork("file cannot grow");
    }
    EXPECT_EQ(readFile(m_path).size(), before.size());
    EXPECT_EQ(harbor::direct("PRAGMA integrity_check;").at(0).at("integrity_check"), "ok");
    expectCam1Intact();
    EXPECT_TRUE(harbor::direct("select * from tb_device where dev_id = 'cam-big';").empty());

    EXPECT_EQ(m_devices.add(&big), 0);
    expectRecovery("cam-2");
}

// Modes that forbid reading the file, writing it, or making a journal (or
// the file) beside it: writes fail, reads work where the file can be read,
// and the file is left as it was.
TEST_F(Faults, FileModesRefuseWhatTheyForbid) {
    ModesBindRoot bind;
    if (!ModesBindRoot::modesBind()) GTEST_SKIP() << "file modes do not bind this process";
    const struct {
        const char* name;
        std::string path;
        mode_t mode;
        bool fileMissing;
        bool readsWork;
    } cases[] = {
        {"file mode 000", m_path, 0, false, false},
        {"file mode 444", m_path, 0444, false, true},
        {"SQLite home mode 555", harbor::home(), 0555, false, true},
        {"SQLite home mode 555, file missing", harbor::home(), 0555, true, false},
    };
    int next = 2;
    for (const auto& c : cases) {
        if (c.fileMissing) harbor::removeDatabase();
        const std::string before = readFile(m_path);
        {
            ModeFor mode(c.path, c.mode);
            expectWritesFail(c.name);
            if (c.readsWork) {
                expectReadsWork(c.name);
            } else {
                expectReadsFail(c.name);
            }
        }
        EXPECT_EQ(fs::exists(m_path), !c.fileMissing) << c.name;
        EXPECT_EQ(readFile(m_path), before) << c.name;
        if (c.fileMissing) restoreDatabase();
        expectCam1Intact();
        expectRecovery("cam-" + std::to_string(next++));
    }
}
#endif  // !_WIN32
