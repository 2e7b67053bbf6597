// SPDX-License-Identifier: MIT
#include "app/MainUpdateEvents.h"

#include "app/CUIMessageBox.h"
#include "app/DeviceMainDlg.h"
#include "app/SettingsPage.h"
#include "app/ShellStyle.h"
#include "app/UpdateProcessDlg.h"
#include "app/UpdateTipDlg.h"
#include "base/FirmwareVersion.h"
#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "update/UpdateService.h"

namespace kestrix {

MainUpdateEvents::MainUpdateEvents(DeviceMainDlg& window) : m_window(window) {}

MainUpdateEvents::~MainUpdateEvents() = default;

void MainUpdateEvents::ShowApplicationCheck(const std::string& latestVersion,
                                            const std::string& /*label*/, bool updateEnabled) {
    // The settings page builds its label from the state, so a language change renews it. No
    // version means the server could not be asked or gave no usable answer.
    if (latestVersion.empty() && !updateEnabled) {
        SetUpdateState(kUpdateStateCheckFailed, latestVersion);
        return;
    }
    SetUpdateState(updateEnabled ? 1 : 2, latestVersion);
}

void MainUpdateEvents::ShowFirmwareCheck(const std::string& latestFirmware,
                                         const std::string& /*label*/, int state) {
    // The column builds its label from the state, so a language change renews it.
    m_window.Column().SetLatestFirmware(state, latestFirmware);
}

void MainUpdateEvents::FirmwareStep(int textId, int percent) {
    if (m_firmwareWindow && m_firmwareWindow->IsWindow())
        m_firmwareWindow->SetProgress(GetLanText(textId), percent);
}

void MainUpdateEvents::DownloadFailed() {
    // The download window would otherwise stay at its last percentage with nothing to wait for.
    if (m_updateWindow != nullptr) m_updateWindow->DoCancel();
}

void MainUpdateEvents::SetUpdateState(int state, const std::string& latestVersion) {
    m_latestVersion = latestVersion;
    m_window.Settings().SetUpdateState(state, latestVersion);
}

void MainUpdateEvents::Prompt(std::uintptr_t kind) {
    if (kind == kUpdateKindApplication) PromptApplication();
    if (kind == kUpdateKindFirmware) PromptFirmware();
}

void MainUpdateEvents::PromptApplication() {
    const std::string lower = Format("%s:v%s, %s", GetLanText(text::kLatestVersion).c_str(),
                                     m_latestVersion.c_str(), GetLanText(text::kUpdateNow).c_str());
    if (ShowMessageBox(kMessageBoxYesNo, GetLanText(text::kNewVersionAvailable), lower,
                       &m_window) != DUI::kIdOk)
        return;
    UpdateProcessDlg window;
    if (!window.Create(&m_window, kUpdateProcessTitle, kShellWindowStyle, DUI::kWsExToolWindow,
                       {0, 0, UpdateProcessDlg::kWidth, UpdateProcessDlg::kHeight})) {
        LogLine("the update download window could not be created; nothing downloaded");
        return;
    }
    window.CenterWindow();
    m_updateWindow = &window;
    m_window.QueueTask(DeviceTask::UpdateDownload);
    window.ShowModal(DUI::kSwShowNormal);
    m_updateWindow = nullptr;
}

void MainUpdateEvents::PromptFirmware() {
    const std::string lower =
        Format("%s:v%s, %s", GetLanText(text::kLatestVersion).c_str(),
               FirmwareVersionDigits(m_window.Column().LatestFirmware()).c_str(),
               GetLanText(text::kUpdateNow).c_str());
    if (ShowMessageBox(kMessageBoxYesNo, GetLanText(text::kFirmwareVersion), lower, &m_window) !=
        DUI::kIdOk)
        return;
    if (m_firmwareWindow) m_firmwareWindow->DestroyWindow();
    m_firmwareWindow = std::make_unique<UpdateTipDlg>();
    const bool created = m_firmwareWindow->Create(
        &m_window, kUpdateTipTitle, kShellWindowStyle, DUI::kWsExToolWindow,
        {0, 0, UpdateTipDlg::kWidth, UpdateTipDlg::kHeight});
    if (!created) LogLine("the firmware window could not be created; the upgrade runs without it");
    m_window.QueueTask(DeviceTask::FirmwareUpgrade);
    if (created) {
        m_firmwareWindow->CenterWindow();
        m_firmwareWindow->ShowModal(DUI::kSwShowNormal);
    }
}

void MainUpdateEvents::DownloadProgress(int percent) {
    if (m_updateWindow != nullptr) m_updateWindow->SetProgress(percent);
}

void MainUpdateEvents::FirmwareProgress(int percent) {
    if (m_firmwareWindow && m_firmwareWindow->IsWindow())
        m_firmwareWindow->SetProgress(GetLanText(text::kFirmwareUpgrading), percent);
}

void MainUpdateEvents::CloseFirmwareWindow() {
    if (m_firmwareWindow && m_firmwareWindow->IsWindow()) m_firmwareWindow->DoOK();
}

void MainUpdateEvents::CloseWindows() {
    if (m_firmwareWindow) m_firmwareWindow->CloseWindow();
    if (m_updateWindow != nullptr) m_updateWindow->CloseWindow();
}

}  // namespace kestrix
