// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bus/BusEventTap.h"
#include "bus/BusService.h"
#include "cli/SessionHost.h"

namespace kestrix {

struct AppContext;
class DeviceMainDlg;

// The window program's session D-Bus interface, wired to the window: the worker's effects pass
// through the interface's observer on their way to the window, and the interface's commands
// run kestrixctl's command table against the window's manager, store and worker, after which
// the pages re-read the store.
class AppBus {
  public:
    // simulation: the simulate option value the program runs with ("" for real mice).
    AppBus(AppContext& context, std::string simulation);
    // Stops the interface.
    ~AppBus();
    AppBus(const AppBus&) = delete;
    AppBus& operator=(const AppBus&) = delete;

    // Puts the interface's observer between the worker and the window (before the window is
    // created).
    void Install();
    // Offers the interface once the window and its worker exist; false (the program goes on
    // without it, a log line says why) when the session bus cannot be used.
    bool Start(DeviceMainDlg& window);
    // Ends the interface after the call in progress (before the window and its worker go).
    void Stop();

    // The mice the interface lists (bus thread).
    std::vector<bus::BusMouse> ListMice() const;
    // The low-battery threshold in percent; 0 = no warning.
    int LowBatteryPercent() const;

  private:
    AppContext& m_context;
    DeviceMainDlg* m_window = nullptr;
    SessionHost m_host;
    bus::BusService m_service;
    bus::BusEventTap m_tap;
};

}  // namespace kestrix
