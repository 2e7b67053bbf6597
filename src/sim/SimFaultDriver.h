// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "sim/SimDevice.h"

namespace kestrix {

// The timed faults of the simulate option: unplugs the devices after a while and sends random
// input reports (DPI changes, and battery reports of receivers), on a thread of its own.
class SimFaultDriver {
  public:
    // unplugAfterMs or randomInputMs 0 leaves that fault out.
    SimFaultDriver(std::vector<std::shared_ptr<SimDevice>> devices, int unplugAfterMs,
                   int randomInputMs);
    // Stops the thread.
    ~SimFaultDriver();
    SimFaultDriver(const SimFaultDriver&) = delete;
    SimFaultDriver& operator=(const SimFaultDriver&) = delete;

  private:
    void Run();

    std::vector<std::shared_ptr<SimDevice>> m_devices;
    int m_unplugAfterMs;
    int m_randomInputMs;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace kestrix
