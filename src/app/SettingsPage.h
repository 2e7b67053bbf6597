// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace DUI {
class MDialog;
class MControl;
}  // namespace DUI

namespace kestrix {

struct AppContext;
class MainLayout;

// Control ids of the settings page.
namespace settings_id {
inline constexpr int kBackground = 272;
inline constexpr int kReturn = 273;
inline constexpr int kVersion = 274;
inline constexpr int kUpdateState = 275;
inline constexpr int kUpdateButton = 276;
inline constexpr int kReset = 277;
inline constexpr int kLanguageLabel = 278;
inline constexpr int kLanguageCombo = 279;
inline constexpr int kStartupLabel = 280;
inline constexpr int kStartAtLogon = 281;
inline constexpr int kStartMinimised = 282;
inline constexpr int kSeparator1 = 283;
inline constexpr int kSeparator2 = 284;
inline constexpr int kCloseLabel = 285;
inline constexpr int kCloseHides = 286;
inline constexpr int kCloseEnds = 287;
inline constexpr int kLinksLabel = 288;
inline constexpr int kWebsite = 289;
inline constexpr int kFeedback = 290;
inline constexpr int kQa = 291;
inline constexpr int kCheckAtStart = 292;
inline constexpr int kLowBatteryLabel = 293;
inline constexpr int kLowBatteryCombo = 294;
}  // namespace settings_id

// Update state of a check that got no usable answer (the others: 0 none yet, 1 newer version,
// 2 up to date).
inline constexpr int kUpdateStateCheckFailed = 3;

// Radio group of the close behaviour.
inline constexpr char kExitModeGroup[] = "IDC_SET_STC_EXITMODE";

// The application's settings page of the main window: language, start at log-on and start
// minimised, close behaviour, version and update state, reset to defaults and the links. It
// creates its controls in the owner window and handles the clicks that only touch the
// platform (log-on entry, stored preferences, links); the owner handles the rest.
class SettingsPage {
  public:
    SettingsPage(DUI::MDialog& owner, AppContext& context);

    // Creates every control of the page, hidden.
    void Create();
    // Places the controls for a window size.
    void Layout(const MainLayout& layout);
    // Shows or hides the whole page.
    void Show(bool show);
    // Reads the log-on entry, "autorun_minimize", "exit_mode" and "skip_update_check" into
    // the controls, and
    // offers hiding to the tray only when the desktop has a tray.
    void LoadState(bool trayAvailable);
    // Sets every text of the page from the language file; appVersion fills the version label.
    void ApplyTexts(const std::string& appVersion);
    // Shows the update state: 1 newer version (text 582 and the version, button enabled),
    // 2 up to date (text 580, button disabled), 3 the check failed (text 584, button enabled
    // to try again), 0 no answer yet (text 580).
    void SetUpdateState(int state, const std::string& latestVersion);
    // Handles a click on 281, 282, 286, 287, 289 to 291 or 292; false for any other id.
    bool HandleClick(int id);
    // Stores the low-battery warning threshold chosen in its box (registry value
    // "low_battery_percent", -1 = off).
    void StoreLowBatteryChoice();

  private:
    DUI::MControl* Control(int id) const;
    // The threshold the low-battery box shows for the stored value (0 = off).
    int StoredLowBatteryChoice() const;
    DUI::MDialog& m_owner;
    AppContext& m_context;
    int m_updateState = 0;
    std::string m_latestVersion;
};

}  // namespace kestrix
