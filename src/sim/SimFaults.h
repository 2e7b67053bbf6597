// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>

namespace kestrix {

// Faults a test injects into a simulated configuration interface. The counted faults are used
// up one request at a time; when onlyCommand is 0 or more they touch only requests with that
// command code (frame byte 0).
struct SimFaults {
    int failingWrites = 0;           // the next N writes fail (-1) and reach no firmware
    int silentRequests = 0;          // the next N requests get no answer at all
    int errorRequests = 0;           // the next N requests are answered with errorStatus ...
    int errorReportsPerRequest = 1;  // ... this many times each, and never properly
    uint8_t errorStatus = 0x01;
    int notificationsBeforeAnswer = 0;  // every answer is preceded by this many 0xC2 reports
    bool removeOnNextRequest = false;   // the next write is taken, then the device is unplugged
    int unplugAfterWrites = 0;          // the N-th write from now is taken, then unplugged
    int onlyCommand = -1;
    std::chrono::microseconds reportDelay{0};  // per report written or read; 1 ms = full-speed USB
};

}  // namespace kestrix
