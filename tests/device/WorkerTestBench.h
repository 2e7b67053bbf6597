// SPDX-License-Identifier: MIT
#pragma once

// A device worker over a simulated bus, with a real store in a temporary folder and a
// recording observer: what the settings protocol and worker tests drive end to end.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "device/DeviceWorker.h"
#include "device/RecordingObserver.h"
#include "device/SimTestBench.h"
#include "store/DataStore.h"

namespace kestrix::testing {

// A fresh folder below the system's temporary folder, removed with the object.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-worker-XXXXXX").string();
        m_path = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder, ending with '/'.
    std::string Path() const { return m_path + "/"; }

  private:
    std::string m_path;
};

inline DeviceWorkerConfig WorkerConfig(const std::string& dataFolder) {
    DeviceWorkerConfig config;
    config.catalogueLines = ShippedLines();
    config.programFolder = KESTRIX_SOURCE_DATA;
    config.dataFolder = dataFolder;
    config.getLanText = [](int) { return std::string("Profile"); };
    return config;
}

struct WorkerBench {
    explicit WorkerBench(const std::string& scenario, DeviceWorkerHooks hooks = {})
        : sim(scenario),
          worker(std::make_unique<DeviceWorker>(*sim.manager, store, events,
                                                WorkerConfig(folder.Path()), std::move(hooks))) {}

    // A second worker over the same bus and store, as after a restart of the program.
    void Restart() {
        worker.reset();
        worker = std::make_unique<DeviceWorker>(*sim.manager, store, events,
                                                WorkerConfig(folder.Path()));
    }

    int Setting(const char* key) {
        int value = -1;
        store.GetSettingInt(store.CurrentProfile(), key, value);
        return value;
    }
    void SetSetting(const char* key, int value) {
        store.SetSettingInt(store.CurrentProfile(), key, value);
    }

    TempFolder folder;
    SimBench sim;
    DataStore store;
    RecordingObserver events;
    std::unique_ptr<DeviceWorker> worker;
};

// Waits up to timeout for condition; true when it held.
template <typename Condition>
bool WaitFor(Condition condition,
             std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Write lines of the trace whose command byte (second byte) is code.
inline std::vector<std::string> WritesOf(const LineRecorder& trace, uint8_t code) {
    static const char kHex[] = "0123456789ABCDEF";
    const std::string marker = std::string(" 00 ") + kHex[code >> 4] + kHex[code & 0x0F] + " ";
    std::vector<std::string> writes;
    for (const std::string& line : trace.Lines()) {
        if (line.rfind("W ", 0) != 0) continue;
        const size_t firstByte = line.find(' ', 2);
        if (firstByte != std::string::npos && line.compare(firstByte, marker.size(), marker) == 0) {
            writes.push_back(line.substr(firstByte + 1));
        }
    }
    return writes;
}

}  // namespace kestrix::testing
