// SPDX-License-Identifier: MIT
#include "cli/KestrixCtl.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "base/Log.h"
#include "base/Text.h"
#include "cli/CliCommands.h"
#include "cli/CommandTable.h"
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
    CLI::App app{
        "Configures Kestrix mice from the command line, with the same profiles and database as the "
        "Kestrix window program.",
        "kestrixctl"};
    app.fallthrough();
    app.require_subcommand(1);
    app.footer(std::string("  --simulate[=NAME]  use simulated mice (scenario NAME; also "
                           "KESTRIX_SIMULATE=NAME)\n") +
               SimFaultHelp() +
               "Exit codes: 0 done, 1 device/file/database failure, 2 bad value or usage (nothing "
               "changed), "
               "3 the window program is running.");
    app.add_option("--model", args.model,
                   "model number to work on when several are attached (see \"devices\")");
    app.add_flag("--json", args.json, "machine-readable output");
    app.add_flag(
        "--yes", args.yes,
        "confirm factory-reset, firmware upgrade and reassigning the primary button (key code 0)");
    app.add_option("--log", args.logFile, "append the device log to FILE");
    app.add_option("--hid-trace", args.traceFile, "write every HID report to FILE");

    std::deque<RegisteredCommand> commands;
    RegisterCommands(app, commands);

    try {
        app.parse(parserArguments);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {
            app.exit(error, out, err);
            return kExitOk;
        }
        err << "kestrixctl: " << error.what() << " (see kestrixctl --help)\n";
        return kExitBadValue;
    }
    CliOutput output(out, err, args.json);
    if (!ApplyDiagnosticOptions(argc, argv))
        return output.Fail(CommandStatus::BadValue("--log and --hid-trace need a writable FILE"));

    const std::string moduleFolder = environment.programFolder.empty()
                                         ? LinuxAppFolders().ModuleFolder()
                                         : environment.programFolder;
    LanguageTexts::SetModuleFolder(moduleFolder);
    SetCurrentLcid(LanguageTexts::kStartLcid);
    const std::string programName = ReadProgramName(LanguageTexts::ModuleFolder());

    const bool guiRunning = environment.guiRunning ? environment.guiRunning(programName)
                                                   : LinuxSingleInstance(programName).IsRunning();
    if (guiRunning) {
        return output.Fail(
            {kExitGuiRunning, "the " + programName +
                                  " window program is running; kestrixctl leaves the mouse to it "
                                  "(close it and try again)"});
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
    setup.dataFolder = LinuxAppFolders(programName).DataFolder();
    setup.backend =
        environment.backend != nullptr ? environment.backend : ChooseBackend(argc, argv, status);
    if (setup.backend == nullptr) return output.Fail(status);

    CommandContext context{std::move(setup), output, args.yes};
    for (const RegisteredCommand& entry : commands) {
        if (entry.parser->parsed()) status = entry.command->handler(context, GivenWords(entry));
    }
    return status.Ok() ? kExitOk : output.Fail(status);
}

}  // namespace kestrix
