#include "ZkDb/storage/SQLitePool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <ratio>
#include <thread>
#include <utility>

#include "ZkDb/storage/SQLiteHelper.h"

namespace {

// Time stamps of returned objects: the system clock in 100-nanosecond units.
using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;
constexpr std::int64_t kTicksPerSecond = 10000000;

// A waiting borrower is woken by every return; it also looks again after
// this long in case a place was freed without a wake-up reaching it.
constexpr std::chrono::milliseconds kRecheckInterval(50);

// Pause between two passes of the reaper.
constexpr std::chrono::seconds kReaperPeriod(1);

std::int64_t systemTicks() {
    return std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

// Lock rules: busyLock guards `busy`; idleLock guards `idle` and the
// check-and-create step. No code path holds both at once, so they cannot
// deadlock. `created` changes only under idleLock; it is atomic so that it
// may be read without it.
class PoolState {
public:
    PoolState(const std::string& path, int maximumObjects, int idleTimeout);
    ~PoolState();

    PoolState(const PoolState&) = delete;
    PoolState& operator=(const PoolState&) = delete;

    // The caller holds idleLock. Takes the most recently returned idle
    // object, or creates one while a place is free; null when neither can be
    // had.
    SQLiteHelper* takeOrCreateLocked();

    // Body of the reaper thread: one pass per period until `running` clears.
    void reap();

    std::string m_path;
    int maximum;
    std::atomic<int> created{0};
    int idleSeconds;
    std::atomic<bool> running{true};
    std::unique_ptr<std::thread> reaper;
    std::mutex busyLock;
    std::list<SQLiteHelper*> busy;
    std::mutex idleLock;
    std::list<std::pair<SQLiteHelper*, std::int64_t>> idle;

    // Notified when an object enters the idle list or a place is freed;
    // waiting borrowers wait on it with idleLock.
    std::condition_variable available;

    // Cuts the reaper's sleep short when the pool is destroyed. `running` is
    // cleared under stopLock so the reaper cannot miss the notification.
    std::mutex stopLock;
    std::condition_variable stopRequested;
};

PoolState::PoolState(const std::string& path, int maximumObjects, int idleTimeout)
    : m_path(path), maximum(maximumObjects), idleSeconds(idleTimeout) {
    // Started last, once every member the reaper touches exists.
    if (idleSeconds != 0) {
        reaper.reset(new std::thread(&PoolState::reap, this));
    }
}

PoolState::~PoolState() {
    {
        std::lock_guard<std::mutex> guard(stopLock);
        running.store(false);
    }
    stopRequested.notify_all();
    if (reaper) {
        reaper->join();
        reaper.reset();
    }
    // Idle objects are held by nothing else. Objects on loan now belong to
    // their borrowers and are left alone.
    for (const auto& entry : idle) {
        delete entry.first;
    }
    idle.clear();
    busy.clear();
}

SQLiteHelper* PoolState::takeOrCreateLocked() {
    if (!idle.empty()) {
        SQLiteHelper* connection = idle.back().first;
        idle.pop_back();
        return connection;
    }
    if (created.load() < maximum) {
        auto* connection = new SQLiteHelper(m_path);
        created.fetch_add(1);
        return connection;
    }
    return nullptr;
}

void PoolState::reap() {
    while (running.load()) {
        const std::int64_t now = systemTicks();
        bool freed = false;
        {
            std::lock_guard<std::mutex> guard(idleLock);
            // Oldest returns stand at the front; every entry is tested.
            for (auto entry = idle.begin(); entry != idle.end();) {
                const std::int64_t idleFor = (now - entry->second) / kTicksPerSecond;
                if (idleFor >= idleSeconds) {
                    delete entry->first;  // closes its connection if open
                    entry = idle.erase(entry);
                    created.fetch_sub(1);
                    freed = true;
                } else {
                    ++entry;
                }
            }
        }
        if (freed) {
            available.notify_all();
        }
        std::unique_lock<std::mutex> lock(stopLock);
        stopRequested.wait_for(lock, kReaperPeriod, [this] { return !running.load(); });
    }
}

SQLitePool::SQLitePool(const std::string& path, int maximum, int idleSeconds)
    : m_state(new PoolState(path, maximum, idleSeconds)) {}

SQLitePool::~SQLitePool() { delete m_state; }

SQLiteHelper* SQLitePool::getConnect() {
    PoolState& state = *m_state;
    SQLiteHelper* connection = nullptr;
    {
        std::unique_lock<std::mutex> lock(state.idleLock);
        connection = state.takeOrCreateLocked();
        while (connection == nullptr) {
            state.available.wait_for(lock, kRecheckInterval);
            connection = state.takeOrCreateLocked();
        }
    }
    {
        std::lock_guard<std::mutex> guard(state.busyLock);
        state.busy.push_back(connection);
    }
    return connection;
}

bool SQLitePool::returnConnect(SQLiteHelper* connection) {
    if (connection == nullptr) {
        return false;
    }
    PoolState& state = *m_state;
    {
        std::lock_guard<std::mutex> guard(state.busyLock);
        const auto found = std::find(state.busy.begin(), state.busy.end(), connection);
        if (found == state.busy.end()) {
            return false;
        }
        state.busy.erase(found);
    }
    const std::int64_t now = systemTicks();
    {
        std::lock_guard<std::mutex> guard(state.idleLock);
        state.idle.emplace_back(connection, now);
    }
    state.available.notify_one();
    return true;
}
