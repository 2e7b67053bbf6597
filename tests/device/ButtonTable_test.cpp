// SPDX-License-Identifier: MIT
#include "device/ButtonTable.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrix {
namespace {

using Triple = std::array<uint8_t, 3>;

MacroLookup Macros(std::map<int, MacroPlayback> macros) {
    return [macros](int id) -> std::optional<MacroPlayback> {
        auto it = macros.find(id);
        if (it == macros.end()) return std::nullopt;
        return it->second;
    };
}

TEST(ButtonTable, DefaultTableIsMouseButtonsThenDpiCycle) {
    const ButtonTableBytes table = BuildButtonTable({}, nullptr);
    const uint8_t expected[27] = {0x10, 0x01, 0x00, 0x10, 0x02, 0x00, 0x10, 0x04, 0x00,
                                  0x10, 0x08, 0x00, 0x10, 0x10, 0x00, 0x40, 0x01, 0x00};
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i], i < 27 ? expected[i] : 0) << "byte " << i;
    }
}

TEST(ButtonTable, EncodesEveryAssignmentType) {
    const MacroLookup macros =
        Macros({{1, {1, 0}}, {2, {2, 0}}, {3, {3, 0}}, {4, {0, 5}}, {5, {0, 300}}, {6, {0, 0}}});
    struct Case {
        int keyCode, type, value, value2;
        Triple bytes;
    };
    const Case cases[] = {
        {0, 1, 1, 0, {0x10, 0x01, 0x00}},   {0, 1, 2, 0, {0x10, 0x04, 0x00}},
        {0, 1, 3, 0, {0x10, 0x02, 0x00}},   {0, 1, 4, 0, {0x30, 0x32, 0x03}},
        {0, 1, 5, 0, {0x10, 0x10, 0x00}},   {0, 1, 6, 0, {0x10, 0x08, 0x00}},
        {0, 1, 7, 0, {0x20, 0x01, 0x00}},   {0, 1, 8, 0, {0x20, 0xFF, 0x00}},
        {0, 1, 9, 0, {0x10, 0x00, 0xF5}},   {0, 1, 10, 0, {0x10, 0x00, 0xF6}},
        {0, 1, 77, 0, {0x10, 0x00, 0x00}},  {0, 2, 225, 0, {0x70, 0x02, 0x00}},  // Left Shift alone
        {0, 2, 231, 0, {0x70, 0x80, 0x00}},                                      // Right Win alone
        {0, 2, 6, 1, {0x70, 0x01, 0x06}},                                        // Ctrl+C
        {0, 2, 225, 1, {0x70, 0x01, 0x02}},  // Ctrl+Shift given as key and mask
        {0, 2, 4, 0, {0x70, 0x00, 0x04}},   {0, 3, 1, 0, {0x80, 0x83, 0x01}},
        {0, 3, 2, 0, {0x80, 0xCD, 0x00}},   {0, 3, 3, 0, {0x80, 0xB7, 0x00}},
        {0, 3, 4, 0, {0x80, 0xB6, 0x00}},   {0, 3, 5, 0, {0x80, 0xB5, 0x00}},
        {0, 3, 6, 0, {0x80, 0xE9, 0x00}},   {0, 3, 7, 0, {0x80, 0xEA, 0x00}},
        {0, 3, 8, 0, {0x80, 0xE2, 0x00}},   {0, 3, 9, 0, {0x80, 0x00, 0x00}},
        {3, 4, 1, 0, {0x90, 0x13, 0x00}},   {3, 4, 2, 0, {0x90, 0x43, 0x00}},
        {7, 4, 3, 0, {0x90, 0x17, 0x00}},   {3, 4, 4, 0, {0x90, 0x23, 0x05}},
        {3, 4, 5, 0, {0x90, 0x23, 0x2C}},   {3, 4, 6, 0, {0x90, 0x03, 0x00}},
        {0, 5, 1, 0, {0x40, 0x02, 0x00}},   {0, 5, 2, 0, {0x40, 0x03, 0x00}},
        {0, 5, 3, 0, {0x40, 0x01, 0x00}},   {0, 6, 1, 0, {0x60, 0x04, 0x00}},
        {0, 6, 2, 0, {0x60, 0x01, 0x00}},   {0, 7, 50, 3, {0x30, 0x32, 0x03}},
        {0, 7, 255, 0, {0x30, 0xFF, 0x00}}, {0, 8, 1, 0, {0x80, 0x6F, 0x00}},
        {0, 8, 2, 0, {0x80, 0x70, 0x00}},   {0, 8, 3, 0, {0x80, 0x92, 0x01}},
        {0, 8, 4, 0, {0x80, 0x94, 0x01}},   {0, 8, 5, 0, {0x80, 0x23, 0x02}},
        {0, 8, 6, 0, {0x80, 0x8A, 0x01}},   {0, 8, 7, 0, {0x70, 0x08, 0x07}},
        {0, 8, 8, 0, {0x70, 0x08, 0x2B}},   {0, 8, 9, 0, {0x70, 0x01, 0x06}},
        {0, 8, 10, 0, {0x70, 0x01, 0x19}},  {0, 8, 11, 0, {0x70, 0x01, 0x1B}},
        {0, 9, 1, 0, {0x60, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        Triple out{0xEE, 0xEE, 0xEE};
        ASSERT_TRUE(EncodeButtonAssignment({c.keyCode, c.type, c.value, c.value2}, macros, out))
            << "type " << c.type << " value " << c.value;
        EXPECT_EQ(out, c.bytes) << "type " << c.type << " value " << c.value;
    }
}

TEST(ButtonTable, UnknownTypesAndMissingMacrosKeepThePreviousBytes) {
    const std::vector<ButtonAssignment> rows = {
        {1, 1, 7, 0},                  // right button becomes wheel up
        {1, 4, 42, 0},                 // then a macro that no longer exists: stays wheel up
        {2, 12, 1, 0},                 // unknown type: middle keeps its default
        {4, 8, 99, 0},                 // unknown shortcut: forward keeps its default
        {21, 1, 7, 0},                 // no slot for key code 21
        {-1, 1, 7, 0}, {20, 5, 1, 0},  // last slot
    };
    const ButtonTableBytes table = BuildButtonTable(rows, Macros({}));
    ButtonTableBytes expected = DefaultButtonTable();
    expected[3] = 0x20;
    expected[4] = 0x01;
    expected[60] = 0x40;
    expected[61] = 0x02;
    EXPECT_EQ(table, expected);
}

}  // namespace
}  // namespace kestrix
