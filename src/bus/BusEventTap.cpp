// SPDX-License-Identifier: MIT
#include "bus/BusEventTap.h"

#include "bus/BusService.h"

namespace kestrix::bus {

void BusEventTap::SetCaption(int textId) { m_window->SetCaption(textId); }
void BusEventTap::ShowDevicePages(bool show) { m_window->ShowDevicePages(show); }
void BusEventTap::SelectTab(int index) { m_window->SelectTab(index); }
void BusEventTap::ShowNoDevicePanel(bool show) { m_window->ShowNoDevicePanel(show); }
void BusEventTap::SetAllDeviceState(int state) { m_window->SetAllDeviceState(state); }

void BusEventTap::SetDeviceState(int model, int mode, int state) {
    m_window->SetDeviceState(model, mode, state);
    m_service.DevicesChanged();
}

void BusEventTap::SetDeviceVersion(int model, unsigned releaseNumber) {
    m_window->SetDeviceVersion(model, releaseNumber);
}
void BusEventTap::SetDeviceBattery(int model, int batteryA, int batteryB) {
    m_window->SetDeviceBattery(model, batteryA, batteryB);
}

void BusEventTap::SelectDevice(int model) {
    m_window->SelectDevice(model);
    m_service.DevicesChanged();
}

void BusEventTap::SetBatteryInfo(int level, int charge) {
    m_window->SetBatteryInfo(level, charge);
    m_service.BatteryReported(level, charge);
}

void BusEventTap::ShowFirmwareVersion(const std::string& versionText) {
    m_window->ShowFirmwareVersion(versionText);
}
void BusEventTap::SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel,
                                    int steps) {
    m_window->SetDpiSliderRange(lowLabel, highLabel, steps);
}
void BusEventTap::SelectStageCount(int count) { m_window->SelectStageCount(count); }

void BusEventTap::SelectStageIndex(int index) { m_window->SelectStageIndex(index); }

void BusEventTap::SetDpiSliderPosition(int sliderValue) {
    m_window->SetDpiSliderPosition(sliderValue);
}

// The worker shows the indicator when the mouse changed its stage, once it stored the stage.
void BusEventTap::ShowDpiIndicator(int dpi) {
    m_window->ShowDpiIndicator(dpi);
    m_service.DevicesChanged();
}

// Every write and profile switch refreshes the pages once the store holds the outcome, so a
// profile switched in the window itself is signalled at once.
void BusEventTap::RefreshEditorPages() {
    m_window->RefreshEditorPages();
    m_service.DevicesChanged();
}
void BusEventTap::ReapplyPageState() { m_window->ReapplyPageState(); }
void BusEventTap::RefreshDpiPage() { m_window->RefreshDpiPage(); }
void BusEventTap::RefreshLightingPage() { m_window->RefreshLightingPage(); }
void BusEventTap::RefreshDevicePages() { m_window->RefreshDevicePages(); }

// The end of every rescan and link change: the device list is complete by now.
void BusEventTap::CloseTransientWindows() {
    m_window->CloseTransientWindows();
    m_service.DevicesChanged();
}

void BusEventTap::StopMacroRecording() { m_window->StopMacroRecording(); }
void BusEventTap::UpdateAvailable(int kind) { m_window->UpdateAvailable(kind); }
void BusEventTap::UpdateProgress(int percent) { m_window->UpdateProgress(percent); }
void BusEventTap::FirmwareProgress(int percent) { m_window->FirmwareProgress(percent); }
void BusEventTap::CloseFirmwareWindow() { m_window->CloseFirmwareWindow(); }

}  // namespace kestrix::bus
