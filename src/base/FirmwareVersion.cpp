// SPDX-License-Identifier: MIT
#include "base/FirmwareVersion.h"

namespace kestrix {

std::string FirmwareVersionDigits(std::string_view version) {
    if (version.empty()) return {};
    std::string digits(1, version.front());
    digits += '.';
    digits += version.size() >= 2 ? version.substr(version.size() - 2) : version;
    return digits;
}

std::string FormatFirmwareVersion(std::string_view prefix, std::string_view version) {
    return std::string(prefix) + ": v" + FirmwareVersionDigits(version);
}

}  // namespace kestrix
