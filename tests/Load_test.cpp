// Several threads, each with its own access objects, add, update, delete and
// read devices and device states at once on one "harbor.db". SQLite's file
// locking without a busy time-out makes some operations fail; afterwards the
// tables hold exactly what the operations that reported success imply: no
// lost write, no write reported as failed that landed anyway, nothing
// duplicated. Every thread works on keys of its own, so its model is exact.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ZkDb/ZkDb.h"
#include "support/Harbor.h"
#include "support/StorageProbe.h"

namespace {

constexpr int kThreads = 4;
constexpr int kOperations = 200;

// One thread's rows as its successful writes left them: key -> "port|status"
// for devices, key -> "media|online" for states.
struct Model {
    std::map<std::string, std::string> devices, states;
    std::vector<std::string> errors;
};

void work(int index, probe::StartLine& start, Model& model) {
    const std::string prefix = "t" + std::to_string(index) + "-";
    std::minstd_rand random(index + 1);
    DeviceTableDao devices;
    DeviceStateDao states;
    auto check = [&](int result, const std::string& what) {
        if (result != 0 && result != -1) model.errors.push_back(what + ": unknown result");
        return result == 0;
    };
    start.arrive();
    for (int i = 0; i < kOperations; ++i) {
        const std::string key = prefix + std::to_string(random() % 12);
        const int value = static_cast<int>(random() % 1000);
        DeviceTablePo device;
        device.setDevId(key);
        device.setDevPort(value);
        device.setDevStatus("normal");
        DeviceStatePo state;
        state.setDeviceId(key);
        state.setMediaId("m-" + key);
        state.setIsOnline(value);
        const std::string deviceRow = std::to_string(value) + "|normal";
        const std::string stateRow = "m-" + key + "|" + std::to_string(value);
        switch (random() % 6) {
            case 0:  // a key stored twice would show as a duplicate row
                if (!model.devices.count(key) && check(devices.add(&device), "device add"))
                    model.devices[key] = deviceRow;
                break;
            case 1:
                if (check(devices.update(&device), "device update") && model.devices.count(key))
                    model.devices[key] = deviceRow;
                break;
            case 2:
                if (check(devices.del(&device), "device del") && model.devices.count(key))
                    model.devices[key] =
                        model.devices[key].substr(0, model.devices[key].find('|')) + "|delete";
                break;
            case 3:
                if (!model.states.count(key) && check(states.add(&state), "state add"))
                    model.states[key] = stateRow;
                break;
            case 4:
                if (check(states.del(&state), "state del")) model.states.erase(key);
                break;
            default: {
                DeviceTablePo out;
                if (devices.query(key, out) == 0 &&
                    model.devices[key] !=
                        std::to_string(out.getDevPort()) + "|" + out.getDevStatus())
                    model.errors.push_back(key + " read back differently during the run");
                if (model.devices[key].empty()) model.devices.erase(key);
            }
        }
    }
}

class Load : public harbor::SchemaTest {};

}  // namespace

TEST_F(Load, ConcurrentAccessLosesAndInventsNothing) {
    std::vector<Model> models(kThreads);
    probe::StartLine start(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(work, i, std::ref(start), std::ref(models[i]));
    for (std::thread& thread : threads) thread.join();

    Model expected;
    for (const Model& model : models) {
        for (const std::string& error : model.errors) ADD_FAILURE() << error;
        expected.devices.insert(model.devices.begin(), model.devices.end());
        expected.states.insert(model.states.begin(), model.states.end());
    }
    Model stored;
    for (auto& row : harbor::direct("select dev_id, dev_port, dev_status from tb_device")) {
        EXPECT_TRUE(
            stored.devices.emplace(row["dev_id"], row["dev_port"] + "|" + row["dev_status"]).second)
            << row["dev_id"] << " stored twice";
    }
    for (auto& row : harbor::direct("select device_id, media_id, is_online from tb_device_state")) {
        EXPECT_TRUE(
            stored.states.emplace(row["device_id"], row["media_id"] + "|" + row["is_online"])
                .second)
            << row["device_id"] << " stored twice";
    }
    EXPECT_EQ(stored.devices, expected.devices);
    EXPECT_EQ(stored.states, expected.states);
    EXPECT_FALSE(expected.devices.empty() || expected.states.empty()) << "nothing got through";
}
