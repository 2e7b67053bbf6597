// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "device/HidBackend.h"

namespace kestrix {

// An opened HID interface as the device layer holds it: the back-end handle plus the path it
// was opened from. Every write and every read that returns data goes to the HID trace.
// Closing is the destructor.
class HidDevice {
  public:
    HidDevice(std::unique_ptr<HidHandle> handle, std::string path);

    // hid_write: bytes written, -1 on failure.
    int Write(const uint8_t* data, size_t length);
    // hid_read_timeout: bytes read, 0 on time-out, -1 on failure.
    int ReadTimeout(uint8_t* data, size_t length, int timeoutMs);
    // hid_get_product_string; empty when it cannot be read.
    std::string ProductString();
    // Readable while an input report waits (HidHandle::WaitDescriptor); -1 when there is none.
    int WaitDescriptor() const { return m_handle->WaitDescriptor(); }
    // The path the interface was opened from.
    const std::string& Path() const { return m_path; }

  private:
    std::unique_ptr<HidHandle> m_handle;
    std::string m_path;
};

// Opens path through backend; null when the back end cannot open it.
std::unique_ptr<HidDevice> OpenHidDevice(HidBackend& backend, const std::string& path);

}  // namespace kestrix
