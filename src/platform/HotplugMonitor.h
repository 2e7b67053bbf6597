// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

struct udev_monitor;

namespace kestrix {

// One hidraw node that appeared or went away.
struct HotplugEvent {
    enum class Action { Arrival, Removal };
    Action action = Action::Arrival;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int interfaceNumber = -1;  // USB interface number, -1 when the node is not on USB
    std::string nodePath;      // "/dev/hidraw3"
};

// The USB identity of a hidraw node from its sysfs device path, e.g.
// ".../1-1:1.2/0003:1209:5A01.0005/hidraw/hidraw3" gives vendor 0x1209, product 0x5A01,
// interface 2. Works for removals too, when sysfs no longer has the node. nullopt when the
// path holds no HID device component.
struct HidrawIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int interfaceNumber = -1;
};
std::optional<HidrawIdentity> ParseHidrawDevpath(std::string_view devpath);

// Watches udev for hidraw nodes arriving and leaving and reports each on its own thread.
// Without a running udev (containers, build machines) Start logs once and returns false; the
// program then runs without hot-plug.
class HotplugMonitor {
  public:
    using Callback = std::function<void(const HotplugEvent&)>;

    // True when udevd runs (its control socket exists): without it no event reaches a "udev"
    // monitor.
    static bool UdevIsRunning();

    // callback runs on the monitor's thread, one event at a time. udevRunning decides whether
    // Start may open the monitor; tests under an emulated udev pass their own answer.
    explicit HotplugMonitor(Callback callback,
                            std::function<bool()> udevRunning = &HotplugMonitor::UdevIsRunning);
    // Stops the thread.
    ~HotplugMonitor();
    HotplugMonitor(const HotplugMonitor&) = delete;
    HotplugMonitor& operator=(const HotplugMonitor&) = delete;

    // Opens the udev monitor on subsystem hidraw and starts the thread; false (logged once per
    // process) when udev is not available.
    bool Start();
    // Ends the thread; the callback is not called afterwards.
    void Stop();
    // True while the thread runs.
    bool IsRunning() const { return m_thread.joinable(); }

  private:
    void Run(::udev_monitor* monitor);

    Callback m_callback;
    std::function<bool()> m_udevRunning;
    std::thread m_thread;
    int m_wakeFd = -1;  // eventfd that ends the wait of the thread
    std::atomic<bool> m_stop{false};
};

}  // namespace kestrix
