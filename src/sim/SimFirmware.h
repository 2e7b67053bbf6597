// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrix {

// One input report of a simulated interface (report ID 0 not included).
using SimReport = std::vector<uint8_t>;
// Receives the reports a firmware sends by itself (DPI change, link changes).
using SimReportSink = std::function<void(const SimReport&)>;

// Size of the configuration interface's input and output reports (without report ID).
inline constexpr size_t kSimReportSize = 64;
// Status byte of an answer the firmware rejects.
inline constexpr uint8_t kSimStatusRejected = 0x01;

// The firmware behind a configuration interface: takes each output report and produces its
// answers. Implementations are thread-safe and never call the sink while holding a lock.
class SimFirmware {
  public:
    virtual ~SimFirmware() = default;
    // Handles one output report: report[0] is the report ID, then the padded report data.
    // Appends the answers (possibly none) to answers.
    virtual void HandleOutput(const uint8_t* report, size_t length,
                              std::vector<SimReport>& answers) = 0;
    // Where unsolicited reports go; replaces any earlier sink.
    virtual void SetUnsolicitedSink(SimReportSink sink) = 0;
};

}  // namespace kestrix
