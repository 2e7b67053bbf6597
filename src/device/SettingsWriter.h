// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace kestrix {

class DeviceContext;
class SettingsReader;

// Sends what the store holds for the current profile to the mouse, one routine per worker
// task. Each reads its values back from the store and sends one command (the button task
// may add macro uploads first). Failures are logged and, for the setting writes, run the
// command-failure handler; each routine returns true only when every exchange it made
// succeeded, and keeps the first failure's reason in the context. Runs on the device worker
// only.
class SettingsWriter {
  public:
    // Puts the model's performance defaults into the store (DPI keys only when dpiOnly); false
    // (logged, reason kept in the context) when they could not be loaded.
    using DefaultsLoader = std::function<bool(bool dpiOnly)>;

    SettingsWriter(DeviceContext& context, SettingsReader& reader, DefaultsLoader loadDefaults)
        : m_context(context), m_reader(reader), m_loadDefaults(std::move(loadDefaults)) {}

    // Task 11: command 0x02 with report_rate. False when the mouse did not accept it.
    bool WriteReportRate();
    // Task 9: command 0x03 with index, count and the six stages clamped to the sensor's limits.
    // False when the mouse did not accept it.
    bool WriteDpiStages();
    // Task 10: command 0x04 with the six stage colours. False when the mouse did not accept it.
    bool WriteDpiColours();
    // Task 8: marks the current effect active and sends its row. Without a row nothing is sent
    // and the result is true: there is nothing the mouse could have refused.
    bool WriteLighting();
    // Task 12: command 0x06 with lift-off height and the two sensor options. False when the
    // mouse did not accept it.
    bool WriteLiftOffAndSensor();
    // Task 13: command 0x07 with the sleep and wake options and the button response time.
    // False when the mouse did not accept it.
    bool WriteSleepOptions();
    // Task 6: the pending macro upload (if any), then the button table (sent even after a
    // failed upload). False when a macro packet or the table was not accepted.
    bool WriteButtons();
    // Task 7: the 0x52 0x52 report with the button selected in the button editor. False when
    // the mouse did not take it.
    bool SendSelectedButtonReport();
    // Task 17: lighting restore, then the lighting read back and the lighting page refreshed.
    // False when the restore or the read-back failed, or the worker was stopped in between.
    bool RestoreLighting();
    // Task 20: factory restore, stored buttons of profiles 1-5 deleted, defaults stored (all
    // done even when the mouse did not answer), then the mouse's settings read back over the
    // defaults. False when any of these failed.
    bool RestoreFactory();
    // Task 5: every setting of the profile, pages refreshed first; every write is tried. False
    // when any of them failed.
    bool WriteAll();
    // Task 18: the model's DPI defaults stored, then stages and colours sent. False when the
    // defaults could not be loaded or a write failed.
    bool ResetDpi();

  private:
    // Sends a single-packet write; true when the mouse accepted it (the exchange logs why not).
    bool Send(uint8_t code, uint8_t countByte, std::span<const uint8_t> data);
    // Send, and on failure log "write command 0x.. failed" as the task's reason and run the
    // command-failure handler.
    bool SendSetting(uint8_t code, uint8_t countByte, std::span<const uint8_t> data);
    // Send for the restore commands, which do not run the handler and log nothing of their
    // own; a failure is kept as the task's reason only.
    bool SendRestore(uint8_t code, uint8_t data);
    bool UploadPendingMacro();

    DeviceContext& m_context;
    SettingsReader& m_reader;
    DefaultsLoader m_loadDefaults;
};

}  // namespace kestrix
