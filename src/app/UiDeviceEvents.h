// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "device/DeviceEvents.h"

namespace kestrix {

// The device-events observer the worker talks to: every call is handed to the UI thread
// (DUI::PostToUiThread) and made there on target, in the order the worker made the calls.
// After Detach, calls still queued are dropped, so a closing window is never reached.
class UiDeviceEvents final : public DeviceEvents {
  public:
    // target receives the calls on the UI thread; it must stay alive until Detach.
    explicit UiDeviceEvents(DeviceEvents& target);
    ~UiDeviceEvents() override;

    // Drops every call not yet made (UI thread, once the worker has stopped).
    void Detach();
    // The firmware version text the worker last reported for the mouse it selected ("" when
    // none since the selection changed). Any thread; the firmware check asks on the worker,
    // before the UI thread has seen the report.
    std::string ReportedFirmwareVersion() const;

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
    // Queues call for the UI thread unless detached by then.
    void Post(std::function<void(DeviceEvents&)> call);

    DeviceEvents& m_target;
    std::shared_ptr<std::atomic<bool>> m_attached;
    mutable std::mutex m_reportedMutex;
    int m_reportedModel = 0;
    std::string m_reportedFirmware;
};

}  // namespace kestrix
