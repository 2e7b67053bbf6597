// SPDX-License-Identifier: MIT
#include "device/LightingCodec.h"

namespace kestrix {

namespace {

void AppendColour(std::vector<uint8_t>& data, int colour) {
    data.push_back(static_cast<uint8_t>(colour & 0xFF));
    data.push_back(static_cast<uint8_t>((colour >> 8) & 0xFF));
    data.push_back(static_cast<uint8_t>((colour >> 16) & 0xFF));
}

}  // namespace

uint8_t PackBrightnessSpeed(int brightness, int speed) {
    return static_cast<uint8_t>(((brightness & 0x0F) << 4) | (speed & 0x0F));
}

LightingPayload EncodeLighting(const LightingParameters& p) {
    LightingPayload payload;
    const uint8_t level = PackBrightnessSpeed(p.brightness, p.speed);
    const uint8_t effect = static_cast<uint8_t>(p.effect & 0xFF);
    switch (p.effect) {
        case 0:
        case 4:
        case 5:
            payload.data = {effect, level};
            break;
        case 1:
            payload.data = {effect, level, 0x00};
            break;
        case 2:
            payload.data = {effect, level, static_cast<uint8_t>(p.colours.size())};
            for (int colour : p.colours) AppendColour(payload.data, colour);
            break;
        case 3:
            payload.data = {effect, level};
            AppendColour(payload.data, p.colours[0]);
            break;
        default:
            break;
    }
    payload.countByte = static_cast<uint8_t>(payload.data.size());
    return payload;
}

}  // namespace kestrix
