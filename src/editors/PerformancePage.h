// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "editors/EditorPage.h"

namespace DUI {
class DPIControl;
class DPISlider;
class MComboBox;
class ReporteCtrl;
}  // namespace DUI

namespace kestrix {

class SensorDpiRules;

// The performance tab: up to six DPI stages with their values and indicator colours, the
// stage count, the active stage and the polling rate of the current profile. Every edit is
// stored at once for the current profile and then the device task that writes it is queued;
// the save-wait window is asked for when the model wants it, and the DPI indicator shows a
// newly active stage when the model wants that.
class PerformancePage : public EditorPage {
  public:
    // Control ids.
    static constexpr int kDpiResetId = 115;
    static constexpr int kStageListId = 116;
    static constexpr int kSliderId = 117;
    static constexpr int kApplyId = 118;
    static constexpr int kStageCountId = 120;
    static constexpr int kRateResetId = 124;
    static constexpr int kRateId = 125;

    // Chooses a colour for a stage, starting from its current one; MousePaletteDlg's
    // kNothingChosen when nothing was chosen.
    using ColourChooser = std::function<int(int currentColour)>;

    // context must outlive the page; the main window keeps its values current.
    explicit PerformancePage(EditorContext& context);

    // EditorPage.
    void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) override;
    void Layout(const DUI::Rect& rect) override;
    bool OnMessage(int id, int code, std::intptr_t param) override;
    // RefreshPerformancePage.
    void Refresh() override;
    void ApplyTexts() override;

    // Fills every control from the current profile's settings and the device state: polling
    // rates for the report-rate class, stage values and colours, stage count, the stage list,
    // the active stage and the slider.
    void RefreshPerformancePage();
    // Rebuilds the stage list for the stage-count box's count from the stored values and
    // colours, selects the stored active stage and records count and stage in the device state.
    void RebuildStageList();

    // What the device worker tells the window about this page (forwarded by the main window):
    // The DPI slider's end labels and step count for the sensor just identified.
    void SetDpiSliderRange(const std::string& lowLabel, const std::string& highLabel, int steps);
    // The stage-count box shows count.
    void SelectStageCount(int count);
    // The stage list selects stage index.
    void SelectStageIndex(int index);
    // The slider moves to slider value sliderValue.
    void SetDpiSliderPosition(int sliderValue);
    // Takes the focus from the stage list (ends a value edit; transient-window sweep).
    void DropStageFocus();

    // Replaces the colour palette dialog (tests; the default opens MousePaletteDlg modally).
    void SetColourChooser(ColourChooser chooser) { m_chooseColour = std::move(chooser); }

  private:
    void OnStageChosen();
    void OnSliderMoved(int code);
    void OnValueTyped();
    void OnStageColour();
    // Opens the palette on the selected stage's colour and stores and sends the choice.
    void ChooseStageColour();
    void OnStageCount();
    void OnDpiReset();
    void OnRateChosen();
    void OnRateReset();

    // Appends task to the queue and asks for the save-wait window when the model wants it.
    void Queue(DeviceTask task);
    // The DPI indicator for a newly active or recoloured stage, when the model wants it.
    void ShowIndicator(int dpi);
    // Records stage as the last active one; true when it differs from the recorded one.
    bool RecordActiveStage(int stage);
    // Fills the polling-rate list for the device's report-rate class.
    void FillRates();
    // Applies the sensor's labels, steps and lowest position to the slider.
    void ApplySliderRange();
    // Moves the slider to the DPI's slider value.
    void ShowDpiOnSlider(int dpi);
    SensorDpiRules Rules() const;

    int GetInt(const std::string& key, int fallback = 0) const;
    void SetInt(const std::string& key, int value);
    void SetText(const std::string& key, const std::string& value);

    DUI::DPIControl* StageList() const;
    DUI::DPISlider* Slider() const;
    DUI::MComboBox* StageCountBox() const;
    DUI::ReporteCtrl* Rates() const;

    EditorContext& m_context;
    DUI::MDialog* m_owner = nullptr;
    DUI::MControl* m_dpiPanel = nullptr;
    DUI::MControl* m_ratePanel = nullptr;
    ColourChooser m_chooseColour;
    // The slider value the page itself last showed; a release there changes no DPI.
    int m_shownSliderValue = -1;
};

}  // namespace kestrix
