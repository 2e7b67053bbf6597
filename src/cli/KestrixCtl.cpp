// SPDX-License-Identifier: MIT
#include "cli/KestrixCtl.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "base/Log.h"
#include "base/ManPage.h"
#include "base/Text.h"
#include "base/Version.h"
#include "cli/CliCommands.h"
#include "cli/CommandTable.h"
#include "cli/SessionHost.h"
#include "cli/SettingRules.h"
#include "device/DiagnosticOptions.h"
#include "device/HidapiBackend.h"
#include "platform/AppFolders.h"
#include "platform/LanguageTexts.h"
#include "platform/SingleInstance.h"
#include "sim/SimBackend.h"
#include "sim/SimFaultSpec.h"
#include "sim/SimScenario.h"
#include "sim/SimulateOption.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

constexpr std::string_view kSimulateOption = "--simulate";

bool IsSimulateArgument(std::string_view argument) {
    return argument == kSimulateOption ||
           (argument.size() > kSimulateOption.size() &&
            argument.substr(0, kSimulateOption.size()) == kSimulateOption &&
            argument[kSimulateOption.size()] == '=');
}

// The program name: <software caption> of config.xml (it names the data folder and the
// window program's single-instance socket).
std::string ReadProgramName(const std::string& moduleFolder) {
    XmlDocument doc;
    if (!doc.LoadFile(moduleFolder + "config.xml") || !doc.FindElement("config") ||
        !doc.IntoElement()) {
        LogLine("config file %sconfig.xml could not be read", moduleFolder.c_str());
        return {};
    }
    return doc.FindElement("software") ? doc.GetAttribute("caption") : std::string();
}

std::shared_ptr<HidBackend> ChooseBackend(int argc, const char* const* argv,
                                          CommandStatus& status) {
    const SimulateChoice choice = ParseSimulateOption(argc, argv, std::getenv("KESTRIX_SIMULATE"));
    if (!choice.simulate) return std::make_shared<HidapiBackend>();
    auto backend = std::make_shared<SimBackend>();
    std::string error;
    if (!AttachSimulation(*backend, choice.scenario, error)) {
        status = CommandStatus::BadValue(error);
        return nullptr;
    }
    LogLine("simulated mice attached: scenario %s", choice.scenario.c_str());
    return backend;
}

// The options before the command, filled by the parser.
struct Arguments {
    int model = 0;
    bool json = false;
    bool yes = false;
    std::string logFile;
    std::string traceFile;
};

// A command of the table as registered with the parser: its subcommand and the slots its
// positional words are parsed into.
struct RegisteredCommand {
    const CliCommand* command = nullptr;
    CLI::App* parser = nullptr;
    std::vector<std::pair<CLI::Option*, std::string>> words;
};

// Adds every command of the table to app, groups before their commands. The slots are bound
// by address, so the list is a deque (which keeps elements in place as it grows).
void RegisterCommands(CLI::App& app, std::deque<RegisteredCommand>& registered) {
    std::map<std::string_view, CLI::App*> groups;
    for (const CliCommand& command : CliCommandTable()) {
        const size_t blank = command.words.find(' ');
        CLI::App* parent = &app;
        std::string_view name = command.words;
        if (blank != std::string_view::npos) {
            parent = groups.at(command.words.substr(0, blank));
            name = command.words.substr(blank + 1);
        }
        CLI::App* parser = parent->add_subcommand(std::string(name), std::string(command.help));
        if (command.handler == nullptr) {
            parser->require_subcommand(1);
            groups[command.words] = parser;
            continue;
        }
        if (command.details != nullptr) parser->footer(command.details() + parser->get_footer());
        RegisteredCommand& entry = registered.emplace_back();
        entry.command = &command;
        entry.parser = parser;
        const auto names = SplitArguments(command.arguments);
        entry.words.resize(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            entry.words[i].first = parser->add_option(names[i].first, entry.words[i].second);
            if (names[i].second) entry.words[i].first->required();
        }
    }
}

// The words the parser gave the chosen command.
CommandArguments GivenWords(const RegisteredCommand& entry) {
    CommandArguments words;
    for (const auto& [option, value] : entry.words) {
        words.push_back(option->count() > 0 ? std::optional<std::string>(value) : std::nullopt);
    }
    return words;
}

constexpr std::string_view kDescription =
    "Configures Kestrix mice from the command line, with the same profiles and database as the "
    "Kestrix window program.";
constexpr std::string_view kSimulateHelp =
    "use simulated mice (scenario NAME; also KESTRIX_SIMULATE=NAME)";

// The exit codes, as --help and the man page list them.
constexpr std::array<std::pair<int, std::string_view>, 4> kExitCodes{{
    {kExitOk, "done"},
    {kExitDeviceFailure, "device/file/database failure"},
    {kExitBadValue, "bad value or usage (nothing changed)"},
    {kExitGuiRunning, "the running window program cannot serve the command"},
}};

// The parser of the whole command line: the options before the command and every command.
void BuildParser(CLI::App& app, Arguments& args, std::deque<RegisteredCommand>& commands) {
    app.name("kestrixctl");
    app.description(std::string(kDescription));
    app.fallthrough();
    app.require_subcommand(1);
    std::string footer = "  --simulate[=NAME]  " + std::string(kSimulateHelp) + "\n" +
                         SimFaultHelp() + "Exit codes:";
    for (const auto& [code, meaning] : kExitCodes)
        footer += Format("%s %d %.*s", code == kExitOk ? "" : ",", code,
                         static_cast<int>(meaning.size()), meaning.data());
    app.footer(footer + ".");
    app.set_version_flag("--version", "kestrixctl " + std::string(ProgramVersion()),
                         "print the version and end");
    app.add_option("--model", args.model,
                   "model number to work on when several are attached (see \"devices\")");
    app.add_flag("--json", args.json, "machine-readable output (the shapes are in docs/json.md)");
    app.add_flag(
        "--yes", args.yes,
        "confirm factory-reset, firmware upgrade and reassigning the primary button (key code 0)");
    app.add_option("--log", args.logFile, "append the device log to FILE")->type_name("FILE");
    app.add_option("--hid-trace", args.traceFile, "write every HID report to FILE")
        ->type_name("FILE");
    RegisterCommands(app, commands);
}

// The man page, from the same parser and command table the program runs.
std::string ManualPage(const CLI::App& app) {
    ManPage page;
    page.name = "kestrixctl";
    page.version = ProgramVersion();
    page.summary = "configures Kestrix gaming mice from the command line";
    page.synopsis = "[OPTIONS] COMMAND [ARGUMENTS]";
    page.description =
        std::string(kDescription) +
        " While the window program runs, kestrixctl has it run the command over the session "
        "D-Bus, with the same output and exit codes.";
    ManSection options{"OPTIONS", {}, {}};
    for (const CLI::Option* option : app.get_options()) {
        std::string term = option->get_name();
        if (option->get_items_expected_min() > 0 && !option->get_type_name().empty())
            term += " " + option->get_type_name();
        options.items.push_back({term, option->get_description()});
    }
    options.items.push_back({"--simulate[=NAME]", std::string(kSimulateHelp)});
    page.sections.push_back(options);
    ManSection commandList{"COMMANDS", {}, {}};
    for (const CliCommand& command : CliCommandTable()) {
        if (command.handler == nullptr) continue;
        std::string term(command.words);
        if (!command.arguments.empty()) term += " " + std::string(command.arguments);
        std::string text(command.help);
        if (command.details != nullptr) text += " (keys: see SETTING KEYS)";
        commandList.items.push_back({term, text});
    }
    page.sections.push_back(commandList);
    ManSection keys{"SETTING KEYS", "The keys get prints and the values set accepts.", {}};
    for (const auto& [key, values] : SettingKeyValues(false)) keys.items.push_back({key, values});
    page.sections.push_back(keys);
    ManSection exitCodes{"EXIT STATUS", {}, {}};
    for (const auto& [code, meaning] : kExitCodes)
        exitCodes.items.push_back({std::to_string(code), std::string(meaning)});
    page.sections.push_back(exitCodes);
    page.sections.push_back({"ENVIRONMENT", {}, {{"KESTRIX_SIMULATE", "as --simulate=NAME"}}});
    page.sections.push_back({"SEE ALSO", "kestrix(1)", {}});
    return RenderManPage(page);
}

// The number of one-character edits that turn a into b.
size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// When a word where a command belongs names none: "unknown command 'X'; did you mean 'Y'?"
// with the closest command of that level. The arguments are in the order given.
std::optional<std::string> UnknownCommand(const CLI::App& app,
                                          const std::vector<std::string>& arguments) {
    std::string group;  // the group word once seen
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word.starts_with("-")) {
            const CLI::Option* option = app.get_option_no_throw(word);
            if (option != nullptr && option->get_items_expected_min() > 0) ++i;  // skips its value
            continue;
        }
        const std::string wanted = group.empty() ? word : group + " " + word;
        std::string_view closest;
        size_t best = SIZE_MAX;
        for (const CliCommand& command : CliCommandTable()) {
            const size_t blank = command.words.find(' ');
            const bool sameLevel = group.empty() ? blank == std::string_view::npos
                                                 : command.words.starts_with(group + " ");
            if (!sameLevel) continue;
            if (command.words == wanted) {
                if (command.handler != nullptr) return std::nullopt;
                group = wanted;
                closest = {};
                break;
            }
            const size_t distance = EditDistance(wanted, command.words);
            if (distance < best) {
                best = distance;
                closest = command.words;
            }
        }
        if (group == wanted) continue;
        if (closest.empty()) return std::nullopt;
        return "unknown command '" + wanted + "'; did you mean '" + std::string(closest) + "'?";
    }
    return std::nullopt;
}

// The command line the window program runs for kestrixctl: its own arguments, with the simulate
// choice of KESTRIX_SIMULATE spelled out (the window does not see kestrixctl's environment).
std::vector<std::string> ForwardedArguments(int argc, const char* const* argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool given = std::any_of(arguments.begin(), arguments.end(),
                                   [](const std::string& a) { return IsSimulateArgument(a); });
    const char* environment = std::getenv("KESTRIX_SIMULATE");
    if (!given && environment != nullptr && *environment != '\0' &&
        std::string_view(environment) != "0") {
        arguments.push_back(std::string(environment) == "1"
                                ? std::string(kSimulateOption)
                                : std::string(kSimulateOption) + "=" + environment);
    }
    return arguments;
}

// Inside the window program: why it cannot run this command line, or nothing when it can.
std::optional<std::string> RefusedByWindow(int argc, const char* const* argv,
                                           const SessionHost& host, const std::string& name) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--log" || argument.starts_with("--log=") || argument == "--hid-trace" ||
            argument.starts_with("--hid-trace=")) {
            return "the " + name +
                   " window program is running and keeps its own log and HID trace (start it "
                   "with --log FILE or --hid-trace FILE, or close it and try again)";
        }
    }
    const SimulateChoice choice = ParseSimulateOption(argc, argv, nullptr);
    const std::string asked = choice.simulate ? choice.scenario : std::string();
    if (asked != host.simulation) {
        return "the " + name + " window program is running with " +
               (host.simulation.empty() ? std::string("the attached mice")
                                        : "the simulated mice of " + host.simulation) +
               ", not " +
               (asked.empty() ? std::string("the attached mice")
                              : "the simulated mice of " + asked) +
               " (close it and try again)";
    }
    return std::nullopt;
}

}  // namespace

int RunKestrixCtl(int argc, const char* const* argv, const CliEnvironment& environment) {
    std::ostream& out = environment.out != nullptr ? *environment.out : std::cout;
    std::ostream& err = environment.err != nullptr ? *environment.err : std::cerr;

    // --simulate[=NAME] never takes the next word as its scenario, so it is read apart from
    // the parser (which would).
    std::vector<std::string> parserArguments;
    for (int i = 1; i < argc; ++i) {
        if (!IsSimulateArgument(argv[i])) parserArguments.emplace_back(argv[i]);
    }
    std::reverse(parserArguments.begin(), parserArguments.end());

    Arguments args;
    CLI::App app;
    std::deque<RegisteredCommand> commands;
    BuildParser(app, args, commands);
    const bool json = std::find(parserArguments.begin(), parserArguments.end(), "--json") !=
                      parserArguments.end();
    CliOutput output(out, err, json);
    if (std::find(parserArguments.begin(), parserArguments.end(), "--man") !=
        parserArguments.end()) {
        out << ManualPage(app);
        return kExitOk;
    }

    try {
        std::vector<std::string> parsed = parserArguments;
        app.parse(parsed);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            app.exit(error, out, err);
            return kExitOk;
        }
        std::vector<std::string> inOrder(parserArguments.rbegin(), parserArguments.rend());
        const std::string reason = UnknownCommand(app, inOrder).value_or(error.what());
        return output.Fail(CommandStatus::BadValue(reason + " (see kestrixctl --help)"));
    }
    SessionHost* host = environment.host;
    // Inside the window program its texts stay in the user's language; kestrixctl's answer
    // is in kestrixctl's.
    LanguageTexts::ThreadLanguage language(LanguageTexts::kStartLcid);
    if (host == nullptr) {
        if (!ApplyDiagnosticOptions(argc, argv))
            return output.Fail(
                CommandStatus::BadValue("--log and --hid-trace need a writable FILE"));
        const std::string moduleFolder = environment.programFolder.empty()
                                             ? LinuxAppFolders().ModuleFolder()
                                             : environment.programFolder;
        LanguageTexts::SetModuleFolder(moduleFolder);
        SetCurrentLcid(LanguageTexts::kStartLcid);
    }
    const std::string programName = ReadProgramName(LanguageTexts::ModuleFolder());

    if (host != nullptr) {
        const std::optional<std::string> refusal = RefusedByWindow(argc, argv, *host, programName);
        if (refusal) return output.Fail({kExitGuiRunning, *refusal});
    } else {
        const bool guiRunning = environment.guiRunning
                                    ? environment.guiRunning(programName)
                                    : LinuxSingleInstance(programName).IsRunning();
        if (guiRunning) {
            // The window owns the mouse: it runs the command and kestrixctl passes its answer on.
            std::string failure;
            const std::vector<std::string> arguments = ForwardedArguments(argc, argv);
            std::error_code error;
            const std::filesystem::path folder = std::filesystem::current_path(error);
            const std::optional<bus::ForwardedRun> run =
                environment.forward
                    ? environment.forward(arguments, failure)
                    : bus::ForwardToWindow(arguments, error ? "" : folder.string(), failure);
            if (run) {
                out << run->out;
                err << run->err;
                out.flush();
                err.flush();
                return run->exitCode;
            }
            return output.Fail(
                {kExitGuiRunning, "the " + programName +
                                      " window program is running but did not take the command (" +
                                      failure + "); close it and try again"});
        }
    }

    CommandStatus status;
    SessionSetup setup;
    setup.programFolder = LanguageTexts::ModuleFolder();
    setup.catalogue = LoadCatalogue(setup.programFolder);
    if (setup.catalogue.models.empty()) {
        return output.Fail(CommandStatus::Failure("no supported models: " + setup.programFolder +
                                                  "config.xml is missing or lists none"));
    }
    if (args.model != 0) {
        std::string models;
        bool known = false;
        for (const CatalogueModel& m : setup.catalogue.models) {
            models += Format("%s%d (%s)", models.empty() ? "" : ", ", m.deviceType, m.name.c_str());
            known = known || m.deviceType == args.model;
        }
        if (!known)
            return output.Fail(CommandStatus::BadValue(Format(
                "--model %d is not a supported model; models: %s", args.model, models.c_str())));
    }
    setup.requestedModel = args.model;
    setup.warn = [&output](const std::string& line) { output.Note("warning: " + line); };
    setup.storedModel = CliSession::StoredModel(programName);
    setup.output = &output;
    setup.dataFolder = LinuxAppFolders(programName).DataFolder();
    setup.host = host;
    if (host == nullptr) {
        setup.backend = environment.backend != nullptr ? environment.backend
                                                       : ChooseBackend(argc, argv, status);
        if (setup.backend == nullptr) return output.Fail(status);
    }

    CommandContext context{std::move(setup), output, args.yes, environment.workingDirectory};
    for (const RegisteredCommand& entry : commands) {
        if (entry.parser->parsed()) status = entry.command->handler(context, GivenWords(entry));
    }
    // The window's pages show what the command changed.
    if (host != nullptr && host->changed) host->changed();
    return status.Ok() ? kExitOk : output.Fail(status);
}

}  // namespace kestrix
