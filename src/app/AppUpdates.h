// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <memory>

#include "app/UiDeviceEvents.h"
#include "app/UiUpdateEvents.h"
#include "device/DeviceWorker.h"
#include "update/UpdateService.h"

namespace kestrix {

struct AppContext;
class DeviceMainDlg;

// The update flows of the window program: the update service over the real web client, with
// the program's version and update address from config.xml, the data folder's "temp/", the
// selected model's firmware address and the firmware version its mouse reported. Its two
// observers hand every effect to the UI thread, in the order the worker produced them, onto the
// main window (prompt 1692, progress 1694, the settings page, the firmware label and window).
class AppUpdates {
  public:
    // context and window must outlive this object, and the window's worker must be gone before
    // it is destroyed. Made after the window object and before the window's Create, so the
    // worker starts with the hooks in place.
    AppUpdates(AppContext& context, DeviceMainDlg& window);
    ~AppUpdates();
    AppUpdates(const AppUpdates&) = delete;
    AppUpdates& operator=(const AppUpdates&) = delete;

    // Fills context.workerHooks (tasks 23, 24 and 26 to the service, 27 to the firmware
    // upgrade; a hook already set in given is kept, so a test can take a task over) and
    // context.stopUpdates.
    void Install(const DeviceWorkerHooks& given);
    // Ends a transfer in progress within a moment and drops the effects not yet shown (UI
    // thread, when the window closes).
    void Stop();

    // The service (tests look at its status).
    UpdateService& Service() { return m_service; }
    // The selected model's firmware service and the version its mouse reported (worker).
    FirmwareTarget CurrentFirmwareTarget() const;

  private:
    UpdateConfig MakeConfig();

    AppContext& m_context;
    DeviceMainDlg& m_window;
    std::shared_ptr<std::atomic<bool>> m_stopping;
    UiDeviceEvents m_deviceEvents;
    UiUpdateEvents m_updateEvents;
    UpdateService m_service;
};

}  // namespace kestrix
