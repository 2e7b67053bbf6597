// SPDX-License-Identifier: MIT
#include "device/DpiCodec.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

struct DpiCase {
    int sensor;
    int dpi;
    uint16_t raw;
};

TEST(DpiCodec, EncodesEverySensorFamilyAtAndAroundItsBend) {
    const DpiCase cases[] = {
        {5, 50, 1},        {5, 6400, 128},   {5, 6500, 129},   {5, 12000, 184}, {17, 100, 2},
        {17, 10000, 200},  {17, 10100, 201}, {17, 12000, 220}, {25, 100, 1},    {25, 16000, 160},
        {25, 17000, 161},  {25, 30000, 174}, {37, 5000, 50},   {37, 5500, 51},  {37, 10000, 60},
        {38, 200, 2},      {38, 5000, 50},   {38, 5500, 51},   {38, 10000, 60}, {4, 8000, 80},
        {16, 4800, 48},    {18, 150, 1},     {53, 16000, 160}, {149, 50, 0},    {149, 26000, 519},
        {150, 26000, 519}, {0, 800, 15},     {99, 75, 0},
    };
    for (const DpiCase& c : cases) {
        EXPECT_EQ(EncodeDpi(c.sensor, c.dpi), c.raw) << "sensor " << c.sensor << " dpi " << c.dpi;
    }
}

TEST(DpiCodec, DecodesEverySensorFamilyAtAndAroundItsBend) {
    const DpiCase cases[] = {
        {5, 6400, 128},  {5, 6500, 129},   {5, 0, 0},         {150, 25950, 519}, {150, 0, 0},
        {17, 9950, 199}, {17, 10000, 200}, {4, 0, 0},         {4, 8000, 80},     {16, 100, 1},
        {18, 4800, 48},  {53, 16000, 160}, {25, 15900, 159},  {25, 16000, 160},  {25, 17000, 161},
        {37, 4900, 49},  {37, 5000, 50},   {37, 10000, 60},   {38, 4900, 49},    {38, 5500, 50},
        {38, 10500, 60}, {149, 50, 0},     {149, 26000, 519}, {7, 100, 1},
    };
    for (const DpiCase& c : cases) {
        EXPECT_EQ(DecodeDpi(c.sensor, c.raw), c.dpi) << "sensor " << c.sensor << " raw " << c.raw;
    }
}

TEST(DpiCodec, RoundTripIsExactExceptTheTwoSensorsTheMouseShifts) {
    const int sensors[] = {4, 5, 16, 17, 18, 25, 37, 53, 149, 1};
    for (int sensor : sensors) {
        // Values on each sensor's own grid come back unchanged.
        for (int raw = 1; raw < 200; ++raw) {
            const int dpi = DecodeDpi(sensor, static_cast<uint16_t>(raw));
            EXPECT_EQ(EncodeDpi(sensor, dpi), raw) << "sensor " << sensor << " raw " << raw;
        }
    }
    EXPECT_EQ(DecodeDpi(38, EncodeDpi(38, 4900)), 4900);
    EXPECT_EQ(DecodeDpi(38, EncodeDpi(38, 5000)), 5500);
    EXPECT_EQ(DecodeDpi(38, EncodeDpi(38, 8000)), 8500);
    EXPECT_EQ(DecodeDpi(150, EncodeDpi(150, 800)), 750);
    EXPECT_EQ(DecodeDpi(150, EncodeDpi(150, 26000)), 25950);
}

}  // namespace
}  // namespace kestrix
