// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Private to the toolkit: Linux evdev key codes for key events.
namespace DUI {

// Evdev code of a key event. X11 and Wayland report the xkb key code, which is the evdev
// code plus 8; platforms without native codes (offscreen, VNC) give 0 and the Qt key is
// mapped through a fixed table of the common keys instead. 0 when unknown.
int EvdevScanCode(std::uint32_t nativeScanCode, int qtKey);
// Evdev code of a Qt key from the fixed table (letters, digits, function keys, modifiers,
// navigation and keypad); 0 when not in the table.
int EvdevFromQtKey(int qtKey);

}  // namespace DUI
