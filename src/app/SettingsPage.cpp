// SPDX-License-Identifier: MIT
#include "app/SettingsPage.h"

#include "app/AppContext.h"
#include "app/MainLayout.h"
#include "app/ShellStyle.h"
#include "base/Text.h"
#include "bus/LowBatteryAlarm.h"
#include "platform/AppRegistry.h"
#include "platform/Autostart.h"
#include "platform/DesktopLauncher.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/CArea.h"
#include "ui/CCheckButton.h"
#include "ui/CRadioButton.h"
#include "ui/MButton.h"
#include "ui/MComboBox.h"
#include "ui/MControlFont.h"
#include "ui/MDialog.h"
#include "ui/MPicture.h"
#include "ui/MText.h"

namespace kestrix {

using namespace settings_id;

namespace {

constexpr int kAllIds[] = {kBackground,   kReturn,          kVersion,        kUpdateState,
                           kUpdateButton, kReset,           kLanguageLabel,  kLanguageCombo,
                           kStartupLabel, kStartAtLogon,    kStartMinimised, kSeparator1,
                           kSeparator2,   kCloseLabel,      kCloseHides,     kCloseEnds,
                           kLinksLabel,   kWebsite,         kFeedback,       kQa,
                           kCheckAtStart, kLowBatteryLabel, kLowBatteryCombo};

// The low-battery warning thresholds offered, in percent (0: off).
constexpr int kLowBatteryChoices[] = {0, 5, 10, 15, 20, 25, 30};
// The stored value of "off" (a missing or 0 value means the default).
constexpr int kLowBatteryOff = -1;

}  // namespace

SettingsPage::SettingsPage(DUI::MDialog& owner, AppContext& context)
    : m_owner(owner), m_context(context) {}

DUI::MControl* SettingsPage::Control(int id) const { return m_owner.GetControl(id); }

void SettingsPage::Create() {
    const DUI::Rect none{};
    if (auto* background = m_owner.CreateControlAs<DUI::MPicture>("MPicture", kBackground, none)) {
        background->SetImage("img_area_bkg.png");
        background->SetStretch(true);
    }
    m_owner.CreateControl("CImageButton", kReturn, none)->SetImage("img_return.png");

    for (int id : {kLanguageLabel, kStartupLabel, kCloseLabel, kLinksLabel, kLowBatteryLabel}) {
        if (auto* label = m_owner.CreateControlAs<DUI::MText>("MText", id, none)) {
            label->SetFont(15);
            label->SetTextColor(kHeadingColour);
        }
    }
    // The version line opens the about window (the owner handles its click).
    if (auto* version = m_owner.CreateControlAs<DUI::MControlFont>("CTextButton", kVersion, none))
        version->SetFont(15);
    if (auto* state = m_owner.CreateControlAs<DUI::MText>("MText", kUpdateState, none)) {
        state->SetFont(14);
        state->SetTextColor(kSecondaryColour);
    }
    m_owner.CreateControl("MComboBox", kLanguageCombo, none);
    m_owner.CreateControl("MComboBox", kLowBatteryCombo, none);
    for (int id : {kStartAtLogon, kStartMinimised, kCheckAtStart})
        m_owner.CreateControl("CCheckButton", id, none);
    for (int id : {kCloseHides, kCloseEnds}) {
        if (auto* radio = m_owner.CreateControlAs<DUI::CRadioButton>("CRadioButton", id, none)) {
            radio->SetGroupName(kExitModeGroup);
        }
    }
    for (int id : {kSeparator1, kSeparator2}) {
        if (auto* line = dynamic_cast<DUI::CArea*>(m_owner.CreateControl("CArea", id, none))) {
            line->SetBkColor(kPanelBorderColour);
            line->SetBorderColor(-2);
            line->SetRadius(0);
        }
    }
    if (auto* check = m_owner.CreateControlAs<DUI::MButton>("MButton", kUpdateButton, none)) {
        check->SetImage("img_button.png");
        check->SetEnabled(false);
    }
    if (auto* reset = m_owner.CreateControlAs<DUI::MButton>("MButton", kReset, none))
        reset->SetImage("img_button.png");
    for (int id : {kWebsite, kFeedback, kQa}) m_owner.CreateControl("CTextButton", id, none);
    Show(false);
}

void SettingsPage::Layout(const MainLayout& layout) {
    for (int id : kAllIds) {
        if (DUI::MControl* control = Control(id)) control->SetRect(layout.SettingsControl(id));
    }
}

void SettingsPage::Show(bool show) {
    for (int id : kAllIds) {
        if (DUI::MControl* control = Control(id)) control->SetVisible(show);
    }
}

void SettingsPage::LoadState(bool trayAvailable) {
    auto* logon = m_owner.GetControlAs<DUI::CCheckButton>(kStartAtLogon);
    auto* minimised = m_owner.GetControlAs<DUI::CCheckButton>(kStartMinimised);
    if (logon != nullptr && minimised != nullptr) {
        const bool enabled = m_context.autostart->IsEnabled();
        logon->SetCheck(enabled ? 1 : 0);
        minimised->SetEnabled(enabled);
        minimised->SetCheck(
            enabled && m_context.registry->ReadAppRegistryInt(kAutorunMinimizeValue) == 1 ? 1 : 0);
    }
    auto* hides = m_owner.GetControlAs<DUI::CRadioButton>(kCloseHides);
    auto* ends = m_owner.GetControlAs<DUI::CRadioButton>(kCloseEnds);
    if (hides != nullptr && ends != nullptr) {
        // Without a tray a hidden window could not be brought back, so hiding is not offered.
        const bool hideToTray =
            trayAvailable && m_context.registry->ReadAppRegistryInt(kExitModeValue) == 1;
        hides->SetEnabled(trayAvailable);
        if (hideToTray) {
            hides->SetCheck(1);
        } else {
            ends->SetCheck(1);
        }
    }
    if (auto* check = m_owner.GetControlAs<DUI::CCheckButton>(kCheckAtStart))
        check->SetCheck(m_context.registry->ReadAppRegistryInt(kSkipUpdateCheckValue) == 1 ? 0 : 1);
    if (auto* combo = m_owner.GetControlAs<DUI::MComboBox>(kLanguageCombo)) {
        combo->DeleteAllItems();
        for (const LanguageTexts::OfferedLanguage& language :
             LanguageTexts::OfferedLanguages(AvailableLcids())) {
            combo->AddItem(std::string(language.comboText), language.lcid);
        }
        combo->SelectData(CurrentLcid());
    }
    if (auto* combo = m_owner.GetControlAs<DUI::MComboBox>(kLowBatteryCombo))
        combo->SelectData(StoredLowBatteryChoice());
}

int SettingsPage::StoredLowBatteryChoice() const {
    const int stored = m_context.registry->ReadAppRegistryInt(kLowBatteryValue);
    if (stored < 0) return 0;
    return stored == 0 ? bus::LowBatteryAlarm::kDefaultPercent : stored;
}

void SettingsPage::StoreLowBatteryChoice() {
    auto* combo = m_owner.GetControlAs<DUI::MComboBox>(kLowBatteryCombo);
    if (combo == nullptr) return;
    const int percent = combo->GetCurData();
    m_context.registry->WriteAppRegistryString(
        kLowBatteryValue, std::to_string(percent == 0 ? kLowBatteryOff : percent));
}

void SettingsPage::ApplyTexts(const std::string& appVersion) {
    const auto setTitle = [this](int id, const std::string& title) {
        if (auto* control = dynamic_cast<DUI::MControlFont*>(Control(id))) control->SetTitle(title);
    };
    setTitle(kVersion,
             Format("%s: v%s", GetLanText(text::kVersionPrefix).c_str(), appVersion.c_str()));
    setTitle(kUpdateButton, GetLanText(text::kUpdateButton));
    setTitle(kCheckAtStart, GetLanText(text::kCheckUpdatesAtStart));
    setTitle(kReset, GetLanText(text::kResetToDefaults));
    setTitle(kLanguageLabel, GetLanText(text::kLanguage));
    setTitle(kStartupLabel, GetLanText(text::kStartupLabel));
    setTitle(kStartAtLogon, GetLanText(text::kStartAtLogin));
    setTitle(kStartMinimised, GetLanText(text::kStartMinimized));
    setTitle(kCloseLabel, GetLanText(text::kCloseBehaviourLabel));
    setTitle(kCloseHides, GetLanText(text::kCloseHidesToTray));
    setTitle(kCloseEnds, GetLanText(text::kCloseExits));
    setTitle(kLinksLabel, GetLanText(text::kHelpLinks));
    setTitle(kWebsite, GetLanText(text::kLinkWebsite));
    setTitle(kFeedback, GetLanText(text::kLinkFeedback));
    setTitle(kQa, GetLanText(text::kLinkFaq));
    setTitle(kLowBatteryLabel, GetLanText(text::kLowBatteryWarning));
    if (auto* combo = m_owner.GetControlAs<DUI::MComboBox>(kLowBatteryCombo)) {
        const int chosen = combo->GetCount() > 0 ? combo->GetCurData() : StoredLowBatteryChoice();
        combo->DeleteAllItems();
        for (const int percent : kLowBatteryChoices) {
            combo->AddItem(percent == 0 ? GetLanText(text::kWarningOff) : Format("%d %%", percent),
                           percent);
        }
        combo->SelectData(chosen);
    }
    SetUpdateState(m_updateState, m_latestVersion);
}

void SettingsPage::SetUpdateState(int state, const std::string& latestVersion) {
    m_updateState = state;
    m_latestVersion = latestVersion;
    auto* label = dynamic_cast<DUI::MControlFont*>(Control(kUpdateState));
    if (label != nullptr) {
        std::string shown = GetLanText(text::kUpToDate);
        if (state == 1) {
            shown =
                Format("%s: v%s", GetLanText(text::kLatestVersion).c_str(), latestVersion.c_str());
        } else if (state == kUpdateStateCheckFailed) {
            shown = GetLanText(text::kUpdateCheckFailed);
        }
        label->SetTitle(shown);
    }
    if (DUI::MControl* button = Control(kUpdateButton))
        button->SetEnabled(state == 1 || state == kUpdateStateCheckFailed);
}

bool SettingsPage::HandleClick(int id) {
    AppRegistry& registry = *m_context.registry;
    switch (id) {
        case kStartAtLogon: {
            auto* logon = m_owner.GetControlAs<DUI::CCheckButton>(kStartAtLogon);
            auto* minimised = m_owner.GetControlAs<DUI::CCheckButton>(kStartMinimised);
            if (logon == nullptr || minimised == nullptr) return true;
            if (logon->GetCheck() == 1) {
                minimised->SetEnabled(true);
                m_context.autostart->Enable();
            } else {
                minimised->SetCheck(0);
                minimised->SetEnabled(false);
                registry.WriteAppRegistryString(kAutorunMinimizeValue, "0");
                m_context.autostart->Disable();
            }
            return true;
        }
        case kStartMinimised: {
            auto* minimised = m_owner.GetControlAs<DUI::CCheckButton>(kStartMinimised);
            if (minimised != nullptr)
                registry.WriteAppRegistryString(kAutorunMinimizeValue,
                                                minimised->GetCheck() == 1 ? "1" : "0");
            return true;
        }
        case kCheckAtStart: {
            auto* check = m_owner.GetControlAs<DUI::CCheckButton>(kCheckAtStart);
            if (check != nullptr)
                registry.WriteAppRegistryString(kSkipUpdateCheckValue,
                                                check->GetCheck() == 1 ? "0" : "1");
            return true;
        }
        case kCloseHides:
        case kCloseEnds: {
            auto* hides = m_owner.GetControlAs<DUI::CRadioButton>(kCloseHides);
            registry.WriteAppRegistryString(kExitModeValue,
                                            hides != nullptr && hides->GetCheck() == 1 ? "1" : "0");
            return true;
        }
        case kWebsite:
            m_context.launcher->OpenUrl(m_context.software.websiteUrl);
            return true;
        case kFeedback:
            m_context.launcher->OpenUrl(m_context.software.feedbackUrl);
            return true;
        case kQa:
            m_context.launcher->OpenUrl(m_context.software.qaUrl);
            return true;
        default:
            return false;
    }
}

}  // namespace kestrix
