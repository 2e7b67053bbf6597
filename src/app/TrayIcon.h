// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace DUI {
class MWindow;
class MTrayIcon;
}  // namespace DUI

namespace kestrix {

// The main window's notification-area icon: tip = program name; mouse events reach the
// owner as WM_TRAY_NOTIFY (1690) with the mouse message in lParam; the right-click menu has
// one item that reaches the owner as WM_COMMAND 100. The icon's existence is the flag that
// it is shown: Remove is harmless when it is gone.
class TrayIcon {
  public:
    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // True when the desktop shows tray icons.
    static bool Available();
    // Adds the icon for owner; false when the desktop has no tray (nothing is shown).
    bool Add(DUI::MWindow& owner, const std::string& iconPath, const std::string& tip);
    // Removes the icon; nothing when it is not shown.
    void Remove();
    // True between Add and Remove.
    bool IsShown() const;
    // The pop-up menu at the pointer with one item (exitText) that posts WM_COMMAND 100.
    void ShowMenu(DUI::MWindow& owner, const std::string& exitText);
    // Sends the owner what a click of this kind (513, 515, 517) would (tests).
    void Simulate(unsigned mouseMessage);
    // The tip text (program name, with the battery level once the mouse reported one).
    const std::string& Tip() const { return m_tip; }
    // Changes the tip text (kept for a later Add while the icon is not shown).
    void SetTip(const std::string& tip);

  private:
    std::unique_ptr<DUI::MTrayIcon> m_icon;
    std::string m_tip;
};

}  // namespace kestrix
