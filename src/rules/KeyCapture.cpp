// SPDX-License-Identifier: MIT
#include "rules/KeyCapture.h"

#include <array>
#include <utility>

namespace kestrix {

namespace {

// Linux evdev key code -> Windows virtual key, for every key of a full-size 105-key
// keyboard, the Yen key and the common media and browser keys.
constexpr std::pair<int, int> kScanCodeToVk[] = {
    {1, 27},  // Esc
    {2, 49},
    {3, 50},
    {4, 51},
    {5, 52},
    {6, 53},
    {7, 54},
    {8, 55},
    {9, 56},
    {10, 57},
    {11, 48},   // 1..9, 0
    {12, 189},  // -
    {13, 187},  // =
    {14, 8},    // Backspace
    {15, 9},    // Tab
    {16, 81},
    {17, 87},
    {18, 69},
    {19, 82},
    {20, 84},
    {21, 89},
    {22, 85},
    {23, 73},
    {24, 79},
    {25, 80},   // Q W E R T Y U I O P
    {26, 219},  // [
    {27, 221},  // ]
    {28, 13},   // Enter
    {29, 162},  // left Ctrl
    {30, 65},
    {31, 83},
    {32, 68},
    {33, 70},
    {34, 71},
    {35, 72},
    {36, 74},
    {37, 75},
    {38, 76},   // A S D F G H J K L
    {39, 186},  // ;
    {40, 222},  // '
    {41, 192},  // `
    {42, 160},  // left Shift
    {43, 220},  // backslash (the ISO '#' position too)
    {44, 90},
    {45, 88},
    {46, 67},
    {47, 86},
    {48, 66},
    {49, 78},
    {50, 77},   // Z X C V B N M
    {51, 188},  // ,
    {52, 190},  // .
    {53, 191},  // /
    {54, 161},  // right Shift
    {55, 106},  // keypad *
    {56, 164},  // left Alt
    {57, 32},   // Space
    {58, 20},   // Caps Lock
    {59, 112},
    {60, 113},
    {61, 114},
    {62, 115},
    {63, 116},
    {64, 117},
    {65, 118},
    {66, 119},
    {67, 120},
    {68, 121},  // F1..F10
    {69, 144},  // Num Lock
    {70, 145},  // Scroll Lock
    // The keypad keeps its numpad codes with Num Lock off as well: the mouse replays the
    // keypad key, and the navigation keys have codes of their own below.
    {71, 103},
    {72, 104},
    {73, 105},  // keypad 7 8 9
    {74, 109},  // keypad -
    {75, 100},
    {76, 101},
    {77, 102},  // keypad 4 5 6
    {78, 107},  // keypad +
    {79, 97},
    {80, 98},
    {81, 99},   // keypad 1 2 3
    {82, 96},   // keypad 0
    {83, 110},  // keypad .
    {86, 226},  // the extra ISO key beside left Shift
    {87, 122},
    {88, 123},   // F11, F12
    {96, 108},   // keypad Enter
    {97, 163},   // right Ctrl
    {98, 111},   // keypad /
    {99, 44},    // Print Screen (SysRq)
    {100, 165},  // right Alt (AltGr)
    {102, 36},   // Home
    {103, 38},   // Up
    {104, 33},   // Page Up
    {105, 37},   // Left
    {106, 39},   // Right
    {107, 35},   // End
    {108, 40},   // Down
    {109, 34},   // Page Down
    {110, 45},   // Insert
    {111, 46},   // Delete
    {113, 173},  // Mute
    {114, 174},  // Volume Down
    {115, 175},  // Volume Up
    {119, 19},   // Pause
    {124, 137},  // Yen
    {125, 91},   // left Win
    {126, 92},   // right Win
    {127, 93},   // Application (menu)
    {128, 169},  // browser Stop
    {140, 183},  // Calculator (launch application 2)
    {142, 95},   // Sleep
    {155, 180},  // Mail
    {156, 171},  // browser Favorites
    {157, 182},  // My Computer (launch application 1)
    {158, 166},  // browser Back
    {159, 167},  // browser Forward
    {163, 176},  // Next Track
    {164, 179},  // Play/Pause
    {165, 177},  // Previous Track
    {166, 178},  // Stop media
    {172, 172},  // browser Home
    {173, 168},  // browser Refresh
    {183, 124},
    {184, 125},
    {185, 126},
    {186, 127},
    {187, 128},
    {188, 129},
    {189, 130},
    {190, 131},
    {191, 132},
    {192, 133},
    {193, 134},
    {194, 135},  // F13..F24
    {200, 179},  // Play (media)
    {201, 179},  // Pause (media)
    {217, 170},  // browser Search
    {226, 181},  // Media Select
    {240, 0},    // KEY_UNKNOWN
};

// Names that replace whatever the key table would say.
constexpr std::pair<int, const char*> kFixedNames[] = {
    {19, "Pause"},       {44, "Print Screen"}, {91, "Windows"}, {92, "RWindows"},
    {93, "Application"}, {144, "Num Lock"},    {160, "Shift"},  {161, "RShift"},
    {162, "Ctrl"},       {163, "RCtrl"},       {164, "Alt"},    {165, "RAlt"},
};

// Readable names of every other key with a virtual key above; letters, digits, F-keys and
// numpad digits are built from their ranges in KeyName.
constexpr std::pair<int, const char*> kKeyNames[] = {
    {8, "Backspace"},
    {9, "Tab"},
    {13, "Enter"},
    {20, "Caps Lock"},
    {27, "Esc"},
    {32, "Space"},
    {33, "Page Up"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Left"},
    {38, "Up"},
    {39, "Right"},
    {40, "Down"},
    {45, "Insert"},
    {46, "Delete"},
    {95, "Sleep"},
    {106, "Num *"},
    {107, "Num +"},
    {108, "Num Enter"},
    {109, "Num -"},
    {110, "Num ."},
    {111, "Num /"},
    {137, "\xEF\xBF\xA5"},
    {145, "Scroll Lock"},
    {166, "Browser Back"},
    {167, "Browser Forward"},
    {168, "Browser Refresh"},
    {169, "Browser Stop"},
    {170, "Browser Search"},
    {171, "Browser Favorites"},
    {172, "Browser Home"},
    {173, "Mute"},
    {174, "Volume Down"},
    {175, "Volume Up"},
    {176, "Next Track"},
    {177, "Previous Track"},
    {178, "Stop"},
    {179, "Play/Pause"},
    {180, "Mail"},
    {181, "Media Select"},
    {182, "My Computer"},
    {183, "Calculator"},
    // Punctuation by the character the key gives on a US layout.
    {186, ";"},
    {187, "="},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "`"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "'"},
    {226, "OEM 102"},
};

std::uint8_t g_heldModifiers = 0;

// Bit of the held-modifier byte for a modifier key, 0 for other keys.
std::uint8_t HeldBitOf(int vk) {
    switch (vk) {
        case 162:
            return kHeldLeftCtrl;
        case 160:
            return kHeldLeftShift;
        case 164:
            return kHeldLeftAlt;
        case 91:
        case 92:
            return kHeldWin;
        case 163:
            return kHeldRightCtrl;
        case 161:
            return kHeldRightShift;
        case 165:
            return kHeldRightAlt;
        default:
            return 0;
    }
}

}  // namespace

int VirtualKeyOfScanCode(int scanCode) {
    for (const auto& [code, vk] : kScanCodeToVk) {
        if (code == scanCode) return vk;
    }
    return 0;
}

std::string KeyName(int vk) {
    for (const auto& [key, name] : kFixedNames) {
        if (key == vk) return name;
    }
    if (vk >= 65 && vk <= 90) return std::string(1, static_cast<char>(vk));  // A..Z
    if (vk >= 48 && vk <= 57) return std::string(1, static_cast<char>(vk));  // 0..9
    if (vk >= 112 && vk <= 135) return "F" + std::to_string(vk - 111);       // F1..F24
    if (vk >= 96 && vk <= 105) return "Num " + std::to_string(vk - 96);      // numpad 0..9
    if (vk == 0) return {};
    for (const auto& [key, name] : kKeyNames) {
        if (key == vk) return name;
    }
    return {};
}

KeyEvent DecodeKey(int scanCode, bool pressed, std::uint8_t& heldModifiers) {
    KeyEvent event;
    event.up = pressed ? 0 : 1;
    event.vk = VirtualKeyOfScanCode(scanCode);
    const std::uint8_t bit = HeldBitOf(event.vk);
    if (pressed) {
        heldModifiers = static_cast<std::uint8_t>(heldModifiers | bit);
    } else {
        heldModifiers = static_cast<std::uint8_t>(heldModifiers & ~bit);
    }
    event.name = KeyName(event.vk);
    return event;
}

KeyEvent DecodeKeyEvent(int scanCode, bool pressed) {
    return DecodeKey(scanCode, pressed, g_heldModifiers);
}

std::uint8_t HeldModifiers() { return g_heldModifiers; }

bool IsSidedModifierKey(int vk) { return vk >= kVkLeftShift && vk <= kVkRightAlt; }

std::string CombinationText(int modifierBits, std::string_view keyName) {
    static constexpr std::pair<int, const char*> kOrder[] = {
        {kComboShift, "Shift"}, {kComboCtrl, "Ctrl"}, {kComboWin, "Win"}, {kComboAlt, "Alt"}};
    std::string modifiers;
    for (const auto& [bit, word] : kOrder) {
        if ((modifierBits & bit) == 0) continue;
        // Later words follow the previous one directly: "Shift+ Ctrl+ Alt".
        modifiers += modifiers.empty() ? word : std::string("+ ") + word;
    }
    if (modifiers.empty()) return std::string(keyName);
    if (keyName.empty()) return modifiers;
    return modifiers + " + " + std::string(keyName);
}

}  // namespace kestrix
