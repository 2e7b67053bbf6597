// SPDX-License-Identifier: MIT
#include "update/VersionText.h"

#include <gtest/gtest.h>

#include "base/FirmwareVersion.h"

namespace kestrix {
namespace {

TEST(VersionText, ComparesPartByPartAsNumbers) {
    struct Case {
        const char* current;
        const char* latest;
        int expected;
    };
    const Case cases[] = {
        {"1.0.3", "1.0.3", 0},   {"1.0.3", "1.0.4", 1},
        {"1.0.4", "1.0.3", -1},  {"1.0.9", "1.0.10", 1},
        {"1.0.10", "1.0.9", -1},                       // decimal, not text order
        {"1.0.3", "1.0", 2},     {"1.0.9", "1.1", 2},  // part counts differ: offered
        {"2.0", "10.0", 1},      {"105", "131", 1},
        {"131", "131", 0},       {"1.0.3", "1.0.x", -1},  // non-digits read as 0
        {"1.0.3", "", 2},        {"", "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareVersions(c.current, c.latest), c.expected)
            << c.current << " vs " << c.latest;
    }
}

// First character, '.', last two characters; a short text is never padded nor cut to a
// trailing '.'.
TEST(VersionText, FirmwareVersionOfEveryLength) {
    const struct {
        const char* text;
        const char* digits;
    } cases[] = {
        {"7", "7.7"},     {"12", "1.12"},   {"131", "1.31"},       {"105", "1.05"}, {"1a3", "1.a3"},
        {"1205", "1.05"}, {"2010", "2.10"}, {"123456789", "1.89"}, {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirmwareVersionDigits(c.text), c.digits) << c.text;
        EXPECT_EQ(FormatFirmwareVersion("New", c.text), std::string("New: v") + c.digits);
    }
}

TEST(VersionText, FormatsLabelsAndPrompts) {
    EXPECT_EQ(ApplicationVersionLabel("New", "1.0.4"), "New: v1.0.4");
    EXPECT_EQ(ApplicationPromptText("New", "1.0.4", "Update?"), "New:v1.0.4, Update?");
    EXPECT_EQ(FirmwarePromptText("New", "1205", "Upgrade?"), "New:v1.05, Upgrade?");
}

}  // namespace
}  // namespace kestrix
