// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/StartupConfig.h"
#include "device/DeviceWorker.h"

namespace kestrix {

class AppFolders;
class DeviceEvents;
class AppRegistry;
class Autostart;
class DataStore;
class DesktopLauncher;
class HidDeviceManager;
class PointerSystem;
class SingleInstance;

// Which system file dialog the shell asks for.
enum class FileDialogKind { Open, Save };

// What the main window and its dialogs are given by the process entry: the process-wide
// values and the services, each replaceable by a test. Pointers are never null once the
// entry has filled the context; the entry keeps every object alive until the window is gone.
struct AppContext {
    std::string programName;
    SoftwareInfo software;
    std::string moduleFolder;  // ends in '/'
    std::string dataFolder;    // ends in '/'
    bool startHidden = false;  // "-hide" was on the command line

    std::shared_ptr<AppRegistry> registry;
    std::shared_ptr<Autostart> autostart;
    std::shared_ptr<DesktopLauncher> launcher;
    std::shared_ptr<PointerSystem> pointer;
    std::shared_ptr<SingleInstance> instance;
    HidDeviceManager* devices = nullptr;
    DataStore* store = nullptr;

    // Work that later parts of the program plug into the worker (pointer settings, updates,
    // firmware).
    DeviceWorkerHooks workerHooks;
    // Given the window's observer of the worker, the observer the worker reports to instead
    // (the session bus interface sees the worker's effects on their way); empty: the window's.
    std::function<DeviceEvents&(DeviceEvents& window)> observeWorker;
    // Ends the process at once with the exit code (tray exit, close, exit request, and the
    // worker once a downloaded installer runs).
    std::function<void(int exitCode)> exitProcess;
    // Called by the closing window before it stops the worker: ends a running update check or
    // download at once and drops its effects not yet shown. Empty: nothing to end.
    std::function<void()> stopUpdates;
    // Asks the user for a file: kind, filter text ("Profile (*.xml)"), pattern ("*.xml");
    // the chosen path or "" when cancelled. Empty function: the toolkit's dialogs.
    std::function<std::string(FileDialogKind kind, const std::string& filter,
                              const std::string& pattern)>
        chooseFile;
    // Whether the desktop shows tray icons. Empty function: ask the toolkit.
    std::function<bool()> trayAvailable;
};

}  // namespace kestrix
