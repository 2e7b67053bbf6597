// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "sim/SimDevice.h"
#include "sim/SimFaultDriver.h"

namespace kestrix {

// The simulated HID back end: a bus of simulated devices that tests and the demo attach,
// unplug and drive. Thread-safe.
class SimBackend : public HidBackend {
  public:
    bool Init() override;
    void Exit() override {}
    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidHandle> Open(const std::string& path) override;
    bool ReadTopCollection(const std::string& path, uint16_t& usagePage, uint16_t& usage) override;

    // Adds a device to the bus (it enumerates after the devices already there).
    void Attach(std::shared_ptr<SimDevice> device);
    // Removes every device (each is unplugged first).
    void DetachAll();
    // The device with that name, or null.
    std::shared_ptr<SimDevice> Find(const std::string& name) const;
    // The devices on the bus, in attach order.
    std::vector<std::shared_ptr<SimDevice>> Devices() const;
    // Makes Init fail, as when the HID layer is missing.
    void SetInitFails(bool fails);
    // Keeps the driver of timed faults running as long as the bus (replaces an earlier one).
    void KeepFaultDriver(std::unique_ptr<SimFaultDriver> driver);

  private:
    std::shared_ptr<SimDevice> DeviceOfPath(const std::string& path) const;

    mutable std::mutex m_mutex;
    std::vector<std::shared_ptr<SimDevice>> m_devices;
    bool m_initFails = false;
    std::unique_ptr<SimFaultDriver> m_faultDriver;
};

}  // namespace kestrix
