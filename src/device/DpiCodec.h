// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kestrix {

// Wire encoding of a DPI value for the sensor the mouse reports (identity byte 10). The
// caller clamps the DPI to the sensor's limits first; divisions truncate toward zero.
uint16_t EncodeDpi(int sensorCode, int dpi);
// DPI of a raw 16-bit stage value as the mouse reports it for that sensor. Not an exact
// inverse of EncodeDpi for sensors 38 (+500 from 5000 up) and 150 (-50): the mouse does so.
int DecodeDpi(int sensorCode, uint16_t raw);

}  // namespace kestrix
