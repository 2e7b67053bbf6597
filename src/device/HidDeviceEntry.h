// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "device/CommandFrame.h"
#include "device/HidDevice.h"

namespace kestrix {

// Link state of an entry: 1 = the mouse answers through it; 0 or 2 = a receiver whose mouse is
// off or out of range.
inline constexpr int kLinkUp = 1;
inline constexpr int kLinkDown = 0;
inline constexpr int kLinkAbsent = 2;

// One opened HID interface of a supported mouse or receiver, owned by HidDeviceManager.
struct HidDeviceEntry {
    int position = 0;  // number of entries the list held when this one was created
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;
    std::string productString;  // UTF-8 USB product string
    std::unique_ptr<HidDevice> device;
    uint32_t releaseNumber = 0;
    int modelNumber = 0;  // 0 until identified
    int mode = 0;         // 0 = cable, 1 = receiver (from the first filter entry with its IDs)
    int linkState = kLinkUp;
    std::string identityCode;       // identity answer bytes 4 to 7
    ReportBuffer identityAnswer{};  // the last successful answer to command 0x10

    // The matched model number (0 until identified).
    int GetDeviceType() const { return modelNumber; }
    // The identity code of the last identity answer (empty until identified).
    const std::string& GetDeviceId() const { return identityCode; }
};

// A copy of an entry's fields without its device, for readers on other threads.
struct HidDeviceEntryView {
    int position = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string path;
    std::string productString;
    uint32_t releaseNumber = 0;
    int modelNumber = 0;
    int mode = 0;
    int linkState = kLinkUp;
    std::string identityCode;
    ReportBuffer identityAnswer{};
};

}  // namespace kestrix
