// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "device/DeviceWorker.h"

namespace kestrix {

class DataStore;
class DeviceMainDlg;
class HidDeviceManager;
class PlatformFactory;

// Everything the process entry takes from main() (or from a test).
struct ApplicationOptions {
    int argc = 0;
    const char* const* argv = nullptr;
    PlatformFactory* platform = nullptr;  // required
    HidDeviceManager* devices = nullptr;  // null: the process-wide manager
    DataStore* store = nullptr;           // null: the process-wide store
    // Hooks that take a worker task over (tests); the ones left empty get the program's own.
    DeviceWorkerHooks workerHooks;
    // Watch udev for mice plugged in and out (off with simulated mice and in tests).
    bool watchHotplug = false;
    // Offer the session D-Bus interface (off in tests that start no bus of their own).
    bool offerSessionBus = false;
    // The simulate option value the program runs with ("" for real mice); forwarded kestrixctl
    // commands must ask for the same.
    std::string simulation;
    // With a value above 0: walk through every view, that many ms each, then close.
    int viewTourDwellMs = 0;
    // Ends the process at once; null: flush the log and _exit.
    std::function<void(int exitCode)> exitProcess;
    // Whether the desktop has a tray (tests); null: ask the desktop.
    std::function<bool()> trayAvailable;
    // Called once the main window exists and before its loop runs (screenshots, tests).
    std::function<void(DeviceMainDlg& window)> onWindowCreated;
};

// The desktop entry (kestrix.desktop) the windows belong to: Wayland app_id and X11 WM_CLASS.
inline constexpr char kDesktopEntryName[] = "kestrix";
// Result of the process entry when another instance already runs.
inline constexpr int kExitOtherInstance = 0;
// Result of the process entry after the main window's loop ended: a normal end is a success
// for the shell and the session manager.
inline constexpr int kExitNormalRun = 0;
// Result of the process entry when the main window could not be created.
inline constexpr int kExitNoWindow = 1;

// The process entry: reads config.xml, keeps to one instance, prepares the language, the
// registry key and the data folder, then creates the main window and runs its loop until
// the window is destroyed. Returns kExitOtherInstance after asking the running instance to
// show itself, kExitNoWindow when the window could not be made, else kExitNormalRun.
int RunApplication(const ApplicationOptions& options);

// Ends the process at once with exitCode, skipping the orderly shutdown (worker, devices and
// the database are left to the process end).
[[noreturn]] void EndProcessNow(int exitCode);

}  // namespace kestrix
