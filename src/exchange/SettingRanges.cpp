// SPDX-License-Identifier: MIT
#include "exchange/SettingRanges.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>

#include "base/Text.h"
#include "rules/SensorDpiRules.h"

namespace kestrix {
namespace {

// A typed DPI far above every sensor: the typed-value rule clamps it to the sensor's top.
constexpr int kAboveEverySensor = 1000000;

std::string Join(const std::vector<int>& values) {
    std::string text;
    for (int v : values) text += (text.empty() ? "" : ", ") + std::to_string(v);
    return text;
}

// "dpi_group%d_<suffix>" with a stage 0..5.
bool IsStageKey(std::string_view key, std::string_view suffix) {
    constexpr std::string_view kPrefix = "dpi_group";
    if (key.size() != kPrefix.size() + 2 + suffix.size() ||
        key.substr(0, kPrefix.size()) != kPrefix)
        return false;
    const char digit = key[kPrefix.size()];
    return key[kPrefix.size() + 1] == '_' && key.substr(kPrefix.size() + 2) == suffix &&
           digit >= '0' && digit < '0' + kMaxDpiStages;
}

SettingRange Interval(int low, int high) {
    SettingRange range;
    range.low = low;
    range.high = high;
    range.text = Format("an integer within %d..%d", low, high);
    return range;
}

SettingRange Choices(std::vector<int> choices, const char* meaning) {
    SettingRange range;
    range.kind = SettingRange::Kind::Choices;
    range.text = "one of " + Join(choices) + meaning;
    range.choices = std::move(choices);
    return range;
}

}  // namespace

bool SettingRange::Accepts(int value) const {
    switch (kind) {
        case Kind::Interval:
            return value >= low && value <= high;
        case Kind::Choices:
            return std::find(choices.begin(), choices.end(), value) != choices.end();
        case Kind::Bits: {
            int allowed = 0;
            for (int bit : choices) allowed |= bit;
            return value >= 0 && (value & ~allowed) == 0;
        }
    }
    return false;
}

std::optional<SettingRange> RangeOfSetting(std::string_view key, const SettingLimits& limits) {
    if (key == "dpi_count" || key == "dpi_flag") return Interval(1, kMaxDpiStages);
    if (key == "dpi_index") return Interval(0, std::clamp(limits.dpiCount, 1, kMaxDpiStages) - 1);
    if (IsStageKey(key, "value")) {
        const SensorDpiRules rules = SensorDpiRules::ForSensor(limits.sensorCode);
        SettingRange range = Interval(rules.SnapTypedDpi(0), rules.SnapTypedDpi(kAboveEverySensor));
        range.text =
            Format("a DPI within %d..%d for sensor %d", range.low, range.high, limits.sensorCode);
        return range;
    }
    if (IsStageKey(key, "rgb")) {
        SettingRange range = Interval(0, kMaxStageColour);
        range.text = "a colour within 0..0xFFFFFF (red in the low byte)";
        return range;
    }
    if (key == "report_rate" || key == "report_rate_wireless") {
        SettingRange range = Choices(OfferedReportRates(limits.reportRateClass), "");
        range.text = "one of the offered codes ";
        for (size_t i = 0; i < range.choices.size(); ++i) {
            range.text += Format("%s%d (%d Hz)", i == 0 ? "" : ", ", range.choices[i],
                                 ReportRateHz(range.choices[i]));
        }
        return range;
    }
    if (key == "liftoff_height") return Choices({1, 2}, " (1 = 1.0 mm, 2 = 2.0 mm)");
    if (key == "sensor_flag") {
        SettingRange range;
        range.kind = SettingRange::Kind::Bits;
        range.choices.assign(kSensorBits.begin(), kSensorBits.end());
        range.text = "a sum of the option bits 4, 8 and 16 (0..28)";
        return range;
    }
    if (key == "button_respondtime") return Interval(kMinDebounce, kMaxDebounce);
    if (key == "sleep_light") {
        return Choices({kSleepValues.begin(), kSleepValues.end()},
                       " (the sleep delay in minutes times 6)");
    }
    if (key == "move_wakeup" || key == "move_closelight" || key == "scroll_flag" ||
        key == "e-sports_flag") {
        return Choices({0, 1}, " (0 off, 1 on)");
    }
    return std::nullopt;
}

std::vector<int> OfferedReportRates(int reportRateClass) {
    if (reportRateClass == kFastReportRateClass) return {8, 4, 2, 1, 16, 32, 64};
    return {8, 4, 2, 1};
}

int ReportRateHz(int code) {
    switch (code) {
        case 8:
            return 125;
        case 4:
            return 250;
        case 2:
            return 500;
        case 1:
            return 1000;
        case 16:
            return 2000;
        case 32:
            return 4000;
        case 64:
            return 8000;
        default:
            return 0;
    }
}

bool ParseInteger(std::string_view text, int& value) {
    if (text.empty()) return false;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    long long parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    if (negative) parsed = -parsed;
    if (parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace kestrix
