// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace kestrix {

// How a DPI value maps onto the performance page for one sensor (the sensor code of the
// mouse's identity answer): slider end labels and step count, slider value <-> DPI, the
// snapping of a typed value, and the DPI limits the device state keeps. Codes without a
// row of their own use the "other" rule (50..26000 in 520 steps of 50). Pure values.
class SensorDpiRules {
  public:
    // The rule of sensorCode.
    static SensorDpiRules ForSensor(int sensorCode);

    // The sensor code asked for (also for codes that fall back to the "other" rule).
    int SensorCode() const { return m_sensorCode; }
    // True when the code has no row of its own.
    bool IsOther() const { return m_kind == Kind::Other; }
    // Text under the low end of the slider ("100").
    const std::string& LowLabel() const { return m_lowLabel; }
    // Text under the high end of the slider ("16000").
    const std::string& HighLabel() const { return m_highLabel; }
    // Number of slider steps.
    int Steps() const { return m_steps; }
    // Slider position that the slider value n counts from: 2 for sensors 17 and 150 (whose
    // slider value 1 would give 50 DPI), none (the toolkit's own default) otherwise. The
    // lowest position gives the low label's DPI and the step count the high label's.
    std::optional<int> SliderLowestPosition() const;
    // Minimum DPI for the device state (the low label's value).
    int MinDpi() const { return m_minDpi; }
    // Maximum DPI for the device state (the high label's value; 38000 for sensor 150).
    int MaxDpi() const { return m_maxDpi; }

    // DPI of slider value n (position plus lowest position), capped at the sensor's top.
    int SliderToDpi(int n) const;
    // Slider value that shows DPI d.
    int DpiToSlider(int d) const;
    // The DPI a typed integer v becomes (snapped to the sensor's grid and range).
    int SnapTypedDpi(int v) const;

  private:
    enum class Kind { S4, S5, S16, S17, S18, S25, S37, S38, S53, S149, S150, Other };
    SensorDpiRules(int sensorCode, Kind kind, const char* low, const char* high, int steps,
                   int minDpi, int maxDpi);

    int m_sensorCode;
    Kind m_kind;
    std::string m_lowLabel;
    std::string m_highLabel;
    int m_steps;
    int m_minDpi;
    int m_maxDpi;
};

}  // namespace kestrix
