// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/SimMouseState.h"

namespace kestrix {

// The fixed properties of a simulated model and its factory state.
struct SimMouseModel {
    std::string attr;  // device_attr of the catalogue ("vireo")
    std::string name;  // product string
    int modelNumber = 0;
    uint16_t vendorId = 0x1209;
    uint16_t cablePid = 0;
    uint16_t receiverPid = 0;   // 0 when the model has no receiver
    std::string cableDevId;     // identity code answered by cable
    std::string receiverDevId;  // identity code answered through the receiver
    uint16_t sensorWord = 0;
    uint8_t sensorCode = 0;
    uint8_t rateCapability = 0;  // identity byte 11
    bool lighting = false;
    uint8_t firmwareMajor = 1;  // answer to 0x20: bytes 4 and 5
    uint8_t firmwareMinor = 0;
    uint16_t releaseNumber = 0x0100;
    SimMouseState factory;  // what 0x0F restores
};

// The shipped models: Vireo (101), Falco (102), Harrier Pro (201).
const std::vector<SimMouseModel>& ShippedSimModels();
// The shipped model with that device_attr, or null.
const SimMouseModel* FindSimModel(const std::string& attr);

}  // namespace kestrix
