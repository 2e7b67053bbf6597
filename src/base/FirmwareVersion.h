// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// A firmware version text as shown: its first character, '.', its last two characters
// ("131" -> "1.31", "1205" -> "1.05"). A shorter text is not padded: its last two characters
// are all of it ("12" -> "1.12", "7" -> "7.7"), so the result never ends in '.'. An empty
// text gives "".
std::string FirmwareVersionDigits(std::string_view version);
// "<prefix>: v<digits>", the firmware line of the main window, the about box and the update
// check ("Firmware", "131" -> "Firmware: v1.31").
std::string FormatFirmwareVersion(std::string_view prefix, std::string_view version);

}  // namespace kestrix
