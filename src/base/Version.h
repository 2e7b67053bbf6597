// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

// The program version, e.g. "1.0.3" (the same as config.xml's software version).
const char* ProgramVersion();

}  // namespace kestrix
