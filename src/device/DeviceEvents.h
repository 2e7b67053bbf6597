// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// Language text ids of the window caption the device layer chooses.
inline constexpr int kCaptionNoDevice = 50;
inline constexpr int kCaptionCable = 51;
inline constexpr int kCaptionReceiver = 52;
// Model number the device list uses for the receiver line of a catalogue entry without id.
inline constexpr int kReceiverListModel = 101;

// Everything the device worker does to the window, one call per effect, made on the worker
// thread in the order the effects happen. The window's implementation hands each call to the
// UI thread keeping that order; the headless front end prints; tests record. Implementations
// must not call back into the worker.
class DeviceEvents {
  public:
    virtual ~DeviceEvents() = default;

    // Window caption: language text 50 (no device), 51 (cable) or 52 (receiver).
    virtual void SetCaption(int textId) = 0;
    // Shows the device tab strip and pages, or hides them.
    virtual void ShowDevicePages(bool show) = 0;
    // Selects a tab of the frame by position (0 = home with the device list).
    virtual void SelectTab(int index) = 0;
    // Shows the panel for "no device" (true) or the device list in its place (false).
    virtual void ShowNoDevicePanel(bool show) = 0;

    // Device list: every line to state (0 = off line).
    virtual void SetAllDeviceState(int state) = 0;
    // Device list: a model's line attached by mode (0 cable, 1 receiver) with state (1 on line).
    virtual void SetDeviceState(int model, int mode, int state) = 0;
    // Device list: the version (USB release number) shown for a model.
    virtual void SetDeviceVersion(int model, unsigned releaseNumber) = 0;
    // Device list: a model's battery values (A charge state, B battery level).
    virtual void SetDeviceBattery(int model, int batteryA, int batteryB) = 0;
    // The worker chose this model as the selection; the window selects it and switches to it.
    virtual void SelectDevice(int model) = 0;

    // Battery indicator: level (value B) and charge state (value A).
    virtual void SetBatteryInfo(int level, int charge) = 0;
    // Firmware version text of the mouse behind the receiver, e.g. "105" for 1.05.
    virtual void ShowFirmwareVersion(const std::string& versionText) = 0;
    // DPI slider end labels and step count of the sensor just identified.
    virtual void SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel,
                                   int steps) = 0;

    // Stage-count selector shows count stages.
    virtual void SelectStageCount(int count) = 0;
    // DPI stage control selects stage index.
    virtual void SelectStageIndex(int index) = 0;
    // DPI slider moves to this slider value.
    virtual void SetDpiSliderPosition(int sliderValue) = 0;
    // On-screen DPI indicator shows dpi (the window shows it only when its option is on).
    virtual void ShowDpiIndicator(int dpi) = 0;

    // Every editor page re-reads the store (the lighting page only when the model has one).
    virtual void RefreshEditorPages() = 0;
    // The page state that is not in the store (selections, titles) is applied again.
    virtual void ReapplyPageState() = 0;
    // The DPI page re-reads the store.
    virtual void RefreshDpiPage() = 0;
    // The lighting page re-reads the store.
    virtual void RefreshLightingPage() = 0;
    // The device pages follow a rebuilt device list.
    virtual void RefreshDevicePages() = 0;

    // Closes tip windows, menus and message boxes, hides pop-ups and the save-wait window,
    // stops a running macro recording and takes the focus from the DPI stage control.
    virtual void CloseTransientWindows() = 0;
    // Stops the macro recorder if it is recording.
    virtual void StopMacroRecording() = 0;

    // An application (1) or firmware (2) update is available.
    virtual void UpdateAvailable(int kind) = 0;
    // Download progress of the update window, in percent.
    virtual void UpdateProgress(int percent) = 0;
    // Firmware transfer progress, in percent.
    virtual void FirmwareProgress(int percent) = 0;
    // Closes the firmware upgrade window.
    virtual void CloseFirmwareWindow() = 0;
};

}  // namespace kestrix
