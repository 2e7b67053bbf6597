// SPDX-License-Identifier: MIT
#include "app/MainDeviceEvents.h"

#include <utility>

#include "app/AppContext.h"
#include "app/DPIMsgDlg.h"
#include "app/DeviceMainDlg.h"
#include "app/MainUpdateEvents.h"
#include "app/SaveWaitDlg.h"
#include "base/Log.h"
#include "base/Text.h"
#include "device/HidBackend.h"
#include "device/HidDeviceManager.h"
#include "editors/MacroPage.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/BatteryCtrl.h"
#include "ui/CDeviceList.h"
#include "ui/UiThread.h"

namespace kestrix {

using namespace frame_id;

namespace {

// Windows that close on a device change, and pop-ups that only hide.
constexpr const char* kClosedTitles[] = {"CloseWindowTipDlg", "CustomKeyDlg", "WaitDlg",
                                         "Menu Window"};
constexpr const char* kHiddenTitles[] = {"KeyboardTip Window", "ComboWnd", "PaletteDlg"};

}  // namespace

MainDeviceEvents::MainDeviceEvents(DeviceMainDlg& window, AppContext& context,
                                   MainUpdateEvents& updates)
    : m_window(window), m_context(context), m_updates(updates) {}

DUI::CDeviceList* MainDeviceEvents::List() const {
    return m_window.GetControlAs<DUI::CDeviceList>(kDeviceList);
}

void MainDeviceEvents::SetCaption(int textId) { m_window.SetCaption(textId); }

void MainDeviceEvents::ShowDevicePages(bool show) { m_window.ShowDevicePages(show); }

void MainDeviceEvents::SelectTab(int index) { m_window.SelectTab(index); }

void MainDeviceEvents::ShowNoDevicePanel(bool show) { m_window.ShowNoDevicePanel(show); }

void MainDeviceEvents::SetAllDeviceState(int state) {
    // Before a rescan: the devices it lists are set one by one after this.
    const std::map<int, int> before = std::exchange(m_attached, {});
    for (const auto& [model, oldState] : before) ShowNote(model);
    if (DUI::CDeviceList* list = List()) list->SetAllDeviceState(state);
    m_window.SetAnyAttached(false);
    ListReceiversWithoutMouse();
}

void MainDeviceEvents::ListReceiversWithoutMouse() {
    // A receiver without its mouse answers no identity, so the device list of the manager
    // leaves it out: it is found on the bus by its catalogue line. The models the rescan
    // names follow as SetDeviceState calls and replace this state.
    for (const HidDeviceInfo& entry : m_context.devices->Backend().Enumerate()) {
        for (const CatalogueLine& line : m_window.GetCatalogue().lines) {
            if (line.mode != 1 || line.vid != entry.vendorId || line.pid != entry.productId)
                continue;
            const int model = line.model.deviceType;
            if (m_attached.count(model) != 0) break;
            m_listModes[model] = 1;
            m_attached[model] = 0;
            if (DUI::CDeviceList* list = List()) list->SetDeviceState(model, 1, 0);
            ShowNote(model);
            m_window.SetAnyAttached(true);
            break;
        }
    }
}

void MainDeviceEvents::SetDeviceState(int model, int mode, int state) {
    m_listModes[model] = mode;
    m_attached[model] = state;
    DUI::CDeviceList* list = List();
    if (list != nullptr) {
        list->SetDeviceState(model, mode, state);
        // Home pre-selects a mouse that is there, never an absent model's card.
        if (state == 1 && list->GetDeviceState(list->GetSelectDevice()) != 1)
            list->SetSelectDevice(model);
    }
    ShowNote(model);
    m_window.SetAnyAttached(true);
}

void MainDeviceEvents::ShowNote(int model) {
    DUI::CDeviceList* list = List();
    if (list == nullptr) return;
    const auto attached = m_attached.find(model);
    const auto mode = m_listModes.find(model);
    const bool mouseOff = attached != m_attached.end() && attached->second != 1 &&
                          mode != m_listModes.end() && mode->second == 1;
    list->SetDeviceNote(model, mouseOff ? GetLanText(text::kReceiverMouseOff) : std::string());
}

void MainDeviceEvents::ApplyTexts() {
    for (const auto& [model, state] : m_attached) ShowNote(model);
}

void MainDeviceEvents::SetDeviceVersion(int model, unsigned releaseNumber) {
    if (DUI::CDeviceList* list = List())
        list->SetDeviceVersion(model, static_cast<int>(releaseNumber));
    if (model == m_window.SelectedDevice()) m_window.Column().ShowFirmwareLabel();
}

void MainDeviceEvents::SetDeviceBattery(int model, int batteryA, int batteryB) {
    // Only a mouse behind its receiver runs on its battery.
    const auto mode = m_listModes.find(model);
    if (mode == m_listModes.end() || mode->second != 1) return;
    if (DUI::CDeviceList* list = List()) list->SetDeviceBattery(model, batteryA, batteryB);
}

void MainDeviceEvents::SelectDevice(int model) {
    if (DUI::CDeviceList* list = List()) list->SetSelectDevice(model);
    m_window.SwitchToModel(model);
}

void MainDeviceEvents::SetBatteryInfo(int level, int charge) {
    if (auto* battery = m_window.GetControlAs<DUI::BatteryCtrl>(kBattery))
        battery->SetBatteryInfo(level, charge);
    // The tray tip tells the level to a user who keeps the window hidden.
    m_window.Tray().SetTip(
        Format(GetLanText(text::kTrayBatteryTip).c_str(), m_context.programName.c_str(), level));
}

void MainDeviceEvents::ShowFirmwareVersion(const std::string& versionText) {
    m_window.Column().SetMouseFirmware(versionText);
}

// The performance page owns the slider and the stage controls; the frame keeps only the
// current stage in the device column up to date.
void MainDeviceEvents::SetDpiSliderRange(const std::string&, const std::string&, int) {}
void MainDeviceEvents::SelectStageCount(int) {}
void MainDeviceEvents::SelectStageIndex(int) { m_window.Column().ShowCurrentStage(); }
void MainDeviceEvents::SetDpiSliderPosition(int) {}

void MainDeviceEvents::ShowDpiIndicator(int dpi) {
    if (m_window.Definition().showDpiTips && m_window.DpiIndicator() != nullptr)
        m_window.DpiIndicator()->Show(dpi);
}

void MainDeviceEvents::RefreshEditorPages() {
    m_window.Column().ShowProfileTitle();
    m_window.Column().ShowCurrentStage();
    m_window.Pages().RefreshAll();
}

void MainDeviceEvents::ReapplyPageState() {
    RefreshEditorPages();
    LogLine("device read shown (model %d, profile %d)", m_window.SelectedDevice(),
            m_window.CurrentProfile());
}

void MainDeviceEvents::RefreshDpiPage() {
    m_window.Column().ShowCurrentStage();
    m_window.Pages().Refresh(kPagePerformance);
}

void MainDeviceEvents::RefreshLightingPage() { m_window.Pages().Refresh(kPageLighting); }

void MainDeviceEvents::RefreshDevicePages() { m_window.ApplyView(); }

void MainDeviceEvents::CloseTransientWindows() {
    for (const char* title : kClosedTitles) {
        for (DUI::MWindow* window : DUI::FindWindows(title))
            window->PostMessage(DUI::kWmClose, 0, 0);
    }
    for (DUI::MWindow* window : DUI::FindWindows("MessageBox"))
        window->PostMessage(DUI::kWmClose, DUI::kIdCancel, 0);
    for (const char* title : kHiddenTitles) {
        for (DUI::MWindow* window : DUI::FindWindows(title)) window->ShowWindow(DUI::kSwHide);
    }
    if (SaveWaitDlg* saveWait = m_window.SaveWaitWindow()) saveWait->ShowWindow(DUI::kSwHide);
    StopMacroRecording();
    if (DUI::MControl* stages = m_window.GetControl(kDpiStageControl)) stages->KillFocus();
}

void MainDeviceEvents::StopMacroRecording() {
    if (MacroPage* macros = m_window.Pages().Macros()) macros->StopMacroRecording();
}

// The update prompt and the download progress go through the window's numbered messages,
// as when another program posts them.
void MainDeviceEvents::UpdateAvailable(int kind) {
    m_window.OnWindowMessage(kWmUpdateAvailable, static_cast<std::uintptr_t>(kind), 1);
}

void MainDeviceEvents::UpdateProgress(int percent) {
    m_window.OnWindowMessage(kWmUpdateProgress, 0, percent);
}

void MainDeviceEvents::FirmwareProgress(int percent) { m_updates.FirmwareProgress(percent); }

void MainDeviceEvents::CloseFirmwareWindow() { m_updates.CloseFirmwareWindow(); }

}  // namespace kestrix
