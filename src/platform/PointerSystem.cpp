// SPDX-License-Identifier: MIT
#include "platform/PointerSystem.h"

#include "base/Log.h"
#include "base/Text.h"
#include "platform/ProgramRunner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace kestrix {
namespace {

constexpr char kMouseSchema[] = "org.gnome.desktop.peripherals.mouse";
constexpr char kDaemonMouseSchema[] = "org.gnome.settings-daemon.peripherals.mouse";
constexpr char kSpeedKey[] = "speed";
constexpr char kAccelProfileKey[] = "accel-profile";
constexpr char kDoubleClickKey[] = "double-click";
constexpr int kDefaultSpeed = 10;
constexpr int kMinSpeed = 1;
constexpr int kMaxSpeed = 20;

bool HasKey(const std::string& keyList, std::string_view key) {
    size_t start = 0;
    while (start < keyList.size()) {
        size_t end = keyList.find('\n', start);
        if (end == std::string::npos) end = keyList.size();
        if (std::string_view(keyList).substr(start, end - start) == key) return true;
        start = end + 1;
    }
    return false;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

double GnomePointerSystem::SpeedToGsettings(int speed) {
    speed = std::clamp(speed, kMinSpeed, kMaxSpeed);
    if (speed <= kDefaultSpeed)
        return static_cast<double>(speed - kDefaultSpeed) / (kDefaultSpeed - kMinSpeed);
    return static_cast<double>(speed - kDefaultSpeed) / (kMaxSpeed - kDefaultSpeed);
}

int GnomePointerSystem::SpeedFromGsettings(double value) {
    value = std::clamp(value, -1.0, 1.0);
    const double span = value <= 0 ? kDefaultSpeed - kMinSpeed : kMaxSpeed - kDefaultSpeed;
    return std::clamp(static_cast<int>(std::lround(kDefaultSpeed + value * span)), kMinSpeed,
                      kMaxSpeed);
}

void GnomePointerSystem::Detect() {
    if (m_detected) return;
    m_detected = true;
    std::string keys;
    std::string errors;
    if (FindProgram("gsettings").empty()) {
        LogLine(
            "pointer settings: the desktop offers no such setting (no gsettings program); "
            "values are only stored");
        return;
    }
    if (RunProgram({"gsettings", "list-keys", kMouseSchema}, &keys, &errors) != 0) {
        LogLine(
            "pointer settings: the desktop offers no such setting (no GSettings schema %s: %s); "
            "values are only stored",
            kMouseSchema, FirstLine(errors).c_str());
        return;
    }
    m_available = HasKey(keys, kSpeedKey) && HasKey(keys, kAccelProfileKey);
    if (!m_available) {
        LogLine(
            "pointer settings: the desktop offers no such setting (%s lacks speed or "
            "accel-profile); "
            "values are only stored",
            kMouseSchema);
        return;
    }
    if (HasKey(keys, kDoubleClickKey)) {
        m_doubleClickSchema = kMouseSchema;
    } else {
        std::string daemonKeys;
        if (RunProgram({"gsettings", "list-keys", kDaemonMouseSchema}, &daemonKeys) == 0 &&
            HasKey(daemonKeys, kDoubleClickKey)) {
            m_doubleClickSchema = kDaemonMouseSchema;
        } else {
            LogLine(
                "pointer settings: the desktop offers no double-click setting; the time is only "
                "stored");
        }
    }
}

bool GnomePointerSystem::Set(const std::string& schema, const char* key, const std::string& value) {
    std::string errors;
    const int status = RunProgram({"gsettings", "set", schema, key, value}, nullptr, &errors);
    if (status != 0) {
        LogLine("pointer settings: gsettings set %s %s %s failed (status %d): %s", schema.c_str(),
                key, value.c_str(), status, FirstLine(errors).c_str());
        return false;
    }
    return true;
}

std::optional<std::string> GnomePointerSystem::Get(const std::string& schema, const char* key) {
    std::string output;
    std::string errors;
    const int status = RunProgram({"gsettings", "get", schema, key}, &output, &errors);
    if (status != 0) {
        LogLine("pointer settings: gsettings get %s %s failed (status %d): %s", schema.c_str(), key,
                status, FirstLine(errors).c_str());
        return std::nullopt;
    }
    return Trimmed(std::move(output));
}

bool GnomePointerSystem::Available() {
    std::lock_guard guard(m_mutex);
    Detect();
    return m_available;
}

bool GnomePointerSystem::SetPointerSpeed(int speed) {
    std::lock_guard guard(m_mutex);
    Detect();
    if (!m_available) return false;
    // to_chars writes the shortest exact form and, unlike printf, never a locale's comma.
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, SpeedToGsettings(speed));
    return Set(kMouseSchema, kSpeedKey, std::string(text, result.ptr));
}

bool GnomePointerSystem::SetEnhancedPrecision(bool enabled) {
    std::lock_guard guard(m_mutex);
    Detect();
    if (!m_available) return false;
    return Set(kMouseSchema, kAccelProfileKey, enabled ? "'adaptive'" : "'flat'");
}

bool GnomePointerSystem::SetWheelScrollLines(int /*lines*/) {
    std::lock_guard guard(m_mutex);
    if (!m_wheelNoted) {
        m_wheelNoted = true;
        LogLine(
            "pointer settings: the desktop offers no wheel-lines setting; the value is only "
            "stored");
    }
    return false;
}

bool GnomePointerSystem::SetDoubleClickTime(int milliseconds) {
    std::lock_guard guard(m_mutex);
    Detect();
    if (!m_available || m_doubleClickSchema.empty()) return false;
    if (milliseconds <= 0) {
        LogLine("pointer settings: double-click time %d ms not applied", milliseconds);
        return false;
    }
    return Set(m_doubleClickSchema, kDoubleClickKey, std::to_string(milliseconds));
}

std::optional<int> GnomePointerSystem::PointerSpeed() {
    std::lock_guard guard(m_mutex);
    Detect();
    if (!m_available) return std::nullopt;
    const std::optional<std::string> text = Get(kMouseSchema, kSpeedKey);
    if (!text) return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc()) {
        LogLine("pointer settings: unreadable speed \"%s\"", text->c_str());
        return std::nullopt;
    }
    return SpeedFromGsettings(value);
}

std::optional<bool> GnomePointerSystem::EnhancedPrecision() {
    std::lock_guard guard(m_mutex);
    Detect();
    if (!m_available) return std::nullopt;
    const std::optional<std::string> text = Get(kMouseSchema, kAccelProfileKey);
    if (!text) return std::nullopt;
    // "default" leaves the choice to the input driver, whose default is adaptive.
    return *text != "'flat'";
}

std::optional<int> GnomePointerSystem::DoubleClickTime() {
    std::lock_guard guard(m_mutex);
    Detect();
    if (!m_available || m_doubleClickSchema.empty()) return std::nullopt;
    std::optional<std::string> text = Get(m_doubleClickSchema, kDoubleClickKey);
    if (!text) return std::nullopt;
    // GVariant text may carry a type prefix such as "int32 ".
    const size_t space = text->rfind(' ');
    const int milliseconds =
        ParseDecimal(space == std::string::npos ? *text : text->substr(space + 1));
    if (milliseconds <= 0) return std::nullopt;
    return milliseconds;
}

}  // namespace kestrix
