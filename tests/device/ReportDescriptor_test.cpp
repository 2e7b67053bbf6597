// SPDX-License-Identifier: MIT
#include "device/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrix {
namespace {

TEST(ReportDescriptor, Summaries) {
    const struct {
        const char* name;
        std::vector<uint8_t> descriptor;
        bool hasCollection;
        uint16_t usagePage;
        uint16_t usage;
        size_t inputLength;
        size_t outputLength;
    } cases[] = {
        // Configuration collection: page 1, usage 0, 64-byte input and output, no report IDs.
        {"configuration",
         {0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
          0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0},
         true,
         0x0001,
         0x0000,
         65,
         65},
        // Boot loader: vendor page 0xFFEF, report ID 5 with 63 output bytes.
        {"boot loader",
         {0x06, 0xEF, 0xFF, 0x09, 0x00, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95,
          0x3F, 0x09, 0x01, 0x91, 0x02, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0xC0},
         true,
         0xFFEF,
         0x0000,
         64,
         64},
        // Keyboard with two reports of different sizes: the longest one counts; a nested
        // collection does not replace the first top-level usage.
        {"keyboard",
         {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x09, 0x01,
          0xA1, 0x00, 0x75, 0x08, 0x95, 0x08, 0x81, 0x00, 0xC0, 0x85, 0x02, 0x75,
          0x01, 0x95, 0x05, 0x91, 0x02, 0x95, 0x03, 0x91, 0x01, 0xC0},
         true,
         0x0001,
         0x0006,
         9,
         2},
        // A 4-byte usage carries its own page.
        {"extended usage",
         {0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01, 0xC0},
         true,
         0x000C,
         0x0001,
         0,
         0},
        {"truncated", {0x05, 0x01, 0x09}, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const ReportDescriptorSummary summary = ParseReportDescriptor(c.descriptor);
        EXPECT_EQ(summary.hasCollection, c.hasCollection) << c.name;
        EXPECT_EQ(summary.usagePage, c.usagePage) << c.name;
        EXPECT_EQ(summary.usage, c.usage) << c.name;
        EXPECT_EQ(summary.inputReportLength, c.inputLength) << c.name;
        EXPECT_EQ(summary.outputReportLength, c.outputLength) << c.name;
    }
}

}  // namespace
}  // namespace kestrix
