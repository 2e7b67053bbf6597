// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrix {

// CRC-16/MODBUS (reflected polynomial 0xA001, initial value 0xFFFF, no final XOR), the check
// value of every boot-loader data record.
uint16_t Crc16Modbus(const uint8_t* data, size_t length);

}  // namespace kestrix
