// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "ui/DuiTypes.h"

namespace DUI {
class MControl;
class MDialog;
class MText;
}  // namespace DUI

namespace kestrix::perf_layout {

// Shared looks and sizes of the performance, device-settings and lighting pages.

// Padding inside a panel and the gap between panels (design pixels).
inline constexpr int kPad = 24;
inline constexpr int kGap = 16;
// Height of the page panel the pages are designed for (the 1300 x 788 window).
inline constexpr int kDesignPanelHeight = 598;

// Scale of a page panel rectangle against the design height (1.0 at 598 px).
double Scale(const DUI::Rect& panel);
// A design length at scale, rounded.
int S(int designPixels, double scale);

// A section heading (18 px, heading colour) in parent.
DUI::MText* Heading(DUI::MDialog& owner, int id, DUI::MControl* parent);
// A field label (14 px, primary text colour) in parent.
DUI::MText* Label(DUI::MDialog& owner, int id, DUI::MControl* parent);
// A secondary note (13 px, secondary colour) in parent, aligned as given.
DUI::MText* Note(DUI::MDialog& owner, int id, DUI::MControl* parent, int alignment);
// Sets the title of a text control (label, button, check box); nothing when id is absent.
void SetTitle(DUI::MDialog& owner, int id, const std::string& title);
// Places control id at rect in its parent's coordinates; nothing when id is absent.
void Place(DUI::MDialog& owner, int id, const DUI::Rect& rect);

}  // namespace kestrix::perf_layout
