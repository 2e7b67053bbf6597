// SPDX-License-Identifier: MIT
#include "cli/CliEvents.h"

namespace kestrix {

CliEvents::Snapshot CliEvents::Reported() const {
    std::lock_guard lock(m_mutex);
    return m_reported;
}

void CliEvents::SetCaption(int textId) {
    std::lock_guard lock(m_mutex);
    m_reported.captionTextId = textId;
}

void CliEvents::SetBatteryInfo(int level, int charge) {
    std::lock_guard lock(m_mutex);
    m_reported.batteryLevel = level;
    m_reported.batteryCharge = charge;
}

void CliEvents::ShowFirmwareVersion(const std::string& versionText) {
    std::lock_guard lock(m_mutex);
    m_reported.firmwareVersion = versionText;
}

}  // namespace kestrix
