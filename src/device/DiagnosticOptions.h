// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

// Applies the process-wide diagnostic switches every program accepts: "--log FILE" (device
// log lines with time stamps) and "--hid-trace FILE" (every HID write and read as hex), also
// in the "--log=FILE" form. Other arguments are ignored. False when a named file cannot be
// opened or a switch lacks its file name (a message on stderr says which).
bool ApplyDiagnosticOptions(int argc, const char* const* argv);

}  // namespace kestrix
