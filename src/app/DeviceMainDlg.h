// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/DeviceColumn.h"
#include "app/EditorPageSet.h"
#include "app/FrameControls.h"
#include "app/MainDeviceEvents.h"
#include "app/MainUpdateEvents.h"
#include "app/MainViewState.h"
#include "app/ModelChoice.h"
#include "app/ProfileActions.h"
#include "app/SettingsPage.h"
#include "app/WindowShell.h"
#include "device/Catalogue.h"
#include "device/DeviceMatching.h"
#include "store/StoreRows.h"
#include "ui/MDialog.h"

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

// The main window of the user interface: it owns the device worker (and its task queue), the
// observer that hands the worker's effects to the UI thread, the tray icon, the DPI indicator
// and the save-wait window; it lays out the frame, routes every control notification, the
// tray and the numbered window messages, and runs the navigation between home, the device
// pages and the settings page. What the worker's calls do on the UI thread is in its device
// and update event sinks; the tabs' editor pages are in its page set.
class DeviceMainDlg : public DUI::MDialog {
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
    // Escape closes a page's panel; it never closes the main window.
    bool OnEscape() override;

    // The sinks of the worker's device and update effects (UI thread); they exist from
    // construction, so the update flows can be wired before Create.
    MainDeviceEvents& DeviceEventSink() { return m_deviceEvents; }
    MainUpdateEvents& UpdateEventSink() { return m_updateEvents; }
    // The editor pages of the tabs.
    EditorPageSet& Pages() { return m_pages; }
    // The settings page.
    SettingsPage& Settings() { return m_settings; }

    // Navigation and the device column, as the device events ask for them.
    void SetCaption(int textId);
    void ShowDevicePages(bool show);
    void SelectTab(int index);
    void ShowNoDevicePanel(bool show);
    // Whether the device list has an attached device's card (home shows the list then).
    void SetAnyAttached(bool attached) {
        m_view.SetAnyAttached(attached);
        ApplyView();
    }
    // The device pages, buttons first (a mouse was chosen).
    void OpenDevicePages();
    // Switches the pages, the picture and the firmware label to model and reads its
    // description.
    void LoadModel(int model);
    // The catalogue entry of a model, null when it has none.
    const CatalogueModel* ModelOf(int model) const;
    // The worker selected model: the window switches to it (its description, picture, pages).
    void SwitchToModel(int model);
    // Shows what the visibility state says (after a navigation or model change).
    void ApplyView();
    // The device column and the firmware label.
    DeviceColumn& Column() { return m_column; }
    // True when the selected mouse answers (by cable, or its receiver reports the link).
    bool MouseOnLine() const;

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
    TrayIcon& Tray() { return m_shell.Tray(); }
    // True when closing or starting hidden can come back through a tray icon.
    bool CanHideToTray() const { return m_shell.TrayAvailable(); }
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
    // The firmware version text the worker last reported for the selected mouse ("" when none).
    // Any thread.
    std::string ReportedFirmwareVersion() const;
    // The update download window while its modal loop runs, else null.
    UpdateProcessDlg* UpdateWindow() const { return m_updateEvents.UpdateWindow(); }
    // The firmware window once a firmware prompt was accepted (it may be closed by then).
    UpdateTipDlg* FirmwareWindow() const { return m_updateEvents.FirmwareWindow(); }
    // Shows the window normally and raises it (tray click, second launch).
    void BringBack() { m_shell.BringBack(); }
    // A hot-plug arrival or removal, on the UI thread: queues task 2 or 3 when it concerns
    // the configuration interface of a supported mouse.
    void OnDeviceChange(DeviceEventType event, uint16_t vendorId, uint16_t productId,
                        int interfaceNumber, const std::string& path);
    // The content panel of a tab's page (item id), where its editor places its controls.
    DUI::MControl* PagePanel(int itemId) const;
    // The editor page of a tab (item id), null for home.
    EditorPage* Page(int itemId) const { return m_pages.Page(itemId); }
    // Walks through every view once the device is read, dwellMs per view, then closes.
    void StartViewTour(int dwellMs);
    // What the editor pages were given.
    EditorContext& PageContext() { return m_pages.Context(); }
    // Open or save file dialog (or the context's chooser); "" when cancelled.
    std::string ChooseFile(FileDialogKind kind, const std::string& filter,
                           const std::string& pattern) {
        return m_shell.ChooseFile(kind, filter, pattern);
    }

  private:
    // Frame notifications.
    void OnTabSelected(int index);
    void OnReturnFromSettings();
    void CreateEditorPages(const MainLayout& layout);
    // Layout and looks.
    void LayoutControls(const MainLayout& layout);
    void ApplyTexts();

    AppContext& m_context;
    MainViewState m_view;
    SettingsPage m_settings;
    Catalogue m_catalogue;
    DeviceDefinition m_definition;
    MainUpdateEvents m_updateEvents;
    MainDeviceEvents m_deviceEvents;
    std::unique_ptr<UiDeviceEvents> m_events;
    std::unique_ptr<DeviceWorker> m_worker;
    std::unique_ptr<DPIMsgDlg> m_dpiIndicator;
    std::unique_ptr<SaveWaitDlg> m_saveWait;

    int m_selectedDevice = 0;
    int m_captionId = 50;
    EditorPageSet m_pages;
    WindowShell m_shell;
    DeviceColumn m_column;
    ProfileActions m_profiles;
    ModelChoice m_choice;
    std::unique_ptr<ViewTour> m_tour;
    bool m_closing = false;
    bool m_textsApplied = false;
};

}  // namespace kestrix
