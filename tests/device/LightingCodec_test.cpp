// SPDX-License-Identifier: MIT
#include "device/LightingCodec.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(LightingCodec, PayloadPerEffect) {
    const std::array<int, 7> colours = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00,
                                        0x00FFFF, 0xFF00FF, 0x332211};
    struct Case {
        int effect;
        uint8_t count;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {0, 2, {0x00, 0x42}},
        {4, 2, {0x04, 0x42}},
        {5, 2, {0x05, 0x42}},
        {1, 3, {0x01, 0x42, 0x00}},
        {3, 5, {0x03, 0x42, 0xFF, 0x00, 0x00}},
        {2, 24, {0x02, 0x42, 0x07, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
                 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x11, 0x22, 0x33}},
        {6, 0, {}},
        {-1, 0, {}},
    };
    for (const Case& c : cases) {
        const LightingPayload payload = EncodeLighting({c.effect, 4, 2, colours});
        EXPECT_EQ(payload.countByte, c.count) << "effect " << c.effect;
        EXPECT_EQ(payload.data, c.data) << "effect " << c.effect;
    }
}

TEST(LightingCodec, BrightnessAndSpeedKeepFourBitsEach) {
    EXPECT_EQ(PackBrightnessSpeed(4, 2), 0x42);
    EXPECT_EQ(PackBrightnessSpeed(15, 15), 0xFF);
    EXPECT_EQ(PackBrightnessSpeed(0x13, 0x25), 0x35);
}

}  // namespace
}  // namespace kestrix
