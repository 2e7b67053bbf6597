// SPDX-License-Identifier: MIT
#pragma once

namespace DUI {
class MDialog;
}

namespace kestrix {

// Gives the main window's controls that show no text of their own (image buttons, lists,
// sliders and fields beside their labels) the name a screen reader reads, in the current
// language. Called whenever the window's texts are applied; controls not created yet are left.
void ApplyAccessibleNames(DUI::MDialog& window);

}  // namespace kestrix
