// SPDX-License-Identifier: MIT
#include "app/AppBus.h"

#include <map>
#include <sstream>

#include "app/AppContext.h"
#include "app/DeviceMainDlg.h"
#include "base/Text.h"
#include "cli/KestrixCtl.h"
#include "device/HidDeviceManager.h"
#include "platform/AppRegistry.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/UiThread.h"

namespace kestrix {
namespace {

const char* LinkName(int linkState) {
    return linkState == kLinkUp ? "up" : linkState == kLinkDown ? "down" : "absent";
}

}  // namespace

AppBus::AppBus(AppContext& context, std::string simulation)
    : m_context(context),
      m_service(bus::BusServiceHost{
          [this](const std::vector<std::string>& arguments, const std::string& folder,
                 bool forwarded) {
              std::vector<const char*> argv{"kestrixctl"};
              for (const std::string& argument : arguments) argv.push_back(argument.c_str());
              const std::string simulate = "--simulate=" + m_host.simulation;
              if (!forwarded && !m_host.simulation.empty()) argv.push_back(simulate.c_str());
              std::ostringstream out;
              std::ostringstream err;
              CliEnvironment environment;
              environment.host = &m_host;
              environment.workingDirectory = folder;
              environment.out = &out;
              environment.err = &err;
              const int code =
                  RunKestrixCtl(static_cast<int>(argv.size()), argv.data(), environment);
              return bus::ForwardedRun{code, out.str(), err.str()};
          },
          [this] { return ListMice(); }, [this] { return LowBatteryPercent(); },
          [](const std::string& name, int level) {
              return std::pair(
                  GetLanText(text::kLowBatteryTitle),
                  Format(GetLanText(text::kLowBatteryBody).c_str(), name.c_str(), level));
          }}),
      m_tap(m_service) {
    m_host.simulation = std::move(simulation);
}

AppBus::~AppBus() { Stop(); }

void AppBus::Install() {
    m_context.observeWorker = [this](DeviceEvents& window) -> DeviceEvents& {
        m_tap.SetWindow(&window);
        return m_tap;
    };
}

bool AppBus::Start(DeviceMainDlg& window) {
    m_window = &window;
    m_host.manager = m_context.devices;
    m_host.store = m_context.store;
    m_host.worker = window.Worker();
    m_host.firmwareVersion = [&window] { return window.ReportedFirmwareVersion(); };
    const DUI::WindowHandle handle = window.GetSafeHwnd();
    m_host.changed = [handle, &window] {
        DUI::PostToUiThread([handle, &window] {
            if (DUI::FromHandle(handle) == nullptr) return;
            window.DeviceEventSink().RefreshEditorPages();
        });
    };
    if (m_host.worker == nullptr) return false;
    return m_service.Start();
}

void AppBus::Stop() { m_service.Stop(); }

std::vector<bus::BusMouse> AppBus::ListMice() const {
    if (m_window == nullptr || m_host.worker == nullptr) return {};
    const DeviceState state = m_host.worker->State();
    std::map<int, bus::BusMouse> mice;
    for (const HidDeviceEntryView& entry : m_context.devices->ListAllEntries()) {
        if (entry.modelNumber <= 0) continue;
        const auto known = mice.find(entry.modelNumber);
        // A mouse by cable and behind its receiver at once is listed by its cable.
        if (known != mice.end() && known->second.connection == "cable") continue;
        bus::BusMouse& mouse = mice[entry.modelNumber];
        mouse.model = entry.modelNumber;
        const CatalogueModel* model = m_window->ModelOf(entry.modelNumber);
        mouse.name = model != nullptr ? model->name : entry.productString;
        mouse.connection = entry.mode == 1 ? "receiver" : "cable";
        mouse.link = LinkName(entry.linkState);
        mouse.release = entry.releaseNumber;
        mouse.selected = entry.modelNumber == state.selectedModel;
        if (!mouse.selected) continue;
        const bool online = state.mouseOnline != 0 && entry.linkState == kLinkUp;
        mouse.batteryLevel = online && entry.mode == 1 ? state.batteryB : -1;
        mouse.batteryCharge = online && entry.mode == 1 ? state.batteryA : -1;
        mouse.firmware = m_window->ReportedFirmwareVersion();
        if (m_context.store->IsOpened()) {
            mouse.profile = m_context.store->CurrentProfile();
            std::string name;
            LanguageTexts::ThreadLanguage language(LanguageTexts::kStartLcid);
            if (m_context.store->GetProfileName(mouse.profile, name))
                mouse.profileName = LocaliseProfileName(name);
            int index = 0;
            if (m_context.store->GetSettingInt(mouse.profile, "dpi_index", index)) {
                mouse.dpiIndex = index;
                m_context.store->GetSettingInt(mouse.profile, Format("dpi_group%d_value", index),
                                               mouse.dpi);
            }
        }
    }
    std::vector<bus::BusMouse> list;
    for (auto& [model, mouse] : mice) list.push_back(std::move(mouse));
    return list;
}

int AppBus::LowBatteryPercent() const {
    const int stored = m_context.registry->ReadAppRegistryInt(kLowBatteryValue);
    if (stored < 0) return 0;
    return stored == 0 ? bus::LowBatteryAlarm::kDefaultPercent : stored;
}

}  // namespace kestrix
