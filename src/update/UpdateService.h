// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "device/DeviceTask.h"
#include "device/FirmwareUpgrade.h"
#include "update/WebClient.h"

namespace kestrix {

class DeviceEvents;
class HidDeviceManager;
class UpdateEvents;

// Whether this build downloads and starts the program's installer itself (build option
// KESTRIX_SELF_UPDATE). Without, the check still tells of a newer version and points to the
// system's package manager, and no installer is ever downloaded or started.
#ifndef KESTRIX_SELF_UPDATE
#define KESTRIX_SELF_UPDATE 1
#endif
inline constexpr bool kSelfUpdate = KESTRIX_SELF_UPDATE != 0;

// Application update states: no answer yet, a newer version was found, up to date.
inline constexpr int kUpdateStateUnknown = 0;
inline constexpr int kUpdateStateNewer = 1;
inline constexpr int kUpdateStateCurrent = 2;
// Firmware only: the server named its version, but the mouse's own version is unknown, so the
// two could not be compared.
inline constexpr int kUpdateStateNotCompared = 3;
// Kinds of the update prompt (wParam of message 1692).
inline constexpr int kUpdateKindApplication = 1;
inline constexpr int kUpdateKindFirmware = 2;
// Longest accepted version texts of the server.
inline constexpr size_t kApplicationVersionMaxLength = 10;
inline constexpr size_t kFirmwareVersionMaxLength = 9;

// The firmware service of the selected model and the version its mouse reported.
struct FirmwareTarget {
    std::string base;            // the model file's firmware url; empty = no firmware service
    std::string currentVersion;  // e.g. "105"; empty when the mouse has not told it
};

// What the update flows need from the program.
struct UpdateConfig {
    std::string applicationVersion;  // config.xml software version, e.g. "1.0.3"
    std::string applicationBase;     // config.xml software/upgrade url
    std::string dataFolder;          // per-user data folder, ends in '/'
    // Language text of an id (labels, prompts); empty function = empty texts.
    std::function<std::string(int textId)> getLanText;
    // Asked on the worker thread for the selected model's firmware service.
    std::function<FirmwareTarget()> firmwareTarget;
    // Ends the program at once with the exit code once the installer runs.
    std::function<void(int exitCode)> exitProcess;
};

// What the last checks found.
struct UpdateStatus {
    std::string latestVersion;  // server's application version ("" until a check answered)
    int applicationState = kUpdateStateUnknown;
    std::string latestFirmware;  // server's firmware version
    int firmwareState = kUpdateStateUnknown;
    std::string firmwareBase;  // the base the firmware version came from
};

// The update flows of the device worker: the application check (task 23), the firmware check
// (task 24, and after each successful read of the mouse), the installer download (task 26)
// and the firmware upgrade (task 27). Every call blocks the calling worker; the status may be
// read from any thread.
class UpdateService {
  public:
    // manager (null when no firmware is flashed) and both observers must outlive the service.
    UpdateService(UpdateConfig config, HidDeviceManager* manager, DeviceEvents& deviceEvents,
                  UpdateEvents& updateEvents);

    // Runs worker task 23, 24 or 26; other tasks do nothing.
    void RunTask(DeviceTask task);
    // Task 23: fetches "<application base>version"; a 1-10 character answer (white space
    // around it dropped) newer than the program's version sets state 1, enables the update
    // button, shows the new version and raises prompt 1 (without the self-updater: shows the
    // new version with the pointer to the package manager, button and prompt left out); any
    // other answer sets state 2. No answer changes nothing.
    void CheckApplication();
    // Task 24: fetches "<firmware base>/mouse/version"; with a 1-9 character answer (white
    // space around it dropped) and the mouse's own version known, a newer one sets state 1
    // and raises prompt 2, else state 2; with the mouse's version unknown, state 3.
    void CheckFirmware();
    // Task 26: downloads "Mouse-Setup-<latest>.zip" into the temp folder, unpacks it, makes
    // "Mouse-Setup-<latest>.AppImage" executable, starts it and ends the program with code 0.
    // Returns false (with DownloadFailed) when no installer was started; always so without
    // the self-updater, which asks the network for nothing.
    bool DownloadInstaller();
    // Task 27: flashes the firmware version found by the last check (the worker closes the
    // window afterwards). Ok only when the whole image reached the boot loader.
    FirmwareUpgradeResult UpgradeFirmware();

    // A copy of what the checks found.
    UpdateStatus Status() const;
    // "<data folder>temp/", where packages are downloaded and unpacked.
    std::string TempFolder() const;
    // The web client (tests and tools set its cancel predicate).
    WebClient& Web() { return m_web; }

    // Makes path executable and starts it detached in its own session; false (logged) when
    // it cannot be started, and always without the self-updater.
    static bool StartInstaller(const std::string& path);

  private:
    std::string LanText(int textId) const;
    static bool AcceptVersionText(const std::string& text, size_t maxLength);

    UpdateConfig m_config;
    HidDeviceManager* m_manager;
    DeviceEvents& m_deviceEvents;
    UpdateEvents& m_updateEvents;
    WebClient m_web;

    mutable std::mutex m_mutex;
    UpdateStatus m_status;
};

}  // namespace kestrix
