// SPDX-License-Identifier: MIT
// The update flows of the window program end to end: the worker's checks against a local HTTP
// server, the prompts they raise, the settings page and firmware label they set, the download
// and firmware windows.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <regex>
#include <set>

#include "app/AppTestBench.h"
#include "app/AppUpdates.h"
#include "app/CUIMessageBox.h"
#include "app/SettingsPage.h"
#include "app/UpdateProcessDlg.h"
#include "app/UpdateTipDlg.h"
#include "device/FirmwareUpgrade.h"
#include "sim/SimDevice.h"
#include "ui/MButton.h"
#include "ui/MProgress.h"
#include "ui/MText.h"
#include "update/TestHttpServer.h"
#include "update/UpdateTestSupport.h"

namespace kestrix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What a watched message box said.
struct SeenBox {
    std::string upper;
    std::string lower;
};

// Runs on the UI thread every few milliseconds while it lives, also inside modal loops: answers
// every message box with `button` and records its texts, and calls tick.
class UiWatcher {
  public:
    explicit UiWatcher(int button, std::function<void()> tick = {})
        : m_state(std::make_shared<State>()) {
        m_state->button = button;
        m_state->tick = std::move(tick);
        Schedule(m_state);
    }
    ~UiWatcher() { m_state->running = false; }
    std::vector<SeenBox> Boxes() const { return m_state->boxes; }

  private:
    struct State {
        std::atomic<bool> running{true};
        int button = 0;
        std::function<void()> tick;
        std::vector<SeenBox> boxes;
    };
    static void Schedule(const std::shared_ptr<State>& state) {
        DUI::PostToUiThread([state] {
            if (!state->running) return;
            if (auto* box = dynamic_cast<DUI::MDialog*>(test::FindMessageBox())) {
                state->boxes.push_back({box->GetControlAs<DUI::MText>(31)->GetTitle(),
                                        box->GetControlAs<DUI::MText>(32)->GetTitle()});
                box->OnMessage(state->button, DUI::kNotifyClick, 0);
            }
            if (state->tick) state->tick();
            std::this_thread::sleep_for(1ms);
            Schedule(state);
        });
    }
    std::shared_ptr<State> m_state;
};

// config.xml and the model files copied with the update addresses on the local server.
void CopyProgramFolder(const std::string& folder, const std::string& softBase,
                       const std::string& firmwareBase) {
    const fs::path source(KESTRIX_SOURCE_DATA);
    fs::copy(source / "device", fs::path(folder) / "device", fs::copy_options::recursive);
    const auto rewrite = [&](const std::string& name, const char* pattern,
                             const std::string& replacement) {
        const std::string text = testing::ReadFile((source / name).string());
        testing::WriteFile(folder + name,
                           std::regex_replace(text, std::regex(pattern), replacement));
    };
    rewrite("config.xml", R"(<upgrade url="[^"]*")", "<upgrade url=\"" + softBase + "\"");
    rewrite("device/harrier_pro.xml", R"(<firmware url="[^"]*")",
            "<firmware url=\"" + firmwareBase + "\"");
}

// A window over the simulated Harrier Pro behind its receiver (firmware "201"), wired to the
// update service as the process entry wires it, with its update server on 127.0.0.1.
struct UpdateBench {
    explicit UpdateBench(const std::string& softBase = "", const std::string& firmwareBase = "",
                         const std::string& scenario = "harrier_pro-receiver")
        : bench(scenario) {
        ::setenv("no_proxy", "127.0.0.1", 1);
        ::setenv("NO_PROXY", "127.0.0.1", 1);
        CopyProgramFolder(program.Path(), softBase.empty() ? server.Url("/soft/") : softBase,
                          firmwareBase.empty() ? server.Url("/fw") : firmwareBase);
        bench.context.moduleFolder = program.Path();
        bench.context.software = ReadSoftwareInfo(program.Path());
        updates = std::make_unique<AppUpdates>(bench.context, *bench.window);
        updates->Install({});
    }

    std::string Title(int id) const {
        auto* control = bench.window->GetControlAs<DUI::MControlFont>(id);
        return control != nullptr ? control->GetTitle() : std::string();
    }
    bool Logged(const std::string& prefix) const { return !log.LinesStartingWith(prefix).empty(); }

    testing::TestHttpServer server;
    test::AppTempFolder program;
    test::LogRecorder log;
    std::unique_ptr<AppUpdates> updates;  // outlives the window and its worker
    test::WindowBench bench;
};

TEST(UpdateFlow, ApplicationCheckPromptsAndSetsTheSettingsPage) {
    struct Case {
        const char* answer;
        bool prompt;
        const char* stateLabel;
        bool buttonEnabled;
    };
    const Case cases[] = {
        {"1.0.4", true, "Latest version: v1.0.4", true},
        {"1.0.3", false, "Already the latest version", false},
    };
    for (const Case& c : cases) {
        UpdateBench run;
        ASSERT_TRUE(run.server.Running());
        run.server.Set("/soft/version", c.answer);
        run.server.Set("/fw/mouse/version", "201");  // the mouse's own: no firmware prompt
        UiWatcher watcher(CUIMessageBox::kSecondButton);
        ASSERT_TRUE(run.bench.CreateAndWaitForDevice()) << c.answer;
        ASSERT_TRUE(test::PumpUntil([&] {
            return run.updates->Service().Status().applicationState != 0 &&
                   run.Title(settings_id::kUpdateState) == c.stateLabel;
        })) << c.answer
            << ": " << run.Title(settings_id::kUpdateState);
        test::PumpFor(100ms);

        const std::vector<SeenBox> boxes = watcher.Boxes();
        if (c.prompt) {
            ASSERT_EQ(boxes.size(), 1u) << c.answer;
            EXPECT_EQ(boxes[0].upper, "A new version is available");
            EXPECT_EQ(boxes[0].lower, "Latest version:v1.0.4, update now?");
        } else {
            EXPECT_TRUE(boxes.empty()) << c.answer;
        }
        auto* button = run.bench.window->GetControlAs<DUI::MButton>(settings_id::kUpdateButton);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->IsEnabled(), c.buttonEnabled) << c.answer;
        EXPECT_EQ(run.Title(settings_id::kVersion), "Version: v1.0.3");
        // Declined: nothing downloaded.
        EXPECT_FALSE(run.Logged("task 26 queued")) << c.answer;
        const std::vector<std::string> paths = run.server.Paths();
        EXPECT_EQ(std::count(paths.begin(), paths.end(), "/soft/version"), 1) << c.answer;
    }
}

TEST(UpdateFlow, AcceptedUpdateDownloadsStartsTheInstallerAndEnds) {
    UpdateBench run;
    const std::string marker = run.program.Path() + "installer-ran";
    run.server.Set("/soft/version", "1.0.4");
    run.server.Set("/fw/mouse/version", "201");
    const std::string package = testing::ZipBytes(
        run.program.Path(),
        {{"Mouse-Setup-1.0.4.AppImage", "#!/bin/sh\ntouch '" + marker + "'\n", 0100644},
         {"notes.txt", std::string(30000, 'n')}});
    run.server.Set("/soft///Mouse-Setup-1.0.4.zip", package);  // "%s//%s" after the base "/soft/"

    std::vector<int> percents;
    int ticksAfterExit = 0;
    UiWatcher watcher(CUIMessageBox::kFirstButton, [&] {
        UpdateProcessDlg* window = run.bench.window->UpdateWindow();
        if (window == nullptr) return;
        if (percents.empty() || percents.back() != window->Progress())
            percents.push_back(window->Progress());
        // The process would be gone by now; the test ends the window itself. The worker ends
        // the process while the last progress message may still be on its way to the window,
        // so the window stays until it has shown 100 % (or long enough to show it did not).
        if (!run.bench.exitCodes.empty() && (window->Progress() == 100 || ++ticksAfterExit > 500))
            window->DoCancel();
    });
    ASSERT_TRUE(run.bench.CreateAndWaitForDevice());
    ASSERT_TRUE(test::PumpUntil(
        [&] { return !run.bench.exitCodes.empty() && run.bench.window->UpdateWindow() == nullptr; },
        10000ms))
        << ::testing::PrintToString(run.log.Lines());
    EXPECT_EQ(run.bench.exitCodes, std::vector<int>{0});
    EXPECT_TRUE(test::PumpUntil([&] { return fs::exists(marker); }));
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_TRUE(run.Logged("task 26 queued"));
}

TEST(UpdateFlow, FailedDownloadClosesTheDownloadWindow) {
    UpdateBench run;
    run.server.Set("/soft/version", "1.0.4");  // no package behind it
    run.server.Set("/fw/mouse/version", "201");
    bool windowSeen = false;
    bool stayedOpen = false;
    int ticksAfterFailure = 0;
    UiWatcher watcher(CUIMessageBox::kFirstButton, [&] {
        UpdateProcessDlg* window = run.bench.window->UpdateWindow();
        if (window == nullptr) return;
        windowSeen = true;
        // A window the failure did not close would hold the test in its loop: end it, and fail.
        if (run.Logged("no installer started") && ++ticksAfterFailure > 300) {
            stayedOpen = true;
            window->DoCancel();
        }
    });
    ASSERT_TRUE(run.bench.CreateAndWaitForDevice());
    ASSERT_TRUE(test::PumpUntil([&] { return run.Logged("no installer started"); }));
    EXPECT_TRUE(test::PumpUntil([&] { return run.bench.window->UpdateWindow() == nullptr; }));
    EXPECT_TRUE(windowSeen);
    EXPECT_FALSE(stayedOpen);
    EXPECT_TRUE(DUI::FindWindows(kUpdateProcessTitle).empty());
    EXPECT_TRUE(run.bench.exitCodes.empty());
}

TEST(UpdateFlow, FirmwareCheckAfterTheReadSetsTheFirmwareLabel) {
    struct Case {
        const char* answer;
        const char* label;
        bool prompt;
    };
    const Case cases[] = {
        {"301", "Firmware: v2.01  \u00b7  Latest version: v3.01", true},
        {"201", "Firmware: v2.01  \u00b7  Already the latest version", false},
    };
    for (const Case& c : cases) {
        UpdateBench run;
        run.server.Set("/fw/mouse/version", c.answer);
        UiWatcher watcher(CUIMessageBox::kSecondButton);
        ASSERT_TRUE(run.bench.CreateAndWaitForDevice()) << c.answer;
        EXPECT_TRUE(test::PumpUntil([&] { return run.Title(frame_id::kFirmwareCheck) == c.label; }))
            << c.answer << ": " << run.Title(frame_id::kFirmwareCheck);
        test::PumpFor(100ms);
        const std::vector<SeenBox> boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), c.prompt ? 1u : 0u) << c.answer;
        if (c.prompt) {
            EXPECT_EQ(boxes[0].upper, "Firmware version");
            EXPECT_EQ(boxes[0].lower, "Latest version:v3.01, update now?");
        }
        EXPECT_FALSE(run.Logged("task 27 queued"));
    }
}

TEST(UpdateFlow, AcceptedFirmwareIsFlashedWithProgressAndTheWindowCloses) {
    UpdateBench run;
    std::string image(48 * 100 + 32, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7 + 1);
    run.server.Set("/fw/mouse/version", "301");
    run.server.Set(
        "/fw//mouse//firmware-301.zip",
        testing::ZipBytes(run.program.Path(), {{FirmwareUpgrade::ImageName("301"), image}}));
    std::set<std::string> statuses;
    UiWatcher watcher(CUIMessageBox::kFirstButton, [&] {
        UpdateTipDlg* window = run.bench.window->FirmwareWindow();
        if (window != nullptr && window->IsWindow()) statuses.insert(window->StatusText());
    });
    ASSERT_TRUE(run.bench.CreateAndWaitForDevice());
    ASSERT_TRUE(test::PumpUntil([&] { return run.Logged("firmware upgrade done"); }, 10000ms));
    EXPECT_TRUE(test::PumpUntil([&] { return !run.bench.window->FirmwareWindow()->IsWindow(); }));

    const SimBootLoaderState loader =
        run.bench.backend->Find("harrier_pro-receiver")->BootLoaderState();
    EXPECT_TRUE(loader.finished);
    EXPECT_TRUE(std::string(loader.image.begin(), loader.image.end()) == image)
        << loader.image.size();
    EXPECT_TRUE(statuses.count("Upgrade complete: 100%")) << ::testing::PrintToString(statuses);
    // Only the firmware window's own steps with their percentages were shown.
    const std::regex step(
        R"((Upgrading|(Downloading firmware|Preparing upgrade|Upgrading|Upgrade complete): \d+%))");
    for (const std::string& status : statuses)
        EXPECT_TRUE(std::regex_match(status, step)) << status;
}

TEST(UpdateFlow, UnreachableServerIsQuietAtStartUp) {
    UpdateBench run(testing::UnusedPortUrl("/soft/"), testing::UnusedPortUrl("/fw"));
    UiWatcher watcher(CUIMessageBox::kSecondButton);
    ASSERT_TRUE(run.bench.CreateAndWaitForDevice());
    ASSERT_TRUE(test::PumpUntil([&] { return run.log.LinesStartingWith("GET ").size() >= 2; }));
    test::PumpFor(100ms);
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(run.updates->Service().Status().applicationState, 0);
    EXPECT_EQ(run.Title(frame_id::kFirmwareCheck), "Firmware: v2.01");
    // The settings page says the check failed, and offers it again.
    ASSERT_TRUE(test::PumpUntil(
        [&] { return run.Title(settings_id::kUpdateState) == "Could not check for updates"; }));
    EXPECT_TRUE(run.bench.window->GetControl(settings_id::kUpdateButton)->IsEnabled());
    for (const std::string& line : run.log.LinesStartingWith("GET ")) {
        EXPECT_NE(line.find("failed"), std::string::npos) << line;
    }
}

TEST(UpdateFlow, FirmwareLabelBelongsToItsModel) {
    // The Vireo by cable and the Harrier Pro behind its receiver; only the Harrier tells its
    // firmware version and has a firmware service.
    UpdateBench run("", "", "default");
    run.server.Set("/fw/mouse/version", "201");
    UiWatcher watcher(CUIMessageBox::kSecondButton);
    ASSERT_TRUE(run.bench.CreateAndWaitForDevice());
    const auto choose = [&](int model) {
        run.bench.window->OnMessage(frame_id::kDeviceList, DUI::kNotifyClick, model);
        return test::PumpUntil([&] { return run.bench.window->Worker()->QueuedTasks() == 0; });
    };
    ASSERT_TRUE(choose(101));
    const std::string vireo = run.Title(frame_id::kFirmwareCheck);
    ASSERT_TRUE(choose(201));
    EXPECT_TRUE(test::PumpUntil([&] {
        return run.Title(frame_id::kFirmwareCheck) == "Firmware: v2.01";
    })) << run.Title(frame_id::kFirmwareCheck);
    ASSERT_TRUE(choose(101));
    EXPECT_EQ(run.Title(frame_id::kFirmwareCheck), vireo);
    EXPECT_FALSE(vireo.empty());
    EXPECT_EQ(vireo.find("2.01"), std::string::npos) << vireo;
    ASSERT_TRUE(choose(201));
    EXPECT_EQ(run.Title(frame_id::kFirmwareCheck), "Firmware: v2.01");
}

// A server on 127.0.0.1 that takes connections and never answers.
class SilentServer {
  public:
    SilentServer() {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_socket, 16);  // the kernel completes the connections; nothing reads them
        socklen_t length = sizeof address;
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(m_socket); }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

  private:
    int m_socket = -1;
    uint16_t m_port = 0;
};

TEST(UpdateFlow, ClosingDuringASilentServerEndsTheCheckAtOnce) {
    SilentServer silent;
    UpdateBench run(silent.Url("/soft/"), silent.Url("/fw"));
    UiWatcher watcher(CUIMessageBox::kSecondButton);
    ASSERT_TRUE(run.bench.Create());
    // The firmware check after the read is waiting for the server.
    ASSERT_TRUE(test::PumpUntil([&] { return run.Logged("device read shown"); }));
    test::PumpFor(200ms);
    run.bench.window->CloseWindow();
    EXPECT_TRUE(run.Logged("GET " + silent.Url("/fw/mouse/version") + " failed: cancelled"));
    EXPECT_FALSE(run.Logged("device worker still busy"));
    EXPECT_TRUE(watcher.Boxes().empty());
}

}  // namespace
}  // namespace kestrix
