// SPDX-License-Identifier: MIT
#include "app/CUIMessageBox.h"

#include "app/ShellStyle.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/MButton.h"
#include "ui/MText.h"

namespace kestrix {
namespace {

constexpr int kWidth = 430;
constexpr int kHeight = 230;
constexpr int kFontSize = 16;
constexpr int kButtonWidth = 100;
constexpr int kButtonGap = 40;

}  // namespace

CUIMessageBox::CUIMessageBox(int type, std::string upperText, std::string lowerText)
    : m_type(type), m_upper(std::move(upperText)), m_lower(std::move(lowerText)) {}

bool CUIMessageBox::OnInitDialog() {
    SetTopMost(true);
    // The keyboard starts on OK, or on No for a question: a stray Enter never says yes.
    SetFocusControl(m_type == kMessageBoxYesNo ? kSecondButton : kFirstButton);
    return true;
}

void CUIMessageBox::InitUI(const DUI::Rect& rect) {
    LoadBKImage("bk_prompt.png");
    SetBackMode(1, 30);
    SetBkColor(kDialogBackground, kDialogBorder);
    const int w = rect.Width();
    const int h = rect.Height();

    if (auto* upper = CreateControlAs<DUI::MText>("MText", 31, {20, 20, w - 20, 50}, m_upper)) {
        upper->SetFont(kFontSize + 2);
        upper->SetAlignment(DUI::kAlignCenter);
        upper->SetTextColor(kHeadingColour);
    }
    if (auto* lower = CreateControlAs<DUI::MText>("MText", 32, {24, 50, w - 24, h - 50}, m_lower)) {
        lower->SetFont(kFontSize - 2);
        lower->SetFontWidth(400);
        lower->SetAlignment(DUI::kAlignCenter | DUI::kAlignWrap);
        lower->SetTextColor(kSecondaryColour);
    }

    const DUI::Rect band{0, h - 50, w, h - 14};
    if (m_type == kMessageBoxOk) {
        auto* ok = CreateControlAs<DUI::MButton>(
            "MButton", kFirstButton, {60, band.top, w - 60, band.bottom}, GetLanText(text::kOk));
        if (ok != nullptr) {
            ok->SetImage("img_button.png");
            ok->SetFont(kFontSize);
            ok->SetPrimary(true);
        }
    } else if (m_type == kMessageBoxYesNo) {
        const int centre = w / 2;
        auto* yes = CreateControlAs<DUI::MButton>("MButton", kFirstButton,
                                                  {centre - kButtonGap / 2 - kButtonWidth, band.top,
                                                   centre - kButtonGap / 2, band.bottom},
                                                  GetLanText(text::kYes));
        auto* no =
            CreateControlAs<DUI::MButton>("MButton", kSecondButton,
                                          {centre + kButtonGap / 2, band.top,
                                           centre + kButtonGap / 2 + kButtonWidth, band.bottom},
                                          GetLanText(text::kNo));
        for (DUI::MButton* button : {yes, no}) {
            if (button == nullptr) continue;
            button->SetImage("img_button.png");
            button->SetFont(kFontSize);
        }
        if (yes != nullptr) yes->SetPrimary(true);
    }
}

void CUIMessageBox::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (code != DUI::kNotifyClick) return;
    if (id == kFirstButton) {
        DoOK();
    } else if (id == kSecondButton) {
        DoCancel();
    }
}

int ShowMessageBox(int type, const std::string& upperText, const std::string& lowerText,
                   DUI::MWindow* parent) {
    CUIMessageBox box(type, upperText, lowerText);
    const DUI::Rect rect{0, 0, kWidth, kHeight};
    if (!box.Create(parent, kMessageBoxTitle, kShellWindowStyle, DUI::kWsExToolWindow, rect)) {
        return DUI::kIdCancel;
    }
    box.CenterWindow();
    const int result = box.ShowModal(DUI::kSwShowNormal);
    box.DestroyWindow();
    return result == DUI::kIdOk ? DUI::kIdOk : DUI::kIdCancel;
}

}  // namespace kestrix
