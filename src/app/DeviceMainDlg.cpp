// SPDX-License-Identifier: MIT
#include "app/DeviceMainDlg.h"

#include <filesystem>

#include "app/AboutDlg.h"
#include "app/CUIMessageBox.h"
#include "app/DPIMsgDlg.h"
#include "app/MainLayout.h"
#include "app/ProfileDlg.h"
#include "app/SaveWaitDlg.h"
#include "app/ShellStyle.h"
#include "app/UiDeviceEvents.h"
#include "app/UpdateProcessDlg.h"
#include "app/UpdateTipDlg.h"
#include "app/ViewTour.h"
#include "base/FirmwareVersion.h"
#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "device/DeviceWorker.h"
#include "device/HidDeviceManager.h"
#include "editors/DeviceSettingsPage.h"
#include "editors/MacroPage.h"
#include "exchange/ProfileFile.h"
#include "platform/AppRegistry.h"
#include "platform/DesktopLauncher.h"
#include "platform/LanguageTexts.h"
#include "platform/SingleInstance.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/CDeviceList.h"
#include "ui/Desktop.h"
#include "ui/MComboBox.h"
#include "ui/MControl.h"
#include "ui/MTabCtrl.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"
#include "update/UpdateService.h"

namespace kestrix {

using namespace frame_id;

const TabItem kTabItems[6] = {
    {kPageHome, text::kTabHome, "icon\\tab_home.png"},
    {kPageButtons, text::kTabButtons, "icon\\tab_key.png"},
    {kPagePerformance, text::kTabPerformance, "icon\\tab_dpi.png"},
    {kPageMacros, text::kTabMacros, "icon\\tab_macro.png"},
    {kPageLighting, text::kTabLighting, "icon\\tab_light.png"},
    {kPageDeviceSettings, text::kTabDevice, "icon\\tab_set.png"},
};

namespace {

// A second launch asks for the window; handed over as this private message.
constexpr unsigned kWmShowRequest = DUI::kWmUser + 101;
// Model name used when "DeviceType" names no catalogue model.
constexpr char kFallbackModelName[] = "Kestrix";
constexpr int kControlTimerMs = 10;
constexpr int kTabIndexHome = 0;

// Controls of the frame itself; every other id is offered to the editor pages first.
bool IsFrameControl(int id) {
    switch (id) {
        case kLogo:
        case kClose:
        case kMinimise:
        case kSettings:
        case kMaximise:
        case kProfileButton:
        case kResetDefaults:
        case kTabs:
        case kDeviceList:
        case kListPrevious:
        case kListNext:
        case kFirmwareCheck:
        case kVersionCheck:
        case kResetDefaults2:
            return true;
        default:
            return (id >= settings_id::kBackground && id <= settings_id::kQa) || id >= kProgramName;
    }
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(AppContext& context)
    : m_context(context), m_settings(*this, context) {}

DeviceMainDlg::~DeviceMainDlg() {
    if (m_events) m_events->Detach();
    if (m_worker) m_worker->Stop();
}

int DeviceMainDlg::TabItemId(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kTabItems))) return 0;
    return kTabItems[index].itemId;
}

ProfileId DeviceMainDlg::CurrentProfile() const { return m_context.store->CurrentProfile(); }

void DeviceMainDlg::QueueTask(DeviceTask code) {
    if (!m_worker) return;
    LogLine("task %d queued", TaskNumber(code));
    m_worker->QueueTask(code);
}

// ---- Initialisation ----

bool DeviceMainDlg::OnInitDialog() {
    // 1. What a second launch looks for: the single-instance guard hands its requests here.
    const DUI::WindowHandle handle = GetSafeHwnd();
    if (m_context.instance) {
        m_context.instance->SetHandlers(
            [handle] { DUI::PostWindowMessage(handle, kWmShowRequest, 0, 0); },
            [handle](int parameter) {
                DUI::PostWindowMessage(handle, kWmExitRequest, 0, parameter);
            });
    }

    // 2. and 3. The window icon and the tray icon.
    const std::string iconPath = DUI::Manager::GetSkinPath("DeviceDriver.ico");
    SetIcon(iconPath);
    // Without an icon in a tray the window must never hide on close.
    const bool desktopHasTray =
        m_context.trayAvailable ? m_context.trayAvailable() : TrayIcon::Available();
    const bool iconShown = desktopHasTray && m_tray.Add(*this, iconPath, m_context.programName);
    m_trayAvailable = m_context.trayAvailable ? desktopHasTray : iconShown;

    // 4. The DPI indicator, shown once and hidden at once.
    m_dpiIndicator = std::make_unique<DPIMsgDlg>();
    m_dpiIndicator->CreateOwned(this);

    // 5. The start model until the first rescan names the attached one.
    m_context.registry->WriteAppRegistryString(kDeviceTypeValue, "101");

    // 6. Catalogue, device list, version label; hot-plug is reported by the process entry
    // through OnDeviceChange (the IME has no counterpart here).
    m_catalogue = LoadCatalogue(m_context.moduleFolder, DUI::Manager::GetTheme());
    if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList)) {
        for (const CatalogueModel& model : m_catalogue.models) {
            list->AddDevice(model.deviceType, model.name,
                            "device/" + std::filesystem::path(model.image).filename().string());
        }
    }
    m_settings.LoadState(m_trayAvailable);
    ApplyTexts();
    ApplyView();

    DeviceWorkerConfig config;
    config.catalogueLines = m_catalogue.lines;
    config.programFolder = m_context.moduleFolder;
    config.dataFolder = m_context.dataFolder;
    config.registry = m_context.registry.get();
    config.getLanText = [](int id) { return GetLanText(id); };
    DeviceWorkerHooks hooks = m_context.workerHooks;
    if (!hooks.applyPointerSettings) {
        // Task 22 applies the device settings page's pending pointer change.
        auto* pointerPage = dynamic_cast<DeviceSettingsPage*>(Page(kPageDeviceSettings));
        if (pointerPage != nullptr)
            hooks.applyPointerSettings = [pointerPage] {
                pointerPage->ApplyPendingPointerChange();
            };
    }
    m_events = std::make_unique<UiDeviceEvents>(static_cast<DeviceEvents&>(*this));
    m_worker = std::make_unique<DeviceWorker>(*m_context.devices, *m_context.store, *m_events,
                                              std::move(config), std::move(hooks));

    // 7. Open and read the attached mouse, then look for a program update.
    QueueTask(DeviceTask::RebuildAndRead);
    QueueTask(DeviceTask::UpdateCheck);
    // 8. The worker.
    m_worker->Start();
    // 9. The toolkit's control timer.
    SetMTimer(kControlTimerMs);
    return true;
}

void DeviceMainDlg::OnDeviceChange(DeviceEventType event, uint16_t vendorId, uint16_t productId,
                                   int interfaceNumber, const std::string& path) {
    if (!m_worker) return;
    if (event != DeviceEventType::Arrival && event != DeviceEventType::RemoveComplete) return;
    m_worker->OnHotplug(event, vendorId, productId, interfaceNumber, path);
}

// ---- Window messages ----

std::intptr_t DeviceMainDlg::OnWindowMessage(unsigned msg, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    switch (msg) {
        case DUI::kWmCommand:
            if (wParam == kCommandTrayExit) {
                EndProgram();
            } else if (wParam == kCommandAbout) {
                AboutDlg::ShowOver(this, SelectedFirmwareVersion(), m_context.software.version);
            }
            return MDialog::OnWindowMessage(msg, wParam, lParam);
        case kWmTrayNotify:
            OnTrayNotify(lParam);
            return 0;
        case kWmExitRequest:
            if (lParam == kExitRequestCode) EndProgram();
            return 0;
        case kWmShowRequest:
            BringBack();
            return 0;
        case kWmUpdateAvailable:
            OnUpdatePrompt(wParam);
            return 0;
        case kWmUpdateProgress:
            if (m_updateWindow != nullptr) m_updateWindow->SetProgress(static_cast<int>(lParam));
            return 1;
        case kWmProfilePopup:
            OnProfilePopup(wParam, lParam);
            return 0;
        case kWmMacroListMenu:
        case kWmMacroEventEditor:
        case kWmEventListMenu:
            if (auto* macros = dynamic_cast<MacroPage*>(Page(kPageMacros))) {
                const int command = static_cast<int>(lParam);
                if (msg == kWmMacroListMenu) macros->OnMacroListMenu(command);
                if (msg == kWmMacroEventEditor) macros->OnInsertMenu(command);
                if (msg == kWmEventListMenu) macros->OnEventListMenu(command);
            }
            return 0;
        case kWmLanguageChanged:
            ApplyTexts();
            return MDialog::OnWindowMessage(msg, wParam, lParam);
        default:
            return MDialog::OnWindowMessage(msg, wParam, lParam);
    }
}

int DeviceMainDlg::OnNcActivate(bool /*active*/) { return 0; }

void DeviceMainDlg::StartViewTour(int dwellMs) {
    m_tour = std::make_unique<ViewTour>(*this, dwellMs);
    m_tour->Start();
}

void DeviceMainDlg::OnTimer(int id) {
    if (m_tour && m_tour->OnTimer(id)) return;
    for (auto& [itemId, page] : m_pages) {
        if (page->OnTimer(id)) return;
    }
}

void DeviceMainDlg::OnUserCloseWindow() { OnCloseButton(); }

// ---- Control notifications ----

void DeviceMainDlg::OnMessage(int id, int code, std::intptr_t param) {
    if (id == kTabs) {
        OnTabSelected(static_cast<int>(param));
        return;
    }
    // Every other id belongs to the frame or to exactly one editor page.
    if (!IsFrameControl(id)) {
        for (auto& [itemId, page] : m_pages) {
            if (page->OnMessage(id, code, param)) return;
        }
    }
    if (code != DUI::kNotifyClick) return;
    switch (id) {
        case kLogo:
            if (!m_context.software.websiteUrl.empty())
                m_context.launcher->OpenUrl(m_context.software.websiteUrl);
            return;
        case kClose:
            OnCloseButton();
            return;
        case kMinimise:
            OnMinimize();
            return;
        case kMaximise:
            OnMaximize();
            return;
        case kSettings:
            m_view.OpenSettings();
            ApplyView();
            return;
        case kProfileButton:
            OnProfileButton();
            return;
        case kResetDefaults:
        case kResetDefaults2:
        case settings_id::kReset:
            OnResetToDefaults();
            return;
        case kDeviceList:
            OnDeviceChosen(param);
            return;
        case kListPrevious:
        case kListNext:
            if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList)) {
                list->SetHighlight(-1);
                list->Scroll(id == kListPrevious ? -1 : 1);
            }
            return;
        case kMouseSettings:
            m_context.launcher->OpenMouseSettings();
            return;
        case kFirmwareCheck:
            if (!m_definition.firmwareUrl.empty()) {
                QueueTask(DeviceTask::FirmwareCheck);
            } else {
                ShowMessageBox(kMessageBoxOk, GetLanText(text::kFirmwareVersion),
                               GetLanText(text::kUpToDate), this);
            }
            return;
        case kVersionCheck:
            ShowMessageBox(kMessageBoxOk, GetLanText(text::kVersionCheck),
                           GetLanText(text::kUpToDate), this);
            return;
        case settings_id::kReturn:
            OnReturnFromSettings();
            return;
        case settings_id::kUpdateButton:
            QueueTask(DeviceTask::UpdateCheck);
            return;
        case settings_id::kLanguageCombo:
            if (auto* combo = GetControlAs<DUI::MComboBox>(settings_id::kLanguageCombo)) {
                ChangeLanguage(combo->GetCurData());
            }
            return;
        default:
            m_settings.HandleClick(id);
            return;
    }
}

void DeviceMainDlg::OnTabSelected(int index) {
    const int itemId = TabItemId(index);
    if (itemId == 0) return;
    m_view.SelectPage(itemId);
    if (auto* tabs = GetControlAs<DUI::MTabCtrl>(kTabs)) tabs->SetCurSel(index);
    ApplyView();
}

void DeviceMainDlg::OnReturnFromSettings() {
    if (m_view.ReturnFromSettings()) {
        if (auto* tabs = GetControlAs<DUI::MTabCtrl>(kTabs)) tabs->SetCurSel(kTabIndexHome);
    }
    ApplyView();
}

void DeviceMainDlg::OnDeviceChosen(std::intptr_t param) {
    auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList);
    int model = static_cast<int>(param);
    if (model <= 0 && list != nullptr) model = list->GetSelectDevice();
    HidDeviceManager& devices = *m_context.devices;
    // 1. Only an identified mouse on line can be worked on.
    if (model <= 0 || !devices.IsIdentified(model)) {
        ShowMessageBox(kMessageBoxOk, GetLanText(text::kCheckConnection),
                       GetLanText(text::kDeviceNotIdentified), this);
        return;
    }
    // 2. A new selection switches the pages to the model and opens its database.
    if (model != m_lastSelectedDevice) {
        m_lastSelectedDevice = model;
        devices.SetSelectedModel(model);
        m_context.registry->WriteAppRegistryString(kDeviceTypeValue, Format("%d", model));
        LoadModel(model);
        if (const CatalogueModel* entry = ModelOf(model)) {
            if (!m_context.store->OpenForModel(m_context.dataFolder, entry->deviceAttr)) {
                LogLine("database of model %d (%s) could not be opened", model,
                        entry->deviceAttr.c_str());
            }
        }
        if (m_worker) {
            const bool lighting = m_definition.lightingPage;
            m_worker->UpdateState([model, lighting](DeviceState& s) {
                s.selectedModel = model;
                s.lightingPage = lighting;
            });
        }
    }
    // 3. Through a receiver the mouse is read again; by cable it already was.
    if (devices.GetConnectionKind() == ConnectionKind::Receiver) {
        SetCaption(text::kCaptionWireless);
        QueueTask(DeviceTask::ReadWithRefresh);
    } else {
        SetCaption(text::kCaptionWired);
    }
    // 4. The device pages, buttons first.
    m_view.SetDevicePages(true);
    OnTabSelected(1);
}

void DeviceMainDlg::OnResetToDefaults() {
    if (!MouseOnLine()) {
        ShowMessageBox(kMessageBoxOk, GetLanText(text::kMouseOffline),
                       GetLanText(text::kCheckConnection), this);
        return;
    }
    if (ShowMessageBox(kMessageBoxYesNo, GetLanText(text::kFactoryResetTitle),
                       GetLanText(text::kFactoryResetText), this) != DUI::kIdOk) {
        return;
    }
    const int deviceType = m_context.registry->ReadAppRegistryInt(kDeviceTypeValue);
    const CatalogueModel* model = ModelOf(deviceType);
    LogLine("restoring factory settings of %s",
            model != nullptr ? model->name.c_str() : kFallbackModelName);
    QueueTask(DeviceTask::RestoreFactory);
}

void DeviceMainDlg::OnCloseButton() {
    // Hiding needs a tray to come back from; without one, close always ends the program.
    if (m_trayAvailable && m_context.registry->ReadAppRegistryInt(kExitModeValue) == 1) {
        ShowWindow(DUI::kSwHide);
        return;
    }
    EndProgram();
}

void DeviceMainDlg::EndProgram() {
    m_tray.Remove();
    m_context.exitProcess(0);
}

void DeviceMainDlg::BringBack() {
    ShowWindow(DUI::kSwShowNormal);
    BringToFront();
}

void DeviceMainDlg::OnTrayNotify(std::intptr_t mouseMessage) {
    switch (mouseMessage) {
        case DUI::kWmLButtonDown:
        case DUI::kWmLButtonDblClk:
            BringBack();
            break;
        case DUI::kWmRButtonUp:
            m_tray.ShowMenu(*this, GetLanText(text::kTrayExit));
            break;
        default:
            break;
    }
}

void DeviceMainDlg::OnProfileButton() {
    if (!MouseOnLine()) {
        ShowMessageBox(kMessageBoxOk, GetLanText(text::kMouseOffline),
                       GetLanText(text::kCheckConnection), this);
        return;
    }
    DUI::Rect anchor =
        GetControl(kProfileButton) != nullptr ? GetControl(kProfileButton)->GetRect() : DUI::Rect{};
    if (DUI::MControl* label = GetControl(kProfileLabel)) anchor.left = label->GetRect().left;
    ClientToScreen(anchor);
    ProfileDlg::ShowAbove(*this, anchor, *m_context.store, CurrentProfile());
}

void DeviceMainDlg::OnProfilePopup(std::uintptr_t action, std::intptr_t profile) {
    DataStore& store = *m_context.store;
    switch (action) {
        case 0:
            store.SetActiveProfile(static_cast<ProfileId>(profile));
            store.SetCurrentProfile(static_cast<ProfileId>(profile));
            ShowProfileTitle();
            QueueTask(DeviceTask::WriteAll);
            break;
        case 1: {
            const std::string path = ChooseFile(FileDialogKind::Open, "MouseKey (*.xml)", "*.xml");
            if (path.empty() || !std::filesystem::exists(path)) return;
            const ProfileImportResult result =
                ImportProfile(store, CurrentProfile(), path, m_definition.lightingPage,
                              [this](DeviceTask task) { QueueTask(task); });
            if (result.imported) ShowProfileTitle();
            break;
        }
        case 2: {
            const std::string path = ChooseFile(FileDialogKind::Save, "Profile (*.xml)", "*.xml");
            if (path.empty()) return;
            ExportProfile(store, static_cast<ProfileId>(profile), path, m_definition.lightingPage,
                          [](const std::string& name) { return LocaliseProfileName(name); });
            break;
        }
        default:
            break;
    }
}

void DeviceMainDlg::OnUpdatePrompt(std::uintptr_t kind) {
    // Each window is made before its task is queued, so the worker's first progress finds it.
    if (kind == kUpdateKindApplication) {
        const std::string lower =
            Format("%s:v%s, %s", GetLanText(text::kLatestVersion).c_str(), m_latestVersion.c_str(),
                   GetLanText(text::kUpdateNow).c_str());
        if (ShowMessageBox(kMessageBoxYesNo, GetLanText(text::kNewVersionAvailable), lower, this) !=
            DUI::kIdOk)
            return;
        UpdateProcessDlg window;
        if (!window.Create(this, kUpdateProcessTitle, kShellWindowStyle, DUI::kWsExToolWindow,
                           {0, 0, UpdateProcessDlg::kWidth, UpdateProcessDlg::kHeight})) {
            LogLine("the update download window could not be created; nothing downloaded");
            return;
        }
        window.CenterWindow();
        m_updateWindow = &window;
        QueueTask(DeviceTask::UpdateDownload);
        window.ShowModal(DUI::kSwShowNormal);
        m_updateWindow = nullptr;
        return;
    }
    if (kind == kUpdateKindFirmware) {
        const std::string lower =
            Format("%s:v%s, %s", GetLanText(text::kLatestVersion).c_str(),
                   FirmwareVersionDigits(SelectedFirmwareLabel().latest).c_str(),
                   GetLanText(text::kUpdateNow).c_str());
        if (ShowMessageBox(kMessageBoxYesNo, GetLanText(text::kFirmwareVersion), lower, this) !=
            DUI::kIdOk)
            return;
        if (m_firmwareWindow) m_firmwareWindow->DestroyWindow();
        m_firmwareWindow = std::make_unique<UpdateTipDlg>();
        const bool created =
            m_firmwareWindow->Create(this, kUpdateTipTitle, kShellWindowStyle, DUI::kWsExToolWindow,
                                     {0, 0, UpdateTipDlg::kWidth, UpdateTipDlg::kHeight});
        if (!created)
            LogLine("the firmware window could not be created; the upgrade runs without it");
        QueueTask(DeviceTask::FirmwareUpgrade);
        if (created) {
            m_firmwareWindow->CenterWindow();
            m_firmwareWindow->ShowModal(DUI::kSwShowNormal);
        }
    }
}

std::string DeviceMainDlg::ChooseFile(FileDialogKind kind, const std::string& filter,
                                      const std::string& pattern) {
    if (m_context.chooseFile) return m_context.chooseFile(kind, filter, pattern);
    (void)pattern;  // the filter text carries the pattern for the toolkit's dialogs
    std::string path;
    const bool chosen = kind == FileDialogKind::Open
                            ? DUI::ShowOpenFileDialog(this, filter, path)
                            : DUI::ShowSaveFileDialog(this, filter, {}, path);
    return chosen ? path : std::string();
}

void DeviceMainDlg::SetUpdateState(int state, const std::string& latestVersion) {
    m_updateState = state;
    m_latestVersion = latestVersion;
    m_settings.SetUpdateState(state, latestVersion);
}

void DeviceMainDlg::SetLatestFirmware(int state, const std::string& latestFirmware) {
    FirmwareLabel& label = SelectedFirmwareLabel();
    label.checkState = state;
    label.latest = latestFirmware;
    ShowFirmwareLabel();
}

std::string DeviceMainDlg::ReportedFirmwareVersion() const {
    return m_events ? m_events->ReportedFirmwareVersion() : std::string();
}

void DeviceMainDlg::ChangeLanguage(int lcid) {
    SetCurrentLcid(lcid);
    m_context.registry->WriteAppRegistryString(kLcidValue, Format("%d", lcid));
    // The font does not depend on the language.
    DUI::Manager::SetFontName("Open Sans Semibold");
    ApplyTexts();
}

bool DeviceMainDlg::MouseOnLine() const {
    if (!m_worker) return false;
    const DeviceState state = m_worker->State();
    // A mouse on its cable answers for itself; the link flag follows the receiver's reports.
    return state.linkUp ||
           (state.devicePresent && m_context.devices->GetConnectionKind() == ConnectionKind::Cable);
}

const CatalogueModel* DeviceMainDlg::ModelOf(int model) const {
    for (const CatalogueModel& entry : m_catalogue.models) {
        if (entry.deviceType == model) return &entry;
    }
    return nullptr;
}

unsigned DeviceMainDlg::SelectedFirmwareVersion() const {
    for (const HidDeviceEntryView& entry : m_context.devices->ListEntries()) {
        if (entry.modelNumber == m_selectedDevice) return entry.releaseNumber;
    }
    return 0;
}

// ---- Closing ----

void DeviceMainDlg::CloseWindow() {
    if (m_closing) return;
    m_closing = true;
    // A check or download on a slow server must not hold the worker's stop.
    if (m_context.stopUpdates) m_context.stopUpdates();
    if (m_context.instance) m_context.instance->SetHandlers([] {}, [](int) {});
    if (m_worker) m_worker->Stop();
    if (m_events) m_events->Detach();
    m_tray.Remove();
    m_context.devices->CloseAll();
    if (m_dpiIndicator) m_dpiIndicator->CloseWindow();
    if (m_saveWait) m_saveWait->CloseWindow();
    if (m_firmwareWindow) m_firmwareWindow->CloseWindow();
    if (m_updateWindow != nullptr) m_updateWindow->CloseWindow();
    SetMTimer(0);
    DestroyWindow();
}

// ---- Auxiliary windows ----

void DeviceMainDlg::ShowSaveWait() {
    if (!m_definition.showSaveTips) return;
    if (!m_saveWait) {
        m_saveWait = std::make_unique<SaveWaitDlg>();
        m_saveWait->CreateOver(this);
        return;
    }
    m_saveWait->Show();
}

}  // namespace kestrix
