// SPDX-License-Identifier: MIT
#include "device/SettingsWriter.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/Log.h"
#include "base/Text.h"
#include "device/ButtonTable.h"
#include "device/DeviceContext.h"
#include "device/DpiCodec.h"
#include "device/HidDeviceManager.h"
#include "device/LightingCodec.h"
#include "device/MacroPacking.h"
#include "device/SettingsReader.h"
#include "store/DataStore.h"

namespace kestrix {

namespace {

constexpr int kDpiStages = 6;
// Count bytes as the firmware expects them (0x03 and 0x09 do not count their data).
constexpr uint8_t kDpiStagesCount = 0x25;
constexpr uint8_t kDpiColoursCount = 0x12;
constexpr uint8_t kButtonsCount = 0x0F;
constexpr uint8_t kRestoreLightingData = 0x01;
constexpr uint8_t kRestoreFactoryData = 0xFF;
// The profiles whose button rows a factory restore deletes.
constexpr ProfileId kFirstRestoredProfile = 1;
constexpr ProfileId kLastRestoredProfile = 5;
constexpr auto kLightingRestoreSettle = std::chrono::milliseconds(100);
// Sensor-flag bits sent as the two sensor options of 0x06.
constexpr int kSensorOptionA = 8;
constexpr int kSensorOptionB = 4;

constexpr uint8_t Byte(int value) { return static_cast<uint8_t>(value & 0xFF); }

std::string StageKey(int stage, const char* suffix) {
    return Format("dpi_group%d_%s", stage, suffix);
}

}  // namespace

bool SettingsWriter::Send(uint8_t code, uint8_t countByte, std::span<const uint8_t> data) {
    ReportBuffer request = BuildWriteRequest(code, countByte, data);
    return m_context.Manager().SendCommand(request, WriteLengthOf(code));
}

bool SettingsWriter::SendSetting(uint8_t code, uint8_t countByte, std::span<const uint8_t> data) {
    if (Send(code, countByte, data)) return true;
    m_context.LogFailure("write command 0x%02X failed", code);
    m_context.HandleCommandFailure();
    return false;
}

bool SettingsWriter::SendRestore(uint8_t code, uint8_t data) {
    const std::array<uint8_t, 1> bytes{data};
    if (Send(code, 0x01, bytes)) return true;
    m_context.NoteFailure(Format("write command 0x%02X failed", code));
    return false;
}

bool SettingsWriter::WriteReportRate() {
    const std::array<uint8_t, 1> data{Byte(m_context.GetSettingInt("report_rate"))};
    return SendSetting(command::kReportRate, 0x01, data);
}

bool SettingsWriter::WriteDpiStages() {
    const DeviceState state = m_context.State();
    std::array<uint8_t, 1 + 4 * kDpiStages> data{};
    data[0] =
        Byte((m_context.GetSettingInt("dpi_index") << 4) | m_context.GetSettingInt("dpi_count"));
    for (int k = 0; k < kDpiStages; ++k) {
        int dpi = m_context.GetSettingInt(StageKey(k, "value"));
        if (dpi < state.minimumDpi)
            dpi = state.minimumDpi;
        else if (dpi > state.maximumDpi)
            dpi = state.maximumDpi;
        const uint16_t raw = EncodeDpi(state.sensorCode, dpi);
        const size_t offset = 1 + 4 * static_cast<size_t>(k);
        // The firmware takes every stage twice.
        data[offset] = Byte(raw);
        data[offset + 1] = Byte(raw >> 8);
        data[offset + 2] = Byte(raw);
        data[offset + 3] = Byte(raw >> 8);
    }
    return SendSetting(command::kDpiStages, kDpiStagesCount, data);
}

bool SettingsWriter::WriteDpiColours() {
    std::array<uint8_t, 3 * kDpiStages> data{};
    for (int k = 0; k < kDpiStages; ++k) {
        const int colour = m_context.GetSettingInt(StageKey(k, "rgb"));
        data[3 * k] = Byte(colour);
        data[3 * k + 1] = Byte(colour >> 8);
        data[3 * k + 2] = Byte(colour >> 16);
    }
    return SendSetting(command::kDpiColours, kDpiColoursCount, data);
}

bool SettingsWriter::WriteLighting() {
    const int effect = m_context.State().currentLightingEffect;
    DataStore& store = m_context.Store();
    const ProfileId profile = m_context.Profile();
    store.SetActiveLightMode(profile, effect);
    LightRow row;
    if (!store.GetLightRow(profile, effect, row)) {
        // Nothing to send is not a failure: the mouse refused nothing.
        LogLine("lighting effect %d has no row in profile %d; nothing sent", effect, profile);
        return true;
    }
    const LightingPayload payload =
        EncodeLighting({effect, row.brightness, row.speed, row.colorValues});
    return SendSetting(command::kLighting, payload.countByte, payload.data);
}

bool SettingsWriter::WriteLiftOffAndSensor() {
    const int flag = m_context.GetSettingInt("sensor_flag");
    const std::array<uint8_t, 5> data{Byte(m_context.GetSettingInt("liftoff_height")),
                                      static_cast<uint8_t>((flag & kSensorOptionA) != 0 ? 1 : 0),
                                      static_cast<uint8_t>((flag & kSensorOptionB) != 0 ? 1 : 0), 0,
                                      0};
    return SendSetting(command::kLiftOff, 0x05, data);
}

bool SettingsWriter::WriteSleepOptions() {
    const std::array<uint8_t, 4> data{Byte(m_context.GetSettingInt("sleep_light")),
                                      Byte(m_context.GetSettingInt("move_wakeup")),
                                      Byte(m_context.GetSettingInt("move_closelight")),
                                      Byte(m_context.GetSettingInt("button_respondtime"))};
    return SendSetting(command::kSleep, 0x04, data);
}

bool SettingsWriter::UploadPendingMacro() {
    const int pendingKey = m_context.State().pendingMacroKey;
    if (pendingKey < 0) return true;
    bool allSent = true;
    DataStore& store = m_context.Store();
    std::vector<KeyAssignmentRow> rows;
    store.ListKeyAssignments(m_context.Profile(), rows);
    for (const KeyAssignmentRow& row : rows) {
        if (row.fnLayer != 0 || row.macroType != 4 || row.keyCode != pendingKey) continue;
        MacroRow macro;
        if (!store.GetMacro(row.macroValue, macro)) {
            LogLine("macro %d of button %d does not exist; not uploaded", row.macroValue,
                    row.keyCode);
            continue;
        }
        std::vector<MacroRecordRow> records;
        store.ListMacroRecords(macro.macroId, records);
        std::vector<MacroEvent> events;
        events.reserve(records.size());
        for (const MacroRecordRow& r : records) events.push_back({r.type, r.value});
        bool truncated = false;
        const std::vector<uint8_t> data = PackMacro(row.keyCode, events, &truncated);
        if (truncated) {
            LogLine("macro %d has more than %zu events; the rest is not uploaded", macro.macroId,
                    kMaxMacroEvents);
        }
        // A failed packet is logged by the exchange; the button table still follows.
        if (!m_context.Manager().SendMultiPacket(command::kMacro, data)) {
            m_context.NoteFailure(Format("upload of macro %d to button %d (command 0x%02X) failed",
                                         macro.macroId, row.keyCode, command::kMacro));
            allSent = false;
        }
    }
    // Only the request served here is cleared; the editor may have asked for another one.
    m_context.UpdateState([&](DeviceState& s) {
        if (s.pendingMacroKey == pendingKey) s.pendingMacroKey = -1;
    });
    return allSent;
}

bool SettingsWriter::WriteButtons() {
    const bool macroSent = UploadPendingMacro();
    DataStore& store = m_context.Store();
    std::vector<KeyAssignmentRow> rows;
    store.ListKeyAssignments(m_context.Profile(), rows);
    std::vector<ButtonAssignment> assignments;
    for (const KeyAssignmentRow& row : rows) {
        if (row.fnLayer != 0) continue;
        assignments.push_back({row.keyCode, row.macroType, row.macroValue, row.macroValue2});
    }
    const MacroLookup findMacro = [&store](int macroId) -> std::optional<MacroPlayback> {
        MacroRow macro;
        if (!store.GetMacro(macroId, macro)) return std::nullopt;
        return MacroPlayback{macro.playType, macro.playTimes};
    };
    const ButtonTableBytes table = BuildButtonTable(assignments, findMacro);
    const bool tableSent =
        SendSetting(command::kButtons, kButtonsCount,
                    std::span<const uint8_t>(table.data(), kButtonTableSentBytes));
    return macroSent && tableSent;
}

bool SettingsWriter::SendSelectedButtonReport() {
    ReportBuffer report{};
    report[0] = command::kSelectedButton;
    report[1] = command::kSelectedButton;
    report[2] = Byte(m_context.State().selectedKey);
    // Nothing in the mouse's answer matters beyond its arrival; no failure handler runs.
    if (m_context.Manager().SendCommand(report, kLongWrite)) return true;
    m_context.NoteFailure(Format("selected-button report 0x%02X failed", command::kSelectedButton));
    return false;
}

bool SettingsWriter::RestoreLighting() {
    const bool restored = SendRestore(command::kRestoreLighting, kRestoreLightingData);
    if (!m_context.Wait(kLightingRestoreSettle)) {
        m_context.NoteFailure("the device worker was stopped before the lighting was read back");
        return false;
    }
    const bool readBack = m_reader.ReadLighting();
    m_context.Events().RefreshLightingPage();
    return restored && readBack;
}

bool SettingsWriter::RestoreFactory() {
    bool ok = SendRestore(command::kRestoreFactory, kRestoreFactoryData);
    DataStore& store = m_context.Store();
    for (ProfileId profile = kFirstRestoredProfile; profile <= kLastRestoredProfile; ++profile) {
        if (!store.DeleteProfileKeyAssignments(profile)) {
            m_context.NoteFailure(
                Format("deleting the button assignments of profile %d failed", profile));
            ok = false;
        }
    }
    if (m_loadDefaults && !m_loadDefaults(false)) ok = false;
    // The mouse's own factory values are not all the model file's defaults (the wireless
    // report rate, the sensor options): read them back so the store holds what the mouse does
    // and the next apply sends nothing stale.
    if (ok && !m_reader.ReadSettingsNow()) ok = false;
    m_context.Events().RefreshEditorPages();
    if (m_context.State().lightingPage) m_context.Events().RefreshLightingPage();
    return ok;
}

bool SettingsWriter::WriteAll() {
    m_context.Events().RefreshEditorPages();
    // Every write is tried even after one failed, so the mouse gets as much as it takes.
    bool ok = WriteButtons();
    if (m_context.State().lightingPage) ok = WriteLighting() && ok;
    ok = WriteDpiStages() && ok;
    ok = WriteDpiColours() && ok;
    ok = WriteReportRate() && ok;
    ok = WriteLiftOffAndSensor() && ok;
    ok = WriteSleepOptions() && ok;
    return ok;
}

bool SettingsWriter::ResetDpi() {
    const bool loaded = !m_loadDefaults || m_loadDefaults(true);
    const bool stagesSent = WriteDpiStages();
    const bool coloursSent = WriteDpiColours();
    return loaded && stagesSent && coloursSent;
}

}  // namespace kestrix
