// SPDX-License-Identifier: MIT
#include "device/MacroPacking.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kDelay = 1, kDown = 2, kUp = 3, kButtonDown = 4, kButtonUp = 5;

TEST(MacroPacking, PacksEventsWithTheirFollowingDelay) {
    struct Case {
        const char* name;
        int button;
        std::vector<MacroEvent> events;
        Bytes data;
    };
    const Case cases[] = {
        {"empty", 2, {}, {0x02}},
        {"key press and release without delay",
         0,
         {{kDown, 65}, {kUp, 65}},
         {0x00, 0x30, 0x01, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}},
        {"delays add up and attach to the event before them",
         1,
         {{kDown, 65}, {kDelay, 200}, {kDelay, 100}, {kUp, 65}},
         {0x01, 0x30, 0x2C, 0x01, 0x04, 0xB0, 0x01, 0x00, 0x04}},
        {"a zero delay still waits 1 ms",
         0,
         {{kDown, 13}, {kDelay, 0}, {kUp, 13}},
         {0x00, 0x30, 0x01, 0x00, 0x28, 0xB0, 0x01, 0x00, 0x28}},
        {"a final delay is written at once",
         0,
         {{kDown, 32}, {kDelay, 1000}},
         {0x00, 0x30, 0xE8, 0x03, 0x2C}},
        {"a final zero delay writes 1",
         0,
         {{kDown, 32}, {kDelay, 0}},
         {0x00, 0x30, 0x01, 0x00, 0x2C}},
        {"a leading delay has no event to attach to",
         0,
         {{kDelay, 500}, {kDown, 32}},
         {0x00, 0x30, 0x01, 0x00, 0x2C}},
        {"a delay beyond 16 bits is capped",
         0,
         {{kDown, 32}, {kDelay, 70000}, {kUp, 32}},
         {0x00, 0x30, 0xFF, 0xFF, 0x2C, 0xB0, 0x01, 0x00, 0x2C}},
        {"shift press and release use the modifier codes",
         0,
         {{kDown, 160}, {kUp, 160}, {kDown, 165}, {kUp, 163}},
         {0x00, 0x20, 0x01, 0x00, 0x02, 0xA0, 0x01, 0x00, 0x02, 0x20, 0x01, 0x00, 0x40, 0xA0, 0x01,
          0x00, 0x10}},
        {"windows and menu keys use the modifier press code both ways",
         0,
         {{kDown, 91}, {kUp, 91}, {kDown, 93}, {kUp, 93}},
         {0x00, 0x20, 0x01, 0x00, 0x08, 0x20, 0x01, 0x00, 0x08, 0x20, 0x01, 0x00, 0x5D, 0x20, 0x01,
          0x00, 0x5D}},
        {"mouse buttons",
         4,
         {{kButtonDown, 1}, {kDelay, 20}, {kButtonUp, 1}},
         {0x04, 0x10, 0x14, 0x00, 0x01, 0x90, 0x01, 0x00, 0x01}},
        {"unknown record types are skipped",
         0,
         {{9, 1}, {kDown, 65}, {0, 3}},
         {0x00, 0x30, 0x01, 0x00, 0x04}},
    };
    for (const Case& c : cases) {
        bool truncated = true;
        EXPECT_EQ(PackMacro(c.button, c.events, &truncated), c.data) << c.name;
        EXPECT_FALSE(truncated) << c.name;
    }
}

TEST(MacroPacking, KeepsAtMostOneHundredAndOneEvents) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < 120; ++i) {
        events.push_back({kDown, 65});
        events.push_back({kDelay, 5});
    }
    bool truncated = false;
    const Bytes data = PackMacro(0, events, &truncated);
    EXPECT_TRUE(truncated);
    ASSERT_EQ(data.size(), 1u + 4u * kMaxMacroEvents);
    // The last kept event waits for the dropped one that followed it.
    EXPECT_EQ(data[data.size() - 3], 5);
}

}  // namespace
}  // namespace kestrix
