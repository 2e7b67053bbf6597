// SPDX-License-Identifier: MIT
#include "app/DeviceMainDlg.h"

#include <algorithm>
#include <filesystem>

#include "app/AboutDlg.h"
#include "app/AccessibleNames.h"
#include "app/CUIMessageBox.h"
#include "app/DPIMsgDlg.h"
#include "app/FrameControls.h"
#include "app/MainLayout.h"
#include "app/SaveWaitDlg.h"
#include "app/ShellStyle.h"
#include "app/StartLanguage.h"
#include "app/UiDeviceEvents.h"
#include "app/ViewTour.h"
#include "base/FirmwareVersion.h"
#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "device/DeviceWorker.h"
#include "device/HidDeviceManager.h"
#include "editors/DeviceSettingsPage.h"
#include "editors/MacroPage.h"
#include "platform/AppRegistry.h"
#include "platform/DesktopLauncher.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/CDeviceList.h"
#include "ui/Desktop.h"
#include "ui/MComboBox.h"
#include "ui/MControl.h"
#include "ui/MTabCtrl.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix {

using namespace frame_id;

namespace {

constexpr int kControlTimerMs = 10;
constexpr int kTabIndexHome = 0;
// Width of the band along the window's edges that resizes it (px).
constexpr int kResizeBorder = 6;

DUI::MControlFont* FontControl(DUI::MControl* control) {
    return dynamic_cast<DUI::MControlFont*>(control);
}

}  // namespace

DeviceMainDlg::DeviceMainDlg(AppContext& context)
    : m_context(context),
      m_settings(*this, context),
      m_updateEvents(*this),
      m_deviceEvents(*this, context, m_updateEvents),
      m_shell(*this, context),
      m_column(*this, context),
      m_profiles(*this, context),
      m_choice(*this, context) {}

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
    // 1. to 3. Second launch, window icon, tray icon.
    m_shell.Install();

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
    m_settings.LoadState(m_shell.TrayAvailable());
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
    m_events = std::make_unique<UiDeviceEvents>(m_deviceEvents);
    DeviceEvents& observer =
        m_context.observeWorker ? m_context.observeWorker(*m_events) : *m_events;
    m_worker = std::make_unique<DeviceWorker>(*m_context.devices, *m_context.store, observer,
                                              std::move(config), std::move(hooks));

    // 7. Open and read the attached mouse, then look for a program update unless the user
    // turned that off in the settings.
    QueueTask(DeviceTask::RebuildAndRead);
    if (m_context.registry->ReadAppRegistryInt(kSkipUpdateCheckValue) != 1)
        QueueTask(DeviceTask::UpdateCheck);
    // 8. The worker.
    m_worker->Start();
    // 9. The toolkit's control timer; it runs only while a control animates.
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
                m_shell.EndProgram();
            } else if (wParam == kCommandAbout) {
                AboutDlg::ShowOver(this, m_column.ReleaseNumber(), m_context.software.version);
            }
            return MDialog::OnWindowMessage(msg, wParam, lParam);
        case kWmTrayNotify:
            m_shell.OnTrayNotify(lParam);
            return 0;
        case kWmExitRequest:
            if (lParam == kExitRequestCode) m_shell.EndProgram();
            return 0;
        case kWmShowRequest:
            m_shell.BringBack();
            return 0;
        case DUI::kWmSize:
            if (m_dpiIndicator) m_dpiIndicator->FollowOwner();
            return MDialog::OnWindowMessage(msg, wParam, lParam);
        case kWmUpdateAvailable:
            m_updateEvents.Prompt(wParam);
            return 0;
        case kWmUpdateProgress:
            m_updateEvents.DownloadProgress(static_cast<int>(lParam));
            return 1;
        case kWmProfilePopup:
            m_profiles.OnChoice(wParam, lParam);
            return 0;
        case kWmMacroListMenu:
        case kWmMacroEventEditor:
        case kWmEventListMenu:
            if (MacroPage* macros = m_pages.Macros()) {
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
    m_pages.OnTimer(id);
}

void DeviceMainDlg::OnUserCloseWindow() { m_shell.OnCloseButton(); }

// ---- Control notifications ----

void DeviceMainDlg::OnMessage(int id, int code, std::intptr_t param) {
    if (id == kTabs) {
        OnTabSelected(static_cast<int>(param));
        return;
    }
    // Every other id belongs to the frame or to exactly one editor page.
    if (!IsFrameControl(id) && m_pages.OnMessage(id, code, param)) return;
    if (code != DUI::kNotifyClick) return;
    switch (id) {
        case kLogo:
            if (!m_context.software.websiteUrl.empty())
                m_context.launcher->OpenUrl(m_context.software.websiteUrl);
            return;
        case kClose:
            m_shell.OnCloseButton();
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
            m_profiles.OpenMenu();
            return;
        case kResetDefaults:
        case kResetDefaults2:
        case settings_id::kReset:
            m_choice.ResetToDefaults();
            return;
        case kDeviceList:
            m_choice.OnChosen(param);
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
        case settings_id::kVersion:
            AboutDlg::ShowOver(this, m_column.ReleaseNumber(), m_context.software.version);
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
        case settings_id::kLowBatteryCombo:
            m_settings.StoreLowBatteryChoice();
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

// ---- Closing ----

void DeviceMainDlg::CloseWindow() {
    if (m_closing) return;
    m_closing = true;
    // A check or download on a slow server must not hold the worker's stop.
    if (m_context.stopUpdates) m_context.stopUpdates();
    if (m_worker) m_worker->Stop();
    if (m_events) m_events->Detach();
    m_shell.Uninstall();
    m_context.devices->CloseAll();
    if (m_dpiIndicator) m_dpiIndicator->CloseWindow();
    if (m_saveWait) m_saveWait->CloseWindow();
    m_updateEvents.CloseWindows();
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

// ---- Layout, looks and navigation ----

void DeviceMainDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kWindowBackground, kPanelBorderColour);
    // No smaller than usable, unless the screen made the window smaller still.
    SetMinimumSize(std::min(MainLayout::kMinimumWidth, rect.Width()),
                   std::min(MainLayout::kMinimumHeight, rect.Height()));
    // Frameless, so the window draws no border to resize by; its edges do the job.
    SetResizeBorder(kResizeBorder);
    const MainLayout layout(rect.Width(), rect.Height());
    CreateFrameControls(*this, layout, m_context.programName);
    m_settings.Create();
    LayoutControls(layout);
    CreateEditorPages(layout);
}

void DeviceMainDlg::LayoutControls(const MainLayout& layout) {
    SetCaptionHeight(layout.S(64));
    LayoutFrameControls(*this, layout);
    m_settings.Layout(layout);
    m_pages.Layout(layout.PagePanel());
}
void DeviceMainDlg::UISize(const DUI::Rect& rect) {
    if (DUI::MControl* maximise = GetControl(kMaximise)) {
        maximise->SetImage(IsMaximized() ? "sysbtn_restore.png" : "sysbtn_maximize.png");
    }
    LayoutControls(MainLayout(rect.Width(), rect.Height()));
}

DUI::MControl* DeviceMainDlg::PagePanel(int itemId) const {
    return GetControl(kPagePanelBase + itemId);
}

void DeviceMainDlg::ApplyView() {
    const ViewVisibility view = m_view.Visibility();
    // A mouse on its cable has no battery to show.
    ShowFrameControls(*this, view, m_captionId == kCaptionReceiver, m_definition.lightingPage);
    if (view.noDevicePanel && m_context.devices != nullptr)
        SetNoDeviceHint(*this, m_context.devices->DeniedPaths());
    if (m_pages.Show(view.pagePanel)) LogLine("page %d shown", view.pagePanel);
    m_settings.Show(view.settingsPage);
}

void DeviceMainDlg::ApplyTexts() {
    DUI::Manager::SetFallbackFonts(FallbackFontsOf(CurrentLcid()));
    SetFrameTexts(*this, m_context.programName, m_captionId, m_context.software.version);
    m_column.ShowFirmwareLabel();
    m_settings.ApplyTexts(m_context.software.version);
    m_column.ShowProfileTitle();
    m_deviceEvents.ApplyTexts();
    // The pages set their texts when built; afterwards only a language change renews them.
    if (m_textsApplied) m_pages.ApplyTexts();
    m_textsApplied = true;
    ApplyAccessibleNames(*this);
}

void DeviceMainDlg::LoadModel(int model) {
    m_selectedDevice = model;
    m_column.SetModel(model);
    DeviceDefinition definition;
    // The flags stay on unless the model's file turns them off.
    definition.showSaveTips = true;
    definition.showDpiTips = true;
    if (const CatalogueModel* entry = ModelOf(model)) {
        if (!LoadDeviceDefinition(m_context.moduleFolder, entry->deviceAttr, definition)) {
            LogLine("model file of %s could not be read", entry->deviceAttr.c_str());
        }
    }
    m_definition = definition;
    m_pages.Context().deviceAttr =
        ModelOf(model) != nullptr ? ModelOf(model)->deviceAttr : std::string();
    if (DUI::MControl* picture = GetControl(kMousePicture)) {
        picture->SetImage(m_definition.mousePicture.empty() ? "device\\mouse.png"
                                                            : m_definition.mousePicture);
    }
    ApplyView();
    m_column.ShowFirmwareLabel();
}

void DeviceMainDlg::SetCaption(int textId) {
    m_captionId = textId;
    if (auto* caption = FontControl(GetControl(kCaption))) caption->SetTitle(GetLanText(textId));
    ApplyView();
}

void DeviceMainDlg::ShowDevicePages(bool show) {
    m_view.SetDevicePages(show);
    ApplyView();
}

void DeviceMainDlg::SelectTab(int index) { OnTabSelected(index); }

void DeviceMainDlg::ShowNoDevicePanel(bool show) {
    m_view.SetNoDevicePanel(show);
    ApplyView();
}

void DeviceMainDlg::OpenDevicePages() {
    m_view.SetDevicePages(true);
    OnTabSelected(1);
}

void DeviceMainDlg::SwitchToModel(int model) {
    m_choice.SetChosen(model);
    if (model != m_selectedDevice || m_definition.keys.empty()) LoadModel(model);
}

// The pages share one context: the store, the selected model and the window's services.
void DeviceMainDlg::CreateEditorPages(const MainLayout& layout) {
    EditorContext& context = m_pages.Context();
    context.store = m_context.store;
    context.pointer = m_context.pointer.get();
    context.programFolder = m_context.moduleFolder;
    context.definition = &m_definition;
    context.queueTask = [this](DeviceTask task) { QueueTask(task); };
    context.deviceState = [this] { return m_worker ? m_worker->State() : DeviceState{}; };
    context.updateDeviceState = [this](const std::function<void(DeviceState&)>& change) {
        if (m_worker) m_worker->UpdateState(change);
    };
    context.showSaveWait = [this] { ShowSaveWait(); };
    context.afterSaveWait = [this](std::function<void()> action) {
        if (m_saveWait) return m_saveWait->RunWhenHidden(std::move(action));
        action();
    };
    context.showDpiIndicator = [this](int dpi) {
        if (m_dpiIndicator) m_dpiIndicator->Show(dpi);
    };
    context.messageBox = [this](int type, const std::string& upper, const std::string& lower) {
        return ShowMessageBox(type, upper, lower, this);
    };
    context.chooseFile = [this](bool save, const std::string& filter, const std::string& pattern) {
        return ChooseFile(save ? FileDialogKind::Save : FileDialogKind::Open, filter, pattern);
    };
    context.refreshDeviceColumn = [this] { m_column.ShowCurrentStage(); };

    m_pages.Create(*this, m_context.launcher.get(), layout.PagePanel());
}

bool DeviceMainDlg::OnKeyEvent(const DUI::KeyEvent& key) { return m_pages.OnKeyEvent(key); }

bool DeviceMainDlg::OnEscape() { return m_pages.OnEscape(); }

}  // namespace kestrix
