// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "ui/DuiTypes.h"

namespace DUI {

class MWindow;
struct TrayIconImpl;

// The notification-area icon. Mouse events on it reach the owner window as the callback
// message with the mouse message in lParam: kWmLButtonDown (513) for a left click,
// kWmLButtonDblClk (515) for a double click, kWmRButtonUp (517) for a right click (the
// owner shows its menu). UI thread only.
class MTrayIcon {
  public:
    MTrayIcon();
    ~MTrayIcon();
    MTrayIcon(const MTrayIcon&) = delete;
    MTrayIcon& operator=(const MTrayIcon&) = delete;

    // True when the desktop has a notification area to show the icon in.
    static bool IsAvailable();
    // Shows the icon (image file), with the tool tip, reporting to owner with message.
    // False (logged) when no notification area exists or the image cannot be read; the
    // icon is then not shown.
    bool Add(MWindow* owner, unsigned message, const std::string& iconPath, const std::string& tip);
    // Removes the icon; harmless when it is not shown.
    void Remove();
    // True between a successful Add and Remove.
    bool IsShown() const;
    // Changes the tool tip.
    void SetTip(const std::string& tip);
    // Sends the owner what a click of this kind (513, 515, 517) would send (tests, menus).
    void Simulate(unsigned mouseMessage);

  private:
    std::unique_ptr<TrayIconImpl> m_impl;
};

}  // namespace DUI
