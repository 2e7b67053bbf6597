// SPDX-License-Identifier: MIT
#include "sim/SimBootLoader.h"

#include <gtest/gtest.h>

#include <array>

#include "device/Crc16Modbus.h"
#include "device/SimTestBench.h"

namespace kestrix {
namespace {

using BootReport = std::array<uint8_t, 64>;

BootReport Control(uint8_t kind, uint8_t data) {
    BootReport report;
    report.fill(0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = kind;
    report[3] = 0x00;
    report[4] = data;
    return report;
}

BootReport Data(uint16_t firstRecord, const std::vector<uint8_t>& image, size_t records) {
    BootReport report;
    report.fill(0xFF);
    report[0] = 0x05;
    report[1] = 0x02;
    report[2] = static_cast<uint8_t>(20 * records);
    report[3] = 0x00;
    for (size_t r = 0; r < records; ++r) {
        uint8_t* record = report.data() + 4 + 20 * r;
        const uint16_t number = static_cast<uint16_t>(firstRecord + r);
        record[0] = number & 0xFF;
        record[1] = number >> 8;
        for (size_t i = 0; i < 16; ++i) {
            const size_t at = number * 16 + i;
            record[2 + i] = at < image.size() ? image[at] : 0xFF;
        }
        const uint16_t crc = Crc16Modbus(record, 18);
        record[18] = crc & 0xFF;
        record[19] = crc >> 8;
    }
    return report;
}

TEST(SimBootLoader, AssemblesTheImageThroughTheBootInterface) {
    testing::SimBench bench("vireo");
    bench.Open(101);
    HidDevice* boot = bench.manager->OpenBootLoaderInterface(0x1209, 0x5A01);
    ASSERT_NE(boot, nullptr);
    std::vector<uint8_t> image(50);
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<uint8_t>(i * 7);
    }
    const BootReport enter = Control(0x02, 0x01);
    const BootReport full = Data(0, image, 3);
    const BootReport tail = Data(3, image, 1);
    const BootReport finish = Control(0x06, 0x02);
    for (const BootReport* report : {&enter, &full, &tail, &finish}) {
        ASSERT_EQ(boot->Write(report->data(), report->size()), 64);
    }
    uint8_t ack[64] = {};
    ASSERT_GT(boot->ReadTimeout(ack, sizeof ack, 100), 0);
    EXPECT_EQ(ack[0], 0x05);
    EXPECT_EQ(ack[3], 0x00);

    SimBootLoaderState state = bench.Device("vireo-cable")->BootLoaderState();
    EXPECT_TRUE(state.entered);
    EXPECT_TRUE(state.finished);
    EXPECT_EQ(state.records, 4);
    ASSERT_EQ(state.image.size(), 64u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), state.image.begin()));
    EXPECT_EQ(state.image[50], 0xFF);

    // A record with a broken check value is counted and not stored.
    ASSERT_EQ(boot->Write(enter.data(), enter.size()), 64);
    BootReport broken = Data(0, image, 1);
    broken[22] ^= 0x01;
    ASSERT_EQ(boot->Write(broken.data(), broken.size()), 64);
    BootReport skipped = Data(1, image, 1);  // record 1 before record 0
    ASSERT_EQ(boot->Write(skipped.data(), skipped.size()), 64);
    state = bench.Device("vireo-cable")->BootLoaderState();
    EXPECT_EQ(state.crcErrors, 1);
    EXPECT_EQ(state.sequenceErrors, 1);
    EXPECT_EQ(state.records, 0);
}

}  // namespace
}  // namespace kestrix
