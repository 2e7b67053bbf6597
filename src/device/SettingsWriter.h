#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace kestrix {

class DeviceContext;
class SettingsReader;

// Sends what the store holds for the current profile to the mouse, one routine per worker
// task. Each reads its values back from the store and sends one command (the button task
// may add macro uploads first). Failures are handled inside: a log line and, for the setting
// writes, the command-failure handler. Runs on the device worker only.
class SettingsWriter {
public:
    // Puts the model's performance defaults into the store (DPI keys only when dpiOnly).
    using DefaultsLoader = std::function<void(bool dpiOnly)>;

    SettingsWriter(DeviceContext& context, SettingsReader& reader, DefaultsLoader loadDefaults)
        : m_context(context), m_reader(reader), m_loadDefaults(std::move(loadDefaults)) {}

    // Task 11: command 0x02 with report_rate.
    void WriteReportRate();
    // Task 9: command 0x03 with index, count and the six stages clamped to the sensor's limits.
    void WriteDpiStages();
    // Task 10: command 0x04 with the six stage colours.
    void WriteDpiColours();
    // Task 8: marks the current effect active and sends its row (nothing without a row).
    void WriteLighting();
    // Task 12: command 0x06 with lift-off height and the two sensor options.
    void WriteLiftOffAndSensor();
    // Task 13: command 0x07 with the sleep and wake options and the button response time.
    void WriteSleepOptions();
    // Task 6: the pending macro upload (if any), then the button table.
    void WriteButtons();
    // Task 7: the 0x52 0x52 report with the button selected in the button editor.
    void SendSelectedButtonReport();
    // Task 17: lighting restore, then the lighting read back and the lighting page refreshed.
    void RestoreLighting();
    // Task 20: factory restore, stored buttons of profiles 1-5 deleted, defaults stored.
    void RestoreFactory();
    // Task 5: every setting of the profile, pages refreshed first.
    void WriteAll();
    // Task 18: the model's DPI defaults stored, then stages and colours sent.
    void ResetDpi();

private:
    // Sends a single-packet write; true when the mouse accepted it.
    bool Send(uint8_t code, uint8_t countByte, std::span<const uint8_t> data);
    // Send, and on failure log and run the command-failure handler.
    void SendSetting(uint8_t code, uint8_t countByte, std::span<const uint8_t> data);
    void UploadPendingMacro();

    DeviceContext& m_context;
    SettingsReader& m_reader;
    DefaultsLoader m_loadDefaults;
};

}  // namespace kestrix
