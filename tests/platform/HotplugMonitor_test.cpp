// SPDX-License-Identifier: MIT
#include "platform/HotplugMonitor.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(HotplugMonitor, IdentityFromTheSysfsPathOfAHidrawNode) {
    struct Case {
        const char* devpath;
        bool found;
        uint16_t vendor, product;
        int interfaceNumber;
    };
    const Case cases[] = {
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.2/0003:1209:5A01.0005/hidraw/hidraw3",
         true, 0x1209, 0x5A01, 2},
        {"/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4.2/1-4.2:1.0/0003:046D:C52B.0011/hidraw/"
         "hidraw0",
         true, 0x046D, 0xC52B, 0},
        {"/devices/pci0000:00/0000:00:14.0/usb3/3-2/3-2:1.12/0003:1209:0abc.0001/hidraw/hidraw9",
         true, 0x1209, 0x0ABC, 12},
        // Bluetooth or I2C devices have no USB interface component.
        {"/devices/virtual/misc/uhid/0005:04E8:7021.0007/hidraw/hidraw5", true, 0x04E8, 0x7021, -1},
        {"/devices/platform/i2c/0018:06CB:CD8B.0001/hidraw/hidraw1", true, 0x06CB, 0xCD8B, -1},
        {"/devices/virtual/misc/hidraw", false, 0, 0, -1},
        {"", false, 0, 0, -1},
        {"/devices/usb1/1-1/1-1:1.2/0003:12G9:5A01.0005/hidraw/hidraw3", false, 0, 0, -1},
    };
    for (const Case& c : cases) {
        const std::optional<HidrawIdentity> identity = ParseHidrawDevpath(c.devpath);
        ASSERT_EQ(identity.has_value(), c.found) << c.devpath;
        if (!identity) continue;
        EXPECT_EQ(identity->vendorId, c.vendor) << c.devpath;
        EXPECT_EQ(identity->productId, c.product) << c.devpath;
        EXPECT_EQ(identity->interfaceNumber, c.interfaceNumber) << c.devpath;
    }
}

TEST(HotplugMonitor, StartsOrRunsWithoutHotplugAndStopsCleanly) {
    int events = 0;
    HotplugMonitor monitor([&](const HotplugEvent&) { ++events; });
    const bool started = monitor.Start();
    EXPECT_EQ(monitor.IsRunning(), started);
    monitor.Stop();
    EXPECT_FALSE(monitor.IsRunning());
    monitor.Stop();
}

}  // namespace
}  // namespace kestrix
