// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/CommandStatus.h"
#include "device/DeviceTask.h"

namespace kestrix {

// What a settings check needs from the mouse and the current profile.
struct SettingLimits {
    int sensorCode = 0;       // selects the DPI rule
    int reportRateClass = 4;  // 7 offers 2000 to 8000 Hz as well
    int dpiCount = 6;         // stored stage count
    int dpiIndex = 0;         // stored active stage
};

// A checked change: the values to store, in order, and the worker task that sends them.
struct SettingChange {
    std::vector<std::pair<std::string, int>> values;
    DeviceTask task = DeviceTask::Nothing;
    std::string note;  // how the value was adjusted (a snapped DPI), empty when unchanged
};

// The outcome of a check: a bad-value status naming the accepted range, or the change.
struct SettingCheck {
    CommandStatus status;
    SettingChange change;
};

// Strict integer: optional sign and decimal digits, or "0x" and hex digits; nothing else,
// and within 32 bits.
bool ParseInteger(std::string_view text, int& value);
// A 24-bit colour (red in bits 0-7): decimal, "0x" hex of that integer, or "#RRGGBB".
bool ParseColourValue(std::string_view text, int& value);

// The keys set accepts, in the order of the settings table.
std::vector<std::string> SettableKeys();
// True for every key a profile holds.
bool IsStoredSetting(std::string_view key);

// Checks "set KEY VALUE" against the ranges the performance page enforces: stage count 1..6,
// active stage below the count, stage DPI by the sensor's rule (snapped like a typed value),
// colours 0..0xFFFFFF, the offered report-rate codes, lift-off 1 or 2, sensor bits 4/8/16,
// debounce 4..20, the six sleep delays, on/off flags. Pure.
SettingCheck CheckSetting(std::string_view key, std::string_view text, const SettingLimits& limits);

// The report-rate codes offered for a report-rate class, in the page's order.
std::vector<int> OfferedReportRates(int reportRateClass);
// Polling rate in Hz of a report-rate code; 0 for an unknown code.
int ReportRateHz(int code);

}  // namespace kestrix
