// SPDX-License-Identifier: MIT
#include "rules/SensorDpiRules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kestrix {
namespace {

// Products are taken in 64 bits and brought back into int range, so an absurd slider value
// cannot overflow before the cap applies.
int ToInt(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

int Floor(int v, int step) { return v / step * step; }  // truncation toward zero

int Snap(int v, int step, int low, int high) { return std::clamp(Floor(v, step), low, high); }

}  // namespace

SensorDpiRules::SensorDpiRules(int sensorCode, Kind kind, const char* low, const char* high,
                               int steps, int minDpi, int maxDpi)
    : m_sensorCode(sensorCode),
      m_kind(kind),
      m_lowLabel(low),
      m_highLabel(high),
      m_steps(steps),
      m_minDpi(minDpi),
      m_maxDpi(maxDpi) {}

SensorDpiRules SensorDpiRules::ForSensor(int code) {
    switch (code) {
        case 4:
            return {code, Kind::S4, "100", "8000", 80, 100, 8000};
        // 184 steps: the top slider value is the one that gives 12000.
        case 5:
            return {code, Kind::S5, "50", "12000", 184, 50, 12000};
        case 16:
            return {code, Kind::S16, "100", "4800", 48, 100, 4800};
        case 17:
            return {code, Kind::S17, "100", "12000", 220, 100, 12000};
        case 18:
            return {code, Kind::S18, "100", "4800", 48, 100, 4800};
        // 174 steps: the top slider value is the one that gives 30000.
        case 25:
            return {code, Kind::S25, "100", "30000", 174, 100, 30000};
        case 37:
            return {code, Kind::S37, "100", "10000", 60, 100, 10000};
        case 38:
            return {code, Kind::S38, "200", "10000", 59, 200, 10000};
        case 53:
            return {code, Kind::S53, "100", "16000", 160, 100, 16000};
        case 149:
            return {code, Kind::S149, "50", "26000", 520, 50, 26000};
        // The label promises 32000 and the device state allows 38000, but the page keeps
        // slider and typed values within 26000.
        case 150:
            return {code, Kind::S150, "100", "32000", 640, 100, 38000};
        default:
            return {code, Kind::Other, "50", "26000", 520, 50, 26000};
    }
}

std::optional<int> SensorDpiRules::SliderLowestPosition() const {
    // Slider value 1 would give 50 DPI, below these sensors' minimum of 100.
    if (m_kind == Kind::S150 || m_kind == Kind::S17) return 2;
    return std::nullopt;
}

int SensorDpiRules::SliderToDpi(int n) const {
    const int64_t v = n;
    int64_t dpi = 0;
    int64_t top = 26000;
    switch (m_kind) {
        case Kind::S4:
            dpi = v * 100;
            top = 8000;
            break;
        case Kind::S5:
            dpi = v <= 128 ? v * 50 : (v - 64) * 100;
            top = 12000;
            break;
        case Kind::S16:
        case Kind::S18:
            dpi = v * 100;
            top = 4800;
            break;
        case Kind::S17:
            dpi = v * 50 < 10000 ? v * 50 : (v - 100) * 100;
            top = 12000;
            break;
        case Kind::S25:
            dpi = v * 100 < 16000 ? v * 100 : (v - 144) * 1000;
            top = 30000;
            break;
        case Kind::S37:
            dpi = v * 100 <= 5000 ? v * 100 : (v - 40) * 500;
            top = 10000;
            break;
        case Kind::S38:
            dpi = v * 100 < 5000 ? (v + 1) * 100 : (v - 39) * 500;
            top = 10000;
            break;
        case Kind::S53:
            dpi = v * 100;
            top = 16000;
            break;
        case Kind::S149:
        case Kind::S150:
        case Kind::Other:
            dpi = v * 50;
            top = 26000;
            break;
    }
    return ToInt(std::min(dpi, top));
}

int SensorDpiRules::DpiToSlider(int d) const {
    switch (m_kind) {
        case Kind::S4:
        case Kind::S16:
        case Kind::S18:
        case Kind::S53:
            return d / 100;
        case Kind::S5:
            return d <= 6400 ? d / 50 : (d - 6400) / 100 + 128;
        case Kind::S17:
            return d < 10000 ? d / 50 : (d - 10000) / 100 + 200;
        case Kind::S25:
            return d < 16000 ? d / 100 : d / 1000 + 144;
        case Kind::S37:
            return d <= 5000 ? d / 100 : (d - 5000) / 500 + 50;
        // Above 5000 the slider counts from value 49 (= 5000), so every value maps back to
        // the slider value that produced it (5500 <-> 50, 10000 <-> 59, the last step).
        case Kind::S38:
            return d <= 5000 ? d / 100 - 1 : (d - 5000) / 500 + 49;
        // The slider's value n maps to n*50, so its inverse is d/50. Placing the thumb one
        // step lower would show every stored stage 50 DPI low and store that on the next touch.
        case Kind::S149:
        case Kind::S150:
        case Kind::Other:
            return d / 50;
    }
    return 0;
}

int SensorDpiRules::SnapTypedDpi(int v) const {
    switch (m_kind) {
        case Kind::S4:
            return Snap(v, 100, 100, 8000);
        case Kind::S5:
            return Snap(v, 50, 50, 12000);
        case Kind::S16:
        case Kind::S18:
            return Snap(v, 100, 100, 4800);
        case Kind::S17:
            return Snap(v, v <= 10000 ? 50 : 100, 100, 12000);
        // The slider's own grid: hundreds below 16000, thousands from 16000 to 30000.
        case Kind::S25:
            return Snap(v, v < 16000 ? 100 : 1000, 100, 30000);
        case Kind::S37:
            if (v < 100) return 100;
            if (v <= 5000) return Floor(v, 100);
            return std::min(5000 + (v - 5000) / 1000 * 1000, 10000);
        case Kind::S38:
            return Snap(v, 100, 200, 10000);
        case Kind::S53:
            return Snap(v, 100, 100, 16000);
        case Kind::S149:
        case Kind::S150:
        case Kind::Other:
            return Snap(v, 50, 50, 26000);
    }
    return v;
}

}  // namespace kestrix
