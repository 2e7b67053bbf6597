// SPDX-License-Identifier: MIT
// DeviceMainDlg: its controls, their layout and looks, and the device events as they arrive
// on the UI thread.
#include <algorithm>

#include "app/DPIMsgDlg.h"
#include "app/DeviceMainDlg.h"
#include "app/MainLayout.h"
#include "app/SaveWaitDlg.h"
#include "app/ShellStyle.h"
#include "app/UpdateProcessDlg.h"
#include "app/UpdateTipDlg.h"
#include "base/FirmwareVersion.h"
#include "base/Log.h"
#include "base/Text.h"
#include "editors/MacroPage.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "ui/BatteryCtrl.h"
#include "ui/CArea.h"
#include "ui/CDeviceList.h"
#include "ui/MControlFont.h"
#include "ui/MPicture.h"
#include "ui/MTabCtrl.h"
#include "ui/MText.h"
#include "ui/Manager.h"
#include "ui/UiThread.h"

namespace kestrix {

using namespace frame_id;

namespace {

constexpr int kDeviceControlIds[] = {kCaption,       kDeviceColumn, kMousePicture, kProfileLabel,
                                     kProfileButton, kStageSwatch,  kStageText,    kFirmwareCheck};
constexpr int kHomeListIds[] = {kDeviceList, kListPrevious, kListNext};
constexpr int kNoDeviceIds[] = {kNoDevicePanel};
constexpr const char* kClosedTitles[] = {"CloseWindowTipDlg", "CustomKeyDlg", "WaitDlg",
                                         "Menu Window"};
constexpr const char* kHiddenTitles[] = {"KeyboardTip Window", "ComboWnd", "PaletteDlg"};

DUI::MControlFont* FontControl(DUI::MControl* control) {
    return dynamic_cast<DUI::MControlFont*>(control);
}

}  // namespace

void DeviceMainDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kWindowBackground, kPanelBorderColour);
    const MainLayout layout(rect.Width(), rect.Height());
    CreateFrameControls(layout);
    m_settings.Create();
    LayoutControls(layout);
    CreateEditorPages(layout);
}

void DeviceMainDlg::CreateFrameControls(const MainLayout& layout) {
    const DUI::Rect none{};
    // Title band.
    CreateControl("CImageButton", kLogo, none)->SetImage("tray.png");
    if (auto* name =
            CreateControlAs<DUI::MText>("MText", kProgramName, none, m_context.programName)) {
        name->SetFont(20);
        name->SetFontWidth(700);
        name->SetTextColor(kHeadingColour);
    }
    if (auto* caption = CreateControlAs<DUI::MText>("MText", kCaption, none)) {
        caption->SetFont(13);
        caption->SetTextColor(kSecondaryColour);
    }
    const std::pair<int, const char*> buttons[] = {{kSettings, "sysbtn_setting.png"},
                                                   {kMinimise, "sysbtn_min.png"},
                                                   {kMaximise, "sysbtn_maximize.png"},
                                                   {kClose, "sysbtn_close.png"}};
    for (const auto& [id, image] : buttons)
        CreateControl("CImageButton", id, none)->SetImage(image);

    // Home: the device list and the panel shown without a device.
    CreateControl("CDeviceList", kDeviceList, none);
    CreateControl("CImageButton", kListPrevious, none)->SetImage("img_btn_pre.png");
    CreateControl("CImageButton", kListNext, none)->SetImage("img_btn_next.png");
    if (DUI::CArea* panel = CreateArea(kNoDevicePanel, layout.NoDevicePanel())) {
        panel->SetTransparent(true);
        CreateControl("MPicture", kNoDevicePicture, none, "", panel)
            ->SetImage("img_mouse_outline.png");
        if (auto* title = CreateControlAs<DUI::MText>("MText", kNoDeviceTitle, none, "", panel)) {
            title->SetFont(20);
            title->SetAlignment(DUI::kAlignCenter);
            title->SetTextColor(kHeadingColour);
        }
        if (auto* hint = CreateControlAs<DUI::MText>("MText", kNoDeviceHint, none, "", panel)) {
            hint->SetFont(14);
            hint->SetFontWidth(400);
            hint->SetAlignment(DUI::kAlignCenter);
            hint->SetTextColor(kSecondaryColour);
        }
    }

    // Device pages: tab strip, device column, one panel per page.
    if (auto* tabs = CreateControlAs<DUI::MTabCtrl>("MTabCtrl", kTabs, none)) {
        tabs->SetImage("img_tabitem_bkg.png");
        for (const TabItem& item : kTabItems)
            tabs->AddItem(item.itemId, GetLanText(item.textId), item.icon);
        tabs->SetCurSel(0);
    }
    CreateArea(kDeviceColumn, none);
    CreateControl("MPicture", kMousePicture, none)->SetImage("device\\mouse.png");
    if (auto* profile = CreateControlAs<DUI::MText>("MText", kProfileLabel, none)) {
        profile->SetFont(16);
        profile->SetTextColor(kHeadingColour);
    }
    CreateControl("CImageButton", kProfileButton, none)->SetImage("img_btn_next.png");
    CreateControl("BatteryCtrl", kBattery, none);
    if (auto* swatch = dynamic_cast<DUI::CArea*>(CreateControl("CArea", kStageSwatch, none)))
        swatch->SetRadius(12);
    if (auto* stage = CreateControlAs<DUI::MText>("MText", kStageText, none)) {
        stage->SetFont(28);
        stage->SetFontWidth(700);
        stage->SetTextColor(kHeadingColour);
    }
    for (const TabItem& item : kTabItems) {
        if (item.itemId == kPageHome) continue;
        DUI::CArea* panel = CreateArea(kPagePanelBase + item.itemId, none);
        if (auto* title = CreateControlAs<DUI::MText>("MText", kPageTitleBase + item.itemId, none,
                                                      "", panel)) {
            title->SetFont(20);
            title->SetTextColor(kHeadingColour);
        }
    }

    // Status line.
    if (auto* version = CreateControlAs<DUI::MText>("MText", kVersionLabel, none)) {
        version->SetFont(13);
        version->SetFontWidth(400);
        version->SetTextColor(kSecondaryColour);
    }
    if (auto* firmware = FontControl(CreateControl("CTextButton", kFirmwareCheck, none))) {
        firmware->SetFont(13);
        firmware->SetAlignment(DUI::kAlignRight);
    }
}

void DeviceMainDlg::LayoutControls(const MainLayout& layout) {
    SetCaptionHeight(layout.S(64));
    const auto place = [this](int id, const DUI::Rect& rect) {
        if (DUI::MControl* control = GetControl(id)) control->SetRect(rect);
    };
    place(kLogo, layout.Logo());
    place(kProgramName, layout.ProgramName());
    place(kCaption, layout.Caption());
    for (int id : {kSettings, kMinimise, kMaximise, kClose}) place(id, layout.WindowButton(id));
    place(kDeviceList, layout.DeviceList());
    place(kListPrevious, layout.ScrollButton(kListPrevious));
    place(kListNext, layout.ScrollButton(kListNext));
    place(kNoDevicePanel, layout.NoDevicePanel());
    place(kNoDevicePicture, layout.NoDevicePicture());
    place(kNoDeviceTitle, layout.NoDeviceTitle());
    place(kNoDeviceHint, layout.NoDeviceHint());
    place(kTabs, layout.TabStrip());
    place(kDeviceColumn, layout.DeviceColumn());
    place(kMousePicture, layout.MousePicture());
    place(kProfileLabel, layout.ProfileLabel());
    place(kProfileButton, layout.ProfileButton());
    place(kBattery, layout.Battery());
    place(kStageSwatch, layout.StageSwatch());
    place(kStageText, layout.StageText());
    for (const TabItem& item : kTabItems) {
        place(kPagePanelBase + item.itemId, layout.PagePanel());
        place(kPageTitleBase + item.itemId, layout.PageTitle());
    }
    place(kVersionLabel, layout.VersionLabel());
    place(kFirmwareCheck, layout.FirmwareLabel());
    m_settings.Layout(layout);
    LayoutEditorPages(layout);
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
    const auto show = [this](int id, bool visible) {
        if (DUI::MControl* control = GetControl(id)) control->SetVisible(visible);
    };
    show(kTabs, view.tabStrip);
    for (int id : kDeviceControlIds) show(id, view.deviceControls);
    // A mouse on its cable has no battery to show.
    show(kBattery, view.deviceControls && m_captionId == kCaptionReceiver);
    for (int id : kHomeListIds) show(id, view.homeList);
    // The scroll buttons only when more cards exist than fit.
    auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList);
    const bool scrolls = view.homeList && list != nullptr && list->CanScroll();
    show(kListPrevious, scrolls);
    show(kListNext, scrolls);
    for (int id : kNoDeviceIds) show(id, view.noDevicePanel);
    for (const TabItem& item : kTabItems)
        show(kPagePanelBase + item.itemId, item.itemId == view.pagePanel);
    if (view.pagePanel != m_shownPage) {
        if (EditorPage* old = Page(m_shownPage)) old->OnShow(false);
        m_shownPage = view.pagePanel;
        if (EditorPage* shown = Page(m_shownPage)) shown->OnShow(true);
        LogLine("page %d shown", m_shownPage);
    }
    show(kSettings, view.settingsButton);
    m_settings.Show(view.settingsPage);
    if (auto* tabs = GetControlAs<DUI::MTabCtrl>(kTabs)) {
        tabs->SetItemVisible(tabs->FindItem(kPageLighting), m_definition.lightingPage);
    }
}

void DeviceMainDlg::ApplyTexts() {
    const auto setTitle = [this](int id, const std::string& title) {
        if (auto* control = FontControl(GetControl(id))) control->SetTitle(title);
    };
    if (auto* tabs = GetControlAs<DUI::MTabCtrl>(kTabs)) {
        for (const TabItem& item : kTabItems)
            tabs->SetItemText(tabs->FindItem(item.itemId), GetLanText(item.textId));
    }
    for (const TabItem& item : kTabItems)
        setTitle(kPageTitleBase + item.itemId, GetLanText(item.textId));
    setTitle(kProgramName, m_context.programName);
    setTitle(kCaption, GetLanText(m_captionId));
    setTitle(kNoDeviceTitle, GetLanText(text::kCaptionNoDevice));
    setTitle(kNoDeviceHint, GetLanText(text::kCheckConnection));
    setTitle(kVersionLabel, Format("%s: v%s", GetLanText(text::kVersionPrefix).c_str(),
                                   m_context.software.version.c_str()));
    if (DUI::MControl* close = GetControl(kClose)) close->SetToolTip(GetLanText(text::kClose));
    ShowFirmwareLabel();
    m_settings.ApplyTexts(m_context.software.version);
    ShowProfileTitle();
    // The pages set their texts when built; afterwards only a language change renews them.
    if (m_textsApplied) {
        for (auto& [itemId, page] : m_pages) page->ApplyTexts();
    }
    m_textsApplied = true;
}

void DeviceMainDlg::ShowFirmwareLabel() {
    auto* label = FontControl(GetControl(kFirmwareCheck));
    if (label == nullptr) return;
    const FirmwareLabel& firmware = SelectedFirmwareLabel();
    std::string version = firmware.mouseVersion;
    if (version.empty()) {
        const unsigned release = SelectedFirmwareVersion();
        if (release != 0) version = Format("%x", release);
    }
    std::string line = version.empty()
                           ? std::string()
                           : FormatFirmwareVersion(GetLanText(text::kFirmwarePrefix), version);
    // After a firmware check: the server's newer version, or that the mouse is up to date.
    if (firmware.checkState != 0) {
        const std::string check =
            firmware.checkState == 1
                ? FormatFirmwareVersion(GetLanText(text::kLatestVersion), firmware.latest)
                : GetLanText(text::kUpToDate);
        line = line.empty() ? check : line + "  \u00b7  " + check;
    }
    label->SetTitle(line);
}

void DeviceMainDlg::ShowProfileTitle() {
    auto* label = FontControl(GetControl(kProfileLabel));
    DataStore& store = *m_context.store;
    if (label == nullptr || !store.IsOpened()) return;
    std::string name;
    if (store.GetProfileName(store.CurrentProfile(), name))
        label->SetTitle(LocaliseProfileName(name));
}

void DeviceMainDlg::ShowCurrentStage() {
    DataStore& store = *m_context.store;
    if (!store.IsOpened()) return;
    const ProfileId profile = store.CurrentProfile();
    int index = 0;
    int dpi = 0;
    int colour = 0;
    store.GetSettingInt(profile, "dpi_index", index);
    store.GetSettingInt(profile, Format("dpi_group%d_value", index), dpi);
    store.GetSettingInt(profile, Format("dpi_group%d_rgb", index), colour);
    if (auto* swatch = dynamic_cast<DUI::CArea*>(GetControl(kStageSwatch)))
        swatch->SetBkColor(colour);
    if (auto* text = FontControl(GetControl(kStageText))) text->SetTitle(Format("%d DPI", dpi));
}

void DeviceMainDlg::LoadModel(int model) {
    m_selectedDevice = model;
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
    m_editorContext.deviceAttr =
        ModelOf(model) != nullptr ? ModelOf(model)->deviceAttr : std::string();
    if (DUI::MControl* picture = GetControl(kMousePicture)) {
        picture->SetImage(m_definition.mousePicture.empty() ? "device\\mouse.png"
                                                            : m_definition.mousePicture);
    }
    ApplyView();
    ShowFirmwareLabel();
}

// ---- Device events on the UI thread ----

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

void DeviceMainDlg::SetAllDeviceState(int state) {
    if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList)) list->SetAllDeviceState(state);
}

void DeviceMainDlg::SetDeviceState(int model, int mode, int state) {
    m_listModes[model] = mode;
    if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList))
        list->SetDeviceState(model, mode, state);
}

void DeviceMainDlg::SetDeviceVersion(int model, unsigned releaseNumber) {
    if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList))
        list->SetDeviceVersion(model, static_cast<int>(releaseNumber));
    if (model == m_selectedDevice) ShowFirmwareLabel();
}

void DeviceMainDlg::SetDeviceBattery(int model, int batteryA, int batteryB) {
    // Only a mouse behind its receiver runs on its battery.
    const auto mode = m_listModes.find(model);
    if (mode == m_listModes.end() || mode->second != 1) return;
    if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList))
        list->SetDeviceBattery(model, batteryA, batteryB);
}

void DeviceMainDlg::SelectDevice(int model) {
    if (auto* list = GetControlAs<DUI::CDeviceList>(kDeviceList)) list->SetSelectDevice(model);
    m_lastSelectedDevice = model;
    if (model != m_selectedDevice || m_definition.keys.empty()) LoadModel(model);
}

void DeviceMainDlg::SetBatteryInfo(int level, int charge) {
    if (auto* battery = GetControlAs<DUI::BatteryCtrl>(kBattery))
        battery->SetBatteryInfo(level, charge);
}

void DeviceMainDlg::ShowFirmwareVersion(const std::string& versionText) {
    SelectedFirmwareLabel().mouseVersion = versionText;
    ShowFirmwareLabel();
}

// The performance page owns the slider and the stage controls; the frame keeps only the
// current stage in the device column up to date.
void DeviceMainDlg::SetDpiSliderRange(const std::string&, const std::string&, int) {}
void DeviceMainDlg::SelectStageCount(int) {}
void DeviceMainDlg::SelectStageIndex(int) { ShowCurrentStage(); }
void DeviceMainDlg::SetDpiSliderPosition(int) {}

void DeviceMainDlg::ShowDpiIndicator(int dpi) {
    if (m_definition.showDpiTips && m_dpiIndicator) m_dpiIndicator->Show(dpi);
}

void DeviceMainDlg::RefreshEditorPages() {
    ShowProfileTitle();
    ShowCurrentStage();
    for (auto& [itemId, page] : m_pages) RefreshPage(itemId);
}

void DeviceMainDlg::ReapplyPageState() {
    RefreshEditorPages();
    LogLine("device read shown (model %d, profile %d)", m_selectedDevice, CurrentProfile());
}

void DeviceMainDlg::RefreshDpiPage() {
    ShowCurrentStage();
    RefreshPage(kPagePerformance);
}

void DeviceMainDlg::RefreshLightingPage() { RefreshPage(kPageLighting); }
void DeviceMainDlg::RefreshDevicePages() { ApplyView(); }

void DeviceMainDlg::CloseTransientWindows() {
    for (const char* title : kClosedTitles) {
        for (DUI::MWindow* window : DUI::FindWindows(title))
            window->PostMessage(DUI::kWmClose, 0, 0);
    }
    for (DUI::MWindow* window : DUI::FindWindows("MessageBox"))
        window->PostMessage(DUI::kWmClose, DUI::kIdCancel, 0);
    for (const char* title : kHiddenTitles) {
        for (DUI::MWindow* window : DUI::FindWindows(title)) window->ShowWindow(DUI::kSwHide);
    }
    if (m_saveWait) m_saveWait->ShowWindow(DUI::kSwHide);
    StopMacroRecording();
    if (DUI::MControl* stages = GetControl(kDpiStageControl)) stages->KillFocus();
}

void DeviceMainDlg::StopMacroRecording() {
    if (auto* macros = dynamic_cast<MacroPage*>(Page(kPageMacros))) macros->StopMacroRecording();
}

void DeviceMainDlg::UpdateAvailable(int kind) {
    OnWindowMessage(kWmUpdateAvailable, static_cast<std::uintptr_t>(kind), 1);
}

void DeviceMainDlg::UpdateProgress(int percent) { OnWindowMessage(kWmUpdateProgress, 0, percent); }

void DeviceMainDlg::FirmwareProgress(int percent) {
    if (m_firmwareWindow && m_firmwareWindow->IsWindow())
        m_firmwareWindow->SetProgress("升级中", percent);
}

void DeviceMainDlg::CloseFirmwareWindow() {
    if (m_firmwareWindow && m_firmwareWindow->IsWindow()) m_firmwareWindow->DoOK();
}

// ---- Update events on the UI thread ----

void DeviceMainDlg::ShowApplicationCheck(const std::string& latestVersion,
                                         const std::string& /*label*/, bool updateEnabled) {
    // The settings page builds its label from the state, so a language change renews it.
    SetUpdateState(updateEnabled ? 1 : 2, latestVersion);
}

void DeviceMainDlg::ShowFirmwareCheck(const std::string& latestFirmware,
                                      const std::string& /*label*/, bool upgradeEnabled) {
    SetLatestFirmware(upgradeEnabled ? 1 : 2, latestFirmware);
}

void DeviceMainDlg::FirmwareStep(int textId, int percent) {
    if (m_firmwareWindow && m_firmwareWindow->IsWindow())
        m_firmwareWindow->SetProgress(GetLanText(textId), percent);
}

void DeviceMainDlg::DownloadFailed() {
    // The download window would otherwise stay at its last percentage with nothing to wait for.
    if (m_updateWindow != nullptr) m_updateWindow->DoCancel();
}

}  // namespace kestrix
