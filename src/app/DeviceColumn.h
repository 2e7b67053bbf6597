// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>

namespace DUI {
class MDialog;
}

namespace kestrix {

struct AppContext;

// The device column and the firmware label of the main window's status line: the name of
// the current profile, the current DPI stage (colour and value), and the selected mouse's
// firmware version with the answer of the last firmware check, kept per model.
class DeviceColumn {
  public:
    // window holds the controls (frame ids); both must outlive this object.
    DeviceColumn(DUI::MDialog& window, AppContext& context);

    // The model whose firmware label is shown.
    void SetModel(int model);
    // The current profile's name from the store (nothing while no database is open).
    void ShowProfileTitle();
    // The current profile's DPI stage: its colour and value.
    void ShowCurrentStage();
    // The firmware label: "Firmware: v1.05" and, after a check, the newer version or that the
    // mouse is up to date.
    void ShowFirmwareLabel();
    // The firmware version text the mouse behind the receiver reported ("105").
    void SetMouseFirmware(const std::string& versionText);
    // The firmware check's answer: 1 newer firmware, 2 up to date, 3 not compared (the mouse's
    // own version unknown), with the server's version.
    void SetLatestFirmware(int state, const std::string& latestFirmware);
    // The server's version text of the last firmware check of the model.
    const std::string& LatestFirmware() { return m_labels[m_model].latest; }
    // The USB release number of the model's attached device (0 when not attached).
    unsigned ReleaseNumber() const;

  private:
    struct FirmwareLabel {
        std::string mouseVersion;  // "105" of the mouse behind the receiver
        int checkState = 0;  // 0 not checked, 1 newer firmware found, 2 up to date, 3 not compared
        std::string latest;  // the server's version text
    };

    DUI::MDialog& m_window;
    AppContext& m_context;
    int m_model = 0;
    std::map<int, FirmwareLabel> m_labels;  // model -> what its label shows
};

}  // namespace kestrix
