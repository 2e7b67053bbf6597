// SPDX-License-Identifier: MIT
#include "device/ReportDescriptor.h"

#include <map>
#include <vector>

namespace kestrix {
namespace {

// Item tags of the short items this parser follows.
constexpr uint8_t kMainInput = 0x8;
constexpr uint8_t kMainOutput = 0x9;
constexpr uint8_t kMainCollection = 0xA;
constexpr uint8_t kMainEndCollection = 0xC;
constexpr uint8_t kGlobalUsagePage = 0x0;
constexpr uint8_t kGlobalReportSize = 0x7;
constexpr uint8_t kGlobalReportId = 0x8;
constexpr uint8_t kGlobalReportCount = 0x9;
constexpr uint8_t kGlobalPush = 0xA;
constexpr uint8_t kGlobalPop = 0xB;
constexpr uint8_t kLocalUsage = 0x0;

struct Globals {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

size_t LongestReport(const std::map<uint32_t, size_t>& bitsById) {
    size_t longest = 0;
    for (const auto& [id, bits] : bitsById) {
        const size_t bytes = (bits + 7) / 8 + 1;  // plus the report ID byte (0 when unnumbered)
        longest = std::max(longest, bytes);
    }
    return longest;
}

}  // namespace

ReportDescriptorSummary ParseReportDescriptor(std::span<const uint8_t> descriptor) {
    ReportDescriptorSummary summary;
    Globals globals;
    std::vector<Globals> stack;
    std::map<uint32_t, size_t> inputBits;
    std::map<uint32_t, size_t> outputBits;
    int depth = 0;
    bool haveUsage = false;
    uint32_t firstUsage = 0;

    size_t pos = 0;
    while (pos < descriptor.size()) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == 0xFE) {  // long item: size byte, tag byte, data
            if (pos + 1 >= descriptor.size()) {
                break;
            }
            pos += 3 + descriptor[pos + 1];
            continue;
        }
        const size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (pos + 1 + size > descriptor.size()) {
            break;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < size; ++i) {
            value |= static_cast<uint32_t>(descriptor[pos + 1 + i]) << (8 * i);
        }
        const uint8_t type = (prefix >> 2) & 3;
        const uint8_t tag = prefix >> 4;
        pos += 1 + size;

        if (type == 0) {  // main
            if (tag == kMainInput || tag == kMainOutput) {
                auto& bits = tag == kMainInput ? inputBits : outputBits;
                bits[globals.reportId] +=
                    static_cast<size_t>(globals.reportSize) * globals.reportCount;
            } else if (tag == kMainCollection) {
                if (depth == 0 && !summary.hasCollection) {
                    summary.hasCollection = true;
                    const uint32_t full = haveUsage ? firstUsage : 0;
                    summary.usagePage = static_cast<uint16_t>(full >> 16);
                    summary.usage = static_cast<uint16_t>(full & 0xFFFF);
                }
                ++depth;
            } else if (tag == kMainEndCollection) {
                if (depth > 0) {
                    --depth;
                }
            }
            haveUsage = false;   // local items end with every main item
        } else if (type == 1) {  // global
            switch (tag) {
                case kGlobalUsagePage:
                    globals.usagePage = value;
                    break;
                case kGlobalReportSize:
                    globals.reportSize = value;
                    break;
                case kGlobalReportCount:
                    globals.reportCount = value;
                    break;
                case kGlobalReportId:
                    globals.reportId = value;
                    break;
                case kGlobalPush:
                    stack.push_back(globals);
                    break;
                case kGlobalPop:
                    if (!stack.empty()) {
                        globals = stack.back();
                        stack.pop_back();
                    }
                    break;
                default:
                    break;
            }
        } else if (type == 2 && tag == kLocalUsage && !haveUsage) {
            // A 4-byte usage carries its own page; a shorter one takes the current page.
            firstUsage = size == 4 ? value : (globals.usagePage << 16) | (value & 0xFFFF);
            haveUsage = true;
        }
    }
    summary.inputReportLength = LongestReport(inputBits);
    summary.outputReportLength = LongestReport(outputBits);
    return summary;
}

}  // namespace kestrix
