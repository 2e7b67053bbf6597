// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "sim/SimFirmware.h"

namespace kestrix {

// Boot-loader report layout (64 bytes, every unused byte 0xFF).
inline constexpr size_t kBootReportSize = 64;
inline constexpr size_t kBootRecordSize = 20;
inline constexpr size_t kBootRecordData = 16;

// What the boot loader has seen, for tests.
struct SimBootLoaderState {
    bool entered = false;        // an enter report arrived
    bool finished = false;       // a finish report arrived after entering
    std::vector<uint8_t> image;  // 16 bytes per accepted record, in record order
    int records = 0;             // accepted records
    int crcErrors = 0;           // records whose check value was wrong (not stored)
    int sequenceErrors = 0;      // records out of order, or data before enter (not stored)
    int badReports = 0;          // reports of no known kind
};

// The boot-loader interface (usage page 0xFFEF) of a mouse or receiver: takes enter, data and
// finish reports, checks the CRC-16/MODBUS and the number of every record and assembles the
// image. Each report is acknowledged with [0x05 0x02 kind status] (status 0 = accepted).
class SimBootLoader : public SimFirmware {
  public:
    void HandleOutput(const uint8_t* report, size_t length,
                      std::vector<SimReport>& answers) override;
    void SetUnsolicitedSink(SimReportSink) override {}

    // A copy of what arrived so far.
    SimBootLoaderState State() const;

  private:
    mutable std::mutex m_mutex;
    SimBootLoaderState m_state;
};

}  // namespace kestrix
