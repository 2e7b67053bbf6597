// SPDX-License-Identifier: MIT
#include "rules/KeyUsageTable.h"

#include <array>
#include <utility>

namespace kestrix {

namespace {

// Single keys outside the contiguous ranges handled in VkToHidUsage: {vk, usage}.
constexpr std::array<std::pair<int, int>, 54> kSingleKeys{{
    {48, 39},   {13, 40},   {27, 41},   {8, 42},    {9, 43},    {32, 44},   {189, 45}, {187, 46},
    {219, 47},  {221, 48},  {220, 49},  {666, 50},  {186, 51},  {222, 52},  {192, 53}, {188, 54},
    {190, 55},  {191, 56},  {20, 57},   {44, 70},   {145, 71},  {19, 72},   {45, 73},  {36, 74},
    {33, 75},   {46, 76},   {35, 77},   {34, 78},   {39, 79},   {37, 80},   {40, 81},  {38, 82},
    {144, 83},  {111, 84},  {106, 85},  {109, 86},  {107, 87},  {108, 88},  {96, 98},  {110, 99},
    {226, 100}, {93, 101},  {254, 175}, {162, 224}, {160, 225}, {164, 226}, {91, 227}, {163, 228},
    {161, 229}, {165, 230}, {92, 231},  {301, 236}, {302, 235}, {0, 0},
}};

// {vk, usage, bit} of the eight modifier keys.
struct ModifierKey {
    int vk;
    int usage;
    int bit;
};
constexpr std::array<ModifierKey, 8> kModifiers{{
    {162, 224, 0x01},
    {160, 225, 0x02},
    {164, 226, 0x04},
    {91, 227, 0x08},
    {163, 228, 0x10},
    {161, 229, 0x20},
    {165, 230, 0x40},
    {92, 231, 0x80},
}};

}  // namespace

int VkToHidUsage(int vk) {
    if (vk >= 65 && vk <= 90) return vk - 61;    // A..Z
    if (vk >= 49 && vk <= 57) return vk - 19;    // 1..9
    if (vk >= 112 && vk <= 123) return vk - 54;  // F1..F12
    if (vk >= 97 && vk <= 105) return vk - 8;    // numpad 1..9
    if (vk >= 124 && vk <= 135) return vk - 20;  // F13..F24
    if (vk >= 136 && vk <= 139) return vk;       // international keys keep their number
    for (const auto& [key, usage] : kSingleKeys) {
        if (key == vk) return usage;
    }
    return 0;
}

int ModifierBit(int vkOrUsage) {
    for (const ModifierKey& m : kModifiers) {
        if (m.vk == vkOrUsage || m.usage == vkOrUsage) return m.bit;
    }
    return vkOrUsage;
}

}  // namespace kestrix
