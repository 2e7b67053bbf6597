// SPDX-License-Identifier: MIT
#include "app/UpdateProcessDlg.h"

#include "app/ShellStyle.h"
#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/MProgress.h"
#include "ui/MText.h"

namespace kestrix {

std::string UpdateProcessDlg::ProgressText(int percent) {
    return Format("%s: %d%%", GetLanText(text::kDownloading).c_str(), percent);
}

void UpdateProcessDlg::SetProgress(int percent) {
    m_percent = percent;
    if (auto* bar = GetControlAs<DUI::MProgress>(kBar)) bar->SetPos(percent);
    if (auto* label = GetControlAs<DUI::MText>(kText)) label->SetTitle(ProgressText(percent));
}

void UpdateProcessDlg::InitUI(const DUI::Rect& rect) {
    SetLayeredWindow(true);
    LoadBKImage("img_area_content.png");
    SetBackMode(1, 16);
    SetBkColor(kDialogBackground, kDialogBorder);
    const int w = rect.Width();
    if (auto* label =
            CreateControlAs<DUI::MText>("MText", kText, {10, 30, w - 20, 50}, ProgressText(0))) {
        label->SetTextColor(kTextColour);
    }
    if (auto* bar = CreateControlAs<DUI::MProgress>("MProgress", kBar, {10, 60, w - 20, 80}))
        bar->SetRange(100);
}

void UpdateProcessDlg::CloseWindow() { DestroyWindow(); }

bool UpdateProcessDlg::OnEscape() { return false; }

}  // namespace kestrix
