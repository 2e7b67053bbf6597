// SPDX-License-Identifier: MIT
#pragma once

#include "device/DeviceEvents.h"

namespace kestrix::bus {

class BusService;

// The device worker's observer while the session bus interface runs: every call goes on to the
// window's observer unchanged, and the ones the interface announces (device list, DPI stage,
// battery) also reach the service. Calls arrive on the worker thread.
class BusEventTap final : public DeviceEvents {
  public:
    // The service must outlive the tap.
    explicit BusEventTap(BusService& service) : m_service(service) {}

    // The window's observer that receives every call; set before the worker starts.
    void SetWindow(DeviceEvents* window) { m_window = window; }

    void SetCaption(int textId) override;
    void ShowDevicePages(bool show) override;
    void SelectTab(int index) override;
    void ShowNoDevicePanel(bool show) override;
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int model, int mode, int state) override;
    void SetDeviceVersion(int model, unsigned releaseNumber) override;
    void SetDeviceBattery(int model, int batteryA, int batteryB) override;
    void SelectDevice(int model) override;
    void SetBatteryInfo(int level, int charge) override;
    void ShowFirmwareVersion(const std::string& versionText) override;
    void SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel,
                           int steps) override;
    void SelectStageCount(int count) override;
    void SelectStageIndex(int index) override;
    void SetDpiSliderPosition(int sliderValue) override;
    void ShowDpiIndicator(int dpi) override;
    void RefreshEditorPages() override;
    void ReapplyPageState() override;
    void RefreshDpiPage() override;
    void RefreshLightingPage() override;
    void RefreshDevicePages() override;
    void CloseTransientWindows() override;
    void StopMacroRecording() override;
    void UpdateAvailable(int kind) override;
    void UpdateProgress(int percent) override;
    void FirmwareProgress(int percent) override;
    void CloseFirmwareWindow() override;

  private:
    BusService& m_service;
    DeviceEvents* m_window = nullptr;
};

}  // namespace kestrix::bus
