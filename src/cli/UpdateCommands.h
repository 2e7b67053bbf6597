// SPDX-License-Identifier: MIT
#pragma once

#include "cli/CliCommands.h"

namespace kestrix {

// update check: asks the update server named in config.xml for the application version and
// prints the program's version, the server's and the state (0 no answer, 1 newer, 2 current).
CommandStatus UpdateCheckCommand(CommandContext& context);
// firmware check: reads the mouse, asks its model's firmware service for the latest version
// and prints both versions and the state (1 newer, 2 current, 3 not compared: the mouse did
// not tell its version).
CommandStatus FirmwareCheckCommand(CommandContext& context);
// firmware upgrade (needs --yes): the firmware check, then, when a newer version is found,
// downloads and flashes it, printing each progress text of the firmware window.
CommandStatus FirmwareUpgradeCommand(CommandContext& context);

}  // namespace kestrix
