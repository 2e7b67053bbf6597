// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// Language texts of the update check.
inline constexpr int kTextUpToDate = 580;
inline constexpr int kTextUpdateTitle = 581;
inline constexpr int kTextNewVersion = 582;
inline constexpr int kTextUpdateQuestion = 583;
// Said after a newer version when the system's package manager updates the program.
inline constexpr int kTextUpdateThroughSystem = 618;
inline constexpr int kTextFirmwareTitle = 551;
// Firmware check result when the mouse has not told its own version.
inline constexpr int kTextFirmwareNotCompared = 661;

// text without the white space around it (a version file may end in a line break).
std::string_view TrimVersionText(std::string_view text);
// Compares two dotted version texts, each without its surrounding white space: 2 when their
// numbers of parts differ, else for the first differing part (read as decimal, non-digits as
// 0) 1 when current is older and -1 when it is newer; 0 when all parts are equal. Above 0
// means an update is offered.
int CompareVersions(std::string_view current, std::string_view latest);

// "<newVersion>: v<version>", the settings-page label of a newer application.
std::string ApplicationVersionLabel(std::string_view newVersionText, std::string_view version);
// Lower text of the application prompt: "<newVersion>:v<version>, <question>".
std::string ApplicationPromptText(std::string_view newVersionText, std::string_view version,
                                  std::string_view question);
// Lower text of the firmware prompt: "<newVersion>:v<first>.<last two>, <question>".
std::string FirmwarePromptText(std::string_view newVersionText, std::string_view version,
                               std::string_view question);

}  // namespace kestrix
