// SPDX-License-Identifier: MIT
#include "sim/SimMouseModel.h"

#include "sim/SimSensorTable.h"

namespace kestrix {
namespace {

// The factory button table: left, right, middle, back, forward, DPI cycle; the rest unused.
constexpr std::array<uint8_t, 27> kFactoryButtons = {
    0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00, 0x10, 0x08, 0x00, 0x10, 0x10,
    0x00, 0x40, 0x01, 0x00, 0,    0,    0,    0,    0,    0,    0,    0,    0};

SimMouseState FactoryState(uint8_t sensorCode, const std::array<int, 6>& dpi,
                           const std::array<uint32_t, 6>& rgb, uint8_t dpiIndex, uint8_t sleepLight,
                           uint8_t closeLight, uint8_t liftOff, uint8_t respond, bool lighting,
                           uint8_t batteryB) {
    SimMouseState state;
    state.reportRate = 1;
    state.dpiIndex = dpiIndex;
    state.dpiCount = 6;
    for (size_t k = 0; k < 6; ++k) {
        state.dpiRaw[k] = SimFactoryRaw(sensorCode, dpi[k]);
        state.dpiRawCopy[k] = state.dpiRaw[k];
        state.dpiColours[k] = rgb[k];
    }
    if (lighting) {
        state.lightingEffect = 2;
        state.lighting[0] = {};
        state.lighting[1] = {3, 3, {}};
        state.lighting[2] = {
            4, 5, {0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF}};
        state.lighting[3] = {4, 0, {0xFFFFFF}};
        state.lighting[4] = {3, 5, {}};
        state.lighting[5] = {3, 5, {}};
    }
    state.liftOff = liftOff;
    state.sleepLight = sleepLight;
    state.moveWakeup = 1;
    state.moveCloseLight = closeLight;
    state.buttonResponseTime = respond;
    state.buttonTable = kFactoryButtons;
    state.batteryB = batteryB;
    return state;
}

std::vector<SimMouseModel> BuildModels() {
    std::vector<SimMouseModel> models;

    SimMouseModel vireo;
    vireo.attr = "vireo";
    vireo.name = "Kestrix Vireo";
    vireo.modelNumber = 101;
    vireo.cablePid = 0x5A01;
    vireo.cableDevId = "VR01";
    vireo.sensorWord = 0x3395;
    vireo.sensorCode = 53;
    vireo.rateCapability = 0x00;
    vireo.lighting = true;
    vireo.firmwareMajor = 1;
    vireo.firmwareMinor = 0x02;
    vireo.releaseNumber = 0x0102;
    vireo.factory = FactoryState(53, {400, 800, 1600, 3200, 6400, 12000},
                                 {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF}, 1,
                                 60, 0, 1, 8, true, 0);
    models.push_back(vireo);

    SimMouseModel falco;
    falco.attr = "falco";
    falco.name = "Kestrix Falco";
    falco.modelNumber = 102;
    falco.cablePid = 0x5A02;
    falco.receiverPid = 0x5A03;
    falco.cableDevId = "FL02";
    falco.receiverDevId = "FL2R";
    falco.sensorWord = 0x3311;
    falco.sensorCode = 38;
    falco.rateCapability = 0x10;
    falco.lighting = false;
    falco.firmwareMajor = 1;
    falco.firmwareMinor = 0x05;
    falco.releaseNumber = 0x0105;
    falco.factory = FactoryState(38, {400, 800, 1200, 1600, 3200, 4800},
                                 {0x2020FF, 0x20FF20, 0xFF6020, 0x00C0FF, 0xE0E000, 0xFF40C0}, 1,
                                 30, 0, 2, 8, false, 80);
    models.push_back(falco);

    SimMouseModel harrier;
    harrier.attr = "harrier_pro";
    harrier.name = "Kestrix Harrier Pro";
    harrier.modelNumber = 201;
    harrier.cablePid = 0x5A04;
    harrier.receiverPid = 0x5A05;
    harrier.cableDevId = "HP01";
    harrier.receiverDevId = "HP1R";
    harrier.sensorWord = 0x3950;
    harrier.sensorCode = 150;
    harrier.rateCapability = 0x40;
    harrier.lighting = true;
    harrier.firmwareMajor = 2;
    harrier.firmwareMinor = 0x01;
    harrier.releaseNumber = 0x0201;
    harrier.factory = FactoryState(150, {400, 800, 1600, 3200, 6400, 26000},
                                   {0x0000FF, 0x0080FF, 0x00FF00, 0xFFA000, 0xFF0080, 0xFFFFFF}, 2,
                                   120, 1, 1, 4, true, 90);
    models.push_back(harrier);
    return models;
}

}  // namespace

const std::vector<SimMouseModel>& ShippedSimModels() {
    static const std::vector<SimMouseModel> models = BuildModels();
    return models;
}

const SimMouseModel* FindSimModel(const std::string& attr) {
    for (const SimMouseModel& model : ShippedSimModels()) {
        if (model.attr == attr) {
            return &model;
        }
    }
    return nullptr;
}

}  // namespace kestrix
