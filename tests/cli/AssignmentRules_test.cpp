// SPDX-License-Identifier: MIT
#include "cli/AssignmentRules.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

std::string TextOf(int id) { return "T" + std::to_string(id); }

std::optional<std::string> OneMacro(int id) {
    if (id == 7) return std::string("Combo");
    return std::nullopt;
}

struct AssignmentCase {
    int type;
    const char* value;
    const char* value2;  // null = not given
    bool accepted;
    int value2Stored;
    const char* desc;
};

TEST(AssignmentRules, TypesTakeTheValuesTheButtonPageOffers) {
    const AssignmentCase cases[] = {
        {1, "1", nullptr, true, 0, "T106"},
        {1, "3", nullptr, true, 0, "T107"},
        {1, "8", nullptr, true, 0, "T113"},
        {1, "9", nullptr, false, 0, ""},  // stored rows may hold 9, the page never offers it
        {1, "0", nullptr, false, 0, ""},
        {1, "1", "2", false, 0, ""},  // VALUE2 only for types 2 and 7
        {2, "4", "3", true, 3, "Shift+ Ctrl + A"},
        {2, "0", "1", true, 1, "Ctrl"},
        {2, "0", "0", false, 0, ""},  // nothing to store
        {2, "256", nullptr, false, 0, ""},
        {2, "4", "16", false, 0, ""},
        {3, "2", nullptr, true, 0, "T121"},
        {3, "9", nullptr, false, 0, ""},
        {4, "7", nullptr, true, 0, "Combo"},
        {4, "8", nullptr, false, 0, ""},  // no such macro
        {5, "3", nullptr, true, 0, "T142"},
        {5, "1", nullptr, true, 0, "DPI +"},
        {5, "4", nullptr, false, 0, ""},
        {6, "2", nullptr, true, 0, "T181"},
        {6, "3", nullptr, false, 0, ""},
        {7, "5", "0", true, 0, "T161"},
        {7, "255", "255", true, 255, "T161"},
        {7, "4", "0", false, 0, ""},
        {7, "50", nullptr, false, 0, ""},  // the second parameter is required
        {8, "9", nullptr, true, 0, "T31"},
        {8, "12", nullptr, false, 0, ""},
        {9, "1", nullptr, true, 0, "T139"},
        {9, "2", nullptr, false, 0, ""},
        {10, "1", nullptr, false, 0, ""},
        {0, "1", nullptr, false, 0, ""},
    };
    for (const AssignmentCase& c : cases) {
        std::optional<std::string_view> value2;
        if (c.value2 != nullptr) value2 = c.value2;
        const AssignmentCheck check = CheckAssignment(c.type, c.value, value2, TextOf, OneMacro);
        SCOPED_TRACE(std::to_string(c.type) + " " + c.value);
        ASSERT_EQ(check.status.Ok(), c.accepted) << check.status.message;
        if (!c.accepted) {
            EXPECT_EQ(check.status.exitCode, kExitBadValue);
            continue;
        }
        EXPECT_EQ(check.row.macroType, c.type);
        EXPECT_EQ(check.row.macroValue2, c.value2Stored);
        EXPECT_EQ(check.row.macroDesc, c.desc);
    }
}

TEST(AssignmentRules, CombinationTextFollowsTheTogglesOrder) {
    EXPECT_EQ(KeyCombinationText(0x04, 1 | 2 | 4), "Shift+ Ctrl+ Alt + A");
    EXPECT_EQ(KeyCombinationText(0, 1), "Ctrl");
    EXPECT_EQ(KeyCombinationText(0x3A, 8), "Win + F1");
    EXPECT_EQ(KeyCombinationText(0x27, 0), "0");
}

// Every key is named as the button page names it when the key is captured.
TEST(AssignmentRules, CombinationTextNamesKeysAsTheButtonPage) {
    const struct {
        int usage;
        const char* text;
    } cases[] = {
        {0x2D, "Ctrl + -"},         {0x33, "Ctrl + ;"},        {0x4A, "Ctrl + Home"},
        {0x4B, "Ctrl + Page Up"},   {0x50, "Ctrl + Left"},     {0x5F, "Ctrl + Num 7"},
        {0x58, "Ctrl + Num Enter"}, {0x62, "Ctrl + Num 0"},    {0x68, "Ctrl + F13"},
        {0x73, "Ctrl + F24"},       {0xE4, "Ctrl + RCtrl"},    {0x29, "Ctrl + Esc"},
        {0x39, "Ctrl + Caps Lock"}, {0xFF, "Ctrl + Key 0xFF"},  // no key gives it
    };
    for (const auto& c : cases) EXPECT_EQ(KeyCombinationText(c.usage, 1), c.text) << c.usage;
}

TEST(AssignmentRules, DisplayTextOfStoredRows) {
    KeyAssignmentRow row;
    row.macroDesc = "stored";
    const struct {
        int type;
        int value;
        const char* shown;
    } cases[] = {{1, 10, "T115"},  {1, 11, "stored"}, {3, 8, "T119"},  {6, 1, "T151"},
                 {6, 2, "stored"}, {6, 5, "T154"},    {7, 9, "T161"},  {8, 11, "T36"},
                 {9, 1, "T139"},   {2, 4, "stored"},  {5, 3, "stored"}};
    for (const auto& c : cases) {
        row.macroType = c.type;
        row.macroValue = c.value;
        EXPECT_EQ(AssignmentDisplayText(row, TextOf), c.shown) << c.type << "/" << c.value;
    }
}

}  // namespace
}  // namespace kestrix
