// 100,000 mixed operations leave the process's resident memory where it
// was, up to a small bound: a leak of even a few dozen bytes per operation
// would exceed it. The bulk are reads of a small table through the access
// classes (each opens and closes the file twice) and the in-memory work
// around them (statement forming, row mapping, password coding); writes and
// failing statements are mixed in at a lower rate because each write waits
// for the disk.
//
// Resident memory means nothing under a sanitizer, which keeps freed memory
// in quarantine and adds shadow memory; there the sanitizer's own leak check
// applies instead, and this test is skipped.

#if defined(_WIN32)
#include <windows.h>

#include <psapi.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <list>
#include <string>

#include "ZkDb/ZkDb.h"
#include "ZkDb/tables/TableFrame.h"
#include "support/Harbor.h"
#include "support/TableChecks.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZKDB_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define ZKDB_TEST_SANITIZED 1
#endif
#endif

namespace {

#if defined(_WIN32)
// Under Wine each file operation costs about 2 ms; a twentieth of the count
// keeps the run well inside its time-out and still shows a leak of a few
// hundred bytes per operation.
constexpr int kOperations = 5000;
constexpr int kWarmUp = 500;
#else
constexpr int kOperations = 100000;
constexpr int kWarmUp = 5000;
#endif
constexpr long kBoundBytes = 4L * 1024 * 1024;

long residentBytes() {
#if defined(_WIN32)
    // The working set is what Windows keeps resident for the process.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) return 0;
    return static_cast<long>(counters.WorkingSetSize);
#else
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
#endif
}

using namespace zkdb::frame;

const Column<DeviceStatePo> kStateColumns[] = {
    text("device_id", &DeviceStatePo::setDeviceId),
    text("media_id", &DeviceStatePo::setMediaId),
    text("product_type", &DeviceStatePo::setProductType),
    integer("is_online", &DeviceStatePo::setIsOnline),
};

class Memory : public harbor::SchemaTest {
protected:
    void SetUp() override {
        harbor::SchemaTest::SetUp();
        for (int i = 0; i < 3; ++i) {
            const std::string id = "cam-" + std::to_string(i);
            DeviceTablePo device;
            device.setDevId(id);
            device.setEncodeDevLoginPwd("secret-" + id);
            ASSERT_EQ(m_devices.add(&device), 0);
            DeviceStatePo state;
            state.setDeviceId(id);
            state.setMediaId("media-" + id);
            ASSERT_EQ(m_states.add(&state), 0);
            MqttMessageTablePo message;
            message.setItemId("item-" + id);
            ASSERT_EQ(m_messages.add(&message), 0);
        }
    }

    // One operation of the mix; `i` selects which. The test's own log of
    // the statements that reached SQLite is emptied as it goes.
    void operation(int i) {
        if (i % 100 == 0) harbor::clearStatements();
        const std::string id = "cam-" + std::to_string(i % 3);
        switch (i % 8) {
            case 0: {
                DeviceTablePo device;
                EXPECT_EQ(m_devices.query(id, device), 0);
                break;
            }
            case 1: {
                DeviceStatePo state;
                EXPECT_EQ(m_states.query("media-" + id, state), 0);
                break;
            }
            case 2: {
                harbor::OwnedRecords<MqttMessageTablePo> all(m_messages.query());
                EXPECT_EQ(all.items.size(), 3u);
                break;
            }
            case 3: {
                DeviceTablePo device;
                EXPECT_EQ(m_devices.query("missing", device), -1);
                break;
            }
            case 4: {
                // A statement that fails inside SQLite, error text and all.
                char sql[] = "select * from no_such_table;";
                std::list<DeviceStatePo*> none;
                m_states.query(sql, none);
                EXPECT_TRUE(none.empty());
                break;
            }
            case 5: {
                DeviceTablePo device;
                device.setEncodeNvrPwd(std::string(150 + i % 50, 'p'));
                EXPECT_EQ(device.getDecodeNvrPwd().size(), 150u + i % 50);
                break;
            }
            default: {
                const std::string sql = formStatement("insert into t values('%s', %d);",
                                                      {std::string(i % 300, '\''), i});
                DeviceStatePo state;
                mapRow({{"device_id", sql}, {"is_online", std::to_string(i)}}, state,
                       kStateColumns);
                EXPECT_EQ(state.getIsOnline(), i);
                break;
            }
        }
        if (i % 1000 == 999) {
            DeviceStatePo state;
            state.setDeviceId("transient");
            EXPECT_EQ(m_states.add(&state), 0);
            EXPECT_EQ(m_states.del(&state), 0);
        }
    }

    DeviceTableDao m_devices;
    DeviceStateDao m_states;
    MqttMessageTableDao m_messages;
};

}  // namespace

TEST_F(Memory, ManyOperationsDoNotGrowResidentMemory) {
#ifdef ZKDB_TEST_SANITIZED
    GTEST_SKIP() << "resident memory is not meaningful under a sanitizer";
#endif
    for (int i = 0; i < kWarmUp; ++i) operation(i);
    const long before = residentBytes();
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < kOperations && !HasFailure(); ++i) operation(i);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const long after = residentBytes();

    std::printf("memory: %d operations in %.1f s; resident %ld KiB before, %ld KiB after\n",
                kOperations, seconds, before / 1024, after / 1024);
    RecordProperty("resident_growth_kib", static_cast<int>((after - before) / 1024));
    EXPECT_LT(after - before, kBoundBytes);
}
