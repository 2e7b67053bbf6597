// SPDX-License-Identifier: MIT
#include "device/SettingsReader.h"

#include <algorithm>
#include <string>

#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceContext.h"
#include "device/DpiCodec.h"
#include "device/HidDeviceManager.h"
#include "rules/SensorDpiRules.h"
#include "store/DataStore.h"

namespace kestrix {

namespace {

// Answer offsets of the identity answer.
constexpr size_t kIdentitySensorWord = 8;
constexpr size_t kIdentitySensorCode = 10;
constexpr size_t kIdentityReportRate = 11;
constexpr size_t kIdentityBatteryA = 12;
constexpr size_t kIdentityBatteryB = 13;
constexpr size_t kIdentityOnline = 14;

constexpr size_t kData = kFrameDataOffset;
constexpr int kDpiStages = 6;
// The mouse never reports a real stage below this; smaller values are left out.
constexpr int kLowestStoredDpi = 50;
// Battery value shown for "unknown" until the identity gives the real one.
constexpr int kBatteryUnknown = 100;

// What a read command asks for, for the failure lines.
const char* ReadCommandName(uint8_t code) {
    switch (code) {
        case command::kIdentity:
            return "identity";
        case command::kPrepareRead:
            return "read preparation";
        case command::kReadReportRate:
            return "report rate";
        case command::kReadDpiStages:
            return "DPI stages";
        case command::kReadDpiColours:
            return "DPI stage colours";
        case command::kReadLighting:
            return "lighting effect";
        case command::kReadLiftOff:
            return "lift-off and sensor options";
        case command::kReadSleep:
            return "sleep options";
        case command::kReadFirmwareVersion:
            return "firmware version";
        default:
            return "unknown";
    }
}

std::string StageKey(int stage, const char* suffix) {
    return Format("dpi_group%d_%s", stage, suffix);
}

}  // namespace

std::optional<ReportBuffer> SettingsReader::ReadCommand(uint8_t code, size_t minimumLength,
                                                        bool required) {
    // The manager's SendCommand does not say how long the answer was; the reads need that
    // to never take bytes the mouse did not send, so the exchange is run here the same way.
    HidDeviceManager& manager = m_context.Manager();
    if (!manager.IsOpened()) {
        m_context.LogFailure("read 0x%02X (%s): device list not opened yet", code,
                             ReadCommandName(code));
        return std::nullopt;
    }
    HidDevice* device = manager.GetCommandInterface();
    if (device == nullptr) {
        m_context.LogFailure("read 0x%02X (%s): no command interface", code, ReadCommandName(code));
        return std::nullopt;
    }
    if (!manager.DrainStaleInput(*device)) {
        m_context.LogFailure("read 0x%02X (%s): reading from %s failed", code,
                             ReadCommandName(code), device->Path().c_str());
        return std::nullopt;
    }
    const ReportBuffer request = BuildReadRequest(code);
    if (device->Write(request.data(), kShortWrite) <= 0) {
        m_context.LogFailure("read 0x%02X (%s): write to %s failed", code, ReadCommandName(code),
                             device->Path().c_str());
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kAnswerReadAttempts; ++attempt) {
        ReportBuffer answer{};
        const int read = device->ReadTimeout(answer.data(), kShortWrite, kAnswerReadTimeoutMs);
        if (read < 0) {
            m_context.LogFailure("read 0x%02X (%s): reading from %s failed", code,
                                 ReadCommandName(code), device->Path().c_str());
            return std::nullopt;
        }
        if (!IsCommandAnswer(answer.data(), read)) continue;
        if (static_cast<size_t>(read) < minimumLength) {
            // Too short to be this answer: dropped like any other report that is not it.
            LogLine("read 0x%02X: answer of %d bytes is shorter than the %zu needed; dropped", code,
                    read, minimumLength);
            continue;
        }
        return answer;
    }
    if (required) {
        m_context.LogFailure("read 0x%02X (%s): no answer after %d reads", code,
                             ReadCommandName(code), kAnswerReadAttempts);
    } else {
        LogLine("read 0x%02X (%s): no answer after %d reads", code, ReadCommandName(code),
                kAnswerReadAttempts);
    }
    return std::nullopt;
}

bool SettingsReader::ReadAllSettings() { return ReadAll(true, true); }

bool SettingsReader::ReadAllOnConnect() { return ReadAll(false, false); }

bool SettingsReader::ReadSettingsNow() { return ReadSequence(false); }

bool SettingsReader::ReadAll(bool refreshBatteryFirst, bool readFirmwareVersion) {
    DeviceEvents& events = m_context.Events();
    if (refreshBatteryFirst) {
        const DeviceState before = m_context.State();
        events.SetBatteryInfo(before.batteryB, kBatteryUnknown);
        events.SetDeviceBattery(before.selectedModel, before.batteryA, kBatteryUnknown);
        m_context.UpdateState([](DeviceState& s) { s.mouseOnline = 0; });
    }
    HidDeviceManager& manager = m_context.Manager();
    ReportBuffer identity{};
    if (manager.GetCommandInterface() == nullptr || !manager.QueryIdentity(identity, nullptr)) {
        m_context.LogFailure(
            "ReadAllSettings: wireless device not connected (no command interface)");
        m_context.HandleCommandFailure();
        return false;
    }
    ApplyIdentity(identity);
    if (identity[kIdentityOnline] == 0) {
        m_context.LogFailure("ReadAllSettings: wireless device not connected (mouse off line)");
        m_context.HandleCommandFailure();
        return false;
    }
    bool firstTime = false;
    m_context.UpdateState(
        [&](DeviceState& s) { firstTime = s.readModels.insert(s.selectedModel).second; });
    if (firstTime && !ReadSequence(readFirmwareVersion)) {
        // Not read after all: the next read of this model tries again.
        m_context.UpdateState([](DeviceState& s) { s.readModels.erase(s.selectedModel); });
        m_context.HandleCommandFailure();
        return false;
    }
    return true;
}

void SettingsReader::ApplyIdentity(const ReportBuffer& identity) {
    const uint16_t sensorWord = static_cast<uint16_t>(identity[kIdentitySensorWord] |
                                                      (identity[kIdentitySensorWord + 1] << 8));
    const uint16_t sensorCode = identity[kIdentitySensorCode];
    const SensorDpiRules rules = SensorDpiRules::ForSensor(sensorCode);
    const uint8_t batteryA = identity[kIdentityBatteryA];
    const uint8_t batteryB = identity[kIdentityBatteryB];
    int model = 0;
    m_context.UpdateState([&](DeviceState& s) {
        s.minimumDpi = DeviceState::kDefaultMinimumDpi;
        s.maximumDpi = DeviceState::kDefaultMaximumDpi;
        s.sensorWord = sensorWord;
        s.sensorCode = sensorCode;
        s.minimumDpi = rules.MinDpi();
        s.maximumDpi = rules.MaxDpi();
        s.reportRateClass = ReportRateClassOf(identity[kIdentityReportRate]);
        s.mouseOnline = identity[kIdentityOnline];
        s.batteryA = batteryA;
        s.batteryB = batteryB;
        model = s.selectedModel;
    });
    DeviceEvents& events = m_context.Events();
    events.SetDpiSliderRange(rules.LowLabel(), rules.HighLabel(), rules.Steps());
    events.SetBatteryInfo(batteryB, batteryA);
    events.SetDeviceBattery(model, batteryA, batteryB);
}

bool SettingsReader::ReadSequence(bool readFirmwareVersion) {
    // Every answer is taken in first and stored only when the whole sequence was read: a
    // mouse that stops answering half-way leaves the store as it was, never half the mouse.
    SettingValues values;
    int effect = 0;
    uint8_t level = 0;
    std::string firmware;
    // The answer to 0x11 only prepares the mouse for the reads that follow, but a mouse that
    // does not answer it will not answer them either.
    // A model without lighting refuses 0x15; it is asked all the same, but only a model with
    // lighting needs its answer.
    const bool lighting = m_context.State().lightingPage;
    bool haveLighting = false;
    bool read = ReadCommand(command::kPrepareRead, 0).has_value() && ReadReportRate(values) &&
                ReadDpiStages(values) && ReadDpiColours(values);
    if (read) {
        haveLighting = ReadLightingAnswer(effect, level, lighting);
        read = haveLighting || !lighting;
    }
    read = read && ReadLiftOffAndSensor(values) && ReadSleepOptions(values);
    if (read && readFirmwareVersion &&
        m_context.Manager().GetConnectionKind() == ConnectionKind::Receiver) {
        read = ReadFirmwareVersion(firmware);
    }
    if (!read) {
        LogLine("reading the mouse's settings failed; nothing of it was stored");
        return false;
    }
    for (const auto& [key, value] : values) m_context.SetSettingInt(key, value);
    if (haveLighting) ApplyLighting(effect, level);
    if (!firmware.empty()) m_context.Events().ShowFirmwareVersion(firmware);
    return true;
}

bool SettingsReader::ReadReportRate(SettingValues& values) {
    const auto answer = ReadCommand(command::kReadReportRate, kData + 1);
    if (!answer) return false;
    const int code = (*answer)[kData];
    values.emplace_back("report_rate", code);
    values.emplace_back("report_rate_wireless", code);
    return true;
}

bool SettingsReader::ReadDpiStages(SettingValues& values) {
    const auto answer = ReadCommand(command::kReadDpiStages, kData + 2 + 4 * (kDpiStages - 1) + 1);
    if (!answer) return false;
    const ReportBuffer& a = *answer;
    values.emplace_back("dpi_count", a[kData] & 0x0F);
    values.emplace_back("dpi_index", a[kData] >> 4);
    const int sensorCode = m_context.State().sensorCode;
    for (int k = 0; k < kDpiStages; ++k) {
        const size_t offset = kData + 1 + 4 * static_cast<size_t>(k);
        const uint16_t raw = static_cast<uint16_t>(a[offset] | (a[offset + 1] << 8));
        const int dpi = DecodeDpi(sensorCode, raw);
        if (dpi >= kLowestStoredDpi) values.emplace_back(StageKey(k, "value"), dpi);
    }
    return true;
}

bool SettingsReader::ReadDpiColours(SettingValues& values) {
    const auto answer = ReadCommand(command::kReadDpiColours, kData + 3 * kDpiStages);
    if (!answer) return false;
    const ReportBuffer& a = *answer;
    for (int k = 0; k < kDpiStages; ++k) {
        const size_t offset = kData + 3 * static_cast<size_t>(k);
        const int colour = a[offset] | (a[offset + 1] << 8) | (a[offset + 2] << 16);
        values.emplace_back(StageKey(k, "rgb"), colour);
    }
    return true;
}

bool SettingsReader::ReadLighting() {
    int effect = 0;
    uint8_t level = 0;
    if (!ReadLightingAnswer(effect, level, true)) return false;
    ApplyLighting(effect, level);
    return true;
}

bool SettingsReader::ReadLightingAnswer(int& effect, uint8_t& level, bool required) {
    const auto answer = ReadCommand(command::kReadLighting, kData + 2, required);
    if (!answer) return false;
    effect = (*answer)[kData];
    level = (*answer)[kData + 1];
    return true;
}

void SettingsReader::ApplyLighting(int effect, uint8_t level) {
    m_context.UpdateState([&](DeviceState& s) { s.currentLightingEffect = effect; });
    DataStore& store = m_context.Store();
    const ProfileId profile = m_context.Profile();
    store.SetActiveLightMode(profile, effect);
    LightRow row;
    if (store.GetLightRow(profile, effect, row)) {
        row.brightness = level >> 4;
        row.speed = level & 0x0F;
        if (!store.UpdateLightRow(effect, row)) {
            LogLine("storing lighting effect %d of profile %d failed", effect, profile);
        }
    }
}

bool SettingsReader::ReadLiftOffAndSensor(SettingValues& values) {
    const auto answer = ReadCommand(command::kReadLiftOff, kData + 3);
    if (!answer) return false;
    const ReportBuffer& a = *answer;
    values.emplace_back("liftoff_height", a[kData]);
    const int flag = (a[kData + 1] == 1 ? 8 : 0) + (a[kData + 2] == 1 ? 4 : 0);
    values.emplace_back("sensor_flag", flag);
    return true;
}

bool SettingsReader::ReadSleepOptions(SettingValues& values) {
    const auto answer = ReadCommand(command::kReadSleep, kData + 4);
    if (!answer) return false;
    const ReportBuffer& a = *answer;
    values.emplace_back("sleep_light", a[kData]);
    values.emplace_back("move_wakeup", a[kData + 1]);
    values.emplace_back("move_closelight", a[kData + 2]);
    values.emplace_back("button_respondtime", a[kData + 3]);
    return true;
}

bool SettingsReader::ReadFirmwareVersion(std::string& version) {
    const auto answer = ReadCommand(command::kReadFirmwareVersion, kData + 2);
    if (!answer) return false;
    version = Format("%X%02X", (*answer)[kData], (*answer)[kData + 1]);
    return true;
}

}  // namespace kestrix
