// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix {

// What a key capture is for; pages keep their own mode and route decoded keys by it.
enum class CaptureMode : int {
    None = 0,
    Recording = 1,        // macro recorder: every key press and release becomes an event
    KeyCombination = 10,  // button page: the key of a key combination
    EventKey = 12,        // macro event editor: the key of the selected event
};

// One decoded key press or release, with the Windows virtual-key code that assignments and
// macro events store.
struct KeyEvent {
    static constexpr int kKeyboard = 2;  // kind of every keyboard event
    int kind = kKeyboard;
    int up = 0;        // 0 pressed, 1 released
    int vk = 0;        // virtual key after the left/right and numpad corrections; 0 unknown
    std::string name;  // display name; empty for keys without one (callers ignore those)
};

// Bits of the held-modifier byte (HID modifier order; both Win keys share one bit).
inline constexpr std::uint8_t kHeldLeftCtrl = 0x01;
inline constexpr std::uint8_t kHeldLeftShift = 0x02;
inline constexpr std::uint8_t kHeldLeftAlt = 0x04;
inline constexpr std::uint8_t kHeldWin = 0x08;
inline constexpr std::uint8_t kHeldRightCtrl = 0x10;
inline constexpr std::uint8_t kHeldRightShift = 0x20;
inline constexpr std::uint8_t kHeldRightAlt = 0x40;

// Virtual keys the display and combination rules name explicitly.
inline constexpr int kVkNumEnter = 108;
inline constexpr int kVkYen = 137;
inline constexpr int kVkLeftShift = 160;
inline constexpr int kVkRightAlt = 165;

// Virtual-key code of a Linux evdev key code (KEY_A = 30 -> 65). Left and right modifiers
// keep their own codes (KEY_RIGHTCTRL -> 163), keypad keys always give their numpad code
// whatever the Num Lock state (KEY_KP7 -> 103, KEY_HOME -> 36), keypad Enter gives 108.
// 0 for codes outside the table.
int VirtualKeyOfScanCode(int scanCode);

// Display name of a virtual key: the fixed names ("Ctrl", "RCtrl", "Print Screen", ...),
// else the readable name of the key table ("A", "F13", ";", "Page Up", "Num 7"); empty for
// keys without a name.
std::string KeyName(int vk);

// Decodes one key of the focused window: the virtual key, its name and the modifier byte,
// where a press of a modifier sets its bit and a release clears it.
KeyEvent DecodeKey(int scanCode, bool pressed, std::uint8_t& heldModifiers);

// DecodeKey on the process-wide modifier byte (UI thread only). The byte lives for the whole
// process and is never reset: a modifier released while no capture runs keeps its bit.
KeyEvent DecodeKeyEvent(int scanCode, bool pressed);
// The process-wide modifier byte.
std::uint8_t HeldModifiers();

// True for the left/right Shift, Ctrl and Alt keys (160..165), which a key-combination
// capture never takes as its key.
bool IsSidedModifierKey(int vk);

// Modifier bits of the key-combination panel (HID modifier order).
inline constexpr int kComboCtrl = 1;
inline constexpr int kComboShift = 2;
inline constexpr int kComboAlt = 4;
inline constexpr int kComboWin = 8;

// Display text of a key combination: modifier words in the order Shift, Ctrl, Win, Alt, the
// first written plainly and each later one appended directly as "+ Ctrl"; then " + " and the
// key name. Only the key name without modifiers, only the modifier text without a key.
std::string CombinationText(int modifierBits, std::string_view keyName);

}  // namespace kestrix
