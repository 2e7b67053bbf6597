// SPDX-License-Identifier: MIT
#include "app/VersionText.h"

namespace kestrix {

std::string FirmwareVersionDigits(std::string_view versionText) {
    const std::string_view major = versionText.substr(0, 1);
    const std::string_view minor = versionText.size() >= 3
                                       ? versionText.substr(versionText.size() - 2)
                                       : versionText.substr(major.size());
    std::string digits(major);
    digits += '.';
    digits += minor;
    return digits;
}

std::string FormatFirmwareVersion(std::string_view prefix, std::string_view versionText) {
    std::string line(prefix);
    line += ": v";
    line += FirmwareVersionDigits(versionText);
    return line;
}

}  // namespace kestrix
