// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliCommands.h"

namespace kestrix {

// The positional words one command was given, in the order its arguments name them; an
// optional argument that was left out is empty.
using CommandArguments = std::vector<std::optional<std::string>>;

// Runs one command with its words; the parser has already checked their number.
using CommandHandler = CommandStatus (*)(CommandContext& context, const CommandArguments& words);

// One entry of kestrixctl's command table.
struct CliCommand {
    // The words that name the command, e.g. "profile use"; a group ("profile") comes before
    // its commands and has no handler: one of its commands must follow it.
    std::string_view words;
    // The positional arguments, e.g. "KEYCODE TYPE VALUE [VALUE2]" (brackets: optional).
    std::string_view arguments;
    std::string_view help;
    CommandHandler handler = nullptr;
    // More help after the arguments (the keys of get and set), or null.
    std::string (*details)() = nullptr;
};

// Every command and group of kestrixctl in the order --help lists them.
std::span<const CliCommand> CliCommandTable();

// The argument names of a command's argument text, brackets removed, with whether each is
// required: "N [NAME]" gives {"N", true}, {"NAME", false}.
std::vector<std::pair<std::string, bool>> SplitArguments(std::string_view arguments);

}  // namespace kestrix
