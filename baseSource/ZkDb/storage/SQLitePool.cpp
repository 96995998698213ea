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

// Lock rules: m_busyLock guards m_busy; m_idleLock guards m_idle and the
// check-and-create step. No code path holds both at once, so they cannot
// deadlock. m_stopLock pairs with m_stopRequested only.
struct ZKDB_LOCAL SQLitePool::State {
    State(const std::string& path, int maximum, int idleSeconds);
    ~State();

    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // The caller holds m_idleLock. Takes the most recently returned idle
    // object, or creates one while a place is free; null when neither can be
    // had.
    SQLiteHelper* takeOrCreateLocked();

    // Body of the reaper thread: one pass per period until m_running clears.
    void reap();

    // Set at construction, read without a lock.
    const std::string m_path;
    const int m_maximum;
    const int m_idleSeconds;

    // Objects in existence, idle and on loan. Changes only under
    // m_idleLock; atomic so that it may be read without it.
    std::atomic<int> m_created{0};

    std::mutex m_busyLock;
    std::list<SQLiteHelper*> m_busy;  // m_busyLock: objects on loan

    std::mutex m_idleLock;
    // m_idleLock: idle objects with the time each was returned, oldest first.
    std::list<std::pair<SQLiteHelper*, std::int64_t>> m_idle;
    // Notified when an object enters m_idle or a place is freed; waiting
    // borrowers wait on it with m_idleLock.
    std::condition_variable m_available;

    // Cuts the reaper's sleep short when the pool is destroyed. m_running is
    // cleared under m_stopLock so the reaper cannot miss the notification.
    std::atomic<bool> m_running{true};
    std::mutex m_stopLock;
    std::condition_variable m_stopRequested;

    // Started last, once every member the reaper touches exists; joined by
    // the destructor. Written only by the constructor and the destructor.
    std::unique_ptr<std::thread> m_reaper;
};

SQLitePool::State::State(const std::string& path, int maximum, int idleSeconds)
    : m_path(path), m_maximum(maximum), m_idleSeconds(idleSeconds) {
    // Started last, once every member the reaper touches exists.
    if (m_idleSeconds != 0) {
        m_reaper.reset(new std::thread(&State::reap, this));
    }
}

SQLitePool::State::~State() {
    {
        std::lock_guard<std::mutex> guard(m_stopLock);
        m_running.store(false);
    }
    m_stopRequested.notify_all();
    if (m_reaper) {
        m_reaper->join();
        m_reaper.reset();
    }
    // Idle objects are held by nothing else. Objects on loan now belong to
    // their borrowers and are left alone.
    for (const auto& entry : m_idle) {
        delete entry.first;
    }
    m_idle.clear();
    m_busy.clear();
}

SQLiteHelper* SQLitePool::State::takeOrCreateLocked() {
    if (!m_idle.empty()) {
        SQLiteHelper* connection = m_idle.back().first;
        m_idle.pop_back();
        return connection;
    }
    if (m_created.load() < m_maximum) {
        auto* connection = new SQLiteHelper(m_path);
        m_created.fetch_add(1);
        return connection;
    }
    return nullptr;
}

void SQLitePool::State::reap() {
    while (m_running.load()) {
        const std::int64_t now = systemTicks();
        bool freed = false;
        {
            std::lock_guard<std::mutex> guard(m_idleLock);
            // Oldest returns stand at the front; every entry is tested.
            for (auto entry = m_idle.begin(); entry != m_idle.end();) {
                const std::int64_t idleFor = (now - entry->second) / kTicksPerSecond;
                if (idleFor >= m_idleSeconds) {
                    delete entry->first;  // closes its connection if open
                    entry = m_idle.erase(entry);
                    m_created.fetch_sub(1);
                    freed = true;
                } else {
                    ++entry;
                }
            }
        }
        if (freed) {
            m_available.notify_all();
        }
        std::unique_lock<std::mutex> lock(m_stopLock);
        m_stopRequested.wait_for(lock, kReaperPeriod, [this] { return !m_running.load(); });
    }
}

SQLitePool::SQLitePool(const std::string& path, int maximum, int idleSeconds)
    : m_state(new State(path, maximum, idleSeconds)) {}

SQLitePool::~SQLitePool() { delete m_state; }

SQLiteHelper* SQLitePool::getConnect() {
    State& state = *m_state;
    SQLiteHelper* connection = nullptr;
    {
        std::unique_lock<std::mutex> lock(state.m_idleLock);
        connection = state.takeOrCreateLocked();
        while (connection == nullptr) {
            state.m_available.wait_for(lock, kRecheckInterval);
            connection = state.takeOrCreateLocked();
        }
    }
    {
        std::lock_guard<std::mutex> guard(state.m_busyLock);
        state.m_busy.push_back(connection);
    }
    return connection;
}

bool SQLitePool::returnConnect(SQLiteHelper* connection) {
    if (connection == nullptr) {
        return false;
    }
    State& state = *m_state;
    {
        std::lock_guard<std::mutex> guard(state.m_busyLock);
        const auto found = std::find(state.m_busy.begin(), state.m_busy.end(), connection);
        if (found == state.m_busy.end()) {
            return false;
        }
        state.m_busy.erase(found);
    }
    const std::int64_t now = systemTicks();
    {
        std::lock_guard<std::mutex> guard(state.m_idleLock);
        state.m_idle.emplace_back(connection, now);
    }
    state.m_available.notify_one();
    return true;
}
