// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <set>
#include <string>

#include "device/DeviceEvents.h"

namespace DUI {
class CDeviceList;
}

namespace kestrix {

struct AppContext;
class DeviceMainDlg;
class MainUpdateEvents;

// The device worker's effects as the main window shows them, on the UI thread (the worker's
// calls arrive through UiDeviceEvents): the device list of home, the device column, the
// editor pages, the transient windows, and the navigation the worker asks for.
class MainDeviceEvents final : public DeviceEvents {
  public:
    // All three must outlive this object.
    MainDeviceEvents(DeviceMainDlg& window, AppContext& context, MainUpdateEvents& updates);

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

    // Sets the language texts of the device list's notes again.
    void ApplyTexts();

  private:
    DUI::CDeviceList* List() const;
    // Lists the receivers the rescan found without a mouse to name them, by their catalogue
    // line, as attached and off line.
    void ListReceiversWithoutMouse();
    // The note of a model's card: a receiver whose mouse is off asks for the mouse.
    void ShowNote(int model);

    DeviceMainDlg& m_window;
    AppContext& m_context;
    MainUpdateEvents& m_updates;
    std::map<int, int> m_listModes;  // model -> connection mode last shown in the device list
    std::map<int, int> m_attached;   // model -> state, of the models the last rescan listed
};

}  // namespace kestrix
