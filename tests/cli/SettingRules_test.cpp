// SPDX-License-Identifier: MIT
#include "cli/SettingRules.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

struct SettingCase {
    const char* key;
    const char* value;
    int sensor;
    int rateClass;
    bool accepted;
    int stored;  // value stored under key when accepted
    int task;
};

TEST(SettingRules, AcceptsWhatThePageOffersAndNothingElse) {
    const SettingCase cases[] = {
        {"dpi_count", "1", 53, 4, true, 1, 9},
        {"dpi_count", "6", 53, 4, true, 6, 9},
        {"dpi_count", "0", 53, 4, false, 0, 0},
        {"dpi_count", "7", 53, 4, false, 0, 0},
        {"dpi_group0_value", "100", 53, 4, true, 100, 9},
        {"dpi_group5_value", "16000", 53, 4, true, 16000, 9},
        {"dpi_group1_value", "16100", 53, 4, false, 0, 0},
        {"dpi_group1_value", "99", 53, 4, false, 0, 0},
        {"dpi_group1_value", "1650", 53, 4, true, 1600, 9},  // F100 grid
        {"dpi_group1_value", "10050", 17, 4, true, 10000,
         9},  // sensor 17 above 10000: steps of 100
        {"dpi_group1_value", "26000", 150, 4, true, 26000,
         9},  // label says 32000, typed values stop at 26000
        {"dpi_group1_value", "26050", 150, 4, false, 0, 0},
        {"dpi_group1_value", "150", 38, 4, false, 0, 0},           // sensor 38 starts at 200
        {"dpi_group6_value", "800", 53, 4, false, 0, 0},           // stage 6 is never edited
        {"dpi_group2_rgb", "#FF0000", 53, 4, true, 0x0000FF, 10},  // red sits in the low byte
        {"dpi_group2_rgb", "0xFFFFFF", 53, 4, true, 0xFFFFFF, 10},
        {"dpi_group2_rgb", "16777216", 53, 4, false, 0, 0},
        {"dpi_group2_rgb", "-1", 53, 4, false, 0, 0},
        {"report_rate", "1", 53, 4, true, 1, 11},
        {"report_rate", "500Hz", 53, 4, true, 2, 11},
        {"report_rate", "16", 53, 4, false, 0, 0},  // 2000 Hz only for class 7
        {"report_rate", "16", 53, 6, false, 0, 0},
        {"report_rate", "64", 53, 7, true, 64, 11},
        {"report_rate", "3", 53, 7, false, 0, 0},
        {"liftoff_height", "2", 53, 4, true, 2, 12},
        {"liftoff_height", "3", 53, 4, false, 0, 0},
        {"sensor_flag", "28", 53, 4, true, 28, 12},
        {"sensor_flag", "53", 53, 4, false, 0, 0},  // bits 1 and 32 are never written by the page
        {"button_respondtime", "4", 53, 4, true, 4, 13},
        {"button_respondtime", "20", 53, 4, true, 20, 13},
        {"button_respondtime", "21", 53, 4, false, 0, 0},
        {"button_respondtime", "3", 53, 4, false, 0, 0},
        {"sleep_light", "30", 53, 4, true, 30, 13},
        {"sleep_light", "1", 53, 4, false, 0, 0},  // the stored default matches no item
        {"move_wakeup", "0", 53, 4, true, 0, 13},
        {"move_closelight", "2", 53, 4, false, 0, 0},
        {"button_respondtime", "8x", 53, 4, false, 0, 0},
        {"button_respondtime", "", 53, 4, false, 0, 0},
    };
    for (const SettingCase& c : cases) {
        SettingLimits limits;
        limits.sensorCode = c.sensor;
        limits.reportRateClass = c.rateClass;
        const SettingCheck check = CheckSetting(c.key, c.value, limits);
        SCOPED_TRACE(std::string(c.key) + " = " + c.value);
        ASSERT_EQ(check.status.Ok(), c.accepted) << check.status.message;
        if (!c.accepted) {
            EXPECT_EQ(check.status.exitCode, kExitBadValue);
            EXPECT_TRUE(check.change.values.empty());
            continue;
        }
        ASSERT_FALSE(check.change.values.empty());
        EXPECT_EQ(check.change.values.front().first,
                  c.key == std::string("report_rate_wireless") ? "report_rate" : c.key);
        EXPECT_EQ(check.change.values.front().second, c.stored);
        EXPECT_EQ(TaskNumber(check.change.task), c.task);
    }
}

TEST(SettingRules, RefusalsNameTheAcceptedRange) {
    SettingLimits limits;
    limits.sensorCode = 38;
    EXPECT_EQ(CheckSetting("dpi_group0_value", "100", limits).status.message,
              "dpi_group0_value must be a DPI within 200..10000 for sensor 38");
    EXPECT_EQ(CheckSetting("button_respondtime", "30", limits).status.message,
              "button_respondtime must be an integer within 4..20");
    EXPECT_NE(CheckSetting("report_rate", "16", limits).status.message.find("1 (1000 Hz)"),
              std::string::npos);
    const std::string unknown = CheckSetting("dpi_speed", "1", limits).status.message;
    EXPECT_EQ(unknown.rfind("unknown key \"dpi_speed\"; settable keys: ", 0), 0u) << unknown;
    EXPECT_NE(CheckSetting("mouse_speed", "1", limits).status.message.find("cannot be set"),
              std::string::npos);
}

TEST(SettingRules, StageCountAndActiveStageStayConsistent) {
    SettingLimits limits;
    limits.dpiCount = 4;
    limits.dpiIndex = 3;
    // Lowering the count below the active stage also moves the active stage to the new last one.
    SettingCheck lower = CheckSetting("dpi_count", "2", limits);
    ASSERT_TRUE(lower.status.Ok());
    ASSERT_EQ(lower.change.values.size(), 2u);
    EXPECT_EQ(lower.change.values[1], (std::pair<std::string, int>("dpi_index", 1)));
    EXPECT_EQ(CheckSetting("dpi_count", "5", limits).change.values.size(), 1u);
    EXPECT_TRUE(CheckSetting("dpi_index", "3", limits).status.Ok());
    EXPECT_FALSE(CheckSetting("dpi_index", "4", limits).status.Ok());
}

TEST(SettingRules, ReportRateGoesToBothKeys) {
    const SettingCheck check = CheckSetting("report_rate_wireless", "4", SettingLimits{});
    ASSERT_TRUE(check.status.Ok());
    EXPECT_EQ(check.change.values, (std::vector<std::pair<std::string, int>>{
                                       {"report_rate", 4}, {"report_rate_wireless", 4}}));
}

TEST(SettingRules, IntegersAreParsedStrictly) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {{"12", true, 12},
                          {"-5", true, -5},
                          {"+7", true, 7},
                          {"0x1F", true, 31},
                          {"12 ", false, 0},
                          {"1e3", false, 0},
                          {"", false, 0},
                          {"0x", false, 0},
                          {"-", false, 0},
                          {"99999999999", false, 0},
                          {"2147483647", true, 2147483647}};
    for (const Case& c : cases) {
        int value = 0;
        EXPECT_EQ(ParseInteger(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    int colour = 0;
    EXPECT_TRUE(ParseColourValue("#20A3FF", colour));
    EXPECT_EQ(colour, 0xFFA320);
    EXPECT_FALSE(ParseColourValue("#20A3FG", colour));
}

}  // namespace
}  // namespace kestrix
