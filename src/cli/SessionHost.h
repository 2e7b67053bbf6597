// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

namespace kestrix {

class DataStore;
class DeviceWorker;
class HidDeviceManager;

// The running window program's device side, which kestrixctl's commands borrow when the window
// runs them for kestrixctl: its device manager, store and worker (whose queue runs the
// commands' tasks after the pages' own), instead of a manager, store and worker of their own.
// Everything must outlive the commands run against it.
struct SessionHost {
    HidDeviceManager* manager = nullptr;
    DataStore* store = nullptr;
    DeviceWorker* worker = nullptr;
    // The simulate option value the window program runs with ("" for real mice).
    std::string simulation;
    // The firmware version text the window last saw for its mouse ("" when none).
    std::function<std::string()> firmwareVersion;
    // Called after every command: the window's pages re-read the store.
    std::function<void()> changed;
};

}  // namespace kestrix
