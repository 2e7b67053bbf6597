// SPDX-License-Identifier: MIT
// The window program's session D-Bus interface on a private bus: the window runs in this process
// over simulated mice; busctl and kestrixctl are real client processes.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include "../app/AppTestBench.h"
#include "app/Application.h"
#include "app/DeviceMainDlg.h"
#include "app/FrameControls.h"
#include "app/PlatformFactory.h"
#include "bus/LowBatteryAlarm.h"
#include "device/DiagnosticOptions.h"
#include "device/HidDeviceManager.h"
#include "platform/AppFolders.h"
#include "platform/AppRegistry.h"
#include "platform/SingleInstance.h"
#include "sim/SimBackend.h"
#include "sim/SimDevice.h"
#include "sim/SimReceiver.h"
#include "sim/SimScenario.h"
#include "store/DataStore.h"
#include "support/FakeAutostart.h"
#include "support/FakeDesktopLauncher.h"
#include "support/FakePointerSystem.h"
#include "support/ShellRun.h"
#include "ui/DPIControl.h"
#include "ui/MControlFont.h"
#include "ui/UiThread.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

TEST(LowBatteryAlarm, WarnsOnceUntilChargedAboveTheThreshold) {
    struct Report {
        int level;
        bool charging;
        bool warns;
    };
    bus::LowBatteryAlarm alarm;
    // Threshold 15: the first report at or below it warns, the next ones do not, until a level
    // above it arms the alarm again; charging and "no report" (0) never warn.
    const std::array<Report, 9> reports{{{40, false, false},
                                         {15, true, false},
                                         {15, false, true},
                                         {10, false, false},
                                         {0, false, false},
                                         {15, false, false},
                                         {16, false, false},
                                         {9, false, true},
                                         {9, false, false}}};
    for (size_t i = 0; i < reports.size(); ++i)
        EXPECT_EQ(alarm.OnLevel(reports[i].level, reports[i].charging, 15), reports[i].warns)
            << "report " << i;
    bus::LowBatteryAlarm off;
    EXPECT_FALSE(off.OnLevel(5, false, 0));
}

// Runs a shell command; its stdout and exit code.
using Shell = testing::ShellRun;
Shell RunShell(const std::string& command) { return testing::RunShellCommand(command); }

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Folders of one test and a private session bus (dbus-daemon) that this process and its
// children use; the daemon ends with the test.
class PrivateBus {
  public:
    PrivateBus() {
        for (const char* name : {"data", "config", "runtime"})
            std::filesystem::create_directories(m_temp.Path() + name);
        std::filesystem::permissions(m_temp.Path() + "runtime", std::filesystem::perms::owner_all);
        setenv("XDG_DATA_HOME", (m_temp.Path() + "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_temp.Path() + "config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (m_temp.Path() + "runtime").c_str(), 1);
        setenv("KESTRIX_HOME", KESTRIX_SOURCE_DATA, 1);
        unsetenv("KESTRIX_SIMULATE");
        const Shell daemon = RunShell(
            "dbus-daemon --session --fork --print-address=1 "
            "--print-pid=1 2>/dev/null");
        std::istringstream lines(daemon.out);
        std::getline(lines, m_address);
        lines >> m_pid;
        if (daemon.exitCode == 0 && !m_address.empty())
            setenv("DBUS_SESSION_BUS_ADDRESS", m_address.c_str(), 1);
    }
    ~PrivateBus() {
        if (m_pid > 0) kill(m_pid, SIGTERM);
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        unsetenv("KESTRIX_HOME");
    }
    bool Running() const { return m_pid > 0 && !m_address.empty(); }
    std::string Path(const std::string& name) const { return m_temp.Path() + name; }

  private:
    test::AppTempFolder m_temp;
    std::string m_address;
    pid_t m_pid = 0;
};

// The program's own folders, registry and single instance (kestrixctl finds the window and
// the database through them), with the desktop services faked.
class BusPlatform final : public test::FakeDesktopPlatform {
  public:
    std::shared_ptr<AppFolders> Folders() override { return std::make_shared<LinuxAppFolders>(); }
    std::shared_ptr<SingleInstance> MakeSingleInstance(const std::string& name) override {
        return std::make_shared<LinuxSingleInstance>(name);
    }
    std::shared_ptr<AppRegistry> MakeRegistry(const std::string& name) override {
        return std::make_shared<LinuxAppRegistry>(name);
    }
};

// The window program in this process over the simulated mice of a scenario, offering the
// interface; script runs on a thread of its own once the mouse is read, and the window closes
// when it returns. inWindow runs on the UI thread after the script, before the window closes.
void RunWindowWith(const std::string& scenario, const std::shared_ptr<SimBackend>& backend,
                   const std::function<void()>& script,
                   const std::function<void(DeviceMainDlg&)>& inWindow = {},
                   const std::function<void(DeviceMainDlg&)>& created = {}) {
    test::SetUpToolkit();
    LoadSimScenario(*backend, scenario);
    HidDeviceManager devices(backend);
    DataStore store;
    BusPlatform platform;
    std::vector<const char*> argv{"kestrix"};
    ApplicationOptions options;
    options.argc = static_cast<int>(argv.size());
    options.argv = argv.data();
    options.platform = &platform;
    options.devices = &devices;
    options.store = &store;
    options.offerSessionBus = true;
    options.simulation = scenario;
    options.exitProcess = [](int) {};
    options.workerHooks.update = [](DeviceTask) {};
    options.workerHooks.firmwareUpgrade = [] {};
    std::atomic<bool> ready{false};
    std::atomic<bool> done{false};
    std::thread scriptThread;
    options.onWindowCreated = [&](DeviceMainDlg& window) {
        if (created) created(window);
        scriptThread = std::thread([&] {
            while (!ready.load()) std::this_thread::sleep_for(5ms);
            script();
            done = true;
        });
        auto poll = std::make_shared<std::function<void()>>();
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        *poll = [&, poll, deadline] {
            ready = ready.load() || (window.SelectedDevice() != 0 && store.IsOpened() &&
                                     window.Worker()->QueuedTasks() == 0);
            if (done.load() || std::chrono::steady_clock::now() > deadline) {
                if (inWindow) inWindow(window);
                window.CloseWindow();
                *poll = nullptr;
                return;
            }
            std::this_thread::sleep_for(3ms);
            DUI::PostToUiThread([poll] {
                if (*poll) (*poll)();
            });
        };
        DUI::PostToUiThread([poll] { (*poll)(); });
    };
    RunApplication(options);
    if (scriptThread.joinable()) {
        ready = true;
        scriptThread.join();
    }
    store.Close();
}

// Waits until the file holds every one of texts (a monitor's output); false after timeout.
bool WaitForText(const std::string& path, const std::vector<std::string>& texts,
                 std::chrono::milliseconds timeout = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string text = ReadFile(path);
        bool all = true;
        for (const std::string& wanted : texts) all = all && text.find(wanted) != std::string::npos;
        if (all) return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

// busctl watching the interface in the background for 20 s, writing to path once it watches.
void MonitorInterface(const std::string& path) {
    RunShell("timeout 20 busctl --user monitor org.kestrix.Kestrix1 > '" + path + "' 2>&1 &");
    WaitForText(path, {"Monitoring"}, 3s);
}

const std::string kMouse101 =
    "busctl --user call org.kestrix.Kestrix1 /org/kestrix/Kestrix1/mouse/101 "
    "org.kestrix.Kestrix1.Mouse ";

TEST(SessionBus, AClientSetsDpiAndSwitchesProfileWhileTheWindowRuns) {
    PrivateBus bus;
    if (!bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    const std::string trace = bus.Path("trace.txt");
    const std::string traceOption = "--hid-trace=" + trace;
    const char* diagnostics[] = {"test", traceOption.c_str()};
    ASSERT_TRUE(ApplyDiagnosticOptions(2, diagnostics));
    const std::string monitor = bus.Path("monitor.txt");
    Shell setDpi;
    Shell useProfile;
    bool signalled = false;
    int pageDpi = 0;
    std::string profileLabel;
    RunWindowWith(
        "vireo", std::make_shared<SimBackend>(),
        [&] {
            MonitorInterface(monitor);
            setDpi = RunShell(kMouse101 + "SetSetting ss dpi_group1_value 1000 2>&1");
            useProfile = RunShell(kMouse101 + "UseProfile i 2 2>&1");
            signalled = WaitForText(monitor, {"Member=DpiStageChanged", "INT32 1000",
                                              "Member=ProfileSwitched", "\"Profile 2\""});
        },
        [&](DeviceMainDlg& window) {
            // Profile 2 holds the model's default stages; the label names it.
            if (auto* stages = window.GetControlAs<DUI::DPIControl>(frame_id::kDpiStageControl))
                pageDpi = stages->GetDPIValue(1);
            if (auto* label = window.GetControlAs<DUI::MControlFont>(frame_id::kProfileLabel))
                profileLabel = label->GetTitle();
        });
    const char* noTrace[] = {"test", "--hid-trace=/dev/null"};
    ApplyDiagnosticOptions(2, noTrace);
    EXPECT_EQ(setDpi.exitCode, 0) << setDpi.out;
    EXPECT_EQ(useProfile.exitCode, 0) << useProfile.out;
    EXPECT_TRUE(signalled) << ReadFile(monitor);
    // The stage write went to the mouse: command 0x03 with 1000 DPI on the cable interface.
    EXPECT_TRUE(std::regex_search(ReadFile(trace), std::regex("\nW sim/vireo-cable/if2 00 03 ")))
        << ReadFile(trace);
    EXPECT_EQ(profileLabel, "Profile 2");
    EXPECT_EQ(pageDpi, 800);
}

TEST(SessionBus, AProfileSwitchedInTheWindowIsSignalledWithoutWaitingForTheMouse) {
    PrivateBus bus;
    if (!bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    const std::string monitor = bus.Path("monitor.txt");
    bool signalled = false;
    DeviceMainDlg* shown = nullptr;
    RunWindowWith(
        "vireo", std::make_shared<SimBackend>(),
        [&] {
            MonitorInterface(monitor);
            // The profile pop-up's choice, as a click on "Profile 3" sends it.
            DUI::PostToUiThread([&] { shown->SendMessage(kWmProfilePopup, 0, 3); });
            signalled = WaitForText(monitor, {"Member=ProfileSwitched", "\"Profile 3\""});
        },
        {}, [&](DeviceMainDlg& window) { shown = &window; });
    EXPECT_TRUE(signalled) << ReadFile(monitor);
}

TEST(SessionBus, ThePageShowsADpiSetOverTheBus) {
    PrivateBus bus;
    if (!bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    Shell setDpi;
    Shell mice;
    Shell lists;
    int pageDpi = 0;
    RunWindowWith(
        "vireo", std::make_shared<SimBackend>(),
        [&] {
            setDpi = RunShell(kMouse101 + "SetSetting ss dpi_group2_value 2000 2>&1");
            mice = RunShell(
                "busctl --user call org.kestrix.Kestrix1 /org/kestrix/Kestrix1 "
                "org.kestrix.Kestrix1.Manager ListMice 2>&1");
            lists = RunShell(kMouse101 + "ListProfiles 2>&1; " + kMouse101 + "ListButtons 2>&1; " +
                             kMouse101 + "GetSettings 2>&1");
            // The pages re-read the store on the UI thread after the call.
            std::this_thread::sleep_for(300ms);
        },
        [&](DeviceMainDlg& window) {
            if (auto* stages = window.GetControlAs<DUI::DPIControl>(frame_id::kDpiStageControl))
                pageDpi = stages->GetDPIValue(2);
        });
    EXPECT_EQ(setDpi.exitCode, 0) << setDpi.out;
    EXPECT_EQ(pageDpi, 2000);
    // A cabled mouse has no battery level to report.
    EXPECT_NE(mice.out.find("\"Kestrix Vireo\" \"cable\" \"up\" -1 -1"), std::string::npos)
        << mice.out;
    // The arrays of the mouse object, as kestrixctl's listings hold them.
    for (const char* part : {"a(isb) 4 1 \"Profile 1\" true 2 \"Profile 2\" false",
                             "a(issiii) 6 0 \"Left button\" \"Left button\" -1 -1 -1 1",
                             "\"dpi_group2_value\" \"2000\""})
        EXPECT_NE(lists.out.find(part), std::string::npos) << part << "\n" << lists.out;
}

TEST(SessionBus, KestrixctlAnswersAsAloneWhileTheWindowRuns) {
    PrivateBus bus;
    if (!bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    const std::string program =
        std::string(KESTRIX_BINARY_DIR) + "/bin/kestrixctl --simulate=vireo ";
    const std::string errors = bus.Path("stderr.txt");
    const std::vector<std::string> commands{
        "profile use 1",           "--json get",         "set dpi_group2_value 2000",
        "--json profile use 2",    "button set 4 2 4 1", "get dpi_group2_value",
        "--json button set 9 1 1", "profile use 1"};
    // stdout, stderr and the exit code of every command.
    auto runAll = [&] {
        std::vector<Shell> runs;
        for (const std::string& command : commands) {
            Shell run = RunShell(program + command + " 2>'" + errors + "'");
            run.out += "\n--- stderr:\n" + ReadFile(errors);
            runs.push_back(run);
        }
        return runs;
    };
    // The window reads the mouse into the database when it starts; so has the database when
    // kestrixctl runs alone.
    RunWindowWith("vireo", std::make_shared<SimBackend>(), [] {});
    const std::vector<Shell> alone = runAll();
    std::vector<Shell> withWindow;
    bool refused = false;
    RunWindowWith("vireo", std::make_shared<SimBackend>(), [&] {
        withWindow = runAll();
        // The window answered: a command it cannot serve says so.
        refused = RunShell(program + "--log /dev/null get 2>/dev/null").exitCode == 3;
    });
    ASSERT_EQ(withWindow.size(), alone.size());
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(withWindow[i].exitCode, alone[i].exitCode) << commands[i];
        EXPECT_EQ(withWindow[i].out, alone[i].out) << commands[i];
    }
    EXPECT_EQ(alone[6].exitCode, 2);  // a refused value is refused the same way
    EXPECT_TRUE(refused);
}

// A notification server on the bus that counts Notify calls (the desktop's is not there).
class FakeNotifications {
  public:
    FakeNotifications() {
        sd_bus* raw = nullptr;
        if (sd_bus_open_user(&raw) < 0) return;
        m_bus = raw;
        if (sd_bus_add_object_vtable(m_bus, nullptr, "/org/freedesktop/Notifications",
                                     "org.freedesktop.Notifications", kVtable, this) < 0 ||
            sd_bus_request_name(m_bus, "org.freedesktop.Notifications", 0) < 0)
            return;
        m_thread = std::thread([this] {
            while (!m_stop.load()) {
                while (sd_bus_process(m_bus, nullptr) > 0) {}
                sd_bus_wait(m_bus, 20000);
            }
        });
    }
    ~FakeNotifications() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_bus != nullptr) sd_bus_flush_close_unref(m_bus);
    }
    std::vector<std::string> Bodies() const {
        std::lock_guard lock(m_mutex);
        return m_bodies;
    }

  private:
    static int OnNotify(sd_bus_message* call, void* userdata, sd_bus_error*) {
        auto* self = static_cast<FakeNotifications*>(userdata);
        const char* app = nullptr;
        uint32_t replaces = 0;
        const char* icon = nullptr;
        const char* summary = nullptr;
        const char* body = nullptr;
        if (sd_bus_message_read(call, "susss", &app, &replaces, &icon, &summary, &body) >= 0) {
            std::lock_guard lock(self->m_mutex);
            self->m_bodies.emplace_back(body);
        }
        return sd_bus_reply_method_return(call, "u", 1u);
    }
    static constexpr sd_bus_vtable kVtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Notify", "susssasa{sv}i", "u", OnNotify, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};

    sd_bus* m_bus = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_bodies;
};

TEST(SessionBus, LowBatteryNotifiesOnceUntilCharged) {
    PrivateBus bus;
    if (!bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    FakeNotifications notifications;
    auto backend = std::make_shared<SimBackend>();
    std::vector<std::string> bodies;
    std::string tip;
    RunWindowWith(
        "harrier_pro-receiver", backend,
        [&] {
            const std::shared_ptr<SimDevice> device = backend->Find("harrier_pro-receiver");
            ASSERT_NE(device, nullptr);
            const std::shared_ptr<SimReceiver>& receiver = device->Receiver();
            // Each link report carries the level; the mouse stays linked.
            for (const int level : {12, 10, 50, 14}) {
                receiver->Mouse()->SetBattery(0, static_cast<uint8_t>(level));
                receiver->SetMouseOn(true);
                std::this_thread::sleep_for(200ms);
            }
            const auto deadline = std::chrono::steady_clock::now() + 5s;
            while (notifications.Bodies().size() < 2 && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(20ms);
            std::this_thread::sleep_for(200ms);
        },
        [&](DeviceMainDlg& window) { tip = window.Tray().Tip(); });
    bodies = notifications.Bodies();
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0], "Kestrix Harrier Pro: 12% battery left");
    EXPECT_EQ(bodies[1], "Kestrix Harrier Pro: 14% battery left");
    EXPECT_EQ(tip, "Kestrix – battery 14%");
}

}  // namespace
}  // namespace kestrix
