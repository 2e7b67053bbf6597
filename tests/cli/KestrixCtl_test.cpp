// SPDX-License-Identifier: MIT
#include "cli/KestrixCtl.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "base/Version.h"
#include "cli/CliTestBench.h"
#include "cli/CommandStatus.h"
#include "cli/CommandTable.h"
#include "cli/JsonShapes.h"
#include "device/CommandFrame.h"
#include "platform/SingleInstance.h"
#include "sim/SimMouse.h"
#include "sim/SimReceiver.h"
#include "store/SQLiteDB.h"

namespace kestrix::testing {
namespace {

constexpr const char* kVireo = "vireo-cable";
constexpr const char* kHarrier = "harrier_pro-receiver";

// Requests the mouse received for each write command 0x02 .. 0x09.
std::map<uint8_t, int> WriteCounts(const SimMouse& mouse) {
    std::map<uint8_t, int> counts;
    for (uint8_t code = command::kReportRate; code <= command::kButtons; ++code)
        counts[code] = mouse.CommandCount(code);
    return counts;
}

// Every setting of the active profile, for "nothing changed" checks.
std::map<std::string, std::string> Settings(const CliBench& bench, const std::string& attr) {
    auto store = bench.OpenStore(attr);
    std::map<std::string, std::string> settings;
    for (const char* key :
         {"dpi_count", "dpi_index", "dpi_group1_value", "dpi_group2_rgb", "report_rate",
          "button_respondtime", "sleep_light", "sensor_flag", "liftoff_height"}) {
        store->GetSetting(store->GetActiveProfile(), key, settings[key]);
    }
    return settings;
}

void ExpectOneErrorLine(const CliRun& run) {
    EXPECT_EQ(run.err.rfind("kestrixctl: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(KestrixCtl, DevicesListsEveryAttachedMouseWithItsIdentity) {
    CliBench bench;
    const CliRun run = bench.Run({"--simulate", "--json", "devices"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const nlohmann::json devices = run.Json()["devices"];
    ASSERT_EQ(devices.size(), 2u) << run.out;
    EXPECT_EQ(devices[0]["model"], 101);
    EXPECT_EQ(devices[0]["name"], "Kestrix Vireo");
    EXPECT_EQ(devices[0]["connection"], "cable");
    EXPECT_EQ(devices[1]["model"], 201);
    EXPECT_EQ(devices[1]["connection"], "receiver");
    EXPECT_EQ(devices[1]["link"], "up");
    EXPECT_EQ(devices[1]["battery_level"], bench.Mouse(kHarrier)->State().batteryB);
    // The device list opens no database.
    EXPECT_FALSE(std::filesystem::exists(bench.folders.DataFolder() + "db/harrier_pro_data2.db"));
}

TEST(KestrixCtl, InfoShowsTheSelectedMouseAndModelPicksIt) {
    CliBench bench;
    nlohmann::json vireo = bench.Run({"--json", "info"}).Json();
    EXPECT_EQ(vireo["model"], 101);
    EXPECT_EQ(vireo["sensor_code"], 53);
    EXPECT_EQ(vireo["report_rates"].size(), 4u);
    EXPECT_EQ(vireo["profile"]["id"], 1);
    const CliRun harrier = bench.Run({"--model", "201", "--json", "info"});
    ASSERT_EQ(harrier.exitCode, kExitOk) << harrier.err;
    const nlohmann::json info = harrier.Json();
    EXPECT_EQ(info["connection"], "receiver");
    EXPECT_EQ(info["sensor_code"], 150);
    EXPECT_EQ(info["dpi_max"], 38000);
    EXPECT_EQ(info["dpi_settable"], (nlohmann::json{{"min", 50}, {"max", 26000}}));
    EXPECT_EQ(info["report_rate_class"], 7);
    EXPECT_EQ(info["report_rates"].size(), 7u);
    // The text form carries the same fields.
    EXPECT_NE(bench.Run({"info"}).out.find("sensor_code: 53\n"), std::string::npos);
}

TEST(KestrixCtl, SetStoresTheValueAndSendsItWithItsTask) {
    struct Case {
        const char* key;
        const char* value;
        const char* stored;
        std::function<void(const SimMouseState&, const SimMouse&)> onMouse;
    };
    const Case cases[] = {
        {"dpi_group1_value", "1666", "1600",
         [](const SimMouseState&, const SimMouse& m) { EXPECT_EQ(m.StageDpi(1), 1600); }},
        {"dpi_group2_rgb", "#00FF00", "65280",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.dpiColours[2], 0x00FF00u); }},
        {"report_rate", "4", "4",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.reportRate, 4); }},
        {"liftoff_height", "2", "2",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.liftOff, 2); }},
        {"sensor_flag", "12", "12",
         [](const SimMouseState& s, const SimMouse&) {
             EXPECT_EQ(s.sensorOptionA, 1);
             EXPECT_EQ(s.sensorOptionB, 1);
         }},
        {"button_respondtime", "12", "12",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.buttonResponseTime, 12); }},
        {"sleep_light", "120", "120",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.sleepLight, 120); }},
        {"move_closelight", "1", "1",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.moveCloseLight, 1); }},
        {"dpi_count", "3", "3",
         [](const SimMouseState& s, const SimMouse&) { EXPECT_EQ(s.dpiCount, 3); }},
    };
    CliBench bench;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const CliRun run = bench.Run({"--json", "set", c.key, c.value});
        ASSERT_EQ(run.exitCode, kExitOk) << run.err;
        EXPECT_EQ(bench.Setting("vireo", c.key), c.stored);
        const std::shared_ptr<SimMouse> mouse = bench.Mouse(kVireo);
        c.onMouse(mouse->State(), *mouse);
    }
    EXPECT_EQ(bench.Setting("vireo", "report_rate_wireless"), "4");
    // A snapped DPI is said on stderr; the result still parses.
    const CliRun snapped = bench.Run({"--json", "set", "dpi_group0_value", "455"});
    EXPECT_NE(snapped.err.find("455 snapped to 400"), std::string::npos) << snapped.err;
    EXPECT_EQ(snapped.Json()["dpi_group0_value"], 400);
}

TEST(KestrixCtl, LoweringTheStageCountMovesTheActiveStage) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"set", "dpi_index", "3"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"set", "dpi_count", "2"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Setting("vireo", "dpi_index"), "1");
    const SimMouseState state = bench.Mouse(kVireo)->State();
    EXPECT_EQ(state.dpiCount, 2);
    EXPECT_EQ(state.dpiIndex, 1);
    EXPECT_EQ(bench.Run({"set", "dpi_index", "2"}).exitCode, kExitBadValue);
}

TEST(KestrixCtl, RefusedValuesAndUnknownKeysChangeNothing) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"get"}).exitCode, kExitOk);  // creates the database
    const auto settingsBefore = Settings(bench, "vireo");
    const auto writesBefore = WriteCounts(*bench.Mouse(kVireo));
    const std::vector<std::vector<std::string>> refused = {
        {"set", "dpi_group1_value", "16100"},
        {"set", "report_rate", "16"},  // the Vireo's rate class offers up to 1000 Hz
        {"set", "button_respondtime", "3"},
        {"set", "sleep_light", "7"},
        {"set", "nope", "1"},
        {"set", "version", "2"},
        {"set", "dpi_index"},
        {"get", "nope"},
        {"button", "set", "9", "1", "1"},
        {"button", "set", "2", "1", "9"},
        {"button", "set", "2", "4", "42"},
        {"button", "set", "0", "1", "3"},  // the primary button needs --yes
        {"button", "reset", "12"},
        {"light", "set", "1", "brightness", "5"},
        {"light", "set", "1", "color2", "#FF0000"},  // effect 1 has no colour slots
        {"light", "set", "1", "hue", "1"},
        {"light", "use", "4"},  // not an effect of the Vireo
        {"profile", "use", "9"},
        {"macro", "show", "5"},
        {"macro", "import", "/nonexistent/macro.xml"},
        {"factory-reset"},
        {"--model", "999", "info"},
        {"frobnicate"},
    };
    for (const auto& arguments : refused) {
        const CliRun run = bench.Run(arguments);
        SCOPED_TRACE(arguments.front() + " " + (arguments.size() > 1 ? arguments[1] : ""));
        EXPECT_EQ(run.exitCode, kExitBadValue) << run.err;
        EXPECT_EQ(run.out, "");
        ExpectOneErrorLine(run);
    }
    EXPECT_EQ(Settings(bench, "vireo"), settingsBefore);
    EXPECT_EQ(WriteCounts(*bench.Mouse(kVireo)), writesBefore);
    EXPECT_EQ(bench.Mouse(kVireo)->FactoryResets(), 0);
    auto store = bench.OpenStore("vireo");
    std::vector<KeyAssignmentRow> rows;
    EXPECT_EQ(store->ListKeyAssignments(1, rows), 0);
}

TEST(KestrixCtl, ErrorsAreJsonWithJson) {
    CliBench bench;
    const CliRun run = bench.Run({"--json", "set", "button_respondtime", "40"});
    EXPECT_EQ(run.exitCode, kExitBadValue);
    const nlohmann::json error = run.Json();
    EXPECT_EQ(error["exit_code"], 2);
    EXPECT_EQ(error["error"], "button_respondtime must be an integer within 4..20");
}

TEST(KestrixCtl, GetPrintsTheStoredValues) {
    CliBench bench;
    const CliRun one = bench.Run({"get", "dpi_group0_value"});
    ASSERT_EQ(one.exitCode, kExitOk) << one.err;
    EXPECT_EQ(one.out, "400\n");  // the Vireo's default stage from its model file
    const nlohmann::json all = bench.Run({"--json", "get"}).Json();
    EXPECT_EQ(all["settings"].size(), 40u);
    EXPECT_EQ(all["settings"]["version"], "1.0.1");
    EXPECT_EQ(all["settings"]["dpi_group5_value"], 12000);
    EXPECT_EQ(all["profile"]["name"], "Profile 1");
    EXPECT_EQ(bench.Run({"--json", "get", "report_rate"}).Json()["report_rate"], 1);
}

TEST(KestrixCtl, ReadCopiesTheMouseIntoTheCurrentProfile) {
    CliBench bench;
    SimMouseState state = bench.Mouse(kVireo)->State();
    state.reportRate = 8;
    state.sleepLight = 30;
    bench.Mouse(kVireo)->SetState(state);
    // Other commands leave the store alone ...
    ASSERT_EQ(bench.Run({"get"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Setting("vireo", "report_rate"), "1");
    // ... read takes what the mouse holds.
    const CliRun run = bench.Run({"--json", "read"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(run.Json()["settings"]["report_rate"], 8);
    EXPECT_EQ(bench.Setting("vireo", "report_rate"), "8");
    EXPECT_EQ(bench.Setting("vireo", "sleep_light"), "30");
}

TEST(KestrixCtl, ProfilesListRenameUseExportAndImport) {
    CliBench bench;
    const nlohmann::json list = bench.Run({"--json", "profile", "list"}).Json();
    ASSERT_EQ(list["profiles"].size(), 4u);
    EXPECT_EQ(list["profiles"][0]["active"], true);
    ASSERT_EQ(bench.Run({"profile", "rename", "2", "Work"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Run({"--json", "profile", "list"}).Json()["profiles"][1]["name"], "Work");

    const int buttonWrites = bench.Mouse(kVireo)->CommandCount(command::kButtons);
    const CliRun use = bench.Run({"profile", "use", "2"});
    ASSERT_EQ(use.exitCode, kExitOk) << use.err;
    EXPECT_EQ(bench.OpenStore("vireo")->GetActiveProfile(), 2);
    // Choosing a profile sends all of it.
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kButtons), buttonWrites + 1);
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kSleep), 1);

    ASSERT_EQ(bench.Run({"set", "button_respondtime", "16"}).exitCode, kExitOk);
    const std::string file = bench.folders.Path() + "/Gaming.xml";
    ASSERT_EQ(bench.Run({"profile", "export", file}).exitCode, kExitOk);
    std::ifstream exported(file);
    std::string first;
    std::getline(exported, first);
    EXPECT_EQ(first, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r");

    ASSERT_EQ(bench.Run({"profile", "use", "3"}).exitCode, kExitOk);
    // A generated name goes into the file in the form exported files have always carried.
    const std::string generated = bench.folders.Path() + "/Generated.xml";
    ASSERT_EQ(bench.Run({"profile", "export", generated}).exitCode, kExitOk);
    std::ifstream generatedFile(generated);
    const std::string generatedBytes{std::istreambuf_iterator<char>(generatedFile), {}};
    EXPECT_NE(generatedBytes.find("<profileinfo name=\"Profile  3\">"), std::string::npos);
    const CliRun imported = bench.Run({"--json", "profile", "import", file});
    ASSERT_EQ(imported.exitCode, kExitOk) << imported.err;
    EXPECT_EQ(imported.Json()["profile"]["name"], "Gaming");
    EXPECT_EQ(bench.Setting("vireo", "button_respondtime", 3), "16");
    EXPECT_EQ(bench.Mouse(kVireo)->State().buttonResponseTime, 16);

    // A file that is no profile file changes nothing and says why.
    const std::string junk = bench.folders.Path() + "/junk.xml";
    std::ofstream(junk) << "<macro/>";
    const CliRun refused = bench.Run({"profile", "import", junk});
    EXPECT_EQ(refused.exitCode, kExitDeviceFailure);
    ExpectOneErrorLine(refused);
    EXPECT_EQ(bench.Run({"--json", "profile", "list"}).Json()["profiles"][2]["name"], "Gaming");
}

TEST(KestrixCtl, ButtonAssignmentsAndTheirMacros) {
    CliBench bench;
    const CliRun created = bench.Run({"--json", "macro", "new", "Burst"});
    ASSERT_EQ(created.exitCode, kExitOk) << created.err;
    const int macroId = created.Json()["macro"]["id"];

    const CliRun macro = bench.Run({"button", "set", "3", "4", std::to_string(macroId)});
    ASSERT_EQ(macro.exitCode, kExitOk) << macro.err;
    // The macro reached the mouse before the button table, as the button page arranges.
    EXPECT_EQ(bench.Mouse(kVireo)->State().macros.count(3), 1u);
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kButtons), 1);

    ASSERT_EQ(bench.Run({"button", "set", "4", "2", "4", "1"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"--yes", "button", "set", "0", "1", "3"}).exitCode, kExitOk);
    const nlohmann::json buttons = bench.Run({"--json", "button", "list"}).Json()["buttons"];
    ASSERT_EQ(buttons.size(), 6u);
    EXPECT_EQ(buttons[0]["function"], "Right button");
    EXPECT_EQ(buttons[1]["function"], "Right button");
    EXPECT_EQ(buttons[1]["type"], nullptr);
    EXPECT_EQ(buttons[3]["function"], "Burst");
    EXPECT_EQ(buttons[4]["function"], "Ctrl + A");
    EXPECT_EQ(buttons[4]["value2"], 1);

    ASSERT_EQ(bench.Run({"button", "reset", "3"}).exitCode, kExitOk);
    auto store = bench.OpenStore("vireo");
    KeyAssignmentRow row;
    EXPECT_FALSE(store->GetKeyAssignment(1, 3, row));
    EXPECT_TRUE(store->GetKeyAssignment(1, 4, row));
    store.reset();
    ASSERT_EQ(bench.Run({"button", "reset", "all"}).exitCode, kExitOk);
    std::vector<KeyAssignmentRow> rows;
    EXPECT_EQ(bench.OpenStore("vireo")->ListKeyAssignments(1, rows), 0);
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kButtons), 5);
}

TEST(KestrixCtl, MacroLibraryExportAndImport) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"macro", "new", "One"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"macro", "new", "Two"}).exitCode, kExitOk);
    const std::string single = bench.folders.Path() + "/one.xml";
    const std::string all = bench.folders.Path() + "/all.xml";
    ASSERT_EQ(bench.Run({"macro", "export", "1", single}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"macro", "export-all", all}).exitCode, kExitOk);
    const nlohmann::json imported = bench.Run({"--json", "macro", "import", single}).Json();
    EXPECT_EQ(imported["imported"][0]["name"], "One");
    EXPECT_EQ(imported["imported"][0]["id"], 3);
    EXPECT_EQ(bench.Run({"--json", "macro", "import-list", all}).Json()["imported"].size(), 2u);
    ASSERT_EQ(bench.Run({"macro", "delete", "2"}).exitCode, kExitOk);
    const nlohmann::json list = bench.Run({"--json", "macro", "list"}).Json()["macros"];
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]["name"], "One");
    EXPECT_EQ(list[1]["id"], 3);
    EXPECT_EQ(bench.Run({"--json", "macro", "show", "1"}).Json()["macro"]["events"].size(), 0u);
    EXPECT_EQ(bench.Run({"macro", "delete", "2"}).exitCode, kExitBadValue);
    EXPECT_EQ(bench.Run({"macro", "import", all}).exitCode,
              kExitOk);  // a list file holds a <macro> root too
    const std::string junk = bench.folders.Path() + "/junk.xml";
    std::ofstream(junk) << "not xml";
    EXPECT_EQ(bench.Run({"macro", "import", junk}).exitCode, kExitDeviceFailure);
}

TEST(KestrixCtl, LightingEffectsAreChosenAndTuned) {
    CliBench bench;
    const nlohmann::json list = bench.Run({"--json", "light", "list"}).Json();
    ASSERT_EQ(list["effects"].size(), 4u);  // the Vireo enables light_1, 2, 3 and 6
    EXPECT_EQ(list["active"], 1);
    EXPECT_EQ(list["effects"][1]["name"], "Breathing");

    ASSERT_EQ(bench.Run({"light", "use", "2"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Mouse(kVireo)->State().lightingEffect, 2);
    ASSERT_EQ(bench.Run({"light", "set", "3", "brightness", "1"}).exitCode, kExitOk);
    SimMouseState state = bench.Mouse(kVireo)->State();
    EXPECT_EQ(state.lightingEffect, 3);
    EXPECT_EQ(state.lighting[3].brightness, 1);
    ASSERT_EQ(bench.Run({"light", "set", "2", "color3", "#00FF00"}).exitCode, kExitOk);
    LightRow row;
    ASSERT_TRUE(bench.OpenStore("vireo")->GetLightRow(1, 2, row));
    EXPECT_EQ(row.colorValues[2], 0x00FF00);
    EXPECT_EQ(row.colorValues[1], 0x00FF00);  // the default of slot 2, untouched
    EXPECT_EQ(bench.Run({"--json", "light", "list"}).Json()["active"], 2);
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kLighting), 3);
}

TEST(KestrixCtl, ModelsWithoutLightingRefuseLightCommands) {
    CliBench bench("falco");
    const CliRun run = bench.Run({"light", "list"});
    EXPECT_EQ(run.exitCode, kExitBadValue);
    EXPECT_EQ(run.err, "kestrixctl: Kestrix Falco has no lighting settings\n");
}

TEST(KestrixCtl, ApplyResetDpiAndFactoryReset) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"apply"}).exitCode, kExitOk);
    for (const auto& [code, count] : WriteCounts(*bench.Mouse(kVireo))) {
        if (code == command::kMacro) continue;
        EXPECT_EQ(count, 1) << "command " << int(code);
    }
    ASSERT_EQ(bench.Run({"set", "dpi_group0_value", "5000"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"reset-dpi"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Setting("vireo", "dpi_group0_value"), "400");
    EXPECT_EQ(bench.Mouse(kVireo)->StageDpi(0), 400);

    ASSERT_EQ(bench.Run({"button", "set", "2", "3", "1"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"--yes", "factory-reset"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Mouse(kVireo)->FactoryResets(), 1);
    std::vector<KeyAssignmentRow> rows;
    EXPECT_EQ(bench.OpenStore("vireo")->ListKeyAssignments(1, rows), 0);
}

TEST(KestrixCtl, DeviceFailuresExitOneWithTheLogsReason) {
    CliBench bench;
    SimFaults faults;
    faults.failingWrites = 1;
    faults.onlyCommand = command::kDpiStages;
    bench.backend->Find(kVireo)->SetFaults(faults);
    const CliRun run = bench.Run({"set", "dpi_group0_value", "800"});
    EXPECT_EQ(run.exitCode, kExitDeviceFailure);
    EXPECT_EQ(run.err, "kestrixctl: write command 0x03 failed\n");
}

TEST(KestrixCtl, TaskFailuresNameTheFirstRefusedWrite) {
    CliBench bench;
    const auto device = bench.backend->Find(kVireo);
    const int sleepWrites = bench.Mouse(kVireo)->CommandCount(command::kSleep);
    SimFaults colours;
    colours.failingWrites = 1;
    colours.onlyCommand = command::kDpiColours;
    device->SetFaults(colours);
    const CliRun apply = bench.Run({"--json", "apply"});
    EXPECT_EQ(apply.exitCode, kExitDeviceFailure);
    EXPECT_EQ(apply.Json()["error"], "write command 0x04 failed");
    // The writes after the refused one were still made.
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kSleep), sleepWrites + 1);

    // A refused macro upload fails the assignment even though the button table went out.
    const int macroId = bench.Run({"--json", "macro", "new", "Burst"}).Json()["macro"]["id"];
    SimFaults macro;
    macro.failingWrites = 1;
    macro.onlyCommand = command::kMacro;
    device->SetFaults(macro);
    const int tableWrites = bench.Mouse(kVireo)->CommandCount(command::kButtons);
    const CliRun assign = bench.Run({"button", "set", "3", "4", std::to_string(macroId)});
    EXPECT_EQ(assign.exitCode, kExitDeviceFailure);
    EXPECT_EQ(assign.err, "kestrixctl: upload of macro " + std::to_string(macroId) +
                              " to button 3 (command 0x08) failed\n");
    EXPECT_EQ(bench.Mouse(kVireo)->CommandCount(command::kButtons), tableWrites + 1);

    device->SetFaults({});
    EXPECT_EQ(bench.Run({"apply"}).exitCode, kExitOk);
}

// A database that refuses writes (as a full disk or a read-only file does): every command
// that writes fails with the store's reason, and an import sends nothing to the mouse.
TEST(KestrixCtl, RefusedStoreWritesFailEveryCommandWithTheReason) {
    CliBench bench;
    const std::string profileFile = bench.folders.Path() + "/Saved.xml";
    const std::string macroFile = bench.folders.Path() + "/macro.xml";
    const std::string listFile = bench.folders.Path() + "/list.xml";
    const int macroId = bench.Run({"--json", "macro", "new", "Burst"}).Json()["macro"]["id"];
    ASSERT_EQ(bench.Run({"profile", "export", profileFile}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"macro", "export", std::to_string(macroId), macroFile}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"macro", "export-all", listFile}).exitCode, kExitOk);
    {
        SQLiteDB db;
        ASSERT_TRUE(db.Open(bench.folders.DataFolder() + "db/vireo_data2.db", 2 /* read-write */));
        for (const char* trigger :
             {"BEFORE UPDATE ON t_configdata", "BEFORE UPDATE ON t_profile_data",
              "BEFORE INSERT ON t_macro_data", "BEFORE DELETE ON t_key_macro_data"}) {
            static int n = 0;
            const std::string sql = "CREATE TRIGGER refuse" + std::to_string(++n) + " " + trigger +
                                    " BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END";
            ASSERT_EQ(db.Exec(sql.c_str()), 0);
        }
    }
    const std::vector<std::vector<std::string>> commands = {
        {"set", "dpi_group0_value", "800"},
        {"reset-dpi"},
        {"read"},
        {"--yes", "factory-reset"},
        {"profile", "import", profileFile},
        {"macro", "import", macroFile},
        {"macro", "import-list", listFile},
    };
    for (const std::vector<std::string>& command : commands) {
        const std::map<uint8_t, int> writesBefore = WriteCounts(*bench.Mouse(kVireo));
        const CliRun run = bench.Run(command);
        EXPECT_EQ(run.exitCode, kExitDeviceFailure) << command[0] << " " << run.err;
        EXPECT_NE(run.err.find("database or disk is full"), std::string::npos) << run.err;
        if (command[0] == "profile" || command[0] == "macro") {
            EXPECT_EQ(WriteCounts(*bench.Mouse(kVireo)), writesBefore) << command[1];
        }
    }
}

// Settings the store could not read fail the command: null is printed only for a missing row.
TEST(KestrixCtl, UnreadableSettingsFailInsteadOfPrintingNull) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"get"}).exitCode, kExitOk);
    {
        SQLiteDB db;
        ASSERT_TRUE(db.Open(bench.folders.DataFolder() + "db/vireo_data2.db", 2 /* read-write */));
        ASSERT_EQ(db.Exec("ALTER TABLE t_configdata RENAME COLUMN value TO unreadable"), 0);
    }
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"get"}, {"--json", "get"}, {"get", "dpi_index"}}) {
        const CliRun run = bench.Run(command);
        EXPECT_EQ(run.exitCode, kExitDeviceFailure) << command.back() << ": " << run.out;
        EXPECT_EQ(run.out.find("null"), std::string::npos) << run.out;
        EXPECT_NE((run.out + run.err).find("no such column"), std::string::npos) << run.err;
    }
}

// A database file that is not a database is moved aside and replaced; the command goes on
// and says so on a warning line.
TEST(KestrixCtl, ADamagedDatabaseIsMovedAsideWithAWarning) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"profile", "list"}).exitCode, kExitOk);
    const std::string path = bench.folders.DataFolder() + "db/vireo_data2.db";
    std::ofstream(path, std::ios::trunc) << std::string(5000, 'x');
    const CliRun run = bench.Run({"--json", "profile", "list"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(run.Json()["profiles"].size(), 4u);
    EXPECT_EQ(
        run.err.rfind("kestrixctl: warning: the database was damaged; it was moved aside to " +
                          path + ".damaged-",
                      0),
        0u)
        << run.err;
    ExpectOneErrorLine(run);
}

TEST(KestrixCtl, AMouseOffLineBehindItsReceiverIsNamedAsTheReason) {
    CliBench bench("receiver-off");
    bench.backend->Find(kHarrier)->Receiver()->SetAnswerIdentityWhileOff(true);
    const CliRun info = bench.Run({"info"});
    EXPECT_EQ(info.exitCode, kExitDeviceFailure);
    EXPECT_EQ(info.err,
              "kestrixctl: ReadAllSettings: wireless device not connected (mouse off line)\n");
}

TEST(KestrixCtl, AMacroListWithoutMacrosImportsNothingAndSucceeds) {
    CliBench bench;
    const std::string empty = bench.folders.Path() + "/empty.xml";
    std::ofstream(empty) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<macro>\n</macro>\n";
    const CliRun run = bench.Run({"--json", "macro", "import-list", empty});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_TRUE(run.Json()["imported"].empty());

    const std::string junk = bench.folders.Path() + "/junk.xml";
    std::ofstream(junk) << "<profile/>";
    const CliRun refused = bench.Run({"macro", "import-list", junk});
    EXPECT_EQ(refused.exitCode, kExitDeviceFailure);
    EXPECT_EQ(refused.err, "kestrixctl: macro import: " + junk + " has no macro root\n");
}

TEST(KestrixCtl, WithoutAMouseOnlyTheStoreOfANamedModelIsAvailable) {
    CliBench bench("none");
    const nlohmann::json devices = bench.Run({"--json", "devices"}).Json();
    EXPECT_TRUE(devices["devices"].empty());
    const CliRun info = bench.Run({"info"});
    EXPECT_EQ(info.exitCode, kExitDeviceFailure);
    EXPECT_EQ(info.err, "kestrixctl: no supported mouse is attached\n");
    EXPECT_EQ(bench.Run({"get"}).exitCode, kExitDeviceFailure);
    const CliRun offline = bench.Run({"--model", "201", "get", "dpi_group0_value"});
    EXPECT_EQ(offline.exitCode, kExitOk) << offline.err;
    EXPECT_EQ(bench.Run({"--model", "201", "macro", "new", "Offline"}).exitCode, kExitOk);
    EXPECT_EQ(bench.Run({"--model", "201", "set", "dpi_index", "0"}).exitCode, kExitDeviceFailure);
}

// A window program that runs but cannot be reached (no session bus here) gets nothing done.
TEST(KestrixCtl, LeavesTheMouseAloneWhenTheRunningWindowCannotBeReached) {
    CliBench bench;
    LinuxSingleInstance window("Kestrix");
    ASSERT_EQ(window.Acquire(), SingleInstance::Role::First);
    const CliRun run = bench.Run({"info"});
    EXPECT_EQ(run.exitCode, kExitGuiRunning);
    ExpectOneErrorLine(run);
    for (const auto& device : bench.backend->Devices()) EXPECT_EQ(device->ConfigurationWrites(), 0);
}

TEST(KestrixCtl, HelpListsTheCommands) {
    CliBench bench;
    const CliRun help = bench.Run({"--help"});
    EXPECT_EQ(help.exitCode, kExitOk);
    for (const char* command :
         {"devices", "info", "read", "get", "set", "profile", "button", "macro", "light", "apply",
          "reset-dpi", "factory-reset", "--simulate"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
}

TEST(KestrixCtl, VersionUnknownCommandsAndTheKeysOfGetAndSet) {
    CliBench bench;
    const CliRun version = bench.Run({"--version"});
    EXPECT_EQ(version.exitCode, kExitOk);
    EXPECT_EQ(version.out, "kestrixctl " + std::string(ProgramVersion()) + "\n");
    // A mistyped command is named with the closest one of its level.
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } unknown[] = {
        {{"profle", "list"}, "unknown command 'profle'; did you mean 'profile'?"},
        {{"--model", "201", "profile", "lst"},
         "unknown command 'profile lst'; did you mean 'profile list'?"},
        {{"--json", "fimware", "check"}, "unknown command 'fimware'; did you mean 'firmware'?"},
        {{"macro", "--json", "exprot-all", "x"},
         "unknown command 'macro exprot-all'; did you mean 'macro export-all'?"},
    };
    for (const auto& c : unknown) {
        const CliRun run = bench.Run(c.arguments);
        EXPECT_EQ(run.exitCode, kExitBadValue) << c.said;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    }
    EXPECT_EQ(bench.Run({"--json", "fimware", "check"}).Json()["exit_code"], kExitBadValue);
    // get lists every key, set only those it accepts, each with its values.
    const std::string get = bench.Run({"get", "--help"}).out;
    const std::string set = bench.Run({"set", "--help"}).out;
    for (const char* line : {"dpi_count", "1..6", "button_respondtime", "4..20", "sleep_light",
                             "6, 12, 30, 60, 120, 180", "dpi_groupN_value (N 0..5)", "1000 Hz"}) {
        EXPECT_NE(get.find(line), std::string::npos) << line;
        EXPECT_NE(set.find(line), std::string::npos) << line;
    }
    EXPECT_NE(get.find("version"), std::string::npos);
    EXPECT_EQ(set.find("version"), std::string::npos);
}

TEST(KestrixCtl, JsonOutputHasTheDocumentedShape) {
    const JsonShapes shapes;
    CliBench bench;
    const std::string file = bench.folders.Path() + "/out.xml";
    // One run per documented command, in an order where each finds what it needs.
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
        {"devices", {"devices"}},
        {"info", {"info"}},
        {"read", {"read"}},
        {"get", {"get"}},
        {"get KEY", {"get", "dpi_group0_value"}},
        {"set", {"set", "report_rate", "2"}},
        {"apply", {"apply"}},
        {"reset-dpi", {"reset-dpi"}},
        {"factory-reset", {"--yes", "factory-reset"}},
        {"profile list", {"profile", "list"}},
        {"profile use", {"profile", "use", "2"}},
        {"profile rename", {"profile", "rename", "2", "Work"}},
        {"profile export", {"profile", "export", file}},
        {"profile import", {"profile", "import", file}},
        {"macro new", {"macro", "new", "Burst"}},
        {"macro list", {"macro", "list"}},
        {"macro show", {"macro", "show", "1"}},
        {"macro export", {"macro", "export", "1", file}},
        {"macro import", {"macro", "import", file}},
        {"macro export-all", {"macro", "export-all", file}},
        {"macro import-list", {"macro", "import-list", file}},
        {"macro delete", {"macro", "delete", "2"}},
        {"button set", {"button", "set", "3", "4", "1"}},
        {"button list", {"button", "list"}},
        {"button reset", {"button", "reset", "3"}},
        {"light list", {"light", "list"}},
        {"light use", {"light", "use", "2"}},
        {"light set", {"light", "set", "2", "color3", "#00FF00"}},
        {"error", {"set", "report_rate", "3"}},
    };
    std::set<std::string> checked{"update check", "firmware check", "firmware upgrade"};
    for (const auto& [section, arguments] : runs) {
        SCOPED_TRACE(section);
        std::vector<std::string> withJson{"--json"};
        withJson.insert(withJson.end(), arguments.begin(), arguments.end());
        const CliRun run = bench.Run(withJson);
        EXPECT_EQ(run.exitCode == kExitOk, section != "error") << run.err;
        const nlohmann::json output = run.Json();
        EXPECT_EQ(nlohmann::ordered_json::parse(run.out).begin().key(), "format");
        EXPECT_EQ(output["format"], 1);
        shapes.Expect(section, output);
        checked.insert(section);
    }
    // Every command is documented and checked; update and firmware in UpdateCommands_test.
    for (const CliCommand& command : CliCommandTable()) {
        if (command.handler == nullptr) continue;
        EXPECT_TRUE(shapes.Has(std::string(command.words))) << command.words;
        EXPECT_EQ(checked.count(std::string(command.words)), 1u) << command.words;
    }
}

TEST(KestrixCtl, AReadThatDidNotReadFailsNamesTheCommandAndStoresNothing) {
    struct Case {
        const char* name;
        SimFaults faults;
        const char* command;  // named in the error
    };
    SimFaults unplugged;
    unplugged.removeOnNextRequest = true;
    unplugged.onlyCommand = command::kPrepareRead;
    SimFaults errorAnswers;
    errorAnswers.errorRequests = 1;
    errorAnswers.onlyCommand = command::kReadDpiStages;
    SimFaults silent;
    silent.silentRequests = 1;
    silent.onlyCommand = command::kPrepareRead;
    for (const Case& c : {Case{"unplugged after identification", unplugged, "0x11"},
                          Case{"error answers to 0x13", errorAnswers, "0x13"},
                          Case{"no answer to 0x11", silent, "0x11"}}) {
        CliBench bench;
        SimMouseState state = bench.Mouse(kVireo)->State();
        state.reportRate = 8;  // answered before 0x13 fails: still not stored
        bench.Mouse(kVireo)->SetState(state);
        ASSERT_EQ(bench.Run({"get"}).exitCode, kExitOk);
        const auto before = Settings(bench, "vireo");
        bench.backend->Find(kVireo)->SetFaults(c.faults);
        const CliRun run = bench.Run({"read"});
        EXPECT_EQ(run.exitCode, kExitDeviceFailure) << c.name << ": " << run.out;
        EXPECT_NE(run.err.find(c.command), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(Settings(bench, "vireo"), before) << c.name;
    }
}

TEST(KestrixCtl, StrayInputReportsNeverBecomeAnAnswer) {
    CliBench bench;
    SimMouseState state = bench.Mouse(kVireo)->State();
    state.reportRate = 2;
    state.dpiCount = 4;
    bench.Mouse(kVireo)->SetState(state);
    ASSERT_EQ(bench.Run({"read"}).exitCode, kExitOk);
    const auto real = Settings(bench, "vireo");
    ASSERT_EQ(real.at("report_rate"), "2");

    // Random reports on the configuration interface every 300 us, as a noisy device sends them;
    // the link and DPI-change reports are real notifications and are left out.
    const auto device = bench.backend->Find(kVireo);
    std::atomic<bool> running{true};
    std::thread noise([&] {
        std::mt19937 random(17);
        while (running.load()) {
            SimReport report(33);
            for (uint8_t& byte : report) byte = static_cast<uint8_t>(random());
            if (report[0] == kLinkReport || report[0] == kDpiChangeReport) report[0] = 0x01;
            device->InjectReport(report);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    for (int run = 0; run < 10; ++run) {
        const CliRun read = bench.Run({"read"});
        // Either the mouse's own values or a failure that stored nothing.
        EXPECT_TRUE(read.exitCode == kExitOk || read.exitCode == kExitDeviceFailure) << read.err;
        EXPECT_EQ(Settings(bench, "vireo"), real) << "run " << run << ": " << read.err;
    }
    running = false;
    noise.join();
}

TEST(KestrixCtl, FactoryResetLeavesTheStoreEqualToTheMouse) {
    CliBench bench;
    ASSERT_EQ(bench.Run({"set", "report_rate", "2"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"set", "sensor_flag", "8"}).exitCode, kExitOk);
    ASSERT_EQ(bench.Run({"--yes", "factory-reset"}).exitCode, kExitOk);
    const nlohmann::json stored = bench.Run({"--json", "get"}).Json()["settings"];
    const CliRun read = bench.Run({"--json", "read"});
    ASSERT_EQ(read.exitCode, kExitOk) << read.err;
    EXPECT_EQ(read.Json()["settings"], stored);
    EXPECT_EQ(stored["report_rate_wireless"], bench.Mouse(kVireo)->State().reportRate);
    EXPECT_EQ(stored["sensor_flag"], 0);
}

TEST(KestrixCtl, ImportedValuesOutOfRangeRefuseTheWholeFile) {
    CliBench bench;
    const std::string good = bench.folders.Path() + "/Good.xml";
    ASSERT_EQ(bench.Run({"profile", "export", good}).exitCode, kExitOk);
    std::ifstream in(good);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // What to insert after which text of the exported file, and the key the refusal names.
    struct Case {
        const char* after;
        const char* insert;
        const char* key;
    };
    const Case cases[] = {
        {"<report_rate value=\"", "255", "report_rate must be"},
        {"dpi_count=\"", "200", "dpi_count must be"},
        {"dpi_index=\"", "99", "dpi_index must be"},
        {"<DPI1 value=\"", "-", "dpi_group0_value must be"},
        {"<DPI2 value=\"", "12345678901234", "dpi_group1_value must be"},
        {"<sensor_flag value=\"", "abc", "sensor_flag must be"},
        {"<liftoff_height value=\"", "9999", "liftoff_height must be"},
        {"<sleep_light value=\"", "-1", "sleep_light must be"},
        {"<button_respondtime value=\"", "-100", "button_respondtime must be"},
    };
    const auto before = Settings(bench, "vireo");
    const auto writes = WriteCounts(*bench.Mouse(kVireo));
    for (const Case& c : cases) {
        std::string bad = text;
        const size_t at = bad.find(c.after);
        ASSERT_NE(at, std::string::npos) << c.after;
        bad.insert(at + std::string(c.after).size(), c.insert);
        const std::string file = bench.folders.Path() + "/Shared.xml";
        std::ofstream(file, std::ios::trunc) << bad;
        const CliRun run = bench.Run({"profile", "import", file});
        EXPECT_EQ(run.exitCode, kExitBadValue) << c.key;
        EXPECT_NE(run.err.find(c.key), std::string::npos) << run.err;
        ExpectOneErrorLine(run);
    }
    EXPECT_EQ(Settings(bench, "vireo"), before);
    EXPECT_EQ(WriteCounts(*bench.Mouse(kVireo)), writes);
    const nlohmann::json profiles = bench.Run({"--json", "profile", "list"}).Json();
    for (const auto& profile : profiles["profiles"]) EXPECT_NE(profile["name"], "Shared");
    EXPECT_EQ(bench.Run({"profile", "import", good}).exitCode, kExitOk);
}

TEST(KestrixCtl, MessagesNameTheRealCause) {
    CliBench bench;
    // A refused file says why.
    const std::string doctype = bench.folders.Path() + "/doctype.xml";
    std::ofstream(doctype) << "<!DOCTYPE profile [<!ENTITY a \"b\">]><profile/>";
    const std::string deep = bench.folders.Path() + "/deep.xml";
    {
        std::ofstream out(deep);
        for (int i = 0; i < 300; ++i) out << "<profile>";
        for (int i = 0; i < 300; ++i) out << "</profile>";
    }
    const std::string large = bench.folders.Path() + "/large.xml";
    {
        std::ofstream out(large);
        out << "<profile>";
        out << std::string(17 * 1024 * 1024, ' ');
        out << "</profile>";
    }
    const std::string macroRoot = bench.folders.Path() + "/macro.xml";
    std::ofstream(macroRoot) << "<macro/>";
    for (const auto& [file, reason] : std::vector<std::pair<std::string, std::string>>{
             {doctype, "document type declarations are not accepted"},
             {deep, "nested deeper than"},
             {large, "larger than 16 MiB"},
             {macroRoot, "not <profile>"}}) {
        const CliRun run = bench.Run({"profile", "import", file});
        EXPECT_EQ(run.exitCode, kExitDeviceFailure) << file;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
    }

    // No effect active reads as none, not as the effect numbered 0.
    ASSERT_EQ(bench.Run({"--model", "201", "get"}).exitCode, kExitOk);
    {
        auto store = bench.OpenStore("harrier_pro");
        ASSERT_TRUE(store->IsOpened());
        store->SetActiveLightMode(store->CurrentProfile(), 99);
    }
    const CliRun lights = bench.Run({"--json", "--model", "201", "light", "list"});
    ASSERT_EQ(lights.exitCode, kExitOk) << lights.err;
    EXPECT_EQ(lights.Json()["active"], "none");
    const nlohmann::json effects = lights.Json();
    for (const auto& effect : effects["effects"]) EXPECT_EQ(effect["active"], false);
}

TEST(KestrixCtl, WorksOnTheMouseTheWindowWouldSelectAndNeverAnother) {
    CliBench bench;
    // Both answer: the first attached, and the output says which.
    const CliRun first = bench.Run({"--json", "info"});
    ASSERT_EQ(first.exitCode, kExitOk) << first.err;
    EXPECT_EQ(first.Json()["model"], 101);
    EXPECT_EQ(first.Json()["mouse"]["model"], 101);
    // The window's remembered model when it is attached.
    std::filesystem::create_directories(bench.folders.Path() + "/config/Kestrix");
    std::ofstream(bench.folders.Path() + "/config/Kestrix/registry.ini") << "DeviceType=201\n";
    const CliRun remembered = bench.Run({"--json", "info"});
    ASSERT_EQ(remembered.exitCode, kExitOk) << remembered.err;
    EXPECT_EQ(remembered.Json()["model"], 201);
    std::filesystem::remove(bench.folders.Path() + "/config/Kestrix/registry.ini");

    // The first does not answer: a failure naming it, not the other mouse.
    SimFaults silent;
    silent.silentRequests = 1000;
    silent.onlyCommand = command::kIdentity;
    bench.backend->Find(kVireo)->SetFaults(silent);
    const int harrierSleep = bench.Mouse(kHarrier)->State().sleepLight;
    const CliRun run = bench.Run({"set", "sleep_light", harrierSleep == 30 ? "60" : "30"});
    EXPECT_EQ(run.exitCode, kExitDeviceFailure);
    EXPECT_NE(run.err.find("attached by cable"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("does not answer"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("receiver"), std::string::npos) << run.err;
    EXPECT_EQ(bench.Mouse(kHarrier)->State().sleepLight, harrierSleep);
}

TEST(KestrixCtl, ControlCharactersNeverReachTheTerminalOrAnExportedFile) {
    CliBench bench;
    const std::string typed =
        "a\x1B[31mb\x07"
        "c\nd\te";
    ASSERT_EQ(bench.Run({"profile", "rename", "2", typed}).exitCode, kExitOk);
    EXPECT_EQ(bench.Run({"--json", "profile", "list"}).Json()["profiles"][1]["name"],
              "a[31mbcd\te");
    const CliRun macro = bench.Run({"--json", "macro", "new",
                                    "m\x1B"
                                    "1"});
    ASSERT_EQ(macro.exitCode, kExitOk) << macro.err;
    EXPECT_EQ(macro.Json()["macro"]["name"], "m1");

    // A name stored before (or by another program) is escaped in text output ...
    {
        auto store = bench.OpenStore("vireo");
        ASSERT_TRUE(store->RenameProfile(1, "x\x1B]0;owned\x07y"));
    }
    const CliRun list = bench.Run({"profile", "list"});
    ASSERT_EQ(list.exitCode, kExitOk) << list.err;
    EXPECT_EQ(list.out.find('\x1B'), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("x\\x1B]0;owned\\x07y"), std::string::npos) << list.out;
    // ... and never written into an exported file, not even as a reference.
    ASSERT_EQ(bench.Run({"button", "set", "2", "3", "1"}).exitCode, kExitOk);
    const std::string file = bench.folders.Path() + "/Named.xml";
    ASSERT_EQ(bench.Run({"profile", "export", file}).exitCode, kExitOk);
    std::ifstream in(file);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find('\x1B'), std::string::npos);
    EXPECT_EQ(text.find("&#"), std::string::npos) << text;
    EXPECT_NE(text.find("x]0;ownedy"), std::string::npos) << text;
}

TEST(KestrixCtl, ABrokenModelFileOrDatabaseIsNamed) {
    CliBench bench;
    const std::string program = bench.folders.Path() + "/program/";
    const std::filesystem::path source(KESTRIX_SOURCE_DATA);
    std::filesystem::create_directories(program);
    std::filesystem::copy(source / "language", program + "language",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy(source / "device", program + "device",
                          std::filesystem::copy_options::recursive);
    std::filesystem::copy(source / "config.xml", program + "config.xml");
    std::ofstream(program + "device/harrier_pro.xml", std::ios::trunc) << "<mouse";
    bench.programFolder = program;
    const CliRun lights = bench.Run({"--model", "201", "light", "list"});
    EXPECT_EQ(lights.exitCode, kExitDeviceFailure);
    EXPECT_NE(lights.err.find("model file"), std::string::npos) << lights.err;
    EXPECT_NE(lights.err.find("harrier_pro.xml"), std::string::npos) << lights.err;
    EXPECT_NE(lights.err.find("missing or invalid"), std::string::npos) << lights.err;
    bench.programFolder = std::string(KESTRIX_SOURCE_DATA) + "/";

    ASSERT_EQ(bench.Run({"get"}).exitCode, kExitOk);
    const std::string database = bench.folders.DataFolder() + "db/vireo_data2.db";
    ASSERT_TRUE(std::filesystem::exists(database)) << database;
    {
        std::fstream file(database, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(1024);
        file << std::string(8192, '\xA5');
    }
    // A damaged database is moved aside and made anew, and the user is told where it went.
    const CliRun get = bench.Run({"get", "dpi_group0_value"});
    EXPECT_EQ(get.exitCode, kExitOk) << get.err;
    EXPECT_NE(get.err.find("moved aside"), std::string::npos) << get.err;
}

}  // namespace
}  // namespace kestrix::testing
