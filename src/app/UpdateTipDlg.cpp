// SPDX-License-Identifier: MIT
#include "app/UpdateTipDlg.h"

#include "app/ShellStyle.h"
#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/MProgress.h"
#include "ui/MText.h"

namespace kestrix {

void UpdateTipDlg::SetProgress(const std::string& stepText, int percent) {
    if (auto* status = GetControlAs<DUI::MText>(kStatus))
        status->SetTitle(Format("%s: %d%%", stepText.c_str(), percent));
    if (auto* bar = GetControlAs<DUI::MProgress>(kBar)) bar->SetPos(percent);
}

std::string UpdateTipDlg::StatusText() const {
    auto* status = GetControlAs<DUI::MText>(kStatus);
    return status != nullptr ? status->GetTitle() : std::string();
}

void UpdateTipDlg::InitUI(const DUI::Rect& rect) {
    SetLayeredWindow(true);
    LoadBKImage("img_upgrade_bkg.png");
    SetBkColor(kDialogBackground, kDialogBorder);
    const int w = rect.Width();
    if (auto* title = CreateControlAs<DUI::MText>("MText", kTitle, {20, 10, w - 20, 60},
                                                  GetLanText(text::kFirmwareWindowTitle))) {
        title->SetAlignment(DUI::kAlignCenter | DUI::kAlignWrap);
        title->SetTextColor(kWarningColour);
    }
    if (auto* status = CreateControlAs<DUI::MText>("MText", kStatus, {20, 60, w - 20, 80},
                                                   GetLanText(text::kFirmwareUpgrading))) {
        status->SetAlignment(DUI::kAlignCenter);
        status->SetTextColor(kTextColour);
    }
    if (auto* bar = CreateControlAs<DUI::MProgress>("MProgress", kBar, {20, 90, w - 20, 106}))
        bar->SetRange(100);
}

void UpdateTipDlg::CloseWindow() { DestroyWindow(); }

}  // namespace kestrix
