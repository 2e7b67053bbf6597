// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "update/UpdateEvents.h"

namespace kestrix {

class DeviceMainDlg;
class UpdateProcessDlg;
class UpdateTipDlg;

// The update side of the main window, on the UI thread (the worker's calls arrive through
// UiUpdateEvents): the answers of the application and firmware checks, the prompt of a found
// update, and the download and firmware windows it opens.
class MainUpdateEvents final : public UpdateEvents {
  public:
    explicit MainUpdateEvents(DeviceMainDlg& window);
    ~MainUpdateEvents() override;
    MainUpdateEvents(const MainUpdateEvents&) = delete;
    MainUpdateEvents& operator=(const MainUpdateEvents&) = delete;

    // UpdateEvents.
    void ShowApplicationCheck(const std::string& latestVersion, const std::string& label,
                              bool updateEnabled) override;
    void ShowFirmwareCheck(const std::string& latestFirmware, const std::string& label,
                           int state) override;
    void FirmwareStep(int textId, int percent) override;
    void DownloadFailed() override;

    // Records the update check's answer: 1 newer version, 2 up to date, and passes it to the
    // settings page (its update button and label).
    void SetUpdateState(int state, const std::string& latestVersion);
    // Asks whether to install the update of kind (application or firmware) and, when the user
    // agrees, opens its window and queues its task (the window exists before the task runs,
    // so the first progress finds it).
    void Prompt(std::uintptr_t kind);
    // Download progress in percent for the download window, when it is open.
    void DownloadProgress(int percent);
    // Firmware transfer progress in percent for the firmware window, when it is open.
    void FirmwareProgress(int percent);
    // Ends the firmware window's modal loop, when it is open.
    void CloseFirmwareWindow();
    // Closes both windows (the main window is closing).
    void CloseWindows();
    // The update download window while its modal loop runs, else null.
    UpdateProcessDlg* UpdateWindow() const { return m_updateWindow; }
    // The firmware window once a firmware prompt was accepted (it may be closed by then).
    UpdateTipDlg* FirmwareWindow() const { return m_firmwareWindow.get(); }

  private:
    void PromptApplication();
    void PromptFirmware();

    DeviceMainDlg& m_window;
    std::string m_latestVersion;
    std::unique_ptr<UpdateTipDlg> m_firmwareWindow;
    UpdateProcessDlg* m_updateWindow = nullptr;  // alive while its modal loop runs
};

}  // namespace kestrix
