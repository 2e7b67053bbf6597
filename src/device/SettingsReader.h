// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/CommandFrame.h"

namespace kestrix {

class DeviceContext;

// Reads the selected mouse: applies its identity answer to the device state (sensor, DPI
// limits, report-rate class, battery) and, the first time a model is seen in a run, reads
// every setting the mouse holds into the store of the current profile. Runs on the device
// worker only.
class SettingsReader {
  public:
    explicit SettingsReader(DeviceContext& context) : m_context(context) {}

    // After a rebuild: battery indicators from the last identity, identity applied, settings
    // read once per model (with the firmware version behind a receiver). False (command-failure
    // handler run, nothing stored, the reason kept for the task's result) without a command
    // interface, when the mouse is off line, or when any read command of the sequence failed.
    bool ReadAllSettings();
    // The same when a receiver reports its mouse connected, without the battery refresh
    // before the identity and without the firmware version.
    bool ReadAllOnConnect();
    // Reads the settings sequence now, whether or not this model was read before in this run
    // (after a factory restore); stores nothing unless every command was answered.
    bool ReadSettingsNow();
    // Command 0x15: takes the effect number, brightness and speed into the device state and
    // the lighting table. False when the mouse gave no usable answer.
    bool ReadLighting();

    // One read exchange [code, 0, 0, 0] on the command interface, after the input reports
    // already waiting were drained: the first report with status 0 and at least minimumLength
    // bytes is the answer; nullopt when none came (logged, and kept as the running task's
    // failure reason unless the answer is not required).
    std::optional<ReportBuffer> ReadCommand(uint8_t code, size_t minimumLength,
                                            bool required = true);

  private:
    // Settings read from the mouse, not stored yet.
    using SettingValues = std::vector<std::pair<std::string, int>>;

    bool ReadAll(bool refreshBatteryFirst, bool readFirmwareVersion);
    void ApplyIdentity(const ReportBuffer& identity);
    // Commands 0x11 to 0x17 (and 0x20 behind a receiver); stores what they gave only when
    // every one was answered. False (with the failed command kept as the reason) otherwise.
    bool ReadSequence(bool readFirmwareVersion);
    bool ReadReportRate(SettingValues& values);
    bool ReadDpiStages(SettingValues& values);
    bool ReadDpiColours(SettingValues& values);
    bool ReadLightingAnswer(int& effect, uint8_t& level, bool required);
    void ApplyLighting(int effect, uint8_t level);
    bool ReadLiftOffAndSensor(SettingValues& values);
    bool ReadSleepOptions(SettingValues& values);
    bool ReadFirmwareVersion(std::string& version);

    DeviceContext& m_context;
};

}  // namespace kestrix
