// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "cli/CommandStatus.h"

namespace kestrix {

// What every command gets: how to open its session, where to print, and --yes.
struct CommandContext {
    SessionSetup setup;
    CliOutput& output;
    bool confirmed = false;  // --yes: confirms the changes the window program asks about
    // The folder relative FILE arguments are taken from; empty = the process's own (the window
    // program runs a forwarded command with kestrixctl's folder here).
    std::string workingDirectory;

    // Where a FILE argument is read or written; output and messages keep the path as given.
    std::string LocalPath(const std::string& path) const {
        if (workingDirectory.empty() || path.empty() || path.front() == '/') return path;
        return workingDirectory + "/" + path;
    }
};

// Each command opens its own session, prints its result on success and returns its status;
// a failed status is printed by the caller. Nothing is stored when a value is refused.

// devices: every attached interface of a supported mouse with its identity.
CommandStatus DevicesCommand(CommandContext& context);
// info: identity of the selected mouse.
CommandStatus InfoCommand(CommandContext& context);
// read: reads the mouse into the current profile (task 4) and prints the settings.
CommandStatus ReadCommand(CommandContext& context);
// get [KEY]: one or every setting of the current profile.
CommandStatus GetCommand(CommandContext& context, const std::optional<std::string>& key);
// set KEY VALUE: checks, stores and sends one setting with the task that owns its key.
CommandStatus SetCommand(CommandContext& context, const std::string& key, const std::string& value);
// apply (5), reset-dpi (18), factory-reset (20, needs --yes).
CommandStatus TaskCommand(CommandContext& context, DeviceTask task);

// profile list | use N | rename N NAME | export FILE | import FILE.
CommandStatus ProfileListCommand(CommandContext& context);
CommandStatus ProfileUseCommand(CommandContext& context, const std::string& profile);
CommandStatus ProfileRenameCommand(CommandContext& context, const std::string& profile,
                                   const std::string& name);
CommandStatus ProfileExportCommand(CommandContext& context, const std::string& path);
CommandStatus ProfileImportCommand(CommandContext& context, const std::string& path);

// button list | set KEYCODE TYPE VALUE [VALUE2] | reset KEYCODE|all.
CommandStatus ButtonListCommand(CommandContext& context);
CommandStatus ButtonSetCommand(CommandContext& context, const std::string& keyCode,
                               const std::string& type, const std::string& value,
                               const std::optional<std::string>& value2);
CommandStatus ButtonResetCommand(CommandContext& context, const std::string& keyCode);

// macro list | show ID | new NAME | delete ID | import FILE | import-list FILE | export ID FILE |
// export-all FILE.
CommandStatus MacroListCommand(CommandContext& context);
CommandStatus MacroShowCommand(CommandContext& context, const std::string& id);
CommandStatus MacroNewCommand(CommandContext& context, const std::string& name);
CommandStatus MacroDeleteCommand(CommandContext& context, const std::string& id);
CommandStatus MacroImportCommand(CommandContext& context, const std::string& path, bool list);
CommandStatus MacroExportCommand(CommandContext& context, const std::string& id,
                                 const std::string& path);
CommandStatus MacroExportAllCommand(CommandContext& context, const std::string& path);

// light list | use MODE | set MODE brightness|speed|color1..color7 VALUE.
CommandStatus LightListCommand(CommandContext& context);
CommandStatus LightUseCommand(CommandContext& context, const std::string& mode);
CommandStatus LightSetCommand(CommandContext& context, const std::string& mode,
                              const std::string& field, const std::string& value);

// The current profile as {"id", "name"}.
CliDocument ProfileDocument(CliSession& session);
// The settings of the current profile as a document (numbers as integers), in table order.
CliDocument SettingsDocument(CliSession& session);

}  // namespace kestrix
