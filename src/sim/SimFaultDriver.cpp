// SPDX-License-Identifier: MIT
#include "sim/SimFaultDriver.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "base/Log.h"
#include "device/CommandFrame.h"

namespace kestrix {

SimFaultDriver::SimFaultDriver(std::vector<std::shared_ptr<SimDevice>> devices, int unplugAfterMs,
                               int randomInputMs)
    : m_devices(std::move(devices)),
      m_unplugAfterMs(unplugAfterMs),
      m_randomInputMs(randomInputMs) {
    if (m_unplugAfterMs > 0 || m_randomInputMs > 0) m_thread = std::thread([this] { Run(); });
}

SimFaultDriver::~SimFaultDriver() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void SimFaultDriver::Run() {
    using Clock = std::chrono::steady_clock;
    std::mt19937 random(std::random_device{}());
    const Clock::time_point unplugAt = Clock::now() + std::chrono::milliseconds(m_unplugAfterMs);
    bool unplugged = false;
    auto nextInput = [&] {
        // Between half and one and a half times the mean gap.
        std::uniform_int_distribution<int> gap(m_randomInputMs / 2, m_randomInputMs * 3 / 2);
        return Clock::now() + std::chrono::milliseconds(std::max(1, gap(random)));
    };
    Clock::time_point inputAt = m_randomInputMs > 0 ? nextInput() : Clock::time_point::max();
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        const Clock::time_point wakeAt =
            m_unplugAfterMs > 0 && !unplugged ? std::min(unplugAt, inputAt) : inputAt;
        if (wakeAt == Clock::time_point::max()) return;
        m_wake.wait_until(lock, wakeAt, [this] { return m_stop; });
        if (m_stop) return;
        lock.unlock();
        if (m_unplugAfterMs > 0 && !unplugged && Clock::now() >= unplugAt) {
            LogLine("simulated fault: devices unplugged after %d ms", m_unplugAfterMs);
            for (const auto& device : m_devices) device->Unplug();
            unplugged = true;
        }
        if (Clock::now() >= inputAt) {
            const auto& device = m_devices[random() % m_devices.size()];
            const SimMouseState state = device->Mouse()->State();
            if (device->Receiver() && random() % 2 == 0) {
                const auto level = static_cast<uint8_t>(1 + random() % 100);
                device->InjectReport(
                    {kLinkReport, 0x01, level, static_cast<uint8_t>(random() % 2)});
            } else {
                const uint8_t count = std::max<uint8_t>(1, state.dpiCount);
                device->Mouse()->ChangeDpiStage(static_cast<uint8_t>(random() % count), count);
            }
            inputAt = nextInput();
        }
        lock.lock();
    }
}

}  // namespace kestrix
