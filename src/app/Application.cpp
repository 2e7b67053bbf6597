// SPDX-License-Identifier: MIT
#include "app/Application.h"

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include "app/AppBus.h"
#include "app/AppContext.h"
#include "app/AppUpdates.h"
#include "app/CommandLine.h"
#include "app/DeviceMainDlg.h"
#include "app/MainLayout.h"
#include "app/PlatformFactory.h"
#include "app/Screen.h"
#include "app/StartLanguage.h"
#include "app/StartupConfig.h"
#include "app/StoreAlerts.h"
#include "base/Log.h"
#include "base/Text.h"
#include "device/HidDeviceManager.h"
#include "platform/AppFolders.h"
#include "platform/AppRegistry.h"
#include "platform/HotplugMonitor.h"
#include "platform/LanguageTexts.h"
#include "platform/PlatformPaths.h"
#include "platform/SingleInstance.h"
#include "store/DataStore.h"
#include "ui/DuiTypes.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix {

void EndProcessNow(int exitCode) {
    std::fflush(nullptr);
    _exit(exitCode);
}

int RunApplication(const ApplicationOptions& options) {
    PlatformFactory& platform = *options.platform;

    // 1. DPI awareness: nothing to declare on Linux; the toolkit scales for high-DPI screens.

    // 2. Program name and offered languages from config.xml.
    std::shared_ptr<AppFolders> folders = platform.Folders();
    const std::string moduleFolder = folders->ModuleFolder();
    LanguageTexts::SetModuleFolder(moduleFolder);
    LanguageTexts::SetAvailableLcids({});
    const StartupConfig config = ReadStartupConfig(moduleFolder);
    LanguageTexts::SetAvailableLcids(config.lcids);
    DUI::Manager::SetDeviceName(config.programName);
    DUI::Manager::SetResourceFolder(moduleFolder);
    folders->SetProgramName(config.programName);

    // 3. One instance: a later launch asks the running one to come forward and ends.
    std::shared_ptr<SingleInstance> instance = platform.MakeSingleInstance(config.programName);
    if (instance->Acquire() == SingleInstance::Role::Second) {
        // The launcher's activation token lets the running window take the focus on Wayland.
        const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
        if (!instance->SendRequest(MakeShowRequest(token != nullptr ? token : "")))
            LogLine("the running instance did not answer \"show\"");
        return kExitOtherInstance;
    }

    // 4. Debug privilege: nothing to raise; access to the mouse comes from the udev rule.
    // 5. GDI+: nothing to start; the toolkit paints with Qt.

    // 6. The language: the one the user chose last; on a first start the desktop locale's,
    // then config.xml's default, then English. Only a choice in the settings view is stored,
    // so a later change of the desktop locale still counts until the user picks one.
    std::shared_ptr<AppRegistry> registry = platform.MakeRegistry(config.programName);
    std::vector<int> offered;
    for (const LanguageTexts::OfferedLanguage& language :
         LanguageTexts::OfferedLanguages(config.lcids))
        offered.push_back(language.lcid);
    SetCurrentLcid(ChooseStartLcid(registry->ReadAppRegistryInt(kLcidValue), DesktopMessageLocale(),
                                   config.defaultLcid, offered));

    // 7. The toolkit's application object.
    DUI::Manager::SetInstance(nullptr);
    // The windows belong to kestrix.desktop even when the binary is renamed or wrapped.
    DUI::Manager::SetDesktopEntry(kDesktopEntryName);

    // 8. The per-user data folder and its "db" sub-folder.
    const std::string dataFolder = folders->DataFolder();
    CreateFolderPath(dataFolder + "db");

    // 9. COM and OLE: nothing to initialise on Linux.

    // 10. "-hide" anywhere on the command line.
    const bool hidden = HasHideSwitch(JoinCommandLine(options.argc, options.argv));

    // 11. The main window and its loop.
    AppContext context;
    context.programName = config.programName;
    context.software = ReadSoftwareInfo(moduleFolder);
    context.moduleFolder = moduleFolder;
    context.dataFolder = dataFolder;
    context.startHidden = hidden;
    context.trayAvailable = options.trayAvailable;
    context.registry = registry;
    context.autostart = platform.MakeAutostart(config.programName);
    context.launcher = platform.MakeLauncher();
    context.pointer = platform.MakePointerSystem();
    context.instance = instance;
    context.devices = options.devices != nullptr ? options.devices : &HidDeviceManager::Instance();
    context.store = options.store != nullptr ? options.store : &DataStore::Instance();
    context.exitProcess =
        options.exitProcess ? options.exitProcess : [](int code) { EndProcessNow(code); };

    // The update flows reach the window through their own observers; they outlive the window
    // (and so its worker), and are in place before the worker starts.
    std::unique_ptr<AppUpdates> updates;
    // Store refusals and a moved-aside database reach the user as one message box each.
    auto storeAlerts = std::make_unique<StoreAlerts>(*context.store);
    // The session bus interface sees the worker's effects from its first task on.
    std::unique_ptr<AppBus> sessionBus;
    if (options.offerSessionBus) {
        sessionBus = std::make_unique<AppBus>(context, options.simulation);
        sessionBus->Install();
    }
    auto window = std::make_unique<DeviceMainDlg>(context);
    updates = std::make_unique<AppUpdates>(context, *window);
    updates->Install(options.workerHooks);
    const DUI::Rect rect = MainLayout::InitialWindowRect(WorkArea());
    if (!window->Create(
            nullptr, config.programName,
            DUI::kWsPopup | DUI::kWsVisible | DUI::kWsClipSiblings | DUI::kWsClipChildren, 0,
            rect)) {
        LogLine("the main window could not be created");
        return kExitNoWindow;
    }
    storeAlerts->SetWindow(window->GetSafeHwnd());
    window->CenterWindow();

    // Hot-plug: udev's hidraw arrivals and removals reach the window on the UI thread.
    std::unique_ptr<HotplugMonitor> hotplug;
    if (options.watchHotplug) {
        const DUI::WindowHandle handle = window->GetSafeHwnd();
        DeviceMainDlg* target = window.get();
        hotplug = std::make_unique<HotplugMonitor>([handle, target](const HotplugEvent& event) {
            DUI::PostToUiThread([handle, target, event] {
                if (DUI::FromHandle(handle) == nullptr) return;
                target->OnDeviceChange(
                    event.action == HotplugEvent::Action::Arrival ? DeviceEventType::Arrival
                                                                  : DeviceEventType::RemoveComplete,
                    event.vendorId, event.productId, event.interfaceNumber, event.nodePath);
            });
        });
        hotplug->Start();
    }

    // Scripts and kestrixctl reach the running window through the session bus; without one the
    // window works as before and kestrixctl says it cannot reach it.
    if (sessionBus) sessionBus->Start(*window);

    if (options.viewTourDwellMs > 0) window->StartViewTour(options.viewTourDwellMs);
    if (options.onWindowCreated) options.onWindowCreated(*window);
    // Starting hidden needs a tray icon to come back from; without one the window shows.
    const bool startHidden = hidden && window->CanHideToTray();
    if (hidden && !startHidden) LogLine("no tray to start hidden in; the window is shown");
    window->ShowModal(startHidden ? DUI::kSwHide : DUI::kSwShowNormal);
    if (hotplug) hotplug->Stop();
    // A command the interface is running still uses the window's worker: it ends first.
    if (sessionBus) sessionBus->Stop();

    // 12. COM, OLE and GDI+ have nothing to shut down; the window object goes last, before the
    // update flows its worker may still be using.
    updates->Stop();
    window.reset();
    sessionBus.reset();
    storeAlerts.reset();
    updates.reset();
    return kExitNormalRun;
}

}  // namespace kestrix
