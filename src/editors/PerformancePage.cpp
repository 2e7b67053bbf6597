// SPDX-License-Identifier: MIT
#include "editors/PerformancePage.h"

#include <algorithm>
#include <cstdlib>

#include "base/Log.h"
#include "base/Text.h"
#include "device/DeviceTask.h"
#include "editors/MousePaletteDlg.h"
#include "editors/PerfLayout.h"
#include "platform/LanguageTexts.h"
#include "platform/UsedTextIds.h"
#include "rules/PerformanceDefaults.h"
#include "rules/SensorDpiRules.h"
#include "store/DataStore.h"
#include "ui/CArea.h"
#include "ui/DPIControl.h"
#include "ui/DPISlider.h"
#include "ui/MButton.h"
#include "ui/MComboBox.h"
#include "ui/MDialog.h"
#include "ui/MText.h"
#include "ui/ReporteCtrl.h"
#include "xml/XmlDocument.h"

namespace kestrix {
namespace {

// Ids of the page's own labels and panels (not seen by any handler).
constexpr int kDpiPanelId = 3100;
constexpr int kRatePanelId = 3101;
constexpr int kDpiHeadingId = 3102;
constexpr int kStageCountLabelId = 3103;
constexpr int kRateHeadingId = 3104;

// The polling rates: hertz, ReportRateCode (stored value and item data) and dot colour. The
// first four are offered to every mouse, all seven to report-rate class 7.
struct PollingRate {
    int hertz;
    int code;
    int colour;
};
constexpr PollingRate kRates[] = {
    {125, 8, 0x0108F1},   {250, 4, 0xED6B00},   {500, 2, 0x4DF600},   {1000, 1, 0x20A3FF},
    {2000, 16, 0xC9012B}, {4000, 32, 0xFFFF00}, {8000, 64, 0xFFFFFF},
};
constexpr int kBasicRateCount = 4;
constexpr int kAllRatesClass = 7;
// Stage values and colours the stage list keeps (dpi_group0 .. dpi_group6).
constexpr int kStoredStages = 7;
constexpr int kMaxStageCount = 6;

std::string StageValueKey(int stage) { return Format("dpi_group%d_value", stage); }
std::string StageColourKey(int stage) { return Format("dpi_group%d_rgb", stage); }

}  // namespace

PerformancePage::PerformancePage(EditorContext& context) : m_context(context) {
    m_chooseColour = [this](int colour) { return MousePaletteDlg::Choose(m_owner, colour); };
}

void PerformancePage::Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) {
    m_owner = &owner;
    m_dpiPanel = owner.CreateArea(kDpiPanelId, {}, panel);
    m_ratePanel = owner.CreateArea(kRatePanelId, {}, panel);

    perf_layout::Heading(owner, kDpiHeadingId, m_dpiPanel);
    if (DUI::MControl* reset =
            owner.CreateControl("CImageButton", kDpiResetId, {}, "", m_dpiPanel)) {
        reset->SetImage("btn_reset.png");
    }
    owner.CreateControl("DPIControl", kStageListId, {}, "", m_dpiPanel);
    if (DUI::MControl* slider = owner.CreateControl("DPISlider", kSliderId, {}, "", m_dpiPanel)) {
        slider->SetImage("img_dpi_bar.png");
    }
    perf_layout::Label(owner, kStageCountLabelId, m_dpiPanel);
    if (auto* count =
            owner.CreateControlAs<DUI::MComboBox>("MComboBox", kStageCountId, {}, "", m_dpiPanel)) {
        for (int stages = 1; stages <= kMaxStageCount; ++stages)
            count->AddItem(Format("%d", stages), stages);
    }
    if (auto* apply =
            owner.CreateControlAs<DUI::MButton>("MButton", kApplyId, {}, "", m_dpiPanel)) {
        apply->SetPrimary(true);
    }

    perf_layout::Heading(owner, kRateHeadingId, m_ratePanel);
    if (DUI::MControl* reset =
            owner.CreateControl("CImageButton", kRateResetId, {}, "", m_ratePanel)) {
        reset->SetImage("btn_reset.png");
    }
    owner.CreateControl("ReporteCtrl", kRateId, {}, "", m_ratePanel);

    ApplyTexts();
    Layout(rect);
    ApplySliderRange();
}

void PerformancePage::Layout(const DUI::Rect& rect) {
    if (m_owner == nullptr) return;
    using perf_layout::kGap;
    using perf_layout::kPad;
    const double scale = perf_layout::Scale(rect);
    auto s = [scale](int v) { return perf_layout::S(v, scale); };
    auto place = [this](int id, const DUI::Rect& r) {
        if (DUI::MControl* control = m_owner->GetControl(id)) control->SetRect(r);
    };

    // The DPI panel above the polling-rate panel, each as tall as its content.
    const int width = rect.Width();
    const int dpiHeight = s(384);
    const int rateHeight = s(160);
    const DUI::Rect dpi{rect.left, rect.top, rect.right, rect.top + dpiHeight};
    const DUI::Rect rate{rect.left, dpi.bottom + s(kGap), rect.right,
                         dpi.bottom + s(kGap) + rateHeight};
    if (m_dpiPanel != nullptr) m_dpiPanel->SetRect(dpi);
    if (m_ratePanel != nullptr) m_ratePanel->SetRect(rate);

    // DPI panel: heading and reset, the stage chips, the slider, then count and apply.
    const int inner = width - 2 * s(kPad);
    place(kDpiHeadingId, {s(kPad), s(20), s(kPad) + inner / 2, s(52)});
    place(kDpiResetId, {width - s(kPad) - s(36), s(18), width - s(kPad), s(54)});
    place(kStageListId, {s(kPad), s(72), width - s(kPad), s(196)});
    place(kSliderId, {s(kPad), s(216), width - s(kPad), s(280)});
    const int bottom = dpiHeight - s(kPad);
    place(kStageCountLabelId, {s(kPad), bottom - s(40), s(kPad) + s(160), bottom});
    place(kStageCountId, {s(kPad) + s(168), bottom - s(40), s(kPad) + s(268), bottom});
    place(kApplyId, {width - s(kPad) - s(140), bottom - s(40), width - s(kPad), bottom});

    // Polling-rate panel: heading and reset, then the row of rate pills.
    place(kRateHeadingId, {s(kPad), s(20), s(kPad) + inner / 2, s(52)});
    place(kRateResetId, {width - s(kPad) - s(36), s(18), width - s(kPad), s(54)});
    place(kRateId, {s(kPad), s(76), width - s(kPad), s(76) + s(56)});
}

void PerformancePage::ApplyTexts() {
    if (m_owner == nullptr) return;
    perf_layout::SetTitle(*m_owner, kDpiHeadingId, GetLanText(text::kDpiSettings));
    perf_layout::SetTitle(*m_owner, kStageCountLabelId, GetLanText(text::kDpiStageCount));
    perf_layout::SetTitle(*m_owner, kApplyId, GetLanText(text::kApply));
    perf_layout::SetTitle(*m_owner, kRateHeadingId, GetLanText(text::kPollingRate));
    for (int id : {kDpiResetId, kRateResetId}) {
        if (DUI::MControl* reset = m_owner->GetControl(id))
            reset->SetToolTip(GetLanText(text::kRestoreDefault));
    }
    FillRates();
}

bool PerformancePage::OnMessage(int id, int code, std::intptr_t /*param*/) {
    switch (id) {
        case kStageListId:
            if (code == DUI::kNotifyClick || code == DUI::kNotifyEditEnter)
                OnStageChosen();
            else if (code == DUI::kNotifySecondary)
                OnStageColour();
            else if (code == DUI::kNotifyEditDone)
                OnValueTyped();
            return true;
        case kSliderId:
            OnSliderMoved(code);
            return true;
        case kApplyId:
            if (code == DUI::kNotifyClick) Queue(DeviceTask::WriteDpiStages);
            return true;
        case kStageCountId:
            if (code == DUI::kNotifyClick) OnStageCount();
            return true;
        case kDpiResetId:
            if (code == DUI::kNotifyClick) OnDpiReset();
            return true;
        case kRateResetId:
            if (code == DUI::kNotifyClick) OnRateReset();
            return true;
        case kRateId:
            if (code == DUI::kNotifyClick) OnRateChosen();
            return true;
        default:
            return false;
    }
}

void PerformancePage::Refresh() { RefreshPerformancePage(); }

void PerformancePage::RefreshPerformancePage() {
    if (m_owner == nullptr) return;
    FillRates();
    if (DUI::DPIControl* stages = StageList()) {
        for (int i = 0; i < kStoredStages; ++i) stages->SetDPIValue(i, GetInt(StageValueKey(i)));
        for (int i = 0; i < kStoredStages; ++i)
            stages->SetDPIColorValue(i, GetInt(StageColourKey(i)));
    }
    if (DUI::MComboBox* count = StageCountBox()) count->SelectData(GetInt("dpi_count"));
    RebuildStageList();

    ApplySliderRange();
    DUI::DPIControl* stages = StageList();
    const int count = stages != nullptr ? stages->GetCount() : 0;
    int active = GetInt("dpi_index");
    if (active >= count || active < 0) active = 0;
    if (stages != nullptr) {
        stages->SetCurSel(active);
        ShowDpiOnSlider(stages->GetDPIValue(active));
    }
}

void PerformancePage::RebuildStageList() {
    DUI::DPIControl* stages = StageList();
    DUI::MComboBox* countBox = StageCountBox();
    if (stages == nullptr || countBox == nullptr) return;
    stages->DeleteAllItems();
    const int active = GetInt("dpi_index");
    const int count = countBox->GetCurData();
    for (int i = 0; i < count; ++i)
        stages->AddItem(GetInt(StageValueKey(i)), GetInt(StageColourKey(i)));
    stages->SetCurSel(active);
    m_context.updateDeviceState([count, active](DeviceState& state) {
        state.stageCount = static_cast<uint8_t>(count);
        state.stageIndex = static_cast<uint8_t>(active);
    });
}

void PerformancePage::SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel,
                                        int steps) {
    DUI::DPISlider* slider = Slider();
    if (slider == nullptr) return;
    slider->SetDPIDesc(lowLabel, highLabel);
    slider->SetSteps(steps);
    slider->SetLowest(Rules().SliderLowestPosition().value_or(1));
}

void PerformancePage::SelectStageCount(int count) {
    if (DUI::MComboBox* box = StageCountBox()) box->SelectData(count);
}

void PerformancePage::SelectStageIndex(int index) {
    if (DUI::DPIControl* stages = StageList()) stages->SetCurSel(index);
}

void PerformancePage::SetDpiSliderPosition(int sliderValue) {
    if (DUI::DPISlider* slider = Slider()) {
        slider->SetProgress(sliderValue);
        m_shownSliderValue = slider->GetProgress();
    }
}

void PerformancePage::DropStageFocus() {
    if (DUI::DPIControl* stages = StageList()) stages->KillFocus();
}

void PerformancePage::OnStageChosen() {
    DUI::DPIControl* stages = StageList();
    if (stages == nullptr) return;
    const int stage = stages->GetCurSel();
    if (stage < 0) return;
    SetInt("dpi_index", stage);
    const int dpi = stages->GetDPIValue(stage);
    ShowDpiOnSlider(dpi);
    if (RecordActiveStage(stage)) {
        Queue(DeviceTask::WriteDpiStages);
        ShowIndicator(dpi);
    }
}

void PerformancePage::OnSliderMoved(int code) {
    DUI::DPIControl* stages = StageList();
    DUI::DPISlider* slider = Slider();
    if (stages == nullptr || slider == nullptr) return;
    const int stage = stages->GetCurSel();
    if (stage < 0) return;
    // A press and release that did not move the thumb keeps the stage's DPI: the slider shows
    // values off its grid (a DPI the mouse reported, sensors whose two rules differ by a step)
    // at a neighbouring position, and merely touching it must not change the value.
    const int value = slider->GetProgress();
    if (value != m_shownSliderValue) {
        m_shownSliderValue = -1;
        const int dpi = Rules().SliderToDpi(value);
        stages->SetDPIValue(stage, dpi);
        SetInt(StageValueKey(stage), dpi);
    }
    if (code == DUI::kNotifyClick) Queue(DeviceTask::WriteDpiStages);
}

void PerformancePage::OnValueTyped() {
    DUI::DPIControl* stages = StageList();
    if (stages == nullptr) return;
    const int stage = stages->GetCurSel();
    if (stage < 0) return;
    const int typed = std::atoi(stages->GetEditText().c_str());
    const int dpi = Rules().SnapTypedDpi(typed);
    stages->SetEditText(Format("%d", dpi));
    stages->SetDPIValue(stage, dpi);
    ShowDpiOnSlider(dpi);
    SetInt(StageValueKey(stage), dpi);
    // The value's own write goes without the save-wait window; a stage change adds its own.
    m_context.queueTask(DeviceTask::WriteDpiStages);
    if (RecordActiveStage(stage)) {
        Queue(DeviceTask::WriteDpiStages);
        ShowIndicator(dpi);
    }
}

void PerformancePage::OnStageColour() {
    // The click on the colour dot chose the stage too, whose write shows the save-wait
    // window: the palette waits for it rather than opening underneath.
    if (m_context.afterSaveWait) {
        m_context.afterSaveWait([this] { ChooseStageColour(); });
        return;
    }
    ChooseStageColour();
}

void PerformancePage::ChooseStageColour() {
    DUI::DPIControl* stages = StageList();
    if (stages == nullptr) return;
    const int stage = stages->GetCurSel();
    if (stage < 0) return;
    const int colour = m_chooseColour(stages->GetDPIColorValue(stage));
    if (colour == MousePaletteDlg::kNothingChosen) return;  // black (0) is a choice
    stages->SetDPIColorValue(stage, colour);
    SetInt(StageColourKey(stage), colour);
    const int dpi = stages->GetDPIValue(stage);
    ShowDpiOnSlider(dpi);
    Queue(DeviceTask::WriteDpiColours);
    ShowIndicator(dpi);
}

void PerformancePage::OnStageCount() {
    DUI::DPIControl* stages = StageList();
    DUI::MComboBox* countBox = StageCountBox();
    if (stages == nullptr || countBox == nullptr) return;
    int active = GetInt("dpi_index");
    const int count = countBox->GetCurData();
    SetInt("dpi_count", count);
    stages->DeleteAllItems();
    for (int i = 0; i < count; ++i)
        stages->AddItem(GetInt(StageValueKey(i)), GetInt(StageColourKey(i)));
    if (count - 1 < active) {
        active = count - 1;
        SetInt("dpi_index", active);
    }
    stages->SetCurSel(active);
    ShowDpiOnSlider(stages->GetDPIValue(active));
    // The list was rebuilt: the device state follows as after RebuildStageList.
    m_context.updateDeviceState([count, active](DeviceState& state) {
        state.stageCount = static_cast<uint8_t>(count);
        state.stageIndex = static_cast<uint8_t>(active);
    });
    Queue(DeviceTask::WriteDpiStages);
}

void PerformancePage::OnDpiReset() {
    const int answer =
        m_context.messageBox(4, GetLanText(text::kDpiResetTitle), GetLanText(text::kDpiResetText));
    if (answer == DUI::kIdCancel) return;
    Queue(DeviceTask::ResetDpi);
}

void PerformancePage::OnRateChosen() {
    DUI::ReporteCtrl* rates = Rates();
    if (rates == nullptr || rates->GetCurSel() < 0) return;
    const int code = rates->GetItemData(rates->GetCurSel());
    SetInt("report_rate", code);
    SetInt("report_rate_wireless", code);
    Queue(DeviceTask::WriteReportRate);
}

void PerformancePage::OnRateReset() {
    // The model file's default polling rate; an unreadable file leaves the stored rate, but
    // the rate is sent again all the same.
    XmlDocument model;
    const std::string path = ModelFilePath(m_context.programFolder, m_context.deviceAttr);
    if (model.LoadFile(path)) {
        for (const SettingValue& value : ReadPerformanceDefaults(model, false)) {
            if (value.key != "report_rate") continue;
            SetText("report_rate", value.value);
            SetText("report_rate_wireless", value.value);
            if (DUI::ReporteCtrl* rates = Rates())
                rates->SelectData(std::atoi(value.value.c_str()));
        }
    } else {
        LogLine("polling-rate reset: model file %s could not be read", path.c_str());
    }
    Queue(DeviceTask::WriteReportRate);
}

void PerformancePage::Queue(DeviceTask task) {
    m_context.queueTask(task);
    if (m_context.definition != nullptr && m_context.definition->showSaveTips &&
        m_context.showSaveWait) {
        m_context.showSaveWait();
    }
    if (m_context.refreshDeviceColumn) m_context.refreshDeviceColumn();
}

void PerformancePage::ShowIndicator(int dpi) {
    if (m_context.definition != nullptr && m_context.definition->showDpiTips &&
        m_context.showDpiIndicator) {
        m_context.showDpiIndicator(dpi);
    }
}

bool PerformancePage::RecordActiveStage(int stage) {
    if (m_context.deviceState().stageIndex == stage) return false;
    m_context.updateDeviceState(
        [stage](DeviceState& state) { state.stageIndex = static_cast<uint8_t>(stage); });
    return true;
}

void PerformancePage::FillRates() {
    DUI::ReporteCtrl* rates = Rates();
    if (rates == nullptr) return;
    rates->DeleteAllItems();
    const int offered = m_context.deviceState().reportRateClass == kAllRatesClass
                            ? std::size(kRates)
                            : kBasicRateCount;
    const std::string unit = GetLanText(text::kUnitHz);
    for (int i = 0; i < offered; ++i)
        rates->AddItem(Format("%d %s", kRates[i].hertz, unit.c_str()), kRates[i].code,
                       kRates[i].colour);
    rates->SelectData(GetInt("report_rate"));
}

void PerformancePage::ApplySliderRange() {
    const SensorDpiRules rules = Rules();
    SetDpiSliderRange(rules.LowLabel(), rules.HighLabel(), rules.Steps());
}

void PerformancePage::ShowDpiOnSlider(int dpi) { SetDpiSliderPosition(Rules().DpiToSlider(dpi)); }

SensorDpiRules PerformancePage::Rules() const {
    return SensorDpiRules::ForSensor(m_context.deviceState().sensorCode);
}

int PerformancePage::GetInt(const std::string& key, int fallback) const {
    int value = fallback;
    if (!m_context.HasOpenStore() ||
        !m_context.store->GetSettingInt(m_context.store->CurrentProfile(), key, value)) {
        return fallback;
    }
    return value;
}

void PerformancePage::SetInt(const std::string& key, int value) {
    if (m_context.store != nullptr)
        m_context.store->SetSettingInt(m_context.store->CurrentProfile(), key, value);
}

void PerformancePage::SetText(const std::string& key, const std::string& value) {
    if (m_context.store != nullptr)
        m_context.store->SetSetting(m_context.store->CurrentProfile(), key, value);
}

DUI::DPIControl* PerformancePage::StageList() const {
    return m_owner != nullptr ? m_owner->GetControlAs<DUI::DPIControl>(kStageListId) : nullptr;
}
DUI::DPISlider* PerformancePage::Slider() const {
    return m_owner != nullptr ? m_owner->GetControlAs<DUI::DPISlider>(kSliderId) : nullptr;
}
DUI::MComboBox* PerformancePage::StageCountBox() const {
    return m_owner != nullptr ? m_owner->GetControlAs<DUI::MComboBox>(kStageCountId) : nullptr;
}
DUI::ReporteCtrl* PerformancePage::Rates() const {
    return m_owner != nullptr ? m_owner->GetControlAs<DUI::ReporteCtrl>(kRateId) : nullptr;
}

}  // namespace kestrix
