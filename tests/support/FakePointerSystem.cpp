// SPDX-License-Identifier: MIT
#include "support/FakePointerSystem.h"

#include <algorithm>

namespace kestrix {

FakePointerSystem::FakePointerSystem(bool available) : m_available(available) {}

bool FakePointerSystem::Available() {
    std::lock_guard guard(m_mutex);
    return m_available;
}

bool FakePointerSystem::SetPointerSpeed(int speed) {
    std::lock_guard guard(m_mutex);
    speed = std::clamp(speed, 1, 20);
    m_calls.push_back("speed " + std::to_string(speed));
    if (m_available) m_speed = speed;
    return m_available;
}

bool FakePointerSystem::SetEnhancedPrecision(bool enabled) {
    std::lock_guard guard(m_mutex);
    m_calls.push_back(enabled ? "precision 1" : "precision 0");
    if (m_available) m_precision = enabled;
    return m_available;
}

bool FakePointerSystem::SetWheelScrollLines(int lines) {
    std::lock_guard guard(m_mutex);
    m_calls.push_back("wheel " + std::to_string(lines));
    if (m_available) m_wheelLines = lines;
    return m_available;
}

bool FakePointerSystem::SetDoubleClickTime(int milliseconds) {
    std::lock_guard guard(m_mutex);
    m_calls.push_back("doubleclick " + std::to_string(milliseconds));
    if (m_available && milliseconds > 0) m_doubleClick = milliseconds;
    return m_available && milliseconds > 0;
}

std::optional<int> FakePointerSystem::PointerSpeed() {
    std::lock_guard guard(m_mutex);
    return m_speed;
}

std::optional<bool> FakePointerSystem::EnhancedPrecision() {
    std::lock_guard guard(m_mutex);
    return m_precision;
}

std::optional<int> FakePointerSystem::DoubleClickTime() {
    std::lock_guard guard(m_mutex);
    return m_doubleClick;
}

std::optional<int> FakePointerSystem::WheelScrollLines() const {
    std::lock_guard guard(m_mutex);
    return m_wheelLines;
}

std::vector<std::string> FakePointerSystem::Calls() const {
    std::lock_guard guard(m_mutex);
    return m_calls;
}

}  // namespace kestrix
