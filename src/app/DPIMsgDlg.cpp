// SPDX-License-Identifier: MIT
#include "app/DPIMsgDlg.h"

#include "app/Screen.h"
#include "app/ShellStyle.h"
#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/CImageButton.h"
#include "ui/Desktop.h"
#include "ui/MProgress.h"
#include "ui/MText.h"
#include "ui/Manager.h"

namespace kestrix {

bool DPIMsgDlg::CreateOwned(DUI::MWindow* owner) {
    if (!Create(owner, kDpiIndicatorTitle, kShellWindowStyle,
                DUI::kWsExToolWindow | DUI::kWsExNoActivate, CornerRect(WorkArea()))) {
        return false;
    }
    // A Wayland pop-up cannot be shown before its owner is; it is only kept hidden.
    if (!DUI::IsWaylandSession()) ShowWindow(DUI::kSwShowNoActivate);
    ShowWindow(DUI::kSwHide);
    return true;
}

DUI::Rect DPIMsgDlg::CornerRect(const DUI::Rect& workArea) {
    return {workArea.right - kWidth - 2, workArea.bottom - kHeight - 2, workArea.right - 2,
            workArea.bottom - 2};
}

DUI::Rect DPIMsgDlg::OwnerCornerRect(const DUI::Rect& owner) {
    return {owner.right - kWidth - kOwnerMargin, owner.bottom - kHeight - kOwnerMargin,
            owner.right - kOwnerMargin, owner.bottom - kOwnerMargin};
}

bool DPIMsgDlg::PlaceInCorner() {
    if (!DUI::IsWaylandSession()) {
        MoveWindow(CornerRect(WorkArea()));
        return true;
    }
    // Wayland lets a client place only pop-ups, and only on its own windows: the indicator
    // sits in the main window's bottom-right corner while that window is on screen.
    DUI::MWindow* owner = GetParent();
    // Before the owner is on screen its position is not yet the one its pop-ups are placed by.
    if (owner == nullptr || !owner->IsExposed() || owner->IsMinimized()) return false;
    const DUI::Rect corner = OwnerCornerRect(owner->GetWindowRect());
    // A pop-up on screen keeps its first place; it moves by being shown afresh.
    if (IsWindowVisible() && !(GetWindowRect() == corner)) ShowWindow(DUI::kSwHide);
    MoveWindow(corner);
    return true;
}

void DPIMsgDlg::FollowOwner() {
    if (!DUI::IsWaylandSession() || !IsWindowVisible()) return;
    ShowWindow(PlaceInCorner() ? DUI::kSwShowNoActivate : DUI::kSwHide);
}

void DPIMsgDlg::Show(int dpi) {
    m_value = dpi;
    if (!PlaceInCorner()) return;
    if (auto* value = GetControlAs<DUI::MText>(kValueText)) value->SetTitle(Format("%d", dpi));
    if (auto* bar = GetControlAs<DUI::MProgress>(kBar)) bar->SetPos(dpi);
    ShowWindow(DUI::kSwShowNoActivate);
    SetTimer(kHideTimer, m_hideDelayMs);
    for (DUI::MControl* control : GetControls()) control->Invalidate();
}

bool DPIMsgDlg::OnInitDialog() {
    SetTopMost(true);
    PlaceInCorner();
    return true;
}

void DPIMsgDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kDialogBackground, kDialogBorder);
    const int w = rect.Width();
    if (auto* close = CreateControl("CImageButton", kCloseButton, {w - 36, 10, w - 6, 40})) {
        close->SetImage("sysbtn_close.png");
        close->SetToolTip(GetLanText(text::kClose));
    }
    if (auto* value = CreateControlAs<DUI::MText>("MText", kValueText, {16, 30, 170, 80},
                                                  Format("%d", m_value))) {
        value->SetFont(36);
        value->SetFontWidth(700);
        value->SetAlignment(DUI::kAlignRight);
        value->SetTextColor(DUI::Manager::m_select_color);
    }
    if (auto* unit =
            CreateControlAs<DUI::MText>("MText", kUnitText, {178, 50, w - 10, 80}, "DPI")) {
        unit->SetFont(20);
        unit->SetTextColor(kTextColour);
    }
    if (auto* bar = CreateControlAs<DUI::MProgress>("MProgress", kBar, {16, 92, w - 20, 100})) {
        bar->SetRange(16000);
        bar->SetPos(m_value);
    }
}

void DPIMsgDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (id == kCloseButton && code == DUI::kNotifyClick) ShowWindow(DUI::kSwHide);
}

void DPIMsgDlg::OnTimer(int id) {
    if (id != kHideTimer) return;
    KillTimer(kHideTimer);
    ShowWindow(DUI::kSwHide);
}

void DPIMsgDlg::CloseWindow() {
    KillTimer(kHideTimer);
    DestroyWindow();
}

}  // namespace kestrix
