// SPDX-License-Identifier: MIT
#include "update/UpdateService.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "device/FirmwareUpgrade.h"
#include "device/RecordingObserver.h"
#include "device/SimTestBench.h"
#include "update/TestHttpServer.h"
#include "update/UpdateTestSupport.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;
using testing::HttpAnswer;
using testing::TempDir;
using Calls = std::vector<std::string>;

class UpdateServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("no_proxy", "127.0.0.1", 1);
        ::setenv("NO_PROXY", "127.0.0.1", 1);
        ASSERT_TRUE(server.Running());
        bench.Open(101);
    }

    UpdateConfig Config(const std::string& appVersion = "1.0.3") {
        UpdateConfig config;
        config.applicationVersion = appVersion;
        config.applicationBase = server.Url("/soft/");
        config.dataFolder = folder.Path();
        config.getLanText = [](int id) { return "T" + std::to_string(id); };
        config.firmwareTarget = [this] { return FirmwareTarget{firmwareBase, currentFirmware}; };
        config.exitProcess = [this](int code) { exitCodes.push_back(code); };
        return config;
    }
    std::unique_ptr<UpdateService> Service(const UpdateConfig& config) {
        return std::make_unique<UpdateService>(config, bench.manager.get(), deviceEvents,
                                               updateEvents);
    }

    testing::TestHttpServer server;
    TempDir folder;
    testing::SimBench bench{"vireo"};
    RecordingObserver deviceEvents;
    testing::RecordingUpdateEvents updateEvents;
    std::string firmwareBase = server.Url("/fw");
    std::string currentFirmware = "105";
    std::vector<int> exitCodes;
};

TEST_F(UpdateServiceTest, ApplicationCheckOffersOnlyANewerVersion) {
    struct Case {
        const char* appVersion;
        const char* answer;  // nullptr: the server has no version file
        int state;
        Calls update;
        Calls device;
        const char* latest = nullptr;  // the version kept; nullptr: the answer as sent
    };
    const std::vector<Case> cases = {
        {"1.0.3", "1.0.3", kUpdateStateCurrent, {"ShowApplicationCheck(1.0.3,T580,0)"}, {}},
        {"1.0.3",
         "1.0.4",
         kUpdateStateNewer,
         {"ShowApplicationCheck(1.0.4,T582: v1.0.4,1)"},
         {"UpdateAvailable(1)"}},
        {"1.0.3",
         "1.0",
         kUpdateStateNewer,
         {"ShowApplicationCheck(1.0,T582: v1.0,1)"},
         {"UpdateAvailable(1)"}},
        {"1.0.9",
         "1.0.10",
         kUpdateStateNewer,
         {"ShowApplicationCheck(1.0.10,T582: v1.0.10,1)"},
         {"UpdateAvailable(1)"}},
        {"1.0.10", "1.0.9", kUpdateStateCurrent, {"ShowApplicationCheck(1.0.9,T580,0)"}, {}},
        // White space around the answer is not part of the version.
        {"1.0.3",
         "1.0.4\n",
         kUpdateStateNewer,
         {"ShowApplicationCheck(1.0.4,T582: v1.0.4,1)"},
         {"UpdateAvailable(1)"},
         "1.0.4"},
        {"1.0.3",
         " 1.0.3\r\n",
         kUpdateStateCurrent,
         {"ShowApplicationCheck(1.0.3,T580,0)"},
         {},
         "1.0.3"},
        {"1.0.3", "\r\n\t ", kUpdateStateUnknown, {}, {}},
        {"1.0.3", "1.0.4.12345", kUpdateStateUnknown, {}, {}},  // 11 characters: ignored
        {"1.0.3", "<html>Bad gateway</html>", kUpdateStateUnknown, {}, {}},
        {"1.0.3", "", kUpdateStateUnknown, {}, {}},
        {"1.0.3", nullptr, kUpdateStateUnknown, {}, {}},  // 404 page: not a version
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.appVersion) + " / " + (c.answer ? c.answer : "404"));
        if (c.answer != nullptr) {
            server.Set("/soft/version", c.answer);
        } else {
            server.Set("/soft/version", HttpAnswer{404, "1.0.4", {}, true, 0, std::string::npos});
        }
        RecordingObserver device;
        testing::RecordingUpdateEvents update;
        UpdateService service(Config(c.appVersion), bench.manager.get(), device, update);
        service.RunTask(DeviceTask::UpdateCheck);
        EXPECT_EQ(service.Status().applicationState, c.state);
        if (kSelfUpdate || c.state != kUpdateStateNewer) {
            EXPECT_EQ(update.Calls(), c.update);
            EXPECT_EQ(device.Calls(), c.device);
        } else {
            // Without the self-updater: the newer version and the package manager, no prompt.
            const std::string version = c.latest != nullptr ? c.latest : c.answer;
            EXPECT_EQ(update.Calls(), Calls{"ShowApplicationCheck(" + version + ",T582: v" +
                                            version + ", T618,0)"});
            EXPECT_EQ(device.Calls(), Calls{});
        }
        const char* latest = c.latest != nullptr ? c.latest : c.answer;
        EXPECT_EQ(service.Status().latestVersion, c.state == kUpdateStateUnknown ? "" : latest);
    }
    EXPECT_EQ(server.Paths().back(), "/soft/version");
}

TEST_F(UpdateServiceTest, NoServerChangesNothingAndReportsNothing) {
    UpdateConfig config = Config();
    config.applicationBase = testing::UnusedPortUrl("/soft/");
    firmwareBase = testing::UnusedPortUrl("/fw");
    auto service = Service(config);
    service->RunTask(DeviceTask::UpdateCheck);
    service->RunTask(DeviceTask::FirmwareCheck);
    EXPECT_EQ(service->Status().applicationState, kUpdateStateUnknown);
    EXPECT_EQ(service->Status().firmwareState, kUpdateStateUnknown);
    EXPECT_TRUE(updateEvents.Calls().empty());
    EXPECT_TRUE(deviceEvents.Calls().empty());

    // An empty base asks for "version" relative to nothing, which fails just as quietly.
    config.applicationBase = "";
    Service(config)->RunTask(DeviceTask::UpdateCheck);
    EXPECT_TRUE(updateEvents.Calls().empty());
}

TEST_F(UpdateServiceTest, FirmwareCheckNeedsBothVersions) {
    struct Case {
        const char* current;
        const char* answer;
        const char* base;  // nullptr: the server's /fw
        int state;
        Calls update;
        Calls device;
    };
    const std::vector<Case> cases = {
        {"105",
         "131",
         nullptr,
         kUpdateStateNewer,
         {"ShowFirmwareCheck(131,T582: v1.31,1)"},
         {"UpdateAvailable(2)"}},
        {"131", "131", nullptr, kUpdateStateCurrent, {"ShowFirmwareCheck(131,T580,2)"}, {}},
        {"105",
         "131\r\n",
         nullptr,
         kUpdateStateNewer,
         {"ShowFirmwareCheck(131,T582: v1.31,1)"},
         {"UpdateAvailable(2)"}},
        // The mouse never said its version: nothing to compare with, so not "up to date".
        {"", "131", nullptr, kUpdateStateNotCompared, {"ShowFirmwareCheck(131,T661,3)"}, {}},
        {"105", "1234567890", nullptr, kUpdateStateUnknown, {}, {}},  // 10 characters: ignored
        {"105", "131", "", kUpdateStateUnknown, {}, {}},              // no firmware service
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.current) + " / " + c.answer);
        server.Set("/fw/mouse/version", c.answer);
        currentFirmware = c.current;
        firmwareBase = c.base != nullptr ? c.base : server.Url("/fw");
        RecordingObserver device;
        testing::RecordingUpdateEvents update;
        UpdateService service(Config(), bench.manager.get(), device, update);
        service.RunTask(DeviceTask::FirmwareCheck);
        EXPECT_EQ(service.Status().firmwareState, c.state);
        EXPECT_EQ(update.Calls(), c.update);
        EXPECT_EQ(device.Calls(), c.device);
    }
}

TEST_F(UpdateServiceTest, WithoutTheSelfUpdaterNothingIsDownloadedOrStarted) {
    if (kSelfUpdate) GTEST_SKIP() << "this build has the self-updater";
    const std::string script = "#!/bin/sh\ntouch '" + folder.Path() + "ran'\n";
    server.Set("/soft/version", "1.0.4");
    server.Set("/soft///Mouse-Setup-1.0.4.zip",
               testing::ZipBytes(folder.Path(), {{"Mouse-Setup-1.0.4.AppImage", script, 0100755}}));
    auto service = Service(Config());
    service->RunTask(DeviceTask::UpdateCheck);
    EXPECT_FALSE(service->DownloadInstaller());
    EXPECT_EQ(server.Paths(), Calls{"/soft/version"});
    EXPECT_EQ(updateEvents.Calls(),
              (Calls{"ShowApplicationCheck(1.0.4,T582: v1.0.4, T618,0)", "DownloadFailed"}));
    testing::WriteFile(folder.Path() + "installer", script);
    EXPECT_FALSE(UpdateService::StartInstaller(folder.Path() + "installer"));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(folder.Path() + "ran"));
    EXPECT_TRUE(exitCodes.empty());
}

TEST_F(UpdateServiceTest, InstallerIsUnpackedMadeExecutableStartedAndTheProgramEnds) {
    if (!kSelfUpdate) GTEST_SKIP() << "this build has no self-updater";
    const std::string marker = folder.Path() + "installer-ran";
    const std::string script = "#!/bin/sh\necho started > '" + marker + "'\n";
    // A version file ending in a line break names the same package.
    server.Set("/soft/version", "1.0.4\n");
    server.Set("/soft///Mouse-Setup-1.0.4.zip",
               testing::ZipBytes(folder.Path(), {{"Mouse-Setup-1.0.4.AppImage", script, 0100644}}));
    auto service = Service(Config());
    service->RunTask(DeviceTask::UpdateCheck);
    deviceEvents.Clear();
    service->RunTask(DeviceTask::UpdateDownload);

    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_EQ(deviceEvents.Calls(), (Calls{"UpdateProgress(2)", "UpdateProgress(8)",
                                           "UpdateProgress(10)", "UpdateProgress(100)"}));
    const std::string installer = folder.Path() + "temp/Mouse-Setup-1.0.4.AppImage";
    struct stat info {};
    ASSERT_EQ(::stat(installer.c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IXUSR, 0u);
    EXPECT_FALSE(fs::exists(folder.Path() + "temp/Mouse-Setup-1.0.4.zip"));
    for (int i = 0; i < 500 && !fs::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testing::ReadFile(marker), "started\n");
}

TEST_F(UpdateServiceTest, NoInstallerIsStartedFromAFailedOrUnsafeDownload) {
    if (!kSelfUpdate) GTEST_SKIP() << "this build has no self-updater";
    server.Set("/soft/version", "1.0.4");
    const std::string script = "#!/bin/sh\ntouch '" + folder.Path() + "ran'\n";
    struct Case {
        const char* what;
        std::vector<testing::ZipEntry> entries;  // empty: no package on the server
    };
    const std::vector<Case> cases = {
        {"package missing", {}},
        {"zip-slip entry beside the installer",
         {{"Mouse-Setup-1.0.4.AppImage", script}, {"../escaped.txt", "x"}}},
        {"installer of another version", {{"Mouse-Setup-1.0.5.AppImage", script}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.entries.empty()) {
            server.Set("/soft///Mouse-Setup-1.0.4.zip",
                       HttpAnswer{404, "", {}, true, 0, std::string::npos});
        } else {
            server.Set("/soft///Mouse-Setup-1.0.4.zip",
                       testing::ZipBytes(folder.Path(), c.entries));
        }
        testing::RecordingUpdateEvents update;
        UpdateService service(Config(), bench.manager.get(), deviceEvents, update);
        service.CheckApplication();
        EXPECT_FALSE(service.DownloadInstaller());
        EXPECT_EQ(update.Calls().back(), "DownloadFailed");
        EXPECT_TRUE(exitCodes.empty());
        EXPECT_FALSE(fs::exists(folder.Path() + "escaped.txt"));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(fs::exists(folder.Path() + "ran"));
}

TEST_F(UpdateServiceTest, FirmwareFoundByTheCheckIsDownloadedAndFlashed) {
    std::string image(64 * 1024, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 13 + 5);
    server.Set("/fw/mouse/version", "131");
    server.Set("/fw//mouse//firmware-131.zip",
               testing::ZipBytes(folder.Path(), {{FirmwareUpgrade::ImageName("131"), image}}));
    auto service = Service(Config());
    service->RunTask(DeviceTask::FirmwareCheck);
    ASSERT_EQ(service->Status().firmwareState, kUpdateStateNewer);
    const FirmwareUpgradeResult result = service->UpgradeFirmware();
    EXPECT_TRUE(result.ok) << result.reason;

    const SimBootLoaderState loader = bench.Device("vireo-cable")->BootLoaderState();
    EXPECT_TRUE(loader.finished);
    ASSERT_EQ(loader.image.size(), image.size());
    EXPECT_EQ(std::string(loader.image.begin(), loader.image.end()), image);
    const Calls steps = updateEvents.Calls();
    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(Calls(steps.begin() + 1, steps.begin() + 4),
              (Calls{"FirmwareStep(590,5)", "FirmwareStep(591,7)", "FirmwareStep(591,10)"}));
    EXPECT_EQ(steps.back(), "FirmwareStep(593,100)");
    EXPECT_TRUE(deviceEvents.ContainsInOrder(
        {"UpdateAvailable(2)", "UpdateProgress(2)", "UpdateProgress(100)"}));
    EXPECT_TRUE(fs::is_empty(folder.Path() + "temp/"));
}

}  // namespace
}  // namespace kestrix
