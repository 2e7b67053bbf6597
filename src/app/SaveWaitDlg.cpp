// SPDX-License-Identifier: MIT
#include "app/SaveWaitDlg.h"

#include <utility>

#include "app/ShellStyle.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/MPicture.h"
#include "ui/MProgress2.h"
#include "ui/MText.h"
#include "ui/Manager.h"

namespace kestrix {
namespace {

constexpr int kTextId = 31;
constexpr int kProgressId = 32;
constexpr int kLogoId = 33;
constexpr int kWidth = 500;
constexpr int kHeight = 200;

}  // namespace

bool SaveWaitDlg::CreateOver(DUI::MWindow* owner) {
    // Centred on the main window; it shows progress only and never takes the focus.
    if (!Create(owner, kSaveWaitTitle, kShellWindowStyle,
                DUI::kWsExToolWindow | DUI::kWsExNoActivate, {0, 0, kWidth, kHeight}))
        return false;
    CenterWindow();
    Show();
    return true;
}

void SaveWaitDlg::Show() {
    if (auto* progress = GetControlAs<DUI::MProgress2>(kProgressId)) {
        progress->Start(true);
        progress->SetPos(0);
    }
    SetTimer(kHideTimer, m_hideDelayMs);
    ShowWindow(DUI::kSwShowNoActivate);
}

bool SaveWaitDlg::OnInitDialog() {
    SetTopMost(true);
    SetTimer(kHideTimer, m_hideDelayMs);
    SetMTimer(2);
    return true;
}

void SaveWaitDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kDialogBackground, kDialogBorder);
    const int w = rect.Width();
    CreateControl("MPicture", kLogoId, {10, 10, 190, 50})->SetImage("logo.png");
    if (auto* label = CreateControlAs<DUI::MText>("MText", kTextId, {10, 100, w - 10, 130},
                                                  GetLanText(text::kSavingSettings))) {
        label->SetFont(20);
        label->SetAlignment(DUI::kAlignCenter);
        label->SetTextColor(DUI::Manager::m_select_color);
    }
    if (auto* progress =
            CreateControlAs<DUI::MProgress2>("MProgress2", kProgressId, {40, 136, w - 40, 146})) {
        progress->SetRange(100);
    }
}

void SaveWaitDlg::OnTimer(int id) {
    if (id != kHideTimer) return;
    KillTimer(kHideTimer);
    if (auto* progress = GetControlAs<DUI::MProgress2>(kProgressId)) progress->Stop();
    ShowWindow(DUI::kSwHide);
    for (std::function<void()>& action : std::exchange(m_afterHide, {})) action();
}

void SaveWaitDlg::RunWhenHidden(std::function<void()> action) {
    if (!IsWindowVisible()) {
        action();
        return;
    }
    m_afterHide.push_back(std::move(action));
}

SaveWaitDlg::~SaveWaitDlg() { SetMTimer(0); }

void SaveWaitDlg::CloseWindow() {
    KillTimer(kHideTimer);
    m_afterHide.clear();
    // The control timer must not outlive the controls it animates.
    SetMTimer(0);
    DestroyWindow();
}

}  // namespace kestrix
