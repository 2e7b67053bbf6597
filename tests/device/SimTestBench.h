// SPDX-License-Identifier: MIT
#pragma once

// Shared by the device and simulator tests: the shipped catalogue lines, a manager over a
// simulated bus, and recorders for the HID trace and the log.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/Log.h"
#include "device/Catalogue.h"
#include "device/DeviceMatching.h"
#include "device/HidDeviceManager.h"
#include "device/HidTrace.h"
#include "sim/SimBackend.h"
#include "sim/SimScenario.h"

namespace kestrix::testing {

inline CatalogueLine Line(int model, const char* attr, int mode, uint16_t pid, const char* devId) {
    CatalogueLine line;
    line.model.deviceType = model;
    line.model.deviceAttr = attr;
    line.mode = mode;
    line.vid = 0x1209;
    line.pid = pid;
    line.devId = devId;
    line.hidInterface = "2";
    return line;
}

// The lines of the shipped config.xml, in file order.
inline std::vector<CatalogueLine> ShippedLines() {
    return {Line(101, "vireo", 0, 0x5A01, ""), Line(102, "falco", 0, 0x5A02, "FL02"),
            Line(102, "falco", 1, 0x5A03, "FL2R"), Line(201, "harrier_pro", 0, 0x5A04, "HP01"),
            Line(201, "harrier_pro", 1, 0x5A05, "HP1R")};
}

// Collects lines from a process-wide sink while alive.
class LineRecorder {
  public:
    std::vector<std::string> Lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_lines.clear();
    }
    size_t CountStartingWith(std::string_view prefix) const {
        size_t count = 0;
        for (const std::string& line : Lines()) {
            count += line.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return count;
    }
    bool Contains(std::string_view text) const {
        for (const std::string& line : Lines()) {
            if (line.find(text) != std::string::npos) {
                return true;
            }
        }
        return false;
    }

  protected:
    void Add(std::string_view line) {
        std::lock_guard lock(m_mutex);
        m_lines.emplace_back(line);
    }

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

class TraceRecorder : public LineRecorder {
  public:
    TraceRecorder() {
        HidTrace::SetSink([this](std::string_view line) { Add(line); });
    }
    ~TraceRecorder() { HidTrace::SetSink({}); }
};

class LogRecorder : public LineRecorder {
  public:
    LogRecorder() {
        Log::SetSink([this](std::string_view line) { Add(line); });
    }
    ~LogRecorder() { Log::SetSink({}); }
};

// A simulated bus with a scenario and a manager over it, its filter from the shipped lines.
struct SimBench {
    explicit SimBench(const std::string& scenario = "none")
        : backend(std::make_shared<SimBackend>()) {
        LoadSimScenario(*backend, scenario);
        manager = std::make_unique<HidDeviceManager>(backend);
        manager->SetFilter(BuildFilterList(ShippedLines()));
    }
    // Rebuilds the device list and selects model.
    void Open(int model) {
        manager->Rebuild();
        manager->SetSelectedModel(model);
    }
    std::shared_ptr<SimDevice> Device(const std::string& name) const { return backend->Find(name); }

    std::shared_ptr<SimBackend> backend;
    std::unique_ptr<HidDeviceManager> manager;
};

}  // namespace kestrix::testing
