// SPDX-License-Identifier: MIT
#include "sim/SimSensorTable.h"

#include <algorithm>
#include <iterator>

namespace kestrix {
namespace {

constexpr int kAnySensor = -1;
constexpr int kNoEnd = 0xFFFF;

// DPI = base + raw * perRaw for raw in [firstRaw, lastRaw].
struct DecodeSegment {
    int sensor;
    int firstRaw;
    int lastRaw;
    int base;
    int perRaw;
};

constexpr DecodeSegment kDecode[] = {
    {5, 0, 128, 0, 50},
    {5, 129, kNoEnd, -6400, 100},
    {150, 0, kNoEnd, 0, 50},
    {17, 0, 199, 0, 50},
    {17, 200, kNoEnd, -10000, 100},
    {4, 0, kNoEnd, 0, 100},
    {16, 0, kNoEnd, 0, 100},
    {18, 0, kNoEnd, 0, 100},
    {53, 0, kNoEnd, 0, 100},
    {25, 0, 159, 0, 100},
    {25, 160, kNoEnd, -144000, 1000},
    {37, 0, 49, 0, 100},
    {37, 50, kNoEnd, -20000, 500},
    {38, 0, 49, 0, 100},
    {38, 50, kNoEnd, -19500, 500},
    {kAnySensor, 0, kNoEnd, 50, 50},
};

// raw = dpi / lowStep + lowOffset up to the bend, (dpi - bend) / highStep + rawAtBend above.
struct FactorySegment {
    int sensor;
    int bend;  // 0: one range only
    int lowStep;
    int lowOffset;
    int highStep;
    int rawAtBend;
};

constexpr FactorySegment kFactory[] = {
    {5, 6400, 50, 0, 100, 128},    {17, 10000, 50, 0, 100, 200}, {25, 16000, 100, 0, 1000, 160},
    {37, 5000, 100, 0, 500, 50},   {38, 5000, 100, 0, 500, 50},  {4, 0, 100, 0, 0, 0},
    {16, 0, 100, 0, 0, 0},         {18, 0, 100, 0, 0, 0},        {53, 0, 100, 0, 0, 0},
    {kAnySensor, 0, 50, -1, 0, 0},
};

}  // namespace

int SimStageDpi(uint8_t sensorCode, uint16_t raw) {
    for (const DecodeSegment& s : kDecode) {
        if ((s.sensor == sensorCode || s.sensor == kAnySensor) && raw >= s.firstRaw &&
            raw <= s.lastRaw) {
            return s.base + raw * s.perRaw;
        }
    }
    return 0;
}

uint16_t SimFactoryRaw(uint8_t sensorCode, int dpi) {
    const auto* s = std::find_if(
        std::begin(kFactory), std::end(kFactory),
        [&](const FactorySegment& f) { return f.sensor == sensorCode || f.sensor == kAnySensor; });
    const int raw = s->bend == 0 || dpi <= s->bend ? dpi / s->lowStep + s->lowOffset
                                                   : (dpi - s->bend) / s->highStep + s->rawAtBend;
    return static_cast<uint16_t>(raw);
}

}  // namespace kestrix
