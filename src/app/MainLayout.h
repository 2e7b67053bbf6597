// SPDX-License-Identifier: MIT
#pragma once

#include "ui/DuiTypes.h"

namespace kestrix {

// Where every control of the main window goes for a client size. The design size is
// 1300 x 788; sizes scale with height / 788 (or width / 1300 when that is smaller), controls near
// the right or bottom edge keep their distance from that edge, and the settings column stays
// centred.
class MainLayout {
  public:
    static constexpr int kDesignWidth = 1300;
    static constexpr int kDesignHeight = 788;
    // The smallest window size: below it texts and controls get too small to use.
    static constexpr int kMinimumWidth = 1100;
    static constexpr int kMinimumHeight = 667;

    MainLayout(int width, int height);

    // Height / 788, or width / 1300 when smaller.
    double Scale() const { return m_scale; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The window rectangle the program starts with: 1300 x 788 centred in the work area, or,
    // when that does not fit, the largest rectangle of the same proportions that does.
    static DUI::Rect InitialWindowRect(const DUI::Rect& workArea);

    // Title band.
    DUI::Rect Logo() const;
    DUI::Rect ProgramName() const;
    DUI::Rect Caption() const;
    // Window buttons by control id: 40 settings, 39 minimise, 41 maximise, 38 close.
    DUI::Rect WindowButton(int id) const;

    // Tab strip (control 48).
    DUI::Rect TabStrip() const;
    // Left column of the device pages and its parts.
    DUI::Rect DeviceColumn() const;
    DUI::Rect MousePicture() const;
    DUI::Rect ProfileLabel() const;
    DUI::Rect ProfileButton() const;
    DUI::Rect Battery() const;
    DUI::Rect StageSwatch() const;
    DUI::Rect StageText() const;
    // Content area right of the column: the page panels.
    DUI::Rect PagePanel() const;
    // Page title inside a page panel (panel coordinates).
    DUI::Rect PageTitle() const;

    // Status line.
    DUI::Rect VersionLabel() const;
    DUI::Rect FirmwareLabel() const;

    // Home view.
    DUI::Rect HomeHeading() const;
    DUI::Rect DeviceList() const;
    DUI::Rect ScrollButton(int id) const;  // 60 previous, 61 next
    DUI::Rect NoDevicePanel() const;
    DUI::Rect NoDevicePicture() const;  // panel coordinates
    DUI::Rect NoDeviceTitle() const;    // panel coordinates
    DUI::Rect NoDeviceHint() const;     // panel coordinates

    // Settings view: the page background (272), return (273) and each control by its id
    // (274 to 291).
    DUI::Rect SettingsPage() const;
    DUI::Rect SettingsControl(int id) const;

    // A design-size length at this scale.
    int S(int designLength) const;

  private:
    DUI::Rect Column(int left, int top, int right, int bottom) const;
    int m_width;
    int m_height;
    double m_scale;
};

}  // namespace kestrix
