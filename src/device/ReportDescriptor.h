// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrix {

// What the device layer needs from a HID report descriptor: the first top-level collection
// and the report lengths the Windows HID layer would report (largest report plus the report ID
// byte, 0 when the descriptor declares no report of that kind).
struct ReportDescriptorSummary {
    bool hasCollection = false;
    uint16_t usagePage = 0;  // of the first top-level collection
    uint16_t usage = 0;
    size_t inputReportLength = 0;
    size_t outputReportLength = 0;
};

// Parses a report descriptor; malformed trailing items end the walk with what was read.
ReportDescriptorSummary ParseReportDescriptor(std::span<const uint8_t> descriptor);

}  // namespace kestrix
