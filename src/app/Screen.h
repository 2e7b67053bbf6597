// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include "ui/DuiTypes.h"

namespace kestrix {

// The available area of the primary screen in screen coordinates (without panels and
// docks): the initial window size and the DPI indicator's corner depend on it.
DUI::Rect WorkArea();

// Replaces the work area source (tests); an empty function returns to the toolkit's.
void SetWorkAreaSource(std::function<DUI::Rect()> source);

}  // namespace kestrix
