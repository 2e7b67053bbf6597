// SPDX-License-Identifier: MIT
#include "rules/KeyUsageTable.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(KeyUsageTable, MapsVirtualKeysToKeyboardUsages) {
    struct Case {
        int vk;
        int usage;
    };
    const Case cases[] = {
        {0, 0},
        {65, 4},
        {90, 29},
        {49, 30},
        {57, 38},
        {48, 39},
        {13, 40},
        {27, 41},
        {8, 42},
        {9, 43},
        {32, 44},
        {189, 45},
        {220, 49},
        {666, 50},
        {186, 51},
        {20, 57},
        {112, 58},
        {123, 69},
        {44, 70},
        {34, 78},
        {39, 79},
        {38, 82},
        {144, 83},
        {111, 84},
        {108, 88},
        {97, 89},
        {105, 97},
        {96, 98},
        {110, 99},
        {226, 100},
        {93, 101},
        {124, 104},
        {135, 115},
        {136, 136},
        {139, 139},
        {254, 175},
        {162, 224},
        {160, 225},
        {164, 226},
        {91, 227},
        {163, 228},
        {161, 229},
        {165, 230},
        {92, 231},
        {301, 236},
        {302, 235},
        // Keys the mouse cannot send.
        {1, 0},
        {47, 0},
        {58, 0},
        {64, 0},
        {91 + 1000, 0},
        {140, 0},
        {255, 0},
        {-5, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VkToHidUsage(c.vk), c.usage) << "vk " << c.vk;
    }
}

TEST(KeyUsageTable, ModifierBitAcceptsVirtualKeyOrUsageAndPassesOthersThrough) {
    struct Case {
        int in;
        int bit;
    };
    const Case cases[] = {
        {162, 0x01}, {224, 0x01}, {160, 0x02}, {225, 0x02}, {164, 0x04}, {226, 0x04}, {91, 0x08},
        {227, 0x08}, {163, 0x10}, {228, 0x10}, {161, 0x20}, {229, 0x20}, {165, 0x40}, {230, 0x40},
        {92, 0x80},  {231, 0x80}, {0, 0},      {6, 6},      {93, 93},    {232, 232},  {166, 166},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ModifierBit(c.in), c.bit) << "value " << c.in;
    }
}

}  // namespace
}  // namespace kestrix
