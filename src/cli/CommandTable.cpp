// SPDX-License-Identifier: MIT
#include "cli/CommandTable.h"

#include <array>

#include "cli/SettingRules.h"
#include "cli/UpdateCommands.h"
#include "device/DeviceTask.h"

namespace kestrix {
namespace {

using Words = CommandArguments;

CommandStatus RunTask(CommandContext& context, DeviceTask task) {
    return TaskCommand(context, task);
}

constexpr std::array kCommands{
    CliCommand{"devices", "", "list the attached supported mice",
               [](CommandContext& c, const Words&) { return DevicesCommand(c); }},
    CliCommand{"info", "", "identity of the selected mouse",
               [](CommandContext& c, const Words&) { return InfoCommand(c); }},
    CliCommand{"read", "", "read the mouse into the current profile and print it",
               [](CommandContext& c, const Words&) { return ReadCommand(c); }},
    CliCommand{"get", "[KEY]", "print one setting or all settings of the current profile",
               [](CommandContext& c, const Words& w) { return GetCommand(c, w[0]); },
               [] { return SettingKeysHelp(false); }},
    CliCommand{"set", "KEY VALUE", "store a setting and send it to the mouse",
               [](CommandContext& c, const Words& w) { return SetCommand(c, *w[0], *w[1]); },
               [] { return SettingKeysHelp(true); }},
    CliCommand{"apply", "", "send the whole current profile to the mouse",
               [](CommandContext& c, const Words&) { return RunTask(c, DeviceTask::WriteAll); }},
    CliCommand{"reset-dpi", "", "restore the model's default DPI stages",
               [](CommandContext& c, const Words&) { return RunTask(c, DeviceTask::ResetDpi); }},
    CliCommand{
        "factory-reset", "", "restore the mouse's factory settings (needs --yes)",
        [](CommandContext& c, const Words&) { return RunTask(c, DeviceTask::RestoreFactory); }},

    CliCommand{"profile", "", "profiles of the model"},
    CliCommand{"profile list", "", "list the profiles",
               [](CommandContext& c, const Words&) { return ProfileListCommand(c); }},
    CliCommand{"profile use", "N", "make profile N current and send it to the mouse",
               [](CommandContext& c, const Words& w) { return ProfileUseCommand(c, *w[0]); }},
    CliCommand{
        "profile rename", "N NAME", "rename profile N",
        [](CommandContext& c, const Words& w) { return ProfileRenameCommand(c, *w[0], *w[1]); }},
    CliCommand{"profile export", "FILE", "write the current profile to FILE",
               [](CommandContext& c, const Words& w) { return ProfileExportCommand(c, *w[0]); }},
    CliCommand{"profile import", "FILE", "load FILE into the current profile and send it",
               [](CommandContext& c, const Words& w) { return ProfileImportCommand(c, *w[0]); }},

    CliCommand{"button", "", "button assignments of the current profile"},
    CliCommand{"button list", "", "list the buttons and their functions",
               [](CommandContext& c, const Words&) { return ButtonListCommand(c); }},
    CliCommand{"button set", "KEYCODE TYPE VALUE [VALUE2]",
               "assign TYPE VALUE [VALUE2] to a button: 1 mouse 1..8, 2 key usage + modifier "
               "bits, 3 multimedia 1..8, 4 macro id, 5 DPI 1..3, 6 device 1..2, 7 repeat 5..255 "
               "+ 0..255, 8 shortcut 1..11, 9 fixed 1",
               [](CommandContext& c, const Words& w) {
                   return ButtonSetCommand(c, *w[0], *w[1], *w[2], w[3]);
               }},
    CliCommand{"button reset", "KEYCODE", "give a button (KEYCODE, or all) its default function",
               [](CommandContext& c, const Words& w) { return ButtonResetCommand(c, *w[0]); }},

    CliCommand{"macro", "", "the macro library of the model"},
    CliCommand{"macro list", "", "list the macros",
               [](CommandContext& c, const Words&) { return MacroListCommand(c); }},
    CliCommand{"macro show", "ID", "show a macro and its events",
               [](CommandContext& c, const Words& w) { return MacroShowCommand(c, *w[0]); }},
    CliCommand{"macro new", "NAME", "create an empty macro",
               [](CommandContext& c, const Words& w) { return MacroNewCommand(c, *w[0]); }},
    CliCommand{"macro delete", "ID", "delete a macro",
               [](CommandContext& c, const Words& w) { return MacroDeleteCommand(c, *w[0]); }},
    CliCommand{
        "macro import", "FILE", "add the macro of a macro file",
        [](CommandContext& c, const Words& w) { return MacroImportCommand(c, *w[0], false); }},
    CliCommand{
        "macro import-list", "FILE", "add every macro of a macro-list file",
        [](CommandContext& c, const Words& w) { return MacroImportCommand(c, *w[0], true); }},
    CliCommand{
        "macro export", "ID FILE", "write one macro to FILE",
        [](CommandContext& c, const Words& w) { return MacroExportCommand(c, *w[0], *w[1]); }},
    CliCommand{"macro export-all", "FILE", "write every macro to FILE",
               [](CommandContext& c, const Words& w) { return MacroExportAllCommand(c, *w[0]); }},

    CliCommand{"light", "", "lighting effects of the current profile"},
    CliCommand{"light list", "", "list the effects",
               [](CommandContext& c, const Words&) { return LightListCommand(c); }},
    CliCommand{"light use", "MODE", "make an effect active and send it",
               [](CommandContext& c, const Words& w) { return LightUseCommand(c, *w[0]); }},
    CliCommand{
        "light set", "MODE SETTING VALUE",
        "change brightness, speed or color1..color7 of an effect",
        [](CommandContext& c, const Words& w) { return LightSetCommand(c, *w[0], *w[1], *w[2]); }},

    CliCommand{"update", "", "the program's own updates"},
    CliCommand{"update check", "", "ask the update server for a newer program version",
               [](CommandContext& c, const Words&) { return UpdateCheckCommand(c); }},

    CliCommand{"firmware", "", "the mouse's firmware"},
    CliCommand{"firmware check", "", "ask the model's firmware service for a newer version",
               [](CommandContext& c, const Words&) { return FirmwareCheckCommand(c); }},
    CliCommand{"firmware upgrade", "", "download and flash a newer firmware (needs --yes)",
               [](CommandContext& c, const Words&) { return FirmwareUpgradeCommand(c); }},
};

}  // namespace

std::span<const CliCommand> CliCommandTable() { return kCommands; }

std::vector<std::pair<std::string, bool>> SplitArguments(std::string_view arguments) {
    std::vector<std::pair<std::string, bool>> names;
    size_t at = 0;
    while (at < arguments.size()) {
        const size_t end = std::min(arguments.find(' ', at), arguments.size());
        std::string_view word = arguments.substr(at, end - at);
        const bool optional = word.size() > 2 && word.front() == '[' && word.back() == ']';
        if (optional) word = word.substr(1, word.size() - 2);
        if (!word.empty()) names.emplace_back(std::string(word), !optional);
        at = end + 1;
    }
    return names;
}

}  // namespace kestrix
