// SPDX-License-Identifier: MIT
#include "device/DeviceEvents.h"

namespace kestrix {

std::string FirmwareVersionLabel(std::string_view caption, std::string_view versionText) {
    std::string label(caption);
    label += ": ";
    if (!versionText.empty()) label += versionText.front();
    label += '.';
    label += versionText.size() >= 2 ? versionText.substr(versionText.size() - 2) : versionText;
    return label;
}

}  // namespace kestrix
