// SPDX-License-Identifier: MIT
#include "app/FrameControls.h"

#include <utility>

#include "app/MainLayout.h"
#include "app/MainViewState.h"
#include "app/SettingsPage.h"
#include "app/ShellStyle.h"
#include "base/Text.h"
#include "device/HidDeviceManager.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/CArea.h"
#include "ui/CDeviceList.h"
#include "ui/MControlFont.h"
#include "ui/MDialog.h"
#include "ui/MTabCtrl.h"
#include "ui/MText.h"

namespace kestrix {

using namespace frame_id;

namespace {

constexpr int kDeviceControlIds[] = {kCaption,       kDeviceColumn, kMousePicture, kProfileLabel,
                                     kProfileButton, kStageSwatch,  kStageText,    kFirmwareCheck};
constexpr int kHomeListIds[] = {kDeviceList, kListPrevious, kListNext};

}  // namespace

const TabItem kTabItems[6] = {
    {kPageHome, text::kTabHome, "icon\\tab_home.png"},
    {kPageButtons, text::kTabButtons, "icon\\tab_key.png"},
    {kPagePerformance, text::kTabPerformance, "icon\\tab_dpi.png"},
    {kPageMacros, text::kTabMacros, "icon\\tab_macro.png"},
    {kPageLighting, text::kTabLighting, "icon\\tab_light.png"},
    {kPageDeviceSettings, text::kTabDevice, "icon\\tab_set.png"},
};

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

void CreateFrameControls(DUI::MDialog& window, const MainLayout& layout,
                         const std::string& programName) {
    const DUI::Rect none{};
    // Title band.
    window.CreateControl("CImageButton", kLogo, none)->SetImage("tray.png");
    if (auto* name = window.CreateControlAs<DUI::MText>("MText", kProgramName, none, programName)) {
        name->SetFont(20);
        name->SetFontWidth(700);
        name->SetTextColor(kHeadingColour);
    }
    if (auto* caption = window.CreateControlAs<DUI::MText>("MText", kCaption, none)) {
        caption->SetFont(13);
        caption->SetTextColor(kSecondaryColour);
    }
    const std::pair<int, const char*> buttons[] = {{kSettings, "sysbtn_setting.png"},
                                                   {kMinimise, "sysbtn_min.png"},
                                                   {kMaximise, "sysbtn_maximize.png"},
                                                   {kClose, "sysbtn_close.png"}};
    for (const auto& [id, image] : buttons)
        window.CreateControl("CImageButton", id, none)->SetImage(image);

    // Home: the device list and the panel shown without a device.
    window.CreateControl("CDeviceList", kDeviceList, none);
    window.CreateControl("CImageButton", kListPrevious, none)->SetImage("img_btn_pre.png");
    window.CreateControl("CImageButton", kListNext, none)->SetImage("img_btn_next.png");
    if (DUI::CArea* panel = window.CreateArea(kNoDevicePanel, layout.NoDevicePanel())) {
        panel->SetTransparent(true);
        window.CreateControl("MPicture", kNoDevicePicture, none, "", panel)
            ->SetImage("img_mouse_outline.png");
        if (auto* title =
                window.CreateControlAs<DUI::MText>("MText", kNoDeviceTitle, none, "", panel)) {
            title->SetFont(20);
            title->SetAlignment(DUI::kAlignCenter);
            title->SetTextColor(kHeadingColour);
        }
        if (auto* hint =
                window.CreateControlAs<DUI::MText>("MText", kNoDeviceHint, none, "", panel)) {
            hint->SetFont(14);
            hint->SetFontWidth(400);
            hint->SetAlignment(DUI::kAlignCenter);
            hint->SetTextColor(kSecondaryColour);
        }
    }

    // Device pages: tab strip, device column, one panel per page.
    if (auto* tabs = window.CreateControlAs<DUI::MTabCtrl>("MTabCtrl", kTabs, none)) {
        tabs->SetImage("img_tabitem_bkg.png");
        for (const TabItem& item : kTabItems)
            tabs->AddItem(item.itemId, GetLanText(item.textId), item.icon);
        tabs->SetCurSel(0);
    }
    window.CreateArea(kDeviceColumn, none);
    window.CreateControl("MPicture", kMousePicture, none)->SetImage("device\\mouse.png");
    if (auto* profile = window.CreateControlAs<DUI::MText>("MText", kProfileLabel, none)) {
        profile->SetFont(16);
        profile->SetTextColor(kHeadingColour);
    }
    window.CreateControl("CImageButton", kProfileButton, none)->SetImage("img_btn_next.png");
    window.CreateControl("BatteryCtrl", kBattery, none);
    if (auto* swatch = window.CreateControlAs<DUI::CArea>("CArea", kStageSwatch, none))
        swatch->SetRadius(12);
    if (auto* stage = window.CreateControlAs<DUI::MText>("MText", kStageText, none)) {
        stage->SetFont(28);
        stage->SetFontWidth(700);
        stage->SetTextColor(kHeadingColour);
    }
    for (const TabItem& item : kTabItems) {
        if (item.itemId == kPageHome) continue;
        DUI::CArea* panel = window.CreateArea(kPagePanelBase + item.itemId, none);
        if (auto* title = window.CreateControlAs<DUI::MText>("MText", kPageTitleBase + item.itemId,
                                                             none, "", panel)) {
            title->SetFont(20);
            title->SetTextColor(kHeadingColour);
        }
    }

    // Status line.
    if (auto* version = window.CreateControlAs<DUI::MText>("MText", kVersionLabel, none)) {
        version->SetFont(13);
        version->SetFontWidth(400);
        version->SetTextColor(kSecondaryColour);
    }
    if (auto* firmware =
            window.CreateControlAs<DUI::MControlFont>("CTextButton", kFirmwareCheck, none)) {
        firmware->SetFont(13);
        firmware->SetAlignment(DUI::kAlignRight);
    }
}

void LayoutFrameControls(DUI::MDialog& window, const MainLayout& layout) {
    const auto place = [&window](int id, const DUI::Rect& rect) {
        if (DUI::MControl* control = window.GetControl(id)) control->SetRect(rect);
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
}

void ShowFrameControls(DUI::MDialog& window, const ViewVisibility& view, bool battery,
                       bool lightingTab) {
    const auto show = [&window](int id, bool visible) {
        if (DUI::MControl* control = window.GetControl(id)) control->SetVisible(visible);
    };
    show(kTabs, view.tabStrip);
    for (int id : kDeviceControlIds) show(id, view.deviceControls);
    show(kBattery, view.deviceControls && battery);
    for (int id : kHomeListIds) show(id, view.homeList);
    // The scroll buttons only when more cards exist than fit.
    auto* list = window.GetControlAs<DUI::CDeviceList>(kDeviceList);
    const bool scrolls = view.homeList && list != nullptr && list->CanScroll();
    show(kListPrevious, scrolls);
    show(kListNext, scrolls);
    show(kNoDevicePanel, view.noDevicePanel);
    for (const TabItem& item : kTabItems)
        show(kPagePanelBase + item.itemId, item.itemId == view.pagePanel);
    show(kSettings, view.settingsButton);
    if (auto* tabs = window.GetControlAs<DUI::MTabCtrl>(kTabs))
        tabs->SetItemVisible(tabs->FindItem(kPageLighting), lightingTab);
}

void SetFrameTexts(DUI::MDialog& window, const std::string& programName, int captionId,
                   const std::string& version) {
    const auto setTitle = [&window](int id, const std::string& title) {
        if (auto* control = window.GetControlAs<DUI::MControlFont>(id)) control->SetTitle(title);
    };
    if (auto* tabs = window.GetControlAs<DUI::MTabCtrl>(kTabs)) {
        for (const TabItem& item : kTabItems)
            tabs->SetItemText(tabs->FindItem(item.itemId), GetLanText(item.textId));
    }
    for (const TabItem& item : kTabItems)
        setTitle(kPageTitleBase + item.itemId, GetLanText(item.textId));
    setTitle(kProgramName, programName);
    setTitle(kCaption, GetLanText(captionId));
    setTitle(kNoDeviceTitle, GetLanText(text::kCaptionNoDevice));
    setTitle(kNoDeviceHint, GetLanText(text::kCheckConnection));
    setTitle(kVersionLabel,
             Format("%s: v%s", GetLanText(text::kVersionPrefix).c_str(), version.c_str()));
    if (DUI::MControl* close = window.GetControl(kClose))
        close->SetToolTip(GetLanText(text::kClose));
}

void SetNoDeviceHint(DUI::MDialog& window, const std::vector<std::string>& deniedPaths) {
    if (auto* hint = window.GetControlAs<DUI::MControlFont>(kNoDeviceHint)) {
        hint->SetTitle(deniedPaths.empty() ? GetLanText(text::kCheckConnection)
                                           : PermissionFixMessage(deniedPaths));
    }
}

}  // namespace kestrix
