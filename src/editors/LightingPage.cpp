// SPDX-License-Identifier: MIT
#include "editors/LightingPage.h"

#include <algorithm>
#include <vector>

#include "base/Text.h"
#include "device/DeviceTask.h"
#include "editors/PerfLayout.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "store/DataStore.h"
#include "store/DefaultLightRows.h"
#include "store/StoreRows.h"
#include "ui/CArea.h"
#include "ui/CColorButton.h"
#include "ui/LightSlider.h"
#include "ui/MComboBox.h"
#include "ui/MDialog.h"
#include "ui/MEdit.h"
#include "ui/MPalette.h"
#include "ui/MText.h"

namespace kestrix {
namespace {

constexpr int kAreaId = 3304;
constexpr int kEffectLabelId = 3302;
constexpr int kColourHeadingId = 3303;
constexpr int kFirstChannelLabelId = 3310;  // "R:", "G:", "B:"
constexpr int kPresetCount = 8;
constexpr int kSlotCount = 7;
constexpr int kSliderSteps = 4;
constexpr int kChannelIds[3] = {LightingPage::kRedId, LightingPage::kGreenId,
                                LightingPage::kBlueId};
constexpr const char* kChannelLabels[3] = {"R:", "G:", "B:"};

int ChannelOf(int colour, int channel) {
    return channel == 0   ? DUI::ColourRed(colour)
           : channel == 1 ? DUI::ColourGreen(colour)
                          : DUI::ColourBlue(colour);
}

}  // namespace

LightingPage::LightingPage(EditorContext& context) : m_context(context) {}

std::string LightingPage::BrightnessLabel(int brightness) {
    static constexpr int kPercent[] = {0, 25, 50, 75, 100};
    const int percent = kPercent[std::clamp(brightness, 0, 4)];
    return Format("%s: %d%%", GetLanText(text::kBrightness).c_str(), percent);
}

std::string LightingPage::SpeedLabel(int speed) {
    return Format("%s: %d", GetLanText(text::kSpeed).c_str(), speed);
}

void LightingPage::Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) {
    m_owner = &owner;
    m_area = owner.CreateArea(kAreaId, {}, panel);

    perf_layout::Label(owner, kEffectLabelId, m_area);
    owner.CreateControl("MComboBox", kEffectId, {}, "", m_area);
    if (DUI::MControl* restore = owner.CreateControl("CImageButton", kRestoreId, {}, "", m_area)) {
        restore->SetImage("btn_reset.png");
    }
    perf_layout::Label(owner, kBrightnessLabelId, m_area);
    perf_layout::Label(owner, kSpeedLabelId, m_area);
    for (int id : {kBrightnessId, kSpeedId}) {
        if (auto* slider =
                owner.CreateControlAs<DUI::LightSlider>("LightSlider", id, {}, "", m_area)) {
            slider->SetImage("img_slider_bar.png");
            slider->SetSteps(kSliderSteps);
        }
    }
    perf_layout::Heading(owner, kColourHeadingId, m_area);
    for (int i = 0; i < kPresetCount; ++i) {
        if (auto* preset = owner.CreateControlAs<DUI::CColorButton>(
                "CColorButton", kFirstPresetId + i, {}, "", m_area)) {
            preset->SetColor(kPresets[i]);
            preset->SetGroupName("DEFAULTCOLOR");
        }
    }
    owner.CreateControl("MPalette", kPaletteId, {}, "", m_area);
    if (auto* preview = owner.CreateControlAs<DUI::CArea>("CArea", kPreviewId, {}, "", m_area)) {
        preview->SetBkColor(0xFFFFFF);
        preview->SetRadius(6);
    }
    for (int channel = 0; channel < 3; ++channel) {
        if (auto* label =
                perf_layout::Note(owner, kFirstChannelLabelId + channel, m_area, DUI::kAlignLeft)) {
            label->SetTitle(kChannelLabels[channel]);
        }
        if (auto* field = owner.CreateControlAs<DUI::MEdit>("MEdit", kChannelIds[channel], {},
                                                            "255", m_area)) {
            field->SetImage("img_edit.png");
            field->SetNumber(true);
            field->SetLimitText(3);
            field->SetAlignment(DUI::kAlignCenter);
        }
    }
    for (int i = 0; i < kSlotCount; ++i) {
        if (auto* slot = owner.CreateControlAs<DUI::CColorButton>("CColorButton", kFirstSlotId + i,
                                                                  {}, "", m_area)) {
            slot->SetGroupName("COLORVALUE");
        }
    }
    ApplyTexts();
    m_rect = rect;
    ShowGroups(-1);
}

void LightingPage::Layout(const DUI::Rect& rect) {
    m_rect = rect;
    if (m_owner == nullptr) return;
    DUI::MDialog& owner = *m_owner;
    const double scale = perf_layout::Scale(rect);
    auto s = [scale](int v) { return perf_layout::S(v, scale); };
    auto place = [&owner](int id, const DUI::Rect& r) { perf_layout::Place(owner, id, r); };

    const int width = rect.Width();
    const int pad = s(perf_layout::kPad);
    const int right = width - pad;
    const int configFunc = std::max(m_configFunc, 0);

    int y = s(20);
    place(kEffectLabelId, {pad, y, pad + s(100), y + s(36)});
    place(kEffectId, {pad + s(108), y, pad + s(408), y + s(36)});
    place(kRestoreId, {right - s(36), y, right, y + s(36)});
    y += s(36) + s(28);

    // Brightness on the left half, speed on the right half.
    if (configFunc & (kShowsBrightness | kShowsSpeed)) {
        const int half = (width - s(perf_layout::kGap)) / 2;
        place(kBrightnessLabelId, {pad, y, half - s(12), y + s(24)});
        place(kBrightnessId, {pad - s(14), y + s(28), half - s(12) + s(14), y + s(60)});
        place(kSpeedLabelId, {half + s(12), y, right, y + s(24)});
        place(kSpeedId, {half + s(12) - s(14), y + s(28), right + s(14), y + s(60)});
        y += s(60) + s(28);
    }
    if (configFunc & kShowsColourPicker) {
        place(kColourHeadingId, {pad, y, right, y + s(28)});
        y += s(40);
        const int swatch = s(32);
        for (int i = 0; i < kPresetCount; ++i) {
            const int left = pad + i * (swatch + s(12));
            place(kFirstPresetId + i, {left, y, left + swatch, y + swatch});
        }
        y += swatch + s(20);
        const int paletteRight = pad + s(440);
        place(kPaletteId, {pad, y, paletteRight, y + s(184)});
        const int column = paletteRight + s(32);
        place(kPreviewId, {column, y, column + s(160), y + s(64)});
        for (int channel = 0; channel < 3; ++channel) {
            const int top = y + s(80) + channel * s(36);
            place(kFirstChannelLabelId + channel, {column, top, column + s(28), top + s(28)});
            place(kChannelIds[channel], {column + s(32), top, column + s(160), top + s(28)});
        }
        y += s(184) + s(24);
    }
    if (configFunc & kShowsColourSlots) {
        const int swatch = s(40);
        for (int i = 0; i < kSlotCount; ++i) {
            const int left = pad + i * (swatch + s(16));
            place(kFirstSlotId + i, {left, y, left + swatch, y + swatch});
        }
        y += swatch + s(24);
    }
    // The panel holds just the groups the effect shows.
    if (m_area != nullptr)
        m_area->SetRect({rect.left, rect.top, rect.right, std::min(rect.top + y, rect.bottom)});
}

void LightingPage::ApplyTexts() {
    if (m_owner == nullptr) return;
    perf_layout::SetTitle(*m_owner, kEffectLabelId, GetLanText(text::kEffect));
    perf_layout::SetTitle(*m_owner, kColourHeadingId, GetLanText(text::kColor));
    if (DUI::MControl* restore = m_owner->GetControl(kRestoreId))
        restore->SetToolTip(GetLanText(text::kRestoreDefault));
    // Effect names and the labels in the new language; nothing is stored.
    auto* effects = m_owner->GetControlAs<DUI::MComboBox>(kEffectId);
    if (effects != nullptr && effects->GetCount() > 0 && m_context.HasOpenStore()) {
        std::vector<LightRow> rows;
        m_context.store->ListLightRows(m_context.store->CurrentProfile(), rows);
        for (int i = 0; i < effects->GetCount(); ++i) {
            for (const LightRow& row : rows) {
                if (row.mode == effects->GetItemData(i))
                    effects->SetItemText(i, GetLanText(row.reserved));
            }
        }
    }
    LightRow row;
    if (m_configFunc >= 0 && CurrentRow(row)) {
        perf_layout::SetTitle(*m_owner, kBrightnessLabelId, BrightnessLabel(row.brightness));
        perf_layout::SetTitle(*m_owner, kSpeedLabelId, SpeedLabel(row.speed));
    }
}

bool LightingPage::OnMessage(int id, int code, std::intptr_t /*param*/) {
    const bool click = code == DUI::kNotifyClick;
    if (id == kEffectId) {
        if (click) OnEffectChosen();
    } else if (id == kRestoreId) {
        if (click) OnRestore();
    } else if (id == kBrightnessId) {
        OnBrightness(code);
    } else if (id == kSpeedId) {
        OnSpeed(code);
    } else if (id >= kFirstPresetId && id < kFirstPresetId + kPresetCount) {
        if (click) OnPreset(id);
    } else if (id >= kFirstSlotId && id < kFirstSlotId + kSlotCount) {
        // A slot click only selects the slot the next colour goes to.
    } else if (id == kPaletteId) {
        OnPalette(code);
    } else if (id == kRedId || id == kGreenId || id == kBlueId) {
        if (code == DUI::kNotifyTextChanged) OnField(id);
    } else {
        return false;
    }
    return true;
}

void LightingPage::Refresh() { RefreshLightingPage(); }

void LightingPage::RefreshLightingPage() {
    if (m_owner == nullptr || !m_context.HasOpenStore()) return;
    auto* effects = m_owner->GetControlAs<DUI::MComboBox>(kEffectId);
    if (effects == nullptr) return;
    effects->DeleteAllItems();
    // A model without lighting has no such page: no rows are made for it.
    if (m_context.definition != nullptr && !m_context.definition->lightingPage) {
        m_currentEffect = 0;
        ShowGroups(-1);
        return;
    }
    DataStore& store = *m_context.store;
    const ProfileId profile = store.CurrentProfile();
    // A count that could not be read (-1) is not an empty profile: nothing is inserted then.
    if (store.CountLightRows(profile) == 0) {
        const std::array<bool, 6> enabled = m_context.definition != nullptr
                                                ? m_context.definition->lightModes
                                                : std::array<bool, 6>{};
        InsertDefaultLightRows(store, profile, enabled);
    }
    std::vector<LightRow> rows;
    store.ListLightRows(profile, rows);
    for (const LightRow& row : rows) effects->AddItem(GetLanText(row.reserved), row.mode);
    effects->SelectData(store.GetActiveLightMode(profile));
    ShowEffect();
}

void LightingPage::ShowEffect() {
    if (m_owner == nullptr || m_context.store == nullptr) return;
    auto* effects = m_owner->GetControlAs<DUI::MComboBox>(kEffectId);
    m_currentEffect = effects != nullptr ? effects->GetCurData() : 0;
    const int effect = m_currentEffect;
    m_context.updateDeviceState(
        [effect](DeviceState& state) { state.currentLightingEffect = effect; });

    LightRow row;
    if (!CurrentRow(row)) {
        ShowGroups(-1);
        return;
    }
    m_context.store->SetActiveLightMode(m_context.store->CurrentProfile(), m_currentEffect);
    if (row.configFunc & kShowsBrightness) {
        if (auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kBrightnessId))
            slider->SetPos(row.brightness);
        perf_layout::SetTitle(*m_owner, kBrightnessLabelId, BrightnessLabel(row.brightness));
    }
    if (row.configFunc & kShowsSpeed) {
        if (auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kSpeedId))
            slider->SetPos(row.speed);
        perf_layout::SetTitle(*m_owner, kSpeedLabelId, SpeedLabel(row.speed));
    }
    if (row.configFunc & kShowsColourSlots) {
        for (int i = 0; i < kSlotCount; ++i) {
            if (auto* slot = m_owner->GetControlAs<DUI::CColorButton>(kFirstSlotId + i)) {
                slot->SetColor(row.colorValues[i]);
            }
        }
        if (auto* first = m_owner->GetControlAs<DUI::CColorButton>(kFirstSlotId))
            first->SetCheck(1);
    }
    if (row.configFunc & kShowsColourPicker) {
        // The picker starts at the effect's colour (display only, nothing is stored).
        const int colour = row.colorValues[0];
        ShowChannels(colour);
        if (auto* palette = m_owner->GetControlAs<DUI::MPalette>(kPaletteId))
            palette->SetSelectColor(colour);
        if (auto* preview = m_owner->GetControlAs<DUI::CArea>(kPreviewId))
            preview->SetBkColor(colour);
    }
    ShowGroups(row.configFunc);
}

void LightingPage::ShowGroups(int configFunc) {
    m_configFunc = configFunc;
    if (m_owner == nullptr) return;
    const int bits = std::max(configFunc, 0);
    auto show = [this](int id, bool visible) {
        if (DUI::MControl* control = m_owner->GetControl(id)) control->SetVisible(visible);
    };
    show(kBrightnessLabelId, bits & kShowsBrightness);
    show(kBrightnessId, bits & kShowsBrightness);
    show(kSpeedLabelId, bits & kShowsSpeed);
    show(kSpeedId, bits & kShowsSpeed);
    const bool picker = bits & kShowsColourPicker;
    for (int id : {kColourHeadingId, kPaletteId, kPreviewId, kRedId, kGreenId, kBlueId})
        show(id, picker);
    for (int i = 0; i < 3; ++i) show(kFirstChannelLabelId + i, picker);
    for (int i = 0; i < kPresetCount; ++i) show(kFirstPresetId + i, picker);
    for (int i = 0; i < kSlotCount; ++i) show(kFirstSlotId + i, bits & kShowsColourSlots);
    Layout(m_rect);
}

void LightingPage::OnEffectChosen() {
    ShowEffect();
    Queue(DeviceTask::WriteLighting);
}

void LightingPage::OnBrightness(int code) {
    auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kBrightnessId);
    if (slider == nullptr) return;
    const int value = slider->GetPos();
    perf_layout::SetTitle(*m_owner, kBrightnessLabelId, BrightnessLabel(value));
    if (code != DUI::kNotifyClick) return;
    LightRow row;
    if (!CurrentRow(row)) return;
    row.brightness = value;
    m_context.store->UpdateLightRow(m_currentEffect, row);
    Queue(DeviceTask::WriteLighting);
}

void LightingPage::OnSpeed(int code) {
    auto* slider = m_owner->GetControlAs<DUI::LightSlider>(kSpeedId);
    if (slider == nullptr) return;
    const int value = slider->GetPos();
    const bool released = code == DUI::kNotifyClick;
    perf_layout::SetTitle(*m_owner, kSpeedLabelId, SpeedLabel(value));
    if (!released) return;
    LightRow row;
    if (!CurrentRow(row)) return;
    row.speed = value;
    m_context.store->UpdateLightRow(m_currentEffect, row);
    Queue(DeviceTask::WriteLighting);
}

void LightingPage::OnPreset(int id) {
    auto* preset = m_owner->GetControlAs<DUI::CColorButton>(id);
    if (preset == nullptr) return;
    const int colour = preset->GetColor();
    ShowChannels(colour);
    ApplyColour(colour);
}

void LightingPage::OnPalette(int code) {
    auto* palette = m_owner->GetControlAs<DUI::MPalette>(kPaletteId);
    if (palette == nullptr) return;
    for (int i = 0; i < kPresetCount; ++i) {
        if (auto* preset = m_owner->GetControlAs<DUI::CColorButton>(kFirstPresetId + i))
            preset->SetCheck(0);
    }
    const int colour = palette->GetSelectColor();
    ShowChannels(colour);
    if (code == DUI::kNotifyClick) ApplyColour(colour);
}

void LightingPage::OnField(int id) {
    auto clamp = [this](int fieldId) {
        auto* field = m_owner->GetControlAs<DUI::MEdit>(fieldId);
        if (field == nullptr) return 0;
        const int typed = field->GetInt();
        const int clamped = std::clamp(typed, 0, 255);
        // An emptied field stays empty while the user types the next number.
        if (clamped != typed) field->SetInt(clamped);
        return clamped;
    };
    clamp(id);
    ApplyColour(DUI::MakeColour(clamp(kRedId), clamp(kGreenId), clamp(kBlueId)));
}

void LightingPage::ApplyColour(int colour) {
    if (m_owner == nullptr) return;
    if (auto* preview = m_owner->GetControlAs<DUI::CArea>(kPreviewId)) preview->SetBkColor(colour);
    LightRow row;
    if (!CurrentRow(row)) return;
    row.colorValues[0] = colour;
    if (row.configFunc & kShowsColourSlots) {
        for (int i = 0; i < kSlotCount; ++i) {
            auto* slot = m_owner->GetControlAs<DUI::CColorButton>(kFirstSlotId + i);
            if (slot == nullptr) continue;
            if (slot->GetCheck() != 0) slot->SetColor(colour);
            row.colorValues[i] = slot->GetColor();
        }
    }
    m_context.store->UpdateLightRow(m_currentEffect, row);
    Queue(DeviceTask::WriteLighting);
}

void LightingPage::OnRestore() {
    const int answer = m_context.messageBox(4, GetLanText(text::kLightingRestoreTitle),
                                            GetLanText(text::kLightingRestoreText));
    if (answer == DUI::kIdCancel) return;
    Queue(DeviceTask::RestoreLighting);
}

void LightingPage::Queue(DeviceTask task) {
    m_context.queueTask(task);
    if (m_context.definition != nullptr && m_context.definition->showSaveTips &&
        m_context.showSaveWait) {
        m_context.showSaveWait();
    }
}

void LightingPage::ShowChannels(int colour) {
    for (int channel = 0; channel < 3; ++channel) {
        if (auto* field = m_owner->GetControlAs<DUI::MEdit>(kChannelIds[channel])) {
            field->SetInt(ChannelOf(colour, channel));
        }
    }
}

bool LightingPage::CurrentRow(LightRow& row) const {
    if (!m_context.HasOpenStore()) return false;
    return m_context.store->GetLightRow(m_context.store->CurrentProfile(), m_currentEffect, row);
}

}  // namespace kestrix
