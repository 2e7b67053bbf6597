// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kestrix {

// The parameters of one lighting effect as the lighting table holds them.
struct LightingParameters {
    int effect = 0;
    int brightness = 0;            // 4 bits on the wire
    int speed = 0;                 // 4 bits on the wire
    std::array<int, 7> colours{};  // 24-bit colours, red in bits 0-7
};

// Count byte and data of command 0x05.
struct LightingPayload {
    uint8_t countByte = 0;
    std::vector<uint8_t> data;
};

// Brightness in the high and speed in the low four bits, as commands 0x05 and 0x15 carry them.
uint8_t PackBrightnessSpeed(int brightness, int speed);

// Payload of command 0x05 for the effect: effects 0, 4, 5 carry effect and L; 1 adds a zero;
// 2 carries all seven colours; 3 the first colour; any other effect an empty payload.
LightingPayload EncodeLighting(const LightingParameters& parameters);

}  // namespace kestrix
