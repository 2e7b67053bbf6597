// SPDX-License-Identifier: MIT
#include "device/Crc16Modbus.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kestrix {
namespace {

TEST(Crc16Modbus, KnownValues) {
    const char* check = "123456789";
    EXPECT_EQ(Crc16Modbus(reinterpret_cast<const uint8_t*>(check), std::strlen(check)), 0x4B37);
    EXPECT_EQ(Crc16Modbus(nullptr, 0), 0xFFFF);  // initial value, no final XOR
    uint8_t record[18];
    std::memset(record, 0xFF, sizeof record);
    record[0] = 0x00;
    record[1] = 0x00;
    // Record number 0 followed by sixteen 0xFF bytes, computed bit by bit independently.
    uint16_t crc = 0xFFFF;
    for (uint8_t byte : record) {
        crc ^= byte;
        for (int i = 0; i < 8; ++i) {
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<uint16_t>(crc >> 1);
        }
    }
    EXPECT_EQ(Crc16Modbus(record, sizeof record), crc);
}

}  // namespace
}  // namespace kestrix
