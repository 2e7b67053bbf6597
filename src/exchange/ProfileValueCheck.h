// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "exchange/SettingRanges.h"

namespace kestrix {

// Checks every value a profile file would store against the ranges the performance page,
// the lighting page and "kestrixctl set" accept for the mouse in limits (the stage count the
// file brings sets the active-stage range), before the import stores anything. A stage DPI
// inside the sensor's range but off its grid is accepted as it is. Empty when every value is
// acceptable; else one line naming the first bad attribute, its value and the accepted range.
// A document that does not parse is left to the import to refuse. Pure.
std::string CheckProfileValues(const std::string& documentText, SettingLimits limits,
                               bool lightingPage);

}  // namespace kestrix
