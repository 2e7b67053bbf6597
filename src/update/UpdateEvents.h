// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kestrix {

// What the update checks and the firmware flow do to the window beyond the device events
// (which carry the update prompt, message 1692, and the download progress, message 1694).
// Calls come from the device worker in the order the effects happen; the window hands them to
// the UI thread in that order, the headless front end prints them.
class UpdateEvents {
  public:
    virtual ~UpdateEvents() = default;

    // Settings page after an application check: the server's version, the label text, and
    // whether the update button is enabled (a newer version was found).
    virtual void ShowApplicationCheck(const std::string& latestVersion, const std::string& label,
                                      bool updateEnabled) = 0;
    // Firmware label after a firmware check: the server's firmware version, the label text, and
    // the check's state (kUpdateStateNewer enables the firmware button, kUpdateStateCurrent,
    // or kUpdateStateNotCompared when the mouse's own version is unknown).
    virtual void ShowFirmwareCheck(const std::string& latestFirmware, const std::string& label,
                                   int state) = 0;
    // Firmware window (when open): language text textId with percent as "%s: %d%%", and the
    // bar at percent.
    virtual void FirmwareStep(int textId, int percent) = 0;
    // The application download ended without starting an installer; the download window may
    // close (it stays at its last percentage until then).
    virtual void DownloadFailed() = 0;
};

}  // namespace kestrix
