// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/AppContext.h"
#include "app/DeviceMainDlg.h"
#include "app/MainLayout.h"
#include "app/PlatformFactory.h"
#include "app/Screen.h"
#include "app/ShellStyle.h"
#include "app/StartupConfig.h"
#include "base/Log.h"
#include "device/HidDeviceManager.h"
#include "platform/LanguageTexts.h"
#include "sim/SimBackend.h"
#include "sim/SimScenario.h"
#include "store/DataStore.h"
#include "support/FakeAppRegistry.h"
#include "support/FakeAutostart.h"
#include "support/FakeDesktopLauncher.h"
#include "support/FakePointerSystem.h"
#include "support/FakeSingleInstance.h"
#include "ui/MControlFont.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix::test {

// A fresh folder under the system temp folder, removed at the end.
class AppTempFolder {
  public:
    AppTempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrix-app-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) m_path = pattern + "/";
    }
    ~AppTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

// Collects log lines for one test.
class LogRecorder {
  public:
    LogRecorder() {
        Log::SetSink([this](std::string_view line) {
            std::lock_guard lock(m_mutex);
            m_lines.emplace_back(line);
        });
    }
    ~LogRecorder() { Log::SetSink({}); }
    std::vector<std::string> Lines() const {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }
    // The lines that start with prefix, in order.
    std::vector<std::string> LinesStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : Lines()) {
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
        }
        return found;
    }

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// Runs the toolkit's events until done() holds or timeout passes; returns done().
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        DUI::ProcessPendingEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Runs the toolkit's events for a while.
inline void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

// The toolkit and the process-wide language state as the program sets them up, pointed at
// the shipped data folder.
inline void SetUpToolkit() {
    LanguageTexts::SetModuleFolder(KESTRIX_SOURCE_DATA);
    LanguageTexts::SetAvailableLcids({1033, 2052, 1028, 1041, 1042, 1058, 1049});
    SetCurrentLcid(1033);
    DUI::Manager::SetDeviceName("Kestrix");
    DUI::Manager::SetResourceFolder(KESTRIX_SOURCE_DATA);
    DUI::Manager::SetInstance(nullptr);
    SetWorkAreaSource([] { return DUI::Rect{0, 0, 1920, 1080}; });
}

// The window sizes the layout must serve: the design size, and the window a 1366 x 768 laptop
// screen gives.
struct WindowSize {
    const char* name;
    int width;
    int height;
};
inline constexpr WindowSize kWindowSizes[] = {{"1300x788", 1300, 788}, {"1366x768", 1267, 768}};

// The desktop services no test may touch for real (autostart entries, launched programs, the
// pointer settings); the platforms of the program tests derive from it.
class FakeDesktopPlatform : public PlatformFactory {
  public:
    std::shared_ptr<Autostart> MakeAutostart(const std::string&) override {
        return std::make_shared<FakeAutostart>();
    }
    std::shared_ptr<DesktopLauncher> MakeLauncher() override {
        return std::make_shared<FakeDesktopLauncher>();
    }
    std::shared_ptr<PointerSystem> MakePointerSystem() override {
        return std::make_shared<FakePointerSystem>();
    }
};

// A main window over simulated mice, fake platform services and a store in a temp folder.
class WindowBench {
  public:
    explicit WindowBench(const std::string& scenario = "default", bool trayAvailable = true)
        : backend(std::make_shared<SimBackend>()), devices(backend) {
        SetUpToolkit();
        LoadSimScenario(*backend, scenario);
        registry = std::make_shared<FakeAppRegistry>();
        autostart = std::make_shared<FakeAutostart>();
        launcher = std::make_shared<FakeDesktopLauncher>();
        instance = std::make_shared<FakeSingleInstance>();
        context.programName = "Kestrix";
        context.moduleFolder = std::string(KESTRIX_SOURCE_DATA) + "/";
        context.software = ReadSoftwareInfo(context.moduleFolder);
        context.dataFolder = temp.Path();
        context.registry = registry;
        context.autostart = autostart;
        context.launcher = launcher;
        context.pointer = std::make_shared<FakePointerSystem>();
        context.instance = instance;
        context.devices = &devices;
        context.store = &store;
        context.exitProcess = [this](int code) { exitCodes.push_back(code); };
        context.chooseFile = [this](FileDialogKind kind, const std::string& filter,
                                    const std::string&) {
            dialogs.push_back(filter);
            return kind == FileDialogKind::Open ? openPath : savePath;
        };
        context.trayAvailable = [trayAvailable] { return trayAvailable; };
        window = std::make_unique<DeviceMainDlg>(context);
    }

    ~WindowBench() {
        if (window->IsWindow()) window->CloseWindow();
        window.reset();
        store.Close();
        SetWorkAreaSource({});
    }

    // Creates the window (runs its initialisation) at the design size.
    bool Create(int width = MainLayout::kDesignWidth, int height = MainLayout::kDesignHeight) {
        return window->Create(nullptr, "Kestrix", kShellWindowStyle, 0, {0, 0, width, height});
    }

    // Creates the window and waits until the first device read has reached the window.
    bool CreateAndWaitForDevice(int width = MainLayout::kDesignWidth,
                                int height = MainLayout::kDesignHeight) {
        if (!Create(width, height)) return false;
        // Done when the profiles exist and their title reached the window.
        return PumpUntil(
            [this] {
                auto* title = window->GetControlAs<DUI::MControlFont>(frame_id::kProfileLabel);
                return window->View().DevicePagesShown() && window->Worker()->QueuedTasks() == 0 &&
                       store.IsOpened() && title != nullptr && !title->GetTitle().empty();
            },
            std::chrono::milliseconds(20000));
    }

    AppTempFolder temp;
    std::shared_ptr<SimBackend> backend;
    HidDeviceManager devices;
    DataStore store;
    std::shared_ptr<FakeAppRegistry> registry;
    std::shared_ptr<FakeAutostart> autostart;
    std::shared_ptr<FakeDesktopLauncher> launcher;
    std::shared_ptr<FakeSingleInstance> instance;
    AppContext context;
    std::vector<int> exitCodes;
    std::vector<std::string> dialogs;
    std::string openPath;
    std::string savePath;
    std::unique_ptr<DeviceMainDlg> window;
};

// The first live message box, or null.
inline DUI::MWindow* FindMessageBox() {
    const std::vector<DUI::MWindow*> boxes = DUI::FindWindows("MessageBox");
    return boxes.empty() ? nullptr : boxes.front();
}

}  // namespace kestrix::test
