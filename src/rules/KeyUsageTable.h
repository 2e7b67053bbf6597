// SPDX-License-Identifier: MIT
#pragma once

namespace kestrix {

// HID keyboard usage (Keyboard/Keypad page) of a virtual-key code after the left/right and
// numpad corrections; 0 for every key the mouse cannot send.
int VkToHidUsage(int vk);
// HID modifier-byte bit of a modifier given as virtual key or as HID usage (left Ctrl 1 ...
// right Win 128); 0 for 0; any other value is returned unchanged.
int ModifierBit(int vkOrUsage);

}  // namespace kestrix
