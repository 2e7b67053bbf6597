// SPDX-License-Identifier: MIT
#pragma once

#include <mutex>
#include <string>

#include "device/DeviceEvents.h"

namespace kestrix {

// The device worker's observer for the headless front end: there is no window, so it keeps
// what the commands report (battery, firmware version of the mouse behind a receiver, the
// caption the window would show) and ignores the page and window effects.
class CliEvents final : public DeviceEvents {
  public:
    // What the worker reported so far.
    struct Snapshot {
        int captionTextId = kCaptionNoDevice;
        int batteryLevel = -1;        // value B of the last battery report; -1 = none
        int batteryCharge = -1;       // value A
        std::string firmwareVersion;  // e.g. "105"; empty when not read
    };

    // A copy of what was reported (any thread).
    Snapshot Reported() const;

    void SetCaption(int textId) override;
    void ShowDevicePages(bool) override {}
    void SelectTab(int) override {}
    void ShowNoDevicePanel(bool) override {}
    void SetAllDeviceState(int) override {}
    void SetDeviceState(int, int, int) override {}
    void SetDeviceVersion(int, unsigned) override {}
    void SetDeviceBattery(int, int, int) override {}
    void SelectDevice(int) override {}
    void SetBatteryInfo(int level, int charge) override;
    void ShowFirmwareVersion(const std::string& versionText) override;
    void SetDpiSliderRange(const std::string&, const std::string&, int) override {}
    void SelectStageCount(int) override {}
    void SelectStageIndex(int) override {}
    void SetDpiSliderPosition(int) override {}
    void ShowDpiIndicator(int) override {}
    void RefreshEditorPages() override {}
    void ReapplyPageState() override {}
    void RefreshDpiPage() override {}
    void RefreshLightingPage() override {}
    void RefreshDevicePages() override {}
    void CloseTransientWindows() override {}
    void StopMacroRecording() override {}
    void UpdateAvailable(int) override {}
    void UpdateProgress(int) override {}
    void FirmwareProgress(int) override {}
    void CloseFirmwareWindow() override {}

  private:
    mutable std::mutex m_mutex;
    Snapshot m_reported;
};

}  // namespace kestrix
