// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

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
    // handler run, nothing read, the reason kept for the task's result) without a command
    // interface or when the mouse is off line.
    bool ReadAllSettings();
    // The same when a receiver reports its mouse connected, without the battery refresh
    // before the identity and without the firmware version.
    bool ReadAllOnConnect();
    // Command 0x15: takes the effect number, brightness and speed into the device state and
    // the lighting table. False when the mouse gave no usable answer.
    bool ReadLighting();

    // One read exchange [code, 0, 0, 0] on the command interface: the first report with status
    // 0 and at least minimumLength bytes is the answer; nullopt when none came (logged and kept
    // as the running task's failure reason).
    std::optional<ReportBuffer> ReadCommand(uint8_t code, size_t minimumLength);

  private:
    bool ReadAll(bool refreshBatteryFirst, bool readFirmwareVersion);
    void ApplyIdentity(const ReportBuffer& identity);
    void ReadSequence(bool readFirmwareVersion);
    void ReadReportRate();
    void ReadDpiStages();
    void ReadDpiColours();
    void ReadLiftOffAndSensor();
    void ReadSleepOptions();
    void ReadFirmwareVersion();

    DeviceContext& m_context;
};

}  // namespace kestrix
