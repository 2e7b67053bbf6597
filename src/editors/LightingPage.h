// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "editors/EditorPage.h"

namespace kestrix {

struct LightRow;

// The lighting tab: the lighting effect of the current profile and that effect's brightness,
// speed and colours. Each effect keeps its own row per profile; every change is stored in the
// current effect's row and then task 8 sends the active effect to the mouse. Which controls an
// effect shows follows the row's config_func bits.
class LightingPage : public EditorPage {
  public:
    // Control ids.
    static constexpr int kEffectId = 197;
    static constexpr int kRestoreId = 201;
    static constexpr int kBrightnessId = 204;
    static constexpr int kSpeedId = 207;
    static constexpr int kFirstPresetId = 209;  // 209..216
    static constexpr int kFirstSlotId = 218;    // 218..224
    static constexpr int kPaletteId = 226;
    static constexpr int kPreviewId = 227;
    static constexpr int kRedId = 231;
    static constexpr int kGreenId = 232;
    static constexpr int kBlueId = 233;
    // The page's own labels: the brightness and speed labels.
    static constexpr int kBrightnessLabelId = 3300;
    static constexpr int kSpeedLabelId = 3301;

    // config_func bits: which groups an effect shows.
    static constexpr int kShowsBrightness = 0x001;
    static constexpr int kShowsSpeed = 0x002;
    static constexpr int kShowsColourPicker = 0x010;
    static constexpr int kShowsColourSlots = 0x800;

    // The eight preset colours.
    static constexpr int kPresets[8] = {0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00,
                                        0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF};

    // context must outlive the page.
    explicit LightingPage(EditorContext& context);

    // EditorPage.
    void Create(DUI::MDialog& owner, DUI::MControl* panel, const DUI::Rect& rect) override;
    void Layout(const DUI::Rect& rect) override;
    bool OnMessage(int id, int code, std::intptr_t param) override;
    // RefreshLightingPage.
    void Refresh() override;
    void ApplyTexts() override;

    // Makes the profile's default rows when it has none, lists its effects in the effect box,
    // selects the active one and shows it (also after a device read, a profile switch and
    // task 17).
    void RefreshLightingPage();
    // Shows the effect selected in the effect box: marks it active in the store and shows the
    // groups its config_func asks for, filled from its row.
    void ShowEffect();
    // Applies colour c to the current effect: the preview, color_value1, and with colour slots
    // every checked slot; stores the row and queues task 8. Nothing when the effect has no row.
    void ApplyColour(int colour);
    // The effect (mode) the page shows.
    int CurrentEffect() const { return m_currentEffect; }

    // Brightness label text for a brightness value ("Brightness: 50%").
    static std::string BrightnessLabel(int brightness);
    // Speed label text; while dragging it uses a full-width colon.
    static std::string SpeedLabel(int speed);

  private:
    void OnEffectChosen();
    void OnBrightness(int code);
    void OnSpeed(int code);
    void OnPreset(int id);
    void OnPalette(int code);
    void OnField(int id);
    void OnRestore();

    // Appends task and asks for the save-wait window when the model wants it.
    void Queue(DeviceTask task);
    // Writes the channels of colour into the R/G/B fields.
    void ShowChannels(int colour);
    // Reads the current effect's row; false when it has none.
    bool CurrentRow(LightRow& row) const;
    // Shows the groups of config_func (all hidden for -1) and lays the page out again.
    void ShowGroups(int configFunc);

    EditorContext& m_context;
    DUI::MDialog* m_owner = nullptr;
    DUI::MControl* m_area = nullptr;
    DUI::Rect m_rect;
    int m_currentEffect = 0;
    int m_configFunc = -1;  // groups shown; -1 = none (no row)
};

}  // namespace kestrix
