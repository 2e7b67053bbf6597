// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/MainViewState.h"
#include "app/SettingsPage.h"
#include "app/TrayIcon.h"
#include "device/Catalogue.h"
#include "device/DeviceEvents.h"
#include "device/DeviceMatching.h"
#include "editors/EditorPage.h"
#include "store/StoreRows.h"
#include "ui/MDialog.h"
#include "update/UpdateEvents.h"

namespace kestrix {

class DPIMsgDlg;
class DeviceWorker;
class MainLayout;
class SaveWaitDlg;
class UiDeviceEvents;
class ViewTour;
class UpdateProcessDlg;
class UpdateTipDlg;

// Window messages of the main window (numbered as other programs and the worker post them).
inline constexpr unsigned kWmDeviceChange = 0x0219;
inline constexpr unsigned kWmInput = 0x00FF;
inline constexpr unsigned kWmTrayNotify = 1690;
inline constexpr unsigned kWmExitRequest = 1691;
inline constexpr unsigned kWmUpdateAvailable = 1692;
inline constexpr unsigned kWmUpdateProgress = 1694;
inline constexpr unsigned kWmProfilePopup = 1705;
inline constexpr unsigned kWmMacroListMenu = 1709;
inline constexpr unsigned kWmMacroEventEditor = 1710;
inline constexpr unsigned kWmEventListMenu = 1711;
inline constexpr unsigned kWmLanguageChanged = 2022;
// lParam of the only exit request that is obeyed.
inline constexpr std::intptr_t kExitRequestCode = 610;
// WM_COMMAND ids: the tray menu item that ends the program, the about window.
inline constexpr int kCommandTrayExit = 100;
inline constexpr int kCommandAbout = 102;
// Tray icon id.
inline constexpr int kTrayIconId = 109;

// Frame control ids of the main window.
namespace frame_id {
inline constexpr int kLogo = 37;  // opens the website link
inline constexpr int kClose = 38;
inline constexpr int kMinimise = 39;
inline constexpr int kSettings = 40;
inline constexpr int kMaximise = 41;
inline constexpr int kProfileButton = 45;
inline constexpr int kResetDefaults = 46;
inline constexpr int kTabs = 48;
inline constexpr int kDeviceList = 57;
inline constexpr int kListPrevious = 60;
inline constexpr int kListNext = 61;
inline constexpr int kDpiStageControl = 116;
inline constexpr int kMouseSettings = 149;
inline constexpr int kFirmwareCheck = 248;  // the firmware label of the status line
inline constexpr int kVersionCheck = 249;
inline constexpr int kResetDefaults2 = 250;
inline constexpr int kProgramName = 801;
inline constexpr int kCaption = 802;
inline constexpr int kDeviceColumn = 803;
inline constexpr int kMousePicture = 804;
inline constexpr int kProfileLabel = 805;
inline constexpr int kBattery = 806;
inline constexpr int kStageSwatch = 807;
inline constexpr int kStageText = 808;
inline constexpr int kVersionLabel = 809;
inline constexpr int kHomeHeading = 810;
inline constexpr int kNoDevicePanel = 811;
inline constexpr int kNoDevicePicture = 812;
inline constexpr int kNoDeviceTitle = 813;
inline constexpr int kNoDeviceHint = 814;
// Page panel of a tab: kPagePanelBase + item id; its title: kPageTitleBase + item id.
inline constexpr int kPagePanelBase = 900;
inline constexpr int kPageTitleBase = 950;
}  // namespace frame_id

// One tab of the strip: its item id, text id and icon.
struct TabItem {
    int itemId;
    int textId;
    const char* icon;
};
// The six tabs in their order; index = position in the strip.
extern const TabItem kTabItems[6];

// The main window and controller of the user interface. It owns the device worker (and its
// task queue) and the observer that hands the worker's effects to the UI thread, the tray
// icon, the DPI indicator, the save-wait window and the update windows; it routes every
// control notification, the tray and the numbered window messages, and runs the navigation
// between home, the device pages and the settings page. Its DeviceEvents and UpdateEvents
// sides are what the worker's calls become on the UI thread.
class DeviceMainDlg : public DUI::MDialog, public DeviceEvents, public UpdateEvents {
  public:
    explicit DeviceMainDlg(AppContext& context);
    ~DeviceMainDlg() override;

    // MDialog.
    std::intptr_t OnWindowMessage(unsigned msg, std::uintptr_t wParam,
                                  std::intptr_t lParam) override;
    bool OnInitDialog() override;
    void InitUI(const DUI::Rect& rect) override;
    void UISize(const DUI::Rect& rect) override;
    void OnMessage(int id, int code, std::intptr_t param) override;
    int OnNcActivate(bool active) override;
    void OnTimer(int id) override;
    void CloseWindow() override;
    void OnUserCloseWindow() override;
    bool OnKeyEvent(const DUI::KeyEvent& key) override;

    // DeviceEvents, on the UI thread (the worker's calls arrive here through UiDeviceEvents).
    void SetCaption(int textId) override;
    void ShowDevicePages(bool show) override;
    void SelectTab(int index) override;
    void ShowNoDevicePanel(bool show) override;
    void SetAllDeviceState(int state) override;
    void SetDeviceState(int model, int mode, int state) override;
    void SetDeviceVersion(int model, unsigned releaseNumber) override;
    void SetDeviceBattery(int model, int batteryA, int batteryB) override;
    void SelectDevice(int model) override;
    void SetBatteryInfo(int level, int charge) override;
    void ShowFirmwareVersion(const std::string& versionText) override;
    void SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel,
                           int steps) override;
    void SelectStageCount(int count) override;
    void SelectStageIndex(int index) override;
    void SetDpiSliderPosition(int sliderValue) override;
    void ShowDpiIndicator(int dpi) override;
    void RefreshEditorPages() override;
    void ReapplyPageState() override;
    void RefreshDpiPage() override;
    void RefreshLightingPage() override;
    void RefreshDevicePages() override;
    void CloseTransientWindows() override;
    void StopMacroRecording() override;
    void UpdateAvailable(int kind) override;
    void UpdateProgress(int percent) override;
    void FirmwareProgress(int percent) override;
    void CloseFirmwareWindow() override;

    // UpdateEvents, on the UI thread (through UiUpdateEvents).
    void ShowApplicationCheck(const std::string& latestVersion, const std::string& label,
                              bool updateEnabled) override;
    void ShowFirmwareCheck(const std::string& latestFirmware, const std::string& label,
                           bool upgradeEnabled) override;
    void FirmwareStep(int textId, int percent) override;
    void DownloadFailed() override;

    // Appends a task code to the worker's queue (a log line names it).
    void QueueTask(DeviceTask code);
    // Shows the save-wait window when the model asks for it (editors, before a device write).
    void ShowSaveWait();
    // The save-wait window once it was shown, else null.
    SaveWaitDlg* SaveWaitWindow() const { return m_saveWait.get(); }
    // The DPI indicator (exists from initialisation to closing).
    DPIMsgDlg* DpiIndicator() const { return m_dpiIndicator.get(); }
    // The navigation state.
    const MainViewState& View() const { return m_view; }
    // The tray icon.
    TrayIcon& Tray() { return m_tray; }
    // The worker (exists after initialisation).
    DeviceWorker* Worker() const { return m_worker.get(); }
    // The active profile of the store.
    ProfileId CurrentProfile() const;
    // The model the window works on (0 = none yet).
    int SelectedDevice() const { return m_selectedDevice; }
    // The description of the selected model.
    const DeviceDefinition& Definition() const { return m_definition; }
    // The catalogue read at initialisation.
    const Catalogue& GetCatalogue() const { return m_catalogue; }
    // Item id of the tab at index of the strip (0 when out of range).
    static int TabItemId(int index);
    // Chooses a language (the combo's item data) and re-applies every text.
    void ChangeLanguage(int lcid);
    // Records the update check's answer: 1 newer version, 2 up to date (the update part calls
    // it on the UI thread); enables the settings page's update button.
    void SetUpdateState(int state, const std::string& latestVersion);
    // Records the firmware check's answer: 1 newer firmware, 2 up to date, with the server's
    // version text ("131"); the firmware label (248) shows it after the mouse's own version.
    void SetLatestFirmware(int state, const std::string& latestFirmware);
    // The firmware version text the worker last reported for the selected mouse ("" when none).
    // Any thread.
    std::string ReportedFirmwareVersion() const;
    // The update download window while its modal loop runs, else null.
    UpdateProcessDlg* UpdateWindow() const { return m_updateWindow; }
    // The firmware window once a firmware prompt was accepted (it may be closed by then).
    UpdateTipDlg* FirmwareWindow() const { return m_firmwareWindow.get(); }
    // Shows the window normally and raises it (tray click, second launch).
    void BringBack();
    // A hot-plug arrival or removal, on the UI thread: queues task 2 or 3 when it concerns
    // the configuration interface of a supported mouse.
    void OnDeviceChange(DeviceEventType event, uint16_t vendorId, uint16_t productId,
                        int interfaceNumber, const std::string& path);
    // The content panel of a tab's page (item id), where its editor places its controls.
    DUI::MControl* PagePanel(int itemId) const;
    // The editor page of a tab (item id), null for home.
    EditorPage* Page(int itemId) const;
    // Walks through every view once the device is read, dwellMs per view, then closes.
    void StartViewTour(int dwellMs);
    // What the editor pages were given.
    EditorContext& PageContext() { return m_editorContext; }

  private:
    // What the firmware label (248) shows of a model: its mouse's version and the last check.
    struct FirmwareLabel {
        std::string mouseVersion;  // "105" of the mouse behind the receiver
        int checkState = 0;        // 0 not checked, 1 newer firmware found, 2 up to date
        std::string latest;        // the server's version text
    };

    // Frame notifications.
    void OnTabSelected(int index);
    void OnReturnFromSettings();
    void OnDeviceChosen(std::intptr_t param);
    void OnResetToDefaults();
    void OnCloseButton();
    void OnProfileButton();
    void OnProfilePopup(std::uintptr_t action, std::intptr_t profile);
    void OnTrayNotify(std::intptr_t mouseMessage);
    void OnUpdatePrompt(std::uintptr_t kind);
    void EndProgram();
    std::string ChooseFile(FileDialogKind kind, const std::string& filter,
                           const std::string& pattern);
    unsigned SelectedFirmwareVersion() const;
    // Editor pages.
    void CreateEditorPages(const MainLayout& layout);
    void LayoutEditorPages(const MainLayout& layout);
    void RefreshPage(int itemId);
    // Layout and looks.
    void CreateFrameControls(const MainLayout& layout);
    void LayoutControls(const MainLayout& layout);
    void ApplyView();
    void ApplyTexts();
    void ShowProfileTitle();
    void ShowFirmwareLabel();
    // The firmware label state of the selected model.
    FirmwareLabel& SelectedFirmwareLabel() { return m_firmwareLabels[m_selectedDevice]; }
    void ShowCurrentStage();
    void LoadModel(int model);
    bool MouseOnLine() const;
    const CatalogueModel* ModelOf(int model) const;

    AppContext& m_context;
    MainViewState m_view;
    SettingsPage m_settings;
    TrayIcon m_tray;
    Catalogue m_catalogue;
    DeviceDefinition m_definition;
    std::unique_ptr<UiDeviceEvents> m_events;
    std::unique_ptr<DeviceWorker> m_worker;
    std::unique_ptr<DPIMsgDlg> m_dpiIndicator;
    std::unique_ptr<SaveWaitDlg> m_saveWait;
    std::unique_ptr<UpdateTipDlg> m_firmwareWindow;
    UpdateProcessDlg* m_updateWindow = nullptr;  // alive while its modal loop runs

    int m_selectedDevice = 0;
    int m_lastSelectedDevice = 0;
    int m_captionId = 50;
    int m_updateState = 0;
    std::string m_latestVersion;
    std::map<int, FirmwareLabel> m_firmwareLabels;  // model -> what its label shows
    EditorContext m_editorContext;
    std::vector<std::pair<int, std::unique_ptr<EditorPage>>> m_pages;  // item id -> page
    int m_shownPage = 0;
    std::unique_ptr<ViewTour> m_tour;
    std::map<int, int> m_listModes;  // model -> connection mode last shown in the device list
    bool m_trayAvailable = false;
    bool m_closing = false;
    bool m_textsApplied = false;
};

}  // namespace kestrix
