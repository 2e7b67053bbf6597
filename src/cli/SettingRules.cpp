// SPDX-License-Identifier: MIT
#include "cli/SettingRules.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "base/Text.h"
#include "device/Catalogue.h"
#include "device/DeviceTask.h"
#include "rules/SensorDpiRules.h"
#include "store/DefaultSettings.h"

namespace kestrix {
namespace {

// "dpi_group%d_<suffix>" with a stage 0..5: the stage, else -1.
int StageOf(std::string_view key, std::string_view suffix) {
    constexpr std::string_view kPrefix = "dpi_group";
    if (key.size() != kPrefix.size() + 2 + suffix.size() ||
        key.substr(0, kPrefix.size()) != kPrefix)
        return -1;
    const char digit = key[kPrefix.size()];
    if (key[kPrefix.size() + 1] != '_' || key.substr(kPrefix.size() + 2) != suffix) return -1;
    if (digit < '0' || digit >= '0' + kMaxDpiStages) return -1;
    return digit - '0';
}

SettingCheck Bad(std::string text) { return {CommandStatus::BadValue(std::move(text)), {}}; }

SettingCheck Change(std::string key, int value, DeviceTask task) {
    SettingCheck check;
    check.change.values.emplace_back(std::move(key), value);
    check.change.task = task;
    return check;
}

// "KEY must be <range>", the refusal of a value outside the key's range.
SettingCheck OutOfRange(std::string_view key, const SettingRange& range) {
    return Bad(std::string(key) + " must be " + range.text);
}

// A plain integer inside the key's range.
SettingCheck CheckInRange(std::string_view key, std::string_view text, const SettingLimits& limits,
                          DeviceTask task) {
    const SettingRange range = *RangeOfSetting(key, limits);
    int value = 0;
    if (!ParseInteger(text, value) || !range.Accepts(value)) return OutOfRange(key, range);
    return Change(std::string(key), value, task);
}

SettingCheck CheckStageDpi(std::string_view key, std::string_view text,
                           const SettingLimits& limits) {
    const SettingCheck check = CheckInRange(key, text, limits, DeviceTask::WriteDpiStages);
    if (!check.status.Ok()) return check;
    // Set snaps a typed value onto the sensor's grid as the page's DPI field does.
    const int typed = check.change.values.front().second;
    const int snapped = SensorDpiRules::ForSensor(limits.sensorCode).SnapTypedDpi(typed);
    SettingCheck snappedCheck = Change(std::string(key), snapped, check.change.task);
    if (snapped != typed)
        snappedCheck.change.note =
            Format("%d snapped to %d by the sensor's DPI grid", typed, snapped);
    return snappedCheck;
}

SettingCheck CheckReportRate(std::string_view text, const SettingLimits& limits) {
    const SettingRange range = *RangeOfSetting("report_rate", limits);
    int value = 0;
    std::string_view number = text;
    const bool hertz = number.size() > 2 && (number.substr(number.size() - 2) == "Hz" ||
                                             number.substr(number.size() - 2) == "hz");
    if (hertz) number.remove_suffix(2);
    bool ok = ParseInteger(number, value);
    if (ok && hertz) {
        const auto code = std::find_if(range.choices.begin(), range.choices.end(),
                                       [&](int c) { return ReportRateHz(c) == value; });
        ok = code != range.choices.end();
        if (ok) value = *code;
    }
    if (!ok || !range.Accepts(value)) return OutOfRange("report_rate", range);
    // The page always stores the same code under both keys.
    SettingCheck check = Change("report_rate", value, DeviceTask::WriteReportRate);
    check.change.values.emplace_back("report_rate_wireless", value);
    return check;
}

// "6, 12, 30" for a list of values.
std::string Join(const std::vector<int>& values) {
    std::string text;
    for (int v : values) text += (text.empty() ? "" : ", ") + std::to_string(v);
    return text;
}

}  // namespace

bool ParseColourValue(std::string_view text, int& value) {
    if (text.size() == 7 && text.front() == '#') {
        for (char c : text.substr(1)) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        }
        value = ParseColour(std::string(text));
        return true;
    }
    return ParseInteger(text, value) && value >= 0 && value <= kMaxStageColour;
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
        SettingCheck check = CheckInRange(key, text, limits, DeviceTask::WriteDpiStages);
        // Lowering the count below the active stage makes the new last stage active.
        if (check.status.Ok() && limits.dpiIndex >= check.change.values.front().second) {
            check.change.values.emplace_back("dpi_index", check.change.values.front().second - 1);
        }
        return check;
    }
    if (key == "dpi_index") return CheckInRange(key, text, limits, DeviceTask::WriteDpiStages);
    if (StageOf(key, "value") >= 0) return CheckStageDpi(key, text, limits);
    if (StageOf(key, "rgb") >= 0) {
        int value = 0;
        if (!ParseColourValue(text, value)) {
            return Bad(std::string(key) + " must be " + RangeOfSetting(key, limits)->text +
                       " or #RRGGBB");
        }
        return Change(std::string(key), value, DeviceTask::WriteDpiColours);
    }
    if (key == "report_rate" || key == "report_rate_wireless") return CheckReportRate(text, limits);
    if (key == "liftoff_height" || key == "sensor_flag") {
        return CheckInRange(key, text, limits, DeviceTask::WriteLiftOffAndSensor);
    }
    if (key == "button_respondtime" || key == "sleep_light" || key == "move_wakeup" ||
        key == "move_closelight") {
        return CheckInRange(key, text, limits, DeviceTask::WriteSleepOptions);
    }
    std::string list;
    for (const std::string& k : SettableKeys()) list += (list.empty() ? "" : ", ") + k;
    const std::string name(key);
    if (IsStoredSetting(key))
        return Bad(name + " cannot be set with kestrixctl; settable keys: " + list);
    return Bad("unknown key \"" + name + "\"; settable keys: " + list);
}

std::vector<std::pair<std::string, std::string>> SettingKeyValues(bool settableOnly) {
    std::string rates;
    std::string fastRates;
    const std::vector<int> everyMouse = OfferedReportRates(SettingLimits{}.reportRateClass);
    for (int code : OfferedReportRates(kFastReportRateClass)) {
        const bool common =
            std::find(everyMouse.begin(), everyMouse.end(), code) != everyMouse.end();
        std::string& list = common ? rates : fastRates;
        list += Format("%s%d (%d Hz)", list.empty() ? "" : ", ", code, ReportRateHz(code));
    }
    std::string sensorBits;
    int allBits = 0;
    for (int bit : kSensorBits) {
        sensorBits += (sensorBits.empty() ? "" : ", ") + std::to_string(bit);
        allBits |= bit;
    }
    const std::vector<int> sleep(kSleepValues.begin(), kSleepValues.end());
    // The accepted values of each settable key, from the limits CheckSetting applies.
    const auto values = [&](std::string_view key) -> std::string {
        if (key == "dpi_count") return Format("1..%d", kMaxDpiStages);
        if (key == "dpi_index") return "0..dpi_count-1";
        if (StageOf(key, "value") >= 0) return "the sensor's DPI range (info: dpi_settable)";
        if (StageOf(key, "rgb") >= 0) return "0..0xFFFFFF (red in the low byte) or #RRGGBB";
        if (key == "report_rate" || key == "report_rate_wireless")
            return rates + "; rate class 7 also " + fastRates + "; or the rate, e.g. 1000Hz";
        if (key == "liftoff_height") return "1 (1.0 mm) or 2 (2.0 mm)";
        if (key == "sensor_flag")
            return Format("a sum of the option bits %s (0..%d)", sensorBits.c_str(), allBits);
        if (key == "button_respondtime") return Format("%d..%d", kMinDebounce, kMaxDebounce);
        if (key == "sleep_light") return Join(sleep) + " (the sleep delay in minutes times 6)";
        return "0 off, 1 on";
    };
    const std::vector<std::string> settable = SettableKeys();
    std::vector<std::pair<std::string, std::string>> lines;
    for (const DefaultSetting& setting : DefaultSettings()) {
        std::string key(setting.key);
        const bool canSet = std::find(settable.begin(), settable.end(), key) != settable.end();
        if (settableOnly && !canSet) continue;
        // A numbered family is named once.
        for (std::string_view suffix : {"value", "rgb"}) {
            if (!canSet || StageOf(key, suffix) < 0) continue;
            key = Format("dpi_groupN_%.*s (N 0..%d)", static_cast<int>(suffix.size()),
                         suffix.data(), kMaxDpiStages - 1);
        }
        if (!lines.empty() && lines.back().first == key) continue;
        lines.emplace_back(key, canSet ? values(setting.key) : std::string("read-only"));
    }
    return lines;
}

std::string SettingKeysHelp(bool settableOnly) {
    std::string text =
        settableOnly ? "Keys and their values:\n" : "Keys (set accepts those with values):\n";
    for (const auto& [key, values] : SettingKeyValues(settableOnly)) {
        std::string line = "  " + key;
        line.resize(std::max<size_t>(line.size() + 2, 30), ' ');
        text += line + values + "\n";
    }
    return text + "\n";
}

}  // namespace kestrix
