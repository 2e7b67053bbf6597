// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix::bus {

// Decides when a low battery is worth a desktop notification: once when the level reaches the
// threshold or below, and again only after the mouse charged above it. Pure.
class LowBatteryAlarm {
  public:
    // Default threshold in percent.
    static constexpr int kDefaultPercent = 15;

    // A battery report of level percent (charging: value A says so). True when this report
    // warrants the notification: at or below threshold, not charging, and not warned since the
    // level was last above it. A threshold of 0 never warns; a level of 0 or below is no
    // report and changes nothing.
    bool OnLevel(int level, bool charging, int threshold);

  private:
    bool m_armed = true;
};

}  // namespace kestrix::bus
