// SPDX-License-Identifier: MIT
#include "device/HidDevice.h"

#include "device/HidTrace.h"

namespace kestrix {

HidDevice::HidDevice(std::unique_ptr<HidHandle> handle, std::string path)
    : m_handle(std::move(handle)), m_path(std::move(path)) {}

int HidDevice::Write(const uint8_t* data, size_t length) {
    HidTrace::Record('W', m_path, data, length);
    return m_handle->Write(data, length);
}

int HidDevice::ReadTimeout(uint8_t* data, size_t length, int timeoutMs) {
    const int read = m_handle->ReadTimeout(data, length, timeoutMs);
    if (read > 0) {
        HidTrace::Record('R', m_path, data, static_cast<size_t>(read));
    }
    return read;
}

std::string HidDevice::ProductString() {
    std::string product;
    if (!m_handle->ProductString(product)) {
        return {};
    }
    return product;
}

std::unique_ptr<HidDevice> OpenHidDevice(HidBackend& backend, const std::string& path) {
    std::unique_ptr<HidHandle> handle = backend.Open(path);
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<HidDevice>(std::move(handle), path);
}

}  // namespace kestrix
