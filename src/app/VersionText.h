// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// "%s: v%s.%s" of prefix, the first character and the last two characters of a firmware
// version text ("105" -> "v1.05"). A text of fewer than three characters is split without
// reading outside it ("7" -> "v7.").
std::string FormatFirmwareVersion(std::string_view prefix, std::string_view versionText);

// The "%s.%s" part alone: first character, '.', last two characters ("105" -> "1.05").
std::string FirmwareVersionDigits(std::string_view versionText);

}  // namespace kestrix
