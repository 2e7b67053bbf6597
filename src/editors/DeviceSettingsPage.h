// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "editors/EditorPage.h"

namespace kestrix {

class DesktopLauncher;

// The device-settings tab: the mouse's sensor and power options of the current profile
// (lift-off distance, sensor option bits, button response, sleep delay, the two motion
// options), stored at once and sent by their device task, and the desktop's pointer settings
// (speed, enhanced precision, wheel scrolling, double-click time), recorded per profile and
// applied to the desktop either at once or by the worker through task 22.
class DeviceSettingsPage : public EditorPage {
  public:
    // Control ids: mouse options.
    static constexpr int kLiftOff1Id = 129;
    static constexpr int kLiftOff2Id = 130;
    static constexpr int kSensorBit4Id = 134;
    static constexpr int kSensorBit8Id = 135;
    static constexpr int kSensorBit16Id = 136;
    static constexpr int kButtonResponseId = 139;
    static constexpr int kMoveWakeupId = 143;
    static constexpr int kMoveCloseLightId = 144;
    static constexpr int kSleepId = 145;
    // Control ids: desktop pointer settings.
    static constexpr int kMouseSettingsId = 149;
    static constexpr int kPointerSpeedId = 255;
    static constexpr int kPrecisionId = 259;
    static constexpr int kWheelSliderId = 261;
    static constexpr int kWheelLinesId = 264;
    static constexpr int kScrollScreenId = 265;
    static constexpr int kScrollLinesId = 266;
    static constexpr int kDoubleClickId = 268;

    // The pointer change task 22 applies.
    enum class PendingChange : int { None = 0, PointerSpeed = 1, WheelLines = 2, DoubleClick = 3 };

    // context must outlive the page. launcher opens the desktop's mouse settings (button 149);
    // null uses the desktop's own (gnome-control-center or systemsettings).
    explicit DeviceSettingsPage(EditorContext& context, DesktopLauncher* launcher = nullptr);
    ~DeviceSettingsPage() override;

    // EditorPage.
    void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) override;
    void Layout(const DUI::Rect& rect) override;
    bool OnMessage(int id, int code, std::intptr_t param) override;
    // Fills the mouse options from the current profile's settings (and shows or hides the
    // lift-off and sensor groups by the model), and the pointer settings from the desktop.
    void Refresh() override;
    void ApplyTexts() override;

    // Task 22, on the worker thread: applies the pending pointer change to the desktop (speed,
    // wheel lines or double-click time). After a double-click change the slider and its label
    // are refreshed on the UI thread.
    void ApplyPendingPointerChange();
    // The change the next task 22 applies.
    PendingChange Pending() const { return static_cast<PendingChange>(m_pending.load()); }

    // Double-click time of slider position p: 900 - 70 p for 0..10, any other position as is.
    static int DoubleClickTimeOf(int position);

  private:
    void OnLiftOff();
    void OnSensorBox();
    void OnButtonResponse(int code);
    void OnSleep();
    void OnMotionBox(int id);
    void OnPointerSpeed(int code);
    void OnPrecision();
    void OnWheelSlider(int code);
    void OnWheelLines(int code);
    void OnScrollMode();
    void OnDoubleClick(int code);

    // Appends task and asks for the save-wait window when the model wants it.
    void Queue(DeviceTask task);
    // Sets the pending change and queues task 22.
    void QueuePointerChange(PendingChange change);
    // Shows the pointer controls as the desktop (or, without it, the store) has them.
    void RefreshPointerControls();
    // Shows the double-click slider and label for a time in ms.
    void ShowDoubleClickTime(int milliseconds);
    // Shows the wheel mode (true = by lines) with lines in the edit and slider.
    void ShowWheelMode(bool byLines, int lines);
    // Shows or hides the lift-off and sensor groups by the model and lays out again.
    void ApplyModelGroups();

    int GetInt(const std::string& key, int fallback = 0) const;
    std::string GetText(const std::string& key) const;
    void SetInt(const std::string& key, int value);
    void SetText(const std::string& key, const std::string& value);
    int Checked(int id) const;
    void SetChecked(int id, bool checked);

    EditorContext& m_context;
    DesktopLauncher* m_launcher;
    std::unique_ptr<DesktopLauncher> m_ownLauncher;
    DUI::MDialog* m_owner = nullptr;
    DUI::MControl* m_devicePanel = nullptr;
    DUI::MControl* m_pointerPanel = nullptr;
    DUI::Rect m_rect;
    // Written by the UI thread before task 22 is queued, read by the worker when it runs.
    std::atomic<int> m_pending{0};
    std::atomic<int> m_pendingSpeed{10};
    std::atomic<int> m_pendingWheelLines{3};
    std::atomic<int> m_pendingDoubleClick{550};
    // Cleared when the page goes, so a refresh posted by the worker finds no page.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace kestrix
