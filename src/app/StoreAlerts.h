// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <memory>

#include "ui/DuiTypes.h"

namespace kestrix {

class DataStore;

// Tells the user, with one message box, when the store refused a change or moved a damaged
// database aside. The store reports from whichever thread ran the statement; the boxes open on
// the UI thread over the window, one per burst of failures (one user action can fail several
// statements). Installs the store's listeners for its lifetime and removes them when destroyed;
// install it before the worker first opens the store and name the window once it exists.
class StoreAlerts {
  public:
    explicit StoreAlerts(DataStore& store);
    ~StoreAlerts();
    StoreAlerts(const StoreAlerts&) = delete;
    StoreAlerts& operator=(const StoreAlerts&) = delete;

    // The window the boxes open over; reports that arrive before it exists wait for it.
    void SetWindow(DUI::WindowHandle window) { *m_window = window; }

  private:
    DataStore& m_store;
    // Read and written only on the UI thread (the posted calls run there).
    std::shared_ptr<DUI::WindowHandle> m_window;
    // Shared with the posted calls, which may run after this object is gone.
    std::shared_ptr<std::atomic<bool>> m_failurePending;
};

}  // namespace kestrix
