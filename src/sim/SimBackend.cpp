// SPDX-License-Identifier: MIT
#include "sim/SimBackend.h"

#include "base/Log.h"

namespace kestrix {

bool SimBackend::Init() {
    std::lock_guard lock(m_mutex);
    if (m_initFails) {
        LogLine("simulated HID layer: initialisation refused");
        return false;
    }
    return true;
}

std::vector<HidDeviceInfo> SimBackend::Enumerate() {
    std::vector<HidDeviceInfo> infos;
    for (const auto& device : Devices()) {
        std::vector<HidDeviceInfo> collections = device->Collections();
        infos.insert(infos.end(), collections.begin(), collections.end());
    }
    return infos;
}

std::shared_ptr<SimDevice> SimBackend::DeviceOfPath(const std::string& path) const {
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) {
        const std::string prefix = "sim/" + device->Name() + "/";
        if (path.compare(0, prefix.size(), prefix) == 0) {
            return device;
        }
    }
    return nullptr;
}

std::unique_ptr<HidHandle> SimBackend::Open(const std::string& path) {
    std::shared_ptr<SimDevice> device = DeviceOfPath(path);
    std::unique_ptr<HidHandle> handle = device ? device->Open(path) : nullptr;
    if (!handle) {
        LogLine("simulated HID: cannot open %s", path.c_str());
    }
    return handle;
}

bool SimBackend::ReadTopCollection(const std::string& path, uint16_t& usagePage, uint16_t& usage) {
    std::shared_ptr<SimDevice> device = DeviceOfPath(path);
    return device && device->TopCollection(path, usagePage, usage);
}

void SimBackend::Attach(std::shared_ptr<SimDevice> device) {
    std::lock_guard lock(m_mutex);
    m_devices.push_back(std::move(device));
}

void SimBackend::DetachAll() {
    std::vector<std::shared_ptr<SimDevice>> devices;
    {
        std::lock_guard lock(m_mutex);
        devices.swap(m_devices);
    }
    for (const auto& device : devices) {
        device->Unplug();
    }
}

std::shared_ptr<SimDevice> SimBackend::Find(const std::string& name) const {
    std::lock_guard lock(m_mutex);
    for (const auto& device : m_devices) {
        if (device->Name() == name) {
            return device;
        }
    }
    return nullptr;
}

std::vector<std::shared_ptr<SimDevice>> SimBackend::Devices() const {
    std::lock_guard lock(m_mutex);
    return m_devices;
}

void SimBackend::SetInitFails(bool fails) {
    std::lock_guard lock(m_mutex);
    m_initFails = fails;
}

void SimBackend::KeepFaultDriver(std::unique_ptr<SimFaultDriver> driver) {
    std::unique_ptr<SimFaultDriver> old;
    std::lock_guard lock(m_mutex);
    old.swap(m_faultDriver);
    m_faultDriver = std::move(driver);
}

}  // namespace kestrix
