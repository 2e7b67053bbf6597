// SPDX-License-Identifier: MIT
#include "cli/SettingRules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>

#include "base/Text.h"
#include "device/Catalogue.h"
#include "device/DeviceTask.h"
#include "rules/SensorDpiRules.h"
#include "store/DefaultSettings.h"

namespace kestrix {
namespace {

constexpr int kMaxStages = 6;
constexpr int kMaxColour = 0xFFFFFF;
constexpr int kMinDebounce = 4;
constexpr int kMaxDebounce = 20;
constexpr std::array<int, 6> kSleepValues{6, 12, 30, 60, 120, 180};
constexpr std::array<int, 3> kSensorBits{4, 8, 16};
// The rate class whose mice offer 2000, 4000 and 8000 Hz.
constexpr int kFastReportRateClass = 7;

std::string Join(const std::vector<int>& values) {
    std::string text;
    for (int v : values) text += (text.empty() ? "" : ", ") + std::to_string(v);
    return text;
}

// "dpi_group%d_<suffix>" with a stage 0..5: the stage, else -1.
int StageOf(std::string_view key, std::string_view suffix) {
    constexpr std::string_view kPrefix = "dpi_group";
    if (key.size() != kPrefix.size() + 2 + suffix.size() ||
        key.substr(0, kPrefix.size()) != kPrefix)
        return -1;
    const char digit = key[kPrefix.size()];
    if (key[kPrefix.size() + 1] != '_' || key.substr(kPrefix.size() + 2) != suffix) return -1;
    if (digit < '0' || digit >= '0' + kMaxStages) return -1;
    return digit - '0';
}

SettingCheck Bad(std::string text) { return {CommandStatus::BadValue(std::move(text)), {}}; }

SettingCheck Change(std::string key, int value, DeviceTask task) {
    SettingCheck check;
    check.change.values.emplace_back(std::move(key), value);
    check.change.task = task;
    return check;
}

SettingCheck CheckInteger(std::string_view key, std::string_view text, int low, int high,
                          DeviceTask task) {
    int value = 0;
    if (!ParseInteger(text, value) || value < low || value > high) {
        return Bad(Format("%.*s must be an integer within %d..%d", static_cast<int>(key.size()),
                          key.data(), low, high));
    }
    return Change(std::string(key), value, task);
}

SettingCheck CheckChoice(std::string_view key, std::string_view text,
                         const std::vector<int>& choices, DeviceTask task,
                         const std::string& meaning = {}) {
    int value = 0;
    if (!ParseInteger(text, value) ||
        std::find(choices.begin(), choices.end(), value) == choices.end()) {
        return Bad(Format("%.*s must be one of %s%s", static_cast<int>(key.size()), key.data(),
                          Join(choices).c_str(), meaning.c_str()));
    }
    return Change(std::string(key), value, task);
}

SettingCheck CheckStageDpi(std::string_view key, std::string_view text,
                           const SettingLimits& limits) {
    const SensorDpiRules rules = SensorDpiRules::ForSensor(limits.sensorCode);
    // The typed-value rule clamps into the sensor's range; its ends are the accepted range.
    const int low = rules.SnapTypedDpi(0);
    const int high = rules.SnapTypedDpi(1000000);
    int value = 0;
    if (!ParseInteger(text, value) || value < low || value > high) {
        return Bad(Format("%.*s must be a DPI within %d..%d for sensor %d",
                          static_cast<int>(key.size()), key.data(), low, high, limits.sensorCode));
    }
    SettingCheck check =
        Change(std::string(key), rules.SnapTypedDpi(value), DeviceTask::WriteDpiStages);
    const int stored = check.change.values.front().second;
    if (stored != value)
        check.change.note = Format("%d snapped to %d by the sensor's DPI grid", value, stored);
    return check;
}

SettingCheck CheckReportRate(std::string_view text, const SettingLimits& limits) {
    const std::vector<int> offered = OfferedReportRates(limits.reportRateClass);
    int value = 0;
    std::string_view number = text;
    const bool hertz = number.size() > 2 && (number.substr(number.size() - 2) == "Hz" ||
                                             number.substr(number.size() - 2) == "hz");
    if (hertz) number.remove_suffix(2);
    bool ok = ParseInteger(number, value);
    if (ok && hertz) {
        const auto code = std::find_if(offered.begin(), offered.end(),
                                       [&](int c) { return ReportRateHz(c) == value; });
        ok = code != offered.end();
        if (ok) value = *code;
    }
    if (!ok || std::find(offered.begin(), offered.end(), value) == offered.end()) {
        std::string choices;
        for (int code : offered)
            choices +=
                Format("%s%d (%d Hz)", choices.empty() ? "" : ", ", code, ReportRateHz(code));
        return Bad("report_rate must be one of the offered codes " + choices);
    }
    // The page always stores the same code under both keys.
    SettingCheck check = Change("report_rate", value, DeviceTask::WriteReportRate);
    check.change.values.emplace_back("report_rate_wireless", value);
    return check;
}

SettingCheck CheckSensorFlag(std::string_view text) {
    int value = 0;
    int allowed = 0;
    for (int bit : kSensorBits) allowed |= bit;
    if (!ParseInteger(text, value) || value < 0 || (value & ~allowed) != 0) {
        return Bad("sensor_flag must be a sum of the option bits 4, 8 and 16 (0..28)");
    }
    return Change("sensor_flag", value, DeviceTask::WriteLiftOffAndSensor);
}

}  // namespace

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

bool ParseColourValue(std::string_view text, int& value) {
    if (text.size() == 7 && text.front() == '#') {
        for (char c : text.substr(1)) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        }
        value = ParseColour(std::string(text));
        return true;
    }
    return ParseInteger(text, value) && value >= 0 && value <= kMaxColour;
}

std::vector<std::string> SettableKeys() {
    static constexpr std::array<std::string_view, 10> kPlainKeys{
        "dpi_count",      "dpi_index",      "report_rate",        "report_rate_wireless",
        "liftoff_height", "sensor_flag",    "button_respondtime", "sleep_light",
        "move_wakeup",    "move_closelight"};
    std::vector<std::string> keys;
    for (const DefaultSetting& setting : DefaultSettings()) {
        const bool plain =
            std::find(kPlainKeys.begin(), kPlainKeys.end(), setting.key) != kPlainKeys.end();
        if (plain || StageOf(setting.key, "value") >= 0 || StageOf(setting.key, "rgb") >= 0) {
            keys.emplace_back(setting.key);
        }
    }
    return keys;
}

bool IsStoredSetting(std::string_view key) {
    const auto& defaults = DefaultSettings();
    return std::any_of(defaults.begin(), defaults.end(),
                       [&](const DefaultSetting& s) { return s.key == key; });
}

SettingCheck CheckSetting(std::string_view key, std::string_view text,
                          const SettingLimits& limits) {
    if (key == "dpi_count") {
        SettingCheck check = CheckInteger(key, text, 1, kMaxStages, DeviceTask::WriteDpiStages);
        // Lowering the count below the active stage makes the new last stage active.
        if (check.status.Ok() && limits.dpiIndex >= check.change.values.front().second) {
            check.change.values.emplace_back("dpi_index", check.change.values.front().second - 1);
        }
        return check;
    }
    if (key == "dpi_index") {
        return CheckInteger(key, text, 0, std::clamp(limits.dpiCount, 1, kMaxStages) - 1,
                            DeviceTask::WriteDpiStages);
    }
    if (StageOf(key, "value") >= 0) return CheckStageDpi(key, text, limits);
    if (StageOf(key, "rgb") >= 0) {
        int value = 0;
        if (!ParseColourValue(text, value)) {
            return Bad(
                Format("%.*s must be a colour within 0..0xFFFFFF (red in the low byte) or #RRGGBB",
                       static_cast<int>(key.size()), key.data()));
        }
        return Change(std::string(key), value, DeviceTask::WriteDpiColours);
    }
    if (key == "report_rate" || key == "report_rate_wireless") return CheckReportRate(text, limits);
    if (key == "liftoff_height") {
        return CheckChoice(key, text, {1, 2}, DeviceTask::WriteLiftOffAndSensor,
                           " (1 = 1.0 mm, 2 = 2.0 mm)");
    }
    if (key == "sensor_flag") return CheckSensorFlag(text);
    if (key == "button_respondtime") {
        return CheckInteger(key, text, kMinDebounce, kMaxDebounce, DeviceTask::WriteSleepOptions);
    }
    if (key == "sleep_light") {
        return CheckChoice(key, text, {kSleepValues.begin(), kSleepValues.end()},
                           DeviceTask::WriteSleepOptions, " (the sleep delay in minutes times 6)");
    }
    if (key == "move_wakeup" || key == "move_closelight") {
        return CheckChoice(key, text, {0, 1}, DeviceTask::WriteSleepOptions, " (0 off, 1 on)");
    }
    std::string list;
    for (const std::string& k : SettableKeys()) list += (list.empty() ? "" : ", ") + k;
    const std::string name(key);
    if (IsStoredSetting(key))
        return Bad(name + " cannot be set with kestrixctl; settable keys: " + list);
    return Bad("unknown key \"" + name + "\"; settable keys: " + list);
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

}  // namespace kestrix
