// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "sim/SimMouseState.h"

namespace kestrix {

// What a simulated mouse keeps in its flash, kept in a text file between runs of the
// programs (one "key values..." line per field), as a real mouse keeps its settings.
bool SaveSimState(const std::string& path, const SimMouseState& state);
// Reads a file written by SaveSimState into state (fields it lacks stay as they are); false
// when the file is missing or a line is malformed (state then untouched).
bool LoadSimState(const std::string& path, SimMouseState& state);

}  // namespace kestrix
