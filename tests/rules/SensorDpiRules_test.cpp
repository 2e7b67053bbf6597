// SPDX-License-Identifier: MIT
#include "rules/SensorDpiRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace kestrix {
namespace {

struct Description {
    int code;
    const char* low;
    const char* high;
    int steps;
    int minDpi;
    int maxDpi;
};

TEST(SensorDpiRules, LabelsStepsAndLimitsOfEverySensor) {
    const std::vector<Description> table = {
        {4, "100", "8000", 80, 100, 8000},      {5, "50", "12000", 184, 50, 12000},
        {16, "100", "4800", 48, 100, 4800},     {17, "100", "12000", 220, 100, 12000},
        {18, "100", "4800", 48, 100, 4800},     {25, "100", "30000", 174, 100, 30000},
        {37, "100", "10000", 60, 100, 10000},   {38, "200", "10000", 59, 200, 10000},
        {53, "100", "16000", 160, 100, 16000},  {149, "50", "26000", 520, 50, 26000},
        {150, "100", "32000", 640, 100, 38000}, {0, "50", "26000", 520, 50, 26000},
        {6, "50", "26000", 520, 50, 26000},     {255, "50", "26000", 520, 50, 26000},
    };
    for (const Description& d : table) {
        SensorDpiRules rules = SensorDpiRules::ForSensor(d.code);
        EXPECT_EQ(rules.LowLabel(), d.low) << d.code;
        EXPECT_EQ(rules.HighLabel(), d.high) << d.code;
        EXPECT_EQ(rules.Steps(), d.steps) << d.code;
        EXPECT_EQ(rules.MinDpi(), d.minDpi) << d.code;
        EXPECT_EQ(rules.MaxDpi(), d.maxDpi) << d.code;
        EXPECT_EQ(rules.SensorCode(), d.code);
    }
    EXPECT_TRUE(SensorDpiRules::ForSensor(6).IsOther());
    EXPECT_FALSE(SensorDpiRules::ForSensor(149).IsOther());
    EXPECT_EQ(SensorDpiRules::ForSensor(150).SliderLowestPosition(), 2);
    EXPECT_EQ(SensorDpiRules::ForSensor(17).SliderLowestPosition(), 2);
    EXPECT_FALSE(SensorDpiRules::ForSensor(149).SliderLowestPosition().has_value());
}

struct Point {
    int code;
    int input;
    int expected;
};

TEST(SensorDpiRules, SliderValueToDpiAtEndsAndBends) {
    const std::vector<Point> table = {
        {4, 1, 100},          {4, 80, 8000},     {4, 81, 8000},    {5, 1, 50},
        {5, 128, 6400},       {5, 129, 6500},    {5, 184, 12000},  {5, 200, 12000},
        {16, 48, 4800},       {16, 49, 4800},    {18, 12, 1200},   {17, 2, 100},
        {17, 199, 9950},      {17, 200, 10000},  {17, 201, 10100}, {17, 220, 12000},
        {17, 230, 12000},     {25, 1, 100},      {25, 159, 15900}, {25, 160, 16000},
        {25, 161, 17000},     {25, 174, 30000},  {25, 175, 30000}, {37, 50, 5000},
        {37, 51, 5500},       {37, 60, 10000},   {37, 61, 10000},  {38, 1, 200},
        {38, 49, 5000},       {38, 50, 5500},    {38, 59, 10000},  {38, 70, 10000},
        {53, 1, 100},         {53, 160, 16000},  {53, 161, 16000}, {149, 1, 50},
        {149, 520, 26000},    {149, 521, 26000}, {150, 2, 100},    {150, 520, 26000},
        {150, 640, 26000},    {99, 1, 50},       {99, 520, 26000}, {99, 600, 26000},
        {99, INT_MAX, 26000},
    };
    for (const Point& p : table) {
        EXPECT_EQ(SensorDpiRules::ForSensor(p.code).SliderToDpi(p.input), p.expected)
            << "sensor " << p.code << " slider " << p.input;
    }
}

TEST(SensorDpiRules, DpiToSliderValueAtEndsAndBends) {
    const std::vector<Point> table = {
        {4, 8000, 80},    {4, 150, 1},      {5, 6400, 128},    {5, 6500, 129},   {5, 12000, 184},
        {16, 4800, 48},   {18, 100, 1},     {17, 9950, 199},   {17, 10000, 200}, {17, 12000, 220},
        {25, 15900, 159}, {25, 16000, 160}, {25, 30000, 174},  {37, 5000, 50},   {37, 5500, 51},
        {37, 10000, 60},  {38, 200, 1},     {38, 5000, 49},    {38, 5500, 50},   {38, 10000, 59},
        {53, 16000, 160}, {149, 800, 16},   {149, 26000, 520}, {150, 800, 16},   {150, 26000, 520},
        {99, 800, 16},    {99, 26000, 520},
    };
    for (const Point& p : table) {
        EXPECT_EQ(SensorDpiRules::ForSensor(p.code).DpiToSlider(p.input), p.expected)
            << "sensor " << p.code << " dpi " << p.input;
    }
}

// The slider's left end (its lowest position) and right end (its step count) give the values
// their labels show: the left end the sensor's minimum, the right end the highest DPI a typed
// value can reach. Sensor 150 keeps its "32000" label over values that stop at 26000
// (checked in LabelsStepsAndLimitsOfEverySensor), so only its left end is checked here.
TEST(SensorDpiRules, SliderEndsGiveTheValuesTheirLabelsShow) {
    {
        SensorDpiRules rules = SensorDpiRules::ForSensor(150);
        EXPECT_EQ(std::to_string(rules.SliderToDpi(2)), rules.LowLabel());
    }
    for (int code : {4, 5, 16, 17, 18, 25, 37, 38, 53, 149, 99}) {
        SensorDpiRules rules = SensorDpiRules::ForSensor(code);
        const int left = rules.SliderToDpi(rules.SliderLowestPosition().value_or(1));
        const int right = rules.SliderToDpi(rules.Steps());
        EXPECT_EQ(std::to_string(left), rules.LowLabel()) << "sensor " << code;
        EXPECT_EQ(left, rules.MinDpi()) << "sensor " << code;
        EXPECT_EQ(std::to_string(right), rules.HighLabel()) << "sensor " << code;
        EXPECT_EQ(right, rules.SnapTypedDpi(INT_MAX)) << "sensor " << code;
        EXPECT_EQ(rules.DpiToSlider(right), rules.Steps()) << "sensor " << code;
    }
}

TEST(SensorDpiRules, SlidersWithOwnGridMapEveryValueBack) {
    // For these sensors the slider value a DPI is shown at produces that DPI again.
    for (int code : {4, 5, 16, 17, 18, 25, 37, 38, 53, 99}) {
        SensorDpiRules rules = SensorDpiRules::ForSensor(code);
        int first = code == 38 ? 0 : 1;
        for (int n = first; n <= rules.Steps(); ++n) {
            int dpi = rules.SliderToDpi(n);
            EXPECT_EQ(rules.SliderToDpi(rules.DpiToSlider(dpi)), dpi)
                << "sensor " << code << " slider " << n;
        }
    }
}

TEST(SensorDpiRules, TypedValuesSnapToTheSensorsGrid) {
    const std::vector<Point> table = {
        {4, 99, 100},
        {4, 150, 100},
        {4, 8099, 8000},
        {4, -5, 100},
        {5, 49, 50},
        {5, 6475, 6450},
        {5, 12049, 12000},
        {16, 4801, 4800},
        {18, 250, 200},
        {17, 99, 100},
        {17, 9975, 9950},
        {17, 10000, 10000},
        {17, 10050, 10000},
        {17, 10150, 10100},
        {17, 12345, 12000},
        // Sensor 25 follows its slider: hundreds below 16000, thousands above.
        {25, 50, 100},
        {25, 15999, 15900},
        {25, 16000, 16000},
        {25, 16999, 16000},
        {25, 29999, 29000},
        {25, 30000, 30000},
        {25, 45000, 30000},
        {37, 99, 100},
        {37, 5099, 5000},
        {37, 5999, 5000},
        {37, 6000, 6000},
        {37, 9999, 9000},
        {37, 12000, 10000},
        {38, 150, 200},
        {38, 199, 200},
        {38, 5550, 5500},
        {38, 10099, 10000},
        {53, 16050, 16000},
        {53, 1234, 1200},
        {149, 26049, 26000},
        {149, 75, 50},
        {150, 30000, 26000},
        {150, 125, 100},
        {99, 40, 50},
        {99, 26100, 26000},
        {99, INT_MIN, 50},
        {99, INT_MAX, 26000},
    };
    for (const Point& p : table) {
        EXPECT_EQ(SensorDpiRules::ForSensor(p.code).SnapTypedDpi(p.input), p.expected)
            << "sensor " << p.code << " typed " << p.input;
    }
}

}  // namespace
}  // namespace kestrix
