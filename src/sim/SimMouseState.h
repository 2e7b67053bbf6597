// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace kestrix {

// One event of a macro as the firmware stores it: 4 wire bytes.
struct SimMacroEvent {
    uint8_t code = 0;    // 0x30/0xB0 key, 0x20/0xA0 modifier, 0x10/0x90 mouse button
    uint16_t delay = 0;  // milliseconds, little-endian on the wire
    uint8_t value = 0;   // HID usage, modifier mask or button value
    bool operator==(const SimMacroEvent&) const = default;
};

// A macro reassembled from one or more 0x08 packets.
struct SimMacro {
    std::vector<uint8_t> eventBytes;  // everything after the button index
    std::vector<SimMacroEvent>
        events;       // eventBytes in groups of 4 (a trailing partial group is left out)
    int packets = 0;  // packets it arrived in
};

// Parameters of one lighting effect.
struct SimLightingEffect {
    int brightness = 0;             // high 4 bits of the L byte
    int speed = 0;                  // low 4 bits
    std::vector<uint32_t> colours;  // 24-bit colours, red in bits 0 to 7
    bool operator==(const SimLightingEffect&) const = default;
};

// Everything a simulated mouse keeps in its flash, as the command table reads and writes it.
struct SimMouseState {
    uint8_t reportRate = 1;                // report-rate code (1 = 1000 Hz)
    uint8_t dpiIndex = 0;                  // selected stage
    uint8_t dpiCount = 6;                  // number of stages
    std::array<uint16_t, 6> dpiRaw{};      // first copy of each stage's raw code
    std::array<uint16_t, 6> dpiRawCopy{};  // second copy (written, never read by the program)
    std::array<uint32_t, 6> dpiColours{};
    uint8_t lightingEffect = 0;
    std::map<int, SimLightingEffect> lighting;  // per effect number
    uint8_t liftOff = 1;
    uint8_t sensorOptionA = 0;  // data byte 1 of 0x06 (sensor_flag bit value 8)
    uint8_t sensorOptionB = 0;  // data byte 2 of 0x06 (sensor_flag bit value 4)
    uint8_t sleepLight = 60;
    uint8_t moveWakeup = 1;
    uint8_t moveCloseLight = 0;
    uint8_t buttonResponseTime = 8;
    std::array<uint8_t, 27> buttonTable{};  // buttons 0 to 8, 3 bytes each
    std::map<int, SimMacro> macros;         // by button index
    int selectedButton = -1;                // last selected-button report (byte 2), -1 = none
    uint8_t batteryA = 0;                   // charge state
    uint8_t batteryB = 100;                 // battery level
};

}  // namespace kestrix
