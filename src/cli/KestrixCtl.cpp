// SPDX-License-Identifier: MIT
#include "cli/KestrixCtl.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "base/Log.h"
#include "base/Text.h"
#include "cli/CliCommands.h"
#include "cli/UpdateCommands.h"
#include "device/DeviceTask.h"
#include "device/DiagnosticOptions.h"
#include "device/HidapiBackend.h"
#include "platform/AppFolders.h"
#include "platform/LanguageTexts.h"
#include "platform/SingleInstance.h"
#include "sim/SimBackend.h"
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
    if (!LoadSimScenario(*backend, choice.scenario)) {
        std::string known;
        for (const std::string& name : SimScenarioNames())
            known += (known.empty() ? "" : ", ") + name;
        status = CommandStatus::BadValue("unknown simulation scenario \"" + choice.scenario +
                                         "\"; scenarios: " + known);
        return nullptr;
    }
    LogLine("simulated mice attached: scenario %s", choice.scenario.c_str());
    return backend;
}

// The arguments of every command, filled by the parser.
struct Arguments {
    int model = 0;
    bool json = false;
    bool yes = false;
    std::string logFile;
    std::string traceFile;
    std::deque<std::string> words;  // positional arguments (a deque keeps bound slots in place)
};

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
    app.footer(
        "  --simulate[=NAME]  use simulated mice (scenario NAME; also KESTRIX_SIMULATE=NAME)\n"
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

    std::optional<DeviceTask> taskCommand;
    auto words = [&args](CLI::App* command, const char* names[], size_t required, size_t total) {
        for (size_t i = 0; i < total; ++i) {
            CLI::Option* option = command->add_option(names[i], args.words.emplace_back());
            if (i < required) option->required();
        }
    };

    CLI::App* devices = app.add_subcommand("devices", "list the attached supported mice");
    CLI::App* info = app.add_subcommand("info", "identity of the selected mouse");
    CLI::App* read =
        app.add_subcommand("read", "read the mouse into the current profile and print it");
    CLI::App* get =
        app.add_subcommand("get", "print one setting or all settings of the current profile");
    const size_t getAt = args.words.size();
    const char* getNames[] = {"KEY"};
    words(get, getNames, 0, 1);
    CLI::App* set = app.add_subcommand("set", "store a setting and send it to the mouse");
    const size_t setAt = args.words.size();
    const char* setNames[] = {"KEY", "VALUE"};
    words(set, setNames, 2, 2);
    CLI::App* apply = app.add_subcommand("apply", "send the whole current profile to the mouse");
    CLI::App* resetDpi = app.add_subcommand("reset-dpi", "restore the model's default DPI stages");
    CLI::App* factory =
        app.add_subcommand("factory-reset", "restore the mouse's factory settings (needs --yes)");

    CLI::App* profile = app.add_subcommand("profile", "profiles of the model");
    profile->require_subcommand(1);
    CLI::App* profileList = profile->add_subcommand("list", "list the profiles");
    CLI::App* profileUse =
        profile->add_subcommand("use", "make profile N current and send it to the mouse");
    const size_t profileUseAt = args.words.size();
    const char* nNames[] = {"N"};
    words(profileUse, nNames, 1, 1);
    CLI::App* profileRename = profile->add_subcommand("rename", "rename profile N");
    const size_t profileRenameAt = args.words.size();
    const char* renameNames[] = {"N", "NAME"};
    words(profileRename, renameNames, 2, 2);
    CLI::App* profileExport =
        profile->add_subcommand("export", "write the current profile to FILE");
    const size_t profileExportAt = args.words.size();
    const char* fileNames[] = {"FILE"};
    words(profileExport, fileNames, 1, 1);
    CLI::App* profileImport =
        profile->add_subcommand("import", "load FILE into the current profile and send it");
    const size_t profileImportAt = args.words.size();
    words(profileImport, fileNames, 1, 1);

    CLI::App* button = app.add_subcommand("button", "button assignments of the current profile");
    button->require_subcommand(1);
    CLI::App* buttonList = button->add_subcommand("list", "list the buttons and their functions");
    CLI::App* buttonSet =
        button->add_subcommand("set",
                               "assign TYPE VALUE [VALUE2] to a button: 1 mouse 1..8, 2 key usage "
                               "+ modifier bits, 3 multimedia "
                               "1..8, 4 macro id, 5 DPI 1..3, 6 device 1..2, 7 repeat 5..255 + "
                               "0..255, 8 shortcut 1..11, 9 fixed 1");
    const size_t buttonSetAt = args.words.size();
    const char* buttonSetNames[] = {"KEYCODE", "TYPE", "VALUE", "VALUE2"};
    words(buttonSet, buttonSetNames, 3, 4);
    CLI::App* buttonReset =
        button->add_subcommand("reset", "give a button (KEYCODE, or all) its default function");
    const size_t buttonResetAt = args.words.size();
    const char* keyNames[] = {"KEYCODE"};
    words(buttonReset, keyNames, 1, 1);

    CLI::App* macro = app.add_subcommand("macro", "the macro library of the model");
    macro->require_subcommand(1);
    CLI::App* macroList = macro->add_subcommand("list", "list the macros");
    CLI::App* macroShow = macro->add_subcommand("show", "show a macro and its events");
    const size_t macroShowAt = args.words.size();
    const char* idNames[] = {"ID"};
    words(macroShow, idNames, 1, 1);
    CLI::App* macroNew = macro->add_subcommand("new", "create an empty macro");
    const size_t macroNewAt = args.words.size();
    const char* nameNames[] = {"NAME"};
    words(macroNew, nameNames, 1, 1);
    CLI::App* macroDelete = macro->add_subcommand("delete", "delete a macro");
    const size_t macroDeleteAt = args.words.size();
    words(macroDelete, idNames, 1, 1);
    CLI::App* macroImport = macro->add_subcommand("import", "add the macro of a macro file");
    const size_t macroImportAt = args.words.size();
    words(macroImport, fileNames, 1, 1);
    CLI::App* macroImportList =
        macro->add_subcommand("import-list", "add every macro of a macro-list file");
    const size_t macroImportListAt = args.words.size();
    words(macroImportList, fileNames, 1, 1);
    CLI::App* macroExport = macro->add_subcommand("export", "write one macro to FILE");
    const size_t macroExportAt = args.words.size();
    const char* exportNames[] = {"ID", "FILE"};
    words(macroExport, exportNames, 2, 2);
    CLI::App* macroExportAll = macro->add_subcommand("export-all", "write every macro to FILE");
    const size_t macroExportAllAt = args.words.size();
    words(macroExportAll, fileNames, 1, 1);

    CLI::App* light = app.add_subcommand("light", "lighting effects of the current profile");
    light->require_subcommand(1);
    CLI::App* lightList = light->add_subcommand("list", "list the effects");
    CLI::App* lightUse = light->add_subcommand("use", "make an effect active and send it");
    const size_t lightUseAt = args.words.size();
    const char* modeNames[] = {"MODE"};
    words(lightUse, modeNames, 1, 1);
    CLI::App* lightSet =
        light->add_subcommand("set", "change brightness, speed or color1..color7 of an effect");
    const size_t lightSetAt = args.words.size();
    const char* lightSetNames[] = {"MODE", "SETTING", "VALUE"};
    words(lightSet, lightSetNames, 3, 3);

    CLI::App* update = app.add_subcommand("update", "the program's own updates");
    update->require_subcommand(1);
    CLI::App* updateCheck =
        update->add_subcommand("check", "ask the update server for a newer program version");
    CLI::App* firmware = app.add_subcommand("firmware", "the mouse's firmware");
    firmware->require_subcommand(1);
    CLI::App* firmwareCheck =
        firmware->add_subcommand("check", "ask the model's firmware service for a newer version");
    CLI::App* firmwareUpgrade =
        firmware->add_subcommand("upgrade", "download and flash a newer firmware (needs --yes)");

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
    auto word = [&args](size_t at) -> const std::string& { return args.words[at]; };
    auto optionalWord = [&](CLI::App* command, size_t at,
                            const char* name) -> std::optional<std::string> {
        if (command->get_option(name)->count() == 0) return std::nullopt;
        return word(at);
    };

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
    setup.dataFolder = LinuxAppFolders(programName).DataFolder();
    setup.backend =
        environment.backend != nullptr ? environment.backend : ChooseBackend(argc, argv, status);
    if (setup.backend == nullptr) return output.Fail(status);

    CommandContext context{std::move(setup), output, args.yes};
    if (*devices)
        status = DevicesCommand(context);
    else if (*info)
        status = InfoCommand(context);
    else if (*read)
        status = ReadCommand(context);
    else if (*get)
        status = GetCommand(context, optionalWord(get, getAt, "KEY"));
    else if (*set)
        status = SetCommand(context, word(setAt), word(setAt + 1));
    else if (*apply)
        taskCommand = DeviceTask::WriteAll;
    else if (*resetDpi)
        taskCommand = DeviceTask::ResetDpi;
    else if (*factory)
        taskCommand = DeviceTask::RestoreFactory;
    else if (*profileList)
        status = ProfileListCommand(context);
    else if (*profileUse)
        status = ProfileUseCommand(context, word(profileUseAt));
    else if (*profileRename)
        status = ProfileRenameCommand(context, word(profileRenameAt), word(profileRenameAt + 1));
    else if (*profileExport)
        status = ProfileExportCommand(context, word(profileExportAt));
    else if (*profileImport)
        status = ProfileImportCommand(context, word(profileImportAt));
    else if (*buttonList)
        status = ButtonListCommand(context);
    else if (*buttonSet) {
        status = ButtonSetCommand(context, word(buttonSetAt), word(buttonSetAt + 1),
                                  word(buttonSetAt + 2),
                                  optionalWord(buttonSet, buttonSetAt + 3, "VALUE2"));
    } else if (*buttonReset)
        status = ButtonResetCommand(context, word(buttonResetAt));
    else if (*macroList)
        status = MacroListCommand(context);
    else if (*macroShow)
        status = MacroShowCommand(context, word(macroShowAt));
    else if (*macroNew)
        status = MacroNewCommand(context, word(macroNewAt));
    else if (*macroDelete)
        status = MacroDeleteCommand(context, word(macroDeleteAt));
    else if (*macroImport)
        status = MacroImportCommand(context, word(macroImportAt), false);
    else if (*macroImportList)
        status = MacroImportCommand(context, word(macroImportListAt), true);
    else if (*macroExport)
        status = MacroExportCommand(context, word(macroExportAt), word(macroExportAt + 1));
    else if (*macroExportAll)
        status = MacroExportAllCommand(context, word(macroExportAllAt));
    else if (*lightList)
        status = LightListCommand(context);
    else if (*lightUse)
        status = LightUseCommand(context, word(lightUseAt));
    else if (*lightSet)
        status =
            LightSetCommand(context, word(lightSetAt), word(lightSetAt + 1), word(lightSetAt + 2));
    else if (*updateCheck)
        status = UpdateCheckCommand(context);
    else if (*firmwareCheck)
        status = FirmwareCheckCommand(context);
    else if (*firmwareUpgrade)
        status = FirmwareUpgradeCommand(context);
    if (taskCommand) status = TaskCommand(context, *taskCommand);
    return status.Ok() ? kExitOk : output.Fail(status);
}

}  // namespace kestrix
