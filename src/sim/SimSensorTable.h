// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kestrix {

// The simulated firmware's own DPI tables, written from the sensor rules independently of the
// program's codec, so that an error made the same way in the program's encoder and decoder
// shows up as a wrong DPI in the mouse.

// The DPI the firmware runs a stage at, from the raw value it holds (sensor 38 adds 500 from
// raw 50 up and sensor 150 has no offset: the firmware does so).
int SimStageDpi(uint8_t sensorCode, uint16_t raw);
// The raw value the factory stores for a stage of dpi.
uint16_t SimFactoryRaw(uint8_t sensorCode, int dpi);

}  // namespace kestrix
