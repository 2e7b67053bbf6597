// SPDX-License-Identifier: MIT
#include "device/DpiCodec.h"

namespace kestrix {

namespace {

// Sensors whose raw value is simply DPI / 100.
bool IsHundredStepSensor(int sensorCode) {
    return sensorCode == 4 || sensorCode == 16 || sensorCode == 18 || sensorCode == 53;
}

}  // namespace

uint16_t EncodeDpi(int sensorCode, int dpi) {
    int raw = 0;
    switch (sensorCode) {
        case 5:
            raw = dpi <= 6400 ? dpi / 50 : (dpi - 6400) / 100 + 128;
            break;
        case 17:
            raw = dpi <= 10000 ? dpi / 50 : (dpi - 10000) / 100 + 200;
            break;
        case 25:
            raw = dpi <= 16000 ? dpi / 100 : (dpi - 16000) / 1000 + 160;
            break;
        case 37:
        case 38:
            raw = dpi <= 5000 ? dpi / 100 : (dpi - 5000) / 500 + 50;
            break;
        default:
            raw = IsHundredStepSensor(sensorCode) ? dpi / 100 : dpi / 50 - 1;
            break;
    }
    return static_cast<uint16_t>(raw);
}

int DecodeDpi(int sensorCode, uint16_t raw) {
    const int r = raw;
    switch (sensorCode) {
        case 5:
            return r <= 128 ? r * 50 : r * 100 - 6400;
        case 150:
            return r * 50;
        case 17:
            return r < 200 ? r * 50 : (r - 100) * 100;
        case 25:
            return r < 160 ? r * 100 : r * 1000 - 144000;
        case 37:
            return r < 50 ? r * 100 : r * 500 - 20000;
        case 38:
            return r < 50 ? r * 100 : r * 500 - 19500;
        default:
            return IsHundredStepSensor(sensorCode) ? r * 100 : r * 50 + 50;
    }
}

}  // namespace kestrix
