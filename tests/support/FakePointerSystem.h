// SPDX-License-Identifier: MIT
#pragma once

#include "platform/PointerSystem.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kestrix {

// The desktop's pointer settings in memory: every value applied is kept and every call is
// recorded as "speed 20", "precision 1", "wheel 3", "doubleclick 200", in order.
class FakePointerSystem final : public PointerSystem {
  public:
    // available: whether the desktop offers the settings; without them nothing is kept.
    explicit FakePointerSystem(bool available = true);

    bool Available() override;
    bool SetPointerSpeed(int speed) override;
    bool SetEnhancedPrecision(bool enabled) override;
    bool SetWheelScrollLines(int lines) override;
    bool SetDoubleClickTime(int milliseconds) override;
    std::optional<int> PointerSpeed() override;
    std::optional<bool> EnhancedPrecision() override;
    std::optional<int> DoubleClickTime() override;

    // The last wheel lines applied (kWheelPageScroll for one screen).
    std::optional<int> WheelScrollLines() const;
    // Every setter call, in order, also when not available.
    std::vector<std::string> Calls() const;

  private:
    mutable std::mutex m_mutex;
    bool m_available;
    std::optional<int> m_speed;
    std::optional<bool> m_precision;
    std::optional<int> m_wheelLines;
    std::optional<int> m_doubleClick;
    std::vector<std::string> m_calls;
};

}  // namespace kestrix
