// SPDX-License-Identifier: MIT
#pragma once

#include "ui/DuiTypes.h"

// Colours of the shell's windows (colour integers, red in bits 0-7), one palette for all.
namespace kestrix {

inline constexpr int kWindowBackground = DUI::MakeColour(26, 26, 26);
inline constexpr int kPanelColour = DUI::MakeColour(36, 36, 38);
inline constexpr int kPanelBorderColour = DUI::MakeColour(52, 52, 56);
inline constexpr int kDialogBackground = DUI::MakeColour(30, 30, 32);
inline constexpr int kDialogBorder = DUI::MakeColour(22, 92, 120);  // accent-tinted edge
inline constexpr int kTextColour = DUI::MakeColour(200, 200, 200);
inline constexpr int kHeadingColour = DUI::MakeColour(235, 235, 235);
inline constexpr int kSecondaryColour = DUI::MakeColour(150, 150, 150);
inline constexpr int kWarningColour = DUI::MakeColour(200, 10, 10);

// Window style of every shell window: a frameless pop-up that the toolkit paints.
inline constexpr std::uint32_t kShellWindowStyle =
    DUI::kWsPopup | DUI::kWsVisible | DUI::kWsClipSiblings | DUI::kWsClipChildren;

}  // namespace kestrix
