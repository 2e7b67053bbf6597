// SPDX-License-Identifier: MIT
#include "update/VersionText.h"

#include <gtest/gtest.h>

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

TEST(VersionText, FormatsLabelsAndPrompts) {
    EXPECT_EQ(ApplicationVersionLabel("New", "1.0.4"), "New: v1.0.4");
    EXPECT_EQ(FirmwareVersionDisplay("New", "131"), "New: v1.31");
    EXPECT_EQ(FirmwareVersionDisplay("New", "7"), "New: v7.7");
    EXPECT_EQ(ApplicationPromptText("New", "1.0.4", "Update?"), "New:v1.0.4, Update?");
    EXPECT_EQ(FirmwarePromptText("New", "1205", "Upgrade?"), "New:v1.05, Upgrade?");
}

}  // namespace
}  // namespace kestrix
