// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/CommandStatus.h"
#include "device/DeviceTask.h"
#include "exchange/SettingRanges.h"

namespace kestrix {

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

// A 24-bit colour (red in bits 0-7): decimal, "0x" hex of that integer, or "#RRGGBB".
bool ParseColourValue(std::string_view text, int& value);

// The keys set accepts, in the order of the settings table.
std::vector<std::string> SettableKeys();
// True for every key a profile holds.
bool IsStoredSetting(std::string_view key);

// Checks "set KEY VALUE" against the ranges the performance page enforces (RangeOfSetting);
// a stage DPI is snapped like a typed value, a report rate may be given in Hz and a colour as
// #RRGGBB. Pure.
SettingCheck CheckSetting(std::string_view key, std::string_view text, const SettingLimits& limits);

// The keys with the values set accepts, one per key or per family of numbered keys
// ("dpi_groupN_value (N 0..5)"); settableOnly leaves out the keys set refuses, which are
// otherwise listed as "read-only". For "get --help", "set --help" and the man page.
std::vector<std::pair<std::string, std::string>> SettingKeyValues(bool settableOnly);
// Those keys as help text, one aligned line each.
std::string SettingKeysHelp(bool settableOnly);

}  // namespace kestrix
