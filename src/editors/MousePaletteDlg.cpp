// SPDX-License-Identifier: MIT
#include "editors/MousePaletteDlg.h"

#include <algorithm>
#include <string>

#include "base/Log.h"
#include "base/Text.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "ui/CArea.h"
#include "ui/CColorButton.h"
#include "ui/CImageButton.h"
#include "ui/MButton.h"
#include "ui/MEdit.h"
#include "ui/MPalette.h"
#include "ui/MText.h"
#include "ui/Manager.h"

namespace kestrix {
namespace {

constexpr int kFieldIds[3] = {MousePaletteDlg::kRedFieldId, MousePaletteDlg::kGreenFieldId,
                              MousePaletteDlg::kBlueFieldId};
constexpr const char* kChannelLabels[3] = {"R:", "G:", "B:"};
constexpr int kRowPitch = 35;  // red, green and blue rows below each other
constexpr int kPresetSize = 26;
constexpr int kPresetPitch = 35;
constexpr int kWindowColour = DUI::MakeColour(36, 36, 38);
constexpr int kBorderColour = DUI::MakeColour(0, 96, 132);  // accent-tinted

}  // namespace

MousePaletteDlg::MousePaletteDlg(int initialColour) : m_result(initialColour) {}

int MousePaletteDlg::Choose(DUI::MWindow* owner, int colour) {
    MousePaletteDlg dialog(colour);
    if (!dialog.CreateWindow(owner)) {
        LogLine("colour palette: the window could not be created");
        return kNothingChosen;
    }
    dialog.ShowModal(DUI::kSwShow);
    return dialog.ResultColour();
}

bool MousePaletteDlg::CreateWindow(DUI::MWindow* owner) {
    if (!Create(owner, kTitle, kStyle & ~DUI::kWsVisible, DUI::kWsExToolWindow,
                {0, 0, kWidth, kHeight})) {
        return false;
    }
    CenterWindow();
    return true;
}

void MousePaletteDlg::InitUI(const DUI::Rect& rect) {
    SetBkColor(kWindowColour, kBorderColour);

    auto* heading = CreateControlAs<DUI::MText>("MText", kHeadingId, {}, GetLanText(text::kColor));
    if (heading != nullptr) {
        heading->SetFont(18);
        heading->SetTextColor(DUI::MakeColour(235, 235, 235));
    }
    if (auto* close = CreateControl("CImageButton", kCloseId, {}); close != nullptr) {
        close->SetImage("sysbtn_close.png");
        close->SetToolTip(GetLanText(text::kClose));
    }
    CreateControl("MPalette", kPaletteId, {});
    if (auto* preview = CreateControlAs<DUI::CArea>("CArea", kPreviewId, {}); preview != nullptr) {
        preview->SetBkColor(kInitialPreview);
        preview->SetRadius(6);
    }
    for (int channel = 0; channel < 3; ++channel) {
        auto* label = CreateControlAs<DUI::MText>("MText", kRedLabelId + channel, {},
                                                  kChannelLabels[channel]);
        if (label != nullptr) {
            label->SetFont(13);
            label->SetTextColor(DUI::MakeColour(150, 150, 150));
        }
        auto* field = CreateControlAs<DUI::MEdit>("MEdit", kFieldIds[channel], {}, "255");
        if (field != nullptr) {
            field->SetImage("img_edit.png");
            field->SetNumber(true);
            field->SetLimitText(3);
            field->SetAlignment(DUI::kAlignCenter);
        }
    }
    for (int i = 0; i < 8; ++i) {
        auto* preset = CreateControlAs<DUI::CColorButton>("CColorButton", kFirstPresetId + i, {});
        if (preset != nullptr) {
            preset->SetColor(kPresets[i]);
            preset->SetGroupName("DEFAULTCOLOR");
        }
    }
    if (auto* confirm =
            CreateControlAs<DUI::MButton>("MButton", kConfirmId, {}, GetLanText(text::kOk));
        confirm != nullptr) {
        confirm->SetPrimary(true);
    }
    Place(rect.Width(), rect.Height());
}

void MousePaletteDlg::UISize(const DUI::Rect& rect) { Place(rect.Width(), rect.Height()); }

void MousePaletteDlg::Place(int w, int h) {
    auto place = [this](int id, const DUI::Rect& r) {
        if (DUI::MControl* control = GetControl(id)) control->SetRect(r);
    };
    place(kHeadingId, {30, 15, w - 60, 45});
    place(kCloseId, {w - 50, 15, w - 20, 45});
    place(kPaletteId, {30, 60, 200, 220});
    place(kPreviewId, {210, 60, 300, 110});
    for (int channel = 0; channel < 3; ++channel) {
        const int top = 120 + channel * kRowPitch;
        place(kRedLabelId + channel, {210, top, 240, top + 25});
        place(kFieldIds[channel], {240, top, 300, top + 25});
    }
    for (int i = 0; i < 8; ++i) {
        const int left = 30 + i * kPresetPitch;
        place(kFirstPresetId + i, {left, 230, left + kPresetSize, 230 + kPresetSize});
    }
    place(kConfirmId, {w - 120, h - 50, w - 20, h - 20});
}

void MousePaletteDlg::OnMessage(int id, int code, std::intptr_t /*param*/) {
    if (id == kPaletteId && code == DUI::kNotifySelChanging) {
        auto* palette = GetControlAs<DUI::MPalette>(kPaletteId);
        if (palette == nullptr) return;
        const int colour = palette->GetSelectColor();
        ShowChannels(colour);
        SelectColour(colour);
    } else if (id >= kFirstPresetId && id < kFirstPresetId + 8 && code == DUI::kNotifyClick) {
        auto* preset = GetControlAs<DUI::CColorButton>(id);
        if (preset == nullptr) return;
        const int colour = preset->GetColor();
        ShowChannels(colour);
        if (auto* palette = GetControlAs<DUI::MPalette>(kPaletteId))
            palette->SetSelectColor(colour);
        SelectColour(colour);
    } else if ((id == kRedFieldId || id == kGreenFieldId || id == kBlueFieldId) &&
               code == DUI::kNotifyTextChanged) {
        ClampField(id);
        const int colour = DUI::MakeColour(ClampField(kRedFieldId), ClampField(kGreenFieldId),
                                           ClampField(kBlueFieldId));
        if (auto* palette = GetControlAs<DUI::MPalette>(kPaletteId))
            palette->SetSelectColor(colour);
        SelectColour(colour);
    } else if (id == kConfirmId && code == DUI::kNotifyClick) {
        DoOK();
    } else if (id == kCloseId && code == DUI::kNotifyClick) {
        m_result = kNothingChosen;
        DoCancel();
    }
}

void MousePaletteDlg::OnUserCloseWindow() {
    // Closing by the window manager is the same as the close button: nothing chosen.
    m_result = kNothingChosen;
    DoCancel();
}

void MousePaletteDlg::ShowChannels(int colour) {
    const int channels[3] = {DUI::ColourRed(colour), DUI::ColourGreen(colour),
                             DUI::ColourBlue(colour)};
    for (int channel = 0; channel < 3; ++channel) {
        if (auto* field = GetControlAs<DUI::MEdit>(kFieldIds[channel]))
            field->SetInt(channels[channel]);
    }
}

void MousePaletteDlg::SelectColour(int colour) {
    m_result = colour;
    if (auto* preview = GetControlAs<DUI::CArea>(kPreviewId)) preview->SetBkColor(colour);
}

int MousePaletteDlg::ClampField(int id) {
    auto* field = GetControlAs<DUI::MEdit>(id);
    if (field == nullptr) return 0;
    const int typed = field->GetInt();
    const int clamped = std::clamp(typed, 0, 255);
    // An empty field reads as 0 and is left empty so the user can type the new number.
    if (clamped != typed) field->SetInt(clamped);
    return clamped;
}

}  // namespace kestrix
