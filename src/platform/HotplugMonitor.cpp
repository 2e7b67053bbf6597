// SPDX-License-Identifier: MIT
#include "platform/HotplugMonitor.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include "base/Log.h"

namespace kestrix {

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using MonitorPtr = std::unique_ptr<udev_monitor, UdevDeleter>;
using DevicePtr = std::unique_ptr<udev_device, UdevDeleter>;

// udevd's control socket; without it no event ever reaches a "udev" monitor.
constexpr const char* kUdevRunFolder = "/run/udev/control";

bool ParseHex(std::string_view text, unsigned& value) {
    if (text.empty() || text.size() > 8) return false;
    value = 0;
    for (char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        value = value * 16 + digit;
    }
    return true;
}

// "0003:1209:5A01.0005": bus, vendor, product, instance.
bool ParseHidComponent(std::string_view part, unsigned& bus, unsigned& vendor, unsigned& product) {
    if (part.size() != 19 || part[4] != ':' || part[9] != ':' || part[14] != '.') return false;
    unsigned instance = 0;
    return ParseHex(part.substr(0, 4), bus) && ParseHex(part.substr(5, 4), vendor) &&
           ParseHex(part.substr(10, 4), product) && ParseHex(part.substr(15, 4), instance);
}

// "1-1.4:1.2": USB port, then configuration.interface after the colon.
int InterfaceOfUsbComponent(std::string_view part) {
    const size_t colon = part.rfind(':');
    if (colon == std::string_view::npos) return -1;
    const std::string_view tail = part.substr(colon + 1);
    const size_t dot = tail.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 >= tail.size()) return -1;
    int number = 0;
    for (char c : tail.substr(dot + 1)) {
        if (c < '0' || c > '9' || number > 255) return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

void LogUnavailableOnce(const char* reason) {
    static std::once_flag once;
    std::call_once(once, [reason] {
        LogLine("hot-plug unavailable (%s); attach and removal are not followed", reason);
    });
}

}  // namespace

std::optional<HidrawIdentity> ParseHidrawDevpath(std::string_view devpath) {
    std::string_view previous;
    size_t start = 0;
    while (start <= devpath.size()) {
        size_t end = devpath.find('/', start);
        if (end == std::string_view::npos) end = devpath.size();
        const std::string_view part = devpath.substr(start, end - start);
        unsigned bus = 0, vendor = 0, product = 0;
        if (ParseHidComponent(part, bus, vendor, product) && vendor <= 0xFFFF &&
            product <= 0xFFFF) {
            HidrawIdentity identity;
            identity.vendorId = static_cast<uint16_t>(vendor);
            identity.productId = static_cast<uint16_t>(product);
            identity.interfaceNumber = InterfaceOfUsbComponent(previous);
            return identity;
        }
        previous = part;
        start = end + 1;
    }
    return std::nullopt;
}

bool HotplugMonitor::UdevIsRunning() { return access(kUdevRunFolder, F_OK) == 0; }

HotplugMonitor::HotplugMonitor(Callback callback, std::function<bool()> udevRunning)
    : m_callback(std::move(callback)), m_udevRunning(std::move(udevRunning)) {}

HotplugMonitor::~HotplugMonitor() { Stop(); }

bool HotplugMonitor::Start() {
    if (IsRunning()) return true;
    if (!m_udevRunning || !m_udevRunning()) {
        LogUnavailableOnce("udev is not running");
        return false;
    }
    UdevPtr context(udev_new());
    if (!context) {
        LogUnavailableOnce("udev_new failed");
        return false;
    }
    MonitorPtr monitor(udev_monitor_new_from_netlink(context.get(), "udev"));
    if (!monitor) {
        LogUnavailableOnce("no udev netlink monitor");
        return false;
    }
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
        LogUnavailableOnce("the udev monitor refused the hidraw filter");
        return false;
    }
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0) {
        LogLine("hot-plug: eventfd failed: %s", std::strerror(errno));
        return false;
    }
    m_stop = false;
    // The monitor keeps its own reference to the udev context.
    m_thread = std::thread([this, mon = monitor.release()] {
        MonitorPtr owned(mon);
        Run(owned.get());
    });
    return true;
}

void HotplugMonitor::Stop() {
    if (!m_thread.joinable()) return;
    m_stop = true;
    const uint64_t one = 1;
    if (write(m_wakeFd, &one, sizeof one) < 0) {
        LogLine("hot-plug: waking the monitor failed: %s", std::strerror(errno));
    }
    m_thread.join();
    close(m_wakeFd);
    m_wakeFd = -1;
}

void HotplugMonitor::Run(udev_monitor* monitor) {
    pollfd fds[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
    while (!m_stop.load()) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            LogLine("hot-plug: poll failed: %s; the monitor stops", std::strerror(errno));
            return;
        }
        if (m_stop.load() || (fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & POLLIN) == 0) continue;
        DevicePtr device(udev_monitor_receive_device(monitor));
        if (!device) continue;
        const char* action = udev_device_get_action(device.get());
        const char* devpath = udev_device_get_devpath(device.get());
        const char* node = udev_device_get_devnode(device.get());
        if (action == nullptr || devpath == nullptr) continue;
        HotplugEvent event;
        if (std::strcmp(action, "add") == 0) {
            event.action = HotplugEvent::Action::Arrival;
        } else if (std::strcmp(action, "remove") == 0) {
            event.action = HotplugEvent::Action::Removal;
        } else {
            continue;
        }
        const std::optional<HidrawIdentity> identity = ParseHidrawDevpath(devpath);
        if (!identity) {
            LogLine("hot-plug: %s of %s without a HID identity ignored", action, devpath);
            continue;
        }
        event.vendorId = identity->vendorId;
        event.productId = identity->productId;
        event.interfaceNumber = identity->interfaceNumber;
        event.nodePath = node != nullptr ? node : std::string();
        if (m_callback) m_callback(event);
    }
}

}  // namespace kestrix
