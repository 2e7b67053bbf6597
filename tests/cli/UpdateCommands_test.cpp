// SPDX-License-Identifier: MIT
#include "cli/UpdateCommands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/CliTestBench.h"
#include "cli/CommandStatus.h"
#include "cli/JsonShapes.h"
#include "device/FirmwareUpgrade.h"
#include "update/TestHttpServer.h"
#include "update/UpdateTestSupport.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;

// The shipped program folder copied with its update addresses moved to the local server: the
// program's to "<server>/soft/", the Harrier Pro's firmware service to "<server>/fw".
class LocalProgramFolder {
  public:
    LocalProgramFolder(const std::string& folder, const std::string& softBase,
                       const std::string& firmwareBase)
        : m_folder(folder) {
        const fs::path source(KESTRIX_SOURCE_DATA);
        fs::create_directories(folder);
        fs::copy(source / "language", fs::path(folder) / "language", fs::copy_options::recursive);
        fs::copy(source / "device", fs::path(folder) / "device", fs::copy_options::recursive);
        Rewrite("config.xml", std::regex(R"(<upgrade url="[^"]*")"),
                "<upgrade url=\"" + softBase + "\"");
        Rewrite("device/harrier_pro.xml", std::regex(R"(<firmware url="[^"]*")"),
                "<firmware url=\"" + firmwareBase + "\"");
    }
    const std::string& Path() const { return m_folder; }

  private:
    void Rewrite(const std::string& name, const std::regex& pattern,
                 const std::string& replacement) {
        const std::string text = testing::ReadFile(std::string(KESTRIX_SOURCE_DATA) + "/" + name);
        const std::string changed = std::regex_replace(text, pattern, replacement);
        ASSERT_NE(changed, text) << name;
        testing::WriteFile(m_folder + name, changed);
    }
    std::string m_folder;
};

class UpdateCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("no_proxy", "127.0.0.1", 1);
        ::setenv("NO_PROXY", "127.0.0.1", 1);
        ASSERT_TRUE(server.Running());
    }

    // Runs kestrixctl over the simulated scenario with the local program folder.
    CliRun Run(const std::string& scenario, std::vector<std::string> arguments,
               const std::string& softBase = "", const std::string& firmwareBase = "") {
        testing::CliBench bench(scenario);
        benchBackend = bench.backend;
        const std::string folder = scratch.Path() + "program" + std::to_string(++runs) + "/";
        LocalProgramFolder program(folder, softBase.empty() ? server.Url("/soft/") : softBase,
                                   firmwareBase.empty() ? server.Url("/fw") : firmwareBase);
        std::vector<const char*> argv{"kestrixctl", "--json"};
        for (const std::string& argument : arguments) argv.push_back(argument.c_str());
        std::ostringstream out;
        std::ostringstream err;
        CliEnvironment environment;
        environment.backend = bench.backend;
        environment.programFolder = program.Path();
        environment.guiRunning = [](const std::string&) { return false; };
        environment.out = &out;
        environment.err = &err;
        CliRun run;
        run.exitCode = RunKestrixCtl(static_cast<int>(argv.size()), argv.data(), environment);
        run.out = out.str();
        run.err = err.str();
        // Every output, result or error, has the shape docs/json.md gives it.
        const std::string words = arguments.back() == "check" || arguments.back() == "upgrade"
                                      ? arguments[arguments.size() - 2] + " " + arguments.back()
                                      : "";
        if (!run.out.empty()) shapes.Expect(run.exitCode == kExitOk ? words : "error", run.Json());
        dataFolder = bench.folders.DataFolder();
        tempLeft = fs::exists(dataFolder + "temp/") && !fs::is_empty(dataFolder + "temp/");
        return run;
    }

    testing::JsonShapes shapes;
    testing::TestHttpServer server;
    testing::TempDir scratch;
    std::shared_ptr<SimBackend> benchBackend;
    std::string dataFolder;
    bool tempLeft = false;
    int runs = 0;
};

TEST_F(UpdateCommandsTest, UpdateCheckPrintsBothVersionsAndTheState) {
    struct Case {
        const char* answer;
        int state;
    };
    for (const Case& c : {Case{"1.0.4", 1}, Case{"1.0.3", 2}, Case{"1.0", 1}, Case{"0.9.9", 2}}) {
        server.Set("/soft/version", c.answer);
        const CliRun run = Run("none", {"update", "check"});
        ASSERT_EQ(run.exitCode, kExitOk) << c.answer << run.err;
        const nlohmann::json result = run.Json();
        EXPECT_EQ(result["current"], "1.0.3") << c.answer;
        EXPECT_EQ(result["latest"], c.answer);
        EXPECT_EQ(result["state"], c.state) << c.answer;
    }
    const std::vector<std::string> requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.front().substr(0, requests.front().find("\r\n")),
              "GET /soft/version HTTP/1.1");
    EXPECT_NE(requests.front().find("User-Agent: DID2.0/PC 5.5.0000"), std::string::npos);
}

TEST_F(UpdateCommandsTest, UpdateCheckWithoutAnUsableAnswerFails) {
    struct Case {
        const char* name;
        std::string base;
        const char* body;  // null: nothing served
    };
    const Case cases[] = {
        {"no server", testing::UnusedPortUrl("/soft/"), nullptr},
        {"not found", "", nullptr},
        {"an error page", "", "<html><body>maintenance</body></html>"},
    };
    for (const Case& c : cases) {
        if (c.body != nullptr) server.Set("/soft/version", c.body);
        const CliRun run = Run("none", {"update", "check"}, c.base);
        EXPECT_EQ(run.exitCode, kExitDeviceFailure) << c.name;
        EXPECT_EQ(run.Json()["error"], "the update server did not answer with a version") << c.name;
    }
}

TEST_F(UpdateCommandsTest, FirmwareCheckComparesTheMouseWithTheService) {
    // The simulated Harrier Pro behind its receiver reports firmware 2.01 ("201").
    struct Case {
        const char* answer;
        int state;
    };
    for (const Case& c : {Case{"301", 1}, Case{"201", 2}, Case{"105", 2}}) {
        server.Set("/fw/mouse/version", c.answer);
        const CliRun run = Run("harrier_pro-receiver", {"firmware", "check"});
        ASSERT_EQ(run.exitCode, kExitOk) << c.answer << run.err;
        const nlohmann::json result = run.Json();
        EXPECT_EQ(result["current"], "201");
        EXPECT_EQ(result["latest"], c.answer);
        EXPECT_EQ(result["state"], c.state) << c.answer;
    }
}

TEST_F(UpdateCommandsTest, FirmwareCheckFailuresSayWhy) {
    // The Vireo's model file names no firmware service: nothing is asked.
    CliRun run = Run("vireo", {"firmware", "check"});
    EXPECT_EQ(run.exitCode, kExitDeviceFailure);
    EXPECT_EQ(run.Json()["error"], "the model has no firmware service");

    run = Run("harrier_pro-receiver", {"firmware", "check"}, "", testing::UnusedPortUrl("/fw"));
    EXPECT_EQ(run.exitCode, kExitDeviceFailure);
    EXPECT_NE(run.Json()["error"].get<std::string>().find("/fw/mouse/version"), std::string::npos)
        << run.out;
    EXPECT_TRUE(server.Paths().empty());
}

TEST_F(UpdateCommandsTest, FirmwareUpgradeFlashesTheNewerImageIntoTheBootLoader) {
    std::string image(50 * 1024 + 32, '\0');  // whole records, the last report with two
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 31 + 3);
    server.Set("/fw/mouse/version", "301");
    server.Set("/fw//mouse//firmware-301.zip",
               testing::ZipBytes(scratch.Path(), {{FirmwareUpgrade::ImageName("301"), image}}));

    const CliRun run = Run("harrier_pro-receiver", {"--yes", "firmware", "upgrade"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    const nlohmann::json result = run.Json();
    EXPECT_EQ(result["latest"], "301");
    EXPECT_EQ(result["flashed"], true);
    const SimBootLoaderState loader = benchBackend->Find("harrier_pro-receiver")->BootLoaderState();
    EXPECT_TRUE(loader.finished);
    EXPECT_TRUE(std::string(loader.image.begin(), loader.image.end()) == image)
        << loader.image.size();
    // Every step of the firmware window, in order, ending at 100 %.
    const size_t download = run.err.find("kestrixctl: Downloading firmware: 5%");
    const size_t prepare = run.err.find("kestrixctl: Preparing upgrade: 10%");
    const size_t upgrade = run.err.find("kestrixctl: Upgrading: 100%");
    const size_t done = run.err.find("kestrixctl: Upgrade complete: 100%");
    EXPECT_LT(download, prepare) << run.err;
    EXPECT_LT(prepare, upgrade) << run.err;
    EXPECT_LT(upgrade, done) << run.err;
    EXPECT_FALSE(tempLeft);
}

TEST_F(UpdateCommandsTest, FirmwareUpgradeReportsTheFirstFailureAndFlashesNothing) {
    struct Case {
        const char* name;
        const char* package;  // "" = none served; "image" = a package holding an empty image
        const char* reason;   // what the error names
    };
    const Case cases[] = {
        {"no package", "", "firmware package firmware-301.zip was not downloaded from"},
        {"not a zip", "this is not a zip", "could not be extracted"},
        {"empty image", "image", "is empty"},
    };
    for (const Case& c : cases) {
        server.Set("/fw/mouse/version", "301");
        const std::string package =
            std::string(c.package) == "image"
                ? testing::ZipBytes(scratch.Path(), {{FirmwareUpgrade::ImageName("301"), ""}})
                : std::string(c.package);
        if (!package.empty()) server.Set("/fw//mouse//firmware-301.zip", package);
        const CliRun run = Run("harrier_pro-receiver", {"--yes", "firmware", "upgrade"});
        EXPECT_EQ(run.exitCode, kExitDeviceFailure) << c.name;
        EXPECT_NE(run.Json()["error"].get<std::string>().find(c.reason), std::string::npos)
            << c.name << ": " << run.out;
        const SimBootLoaderState loader =
            benchBackend->Find("harrier_pro-receiver")->BootLoaderState();
        EXPECT_TRUE(loader.image.empty()) << c.name;
        EXPECT_FALSE(loader.finished) << c.name;
        // A failed upgrade never reads as complete.
        EXPECT_EQ(run.err.find("100%"), std::string::npos) << c.name << ": " << run.err;
    }
}

TEST_F(UpdateCommandsTest, FirmwareUpgradeNeedsConfirmationAndANewerVersion) {
    server.Set("/fw/mouse/version", "301");
    CliRun run = Run("harrier_pro-receiver", {"firmware", "upgrade"});
    EXPECT_EQ(run.exitCode, kExitBadValue);
    EXPECT_TRUE(server.Paths().empty());

    // Up to date: the check's result, nothing downloaded, nothing flashed.
    server.Set("/fw/mouse/version", "201");
    run = Run("harrier_pro-receiver", {"--yes", "firmware", "upgrade"});
    ASSERT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(run.Json()["state"], 2);
    EXPECT_EQ(run.Json()["flashed"], false);
    EXPECT_EQ(server.Paths(), std::vector<std::string>{"/fw/mouse/version"});
    EXPECT_TRUE(benchBackend->Find("harrier_pro-receiver")->BootLoaderState().image.empty());
}

}  // namespace
}  // namespace kestrix
