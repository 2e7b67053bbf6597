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

std::string StageKey(int stage, const char* suffix) {
    return Format("dpi_group%d_%s", stage, suffix);
}

}  // namespace

std::optional<ReportBuffer> SettingsReader::ReadCommand(uint8_t code, size_t minimumLength) {
    // The manager's SendCommand does not say how long the answer was; the reads need that
    // to never take bytes the mouse did not send, so the exchange is run here the same way.
    HidDeviceManager& manager = m_context.Manager();
    if (!manager.IsOpened()) {
        m_context.LogFailure("read 0x%02X: device list not opened yet", code);
        return std::nullopt;
    }
    HidDevice* device = manager.GetCommandInterface();
    if (device == nullptr) {
        m_context.LogFailure("read 0x%02X: no command interface", code);
        return std::nullopt;
    }
    const ReportBuffer request = BuildReadRequest(code);
    if (device->Write(request.data(), kShortWrite) <= 0) {
        m_context.LogFailure("read 0x%02X: write to %s failed", code, device->Path().c_str());
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kAnswerReadAttempts; ++attempt) {
        ReportBuffer answer{};
        const int read = device->ReadTimeout(answer.data(), kShortWrite, kAnswerReadTimeoutMs);
        if (read < 0) {
            m_context.LogFailure("read 0x%02X: reading from %s failed", code,
                                 device->Path().c_str());
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
    m_context.LogFailure("read 0x%02X: no answer after %d reads", code, kAnswerReadAttempts);
    return std::nullopt;
}

bool SettingsReader::ReadAllSettings() { return ReadAll(true, true); }

bool SettingsReader::ReadAllOnConnect() { return ReadAll(false, false); }

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
    if (firstTime) ReadSequence(readFirmwareVersion);
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

void SettingsReader::ReadSequence(bool readFirmwareVersion) {
    // The answer to 0x11 only prepares the mouse for the reads that follow.
    (void)ReadCommand(command::kPrepareRead, 0);
    ReadReportRate();
    ReadDpiStages();
    ReadDpiColours();
    ReadLighting();
    ReadLiftOffAndSensor();
    ReadSleepOptions();
    if (readFirmwareVersion &&
        m_context.Manager().GetConnectionKind() == ConnectionKind::Receiver) {
        ReadFirmwareVersion();
    }
}

void SettingsReader::ReadReportRate() {
    const auto answer = ReadCommand(command::kReadReportRate, kData + 1);
    if (!answer) return;
    const int code = (*answer)[kData];
    m_context.SetSettingInt("report_rate", code);
    m_context.SetSettingInt("report_rate_wireless", code);
}

void SettingsReader::ReadDpiStages() {
    const auto answer = ReadCommand(command::kReadDpiStages, kData + 2 + 4 * (kDpiStages - 1) + 1);
    if (!answer) return;
    const ReportBuffer& a = *answer;
    m_context.SetSettingInt("dpi_count", a[kData] & 0x0F);
    m_context.SetSettingInt("dpi_index", a[kData] >> 4);
    const int sensorCode = m_context.State().sensorCode;
    for (int k = 0; k < kDpiStages; ++k) {
        const size_t offset = kData + 1 + 4 * static_cast<size_t>(k);
        const uint16_t raw = static_cast<uint16_t>(a[offset] | (a[offset + 1] << 8));
        const int dpi = DecodeDpi(sensorCode, raw);
        if (dpi >= kLowestStoredDpi) m_context.SetSettingInt(StageKey(k, "value"), dpi);
    }
}

void SettingsReader::ReadDpiColours() {
    const auto answer = ReadCommand(command::kReadDpiColours, kData + 3 * kDpiStages);
    if (!answer) return;
    const ReportBuffer& a = *answer;
    for (int k = 0; k < kDpiStages; ++k) {
        const size_t offset = kData + 3 * static_cast<size_t>(k);
        const int colour = a[offset] | (a[offset + 1] << 8) | (a[offset + 2] << 16);
        m_context.SetSettingInt(StageKey(k, "rgb"), colour);
    }
}

bool SettingsReader::ReadLighting() {
    const auto answer = ReadCommand(command::kReadLighting, kData + 2);
    if (!answer) return false;
    const int effect = (*answer)[kData];
    const uint8_t level = (*answer)[kData + 1];
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
    return true;
}

void SettingsReader::ReadLiftOffAndSensor() {
    const auto answer = ReadCommand(command::kReadLiftOff, kData + 3);
    if (!answer) return;
    const ReportBuffer& a = *answer;
    m_context.SetSettingInt("liftoff_height", a[kData]);
    const int flag = (a[kData + 1] == 1 ? 8 : 0) + (a[kData + 2] == 1 ? 4 : 0);
    m_context.SetSettingInt("sensor_flag", flag);
}

void SettingsReader::ReadSleepOptions() {
    const auto answer = ReadCommand(command::kReadSleep, kData + 4);
    if (!answer) return;
    const ReportBuffer& a = *answer;
    m_context.SetSettingInt("sleep_light", a[kData]);
    m_context.SetSettingInt("move_wakeup", a[kData + 1]);
    m_context.SetSettingInt("move_closelight", a[kData + 2]);
    m_context.SetSettingInt("button_respondtime", a[kData + 3]);
}

void SettingsReader::ReadFirmwareVersion() {
    const auto answer = ReadCommand(command::kReadFirmwareVersion, kData + 2);
    if (!answer) return;
    m_context.Events().ShowFirmwareVersion(
        Format("%X%02X", (*answer)[kData], (*answer)[kData + 1]));
}

}  // namespace kestrix
