// SPDX-License-Identifier: MIT
#include "bus/LowBatteryAlarm.h"

namespace kestrix::bus {

bool LowBatteryAlarm::OnLevel(int level, bool charging, int threshold) {
    if (level <= 0) return false;
    if (level > threshold) {
        m_armed = true;
        return false;
    }
    if (threshold <= 0 || charging || !m_armed) return false;
    m_armed = false;
    return true;
}

}  // namespace kestrix::bus
