// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace kestrix {

// Wheel lines value meaning "one screen per notch".
inline constexpr int kWheelPageScroll = -1;

// The desktop's pointer settings. Every setter returns whether the desktop took the value;
// callers keep their own record of it either way, so false is not an error to show.
class PointerSystem {
  public:
    virtual ~PointerSystem() = default;
    // True when the desktop offers pointer settings these calls change.
    virtual bool Available() = 0;
    // Pointer speed 1 (slowest) to 20; values outside are clamped.
    virtual bool SetPointerSpeed(int speed) = 0;
    // Enhanced pointer precision: acceleration on or off.
    virtual bool SetEnhancedPrecision(bool enabled) = 0;
    // Lines per wheel notch, or kWheelPageScroll.
    virtual bool SetWheelScrollLines(int lines) = 0;
    // Double-click time in milliseconds (more than 0).
    virtual bool SetDoubleClickTime(int milliseconds) = 0;
    // The desktop's current pointer speed as 1 to 20; nothing when it offers none.
    virtual std::optional<int> PointerSpeed() = 0;
    // The desktop's current acceleration state; nothing when it offers none.
    virtual std::optional<bool> EnhancedPrecision() = 0;
    // The desktop's current double-click time in ms; nothing when it offers none.
    virtual std::optional<int> DoubleClickTime() = 0;
    // listener is called (on any thread) when the values the getters return changed: the
    // desktop's settings were read at last, or changed outside this program. An empty
    // function removes it. The default keeps nothing: such a system never changes by itself.
    virtual void SetChangeListener(std::function<void()> listener) { (void)listener; }
};

// GSettings through GIO: org.gnome.desktop.peripherals.mouse "speed" (-1..1) and
// "accel-profile" (adaptive/flat), "double-click" in that schema or in
// org.gnome.settings-daemon.peripherals.mouse. Wheel lines have no desktop setting there and
// are kept in the store only. Without the schema nothing is applied and one log line says so.
// The settings live on a thread of their own: it reads them once at construction, keeps the
// values, and reads a key again when the desktop reports it changed; the getters return the
// kept values without waiting (none before the first read has finished). Setters run on that
// thread and wait for it. Safe to call from the UI thread and the worker.
class GnomePointerSystem final : public PointerSystem {
  public:
    // Starts the settings thread; schemaDirectory, when given, replaces the system's
    // compiled schemas (tests).
    explicit GnomePointerSystem(const std::string& schemaDirectory = {});
    ~GnomePointerSystem() override;
    GnomePointerSystem(const GnomePointerSystem&) = delete;
    GnomePointerSystem& operator=(const GnomePointerSystem&) = delete;

    bool Available() override;
    bool SetPointerSpeed(int speed) override;
    bool SetEnhancedPrecision(bool enabled) override;
    bool SetWheelScrollLines(int lines) override;
    bool SetDoubleClickTime(int milliseconds) override;
    std::optional<int> PointerSpeed() override;
    std::optional<bool> EnhancedPrecision() override;
    std::optional<int> DoubleClickTime() override;
    void SetChangeListener(std::function<void()> listener) override;

    // Waits until the first read has finished; false when it took longer than timeout.
    bool WaitUntilRead(std::chrono::milliseconds timeout);

    // Speed 1..20 to GSettings -1..1: 10 (the default of both) is 0, 1 is -1, 20 is 1, linear
    // on either side. Values outside 1..20 are clamped.
    static double SpeedToGsettings(int speed);
    // The inverse, rounded to the nearest speed and clamped to 1..20.
    static int SpeedFromGsettings(double value);

    struct Impl;

  private:
    std::unique_ptr<Impl> m_impl;
    std::mutex m_wheelMutex;
    bool m_wheelNoted = false;
};

}  // namespace kestrix
