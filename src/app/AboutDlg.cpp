// SPDX-License-Identifier: MIT
#include "app/AboutDlg.h"

#include <tuple>

#include "app/ShellStyle.h"
#include "base/FirmwareVersion.h"
#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/MPicture.h"
#include "ui/MText.h"

namespace kestrix {
namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 300;
constexpr int kLogoId = 33;
constexpr int kHelpLineId = 34;

}  // namespace

AboutDlg::AboutDlg(unsigned firmwareVersion, std::string appVersion)
    : m_firmwareVersion(firmwareVersion), m_appVersion(std::move(appVersion)) {}

std::string AboutDlg::FirmwareLine(const std::string& prefix, unsigned firmwareVersion) {
    return FormatFirmwareVersion(prefix, Format("%x", firmwareVersion));
}

void AboutDlg::ShowOver(DUI::MWindow* parent, unsigned firmwareVersion,
                        const std::string& appVersion) {
    AboutDlg dialog(firmwareVersion, appVersion);
    if (!dialog.Create(parent, kAboutTitle, kShellWindowStyle, 0, {0, 0, kWidth, kHeight})) return;
    dialog.CenterWindow();
    dialog.ShowModal(DUI::kSwShowNormal);
    dialog.DestroyWindow();
}

void AboutDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kWindowBackground, kSecondaryColour);
    const int w = rect.Width();
    const int h = rect.Height();
    if (auto* close = CreateControl("CImageButton", kCloseButton, {w - 40, 15, w - 21, 34})) {
        close->SetImage("sysbtn_close.png");
        close->SetToolTip(GetLanText(text::kClose));
    }
    CreateControl("MPicture", kLogoId, {(w - 260) / 2, 80, (w + 260) / 2, 120})
        ->SetImage("logo.png");
    // The second line carries the program's version rather than repeating the firmware line.
    const std::string firmware = FirmwareLine(GetLanText(text::kFirmwarePrefix), m_firmwareVersion);
    const std::string program =
        Format("%s: v%s", GetLanText(text::kVersionPrefix).c_str(), m_appVersion.c_str());
    for (const auto& [id, top, line] :
         {std::tuple{kFirmwareLine, 150, firmware}, std::tuple{kSecondLine, 185, program}}) {
        if (auto* text = CreateControlAs<DUI::MText>(
                "MText", id, {(w - 240) / 2, top, (w + 240) / 2, top + 35}, line)) {
            text->SetAlignment(DUI::kAlignCenter);
            text->SetTextColor(kTextColour);
        }
    }
    if (auto* help = CreateControlAs<DUI::MText>("MText", kHelpLineId, {10, h - 40, w - 10, h - 5},
                                                 GetLanText(text::kHelpLinks))) {
        help->SetAlignment(DUI::kAlignCenter);
        help->SetFont(13);
        help->SetTextColor(kSecondaryColour);
    }
}

void AboutDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (id == kCloseButton && code == DUI::kNotifyClick) DoOK();
}

}  // namespace kestrix
