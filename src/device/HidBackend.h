// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrix {

// One enumerated HID top-level collection, as hid_enumerate describes it.
struct HidDeviceInfo {
    std::string path;  // back-end path, opened with HidBackend::Open
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;  // of this top-level collection
    uint16_t usage = 0;
    uint16_t releaseNumber = 0;  // USB bcdDevice
    int interfaceNumber = -1;    // USB interface number, -1 when unknown
    std::string productString;   // UTF-8
};

// An open HID interface of a back end. Closing is the destructor (hid_close).
class HidHandle {
  public:
    virtual ~HidHandle() = default;
    // Hands length bytes (report ID first) to the interface; bytes written, or -1 on failure.
    virtual int Write(const uint8_t* data, size_t length) = 0;
    // Waits up to timeoutMs for one input report (report ID 0 removed) and copies at most
    // length bytes of it; bytes copied, 0 on time-out, -1 on failure (device gone).
    virtual int ReadTimeout(uint8_t* data, size_t length, int timeoutMs) = 0;
    // The USB product string (UTF-8); false when it cannot be read.
    virtual bool ProductString(std::string& product) = 0;
    // A file descriptor that poll() reports readable while an input report waits for
    // ReadTimeout or the interface is gone, so a reader can sleep until then; -1 when the handle
    // offers none (the reader then falls back to short timed reads). Owned by the handle.
    virtual int WaitDescriptor() const { return -1; }
};

// The seam between the device layer and the HID implementation: hidapi for real mice, the
// simulated mice of src/sim for tests and demos. A process picks one at start.
class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // hid_init; false (with a log line) when the HID layer is unusable.
    virtual bool Init() = 0;
    // hid_exit.
    virtual void Exit() = 0;
    // Every attached HID top-level collection, in enumeration order.
    virtual std::vector<HidDeviceInfo> Enumerate() = 0;
    // hid_open_path; null (with a log line) when the path cannot be opened. A node the process
    // has no permission for gives null without a log line: LastOpenDenied then says so, and
    // the caller reports it once with the fix.
    virtual std::unique_ptr<HidHandle> Open(const std::string& path) = 0;
    // True when the last Open failed for lack of permission on the node (EACCES, EPERM).
    virtual bool LastOpenDenied() const { return false; }
    // Usage page and usage of the first top-level collection of the interface at path, read
    // from its report descriptor; false when the path cannot be opened or read.
    virtual bool ReadTopCollection(const std::string& path, uint16_t& usagePage,
                                   uint16_t& usage) = 0;
};

}  // namespace kestrix
