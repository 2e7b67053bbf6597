// SPDX-License-Identifier: MIT
#include "app/UiDeviceEvents.h"

#include "ui/UiThread.h"

namespace kestrix {

UiDeviceEvents::UiDeviceEvents(DeviceEvents& target)
    : m_target(target), m_attached(std::make_shared<std::atomic<bool>>(true)) {}

UiDeviceEvents::~UiDeviceEvents() { Detach(); }

void UiDeviceEvents::Detach() { m_attached->store(false); }

std::string UiDeviceEvents::ReportedFirmwareVersion() const {
    std::lock_guard lock(m_reportedMutex);
    return m_reportedFirmware;
}

void UiDeviceEvents::Post(std::function<void(DeviceEvents&)> call) {
    if (!m_attached->load()) return;
    DUI::PostToUiThread([attached = m_attached, target = &m_target, call = std::move(call)] {
        if (attached->load()) call(*target);
    });
}

void UiDeviceEvents::SetCaption(int textId) {
    Post([textId](DeviceEvents& t) { t.SetCaption(textId); });
}
void UiDeviceEvents::ShowDevicePages(bool show) {
    Post([show](DeviceEvents& t) { t.ShowDevicePages(show); });
}
void UiDeviceEvents::SelectTab(int index) {
    Post([index](DeviceEvents& t) { t.SelectTab(index); });
}
void UiDeviceEvents::ShowNoDevicePanel(bool show) {
    Post([show](DeviceEvents& t) { t.ShowNoDevicePanel(show); });
}
void UiDeviceEvents::SetAllDeviceState(int state) {
    Post([state](DeviceEvents& t) { t.SetAllDeviceState(state); });
}
void UiDeviceEvents::SetDeviceState(int model, int mode, int state) {
    Post([=](DeviceEvents& t) { t.SetDeviceState(model, mode, state); });
}
void UiDeviceEvents::SetDeviceVersion(int model, unsigned releaseNumber) {
    Post([=](DeviceEvents& t) { t.SetDeviceVersion(model, releaseNumber); });
}
void UiDeviceEvents::SetDeviceBattery(int model, int batteryA, int batteryB) {
    Post([=](DeviceEvents& t) { t.SetDeviceBattery(model, batteryA, batteryB); });
}
void UiDeviceEvents::SelectDevice(int model) {
    {
        std::lock_guard lock(m_reportedMutex);
        if (model != m_reportedModel) m_reportedFirmware.clear();
        m_reportedModel = model;
    }
    Post([model](DeviceEvents& t) { t.SelectDevice(model); });
}
void UiDeviceEvents::SetBatteryInfo(int level, int charge) {
    Post([=](DeviceEvents& t) { t.SetBatteryInfo(level, charge); });
}
void UiDeviceEvents::ShowFirmwareVersion(const std::string& versionText) {
    {
        std::lock_guard lock(m_reportedMutex);
        m_reportedFirmware = versionText;
    }
    Post([versionText](DeviceEvents& t) { t.ShowFirmwareVersion(versionText); });
}
void UiDeviceEvents::SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel,
                                       int steps) {
    Post([=](DeviceEvents& t) { t.SetDpiSliderRange(lowLabel, highLabel, steps); });
}
void UiDeviceEvents::SelectStageCount(int count) {
    Post([count](DeviceEvents& t) { t.SelectStageCount(count); });
}
void UiDeviceEvents::SelectStageIndex(int index) {
    Post([index](DeviceEvents& t) { t.SelectStageIndex(index); });
}
void UiDeviceEvents::SetDpiSliderPosition(int sliderValue) {
    Post([sliderValue](DeviceEvents& t) { t.SetDpiSliderPosition(sliderValue); });
}
void UiDeviceEvents::ShowDpiIndicator(int dpi) {
    Post([dpi](DeviceEvents& t) { t.ShowDpiIndicator(dpi); });
}
void UiDeviceEvents::RefreshEditorPages() {
    Post([](DeviceEvents& t) { t.RefreshEditorPages(); });
}
void UiDeviceEvents::ReapplyPageState() {
    Post([](DeviceEvents& t) { t.ReapplyPageState(); });
}
void UiDeviceEvents::RefreshDpiPage() {
    Post([](DeviceEvents& t) { t.RefreshDpiPage(); });
}
void UiDeviceEvents::RefreshLightingPage() {
    Post([](DeviceEvents& t) { t.RefreshLightingPage(); });
}
void UiDeviceEvents::RefreshDevicePages() {
    Post([](DeviceEvents& t) { t.RefreshDevicePages(); });
}
void UiDeviceEvents::CloseTransientWindows() {
    Post([](DeviceEvents& t) { t.CloseTransientWindows(); });
}
void UiDeviceEvents::StopMacroRecording() {
    Post([](DeviceEvents& t) { t.StopMacroRecording(); });
}
void UiDeviceEvents::UpdateAvailable(int kind) {
    Post([kind](DeviceEvents& t) { t.UpdateAvailable(kind); });
}
void UiDeviceEvents::UpdateProgress(int percent) {
    Post([percent](DeviceEvents& t) { t.UpdateProgress(percent); });
}
void UiDeviceEvents::FirmwareProgress(int percent) {
    Post([percent](DeviceEvents& t) { t.FirmwareProgress(percent); });
}
void UiDeviceEvents::CloseFirmwareWindow() {
    Post([](DeviceEvents& t) { t.CloseFirmwareWindow(); });
}

}  // namespace kestrix
