// SPDX-License-Identifier: MIT
#include "app/Application.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "AppTestBench.h"
#include "app/PlatformFactory.h"
#include "platform/LanguageTexts.h"
#include "support/FakeAppFolders.h"

namespace kestrix {
namespace {

using namespace std::chrono_literals;

// Registry that remembers every write in order.
class RecordingRegistry final : public AppRegistry {
  public:
    int ReadAppRegistryInt(const std::string& valueName) override {
        return m_inner.ReadAppRegistryInt(valueName);
    }
    bool WriteAppRegistryString(const std::string& valueName, const std::string& text) override {
        std::lock_guard lock(m_mutex);
        m_writes.push_back(valueName + "=" + text);
        return m_inner.WriteAppRegistryString(valueName, text);
    }
    void Seed(const std::string& valueName, const std::string& text) {
        m_inner.SetValue(valueName, text);
    }
    std::vector<std::string> Writes() const {
        std::lock_guard lock(m_mutex);
        return m_writes;
    }

  private:
    FakeAppRegistry m_inner;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_writes;
};

class TestPlatform final : public test::FakeDesktopPlatform {
  public:
    TestPlatform(const std::string& dataFolder, SingleInstance::Role role)
        : folders(std::make_shared<FakeAppFolders>(KESTRIX_SOURCE_DATA, dataFolder)),
          instance(std::make_shared<FakeSingleInstance>(role)),
          registry(std::make_shared<RecordingRegistry>()) {}
    std::shared_ptr<AppFolders> Folders() override { return folders; }
    std::shared_ptr<SingleInstance> MakeSingleInstance(const std::string& name) override {
        names.push_back(name);
        return instance;
    }
    std::shared_ptr<AppRegistry> MakeRegistry(const std::string&) override { return registry; }

    std::shared_ptr<FakeAppFolders> folders;
    std::shared_ptr<FakeSingleInstance> instance;
    std::shared_ptr<RecordingRegistry> registry;
    std::vector<std::string> names;
};

// Polls check on the UI thread every few milliseconds while the window's loop runs; once it
// returns true the window is closed, which ends the loop.
void CloseWhen(DeviceMainDlg& window, std::function<bool()> check,
               std::chrono::milliseconds timeout = 15000ms) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&window, check, deadline, poll] {
        if (check() || std::chrono::steady_clock::now() > deadline) {
            window.CloseWindow();
            *poll = nullptr;  // break the self-reference
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        DUI::PostToUiThread([poll] {
            if (*poll) (*poll)();
        });
    };
    DUI::PostToUiThread([poll] { (*poll)(); });
}

struct AppRun {
    test::AppTempFolder temp;
    std::shared_ptr<SimBackend> backend = std::make_shared<SimBackend>();
    std::unique_ptr<HidDeviceManager> devices;
    DataStore store;
    std::unique_ptr<TestPlatform> platform;
    int result = -1;
    bool windowCreated = false;
    bool visibleInLoop = false;
    int selectedModel = 0;
    bool scenarioHasDevice = true;
    std::string storedLcid;  // LCID in the registry before the start; empty: none
    int lcidInLoop = 0;

    int Start(std::vector<const char*> args, SingleInstance::Role role,
              const std::string& scenario = "vireo", std::function<bool()> tray = {}) {
        test::SetUpToolkit();
        LoadSimScenario(*backend, scenario);
        scenarioHasDevice = scenario != "none";
        devices = std::make_unique<HidDeviceManager>(backend);
        platform = std::make_unique<TestPlatform>(temp.Path(), role);
        if (!storedLcid.empty()) platform->registry->Seed(kLcidValue, storedLcid);
        args.insert(args.begin(), "kestrix");
        ApplicationOptions options;
        options.argc = static_cast<int>(args.size());
        options.argv = args.data();
        options.platform = platform.get();
        options.devices = devices.get();
        options.store = &store;
        options.exitProcess = [](int) {};
        options.trayAvailable = std::move(tray);
        // Start-up is tested without the network: the shipped update addresses are not asked.
        options.workerHooks.update = [](DeviceTask) {};
        options.workerHooks.firmwareUpgrade = [] {};
        options.onWindowCreated = [this](DeviceMainDlg& window) {
            windowCreated = true;
            CloseWhen(window, [this, &window] {
                visibleInLoop = window.IsWindowVisible();
                lcidInLoop = CurrentLcid();
                selectedModel = window.SelectedDevice();
                if (scenarioHasDevice) {
                    return selectedModel != 0 && window.Worker()->QueuedTasks() == 0 &&
                           store.IsOpened();
                }
                return window.Worker()->QueuedTasks() == 0;
            });
        };
        result = RunApplication(options);
        store.Close();
        return result;
    }
};

TEST(Application, StartUpOrderAndNormalRun) {
    test::LogRecorder log;
    AppRun run;
    EXPECT_EQ(run.Start({"--simulate"}, SingleInstance::Role::First), kExitNormalRun);
    EXPECT_TRUE(run.windowCreated);
    EXPECT_TRUE(run.visibleInLoop);
    EXPECT_EQ(run.selectedModel, 101);
    EXPECT_EQ(run.platform->names, std::vector<std::string>{"Kestrix"});
    EXPECT_EQ(run.platform->folders->ProgramName(), "Kestrix");
    const std::vector<std::string> writes = run.platform->registry->Writes();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[0], "DeviceType=101");
    // The data folder's db sub-folder exists before the window.
    EXPECT_TRUE(std::filesystem::is_directory(run.temp.Path() + "db"));
    const std::vector<std::string> tasks = log.LinesStartingWith("task ");
    ASSERT_GE(tasks.size(), 2u);
    EXPECT_EQ(tasks[0], "task 1 queued");
    EXPECT_EQ(tasks[1], "task 23 queued");
}

// The language chosen in an earlier run starts the next one and is not written over; without a
// stored choice the desktop locale picks the language, and nothing is stored for it.
TEST(Application, StartLanguageIsTheStoredChoiceElseTheDesktopLocale) {
    const char* saved = std::getenv("LC_ALL");
    const std::string savedText = saved != nullptr ? saved : "";
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    for (const auto& [stored, expected] : {std::pair{"1049", 1049}, std::pair{"", 1041}}) {
        AppRun run;
        run.storedLcid = stored;
        run.Start({}, SingleInstance::Role::First, "none");
        EXPECT_EQ(run.lcidInLoop, expected) << stored;
        for (const std::string& write : run.platform->registry->Writes())
            EXPECT_NE(write.rfind("LCID=", 0), 0u) << write;
    }
    if (saved != nullptr) {
        setenv("LC_ALL", savedText.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
    SetCurrentLcid(LanguageTexts::kStartLcid);
}

TEST(Application, DeviceTypeFollowsTheRescannedModel) {
    AppRun run;
    run.Start({}, SingleInstance::Role::First, "falco");
    const std::vector<std::string> writes = run.platform->registry->Writes();
    const auto first = std::find(writes.begin(), writes.end(), "DeviceType=101");
    const auto rescanned = std::find(writes.begin(), writes.end(), "DeviceType=102");
    ASSERT_NE(first, writes.end());
    ASSERT_NE(rescanned, writes.end());
    EXPECT_LT(first, rescanned);
}

TEST(Application, HideAnywhereStartsHidden) {
    for (const auto& [argument, visible] :
         {std::pair{"-hide", false}, std::pair{"--log=x-hide.txt", false}, std::pair{"-HIDE", true},
          std::pair{"-autorun", true}}) {
        AppRun run;
        run.Start({argument}, SingleInstance::Role::First, "none", [] { return true; });
        EXPECT_EQ(run.visibleInLoop, visible) << argument;
    }
    // Without a tray there would be no way back to a hidden window: it shows.
    AppRun run;
    run.Start({"-hide"}, SingleInstance::Role::First, "none", [] { return false; });
    EXPECT_TRUE(run.visibleInLoop);
}

TEST(Application, SecondLaunchAsksTheFirstToShowAndEndsWithZero) {
    AppRun run;
    EXPECT_EQ(run.Start({}, SingleInstance::Role::Second), kExitOtherInstance);
    EXPECT_FALSE(run.windowCreated);
    EXPECT_EQ(run.platform->instance->SentRequests(), std::vector<std::string>{"show"});
    EXPECT_TRUE(run.platform->registry->Writes().empty());
}

}  // namespace
}  // namespace kestrix
