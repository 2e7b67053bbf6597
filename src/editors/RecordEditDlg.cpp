// SPDX-License-Identifier: MIT
#include "editors/RecordEditDlg.h"

#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "rules/KeyCapture.h"
#include "ui/CImageButton.h"
#include "ui/MButton.h"
#include "ui/MEdit.h"
#include "ui/MText.h"

namespace kestrix {

namespace {

constexpr int kMaxKeyChars = 10;

}  // namespace

RecordEditDlg::Result RecordEditDlg::Ask(DUI::MWindow* owner) {
    RecordEditDlg dialog;
    const std::uint32_t style =
        DUI::kWsPopup | DUI::kWsVisible | DUI::kWsClipSiblings | DUI::kWsClipChildren;
    if (!dialog.Create(owner, kWindowTitle, style, DUI::kWsExToolWindow, {0, 0, kWidth, kHeight}))
        return {};
    dialog.CenterWindow();
    const int result = dialog.ShowModal(DUI::kSwShowNormal);
    dialog.DestroyWindow();
    if (result != DUI::kIdOk) return {};
    return dialog.m_captured;
}

void RecordEditDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(DUI::MakeColour(36, 36, 38), DUI::MakeColour(0, 120, 170));
    const int w = rect.Width();
    const int h = rect.Height();
    if (auto* title =
            CreateControlAs<DUI::MText>("MText", kTitle, {w / 2 - 100, 10, w / 2 + 100, 40},
                                        GetLanText(text::kInsertKeyTitle))) {
        title->SetAlignment(DUI::kAlignCenter);
        title->SetFont(16);
        title->SetTextColor(DUI::MakeColour(235, 235, 235));
    }
    if (auto* close = CreateControl("CImageButton", kCloseButton, {w - 40, 15, w - 10, 45})) {
        close->SetImage("sysbtn_close.png");
        close->SetToolTip(GetLanText(text::kClose));
    }
    CreateControl("MText", kLabel, {25, 60, 125, 90}, GetLanText(text::kKeyLabel));
    if (auto* field = CreateControlAs<DUI::MEdit>("MEdit", kKeyField, {125, 60, 325, 90})) {
        field->SetImage("img_edit.png");
        field->SetLimitText(kMaxKeyChars);
        field->SetReadOnly(true);
        field->SetTip(GetLanText(text::kPressKeyTip));
    }
    if (auto* confirm = CreateControlAs<DUI::MButton>("MButton", kConfirmButton,
                                                      {w / 2 - 60, h - 50, w / 2 + 60, h - 20},
                                                      GetLanText(text::kOk))) {
        confirm->SetImage("img_button.png");
        confirm->SetPrimary(true);
    }
}

void RecordEditDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    switch (id) {
        case kKeyField:
            if (code == DUI::kNotifyEditEnter) {
                m_capturing = true;
                if (auto* field = GetControlAs<DUI::MEdit>(kKeyField)) field->SetTitle("");
            } else if (code == DUI::kNotifyEditDone) {
                m_capturing = false;
            }
            break;
        case kConfirmButton:
            if (code == DUI::kNotifyClick) DoOK();
            break;
        case kCloseButton:
            if (code == DUI::kNotifyClick) DoCancel();
            break;
        default:
            break;
    }
}

bool RecordEditDlg::OnKeyEvent(const DUI::KeyEvent& key) {
    if (!m_capturing) return false;
    // Once a key is chosen, Tab leaves the field (until then it is the key).
    if (key.scanCode == DUI::kScanTab && m_captured.vk != 0) return false;
    const KeyEvent event = DecodeKeyEvent(key.scanCode, key.pressed);
    if (event.kind == KeyEvent::kKeyboard && !event.name.empty()) {
        m_captured = {event.vk, event.name};
        if (auto* field = GetControlAs<DUI::MEdit>(kKeyField)) field->SetTitle(event.name);
    }
    return true;
}

}  // namespace kestrix
