// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// What the range of a setting depends on: the mouse (sensor, report-rate class) and the
// profile's stage count and active stage.
struct SettingLimits {
    int sensorCode = 0;       // selects the DPI rule
    int reportRateClass = 4;  // 7 offers 2000 to 8000 Hz as well
    int dpiCount = 6;         // stored stage count
    int dpiIndex = 0;         // stored active stage
};

// The values one stored setting may take, as the performance page offers them.
struct SettingRange {
    enum class Kind { Interval, Choices, Bits };
    Kind kind = Kind::Interval;
    int low = 0;  // Interval: both ends included
    int high = 0;
    std::vector<int> choices;  // Choices: the values; Bits: the option bits
    std::string text;          // the range as a message says it: "an integer within 4..20"

    bool Accepts(int value) const;
};

// Stages a profile holds.
inline constexpr int kMaxDpiStages = 6;
// Debounce time in ms.
inline constexpr int kMinDebounce = 4;
inline constexpr int kMaxDebounce = 20;
// The six sleep delays (minutes times 6).
inline constexpr std::array<int, 6> kSleepValues{6, 12, 30, 60, 120, 180};
// The sensor option bits.
inline constexpr std::array<int, 3> kSensorBits{4, 8, 16};
// The rate class whose mice offer 2000, 4000 and 8000 Hz.
inline constexpr int kFastReportRateClass = 7;
// Largest stage colour (red in bits 0-7).
inline constexpr int kMaxStageColour = 0xFFFFFF;

// The range of a stored setting for these limits: stage count and dpi_flag 1..6, active stage
// below the count, stage DPI by the sensor's rule (any value inside its range, on the grid or
// not), colours 0..0xFFFFFF, the offered report-rate codes, lift-off 1 or 2, sensor bits 4/8/16,
// debounce 4..20, the six sleep delays, on/off flags. Nothing for a key without a range (the
// profile's texts). Pure.
std::optional<SettingRange> RangeOfSetting(std::string_view key, const SettingLimits& limits);

// The report-rate codes offered for a report-rate class, in the page's order.
std::vector<int> OfferedReportRates(int reportRateClass);
// Polling rate in Hz of a report-rate code; 0 for an unknown code.
int ReportRateHz(int code);

// Strict integer: optional sign and decimal digits, or "0x" and hex digits; nothing else,
// and within 32 bits.
bool ParseInteger(std::string_view text, int& value);

}  // namespace kestrix
